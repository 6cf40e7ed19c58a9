#include "core/formats/clipboard_text.h"

#include "core/formats/list_snapshot.h"

namespace {

// Lets events run once; true when the export is to stop now.
bool pumpOnce(const ExportPump& pump, const ExportStop& stop) {
    if (pump) {
        pump();
    }
    return stop && stop();
}

// The cell's length without the blanks at its end.
qsizetype trimmedLength(const QString& cell) {
    qsizetype end = cell.size();
    while (end > 0 && cell.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return end;
}

} // namespace

std::vector<qsizetype> clipboardColumnWidths(const ListSnapshot& list, const ExportPump& pump,
                                             const ExportStop& stop) {
    std::vector<qsizetype> widths;
    widths.reserve(std::size_t(list.columnCount()));
    for (int column = 0; column < list.columnCount(); ++column) {
        qsizetype widest = 0;
        for (int row = 0; row < list.rowCount(); ++row) {
            if (pumpOnce(pump, stop)) {
                return widths;
            }
            widest = std::max(widest, list.cell(row, column).size());
        }
        widths.push_back(widest);
    }
    return widths;
}

qint64 clipboardTextLength(const ListSnapshot& list, const std::vector<qsizetype>& widths) {
    const int columns = list.columnCount();
    // Every cell but the last is padded to its width and followed by a tab;
    // the last keeps its text without the blanks at its end; CR LF closes.
    qint64 leading = 0;
    for (int column = 0; column + 1 < columns; ++column) {
        leading += qint64(widths[std::size_t(column)]) + 1;
    }
    qint64 length = 0;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isTicked(row)) {
            length += leading + 2 + (columns > 0 ? trimmedLength(list.cell(row, columns - 1)) : 0);
        }
    }
    return length;
}

QString clipboardText(const ListSnapshot& list, const ExportPump& pump) {
    return clipboardText(list, clipboardColumnWidths(list, pump), pump);
}

QString clipboardText(const ListSnapshot& list, const std::vector<qsizetype>& widths,
                      const ExportPump& pump, const ExportStop& stop) {
    QString text;
    text.reserve(clipboardTextLength(list, widths));

    for (int row = 0; row < list.rowCount(); ++row) {
        if (pumpOnce(pump, stop)) {
            return text;
        }
        if (!list.isTicked(row)) {
            continue;
        }
        const qsizetype lineStart = text.size();
        for (int column = 0; column < list.columnCount(); ++column) {
            if (pumpOnce(pump, stop)) {
                return text;
            }
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
