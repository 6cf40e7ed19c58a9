#include "core/covers/cover_store.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_schema.h"
#include "core/report/failure.h"

#include <sqlite3.h>

namespace {

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// One prepared statement with its values bound, finalized on every way out.
class Query {
public:
    Query(sqlite3* db, const char* text) : m_db(db) {
        if (!db) {
            throw Failure(QStringLiteral("The catalogue is not open."));
        }
        if (sqlite3_prepare_v2(db, text, -1, &m_stmt, nullptr) != SQLITE_OK) {
            throw Failure(sqliteMessage(db));
        }
    }
    ~Query() { sqlite3_finalize(m_stmt); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(int index, qint64 value) {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    Query& bind(int index, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Query& bind(int index, const QByteArray& value) {
        // An empty image is still a value, never a null.
        sqlite3_bind_blob64(m_stmt, index, value.constData() ? value.constData() : "",
                            sqlite3_uint64(value.size()), SQLITE_STATIC);
        return *this;
    }
    // True while there is a row.
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc == SQLITE_DONE) {
            return false;
        }
        throw Failure(sqliteMessage(m_db));
    }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void run(sqlite3* db, const char* text) {
    Query query(db, text);
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
    Query query(m_catalogue.connection().handle(),
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
    Query store(db, "insert or replace into cover (id, width, height, format, image)"
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
    Query query(m_catalogue.connection().handle(),
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
    Query query(db, "delete from cover where id = ?1");
    query.bind(1, id).step();
    return sqlite3_changes(db) > 0;
}

bool CoverStore::has(qint64 id) {
    if (!hasTable()) {
        return false;
    }
    Query query(m_catalogue.connection().handle(),
                "select 1 from cover c join dvd d on d.id = c.id where c.id = ?1");
    query.bind(1, id);
    return query.step();
}

QSet<qint64> CoverStore::ids() {
    QSet<qint64> found;
    if (!hasTable()) {
        return found;
    }
    Query query(m_catalogue.connection().handle(),
                "select c.id from cover c join dvd d on d.id = c.id");
    while (query.step()) {
        found.insert(sqlite3_column_int64(query.get(), 0));
    }
    return found;
}
