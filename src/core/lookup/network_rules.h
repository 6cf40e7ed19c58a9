#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// What every request to a film database keeps to.
struct NetworkLimits {
    int timeoutMs = 10'000;                    // per request, from sending to the last byte
    qint64 maxBytes = qint64(5) * 1024 * 1024; // a larger answer is refused
    int retries = 2;                           // after HTTP 429 or 5xx
    int firstRetryDelayMs = 500;               // doubled for each further retry
    int retryDelayCapMs = 5'000;               // no wait is longer, whatever Retry-After asks
    int maxInFlight = 2;                       // requests running at once, per source
    int spacingMs = -1; // least time between two starts; -1: the service's own
};

// The base address in an environment variable, else the configured one
// (from the settings), else the public one.
QUrl serviceAddress(const char* variable, const char* publicAddress,
                    const QString& configured = {});

// Why a request must not go to this address ("" when it may): only HTTPS,
// or plain HTTP to this machine's loopback address.
QString refusedAddress(const QUrl& address);

// How long to wait before retry number `retry` (0 for the first): what the
// server's Retry-After asks (seconds or an HTTP date), else a doubling
// back-off, never more than the cap.
int retryDelayMs(const QByteArray& retryAfter, int retry, const NetworkLimits& limits);

// The least time between two starts of requests to a service: the one the
// limits give, else the service's own polite spacing, none for a server on
// this machine (a stand-in or a local mirror).
int spacingFor(const NetworkLimits& limits, const QUrl& address, int serviceSpacingMs);

// Identifies the program to the services, as their usage policies ask.
QByteArray lookupUserAgent();
