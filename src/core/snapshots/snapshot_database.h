#pragma once

#include "core/snapshots/snapshot_failure.h"
#include "core/sqlite/sqlite_database.h"

#include <QString>
#include <QStringList>

// How long an open, a copy or a read waits for another program's lock: the
// same wait as the program's own catalogue connection.
inline constexpr int kSnapshotBusyTimeoutMs = SqliteDatabase::kBusyTimeoutMs;

// Opens a database file for the snapshots (never creating one: a snapshot's
// temporary file is made empty beforehand). Throws SnapshotFailure (Damaged
// when the file is no database).
SqliteDatabase openSnapshotDatabase(const QString& path, SqliteDatabase::Access access);
// Closes it now (before the file is synced or renamed); throws SnapshotFailure.
void closeSnapshotDatabase(SqliteDatabase& db);

// The first column of every row a statement returns; throws SnapshotFailure.
QStringList firstColumn(const SqliteDatabase& db, const char* statement);

// The number of movies in a catalogue; throws SnapshotFailure.
qint64 movieCount(const SqliteDatabase& db);

// A plain description of why SQLite failed ("the disk is full", "another
// program is using the file", ...).
QString describeFailure(const SqliteFailure& failure);
// The kind of trouble behind an SQLite failure.
SnapshotFailure::Kind failureKind(const SqliteFailure& failure);
// The failure as a snapshot's: "<what>: <description>."
SnapshotFailure snapshotFailure(const SqliteFailure& failure, const QString& what);

// Copies every page of `from` into `to` with SQLite's online backup: one
// read transaction on `from`, one write transaction on `to`, so `to` holds
// either its old or all the new contents. Waits up to kSnapshotBusyTimeoutMs
// for another program's lock. Throws SnapshotFailure with `what` ("Could not
// write the snapshot") in front.
void copyDatabase(const SqliteDatabase& from, SqliteDatabase& to, const QString& what);

// The journal mode of `db` ("delete", "wal", ...).
QString journalMode(const SqliteDatabase& db);
// Puts `db` back into `mode` when a copy changed it (a copy takes the
// source's write-ahead-log flag along). Throws SnapshotFailure.
void keepJournalMode(const SqliteDatabase& db, const QString& mode);

// Copies `from` into `emptyFile`, a file nobody else uses yet: written
// without a journal, flagged for the rollback journal whatever the source
// uses, and forced onto the disk once, at the end.
void copyToNewFile(const SqliteDatabase& from, const QString& emptyFile, const QString& what);
