#include "desktop/error_trap.h"
#include "export/list_snapshot.h"
#include "export/qt_printers.h"
#include "export/workbook_export.h"
#include "export/xlsx_reader.h"
#include "platform/spreadsheet_automation.h"
#include "support/scripted_message_boxes.h"
#include "support/spreadsheet_fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ListSnapshot tickedMovies(int count) {
    ListSnapshot list({"ID", "Title", " Year"});
    for (int n = 1; n <= count; ++n) {
        list.addRow({QString::number(n), QStringLiteral("Movie %1").arg(n), "1999"}, true);
    }
    return list;
}

struct WorkbookExport {
    explicit WorkbookExport(SheetLimits limits = {})
        : automation(finder, launcher, folder.path(), limits) {}

    WorkbookExportResult run(const ListSnapshot& list) {
        ErrorTrap trap(boxes, QStringLiteral("Form1.PushButton3_Click"));
        return copyListToWorkbook(trap, list, automation, [&] { ++pumps; });
    }

    QTemporaryDir folder;
    FixedSpreadsheetFinder finder;
    RecordingLauncher launcher;
    SpreadsheetAutomation automation;
    ScriptedMessageBoxes boxes;
    int pumps = 0;
};

TEST(WorkbookExport, ACellFailureRepeatingOnEveryCellIsReportedOnceAndEndsTheExport) {
    // A sheet of three rows takes the captions and two movies; the third
    // movie's cells all fail.
    WorkbookExport run(SheetLimits{3, 16384});
    const WorkbookExportResult result = run.run(tickedMovies(1000));
    EXPECT_TRUE(result.stoppedOnRepeatedFailure);
    ASSERT_EQ(run.boxes.count(), 1);
    EXPECT_TRUE(run.boxes.at(0).text.startsWith("Row 4 is outside the sheet"));
    EXPECT_TRUE(run.boxes.at(0).text.contains(" at line 144\r"));
    EXPECT_TRUE(run.launcher.starts.isEmpty()); // ended before showing
    EXPECT_LT(run.pumps, 100);                  // and did not walk the other rows
}

TEST(WorkbookExport, PumpRunsPerCaptionRowAndCellAndCutsAreCounted) {
    WorkbookExport run;
    ListSnapshot list({"ID", "Title"});
    list.addRow({"1", QString(kCellTextLimit + 10, QLatin1Char('x'))}, true);
    list.addRow({"2", "Up"}, false);
    const WorkbookExportResult result = run.run(list);
    EXPECT_FALSE(result.stoppedOnRepeatedFailure);
    EXPECT_EQ(result.cutValues, 1);
    EXPECT_EQ(run.pumps, 2 + 2 + 2); // captions, rows, cells of the ticked row
    EXPECT_EQ(run.boxes.count(), 0);
    ASSERT_EQ(run.launcher.starts.size(), 1);
}

TEST(FitToCell, CutsAtTheLimitWithoutSplittingACharacter) {
    bool cut = true;
    EXPECT_EQ(fitToCell(QStringLiteral("short"), &cut), QStringLiteral("short"));
    EXPECT_FALSE(cut);
    const QString exact(kCellTextLimit, QLatin1Char('a'));
    EXPECT_EQ(fitToCell(exact, &cut), exact);
    EXPECT_FALSE(cut);

    // A character outside the basic plane straddling the limit is dropped whole.
    QString straddling(kCellTextLimit - 1, QLatin1Char('a'));
    straddling += QString::fromUcs4(U"\U0001F3AC") + QStringLiteral("tail");
    const QString fitted = fitToCell(straddling, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(fitted.size(), kCellTextLimit - 1);
    EXPECT_FALSE(fitted.back().isHighSurrogate());
}

} // namespace
