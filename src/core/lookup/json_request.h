#pragma once

#include "core/lookup/lookup_types.h"
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
#include <optional>
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
//
// The handler runs on the thread pool, beside the parse, so that turning
// thousands of films into candidates never holds up the caller's thread: it
// must touch none of the caller's objects (it may carry the reply's
// address, but not use it). What it returns then runs on the caller's
// thread, while the reply still lives, to finish the lookup with what the
// handler made.
class JsonRequest : public QObject {
    Q_OBJECT
public:
    using Finish = std::function<void()>;
    using Handler = std::function<Finish(const QJsonDocument&)>;
    // What a source adds to its requests: headers (credentials), its own
    // words for some HTTP statuses, and a secret no failure may repeat.
    struct Extras {
        QList<std::pair<QByteArray, QByteArray>> headers;
        QHash<int, QString> statusFailures;
        QString secret;
        std::shared_ptr<ResponseCache> cache; // none: every answer is asked for
        QPointer<RequestGate> gate;           // none: the request starts at once
        // Set for an answer that is no JSON (an image): its bytes go here as
        // they came, and the handler is not called. They are kept in the
        // cache unless this fails the lookup.
        std::function<void(const QByteArray&)> body;
    };

    static void start(QNetworkAccessManager& network, const NetworkLimits& limits,
                      const QUrl& address, LookupReply* lookup, Handler handler,
                      Extras extras = {});
    ~JsonRequest() override;

private:
    JsonRequest(QNetworkAccessManager& network, const NetworkLimits& limits, QUrl address,
                LookupReply* lookup, Handler handler, Extras extras);

    // What the thread pool made of a body: why it is no JSON, else the
    // handler's failure, else what finishes the lookup.
    struct Handled {
        QString parseError;
        std::optional<LookupFailure> failure;
        Finish finish;
    };
    // Parses a body and hands the document to the handler, both on the
    // thread pool, so that a large answer never holds up the caller's
    // thread; then calls `then` on this object's thread. Nothing is called
    // once this request is gone.
    void parseAway(QByteArray body, std::function<void(Handled&)> then);
    // Answers from a cached entry; when the entry is no JSON, `otherwise` runs.
    void answerFromCache(const ResponseCache::Entry& entry, bool offline,
                         std::function<void()> otherwise);
    // Finishes the lookup with what the handler made, keeping `body` (none
    // for an answer from the cache) in the cache when it was good.
    void answer(Handled& handled, const QByteArray& body);
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
