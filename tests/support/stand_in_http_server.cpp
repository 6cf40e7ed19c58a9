#include "support/stand_in_http_server.h"

#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <stdexcept>

StandInResponse StandInResponse::file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing fixture " + path.toStdString());
    StandInResponse response;
    response.body = file.readAll();
    return response;
}

StandInHttpServer::StandInHttpServer() : m_server(new QTcpServer(this)) {
    if (!m_server->listen(QHostAddress::LocalHost))
        throw std::runtime_error("the stand-in server cannot listen");
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_pending.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

StandInHttpServer::~StandInHttpServer() = default;

QUrl StandInHttpServer::address(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server->serverPort()).arg(path));
}

void StandInHttpServer::route(const QString& path, const QString& queryPart,
                              QList<StandInResponse> responses) {
    m_routes.append({path, queryPart, std::move(responses)});
}

void StandInHttpServer::readFrom(QTcpSocket* socket) {
    QByteArray& pending = m_pending[socket];
    pending += socket->readAll();
    // A TLS handshake (its first byte 0x16) to this plain HTTP server gets
    // what a web server answers to it: a plain 400.
    if (pending.startsWith('\x16')) {
        socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        pending.clear();
        return;
    }
    const qsizetype end = pending.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = pending.left(end).split('\n');
    pending.clear();

    StandInRequest request;
    const QUrl target(QString::fromLatin1(lines.first().split(' ').value(1)));
    request.path = target.path();
    // As web servers read a query string: '+' is a space.
    QString query = target.query(QUrl::FullyEncoded);
    query.replace(QLatin1Char('+'), QLatin1String("%20"));
    request.query = QUrlQuery(query).toString(QUrl::FullyDecoded);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    request.receivedAtMs = QDateTime::currentMSecsSinceEpoch();
    m_requests << request;

    const StandInResponse response = answerTo(request);
    if (response.neverAnswer)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Stand-in\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    for (const auto& [name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head + response.body);
    socket->disconnectFromHost();
}

StandInResponse StandInHttpServer::answerTo(const StandInRequest& request) {
    for (Route& route : m_routes) {
        if (route.path != request.path || !request.query.contains(route.queryPart))
            continue;
        if (route.responses.size() > 1)
            return route.responses.takeFirst();
        return route.responses.value(0);
    }
    StandInResponse missing;
    missing.status = 404;
    missing.contentType = "text/plain";
    missing.body = "no such page";
    return missing;
}
