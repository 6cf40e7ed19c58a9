#include "core/import/number_display.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cmath>

namespace {

using Kind = NumberStyle::Kind;

constexpr double kSecondsPerDay = 86400.0;
// Beyond this a number in General is shown with an exponent.
constexpr double kLargestPlain = 1e15;

NumberStyle style(Kind kind, int decimals = 0, bool grouping = false) {
    NumberStyle result;
    result.kind = kind;
    result.decimals = decimals;
    result.grouping = grouping;
    return result;
}

// The format code's first section without the parts that show no digits:
// quoted text, escaped characters, fill and padding characters; bracketed
// parts are dropped too, except elapsed-time markers, kept as "[h]".
QString digitsPart(const QString& code) {
    QString kept;
    for (qsizetype at = 0; at < code.size(); ++at) {
        const QChar c = code.at(at);
        if (c == QLatin1Char(';')) {
            break;
        }
        if (c == QLatin1Char('"')) {
            const qsizetype end = code.indexOf(QLatin1Char('"'), at + 1);
            at = end < 0 ? code.size() : end;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++at;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = code.indexOf(QLatin1Char(']'), at + 1);
            const QString inside = code.mid(at + 1, end < 0 ? -1 : end - at - 1).toLower();
            if (!inside.isEmpty() &&
                (inside.front() == QLatin1Char('h') || inside.front() == QLatin1Char('m') ||
                 inside.front() == QLatin1Char('s'))) {
                kept += QLatin1Char('[') + inside + QLatin1Char(']');
            }
            at = end < 0 ? code.size() : end;
        } else {
            kept += c.toLower();
        }
    }
    return kept;
}

QString generalText(double value) {
    if (value == std::floor(value) && std::fabs(value) < kLargestPlain) {
        return QString::number(qint64(value));
    }
    return QString::number(value, 'g', 15).toUpper();
}

// The calendar day of a serial day number. The 1900 system counts the
// non-existent 29 February 1900 as day 60, as the first spreadsheets did.
QString dateText(qint64 day, bool date1904) {
    if (date1904) {
        return QDate(1904, 1, 1).addDays(day).toString(Qt::ISODate);
    }
    if (day == 60) {
        return QStringLiteral("1900-02-29");
    }
    const QDate base = day < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    return base.addDays(day).toString(Qt::ISODate);
}

QString timeText(qint64 seconds, bool elapsedHours) {
    const qint64 hours = elapsedHours ? seconds / 3600 : (seconds / 3600) % 24;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

NumberStyle builtInNumberStyle(int formatId) {
    switch (formatId) {
    case 1:
        return style(Kind::Fixed, 0);
    case 2:
        return style(Kind::Fixed, 2);
    case 3:
    case 5:
    case 6:
    case 37:
    case 38:
        return style(Kind::Fixed, 0, true);
    case 4:
    case 7:
    case 8:
    case 39:
    case 40:
        return style(Kind::Fixed, 2, true);
    case 9:
        return style(Kind::Percent, 0);
    case 10:
        return style(Kind::Percent, 2);
    case 11:
        return style(Kind::Scientific, 2);
    case 48:
        return style(Kind::Scientific, 1);
    case 14:
    case 15:
    case 16:
    case 17:
        return style(Kind::Date);
    case 18:
    case 19:
    case 20:
    case 21:
    case 45:
    case 47:
        return style(Kind::Time);
    case 46: {
        NumberStyle elapsed = style(Kind::Time);
        elapsed.elapsedHours = true;
        return elapsed;
    }
    case 22:
        return style(Kind::DateTime);
    default:
        // 27 to 36 and 50 to 58 are the East Asian date formats.
        if ((formatId >= 27 && formatId <= 36) || (formatId >= 50 && formatId <= 58)) {
            return style(Kind::Date);
        }
        return style(Kind::General);
    }
}

NumberStyle numberStyleOfCode(const QString& formatCode) {
    const QString code = digitsPart(formatCode);
    if (code.isEmpty() || code == QLatin1String("general") || code == QLatin1String("@")) {
        return style(Kind::General);
    }
    const bool hasTime = code.contains(QLatin1Char('h')) || code.contains(QLatin1Char('s'));
    const bool hasDate = code.contains(QLatin1Char('y')) || code.contains(QLatin1Char('d')) ||
                         (code.contains(QLatin1Char('m')) && !hasTime);
    if (hasDate || hasTime) {
        NumberStyle result = style(hasDate && hasTime ? Kind::DateTime
                                   : hasDate          ? Kind::Date
                                                      : Kind::Time);
        result.elapsedHours = code.contains(QLatin1String("[h"));
        return result;
    }
    const qsizetype point = code.indexOf(QLatin1Char('.'));
    int decimals = 0;
    for (qsizetype at = point + 1; point >= 0 && at < code.size(); ++at) {
        const QChar c = code.at(at);
        if (c != QLatin1Char('0') && c != QLatin1Char('#') && c != QLatin1Char('?')) {
            break;
        }
        ++decimals;
    }
    if (code.contains(QLatin1String("e+")) || code.contains(QLatin1String("e-"))) {
        return style(Kind::Scientific, decimals);
    }
    if (!code.contains(QLatin1Char('0')) && !code.contains(QLatin1Char('#'))) {
        return style(Kind::General);
    }
    const bool grouping = code.left(point < 0 ? code.size() : point).contains(QLatin1Char(','));
    return style(code.contains(QLatin1Char('%')) ? Kind::Percent : Kind::Fixed, decimals, grouping);
}

QString displayNumber(double value, const NumberStyle& style, bool date1904) {
    if (!std::isfinite(value)) {
        return generalText(value);
    }
    static const QLocale kGrouped(QLocale::English, QLocale::UnitedStates);
    switch (style.kind) {
    case Kind::General:
        return generalText(value);
    case Kind::Fixed:
        if (style.grouping) {
            return kGrouped.toString(value, 'f', style.decimals);
        }
        return QString::number(value, 'f', style.decimals);
    case Kind::Percent:
        return QString::number(value * 100.0, 'f', style.decimals) + QLatin1Char('%');
    case Kind::Scientific:
        return QString::number(value, 'E', style.decimals);
    case Kind::Date:
    case Kind::DateTime:
    case Kind::Time: {
        // Dates before the first day of the system are not dates.
        if (value < 0 || value > 2958465.0) {
            return generalText(value);
        }
        qint64 seconds = std::llround(value * kSecondsPerDay);
        const qint64 day = seconds / qint64(kSecondsPerDay);
        if (style.kind == Kind::Date) {
            return dateText(qint64(std::floor(value)), date1904);
        }
        if (style.kind == Kind::Time) {
            return timeText(style.elapsedHours ? seconds : seconds % qint64(kSecondsPerDay),
                            style.elapsedHours);
        }
        seconds %= qint64(kSecondsPerDay);
        return dateText(day, date1904) + QLatin1Char(' ') + timeText(seconds, false);
    }
    }
    return generalText(value);
}
