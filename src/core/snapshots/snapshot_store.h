#pragma once

#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/snapshot_name.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryFile;
struct sqlite3;

// One complete snapshot in the folder.
struct Snapshot {
    QString path;
    SnapshotName name;
    qint64 movies = 0; // counted in the snapshot itself
};

// The snapshots of one catalogue file: copies of the whole catalogue in the
// folder "backups" beside it, made with SQLite's online backup, each written
// under a temporary name and renamed only when complete and on the disk.
class SnapshotStore {
public:
    using Clock = std::function<QDateTime()>;
    // Whether a restore may go on when the snapshot of the current contents fails.
    enum class SafetySnapshot { Required, IfPossible };

    // `clock` gives the local time (the real one when empty).
    explicit SnapshotStore(const QString& catalogueFile, Clock clock = {});

    const QString& catalogueFile() const { return m_catalogueFile; }
    const QString& folder() const { return m_folder; }

    // Snapshots the catalogue open on `catalogue` (no transaction may be
    // open on it), then prunes; returns the new snapshot's path. Throws
    // SnapshotFailure (NotMade when the folder cannot take it).
    QString make(sqlite3* catalogue, SnapshotReason reason) const;
    // The same, opening the catalogue file itself.
    QString make(SnapshotReason reason) const;

    // Every complete, readable snapshot, newest first; unfinished and
    // unreadable files are left out.
    QList<Snapshot> list() const;
    // The newest snapshot that passes the quick check.
    std::optional<Snapshot> newestSound() const;

    // Deletes the snapshots the retention rule lets go (see retention.h)
    // and unfinished ones older than an hour; returns the deleted paths.
    QStringList prune(const QDateTime& lastChange) const;
    QStringList prune() const { return prune(lastChange()); }

    // The catalogue file's last change: its modification time.
    QDateTime lastChange() const;
    // Whether the day's snapshot is due: no snapshot is from today, and
    // the catalogue changed since the newest one (or there is none yet).
    bool dailyDue() const;

    // Puts the contents of `snapshotFile` into the catalogue open on
    // `catalogue` in one transaction, after checking the snapshot fully and
    // snapshotting the current contents. Returns that snapshot's path ("" when
    // it could not be made and `safety` allowed going on). Throws
    // SnapshotFailure: Damaged for a bad snapshot, NotMade when the safety
    // snapshot is required and failed; the catalogue is unchanged then.
    QString restore(const QString& snapshotFile, sqlite3* catalogue,
                    SafetySnapshot safety = SafetySnapshot::Required) const;
    // The same, opening the catalogue file itself. A catalogue so damaged
    // that SQLite cannot open it is replaced as a file instead: the damaged
    // file is kept in the folder as "damaged-dbDVD-<time>.mdb" (returned in
    // place of the safety snapshot), then the snapshot's copy takes its name.
    QString restore(const QString& snapshotFile,
                    SafetySnapshot safety = SafetySnapshot::Required) const;

private:
    QList<SnapshotName> names() const;
    void prepareFolder() const;
    // An empty, unfinished snapshot file in the folder, removed again when
    // it goes out of scope unless it was renamed.
    std::unique_ptr<QTemporaryFile> unfinishedFile(const QString& what) const;
    // Writes a snapshot without pruning; returns its path.
    QString write(sqlite3* catalogue, SnapshotReason reason) const;
    QString claimName(const QString& tempFile, SnapshotName name) const;
    QString replaceDamagedCatalogue(const QString& snapshotFile, SafetySnapshot safety) const;

    QString m_catalogueFile;
    QString m_folder;
    Clock m_clock;
};
