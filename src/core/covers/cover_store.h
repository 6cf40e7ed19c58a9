#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>

class Catalogue;

// A movie's cover as stored: the encoded image exactly as it will be shown,
// its size in pixels and its format ("jpeg" or "png").
struct Cover {
    QByteArray bytes;
    int width = 0;
    int height = 0;
    QString format;
};

// The covers of a catalogue's movies, kept in the catalogue file beside the
// movies in a table of their own. The table (and the trigger that removes a
// movie's cover with its movie) is made when the first cover is stored, so a
// catalogue without covers stays exactly as the template made it. Movie ids
// are never reused, so a cover can never attach to another movie.
//
// Every operation fails with a description (a Failure) when the database
// refuses it; a change either happens whole or not at all.
// What a cover command says of an id no movie has.
inline const QString kNoSuchMovie = QStringLiteral("There is no movie with the id %1.");

class CoverStore {
public:
    explicit CoverStore(Catalogue& catalogue) : m_catalogue(catalogue) {}

    // Stores (or replaces) the cover of the movie with that id. Fails when no
    // movie has the id; then nothing was stored.
    void set(qint64 id, const Cover& cover);
    // The cover of that movie; none when it has none.
    std::optional<Cover> get(qint64 id);
    // Removes the cover of that movie; false when it had none.
    bool remove(qint64 id);
    bool has(qint64 id);
    // The ids of the movies that have a cover, without reading any image.
    // A cover whose movie no longer exists is left out.
    QSet<qint64> ids();

    // True when the catalogue has a cover table at all.
    bool hasTable();

private:
    Catalogue& m_catalogue;
};

// An id as the list shows it ("12") as a number; fails for anything else.
qint64 coverId(const QString& id);
