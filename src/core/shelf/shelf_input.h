#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// What a person types for a copy's price, currency and date, read into what the
// catalogue stores. Each fails (a Failure) with a sentence saying what was
// expected; an empty text is an empty value.
namespace ShelfInput {

// "12.5", "12,50" or "1.234,50" as "12.50", "12.50" and "1234.50": the
// last '.' or ',' is the decimal separator when at most two digits follow it.
QString price(const QString& text);

// A currency as its three-letter code ("eur" as "EUR") or a currency sign
// ("$"), blanks around it dropped.
QString currency(const QString& text);

// A date written as 2024-03-14 or in the locale's short form ("3/14/24");
// a two-digit year is taken in this century unless that lies ahead.
QDate date(const QString& text, const QLocale& locale = QLocale());

} // namespace ShelfInput
