#include "core/formats/list_snapshot.h"
#include "core/report/error_trap.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "export/workbook_export.h"
#include "support/scripted_message_boxes.h"
#include "support/spreadsheet_fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(WorkbookExport, ACellFailureRepeatingOnEveryCellIsReportedOncePerLineAndEndsTheExport) {
    // A sheet of three rows takes the captions and two movies; every cell of
    // the third movie on fails.
    QTemporaryDir folder;
    FixedSpreadsheetFinder finder;
    RecordingDocumentLauncher launcher;
    SpreadsheetAutomation automation(finder, launcher, folder.path(), SheetLimits{3, 16384});
    ListSnapshot list({"ID", "Title", " Year"});
    for (int n = 1; n <= 1000; ++n) {
        list.addRow({QString::number(n), QStringLiteral("Movie %1").arg(n), "1999"}, true);
    }
    ScriptedMessageBoxes boxes;
    ErrorTrap trap(boxes, QStringLiteral("Form1.PushButton3_Click"));
    int pumps = 0;
    const WorkbookExportResult result =
        copyListToWorkbook(trap, list, automation, [&] { ++pumps; });

    EXPECT_TRUE(result.stoppedEarly);
    EXPECT_TRUE(result.stopReason.startsWith("Row 4 is outside the sheet"));
    ASSERT_EQ(boxes.count(), 2); // the id cell, then the title cell; the year cell stops it
    EXPECT_TRUE(boxes.at(0).text.startsWith("Row 4 is outside the sheet"));
    EXPECT_TRUE(boxes.at(0).text.contains(" at line 144\r"));
    EXPECT_TRUE(boxes.at(1).text.contains(" at line 148\r"));
    EXPECT_TRUE(launcher.starts.isEmpty()); // ended before showing
    EXPECT_LT(pumps, 100);                  // without walking the other rows
}

TEST(FitToCell, CutsAtTheLimitWithoutSplittingACharacter) {
    bool cut = true;
    const QString exact(kCellTextLimit, QLatin1Char('a'));
    EXPECT_EQ(fitToCell(exact, &cut), exact);
    EXPECT_FALSE(cut);
    // A character outside the basic plane straddling the limit goes whole.
    const QString straddling = QString(kCellTextLimit - 1, QLatin1Char('a')) +
                               QString::fromUcs4(U"\U0001F3AC") + QStringLiteral("tail");
    EXPECT_EQ(fitToCell(straddling, &cut), QString(kCellTextLimit - 1, QLatin1Char('a')));
    EXPECT_TRUE(cut);
}

} // namespace
