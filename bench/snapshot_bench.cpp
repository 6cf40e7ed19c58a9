// A snapshot of a 100 000-movie catalogue beside the sqlite3 shell's
// ".backup" of the same file, one after the other in one run, and the
// health check of that catalogue.
#include "core/snapshots/snapshot_store.h"
#include "generated_catalogue.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kMovies = 100000;

struct Catalogue {
    QTemporaryDir dir;
    QString file = dir.path() + QStringLiteral("/dbDVD.mdb");
    Catalogue() { writeGeneratedCatalogue(file, kMovies); }
};

const Catalogue& catalogue() {
    static const Catalogue made;
    return made;
}

void BM_SqliteShellBackup(benchmark::State& state) {
    const QString copy = catalogue().dir.path() + QStringLiteral("/shell-copy.mdb");
    for (auto _ : state) {
        const int code = QProcess::execute(QStringLiteral("sqlite3"),
                                           {catalogue().file, QStringLiteral(".backup ") + copy});
        state.PauseTiming();
        if (code != 0) {
            state.SkipWithError("sqlite3 .backup failed");
        }
        QFile::remove(copy);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SqliteShellBackup)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_Snapshot(benchmark::State& state) {
    const SnapshotStore store(catalogue().file);
    for (auto _ : state) {
        const QString made = store.make(SnapshotReason::Manual);
        state.PauseTiming();
        QFile::remove(made);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond)->Iterations(15);

// The health check at both depths (the quick one is the start-up check).
void BM_Check(benchmark::State& state) {
    const auto depth = state.range(0) ? CheckDepth::Full : CheckDepth::Quick;
    for (auto _ : state) {
        benchmark::DoNotOptimize(checkCatalogue(catalogue().file, depth).ok());
    }
}
BENCHMARK(BM_Check)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
