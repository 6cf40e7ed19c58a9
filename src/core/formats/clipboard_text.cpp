#include "core/formats/clipboard_text.h"

#include "core/formats/list_snapshot.h"

namespace {

void pumpOnce(const ExportPump& pump) {
    if (pump) {
        pump();
    }
}

} // namespace

std::vector<qsizetype> clipboardColumnWidths(const ListSnapshot& list, const ExportPump& pump) {
    std::vector<qsizetype> widths;
    widths.reserve(std::size_t(list.columnCount()));
    for (int column = 0; column < list.columnCount(); ++column) {
        qsizetype widest = 0;
        for (int row = 0; row < list.rowCount(); ++row) {
            pumpOnce(pump);
            widest = std::max(widest, list.cell(row, column).size());
        }
        widths.push_back(widest);
    }
    return widths;
}

QString clipboardText(const ListSnapshot& list, const ExportPump& pump) {
    const std::vector<qsizetype> widths = clipboardColumnWidths(list, pump);
    qsizetype lineLength = 2;
    for (qsizetype width : widths) {
        lineLength += width + 1;
    }
    QString text;
    text.reserve(lineLength * list.tickedCount());

    for (int row = 0; row < list.rowCount(); ++row) {
        pumpOnce(pump);
        if (!list.isTicked(row)) {
            continue;
        }
        const qsizetype lineStart = text.size();
        for (int column = 0; column < list.columnCount(); ++column) {
            pumpOnce(pump);
            const QString& cell = list.cell(row, column);
            text += cell;
            const qsizetype width = widths[std::size_t(column)];
            if (cell.size() < width) {
                text.resize(text.size() + width - cell.size(), QLatin1Char(' '));
            }
            text += QLatin1Char('\t');
        }
        if (text.size() > lineStart) {
            text.chop(1); // the tab after the last cell
        }
        qsizetype end = text.size();
        while (end > lineStart && text.at(end - 1) == QLatin1Char(' ')) {
            --end;
        }
        text.truncate(end);
        text += QStringLiteral("\r\n");
    }
    return text;
}
