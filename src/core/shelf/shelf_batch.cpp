// ShelfStore: a batch of new movies with their copies, as an import brings them.
#include "core/catalogue/catalogue.h"
#include "core/shelf/shelf_rows.h"
#include "core/shelf/shelf_store.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

#include <optional>

using namespace ShelfRows;

namespace {

// How many movies go in between two progress reports.
constexpr qint64 kProgressEvery = 512;

// Thrown out of the movie source to end a cancelled batch.
struct BatchCancelled {};

} // namespace

bool ShelfStore::addMoviesWithCopies(const MoviesWithCopies& movies,
                                     const std::function<bool(qint64 added)>& progress) {
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    std::optional<SqliteStatement> insert; // prepared with the first copy
    std::optional<SqliteStatement> stored; // prepared with the first movie to join
    // Asked inside the transaction, so a movie deleted a moment ago is seen as gone.
    const auto stillStored = [&](qint64 movieId) {
        if (!stored) {
            stored.emplace(db, "select 1 from dvd where id = ?1");
        }
        stored->bind(1, movieId);
        const StatementReset ready(*stored);
        return stored->step();
    };
    qint64 added = 0;
    try {
        movies([&](const DvdRecord& movie, const std::vector<ShelfCopy>& copies, qint64 storedId) {
            qint64 movieId = storedId;
            if (storedId == 0 || !stillStored(storedId)) {
                movieId = m_catalogue.add(movie);
                if (++added % kProgressEvery == 0 && progress && !progress(added)) {
                    throw BatchCancelled{};
                }
            }
            if (!copies.empty() && !insert) {
                makeTables(db);
                insert.emplace(db, kInsertCopy);
            }
            for (ShelfCopy copy : copies) {
                copy.movieId = movieId;
                bindCopy(*insert, copy);
                const StatementReset ready(*insert);
                insert->step();
            }
        });
        if (progress && !progress(added)) {
            throw BatchCancelled{};
        }
    } catch (const BatchCancelled&) {
        return false; // the transaction rolls back
    }
    insert.reset();
    stored.reset();
    transaction.commit();
    return true;
}
