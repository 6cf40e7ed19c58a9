#include "core/snapshots/foreign_schema.h"

#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/side_tables.h"
#include "core/snapshots/snapshot_database.h"

#include <QSet>

namespace {

const char kListObjects[] =
    "select type || char(31) || name || char(31) || coalesce(sql, '') from sqlite_master"
    " where type in ('trigger', 'view') order by type, name";

// The program's own objects as SQLite keeps them (it rewrites the start of
// a statement), found by making them in a database in memory.
const QSet<QString>& ownObjects() {
    static const QSet<QString> own = [] {
        const SqliteDatabase db(QString(), SqliteDatabase::Access::Memory);
        db.executeIgnoringFailure(kCatalogueSchema);
        for (const SideSchema& schema : sideSchemas()) {
            for (const char* statement : schema.statements) {
                db.executeIgnoringFailure(statement);
            }
        }
        const QStringList rows = firstColumn(db, kListObjects);
        return QSet<QString>(rows.begin(), rows.end());
    }();
    return own;
}

} // namespace

QList<ForeignObject> foreignObjects(const SqliteDatabase& db) {
    QList<ForeignObject> foreign;
    for (const QString& row : firstColumn(db, kListObjects)) {
        if (!ownObjects().contains(row)) {
            const QStringList parts = row.split(QChar(31));
            foreign.append({parts.value(0), parts.value(1)});
        }
    }
    return foreign;
}

QString describeForeignObjects(const QList<ForeignObject>& objects) {
    QStringList names;
    for (const ForeignObject& object : objects) {
        names << object.type + QLatin1Char(' ') + object.name;
    }
    return names.join(QStringLiteral(", "));
}
