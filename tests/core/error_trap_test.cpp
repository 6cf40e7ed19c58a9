#include "core/report/error_trap.h"
#include "support/scripted_message_boxes.h"

#include <gtest/gtest.h>

namespace {

const QString kTail = QStringLiteral("\r\rPlease email screenshot of this message to "
                                     "support@tarnwick.example");

TEST(ErrorReport, TextIsDescriptionLocationLineAndRequest) {
    EXPECT_EQ(errorReportText(QStringLiteral("Disk is full"),
                              QStringLiteral("Form1.PushButton1_Click"), 104),
              QStringLiteral("Disk is full\r\nin Reelkeeper2021/08/31.Form1.PushButton1_Click "
                             "at line 104") +
                  kTail);
    // An empty description leaves the location as the first visible line.
    EXPECT_EQ(errorReportText(QString(), QStringLiteral("modDVD.listDVD"), 106),
              QStringLiteral("\r\nin Reelkeeper2021/08/31.modDVD.listDVD at line 106") + kTail);
}

TEST(ErrorTrap, ReportsEachFailureWithItsStepAndCarriesOn) {
    ScriptedMessageBoxes boxes;
    ErrorTrap trap(boxes, QStringLiteral("Form1.PushButton1_Click"));
    QStringList ran;
    trap.step(100, [&] { ran << QStringLiteral("100"); });
    trap.step(102, [&] { throw Failure(QStringLiteral("first")); });
    trap.step(104, [&] { throw std::runtime_error("second"); });
    trap.step(106, [&] { ran << QStringLiteral("106"); });

    EXPECT_EQ(ran, QStringList({QStringLiteral("100"), QStringLiteral("106")}));
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.at(0).title, QStringLiteral("Application Error"));
    EXPECT_EQ(boxes.at(0).style, 48);
    EXPECT_TRUE(boxes.at(0).text.startsWith(QStringLiteral("first\r\n")));
    EXPECT_TRUE(boxes.at(0).text.contains(QStringLiteral("at line 102\r\r")));
    EXPECT_TRUE(boxes.at(1).text.startsWith(QStringLiteral("second\r\n")));
    EXPECT_TRUE(boxes.at(1).text.contains(QStringLiteral("at line 104\r\r")));
}

TEST(ErrorTrap, FailingConditionEntersItsBlock) {
    ScriptedMessageBoxes boxes;
    ErrorTrap trap(boxes, QStringLiteral("Form1.Form_Load"));
    EXPECT_TRUE(trap.test(112, []() -> bool { throw Failure(QStringLiteral("no")); }));
    EXPECT_FALSE(trap.test(114, [] { return false; }));
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(trap.currentStep(), 114);
}

TEST(ErrorTrap, LoopStepIsReportedOncePerRun) {
    ScriptedMessageBoxes boxes;
    ErrorTrap trap(boxes, QStringLiteral("modDVD.listDVD"));
    for (int row = 0; row < 1000; ++row) {
        trap.stepInLoop(124, [] { throw Failure(QStringLiteral("no column cast")); });
        trap.stepInLoop(126, [] {});
    }
    trap.stepInLoop(128, [] { throw Failure(QStringLiteral("other")); });
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.at(0).text.contains(QStringLiteral("at line 124")));
    EXPECT_TRUE(boxes.at(1).text.contains(QStringLiteral("at line 128")));
    EXPECT_TRUE(trap.failedInLoop(124));
    EXPECT_FALSE(trap.failedInLoop(126));
}

} // namespace
