#include "core/report/failure.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"
#include "support/xlsx_reader.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QTimer>

namespace {

const QString kCopied =
    QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where you "
                   "normally type and press Ctrl+V to paste the clipboard.");
const QString kNoSpreadsheetForSoftware =
    QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                   "use this software without error.");
const QString kNoSpreadsheetForFeature =
    QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                   "use this feature.");
const QStringList kCaptions = {"ID",       "Title",   " Year",       "Genre", "Cast",
                               "Director", "Runtime", "MPAA Rating", "Studio"};

// A started main window whose catalogue holds the given movies (title, year,
// genre, cast, director, runtime, rating, studio; ids 1, 2, ...).
struct ExportWindow : MainWindowDriver {
    explicit ExportWindow(const QList<QStringList>& movies = {}) {
        load(movies);
        EXPECT_EQ(boxes.count(), 0);
    }
    void tick(std::initializer_list<int> rows) {
        for (int row : rows) {
            list().items().setTicked(row, true);
        }
    }
    // Empties the catalogue and refills the list, as the Clear command does.
    void clearCatalogue() {
        TempCatalogue::exec(catalogue(), QStringLiteral("delete from dvd"));
        listDVD(list(), movies, form->pointer(), boxes);
    }
    QList<QStringList> workbook() { return readXlsxRows(launcher.lastFile()); }
};

QStringList movie(const QString& title, const QString& year = QStringLiteral("1999")) {
    return {title, year, "Drama", "Cast", "Director", "0120", "R", "Studio"};
}

TEST(CopyMoviesToClipboard, TickedRowsReachTheClipboardWithTheHiddenIdColumn) {
    QList<QStringList> movies;
    for (int n = 1; n <= 10; ++n) {
        movies << movie(QStringLiteral("Movie %1").arg(n, 2, 10, QLatin1Char('0')));
    }
    movies[8][0] = QStringLiteral("Movie 09 = Extended");
    ExportWindow w(movies);
    ASSERT_EQ(w.list().columnHeaderWidth(columnIndex(MovieColumn::Id)), 0.0f); // "ID" is hidden
    w.tick({8, 9});

    w.form->PushButton(Button::CopyMoviesToClipboard).click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral(
                  "9 \tMovie 09 = Extended\t1999\tDrama\tCast\tDirector\t0120\tR\tStudio\r\n"
                  "10\tMovie 10           \t1999\tDrama\tCast\tDirector\t0120\tR\tStudio\r\n"));
    ASSERT_EQ(w.boxes.count(), 1);
    EXPECT_EQ(w.boxes.at(0).text, kCopied);
    EXPECT_EQ(w.boxes.at(0).style, 0);
    EXPECT_EQ(w.boxes.at(0).title, w.boxes.appTitle());
    EXPECT_EQ(w.form->pointer().shape(), Pointer::Arrow);

    // An empty list leaves the clipboard alone; the message still shows.
    w.clearCatalogue();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    w.form->PushButton(Button::CopyMoviesToClipboard).click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(w.boxes.count(), 2);
    EXPECT_EQ(w.boxes.last().text, kCopied);
}

TEST(CopyMoviesToClipboard, ListClearedDuringTheCopyDoesNotChangeWhatIsCopied) {
    ExportWindow w({movie("Alien"), movie("Up")});
    w.tick({0, 1});
    QTimer::singleShot(0, [&] { w.clearCatalogue(); });
    w.form->PushButton(Button::CopyMoviesToClipboard).click();

    EXPECT_EQ(w.list().items().itemCount(), 0); // the refill ran during the copy
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("1\tAlien\t1999\tDrama\tCast\tDirector\t0120\tR\tStudio\r\n"
                             "2\tUp   \t1999\tDrama\tCast\tDirector\t0120\tR\tStudio\r\n"));
    EXPECT_TRUE(w.boxes.errorReports().isEmpty());
    EXPECT_EQ(w.boxes.last().text, kCopied);
}

