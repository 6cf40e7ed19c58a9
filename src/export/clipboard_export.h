#pragma once

#include "core/formats/clipboard_text.h"

#include <QString>

class Clipboard;
class ListSnapshot;

// How often a clipboard operation is tried before it is given up.
inline constexpr int kClipboardAttempts = 1000;
// The most memory the clipboard text may take (it is built as UTF-16):
// padding multiplies the widest cell by every ticked row, so a few long
// texts could otherwise ask for gigabytes.
inline constexpr qint64 kClipboardTextLimitBytes = qint64(256) * 1024 * 1024;

// How a copy to the clipboard ended.
enum class ClipboardCopy {
    Done,     // copied; or the list had no rows and the clipboard is as it was
    TooLarge, // the text would pass kClipboardTextLimitBytes: nothing was copied
    Stopped,  // stop said so before the text was complete: nothing was copied
};

// Puts the ticked rows on the clipboard as blank-padded, tab-separated lines
// (see clipboardText). A list without rows leaves the clipboard as it was.
ClipboardCopy copyListToClipboard(const ListSnapshot& list, Clipboard& clipboard,
                                  const ExportPump& pump = {}, const ExportStop& stop = {});

// Empties the clipboard, trying again while it is held elsewhere; never fails.
void clearClipboard(Clipboard& clipboard);

// Puts the text on the clipboard, in the numbered format (0 the default text
// format), trying again while it is held elsewhere. True when the last
// attempt succeeded; never fails.
bool setClipboardText(Clipboard& clipboard, const QString& text, int format);
