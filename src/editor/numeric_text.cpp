#include "editor/numeric_text.h"

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// The locale's separator when it is one character, else the fallback.
QChar singleChar(const QString& text, QChar fallback) {
    return text.size() == 1 ? text.front() : fallback;
}

} // namespace

bool isNumber(const QString& text, const QLocale& locale) {
    const QChar decimal = singleChar(locale.decimalPoint(), QLatin1Char('.'));
    const QChar group = singleChar(locale.groupSeparator(), QChar());
    // Some locales group with a no-break space; a typed plain blank counts as it.
    const bool blankGroups = group == QChar(0x00A0) || group == QChar(0x202F);

    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text.at(i))) {
        ++i;
    }
    while (end > i && isBlank(text.at(end - 1))) {
        --end;
    }
    if (i < end && isSign(text.at(i))) {
        ++i;
    }

    int digits = 0;
    // The whole part: digits, with group separators only between digits.
    while (i < end) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            ++digits;
            ++i;
        } else if (digits > 0 && !group.isNull() && c != decimal &&
                   (c == group || (blankGroups && c == QLatin1Char(' '))) && i + 1 < end &&
                   isDigit(text.at(i + 1))) {
            ++i;
        } else {
            break;
        }
    }
    if (i < end && text.at(i) == decimal) {
        ++i;
        while (i < end && isDigit(text.at(i))) {
            ++digits;
            ++i;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < end && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < end && isSign(text.at(i))) {
            ++i;
        }
        int exponentDigits = 0;
        while (i < end && isDigit(text.at(i))) {
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == end;
}
