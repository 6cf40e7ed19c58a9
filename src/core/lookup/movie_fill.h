#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/covers/cover_store.h"
#include "core/lookup/lookup_types.h"

#include <QDate>
#include <QList>
#include <functional>
#include <optional>

class Catalogue;

// What a fill changed: the fields (0 = title ... 7 = studio, as
// DvdRecord::field counts them) and whether the poster became the cover.
struct FillChange {
    QList<int> fields;
    bool cover = false;
};

// Fills a stored movie from a film a source described. Everything happens
// in one write transaction: the movie is read as stored at that moment
// (never as a list showed it earlier, so no change made since is lost), its
// empty fields are filled (every field the film has a value for when asked
// to overwrite; otherwise a field holding text is never changed), the movie
// is stored through the catalogue, its link to the film is stored, and the
// poster becomes its cover when it has none. A failure changes nothing.
class MovieFill {
public:
    // Today's date, for the link; tests set it.
    using Today = std::function<QDate()>;

    explicit MovieFill(Catalogue& catalogue, Today today = {});

    FillChange fill(qint64 movieId, const LookupMovie& found, bool overwrite,
                    const std::optional<Cover>& poster = std::nullopt);

    // Puts the found values into `movie` as a fill does; returns the fields changed.
    static QList<int> filledFields(DvdRecord& movie, const DvdRecord& found, bool overwrite);
    // Whether a field of the movie is empty (blanks count as empty).
    static bool hasEmptyField(const DvdRecord& movie);

private:
    Catalogue& m_catalogue;
    Today m_today;
};
