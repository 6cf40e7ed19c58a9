#include "import_support.h"

#include "core/import/ods_reader.h"
#include "core/import/text_table_reader.h"
#include "core/import/xlsx_reader.h"

#include <QBuffer>
#include <gtest/gtest.h>

QList<QStringList> numberedRows(RowReader& reader) {
    QList<QStringList> rows;
    SourceRow row;
    while (reader.readRow(row)) {
        rows << (QStringList{QString::number(row.number)} + row.cells);
    }
    return rows;
}

std::unique_ptr<RowReader> textReader(const QByteArray& bytes, const ImportLimits& limits) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return std::make_unique<TextTableReader>(std::move(buffer), limits);
}

std::unique_ptr<RowReader> workbookReader(const QByteArray& zipBytes, const ImportLimits& limits,
                                          const QString& sheet) {
    return std::make_unique<XlsxReader>(openWorkbookBytes(zipBytes), limits, sheet);
}

std::unique_ptr<RowReader> spreadsheetReader(const QByteArray& zipBytes, const ImportLimits& limits,
                                             const QString& sheet) {
    return std::make_unique<OdsReader>(openWorkbookBytes(zipBytes), limits, sheet);
}

ImportFailure failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ImportFailure& failure) {
        return failure;
    }
    ADD_FAILURE() << "no failure";
    return ImportFailure(ImportProblem::CannotRead, QStringLiteral("(none)"));
}
