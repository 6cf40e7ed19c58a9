// The movie list with 100 000 movies: a refill beside SQLite's own read of
// the same rows, a header-click sort, and the memory the shown list takes.
#include "core/catalogue/catalogue.h"
#include "core/report/message_boxes.h"
#include "generated_catalogue.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "silent_boxes.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// What SQLite itself needs: run the read-all statement and read every column of every row.
void BM_SqliteReadAll(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(largeGeneratedCatalogue().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "select * from dvd order by title", -1, &stmt, nullptr);
        std::size_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < 9; ++c) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
                bytes += std::size_t(sqlite3_column_bytes(stmt, c));
            }
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_SqliteReadAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

struct ShownList {
    SilentBoxes boxes;
    ListView list;
    QWidget window;
    WindowPointer pointer{&window};
    Catalogue movies;

    ShownList() {
        for (int c = 0; c < 9; ++c) {
            list.addColumnHeader(QStringLiteral("Column %1").arg(c));
        }
        movies.open(largeGeneratedCatalogue());
        list.resize(800, 330);
        list.show();
    }
    void refill() { listDVD(list, movies, pointer, boxes); }
};

// The program's refill of the list: record-set read, items and sub-items added, view told.
void BM_ListRefill(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        shown.refill();
        benchmark::DoNotOptimize(shown.list.items().itemCount());
    }
    state.counters["rows"] = shown.list.items().itemCount();
    state.counters["peak_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_ListRefill)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A header click on "Title" of 100 000 shown rows (alternating the direction).
void BM_HeaderClickSort(benchmark::State& state) {
    ShownList shown;
    shown.refill();
    int column = 2;
    for (auto _ : state) {
        shown.list.setSorted(false);
        shown.list.setSortKey(column - 1);
        shown.list.setSortOrder(shown.list.SortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                             : Qt::AscendingOrder);
        shown.list.setSorted(true);
    }
    state.counters["peak_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_HeaderClickSort)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
