// ShelfStore: movies that look like one film stored twice.
#include "core/shelf/shelf_store.h"

#include "core/catalogue/catalogue.h"
#include "core/find/fold.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_rows.h"
#include "core/sqlite/sqlite_statement.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>

using namespace ShelfRows;

namespace {

constexpr qsizetype kEan13 = 13;

// One spelling for a product's barcode: a UPC-A as its EAN-13.
QString barcodeKey(const QString& barcode) {
    return barcode.rightJustified(kEan13, QLatin1Char('0'));
}

// The folded title, year and director of a movie, or empty when it lacks
// a year or a director: a title alone never makes a duplicate.
QString lookAlikeKey(const DvdRecord& movie) {
    const QString year = movie.year.trimmed();
    const QString director = movie.director.simplified();
    if (year.isEmpty() || director.isEmpty()) {
        return {};
    }
    return Find::fold(movie.title.simplified()) + QChar(31) + year + QChar(31) +
           Find::fold(director);
}

} // namespace

std::vector<DuplicateGroup> ShelfStore::duplicates() {
    SqliteDatabase& db = m_catalogue.connection().database();
    std::vector<DuplicateGroup> groups;
    if (haveTables(db)) {
        // A box set's own barcode is carried by the copies it holds: those
        // are different films on one shelf, not duplicates.
        QSet<QString> boxes;
        SqliteStatement boxQuery(db, "select barcode from shelf_set where barcode <> ''");
        while (boxQuery.step()) {
            boxes.insert(barcodeKey(boxQuery.text(0)));
        }
        std::map<QString, DuplicateGroup> byBarcode;
        SqliteStatement query(db, "select distinct c.barcode, c.movie_id from shelf_copy c"
                                  " join dvd d on d.id = c.movie_id where c.barcode <> ''"
                                  " order by c.movie_id");
        while (query.step()) {
            const QString key = barcodeKey(query.text(0));
            if (boxes.contains(key)) {
                continue;
            }
            DuplicateGroup& group = byBarcode[key];
            group.barcode = group.barcode.isEmpty() ? query.text(0) : group.barcode;
            if (!group.movieIds.contains(query.integer(1))) {
                group.movieIds.append(query.integer(1));
            }
        }
        for (auto& [key, group] : byBarcode) {
            if (group.movieIds.size() > 1) {
                groups.push_back(std::move(group));
            }
        }
    }
    std::vector<QSet<qint64>> shared;
    shared.reserve(groups.size());
    for (const DuplicateGroup& group : groups) {
        shared.emplace_back(group.movieIds.begin(), group.movieIds.end());
    }

    QHash<QString, qsizetype> groupOfKey;
    std::vector<DuplicateGroup> lookAlikes;
    m_catalogue.forEachMovie([&](const DvdRecord& movie) {
        const QString key = lookAlikeKey(movie);
        if (key.isEmpty()) {
            return;
        }
        auto found = groupOfKey.constFind(key);
        if (found == groupOfKey.constEnd()) {
            found = groupOfKey.insert(key, qsizetype(lookAlikes.size()));
            lookAlikes.push_back({DuplicateGroup::Match::TitleYearDirector, {}, {}});
        }
        lookAlikes.at(std::size_t(*found)).movieIds.append(movie.id.toLongLong());
    });
    for (DuplicateGroup& group : lookAlikes) {
        // Movies a shared barcode has already put together are not named twice.
        const QSet<qint64> ids(group.movieIds.begin(), group.movieIds.end());
        const bool known =
            std::any_of(shared.begin(), shared.end(),
                        [&](const QSet<qint64>& byBarcode) { return byBarcode.contains(ids); });
        if (group.movieIds.size() > 1 && !known) {
            groups.push_back(std::move(group));
        }
    }
    return groups;
}

QList<qint64> ShelfStore::duplicatesOf(const DvdRecord& movie, const QString& barcode) {
    SqliteDatabase& db = m_catalogue.connection().database();
    const qint64 self = movie.id.toLongLong();
    QList<qint64> found;
    if (!barcode.isEmpty() && haveTables(db)) {
        const QStringList spellings = Barcode::spellings(barcode);
        SqliteStatement query(db, "select distinct c.movie_id from shelf_copy c join dvd d"
                                  " on d.id = c.movie_id where c.barcode in (?1, ?2)"
                                  " order by c.movie_id");
        query.bind(1, spellings.constFirst()).bind(2, spellings.constLast());
        while (query.step()) {
            if (query.integer(0) != self) {
                found.append(query.integer(0));
            }
        }
        if (!found.isEmpty()) {
            return found;
        }
    }
    const QString key = lookAlikeKey(movie);
    if (key.isEmpty()) {
        return found;
    }
    const QString year = movie.year.trimmed();
    m_catalogue.forEachMovie([&](const DvdRecord& stored) {
        // The year is compared first: most movies differ there, unfolded.
        if (stored.year.trimmed() == year && stored.id.toLongLong() != self &&
            lookAlikeKey(stored) == key) {
            found.append(stored.id.toLongLong());
        }
    });
    return found;
}

qint64 ShelfStore::countDuplicates(
    const std::function<void(const std::function<void(const DvdRecord&)>&)>& movies) {
    QSet<QString> stored;
    m_catalogue.forEachMovie([&stored](const DvdRecord& movie) {
        const QString key = lookAlikeKey(movie);
        if (!key.isEmpty()) {
            stored.insert(key);
        }
    });
    qint64 count = 0;
    if (stored.isEmpty()) {
        return count;
    }
    movies([&](const DvdRecord& movie) {
        const QString key = lookAlikeKey(movie);
        count += !key.isEmpty() && stored.contains(key) ? 1 : 0;
    });
    return count;
}
