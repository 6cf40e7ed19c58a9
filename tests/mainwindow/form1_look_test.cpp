#include "desktop/form_colors.h"
#include "desktop/skin_framework.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QColor background(const QWidget& w) {
    return w.palette().color(QPalette::Window);
}

TEST(Form1Skin, WithoutTheSkinFileTheWindowStaysWhiteAndUnskinned) {
    Form1Harness h;
    QDir(h.dirs.programFolder()).mkpath(QStringLiteral("x"));
    Form1& form = h.loaded();
    EXPECT_EQ(background(form), QColor(Qt::white));
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_TRUE(form.styleSheet().isEmpty());
    auto* skin = form.findChild<SkinFramework*>(QStringLiteral("SkinFramework1"));
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->isLoaded());
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST(Form1Skin, WithTheSkinFileTheWindowTakesItOnAButtonFaceBackground) {
    Form1Harness h;
    ASSERT_NE(buttonFaceColor(), QColor(Qt::white));
    writeFile(h.dirs.programFolder() + QStringLiteral("/x/o.cjs"),
              "QPushButton { color: #123456; }");
    Form1& form = h.loaded();
    EXPECT_EQ(background(form), buttonFaceColor());
    EXPECT_TRUE(form.styleSheet().contains(QStringLiteral("color: #123456")));
    form.PushButton(1).ensurePolished();
    EXPECT_EQ(form.PushButton(1).palette().color(QPalette::ButtonText), QColor(0x123456));
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST(Form1Skin, ABadSkinFileIsReportedAtStep102AndStartUpGoesOn) {
    QByteArray huge(300000, 'x');
    huge = "QWidget { color: red; }" + huge.repeated(4);
    const QByteArray bad[] = {QByteArray(),
                              QByteArray("\x7f"
                                         "ELF\2\1\1\0\0\0",
                                         10),
                              huge};
    for (const QByteArray& bytes : bad) {
        Form1Harness h;
        writeFile(h.dirs.programFolder() + QStringLiteral("/x/o.cjs"), bytes);
        Form1& form = h.loaded();
        EXPECT_EQ(background(form), buttonFaceColor());
        EXPECT_TRUE(form.styleSheet().isEmpty());
        ASSERT_EQ(h.boxes.errorReports().size(), 1);
        const QString report = h.boxes.errorReports().at(0).text;
        EXPECT_TRUE(report.startsWith(QStringLiteral("The skin file ")));
        EXPECT_TRUE(report.contains(QStringLiteral("Form1.Form_Load at line 102\r\r")));
        // The rest of the start-up ran.
        EXPECT_EQ(form.ListView1().columnHeaderCount(), 9);
        ASSERT_TRUE(form.gConn() != nullptr);
        EXPECT_EQ(form.gConn()->State(), 1);
    }
}

TEST(Form1Pointer, LoadsTheHandPointerWhenItIsThere) {
    Form1Harness h;
    QFile::copy(QStringLiteral(RK_HAND_CURSOR_FILE),
                h.dirs.programFolder() + QStringLiteral("/HAND-M.CUR"));
    Form1& form = h.loaded();
    EXPECT_TRUE(form.pointer().hasMouseIcon());
    form.pointer().setMousePointer(99);
    EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form.cursor().hotSpot(), QPoint(7, 1));
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST(Form1Pointer, APointerFileThatIsNoPictureIsReportedAtStep124) {
    Form1Harness h;
    writeFile(h.dirs.programFolder() + QStringLiteral("/HAND-M.CUR"), "MZ not a cursor");
    Form1& form = h.loaded();
    EXPECT_FALSE(form.pointer().hasMouseIcon());
    ASSERT_EQ(h.boxes.errorReports().size(), 1);
    EXPECT_TRUE(h.boxes.errorReports().at(0).text.contains(
        QStringLiteral("Form1.Form_Load at line 124\r\r")));
    EXPECT_EQ(form.ListView1().columnHeaderCount(), 9);
}

TEST(Form1Pointer, HandOverEveryButtonArrowOverListAndBackgroundNeverOverBusy) {
    Form1Harness h;
    Form1& form = h.loaded();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    WindowPointer& pointer = form.pointer();
    for (int number = 1; number <= Form1::kButtonCount; ++number) {
        QTest::mouseMove(form.ListView1().viewport(), {10, 10 + number});
        ASSERT_EQ(pointer.MousePointer(), 0);
        QTest::mouseMove(&form.PushButton(number), {6, 6});
        EXPECT_EQ(pointer.MousePointer(), 99) << "PushButton" << number;
    }
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&form, {3, 3}); // the background left of the list
    EXPECT_EQ(pointer.MousePointer(), 0);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);

    pointer.setMousePointer(11);
    QTest::mouseMove(&form.PushButton(2), {5, 5});
    QTest::mouseMove(form.ListView1().viewport(), {30, 30});
    EXPECT_EQ(pointer.MousePointer(), 11);
}

} // namespace
