#pragma once

#include "core/sqlite/sqlite_database.h"

// A write transaction taken at once (waiting for another program's lock as
// every statement does) and rolled back unless committed. Inside a
// transaction the caller already holds, it joins that one: it neither
// begins nor commits, so several stores' changes can be made whole together
// (a movie's fields, its link to a film database and its cover).
class WriteTransaction {
public:
    explicit WriteTransaction(const SqliteDatabase& db) : m_db(db), m_own(!db.inTransaction()) {
        if (m_own) {
            m_db.execute("begin immediate");
        }
    }
    ~WriteTransaction() {
        if (m_own && !m_done) {
            m_db.executeIgnoringFailure("rollback");
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit() {
        if (m_own) {
            m_db.execute("commit");
        }
        m_done = true;
    }

private:
    const SqliteDatabase& m_db;
    bool m_own;
    bool m_done = false;
};
