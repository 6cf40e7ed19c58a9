#pragma once

#include <QStringList>

struct sqlite3;

// SQLite's quick check reads every page once; the full check also compares
// every index with its table.
enum class CheckDepth { Quick, Full };

// What a health check found: nothing when the catalogue is sound.
struct CheckResult {
    QStringList problems; // plain sentences, most important first

    bool ok() const { return problems.isEmpty(); }
    // "ok", or one problem a line.
    QString text() const;
};

// Checks the catalogue file at `path` without changing it: the file is opened
// read-only, SQLite's integrity check runs, and the table dvd must have the
// columns the program reads.
CheckResult checkCatalogue(const QString& path, CheckDepth depth);
// The same on a database the caller has open.
CheckResult checkCatalogue(sqlite3* db, CheckDepth depth);
