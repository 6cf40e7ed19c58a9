// The main window without a mouse: access keys on the buttons, Tab through
// every control, type-to-find on titles, Space to tick a row.
#include "mainwindow/button_mnemonics.h"
#include "support/main_window_driver.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

// The captions as the window shows them, by button number.
const char* const kCaptions[] = {"Delete Selected Movie",    "Copy Movies To Clipboard",
                                 "Copy Database To Excel",   "Add New Movie",
                                 "Edit Selected Movie",      "Clear Database",
                                 "Load Sample/Example Data", "Help"};

// Keys typed within this interval extend the text searched for.
struct KeyboardInterval {
    explicit KeyboardInterval(int ms) : saved(QApplication::keyboardInputInterval()) {
        QApplication::setKeyboardInputInterval(ms);
    }
    ~KeyboardInterval() { QApplication::setKeyboardInputInterval(saved); }
    int saved;
};

TEST(Mnemonics, EachButtonHasItsOwnAltLetterAndKeepsItsCaption) {
    Form1Harness h;
    std::set<QString> keys;
    for (int n = 1; n <= Form1::kButtonCount; ++n) {
        const QPushButton& b = h.form->PushButton(n);
        const QString caption = QString::fromUtf8(kCaptions[n - 1]);
        EXPECT_EQ(visibleCaption(b.text()), caption) << "PushButton" << n;
        const QKeySequence key = b.shortcut();
        ASSERT_EQ(key.count(), 1) << "PushButton" << n << " has no access key";
        const QKeyCombination combination = key[0];
        EXPECT_EQ(combination.keyboardModifiers(), Qt::AltModifier);
        const QChar letter = QChar(int(combination.key()));
        EXPECT_TRUE(caption.contains(letter, Qt::CaseInsensitive))
            << "PushButton" << n << ": " << qPrintable(key.toString());
        keys.insert(key.toString());
    }
    EXPECT_EQ(keys.size(), std::size_t(Form1::kButtonCount)) << "two buttons share a key";
    EXPECT_EQ(h.form->PushButton(Button::AddNewMovie).shortcut(),
              QKeySequence(QStringLiteral("Alt+A")));
}

TEST(Mnemonics, MarkerGoesBeforeTheFirstMatchAndAmpersandsStayVisible) {
    EXPECT_EQ(withMnemonic(QStringLiteral("Copy Database To Excel"), QLatin1Char('x')),
              QStringLiteral("Copy Database To E&xcel"));
    EXPECT_EQ(withMnemonic(QStringLiteral("Salt & Pepper"), QLatin1Char('P')),
              QStringLiteral("Salt && &Pepper"));
    EXPECT_EQ(withMnemonic(QStringLiteral("A & B"), QLatin1Char('&')), QStringLiteral("A && B"));
    EXPECT_EQ(withMnemonic(QStringLiteral("Help"), QLatin1Char('Z')), QStringLiteral("Help"));
    EXPECT_EQ(visibleCaption(QStringLiteral("Salt && &Pepper")), QStringLiteral("Salt & Pepper"));
    EXPECT_EQ(visibleCaption(QStringLiteral("Ends with &")), QStringLiteral("Ends with &"));
}

TEST(Mnemonics, AltLetterPressesTheButton) {
    ShownForm1 h;
    QSignalSpy help(&h.form->PushButton(Button::Help), &QPushButton::clicked);
    QTest::keyClick(h.form.get(), Qt::Key_H, Qt::AltModifier);
    // A button pressed by its key shows itself pressed for a moment, then clicks.
    EXPECT_TRUE(help.count() == 1 || help.wait(5000));
    EXPECT_EQ(help.count(), 1);
}

TEST(Keyboard, TabGoesFromTheListThroughBothButtonRowsInOrder) {
    ShownForm1 h;
    h.list().setFocus();
    ASSERT_TRUE(h.list().hasFocus());
    for (int number : {4, 1, 5, 7, 6, 3, 2, 8}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &h.form->PushButton(number))
            << "PushButton" << number;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &h.list());
}

