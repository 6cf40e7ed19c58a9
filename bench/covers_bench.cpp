// Covers at scale: the window's start-up on 10 000 movies with and without
// covers (the start-up reads no image, so the two should match), storing
// 1 000 covers through reelkeeper-cli, and the longest stall while the cover
// view of 10 000 covers is scrolled from top to bottom.
#include "cli/cli.h"
#include "core/covers/cover_schema.h"
#include "generated_catalogue.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/covers/cover_view_switch.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kMovies = 10000;
constexpr int kStoredThroughCli = 1000;

QByteArray coverJpeg() {
    QImage image(300, 450, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

// Gives every movie of the catalogue the same cover, in one transaction.
void addCovers(const QString& path) {
    const QByteArray jpeg = coverJpeg();
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, CoverSchema::kTable, nullptr, nullptr, nullptr);
    sqlite3_exec(db, CoverSchema::kTrigger, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into cover select id, 300, 450, 'jpeg', ?1 from dvd", -1,
                       &insert, nullptr);
    sqlite3_bind_blob(insert, 1, jpeg.constData(), int(jpeg.size()), SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

const QString& catalogue(bool withCovers) {
    static QTemporaryDir dir;
    static const QString plain = [] {
        const QString file = dir.path() + QStringLiteral("/plain.mdb");
        writeGeneratedCatalogue(file, kMovies);
        return file;
    }();
    static const QString covered = [] {
        const QString file = dir.path() + QStringLiteral("/covered.mdb");
        QFile::copy(plain, file);
        addCovers(file);
        return file;
    }();
    return withCovers ? covered : plain;
}

// From nothing to the main window shown and painted, covers attached.
void BM_StartToShown(benchmark::State& state) {
    const bool withCovers = state.range(0) != 0;
    Form1Harness h;
    QDir().mkpath(QFileInfo(h.catalogue()).path());
    QFile::copy(catalogue(withCovers), h.catalogue());
    for (auto _ : state) {
        auto form = std::make_unique<Form1>(h.services(h.shell));
        form->Form_Load();
        form->show(); // shows the remembered view first
        form->repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form->ListView1().items().itemCount());
        state.PauseTiming();
        form.reset();
        h.movies.close();
        state.ResumeTiming();
    }
    state.counters["movies"] = kMovies;
}
BENCHMARK(BM_StartToShown)
    ->ArgName("covers")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

// reelkeeper-cli cover set, 1 000 times on a 10 000-movie catalogue: each
// run parses, opens the catalogue, reads the file, stores in one transaction.
void BM_StoreCoversThroughCli(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/dbDVD.mdb");
    const QString image = dir.path() + QStringLiteral("/cover.jpg");
    QFile out(image);
    out.open(QIODevice::WriteOnly);
    out.write(coverJpeg());
    out.close();
    const Shell shell(dir.path(), dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(file);
        QFile::copy(catalogue(false), file);
        state.ResumeTiming();
        for (int id = 1; id <= kStoredThroughCli; ++id) {
            QBuffer stdOut;
            QBuffer stdErr;
            stdOut.open(QIODevice::WriteOnly);
            stdErr.open(QIODevice::WriteOnly);
            const int status =
                Cli::run({QStringLiteral("--catalogue"), file, QStringLiteral("cover"),
                          QStringLiteral("set"), QString::number(id), image},
                         stdOut, stdErr, shell);
            if (status != Cli::kExitDone) {
                state.SkipWithError(stdErr.data().constData());
                return;
            }
        }
    }
    state.counters["covers"] = kStoredThroughCli;
}
BENCHMARK(BM_StoreCoversThroughCli)->Unit(benchmark::kMillisecond)->Iterations(1);

// The cover view of 10 000 covers scrolled a page at a time from top to
// bottom, each page painted at once; reports the longest single step (the
// longest the window is blocked) next to the mean.
void BM_CoverViewScrollStall(benchmark::State& state) {
    Form1Harness h;
    QDir().mkpath(QFileInfo(h.catalogue()).path());
    QFile::copy(catalogue(true), h.catalogue());
    CoverViewSwitch& covers = *h.form->findChild<CoverViewSwitch*>();
    h.form->Form_Load();
    h.form->show();
    covers.showCovers();
    CoverView& view = covers.view();
    view.doItemsLayout();
    QScrollBar* bar = view.verticalScrollBar();
    double longest = 0;
    double total = 0;
    int steps = 0;
    for (auto _ : state) {
        bar->setValue(0);
        while (true) {
            QElapsedTimer step;
            step.start();
            bar->setValue(bar->value() + bar->pageStep());
            view.viewport()->repaint();
            QApplication::processEvents();
            const double ms = double(step.nsecsElapsed()) / 1e6;
            longest = std::max(longest, ms);
            total += ms;
            ++steps;
            if (bar->value() >= bar->maximum()) {
                break;
            }
        }
    }
    covers.thumbnails().waitForJobs();
    state.counters["longest_stall_ms"] = longest;
    state.counters["mean_step_ms"] = steps ? total / steps : 0;
    state.counters["pages"] = steps;
}
BENCHMARK(BM_CoverViewScrollStall)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
