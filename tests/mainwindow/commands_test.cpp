// The catalogue commands behind the main window's buttons, driven through
// the real windows.
#include "editor/form2.h"
#include "mainwindow/list_view.h"
#include "support/catalogue_internals.h"
#include "support/form1_harness.h"
#include "support/modal.h"
#include "support/statement_log.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    // Starts the main window over a catalogue holding these titles.
    Form1& start(const QStringList& titles) {
        h.dirs.createInstalledCatalogue();
        for (const QString& title : titles) {
            TempCatalogue::exec(h.catalogue(),
                                QStringLiteral("insert into dvd (title) values ('%1')").arg(title));
        }
        h.form->Form_Load();
        h.form->show();
        return *h.form;
    }
    ListView& list() { return *h.form->findChild<ListView*>(QStringLiteral("ListView1")); }
    void click(int n) {
        QTest::mouseClick(h.form->findChild<QPushButton*>(QStringLiteral("PushButton%1").arg(n)),
                          Qt::LeftButton);
    }
    Form2& editor() { return h.form->form2(); }
    QLineEdit& box(int n) {
        return *editor().findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    void saveEditor(const QString& title) {
        box(1).setText(title);
        QTest::mouseClick(editor().findChild<QPushButton*>(QStringLiteral("PushButton1")),
                          Qt::LeftButton);
    }
    QStringList shown(int column) {
        QStringList cells;
        for (int row = 0; row < list().items().itemCount(); ++row) {
            cells << list().items().cell(row, column);
        }
        return cells;
    }
    void select(const QString& title) { list().selectRow(int(shown(1).indexOf(title))); }
    int ticked() {
        int count = 0;
        for (int row = 0; row < list().items().itemCount(); ++row) {
            count += list().items().isTicked(row) ? 1 : 0;
        }
        return count;
    }
    QStringList stored() { return TempCatalogue::rows(h.catalogue(), QStringLiteral("id,title")); }

    Form1Harness h;
};

TEST_F(CommandsTest, AddAndEditRefillTheListInTheUsersSortWithoutTicks) {
    Form1& form = start({"Alien", "Brazil"});
    form.ListView1_ColumnClick(2);
    form.ListView1_ColumnClick(2); // title, descending
    list().items().setTicked(0, true);
    whileModal(editor(), [&] { saveEditor(QStringLiteral("Casino")); });
    click(4);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Done."));
    EXPECT_EQ(shown(1), QStringList({"Casino", "Brazil", "Alien"}));
    EXPECT_EQ(ticked(), 0);

    select(QStringLiteral("Alien"));
    list().items().setTicked(0, true);
    whileModal(editor(), [&] {
        EXPECT_EQ(box(1).text(), QStringLiteral("Alien"));
        saveEditor(QStringLiteral("Zulu"));
    });
    click(5);
    EXPECT_EQ(shown(1), QStringList({"Zulu", "Casino", "Brazil"}));
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(stored(), QStringList({"1|Zulu", "2|Brazil", "3|Casino"}));
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

TEST_F(CommandsTest, EditModeEndsWithTheEditorAndAMissingRowIsAddedAnew) {
    start({"Alien", "Brazil"});
    select(QStringLiteral("Alien"));
    whileModal(editor(), [&] { editor().close(); }); // the close box
    click(5);
    whileModal(editor(), [&] {
        EXPECT_TRUE(box(1).text().isEmpty());
        saveEditor(QStringLiteral("Casino"));
    });
    click(4);
    EXPECT_EQ(stored(), QStringList({"1|Alien", "2|Brazil", "3|Casino"}));

    // Brazil goes behind the list's back; editing it says so instead of
    // opening the editor empty.
    TempCatalogue::exec(h.catalogue(), QStringLiteral("delete from dvd where id=2"));
    select(QStringLiteral("Brazil"));
    whileModal(editor(), [&] { EXPECT_FALSE(editor().isVisible()) << "the editor opened"; });
    click(5);
    QCoreApplication::processEvents(); // the check above, when no editor came up
    EXPECT_TRUE(
        h.boxes.last().text.startsWith(QStringLiteral("This movie is no longer in the list")));
    EXPECT_EQ(shown(1), QStringList({"Alien", "Casino"}));
    EXPECT_EQ(stored(), QStringList({"1|Alien", "3|Casino"}));

    // A row that cannot be read opens the editor empty, for a new movie.
    h.movies.close();
    select(QStringLiteral("Alien"));
    whileModal(editor(), [&] {
        EXPECT_TRUE(editor().mDVDID.isEmpty());
        EXPECT_TRUE(box(1).text().isEmpty());
    });
    click(5);
    EXPECT_EQ(h.boxes.errorReports().size(), 2); // loadDVD's open and end test
}

TEST_F(CommandsTest, DeleteAsksByTitleAndRemovesExactlyTheSelectedRow) {
    start({"Heat", "Heat", "Ronin"});
    StatementLog log(CatalogueInternals::connection(h.movies));
    list().selectRow(1);
    list().items().setTicked(0, true);
    click(1); // answered No
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Are you sure you want to delete Heat?"));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Delete Selected"));
    EXPECT_EQ(h.boxes.last().style, 4);
    EXPECT_EQ(ticked(), 1); // not refilled
    EXPECT_TRUE(log.statements.isEmpty());

    const QString id = list().items().cell(1, 0);
    h.boxes.answer(Answer::Yes);
    click(1);
    EXPECT_EQ(log.statements.value(0), QStringLiteral("delete from dvd where id=") + id);
    EXPECT_EQ(stored().size(), 2);
    EXPECT_FALSE(shown(0).contains(id));
    EXPECT_EQ(ticked(), 0);
}

