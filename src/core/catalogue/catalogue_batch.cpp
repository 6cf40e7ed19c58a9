// Catalogue::addAll: a batch of new movies in one transaction.
#include "core/catalogue/catalogue.h"

#include "core/catalogue/statements.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"

namespace {

// How many movies go in between two progress reports.
constexpr qint64 kProgressEvery = 512;

// Thrown out of the movie source to end a cancelled batch.
struct BatchCancelled {};

// The prepared insert, its values bound straight from the movie's texts.
class BoundInsert {
public:
    explicit BoundInsert(const SqliteDatabase& db) : m_insert(db, Statements::kAddBound.toUtf8()) {}

    void insert(const DvdRecord& movie) {
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            const QString& value = movie.field(i);
            requireStorableText(value);
            // The text stays alive until the step below; SQLite reads it in place.
            m_insert.bindInPlace(i + 1, value);
        }
        try {
            m_insert.step();
        } catch (...) {
            m_insert.reset();
            throw;
        }
        m_insert.reset();
    }

private:
    SqliteStatement m_insert;
};

} // namespace

bool Catalogue::addAll(const MovieSource& movies, const BatchProgress& progress) {
    // Taking the write lock first makes a catalogue that another program
    // holds fail before anything is added.
    m_connection.execute(QStringLiteral("begin immediate"));
    try {
        {
            BoundInsert insert(m_connection.database());
            qint64 added = 0;
            movies([&](const DvdRecord& movie) {
                insert.insert(movie);
                if (++added % kProgressEvery == 0 && progress && !progress(added)) {
                    throw BatchCancelled{};
                }
            });
            if (progress && !progress(added)) {
                throw BatchCancelled{};
            }
        }
        m_connection.execute(QStringLiteral("commit"));
    } catch (...) {
        // Nothing of the batch stays, not even in a journal a failed commit left.
        m_connection.settle();
        try {
            throw;
        } catch (const BatchCancelled&) {
            return false;
        }
    }
    return true;
}
