#include "core/settings/setting_values.h"

#include "core/report/failure.h"

#include <QLocale>
#include <cmath>
#include <limits>

float parseSettingNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        throw Failure(
            QStringLiteral("Type mismatch: the saved value '%1' is not a number.").arg(text));
    }
    return float(value);
}

QString formatSettingNumber(float value) {
    return QString::number(double(value), 'g', 7);
}

int parseWindowState(const QString& text) {
    const float value = parseSettingNumber(text);
    const long state = std::lround(value);
    if (state < 0 || state > 2) {
        throw Failure(QStringLiteral("Invalid property value: the saved window state '%1' is not "
                                     "0, 1 or 2.")
                          .arg(text));
    }
    return int(state);
}

Qt::WindowStates windowStateFlags(int state) {
    switch (state) {
    case 1:
        return Qt::WindowMinimized;
    case 2:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

int windowStateNumber(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) {
        return 1;
    }
    if (states & Qt::WindowMaximized) {
        return 2;
    }
    return 0;
}
