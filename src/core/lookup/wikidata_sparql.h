#pragma once

#include "core/lookup/lookup_types.h"

#include <QJsonDocument>
#include <QStringList>
#include <optional>

// The query service's side of the Wikidata source: the SPARQL texts that
// find films, and the candidates read from their JSON results.

// Items whose label or alias in one of the languages matches the title (the
// search service's matching: case-insensitive, prefixes too), best first.
QString wikidataSearchQuery(const QString& title, const QStringList& languages);
// The items carrying this IMDb id (P345).
QString wikidataImdbQuery(const QString& imdbId, const QStringList& languages);

// The films among the results of either query, best first: exact matches of
// `title` (ignoring case) before others, then in the search's order. With a
// year, only films first released within a year of it.
QList<LookupCandidate> wikidataCandidates(const QJsonDocument& results, const QString& title,
                                          std::optional<int> year);
