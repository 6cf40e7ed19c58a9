#include "core/import/import_file.h"

#include "core/import/background_row_reader.h"
#include "core/import/ods_reader.h"
#include "core/import/text_table_reader.h"
#include "core/import/xlsx_reader.h"
#include "core/report/failure.h"
#include "core/system/regular_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isZipContainer(const QByteArray& start) {
    return start.startsWith("PK\x03\x04") || start.startsWith("PK\x05\x06");
}

// An OpenDocument spreadsheet by its content, or by its name when its
// content names no kind of workbook; otherwise an .xlsx workbook.
std::unique_ptr<RowReader> openSpreadsheet(const QString& path, const ImportLimits& limits,
                                           const QString& sheet) {
    std::unique_ptr<ZipArchive> archive = openWorkbookFile(path);
    const bool xlsx = archive->contains(QStringLiteral("xl/workbook.xml"));
    const bool ods = !xlsx && (archive->contains(QStringLiteral("content.xml")) ||
                               QFileInfo(path).suffix().compare(u"ods", Qt::CaseInsensitive) == 0);
    // The sheet's XML is unpacked and parsed on a thread of its own, beside
    // the planning of the rows it has given.
    if (ods) {
        return std::make_unique<BackgroundRowReader>(
            std::make_unique<OdsReader>(std::move(archive), limits, sheet));
    }
    return std::make_unique<BackgroundRowReader>(
        std::make_unique<XlsxReader>(std::move(archive), limits, sheet));
}

} // namespace

std::unique_ptr<RowReader> openImportFile(const QString& path, const ImportLimits& limits,
                                          const QString& sheet) {
    std::unique_ptr<QFile> file;
    try {
        file = openRegularFile(path, QStringLiteral("The file %1").arg(path),
                               QStringLiteral("%1 cannot be read: %2"));
    } catch (const Failure& failure) {
        throw ImportFailure(ImportProblem::CannotRead, failure.description());
    }
    if (file->size() > limits.fileBytes) {
        throw ImportFailure(ImportProblem::TooLarge,
                            QStringLiteral("The file is %1; files larger than %2 are not "
                                           "imported.")
                                .arg(sizeText(file->size()), sizeText(limits.fileBytes)));
    }
    if (file->size() == 0) {
        throw ImportFailure(ImportProblem::Empty, QStringLiteral("The file is empty."));
    }
    if (isZipContainer(file->peek(4))) {
        file.reset();
        return openSpreadsheet(path, limits, sheet);
    }
    return std::make_unique<TextTableReader>(std::move(file), limits);
}

ImportPlan planImportFile(const QString& path, const LookAlikeKeys& existing,
                          const ImportProgress& progress, const ImportLimits& limits,
                          const QString& sheet) {
    const std::unique_ptr<RowReader> reader = openImportFile(path, limits, sheet);
    return planImport(*reader, existing, progress, limits);
}

ImportPlan planImportFile(const QString& path, const std::vector<DvdRecord>& existing,
                          const ImportProgress& progress, const ImportLimits& limits,
                          const QString& sheet) {
    return planImportFile(path, LookAlikeKeys(existing), progress, limits, sheet);
}
