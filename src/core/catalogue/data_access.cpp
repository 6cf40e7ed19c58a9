#include "core/catalogue/data_access.h"

#include "core/catalogue/connection.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_database.h"

namespace {

QString engineDescription() {
    return QStringLiteral("SQLite %1").arg(SqliteDatabase::libraryVersion());
}

} // namespace

std::unique_ptr<Connection> SqliteDataAccess::createConnection() {
    if (!SqliteDatabase::initialize()) {
        throw Failure(QStringLiteral("The database engine (%1) could not be started.")
                          .arg(engineDescription()));
    }
    if (SqliteDatabase::libraryMajorVersion() != SqliteDatabase::builtMajorVersion()) {
        throw Failure(QStringLiteral("The database engine (%1) is not the version this program "
                                     "was built for (%2).")
                          .arg(engineDescription(), SqliteDatabase::builtVersion()));
    }
    return std::make_unique<Connection>();
}

std::unique_ptr<Recordset> SqliteDataAccess::createRecordset() {
    try {
        SqliteDatabase db(QString(), SqliteDatabase::Access::Memory);
        db.execute("select 1");
    } catch (const SqliteFailure& failure) {
        throw Failure(QStringLiteral("The database engine (%1) cannot run a query: %2")
                          .arg(engineDescription(), failure.message()));
    }
    return std::make_unique<Recordset>();
}
