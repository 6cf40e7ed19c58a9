// Finding as a person feels it: keys typed into the find text of the real
// main window over 100 000 movies, each timed from the key event to the end
// of the list's next paint that shows its result. The first key after the
// start (the window started, shown and left alone a moment, as before a
// person presses Ctrl+F and types) stands apart from the keys that follow.
// Also the extra columns' words: `format:4k` and `location:"shelf b"` with
// 150 000 copies on the shelf, and `loan:overdue` with 20 000 loans in
// history, their columns hidden as they are until ticked.
#include "generated_program.h"
#include "mainwindow/find/find_bar.h"
#include "mainwindow/find/list_finder.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <initializer_list>

namespace {

constexpr int kMovies = 100000;
// How long the shown window is left alone before Ctrl+F, and between keys.
constexpr int kIdleMs = 400;
constexpr int kBetweenKeysMs = 30;
// How long a key that changes nothing in the list is waited for, and the
// longest wait for one that does.
constexpr int kNoChangeMs = 300;
constexpr int kAtMostMs = 10000;

const GeneratedFolders& folders() {
    static const GeneratedFolders made(kMovies);
    return made;
}

const GeneratedFolders& foldersWithCopies() {
    static const GeneratedFolders made(kMovies, {.copies = 150000});
    return made;
}

const GeneratedFolders& foldersWithLoans() {
    static const GeneratedFolders made(kMovies, {.loans = 20000});
    return made;
}

// The main thread's own processor time in milliseconds: on a busy machine
// about the time a key would take without the other programs.
double threadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs the events for a while; returns the longest the window's thread was
// busy at a stretch meanwhile (what it does between keys, such as reading
// ahead a column the text names, would hold up a key pressed then).
double idle(int ms) {
    QElapsedTimer clock;
    clock.start();
    double longest = 0;
    while (clock.elapsed() < ms) {
        const qint64 before = clock.nsecsElapsed();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        longest = std::max(longest, double(clock.nsecsElapsed() - before) / 1e6);
    }
    return longest;
}

// Times a key from its event to the end of the list viewport's first paint
// after the list changed: the paint is over when a timer started in it
// fires, before any the window started meanwhile (such as reading a column
// ahead). What the thread does after that within the same pass of the
// events is the work after the paint.
class KeyToPaint : public QObject {
public:
    explicit KeyToPaint(ListView& list) : m_list(list) {
        list.viewport()->installEventFilter(this);
        const QAbstractItemModel* model = list.model();
        connect(model, &QAbstractItemModel::layoutChanged, this, [this] { m_changed = true; });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { m_changed = true; });
        // A timer, as the window's own work after a paint is started by one.
        m_endOfPaint.setSingleShot(true);
        m_endOfPaint.setInterval(0);
        connect(&m_endOfPaint, &QTimer::timeout, this, [this] {
            m_ms = double(m_clock.nsecsElapsed()) / 1e6;
            m_cpuMs = threadMs() - m_cpuStart;
            m_painted = true;
        });
    }

    struct Timing {
        double ms = -1;     // key to the end of the paint; negative: the list did not change
        double cpuMs = 0;   // the main thread's processor time to then
        double afterMs = 0; // the thread busy from then on before it could take a key
    };

