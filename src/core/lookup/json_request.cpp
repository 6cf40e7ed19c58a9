#include "core/lookup/json_request.h"

#include "core/lookup/lookup_reply.h"

#include <QFutureWatcher>
#include <QJsonParseError>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QThreadPool>

namespace {

const QString kTimedOut = QStringLiteral("no answer within %1 seconds");
const QString kTooLarge = QStringLiteral("the answer is larger than %1 MB");
const QString kWebPage = QStringLiteral("the server sent a web page instead of data");
const QString kBadJson = QStringLiteral("the answer is not valid JSON (%1)");
const QString kNotFound = QStringLiteral("nothing found at %1 (HTTP 404)");
const QString kTooManyRequests = QStringLiteral("too many requests; try again later (HTTP 429)");
const QString kUnavailable = QStringLiteral("the service is unavailable (HTTP %1)");
const QString kHttpStatus = QStringLiteral("the server answered HTTP %1");
const QString kHostNotFound =
    QStringLiteral("cannot find the server %1 (is the computer offline?)");
const QString kCannotConnect = QStringLiteral("cannot connect to %1");
const QString kInsecure = QStringLiteral("the secure connection to %1 failed: %2");
const QString kNetwork = QStringLiteral("the request to %1 failed: %2");

bool retryable(int status) {
    return status == 429 || (status >= 500 && status <= 599);
}

QString statusFailure(int status, const QUrl& address) {
    if (status == 404) {
        return kNotFound.arg(address.toDisplayString(QUrl::RemoveQuery));
    }
    if (status == 429) {
        return kTooManyRequests;
    }
    if (status >= 500) {
        return kUnavailable.arg(status);
    }
    return kHttpStatus.arg(status);
}

// Whether a request failed for want of a network rather than because of the
// service: then an old answer is better than none.
bool unreachable(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}

bool looksLikeWebPage(const QNetworkReply& reply, const QByteArray& body) {
    const QString type = reply.header(QNetworkRequest::ContentTypeHeader).toString();
    return type.contains(QLatin1String("html"), Qt::CaseInsensitive) ||
           body.trimmed().startsWith('<');
}

} // namespace

void JsonRequest::start(QNetworkAccessManager& network, const NetworkLimits& limits,
                        const QUrl& address, LookupReply* lookup, Handler handler, Extras extras) {
    if (const QString refused = refusedAddress(address); !refused.isEmpty()) {
        lookup->fail(refused);
        return;
    }
    std::optional<ResponseCache::Entry> fresh;
    QString key;
    if (extras.cache) {
        key = ResponseCache::keyOf(address, extras.secret);
        fresh = extras.cache->find(key, ResponseCache::Age::FreshOnly);
    }
    if (fresh && extras.body) { // an image kept whole: no need to parse it
        lookup->noteCached(fresh->storedAt, false);
        extras.body(fresh->body);
        return;
    }
    auto* request =
        new JsonRequest(network, limits, address, lookup, std::move(handler), std::move(extras));
    request->m_cacheKey = key;
    if (fresh) {
        request->answerFromCache(*fresh, false, [request] { request->queue(); });
    } else {
        request->queue();
    }
}

void JsonRequest::parseAway(QByteArray body, std::function<void(Handled&)> then) {
    auto promise = std::make_shared<QPromise<Handled>>();
    auto* watcher = new QFutureWatcher<Handled>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, then = std::move(then)] {
        watcher->deleteLater();
        if (m_lookup->isFinished()) { // aborted meanwhile
            deleteLater();
            return;
        }
        Handled handled = watcher->result();
        then(handled);
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, body = std::move(body), handler = m_handler] {
        promise->start();
        Handled handled;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(body, &error);
        if (error.error != QJsonParseError::NoError) {
            handled.parseError = error.errorString();
        } else {
            try {
                handled.finish = handler(document);
            } catch (const LookupFailure& failure) {
                handled.failure = failure;
            }
        }
        promise->addResult(std::move(handled));
        promise->finish();
    });
}

void JsonRequest::answerFromCache(const ResponseCache::Entry& entry, bool offline,
                                  std::function<void()> otherwise) {
    parseAway(entry.body, [this, storedAt = entry.storedAt, offline,
                           otherwise = std::move(otherwise)](Handled& handled) {
        if (!handled.parseError.isEmpty()) {
            return otherwise();
        }
        m_lookup->noteCached(storedAt, offline);
        answer(handled, {});
    });
}

void JsonRequest::answer(Handled& handled, const QByteArray& body) {
    try {
        if (handled.failure) {
            throw *handled.failure;
        }
        if (handled.finish) {
            handled.finish();
        }
        if (m_extras.cache && !body.isEmpty()) {
            m_extras.cache->store(m_cacheKey, body);
        }
    } catch (const LookupFailure& failure) {
        m_lookup->fail(failure);
    }
    deleteLater();
}

