#include "core/lookup/tmdb_source.h"

#include "core/lookup/tmdb_json.h"

#include <QRegularExpression>
#include <QUrlQuery>
#include <algorithm>

namespace {

constexpr char kAddressVariable[] = "REELKEEPER_TMDB_URL";
constexpr char kKeyVariable[] = "REELKEEPER_TMDB_KEY";
constexpr char kPublicAddress[] = "https://api.themoviedb.org/3";
// The service allows about 40 requests in 10 seconds.
constexpr int kPoliteSpacingMs = 250;
const QString kNoKey =
    QStringLiteral("no API key: set REELKEEPER_TMDB_KEY or enter a key in the settings");
const QString kKeyRefused = QStringLiteral("the API key was refused (401)");
const QString kNoTitle = QStringLiteral("there is no title to search for");
const QString kNotAnId = QStringLiteral("\"%1\" is not a TMDb movie id");
const QString kNotImdb = QStringLiteral("\"%1\" is not an IMDb id");

// A v4 read-access token is a JSON web token; a v3 key is 32 hex digits.
bool isToken(const QString& key) {
    return key.startsWith(QLatin1String("eyJ"));
}

bool isTmdbId(const QString& id) {
    static const QRegularExpression pattern(QStringLiteral("^[1-9][0-9]{0,11}$"));
    return pattern.match(id).hasMatch();
}

} // namespace

TmdbSource::TmdbSource(const NetworkLimits& limits, const QString& language, QObject* parent)
    : TmdbSource(serviceAddress(kAddressVariable, kPublicAddress),
                 qEnvironmentVariable(kKeyVariable), limits, language, parent) {}

TmdbSource::TmdbSource(const QUrl& address, const QString& key, const NetworkLimits& limits,
                       const QString& language, QObject* parent)
    : LookupSource(parent), m_limits(limits), m_base(address), m_key(key.trimmed()),
      m_language(language.trimmed()),
      m_gate(new RequestGate(limits.maxInFlight, spacingFor(limits, address, kPoliteSpacingMs),
                             this)) {}

std::unique_ptr<TmdbSource> TmdbSource::configured(const QString& address, const QString& key,
                                                   const NetworkLimits& limits,
                                                   const QString& language) {
    const QString keyFromEnvironment = qEnvironmentVariable(kKeyVariable);
    return std::make_unique<TmdbSource>(serviceAddress(kAddressVariable, kPublicAddress, address),
                                        keyFromEnvironment.isEmpty() ? key : keyFromEnvironment,
                                        limits, language);
}

QString TmdbSource::name() const {
    return kTmdb;
}

LookupReply* TmdbSource::newReply() {
    auto* reply = new LookupReply(kTmdb, this);
    if (m_key.isEmpty()) {
        reply->fail(kNoKey);
    }
    return reply;
}

QUrl TmdbSource::address(const QString& path, QList<std::pair<QString, QString>> parameters) const {
    QUrl url = m_base;
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/'))) {
        basePath.chop(1);
    }
    url.setPath(basePath + path);
    if (!m_language.isEmpty()) {
        parameters.append({QStringLiteral("language"), m_language});
    }
    if (!isToken(m_key)) {
        parameters.append({QStringLiteral("api_key"), m_key});
    }
    // Encoded by hand: QUrlQuery would leave a '+' in a title, which the
    // service reads as a space.
    QStringList items;
    for (const auto& [name, value] : std::as_const(parameters)) {
        items << name + QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    url.setQuery(items.join(QLatin1Char('&')), QUrl::StrictMode);
    return url;
}

void TmdbSource::get(const QUrl& address, LookupReply* reply, JsonRequest::Handler handler) {
    JsonRequest::Extras extras;
    if (isToken(m_key)) {
        extras.headers.append({"Authorization", "Bearer " + m_key.toUtf8()});
    }
    extras.statusFailures.insert(401, kKeyRefused);
    extras.secret = m_key;
    extras.cache = cache();
    extras.gate = m_gate;
    JsonRequest::start(m_network, m_limits, address, reply, std::move(handler), std::move(extras));
}

