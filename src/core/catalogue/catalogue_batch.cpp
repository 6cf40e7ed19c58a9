// Catalogue::addAll: a batch of new movies in one transaction.
#include "core/catalogue/catalogue.h"

#include "core/catalogue/statements.h"
#include "core/report/failure.h"

#include <sqlite3.h>

namespace {

// How many movies go in between two progress reports.
constexpr qint64 kProgressEvery = 512;

// Thrown out of the movie source to end a cancelled batch.
struct BatchCancelled {};

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// The prepared insert, its values bound straight from the movie's texts.
class BoundInsert {
public:
    explicit BoundInsert(sqlite3* db) : m_db(db) {
        const QByteArray text = Statements::kAddBound.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) !=
            SQLITE_OK) {
            throw Failure(sqliteMessage(db));
        }
    }
    ~BoundInsert() { sqlite3_finalize(m_stmt); }
    BoundInsert(const BoundInsert&) = delete;
    BoundInsert& operator=(const BoundInsert&) = delete;

    void insert(const DvdRecord& movie) {
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            const QString& value = movie.field(i);
            requireStorableText(value);
            // The text stays alive until the step below; SQLite reads it in place.
            sqlite3_bind_text16(m_stmt, i + 1, value.utf16(), int(value.size() * 2), SQLITE_STATIC);
        }
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE) {
            throw Failure(sqliteMessage(m_db));
        }
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace

bool Catalogue::addAll(const MovieSource& movies, const BatchProgress& progress) {
    // Taking the write lock first makes a catalogue that another program
    // holds fail before anything is added.
    m_connection.execute(QStringLiteral("begin immediate"));
    try {
        {
            BoundInsert insert(m_connection.handle());
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
        try {
            m_connection.execute(QStringLiteral("rollback"));
        } catch (const Failure&) {
            // SQLite has already rolled back what a failed statement began.
        }
        try {
            throw;
        } catch (const BatchCancelled&) {
            return false;
        }
    }
    return true;
}
