#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

// Small pictures of the covers for the cover view. A thumbnail that is not
// yet at hand is read from the catalogue file and decoded on a worker
// thread (each job with its own read-only connection), so the window never
// waits for an image; the finished ones are kept in a cache of bounded size.
class CoverThumbnails : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 200LL * 1024 * 1024;

    CoverThumbnails(QSize size, QObject* parent = nullptr);
    ~CoverThumbnails() override;

    // The catalogue file the jobs read; forgets every thumbnail.
    void setCatalogueFile(const QString& file);
    const QString& catalogueFile() const { return m_file; }
    // The ids that have a cover; others are never asked for.
    void setCoveredIds(QSet<qint64> ids);
    bool hasCover(qint64 id) const { return m_covered.contains(id); }
    // A cover was stored or removed: drop what is kept of it.
    void coverChanged(qint64 id, bool hasCover);

    // The thumbnail when it is at hand; otherwise a null pixmap, and a job
    // is started unless one is already running. A finished thumbnail is
    // made a pixmap once, so painting it again costs no conversion.
    QPixmap thumbnail(qint64 id);
    QSize size() const { return m_size; }
    // Waits for every running job (tests and benchmarks).
    void waitForJobs();

Q_SIGNALS:
    void thumbnailReady(qint64 id);

private:
    void deliver(qint64 id, QImage image, quint64 generation);

    QSize m_size;
    QString m_file;
    QSet<qint64> m_covered;
    QSet<qint64> m_pending;
    QCache<qint64, QPixmap> m_cache;
    QThreadPool m_pool;
    // Bumped whenever the file or a cover changes, so late results of older
    // jobs are dropped.
    quint64 m_generation = 0;
};
