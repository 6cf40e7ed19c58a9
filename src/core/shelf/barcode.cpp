#include "core/shelf/barcode.h"

namespace Barcode {

namespace {

constexpr qsizetype kEan8 = 8;
constexpr qsizetype kUpcA = 12;
constexpr qsizetype kEan13 = 13;

// The digit that completes the others: counted from the right, every other
// digit weighs three, and the sum with the check digit is a multiple of ten.
int checkDigit(QStringView digits) {
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digits.at(i).digitValue() * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

} // namespace

QString problem(const QString& code) {
    if (code.isEmpty()) {
        return QStringLiteral("The barcode is empty.");
    }
    for (const QChar c : code) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return QStringLiteral("The barcode %1 holds '%2': a barcode is digits only.")
                .arg(code, c);
        }
    }
    if (code.size() != kEan8 && code.size() != kUpcA && code.size() != kEan13) {
        return QStringLiteral("The barcode %1 has %2 digits: an EAN-13 has 13, a UPC-A 12 "
                              "and an EAN-8 8.")
            .arg(code)
            .arg(code.size());
    }
    const int expected = checkDigit(QStringView(code).chopped(1));
    const int given = code.back().digitValue();
    if (given != expected) {
        return QStringLiteral("The barcode %1 ends in the check digit %2 where %3 belongs: a "
                              "digit is wrong.")
            .arg(code)
            .arg(given)
            .arg(expected);
    }
    return {};
}

QStringList spellings(const QString& code) {
    if (code.size() == kUpcA) {
        return {code, QLatin1Char('0') + code};
    }
    if (code.size() == kEan13 && code.startsWith(QLatin1Char('0'))) {
        return {code, code.mid(1)};
    }
    return {code};
}

} // namespace Barcode
