#include "mainwindow/list_view.h"
#include "mainwindow/main_window_layout.h"
#include "platform/twips.h"
#include "platform/twips_geometry.h"
#include "support/form1_harness.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The designed layout, as Form1 lays it out.
MainWindowControls designed() {
    MainWindowControls c;
    c.list = {120, 120, 12000, 4920};
    c.button(4) = {120, 5115, 2520, 405};
    c.button(1) = {2760, 5115, 3000, 405};
    c.button(5) = {5880, 5115, 3000, 405};
    c.button(7) = {9000, 5130, 3120, 405};
    c.button(6) = {120, 5625, 2550, 405};
    c.button(3) = {2760, 5625, 3000, 405};
    c.button(2) = {5880, 5625, 3000, 405};
    c.button(8) = {9000, 5625, 3120, 405};
    return c;
}

struct Spot {
    float left, top;
};
void expectButtons(const MainWindowControls& c, const std::map<int, Spot>& spots) {
    for (const auto& [number, spot] : spots) {
        EXPECT_FLOAT_EQ(c.button(number).left, spot.left) << "PushButton" << number;
        EXPECT_FLOAT_EQ(c.button(number).top, spot.top) << "PushButton" << number;
    }
}

TEST(MainWindowLayout, StretchedRowsSitUnderTheListAboutTheMiddle) {
    MainWindowControls c = designed();
    MainWindowLayout::stretch(c, 19200, 14400);
    EXPECT_FLOAT_EQ(c.list.width, 19200 - 330);
    EXPECT_FLOAT_EQ(c.list.height, 14400 - 2 * 405 - 900);
    EXPECT_FLOAT_EQ(c.list.left, 120);
    EXPECT_FLOAT_EQ(c.list.top, 120);
    const float top = 14400 - 2 * 405 - 900 + 225;
    expectButtons(c, {{4, {19200 / 2 - 6600, top}},
                      {1, {5640, top}},
                      {5, {8760, top}},
                      {7, {11880, top}},
                      {6, {3000, top + 510}},
                      {3, {5670, top + 510}},
                      {2, {8790, top + 510}},
                      {8, {11910, top + 510}}});
    // The first row is 12000 wide, the sizes never change.
    EXPECT_FLOAT_EQ(c.button(7).left + c.button(7).width - c.button(4).left, 12000);
    EXPECT_FLOAT_EQ(c.button(6).width, 2550);
    EXPECT_FLOAT_EQ(c.button(8).height, 405);
}

TEST(MainWindowLayout, FixedLayoutComesBackWithTheSecondRowThirtyFurtherRight) {
    MainWindowControls c = designed();
    MainWindowLayout::stretch(c, 30000, 20000);
    MainWindowLayout::restoreFixed(c);
    EXPECT_FLOAT_EQ(c.list.width, 12000);
    EXPECT_FLOAT_EQ(c.list.height, 4920);
    expectButtons(c, {{4, {120, 5115}},
                      {1, {2760, 5115}},
                      {5, {5880, 5115}},
                      {7, {9000, 5115}},
                      {6, {120, 5625}},
                      {3, {2790, 5625}},
                      {2, {5910, 5625}},
                      {8, {9030, 5625}}});
    const auto at = MainWindowLayout::centred({19200, 14400}, {12300, 6600});
    EXPECT_FLOAT_EQ(at.left, 3450);
    EXPECT_FLOAT_EQ(at.top, 3900);
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
    void expectFixedLayout(float secondRowShift) {
        EXPECT_EQ(twips(*list).width, 12000);
        EXPECT_EQ(twips(*list).height, 4920);
        EXPECT_EQ(form.PushButton(4).pos(), QPoint(px(120), px(5115)));
        EXPECT_EQ(form.PushButton(3).pos(), QPoint(px(2760 + secondRowShift), px(5625)));
        EXPECT_EQ(form.PushButton(8).pos(), QPoint(px(9000 + secondRowShift), px(5625)));
    }
    void expectCentred() {
        const TwipsSize screen = screenSizeInTwips(form);
        const TwipsSize outer = outerSizeInTwips(form);
        EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(px((screen.width - outer.width) / 2),
                                                         px((screen.height - outer.height) / 2)));
    }
    static TwipsRect twips(const QWidget& w) { return twipsGeometry(w); }
    static int px(float twips) { return Twips::toPixels(twips); }

    Form1Harness h;
    Form1& form = h.loaded();
    ListView* list = &form.ListView1();
};

