#include "core/sqlite/sqlite_statement.h"

#include "core/sqlite/sqlite_database.h"

#include <sqlite3.h>
#include <utility>

SqliteStatement::SqliteStatement(sqlite3* db, const QByteArray& text, Rest rest) : m_db(db) {
    if (!db) {
        throw Failure(QStringLiteral("The catalogue is not open."));
    }
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK) {
        throw sqliteFailure(db, rc);
    }
    if (rest == Rest::Ignored) {
        return;
    }
    const char* end = text.constData() + text.size();
    for (; tail && tail < end; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(m_stmt); // the destructor does not run for a throwing constructor
            throw Failure(QStringLiteral("Only one statement can be run at a time."));
        }
    }
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const QByteArray& text, Rest rest)
    : SqliteStatement(db.handle(), text, rest) {}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value) {
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindInPlace(int index, const QString& value) {
    // SQLite takes a U+FEFF that starts UTF-16 text for a byte-order mark and
    // drops it; as UTF-8 it stays part of the value.
    if (value.startsWith(QChar(0xFEFF))) {
        return bind(index, value);
    }
    sqlite3_bind_text16(m_stmt, index, value.utf16(), int(value.size() * 2), SQLITE_STATIC);
    return *this;
}

SqliteStatement& SqliteStatement::bindUtf8InPlace(int index, QByteArrayView utf8) {
    sqlite3_bind_text64(m_stmt, index, utf8.data() ? utf8.data() : "", sqlite3_uint64(utf8.size()),
                        SQLITE_STATIC, SQLITE_UTF8);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QByteArray& value) {
    return bindBlobInPlace(index, value);
}

SqliteStatement& SqliteStatement::bindBlobInPlace(int index, QByteArrayView value) {
    sqlite3_bind_blob64(m_stmt, index, value.constData() ? value.constData() : "",
                        sqlite3_uint64(value.size()), SQLITE_STATIC);
    return *this;
}

SqliteStatement& SqliteStatement::bindColumn(int index, const SqliteStatement& row, int column) {
    sqlite3_bind_value(m_stmt, index, sqlite3_column_value(row.m_stmt, column));
    return *this;
}

bool SqliteStatement::step() {
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
    throw sqliteFailure(m_db, rc);
}

void SqliteStatement::reset() {
    sqlite3_reset(m_stmt);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString SqliteStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

qint64 SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

QByteArrayView SqliteStatement::utf8(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

QString SqliteStatement::text(int column) const {
    return QString::fromUtf8(utf8(column));
}

QByteArray SqliteStatement::blob(int column) const {
    return blobBytes(column).toByteArray();
}

QByteArrayView SqliteStatement::blobBytes(int column) const {
    const void* bytes = sqlite3_column_blob(m_stmt, column);
    return {static_cast<const char*>(bytes), sqlite3_column_bytes(m_stmt, column)};
}
