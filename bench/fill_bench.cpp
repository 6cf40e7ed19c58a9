// reelkeeper-cli fill --empty over 1 000 movies against a stand-in film
// database on 127.0.0.1: every movie gets a clear match, its poster as its
// cover and its empty fields filled. A third of the movies hold text of their
// own in some fields; the run fails when any of it changed.
#include "cli/cli.h"
#include "core/system/shell.h"
#include "lookup/tmdb_stand_in.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kMovies = 1000;

QString titleOf(int movie) {
    return QStringLiteral("Film %1").arg(movie);
}

// Every field that held text before holds the same after ("" when all did).
QString changedField(const QStringList& before, const QStringList& after) {
    for (qsizetype row = 0; row < before.size(); ++row) {
        const QStringList was = before[row].split(QLatin1Char('|'));
        const QStringList now = after.value(row).split(QLatin1Char('|'));
        for (qsizetype field = 0; field < was.size(); ++field) {
            if (was[field] != QLatin1String("<null>") && now.value(field) != was[field]) {
                return before[row];
            }
        }
    }
    return {};
}

void BM_FillEmptyFieldsThroughCli(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/dbDVD.mdb");
    StandInHttpServer server;
    TmdbAtStandIn tmdb(server);
    QList<QStringList> movies;
    for (int movie = 0; movie < kMovies; ++movie) {
        tmdb.answerSearch(titleOf(movie), {{289, titleOf(movie), "1942-11-26"}});
        const QString mine = QStringLiteral("mine %1").arg(movie);
        movies.append(movie % 3 == 0 ? QStringList{titleOf(movie), {}, mine, {}, {}, mine}
                                     : QStringList{titleOf(movie)});
    }
    const Shell shell(dir.path(), dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(file);
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addMovies(file, movies);
        const QStringList before = TempCatalogue::rows(file);
        state.ResumeTiming();
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int status = Cli::run({QStringLiteral("--catalogue"), file, QStringLiteral("fill"),
                                     QStringLiteral("--empty"), QStringLiteral("--source"),
                                     QStringLiteral("tmdb")},
                                    out, err, shell);
        state.PauseTiming();
        const QString summary =
            QStringLiteral("%1 filled, 0 without a match, 0 unclear\n").arg(kMovies);
        if (status != Cli::kExitDone || !QString::fromUtf8(out.data()).endsWith(summary)) {
            state.SkipWithError((out.data() + err.data()).constData());
            return;
        }
        if (const QString row = changedField(before, TempCatalogue::rows(file)); !row.isEmpty()) {
            state.SkipWithError(("a field that held text changed: " + row).toUtf8().constData());
            return;
        }
        state.ResumeTiming();
    }
    state.counters["movies"] = kMovies;
}
BENCHMARK(BM_FillEmptyFieldsThroughCli)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
