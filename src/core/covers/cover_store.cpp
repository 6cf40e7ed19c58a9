#include "core/covers/cover_store.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_schema.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

namespace {

void run(const SqliteDatabase& db, const char* text) {
    SqliteStatement query(db, text);
    while (query.step()) {
    }
}

} // namespace

qint64 coverId(const QString& id) {
    bool ok = false;
    const qint64 value = id.trimmed().toLongLong(&ok);
    if (!ok || value <= 0) {
        throw Failure(QStringLiteral("'%1' is not a movie id.").arg(id));
    }
    return value;
}

bool CoverStore::hasTable() {
    return m_catalogue.connection().database().hasTable(QStringLiteral("cover"));
}

void CoverStore::set(qint64 id, const Cover& cover) {
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    run(db, CoverSchema::kTable);
    run(db, CoverSchema::kTrigger);
    // A cover left behind by a movie deleted before the trigger existed.
    run(db, "delete from cover where id not in (select id from dvd)");
    SqliteStatement store(
        db, "insert or replace into cover (id, width, height, format, image)"
            " select ?1, ?2, ?3, ?4, ?5 where exists (select 1 from dvd where id = ?1)");
    store.bind(1, id).bind(2, qint64(cover.width)).bind(3, qint64(cover.height));
    store.bind(4, cover.format).bind(5, cover.bytes);
    store.step();
    if (db.changes() == 0) {
        throw Failure(kNoSuchMovie.arg(id));
    }
    transaction.commit();
}

std::optional<Cover> CoverStore::get(qint64 id) {
    if (!hasTable()) {
        return std::nullopt;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select c.width, c.height, c.format, c.image from cover c"
                          " join dvd d on d.id = c.id where c.id = ?1");
    query.bind(1, id);
    if (!query.step()) {
        return std::nullopt;
    }
    Cover cover;
    cover.width = int(query.integer(0));
    cover.height = int(query.integer(1));
    cover.format = query.text(2);
    cover.bytes = query.blob(3);
    return cover;
}

bool CoverStore::remove(qint64 id) {
    if (!hasTable()) {
        return false;
    }
    SqliteDatabase& db = m_catalogue.connection().database();
    SqliteStatement query(db, "delete from cover where id = ?1");
    query.bind(1, id).step();
    return db.changes() > 0;
}

bool CoverStore::has(qint64 id) {
    if (!hasTable()) {
        return false;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select 1 from cover c join dvd d on d.id = c.id where c.id = ?1");
    query.bind(1, id);
    return query.step();
}

QSet<qint64> CoverStore::ids() {
    QSet<qint64> found;
    if (!hasTable()) {
        return found;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select c.id from cover c join dvd d on d.id = c.id");
    while (query.step()) {
        found.insert(query.integer(0));
    }
    return found;
}
