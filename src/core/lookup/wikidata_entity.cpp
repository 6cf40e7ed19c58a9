#include "core/lookup/wikidata_entity.h"

#include "core/lookup/wikidata_names.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>
#include <algorithm>
#include <cmath>

namespace {

const QString kMissing = QStringLiteral("there is no item %1");
const QString kRefused = QStringLiteral("the service refused the request: %1");
constexpr qsizetype kCastMembers = 8;
// At most this many genres and directors each, so that one request (at
// most 50 ids) holds every label.
constexpr qsizetype kListedItems = 20;

// Units of a duration (P2047), in minutes.
const QHash<QString, double> kMinutesPerUnit = {
    {QStringLiteral("http://www.wikidata.org/entity/Q7727"), 1.0},       // minute
    {QStringLiteral("http://www.wikidata.org/entity/Q11574"), 1 / 60.0}, // second
    {QStringLiteral("http://www.wikidata.org/entity/Q25235"), 60.0},     // hour
};

// The values of a property's statements with a value, in statement order,
// leaving out deprecated ones; with `best`, preferred statements first.
QList<QJsonValue> values(const QJsonObject& claims, const char* property, bool best = false) {
    QList<QJsonValue> preferred;
    QList<QJsonValue> normal;
    for (const QJsonValue entry : claims.value(QLatin1String(property)).toArray()) {
        const QJsonObject statement = entry.toObject();
        const QString rank = statement.value(QLatin1String("rank")).toString();
        const QJsonObject snak = statement.value(QLatin1String("mainsnak")).toObject();
        if (rank == QLatin1String("deprecated") ||
            snak.value(QLatin1String("snaktype")).toString() != QLatin1String("value")) {
            continue;
        }
        const QJsonValue value =
            snak.value(QLatin1String("datavalue")).toObject().value(QLatin1String("value"));
        (best && rank == QLatin1String("preferred") ? preferred : normal) << value;
    }
    return preferred + normal;
}

QString field(const QJsonValue& value, const char* name) {
    return value.toObject().value(QLatin1String(name)).toString();
}

QStringList items(const QJsonObject& claims, const char* property, qsizetype limit) {
    QStringList ids;
    for (const QJsonValue& value : values(claims, property)) {
        const QString id = field(value, "id");
        if (isWikidataId(id) && !ids.contains(id) && ids.size() < limit) {
            ids << id;
        }
    }
    return ids;
}

QString firstItem(const QJsonObject& claims, const char* property) {
    for (const QJsonValue& value : values(claims, property, true)) {
        if (QString id = field(value, "id"); isWikidataId(id)) {
            return id;
        }
    }
    return {};
}

QString firstText(const QJsonObject& claims, const char* property) {
    const QList<QJsonValue> all = values(claims, property, true);
    return all.isEmpty() ? QString() : all.first().toString();
}

// The earliest year among the statements' times ("+1942-11-26T00:00:00Z")
// precise to the year at least.
QString earliestYear(const QJsonObject& claims) {
    int earliest = 0;
    for (const QJsonValue& value : values(claims, "P577")) {
        const QString time = field(value, "time");
        const int year = time.mid(1).section(QLatin1Char('-'), 0, 0).toInt();
        if (time.startsWith(QLatin1Char('+')) && year > 0 &&
            value.toObject().value(QLatin1String("precision")).toInt() >= 9) {
            earliest = earliest == 0 ? year : std::min(earliest, year);
        }
    }
    return earliest == 0 ? QString() : QString::number(earliest);
}

QString runtime(const QJsonObject& claims) {
    for (const QJsonValue& value : values(claims, "P2047", true)) {
        const auto unit = kMinutesPerUnit.constFind(field(value, "unit"));
        bool ok = false;
        const double amount = field(value, "amount").toDouble(&ok);
        if (unit != kMinutesPerUnit.constEnd() && ok && amount > 0) {
            return runtimeText(int(std::lround(amount * unit.value())));
        }
    }
    return {};
}

QString label(const QJsonObject& entity, const QStringList& languages) {
    const QJsonObject labels = entity.value(QLatin1String("labels")).toObject();
    for (const QString& language : languages) {
        if (QString text =
                labels.value(language).toObject().value(QLatin1String("value")).toString();
            !text.isEmpty()) {
            return text;
        }
    }
    return {};
}

QJsonObject entities(const QJsonDocument& answer) {
    const QJsonObject root = answer.object();
    if (root.contains(QLatin1String("error"))) {
        throw LookupFailure(kWikidata,
                            kRefused.arg(field(root.value(QLatin1String("error")), "info")));
    }
    const QJsonValue all = root.value(QLatin1String("entities"));
    if (!all.isObject()) {
        throw LookupFailure(kWikidata, kUnexpectedAnswer);
    }
    return all.toObject();
}

QString joined(const QStringList& ids, const QHash<QString, QString>& labels) {
    QStringList names;
    for (const QString& id : ids) {
        names << labels.value(id, id);
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

QUrl wikidataEntitiesAddress(const QUrl& api, const QStringList& ids, const QStringList& languages,
                             bool claims) {
    QUrlQuery query(api);
    query.addQueryItem(QStringLiteral("action"), QStringLiteral("wbgetentities"));
    query.addQueryItem(QStringLiteral("format"), QStringLiteral("json"));
    query.addQueryItem(QStringLiteral("ids"), ids.join(QLatin1Char('|')));
    query.addQueryItem(QStringLiteral("props"),
                       claims ? QStringLiteral("labels|claims") : QStringLiteral("labels"));
    query.addQueryItem(QStringLiteral("languages"), languages.join(QLatin1Char('|')));
    QUrl address = api;
    address.setQuery(query);
    return address;
}

WikidataFilm wikidataFilm(const QJsonDocument& answer, const QString& id,
                          const QStringList& languages) {
    const QJsonObject entity = entities(answer).value(id).toObject();
    if (entity.isEmpty() || entity.contains(QLatin1String("missing"))) {
        throw LookupFailure(kWikidata, kMissing.arg(id));
    }
    const QJsonValue claimsValue = entity.value(QLatin1String("claims"));
    if (!claimsValue.isObject() && !claimsValue.isArray()) { // an item without statements has []
        throw LookupFailure(kWikidata, kUnexpectedAnswer);
    }
    const QJsonObject claims = claimsValue.toObject();

    WikidataFilm film;
    LookupMovie& movie = film.movie;
    movie.source = kWikidata;
    movie.sourceId = id;
    movie.title = label(entity, languages);
    if (movie.title.isEmpty()) {
        const QList<QJsonValue> titles = values(claims, "P1476", true);
        movie.title = titles.isEmpty() ? id : field(titles.first(), "text");
    }
    movie.year = earliestYear(claims);
    movie.runtime = runtime(claims);
    movie.imdbId = firstText(claims, "P345");
    movie.tmdbId = firstText(claims, "P4947");
    film.genres = items(claims, "P136", kListedItems);
    film.cast = items(claims, "P161", kCastMembers);
    film.directors = items(claims, "P57", kListedItems);
    film.rating = firstItem(claims, "P1657");
    film.studio = firstItem(claims, "P272");
    return film;
}

QStringList WikidataFilm::namedItems() const {
    QStringList ids = genres + cast + directors;
    for (const QString& id : {rating, studio}) {
        if (!id.isEmpty()) {
            ids << id;
        }
    }
    ids.removeDuplicates();
    return ids;
}

LookupMovie WikidataFilm::withLabels(const QHash<QString, QString>& labels) const {
    LookupMovie complete = movie;
    complete.genre = joined(genres, labels);
    complete.cast = joined(cast, labels);
    complete.director = joined(directors, labels);
    complete.rating = rating.isEmpty() ? QString() : labels.value(rating, rating);
    complete.studio = studio.isEmpty() ? QString() : labels.value(studio, studio);
    return complete;
}

QHash<QString, QString> wikidataLabels(const QJsonDocument& answer, const QStringList& languages) {
    QHash<QString, QString> labels;
    const QJsonObject all = entities(answer);
    for (auto entity = all.begin(); entity != all.end(); ++entity) {
        if (const QString text = label(entity.value().toObject(), languages); !text.isEmpty()) {
            labels.insert(entity.key(), text);
        }
    }
    return labels;
}
