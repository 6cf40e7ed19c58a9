#include "platform/connection.h"

#include "platform/failure.h"

#include <QByteArray>
#include <sqlite3.h>

namespace {

QString sqliteMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Owns one prepared statement for the length of a call.
class Statement {
public:
    Statement(sqlite3* db, const QByteArray& text) : m_db(db) {
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail);
        if (rc != SQLITE_OK) {
            throw Failure(sqliteMessage(db));
        }
        const char* end = text.constData() + text.size();
        for (; tail && tail < end; ++tail) {
            if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
                sqlite3_finalize(m_stmt); // the destructor does not run for a throwing constructor
                throw Failure(QStringLiteral("Only one statement can be run at a time."));
            }
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }

    // Advances to the next row; false when the statement is done.
    bool step() {
        if (!m_stmt) {
            return false;
        }
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc == SQLITE_DONE) {
            return false;
        }
        throw Failure(sqliteMessage(m_db));
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace

Connection::~Connection() {
    Close();
}

QString Connection::dataSource(const QString& connectionText) {
    static const QString key = QStringLiteral("Data Source=");
    const int start = connectionText.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0) {
        return {};
    }
    const int from = start + int(key.size());
    const int end = connectionText.indexOf(QLatin1Char(';'), from);
    return connectionText.mid(from, end < 0 ? -1 : end - from);
}

void Connection::Open(const QString& connectionText) {
    if (m_db) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is open."));
    }
    const QString path = dataSource(connectionText);
    if (path.isEmpty()) {
        throw Failure(QStringLiteral("The connection text names no catalogue file."));
    }
    sqlite3* db = nullptr;
    // Read-write without SQLITE_OPEN_CREATE: a missing file is an error, never a new database.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    try {
        if (rc != SQLITE_OK) {
            throw Failure(
                QStringLiteral("Could not open the catalogue %1: %2").arg(path, sqliteMessage(db)));
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db, 1);
        // The catalogue is the user's only copy: keep the rollback journal and full sync.
        sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        // SQLite opens lazily; read the schema now so that a file that is not a
        // database fails here and not at the first statement.
        Statement probe(db, QByteArrayLiteral("select count(*) from sqlite_master"));
        probe.step();
    } catch (const Failure& failure) {
        sqlite3_close(db);
        if (rc == SQLITE_OK) {
            throw Failure(QStringLiteral("Could not open the catalogue %1: %2")
                              .arg(path, failure.description()));
        }
        throw;
    }
    m_db = db;
}

void Connection::Execute(const QString& statement) {
    if (!m_db) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
    Statement stmt(m_db, statement.toUtf8());
    while (stmt.step()) {
    }
}

void Connection::Close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Recordset::Open(const QString& statement, Connection& connection, int, int) {
    if (m_open) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is open."));
    }
    if (connection.State() != Connection::adStateOpen) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
    Statement stmt(connection.handle(), statement.toUtf8());
    const int columns = sqlite3_column_count(stmt.get());
    QStringList names;
    QHash<QString, int> index;
    for (int c = 0; c < columns; ++c) {
        names << QString::fromUtf8(sqlite3_column_name(stmt.get(), c));
        index.insert(names.back(), c);
    }
    std::vector<QString> values;
    int rows = 0;
    while (stmt.step()) {
        for (int c = 0; c < columns; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
            values.push_back(text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt.get(), c))
                                  : QString());
        }
        ++rows;
    }
    m_columns = std::move(names);
    m_columnIndex = std::move(index);
    m_values = std::move(values);
    m_rowCount = rows;
    m_current = 0;
    m_open = true;
}

void Recordset::requireOpen() const {
    if (!m_open) {
        throw Failure(QStringLiteral("Operation is not allowed when the object is closed."));
    }
}

bool Recordset::Eof() const {
    requireOpen();
    return m_current >= m_rowCount;
}

QString Recordset::Fields(const QString& column) const {
    requireOpen();
    int c = m_columnIndex.value(column, -1);
    for (int i = 0; c < 0 && i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0) {
            c = i;
        }
    }
    if (c < 0) {
        throw Failure(QStringLiteral("The catalogue has no column named '%1'.").arg(column));
    }
    if (m_current >= m_rowCount) {
        throw Failure(QStringLiteral("There is no current row."));
    }
    // A null column reads as the empty text.
    return m_values[std::size_t(m_current) * m_columns.size() + std::size_t(c)];
}

void Recordset::MoveNext() {
    requireOpen();
    if (m_current >= m_rowCount) {
        throw Failure(QStringLiteral("There is no current row."));
    }
    ++m_current;
}

void Recordset::Close() {
    requireOpen();
    m_open = false;
    m_values.clear();
    m_values.shrink_to_fit();
    m_rowCount = 0;
    m_current = 0;
}
