#include "core/export/catalogue_export.h"

#include "core/formats/xlsx_check.h"
#include "core/formats/xlsx_file.h"
#include "core/formats/xlsx_limits.h"
#include "core/import/import_failure.h"
#include "core/import/ooxml_text.h"
#include "core/report/failure.h"
#include "core/system/write_failure.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const QString kSheetFull = QStringLiteral("a sheet holds at most %1 movies; export to .csv.");

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

// The text as a cell holds it, never ending in half a character.
QString fittedToCell(const QString& text, qint64& cutValues) {
    if (text.size() <= kCellTextLimit) {
        return text;
    }
    ++cutValues;
    const qsizetype length =
        text.at(kCellTextLimit - 1).isHighSurrogate() ? kCellTextLimit - 1 : kCellTextLimit;
    return text.left(length);
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

// The sheet of a workbook export: every value a text cell, cut to what a
// cell holds. Its failures name the file it writes.
class WorkbookWriter {
public:
    explicit WorkbookWriter(const QString& path) : m_path(path) {
        try {
            // Rows go to a scratch file as they are written, never held whole.
            m_file.emplace(path);
        } catch (const XlsxWriteFailure& failure) {
            throw writeFailure(m_path, failure.reason());
        }
    }

    void write(int row, int column, const QString& text) {
        if (text.isEmpty()) {
            return;
        }
        try {
            m_file->writeProtectedText(row, column, protectOoxmlEscapes(fittedToCell(text, m_cut)));
        } catch (const XlsxWriteFailure& failure) {
            throw writeFailure(m_path, failure.reason());
        }
    }
    void close() {
        try {
            m_file->close();
        } catch (const XlsxWriteFailure& failure) {
            throw writeFailure(m_path, failure.reason());
        }
    }
    qint64 cutValues() const { return m_cut; }

private:
    QString m_path;
    std::optional<XlsxFile> m_file;
    qint64 m_cut = 0;
};

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

CatalogueExportResult exportXlsx(const QString& path, const Catalogue::MovieSource& movies) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // Written beside the target under another name, with the permissions a
    // new file gets, and put in its place once complete.
    ScratchFile scratch(QStringLiteral("%1/.%2.%3.part")
                            .arg(folder, target.fileName())
                            .arg(QRandomGenerator::global()->generate64(), 0, 16));

    // The workbook's own scratch files go to the same folder.
    WorkbookWriter writer(scratch.path());
    const QList<QByteArray> header = QByteArray(kCatalogueCsvHeader).split(',');
    for (qsizetype column = 0; column < header.size(); ++column) {
        writer.write(0, int(column), QString::fromLatin1(header[column]));
    }
    int row = 1;
    movies([&](const DvdRecord& movie) {
        if (row >= kSheetRows) {
            throw writeFailure(path, kSheetFull.arg(kSheetRows - 1));
        }
        writer.write(row, 0, movie.id);
        for (std::size_t field = 0; field < kFields.size(); ++field) {
            writer.write(row, int(field + 1), movie.*kFields[field]);
        }
        ++row;
    });
    writer.close();
    try {
        checkXlsxComplete(scratch.path());
    } catch (const Failure& failure) {
        throw writeFailure(path, incompleteWriteReason(path, failure.description()));
    }
    scratch.moveTo(path);
    return {qint64(row) - 1, writer.cutValues()};
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

CatalogueExportResult exportMovies(const QString& path, const Catalogue::MovieSource& movies) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv") {
        return {exportCsv(path, movies), 0};
    }
    if (suffix == u"xlsx") {
        return exportXlsx(path, movies);
    }
    throw writeFailure(path, QStringLiteral("the name must end in .csv or .xlsx."));
}

} // namespace

CatalogueExportResult exportCatalogueFile(const QString& path, Catalogue& catalogue) {
    return exportMovies(path, [&catalogue](const std::function<void(const DvdRecord&)>& add) {
        catalogue.forEachMovie(add);
    });
}

CatalogueExportResult exportCatalogueFile(const QString& path,
                                          const std::vector<DvdRecord>& movies) {
    return exportMovies(path, [&movies](const std::function<void(const DvdRecord&)>& add) {
        for (const DvdRecord& movie : movies) {
            add(movie);
        }
    });
}
