// The record editor and the selected row as a person meets them: clicks and
// keys on activated windows, typing into whatever holds the focus.
#include "support/main_window_driver.h"
#include "support/modal.h"

#include <functional>

namespace {

struct Person : ShownForm1 {
    using ShownForm1::ShownForm1;

    QWidget* focus() { return QApplication::focusWidget(); }
    void type(const QString& text) { QTest::keyClicks(focus(), text); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(focus(), key, modifiers);
    }
    using ShownForm1::click;
    void click(QWidget& widget) { QTest::mouseClick(&widget, Qt::LeftButton); }
    // A click on a main-window button whose command opens the editor; `inside`
    // runs once the editor is the active window.
    void openEditorWith(Button button, std::function<void()> inside) {
        whileModal(editor(), [this, inside = std::move(inside)] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&editor()));
            inside();
        });
        click(button);
    }
    void clickRow(const QString& title) {
        const QModelIndex index =
            list().model()->index(rowOf(title), columnIndex(MovieColumn::Title));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualRect(index).center());
    }
    QStringList stored() { return TempCatalogue::rows(catalogue(), QStringLiteral("title,year")); }
};

TEST(AsAPerson, EveryOpeningOfTheEditorStartsEmptyWithTheFocusInTheTitleBox) {
    Person p({QStringLiteral("Heat")});
    // Typed straight away, saved with a click: the focus stays on "Save".
    p.openEditorWith(Button::AddNewMovie, [&] {
        EXPECT_EQ(p.focus(), &p.box(1));
        p.type(QStringLiteral("Alien"));
        p.clickSave();
    });
    // Nothing of "Alien" comes back, not even by undo; Escape from the year box.
    p.openEditorWith(Button::AddNewMovie, [&] {
        EXPECT_EQ(p.focus(), &p.box(1));
        p.press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(p.box(1).text(), QString());
        p.type(QStringLiteral("Dropped"));
        p.press(Qt::Key_Tab);
        EXPECT_EQ(p.focus(), &p.box(2));
        p.press(Qt::Key_Escape);
    });
    p.openEditorWith(Button::AddNewMovie, [&] {
        EXPECT_EQ(p.focus(), &p.box(1));
        p.type(QStringLiteral("Casino"));
        p.press(Qt::Key_Return);
    });
    // Editing starts in the title box too, with the movie's values.
    p.clickRow(QStringLiteral("Heat"));
    p.openEditorWith(Button::EditSelectedMovie, [&] {
        EXPECT_EQ(p.focus(), &p.box(1));
        EXPECT_EQ(p.box(2).text(), QStringLiteral("1999"));
        p.press(Qt::Key_End);
        p.type(QStringLiteral(" II"));
        p.press(Qt::Key_Return);
    });
    EXPECT_EQ(p.stored(), QStringList({"Heat II|1999", "Alien|", "Casino|"}));
    EXPECT_TRUE(p.boxes.errorReports().isEmpty());
}

TEST(AsAPerson, DeleteAndEditActOnlyOnTheRowTheUserHighlighted) {
    Person p({QStringLiteral("Heat"), QStringLiteral("Ronin")});
    // The list took the focus at start and framed its first row, unselected.
    ASSERT_EQ(p.focus(), &p.list());
    ASSERT_TRUE(p.list().currentIndex().isValid());
    ASSERT_TRUE(p.selectedTitle().empty());

    p.boxes.answer(Answer::Yes); // a Yes, should anything be asked
    for (const Button button : {Button::DeleteSelectedMovie, Button::EditSelectedMovie}) {
        p.click(button);
        EXPECT_EQ(p.boxes.last().text, QStringLiteral("No movie is selected."));
        EXPECT_FALSE(p.editor().isVisible());
    }
    EXPECT_EQ(p.stored().size(), 2);

    // A row the user clicks is the one deleted.
    p.clickRow(QStringLiteral("Ronin"));
    p.boxes.answer(Answer::Yes);
    p.click(Button::DeleteSelectedMovie);
    EXPECT_EQ(p.boxes.last().text, QStringLiteral("Are you sure you want to delete Ronin?"));
    EXPECT_EQ(p.stored(), QStringList({"Heat|1999"}));
    EXPECT_TRUE(p.boxes.errorReports().isEmpty());
}

} // namespace