TEST(CopyDatabaseToExcel, WorkbookHoldsCaptionsAndTickedRowsAtTheirPlacesAsText) {
    ExportWindow w({movie("=1+1"), movie("Blade Runner", "1982"), movie("C=a=t", "1e3")});
    // The first column is written unchanged.
    w.list().items().setCell(0, columnIndex(MovieColumn::Id), QStringLiteral("=7"));
    w.list().items().setCell(2, columnIndex(MovieColumn::Rating), QStringLiteral("PG=13"));
    w.tick({0, 2});
    std::optional<Pointer> pointerWhileShowing;
    w.launcher.onStart = [&](const QString&, const QStringList&) {
        pointerWhileShowing = w.form->pointer().shape();
    };

    w.form->PushButton(Button::CopyDatabaseToExcel).click();
    EXPECT_EQ(w.boxes.count(), 0);
    ASSERT_EQ(w.launcher.starts.size(), 1);
    EXPECT_EQ(w.launcher.starts[0].program, QStringLiteral("soffice"));
    EXPECT_EQ(w.launcher.starts[0].arguments.first(), QStringLiteral("-n"));
    EXPECT_EQ(w.workbook(),
              QList<QStringList>(
                  {kCaptions,
                   {"=7", "1+1", "1999", "Drama", "Cast", "Director", "0120", "R", "Studio"},
                   {},
                   {"3", "Cat", "1e3", "Drama", "Cast", "Director", "0120", "PG13", "Studio"}}));
    EXPECT_EQ(pointerWhileShowing, Pointer::Busy);
    EXPECT_EQ(w.form->pointer().shape(), Pointer::Arrow);
    EXPECT_EQ(w.spreadsheetFinder.calls, 2); // the check's object, then the export's
}

TEST(CopyDatabaseToExcel, NothingIsStartedWithoutASpreadsheetProgramOrWithoutRows) {
    ExportWindow missing({movie("Alien")});
    missing.spreadsheetFinder.program.reset();
    missing.form->PushButton(Button::CopyDatabaseToExcel).click();
    ASSERT_EQ(missing.boxes.count(), 2);
    EXPECT_EQ(missing.boxes.at(0).text, kNoSpreadsheetForSoftware);
    EXPECT_EQ(missing.boxes.at(1).text, kNoSpreadsheetForFeature);
    EXPECT_EQ(missing.boxes.at(0).style, 0);
    EXPECT_EQ(missing.boxes.at(1).style, 0);
    EXPECT_TRUE(missing.launcher.starts.isEmpty());
    EXPECT_EQ(missing.form->pointer().shape(), Pointer::Arrow);

    ExportWindow empty;
    empty.form->PushButton(Button::CopyDatabaseToExcel).click();
    EXPECT_EQ(empty.boxes.count(), 0);
    EXPECT_TRUE(empty.launcher.starts.isEmpty());
    EXPECT_EQ(empty.spreadsheetFinder.calls, 1); // only the check looked
    EXPECT_TRUE(QDir(empty.dirs.root()).entryList({"*.xlsx"}).isEmpty());
}

TEST(CopyDatabaseToExcel, ListRefilledDuringTheExportDoesNotChangeWhatIsWritten) {
    ExportWindow w({movie("Alien"), movie("Brazil"), movie("Up")});
    w.tick({0, 2});
    QTimer::singleShot(0, [&] { w.clearCatalogue(); });
    w.form->PushButton(Button::CopyDatabaseToExcel).click();

    EXPECT_EQ(w.list().items().itemCount(), 0);
    EXPECT_TRUE(w.boxes.errorReports().isEmpty());
    const QList<QStringList> rows = w.workbook();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1].value(1), QStringLiteral("Alien"));
    EXPECT_TRUE(rows[2].isEmpty());
    EXPECT_EQ(rows[3].value(1), QStringLiteral("Up"));
    EXPECT_EQ(w.form->pointer().shape(), Pointer::Arrow);
}

TEST(CopyDatabaseToExcel, OverlongTextsAreCutAndReportedOnce) {
    const QString longTitle(40000, QLatin1Char('t'));
    QStringList longMovie = movie(longTitle);
    longMovie[3] = QString(33000, QLatin1Char('c')); // cast
    ExportWindow w({longMovie, movie("Up")});
    w.tick({0, 1});
    w.form->PushButton(Button::CopyDatabaseToExcel).click();

    ASSERT_EQ(w.launcher.starts.size(), 1); // the export went on to the end
    const QList<QStringList> rows = w.workbook();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].value(1), QStringLiteral("Up"));
    const QString title = readXlsxCell(w.launcher.lastFile(), QStringLiteral("B2"));
    EXPECT_TRUE(title == longTitle.left(32767)) << title.size();
    EXPECT_EQ(readXlsxCell(w.launcher.lastFile(), QStringLiteral("E2")).size(), 32767);
    ASSERT_EQ(w.boxes.count(), 1);
    EXPECT_EQ(w.boxes.at(0).style, 48);
    EXPECT_TRUE(w.boxes.at(0).text.contains(QStringLiteral("32767")));
    EXPECT_TRUE(w.boxes.at(0).text.contains(QStringLiteral("(2 cells)")));
}

