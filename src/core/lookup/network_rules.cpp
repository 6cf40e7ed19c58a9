#include "core/lookup/network_rules.h"

#include "core/report/contact.h"

#include <QDateTime>
#include <QHostAddress>
#include <QLocale>
#include <QTimeZone>
#include <QtGlobal>
#include <algorithm>

namespace {
const QString kOnlyHttps = QStringLiteral("refusing %1: only HTTPS addresses are allowed");
}

QUrl serviceAddress(const char* variable, const char* publicAddress, const QString& configured) {
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty()) {
        return {fromEnvironment};
    }
    return {configured.trimmed().isEmpty() ? QString::fromLatin1(publicAddress)
                                           : configured.trimmed()};
}

namespace {
bool onThisMachine(const QString& host) {
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           QHostAddress(host).isLoopback();
}
} // namespace

int spacingFor(const NetworkLimits& limits, const QUrl& address, int serviceSpacingMs) {
    if (limits.spacingMs >= 0) {
        return limits.spacingMs;
    }
    return onThisMachine(address.host()) ? 0 : serviceSpacingMs;
}

QString refusedAddress(const QUrl& address) {
    const QString scheme = address.scheme().toLower();
    if (scheme == QLatin1String("https") && !address.host().isEmpty()) {
        return {};
    }
    if (scheme == QLatin1String("http")) {
        if (onThisMachine(address.host())) {
            return {};
        }
    }
    return kOnlyHttps.arg(address.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo));
}

int retryDelayMs(const QByteArray& retryAfter, int retry, const NetworkLimits& limits) {
    qint64 delay = qint64(limits.firstRetryDelayMs) << std::clamp(retry, 0, 16);
    const QByteArray value = retryAfter.trimmed();
    bool isNumber = false;
    const qint64 seconds = value.toLongLong(&isNumber);
    if (isNumber && seconds >= 0) {
        delay = seconds * 1000;
    } else if (!value.isEmpty()) {
        // An HTTP date: "Wed, 21 Oct 2015 07:28:00 GMT".
        const QDateTime when = QLocale::c().toDateTime(
            QString::fromLatin1(value).replace(QLatin1String(" GMT"), QString()),
            QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"));
        if (when.isValid()) {
            const QDateTime utc(when.date(), when.time(), QTimeZone::utc());
            delay = std::max<qint64>(0, QDateTime::currentDateTimeUtc().msecsTo(utc));
        }
    }
    return int(std::min<qint64>(delay, limits.retryDelayCapMs));
}

QByteArray lookupUserAgent() {
    return QByteArrayLiteral("Reelkeeper/" REELKEEPER_VERSION " (") + kContactAddress + ')';
}
