// Any bytes as a text table: the reader either refuses them with an import
// failure or gives rows that, written back as CSV below a header line and
// read again, come back unchanged.
#include "core/export/catalogue_export.h"
#include "core/import/text_table_reader.h"

#include <QBuffer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

ImportLimits smallLimits() {
    ImportLimits limits;
    limits.columns = 64;
    limits.valueBytes = 1 << 16;
    return limits;
}

QList<QStringList> readRows(const QByteArray& bytes, const ImportLimits& limits) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    TextTableReader reader(std::move(buffer), limits);
    QList<QStringList> rows;
    SourceRow row;
    while (reader.readRow(row)) {
        if (row.cells.isEmpty() || row.cells.size() > limits.columns) {
            std::fprintf(stderr, "fuzz_import_text: a row of %lld cells\n",
                         static_cast<long long>(row.cells.size()));
            std::abort();
        }
        rows << row.cells;
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QStringList> rows;
    try {
        rows = readRows(input, smallLimits());
    } catch (const ImportFailure&) {
        return 0;
    }
    QByteArray written = "first,second\n";
    for (const QStringList& cells : rows) {
        written += csvLine(cells);
    }
    QList<QStringList> again;
    try {
        again = readRows(written, ImportLimits{});
    } catch (const ImportFailure& failure) {
        std::fprintf(stderr, "fuzz_import_text: written rows refused: %s\n", failure.what());
        std::abort();
    }
    again.removeFirst();
    if (again != rows) {
        std::fprintf(stderr, "fuzz_import_text: the rows changed on the way back\n");
        std::abort();
    }
    return 0;
}
