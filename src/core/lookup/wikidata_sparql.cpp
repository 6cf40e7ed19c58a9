#include "core/lookup/wikidata_sparql.h"

#include "core/lookup/wikidata_names.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cstdlib>

namespace {

// Every query yields one row per item (of the search's first 50 hits in
// each language): its label, whether it is a film (an instance of film,
// Q11424, or of a subclass of it), its search position, whether a label or
// alias equals the title, its earliest publication date and its directors. %1 binds ?item (and
// ?ordinal), %2 the languages in order of preference, %3 the title's exact-match filter.
const char* const kCandidateQuery = R"(SELECT ?item ?itemLabel ?isFilm (MIN(?ordinal) AS ?rank)
  (SAMPLE(?name) AS ?matched) (MIN(?date) AS ?earliest)
  (GROUP_CONCAT(DISTINCT ?directorLabel; separator=", ") AS ?directors) WHERE {
%1
  BIND(EXISTS { ?item wdt:P31/wdt:P279* wd:Q11424 } AS ?isFilm)
  OPTIONAL { ?item rdfs:label|skos:altLabel ?name . %3 }
  OPTIONAL { ?item wdt:P577 ?date . }
  OPTIONAL { ?item wdt:P57 ?director . }
  SERVICE wikibase:label { bd:serviceParam wikibase:language "%2" .
    ?item rdfs:label ?itemLabel . ?director rdfs:label ?directorLabel . }
}
GROUP BY ?item ?itemLabel ?isFilm)";

const char* const kSearchService = R"(  { SERVICE wikibase:mwapi {
      bd:serviceParam wikibase:endpoint "www.wikidata.org" ; wikibase:api "EntitySearch" ;
                      mwapi:search %1 ; mwapi:language "%2" ;
                      wikibase:limit 50 .
      ?item wikibase:apiOutputItem mwapi:item . ?ordinal wikibase:apiOrdinal true . } })";

const char* const kExactName = R"(FILTER(LCASE(STR(?name)) = LCASE(%1) && LANG(?name) IN (%2)))";

// A SPARQL string literal holding any text.
QString literal(const QString& text) {
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '"':
            escaped += QLatin1String("\\\"");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        default:
            escaped += c;
        }
    }
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString candidateQuery(const QString& items, const QStringList& languages, const QString& title) {
    QStringList quoted;
    for (const QString& language : languages) {
        quoted << literal(language);
    }
    const QString exact =
        title.isEmpty()
            ? QStringLiteral("FILTER(false)")
            : QString::fromLatin1(kExactName).arg(literal(title), quoted.join(QLatin1Char(',')));
    return QString::fromLatin1(kCandidateQuery).arg(items, languages.join(QLatin1Char(',')), exact);
}

QString value(const QJsonObject& row, const char* name) {
    return row.value(QLatin1String(name)).toObject().value(QLatin1String("value")).toString();
}

// The year of an xsd:dateTime ("1942-11-26T00:00:00Z"); none before year 1.
std::optional<int> yearOf(const QString& dateTime) {
    bool ok = false;
    const int year = dateTime.section(QLatin1Char('-'), 0, 0).toInt(&ok);
    if (!ok || year <= 0 || dateTime.startsWith(QLatin1Char('-'))) {
        return std::nullopt;
    }
    return year;
}

} // namespace

QString wikidataSearchQuery(const QString& title, const QStringList& languages) {
    QStringList services;
    for (const QString& language : languages) {
        services << QString::fromLatin1(kSearchService).arg(literal(title), language);
    }
    return candidateQuery(services.join(QLatin1String("\n  UNION\n")), languages, title);
}

QString wikidataImdbQuery(const QString& imdbId, const QStringList& languages) {
    const QString items =
        QStringLiteral("  ?item wdt:P345 %1 .\n  BIND(1 AS ?ordinal)").arg(literal(imdbId));
    return candidateQuery(items, languages, {});
}

QList<LookupCandidate> wikidataCandidates(const QJsonDocument& results, const QString& title,
                                          std::optional<int> year) {
    const QJsonValue bindings = results.object()
                                    .value(QLatin1String("results"))
                                    .toObject()
                                    .value(QLatin1String("bindings"));
    if (!bindings.isArray()) {
        throw LookupFailure(kWikidata, kUnexpectedAnswer);
    }

    QList<LookupCandidate> candidates;
    QSet<QString> seen;
    for (const QJsonValue entry : bindings.toArray()) {
        const QJsonObject row = entry.toObject();
        if (value(row, "isFilm") != QLatin1String("true")) {
            continue;
        }
        const std::optional<int> released = yearOf(value(row, "earliest"));
        if (year && (!released || std::abs(*released - *year) > 1)) {
            continue;
        }
        const QString id = value(row, "item").section(QLatin1Char('/'), -1);
        if (!isWikidataId(id) || seen.contains(id)) {
            continue;
        }
        seen.insert(id);
        const int rank = value(row, "rank").toInt();
        const bool exact = !value(row, "matched").isEmpty() ||
                           value(row, "itemLabel").compare(title, Qt::CaseInsensitive) == 0;
        LookupCandidate candidate{kWikidata,
                                  id,
                                  value(row, "itemLabel"),
                                  released ? QString::number(*released) : QString(),
                                  value(row, "directors"),
                                  (exact ? 2.0 : 1.0) - std::min(rank, 999) / 1000.0};
        candidates << candidate;
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const LookupCandidate& a, const LookupCandidate& b) { return a.score > b.score; });
    return candidates;
}
