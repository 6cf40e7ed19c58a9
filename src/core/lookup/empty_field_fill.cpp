#include "core/lookup/empty_field_fill.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_limits.h"
#include "core/covers/image_header.h"
#include "core/lookup/candidate_ranking.h"
#include "core/lookup/lookup_links.h"
#include "core/lookup/lookup_source.h"
#include "core/lookup/poster_request.h"

#include <QUrl>
#include <algorithm>
#include <utility>

namespace {

const QString kPosterTooLarge = QStringLiteral("the poster is larger than a cover may be");

// A poster stored as it came, when it fits a cover as it is.
Cover posterAsItCame(const QByteArray& bytes) {
    const std::optional<ImageHeader> header = readImageHeader(bytes);
    if (!header ||
        !CoverLimits::keptAsGiven(header->format, header->width, header->height, bytes.size())) {
        throw Failure(kPosterTooLarge);
    }
    return {bytes, header->width, header->height, header->format};
}

std::optional<int> yearOf(const QString& year) {
    bool number = false;
    const int value = year.trimmed().toInt(&number);
    return number && value > 0 && value <= 9999 ? std::optional<int>(value) : std::nullopt;
}

} // namespace

// One movie being looked up.
struct EmptyFieldFill::Job {
    qint64 id = 0;
    DvdRecord movie; // as stored when its lookup began
    QPointer<LookupReply> reply;
};

EmptyFieldFill::EmptyFieldFill(Catalogue& catalogue, LookupSource& source, Options options,
                               QObject* parent)
    : QObject(parent), m_catalogue(catalogue), m_source(source), m_options(options),
      m_posterToCover(&posterAsItCame) {}

EmptyFieldFill::~EmptyFieldFill() {
    for (Job* job : std::as_const(m_running)) {
        if (job->reply) {
            job->reply->disconnect(this);
            job->reply->abort();
            job->reply->deleteLater();
        }
        delete job;
    }
}

int EmptyFieldFill::count(Left why) const {
    return int(std::count_if(m_leftAlone.cbegin(), m_leftAlone.cend(),
                             [why](const LeftAlone& movie) { return movie.why == why; }));
}

void EmptyFieldFill::start(const QList<qint64>& movieIds) {
    m_ids = movieIds;
    try {
        if (!m_options.relink) {
            m_linked = LookupLinks(m_catalogue).linkedIds();
        }
    } catch (const Failure& failure) {
        m_failure = failure;
        m_next = m_ids.size();
    }
    // Later, so that a run of no movies still finishes after this call.
    QMetaObject::invokeMethod(this, &EmptyFieldFill::startNext, Qt::QueuedConnection);
}

void EmptyFieldFill::cancel() {
    if (!m_finished) {
        m_cancelled = true;
        stop(std::nullopt);
    }
}

void EmptyFieldFill::startNext() {
    while (!m_finished && m_running.size() < std::max(1, m_options.inFlight) &&
           m_next < m_ids.size()) {
        const qint64 id = m_ids.at(m_next++);
        std::optional<DvdRecord> movie;
        try {
            movie = m_catalogue.movie(QString::number(id));
        } catch (const Failure& failure) {
            return stop(failure);
        }
        // A movie removed since, linked already or without an empty field needs nothing.
        if (!movie || m_linked.contains(id) ||
            (!m_options.overwrite && !MovieFill::hasEmptyField(*movie))) {
            ++m_skipped;
            ++m_done;
            emit progress(m_done, total());
            continue;
        }
        auto* job = new Job{id, *movie, {}};
        m_running.append(job);
        if (movie->title.trimmed().isEmpty()) {
            m_leftAlone.append({id, {}, Left::NoMatch, {}});
            handled(job);
            return; // handled() started the next ones
        }
        search(job);
    }
    if (!m_finished && m_running.isEmpty() && m_next >= m_ids.size()) {
        stop(m_failure);
    }
}

void EmptyFieldFill::watch(Job* job, LookupReply* reply, std::function<void(LookupReply*)> then) {
    job->reply = reply;
    connect(reply, &LookupReply::finished, this, [this, job, reply, then = std::move(then)] {
        reply->deleteLater();
        if (m_finished) {
            return; // the job went with the run
        }
        job->reply = nullptr;
        if (reply->failure()) {
            return stop(*reply->failure());
        }
        then(reply);
    });
}

void EmptyFieldFill::search(Job* job) {
    const WantedFilm wanted{job->movie.title.trimmed(), yearOf(job->movie.year),
                            job->movie.director.trimmed()};
    watch(job, m_source.search(wanted.title, wanted.year), [this, job, wanted](LookupReply* reply) {
        const QList<LookupCandidate> ranked = CandidateRanking::rank(reply->candidates(), wanted);
        if (ranked.isEmpty() || !CandidateRanking::isClear(ranked)) {
            m_leftAlone.append({job->id, job->movie.title,
                                ranked.isEmpty() ? Left::NoMatch : Left::Unclear, ranked});
            return handled(job);
        }
        fetch(job, ranked.constFirst());
    });
}

void EmptyFieldFill::fetch(Job* job, const LookupCandidate& best) {
    watch(job, m_source.fetch(best.sourceId), [this, job](LookupReply* reply) {
        const LookupMovie& movie = *reply->movie();
        if (m_options.cover && !movie.posterUrl.isEmpty() &&
            !CoverStore(m_catalogue).has(job->id)) {
            return downloadPoster(job, movie);
        }
        store(job, movie, std::nullopt);
    });
}

void EmptyFieldFill::downloadPoster(Job* job, const LookupMovie& movie) {
    PosterReply* poster =
        PosterRequest::get(m_network, m_limits, QUrl(movie.posterUrl), m_source.name(), this);
    watch(job, poster, [this, job, poster, movie](LookupReply* /*finished*/) {
        std::optional<Cover> cover;
        try {
            cover = m_posterToCover(poster->bytes());
        } catch (const Failure& failure) {
            return stop(LookupFailure(m_source.name(), failure.description()));
        }
        store(job, movie, cover);
    });
}

void EmptyFieldFill::store(Job* job, const LookupMovie& movie, const std::optional<Cover>& poster) {
    try {
        MovieFill(m_catalogue, m_today).fill(job->id, movie, m_options.overwrite, poster);
    } catch (const Failure& failure) {
        return stop(failure);
    }
    ++m_filled;
    handled(job);
}

void EmptyFieldFill::handled(Job* job) {
    m_running.removeOne(job);
    delete job;
    ++m_done;
    emit progress(m_done, total());
    startNext();
}

void EmptyFieldFill::stop(std::optional<Failure> failure) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_failure = std::move(failure);
    const QList<Job*> running = std::exchange(m_running, {});
    for (Job* job : running) {
        if (job->reply) {
            job->reply->abort(); // its finished() finds the run over
        }
        delete job;
    }
    emit finished();
}
