#include "core/import/planned_movies.h"

#include "core/formats/utf8_text.h"
#include "core/import/column_map.h"
#include "core/import/copy_values.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"

#include <optional>

namespace {

// The fields travel as the UTF-8 of the packed text, NULs and all.
PlannedMovie plannedAt(const SqliteStatement& stmt) {
    return {fromUtf8KeepingMark(stmt.blob(0)), stmt.integer(1), stmt.integer(2) != 0};
}

} // namespace

DvdRecord PlannedMovie::movie() const {
    return unpackFields(m_fields);
}

// A database with no name: SQLite's private temporary database, removed
// when it is closed. It stays in one open transaction, never committed,
// which keeps the writes cheap.
struct PlannedMovies::Scratch {
    Scratch() : db(open()) {
        db.execute("pragma journal_mode = off");
        // `existing` is the id of the stored movie a look-alike looks like.
        db.execute("create table planned (fields blob, number integer, lookalike integer,"
                   " existing integer)");
        db.execute("begin");
        insert.emplace(db, "insert into planned values (?1, ?2, ?3, ?4)");
    }
    ~Scratch() {
        insert.reset();
        insertCopy.reset();
        insertKey.reset();
        findKey.reset();
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    static SqliteDatabase open() {
        try {
            return {QString(), SqliteDatabase::Access::Scratch};
        } catch (const SqliteFailure& failure) {
            throw Failure(
                QStringLiteral("No scratch space for the import: %1").arg(failure.description()));
        }
    }

    // The copies' table and the look-up of a movie by its fields, made
    // when a file has copies.
    void makeCopies() {
        if (insertCopy) {
            return;
        }
        db.execute("create table planned_copy (movie integer, fields blob)");
        db.execute("create index planned_copy_movie on planned_copy (movie)");
        db.execute("create table planned_key (key blob primary key, movie integer)");
        insertCopy.emplace(db, "insert into planned_copy values (?1, ?2)");
        insertKey.emplace(db, "insert or ignore into planned_key values (?1, ?2)");
        findKey.emplace(db, "select movie from planned_key where key = ?1");
    }

    SqliteDatabase db;
    std::optional<SqliteStatement> insert;
    std::optional<SqliteStatement> insertCopy;
    std::optional<SqliteStatement> insertKey;
    std::optional<SqliteStatement> findKey;
};

PlannedMovies::PlannedMovies() = default;
PlannedMovies::~PlannedMovies() = default;

void PlannedMovies::add(QByteArrayView packedUtf8, qint64 number,
                        std::optional<qint64> lookAlikeOf) {
    if (!m_scratch) {
        m_scratch = std::make_shared<Scratch>();
    }
    SqliteStatement& insert = *m_scratch->insert;
    insert.bindBlobInPlace(1, packedUtf8)
        .bind(2, number)
        .bind(3, qint64(lookAlikeOf ? 1 : 0))
        .bind(4, lookAlikeOf.value_or(0));
    const StatementReset ready(insert);
    insert.step();
    ++m_count;
}

void PlannedMovies::setKey(std::size_t movie, QByteArrayView key) {
    m_scratch->makeCopies();
    SqliteStatement& insert = *m_scratch->insertKey;
    insert.bindBlobInPlace(1, key).bind(2, qint64(movie) + 1);
    const StatementReset ready(insert);
    insert.step();
}

std::optional<std::size_t> PlannedMovies::find(QByteArrayView key) {
    if (!m_scratch) {
        return std::nullopt;
    }
    m_scratch->makeCopies();
    SqliteStatement& find = *m_scratch->findKey;
    find.bindBlobInPlace(1, key);
    const StatementReset ready(find);
    if (!find.step()) {
        return std::nullopt;
    }
    return std::size_t(find.integer(0) - 1);
}

void PlannedMovies::addCopy(std::size_t movie, QByteArrayView packedCopyUtf8) {
    if (movie >= m_count) {
        throw Failure(QStringLiteral("There is no planned movie %1.").arg(movie + 1));
    }
    m_scratch->makeCopies();
    SqliteStatement& insert = *m_scratch->insertCopy;
    insert.bind(1, qint64(movie) + 1).bindBlobInPlace(2, packedCopyUtf8);
    const StatementReset ready(insert);
    insert.step();
    ++m_copies;
}

qint64 PlannedMovies::copyCount(bool skipLookAlikes) const {
    if (m_copies == 0 || !skipLookAlikes) {
        return m_copies;
    }
    SqliteStatement count(m_scratch->db, "select count(*) from planned_copy c join planned p"
                                         " on p.rowid = c.movie where p.lookalike = 0");
    count.step();
    return count.integer(0);
}

void PlannedMovies::forEachWithCopies(
    bool skipLookAlikes,
    const std::function<void(const DvdRecord&, const std::vector<ShelfCopy>&, qint64 storedId)>&
        visit) const {
    if (m_copies == 0) {
        forEach(skipLookAlikes, [&visit](const PlannedMovie& planned) {
            visit(planned.movie(), {}, 0);
            return true;
        });
        return;
    }
    // A look-alike left out comes only for its copies, with the stored
    // movie's id; a movie added comes with 0.
    SqliteStatement read(
        m_scratch->db, "select p.rowid, p.fields, c.rowid, c.fields, p.lookalike * ?1 * p.existing"
                       " from planned p left join planned_copy c on c.movie = p.rowid"
                       " where p.lookalike = 0 or ?1 = 0 or c.rowid is not null"
                       " order by p.rowid, c.rowid");
    read.bind(1, qint64(skipLookAlikes ? 1 : 0));
    qint64 movieRow = 0;
    qint64 storedId = 0;
    DvdRecord movie;
    std::vector<ShelfCopy> copies;
    while (read.step()) {
        if (read.integer(0) != movieRow) {
            if (movieRow != 0) {
                visit(movie, copies, storedId);
            }
            movieRow = read.integer(0);
            storedId = read.integer(4);
            movie = unpackFields(fromUtf8KeepingMark(read.blob(1)));
            copies.clear();
        }
        if (read.integer(2) != 0) { // no copy: a null
            copies.push_back(unpackCopy(fromUtf8KeepingMark(read.blob(3))));
        }
    }
    if (movieRow != 0) {
        visit(movie, copies, storedId);
    }
}

PlannedMovie PlannedMovies::operator[](std::size_t index) const {
    if (index >= m_count) {
        throw Failure(QStringLiteral("There is no planned movie %1.").arg(index + 1));
    }
    // The rows went in one after another into a fresh table: row ids 1, 2, ...
    SqliteStatement read(m_scratch->db, "select fields, number, lookalike from planned "
                                        "where rowid = ?1");
    read.bind(1, qint64(index) + 1);
    if (!read.step()) {
        throw Failure(QStringLiteral("There is no planned movie %1.").arg(index + 1));
    }
    return plannedAt(read);
}

void PlannedMovies::forEach(bool skipLookAlikes,
                            const std::function<bool(const PlannedMovie&)>& visit) const {
    if (!m_scratch) {
        return;
    }
    SqliteStatement read(m_scratch->db, "select fields, number, lookalike from planned "
                                        "where lookalike = 0 or ?1 = 0 order by rowid");
    read.bind(1, qint64(skipLookAlikes ? 1 : 0));
    while (read.step()) {
        if (!visit(plannedAt(read))) {
            return;
        }
    }
}

void PlannedMovies::forEachUtf8(bool skipLookAlikes,
                                const std::function<void(const DvdFieldsUtf8&)>& visit) const {
    if (!m_scratch) {
        return;
    }
    SqliteStatement read(m_scratch->db, "select fields from planned "
                                        "where lookalike = 0 or ?1 = 0 order by rowid");
    read.bind(1, qint64(skipLookAlikes ? 1 : 0));
    DvdFieldsUtf8 fields;
    while (read.step()) {
        // Each field is followed by a NUL, the UTF-8 of the packed text's separator.
        const QByteArrayView packed = read.blobBytes(0);
        qsizetype start = 0;
        for (QByteArrayView& field : fields) {
            const qsizetype end = packed.indexOf('\0', start);
            field = end < 0 ? QByteArrayView() : packed.sliced(start, end - start);
            start = end < 0 ? packed.size() : end + 1;
        }
        visit(fields);
    }
}
