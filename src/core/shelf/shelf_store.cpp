// ShelfStore: the copies of the movies.
#include "core/shelf/shelf_store.h"

#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_rows.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

using namespace ShelfRows;

namespace {

const QString kNoMovieForCopy =
    QStringLiteral("There is no movie with the id %1 (was it deleted?), so the copy was not "
                   "stored.");

QByteArray selectCopies(const char* rest) {
    return QByteArray("select ") + kCopyColumns + " from shelf_copy c " + rest;
}

std::vector<ShelfCopy> readCopies(SqliteStatement& query) {
    std::vector<ShelfCopy> copies;
    while (query.step()) {
        copies.push_back(readCopy(query));
    }
    return copies;
}

} // namespace

qint64 shelfId(const QString& text, const QString& what) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value <= 0) {
        throw Failure(QStringLiteral("'%1' is not a %2 id.").arg(text, what));
    }
    return value;
}

QString describeCopy(const ShelfCopy& copy) {
    QStringList parts = {ShelfNames::name(copy.format)};
    for (const QString& part : {copy.edition, copy.location}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    QString text = parts.join(QStringLiteral(", "));
    if (copy.status != CopyStatus::Owned) {
        text += QStringLiteral(" (%1)").arg(ShelfNames::name(copy.status));
    }
    return text;
}

QString priceText(const ShelfCopy& copy) {
    return copy.price.isEmpty() ? QString()
                                : (copy.price + QLatin1Char(' ') + copy.currency).trimmed();
}

bool ShelfStore::hasTables() {
    return haveTables(m_catalogue.connection().database());
}

qint64 ShelfStore::addCopy(const ShelfCopy& copy) {
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    // The movie is looked for inside the transaction, so one deleted by
    // another program a moment ago is seen as gone.
    if (!movieExists(db, copy.movieId)) {
        throw Failure(kNoMovieForCopy.arg(copy.movieId));
    }
    makeTables(db);
    SqliteStatement insert(db, kInsertCopy);
    bindCopy(insert, copy);
    insert.step();
    const qint64 id = insert.integer(0);
    insert.reset();
    transaction.commit();
    return id;
}

void ShelfStore::changeCopy(const ShelfCopy& copy) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        throw Failure(kNoSuchCopy.arg(copy.id));
    }
    WriteTransaction transaction(db);
    SqliteStatement update(db, "update shelf_copy set format = ?2, edition = ?3, barcode = ?4,"
                               " discs = ?5, location = ?6, acquired = ?7, price = ?8,"
                               " currency = ?9, condition = ?10, note = ?11, status = ?12"
                               " where id = ?13 and movie_id = ?1");
    bindCopy(update, copy);
    update.bind(13, copy.id).step();
    if (db.changes() == 0) {
        throw Failure(movieExists(db, copy.movieId) ? kNoSuchCopy.arg(copy.id)
                                                    : kNoMovieForCopy.arg(copy.movieId));
    }
    transaction.commit();
}

bool ShelfStore::removeCopy(qint64 copyId) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return false;
    }
    SqliteStatement remove(db, "delete from shelf_copy where id = ?1");
    remove.bind(1, copyId).step();
    return db.changes() > 0;
}

std::optional<ShelfCopy> ShelfStore::copy(qint64 copyId) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return std::nullopt;
    }
    SqliteStatement query(db, selectCopies("where c.id = ?1"));
    query.bind(1, copyId);
    if (!query.step()) {
        return std::nullopt;
    }
    return readCopy(query);
}

std::vector<ShelfCopy> ShelfStore::copies(qint64 movieId) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    SqliteStatement query(db, selectCopies("where c.movie_id = ?1 order by c.id"));
    query.bind(1, movieId);
    return readCopies(query);
}

std::vector<ShelfCopy> ShelfStore::allCopies() {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    SqliteStatement query(db, selectCopies("join dvd d on d.id = c.movie_id"
                                           " order by c.movie_id, c.id"));
    return readCopies(query);
}

QSet<qint64> ShelfStore::wishedOnly() {
    SqliteDatabase& db = m_catalogue.connection().database();
    // Read with every refill, right after the movies' own query: the schema
    // is current, and a catalogue without the shelf is sent nothing more.
    if (!db.knowsTable(QStringLiteral("shelf_copy"))) {
        return {};
    }
    // The copies are read in table order: left to itself SQLite walks the
    // movie index and looks up every copy's row apart, ten times slower.
    SqliteStatement query(db, "select distinct w.movie_id from shelf_copy as w not indexed"
                              " where w.status = ?1 and not exists (select 1 from shelf_copy o"
                              " where o.movie_id = w.movie_id and o.status = ?2)");
    query.bind(1, ShelfNames::name(CopyStatus::Wished));
    query.bind(2, ShelfNames::name(CopyStatus::Owned));
    QSet<qint64> movies;
    while (query.step()) {
        movies.insert(query.integer(0));
    }
    return movies;
}

std::vector<FoundCopy> ShelfStore::findBarcode(const QString& barcode) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    // Both spellings of a UPC-A are looked up through the barcode index.
    const QStringList spellings = Barcode::spellings(barcode);
    SqliteStatement query(db, QByteArray("select ") + kCopyColumns +
                                  ", d.title from shelf_copy c join dvd d on d.id = c.movie_id"
                                  " where c.barcode in (?1, ?2) or c.id in (select m.copy_id"
                                  " from shelf_set s join shelf_set_member m on m.set_id = s.id"
                                  " where s.barcode in (?1, ?2)) order by d.title, c.id");
    query.bind(1, spellings.constFirst()).bind(2, spellings.constLast());
    std::vector<FoundCopy> found;
    while (query.step()) {
        found.push_back({readCopy(query), query.text(kCopyColumnCount)});
    }
    return found;
}
