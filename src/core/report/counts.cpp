#include "core/report/counts.h"

#include <QLocale>

QString groupedNumber(qint64 number) {
    const QLocale locale;
    if (locale.language() != QLocale::C) {
        return locale.toString(number);
    }
    QString digits = QString::number(number);
    const qsizetype first = number < 0 ? 1 : 0; // after the minus sign
    for (qsizetype at = digits.size() - 3; at > first; at -= 3) {
        digits.insert(at, QLatin1Char(' '));
    }
    return digits;
}

QString countOf(qint64 count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(groupedNumber(count), count == 1 ? one : many);
}
