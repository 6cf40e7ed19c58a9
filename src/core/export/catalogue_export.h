#pragma once

#include "core/catalogue/catalogue.h"
#include "core/formats/csv_writer.h"
#include "core/formats/xlsx_limits.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <vector>

// The header line of the catalogue as CSV.
inline constexpr char kCatalogueCsvHeader[] =
    "id,title,year,genre,cast,director,runtime,rating,studio";

// One CSV line of the values (RFC 4180, UTF-8), ended by LF: a value holding
// a comma, a quote, a CR or an LF is quoted, its quotes doubled.
QByteArray csvLine(const QStringList& values);

// Writes movies as CSV exactly as `reelkeeper-cli list` prints them (see
// CsvWriter): the header line first, then each movie's id and eight fields.
// Fails (Failure) when the device refuses a write.
class CatalogueCsvWriter {
public:
    explicit CatalogueCsvWriter(QIODevice& out) : m_csv(out) {}

    // The header, then the names of columns written after the movie's own.
    void writeHeader(const QStringList& more = {});
    // One line: the movie, then the values of the further columns.
    void writeMovie(const DvdRecord& movie, const QStringList& more = {});
    void flush() { m_csv.flush(); }

private:
    CsvWriter m_csv;
};

// How a file export went.
struct CatalogueExportResult {
    qint64 movies = 0;
    qint64 rows = 0; // below the header: more than the movies with one row per copy
    // Values longer than a workbook cell holds, cut to fit (.xlsx only).
    qint64 cutValues = 0;
};

// The most movies a workbook export holds: a sheet's rows below its header.
inline constexpr qint64 kMoviesPerSheet = kSheetRows - 1;

// Writes every movie to path in the format its extension names: .csv as
// above, .xlsx as the one sheet CatalogueWorkbook writes. The movies are
// written as they are read, never held together (the workbook's rows go
// through a scratch file). The file at path is replaced only once everything
// is written. Fails (ImportFailure, CannotWrite) on another extension, a
// failed write, or more movies than moviesPerSheet for .xlsx: those are
// counted first, so then nothing is written.
CatalogueExportResult exportCatalogueFile(const QString& path, Catalogue& catalogue,
                                          qint64 moviesPerSheet = kMoviesPerSheet);
// The same for movies held in memory.
CatalogueExportResult exportCatalogueFile(const QString& path, const std::vector<DvdRecord>& movies,
                                          qint64 moviesPerSheet = kMoviesPerSheet);
// The same with one row per copy on the shelf: the movie, then the copy's
// columns (copy_rows.h); a movie without copies has one row with those
// empty. A workbook then holds at most `rowsPerSheet` such rows.
CatalogueExportResult exportCatalogueCopies(const QString& path, Catalogue& catalogue,
                                            qint64 rowsPerSheet = kMoviesPerSheet);
