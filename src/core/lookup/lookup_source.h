#pragma once

#include "core/lookup/lookup_reply.h"
#include "core/lookup/response_cache.h"

#include <QObject>
#include <memory>
#include <optional>

// An open film database the catalogue can look a movie up in (Wikidata,
// TMDb). Every call returns at once with a reply that the source
// parents to itself and that finishes later; nothing blocks the caller's
// thread. The caller may delete a reply at any time.
class LookupSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The name the person sees and every failure starts with: "Wikidata".
    virtual QString name() const = 0;
    // Films whose title matches, of the given year give or take one when a
    // year is given; the reply holds candidates.
    virtual LookupReply* search(const QString& title, std::optional<int> year) = 0;
    // One film by its id at this source (a candidate's sourceId); the reply
    // holds the movie.
    virtual LookupReply* fetch(const QString& sourceId) = 0;
    // The films carrying an IMDb id ("tt0034583"); the reply holds candidates.
    virtual LookupReply* findByImdbId(const QString& imdbId) = 0;

    // Where answers are kept between lookups: the program's cache folder
    // unless another cache is given; none keeps and reuses nothing.
    void setCache(std::shared_ptr<ResponseCache> cache) { m_cache = std::move(cache); }
    const std::shared_ptr<ResponseCache>& cache() const { return m_cache; }

    // Whether the candidates of a search or a find carry the address of a
    // thumbnail of their poster, where the source has one (a list that
    // shows them); off, the source asks for nothing more than the films.
    void setThumbnailsWanted(bool wanted) { m_thumbnailsWanted = wanted; }
    bool thumbnailsWanted() const { return m_thumbnailsWanted; }

private:
    bool m_thumbnailsWanted = false;
    std::shared_ptr<ResponseCache> m_cache = ResponseCache::standard();
};
