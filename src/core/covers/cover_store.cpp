#include "core/covers/cover_store.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/sqlite_statement.h"
#include "core/covers/cover_schema.h"
#include "core/report/failure.h"

#include <sqlite3.h>

namespace {

void run(sqlite3* db, const char* text) {
    SqliteStatement query(db, text);
    while (query.step()) {
    }
}

// A write transaction taken at once (waiting for another program's lock as
// every statement does) and rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : m_db(db) { run(db, "begin immediate"); }
    ~WriteTransaction() {
        if (!m_done) {
            sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit() {
        run(m_db, "commit");
        m_done = true;
    }

private:
    sqlite3* m_db;
    bool m_done = false;
};

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
    SqliteStatement query(m_catalogue.connection().handle(),
                          "select 1 from sqlite_master where type = 'table' and name = 'cover'");
    return query.step();
}

void CoverStore::set(qint64 id, const Cover& cover) {
    sqlite3* db = m_catalogue.connection().handle();
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
    if (sqlite3_changes(db) == 0) {
        throw Failure(QStringLiteral("There is no movie with the id %1.").arg(id));
    }
    transaction.commit();
}

std::optional<Cover> CoverStore::get(qint64 id) {
    if (!hasTable()) {
        return std::nullopt;
    }
    SqliteStatement query(m_catalogue.connection().handle(),
                          "select c.width, c.height, c.format, c.image from cover c"
                          " join dvd d on d.id = c.id where c.id = ?1");
    query.bind(1, id);
    if (!query.step()) {
        return std::nullopt;
    }
    sqlite3_stmt* row = query.get();
    Cover cover;
    cover.width = sqlite3_column_int(row, 0);
    cover.height = sqlite3_column_int(row, 1);
    cover.format = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 2)));
    const void* bytes = sqlite3_column_blob(row, 3);
    cover.bytes = QByteArray(static_cast<const char*>(bytes), sqlite3_column_bytes(row, 3));
    return cover;
}

bool CoverStore::remove(qint64 id) {
    if (!hasTable()) {
        return false;
    }
    sqlite3* db = m_catalogue.connection().handle();
    SqliteStatement query(db, "delete from cover where id = ?1");
    query.bind(1, id).step();
    return sqlite3_changes(db) > 0;
}

bool CoverStore::has(qint64 id) {
    if (!hasTable()) {
        return false;
    }
    SqliteStatement query(m_catalogue.connection().handle(),
                          "select 1 from cover c join dvd d on d.id = c.id where c.id = ?1");
    query.bind(1, id);
    return query.step();
}

QSet<qint64> CoverStore::ids() {
    QSet<qint64> found;
    if (!hasTable()) {
        return found;
    }
    SqliteStatement query(m_catalogue.connection().handle(),
                          "select c.id from cover c join dvd d on d.id = c.id");
    while (query.step()) {
        found.insert(sqlite3_column_int64(query.get(), 0));
    }
    return found;
}
