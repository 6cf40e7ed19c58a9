#include "core/snapshots/sqlite_file.h"

#include "core/snapshots/durable_file.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <QUrl>
#include <cerrno>
#include <sqlite3.h>

namespace {

SnapshotFailure failureOf(sqlite3* db, int code, const QString& what) {
    return {failureKind(code),
            what + QStringLiteral(": ") + describeFailure(db, code) + QLatin1Char('.')};
}

} // namespace

SqliteFile::SqliteFile(const QString& path, Access access) {
    int rc = SQLITE_OK;
    if (access == Access::Immutable) {
        const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + "?mode=ro&immutable=1";
        rc = sqlite3_open_v2(uri.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                             nullptr);
    } else {
        const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    }
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kSnapshotBusyTimeoutMs);
        // SQLite opens lazily: read the schema now, so that a file that is
        // no database fails here.
        rc = sqlite3_exec(m_db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const SnapshotFailure failure =
            failureOf(m_db, rc, QStringLiteral("Could not open %1").arg(path));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw failure;
    }
}

SqliteFile::~SqliteFile() {
    sqlite3_close(m_db);
}

void SqliteFile::close() {
    if (m_db && sqlite3_close(m_db) != SQLITE_OK) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed,
                              QStringLiteral("Could not close %1: %2.")
                                  .arg(QString::fromUtf8(sqlite3_db_filename(m_db, "main")),
                                       QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    m_db = nullptr;
}

QStringList firstColumn(sqlite3* db, const char* statement) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, statement, -1, &stmt, nullptr);
    QStringList values;
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        values << QString::fromUtf8(text, text ? sqlite3_column_bytes(stmt, 0) : 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        throw failureOf(db, rc, QStringLiteral("Could not read the file"));
    }
    return values;
}

qint64 movieCount(sqlite3* db) {
    return firstColumn(db, "select count(*) from dvd").value(0).toLongLong();
}

QString describeFailure(sqlite3* db, int code) {
    const int error = db ? sqlite3_system_errno(db) : 0;
    const int primary = code & 0xff;
    if (primary == SQLITE_FULL) {
        return describeSystemError(ENOSPC);
    }
    if (code == SQLITE_READONLY_ROLLBACK) {
        return QStringLiteral("a change to it was interrupted and is still to be undone (the "
                              "program undoes it when it next opens the file)");
    }
    if (primary == SQLITE_READONLY) {
        return describeSystemError(EROFS);
    }
    if (error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS || error == EACCES ||
        error == EPERM) {
        return describeSystemError(error);
    }
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("another program is using the file");
    case SQLITE_NOTADB:
        return QStringLiteral("the file is no catalogue, or its first page is damaged");
    case SQLITE_CORRUPT:
        return QStringLiteral("the file is damaged");
    case SQLITE_CANTOPEN:
        return error ? QStringLiteral("the file cannot be opened (%1)")
                           .arg(describeSystemError(error))
                     : QStringLiteral("the file cannot be opened");
    default:
        break;
    }
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    return error ? message + QStringLiteral(" (%1)").arg(describeSystemError(error)) : message;
}

SnapshotFailure::Kind failureKind(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return SnapshotFailure::Kind::InUse;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return SnapshotFailure::Kind::Damaged;
    default:
        return SnapshotFailure::Kind::Failed;
    }
}

void copyDatabase(sqlite3* from, sqlite3* to, const QString& what) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        throw failureOf(to, sqlite3_extended_errcode(to), what);
    }
    // All pages in one step (-1): one read of the source, one write transaction.
    QDeadlineTimer deadline(kSnapshotBusyTimeoutMs);
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && !deadline.hasExpired()) {
            sqlite3_sleep(20);
        }
    } while (rc == SQLITE_OK ||
             ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && !deadline.hasExpired()));
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        // Finishing puts the step's failure on the target connection.
        throw failureOf(to, rc, what);
    }
    if (finished != SQLITE_OK) {
        throw failureOf(to, finished, what);
    }
}

QString journalMode(sqlite3* db) {
    return firstColumn(db, "PRAGMA journal_mode").value(0).toLower();
}

void keepJournalMode(sqlite3* db, const QString& mode) {
    if (journalMode(db) != mode) {
        firstColumn(db, QStringLiteral("PRAGMA journal_mode=%1").arg(mode).toUtf8().constData());
    }
}

void copyToNewFile(sqlite3* from, const QString& emptyFile, const QString& what) {
    SqliteFile copy(emptyFile, SqliteFile::Access::ReadWrite);
    sqlite3_exec(copy.handle(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    copyDatabase(from, copy.handle(), what);
    // The copy took the source's header along: a file flagged for the
    // write-ahead log would make every reader create files beside it.
    sqlite3_exec(copy.handle(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    copy.close();
    syncToDisk(emptyFile);
}
