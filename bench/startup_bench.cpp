// Start-to-shown of the main window over a 100 000-movie catalogue: the
// window built, its start-up run, shown and painted; alone, with the health
// check and the day's snapshot scheduled as the program schedules them
// (a while after the window is shown), and with them started at once after
// show(). The check runs on its own thread; it is waited for outside the
// timing, and its time from start to finish is reported as a counter. And
// alone with the features' extra columns shown, each read for every movie.
#include "generated_program.h"
#include "mainwindow/form1.h"
#include "mainwindow/snapshots/snapshot_restore.h"
#include "mainwindow/snapshots/startup_check.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace {

constexpr int kMovies = 100000;

const GeneratedFolders& folders() {
    static const GeneratedFolders made(kMovies);
    return made;
}

// The services main() builds, over the scratch data folder.
struct Program : GeneratedProgram {
    Program() : GeneratedProgram(folders().data) {}
};

enum class Check { None, AsTheProgramDoes, AtOnce };

void startToShown(benchmark::State& state, Check when, const QStringList& shownColumns = {}) {
    const bool check = when != Check::None;
    folders();
    double checkMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each start finds the day's snapshot due, as the first start of a day does.
        QDir(QFileInfo(folders().catalogue).path() + QStringLiteral("/backups"))
            .removeRecursively();
        Program program;
        for (const QString& id : shownColumns) {
            program.settings.setValue(QStringLiteral("ExtraColumns/") + id, QStringLiteral("1"));
        }
        state.ResumeTiming();
        auto form = std::make_unique<Form1>(program.services());
        form->Form_Load();
        form->show(); // schedules the check as the program does
        auto* snapshots = form->findChild<SnapshotRestore*>();
        if (when == Check::AtOnce) {
            QTimer::singleShot(0, snapshots, &SnapshotRestore::checkAfterShown);
        }
        while (!form->windowHandle() || !form->windowHandle()->isExposed()) {
            QApplication::processEvents();
        }
        QApplication::processEvents(); // the first paint, and the posted check's start
        state.PauseTiming();
        while (check && !snapshots->startupCheck()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QElapsedTimer checkTime;
        checkTime.start();
        while (check && snapshots->startupCheck()->isRunning()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        checkMs += double(checkTime.nsecsElapsed()) / 1e6;
        form.reset();
        state.ResumeTiming();
    }
    if (check) {
        state.counters["check_ms"] = checkMs / double(state.iterations());
    }
}

void BM_StartToShown(benchmark::State& state) {
    startToShown(state, Check::None);
}
BENCHMARK(BM_StartToShown)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownWithExtraColumns(benchmark::State& state) {
    startToShown(state, Check::None, {QStringLiteral("cover"), QStringLiteral("lookup")});
}
BENCHMARK(BM_StartToShownWithExtraColumns)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownThenCheck(benchmark::State& state) {
    startToShown(state, Check::AsTheProgramDoes);
}
BENCHMARK(BM_StartToShownThenCheck)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownCheckAtOnce(benchmark::State& state) {
    startToShown(state, Check::AtOnce);
}
BENCHMARK(BM_StartToShownCheckAtOnce)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
