#include "core/catalogue/sqlite_statement.h"

#include "core/report/failure.h"
#include "core/system/write_failure.h"

#include <cerrno>
#include <sqlite3.h>

QString sqliteMessage(sqlite3* db) {
    // What the system said last, read before anything else can change it.
    const int systemError = errno;
    if (!db) {
        return QStringLiteral("out of memory");
    }
    // SQLite calls a write past the file-size limit a "disk I/O error" and
    // does not always keep the system's error number, which is then still
    // the last one set: it tells that, and a full disk, from a failing disk.
    const int code = sqlite3_errcode(db) & 0xff;
    if (code == SQLITE_FULL ||
        (code == SQLITE_IOERR &&
         (isOutOfSpaceError(sqlite3_system_errno(db)) || isOutOfSpaceError(systemError)))) {
        return QStringLiteral("%1 while writing the catalogue.").arg(kOutOfSpaceText);
    }
    return QString::fromUtf8(sqlite3_errmsg(db));
}

SqliteStatement::SqliteStatement(sqlite3* db, const QByteArray& text, Rest rest) : m_db(db) {
    if (!db) {
        throw Failure(QStringLiteral("The catalogue is not open."));
    }
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail) != SQLITE_OK) {
        throw Failure(sqliteMessage(db));
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

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
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

SqliteStatement& SqliteStatement::bind(int index, const QByteArray& value) {
    sqlite3_bind_blob64(m_stmt, index, value.constData() ? value.constData() : "",
                        sqlite3_uint64(value.size()), SQLITE_STATIC);
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
    throw Failure(sqliteMessage(m_db));
}

void SqliteStatement::reset() {
    sqlite3_reset(m_stmt);
}
