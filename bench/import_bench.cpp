// Import of 100 000 movies: reading and planning them from a CSV file and
// from the same rows in an .xlsx workbook, the whole import (read, plan and
// store in a fresh catalogue) of each, beside the sqlite3 shell's own
// ".import --csv" of the same CSV file into an empty catalogue table; and
// the import of 100 000 movies with 150 000 copies, one row per copy as
// `reelkeeper-cli export --copies` writes them, beside the sqlite3 shell
// importing that file into the movies' and the copies' tables. Run in a
// Release build.
#include "core/catalogue/catalogue.h"
#include "core/catalogue/side_tables.h"
#include "core/export/catalogue_export.h"
#include "core/import/import_file.h"
#include "core/import/import_store.h"
#include "generated_catalogue.h"

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
constexpr int kCopies = 150000;

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

double heapMegabytes() {
    return double(mallinfo2().uordblks) / (1 << 20);
}

double childCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3) +
           (double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
}

Files& files() {
    static Files instance;
    return instance;
}

// A generated catalogue of kMovies movies and kCopies copies exported with
// one row per copy, written once.
const QString& copiesCsv() {
    static const QString path = [] {
        const QString generated = files().folder.filePath("generated.mdb");
        writeGeneratedCatalogue(generated, kMovies, {.copies = kCopies});
        Catalogue catalogue;
        catalogue.open(generated, Catalogue::Access::ReadOnly);
        const QString csv = files().folder.filePath("copies.csv");
        exportCatalogueCopies(csv, catalogue);
        return csv;
    }();
    return path;
}

// The rows of a table in a catalogue file, or -1 when it cannot be read.
qint64 rowCount(const QString& catalogue, const char* table) {
    sqlite3* db = nullptr;
    sqlite3_stmt* count = nullptr;
    qint64 rows = -1;
    sqlite3_open_v2(catalogue.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (sqlite3_prepare_v2(db, QByteArray("select count(*) from ").append(table).constData(), -1,
                           &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW) {
        rows = sqlite3_column_int64(count, 0);
    }
    sqlite3_finalize(count);
    sqlite3_close(db);
    return rows;
}

// Runs the sqlite3 shell with the arguments on a fresh copy of the empty
// catalogue before each iteration; false (the benchmark skipped) when it
// is missing or fails.
bool timeSqliteShell(benchmark::State& state, const QString& catalogue,
                     const QStringList& arguments) {
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        state.SkipWithError("no sqlite3 shell");
        return false;
    }
    const double cpuBefore = childCpuMilliseconds();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(catalogue);
        QFile::copy(files().emptyCatalogue, catalogue);
        state.ResumeTiming();
        QProcess process;
        process.start(shell, QStringList{catalogue} + arguments);
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("the sqlite3 shell failed");
            return false;
        }
    }
    // The shell's own processor time, for a comparison on a busy machine.
    state.counters["shell_cpu_ms"] =
        (childCpuMilliseconds() - cpuBefore) / double(state.iterations());
    return true;
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
    timeSqliteShell(state, files().folder.filePath("shell.mdb"),
                    {QStringLiteral(".import --csv --skip 1 %1 dvd").arg(files().csv)});
}
BENCHMARK(BM_Sqlite3ShellImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading and planning the file with copies: each row's copy joins its movie.
void BM_PlanCsvWithCopies(benchmark::State& state) {
    planFile(state, copiesCsv());
}
BENCHMARK(BM_PlanCsvWithCopies)->Unit(benchmark::kMillisecond)->UseRealTime();

// The import of the movies with their copies, each row's copy joining its
// movie, into a fresh copy of the empty catalogue (the shelf's tables made by
// the import).
void BM_ImportCsvWithCopies(benchmark::State& state) {
    const QString csv = copiesCsv();
    const QString catalogueFile = files().folder.filePath("imported-copies.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(catalogueFile);
        QFile::copy(files().emptyCatalogue, catalogueFile);
        state.ResumeTiming();
        Catalogue catalogue;
        catalogue.open(catalogueFile);
        storePlannedMovies(catalogue, planImport(*openImportFile(csv), LookAlikeKeys(catalogue)),
                           false);
    }
    if (rowCount(catalogueFile, "dvd") != kMovies ||
        rowCount(catalogueFile, "shelf_copy") != kCopies) {
        state.SkipWithError("not every movie and copy was stored");
    }
    state.counters["file_MB"] = double(QFile(csv).size()) / (1 << 20);
}
BENCHMARK(BM_ImportCsvWithCopies)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the sqlite3 shell reads the same file into a table, makes the
// shelf's tables, and stores each movie once (keeping the file's ids, which
// spares it the joining) and each copy.
void BM_Sqlite3ShellImportCsvWithCopies(benchmark::State& state) {
    const QString csv = copiesCsv();
    QStringList script = {QStringLiteral(".import --csv --schema temp %1 rows").arg(csv),
                          QStringLiteral("begin")};
    for (const char* statement : sideSchemaOf(QStringLiteral("shelf_copy"))->statements) {
        script << QString::fromUtf8(statement);
    }
    script << QStringLiteral(
                  "insert into dvd select id, title, year, genre, [cast], director, runtime,"
                  " rating, studio from temp.rows group by id")
           << QStringLiteral("insert into shelf_copy (movie_id, format, edition, barcode,"
                             " location, status, discs, acquired, price, currency, condition,"
                             " note) select id, format, edition, barcode, location, status,"
                             " coalesce(nullif(discs, ''), 0), acquired, price, currency,"
                             " condition, note from temp.rows where format <> ''")
           << QStringLiteral("commit");
    const QString catalogue = files().folder.filePath("shell-copies.mdb");
    if (timeSqliteShell(state, catalogue, script) &&
        (rowCount(catalogue, "dvd") != kMovies || rowCount(catalogue, "shelf_copy") != kCopies)) {
        state.SkipWithError("not every movie and copy was stored");
    }
}
BENCHMARK(BM_Sqlite3ShellImportCsvWithCopies)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
