#pragma once

#include "core/import/import_failure.h"

#include <QString>
#include <QStringList>

// One row of a file as its cells' texts, and where it starts.
struct SourceRow {
    qint64 number = 0; // 1-based line of a text file or row of a sheet
    QStringList cells;
    // Some cell is a formula whose result the file does not hold (as
    // scripts write them): the row's values are incomplete.
    bool unsavedFormulas = false;
};

// How a file's columns are named.
enum class ColumnNaming {
    HeaderRow,     // the first row with anything in it names the columns
    ClipboardCopy, // no header: the id and the eight fields in their fixed order
};

// Reads the rows of one file in order, one at a time, so that a large file
// never sits in memory whole. Failures are ImportFailure.
class RowReader {
public:
    virtual ~RowReader() = default;

    // The next row, or false after the last.
    virtual bool readRow(SourceRow& row) = 0;

    // What kind of file this is, for the preview ("CSV", "workbook", ...).
    virtual QString formatName() const = 0;
    virtual ColumnNaming columnNaming() const { return ColumnNaming::HeaderRow; }
    // A note on how the text was decoded, empty when nothing needs saying.
    virtual QString encodingNote() const { return {}; }
    // "Line" or "Row": how the file's places are named in messages.
    virtual QString placeWord() const = 0;
    // A workbook's sheets with data, in tab order, and the one being read;
    // empty for a text file.
    virtual QStringList sheetNames() const { return {}; }
    virtual QString sheetName() const { return {}; }

    // How far the reading has come, in units of progressTotal().
    virtual qint64 progressDone() const = 0;
    virtual qint64 progressTotal() const = 0;
};
