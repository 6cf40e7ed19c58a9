// The movie list with a find text: the shown rows, and ticks, sort,
// selection, refills and row changes across changes of the text.
#include "core/catalogue/movie_column.h"
#include "mainwindow/list_snapshot_of.h"
#include "mainwindow/list_view.h"
#include "support/qt_printers.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// id, title, year, genre: the rest of each row is left empty.
using Movie = std::array<const char*, 4>;
const std::vector<Movie> kMovies = {{"1", "Titanic", "1995", "Drama"},
                                    {"2", "Casablanca", "1942", "Drama"},
                                    {"3", "The Seven Year Itch", "1955", "Comedy"},
                                    {"4", "Amélie", "2001", "Comedy"}};

class FilteredList : public ::testing::Test {
protected:
    void SetUp() override {
        for (int c = 0; c < MovieListModel::kMaxColumns; ++c) {
            list.addColumnHeader(QStringLiteral("Column %1").arg(c));
        }
        fill(kMovies);
    }
    MovieListModel& items() { return list.items(); }
    // A refill as the list gets it from the catalogue.
    void fill(const std::vector<Movie>& movies) {
        items().beginFill();
        items().clear();
        for (const Movie& movie : movies) {
            const QString cells[] = {QString::fromUtf8(movie[0]), QString::fromUtf8(movie[1]),
                                     QString::fromUtf8(movie[2]), QString::fromUtf8(movie[3])};
            items().addRow({cells[0], cells[1], cells[2], cells[3]});
        }
        items().endFill();
    }
    QStringList titles() {
        QStringList out;
        for (int r = 0; r < items().itemCount(); ++r) {
            out << items().cell(r, 1);
        }
        return out;
    }
    int rowOf(const QString& title) { return int(titles().indexOf(title)); }
    void find(const char* text) { items().setFilterText(QString::fromUtf8(text)); }
    void sortBy(MovieColumn column, Qt::SortOrder order) {
        list.setSorted(false);
        list.setSortKey(columnIndex(column));
        list.setSortOrder(order);
        list.setSorted(true);
    }

