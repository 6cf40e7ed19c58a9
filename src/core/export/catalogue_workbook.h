#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/formats/xlsx_file.h"

#include <QString>
#include <QStringList>
#include <vector>

// The one sheet, "Movies", of a workbook export, written as the movies come:
// a bold header row with the list's captions that stays in view, filter
// buttons on it over every row, one row per movie, and each column as wide
// as its longest value (up to a limit). A value that reads back exactly as
// a number is a number cell; every other value is a text cell, cut to what a
// cell holds. Fails (XlsxWriteFailure, Failure) as XlsxFile does.
class CatalogueWorkbook {
public:
    // Starts the workbook at path and writes its header row, with the
    // captions of columns written after the movie's own.
    explicit CatalogueWorkbook(const QString& path, const QStringList& moreCaptions = {});

    // One row: the movie, then the values of the further columns.
    void addMovie(const DvdRecord& movie, const QStringList& more = {});
    // Sets the widths and the filter and writes the file.
    void close();

    qint64 movies() const { return m_movies; }
    // Values longer than a cell holds, cut to fit.
    qint64 cutValues() const { return m_cut; }

private:
    void write(int column, const QString& text);

    XlsxFile m_file;
    std::vector<int> m_widest; // one a column
    qint64 m_movies = 0;
    qint64 m_cut = 0;
};

// True when text is a whole number that a number cell gives back exactly as
// the same text: digits only, no leading zero, no sign or blank, and no more
// digits than a spreadsheet shows ("1979", "142"; not "0042", "1e5", "-0").
bool readsBackAsNumber(const QString& text);
