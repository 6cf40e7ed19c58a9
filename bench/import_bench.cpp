// Import of 100 000 movies: reading and planning them from a CSV file and
// from the same rows in an .xlsx workbook, the whole import (read, plan and
// store in a fresh catalogue) of each, beside the sqlite3 shell's own
// ".import --csv" of the same CSV file into an empty catalogue table. Run in
// a Release build.
#include "core/catalogue/catalogue.h"
#include "core/export/catalogue_export.h"
#include "core/import/import_file.h"
#include "core/import/import_store.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/resource.h>

namespace {

constexpr int kMovies = 100000;

std::vector<DvdRecord> generatedMovies() {
    static const char* const genres[] = {"Drama", "Comedy", "Science Fiction", "Horror",
                                         "Documentary"};
    static const char* const ratings[] = {"G", "PG", "PG-13", "R", "NC-17"};
    std::vector<DvdRecord> movies;
    movies.reserve(kMovies);
    for (int n = 1; n <= kMovies; ++n) {
        DvdRecord movie;
        movie.id = QString::number(n);
        movie.title = QStringLiteral("Movie number %1%2").arg(n).arg(n % 50 ? "" : ", Part \"II\"");
        movie.year = QString::number(1930 + n % 90);
        movie.genre = QString::fromLatin1(genres[n % 5]);
        movie.cast =
            QStringLiteral("Actor %1, Actress %2, Extra %3").arg(n % 997).arg(n % 991).arg(n % 983);
        movie.director = QStringLiteral("Director %1").arg(n % 1201);
        movie.runtime = QString::number(80 + n % 100);
        movie.rating = QString::fromLatin1(ratings[n % 5]);
        movie.studio = QStringLiteral("Studio %1").arg(n % 97);
        movies.push_back(movie);
    }
    return movies;
}

// The files of the benchmark, written once.
struct Files {
    QTemporaryDir folder;
    QString csv = folder.filePath("movies.csv");
    QString xlsx = folder.filePath("movies.xlsx");
    QString emptyCatalogue = folder.filePath("empty.mdb");

    Files() {
        const std::vector<DvdRecord> movies = generatedMovies();
        exportCatalogueFile(csv, movies);
        exportCatalogueFile(xlsx, movies);
        sqlite3* db = nullptr;
        sqlite3_open(emptyCatalogue.toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "create table dvd (id integer primary key autoincrement, title text collate "
                     "nocase, year text, genre text, cast text, director text, runtime text, "
                     "rating text, studio text);",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

Files& files() {
    static Files instance;
    return instance;
}

double heapMegabytes() {
    return double(mallinfo2().uordblks) / (1 << 20);
}

double childCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3) +
           (double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
}

void planFile(benchmark::State& state, const QString& path) {
    qint64 movies = 0;
    double heldMegabytes = 0;
    for (auto _ : state) {
        const double before = heapMegabytes();
        const ImportPlan plan = planImportFile(path, {});
        heldMegabytes = heapMegabytes() - before;
        movies = qint64(plan.movies.size());
        benchmark::DoNotOptimize(plan.movies.size());
    }
    if (movies != kMovies) {
        state.SkipWithError("not every movie was read");
    }
    state.counters["movies"] = double(movies);
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
    // What the finished plan holds in memory; its movies wait in a temporary database.
    state.counters["plan_heap_MB"] = heldMegabytes;
}

void BM_PlanCsv(benchmark::State& state) {
    planFile(state, files().csv);
}
BENCHMARK(BM_PlanCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlanXlsx(benchmark::State& state) {
    planFile(state, files().xlsx);
}
BENCHMARK(BM_PlanXlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

// What an import does: read and plan the file against the catalogue's
// movies, then store the planned movies in one transaction, in a fresh copy
// of the empty catalogue.
void importFile(benchmark::State& state, const QString& path) {
    const QString catalogueFile = files().folder.filePath("imported.mdb");
    qint64 stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(catalogueFile);
        QFile::copy(files().emptyCatalogue, catalogueFile);
        state.ResumeTiming();
        Catalogue catalogue;
        catalogue.open(catalogueFile);
        const ImportPlan plan = planImportFile(path, catalogue.movies());
        storePlannedMovies(catalogue, plan, false);
        stored = plan.addCount(false);
    }
    if (stored != kMovies) {
        state.SkipWithError("not every movie was stored");
    }
    state.counters["movies"] = double(stored);
}

void BM_ImportCsv(benchmark::State& state) {
    importFile(state, files().csv);
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportXlsx(benchmark::State& state) {
    importFile(state, files().xlsx);
}
BENCHMARK(BM_ImportXlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

// The sqlite3 shell imports the same CSV file (its header line skipped) into
// a fresh copy of an empty catalogue.
void BM_Sqlite3ShellImportCsv(benchmark::State& state) {
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        state.SkipWithError("no sqlite3 shell");
        return;
    }
    const QString catalogue = files().folder.filePath("shell.mdb");
    const double cpuBefore = childCpuMilliseconds();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(catalogue);
        QFile::copy(files().emptyCatalogue, catalogue);
        state.ResumeTiming();
        QProcess process;
        process.start(
            shell, {catalogue, QStringLiteral(".import --csv --skip 1 %1 dvd").arg(files().csv)});
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("the sqlite3 shell failed");
            return;
        }
    }
    // The shell's own processor time, for a comparison on a busy machine.
    state.counters["shell_cpu_ms"] =
        (childCpuMilliseconds() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_Sqlite3ShellImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
