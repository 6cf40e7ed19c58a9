#include "mainwindow/covers/cover_thumbnails.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_store.h"
#include "core/report/failure.h"
#include "coverimage/image_scaling.h"

#include <QPointer>

namespace {

// Reads and decodes one cover at the thumbnail's size; a null image when it
// cannot be read (the view then keeps its placeholder).
QImage loadThumbnail(const QString& file, qint64 id, QSize size) {
    try {
        Catalogue catalogue;
        catalogue.open(file, Catalogue::Access::ReadOnly);
        const std::optional<Cover> cover = CoverStore(catalogue).get(id);
        if (!cover) {
            return {};
        }
        return ImageScaling::decodeToFit(cover->bytes, size);
    } catch (const Failure&) {
        return {};
    }
}

} // namespace

CoverThumbnails::CoverThumbnails(QSize size, QObject* parent)
    : QObject(parent), m_size(size), m_cache(int(kCacheBytes / 1024)) {
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

CoverThumbnails::~CoverThumbnails() {
    m_pool.clear();
    m_pool.waitForDone();
}

void CoverThumbnails::setCatalogueFile(const QString& file) {
    m_file = file;
    m_cache.clear();
    m_pending.clear();
    ++m_generation;
}

void CoverThumbnails::setCoveredIds(QSet<qint64> ids) {
    m_covered = std::move(ids);
}

void CoverThumbnails::coverChanged(qint64 id, bool hasCover) {
    if (hasCover) {
        m_covered.insert(id);
    } else {
        m_covered.remove(id);
    }
    m_cache.remove(id);
    m_pending.remove(id);
    ++m_generation;
}

QPixmap CoverThumbnails::thumbnail(qint64 id) {
    if (const QPixmap* kept = m_cache.object(id)) {
        return *kept;
    }
    if (!m_covered.contains(id) || m_pending.contains(id) || m_file.isEmpty()) {
        return {};
    }
    m_pending.insert(id);
    QPointer<CoverThumbnails> self(this);
    const QString file = m_file;
    const QSize size = m_size;
    const quint64 generation = m_generation;
    m_pool.start([self, file, id, size, generation] {
        QImage image = loadThumbnail(file, id, size);
        QMetaObject::invokeMethod(
            self.data(),
            [self, id, image = std::move(image), generation]() mutable {
                if (self) {
                    self->deliver(id, std::move(image), generation);
                }
            },
            Qt::QueuedConnection);
    });
    return {};
}

void CoverThumbnails::deliver(qint64 id, QImage image, quint64 generation) {
    if (generation != m_generation) {
        // Something changed since the job started: ask again when next shown.
        m_pending.remove(id);
        Q_EMIT thumbnailReady(id);
        return;
    }
    m_pending.remove(id);
    if (image.isNull()) {
        m_covered.remove(id); // shown with the placeholder from now on
    } else {
        const int cost = std::max(1, int(image.sizeInBytes() / 1024));
        m_cache.insert(id, new QPixmap(QPixmap::fromImage(std::move(image))), cost);
    }
    Q_EMIT thumbnailReady(id);
}

void CoverThumbnails::waitForJobs() {
    m_pool.waitForDone();
}