TEST_F(CommandsTest, NothingIsDeletedWithoutASelectionOrFromAnEmptyList) {
    start({"Heat", "Ronin"});
    click(1);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.startsWith(
        QStringLiteral("No movie is selected.\r\nin Reelkeeper2021/08/31.Form1.PushButton1_Click "
                       "at line 102")));
    EXPECT_EQ(stored().size(), 2);

    h.boxes.answer(Answer::Yes);
    click(6);
    h.boxes.clear();
    TempCatalogue::exec(h.catalogue(), QStringLiteral("insert into dvd (title) values ('Alien')"));
    for (const int button : {1, 5, 6}) { // the list is empty: nothing is asked or changed
        click(button);
    }
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(stored(), QStringList({"3|Alien"}));
}

TEST_F(CommandsTest, ClearAsksThenEmptiesTheCatalogueAndExamplesFillItAgain) {
    start({"Heat"});
    StatementLog log(CatalogueInternals::connection(h.movies));
    click(6); // answered No
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Are you sure you want to clear the database?\r\n"
                                                  "Note: You cannot undo this function."));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Clear Database"));
    EXPECT_EQ(h.boxes.last().style, 4);
    EXPECT_TRUE(log.statements.isEmpty());

    h.boxes.answer(Answer::Yes);
    click(6);
    EXPECT_EQ(log.statements.value(0), QStringLiteral("delete from [dvd]"));
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(list().items().itemCount(), 0);

    log.statements.clear();
    click(7);
    click(7);
    EXPECT_EQ(
        log.statements.value(0),
        QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],[runtime],"
                       "[rating],[studio]) values ('Titanic','1995','Drama','L. DiCaprio, K. "
                       "Winslett','J. Cameron','3:14','R','20CF')"));
    const QStringList examples = {
        "Titanic|1995|Drama|L. DiCaprio, K. Winslett|J. Cameron|3:14|R|20CF",
        "Casablanca|1942|Drama|Humphrey Bogart, Ingrid Bergman|Michael Curtiz|1:43|R|Warner",
        "The Seven Year Itch|1955|Comedy|Marilyn Monroe, Tom Ewell|Billy Wilder|1:45|R|20CF"};
    EXPECT_EQ(TempCatalogue::rows(h.catalogue(), QStringLiteral("title,year,genre,[cast],director,"
                                                                "runtime,rating,studio")),
              examples + examples);
    EXPECT_EQ(list().items().itemCount(), 6);
    EXPECT_EQ(h.boxes.count(), 2); // only the two questions
}

TEST_F(CommandsTest, HelpNamesTheContactPageEvenWithoutACatalogue) {
    start({});
    h.movies.close();
    click(8);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Questions? Please contact Team Tarnwick at "
                                                  "https://www.tarnwick.example/contact/"));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Reelkeeper"));
    EXPECT_EQ(h.boxes.last().style, 0);
}

} // namespace

namespace {

// A catalogue made elsewhere may hold text in its id column: "where id=id"
// would match every row, so such an id is refused before any statement.
TEST_F(CommandsTest, AnIdThatIsNoWholeNumberIsRefusedAndNothingChanges) {
    h.dirs.createInstalledCatalogue();
    TempCatalogue::exec(
        h.catalogue(), QStringLiteral("drop table dvd; create table dvd (id text, title text, year "
                                      "text, genre text, cast text, director text, runtime text, "
                                      "rating text, studio text); insert into dvd (id, title) "
                                      "values ('id', 'Heat'), ('7', 'Ronin')"));
    h.form->Form_Load();
    h.form->show();
    StatementLog log(CatalogueInternals::connection(h.movies));
    select(QStringLiteral("Heat"));
    h.boxes.answer(Answer::Yes);
    click(1);
    select(QStringLiteral("Heat")); // again: the refill after the refusal cleared it
    whileModal(editor(), [&] { EXPECT_TRUE(editor().mDVDID.isEmpty()); });
    click(5);
    EXPECT_EQ(stored(), QStringList({"7|Ronin", "id|Heat"}));
    for (const QString& statement : log.statements) {
        EXPECT_TRUE(statement.startsWith(QStringLiteral("select * from dvd order by")))
            << statement.toStdString();
    }
    const auto reports = h.boxes.errorReports();
    ASSERT_GE(reports.size(), 2);
    for (const char* location :
         {"Form1.PushButton1_Click at line 104", "modDVD.loadDVD at line 102"}) {
        EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [&](const auto& report) {
            return report.text.startsWith(
                       QStringLiteral("The row id \"id\" is not a whole number.\r\n")) &&
                   report.text.contains(QLatin1String(location));
        })) << location;
    }
}

} // namespace
