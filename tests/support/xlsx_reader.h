#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the first sheet of an .xlsx file with the independent xlsx2csv
// converter: one list of cell texts per sheet row, from row 1; a row with
// nothing in it comes back empty, and empty cells at a row's end are dropped. Fails the calling
// test when the file cannot be read.
QList<QStringList> readXlsxRows(const QString& path);

// The text of one cell ("B2") and the sheet's whole XML, read with Python's
// own zip and XML readers (xlsx2csv keeps only the last few thousand
// characters of a very long text); the cell's _xHHHH_ escapes are decoded as
// a spreadsheet program decodes them.
QString readXlsxCell(const QString& path, const QString& cell);
QString readSheetXml(const QString& path);
