#include "mainwindow/list_view.h"
#include "mainwindow/main_window_layout.h"
#include "platform/twips.h"
#include "support/fixed_layout.h"
#include "support/form1_harness.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int px(float twips) {
    return Twips::toPixels(twips);
}

TEST(MainWindowLayout, StretchedRowsSitUnderTheListAboutTheMiddle) {
    MainWindowControls c;
    const float widths[] = {3000, 3000, 3000, 2520, 3000, 2550, 3120, 3120};
    for (int n = 1; n <= 8; ++n) {
        c.button(n) = {0, 0, widths[n - 1], 405};
    }
    c.list = {120, 120, 0, 0};
    MainWindowLayout::stretch(c, 19200, 14400); // a 1280 x 960 screen
    EXPECT_FLOAT_EQ(c.list.width, 18870);
    EXPECT_FLOAT_EQ(c.list.height, 12690);
    EXPECT_FLOAT_EQ(c.list.left, 120);
    const float top = 12690 + 225;
    const std::map<int, std::pair<float, float>> spots = {
        {4, {3000, top}},       {1, {5640, top}},       {5, {8760, top}},
        {7, {11880, top}},      {6, {3000, top + 510}}, {3, {5670, top + 510}},
        {2, {8790, top + 510}}, {8, {11910, top + 510}}};
    for (const auto& [number, spot] : spots) {
        EXPECT_FLOAT_EQ(c.button(number).left, spot.first) << number;
        EXPECT_FLOAT_EQ(c.button(number).top, spot.second) << number;
        EXPECT_FLOAT_EQ(c.button(number).width, widths[number - 1]);
    }
}

// The real window on the offscreen screen.
class Form1Layout : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void setState(Qt::WindowStates state) {
        form.setWindowState(state);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.windowState() == state; }));
        QCoreApplication::processEvents();
    }
    // Every control at its designed place.
    void expectDesignedLayout() {
        for (const ControlPlace& p : kFixedLayout) {
            const auto* control = form.findChild<QWidget*>(QString::fromLatin1(p.name));
            ASSERT_NE(control, nullptr) << p.name;
            EXPECT_EQ(control->geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)))
                << p.name;
        }
    }
    // The fixed layout put back after a maximise: the rows chained from
    // PushButton4 bring PushButton7 in line with its row and the second row
    // 30 further right.
    void expectRestoredLayout() {
        EXPECT_EQ(list.geometry(), QRect(px(120), px(120), px(12000), px(4920)));
        EXPECT_EQ(form.PushButton(4).pos(), QPoint(px(120), px(5115)));
        EXPECT_EQ(form.PushButton(7).pos(), QPoint(px(9000), px(5115)));
        EXPECT_EQ(form.PushButton(6).pos(), QPoint(px(120), px(5625)));
        EXPECT_EQ(form.PushButton(3).pos(), QPoint(px(2790), px(5625)));
        EXPECT_EQ(form.PushButton(8).pos(), QPoint(px(9030), px(5625)));
    }
    void expectCentred() {
        const TwipsSize screen = screenSizeInTwips(form);
        const TwipsSize outer = outerSizeInTwips(form);
        EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(px((screen.width - outer.width) / 2),
                                                         px((screen.height - outer.height) / 2)));
    }

    Form1Harness h;
    Form1& form = h.loaded();
    ListView& list = form.ListView1();
};

TEST_F(Form1Layout, MaximiseStretchesAndRestoreBringsTheFixedLayoutBackCentred) {
    // Narrower than the offscreen screen, which does not place a window
    // partly off its left edge exactly where asked.
    form.resize(700, 400);
    setState(Qt::WindowMaximized);
    const TwipsSize outer = outerSizeInTwips(form);
    ASSERT_EQ(form.frameGeometry().size(), form.screen()->geometry().size());
    EXPECT_TRUE(form.mLayoutMaximized);
    const float listHeight = outer.height - 2 * 405 - 900;
    EXPECT_EQ(list.geometry(), QRect(px(120), px(120), px(outer.width - 330), px(listHeight)));
    const float left = outer.width / 2 - 6600, top = listHeight + 225;
    EXPECT_EQ(form.PushButton(4).pos(), QPoint(px(left), px(top)));
    EXPECT_EQ(form.PushButton(1).pos(), QPoint(px(left + 2640), px(top)));
    EXPECT_EQ(form.PushButton(2).pos(), QPoint(px(left + 5790), px(top + 510)));

    setState(Qt::WindowNoState);
    expectRestoredLayout();
    expectCentred();
    // From now on every drag in the normal state snaps back to the centre.
    form.move(5, 7);
    form.resize(form.width() - 45, form.height() + 30);
    QCoreApplication::processEvents();
    expectRestoredLayout();
    expectCentred();
}

TEST_F(Form1Layout, ANeverMaximisedWindowIgnoresDragsAndMinimisingChangesNothing) {
    form.move(40, 50);
    const QPoint at = form.pos();
    form.resize(form.width() + 150, form.height() + 90);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.mLayoutMaximized);
    expectDesignedLayout();
    EXPECT_EQ(form.pos(), at);
    setState(Qt::WindowMinimized);
    expectDesignedLayout();
    EXPECT_EQ(form.pos(), at);

    setState(Qt::WindowMaximized);
    const QRect stretched = list.geometry();
    setState(Qt::WindowMaximized | Qt::WindowMinimized);
    EXPECT_EQ(list.geometry(), stretched);
}

TEST(Form1LayoutStart, ASavedMaximisedStateOpensStretched) {
    Form1Harness h;
    h.settings.values[QStringLiteral("WindowState")] = QStringLiteral("2");
    Form1& form = h.loaded();
    EXPECT_TRUE(form.mLayoutMaximized);
    form.show();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.frameGeometry().size() == form.screen()->geometry().size(); }));
    EXPECT_EQ(form.ListView1().width(), px(outerSizeInTwips(form).width - 330));
}

} // namespace
