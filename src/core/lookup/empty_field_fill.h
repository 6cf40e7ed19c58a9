#pragma once

#include "core/covers/cover_store.h"
#include "core/lookup/lookup_types.h"
#include "core/lookup/movie_fill.h"
#include "core/lookup/network_rules.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>
#include <optional>

class Catalogue;
class LookupReply;
class LookupSource;

// Fills many stored movies from one film database, without blocking the
// thread: for each movie, a search by its title (and year), the candidates
// ranked with its year and director, and when the best one is clear its
// film fetched and its fields filled (MovieFill, one transaction a movie).
// A movie without a match or with an unclear one is left alone and listed.
// A few movies are looked up at a time. Cancelling keeps what was filled;
// a failure of the source stops the run the same way.
class EmptyFieldFill : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool overwrite = false; // fill every field the film has, not only empty ones
        bool cover = true;      // the poster becomes the cover of a movie that has none
        bool relink = false;    // look up movies already linked to a film too
        int inFlight = 2;       // movies looked up at a time
    };
    // Why a movie was left alone.
    enum class Left { NoMatch, Unclear };
    struct LeftAlone {
        qint64 id = 0;
        QString title;
        Left why = Left::NoMatch;
        QList<LookupCandidate> candidates; // ranked, for an unclear match
    };
    // Makes a cover of a downloaded poster (scaled as the program stores
    // covers); throws a Failure when it cannot be one.
    using PosterToCover = std::function<Cover(const QByteArray& bytes)>;

    EmptyFieldFill(Catalogue& catalogue, LookupSource& source, Options options,
                   QObject* parent = nullptr);
    ~EmptyFieldFill() override;

    // By default a poster is stored as it came when it fits a cover.
    void setPosterToCover(PosterToCover convert) { m_posterToCover = std::move(convert); }
    void setToday(MovieFill::Today today) { m_today = std::move(today); }
    void setNetworkLimits(const NetworkLimits& limits) { m_limits = limits; }

    // Starts on these movies, in this order; finished() follows, also for none.
    void start(const QList<qint64>& movieIds);
    // Stops: movies filled stay filled; finished() follows.
    void cancel();

    int total() const { return int(m_ids.size()); }
    int done() const { return m_done; }
    int filled() const { return m_filled; }
    // Movies that needed nothing: already linked, or no field empty.
    int skipped() const { return m_skipped; }
    const QList<LeftAlone>& leftAlone() const { return m_leftAlone; }
    int count(Left why) const;
    bool isCancelled() const { return m_cancelled; }
    bool isFinished() const { return m_finished; }
    // Set when a lookup failed and stopped the run.
    const std::optional<Failure>& failure() const { return m_failure; }

signals:
    // After each movie handled.
    void progress(int done, int total);
    void finished();

private:
    struct Job;

    void startNext();
    void search(Job* job);
    void fetch(Job* job, const LookupCandidate& best);
    void downloadPoster(Job* job, const LookupMovie& movie);
    void store(Job* job, const LookupMovie& movie, const std::optional<Cover>& poster);
    void handled(Job* job);
    void stop(std::optional<Failure> failure);
    // Watches a reply of the job: `then` runs when it succeeds.
    void watch(Job* job, LookupReply* reply, std::function<void(LookupReply*)> then);

    Catalogue& m_catalogue;
    LookupSource& m_source;
    Options m_options;
    MovieFill::Today m_today;
    PosterToCover m_posterToCover;
    NetworkLimits m_limits;
    QNetworkAccessManager m_network;
    QList<qint64> m_ids;
    QSet<qint64> m_linked;
    qsizetype m_next = 0;
    QList<Job*> m_running;
    int m_done = 0;
    int m_filled = 0;
    int m_skipped = 0;
    QList<LeftAlone> m_leftAlone;
    bool m_cancelled = false;
    bool m_finished = false;
    std::optional<Failure> m_failure;
};
