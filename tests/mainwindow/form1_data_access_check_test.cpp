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

class DataAccessCheck : public ::testing::Test {
protected:
    void putPackage(const QString& name) {
        QFile file(h.dirs.programFolder() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("package");
    }
    void expectStartUpWentOn() {
        EXPECT_EQ(h.programEnd.ends, 0);
        EXPECT_EQ(h.form->ListView1().columnHeaderCount(), 9);
        ASSERT_TRUE(h.form->gConn() != nullptr);
        EXPECT_EQ(h.form->gConn()->State(), 1);
    }

    Form1Harness h;
};

TEST_F(DataAccessCheck, AUsableLayerShowsNothing) {
    h.loaded();
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(h.dataAccess.connectionsCreated, 1);
    EXPECT_EQ(h.dataAccess.recordsetsCreated, 1);
    EXPECT_TRUE(h.processes.launches.isEmpty());
    expectStartUpWentOn();
}

TEST_F(DataAccessCheck, RealLayerIsUsable) {
    SqliteDataAccess real;
    EXPECT_NE(real.createConnection(), nullptr);
    EXPECT_NE(real.createRecordset(), nullptr);
    const QString width = GetProcessorAddressWidth(*std::make_unique<QtSystemInfo>());
    EXPECT_TRUE(width == QLatin1String("64") || width == QLatin1String("32"));
}

TEST_F(DataAccessCheck, BrokenAndNoShowsTheGuidanceAndStartUpGoesOn) {
    for (const bool connectionFails : {true, false}) {
        Form1Harness run;
        run.dataAccess.connectionFails = connectionFails;
        run.dataAccess.recordsetFails = !connectionFails;
        run.loaded();
        ASSERT_EQ(run.boxes.count(), 2);
        EXPECT_EQ(run.boxes.at(0).text, kRepairQuestion);
        EXPECT_EQ(run.boxes.at(0).style, 4);
        EXPECT_EQ(run.boxes.at(0).title, QStringLiteral("Reelkeeper"));
        EXPECT_EQ(run.boxes.at(1).text, kGuidance);
        EXPECT_EQ(run.boxes.at(1).style, 0);
        EXPECT_EQ(run.boxes.at(1).title, QStringLiteral("Reelkeeper"));
        EXPECT_EQ(run.boxes.at(1).text.split(QStringLiteral("\r\n\r\n")).size(), 3);
        EXPECT_TRUE(run.processes.launches.isEmpty());
        EXPECT_EQ(run.form->gConn()->State(), 1);
    }
}

TEST_F(DataAccessCheck, BrokenAndYesRunsThePackageForTheWidthHiddenThenAsksToStop) {
    const struct {
        std::vector<int> widths;
        bool fails;
        const char* package;
    } cases[] = {
        {{64}, false, "ADOFix64.msu"},  {{32}, false, "ADOFix86.msu"},
        {{}, false, "ADOFix86.msu"},    {{64}, true, "ADOFix86.msu"},
        {{640}, false, "ADOFix86.msu"}, {{32, 64}, false, "ADOFix64.msu"},
    };
    for (const auto& c : cases) {
        Form1Harness run;
        run.dataAccess.connectionFails = true;
        run.systemInfo.widths = c.widths;
        run.systemInfo.fails = c.fails;
        for (const char* name : {"ADOFix64.msu", "ADOFix86.msu"}) {
            QFile file(run.dirs.programFolder() + QLatin1Char('/') + QLatin1String(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        int boxesAtLaunch = -1;
        run.processes.onLaunch = [&] { boxesAtLaunch = run.boxes.count(); };
        run.processes.runningPolls = 2;
        run.boxes.answer(6);
        run.loaded();

        ASSERT_EQ(run.processes.launches.size(), 1) << c.package;
        EXPECT_EQ(run.processes.launches.at(0).commandLine,
                  run.dirs.programFolder() + QLatin1Char('/') + QLatin1String(c.package));
        EXPECT_EQ(run.processes.launches.at(0).windowStyle, 0);
        EXPECT_EQ(run.processes.sleeps.size(), 3u); // it waited for the package
        EXPECT_EQ(boxesAtLaunch, 1);
        ASSERT_EQ(run.boxes.count(), 2);
        EXPECT_EQ(run.boxes.at(1).text, kStopQuestion);
        EXPECT_EQ(run.boxes.at(1).style, 4);
        EXPECT_EQ(run.boxes.at(1).title, QStringLiteral("Reelkeeper"));
        // No: the start-up goes on.
        EXPECT_EQ(run.programEnd.ends, 0);
        EXPECT_EQ(run.form->gConn()->State(), 1);
    }
}

TEST_F(DataAccessCheck, YesWithoutThePackageSaysNothingMore) {
    h.dataAccess.recordsetFails = true;
    putPackage(QStringLiteral("ADOFix86.msu")); // not the one for 64 bits
    h.boxes.answer(6);
    h.loaded();
    EXPECT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.processes.launches.isEmpty());
    expectStartUpWentOn();
}

TEST_F(DataAccessCheck, TheStopQuestionComesEvenWhenThePackageCannotStart) {
    h.dataAccess.connectionFails = true;
    putPackage(QStringLiteral("ADOFix64.msu"));
    h.processes.startError = 2;
    h.boxes.answer(6);
    h.loaded();
    ASSERT_EQ(h.boxes.count(), 2);
    EXPECT_EQ(h.boxes.at(1).text, kStopQuestion);
    EXPECT_TRUE(h.processes.sleeps.empty());
    expectStartUpWentOn();
}

TEST_F(DataAccessCheck, YesToStopEndsBeforeTheCatalogueIsOpenedAndWritesNothing) {
    h.dataAccess.connectionFails = true;
    putPackage(QStringLiteral("ADOFix64.msu"));
    h.boxes.answer(6);
    h.boxes.answer(6);
    EXPECT_THROW(h.loaded(), ProgramEnded);
    EXPECT_EQ(h.programEnd.ends, 1);
    EXPECT_EQ(h.boxes.count(), 2);
    EXPECT_TRUE(h.form->gConn() == nullptr);
    EXPECT_EQ(h.form->ListView1().columnHeaderCount(), 0);
    EXPECT_TRUE(h.settings.values.isEmpty());
    EXPECT_EQ(h.programEnd.quits, 0);
}

} // namespace
