#pragma once

#include <QString>
#include <functional>
#include <vector>

class ListSnapshot;

// The pump that lets window events run between cells; may be empty.
using ExportPump = std::function<void()>;
// Asked after each pump: true when the export is to stop there (the main
// window has closed meanwhile); may be empty.
using ExportStop = std::function<bool()>;

// Each column's width: the most characters of its cells over all rows,
// ticked or not (captions do not count). Ends early, with the widths found
// so far, when stop says so.
std::vector<qsizetype> clipboardColumnWidths(const ListSnapshot& list, const ExportPump& pump = {},
                                             const ExportStop& stop = {});

// How many characters clipboardText gives for these widths, worked out
// without building the text.
qint64 clipboardTextLength(const ListSnapshot& list, const std::vector<qsizetype>& widths);

// The ticked rows as text: per row its cells, each padded with blanks to its
// column's width and followed by a tab; the row's last tab and the blanks
// before it are dropped, and CR LF ends the line. No header line; no ticked
// row gives the empty text.
QString clipboardText(const ListSnapshot& list, const ExportPump& pump = {});
// The same with the widths already worked out. Ends early, with the lines
// built so far, when stop says so.
QString clipboardText(const ListSnapshot& list, const std::vector<qsizetype>& widths,
                      const ExportPump& pump, const ExportStop& stop = {});
