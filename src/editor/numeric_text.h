#pragma once

#include <QLocale>
#include <QString>

// Whether the whole text reads as a number in the locale's format: blanks
// around it, an optional sign, digits with the locale's group separators in
// their places, an optional decimal part and exponent ("1.5e3"). At least one
// digit is needed.
bool isNumber(const QString& text, const QLocale& locale = QLocale());
