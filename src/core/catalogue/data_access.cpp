#include "core/catalogue/data_access.h"

#include "core/catalogue/connection.h"
#include "core/report/failure.h"

#include <sqlite3.h>

namespace {

constexpr int kBuiltMajorVersion = SQLITE_VERSION_NUMBER / 1000000;

QString engineDescription() {
    return QStringLiteral("SQLite %1").arg(QString::fromLatin1(sqlite3_libversion()));
}

} // namespace

std::unique_ptr<Connection> SqliteDataAccess::createConnection() {
    if (sqlite3_initialize() != SQLITE_OK) {
        throw Failure(QStringLiteral("The database engine (%1) could not be started.")
                          .arg(engineDescription()));
    }
    if (sqlite3_libversion_number() / 1000000 != kBuiltMajorVersion) {
        throw Failure(QStringLiteral("The database engine (%1) is not the version this program "
                                     "was built for (%2).")
                          .arg(engineDescription(), QLatin1String(SQLITE_VERSION)));
    }
    return std::make_unique<Connection>();
}

std::unique_ptr<Recordset> SqliteDataAccess::createRecordset() {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, "select 1", nullptr, nullptr, nullptr);
    }
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        throw Failure(QStringLiteral("The database engine (%1) cannot run a query: %2")
                          .arg(engineDescription(), message));
    }
    return std::make_unique<Recordset>();
}
