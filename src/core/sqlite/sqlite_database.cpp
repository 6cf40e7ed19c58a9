#include "core/sqlite/sqlite_database.h"

#include "core/sqlite/sqlite_statement.h"
#include "core/system/write_failure.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QUrl>
#include <cerrno>
#include <sqlite3.h>
#include <utility>

namespace {

constexpr int kBuiltMajorVersion = SQLITE_VERSION_NUMBER / 1000000;

// Reading the schema makes SQLite read the file's first page.
const char kReadSchema[] = "select count(*) from sqlite_master";

} // namespace

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

SqliteFailure::Kind SqliteFailure::kind() const {
    if (m_code == SQLITE_READONLY_ROLLBACK) {
        return Kind::RollbackNeedsWriter;
    }
    switch (m_code & 0xff) {
    case SQLITE_FULL:
        return Kind::DiskFull;
    case SQLITE_READONLY:
        return Kind::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Kind::InUse;
    case SQLITE_NOTADB:
        return Kind::NotADatabase;
    case SQLITE_CORRUPT:
        return Kind::Damaged;
    case SQLITE_CANTOPEN:
        return Kind::CannotOpen;
    default:
        return Kind::Other;
    }
}

SqliteFailure sqliteFailure(sqlite3* db, int code) {
    const QString description = sqliteMessage(db);
    return {description, code, db ? sqlite3_system_errno(db) : 0,
            QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code))};
}

SqliteDatabase::SqliteDatabase(const QString& path, Access access, const char* setup) {
    // Never SQLITE_OPEN_CREATE for a file: a missing file is an error, never a new database.
    int rc = SQLITE_OK;
    switch (access) {
    case Access::Immutable: {
        const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + "?mode=ro&immutable=1";
        rc = sqlite3_open_v2(uri.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                             nullptr);
        break;
    }
    case Access::ReadWrite:
    case Access::ReadOnly:
        rc = sqlite3_open_v2(
            QFile::encodeName(path).constData(), &m_db,
            access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
        break;
    case Access::Memory:
    case Access::Scratch:
        rc = sqlite3_open_v2(access == Access::Memory ? ":memory:" : "", &m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        break;
    }
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (setup) {
            sqlite3_exec(m_db, setup, nullptr, nullptr, nullptr);
        }
        // SQLite opens lazily: read the schema now, so that a file that is
        // no database fails here.
        rc = sqlite3_exec(m_db, kReadSchema, nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const SqliteFailure failure = sqliteFailure(m_db, rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw failure;
    }
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(m_db);
}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close(m_db);
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

void SqliteDatabase::close() {
    if (m_db && sqlite3_close(m_db) != SQLITE_OK) {
        throw SqliteFailure(QStringLiteral("Could not close %1: %2.")
                                .arg(fileName(), QString::fromUtf8(sqlite3_errmsg(m_db))),
                            sqlite3_extended_errcode(m_db), sqlite3_system_errno(m_db),
                            QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    m_db = nullptr;
}

void SqliteDatabase::release() noexcept {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SqliteDatabase::setBusyTimeout(int ms) {
    sqlite3_busy_timeout(m_db, ms);
}

void SqliteDatabase::execute(const char* statements) const {
    const int rc = sqlite3_exec(m_db, statements, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteFailure(m_db, rc);
    }
}

void SqliteDatabase::executeIgnoringFailure(const char* statements) const noexcept {
    sqlite3_exec(m_db, statements, nullptr, nullptr, nullptr);
}

bool SqliteDatabase::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

int SqliteDatabase::changes() const {
    return sqlite3_changes(m_db);
}

qint64 SqliteDatabase::lastInsertedRow() const {
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteDatabase::lastFailureCode() const {
    return sqlite3_extended_errcode(m_db);
}

QString SqliteDatabase::fileName() const {
    return QString::fromUtf8(sqlite3_db_filename(m_db, "main"));
}

bool SqliteDatabase::hasJournal() const {
    const char* journal = sqlite3_filename_journal(sqlite3_db_filename(m_db, "main"));
    return journal && QFile::exists(QFile::decodeName(journal));
}

bool SqliteDatabase::hasTable(const QString& name) const {
    SqliteStatement query(*this,
                          "select 1 from main.sqlite_master where type = 'table' and name = ?1");
    query.bind(1, name);
    return query.step();
}

bool SqliteDatabase::knowsTable(const QString& name) const {
    // Without a column name SQLite only looks the table up in its schema.
    return m_db &&
           sqlite3_table_column_metadata(m_db, "main", name.toUtf8().constData(), nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void SqliteDatabase::copyFrom(const SqliteDatabase& from, int waitMs) {
    sqlite3_backup* backup = sqlite3_backup_init(m_db, "main", from.m_db, "main");
    if (!backup) {
        throw sqliteFailure(m_db, sqlite3_extended_errcode(m_db));
    }
    // All pages in one step (-1): one read of the source, one write transaction.
    QDeadlineTimer deadline(waitMs);
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
        throw sqliteFailure(m_db, rc);
    }
    if (finished != SQLITE_OK) {
        throw sqliteFailure(m_db, finished);
    }
}

QString SqliteDatabase::libraryVersion() {
    return QString::fromLatin1(sqlite3_libversion());
}

bool SqliteDatabase::initialize() {
    return sqlite3_initialize() == SQLITE_OK;
}

int SqliteDatabase::builtMajorVersion() {
    return kBuiltMajorVersion;
}

int SqliteDatabase::libraryMajorVersion() {
    return sqlite3_libversion_number() / 1000000;
}

QString SqliteDatabase::builtVersion() {
    return QLatin1String(SQLITE_VERSION);
}