    Timing type(QWidget& field, Qt::Key key, char text) {
        m_changed = false;
        m_painting = false;
        m_painted = false;
        m_clock.start();
        m_cpuStart = threadMs();
        if (text != 0) {
            QTest::keyClick(&field, text);
        } else {
            QTest::keyClick(&field, key);
        }
        // A key that changed the list is waited for however long it takes;
        // one that changed nothing is given up on after a while.
        while (!m_painted &&
               (m_clock.elapsed() < kNoChangeMs || (m_changed && m_clock.elapsed() < kAtMostMs))) {
            QApplication::processEvents();
        }
        if (!m_painted) {
            return {};
        }
        return {m_ms, m_cpuMs, double(m_clock.nsecsElapsed()) / 1e6 - m_ms};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_list.viewport() && event->type() == QEvent::Paint && m_changed &&
            !m_painting) {
            m_painting = true;
            m_endOfPaint.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    ListView& m_list;
    QElapsedTimer m_clock;
    QTimer m_endOfPaint;
    double m_cpuStart = 0;
    double m_ms = -1;
    double m_cpuMs = 0;
    bool m_changed = false;
    bool m_painting = false;
    bool m_painted = false;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(benchmark::State& state, const char* name, const std::vector<double>& ms) {
    if (ms.empty()) {
        return;
    }
    state.counters[std::string(name) + "_median_ms"] = median(ms);
    state.counters[std::string(name) + "_max_ms"] = *std::max_element(ms.begin(), ms.end());
    state.counters[std::string(name) + "_over_16ms"] =
        double(std::count_if(ms.begin(), ms.end(), [](double v) { return v > 16.0; }));
}

// Each iteration starts the window anew, opens the bar with Ctrl+F and
// types words letter by letter, then deletes them again with Backspace.
void typeWords(benchmark::State& state, const GeneratedFolders& made,
               std::initializer_list<const char*> words) {
    std::vector<double> first;
    std::vector<double> typed;
    std::vector<double> erased;
    std::vector<double> firstCpu;
    std::vector<double> typedCpu;
    std::vector<double> erasedCpu;
    std::vector<double> between;
    for (auto _ : state) {
        GeneratedProgram program(made.data);
        Form1 form(program.services());
        form.Form_Load();
        form.show();
        while (!form.windowHandle() || !form.windowHandle()->isExposed()) {
            QApplication::processEvents();
        }
        form.activateWindow();
        idle(kIdleMs);
        QTest::keyClick(&form.ListView1(), Qt::Key_F, Qt::ControlModifier);
        idle(kBetweenKeysMs);
        QLineEdit& field = form.findChild<ListFinder*>()->bar().field();
        KeyToPaint timer(form.ListView1());
        bool firstKey = true;
        for (const char* word : words) {
            for (const char* c = word; *c != 0; ++c) {
                const KeyToPaint::Timing key = timer.type(field, Qt::Key_unknown, *c);
                if (key.ms >= 0) {
                    (firstKey ? first : typed).push_back(key.ms);
                    (firstKey ? firstCpu : typedCpu).push_back(key.cpuMs);
                    firstKey = false;
                }
                between.push_back(std::max(key.afterMs, idle(kBetweenKeysMs)));
            }
            while (!field.text().isEmpty()) {
                const KeyToPaint::Timing key = timer.type(field, Qt::Key_Backspace, 0);
                if (key.ms >= 0) {
                    erased.push_back(key.ms);
                    erasedCpu.push_back(key.cpuMs);
                }
                between.push_back(std::max(key.afterMs, idle(kBetweenKeysMs)));
            }
        }
    }
    report(state, "first_key", first);
    report(state, "typed_key", typed);
    report(state, "backspace", erased);
    report(state, "first_key_cpu", firstCpu);
    report(state, "typed_key_cpu", typedCpu);
    report(state, "backspace_cpu", erasedCpu);
    report(state, "between_keys_busy", between);
    state.counters["rows"] = kMovies;
}

void BM_TypingIntoTheFindBar(benchmark::State& state) {
    typeWords(state, folders(), {"wilder", "comedy", "4999", "drama -cast:a"});
}
BENCHMARK(BM_TypingIntoTheFindBar)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TypingShelfWords(benchmark::State& state) {
    typeWords(state, foldersWithCopies(), {"format:4k", "location:\"shelf b\""});
}
BENCHMARK(BM_TypingShelfWords)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TypingLoanOverdue(benchmark::State& state) {
    typeWords(state, foldersWithLoans(), {"loan:overdue"});
}
BENCHMARK(BM_TypingLoanOverdue)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
