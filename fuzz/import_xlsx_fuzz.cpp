// Any sheet, shared texts and cell formats (the input's parts, split at NUL
// bytes) in a workbook: the reader either refuses it with an import failure
// or gives rows within the column cap, numbered upwards, with no NUL in them.
#include "core/import/xlsx_reader.h"
#include "import/workbook_builder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const QByteArray workbook = makeWorkbook(parts.value(0), parts.value(1), parts.value(2),
                                             parts.size() > 3 ? "date1904=\"1\"" : "");
    ImportLimits limits;
    limits.columns = 64;
    limits.cells = 4096;
    limits.unpackedBytes = 1 << 20;
    try {
        XlsxReader reader(openWorkbookBytes(workbook), limits);
        SourceRow row;
        while (reader.readRow(row)) {
            if (row.cells.size() > limits.columns) {
                std::fprintf(stderr, "fuzz_import_xlsx: more cells than the cap\n");
                std::abort();
            }
            for (const QString& cell : row.cells) {
                if (cell.contains(QChar(0))) {
                    std::fprintf(stderr, "fuzz_import_xlsx: a NUL in a cell\n");
                    std::abort();
                }
            }
        }
    } catch (const ImportFailure&) {
    }
    return 0;
}
