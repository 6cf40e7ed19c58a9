// The catalogue commands behind the main window's buttons, driven through
// the real windows.
#include "support/catalogue_internals.h"
#include "support/main_window_driver.h"
#include "support/modal.h"
#include "support/statement_log.h"

#include <algorithm>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void saveEditor(const QString& title) {
        h.box(1).setText(title);
        h.clickSave();
    }
    int ticked() {
        int count = 0;
        for (int row = 0; row < h.list().items().itemCount(); ++row) {
            count += h.list().items().isTicked(row) ? 1 : 0;
        }
        return count;
    }
    QStringList stored() { return TempCatalogue::rows(h.catalogue(), QStringLiteral("id,title")); }

    MainWindowDriver h;
};

TEST_F(CommandsTest, AddAndEditRefillTheListInTheUsersSortWithoutTicks) {
    h.start({"Alien", "Brazil"});
    h.columnClick(MovieColumn::Title);
    h.columnClick(MovieColumn::Title); // title, descending
    h.list().items().setTicked(0, true);
    whileModal(h.editor(), [&] { saveEditor(QStringLiteral("Casino")); });
    h.click(Button::AddNewMovie);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Done."));
    EXPECT_EQ(h.column(MovieColumn::Title), QStringList({"Casino", "Brazil", "Alien"}));
    EXPECT_EQ(ticked(), 0);

    h.select(QStringLiteral("Alien"));
    h.list().items().setTicked(0, true);
    whileModal(h.editor(), [&] {
        EXPECT_EQ(h.box(1).text(), QStringLiteral("Alien"));
        saveEditor(QStringLiteral("Zulu"));
    });
    h.click(Button::EditSelectedMovie);
    EXPECT_EQ(h.column(MovieColumn::Title), QStringList({"Zulu", "Casino", "Brazil"}));
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(stored(), QStringList({"1|Zulu", "2|Brazil", "3|Casino"}));
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

TEST_F(CommandsTest, EditModeEndsWithTheEditorAndAMissingRowIsAddedAnew) {
    h.start({"Alien", "Brazil"});
    h.select(QStringLiteral("Alien"));
    whileModal(h.editor(), [&] { h.editor().close(); }); // the close box
    h.click(Button::EditSelectedMovie);
    whileModal(h.editor(), [&] {
        EXPECT_TRUE(h.box(1).text().isEmpty());
        saveEditor(QStringLiteral("Casino"));
    });
    h.click(Button::AddNewMovie);
    EXPECT_EQ(stored(), QStringList({"1|Alien", "2|Brazil", "3|Casino"}));

    // Brazil goes behind the list's back; editing it says so instead of
    // opening the editor empty.
    TempCatalogue::exec(h.catalogue(), QStringLiteral("delete from dvd where id=2"));
    h.select(QStringLiteral("Brazil"));
    whileModal(h.editor(), [&] { EXPECT_FALSE(h.editor().isVisible()) << "the editor opened"; });
    h.click(Button::EditSelectedMovie);
    QCoreApplication::processEvents(); // the check above, when no editor came up
    EXPECT_TRUE(
        h.boxes.last().text.startsWith(QStringLiteral("This movie is no longer in the list")));
    EXPECT_EQ(h.column(MovieColumn::Title), QStringList({"Alien", "Casino"}));
    EXPECT_EQ(stored(), QStringList({"1|Alien", "3|Casino"}));

    // A row that cannot be read opens the editor empty, for a new movie.
    h.movies.close();
    h.select(QStringLiteral("Alien"));
    whileModal(h.editor(), [&] {
        EXPECT_TRUE(h.editor().mDVDID.isEmpty());
        EXPECT_TRUE(h.box(1).text().isEmpty());
    });
    h.click(Button::EditSelectedMovie);
    EXPECT_EQ(h.boxes.errorReports().size(), 2); // loadDVD's open and end test
}

TEST_F(CommandsTest, DeleteAsksByTitleAndRemovesExactlyTheSelectedRow) {
    h.start({"Heat", "Heat", "Ronin"});
    StatementLog log(CatalogueInternals::connection(h.movies));
    h.list().selectRow(1);
    h.list().items().setTicked(0, true);
    h.click(Button::DeleteSelectedMovie); // answered No
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Are you sure you want to delete Heat?"));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Delete Selected"));
    EXPECT_EQ(h.boxes.last().style, 4);
    EXPECT_EQ(ticked(), 1); // not refilled
    EXPECT_TRUE(log.statements.isEmpty());

    const QString id = h.cell(1, MovieColumn::Id);
    h.boxes.answer(Answer::Yes);
    h.click(Button::DeleteSelectedMovie);
    EXPECT_EQ(log.statements.value(0), QStringLiteral("delete from dvd where id=") + id);
    EXPECT_EQ(stored().size(), 2);
    EXPECT_FALSE(h.column(MovieColumn::Id).contains(id));
    EXPECT_EQ(ticked(), 0);
}

