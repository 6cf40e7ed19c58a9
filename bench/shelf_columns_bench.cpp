// Each shelf column's read for the list (every movie's cell in one go, as a
// fill or a find word reads it) over 100 000 movies with 150 000 copies and
// 2 000 series of ten movies, beside SQLite stepping through the same two
// columns with nothing made of them; and the loans' "On loan" column with
// 20 000 loans in history.
#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"
#include "generated_program.h"
#include "mainwindow/column_provider.h"
#include "mainwindow/list_view.h"
#include "mainwindow/loans/loan_columns.h"
#include "mainwindow/shelf/shelf_columns.h"
#include "mainwindow/window_context.h"

#include <QCoreApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <map>
#include <stdexcept>

namespace {

constexpr int kMovies = 100000;

// 2 000 series of ten movies each, every movie in one at most.
const char kSets[] =
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2000)"
    " insert into shelf_set (name, kind) select 'Series ' || i, 'series' from n;"
    "with recursive n(i) as (select 0 union all select i + 1 from n where i < 19999)"
    " insert into shelf_set_member (set_id, position, movie_id)"
    " select 1 + i / 10, 1 + i % 10, 1 + (i * 4999) % 100000 from n;";

struct ShelfFolders : GeneratedFolders {
    ShelfFolders() : GeneratedFolders(kMovies, {.copies = 150000}) {
        SqliteDatabase(catalogue, SqliteDatabase::Access::ReadWrite).execute(kSets);
    }
};

const GeneratedFolders& foldersWithCopies() {
    static const ShelfFolders made;
    return made;
}

const GeneratedFolders& foldersWithLoans() {
    static const GeneratedFolders made(kMovies, {.loans = 20000});
    return made;
}

// The window as a column feature sees it: the services over the catalogue,
// a list, and the columns offered to it by id. What a column never uses is
// refused.
class ColumnContext : public WindowContext {
public:
    explicit ColumnContext(const GeneratedFolders& folders) : m_program(folders.data) {
        m_program.catalogue.open(folders.catalogue);
    }
    const Services& services() const override { return m_services; }
    ListView& list() override { return m_list; }
    WindowPointer& pointer() override { throw std::logic_error("no pointer"); }
    QWidget& window() override { return m_window; }
    Form2& editor() override { throw std::logic_error("no editor"); }
    void refill() override {}
    bool refresh() override { return true; }
    bool catchUp() override { return true; }
    void editHighlighted() override {}
    void press(Button) override {}
    void setRoomAbove(int) override {}
    void addColumn(ColumnProvider& provider) override {
        m_columns[provider.id().toStdString()] = &provider;
    }
    void columnsChanged() override {}
    void addDeleteCheck(DeleteCheck) override {}

    ColumnProvider& column(const std::string& id) { return *m_columns.at(id); }

private:
    GeneratedProgram m_program;
    Services m_services = m_program.services();
    QWidget m_window;
    ListView m_list{&m_window};
    std::map<std::string, ColumnProvider*> m_columns;
};

// Times one column's read; the events run between reads (untimed), as they
// do between a person's keys, so nothing read before is kept.
template <class Feature>
void readColumn(benchmark::State& state, const GeneratedFolders& folders, const char* id) {
    ColumnContext context(folders);
    Feature feature(context);
    ColumnProvider& column = context.column(id);
    QHash<qint64, QString> cells;
    for (auto _ : state) {
        state.PauseTiming();
        cells = {};
        QCoreApplication::processEvents();
        state.ResumeTiming();
        cells = column.cells();
    }
    state.counters["cells"] = double(cells.size());
}

void BM_ShelfColumn(benchmark::State& state, const char* id) {
    readColumn<ShelfColumns>(state, foldersWithCopies(), id);
}
BENCHMARK_CAPTURE(BM_ShelfColumn, format, "format")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShelfColumn, location, "location")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShelfColumn, copies, "copies")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShelfColumn, status, "status")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShelfColumn, barcode, "barcode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShelfColumn, set, "set")->Unit(benchmark::kMillisecond);

void BM_LoanColumn(benchmark::State& state) {
    readColumn<LoanColumns>(state, foldersWithLoans(), "loan");
}
BENCHMARK(BM_LoanColumn)->Unit(benchmark::kMillisecond);

// The floor: SQLite alone stepping through what a column reads, each field
// read as it comes (the movie id as a number, a text as its bytes).
void BM_SqliteCopyColumn(benchmark::State& state, const char* statement) {
    const SqliteDatabase db(foldersWithCopies().catalogue, SqliteDatabase::Access::ReadOnly);
    for (auto _ : state) {
        SqliteStatement query(db, statement);
        const bool text = query.columnCount() > 1;
        qint64 bytes = 0;
        while (query.step()) {
            bytes += query.integer(0) + (text ? query.utf8(1).size() : 0);
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, format, "select movie_id, format from shelf_copy")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, location, "select movie_id, location from shelf_copy")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, copies, "select movie_id from shelf_copy order by movie_id")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, status, "select movie_id, status from shelf_copy")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, barcode, "select movie_id, barcode from shelf_copy")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteCopyColumn, set,
                  "select m.movie_id, s.name from shelf_set s"
                  " join shelf_set_member m on m.set_id = s.id")
    ->Unit(benchmark::kMillisecond);

} // namespace
