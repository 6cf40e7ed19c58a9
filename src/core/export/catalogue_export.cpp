#include "core/export/catalogue_export.h"

#include "core/export/catalogue_workbook.h"
#include "core/export/copy_rows.h"
#include "core/formats/xlsx_check.h"
#include "core/formats/xlsx_file.h"
#include "core/formats/xlsx_limits.h"
#include "core/import/import_failure.h"
#include "core/report/counts.h"
#include "core/report/failure.h"
#include "core/system/write_failure.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QString kTooManyForSheet =
    QStringLiteral("The catalogue holds %1 movies; a workbook sheet holds at most %2. Export to a "
                   ".csv file instead.");
const QString kTooManyRowsForSheet =
    QStringLiteral("The catalogue's movies and copies take %1 rows; a workbook sheet holds at most "
                   "%2. Export to a .csv file instead.");

// The rows of an export handed over one at a time: a movie, the values of
// the columns after its own, and whether the row starts a movie (a movie
// with several copies has a row for each).
using ExportRow = std::function<void(const DvdRecord&, const QStringList&, bool)>;
using RowSource = std::function<void(const ExportRow&)>;

// The columns after the movie's: their CSV names and their workbook captions.
struct MoreColumns {
    QStringList names;
    QStringList captions;
};

// One row a movie, nothing after it.
RowSource movieRows(const Catalogue::MovieSource& movies) {
    return [movies](const ExportRow& row) {
        movies([&row](const DvdRecord& movie) { row(movie, {}, true); });
    };
}

const std::array<QString DvdRecord::*, DvdRecord::kFieldCount> kFields = {
    &DvdRecord::title,    &DvdRecord::year,    &DvdRecord::genre,  &DvdRecord::cast,
    &DvdRecord::director, &DvdRecord::runtime, &DvdRecord::rating, &DvdRecord::studio};

ImportFailure writeFailure(const QString& path, const QString& reason) {
    return {ImportProblem::CannotWrite,
            QStringLiteral("The file %1 could not be written: %2").arg(path, reason)};
}

void appendCsvValue(QByteArray& line, const QString& value) {
    const QByteArray bytes = value.toUtf8();
    const bool quoted =
        bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n');
    if (!quoted) {
        line += bytes;
        return;
    }
    line += '"';
    for (const char byte : bytes) {
        line += byte;
        if (byte == '"') {
            line += '"';
        }
    }
    line += '"';
}

CatalogueExportResult exportCsv(const QString& path, const MoreColumns& more,
                                const RowSource& rows) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw writeFailure(path, file.errorString());
    }
    CatalogueExportResult count;
    try {
        CatalogueCsvWriter writer(file);
        writer.writeHeader(more.names);
        rows([&](const DvdRecord& movie, const QStringList& values, bool firstOfMovie) {
            writer.writeMovie(movie, values);
            ++count.rows;
            count.movies += firstOfMovie ? 1 : 0;
        });
        writer.flush();
    } catch (const Failure& failure) {
        file.cancelWriting();
        throw writeFailure(path, failure.description());
    }
    if (!file.commit()) {
        throw writeFailure(path, file.errorString());
    }
    return count;
}

// Removes a scratch file unless it was put in place.
class ScratchFile {
public:
    explicit ScratchFile(QString path) : m_path(std::move(path)) {}
    ~ScratchFile() {
        if (!m_path.isEmpty()) {
            QFile::remove(m_path);
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const QString& path() const { return m_path; }
    void moveTo(const QString& target) {
        if (std::rename(QFile::encodeName(m_path).constData(),
                        QFile::encodeName(target).constData()) != 0) {
            throw writeFailure(target, QString::fromLocal8Bit(std::strerror(errno)));
        }
        m_path.clear();
    }

private:
    QString m_path;
};

ImportFailure tooManyForSheet(qint64 movies, qint64 moviesPerSheet, const MoreColumns& more) {
    return {ImportProblem::CannotWrite,
            (more.names.isEmpty() ? kTooManyForSheet : kTooManyRowsForSheet)
                .arg(groupedNumber(movies), groupedNumber(moviesPerSheet))};
}

CatalogueExportResult exportXlsx(const QString& path, const MoreColumns& more,
                                 const RowSource& rows, qint64 moviesPerSheet) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // Written beside the target under another name, with the permissions a
    // new file gets, and put in its place once complete.
    ScratchFile scratch(QStringLiteral("%1/.%2.%3.part")
                            .arg(folder, target.fileName())
                            .arg(QRandomGenerator::global()->generate64(), 0, 16));
    qint64 cutValues = 0;
    qint64 read = 0;
    qint64 movies = 0;
    try {
        // The workbook's own scratch files go to the same folder.
        CatalogueWorkbook workbook(scratch.path(), more.captions);
        rows([&](const DvdRecord& movie, const QStringList& values, bool firstOfMovie) {
            movies += firstOfMovie ? 1 : 0;
            // Only counted once the sheet is full (the catalogue grew since
            // it was counted), to say how many it holds.
            if (++read <= moviesPerSheet) {
                workbook.addMovie(movie, values);
            }
        });
        if (read > moviesPerSheet) {
            throw tooManyForSheet(read, moviesPerSheet, more);
        }
        workbook.close();
        cutValues = workbook.cutValues();
    } catch (const XlsxWriteFailure& failure) {
        throw writeFailure(path, failure.reason());
    }
    try {
        checkXlsxComplete(scratch.path());
    } catch (const Failure& failure) {
        throw writeFailure(path, incompleteWriteReason(path, failure.description()));
    }
    scratch.moveTo(path);
    return {movies, read, cutValues};
}

} // namespace

