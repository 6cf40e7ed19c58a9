#pragma once

#include "core/sqlite/sqlite_failure.h"

#include <QString>

struct sqlite3;

// One SQLite database, open for the life of the object. The program's one
// place that opens a database: every catalogue, snapshot and scratch
// database goes through it. Every failure is a SqliteFailure.
class SqliteDatabase {
public:
    enum class Access {
        ReadWrite, // an existing file, read and written; never created
        ReadOnly,  // an existing file, only read; never created
        // Read-only for a file nobody changes (a finished snapshot): no lock
        // is taken and no file is made beside it, not even for a file
        // flagged for write-ahead logging, so a read-only folder reads too.
        Immutable,
        Memory,  // a new database in memory
        Scratch, // SQLite's private temporary database, removed when closed
    };

    // How long a statement waits for another program's lock before failing.
    static constexpr int kBusyTimeoutMs = 3000;

    SqliteDatabase() = default;
    // Opens `path` (ignored for Memory and Scratch) with extended result
    // codes and kBusyTimeoutMs, runs `setup` (its failure ignored: the read
    // below reports a file that is no database), then reads the schema, so
    // that such a file fails here and not at the first statement. Nothing
    // stays open when it fails.
    SqliteDatabase(const QString& path, Access access, const char* setup = nullptr);
    ~SqliteDatabase();
    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

    // Closes now, before the file is synced or renamed; fails when SQLite
    // reports a failure on the way ("Could not close <file>: <message>.").
    void close();
    // Closes without waiting for statements still open; never fails.
    void release() noexcept;

    void setBusyTimeout(int ms);
    // Runs statements, failing at the first that fails.
    void execute(const char* statements) const;
    // Runs statements whose failure changes nothing the caller relies on.
    void executeIgnoringFailure(const char* statements) const noexcept;

    // Whether a transaction is open.
    bool inTransaction() const;
    // The rows the last insert, update or delete changed.
    int changes() const;
    // The row id the last successful insert gave its row.
    qint64 lastInsertedRow() const;
    // SQLite's extended code of the last failure.
    int lastFailureCode() const;
    // The file of the main database ("" for one in memory).
    QString fileName() const;
    // Whether the rollback journal of the main database is on the disk.
    bool hasJournal() const;
    // Whether the main database holds a table named `name`, asked of the
    // file now (one statement).
    bool hasTable(const QString& name) const;
    // The same from the schema this connection has already read: no
    // statement is sent, so a table another program has made since this
    // connection's last statement is not seen yet. For paths whose
    // statements are counted, right after a statement of their own.
    bool knowsTable(const QString& name) const;

    // Copies every page of `from` into this database with SQLite's online
    // backup: one read transaction on `from`, one write transaction here, so
    // this database holds either its old or all the new contents. Waits up
    // to `waitMs` for another program's lock. The failure is this database's.
    void copyFrom(const SqliteDatabase& from, int waitMs);

    // SQLite's version as the library reports it ("3.40.1").
    static QString libraryVersion();
    // Starts the library; false when it cannot start.
    static bool initialize();
    // The major version this program was built for, and the library's.
    static int builtMajorVersion();
    static int libraryMajorVersion();
    static QString builtVersion();

private:
    sqlite3* m_db = nullptr;
};
