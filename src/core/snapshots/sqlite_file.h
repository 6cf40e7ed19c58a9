#pragma once

#include "core/snapshots/snapshot_failure.h"

#include <QString>

struct sqlite3;

// How long an open, a copy or a read waits for another program's lock: the
// same wait as the program's own catalogue connection.
inline constexpr int kSnapshotBusyTimeoutMs = 3000;

// One SQLite database file, open for the length of a scope. Never creates a
// file: a snapshot's temporary file is made empty beforehand.
class SqliteFile {
public:
    // Immutable: read-only for a file nobody changes (a finished snapshot):
    // no lock is taken and no file is made beside it, not even for a file
    // flagged for write-ahead logging, so a read-only folder reads too.
    enum class Access { ReadOnly, ReadWrite, Immutable };

    // Throws SnapshotFailure (Damaged when the file is no database).
    SqliteFile(const QString& path, Access access);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return m_db; }
    // Closes now (before the file is synced or renamed); throws when SQLite
    // reports a failure on the way.
    void close();

private:
    sqlite3* m_db = nullptr;
};

// The first column of every row a statement returns; throws SnapshotFailure.
QStringList firstColumn(sqlite3* db, const char* statement);

// The number of movies in a catalogue; throws SnapshotFailure.
qint64 movieCount(sqlite3* db);

// A plain description of why SQLite failed with `code` on `db` ("the disk is
// full", "another program is using the file", ...).
QString describeFailure(sqlite3* db, int code);
// The kind of trouble behind an SQLite result code.
SnapshotFailure::Kind failureKind(int code);

// Copies every page of the database open on `from` into the one open on `to`
// with SQLite's online backup: one read transaction on `from`, one write
// transaction on `to`, so `to` holds either its old or all the new contents.
// Waits up to kSnapshotBusyTimeoutMs for another program's lock. Throws
// SnapshotFailure with `what` ("Could not write the snapshot") in front.
void copyDatabase(sqlite3* from, sqlite3* to, const QString& what);

// The journal mode of the database open on `db` ("delete", "wal", ...).
QString journalMode(sqlite3* db);
// Puts the database open on `db` back into `mode` when a copy changed it
// (a copy takes the source's write-ahead-log flag along). Throws SnapshotFailure.
void keepJournalMode(sqlite3* db, const QString& mode);

// Copies the database open on `from` into `emptyFile`, a file nobody else
// uses yet: written without a journal, flagged for the rollback journal
// whatever the source uses, and forced onto the disk once, at the end.
void copyToNewFile(sqlite3* from, const QString& emptyFile, const QString& what);
