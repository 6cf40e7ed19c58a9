#pragma once

#include "core/lookup/lookup_types.h"

#include <QHash>
#include <QJsonDocument>
#include <QStringList>
#include <QUrl>

// The entity API's side of the Wikidata source: a film's statements read
// from wbgetentities, then the labels of the items they name.

// The address that asks the API for `ids` with their labels in `languages`
// and, with `claims`, their statements.
QUrl wikidataEntitiesAddress(const QUrl& api, const QStringList& ids, const QStringList& languages,
                             bool claims);

// A film's statements: the fields that are plain values filled in, the
// items that need a label listed in order.
struct WikidataFilm {
    LookupMovie movie;
    QStringList genres;
    QStringList cast; // the first eight, in statement order
    QStringList directors;
    QString rating;
    QString studio;

    // Every item whose label the movie needs, each once.
    QStringList namedItems() const;
    // The movie with the items' labels put in.
    LookupMovie withLabels(const QHash<QString, QString>& labels) const;
};

// Reads the film `id` from a wbgetentities answer; throws LookupFailure
// when the answer is an error, lacks the item or is not shaped as it should be.
WikidataFilm wikidataFilm(const QJsonDocument& answer, const QString& id,
                          const QStringList& languages);

// The label of every entity in a wbgetentities answer, in the first of the
// languages that has one.
QHash<QString, QString> wikidataLabels(const QJsonDocument& answer, const QStringList& languages);
