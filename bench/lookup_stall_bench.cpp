// The window's event loop while a film database answers a lookup with a
// large answer: the lookup window searches a stand-in database (Wikidata's
// query service, or TMDb) whose answer is nearly as large as an answer may
// be, turns it into films, lists them and paints them.
// A timer that fires at every turn of the loop records the longest gap
// between two turns, from the window shown to the list painted: the
// longest the window would not have answered a person. The goal is one
// frame, 16 ms.
#include "core/lookup/candidate_ranking.h"
#include "core/settings/config.h"
#include "mainwindow/lookup/lookup_dialog.h"
#include "support/fakes.h"
#include "support/scripted_message_boxes.h"
#include "support/stand_in_http_server.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

QJsonObject literal(const QString& value) {
    return {{"type", "literal"}, {"value", value}};
}

// A search answer as the Wikidata query service gives it, with `films` films.
QByteArray searchAnswer(int films) {
    QJsonArray bindings;
    for (int i = 0; i < films; ++i) {
        bindings.append(QJsonObject{
            {"item",
             QJsonObject{{"type", "uri"},
                         {"value", QStringLiteral("http://www.wikidata.org/entity/Q9%1").arg(i)}}},
            {"itemLabel", literal(QStringLiteral("Casablanca %1").arg(i))},
            {"isFilm", literal("true")},
            {"rank", literal(QString::number(i + 1))},
            {"matched", literal(QStringLiteral("Casablanca %1").arg(i))},
            {"earliest", literal(QStringLiteral("%1-01-01T00:00:00Z").arg(1900 + i % 120))},
            {"directors", literal(QStringLiteral("A. Director %1, B. Director %1").arg(i))},
        });
    }
    const QJsonObject head{{"vars", QJsonArray{"item", "itemLabel", "isFilm", "rank", "matched",
                                               "earliest", "directors"}}};
    return QJsonDocument(
               QJsonObject{{"head", head}, {"results", QJsonObject{{"bindings", bindings}}}})
        .toJson(QJsonDocument::Compact);
}

// A search answer as TMDb gives it, one page of `films` films, each with an
// overview of a few hundred characters as real answers have.
QByteArray tmdbSearchAnswer(int films) {
    QJsonArray results;
    const QString overview = QStringLiteral("A story told at length. ").repeated(25);
    for (int i = 0; i < films; ++i) {
        results.append(QJsonObject{
            {"adult", false},
            {"genre_ids", QJsonArray{18, 10749}},
            {"id", 100000 + i},
            {"original_language", "en"},
            {"original_title", QStringLiteral("Casablanca %1").arg(i)},
            {"overview", overview},
            {"popularity", 1.5},
            {"poster_path", QJsonValue()},
            {"release_date", QStringLiteral("%1-01-01").arg(1900 + i % 120)},
            {"title", QStringLiteral("Casablanca %1").arg(i)},
            {"vote_average", 6.5},
            {"vote_count", 100},
        });
    }
    return QJsonDocument(
               QJsonObject{
                   {"page", 1}, {"results", results}, {"total_pages", 1}, {"total_results", films}})
        .toJson(QJsonDocument::Compact);
}

// TMDb at the stand-in, with a key, while it lives.
class TmdbAtStandIn {
public:
    explicit TmdbAtStandIn(const StandInHttpServer& server) {
        qputenv("REELKEEPER_TMDB_URL", server.address("/3").toEncoded());
        qputenv("REELKEEPER_TMDB_KEY", "0123456789abcdef0123456789abcdef");
    }
    ~TmdbAtStandIn() {
        qunsetenv("REELKEEPER_TMDB_URL");
        qunsetenv("REELKEEPER_TMDB_KEY");
    }
    TmdbAtStandIn(const TmdbAtStandIn&) = delete;
    TmdbAtStandIn& operator=(const TmdbAtStandIn&) = delete;
};

void measureStall(benchmark::State& state, const QString& source) {
    const int films = int(state.range(0));
    StandInHttpServer server;
    WikidataAtStandIn addresses(server);
    TmdbAtStandIn tmdb(server);
    const bool isTmdb = source == QLatin1String("tmdb");
    const QByteArray answer = isTmdb ? tmdbSearchAnswer(films) : searchAnswer(films);
    if (isTmdb) {
        server.route("/3/search/movie", "", {{200, "application/json", answer, {}, false}});
    } else {
        server.route("/sparql", "", {{200, "application/sparql-results+json", answer, {}, false}});
    }
    MemorySettings settings;
    Config(settings).set(Setting::LookupSource, source);
    ScriptedMessageBoxes boxes;
    double longestMs = 0;
    for (auto _ : state) {
        // The window is made and shown first: its own making is no stall of
        // the lookup's. The search has been sent; its answer comes in the loop.
        LookupDialog dialog(settings, boxes, WantedFilm{QStringLiteral("Casablanca"), {}, {}},
                            DvdRecord{}, {}, false);
        dialog.show();
        QElapsedTimer clock;
        clock.start();
        qint64 lastTurn = 0;
        qint64 longest = 0;
        QTimer turn;
        turn.setInterval(0);
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - lastTurn);
            lastTurn = now;
        });
        turn.start();
        bool listed = false;
        QObject::connect(&dialog, &LookupDialog::searched, [&] { listed = true; });
        while (!listed && clock.elapsed() < 30000) {
            QApplication::processEvents(QEventLoop::AllEvents);
        }
        // The list painted with every film.
        const qint64 shown = clock.elapsed();
        while (clock.elapsed() < shown + 100) {
            QApplication::processEvents(QEventLoop::AllEvents);
        }
        if (dialog.candidates().topLevelItemCount() != films) {
            state.SkipWithError("the films were not all listed");
            break;
        }
        longestMs = std::max(longestMs, double(longest) / 1e6);
        state.SetIterationTime(double(shown) / 1e3);
    }
    state.counters["answer_bytes"] = double(answer.size());
    state.counters["longest_stall_ms"] = longestMs;
}

void BM_LookupWindowStall(benchmark::State& state) {
    measureStall(state, QStringLiteral("wikidata"));
}

void BM_LookupWindowStallTmdb(benchmark::State& state) {
    measureStall(state, QStringLiteral("tmdb"));
}

// 50 films: a usual answer; 6000 (Wikidata) and 5000 (TMDb, whose films say
// more): nearly the 5 MB an answer may have.
BENCHMARK(BM_LookupWindowStall)
    ->Arg(50)
    ->Arg(6000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LookupWindowStallTmdb)
    ->Arg(50)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
