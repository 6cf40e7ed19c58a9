#pragma once

#include "core/formats/clipboard_text.h"

#include <QString>

class Clipboard;
class ListSnapshot;

namespace Main {

// How often a clipboard operation is tried before it is given up.
inline constexpr int kClipboardAttempts = 1000;

// Puts the ticked rows on the clipboard as blank-padded, tab-separated lines
// (see clipboardText). A list without rows leaves the clipboard as it was.
void copyListToClipboard(const ListSnapshot& list, Clipboard& clipboard,
                         const ExportPump& pump = {});

// Empties the clipboard, trying again while it is held elsewhere; never fails.
void clearClipboard(Clipboard& clipboard);

// Puts the text on the clipboard, in the numbered format (0 the default text
// format), trying again while it is held elsewhere. True when the last
// attempt succeeded; never fails.
bool setClipboardText(Clipboard& clipboard, const QString& text, int format);

} // namespace Main
