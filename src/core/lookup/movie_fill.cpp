#include "core/lookup/movie_fill.h"

#include "core/catalogue/catalogue.h"
#include "core/lookup/lookup_links.h"
#include "core/report/failure.h"
#include "core/sqlite/write_transaction.h"

namespace {

bool isEmpty(const QString& field) {
    return field.trimmed().isEmpty();
}

} // namespace

MovieFill::MovieFill(Catalogue& catalogue, Today today)
    : m_catalogue(catalogue), m_today(today ? std::move(today) : Today(&QDate::currentDate)) {}

QList<int> MovieFill::filledFields(DvdRecord& movie, const DvdRecord& found, bool overwrite) {
    QList<int> changed;
    for (int index = 0; index < DvdRecord::kFieldCount; ++index) {
        const QString value = found.field(index).trimmed();
        QString& field = movie.field(index);
        // A film without a value never blanks a field, even when overwriting.
        if (value.isEmpty() || field == value || (!overwrite && !isEmpty(field))) {
            continue;
        }
        field = value;
        changed.append(index);
    }
    return changed;
}

bool MovieFill::hasEmptyField(const DvdRecord& movie) {
    for (int index = 0; index < DvdRecord::kFieldCount; ++index) {
        if (isEmpty(movie.field(index))) {
            return true;
        }
    }
    return false;
}

FillChange MovieFill::fill(qint64 movieId, const LookupMovie& found, bool overwrite,
                           const std::optional<Cover>& poster) {
    WriteTransaction transaction(m_catalogue.connection().database());
    std::optional<DvdRecord> movie = m_catalogue.movie(QString::number(movieId));
    if (!movie) {
        throw Failure(kNoSuchMovie.arg(movieId));
    }
    FillChange change;
    change.fields = filledFields(*movie, found, overwrite);
    if (!change.fields.isEmpty() && !m_catalogue.change(*movie)) {
        throw Failure(kNoSuchMovie.arg(movieId));
    }
    LookupLinks(m_catalogue)
        .set({movieId, found.source, found.sourceId, found.imdbId, found.tmdbId, m_today()});
    CoverStore covers(m_catalogue);
    if (poster && !covers.has(movieId)) {
        covers.set(movieId, *poster);
        change.cover = true;
    }
    transaction.commit();
    return change;
}
