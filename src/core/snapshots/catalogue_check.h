#pragma once

#include <QStringList>

class SqliteDatabase;

// SQLite's quick check reads every page once; the full check also compares
// every index with its table.
enum class CheckDepth { Quick, Full };

// What a health check found: nothing when the catalogue is sound.
struct CheckResult {
    QStringList problems; // plain sentences, most important first
    // Sound but not to be trusted blindly: triggers or views the program did
    // not make, snapshots dated in the future.
    QStringList cautions;
    // SQLite's own check failed or the file could not be read: salvage applies.
    bool damaged = false;

    // Sound: no problem (cautions aside).
    bool ok() const { return problems.isEmpty(); }
    // Nothing to report at all.
    bool clean() const { return ok() && cautions.isEmpty(); }
    // "ok", or one problem or caution a line.
    QString text() const;
};

// Checks the catalogue file at `path` without changing it: the file is opened
// read-only, SQLite's integrity check runs, and the table dvd must have the
// columns the program reads; triggers and views the program did not make
// are cautions.
CheckResult checkCatalogue(const QString& path, CheckDepth depth);
// The same on a database the caller has open.
CheckResult checkCatalogue(const SqliteDatabase& db, CheckDepth depth);
