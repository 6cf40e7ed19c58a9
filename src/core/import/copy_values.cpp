#include "core/import/copy_values.h"

#include "core/catalogue/connection.h"
#include "core/import/column_names.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_input.h"

#include <algorithm>
#include <utility>

namespace {

const QString kNotFormat = QStringLiteral("'%1' is not a format: %2.");
const QString kNotStatus = QStringLiteral("'%1' is not a status: %2.");
const QString kNotDiscs = QStringLiteral("'%1' is not a number of discs.");

QString valueOf(const QStringList& values, int field) {
    return values.value(field - kFirstCopyField).trimmed();
}

bool isAmountCharacter(QChar c) {
    return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char(',') || c.isSpace();
}

// "12,50 EUR", "$12" or "12.50": the amount, and the currency written
// before or after it.
std::pair<QString, QString> splitPrice(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && !text[start].isDigit()) {
        ++start;
    }
    if (start == text.size()) {
        return {text, QString()};
    }
    qsizetype end = start;
    while (end < text.size() && isAmountCharacter(text[end])) {
        ++end;
    }
    const QString currency = (text.left(start) + QLatin1Char(' ') + text.mid(end)).simplified();
    return {text.mid(start, end - start), currency};
}

int discsFrom(const QString& text) {
    if (text.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const int discs = text.toInt(&ok);
    if (!ok || discs < 0) {
        throw Failure(kNotDiscs.arg(text));
    }
    return discs;
}

} // namespace

std::optional<ShelfCopy> copyFromValues(const QStringList& values, const QLocale& locale) {
    if (std::all_of(values.begin(), values.end(),
                    [](const QString& value) { return value.trimmed().isEmpty(); })) {
        return std::nullopt;
    }
    for (const QString& value : values) {
        requireStorableText(value);
    }
    ShelfCopy copy;
    copy.format = CopyFormat::Other;
    if (const QString format = valueOf(values, kCopyFormat); !format.isEmpty()) {
        const std::optional<CopyFormat> known = ShelfNames::format(format);
        if (!known) {
            throw Failure(
                kNotFormat.arg(format, ShelfNames::formatNames().join(QStringLiteral(", "))));
        }
        copy.format = *known;
    }
    if (const QString status = valueOf(values, kCopyStatus); !status.isEmpty()) {
        const std::optional<CopyStatus> known = ShelfNames::status(status);
        if (!known) {
            throw Failure(
                kNotStatus.arg(status, ShelfNames::statusNames().join(QStringLiteral(", "))));
        }
        copy.status = *known;
    }
    copy.barcode = valueOf(values, kCopyBarcode);
    if (const QString problem = Barcode::problem(copy.barcode);
        !copy.barcode.isEmpty() && !problem.isEmpty()) {
        throw Failure(problem);
    }
    copy.discs = discsFrom(valueOf(values, kCopyDiscs));
    copy.acquired = ShelfInput::date(valueOf(values, kCopyAcquired), locale);
    const auto [amount, currency] = splitPrice(valueOf(values, kCopyPrice));
    copy.price = ShelfInput::price(amount);
    copy.currency = valueOf(values, kCopyCurrency);
    if (copy.currency.isEmpty()) {
        copy.currency = currency;
    }
    copy.edition = valueOf(values, kCopyEdition);
    copy.location = valueOf(values, kCopyLocation);
    copy.condition = valueOf(values, kCopyCondition);
    copy.note = values.value(kCopyNote - kFirstCopyField);
    return copy;
}

QByteArray packCopyUtf8(const ShelfCopy& copy) {
    const QString texts[] = {ShelfNames::name(copy.format),
                             copy.edition,
                             copy.barcode,
                             QString::number(copy.discs),
                             copy.location,
                             copy.acquired.toString(Qt::ISODate),
                             copy.price,
                             copy.currency,
                             copy.condition,
                             ShelfNames::name(copy.status),
                             copy.note};
    QByteArray packed;
    for (const QString& text : texts) {
        packed += text.toUtf8();
        packed += '\0';
    }
    return packed;
}

ShelfCopy unpackCopy(QStringView packed) {
    QStringList texts;
    qsizetype start = 0;
    for (qsizetype end = packed.indexOf(QChar(0)); end >= 0;
         end = packed.indexOf(QChar(0), start)) {
        texts << packed.sliced(start, end - start).toString();
        start = end + 1;
    }
    const auto text = [&texts](int field) { return texts.value(field - kFirstCopyField); };
    ShelfCopy copy;
    copy.format = ShelfNames::format(text(kCopyFormat)).value_or(CopyFormat::Other);
    copy.edition = text(kCopyEdition);
    copy.barcode = text(kCopyBarcode);
    copy.discs = text(kCopyDiscs).toInt();
    copy.location = text(kCopyLocation);
    copy.acquired = QDate::fromString(text(kCopyAcquired), Qt::ISODate);
    copy.price = text(kCopyPrice);
    copy.currency = text(kCopyCurrency);
    copy.condition = text(kCopyCondition);
    copy.status = ShelfNames::status(text(kCopyStatus)).value_or(CopyStatus::Owned);
    copy.note = text(kCopyNote);
    return copy;
}
