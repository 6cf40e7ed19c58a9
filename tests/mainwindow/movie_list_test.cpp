#include "core/catalogue/connection.h"
#include "support/main_window_driver.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A loaded main window over a catalogue holding the given rows
// ("title|year|genre|...": missing cells stay null).
class MovieList : public ::testing::Test {
protected:
    void load(const QStringList& rows) {
        QList<QStringList> movies;
        for (const QString& row : rows) {
            movies << row.split(QLatin1Char('|'));
        }
        h.load(movies);
        tester = std::make_unique<QAbstractItemModelTester>(
            &list().items(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    ListView& list() { return h.list(); }
    void refill() { listDVD(list(), h.movies, h.form->pointer(), h.boxes); }

    MainWindowDriver h;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(MovieList, FillsInTitleOrderWithEveryCellAsText) {
    load({QStringLiteral("casablanca|1942|Drama"), QStringLiteral("Alien|1979"),
          QStringLiteral("Brazil")});
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(h.column(MovieColumn::Title),
              QStringList({QStringLiteral("Alien"), QStringLiteral("Brazil"),
                           QStringLiteral("casablanca")}));
    EXPECT_EQ(h.column(MovieColumn::Id),
              QStringList({QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("1")}));
    EXPECT_EQ(h.cell(1, MovieColumn::Year), QString()); // null year shows as an empty cell
    EXPECT_EQ(h.cell(2, MovieColumn::Genre), QStringLiteral("Drama"));
    EXPECT_EQ(h.form->pointer().shape(), Pointer::Arrow);
    // Every row has a tick box, shown in the first visible column while "ID" is hidden.
    const QModelIndex title = list().items().index(0, 1);
    EXPECT_TRUE(list().items().flags(title) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(list().items().data(title, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    list().setColumnHeaderWidth(0, 600.0f);
    EXPECT_TRUE(list().items().flags(list().items().index(0, 0)) & Qt::ItemIsUserCheckable);
}

TEST_F(MovieList, HeaderClicksSortAscendingThenReverseAndRestartOnAnotherColumn) {
    load({QStringLiteral("b|2001|Drama|x|Lynch"), QStringLiteral("A|1999|comedy|y|Coppola"),
          QStringLiteral("c|1987|Action|z|Altman")});
    h.clickHeader(MovieColumn::Title);
    EXPECT_EQ(h.column(MovieColumn::Title),
              QStringList({QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")}));
    h.clickHeader(MovieColumn::Title);
    EXPECT_EQ(h.column(MovieColumn::Title),
              QStringList({QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("A")}));
    EXPECT_EQ(list().SortOrder(), Qt::DescendingOrder);
    h.clickHeader(MovieColumn::Genre);
    EXPECT_EQ(list().SortKey(), columnIndex(MovieColumn::Genre));
    EXPECT_EQ(list().SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(
        h.column(MovieColumn::Genre),
        QStringList({QStringLiteral("Action"), QStringLiteral("comedy"), QStringLiteral("Drama")}));
}

TEST_F(MovieList, AccentedTitlesSortWithTheirLetterAndShowWhole) {
    load({QStringLiteral("Zorro"), QStringLiteral("Ödipussi"), QStringLiteral("apollo"),
          QStringLiteral("Amélie"), QStringLiteral("Nikita")});
    h.clickHeader(MovieColumn::Title);
    EXPECT_EQ(
        h.column(MovieColumn::Title),
        QStringList({QStringLiteral("Amélie"), QStringLiteral("apollo"), QStringLiteral("Nikita"),
                     QStringLiteral("Ödipussi"), QStringLiteral("Zorro")}));
    // The row's text is centred on its line; the dots above the "Ö" must
    // still fall inside the row, also under a skin's style sheet (which
    // draws rows without the style's own margins).
    list().setStyleSheet(QStringLiteral("QTreeView { border: 1px solid gray; }"));
    const QFontMetrics metrics(list().font());
    const QRect row = list().visualRect(list().items().index(3, 1));
    const int lineTop = row.top() + (row.height() - metrics.height()) / 2;
    const int inkTop =
        lineTop + metrics.ascent() + metrics.tightBoundingRect(QStringLiteral("Ö")).top();
    EXPECT_GE(inkTop, row.top());
}

TEST_F(MovieList, IdsSortAsText) {
    QStringList rows;
    for (int i = 0; i < 11; ++i) {
        rows << QStringLiteral("t%1").arg(i);
    }
    load(rows);
    h.columnClick(MovieColumn::Id);
    EXPECT_EQ(h.column(MovieColumn::Id).mid(0, 4),
              QStringList({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("11"),
                           QStringLiteral("2")}));
}

TEST_F(MovieList, SortSurvivesRefillAndTicksDoNot) {
    load({QStringLiteral("a|1|g|c|Altman"), QStringLiteral("b|2|g|c|Coppola")});
    h.columnClick(MovieColumn::Director);
    h.columnClick(MovieColumn::Director);
    EXPECT_EQ(h.column(MovieColumn::Director),
              QStringList({QStringLiteral("Coppola"), QStringLiteral("Altman")}));
    list().items().setData(list().items().index(0, 1), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list().items().isTicked(0));

    TempCatalogue::addMovies(h.catalogue(), {QStringList{"c", {}, {}, {}, "Lynch"}});
    refill();
    EXPECT_EQ(h.column(MovieColumn::Director),
              QStringList(
                  {QStringLiteral("Lynch"), QStringLiteral("Coppola"), QStringLiteral("Altman")}));
    for (int r = 0; r < 3; ++r) {
        EXPECT_FALSE(list().items().isTicked(r));
    }
    EXPECT_TRUE(list().Sorted());
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST_F(MovieList, MissingColumnIsReportedOnceAndTheRowsStillShow) {
    h.dirs.createInstalledCatalogue();
    // Raw SQL: the point is a table without the cast column.
    TempCatalogue::exec(
        h.catalogue(),
        QStringLiteral("drop table dvd; create table dvd (id integer primary key, title text, year "
                       "text, genre "
                       "text, director text, runtime text, rating text, studio text);"
                       "insert into dvd (title, year) values ('One', '1'); insert into dvd (title) "
                       "values ('Two');"
                       "insert into dvd (title) values ('Three');"));
    h.form->Form_Load();
    const auto reports = h.boxes.errorReports();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("modDVD.listDVD at line 124")));
    EXPECT_EQ(h.column(MovieColumn::Title),
              QStringList({QStringLiteral("One"), QStringLiteral("Three"), QStringLiteral("Two")}));
    EXPECT_EQ(h.cell(0, MovieColumn::Year), QStringLiteral("1"));
    EXPECT_EQ(h.form->pointer().shape(), Pointer::Arrow);
}

TEST_F(MovieList, UnreadableCatalogueEndsTheFillWithOneReport) {
    load({QStringLiteral("a"), QStringLiteral("b")});
    h.movies.close();
    refill();
    const auto reports = h.boxes.errorReports();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("modDVD.listDVD at line 106")));
    EXPECT_EQ(list().items().itemCount(), 0);
    EXPECT_EQ(h.form->pointer().shape(), Pointer::Arrow);
}

TEST_F(MovieList, TypingFindsATitle) {
    load({QStringLiteral("Alien"), QStringLiteral("Brazil"), QStringLiteral("Bambi")});
    list().setFocus();
    QTest::keyClicks(&list(), QStringLiteral("br"));
    EXPECT_EQ(list().selectedRow(), 2);
    EXPECT_EQ(h.cell(list().selectedRow(), MovieColumn::Title), QStringLiteral("Brazil"));
}

} // namespace
