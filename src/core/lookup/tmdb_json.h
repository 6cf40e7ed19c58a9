#pragma once

#include "core/lookup/lookup_types.h"

#include <QJsonDocument>
#include <QString>
#include <optional>

// Reading the TMDb API's answers. Each throws LookupFailure when an answer
// does not have the documented form.
inline const QString kTmdb = QStringLiteral("TMDb");

// The films in a list of an answer ("results" of a search, "movie_results"
// of a find), in the answer's order; with a year, only those released
// within a year of it, that year's first. Each keeps its poster's path.
QList<LookupCandidate> tmdbCandidates(const QJsonDocument& answer, const QString& list,
                                      std::optional<int> year);

// A film's details, with "credits" and "release_dates" appended, in the
// catalogue's fields; the poster's path but not yet its address.
LookupMovie tmdbMovie(const QJsonDocument& details);

// Where the posters are, from the configuration: the secure base address
// and the poster size nearest the one wanted, for the cover ("w342":
// "https://image.tmdb.org/t/p/w342") and for a thumbnail in a list ("w92").
struct TmdbImageBases {
    QString poster;
    QString thumbnail;
};
TmdbImageBases tmdbImageBases(const QJsonDocument& configuration);
