// The record editor as a window: layout, loading, the year check.
#include "desktop/form_colors.h"
#include "editor/editor_fixture.h"
#include "editor/numeric_text.h"
#include "platform/twips.h"

#include <QImage>
#include <QLabel>

namespace {

QRect twips(float left, float top, float width, float height) {
    return {Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
            Twips::toPixels(height)};
}

TEST_F(EditorTest, WindowIsLaidOutAsDesigned) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Add New Record"));
    EXPECT_EQ(form->minimumSize(), QSize(Twips::toPixels(8040), Twips::toPixels(4965)));
    EXPECT_EQ(form->maximumSize(), form->minimumSize());
    EXPECT_FALSE(form->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(box(1).geometry(), twips(1440, 135, 6480, 375));
    EXPECT_EQ(box(8).geometry(), twips(1455, 135 + 7 * 540, 6480, 375));
    const QLabel& rating = form->Label1(6);
    EXPECT_EQ(rating.text(), QStringLiteral("MPAA Rating:"));
    EXPECT_EQ(rating.geometry().right() + 1, Twips::toPixels(1320));
    EXPECT_EQ(rating.y(), Twips::toPixels(135 + 6 * 540 + 90));
    EXPECT_EQ(cancelButton().text(), QStringLiteral("Cancel"));
    EXPECT_EQ(cancelButton().geometry(), twips(4080, 4440, 3840, 405));
    EXPECT_DOUBLE_EQ(cancelButton().font().pointSizeF(), 11.25);

    QWidget* stop = &box(1); // tab order: the boxes, then Save, then Cancel
    const QList<QWidget*> order = {&box(2), &box(3), &box(4),       &box(5),        &box(6),
                                   &box(7), &box(8), &saveButton(), &cancelButton()};
    for (QWidget* next : order) {
        do {
            stop = stop->nextInFocusChain();
        } while (!(stop->focusPolicy() & Qt::TabFocus));
        EXPECT_EQ(stop, next);
    }
}

TEST_F(EditorTest, LoadingTakesTheHandPointerAndColoursTheLabels) {
    const QString hand = dirs.programFolder() + QStringLiteral("/HAND-M.CUR");
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::black);
    ASSERT_TRUE(picture.save(hand, "PNG"));
    form->Text(1); // touching a box loads the window
    EXPECT_TRUE(form->isLoaded());
    EXPECT_TRUE(form->pointer().hasHandPicture());
    EXPECT_EQ(form->Label1(0).palette().color(QPalette::Window), buttonFaceColor());
    EXPECT_EQ(boxes.count(), 0);

    // A file that is no picture is reported; the window loads without it.
    QFile(hand).resize(10);
    Form2 other(EditorServices{boxes, shell, catalogue, {}});
    other.Load();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral(".Form2.Form_Load at line 102")));
    EXPECT_FALSE(other.pointer().hasHandPicture());
}

TEST_F(EditorTest, YearMustBeNumericWhenTheFocusMovesOn) {
    whileModal(*form, [&] {
        const auto leaveYearWith = [&](const char* year) {
            box(2).setFocus();
            box(2).setText(QString::fromUtf8(year));
            QTest::keyClick(&box(2), Qt::Key_Tab);
            QApplication::processEvents();
        };
        leaveYearWith("1999");
        leaveYearWith("");
        EXPECT_EQ(boxes.count(), 0);
        EXPECT_EQ(QApplication::focusWidget(), &box(3));
        leaveYearWith("n/a");
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().text, QStringLiteral("Must be a numeric entry."));
        EXPECT_EQ(QApplication::focusWidget(), &box(2));
        EXPECT_EQ(box(2).text(), QStringLiteral("n/a"));
        // Runtime is free text; leaving the year for Cancel asks nothing.
        box(6).setText(QStringLiteral("2h"));
        QTest::keyClick(&box(6), Qt::Key_Tab);
        cancelButton().setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(boxes.count(), 1);
    });
    form->showModal();
}

TEST(IsNumber, AcceptsNumbersInTheUsersFormatOnly) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const char* yes : {"1999", " 1999 ", "-12", "+0.5", ".5", "1,999", "1.5e3", "2E-2"}) {
        EXPECT_TRUE(isNumber(QString::fromUtf8(yes), english)) << yes;
    }
    for (const char* no : {"", " ", "n/a", "19 99", "2h", "1:43", ".", "-", "1e", ",1", "1,",
                           "1..2", "٣", "inf", "-INF", "nan"}) {
        EXPECT_FALSE(isNumber(QString::fromUtf8(no), english)) << no;
    }
    EXPECT_TRUE(isNumber(QStringLiteral("1.999,5"), QLocale(QLocale::German, QLocale::Germany)));
}

} // namespace

namespace {

// The hand over Save and Cancel, the arrow over the labels, Text7, Text8 and
// the background; Text1..Text6 leave the pointer as it is; busy stays busy.
TEST_F(EditorTest, PointerFeedbackFollowsTheControlsUnderThePointer) {
    form->Load();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto moveTo = [&](QWidget& widget) {
        QTest::mouseMove(&widget, QPoint(3, 3));
        return form->pointer().shape();
    };
    EXPECT_EQ(moveTo(saveButton()), Pointer::Hand);
    EXPECT_EQ(moveTo(box(1)), Pointer::Hand);
    EXPECT_EQ(moveTo(box(6)), Pointer::Hand);
    EXPECT_EQ(moveTo(box(7)), Pointer::Arrow);
    EXPECT_EQ(moveTo(cancelButton()), Pointer::Hand);
    EXPECT_EQ(moveTo(form->Label1(3)), Pointer::Arrow);
    EXPECT_EQ(moveTo(cancelButton()), Pointer::Hand);
    EXPECT_EQ(moveTo(box(8)), Pointer::Arrow);
    form->pointer().setShape(Pointer::Busy);
    EXPECT_EQ(moveTo(saveButton()), Pointer::Busy);
    form->pointer().setShape(Pointer::Arrow);
    QTest::mouseMove(form.get(), QPoint(form->width() - 3, form->height() - 3));
    EXPECT_EQ(moveTo(saveButton()), Pointer::Hand);
    QTest::mouseMove(form.get(), QPoint(form->width() / 2, 3)); // the background above Text1
    EXPECT_EQ(form->pointer().shape(), Pointer::Arrow);
    form->hide();
}

} // namespace
