#include "core/shelf/shelf_input.h"

#include "core/report/failure.h"

#include <QRegularExpression>

namespace ShelfInput {

namespace {

constexpr int kCentury = 100;
const QString kNotACurrency =
    QStringLiteral("\"%1\" is not a currency: type its three-letter code, such as EUR.");

// A two-digit year read as 19xx moves to 20xx unless that lies ahead.
QDate inThisCentury(QDate date) {
    const QDate later = date.addYears(kCentury);
    return date.year() < 2000 && later <= QDate::currentDate() ? later : date;
}

} // namespace

QString currency(const QString& text) {
    QString code = text.trimmed();
    if (code.isEmpty()) {
        return {};
    }
    static const QRegularExpression letters(QStringLiteral("^[A-Za-z]{3}$"));
    if (letters.match(code).hasMatch()) {
        return code.toUpper();
    }
    if (code.size() == 1 && code.at(0).category() == QChar::Symbol_Currency) {
        return code;
    }
    throw Failure(kNotACurrency.arg(code));
}

QString price(const QString& text) {
    QString amount = text.simplified().remove(QLatin1Char(' '));
    if (amount.isEmpty()) {
        return {};
    }
    const qsizetype decimal =
        std::max(amount.lastIndexOf(QLatin1Char('.')), amount.lastIndexOf(QLatin1Char(',')));
    QString whole = decimal < 0 ? amount : amount.left(decimal);
    QString cents = decimal < 0 ? QString() : amount.mid(decimal + 1);
    // A separator before the decimal one groups thousands.
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}([.,]\\d{3})*$"));
    if (whole.contains(QLatin1Char('.')) || whole.contains(QLatin1Char(','))) {
        if (!grouped.match(whole).hasMatch()) {
            whole = QStringLiteral("x");
        }
        whole.remove(QLatin1Char('.')).remove(QLatin1Char(','));
    }
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    static const QRegularExpression fraction(QStringLiteral("^\\d{1,2}$"));
    if (!digits.match(whole).hasMatch() || (decimal >= 0 && !fraction.match(cents).hasMatch())) {
        throw Failure(QStringLiteral("The price %1 is not an amount such as 12.99 or 12,99.")
                          .arg(text.trimmed()));
    }
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) {
        whole.remove(0, 1);
    }
    return whole + QLatin1Char('.') + cents.leftJustified(2, QLatin1Char('0'));
}

QDate date(const QString& text, const QLocale& locale) {
    const QString given = text.trimmed();
    if (given.isEmpty()) {
        return {};
    }
    QDate read = QDate::fromString(given, Qt::ISODate);
    if (read.isValid()) {
        return read;
    }
    const QString shortForm = locale.dateFormat(QLocale::ShortFormat);
    // The same form with the year written out, then as the locale writes it.
    if (!shortForm.contains(QStringLiteral("yyyy"))) {
        read = locale.toDate(
            given, QString(shortForm).replace(QStringLiteral("yy"), QStringLiteral("yyyy")));
    }
    if (!read.isValid()) {
        read = locale.toDate(given, shortForm);
        if (read.isValid()) {
            read = inThisCentury(read);
        }
    }
    if (!read.isValid()) {
        throw Failure(QStringLiteral("The date %1 is not a date such as %2 or %3.")
                          .arg(given, QStringLiteral("2024-03-14"),
                               locale.toString(QDate(2024, 3, 14), QLocale::ShortFormat)));
    }
    return read;
}

} // namespace ShelfInput