TEST(TypeToFind, FindsTitlesCaseInsensitivelyAndExtendsWhileTyping) {
    ShownForm1 h({QStringLiteral("Titanic"), QStringLiteral("Casablanca"),
                  QStringLiteral("Cabaret"), QStringLiteral("The Seven Year Itch")});
    KeyboardInterval slow(60 * 60 * 1000);
    QTest::keyClicks(&h.list(), QStringLiteral("ca"));
    EXPECT_EQ(h.selectedTitle(), "Cabaret");
    QTest::keyClicks(&h.list(), QStringLiteral("s"));
    EXPECT_EQ(h.selectedTitle(), "Casablanca");
    // A text no title starts with leaves the selection alone.
    QTest::keyClicks(&h.list(), QStringLiteral("q"));
    EXPECT_EQ(h.selectedTitle(), "Casablanca");
}

TEST(TypeToFind, ANewSearchStartsAfterTheCurrentRowAndWraps) {
    ShownForm1 h({QStringLiteral("Titanic"), QStringLiteral("Casablanca"),
                  QStringLiteral("The Seven Year Itch")});
    KeyboardInterval everyKeyAnew(0);
    QTest::keyClick(&h.list(), Qt::Key_T);
    EXPECT_EQ(h.selectedTitle(), "The Seven Year Itch");
    QTest::keyClick(&h.list(), Qt::Key_T);
    EXPECT_EQ(h.selectedTitle(), "Titanic");
    QTest::keyClick(&h.list(), Qt::Key_T);
    EXPECT_EQ(h.selectedTitle(), "The Seven Year Itch");
}

TEST(TypeToFind, LooksOnlyAtTitlesInTheOrderShown) {
    ShownForm1 h({QStringLiteral("Titanic"), QStringLiteral("Casablanca"),
                  QStringLiteral("The Seven Year Itch")});
    KeyboardInterval everyKeyAnew(0);
    // "1" starts every id and year, "D" every genre: neither is a title.
    QTest::keyClick(&h.list(), Qt::Key_1);
    QTest::keyClick(&h.list(), Qt::Key_D);
    EXPECT_EQ(h.selectedTitle(), "");
    // Sorted by title descending, the first "T" shown is Titanic.
    h.columnClick(MovieColumn::Title);
    h.columnClick(MovieColumn::Title);
    QTest::keyClick(&h.list(), Qt::Key_T);
    EXPECT_EQ(h.selectedTitle(), "Titanic");
    EXPECT_EQ(h.list().selectedRow(), 0);
}

TEST(SpaceKey, TicksAndClearsTheCurrentRowFoundByTyping) {
    ShownForm1 h({QStringLiteral("Titanic"), QStringLiteral("Casablanca")});
    {
        KeyboardInterval typing(60 * 60 * 1000);
        QTest::keyClicks(&h.list(), QStringLiteral("ti"));
    }
    KeyboardInterval paused(0); // the user has stopped typing
    const int row = h.list().selectedRow();
    ASSERT_EQ(h.selectedTitle(), "Titanic");
    QTest::keyClick(&h.list(), Qt::Key_Space);
    EXPECT_TRUE(h.list().items().isTicked(row));
    EXPECT_FALSE(h.list().items().isTicked(1 - row));
    QTest::keyClick(&h.list(), Qt::Key_Space);
    EXPECT_FALSE(h.list().items().isTicked(row));
    // With a modifier Space keeps the view's own meaning.
    QTest::keyClick(&h.list(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(h.list().items().isTicked(row));
}

TEST(SpaceKey, ContinuesATitleBeingTyped) {
    ShownForm1 h({QStringLiteral("The Apartment"), QStringLiteral("The Seven Year Itch"),
                  QStringLiteral("Titanic")});
    KeyboardInterval typing(60 * 60 * 1000);
    QTest::keyClicks(&h.list(), QStringLiteral("the s"));
    EXPECT_EQ(h.selectedTitle(), "The Seven Year Itch");
    for (int row = 0; row < h.list().items().itemCount(); ++row) {
        EXPECT_FALSE(h.list().items().isTicked(row));
    }
}

} // namespace
