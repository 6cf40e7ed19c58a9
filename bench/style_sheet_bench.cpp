// How long checking a skin file takes at start-up, up to the largest one
// accepted, and how long scaling its lengths to the screen takes.
#include "desktop/style_sheet.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray sheetOf(qint64 bytes) {
    const QByteArray rule = "QPushButton#PushButton4:hover, QTreeView::item:selected {\n"
                            "    border: 1px solid #7d8fa8; /* edge */\n"
                            "    padding: 2px 8px; font-family: \"DejaVu Sans\";\n"
                            "    image: url(x/arrow.png);\n"
                            "}\n";
    QByteArray sheet;
    while (sheet.size() + rule.size() <= bytes) {
        sheet += rule;
    }
    return sheet;
}

void BM_CheckSkin(benchmark::State& state) {
    const QByteArray sheet = sheetOf(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(StyleSheet::checkedText(sheet));
    }
    state.SetBytesProcessed(state.iterations() * sheet.size());
}
BENCHMARK(BM_CheckSkin)->Arg(4 * 1024)->Arg(StyleSheet::kMaxBytes);

void BM_ScaleSkin(benchmark::State& state) {
    const QString sheet = StyleSheet::checkedText(sheetOf(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(StyleSheet::scaledPixelLengths(sheet, 1.5));
    }
}
BENCHMARK(BM_ScaleSkin)->Arg(4 * 1024)->Arg(StyleSheet::kMaxBytes);

} // namespace

BENCHMARK_MAIN();
