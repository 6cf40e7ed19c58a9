#include "desktop/pointer_feedback.h"
#include "desktop/pointer_file.h"
#include "desktop/window_pointer.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// A window like the record editor: a button, a label, a list and a text box
// with feedback, one text box without.
struct EditorLikeWindow {
    QWidget window;
    WindowPointer pointer{&window};
    QPushButton* save = new QPushButton(QStringLiteral("Save"), &window);
    QLabel* label = new QLabel(QStringLiteral("Title:"), &window);
    QLineEdit* text1 = new QLineEdit(&window);
    QLineEdit* text7 = new QLineEdit(&window);
    QTreeView* list = new QTreeView(&window);

    EditorLikeWindow() {
        window.resize(400, 300);
        save->setGeometry(10, 10, 100, 30);
        label->setGeometry(10, 50, 100, 20);
        text1->setGeometry(120, 50, 100, 20);
        text7->setGeometry(120, 80, 100, 20);
        list->setGeometry(10, 120, 300, 150);
        auto* feedback = new PointerFeedback(pointer, window);
        feedback->hand(*save);
        feedback->arrow(*label);
        feedback->arrow(*text7);
        feedback->arrow(*list);
        feedback->arrowOnBackground(window);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    Pointer after(QWidget* from, QWidget* to, QPoint at = {5, 5}) {
        QTest::mouseMove(from, {5, 5});
        QTest::mouseMove(to, at);
        return pointer.shape();
    }
};

TEST(PointerFeedback, HandOverButtonsArrowOverTheRestUnregisteredLeaveItAlone) {
    EditorLikeWindow w;
    EXPECT_EQ(w.after(w.label, w.save), Pointer::Hand);
    EXPECT_EQ(w.window.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w.after(w.save, w.text1), Pointer::Hand); // no feedback there: still the hand
    EXPECT_EQ(w.after(w.save, w.label), Pointer::Arrow);
    EXPECT_EQ(w.after(w.save, w.text7), Pointer::Arrow);
    EXPECT_EQ(w.after(w.save, w.list->viewport(), {20, 20}), Pointer::Arrow);
    EXPECT_EQ(w.after(w.save, &w.window, {350, 20}), Pointer::Arrow); // the background
    EXPECT_EQ(w.window.cursor().shape(), Qt::ArrowCursor);
    // A control that is gone leaves background where it was.
    delete w.save;
    w.pointer.setShape(Pointer::Hand);
    QTest::mouseMove(&w.window, {20, 20});
    EXPECT_EQ(w.pointer.shape(), Pointer::Arrow);
}

// The hand pointer the build draws beside the program.
TEST(HandPointer, IsARealCursorFileWithItsHotspotAtTheFingertip) {
    QFile file(QStringLiteral(RK_HAND_CURSOR_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(4), QByteArray("\0\0\2\0", 4)); // the cursor file type
    const QCursor cursor = loadPointerFile(file.fileName());
    EXPECT_EQ(cursor.hotSpot(), QPoint(7, 1));
    const QImage image = cursor.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_GT(qAlpha(image.pixel(7, 1)), 0);  // the finger
    EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0); // the screen shows through
}

} // namespace
