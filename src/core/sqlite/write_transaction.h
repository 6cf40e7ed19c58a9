#pragma once

#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"

// A write transaction taken at once (waiting for another program's lock as
// every statement does) and rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(SqliteDatabase& db) : m_db(db) { run("begin immediate"); }
    ~WriteTransaction() {
        if (!m_done) {
            m_db.executeIgnoringFailure("rollback");
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit() {
        run("commit");
        m_done = true;
    }

private:
    void run(const char* text) {
        SqliteStatement statement(m_db, text);
        while (statement.step()) {
        }
    }

    SqliteDatabase& m_db;
    bool m_done = false;
};
