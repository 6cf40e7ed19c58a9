#include "core/catalogue/connection.h"
#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A loaded main window over a catalogue holding the given rows
// ("title|year|genre|...": missing cells stay null).
class MovieList : public ::testing::Test {
protected:
    void load(const QStringList& rows) {
        h.dirs.createInstalledCatalogue();
        for (const QString& row : rows) {
            const QStringList cells = row.split(QLatin1Char('|'));
            QStringList quotedCells;
            for (const QString& cell : cells) {
                quotedCells << QLatin1Char('\'') + cell + QLatin1Char('\'');
            }
            static const QStringList columns = {QStringLiteral("title"), QStringLiteral("year"),
                                                QStringLiteral("genre"), QStringLiteral("cast"),
                                                QStringLiteral("director")};
            TempCatalogue::exec(h.catalogue(),
                                QStringLiteral("insert into dvd (%1) values (%2)")
                                    .arg(columns.mid(0, cells.size()).join(QLatin1Char(',')),
                                         quotedCells.join(QLatin1Char(','))));
        }
        h.form->Form_Load();
        tester = std::make_unique<QAbstractItemModelTester>(
            &list().items(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    ListView& list() { return h.form->ListView1(); }
    QStringList column(int c) {
        QStringList out;
        for (int r = 0; r < list().items().itemCount(); ++r) {
            out << list().items().cell(r, c);
        }
        return out;
    }
    void clickHeader(int index) {
        QHeaderView* header = list().header();
        const int x =
            header->sectionViewportPosition(index - 1) + header->sectionSize(index - 1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    void refill() { listDVD(list(), h.movies, h.form->pointer(), h.boxes); }

    Form1Harness h;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(MovieList, FillsInTitleOrderWithEveryCellAsText) {
    load({QStringLiteral("casablanca|1942|Drama"), QStringLiteral("Alien|1979"),
          QStringLiteral("Brazil")});
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(column(1), QStringList({QStringLiteral("Alien"), QStringLiteral("Brazil"),
                                      QStringLiteral("casablanca")}));
    EXPECT_EQ(column(0),
              QStringList({QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("1")}));
    EXPECT_EQ(list().items().cell(1, 2), QString()); // null year shows as an empty cell
    EXPECT_EQ(list().items().cell(2, 3), QStringLiteral("Drama"));
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
    clickHeader(2);
    EXPECT_EQ(column(1),
              QStringList({QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")}));
    clickHeader(2);
    EXPECT_EQ(column(1),
              QStringList({QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("A")}));
    EXPECT_EQ(list().SortOrder(), 1);
    clickHeader(4);
    EXPECT_EQ(list().SortKey(), 3);
    EXPECT_EQ(list().SortOrder(), 0);
    EXPECT_EQ(column(3), QStringList({QStringLiteral("Action"), QStringLiteral("comedy"),
                                      QStringLiteral("Drama")}));
}

TEST_F(MovieList, IdsSortAsText) {
    QStringList rows;
    for (int i = 0; i < 11; ++i) {
        rows << QStringLiteral("t%1").arg(i);
    }
    load(rows);
    h.form->ListView1_ColumnClick(1);
    EXPECT_EQ(column(0).mid(0, 4), QStringList({QStringLiteral("1"), QStringLiteral("10"),
                                                QStringLiteral("11"), QStringLiteral("2")}));
}

TEST_F(MovieList, SortSurvivesRefillAndTicksDoNot) {
    load({QStringLiteral("a|1|g|c|Altman"), QStringLiteral("b|2|g|c|Coppola")});
    h.form->ListView1_ColumnClick(6);
    h.form->ListView1_ColumnClick(6);
    EXPECT_EQ(column(5), QStringList({QStringLiteral("Coppola"), QStringLiteral("Altman")}));
    list().items().setData(list().items().index(0, 1), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list().items().isTicked(0));

    TempCatalogue::exec(h.catalogue(),
                        QStringLiteral("insert into dvd (title, director) values ('c', 'Lynch')"));
    refill();
    EXPECT_EQ(column(5), QStringList({QStringLiteral("Lynch"), QStringLiteral("Coppola"),
                                      QStringLiteral("Altman")}));
    for (int r = 0; r < 3; ++r) {
        EXPECT_FALSE(list().items().isTicked(r));
    }
    EXPECT_TRUE(list().Sorted());
    EXPECT_EQ(h.boxes.count(), 0);
}

TEST_F(MovieList, MissingColumnIsReportedOnceAndTheRowsStillShow) {
    h.dirs.createInstalledCatalogue();
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
    EXPECT_EQ(column(1),
              QStringList({QStringLiteral("One"), QStringLiteral("Three"), QStringLiteral("Two")}));
    EXPECT_EQ(list().items().cell(0, 2), QStringLiteral("1"));
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
    EXPECT_EQ(list().items().cell(list().selectedRow(), 1), QStringLiteral("Brazil"));
}

} // namespace
