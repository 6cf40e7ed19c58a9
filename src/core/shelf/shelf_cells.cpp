// ShelfStore: the movie list's cells of the shelf's columns, each read with
// only the field it shows and grouped per movie as the rows come.
#include "core/shelf/shelf_store.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/connection.h"
#include "core/shelf/shelf_rows.h"
#include "core/sqlite/sqlite_statement.h"

#include <QSet>
#include <algorithm>
#include <vector>

using namespace ShelfRows;

namespace {

const QString kBetween = QStringLiteral(", ");

// What a stored text shows in a cell; empty for nothing.
using Shown = QString (*)(const QString& stored);

QString trimmed(const QString& stored) {
    return stored.trimmed();
}

QString asStored(const QString& stored) {
    return stored;
}

QString formatName(const QString& stored) {
    return ShelfNames::name(ShelfNames::format(stored).value_or(CopyFormat::Other));
}

QString statusName(const QString& stored) {
    return ShelfNames::name(ShelfNames::status(stored).value_or(CopyStatus::Owned));
}

// Gathers per movie the different texts of its rows, in the order they
// come, straight into the cells: a movie's first text is its cell, its
// later ones are put aside and joined on once all are read. The first
// distinct stored texts (all of them for formats, statuses and the usual
// shelves) are decoded once, and equal cells share one string while the
// texts repeat.
class CellGatherer {
public:
    // `rows` is about how many rows will come.
    CellGatherer(Shown shown, Qt::CaseSensitivity sameness, qint64 rows)
        : m_shown(shown), m_same(sameness) {
        m_cells.reserve(rows);
    }

    void add(qint64 movie, QByteArrayView stored) {
        QString text = shownText(stored);
        if (text.isEmpty()) {
            return;
        }
        QString& cell = m_cells[movie];
        if (cell.isNull()) {
            cell = std::move(text);
        } else {
            m_later.push_back({movie, std::move(text)});
        }
    }

    QHash<qint64, QString> cells() && {
        // Each movie's later texts together, still in the order they came.
        std::stable_sort(m_later.begin(), m_later.end(),
                         [](const Later& a, const Later& b) { return a.movie < b.movie; });
        const bool repeating = m_known.size() < kKnownTexts;
        std::vector<const QString*> parts;
        for (auto from = m_later.cbegin(); from != m_later.cend();) {
            const auto to =
                std::find_if(from, m_later.cend(),
                             [movie = from->movie](const Later& l) { return l.movie != movie; });
            QString& cell = m_cells[from->movie];
            parts = {&cell};
            qsizetype size = cell.size();
            for (auto later = from; later != to; ++later) {
                const auto same = [&](const QString* part) {
                    return part->compare(later->text, m_same) == 0;
                };
                if (std::none_of(parts.cbegin(), parts.cend(), same)) {
                    parts.push_back(&later->text);
                    size += kBetween.size() + later->text.size();
                }
            }
            from = to;
            if (parts.size() == 1) {
                continue;
            }
            QString text;
            text.reserve(size);
            for (const QString* part : parts) {
                if (!text.isEmpty()) {
                    text += kBetween;
                }
                text += *part;
            }
            cell = repeating ? *m_texts.insert(text) : text;
        }
        return std::move(m_cells);
    }

private:
    struct Later {
        qint64 movie = 0;
        QString text;
    };

    // How many distinct stored texts are remembered: beyond them (barcodes,
    // mostly) a text is decoded as it comes.
    static constexpr qsizetype kKnownTexts = 1024;

    QString shownText(QByteArrayView stored) {
        // Looked up in place; only a text remembered is copied.
        const QByteArray key = QByteArray::fromRawData(stored.data(), stored.size());
        if (const auto known = m_known.constFind(key); known != m_known.cend()) {
            return known.value();
        }
        QString text = m_shown(QString::fromUtf8(stored));
        if (m_known.size() < kKnownTexts) {
            text = *m_texts.insert(text); // "dvd" and "DVD" read as one
            m_known.insert(QByteArray(stored.data(), stored.size()), text);
        }
        return text;
    }

    Shown m_shown;
    Qt::CaseSensitivity m_same;
    QHash<QByteArray, QString> m_known; // stored text to shown text
    QSet<QString> m_texts;              // one string per distinct cell text
    QHash<qint64, QString> m_cells;
    std::vector<Later> m_later;
};

// The cells of the movie id and text in the rows of `statement`, about as
// many as `count` says.
QHash<qint64, QString> gather(const SqliteDatabase& db, const char* count, const char* statement,
                              Shown shown, Qt::CaseSensitivity sameness) {
    SqliteStatement rows(db, count);
    rows.step();
    CellGatherer gatherer(shown, sameness, rows.integer(0));
    SqliteStatement query(db, statement);
    while (query.step()) {
        gatherer.add(query.integer(0), query.utf8(1));
    }
    return std::move(gatherer).cells();
}

} // namespace

QHash<qint64, QString> ShelfStore::copyCells(CopyCellField field) {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    struct Read {
        const char* statement;
        Shown shown;
    };
    // In table order, the order the copies were added; a copy whose movie
    // is gone gives a cell no movie of the list asks for.
    static const Read reads[] = {
        {"select movie_id, format from shelf_copy order by id", formatName},
        {"select movie_id, location from shelf_copy order by id", trimmed},
        {"select movie_id, status from shelf_copy order by id", statusName},
        {"select movie_id, barcode from shelf_copy order by id", trimmed},
    };
    const Read& read = reads[static_cast<std::size_t>(field)];
    return gather(db, "select count(*) from shelf_copy", read.statement, read.shown,
                  Qt::CaseInsensitive);
}

QHash<qint64, QString> ShelfStore::copyCountCells() {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    SqliteStatement rows(db, "select count(*) from shelf_copy");
    rows.step();
    QHash<qint64, QString> cells;
    cells.reserve(rows.integer(0));
    std::vector<QString> numbers; // shared by the movies with as many copies
    const auto add = [&](qint64 movie, std::size_t count) {
        if (count >= numbers.size()) {
            numbers.resize(count + 1);
        }
        if (numbers[count].isNull()) {
            numbers[count] = QString::number(count);
        }
        cells.insert(movie, numbers[count]);
    };
    // In the index of the copies' movies, each movie's copies one after
    // the other: counted as they come.
    SqliteStatement query(db, "select movie_id from shelf_copy order by movie_id");
    qint64 movie = 0;
    std::size_t count = 0;
    while (query.step()) {
        const qint64 next = query.integer(0);
        if (count > 0 && next != movie) {
            add(movie, count);
            count = 0;
        }
        movie = next;
        ++count;
    }
    if (count > 0) {
        add(movie, count);
    }
    return cells;
}

QHash<qint64, QString> ShelfStore::setCells() {
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    return gather(db, "select count(*) from shelf_set_member",
                  "select m.movie_id, s.name from shelf_set s"
                  " join shelf_set_member m on m.set_id = s.id order by s.name, s.id",
                  asStored, Qt::CaseSensitive);
}
