#pragma once

#include "support/cover_images.h"
#include "support/stand_in_http_server.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// TMDb pointed at a stand-in server while it lives, with a key: film 289 is
// Casablanca (the recorded answer), its poster a small PNG served by the
// same server, and each search answers the films it is given.
class TmdbAtStandIn {
public:
    struct Film {
        int id;
        QString title;
        QString released;     // "1942-11-26"
        QString posterPath{}; // "/5K7cOHoay2mZusSLezBOY0Qxh8a.jpg"; none: null
    };

    explicit TmdbAtStandIn(StandInHttpServer& server) : m_server(server) {
        qputenv("REELKEEPER_TMDB_URL", server.address("/3").toEncoded());
        qputenv("REELKEEPER_TMDB_KEY", "0123456789abcdef0123456789abcdef");
        const QJsonObject images{
            {"secure_base_url", server.address("/t/p/").toString()},
            {"poster_sizes", QJsonArray{"w342"}},
        };
        server.route("/3/configuration", "", {json(QJsonObject{{"images", images}})});
        server.route(
            "/3/movie/289", "",
            {StandInResponse::file(QStringLiteral(RK_LOOKUP_FIXTURES "/tmdb_movie.json"))});
        server.route("/t/p/w342/5K7cOHoay2mZusSLezBOY0Qxh8a.jpg", "",
                     {{200, "image/png", poster(), {}, false}});
    }
    ~TmdbAtStandIn() {
        qunsetenv("REELKEEPER_TMDB_URL");
        qunsetenv("REELKEEPER_TMDB_KEY");
    }
    TmdbAtStandIn(const TmdbAtStandIn&) = delete;
    TmdbAtStandIn& operator=(const TmdbAtStandIn&) = delete;

    void answerSearch(const QString& title, const QList<Film>& films) {
        QJsonArray results;
        for (const Film& film : films) {
            results.append(QJsonObject{
                {"id", film.id},
                {"title", film.title},
                {"original_title", film.title},
                {"release_date", film.released},
                {"poster_path", film.posterPath.isEmpty() ? QJsonValue() : film.posterPath}});
        }
        m_server.route("/3/search/movie", "query=" + title + "&",
                       {json(QJsonObject{{"page", 1}, {"results", results}})});
    }

    static QByteArray poster() { return CoverImages::png(20, 30); }

private:
    static StandInResponse json(const QJsonObject& object) {
        return {200, "application/json", QJsonDocument(object).toJson(), {}, false};
    }

    StandInHttpServer& m_server;
};
