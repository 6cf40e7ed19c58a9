#pragma once

#include <QLocale>
#include <QString>

// Whether the whole text reads as a number: optional blanks around it, an
// optional sign, digits with an optional decimal part (the locale's decimal
// separator; group separators allowed between the digits before it) and an
// optional exponent ("1.5e3"). At least one digit is needed.
bool isNumber(const QString& text, const QLocale& locale = QLocale());
