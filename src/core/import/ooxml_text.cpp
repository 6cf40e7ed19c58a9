#include "core/import/ooxml_text.h"

#include <cctype>

namespace {

constexpr qsizetype kEscapeLength = 7; // _xHHHH_

// The character an escape at `at` stands for, or -1 when there is none there.
int escapeAt(const QString& text, qsizetype at) {
    if (at + kEscapeLength > text.size() || text.at(at) != QLatin1Char('_') ||
        text.at(at + 1) != QLatin1Char('x') || text.at(at + 6) != QLatin1Char('_')) {
        return -1;
    }
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const char16_t digit = text.at(i).unicode();
        if (digit > 0x7F || !std::isxdigit(int(digit))) {
            return -1;
        }
    }
    return QStringView(text).sliced(at + 2, 4).toInt(nullptr, 16);
}

} // namespace

QString decodeOoxmlEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) {
        return text;
    }
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        const int code = escapeAt(text, at);
        if (code >= 0) {
            decoded += QChar(char16_t(code));
            at += kEscapeLength;
        } else {
            decoded += text.at(at++);
        }
    }
    return decoded;
}

QString protectOoxmlEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) {
        return text;
    }
    QString protectedText;
    protectedText.reserve(text.size() + kEscapeLength);
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (escapeAt(text, at) >= 0) {
            protectedText += QLatin1String("_x005F");
        }
        protectedText += text.at(at);
    }
    return protectedText;
}
