#pragma once

#include "core/lookup/network_rules.h"

#include <QHash>
#include <QJsonDocument>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <utility>

class LookupReply;
class QNetworkAccessManager;
class QNetworkReply;

// One GET for a JSON document on behalf of a lookup, under the network
// rules: the address checked, the program named, a deadline, a size limit,
// retries after 429 and 5xx. It lives as a child of the lookup's reply and
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

    void send();
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
};
