// A person finding movies in the main window: Ctrl+F, typing, the copy
// commands on what the list shows, Escape; and the window afterwards.
#include "desktop/twips_geometry.h"
#include "mainwindow/find/find_bar.h"
#include "mainwindow/find/list_finder.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"
#include "support/xlsx_reader.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

// A started, shown and active main window over the given movies (title, year, genre).
struct FindWindow : MainWindowDriver {
    explicit FindWindow(const QList<QStringList>& movies) {
        load(movies);
        showActive();
    }
    FindBar& bar() { return form->findChild<ListFinder*>()->bar(); }
    QStringList titles() { return column(MovieColumn::Title); }
    // Keys go where the focus is, and the pass waiting for them runs.
    void type(const QString& keys) {
        QTest::keyClicks(QApplication::focusWidget(), keys);
        QCoreApplication::processEvents();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
};

const QList<QStringList> kMovies = {{"Titanic", "1995", "Drama"},
                                    {"Casablanca", "1942", "Drama"},
                                    {"The Seven Year Itch", "1955", "Comedy"},
                                    {"Amélie", "2001", "Comedy"}};

TEST(FindBar, CtrlFAndTypingShowTheMatchesAndBothCopiesTakeOnlyThose) {
    FindWindow w(kMovies);
    const QRect listRect = w.list().geometry();
    const TwipsRect listTwips = twipsGeometry(w.list());
    for (int r = 0; r < 4; ++r) {
        w.list().items().setTicked(r, true);
    }

    w.press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(w.bar().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), &w.bar().field());
    // Inside the list's rectangle, the list giving up the bar's height.
    EXPECT_EQ(w.list().geometry().top(), listRect.top());
    EXPECT_EQ(w.list().geometry().height() + w.bar().height(), listRect.height());
    EXPECT_EQ(w.bar().geometry().bottom(), listRect.bottom());
    EXPECT_EQ(w.bar().width(), listRect.width());
    EXPECT_EQ(w.bar().countText(), QStringLiteral("4 of 4"));

    // Keys that arrive before the pass runs come to one pass with the latest text.
    QSignalSpy passes(&w.list().items(), &QAbstractItemModel::layoutChanged);
    QTest::keyClicks(&w.bar().field(), QStringLiteral("AMELIE"));
    EXPECT_EQ(passes.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(passes.count(), 1);
    EXPECT_EQ(w.titles(), QStringList({QStringLiteral("Amélie")}));
    EXPECT_EQ(w.bar().countText(), QStringLiteral("1 of 4"));

    w.form->PushButton(Button::CopyMoviesToClipboard).click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("4\tAmélie\t2001\tComedy\t\t\t\t\t\r\n"));
    w.form->PushButton(Button::CopyDatabaseToExcel).click();
    EXPECT_EQ(readXlsxRows(w.launcher.lastFile()),
              QList<QStringList>({{"ID", "Title", " Year", "Genre", "Cast", "Director", "Runtime",
                                   "MPAA Rating", "Studio"},
                                  {"4", "Amélie", "2001", "Comedy"}}));
    EXPECT_TRUE(w.boxes.errorReports().isEmpty());

    w.press(Qt::Key_Escape);
    EXPECT_FALSE(w.bar().isVisible());
    EXPECT_EQ(w.list().geometry(), listRect);
    const TwipsRect after = twipsGeometry(w.list());
    EXPECT_EQ(std::tie(after.left, after.top, after.width, after.height),
              std::tie(listTwips.left, listTwips.top, listTwips.width, listTwips.height));
    EXPECT_EQ(w.titles().size(), 4);
    EXPECT_EQ(w.list().items().filterText(), QString());
    EXPECT_EQ(QApplication::focusWidget(), &w.list());
    for (int r = 0; r < 4; ++r) {
        EXPECT_TRUE(w.list().items().isTicked(r)); // the find never touched a tick
    }
}

