// Speed and memory of the two exports over a large list: 100 000 movies,
// all ticked; and the catalogue's export with one row per copy
// (`reelkeeper-cli export FILE --copies`) of 100 000 movies and 150 000
// copies beside the sqlite3 shell writing the same join as CSV. Run one
// benchmark per process (--benchmark_filter) to read its own peak memory
// from the peak_rss_MB counter.
#include "core/catalogue/catalogue.h"
#include "core/export/catalogue_export.h"
#include "core/formats/clipboard_text.h"
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/system/throttled_pump.h"
#include "export/clipboard_export.h"
#include "export/workbook_export.h"
#include "generated_catalogue.h"
#include "mainwindow/list_snapshot_of.h"
#include "mainwindow/list_view.h"
#include "platform/clipboard.h"
#include "silent_boxes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

constexpr int kMovies = 100000;
constexpr int kCopies = 150000;

// The main window's list, filled with varied movies and every row ticked.
ListView& bigList() {
    static ListView* list = [] {
        auto* view = new ListView;
        for (const char* caption : {"ID", "Title", " Year", "Genre", "Cast", "Director", "Runtime",
                                    "MPAA Rating", "Studio"}) {
            view->addColumnHeader(QString::fromLatin1(caption));
        }
        static const char* const genres[] = {"Drama", "Comedy", "Science Fiction", "Horror",
                                             "Documentary"};
        static const char* const ratings[] = {"G", "PG", "PG-13", "R", "NC-17"};
        MovieListModel& items = view->items();
        items.beginFill();
        for (int n = 1; n <= kMovies; ++n) {
            const int row = items.addItem(QString::number(n));
            items.setCell(
                row, 1, QStringLiteral("Movie number %1%2").arg(n).arg(n % 50 ? "" : " = Part II"));
            items.setCell(row, 2, QString::number(1930 + n % 90));
            items.setCell(row, 3, QString::fromLatin1(genres[n % 5]));
            items.setCell(row, 4,
                          QStringLiteral("Actor %1, Actress %2, Extra %3")
                              .arg(n % 997)
                              .arg(n % 991)
                              .arg(n % 983));
            items.setCell(row, 5, QStringLiteral("Director %1").arg(n % 1201));
            items.setCell(row, 6, QString::number(80 + n % 100));
            items.setCell(row, 7, QString::fromLatin1(ratings[n % 5]));
            items.setCell(row, 8, QStringLiteral("Studio %1").arg(n % 97));
        }
        items.endFill();
        for (int row = 0; row < kMovies; ++row) {
            items.setTicked(row, true);
        }
        return view;
    }();
    return *list;
}

class FixedFinder : public SpreadsheetFinder {
public:
    std::optional<SpreadsheetProgram> find() override {
        return SpreadsheetProgram{QStringLiteral("soffice"), {QStringLiteral("-n")}};
    }
};

// Remembers the file instead of opening it.
class NoLaunch : public DocumentLauncher {
public:
    void start(const QString&, const QStringList& arguments) override { file = arguments.last(); }
    QString file;
};

// The filled list alone: the memory the program holds before any export.
void BM_FilledList(benchmark::State& state) {
    ListView& list = bigList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.items().itemCount());
    }
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_FilledList)->Iterations(1);

