#include "core/lookup/wikidata_source.h"

#include "core/lookup/json_request.h"
#include "core/lookup/wikidata_names.h"
#include "core/lookup/wikidata_sparql.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

constexpr char kSparqlVariable[] = "REELKEEPER_WIKIDATA_SPARQL_URL";
constexpr char kApiVariable[] = "REELKEEPER_WIKIDATA_API_URL";
constexpr char kPublicSparql[] = "https://query.wikidata.org/sparql";
constexpr char kPublicApi[] = "https://www.wikidata.org/w/api.php";
// The query service asks for no more than about one query a second.
constexpr int kPoliteSpacingMs = 1000;
const QString kNoTitle = QStringLiteral("there is no title to search for");
const QString kNotAnId = QStringLiteral("\"%1\" is not a Wikidata item id");
const QString kNotImdb = QStringLiteral("\"%1\" is not an IMDb id");

// The person's language first, then English.
QStringList languagesFor(QString language) {
    if (language.isEmpty()) {
        language = QLocale().name().section(QLatin1Char('_'), 0, 0);
    }
    static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}$"));
    language = language.toLower();
    QStringList languages;
    if (code.match(language).hasMatch() && language != QLatin1String("en")) {
        languages << language;
    }
    languages << QStringLiteral("en");
    return languages;
}

// The query service's address for one query; encoded by hand, as a '+'
// left in a query string would reach the service as a space.
QUrl sparqlAddress(QUrl base, const QString& query) {
    QByteArray items = base.query(QUrl::FullyEncoded).toLatin1();
    if (!items.isEmpty()) {
        items += '&';
    }
    items += "query=" + QUrl::toPercentEncoding(query) + "&format=json";
    base.setQuery(QString::fromLatin1(items), QUrl::StrictMode);
    return base;
}

} // namespace

WikidataSource::WikidataSource(const NetworkLimits& limits, const QString& language,
                               QObject* parent)
    : WikidataSource({}, {}, limits, language, parent) {}

WikidataSource::WikidataSource(const QString& sparqlAddress, const QString& apiAddress,
                               const NetworkLimits& limits, const QString& language,
                               QObject* parent)
    : LookupSource(parent), m_limits(limits),
      m_sparql(serviceAddress(kSparqlVariable, kPublicSparql, sparqlAddress)),
      m_api(serviceAddress(kApiVariable, kPublicApi, apiAddress)),
      m_languages(languagesFor(language)),
      m_gate(new RequestGate(limits.maxInFlight, spacingFor(limits, m_sparql, kPoliteSpacingMs),
                             this)) {}

JsonRequest::Extras WikidataSource::extras() const {
    JsonRequest::Extras extras;
    extras.cache = cache();
    extras.gate = m_gate;
    return extras;
}

QString WikidataSource::name() const {
    return kWikidata;
}

LookupReply* WikidataSource::search(const QString& title, std::optional<int> year) {
    const QString wanted = title.simplified();
    if (wanted.isEmpty()) {
        auto* reply = new LookupReply(kWikidata, this);
        reply->fail(kNoTitle);
        return reply;
    }
    return runQuery(wikidataSearchQuery(wanted, m_languages), wanted, year);
}

LookupReply* WikidataSource::findByImdbId(const QString& imdbId) {
    const QString id = imdbId.trimmed();
    if (!isImdbId(id)) {
        auto* reply = new LookupReply(kWikidata, this);
        reply->fail(kNotImdb.arg(imdbId));
        return reply;
    }
    return runQuery(wikidataImdbQuery(id, m_languages), {}, std::nullopt);
}

LookupReply* WikidataSource::runQuery(const QString& query, const QString& title,
                                      std::optional<int> year) {
    auto* reply = new LookupReply(kWikidata, this);
    JsonRequest::start(
        m_network, m_limits, sparqlAddress(m_sparql, query), reply,
        [reply, title, year](const QJsonDocument& results) -> JsonRequest::Finish {
            return [reply, candidates = wikidataCandidates(results, title, year)] {
                reply->finishWith(candidates);
            };
        },
        extras());
    return reply;
}

LookupReply* WikidataSource::fetch(const QString& sourceId) {
    auto* reply = new LookupReply(kWikidata, this);
    if (!isWikidataId(sourceId)) {
        reply->fail(kNotAnId.arg(sourceId));
        return reply;
    }
    // The film's statements first, then one request for the labels of the
    // items they name (genres, cast, directors, rating, studio).
    const QUrl filmAddress = wikidataEntitiesAddress(m_api, {sourceId}, m_languages, true);
    JsonRequest::start(
        m_network, m_limits, filmAddress, reply,
        [this, reply, sourceId,
         languages = m_languages](const QJsonDocument& answer) -> JsonRequest::Finish {
            return [this, reply, film = wikidataFilm(answer, sourceId, languages)] {
                finishWithLabels(reply, film);
            };
        },
        extras());
    return reply;
}

void WikidataSource::finishWithLabels(LookupReply* reply, const WikidataFilm& film) {
    const QStringList named = film.namedItems();
    if (named.isEmpty()) {
        return reply->finishWith(film.withLabels({}));
    }
    JsonRequest::start(
        m_network, m_limits, wikidataEntitiesAddress(m_api, named, m_languages, false), reply,
        [reply, film, languages = m_languages](const QJsonDocument& labels) -> JsonRequest::Finish {
            return [reply, movie = film.withLabels(wikidataLabels(labels, languages))] {
                reply->finishWith(movie);
            };
        },
        extras());
}
