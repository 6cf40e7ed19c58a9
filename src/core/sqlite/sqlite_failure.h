#pragma once

#include "core/report/failure.h"

struct sqlite3;

// A failure SQLite reported. The description is SQLite's message as a person
// reads it (see sqliteMessage); the code and the system's error number stay
// for callers that describe the failure in words of their own.
class SqliteFailure : public Failure {
public:
    // What kind of trouble the code stands for.
    enum class Kind {
        DiskFull,
        // A reader found a change cut short that only a writer may undo.
        RollbackNeedsWriter,
        ReadOnly,
        InUse,        // another connection holds a lock
        NotADatabase, // or its first page is damaged
        Damaged,
        CannotOpen,
        Other,
    };

    SqliteFailure(const QString& description, int code, int systemError, const QString& message)
        : Failure(description), m_code(code), m_systemError(systemError), m_message(message) {}

    // SQLite's result code (the extended one where the connection gives those).
    int code() const { return m_code; }
    Kind kind() const;
    // The system's error number behind it as SQLite kept it (0 when none).
    int systemError() const { return m_systemError; }
    // SQLite's own text for it, unchanged.
    const QString& message() const { return m_message; }

private:
    int m_code;
    int m_systemError;
    QString m_message;
};

// SQLite's message for the last failure on a connection (a full disk and a
// file-size limit in plain words; "out of memory" without a connection).
QString sqliteMessage(sqlite3* db);

// The failure `code` on `db` (null when SQLite could not make a connection),
// read at once, before anything else can change it.
SqliteFailure sqliteFailure(sqlite3* db, int code);