// Snapshot of the list, the text with the window's event pump between cells.
void BM_ClipboardText(benchmark::State& state) {
    ListView& list = bigList();
    for (auto _ : state) {
        ThrottledPump pump;
        const QString text = clipboardText(snapshotOfList(list), std::ref(pump));
        benchmark::DoNotOptimize(text.size());
    }
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_ClipboardText)->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole copy: snapshot, text, and the desktop clipboard taking it.
void BM_CopyListToClipboard(benchmark::State& state) {
    ListView& list = bigList();
    SystemClipboard clipboard;
    for (auto _ : state) {
        ThrottledPump pump;
        copyListToClipboard(snapshotOfList(list), clipboard, std::ref(pump));
    }
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_CopyListToClipboard)->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole workbook export: snapshot, cells, fit, the .xlsx file written
// and checked (not opened).
void BM_WorkbookExport(benchmark::State& state) {
    ListView& list = bigList();
    QTemporaryDir folder;
    FixedFinder finder;
    NoLaunch launcher;
    SpreadsheetAutomation automation(finder, launcher, folder.path());
    SilentBoxes boxes;
    qint64 fileSize = 0;
    for (auto _ : state) {
        ErrorTrap trap(boxes, QStringLiteral("Form1.PushButton3_Click"));
        ThrottledPump pump;
        const WorkbookExportResult result =
            copyListToWorkbook(trap, snapshotOfList(list), automation, std::ref(pump));
        if (trap.reportCount() != 0 || result.stoppedEarly) {
            state.SkipWithError("the export failed");
            break;
        }
        state.PauseTiming();
        fileSize = QFile(launcher.file).size();
        QFile::remove(launcher.file);
        state.ResumeTiming();
    }
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
    state.counters["file_MB"] = double(fileSize) / (1024.0 * 1024.0);
}
BENCHMARK(BM_WorkbookExport)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the event pump costs per pass when nothing is pending.
void BM_ThrottledPumpPass(benchmark::State& state) {
    ThrottledPump pump;
    for (auto _ : state) {
        pump();
    }
}
BENCHMARK(BM_ThrottledPumpPass);

// A generated catalogue of kMovies movies and kCopies copies, written once
// into a folder that also takes the exported files.
struct CopiesCatalogue {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("dbDVD.mdb"));
    QString csv = folder.filePath(QStringLiteral("copies.csv"));
    CopiesCatalogue() { writeGeneratedCatalogue(file, kMovies, {.copies = kCopies}); }
};

CopiesCatalogue& copiesCatalogue() {
    static CopiesCatalogue instance;
    return instance;
}

// The export with one row per copy to .csv, the catalogue opened each time
// as the command opens it.
void BM_ExportCopiesCsv(benchmark::State& state) {
    CopiesCatalogue& copies = copiesCatalogue();
    CatalogueExportResult result;
    for (auto _ : state) {
        Catalogue catalogue;
        catalogue.open(copies.file, Catalogue::Access::ReadOnly);
        result = exportCatalogueCopies(copies.csv, catalogue);
    }
    if (result.movies != kMovies || result.rows != kCopies) {
        state.SkipWithError("not every movie and copy was written");
    }
    state.counters["rows"] = double(result.rows);
    state.counters["file_MB"] = double(QFile(copies.csv).size()) / (1 << 20);
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}
BENCHMARK(BM_ExportCopiesCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the sqlite3 shell writes the same rows (each movie with each of
// its copies, or once without) as CSV with a header line.
void BM_Sqlite3ShellCopiesCsv(benchmark::State& state) {
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        state.SkipWithError("no sqlite3 shell");
        return;
    }
    CopiesCatalogue& copies = copiesCatalogue();
    const QString out = copies.folder.filePath(QStringLiteral("shell.csv"));
    const QStringList arguments = {
        QStringLiteral("-readonly"),
        QStringLiteral("-csv"),
        QStringLiteral("-header"),
        copies.file,
        QStringLiteral(".output %1").arg(out),
        QStringLiteral("select d.id, d.title, d.year, d.genre, d.[cast], d.director, d.runtime,"
                       " d.rating, d.studio, c.id as copy_id, c.format, c.edition, c.barcode,"
                       " c.location, c.status, nullif(c.discs, 0) as discs, c.acquired, c.price,"
                       " c.currency, c.condition, c.note, '' as borrower, '' as due from dvd d"
                       " left join shelf_copy c on c.movie_id = d.id order by d.id, c.id")};
    for (auto _ : state) {
        QProcess process;
        process.start(shell, arguments);
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("the sqlite3 shell failed");
            return;
        }
    }
    state.counters["file_MB"] = double(QFile(out).size()) / (1 << 20);
}
BENCHMARK(BM_Sqlite3ShellCopiesCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