JsonRequest::JsonRequest(QNetworkAccessManager& network, const NetworkLimits& limits, QUrl address,
                         LookupReply* lookup, Handler handler, Extras extras)
    : QObject(lookup), m_network(network), m_limits(limits), m_address(std::move(address)),
      m_lookup(lookup), m_handler(std::move(handler)), m_extras(std::move(extras)) {
    m_deadline.setSingleShot(true);
    m_retryTimer.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        m_stopReason = kTimedOut.arg(m_limits.timeoutMs / 1000.0);
        stop();
    });
    connect(&m_retryTimer, &QTimer::timeout, this, &JsonRequest::queue);
    connect(lookup, &LookupReply::aborting, this, [this] {
        m_retryTimer.stop();
        leaveGate();
        stop();
    });
}

JsonRequest::~JsonRequest() {
    leaveGate();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void JsonRequest::queue() {
    if (m_extras.gate) {
        m_extras.gate->enter(this, [this] { send(); });
    } else {
        send();
    }
}

void JsonRequest::leaveGate() {
    if (m_extras.gate) {
        m_extras.gate->leave(this);
    }
}

void JsonRequest::send() {
    QNetworkRequest request(m_address);
    request.setHeader(QNetworkRequest::UserAgentHeader, lookupUserAgent());
    request.setRawHeader("Accept", "application/sparql-results+json, application/json");
    for (const auto& [name, value] : std::as_const(m_extras.headers)) {
        request.setRawHeader(name, value);
    }
    // Every redirect is checked against the same rules as the first address.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& target) {
        if (const QString refused = refusedAddress(target); refused.isEmpty()) {
            emit m_reply->redirectAllowed();
        } else {
            m_stopReason = refused;
            stop();
        }
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 got, qint64 total) {
        if (got > m_limits.maxBytes || total > m_limits.maxBytes) {
            m_stopReason = kTooLarge.arg(m_limits.maxBytes / (qint64(1024) * 1024));
            stop();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &JsonRequest::received);
    m_deadline.start(m_limits.timeoutMs);
}

void JsonRequest::stop() {
    if (m_reply) {
        m_reply->abort(); // finished() follows, and received() reports m_stopReason
    } else if (!m_stopReason.isEmpty()) {
        finish(m_stopReason);
    }
}

void JsonRequest::received() {
    m_deadline.stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    leaveGate();
    if ((m_timedOut || unreachable(reply->error())) && m_extras.cache) {
        if (const auto entry = m_extras.cache->find(m_cacheKey, ResponseCache::Age::Any)) {
            const QString failure = m_stopReason.isEmpty() ? networkFailure(*reply) : m_stopReason;
            return answerFromCache(*entry, true, [this, failure] { finish(failure); });
        }
    }
    if (!m_stopReason.isEmpty()) {
        return finish(m_stopReason);
    }

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0 && (status < 200 || status > 299)) {
        if (retryable(status) && m_retry < m_limits.retries) {
            m_retryTimer.start(retryDelayMs(reply->rawHeader("Retry-After"), m_retry, m_limits));
            ++m_retry;
            return;
        }
        return finish(m_extras.statusFailures.value(status, statusFailure(status, m_address)));
    }
    if (reply->error() != QNetworkReply::NoError) {
        return finish(networkFailure(*reply));
    }
    const QByteArray body = reply->readAll();
    if (m_extras.body) {
        m_extras.body(body);
        if (m_extras.cache && !m_lookup->failure()) {
            m_extras.cache->store(m_cacheKey, body);
        }
        deleteLater();
        return;
    }
    if (looksLikeWebPage(*reply, body)) {
        return finish(kWebPage);
    }
    parseAway(body, [this, body](Handled& handled) {
        if (!handled.parseError.isEmpty()) {
            return finish(kBadJson.arg(handled.parseError));
        }
        answer(handled, body);
    });
}

QString JsonRequest::networkFailure(const QNetworkReply& reply) const {
    const QString host = m_address.host();
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
        return kHostNotFound.arg(host);
    case QNetworkReply::ConnectionRefusedError:
        return kCannotConnect.arg(host);
    case QNetworkReply::SslHandshakeFailedError:
        return kInsecure.arg(host, reply.errorString());
    default:
        return kNetwork.arg(host, reply.errorString());
    }
}

void JsonRequest::finish(QString failure) {
    if (!m_extras.secret.isEmpty()) {
        failure.replace(m_extras.secret, QStringLiteral("…"));
    }
    m_lookup->fail(failure);
    deleteLater();
}