TEST_F(CommandsTest, NothingIsDeletedWithoutASelectionOrFromAnEmptyList) {
    h.start({"Heat", "Ronin"});
    // Nothing highlighted: a plain box says so, and nothing is asked or opened.
    for (const Button button : {Button::DeleteSelectedMovie, Button::EditSelectedMovie}) {
        h.click(button);
    }
    ASSERT_EQ(h.boxes.count(), 2);
    for (const auto& box : {h.boxes.last(), h.boxes.at(0)}) {
        EXPECT_EQ(box.text, QStringLiteral("No movie is selected."));
        EXPECT_EQ(box.style, 0);
    }
    EXPECT_EQ(stored().size(), 2);

    h.boxes.answer(Answer::Yes);
    h.click(Button::ClearDatabase);
    h.boxes.clear();
    TempCatalogue::addTitles(h.catalogue(), {QStringLiteral("Alien")});
    // The list is empty: nothing is asked or changed.
    for (const Button button :
         {Button::DeleteSelectedMovie, Button::EditSelectedMovie, Button::ClearDatabase}) {
        h.click(button);
    }
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(stored(), QStringList({"3|Alien"}));
}

TEST_F(CommandsTest, ClearAsksThenEmptiesTheCatalogueAndExamplesFillItAgain) {
    h.start({"Heat"});
    StatementLog log(CatalogueInternals::connection(h.movies));
    h.click(Button::ClearDatabase); // answered No
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Are you sure you want to clear the database?\r\n"
                                                  "Note: You cannot undo this function."));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Clear Database"));
    EXPECT_EQ(h.boxes.last().style, 4);
    EXPECT_TRUE(log.statements.isEmpty());

    h.boxes.answer(Answer::Yes);
    h.click(Button::ClearDatabase);
    EXPECT_EQ(log.statements.value(0), QStringLiteral("delete from [dvd]"));
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(h.list().items().itemCount(), 0);

    log.statements.clear();
    h.click(Button::LoadExampleData);
    h.click(Button::LoadExampleData);
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
    EXPECT_EQ(h.list().items().itemCount(), 6);
    EXPECT_EQ(h.boxes.count(), 2); // only the two questions
}

TEST_F(CommandsTest, HelpNamesTheContactPageEvenWithoutACatalogue) {
    h.start({});
    h.movies.close();
    h.click(Button::Help);
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
    // Raw SQL: the point is a table whose ids are text.
    TempCatalogue::exec(
        h.catalogue(), QStringLiteral("drop table dvd; create table dvd (id text, title text, year "
                                      "text, genre text, cast text, director text, runtime text, "
                                      "rating text, studio text); insert into dvd (id, title) "
                                      "values ('id', 'Heat'), ('7', 'Ronin')"));
    h.start();
    // What the window reads once it is shown comes before the log.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.form.get()));
    QCoreApplication::processEvents();
    StatementLog log(CatalogueInternals::connection(h.movies));
    h.select(QStringLiteral("Heat"));
    h.boxes.answer(Answer::Yes);
    h.click(Button::DeleteSelectedMovie);
    h.select(QStringLiteral("Heat")); // again: the refill after the refusal cleared it
    whileModal(h.editor(), [&] { EXPECT_TRUE(h.editor().mDVDID.isEmpty()); });
    h.click(Button::EditSelectedMovie);
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