void CatalogueCsvWriter::writeHeader(const QStringList& more) {
    m_csv.field(u"id");
    for (const QString& column : kDvdColumns) {
        m_csv.field(column);
    }
    for (const QString& column : more) {
        m_csv.field(column);
    }
    m_csv.endRecord();
}

void CatalogueCsvWriter::writeMovie(const DvdRecord& movie, const QStringList& more) {
    m_csv.field(movie.id);
    for (const auto field : kFields) {
        m_csv.field(movie.*field);
    }
    for (const QString& value : more) {
        m_csv.field(value);
    }
    m_csv.endRecord();
}

QByteArray csvLine(const QStringList& values) {
    QByteArray line;
    for (qsizetype n = 0; n < values.size(); ++n) {
        if (n > 0) {
            line += ',';
        }
        appendCsvValue(line, values[n]);
    }
    line += '\n';
    return line;
}

namespace {

CatalogueExportResult exportRows(const QString& path, qint64 count, const MoreColumns& more,
                                 const RowSource& rows, qint64 moviesPerSheet) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv") {
        return exportCsv(path, more, rows);
    }
    if (suffix == u"xlsx") {
        if (count > moviesPerSheet) {
            throw tooManyForSheet(count, moviesPerSheet, more);
        }
        return exportXlsx(path, more, rows, moviesPerSheet);
    }
    throw writeFailure(path, QStringLiteral("the name must end in .csv or .xlsx."));
}

} // namespace

CatalogueExportResult exportCatalogueFile(const QString& path, Catalogue& catalogue,
                                          qint64 moviesPerSheet) {
    // Counted first, so that a catalogue too large for a sheet is refused
    // before anything is written.
    const qint64 count = QFileInfo(path).suffix().toLower() == u"xlsx" ? catalogue.count() : 0;
    return exportRows(path, count, {},
                      movieRows([&catalogue](const std::function<void(const DvdRecord&)>& add) {
                          catalogue.forEachMovie(add);
                      }),
                      moviesPerSheet);
}

CatalogueExportResult exportCatalogueFile(const QString& path, const std::vector<DvdRecord>& movies,
                                          qint64 moviesPerSheet) {
    return exportRows(path, qint64(movies.size()), {},
                      movieRows([&movies](const std::function<void(const DvdRecord&)>& add) {
                          for (const DvdRecord& movie : movies) {
                              add(movie);
                          }
                      }),
                      moviesPerSheet);
}

CatalogueExportResult exportCatalogueCopies(const QString& path, Catalogue& catalogue,
                                            qint64 rowsPerSheet) {
    const QHash<qint64, std::vector<ShelfCopy>> copies = CopyRows::byMovie(catalogue);
    const QHash<qint64, Loan> loans = CopyRows::openLoans(catalogue);
    // Counted first, as above: a movie's copies each take a row, one
    // without any takes one.
    qint64 count = 0;
    if (QFileInfo(path).suffix().toLower() == u"xlsx") {
        count = catalogue.count();
        for (const std::vector<ShelfCopy>& ofMovie : copies) {
            count += qint64(ofMovie.size()) - 1;
        }
    }
    const std::vector<ShelfCopy> noCopy(1);
    return exportRows(
        path, count, {CopyRows::csvHeader(), CopyRows::captions()},
        [&](const ExportRow& row) {
            catalogue.forEachMovie([&](const DvdRecord& movie) {
                const auto found = copies.constFind(movie.id.toLongLong());
                bool first = true;
                for (const ShelfCopy& copy : found == copies.constEnd() ? noCopy : *found) {
                    const auto loan = loans.constFind(copy.id);
                    row(movie, CopyRows::cells(copy, loan == loans.constEnd() ? nullptr : &*loan),
                        first);
                    first = false;
                }
            });
        },
        rowsPerSheet);
}