TEST(FindBar, DeleteAsksAboutTheHighlightedShownMovie) {
    FindWindow w(kMovies);
    QAction* find = w.list().actions().value(0);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->text(), QStringLiteral("&Find\u2026"));
    find->trigger(); // the list's context menu
    ASSERT_TRUE(w.bar().isVisible());

    w.type(QStringLiteral("drama ca"));
    EXPECT_EQ(w.titles(), QStringList({QStringLiteral("Casablanca")}));
    w.press(Qt::Key_Down); // on to the list, its first shown row highlighted
    EXPECT_EQ(QApplication::focusWidget(), &w.list());
    EXPECT_EQ(w.list().selectedRow(), 0);

    w.form->PushButton(Button::DeleteSelectedMovie).click(); // answered No
    EXPECT_EQ(w.boxes.last().text, QStringLiteral("Are you sure you want to delete Casablanca?"));

    // A text that matches nothing is no error.
    w.form->findChild<ListFinder*>()->open();
    w.type(QStringLiteral("x"));
    EXPECT_EQ(w.titles(), QStringList());
    EXPECT_EQ(w.bar().countText(), QStringLiteral("0 of 4"));
    EXPECT_TRUE(w.boxes.errorReports().isEmpty());
}

TEST(FindBar, EscapeClosesTheBarFromTheListTooAndNothingWhenItIsHidden) {
    FindWindow w(kMovies);
    w.press(Qt::Key_F, Qt::ControlModifier);
    w.type(QStringLiteral("drama"));
    w.press(Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), &w.list());
    w.press(Qt::Key_Escape);
    EXPECT_FALSE(w.bar().isVisible());
    EXPECT_EQ(w.titles().size(), 4);
    EXPECT_EQ(QApplication::focusWidget(), &w.list());
    const QString highlighted = QStringLiteral("Casablanca"); // the first drama shown
    EXPECT_EQ(w.titles().value(w.list().selectedRow()), highlighted);

    w.press(Qt::Key_Escape); // the bar hidden: the list and its highlight stay as they are
    EXPECT_FALSE(w.bar().isVisible());
    EXPECT_EQ(w.titles().value(w.list().selectedRow()), highlighted);
    EXPECT_EQ(QApplication::focusWidget(), &w.list());
}

TEST(FindBar, ATextThatIsNoQuerySaysWhyAndKeepsTheListAsItWas) {
    FindWindow w(kMovies);
    w.press(Qt::Key_F, Qt::ControlModifier);
    w.type(QStringLiteral("drama"));
    const QStringList dramas = {"Casablanca", "Titanic"};
    ASSERT_EQ(w.titles(), dramas);
    const struct {
        const char* text;
        const char* reason;
    } broken[] = {{" foo:bar", "unknown field foo"},
                  {" year:1999..1990", "range 1999..1990 is reversed"}};
    for (const auto& b : broken) {
        w.type(QString::fromUtf8(b.text));
        EXPECT_EQ(w.bar().countText(), QString::fromUtf8(b.reason));
        EXPECT_TRUE(w.bar().showsError());
        EXPECT_EQ(w.titles(), dramas);
        w.bar().field().setText(QStringLiteral("drama"));
        QCoreApplication::processEvents();
    }
    w.type(QStringLiteral(" -titanic"));
    EXPECT_EQ(w.titles(), QStringList({"Casablanca"}));
    EXPECT_EQ(w.bar().countText(), QStringLiteral("1 of 4"));
    EXPECT_FALSE(w.bar().showsError());
    EXPECT_TRUE(w.boxes.errorReports().isEmpty());
}

TEST(FindBar, TheBarFollowsTheListWhenTheWindowIsMaximisedAndGivesItAllBack) {
    FindWindow w(kMovies);
    w.form->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form->windowState() == Qt::WindowMaximized; }));
    QCoreApplication::processEvents();
    const QRect stretched = w.list().geometry();
    w.form->setWindowState(Qt::WindowNoState);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form->windowState() == Qt::WindowNoState; }));
    QCoreApplication::processEvents();
    const QRect fixed = w.list().geometry();
    ASSERT_NE(stretched, fixed);

    // The bar takes its share once the window has placed the list.
    auto listAndBar = [&] { return w.list().geometry().united(w.bar().geometry()); };
    w.form->findChild<ListFinder*>()->open();
    w.form->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listAndBar() == stretched; }));
    EXPECT_EQ(w.bar().geometry().bottom(), stretched.bottom());
    w.form->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listAndBar() == fixed; }));
    w.form->findChild<ListFinder*>()->close();
    EXPECT_EQ(w.list().geometry(), fixed);
}

TEST(FindBar, CountsGroupDigitsByThrees) {
    EXPECT_EQ(FindBar::countText(12, 3480), QStringLiteral("12 of 3 480"));
    EXPECT_EQ(FindBar::countText(0, 100000), QStringLiteral("0 of 100 000"));
    EXPECT_EQ(FindBar::countText(999, 1234567), QStringLiteral("999 of 1 234 567"));
}

} // namespace