    ListView list;
    QAbstractItemModelTester tester{&list.items(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(FilteredList, TypingNarrowsAndDeletingWidensAgain) {
    const std::vector<std::pair<const char*, QStringList>> steps = {
        {"a", {"Titanic", "Casablanca", "The Seven Year Itch", "Amélie"}},
        {"am", {"Titanic", "Casablanca", "Amélie"}}, // "Drama" too
        {"ame", {"Amélie"}},
        {"amex", {}},
        {"ame comedy", {"Amélie"}},
        {"", {"Titanic", "Casablanca", "The Seven Year Itch", "Amélie"}},
    };
    for (const auto& [text, expected] : steps) {
        find(text);
        EXPECT_EQ(titles(), expected) << text;
        EXPECT_EQ(items().totalCount(), 4);
    }
}

TEST_F(FilteredList, AKeyThatShowsTheSameRowsLaysNothingOutYetANewMovieAnswersToIt) {
    const QSignalSpy layouts(&items(), &QAbstractItemModel::layoutChanged);
    find("a"); // every movie holds an "a" and an "m"
    find("m");
    EXPECT_EQ(layouts.count(), 0);
    EXPECT_EQ(items().addRow({u"12", u"Zorro"}), -1); // kept, but hidden: no "m"
    EXPECT_EQ(titles(), QStringList({"Titanic", "Casablanca", "The Seven Year Itch", "Amélie"}));
    find("ame");
    find("amel"); // Amélie alone, again
    EXPECT_EQ(layouts.count(), 1);
    EXPECT_EQ(titles(), QStringList({"Amélie"}));
}

TEST_F(FilteredList, TicksBelongToTheirMoviesAndTheCopiesTakeOnlyTheShownRows) {
    items().setTicked(rowOf("Casablanca"), true);
    find("comedy");
    EXPECT_EQ(titles(), QStringList({"The Seven Year Itch", "Amélie"}));
    items().setTicked(rowOf("Amélie"), true);
    const ListSnapshot shown = snapshotOfList(list);
    ASSERT_EQ(shown.rowCount(), 2);
    EXPECT_EQ(shown.cell(1, 1), QStringLiteral("Amélie"));
    EXPECT_EQ(shown.tickedCount(), 1); // Casablanca is hidden, so not taken

    find("");
    EXPECT_TRUE(items().isTicked(rowOf("Casablanca")));
    EXPECT_TRUE(items().isTicked(rowOf("Amélie")));
    EXPECT_FALSE(items().isTicked(rowOf("Titanic")));
}

TEST_F(FilteredList, TheSortOrdersTheShownRowsAndOutlastsTheText) {
    sortBy(MovieColumn::Title, Qt::DescendingOrder);
    find("drama");
    EXPECT_EQ(titles(), QStringList({"Titanic", "Casablanca"}));
    sortBy(MovieColumn::Year, Qt::AscendingOrder); // while the text stands
    EXPECT_EQ(titles(), QStringList({"Casablanca", "Titanic"}));
    find("i");
    EXPECT_EQ(titles(), QStringList({"The Seven Year Itch", "Titanic", "Amélie"}));
    find("");
    EXPECT_EQ(titles(), QStringList({"Casablanca", "The Seven Year Itch", "Titanic", "Amélie"}));
    EXPECT_TRUE(list.Sorted());
}

TEST_F(FilteredList, TheHighlightStaysWithItsMovieWhileItIsShown) {
    list.selectRow(rowOf("Amélie"));
    find("e");
    EXPECT_EQ(titles(), QStringList({"The Seven Year Itch", "Amélie"}));
    ASSERT_EQ(list.selectedRow(), 1);
    find("titanic");
    EXPECT_EQ(list.selectedRow(), -1); // hidden: nothing is highlighted
    find("");
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST_F(FilteredList, ARefillKeepsTheTextAndAppliesItToTheNewRows) {
    sortBy(MovieColumn::Title, Qt::AscendingOrder);
    find("drama");
    items().setTicked(0, true);
    fill({{"7", "Zulu", "1964", "Drama"},
          {"8", "Alien", "1979", "Horror"},
          {"9", "Brazil", "1985", "Drama"}});
    EXPECT_EQ(items().filterText(), QStringLiteral("drama"));
    EXPECT_EQ(titles(), QStringList({"Brazil", "Zulu"}));
    EXPECT_FALSE(items().isTicked(0));
    EXPECT_EQ(items().totalCount(), 3);
}

TEST_F(FilteredList, ChangedAndAddedRowsAnswerToTheText) {
    find("titanic");
    items().setCell(0, 1, QStringLiteral("Zulu"));
    EXPECT_EQ(titles(), QStringList({"Zulu"})); // shown until the text changes
    find("titanic");
    EXPECT_EQ(titles(), QStringList());
    find("zu");
    EXPECT_EQ(titles(), QStringList({"Zulu"}));
    items().setCell(0, 1, QStringLiteral("Zürich")); // now folded through a copy
    find("zur");
    EXPECT_EQ(titles(), QStringList({"Zürich"}));

    EXPECT_EQ(items().addRow({u"10", u"Zurich Calling"}), 1);
    EXPECT_EQ(items().addRow({u"11", u"Alien"}), -1); // kept, but hidden
    EXPECT_EQ(titles(), QStringList({"Zürich", "Zurich Calling"}));
    EXPECT_EQ(items().totalCount(), 6);
    find("");
    EXPECT_EQ(titles().last(), QStringLiteral("Alien"));
}

TEST_F(FilteredList, RowsChangedOrAddedWithoutATextAnswerToTheNextOne) {
    find("drama"); // every row folded, and "drama" remembered for a key deleted again
    find("drama x");
    find("");
    items().setCell(rowOf(QStringLiteral("Amélie")), 3, u"Drama");
    const QString decomposed = QStringLiteral("Ame\u0301lie 2"); // folded through a copy now
    items().setCell(rowOf("Casablanca"), 1, decomposed);
    items().addRow({u"12", u"Zorba", u"1964", u"Drama"});
    find("drama");
    EXPECT_EQ(titles(), QStringList({"Titanic", decomposed, QStringLiteral("Amélie"), "Zorba"}));
    find("amelie");
    EXPECT_EQ(titles(), QStringList({decomposed, QStringLiteral("Amélie")}));
}

} // namespace