TEST(CopyDatabaseToExcel, FailuresAreReportedWithTheirLinesAndThePointerIsRestored) {
    // The workbook cannot be opened: one report for line 160, no file left.
    ExportWindow w({movie("Alien")});
    w.tick({0});
    w.launcher.onStart = [](const QString&, const QStringList&) {
        throw Failure(QStringLiteral("The program soffice could not be started."));
    };
    w.form->PushButton(Button::CopyDatabaseToExcel).click();
    ASSERT_EQ(w.boxes.count(), 1);
    EXPECT_TRUE(w.boxes.at(0).text.startsWith(
        "The program soffice could not be started.\r\n"
        "in Reelkeeper2021/08/31.Form1.PushButton3_Click at line 160\r\r"));
    EXPECT_TRUE(QDir(w.dirs.root()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_EQ(w.form->pointer().shape(), Pointer::Arrow);

    // The program disappears between the check and the export: each failing
    // step is reported once, and the export ends, saying so, when the failing
    // cell write comes back.
    ExportWindow gone({movie("Alien"), movie("Up")});
    gone.tick({0, 1});
    gone.spreadsheetFinder.queued = {gone.spreadsheetFinder.program, std::nullopt};
    gone.form->PushButton(Button::CopyDatabaseToExcel).click();
    const QList<ScriptedMessageBoxes::Box> reports = gone.boxes.errorReports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_TRUE(reports[0].text.contains("No spreadsheet program was found"));
    EXPECT_TRUE(reports[0].text.contains(" at line 112\r"));
    EXPECT_TRUE(reports[1].text.contains(" at line 114\r"));
    EXPECT_TRUE(reports[2].text.contains(" at line 122\r"));
    ASSERT_EQ(gone.boxes.count(), 4);
    EXPECT_TRUE(gone.boxes.last().text.startsWith(
        "The copy to the spreadsheet stopped before its end because cells could not be written: "
        "No workbook is open."));
    EXPECT_EQ(gone.boxes.last().style, 48);
    EXPECT_TRUE(gone.launcher.starts.isEmpty());
    EXPECT_EQ(gone.form->pointer().shape(), Pointer::Arrow);
}

} // namespace

namespace {

// Closing the main window while an export runs stops it at its next step:
// nothing reaches the clipboard or the spreadsheet program, nothing is said.
TEST(Exports, ClosingTheMainWindowStopsARunningExport) {
    for (const Button button : {Button::CopyMoviesToClipboard, Button::CopyDatabaseToExcel}) {
        ExportWindow w({movie("Alien"), movie("Up")});
        w.tick({0, 1});
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        QTimer::singleShot(0, w.form.get(), [&] { w.form->close(); });
        w.form->PushButton(button).click();
        EXPECT_EQ(w.programEnd.quits, 1) << "PushButton" << int(button);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        EXPECT_TRUE(w.launcher.starts.isEmpty());
        EXPECT_TRUE(QDir(w.dirs.root()).entryList({"*.xlsx"}).isEmpty());
        EXPECT_EQ(w.boxes.count(), 0);
    }
}

// Padding multiplies the widest cell by every ticked row; a text that would
// pass the limit is not built, and the user is told.
TEST(CopyMoviesToClipboard, ATextTooLargeForTheClipboardIsNotBuilt) {
    ExportWindow w;
    QStringList numbers;
    for (int i = 1; i <= 129; ++i) {
        numbers << QString::number(i);
    }
    TempCatalogue::addTitles(w.catalogue(), numbers);
    listDVD(w.list(), w.movies, w.form->pointer(), w.boxes);
    // 129 titles of a million characters, 2 MiB each as the text is built.
    const QString title(1 << 20, QLatin1Char('t'));
    ASSERT_EQ(w.list().items().itemCount(), 129);
    for (int row = 0; row < w.list().items().itemCount(); ++row) {
        w.list().items().setCell(row, columnIndex(MovieColumn::Title), title);
        w.tick({row});
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    w.form->PushButton(Button::CopyMoviesToClipboard).click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    ASSERT_EQ(w.boxes.count(), 1);
    EXPECT_EQ(w.boxes.last().text,
              QStringLiteral("The ticked movies make more text than the clipboard takes (at most "
                             "256 MB). Nothing was copied; tick fewer movies and try again."));
    EXPECT_EQ(w.boxes.last().style, 48);
}

} // namespace
