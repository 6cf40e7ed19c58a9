#pragma once

#include "core/lookup/network_rules.h"
#include "core/lookup/request_gate.h"
#include "core/lookup/response_cache.h"

#include <QHash>
#include <QJsonDocument>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

class LookupReply;
class QNetworkAccessManager;
class QNetworkReply;

// One GET for a JSON document on behalf of a lookup, under the network
// rules: the address checked, the program named, a deadline, a size limit,
// retries after 429 and 5xx, its turn at the source's gate. A fresh answer
// in the cache is taken without a request; an answer of any age when the
// service cannot be reached; a good answer is kept. It lives as a child of the lookup's reply and
// ends with it. What goes wrong fails that reply with a message naming the
// source; a good document goes to the handler, which may throw
// LookupFailure when the document is not what it should be.
class JsonRequest : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QJsonDocument&)>;
    // What a source adds to its requests: headers (credentials), its own
    // words for some HTTP statuses, and a secret no failure may repeat.
    struct Extras {
        QList<std::pair<QByteArray, QByteArray>> headers;
        QHash<int, QString> statusFailures;
        QString secret;
        std::shared_ptr<ResponseCache> cache; // none: every answer is asked for
        QPointer<RequestGate> gate;           // none: the request starts at once
        // Set for an answer that is no JSON (an image): its bytes go here as
        // they came, and the handler is not called.
        std::function<void(const QByteArray&)> body;
    };

    static void start(QNetworkAccessManager& network, const NetworkLimits& limits,
                      const QUrl& address, LookupReply* lookup, Handler handler,
                      Extras extras = {});
    ~JsonRequest() override;

private:
    JsonRequest(QNetworkAccessManager& network, const NetworkLimits& limits, QUrl address,
                LookupReply* lookup, Handler handler, Extras extras);

    // Parses a document on the thread pool, so that a large answer never
    // holds up the caller's thread, then calls `then` on this object's
    // thread with the document, or with why it is no JSON. Nothing is
    // called once this request is gone.
    using Parsed = std::function<void(const QJsonDocument& document, const QString& error)>;
    void parseAway(QByteArray body, Parsed then);
    // Answers from a cached entry; when the entry is no JSON, `otherwise` runs.
    void answerFromCache(const ResponseCache::Entry& entry, bool offline,
                         std::function<void()> otherwise);
    // Hands a parsed answer to the handler and keeps it in the cache.
    void answer(const QJsonDocument& document, const QByteArray& body);
    void queue();
    void send();
    void leaveGate();
    void received();
    void finish(QString failure);
    QString networkFailure(const QNetworkReply& reply) const;
    void stop();

    QNetworkAccessManager& m_network;
    NetworkLimits m_limits;
    QUrl m_address;
    LookupReply* m_lookup;
    Handler m_handler;
    Extras m_extras;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QTimer m_retryTimer;
    int m_retry = 0;
    QString m_stopReason;
    bool m_timedOut = false;
    QString m_cacheKey;
};
