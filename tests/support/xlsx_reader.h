#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the first sheet of an .xlsx file with libzip and QXmlStreamReader,
// independently of the library that writes it. Fails the calling test when
// the file cannot be read.

// One list of cell texts per sheet row, from row 1: a row with nothing in it
// comes back empty, and empty cells at a row's end are dropped. The texts
// are as the file stores them (its _xHHHH_ escapes are left as they are).
QList<QStringList> readXlsxRows(const QString& path);

// The text of one cell ("B2") with its _xHHHH_ escapes decoded, as a
// spreadsheet program shows it; "" for a cell that is not there.
QString readXlsxCell(const QString& path, const QString& cell);
// The sheet's whole XML.
QString readSheetXml(const QString& path);
