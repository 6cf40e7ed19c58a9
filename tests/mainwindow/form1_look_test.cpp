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
    for (const char* made : {"", "x", "x/o.cjs"}) { // no folder, no file, a folder of its name
        Form1Harness h;
        QDir(h.dirs.programFolder()).mkpath(QLatin1String(made));
        Form1& form = h.loaded();
        EXPECT_EQ(background(form), QColor(Qt::white));
        EXPECT_TRUE(form.styleSheet().isEmpty());
        EXPECT_FALSE(form.findChild<SkinFramework*>(QStringLiteral("SkinFramework1"))->isLoaded());
        EXPECT_EQ(h.boxes.count(), 0);
    }
}

TEST(Form1Skin, WithTheSkinFileTheWindowTakesItOnAButtonFaceBackground) {
    Form1Harness h;
    ASSERT_NE(buttonFaceColor(), QColor(Qt::white));
    writeFile(h.dirs.programFolder() + QStringLiteral("/x/o.cjs"),
              "QPushButton { color: #123456; }");
    Form1& form = h.loaded();
    EXPECT_EQ(background(form), buttonFaceColor());
    form.PushButton(1).ensurePolished();
    EXPECT_EQ(form.PushButton(1).palette().color(QPalette::ButtonText), QColor(0x123456));
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST(Form1Skin, ABadSkinFileIsReportedAtStep102AndStartUpGoesOn) {
    const QByteArray huge = "QWidget { color: red; }" + QByteArray(1200000, ' ');
    for (const QByteArray& bytes : {QByteArray(),
                                    QByteArray("\x7f"
                                               "ELF\2\1\1\0\0",
                                               9),
                                    huge}) {
        Form1Harness h;
        writeFile(h.dirs.programFolder() + QStringLiteral("/x/o.cjs"), bytes);
        Form1& form = h.loaded();
        EXPECT_EQ(background(form), buttonFaceColor());
        EXPECT_TRUE(form.styleSheet().isEmpty());
        ASSERT_EQ(h.boxes.errorReports().size(), 1);
        const QString report = h.boxes.errorReports().at(0).text;
        EXPECT_TRUE(report.startsWith(QStringLiteral("The skin file ")));
        EXPECT_TRUE(report.contains(QStringLiteral("Form1.Form_Load at line 102\r\r")));
        EXPECT_EQ(form.ListView1().columnHeaderCount(), 9); // the rest of the start-up ran
        EXPECT_TRUE(h.movies.isOpen());
    }
}

TEST(Form1Pointer, LoadsTheHandPointerOrReportsAFileThatIsNoPictureAtStep124) {
    Form1Harness good;
    QFile::copy(QStringLiteral(RK_HAND_CURSOR_FILE),
                good.dirs.programFolder() + QStringLiteral("/HAND-M.CUR"));
    good.loaded().pointer().setShape(Pointer::Hand);
    EXPECT_EQ(good.form->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(good.form->cursor().hotSpot(), QPoint(7, 1));
    EXPECT_EQ(good.boxes.count(), 0);

    Form1Harness bad;
    writeFile(bad.dirs.programFolder() + QStringLiteral("/HAND-M.CUR"), "MZ not a cursor");
    bad.loaded().pointer().setShape(Pointer::Hand);
    EXPECT_EQ(bad.form->cursor().shape(), Qt::PointingHandCursor);
    ASSERT_EQ(bad.boxes.errorReports().size(), 1);
    EXPECT_TRUE(bad.boxes.errorReports().at(0).text.contains(
        QStringLiteral("Form1.Form_Load at line 124\r\r")));
    EXPECT_EQ(bad.form->ListView1().columnHeaderCount(), 9);
}

TEST(Form1Pointer, HandOverEveryButtonArrowOverListAndBackgroundNeverOverBusy) {
    Form1Harness h;
    Form1& form = h.loaded();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    WindowPointer& pointer = form.pointer();
    for (int number = 1; number <= Form1::kButtonCount; ++number) {
        QTest::mouseMove(form.ListView1().viewport(), {10, 10 + number});
        ASSERT_EQ(pointer.shape(), Pointer::Arrow);
        QTest::mouseMove(&form.PushButton(number), {6, 6});
        EXPECT_EQ(pointer.shape(), Pointer::Hand) << "PushButton" << number;
    }
    QTest::mouseMove(&form, {3, 3}); // the background left of the list
    EXPECT_EQ(pointer.shape(), Pointer::Arrow);

    pointer.setShape(Pointer::Busy);
    QTest::mouseMove(&form.PushButton(2), {5, 5});
    QTest::mouseMove(form.ListView1().viewport(), {30, 30});
    EXPECT_EQ(pointer.shape(), Pointer::Busy);
}

} // namespace
