#pragma once

#include <QString>

class Form1;

// Movies in from a file and the whole catalogue out to one, from the main
// window: dropping a file on it, or the list's context menu.
namespace CatalogueFileCommands {

// Reads the file (a progress dialog with Cancel when that takes a while),
// shows what importing it will do and, on Import, adds the movies in one
// transaction after a snapshot, refills the list and says how many were
// added. Any failure and any Cancel leave the catalogue as it was.
void importFile(Form1& window, const QString& path);
// "Import movies…": asks for a file, then imports it as above.
void chooseAndImport(Form1& window);
// "Export catalogue…": asks for a .csv or .xlsx file and writes every movie to it.
void chooseAndExport(Form1& window);
// Makes the window take files dropped on it: each is imported as above.
void acceptDroppedFiles(Form1& window);

// The entries' texts in the list's context menu.
inline const QString kImportEntry = QStringLiteral("&Import movies\u2026");
inline const QString kExportEntry = QStringLiteral("E&xport catalogue\u2026");

} // namespace CatalogueFileCommands