LookupReply* TmdbSource::search(const QString& title, std::optional<int> year) {
    LookupReply* reply = newReply();
    const QString wanted = title.simplified();
    if (wanted.isEmpty()) {
        reply->fail(kNoTitle);
    }
    if (reply->isFinished()) {
        return reply;
    }
    // Asked without the year: the service's year filter keeps only that very
    // year, and a film's year often differs by one between databases (a
    // festival showing, a late release). One request, filtered here to a
    // year either side, costs less of the rate limit than three.
    const QUrl url = address(QStringLiteral("/search/movie"),
                             {{QStringLiteral("query"), wanted},
                              {QStringLiteral("include_adult"), QStringLiteral("false")}});
    get(url, reply, [this, reply, year](const QJsonDocument& answer) -> JsonRequest::Finish {
        return [this, reply, candidates = tmdbCandidates(answer, QStringLiteral("results"), year)] {
            finishWithThumbnails(reply, candidates);
        };
    });
    return reply;
}

LookupReply* TmdbSource::findByImdbId(const QString& imdbId) {
    LookupReply* reply = newReply();
    const QString id = imdbId.trimmed();
    if (!isImdbId(id)) {
        reply->fail(kNotImdb.arg(imdbId));
    }
    if (reply->isFinished()) {
        return reply;
    }
    const QUrl url = address(QStringLiteral("/find/") + id,
                             {{QStringLiteral("external_source"), QStringLiteral("imdb_id")}});
    get(url, reply, [this, reply](const QJsonDocument& answer) -> JsonRequest::Finish {
        return
            [this, reply,
             candidates = tmdbCandidates(answer, QStringLiteral("movie_results"), std::nullopt)] {
                finishWithThumbnails(reply, candidates);
            };
    });
    return reply;
}

LookupReply* TmdbSource::fetch(const QString& sourceId) {
    LookupReply* reply = newReply();
    if (!isTmdbId(sourceId)) {
        reply->fail(kNotAnId.arg(sourceId));
    }
    if (reply->isFinished()) {
        return reply;
    }
    const QUrl url =
        address(QStringLiteral("/movie/") + sourceId,
                {{QStringLiteral("append_to_response"), QStringLiteral("credits,release_dates")}});
    get(url, reply, [this, reply](const QJsonDocument& details) -> JsonRequest::Finish {
        return [this, reply, movie = tmdbMovie(details)] { finishWithPoster(reply, movie); };
    });
    return reply;
}

// The images' addresses need the image host's base, which the configuration
// gives; it is asked for with the first poster and kept.
void TmdbSource::withImageBases(LookupReply* reply, std::function<void()> then) {
    if (!m_imageBases.poster.isEmpty()) {
        return then();
    }
    get(address(QStringLiteral("/configuration"), {}), reply,
        [this, then = std::move(then)](const QJsonDocument& configuration) -> JsonRequest::Finish {
            return [this, then, bases = tmdbImageBases(configuration)] {
                m_imageBases = bases;
                then();
            };
        });
}

void TmdbSource::finishWithPoster(LookupReply* reply, LookupMovie movie) {
    if (movie.posterPath.isEmpty()) {
        return reply->finishWith(std::move(movie));
    }
    withImageBases(reply, [this, reply, movie]() mutable {
        movie.posterUrl = m_imageBases.poster + movie.posterPath;
        reply->finishWith(std::move(movie));
    });
}

// The thumbnails are only shown: when the image host cannot be learnt, the
// films are listed without them rather than not at all. The configuration
// is then asked for on a reply of its own, which goes with the search's.
void TmdbSource::finishWithThumbnails(LookupReply* reply, QList<LookupCandidate> candidates) {
    auto addThumbnails = [this, reply, candidates]() mutable {
        if (thumbnailsWanted() && !m_imageBases.thumbnail.isEmpty()) {
            for (LookupCandidate& candidate : candidates) {
                if (!candidate.posterPath.isEmpty()) {
                    candidate.thumbnailUrl = m_imageBases.thumbnail + candidate.posterPath;
                }
            }
        }
        reply->finishWith(std::move(candidates));
    };
    const bool anyPoster =
        std::any_of(candidates.cbegin(), candidates.cend(), [](const LookupCandidate& candidate) {
            return !candidate.posterPath.isEmpty();
        });
    if (!thumbnailsWanted() || !anyPoster || !m_imageBases.thumbnail.isEmpty()) {
        return addThumbnails();
    }
    auto* configuration = new LookupReply(kTmdb, reply);
    connect(configuration, &LookupReply::finished, reply, addThumbnails);
    withImageBases(configuration, [configuration] { configuration->finishWith(LookupMovie{}); });
}
