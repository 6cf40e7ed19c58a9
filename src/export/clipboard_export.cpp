#include "export/clipboard_export.h"

#include "core/formats/list_snapshot.h"
#include "platform/clipboard.h"

#include <exception>

namespace Main {

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

void copyListToClipboard(const ListSnapshot& list, Clipboard& clipboard, const ExportPump& pump) {
    if (list.rowCount() == 0) {
        return;
    }
    const QString text = clipboardText(list, pump);
    clearClipboard(clipboard);
    setClipboardText(clipboard, text, Clipboard::kDefaultTextFormat);
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

} // namespace Main