TEST_F(Form1Layout, MaximiseStretchesAndRestoreBringsTheFixedLayoutBackCentred) {
    EXPECT_FALSE(form.mLayoutMaximized);
    // Narrower than the offscreen screen, which will not place a window
    // partly off its left edge exactly.
    form.resize(700, 400);
    setState(Qt::WindowMaximized);
    const TwipsSize outer = outerSizeInTwips(form);
    EXPECT_EQ(form.frameGeometry().size(), form.screen()->geometry().size());
    EXPECT_TRUE(form.mLayoutMaximized);
    EXPECT_FLOAT_EQ(twips(*list).width, outer.width - 330);
    EXPECT_FLOAT_EQ(twips(*list).height, outer.height - 2 * 405 - 900);
    EXPECT_EQ(list->geometry().size(),
              QSize(px(outer.width - 330), px(outer.height - 2 * 405 - 900)));
    EXPECT_FLOAT_EQ(twips(form.PushButton(4)).left, outer.width / 2 - 6600);
    EXPECT_FLOAT_EQ(twips(form.PushButton(4)).top, twips(*list).height + 225);
    EXPECT_FLOAT_EQ(twips(form.PushButton(1)).left, outer.width / 2 - 6600 + 2520 + 120);
    EXPECT_FLOAT_EQ(twips(form.PushButton(2)).top, twips(*list).height + 225 + 510);

    setState(Qt::WindowNoState);
    expectFixedLayout(30);
    EXPECT_EQ(form.PushButton(7).pos().y(), px(5115));
    expectCentred();

    // From now on every drag in the normal state snaps back to the centre.
    form.move(5, 7);
    form.resize(form.width() - 45, form.height() + 30);
    QCoreApplication::processEvents();
    expectFixedLayout(30);
    expectCentred();
}

TEST_F(Form1Layout, ANeverMaximisedWindowIgnoresDragsAndMinimisingChangesNothing) {
    form.move(40, 50);
    const QPoint at = form.pos();
    form.resize(form.width() + 150, form.height() + 90);
    QCoreApplication::processEvents();
    expectFixedLayout(0);
    EXPECT_EQ(form.PushButton(7).pos().y(), px(5130));
    EXPECT_EQ(form.pos(), at);

    setState(Qt::WindowMinimized);
    expectFixedLayout(0);
    EXPECT_EQ(form.pos(), at);

    // Minimised after a maximise: nothing moves either.
    setState(Qt::WindowMaximized);
    const QRect stretched = list->geometry();
    const QPoint button = form.PushButton(8).pos();
    setState(Qt::WindowMaximized | Qt::WindowMinimized);
    EXPECT_EQ(list->geometry(), stretched);
    EXPECT_EQ(form.PushButton(8).pos(), button);
}

TEST(Form1LayoutStart, ASavedMaximisedStateOpensStretched) {
    Form1Harness h;
    h.settings.values[QStringLiteral("WindowState")] = QStringLiteral("2");
    Form1& form = h.loaded();
    EXPECT_TRUE(form.mLayoutMaximized);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.frameGeometry().size() == form.screen()->geometry().size(); }));
    EXPECT_FLOAT_EQ(twipsGeometry(form.ListView1()).width, outerSizeInTwips(form).width - 330);
}

} // namespace
