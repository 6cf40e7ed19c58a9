#include "core/snapshots/snapshot_store.h"

#include "core/catalogue/catalogue.h"
#include "core/snapshots/durable_file.h"
#include "core/snapshots/retention.h"
#include "core/system/write_guard.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>

namespace {

// An unfinished snapshot this old is left over from a program that was stopped.
constexpr qint64 kAbandonedAfterSecs = 3600;
constexpr int kMostInOneSecond = 9999;

const QString kUnfinishedPattern = QStringLiteral(".dbDVD-*.partial");

QDateTime wholeSeconds(const QDateTime& time) {
    return time.addMSecs(-time.time().msec());
}

} // namespace

SnapshotStore::SnapshotStore(const QString& catalogueFile, Clock clock)
    : m_catalogueFile(catalogueFile),
      m_folder(QFileInfo(catalogueFile).absolutePath() + QStringLiteral("/backups")),
      m_stem(snapshotStem(catalogueFile)),
      m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); })) {}

QList<SnapshotName> SnapshotStore::names() const {
    QList<SnapshotName> found;
    const QStringList files = QDir(m_folder).entryList({QStringLiteral("*.mdb")}, QDir::Files);
    for (const QString& file : files) {
        if (const std::optional<SnapshotName> name = SnapshotName::parse(file, m_stem)) {
            found << *name;
        }
    }
    sortAsSeen(found, m_clock());
    return found;
}

QStringList SnapshotStore::futureDated() const {
    const QDateTime now = m_clock();
    QStringList future;
    for (const SnapshotName& name : names()) {
        if (name.taken > now) {
            future << name.fileName();
        }
    }
    return future;
}

QString SnapshotStore::damagedCopyPath() const {
    return m_folder + QStringLiteral("/damaged-") +
           SnapshotName{wholeSeconds(m_clock()), 1, {}, m_stem}.fileName();
}

void SnapshotStore::prepareFolder() const {
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir()) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::NotMade,
            QStringLiteral("Could not make a snapshot: %1 is a file, not a folder.").arg(m_folder));
    }
    if (!info.exists() && !QDir().mkpath(m_folder)) {
        throw SnapshotFailure(SnapshotFailure::Kind::NotMade,
                              QStringLiteral("Could not make a snapshot: the folder %1 cannot be "
                                             "created (%2).")
                                  .arg(m_folder, describeSystemError(errno)));
    }
}

std::unique_ptr<QTemporaryFile> SnapshotStore::unfinishedFile(const QString& what) const {
    auto temp =
        std::make_unique<QTemporaryFile>(m_folder + QStringLiteral("/.dbDVD-XXXXXX.partial"));
    if (!temp->open()) {
        throw SnapshotFailure(SnapshotFailure::Kind::NotMade, what + QStringLiteral(": ") +
                                                                  describeSystemError(errno) +
                                                                  QLatin1Char('.'));
    }
    temp->close(); // SQLite opens it by name
    return temp;
}

QString SnapshotStore::claimName(const QString& tempFile, SnapshotName name) const {
    // Later in its second than every snapshot already there, so that a
    // program's own snapshots keep their order; another program claiming
    // the same name at the same moment makes this one try the next.
    for (const SnapshotName& other : names()) {
        if (other.taken == name.taken) {
            name.sequence = std::max(name.sequence, other.sequence + 1);
        }
    }
    for (; name.sequence <= kMostInOneSecond; ++name.sequence) {
        QString path = m_folder + QLatin1Char('/') + name.fileName();
        if (renameWithoutReplacing(tempFile, path)) {
            return path;
        }
    }
    throw SnapshotFailure(SnapshotFailure::Kind::NotMade,
                          QStringLiteral("Could not make a snapshot: too many in one second."));
}

SqliteDatabase& SnapshotStore::databaseOf(Catalogue& catalogue) {
    SqliteDatabase& db = catalogue.connection().database();
    if (!db.isOpen()) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed,
                              QStringLiteral("The catalogue is not open."));
    }
    return db;
}

