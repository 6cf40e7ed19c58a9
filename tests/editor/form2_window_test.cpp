// The record editor as a window: layout, loading, the year check, closing.
#include "desktop/form_colors.h"
#include "editor/editor_fixture.h"
#include "platform/twips.h"

#include <QImage>
#include <QLabel>

namespace {

QRect twips(float left, float top, float width, float height) {
    return {Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
            Twips::toPixels(height)};
}

TEST_F(EditorTest, WindowIsLaidOutAsDesigned) {
    EXPECT_EQ(form->objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Add New Record"));
    EXPECT_EQ(form->size(), QSize(Twips::toPixels(8040), Twips::toPixels(4965)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // fixed border
    EXPECT_FALSE(form->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->font().bold());
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 9.0);

    const QStringList captions = {
        "Title:", "Year:", "Genre:", "Cast:", "Director:", "Runtime:", "MPAA Rating:", "Studio:"};
    for (int n = 1; n <= 8; ++n) {
        const float top = 135 + 540 * float(n - 1);
        EXPECT_EQ(box(n).geometry(), twips(n == 8 ? 1455 : 1440, top, 6480, 375)) << n;
        auto* label = form->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(n - 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), captions.at(n - 1));
        EXPECT_EQ(label->geometry().right() + 1, Twips::toPixels(1320));
        EXPECT_EQ(label->geometry().top(), Twips::toPixels(top + 90));
    }
    EXPECT_EQ(button(1).text(), QStringLiteral("Save"));
    EXPECT_EQ(button(1).geometry(), twips(120, 4440, 3840, 405));
    EXPECT_EQ(button(2).text(), QStringLiteral("Cancel"));
    EXPECT_EQ(button(2).geometry(), twips(4080, 4440, 3840, 405));
    EXPECT_DOUBLE_EQ(button(2).font().pointSizeF(), 11.25);

    // Tab order: the boxes in turn, then Save, then Cancel.
    const auto nextTabStop = [](QWidget* w) {
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    QWidget* w = &box(1);
    for (int n = 2; n <= 8; ++n) {
        w = nextTabStop(w);
        EXPECT_EQ(w, &box(n));
    }
    EXPECT_EQ(nextTabStop(w), &button(1));
    EXPECT_EQ(nextTabStop(&button(1)), &button(2));
}

TEST_F(EditorTest, LoadingColoursLabelsAndTakesTheHandPointerWhenThereIsOne) {
    QImage hand(32, 32, QImage::Format_ARGB32);
    hand.fill(Qt::black);
    ASSERT_TRUE(hand.save(dirs.programFolder() + QStringLiteral("/HAND-M.CUR"), "PNG"));
    form->Text(1); // touching a box loads the window
    EXPECT_TRUE(form->isLoaded());
    EXPECT_TRUE(form->pointer().hasMouseIcon());
    EXPECT_EQ(form->Label1(0).palette().color(QPalette::Window), buttonFaceColor());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(EditorTest, UnreadableHandPointerIsReportedAndTheWindowStillLoads) {
    QFile bad(dirs.programFolder() + QStringLiteral("/HAND-M.CUR"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a pointer");
    bad.close();
    form->Load();
    ASSERT_EQ(boxes.errorReports().size(), 1);
    EXPECT_TRUE(boxes.last().text.contains(
        QStringLiteral("in Reelkeeper2021/08/31.Form2.Form_Load at line 102")));
    EXPECT_FALSE(form->pointer().hasMouseIcon());
    EXPECT_TRUE(form->isLoaded());
}

TEST_F(EditorTest, YearMustBeNumericWhenTheFocusLeavesIt) {
    whileModal(*form, [&] {
        const auto leaveYearWith = [&](const QString& year) {
            box(2).setFocus();
            box(2).setText(year);
            QTest::keyClick(&box(2), Qt::Key_Tab);
            QApplication::processEvents();
        };
        for (const QString& good : {QStringLiteral("1999"), QString()}) {
            leaveYearWith(good);
            EXPECT_EQ(boxes.count(), 0) << good.toStdString();
            EXPECT_EQ(QApplication::focusWidget(), &box(3));
        }
        leaveYearWith(QStringLiteral("n/a"));
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().text, QStringLiteral("Must be a numeric entry."));
        EXPECT_EQ(boxes.last().style, 0);
        EXPECT_EQ(QApplication::focusWidget(), &box(2));
        EXPECT_EQ(box(2).text(), QStringLiteral("n/a")); // left as typed

        // Runtime is free text; leaving the year for Cancel asks nothing.
        box(6).setFocus();
        box(6).setText(QStringLiteral("2h"));
        QTest::keyClick(&box(6), Qt::Key_Tab);
        box(2).setFocus();
        button(2).setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(boxes.count(), 1);
    });
    form->showModal();
}

TEST_F(EditorTest, CloseBoxAndCancelUnloadWithoutWriting) {
    form->mDVDID = QStringLiteral("7");
    bool ran = false;
    whileModal(
        *form,
        [&] {
            typeAll({QStringLiteral("Heat"), QStringLiteral("1995")});
            form->close(); // the close box
            EXPECT_FALSE(form->isVisible());
        },
        &ran);
    form->showModal();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(form->mDVDID.isEmpty());
    EXPECT_FALSE(form->isLoaded());
    EXPECT_TRUE(box(1).text().isEmpty()); // the typing went with the unload

    whileModal(*form, [&] {
        box(1).setText(QStringLiteral("Heat"));
        QTest::mouseClick(&button(2), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
    });
    form->showModal();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(refills, 0);
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
