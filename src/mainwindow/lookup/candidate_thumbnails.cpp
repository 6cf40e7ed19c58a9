#include "mainwindow/lookup/candidate_thumbnails.h"

#include "core/lookup/poster_request.h"

#include <QIcon>
#include <QPixmap>
#include <QTreeWidget>

namespace {

// A thumbnail's place in a row, about a third of the list's smallest
// poster width.
const QSize kThumbnailSize(28, 42);
// Downloads at once; the others wait, so that a long list never opens
// hundreds of connections or reads the whole cache in one go.
constexpr int kAtOnce = 4;
constexpr int kThumbnailColumn = 0;

QPixmap blank() {
    QPixmap pixmap(kThumbnailSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

CandidateThumbnails::CandidateThumbnails(QTreeWidget& list, QNetworkAccessManager& network,
                                         QObject* parent)
    : QObject(parent), m_list(list), m_network(network), m_downloads(new QObject(this)) {}

void CandidateThumbnails::setSource(const QString& source, std::shared_ptr<ResponseCache> cache) {
    m_source = source;
    m_cache = std::move(cache);
}

void CandidateThumbnails::add(int row, const QUrl& address) {
    QTreeWidgetItem* item = m_list.topLevelItem(row);
    if (item == nullptr || address.isEmpty()) {
        return;
    }
    // The rows keep one height, the thumbnail's, from the first one on.
    m_list.setIconSize(kThumbnailSize);
    item->setIcon(kThumbnailColumn, QIcon(blank()));
    m_waiting.append({row, address});
    startMore();
}

void CandidateThumbnails::clear() {
    delete m_downloads; // and with them their requests
    m_downloads = new QObject(this);
    m_waiting.clear();
    m_running = 0;
}

void CandidateThumbnails::startMore() {
    while (m_running < kAtOnce && !m_waiting.isEmpty()) {
        const Waiting next = m_waiting.takeFirst();
        ++m_running;
        PosterReply* reply = PosterRequest::get(m_network, NetworkLimits{}, next.address, m_source,
                                                m_downloads, m_cache);
        connect(reply, &LookupReply::finished, this, [this, reply, row = next.row] {
            reply->deleteLater();
            --m_running;
            show(row, *reply);
            startMore();
        });
    }
}

void CandidateThumbnails::show(int row, const PosterReply& reply) {
    QTreeWidgetItem* item = m_list.topLevelItem(row);
    QPixmap picture;
    if (item == nullptr || reply.failure() || !picture.loadFromData(reply.bytes())) {
        return;
    }
    item->setIcon(kThumbnailColumn, QIcon(picture.scaled(kThumbnailSize, Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation)));
}
