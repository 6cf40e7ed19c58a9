#pragma once

#include "core/catalogue/connection.h"

#include <QStringList>
#include <sqlite3.h>

// The text of every statement a connection sends while the log lives,
// exactly as the database received it.
class StatementLog {
public:
    explicit StatementLog(Connection& connection) : m_db(connection.database().handle()) {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &StatementLog::record, this);
    }
    ~StatementLog() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    QStringList statements;

private:
    static int record(unsigned, void* log, void*, void* text) {
        const QString sql = QString::fromUtf8(static_cast<const char*>(text));
        if (!sql.startsWith(QStringLiteral("--"))) { // a trigger's own line
            static_cast<StatementLog*>(log)->statements << sql;
        }
        return 0;
    }

    sqlite3* m_db;
};