QString SnapshotStore::write(const SqliteDatabase& catalogue, SnapshotReason reason) const {
    if (catalogue.inTransaction()) {
        throw SnapshotFailure(
            SnapshotFailure::Kind::Failed,
            QStringLiteral("Could not make a snapshot while a change to the catalogue is open."));
    }
    prepareFolder();
    const SnapshotName name{wholeSeconds(m_clock()), 1, reason, m_stem};
    const QString what = QStringLiteral("Could not make a snapshot in %1").arg(m_folder);

    const std::unique_ptr<QTemporaryFile> temp = unfinishedFile(what);
    if (isSameFile(temp->fileName(), m_catalogueFile)) {
        throw SnapshotFailure(SnapshotFailure::Kind::NotMade,
                              what +
                                  QStringLiteral(": the snapshot file is the catalogue itself."));
    }
    try {
        copyToNewFile(catalogue, temp->fileName(), what);
    } catch (const SnapshotFailure& failure) {
        // Whatever stopped the copy, no snapshot was made.
        throw SnapshotFailure(failure.kind() == SnapshotFailure::Kind::Failed
                                  ? SnapshotFailure::Kind::NotMade
                                  : failure.kind(),
                              failure.description());
    }
    QString path = claimName(temp->fileName(), name);
    temp->setAutoRemove(false);
    syncToDisk(m_folder);
    return path;
}

QString SnapshotStore::make(SqliteDatabase& catalogue, SnapshotReason reason) const {
    QString path = write(catalogue, reason);
    prune();
    return path;
}

QString SnapshotStore::make(Catalogue& catalogue, SnapshotReason reason) const {
    return make(databaseOf(catalogue), reason);
}

QString SnapshotStore::make(SnapshotReason reason) const {
    SqliteDatabase catalogue =
        openSnapshotDatabase(m_catalogueFile, SqliteDatabase::Access::ReadWrite);
    return make(catalogue, reason);
}

QList<Snapshot> SnapshotStore::list() const {
    QList<Snapshot> snapshots;
    for (const SnapshotName& name : names()) {
        const QString path = m_folder + QLatin1Char('/') + name.fileName();
        try {
            const SqliteDatabase file =
                openSnapshotDatabase(path, SqliteDatabase::Access::Immutable);
            snapshots.append({path, name, movieCount(file)});
        } catch (const SnapshotFailure&) {
            // Damaged or vanished meanwhile: not offered.
        }
    }
    return snapshots;
}

std::optional<Snapshot> SnapshotStore::newestSound() const {
    for (const Snapshot& snapshot : list()) {
        try {
            const SqliteDatabase file =
                openSnapshotDatabase(snapshot.path, SqliteDatabase::Access::Immutable);
            if (checkCatalogue(file, CheckDepth::Quick).ok()) {
                return snapshot;
            }
        } catch (const SnapshotFailure&) {
            // vanished meanwhile
        }
    }
    return std::nullopt;
}

QStringList SnapshotStore::prune(const QDateTime& lastChange) const {
    const QDateTime now = m_clock();
    const QList<SnapshotName> all = names();
    const QList<bool> keep = snapshotsToKeep(all, now, lastChange);
    QStringList removed;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QString path = m_folder + QLatin1Char('/') + all.at(i).fileName();
        if (!keep.at(i) && QFile::remove(path)) {
            removed << path;
        }
    }
    const QFileInfoList unfinished =
        QDir(m_folder).entryInfoList({kUnfinishedPattern}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : unfinished) {
        if (file.lastModified().secsTo(now) > kAbandonedAfterSecs &&
            QFile::remove(file.filePath())) {
            removed << file.filePath();
        }
    }
    return removed;
}

QDateTime SnapshotStore::lastChange() const {
    return QFileInfo(m_catalogueFile).lastModified();
}

bool SnapshotStore::dailyDue() const {
    const QDateTime now = m_clock();
    const QList<SnapshotName> all = names();
    // One dated in the future says nothing about today (sortAsSeen puts those last).
    if (all.isEmpty() || all.front().taken > now) {
        return QFileInfo(m_catalogueFile).isFile();
    }
    const SnapshotName& newest = all.front();
    if (newest.taken.date() >= now.date()) {
        return false;
    }
    // The name's time is cut to the second, so a change in the same second
    // as the newest snapshot counts as a change: one snapshot too many
    // rather than one too few.
    return lastChange() >= newest.taken;
}
