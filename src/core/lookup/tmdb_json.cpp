#include "core/lookup/tmdb_json.h"

#include "core/lookup/network_rules.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

namespace {

const QString kUnexpectedAnswer = QStringLiteral("the answer does not have the expected form");
constexpr int kCastShown = 8;
constexpr int kPosterWidth = 342;
constexpr int kThumbnailWidth = 92;
constexpr int kTheatrical = 3; // a release_dates type
const QString kUnitedStates = QStringLiteral("US");

QJsonObject objectOf(const QJsonDocument& answer) {
    if (!answer.isObject()) {
        throw LookupFailure(kTmdb, kUnexpectedAnswer);
    }
    return answer.object();
}

// TMDb ids are numbers; older answers and other tools sometimes give text.
QString idText(const QJsonValue& id) {
    return id.isDouble() ? QString::number(id.toInteger()) : id.toString();
}

// "1942-11-26" -> "1942"; nothing for no date.
QString yearOf(const QJsonObject& film) {
    return film.value(QLatin1String("release_date")).toString().left(4);
}

QString joinedNames(const QJsonArray& items) {
    QStringList names;
    for (const QJsonValue item : items) {
        if (const QString name = item[QLatin1String("name")].toString().trimmed();
            !name.isEmpty() && !names.contains(name)) {
            names << name;
        }
    }
    return names.join(QLatin1String(", "));
}

QString castOf(const QJsonArray& cast) {
    QList<QJsonObject> members;
    for (const QJsonValue member : cast) {
        members << member.toObject();
    }
    std::stable_sort(members.begin(), members.end(),
                     [](const QJsonObject& a, const QJsonObject& b) {
                         return a.value(QLatin1String("order")).toInt() <
                                b.value(QLatin1String("order")).toInt();
                     });
    QJsonArray first;
    for (const QJsonObject& member : std::as_const(members)) {
        if (first.size() == kCastShown) {
            break;
        }
        first.append(member);
    }
    return joinedNames(first);
}

QString directorsOf(const QJsonArray& crew) {
    QJsonArray directors;
    for (const QJsonValue member : crew) {
        if (member[QLatin1String("job")].toString() == QLatin1String("Director")) {
            directors.append(member);
        }
    }
    return joinedNames(directors);
}

// The US certification of the theatrical release, else the first US one
// given at all.
QString ratingOf(const QJsonObject& releaseDates) {
    for (const QJsonValue country : releaseDates.value(QLatin1String("results")).toArray()) {
        if (country[QLatin1String("iso_3166_1")].toString() != kUnitedStates) {
            continue;
        }
        QString first;
        for (const QJsonValue release : country[QLatin1String("release_dates")].toArray()) {
            QString certification = release[QLatin1String("certification")].toString();
            if (certification.isEmpty()) {
                continue;
            }
            if (release[QLatin1String("type")].toInt() == kTheatrical) {
                return certification;
            }
            if (first.isEmpty()) {
                first = certification;
            }
        }
        return first;
    }
    return {};
}

// The offered size whose width is nearest `wanted`; "original" when no
// width is offered.
QString nearestWidth(const QJsonArray& sizes, int wanted) {
    QString size = QStringLiteral("original");
    int bestDistance = -1;
    for (const QJsonValue offered : sizes) {
        const QString name = offered.toString();
        bool isWidth = false;
        const int width = name.startsWith(QLatin1Char('w')) ? name.mid(1).toInt(&isWidth) : 0;
        if (isWidth && (bestDistance < 0 || std::abs(width - wanted) < bestDistance)) {
            bestDistance = std::abs(width - wanted);
            size = name;
        }
    }
    return size;
}

} // namespace

QList<LookupCandidate> tmdbCandidates(const QJsonDocument& answer, const QString& list,
                                      std::optional<int> year) {
    const QJsonValue films = objectOf(answer).value(list);
    if (!films.isArray()) {
        throw LookupFailure(kTmdb, kUnexpectedAnswer);
    }
    QList<LookupCandidate> candidates;
    const QJsonArray array = films.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject film = array[i].toObject();
        LookupCandidate candidate{kTmdb,
                                  idText(film.value(QLatin1String("id"))),
                                  film.value(QLatin1String("title")).toString(),
                                  yearOf(film),
                                  QString(),
                                  0,
                                  film.value(QLatin1String("poster_path")).toString(),
                                  QString()};
        if (candidate.sourceId.isEmpty()) {
            continue;
        }
        // The service's own order, a film of the very year given above all.
        candidate.score = 1.0 / double(i + 1);
        if (year) {
            bool known = false;
            const int released = candidate.year.toInt(&known);
            if (!known || std::abs(released - *year) > 1) {
                continue;
            }
            if (released == *year) {
                candidate.score += 1;
            }
        }
        candidates << candidate;
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const LookupCandidate& a, const LookupCandidate& b) { return a.score > b.score; });
    return candidates;
}

LookupMovie tmdbMovie(const QJsonDocument& details) {
    const QJsonObject film = objectOf(details);
    LookupMovie movie;
    movie.source = kTmdb;
    movie.sourceId = idText(film.value(QLatin1String("id")));
    if (movie.sourceId.isEmpty()) {
        throw LookupFailure(kTmdb, kUnexpectedAnswer);
    }
    movie.title = film.value(QLatin1String("title")).toString();
    movie.year = yearOf(film);
    movie.genre = joinedNames(film.value(QLatin1String("genres")).toArray());
    const QJsonObject credits = film.value(QLatin1String("credits")).toObject();
    movie.cast = castOf(credits.value(QLatin1String("cast")).toArray());
    movie.director = directorsOf(credits.value(QLatin1String("crew")).toArray());
    movie.runtime = runtimeText(film.value(QLatin1String("runtime")).toInt());
    movie.rating = ratingOf(film.value(QLatin1String("release_dates")).toObject());
    const QJsonArray companies = film.value(QLatin1String("production_companies")).toArray();
    movie.studio =
        companies.isEmpty() ? QString() : companies[0][QLatin1String("name")].toString().trimmed();
    if (const QString imdb = film.value(QLatin1String("imdb_id")).toString(); isImdbId(imdb)) {
        movie.imdbId = imdb;
    }
    movie.tmdbId = movie.sourceId;
    movie.posterPath = film.value(QLatin1String("poster_path")).toString();
    return movie;
}

TmdbImageBases tmdbImageBases(const QJsonDocument& configuration) {
    const QJsonObject images = objectOf(configuration).value(QLatin1String("images")).toObject();
    QString base = images.value(QLatin1String("secure_base_url")).toString();
    // HTTPS, or plain HTTP to this machine (a local mirror), as every request.
    if (base.isEmpty() || !refusedAddress(QUrl(base)).isEmpty()) {
        throw LookupFailure(kTmdb, kUnexpectedAnswer);
    }
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    const QJsonArray sizes = images.value(QLatin1String("poster_sizes")).toArray();
    return {base + nearestWidth(sizes, kPosterWidth), base + nearestWidth(sizes, kThumbnailWidth)};
}
