#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <utility>

class QTcpServer;
class QTcpSocket;

// One answer of the stand-in server.
struct StandInResponse {
    int status = 200;
    QByteArray contentType = "application/json; charset=utf-8";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    bool neverAnswer = false; // keeps the connection open and silent

    static StandInResponse file(const QString& path); // a recorded answer
};

// What the stand-in server was asked.
struct StandInRequest {
    QString path;
    QString query;                         // fully decoded
    QHash<QByteArray, QByteArray> headers; // names in lower case
    qint64 receivedAtMs = 0;               // QDateTime::currentMSecsSinceEpoch()
};

// A small HTTP/1.1 server on 127.0.0.1 standing in for a web service:
// answers GET requests from routes (a path and a part of the decoded
// query), recorded answers or injected faults, and keeps every request.
class StandInHttpServer : public QObject {
    Q_OBJECT
public:
    StandInHttpServer();
    ~StandInHttpServer() override;

    QUrl address(const QString& path) const;
    // Requests to `path` whose decoded query contains `queryPart` get the
    // responses in turn, the last one again and again. The first matching
    // route answers; no route is a 404.
    void route(const QString& path, const QString& queryPart, QList<StandInResponse> responses);
    const QList<StandInRequest>& requests() const { return m_requests; }

private:
    struct Route {
        QString path;
        QString queryPart;
        QList<StandInResponse> responses;
    };

    void readFrom(QTcpSocket* socket);
    StandInResponse answerTo(const StandInRequest& request);

    QTcpServer* m_server;
    QList<Route> m_routes;
    QList<StandInRequest> m_requests;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

// An empty response cache for the sources made while it lives, so that no
// answer kept by one test is taken by another.
class ScratchLookupCache {
public:
    ScratchLookupCache() : m_before(qgetenv("REELKEEPER_LOOKUP_CACHE")) {
        qputenv("REELKEEPER_LOOKUP_CACHE", m_folder.path().toUtf8());
    }
    ~ScratchLookupCache() { qputenv("REELKEEPER_LOOKUP_CACHE", m_before); }
    QString folder() const { return m_folder.path(); }
    ScratchLookupCache(const ScratchLookupCache&) = delete;
    ScratchLookupCache& operator=(const ScratchLookupCache&) = delete;

private:
    QByteArray m_before;
    QTemporaryDir m_folder;
};

// Points the Wikidata source at a stand-in server, with an empty response
// cache, while it lives.
class WikidataAtStandIn {
public:
    explicit WikidataAtStandIn(const StandInHttpServer& server) {
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", server.address("/sparql").toEncoded());
        qputenv("REELKEEPER_WIKIDATA_API_URL", server.address("/w/api.php").toEncoded());
    }
    ~WikidataAtStandIn() {
        qunsetenv("REELKEEPER_WIKIDATA_SPARQL_URL");
        qunsetenv("REELKEEPER_WIKIDATA_API_URL");
    }
    WikidataAtStandIn(const WikidataAtStandIn&) = delete;
    WikidataAtStandIn& operator=(const WikidataAtStandIn&) = delete;

private:
    ScratchLookupCache m_cache;
};
