#pragma once

#include "core/lookup/response_cache.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QUrl>
#include <memory>

class PosterReply;
class QNetworkAccessManager;
class QTreeWidget;

// The small posters beside the films a lookup found. The list is shown
// first; the thumbnails are downloaded afterwards, a few at a time, each
// put beside its film when it comes. The downloads keep every rule of the
// lookups' requests (and no credential goes with them); one that fails
// leaves its place blank, and nobody is told. A list whose films have no
// thumbnail looks as it would without this.
class CandidateThumbnails : public QObject {
    Q_OBJECT
public:
    CandidateThumbnails(QTreeWidget& list, QNetworkAccessManager& network,
                        QObject* parent = nullptr);

    // Where the downloads are kept between lookups, and the name their
    // failures would start with.
    void setSource(const QString& source, std::shared_ptr<ResponseCache> cache);
    // Fetches the thumbnail at `address` for the film in `row` of the list,
    // keeping its place blank until then.
    void add(int row, const QUrl& address);
    // Drops every download, done or not: the list is filled again.
    void clear();
    // Whether a download runs or waits.
    bool isBusy() const { return m_running > 0 || !m_waiting.isEmpty(); }

private:
    struct Waiting {
        int row;
        QUrl address;
    };
    void startMore();
    void show(int row, const PosterReply& reply);

    QTreeWidget& m_list;
    QNetworkAccessManager& m_network;
    QString m_source;
    std::shared_ptr<ResponseCache> m_cache;
    QList<Waiting> m_waiting;
    int m_running = 0;
    QObject* m_downloads; // the running downloads' parent; replaced by clear()
};
