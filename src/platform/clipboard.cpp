#include "platform/clipboard.h"

#include "core/report/failure.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

constexpr int kTextFormat = 1;
constexpr int kOemTextFormat = 7;
constexpr int kUnicodeTextFormat = 13;

QClipboard& systemClipboard() {
    QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::clipboard()
                                : nullptr;
    if (!clipboard) {
        throw Failure(QStringLiteral("The clipboard is not available."));
    }
    return *clipboard;
}

} // namespace

void SystemClipboard::clear() {
    systemClipboard().clear();
}

void SystemClipboard::setText(const QString& text) {
    systemClipboard().setText(text);
}

void SystemClipboard::setText(const QString& text, int format) {
    if (format != kDefaultTextFormat && format != kTextFormat && format != kOemTextFormat &&
        format != kUnicodeTextFormat) {
        throw Failure(QStringLiteral("The clipboard does not take text in format %1.").arg(format));
    }
    systemClipboard().setText(text);
}
