#include "desktop/pointer_feedback.h"
#include "desktop/pointer_file.h"
#include "desktop/window_pointer.h"
#include "platform/failure.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// A window like the record editor: two buttons, a label and a text box
// with feedback, one text box without.
struct EditorLikeWindow {
    QWidget window;
    WindowPointer pointer{&window};
    QPushButton* save = new QPushButton(QStringLiteral("Save"), &window);
    QLabel* label = new QLabel(QStringLiteral("Title:"), &window);
    QLineEdit* text1 = new QLineEdit(&window);
    QLineEdit* text7 = new QLineEdit(&window);
    QTreeView* list = new QTreeView(&window);
    PointerFeedback* feedback = new PointerFeedback(pointer, window);

    EditorLikeWindow() {
        window.resize(400, 300);
        save->setGeometry(10, 10, 100, 30);
        label->setGeometry(10, 50, 100, 20);
        text1->setGeometry(120, 50, 100, 20);
        text7->setGeometry(120, 80, 100, 20);
        list->setGeometry(10, 120, 300, 150);
        feedback->hand(*save);
        feedback->arrow(*label);
        feedback->arrow(*text7);
        feedback->arrow(*list);
        feedback->arrowOnBackground(window);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void moveOver(QWidget* widget, QPoint at = {5, 5}) { QTest::mouseMove(widget, at); }
};

TEST(PointerFeedback, HandOverButtonsArrowOverTheRestUnregisteredLeaveItAlone) {
    EditorLikeWindow w;
    w.moveOver(w.save);
    EXPECT_EQ(w.pointer.MousePointer(), 99);
    EXPECT_EQ(w.window.cursor().shape(), Qt::PointingHandCursor);
    // From the button straight onto the text box without feedback: still the hand.
    w.moveOver(w.text1);
    EXPECT_EQ(w.pointer.MousePointer(), 99);
    w.moveOver(w.label);
    EXPECT_EQ(w.pointer.MousePointer(), 0);
    w.moveOver(w.save);
    w.moveOver(w.text7);
    EXPECT_EQ(w.pointer.MousePointer(), 0);
    w.moveOver(w.save);
    w.moveOver(&w.window, {350, 20}); // the background
    EXPECT_EQ(w.pointer.MousePointer(), 0);
    EXPECT_EQ(w.window.cursor().shape(), Qt::ArrowCursor);
    // The list's rows area is a part of the list.
    w.moveOver(w.save);
    w.moveOver(w.list->viewport(), {20, 20});
    EXPECT_EQ(w.pointer.MousePointer(), 0);
}

TEST(PointerFeedback, NeverReplacesTheBusyPointer) {
    EditorLikeWindow w;
    {
        BusyPointer busy(w.pointer);
        w.moveOver(w.save);
        EXPECT_EQ(w.pointer.MousePointer(), 11);
        w.moveOver(w.list->viewport(), {20, 20});
        w.moveOver(&w.window, {350, 20});
        EXPECT_EQ(w.pointer.MousePointer(), 11);
        EXPECT_EQ(w.window.cursor().shape(), Qt::WaitCursor);
    }
    w.moveOver(w.list->viewport(), {30, 30});
    EXPECT_EQ(w.pointer.MousePointer(), 0);
    w.moveOver(w.save, {8, 8});
    EXPECT_EQ(w.pointer.MousePointer(), 99);
}

TEST(PointerFeedback, ForgetsControlsThatAreGone) {
    EditorLikeWindow w;
    EXPECT_EQ(w.feedback->valueFor(*w.save), 99);
    EXPECT_EQ(w.feedback->valueFor(*w.text1), -1);
    delete w.save;
    w.moveOver(&w.window, {20, 20}); // where the button was: now background
    EXPECT_EQ(w.pointer.MousePointer(), 0);
}

// The hand pointer the build draws beside the program.
TEST(HandPointer, IsARealCursorFileWithItsHotspotAtTheFingertip) {
    const QString path = QStringLiteral(RK_HAND_CURSOR_FILE);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(4), QByteArray("\0\0\2\0", 4)); // the cursor file type

    const QCursor cursor = loadPointerFile(path);
    EXPECT_EQ(cursor.hotSpot(), QPoint(7, 1));
    const QImage image = cursor.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_GT(qAlpha(image.pixel(7, 1)), 0);  // the finger
    EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0); // the screen shows through
}

TEST(HandPointer, WindowShowsItForSettingNinetyNineOrQtsHandWithoutIt) {
    QWidget window;
    WindowPointer pointer(&window);
    pointer.setMousePointer(99);
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    pointer.setMouseIcon(loadPointerFile(QStringLiteral(RK_HAND_CURSOR_FILE)));
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(7, 1));
}

TEST(HandPointer, AFileThatIsNoPictureFailsWithADescription) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/HAND-M.CUR");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no cursor\n");
    file.close();
    try {
        loadPointerFile(path);
        FAIL() << "a text file loaded as a pointer";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(path));
    }
}

} // namespace
