#include "core/snapshots/snapshot_database.h"

#include "core/snapshots/durable_file.h"
#include "core/sqlite/sqlite_statement.h"

#include <cerrno>

SqliteDatabase openSnapshotDatabase(const QString& path, SqliteDatabase::Access access) {
    try {
        return {path, access};
    } catch (const SqliteFailure& failure) {
        throw snapshotFailure(failure, QStringLiteral("Could not open %1").arg(path));
    }
}

void closeSnapshotDatabase(SqliteDatabase& db) {
    try {
        db.close();
    } catch (const SqliteFailure& failure) {
        throw SnapshotFailure(SnapshotFailure::Kind::Failed, failure.description());
    }
}

QStringList firstColumn(const SqliteDatabase& db, const char* statement) {
    QStringList values;
    try {
        SqliteStatement query(db, statement);
        while (query.step()) {
            values << query.text(0);
        }
    } catch (const SqliteFailure& failure) {
        throw snapshotFailure(failure, QStringLiteral("Could not read the file"));
    }
    return values;
}

qint64 movieCount(const SqliteDatabase& db) {
    return firstColumn(db, "select count(*) from dvd").value(0).toLongLong();
}

QString describeFailure(const SqliteFailure& failure) {
    const int error = failure.systemError();
    const SqliteFailure::Kind kind = failure.kind();
    if (kind == SqliteFailure::Kind::DiskFull) {
        return describeSystemError(ENOSPC);
    }
    if (kind == SqliteFailure::Kind::RollbackNeedsWriter) {
        return QStringLiteral("a change to it was interrupted and is still to be undone (the "
                              "program undoes it when it next opens the file)");
    }
    if (kind == SqliteFailure::Kind::ReadOnly) {
        return describeSystemError(EROFS);
    }
    if (error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS || error == EACCES ||
        error == EPERM) {
        return describeSystemError(error);
    }
    switch (kind) {
    case SqliteFailure::Kind::InUse:
        return QStringLiteral("another program is using the file");
    case SqliteFailure::Kind::NotADatabase:
        return QStringLiteral(
            "the file is not a Reelkeeper catalogue, or its first page is damaged");
    case SqliteFailure::Kind::Damaged:
        return QStringLiteral("the file is damaged");
    case SqliteFailure::Kind::CannotOpen:
        return error ? QStringLiteral("the file cannot be opened (%1)")
                           .arg(describeSystemError(error))
                     : QStringLiteral("the file cannot be opened");
    default:
        break;
    }
    const QString& message = failure.message();
    return error ? message + QStringLiteral(" (%1)").arg(describeSystemError(error)) : message;
}

SnapshotFailure::Kind failureKind(const SqliteFailure& failure) {
    switch (failure.kind()) {
    case SqliteFailure::Kind::InUse:
        return SnapshotFailure::Kind::InUse;
    case SqliteFailure::Kind::NotADatabase:
    case SqliteFailure::Kind::Damaged:
        return SnapshotFailure::Kind::Damaged;
    default:
        return SnapshotFailure::Kind::Failed;
    }
}

SnapshotFailure snapshotFailure(const SqliteFailure& failure, const QString& what) {
    return {failureKind(failure),
            what + QStringLiteral(": ") + describeFailure(failure) + QLatin1Char('.')};
}

void copyDatabase(const SqliteDatabase& from, SqliteDatabase& to, const QString& what) {
    try {
        to.copyFrom(from, kSnapshotBusyTimeoutMs);
    } catch (const SqliteFailure& failure) {
        throw snapshotFailure(failure, what);
    }
}

QString journalMode(const SqliteDatabase& db) {
    return firstColumn(db, "PRAGMA journal_mode").value(0).toLower();
}

void keepJournalMode(const SqliteDatabase& db, const QString& mode) {
    if (journalMode(db) != mode) {
        firstColumn(db, QStringLiteral("PRAGMA journal_mode=%1").arg(mode).toUtf8().constData());
    }
}

void copyToNewFile(const SqliteDatabase& from, const QString& emptyFile, const QString& what) {
    SqliteDatabase copy = openSnapshotDatabase(emptyFile, SqliteDatabase::Access::ReadWrite);
    copy.executeIgnoringFailure("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
    copyDatabase(from, copy, what);
    // The copy took the source's header along: a file flagged for the
    // write-ahead log would make every reader create files beside it.
    copy.executeIgnoringFailure("PRAGMA journal_mode=DELETE");
    closeSnapshotDatabase(copy);
    syncToDisk(emptyFile);
}
