// Catalogue::addAll: a batch of new movies in one transaction.
#include "core/catalogue/catalogue.h"

#include "core/catalogue/statements.h"
#include "core/formats/utf8_text.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"

#include <vector>

namespace {

// How many movies go in between two progress reports.
constexpr qint64 kProgressEvery = 512;
// Movies given as UTF-8 go in this many to a statement, which spares the
// database the work it does once per statement for all but one of them.
constexpr int kRowsPerInsert = 64;

// Thrown out of the movie source to end a cancelled batch.
struct BatchCancelled {};

void step(SqliteStatement& statement) {
    const StatementReset ready(statement);
    statement.step();
}

// The prepared insert, its values bound straight from the movie's texts.
class BoundInsert {
public:
    explicit BoundInsert(const SqliteDatabase& db) : m_insert(db, Statements::kAddBound.toUtf8()) {}

    // Stores the movie; returns how many movies were stored (one).
    int insert(const DvdRecord& movie) {
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            const QString& value = movie.field(i);
            requireStorableText(value);
            // The text stays alive until the step below; SQLite reads it in place.
            m_insert.bindInPlace(i + 1, value);
        }
        step(m_insert);
        return 1;
    }
    int finish() { return 0; }

private:
    SqliteStatement m_insert;
};

// Valid UTF-8 without a NUL: bytes that can go to the file as they are.
bool storableUtf8(QByteArrayView bytes) {
    for (const char byte : bytes) {
        if (byte == '\0') {
            return false;
        }
        if (static_cast<unsigned char>(byte) >= 0x80) {
            return bytes.isValidUtf8() && !bytes.contains('\0');
        }
    }
    return true;
}

// The insert of movies given as UTF-8: their bytes are gathered and go in
// kRowsPerInsert movies to a statement, the rest one by one at the end.
class Utf8Insert {
public:
    explicit Utf8Insert(const SqliteDatabase& db)
        : m_one(db, Statements::kAddBound.toUtf8()),
          m_many(db, Statements::addBoundRows(kRowsPerInsert).toUtf8()) {}

    // Holds the movie; returns how many movies were stored now.
    int insert(const DvdFieldsUtf8& fields) {
        for (const QByteArrayView field : fields) {
            if (storableUtf8(field)) {
                m_bytes.append(field);
            } else {
                // Decoded and encoded again as a QString would have it; a NUL is refused.
                const QString text = fromUtf8KeepingMark(field);
                requireStorableText(text);
                m_bytes.append(text.toUtf8());
            }
            m_ends.push_back(m_bytes.size());
        }
        if (m_ends.size() < std::size_t(kRowsPerInsert) * DvdRecord::kFieldCount) {
            return 0;
        }
        bindHeld(m_many, 0, kRowsPerInsert);
        step(m_many);
        clear();
        return kRowsPerInsert;
    }

    // Stores the movies still held; returns how many.
    int finish() {
        const int held = int(m_ends.size() / DvdRecord::kFieldCount);
        for (int row = 0; row < held; ++row) {
            bindHeld(m_one, row, 1);
            step(m_one);
        }
        clear();
        return held;
    }

private:
    // Binds `rows` held movies from `first` on, in place: the bytes stay
    // unchanged until the statement has run.
    void bindHeld(SqliteStatement& statement, int first, int rows) {
        const char* bytes = m_bytes.constData();
        for (int value = 0; value < rows * DvdRecord::kFieldCount; ++value) {
            const auto at = (std::size_t(first) * DvdRecord::kFieldCount) + std::size_t(value);
            const qsizetype start = at == 0 ? 0 : m_ends[at - 1];
            statement.bindUtf8InPlace(value + 1, QByteArrayView(bytes + start, m_ends[at] - start));
        }
    }
    void clear() {
        m_bytes.resize(0);
        m_ends.clear();
    }

    SqliteStatement m_one;
    SqliteStatement m_many;
    QByteArray m_bytes;            // the held movies' fields, one after another
    std::vector<qsizetype> m_ends; // where each held field ends in m_bytes
};

// Runs `feed(insert, stored)` in one transaction; `feed` calls `stored`
// with how many movies each insert stored. False when `progress` cancelled:
// then, as after a failure, nothing was stored.
template <typename Insert, typename Feed>
bool storeBatch(Connection& connection, const Catalogue::BatchProgress& progress,
                const Feed& feed) {
    // Taking the write lock first makes a catalogue that another program
    // holds fail before anything is added.
    connection.execute(QStringLiteral("begin immediate"));
    try {
        {
            Insert insert(connection.database());
            qint64 added = 0;
            const auto stored = [&](int count) {
                for (; count > 0; --count) {
                    if (++added % kProgressEvery == 0 && progress && !progress(added)) {
                        throw BatchCancelled{};
                    }
                }
            };
            feed(insert, stored);
            stored(insert.finish());
            if (progress && !progress(added)) {
                throw BatchCancelled{};
            }
        }
        connection.execute(QStringLiteral("commit"));
    } catch (...) {
        // Nothing of the batch stays, not even in a journal a failed commit left.
        connection.settle();
        try {
            throw;
        } catch (const BatchCancelled&) {
            return false;
        }
    }
    return true;
}

} // namespace

bool Catalogue::addAll(const MovieSource& movies, const BatchProgress& progress) {
    return storeBatch<BoundInsert>(
        m_connection, progress, [&movies](BoundInsert& insert, const auto& stored) {
            movies([&](const DvdRecord& movie) { stored(insert.insert(movie)); });
        });
}

bool Catalogue::addAllUtf8(const Utf8MovieSource& movies, const BatchProgress& progress) {
    return storeBatch<Utf8Insert>(
        m_connection, progress, [&movies](Utf8Insert& insert, const auto& stored) {
            movies([&](const DvdFieldsUtf8& fields) { stored(insert.insert(fields)); });
        });
}
