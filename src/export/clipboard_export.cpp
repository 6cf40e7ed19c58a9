#include "export/clipboard_export.h"

#include "core/formats/list_snapshot.h"
#include "platform/clipboard.h"

#include <exception>

namespace {

// Runs the operation until it succeeds or has been tried kClipboardAttempts
// times, with no pause between tries; true when the last try succeeded.
template <class F> bool withRetries(F&& operation) {
    bool succeeded = false;
    for (int attempt = 0; attempt < kClipboardAttempts && !succeeded; ++attempt) {
        try {
            operation();
            succeeded = true;
        } catch (const std::exception&) {
        }
    }
    return succeeded;
}

} // namespace

ClipboardCopy copyListToClipboard(const ListSnapshot& list, Clipboard& clipboard,
                                  const ExportPump& pump, const ExportStop& stop) {
    if (list.rowCount() == 0) {
        return ClipboardCopy::Done;
    }
    const auto stopped = [&] { return stop && stop(); };
    const std::vector<qsizetype> widths = clipboardColumnWidths(list, pump, stop);
    if (stopped()) {
        return ClipboardCopy::Stopped;
    }
    // Sized before anything is built.
    if (clipboardTextLength(list, widths) * qint64(sizeof(QChar)) > kClipboardTextLimitBytes) {
        return ClipboardCopy::TooLarge;
    }
    const QString text = clipboardText(list, widths, pump, stop);
    if (stopped()) {
        return ClipboardCopy::Stopped;
    }
    clearClipboard(clipboard);
    setClipboardText(clipboard, text, Clipboard::kDefaultTextFormat);
    return ClipboardCopy::Done;
}

void clearClipboard(Clipboard& clipboard) {
    withRetries([&] { clipboard.clear(); });
}

bool setClipboardText(Clipboard& clipboard, const QString& text, int format) {
    return withRetries([&] {
        if (format == Clipboard::kDefaultTextFormat) {
            clipboard.setText(text);
        } else {
            clipboard.setText(text, format);
        }
    });
}
