#pragma once

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class Catalogue;

// What ties a stored movie to a film in one film database: the film's id
// there, its IMDb and TMDb ids where known, and the day it was fetched.
struct LookupLink {
    qint64 movieId = 0;
    QString source;   // the source's name, "Wikidata"
    QString sourceId; // "Q132689"
    QString imdbId;
    QString tmdbId;
    QDate fetched;
};

// The movies' links to the film databases, kept in the catalogue file beside
// the movies. The table (and the trigger that removes a movie's links with
// it) is made with the first link, in the same transaction, so a catalogue
// never looked up stays exactly as the template made it. Every operation
// fails with a description (a Failure) when the database refuses it.
class LookupLinks {
public:
    explicit LookupLinks(Catalogue& catalogue) : m_catalogue(catalogue) {}

    // Stores (or replaces) the movie's link to that source. Fails when no
    // movie has the id; then nothing was stored. Joins a transaction the
    // caller holds, so a fill stores fields, link and cover together.
    void set(const LookupLink& link);
    // The movie's links, one per source it was filled from.
    QList<LookupLink> of(qint64 movieId);
    // The movies that have a link to any source.
    QSet<qint64> linkedIds();
    // The names of the sources each linked movie was filled from, in one
    // read, by movie id; each movie's names in alphabetical order.
    QHash<qint64, QStringList> sourcesByMovie();
    bool hasTable();

private:
    Catalogue& m_catalogue;
};
