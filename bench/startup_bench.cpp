// Start-to-shown of the main window over a 100 000-movie catalogue: the
// window built, its start-up run, shown and painted; alone, with the health
// check and the day's snapshot scheduled as the program schedules them
// (a while after the window is shown), and with them started at once after
// show(). The check runs on its own thread; it is waited for outside the
// timing, and its time from start to finish is reported as a counter. And
// alone with the features' extra columns shown, each read for every movie.
// And on the same movies with 150 000 copies on the shelf, and with 20 000
// loans in history, the extra columns hidden; the latter also reports how
// long the overdue check the window starts with takes on its own. Each
// reports the time to the list's first paint, before what follows it.
#include "generated_program.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"
#include "mainwindow/loans/loan_commands.h"
#include "mainwindow/loans/loan_notice.h"
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
#include <ctime>

namespace {

constexpr int kMovies = 100000;

constexpr int kCopies = 150000;
constexpr int kLoans = 20000;

const GeneratedFolders& folders() {
    static const GeneratedFolders made(kMovies);
    return made;
}

const GeneratedFolders& foldersWithCopies() {
    static const GeneratedFolders made(kMovies, {.copies = kCopies});
    return made;
}

const GeneratedFolders& foldersWithLoans() {
    static const GeneratedFolders made(kMovies, {.loans = kLoans});
    return made;
}

using Folders = const GeneratedFolders& (*)();

double threadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The time from its start to the list's first paint: the moment the person
// sees the movies, before anything the window does after it.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget& list, const LoanNotice& notice) : m_list(list), m_notice(notice) {
        list.installEventFilter(this);
        m_clock.start();
    }
    double ms() const { return m_ms; }
    // The main thread's processor time to then: on a busy machine about the
    // time it would take without the other programs.
    double cpuMs() const { return m_cpuMs; }
    // Whether the overdue loans' notice was up by then.
    bool noticeFirst() const { return m_noticeFirst; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_list && event->type() == QEvent::Paint && m_ms < 0) {
            m_ms = double(m_clock.nsecsElapsed()) / 1e6;
            m_cpuMs = threadMs() - m_cpuStart;
            m_noticeFirst = m_notice.isVisible();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_list;
    const LoanNotice& m_notice;
    QElapsedTimer m_clock;
    double m_cpuStart = threadMs();
    double m_ms = -1;
    double m_cpuMs = -1;
    bool m_noticeFirst = false;
};

enum class Check { None, AsTheProgramDoes, AtOnce };

void startToShown(benchmark::State& state, Check when, const QStringList& shownColumns = {},
                  Folders catalogue = folders) {
    const bool check = when != Check::None;
    const GeneratedFolders& made = catalogue();
    double checkMs = 0;
    double overdueMs = 0;
    double firstPaintMs = 0;
    double firstPaintCpuMs = 0;
    int noticeFirst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each start finds the day's snapshot due, as the first start of a day does.
        QDir(QFileInfo(made.catalogue).path() + QStringLiteral("/backups")).removeRecursively();
        GeneratedProgram program(made.data);
        for (const QString& id : shownColumns) {
            program.settings.setValue(QStringLiteral("ExtraColumns/") + id, QStringLiteral("1"));
        }
        state.ResumeTiming();
        auto form = std::make_unique<Form1>(program.services());
        const FirstPaint firstPaint(*form->ListView1().viewport(),
                                    form->findChild<LoanCommands*>()->notice());
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
        firstPaintMs += firstPaint.ms();
        firstPaintCpuMs += firstPaint.cpuMs();
        noticeFirst += firstPaint.noticeFirst() ? 1 : 0;
        while (check && !snapshots->startupCheck()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QElapsedTimer checkTime;
        checkTime.start();
        while (check && snapshots->startupCheck()->isRunning()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        checkMs += double(checkTime.nsecsElapsed()) / 1e6;
        QElapsedTimer overdueTime;
        overdueTime.start();
        form->findChild<LoanCommands*>()->checkOverdue();
        overdueMs += double(overdueTime.nsecsElapsed()) / 1e6;
        form.reset();
        state.ResumeTiming();
    }
    if (check) {
        state.counters["check_ms"] = checkMs / double(state.iterations());
    }
    state.counters["first_paint_ms"] = firstPaintMs / double(state.iterations());
    state.counters["first_paint_cpu_ms"] = firstPaintCpuMs / double(state.iterations());
    // Starts whose overdue notice came before the list's first paint.
    state.counters["notice_before_paint"] = noticeFirst;
    // The overdue check again on the shown window, outside the timing.
    state.counters["overdue_check_ms"] = overdueMs / double(state.iterations());
}

void BM_StartToShown(benchmark::State& state) {
    startToShown(state, Check::None);
}
BENCHMARK(BM_StartToShown)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownWithExtraColumns(benchmark::State& state) {
    startToShown(state, Check::None, {QStringLiteral("cover"), QStringLiteral("lookup")});
}
BENCHMARK(BM_StartToShownWithExtraColumns)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownWithCopies(benchmark::State& state) {
    startToShown(state, Check::None, {}, foldersWithCopies);
}
BENCHMARK(BM_StartToShownWithCopies)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownWithLoans(benchmark::State& state) {
    startToShown(state, Check::None, {}, foldersWithLoans);
}
BENCHMARK(BM_StartToShownWithLoans)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownThenCheck(benchmark::State& state) {
    startToShown(state, Check::AsTheProgramDoes);
}
BENCHMARK(BM_StartToShownThenCheck)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToShownCheckAtOnce(benchmark::State& state) {
    startToShown(state, Check::AtOnce);
}
BENCHMARK(BM_StartToShownCheckAtOnce)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
