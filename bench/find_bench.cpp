// Finding in a list of 100 000 movies: a one-character change to the find
// text beside a plain case-insensitive substring scan of the same row texts
// (the floor), and the memory the find keeps beside the list's own.
#include "core/catalogue/catalogue.h"
#include "core/find/row_match.h"
#include "desktop/window_pointer.h"
#include "generated_catalogue.h"
#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "silent_boxes.h"

#include <array>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

double heapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// The list as the window shows it, filled with the generated catalogue.
struct FilledList {
    SilentBoxes boxes;
    QWidget window;
    ListView list{&window};
    WindowPointer pointer{&window};
    Catalogue movies;
    double listMegabytes = 0;

    FilledList() {
        for (int c = 0; c < 9; ++c) {
            list.addColumnHeader(QStringLiteral("Column %1").arg(c));
        }
        movies.open(largeGeneratedCatalogue());
        list.resize(800, 330);
        window.show();
        const double before = heapMegabytes();
        listDVD(list, movies, pointer, boxes);
        listMegabytes = heapMegabytes() - before;
    }
    MovieListModel& items() { return list.items(); }
};

// Shared by every benchmark and left to the end of the process: the list
// must not outlive the application object it was made under.
FilledList& filled() {
    static auto* shared = new FilledList;
    return *shared;
}

// Each row's searchable cells (title to studio) as the list keeps them: one text a row.
const std::vector<QString>& rowTexts() {
    static const std::vector<QString> texts = [] {
        MovieListModel& items = filled().items();
        items.setFilterText({});
        std::vector<QString> out;
        out.reserve(std::size_t(items.itemCount()));
        for (int r = 0; r < items.itemCount(); ++r) {
            QString text;
            for (int c = 1; c < MovieListModel::kMaxColumns; ++c) {
                text += items.cellView(r, c);
            }
            out.push_back(std::move(text));
        }
        return out;
    }();
    return texts;
}

// The floor: which rows hold the text, ignoring case, with nothing kept beside them.
void BM_FloorSubstringScan(benchmark::State& state, const char* text) {
    const std::vector<QString>& texts = rowTexts();
    const QString needle = QString::fromUtf8(text);
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const QString& row : texts) {
            found += QStringView(row).contains(needle, Qt::CaseInsensitive) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
}

// The rows' eight searchable fields (title to studio) as the finder reads them.
class ListRows : public Find::RowSource {
public:
    ListRows() {
        MovieListModel& items = filled().items();
        items.setFilterText({});
        m_rows.resize(std::size_t(items.itemCount()));
        for (int r = 0; r < items.itemCount(); ++r) {
            Row& row = m_rows[std::size_t(r)];
            for (int f = 0; f < Find::kFieldCount; ++f) {
                row.bounds[std::size_t(f)] = quint32(row.text.size());
                row.text += items.cellView(r, f + 1);
            }
            row.bounds[Find::kFieldCount] = quint32(row.text.size());
        }
    }
    int rowCount() const override { return int(m_rows.size()); }
    Find::RowText row(int position) const override {
        const Row& r = m_rows[std::size_t(position)];
        return {QStringView(r.text).utf16(), r.bounds.data()};
    }

private:
    struct Row {
        QString text;
        std::array<quint32, Find::kFieldCount + 1> bounds{};
    };
    std::vector<Row> m_rows;
};

const ListRows& listRows() {
    static const ListRows rows;
    return rows;
}

// Folding every row once, as the list does 4 000 rows at a time while idle.
void BM_FoldEveryRow(benchmark::State& state) {
    const ListRows& rows = listRows();
    for (auto _ : state) {
        Find::FoldedRows folded;
        folded.build(rows);
        benchmark::DoNotOptimize(folded.rowCount());
    }
}

