#include "core/import/look_alike_keys.h"

#include "core/catalogue/catalogue.h"

#include <QHash>
#include <algorithm>

namespace {

// A title or year as it is compared: without case and without accents, so
// that "Amelie" looks like "AMÉLIE".
QString folded(const QString& text) {
    QString bare = text.normalized(QString::NormalizationForm_D);
    bare.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return bare.toCaseFolded();
}

quint64 keyHash(const QString& foldedTitle, const QString& foldedYear) {
    return quint64(qHashMulti(0, foldedTitle, foldedYear));
}

bool sameKey(const DvdRecord& movie, const QString& foldedTitle, const QString& foldedYear) {
    return folded(movie.title) == foldedTitle && folded(movie.year) == foldedYear;
}

} // namespace

LookAlikeKeys::LookAlikeKeys(const std::vector<DvdRecord>& movies) {
    m_entries.reserve(movies.size());
    for (std::size_t n = 0; n < movies.size(); ++n) {
        add(movies[n], qint64(n));
    }
    sort();
    m_movieAt = [&movies](qint64 place) -> std::optional<DvdRecord> {
        return movies[std::size_t(place)];
    };
}

LookAlikeKeys::LookAlikeKeys(Catalogue& catalogue) {
    // Counted first, so that the keys take their room once and not twice
    // over while a growing table is moved.
    m_entries.reserve(std::size_t(catalogue.count()));
    catalogue.forEachMovie([this](const DvdRecord& movie) {
        bool whole = false;
        const qint64 id = movie.id.toLongLong(&whole);
        add(movie, whole ? id : -1);
    });
    m_entries.shrink_to_fit();
    sort();
    m_movieAt = [&catalogue](qint64 id) { return catalogue.movie(QString::number(id)); };
}

void LookAlikeKeys::add(const DvdRecord& movie, qint64 place) {
    m_entries.push_back({keyHash(folded(movie.title), folded(movie.year)), place});
}

void LookAlikeKeys::sort() {
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
}

bool LookAlikeKeys::contains(const QString& title, const QString& year) const {
    return find(title, year).has_value();
}

std::optional<DvdRecord> LookAlikeKeys::find(const QString& title, const QString& year) const {
    if (m_entries.empty()) {
        return std::nullopt;
    }
    const QString foldedTitle = folded(title);
    const QString foldedYear = folded(year);
    const quint64 hash = keyHash(foldedTitle, foldedYear);
    auto [first, last] =
        std::equal_range(m_entries.begin(), m_entries.end(), Entry{hash, 0},
                         [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    for (auto entry = first; entry != last; ++entry) {
        // A movie that cannot be looked up again (an id that is no whole
        // number) is taken at its hash's word.
        if (entry->place < 0) {
            return DvdRecord{};
        }
        std::optional<DvdRecord> movie = m_movieAt(entry->place);
        if (movie && sameKey(*movie, foldedTitle, foldedYear)) {
            return movie;
        }
    }
    return std::nullopt;
}
