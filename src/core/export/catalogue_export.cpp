#include "core/export/catalogue_export.h"

#include "core/export/catalogue_workbook.h"
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

qint64 exportCsv(const QString& path, const Catalogue::MovieSource& movies) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw writeFailure(path, file.errorString());
    }
    qint64 count = 0;
    try {
        CatalogueCsvWriter writer(file);
        writer.writeHeader();
        movies([&](const DvdRecord& movie) {
            writer.writeMovie(movie);
            ++count;
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

ImportFailure tooManyForSheet(qint64 movies, qint64 moviesPerSheet) {
    return {ImportProblem::CannotWrite,
            kTooManyForSheet.arg(groupedNumber(movies), groupedNumber(moviesPerSheet))};
}

CatalogueExportResult exportXlsx(const QString& path, const Catalogue::MovieSource& movies,
                                 qint64 moviesPerSheet) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // Written beside the target under another name, with the permissions a
    // new file gets, and put in its place once complete.
    ScratchFile scratch(QStringLiteral("%1/.%2.%3.part")
                            .arg(folder, target.fileName())
                            .arg(QRandomGenerator::global()->generate64(), 0, 16));
    qint64 cutValues = 0;
    qint64 read = 0;
    try {
        // The workbook's own scratch files go to the same folder.
        CatalogueWorkbook workbook(scratch.path());
        movies([&](const DvdRecord& movie) {
            // Only counted once the sheet is full (the catalogue grew since
            // it was counted), to say how many it holds.
            if (++read <= moviesPerSheet) {
                workbook.addMovie(movie);
            }
        });
        if (read > moviesPerSheet) {
            throw tooManyForSheet(read, moviesPerSheet);
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
    return {read, cutValues};
}

} // namespace

void CatalogueCsvWriter::writeHeader() {
    m_csv.field(u"id");
    for (const QString& column : kDvdColumns) {
        m_csv.field(column);
    }
    m_csv.endRecord();
}

void CatalogueCsvWriter::writeMovie(const DvdRecord& movie) {
    m_csv.field(movie.id);
    for (const auto field : kFields) {
        m_csv.field(movie.*field);
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

CatalogueExportResult exportMovies(const QString& path, qint64 count,
                                   const Catalogue::MovieSource& movies, qint64 moviesPerSheet) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv") {
        return {exportCsv(path, movies), 0};
    }
    if (suffix == u"xlsx") {
        if (count > moviesPerSheet) {
            throw tooManyForSheet(count, moviesPerSheet);
        }
        return exportXlsx(path, movies, moviesPerSheet);
    }
    throw writeFailure(path, QStringLiteral("the name must end in .csv or .xlsx."));
}

} // namespace

CatalogueExportResult exportCatalogueFile(const QString& path, Catalogue& catalogue,
                                          qint64 moviesPerSheet) {
    // Counted first, so that a catalogue too large for a sheet is refused
    // before anything is written.
    const qint64 count = QFileInfo(path).suffix().toLower() == u"xlsx" ? catalogue.count() : 0;
    return exportMovies(
        path, count,
        [&catalogue](const std::function<void(const DvdRecord&)>& add) {
            catalogue.forEachMovie(add);
        },
        moviesPerSheet);
}

CatalogueExportResult exportCatalogueFile(const QString& path, const std::vector<DvdRecord>& movies,
                                          qint64 moviesPerSheet) {
    return exportMovies(
        path, qint64(movies.size()),
        [&movies](const std::function<void(const DvdRecord&)>& add) {
            for (const DvdRecord& movie : movies) {
                add(movie);
            }
        },
        moviesPerSheet);
}
