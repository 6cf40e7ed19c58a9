#include "editor/numeric_text.h"

#include <algorithm>

bool isNumber(const QString& text, const QLocale& locale) {
    bool number = false;
    locale.toDouble(text, &number);
    // QLocale also reads "inf" and "nan", which hold no digit.
    return number && std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}
