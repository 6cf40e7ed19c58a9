// ShelfStore: box sets and series.
#include "core/shelf/shelf_store.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/connection.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_rows.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

using namespace ShelfRows;

namespace {

const QString kNoMovieForSet =
    QStringLiteral("There is no movie with the id %1 (was it deleted?), so the set was not made.");
const QString kCopyNotOfMovie =
    QStringLiteral("The copy %1 is not a copy of the movie %2, so the set was not made.");

// Whether the copy is one of the movie's.
bool copyOfMovie(const SqliteDatabase& db, qint64 copyId, qint64 movieId) {
    SqliteStatement query(db, "select 1 from shelf_copy where id = ?1 and movie_id = ?2");
    query.bind(1, copyId).bind(2, movieId);
    return query.step();
}

} // namespace

qint64 ShelfStore::makeSet(const ShelfSet& set, const QList<qint64>& movieIds,
                           const QHash<qint64, qint64>& copies) {
    const QString name = set.name.trimmed();
    if (name.isEmpty()) {
        throw Failure(QStringLiteral("A set needs a name."));
    }
    requireStorableText(name);
    if (set.kind == SetKind::Series && !set.barcode.isEmpty()) {
        throw Failure(QStringLiteral("A series has no barcode of its own; a box set has."));
    }
    if (const QString problem = Barcode::problem(set.barcode);
        !set.barcode.isEmpty() && !problem.isEmpty()) {
        throw Failure(problem);
    }
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    for (const qint64 movieId : movieIds) {
        if (!movieExists(db, movieId)) {
            throw Failure(kNoMovieForSet.arg(movieId));
        }
    }
    makeTables(db);
    for (auto held = copies.begin(); held != copies.end(); ++held) {
        if (!copyOfMovie(db, held.value(), held.key())) {
            throw Failure(kCopyNotOfMovie.arg(held.value()).arg(held.key()));
        }
    }
    SqliteStatement insertSet(
        db, "insert into shelf_set (name, kind, barcode) values (?1, ?2, ?3) returning id");
    insertSet.bind(1, name).bind(2, ShelfNames::name(set.kind)).bind(3, set.barcode);
    insertSet.step();
    const qint64 id = insertSet.integer(0);
    insertSet.reset();
    SqliteStatement insertMember(db, "insert into shelf_set_member (set_id, position, movie_id,"
                                     " copy_id) values (?1, ?2, ?3, nullif(?4, 0))");
    qint64 position = 0;
    for (const qint64 movieId : movieIds) {
        insertMember.bind(1, id).bind(2, ++position).bind(3, movieId);
        insertMember.bind(4, copies.value(movieId)).step();
        insertMember.reset();
    }
    transaction.commit();
    return id;
}

bool ShelfStore::removeSet(qint64 setId) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return false;
    }
    SqliteStatement remove(db, "delete from shelf_set where id = ?1");
    remove.bind(1, setId).step();
    return db.changes() > 0;
}

std::vector<ShelfSet> ShelfStore::sets() {
    SqliteDatabase& db = m_catalogue.connection().database();
    std::vector<ShelfSet> found;
    if (!haveTables(db)) {
        return found;
    }
    SqliteStatement query(db, "select id, name, kind, barcode from shelf_set order by name, id");
    while (query.step()) {
        found.push_back({query.integer(0), query.text(1),
                         ShelfNames::setKind(query.text(2)).value_or(SetKind::Series),
                         query.text(3)});
    }
    return found;
}

std::vector<SetMember> ShelfStore::members(qint64 setId) {
    SqliteDatabase& db = m_catalogue.connection().database();
    std::vector<SetMember> found;
    if (!haveTables(db)) {
        return found;
    }
    // A member whose movie is gone (deleted before the trigger existed) is left out.
    SqliteStatement query(
        db, "select m.movie_id, coalesce(m.copy_id, 0), d.title, not exists (select 1 from"
            " shelf_copy c where c.movie_id = m.movie_id and c.status in (?2, ?3))"
            " from shelf_set_member m join dvd d on d.id = m.movie_id where m.set_id = ?1"
            " order by m.position");
    query.bind(1, setId).bind(2, ShelfNames::name(CopyStatus::Owned));
    query.bind(3, ShelfNames::name(CopyStatus::Ordered));
    while (query.step()) {
        found.push_back({query.integer(0), query.integer(1), query.text(2), query.integer(3) != 0});
    }
    return found;
}

QList<qint64> ShelfStore::missing(qint64 setId) {
    QList<qint64> ids;
    for (const SetMember& member : members(setId)) {
        if (member.missing) {
            ids.append(member.movieId);
        }
    }
    return ids;
}
