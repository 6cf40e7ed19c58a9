#pragma once

#include <QString>
#include <functional>
#include <vector>

class ListSnapshot;

// The pump that lets window events run between cells; may be empty.
using ExportPump = std::function<void()>;

// Each column's width: the most characters of its cells over all rows,
// ticked or not (captions do not count).
std::vector<qsizetype> clipboardColumnWidths(const ListSnapshot& list, const ExportPump& pump = {});

// The ticked rows as text: per row its cells, each padded with blanks to its
// column's width and followed by a tab; the row's last tab and the blanks
// before it are dropped, and CR LF ends the line. No header line; no ticked
// row gives the empty text.
QString clipboardText(const ListSnapshot& list, const ExportPump& pump = {});
