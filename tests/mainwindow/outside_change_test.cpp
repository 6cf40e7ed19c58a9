// Another program changes the catalogue while the window shows it: the list
// follows without losing the person's place, and no command acts on a row
// that is no longer what the list showed.
#include "mainwindow/catalogue_watch.h"
#include "support/main_window_driver.h"
#include "support/modal.h"

#include <QScrollBar>
#include <QSet>

namespace {

const QString kMovieGone =
    QStringLiteral("This movie is no longer in the list: another program has changed the "
                   "catalogue. The list has been refreshed.");

// A shown window over 80 movies "Movie 01" .. "Movie 80" (ids 1 .. 80) and
// "Other" (id 81), sorted by title descending and narrowed to "movie".
struct BusyList : ShownForm1 {
    BusyList() : ShownForm1(titles()) {
        columnClick(MovieColumn::Title);
        columnClick(MovieColumn::Title);
        list().items().setTicked(rowOf(81), true); // hidden by the find below
        list().items().setFilterText(QStringLiteral("movie"));
    }
    static QStringList titles() {
        QStringList all;
        for (int n = 1; n <= 80; ++n) {
            all << QStringLiteral("Movie %1").arg(n, 2, 10, QLatin1Char('0'));
        }
        return all << QStringLiteral("Other");
    }
    int rowOf(int id) {
        for (int row = 0; row < list().items().itemCount(); ++row) {
            if (cell(row, MovieColumn::Id) == QString::number(id)) {
                return row;
            }
        }
        return -1;
    }
    QString idAt(int row) { return row < 0 ? QString() : cell(row, MovieColumn::Id); }
    QString selectedId() { return idAt(list().selectedRow()); }
    QString topId() { return idAt(list().indexAt(QPoint(0, 0)).row()); }
    void changeOutside(const QString& sql) { TempCatalogue::exec(catalogue(), sql); }
    // The person comes back to the window.
    void activate() {
        QEvent activation(QEvent::ActivationChange);
        QCoreApplication::sendEvent(form.get(), &activation);
    }
};

struct RefreshCase {
    const char* name;
    const char* meanwhile;
    QSet<QString> ticked;
    QString selected;
    QString top; // "" when its row is gone: the scroll position then stays as a number
    int shown;
};

TEST(OutsideChange, TheListFollowsKeepingSortFindTicksHighlightAndScroll) {
    const RefreshCase cases[] = {
        // Raw statements: each is another program's change to the catalogue.
        {"a movie added",
         "insert into dvd (title) values ('Movie 99')",
         {"5", "7", "81"},
         "30",
         "60",
         81},
        {"the highlighted movie renamed",
         "update dvd set title='Movie 30b' where id=30",
         {"5", "7", "81"},
         "30",
         "60",
         80},
        {"a ticked movie removed", "delete from dvd where id=5", {"7", "81"}, "30", "60", 79},
        {"the highlighted and the top movie removed",
         "delete from dvd where id in (30, 60)",
         {"5", "7", "81"},
         "",
         "",
         78},
    };
    for (const RefreshCase& c : cases) {
        SCOPED_TRACE(c.name);
        BusyList w;
        w.list().items().setTicked(w.rowOf(5), true);
        w.list().items().setTicked(w.rowOf(7), true);
        w.list().selectRow(w.rowOf(30));
        w.list().scrollTo(w.list().items().index(w.rowOf(60), 0), QAbstractItemView::PositionAtTop);
        ASSERT_EQ(w.topId(), QStringLiteral("60"));

        w.changeOutside(QString::fromUtf8(c.meanwhile));
        w.activate();
        EXPECT_EQ(w.list().items().itemCount(), c.shown);
        EXPECT_EQ(w.list().items().tickedIds(), c.ticked);
        EXPECT_EQ(w.selectedId(), c.selected);
        if (!c.top.isEmpty()) {
            EXPECT_EQ(w.topId(), c.top);
        }
        EXPECT_EQ(w.list().items().filterText(), QStringLiteral("movie"));
        EXPECT_TRUE(w.list().Sorted());
        EXPECT_EQ(w.cell(0, MovieColumn::Title),
                  c.shown == 81 ? QStringLiteral("Movie 99") : QStringLiteral("Movie 80"));
        EXPECT_EQ(w.boxes.count(), 0);
    }
}

// The window also looks by itself every few seconds while it waits.
TEST(OutsideChange, TheWindowLooksAgainWhileItWaits) {
    BusyList w;
    ASSERT_TRUE(w.form->findChild<CatalogueWatch*>()->isRunning());
    TempCatalogue::addTitles(w.catalogue(), {QStringLiteral("Movie 99")});
    QTRY_COMPARE_WITH_TIMEOUT(w.list().items().itemCount(), 81, 3 * CatalogueWatch::kIntervalMs);
    EXPECT_EQ(w.list().items().tickedIds(), QSet<QString>({"81"}));
}

struct CommandCase {
    const char* name;
    Button button;
    const char* meanwhile; // "" for a row the list holds but the catalogue never did
    QStringList said;      // every box shown
    int stored;            // movies stored afterwards
};

TEST(OutsideChange, CommandsActOnlyOnTheMoviesTheCatalogueHoldsNow) {
    const QString neverStored = QStringLiteral("Are you sure you want to delete Movie 99?");
    const CommandCase cases[] = {
        {"delete a removed movie",
         Button::DeleteSelectedMovie,
         "delete from dvd where id=30",
         {kMovieGone},
         80},
        {"edit a removed movie",
         Button::EditSelectedMovie,
         "delete from dvd where id=30",
         {kMovieGone},
         80},
        {"delete a renamed movie",
         Button::DeleteSelectedMovie,
         "update dvd set title='Movie Heat' where id=30",
         {QStringLiteral("Are you sure you want to delete Movie Heat?")},
         80},
        {"delete a row never stored",
         Button::DeleteSelectedMovie,
         "",
         {neverStored, kMovieGone},
         81},
        {"edit a row never stored", Button::EditSelectedMovie, "", {kMovieGone}, 81},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        BusyList w;
        if (*c.meanwhile) {
            w.list().selectRow(w.rowOf(30));
            w.changeOutside(QString::fromUtf8(c.meanwhile));
        } else {
            std::array<QStringView, MovieListModel::kMaxColumns> cells{};
            cells[0] = u"99";
            cells[1] = u"Movie 99";
            w.list().selectRow(w.list().items().addRow(cells));
        }
        w.list().items().setTicked(w.rowOf(7), true);
        w.boxes.answer(Answer::Yes);
        Form2& editor = w.form->form2();
        whileModal(editor, [&] { EXPECT_FALSE(editor.isVisible()) << "the editor opened"; });
        w.click(c.button);
        QCoreApplication::processEvents(); // the check above, when no editor came up
        QStringList said;
        for (const auto& box : w.boxes.boxes()) {
            said << box.text;
        }
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(TempCatalogue::rows(w.catalogue(), QStringLiteral("id")).size(), c.stored);
        EXPECT_EQ(w.list().items().totalCount(), c.stored);
        EXPECT_EQ(w.rowOf(*c.meanwhile ? 30 : 99), -1);
        if (said.last() == kMovieGone) { // not one of the refills that clear the ticks
            EXPECT_EQ(w.list().items().tickedIds(), QSet<QString>({"7", "81"}));
        }
    }
}

// Clear on a list that is out of date first shows what the catalogue now
// holds, then asks.
TEST(OutsideChange, ClearShowsTheCatalogueAsItIsBeforeAsking) {
    BusyList w;
    TempCatalogue::addTitles(w.catalogue(), {QStringLiteral("Movie 99")});
    w.click(Button::ClearDatabase); // answered No
    ASSERT_EQ(w.boxes.count(), 1);
    EXPECT_EQ(w.boxes.last().title, QStringLiteral("Clear Database"));
    EXPECT_EQ(w.list().items().itemCount(), 81);
    EXPECT_EQ(w.list().items().tickedIds(), QSet<QString>({"81"}));
}

} // namespace
