#pragma once

#include "core/catalogue/dvd_record.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Catalogue;

// The titles and years (ignoring case and accents) of the movies already in the
// catalogue, for telling which movies of a file look like one of them.
// Kept compact: a 64-bit hash of each key beside its movie's id, sixteen
// bytes a movie, sorted. A hash that matches is confirmed against the movie
// itself, so two keys that happen to share a hash are never taken for each
// other.
class LookAlikeKeys {
public:
    // The movies in memory; they must outlive the keys.
    explicit LookAlikeKeys(const std::vector<DvdRecord>& movies);
    // The movies of the catalogue, read once as they stream by; the
    // catalogue must stay open while the keys are used.
    explicit LookAlikeKeys(Catalogue& catalogue);

    bool isEmpty() const { return m_entries.empty(); }
    // True when a movie has the same title and year, ignoring case and accents.
    bool contains(const QString& title, const QString& year) const;
    // The movie with the same title and year, as above, or none. A
    // movie that cannot be looked up again comes back with no title.
    std::optional<DvdRecord> find(const QString& title, const QString& year) const;

private:
    struct Entry {
        quint64 hash;
        qint64 place; // the movie's index or id; -1 when it cannot be looked up
    };
    // The movie at a place, to confirm a matching hash.
    using MovieAt = std::function<std::optional<DvdRecord>(qint64 place)>;

    void add(const DvdRecord& movie, qint64 place);
    void sort();

    std::vector<Entry> m_entries;
    MovieAt m_movieAt;
};
