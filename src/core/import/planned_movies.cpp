#include "core/import/planned_movies.h"

#include "core/formats/utf8_text.h"
#include "core/import/column_map.h"
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
        db.execute("create table planned (fields blob, number integer, lookalike integer)");
        db.execute("begin");
        insert.emplace(db, "insert into planned values (?1, ?2, ?3)");
    }
    ~Scratch() { insert.reset(); }
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

    SqliteDatabase db;
    std::optional<SqliteStatement> insert;
};

PlannedMovies::PlannedMovies() = default;
PlannedMovies::~PlannedMovies() = default;

void PlannedMovies::add(QByteArrayView packedUtf8, qint64 number, bool looksLikeExisting) {
    if (!m_scratch) {
        m_scratch = std::make_shared<Scratch>();
    }
    SqliteStatement& insert = *m_scratch->insert;
    insert.bindBlobInPlace(1, packedUtf8)
        .bind(2, number)
        .bind(3, qint64(looksLikeExisting ? 1 : 0));
    try {
        insert.step();
    } catch (...) {
        insert.reset();
        throw;
    }
    insert.reset();
    ++m_count;
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
