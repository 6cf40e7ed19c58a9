// Scans answered in the real window's scan mode over 100 000 movies with
// 150 000 copies: the digits typed into the scan box as a scanner types
// them, then each scan timed from the Enter key's event to the end of the
// answer list's paint that shows its answer (a known disc also highlights
// its movie in the list on the way). Discs on the shelf and discs not in
// the catalogue are counted apart. The lookup alone, as the store makes
// it, stands beside them as the floor.
#include "core/catalogue/catalogue.h"
#include "core/shelf/shelf_store.h"
#include "generated_program.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"
#include "mainwindow/shelf/scan_mode.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

constexpr int kMovies = 100000;
constexpr int kCopies = 150000;
constexpr int kScans = 40;

const GeneratedFolders& folders() {
    static const GeneratedFolders made(kMovies, {.copies = kCopies});
    return made;
}

// The barcode of the n-th scan: copies spread over the shelf, every fourth
// scan a disc that is not in the catalogue.
QString scanned(int n) {
    return n % 4 == 3 ? generatedBarcode(kCopies + n) : generatedBarcode((n * 3739) % kCopies);
}

void waitUntil(const std::function<bool()>& done) {
    while (!done()) {
        QApplication::processEvents();
    }
}

// Notes the first paint of a widget after arm().
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget) : m_widget(widget) { widget.installEventFilter(this); }
    void arm() { m_painted = false; }
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_widget && event->type() == QEvent::Paint) {
            m_painted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_widget;
    bool m_painted = false;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(benchmark::State& state, const std::string& name, const std::vector<double>& ms) {
    state.counters[name + "_median_ms"] = median(ms);
    state.counters[name + "_max_ms"] = *std::max_element(ms.begin(), ms.end());
}

void BM_ScanInTheWindow(benchmark::State& state) {
    GeneratedProgram program(folders().data);
    Form1 form(program.services());
    form.Form_Load();
    form.show();
    waitUntil([&form] { return form.windowHandle() && form.windowHandle()->isExposed(); });
    form.activateWindow();
    QTest::keyClick(&form.ListView1(), Qt::Key_B, Qt::ControlModifier);
    auto* mode = form.findChild<ScanMode*>();
    if (!mode || !mode->window() || !mode->window()->isVisible()) {
        state.SkipWithError("Ctrl+B did not open the scan mode");
        return;
    }
    QDialog& window = *mode->window();
    waitUntil([&window] { return window.windowHandle() && window.windowHandle()->isExposed(); });
    QLineEdit& field = *mode->field();
    PaintWatch answerPaint(*window.findChild<QListWidget*>()->viewport());
    std::vector<double> known;
    std::vector<double> unknown;
    int n = 0;
    for (auto _ : state) {
        const QString code = scanned(n);
        QTest::keyClicks(&field, code);
        const int before = int(mode->answers().size());
        answerPaint.arm();
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(&field, Qt::Key_Return);
        waitUntil([&] { return mode->answers().size() > before && answerPaint.painted(); });
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1e3);
        const bool owned = mode->answers().first().startsWith(code + QStringLiteral(": You own"));
        if (owned != (n % 4 != 3)) {
            state.SkipWithError("a scan got the wrong answer");
            return;
        }
        (owned ? known : unknown).push_back(ms);
        ++n;
    }
    report(state, "on_shelf", known);
    report(state, "not_in_catalogue", unknown);
}
BENCHMARK(BM_ScanInTheWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kScans);

// The floor: the store's lookup of the same barcodes, nothing shown.
void BM_ScanLookupAlone(benchmark::State& state) {
    Catalogue catalogue;
    catalogue.open(folders().catalogue);
    ShelfStore store(catalogue);
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.findBarcode(scanned(n++)).size());
    }
}
BENCHMARK(BM_ScanLookupAlone)->Unit(benchmark::kMillisecond);

} // namespace