// The matching alone over every row, as after a key that cannot narrow the
// rows found before (a first key, or a Backspace that widens): no view, no
// rows kept from an earlier text.
void BM_MatchEveryRow(benchmark::State& state, const char* text) {
    static const ListRows& rows = listRows();
    static const Find::FoldedRows folded = [] {
        Find::FoldedRows built;
        built.build(rows);
        return built;
    }();
    const Find::Query query = Find::Query::parse(QString::fromUtf8(text));
    std::size_t found = 0;
    for (auto _ : state) {
        found = Find::matchingRows(query, rows, folded).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

// One character changed: from `before` to `after`, the pass and the view told.
void BM_FindOneCharacter(benchmark::State& state, const char* before, const char* after) {
    MovieListModel& items = filled().items();
    const QString from = QString::fromUtf8(before);
    const QString to = QString::fromUtf8(after);
    for (auto _ : state) {
        state.PauseTiming();
        items.setFilterText(from);
        state.ResumeTiming();
        items.setFilterText(to);
    }
    state.counters["found"] = items.itemCount();
    items.setFilterText({});
}

// The first key typed after a refill: the rows are folded once more, then found.
void BM_FindFirstKeyAfterRefill(benchmark::State& state) {
    FilledList& shown = filled();
    for (auto _ : state) {
        state.PauseTiming();
        shown.items().setFilterText({});
        listDVD(shown.list, shown.movies, shown.pointer, shown.boxes);
        state.ResumeTiming();
        shown.items().setFilterText(QStringLiteral("d"));
    }
    shown.items().setFilterText({});
}

// The same, with the view laying out the shown rows as it does before it paints.
void BM_FindOneCharacterAndLayout(benchmark::State& state, const char* before, const char* after) {
    FilledList& shown = filled();
    const QString from = QString::fromUtf8(before);
    const QString to = QString::fromUtf8(after);
    for (auto _ : state) {
        state.PauseTiming();
        shown.items().setFilterText(from);
        shown.list.doItemsLayout();
        state.ResumeTiming();
        shown.items().setFilterText(to);
        shown.list.doItemsLayout();
    }
    shown.items().setFilterText({});
}

// What the find keeps beside the list once a text is set, against the list's own rows.
void BM_FindMemory(benchmark::State& state) {
    FilledList& shown = filled();
    shown.items().setFilterText({});
    const double before = heapMegabytes();
    shown.items().setFilterText(QStringLiteral("d")); // every row matches: the most kept
    const double findMegabytes = heapMegabytes() - before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shown.items().itemCount());
    }
    state.counters["list_MB"] = shown.listMegabytes;
    state.counters["find_MB"] = findMegabytes;
    state.counters["find_percent"] = 100.0 * findMegabytes / shown.listMegabytes;
    shown.items().setFilterText({});
}

void repeat(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(9)->ReportAggregatesOnly(true);
}

// Deleting the last character of "49999" (a whole pass: every row is looked
// at again), typing it (narrows: only the rows found before are looked at),
// the first key typed ("" to "d": every row matches, the most to keep; and
// once more right after a refill, when the rows are folded first), and
// deleting a character from a word found in a fifth of the rows.
BENCHMARK(BM_FindMemory)->Iterations(1);
BENCHMARK_CAPTURE(BM_FloorSubstringScan, 4999, "4999")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacter, backspace_to_4999, "49999", "4999")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacter, type_to_4999, "499", "4999")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FloorSubstringScan, d, "d")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacter, first_key_d, "", "d")->Apply(repeat);
BENCHMARK(BM_FindFirstKeyAfterRefill)->Apply(repeat);
BENCHMARK_CAPTURE(BM_FloorSubstringScan, comedy, "comedy")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacter, backspace_to_comedy, "comedyx", "comedy")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacterAndLayout, backspace_to_4999, "49999", "4999")->Apply(repeat);
BENCHMARK_CAPTURE(BM_FindOneCharacterAndLayout, first_key_d, "", "d")->Apply(repeat);
BENCHMARK(BM_FoldEveryRow)->Apply(repeat);
// Matching alone: first letters, words with a Backspace after them, digits,
// an exclusion and a word no row holds.
BENCHMARK_CAPTURE(BM_MatchEveryRow, f, "f")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, w, "w")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, wilde, "wilde")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, comed, "comed")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, 499, "499")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, drama_not_cast_a, "drama -cast:a")->Apply(repeat);
BENCHMARK_CAPTURE(BM_MatchEveryRow, zqx, "zqx")->Apply(repeat);

} // namespace
