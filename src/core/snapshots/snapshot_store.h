#pragma once

#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/salvage.h"
#include "core/snapshots/snapshot_database.h"
#include "core/snapshots/snapshot_name.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Catalogue;
class QTemporaryFile;

// One complete snapshot in the folder.
struct Snapshot {
    QString path;
    SnapshotName name;
    qint64 movies = 0; // counted in the snapshot itself
};

// The snapshots of one catalogue file: copies of the whole catalogue in the
// folder "backups" beside it, named after the catalogue ("films-<time>.mdb"
// for films.mdb), made with SQLite's online backup, each written under a
// temporary name and renamed only when complete and on the disk. Snapshots
// are read without a lock and without making any file beside them.
class SnapshotStore {
public:
    using Clock = std::function<QDateTime()>;
    // Whether a restore may go on when the snapshot of the current contents fails.
    enum class SafetySnapshot { Required, IfPossible };
    // Whether a restore may bring in triggers and views the program did not make.
    enum class ForeignObjects { Refuse, Allow };

    // `clock` gives the local time (the real one when empty).
    explicit SnapshotStore(const QString& catalogueFile, Clock clock = {});

    const QString& catalogueFile() const { return m_catalogueFile; }
    const QString& folder() const { return m_folder; }
    // The first part of the snapshots' names ("dbDVD").
    const QString& stem() const { return m_stem; }

    // Snapshots the open `catalogue` (no transaction may be open on it),
    // then prunes; returns the new snapshot's path. Throws SnapshotFailure
    // (NotMade when the folder cannot take it).
    QString make(Catalogue& catalogue, SnapshotReason reason) const;
    // The same, opening the catalogue file itself.
    QString make(SnapshotReason reason) const;

    // Every complete, readable snapshot of this catalogue, newest first as
    // the program saw them (see sortAsSeen); unfinished and unreadable files
    // and other catalogues' snapshots are left out.
    QList<Snapshot> list() const;
    // The names of the snapshots dated after now (made while the clock was wrong).
    QStringList futureDated() const;
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

    // Puts the contents of `snapshotFile` into the open `catalogue` in one
    // transaction, after checking the snapshot fully and
    // snapshotting the current contents. The catalogue keeps its journal
    // mode. Returns that snapshot's path ("" when it could not be made and
    // `safety` allowed going on). Throws SnapshotFailure: Damaged for a bad
    // snapshot, NotMade when the safety snapshot is required and failed,
    // Foreign for a snapshot with triggers or views the program did not make
    // (unless allowed), Failed for the catalogue itself; the catalogue is
    // unchanged then.
    QString restore(const QString& snapshotFile, Catalogue& catalogue,
                    SafetySnapshot safety = SafetySnapshot::Required,
                    ForeignObjects foreign = ForeignObjects::Refuse) const;
    // The same, opening the catalogue file itself. A catalogue so damaged
    // that SQLite cannot open it is replaced as a file instead: the damaged
    // file is kept in the folder as "damaged-<stem>-<time>.mdb" (returned in
    // place of the safety snapshot), then the snapshot's copy takes its
    // place (the target's, when the catalogue is a symbolic link).
    QString restore(const QString& snapshotFile, SafetySnapshot safety = SafetySnapshot::Required,
                    ForeignObjects foreign = ForeignObjects::Refuse) const;

    // Keeps the damaged, open `catalogue` in the folder as
    // "damaged-<stem>-<time>.mdb", then replaces the catalogue's contents
    // with every row that can still be read from it (see salvageRows), in
    // one step. Throws SnapshotFailure, the catalogue unchanged, when the
    // damaged file cannot be kept or the salvaged rows cannot be written.
    SalvageResult salvage(Catalogue& catalogue) const;
    // The same, opening the catalogue file itself; a file SQLite cannot open
    // is replaced as a file, as by restore.
    SalvageResult salvage() const;
    // What a salvage would recover, changing nothing.
    SalvageResult salvageable() const;

private:
    QList<SnapshotName> names() const;
    void prepareFolder() const;
    // An empty, unfinished snapshot file in the folder, removed again when
    // it goes out of scope unless it was renamed.
    std::unique_ptr<QTemporaryFile> unfinishedFile(const QString& what) const;
    // The open catalogue's database; fails when it is closed.
    static SqliteDatabase& databaseOf(Catalogue& catalogue);
    QString make(SqliteDatabase& catalogue, SnapshotReason reason) const;
    QString restore(const QString& snapshotFile, SqliteDatabase& catalogue, SafetySnapshot safety,
                    ForeignObjects foreign) const;
    SalvageResult salvage(SqliteDatabase& catalogue) const;
    // Writes a snapshot without pruning; returns its path.
    QString write(const SqliteDatabase& catalogue, SnapshotReason reason) const;
    QString claimName(const QString& tempFile, SnapshotName name) const;
    QString replaceDamagedCatalogue(const QString& snapshotFile, SafetySnapshot safety) const;
    // The catalogue file open for writing with full sync, as the program's own
    // connection has it; empty when SQLite cannot open it at all (Damaged).
    std::optional<SqliteDatabase> openCatalogueForWriting() const;
    // "damaged-<stem>-<time>.mdb" in the folder.
    QString damagedCopyPath() const;
    // Copies the catalogue file (and a journal beside it) there; throws
    // SnapshotFailure (NotMade) when it cannot.
    QString keepDamagedCopy() const;
    // Has `writeNewFile` fill an empty file beside the catalogue's own file
    // (the one a symbolic link points to), gives it the catalogue's
    // permissions and puts it in its place in one step. `what` leads a failure.
    void replaceCatalogueFile(const std::function<void(const QString&)>& writeNewFile,
                              const QString& what) const;

    QString m_catalogueFile;
    QString m_folder;
    QString m_stem;
    Clock m_clock;
};
