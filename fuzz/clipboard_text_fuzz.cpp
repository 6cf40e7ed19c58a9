// The clipboard text for any list: each ticked row gives one line of its
// cells, padded to the widest cell of the column over all rows and joined
// by tabs, without trailing blanks, ended by CR LF; nothing else.
#include "core/formats/clipboard_text.h"
#include "core/formats/list_snapshot.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Byte 0: the column count (1..9). Then rows separated by 0x1e, each
    // starting with its tick ('1' ticked), its cells separated by 0x1f, as UTF-8.
    if (size == 0) {
        return 0;
    }
    const int columns = 1 + data[0] % 9;
    QStringList captions;
    for (int c = 0; c < columns; ++c) {
        captions << QStringLiteral("C%1").arg(c);
    }
    ListSnapshot list(captions);
    const QByteArray rest =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);
    QList<QStringList> rows;
    QList<bool> ticks;
    for (const QByteArray& rowBytes : rest.split('\x1e')) {
        if (rowBytes.isEmpty()) {
            continue;
        }
        QStringList cells;
        for (const QByteArray& cell : rowBytes.mid(1).split('\x1f')) {
            cells << QString::fromUtf8(cell);
        }
        while (cells.size() < columns) {
            cells << QString();
        }
        cells = cells.mid(0, columns);
        rows << cells;
        ticks << (rowBytes.at(0) == '1');
        list.addRow(cells, ticks.back());
    }

    // The same text, worked out plainly.
    QList<qsizetype> widths(columns, 0);
    for (const QStringList& cells : rows) {
        for (int c = 0; c < columns; ++c) {
            widths[c] = std::max(widths[c], cells[c].size());
        }
    }
    QString expected;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (!ticks[r]) {
            continue;
        }
        QStringList padded;
        for (int c = 0; c < columns; ++c) {
            padded << rows[r][c].leftJustified(widths[c], QLatin1Char(' '));
        }
        QString line = padded.join(QLatin1Char('\t'));
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        expected += line + QStringLiteral("\r\n");
    }

    int pumps = 0;
    const QString text = clipboardText(list, [&pumps] { ++pumps; });
    if (text != expected) {
        std::fprintf(stderr, "fuzz_clipboard_text: the text differs\n");
        std::abort();
    }
    if (clipboardTextLength(list, clipboardColumnWidths(list)) != text.size()) {
        std::fprintf(stderr, "fuzz_clipboard_text: the length worked out beforehand differs\n");
        std::abort();
    }
    if (rows.isEmpty() ? pumps != 0 : pumps < int(rows.size()) * columns) {
        std::fprintf(stderr, "fuzz_clipboard_text: events were not let run between cells\n");
        std::abort();
    }
    return 0;
}
