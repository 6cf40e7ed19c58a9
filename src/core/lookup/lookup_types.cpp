#include "core/lookup/lookup_types.h"

#include <QRegularExpression>

QString runtimeText(int minutes) {
    if (minutes <= 0) {
        return {};
    }
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

bool isImdbId(const QString& id) {
    static const QRegularExpression pattern(QStringLiteral("^tt[0-9]{7,10}$"));
    return pattern.match(id).hasMatch();
}
