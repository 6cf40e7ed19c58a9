#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kRepairQuestion =
    QStringLiteral("Error #193: ADO is not properly installed on this computer. \r\n"
                   "You need to have it installed to use this software without error.\r\n\r\n"
                   "Would you like to repair it now?");
const QString kGuidance = QStringLiteral(
    "Please check for MDAC installation.\r\n\r\n"
    "Please check this: https://support.microsoft.com/kb/2640696 and look for 'How to obtain "
    "this update' section and download the appropriate update.\r\n\r\n"
    "Please email support@tarnwick.example with a screenshot of this message if you have any "
    "questions.");
const QString kStopQuestion =
    QStringLiteral("ADO is fixed on this computer. \r\n"
                   "You need to restart your computer and software.\r\n\r\n"
                   "Would you like to stop software now?");

void putPackages(const Form1Harness& h, const QStringList& names) {
    for (const QString& name : names) {
        QFile file(h.dirs.programFolder() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
}

// A box with the application title and the given text and style.
void expectBox(const Form1Harness& h, int i, const QString& text, int style) {
    ASSERT_GT(h.boxes.count(), i);
    EXPECT_EQ(h.boxes.at(i).text, text);
    EXPECT_EQ(h.boxes.at(i).style, style);
    EXPECT_EQ(h.boxes.at(i).title, QStringLiteral("Reelkeeper"));
}

void expectStartUpWentOn(const Form1Harness& h) {
    EXPECT_EQ(h.programEnd.ends, 0);
    EXPECT_EQ(h.form->ListView1().columnHeaderCount(), 9);
    EXPECT_TRUE(h.movies.isOpen());
}

TEST(DataAccessCheck, AUsableLayerShowsNothing) {
    Form1Harness h;
    h.loaded();
    EXPECT_EQ(h.boxes.count(), 0);
    expectStartUpWentOn(h);
    // The real layer and width.
    EXPECT_NE(SqliteDataAccess().createRecordset(), nullptr);
    QtSystemInfo system;
    EXPECT_TRUE(QStringList({"32", "64"}).contains(GetProcessorAddressWidth(system)));
}

TEST(DataAccessCheck, BrokenAndNoShowsTheGuidanceAndStartUpGoesOn) {
    for (const bool connectionFails : {true, false}) {
        Form1Harness h;
        h.dataAccess.connectionFails = connectionFails;
        h.dataAccess.recordsetFails = !connectionFails;
        h.loaded();
        ASSERT_EQ(h.boxes.count(), 2);
        expectBox(h, 0, kRepairQuestion, 4);
        expectBox(h, 1, kGuidance, 0);
        EXPECT_TRUE(h.processes.launches.isEmpty());
        expectStartUpWentOn(h);
    }
}

TEST(DataAccessCheck, BrokenAndYesRunsThePackageForTheWidthHiddenThenAsksToStop) {
    const struct {
        std::vector<int> widths;
        bool fails;
        QString package;
    } cases[] = {
        {{64}, false, "ADOFix64.msu"},  {{32}, false, "ADOFix86.msu"},
        {{}, false, "ADOFix86.msu"},    {{64}, true, "ADOFix86.msu"},
        {{640}, false, "ADOFix86.msu"}, {{32, 64}, false, "ADOFix64.msu"},
    };
    for (const auto& c : cases) {
        Form1Harness h;
        h.dataAccess.connectionFails = true;
        h.systemInfo.widths = c.widths;
        h.systemInfo.fails = c.fails;
        putPackages(h, {"ADOFix64.msu", "ADOFix86.msu"});
        int boxesAtLaunch = -1;
        h.processes.onLaunch = [&] { boxesAtLaunch = h.boxes.count(); };
        h.processes.runningPolls = 2;
        h.boxes.answer(Answer::Yes);
        h.loaded();

        ASSERT_EQ(h.processes.launches.size(), 1);
        EXPECT_EQ(h.processes.launches.at(0).commandLine,
                  h.dirs.programFolder() + QLatin1Char('/') + c.package);
        EXPECT_EQ(h.processes.launches.at(0).windowStyle, 0);
        EXPECT_EQ(h.processes.sleeps.size(), 3u); // it waited for the package
        EXPECT_EQ(boxesAtLaunch, 1);
        ASSERT_EQ(h.boxes.count(), 2);
        expectBox(h, 1, kStopQuestion, 4);
        expectStartUpWentOn(h); // answered No
    }
}

TEST(DataAccessCheck, YesWithoutThePackageSaysNothingMoreAndAFailedStartStillAsks) {
    Form1Harness missing;
    missing.dataAccess.recordsetFails = true;
    putPackages(missing, {"ADOFix86.msu"}); // not the one for 64 bits
    missing.boxes.answer(Answer::Yes);
    missing.loaded();
    EXPECT_EQ(missing.boxes.count(), 1);
    EXPECT_TRUE(missing.processes.launches.isEmpty());
    expectStartUpWentOn(missing);

    Form1Harness failing;
    failing.dataAccess.connectionFails = true;
    putPackages(failing, {"ADOFix64.msu"});
    failing.processes.startError = 2;
    failing.boxes.answer(Answer::Yes);
    failing.loaded();
    ASSERT_EQ(failing.boxes.count(), 2);
    expectBox(failing, 1, kStopQuestion, 4);
    expectStartUpWentOn(failing);
}

TEST(DataAccessCheck, YesToStopEndsBeforeTheCatalogueIsOpenedAndWritesNothing) {
    Form1Harness h;
    h.dataAccess.connectionFails = true;
    putPackages(h, {"ADOFix64.msu"});
    h.boxes.answer(Answer::Yes);
    h.boxes.answer(Answer::Yes);
    EXPECT_THROW(h.loaded(), ProgramEnded);
    EXPECT_EQ(h.programEnd.ends, 1);
    EXPECT_EQ(h.boxes.count(), 2);
    EXPECT_FALSE(h.movies.isOpen());
    EXPECT_EQ(h.form->ListView1().columnHeaderCount(), 0);
    EXPECT_TRUE(h.settings.values.isEmpty());
}

} // namespace
