// The catalogue commands behind the main window's buttons, driven through
// the real windows.
#include "editor/form2.h"
#include "mainwindow/list_view.h"
#include "platform/twips.h"
#include "support/form1_harness.h"
#include "support/modal.h"
#include "support/statement_log.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    // Starts the main window over a catalogue holding these movies
    // ("title|year|genre|cast|director|runtime|rating|studio").
    Form1& start(const QStringList& movies = {}) {
        h.dirs.createInstalledCatalogue();
        for (const QString& movie : movies) {
            addDirectly(movie);
        }
        h.form->Form_Load();
        h.form->show();
        return *h.form;
    }
    void addDirectly(const QString& movie) {
        QStringList values = movie.split(QLatin1Char('|'));
        while (values.size() < 8) {
            values << QString();
        }
        TempCatalogue::exec(h.catalogue(),
                            QStringLiteral("insert into dvd (title,year,genre,[cast],director,"
                                           "runtime,rating,studio) values ('") +
                                values.join(QStringLiteral("','")) + QStringLiteral("')"));
    }
    ListView& list() { return *h.form->findChild<ListView*>(QStringLiteral("ListView1")); }
    void click(int button) {
        QTest::mouseClick(
            h.form->findChild<QPushButton*>(QStringLiteral("PushButton%1").arg(button)),
            Qt::LeftButton);
    }
    Form2& editor() { return h.form->form2(); }
    QLineEdit& box(int n) {
        return *editor().findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    void saveEditor() {
        QTest::mouseClick(editor().findChild<QPushButton*>(QStringLiteral("PushButton1")),
                          Qt::LeftButton);
    }
    // The list's column as shown, top to bottom.
    QStringList shown(int column) {
        QStringList cells;
        for (int row = 0; row < list().items().itemCount(); ++row) {
            cells << list().items().cell(row, column);
        }
        return cells;
    }
    int rowOf(const QString& title) { return int(shown(1).indexOf(title)); }
    int ticked() {
        int count = 0;
        for (int row = 0; row < list().items().itemCount(); ++row) {
            count += list().items().isTicked(row) ? 1 : 0;
        }
        return count;
    }
    QStringList stored() { return TempCatalogue::rows(h.catalogue()); }

    Form1Harness h;
};

TEST_F(CommandsTest, MainWindowIsLaidOutInTwips) {
    Form1& form = start();
    const auto twips = [](float l, float t, float w, float ht) {
        return QRect(Twips::toPixels(l), Twips::toPixels(t), Twips::toPixels(w),
                     Twips::toPixels(ht));
    };
    EXPECT_EQ(list().geometry(), twips(120, 120, 12000, 4920));
    EXPECT_EQ(form.PushButton(4).geometry(), twips(120, 5115, 2520, 405));
    EXPECT_EQ(form.PushButton(7).geometry(), twips(9000, 5130, 3120, 405));
    EXPECT_EQ(form.PushButton(6).geometry(), twips(120, 5625, 2550, 405));
    EXPECT_EQ(form.PushButton(8).geometry(), twips(9000, 5625, 3120, 405));
}

TEST_F(CommandsTest, AddAndEditRefillTheListInTheUsersSortWithoutTicks) {
    Form1& form = start({"Alien|1979|SF||Scott", "Brazil|1985|SF||Gilliam"});
    form.ListView1_ColumnClick(6);
    form.ListView1_ColumnClick(6); // director, descending
    list().items().setTicked(0, true);

    whileModal(editor(), [&] {
        box(1).setText(QStringLiteral("Contact"));
        box(5).setText(QStringLiteral("Zemeckis"));
        saveEditor();
    });
    click(4);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Done."));
    EXPECT_EQ(shown(5), QStringList({"Zemeckis", "Scott", "Gilliam"}));
    EXPECT_EQ(ticked(), 0);

    list().selectRow(rowOf(QStringLiteral("Brazil")));
    list().items().setTicked(1, true);
    whileModal(editor(), [&] {
        EXPECT_EQ(box(1).text(), QStringLiteral("Brazil"));
        EXPECT_EQ(editor().mDVDID, QStringLiteral("2"));
        box(5).setText(QStringLiteral("Terry Gilliam"));
        saveEditor();
    });
    click(5);
    EXPECT_EQ(shown(5), QStringList({"Zemeckis", "Terry Gilliam", "Scott"}));
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(stored().at(1), QStringLiteral("2|Brazil|1985|SF||Terry Gilliam|||"));
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

TEST_F(CommandsTest, EditModeEndsWithTheEditorAndAGoneRowIsAddedAnew) {
    start({"Alien", "Brazil"});
    list().selectRow(rowOf(QStringLiteral("Alien")));
    whileModal(editor(), [&] { editor().close(); }); // the close box
    click(5);
    whileModal(editor(), [&] {
        EXPECT_TRUE(box(1).text().isEmpty());
        box(1).setText(QStringLiteral("Casino"));
        saveEditor();
    });
    click(4);
    EXPECT_EQ(stored(), QStringList({"1|Alien|||||||", "2|Brazil|||||||", "3|Casino|||||||"}));

    // Brazil goes behind the list's back; editing it then adds a new movie.
    TempCatalogue::exec(h.catalogue(), QStringLiteral("delete from dvd where id=2"));
    list().selectRow(rowOf(QStringLiteral("Brazil")));
    whileModal(editor(), [&] {
        EXPECT_TRUE(box(1).text().isEmpty());
        box(1).setText(QStringLiteral("Dune"));
        saveEditor();
    });
    click(5);
    EXPECT_EQ(stored(), QStringList({"1|Alien|||||||", "3|Casino|||||||", "4|Dune|||||||"}));
}

TEST_F(CommandsTest, DeleteAsksByTitleAndRemovesExactlyTheSelectedRow) {
    Form1& form = start({"Heat|1995", "Heat|1986", "Ronin"});
    StatementLog log(*form.gConn());
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
    h.boxes.answer(6);
    click(1);
    EXPECT_EQ(log.statements.value(0), QStringLiteral("delete from dvd where id=") + id);
    EXPECT_EQ(stored().size(), 2);
    EXPECT_FALSE(shown(0).contains(id));
    EXPECT_EQ(shown(1).count(QStringLiteral("Heat")), 1);
    EXPECT_EQ(ticked(), 0);
}

TEST_F(CommandsTest, NothingIsDeletedWithoutASelectionOrWithAnEmptyList) {
    start({"Heat", "Ronin"});
    click(1);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.startsWith(QStringLiteral("No movie is selected.\r\n")));
    EXPECT_TRUE(
        h.boxes.last().text.contains(QStringLiteral(".Form1.PushButton1_Click at line 102")));
    EXPECT_EQ(stored().size(), 2);

    // An empty list asks nothing, whatever the catalogue holds.
    h.boxes.answer(6);
    click(6);
    h.boxes.clear();
    addDirectly(QStringLiteral("Alien"));
    for (const int button : {1, 5, 6}) {
        click(button);
    }
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(stored(), QStringList({"3|Alien|||||||"}));
}

TEST_F(CommandsTest, ClearAsksThenEmptiesTheCatalogueAndExamplesFillItAgain) {
    Form1& form = start({"Heat"});
    StatementLog log(*form.gConn());
    list().items().setTicked(0, true);
    click(6); // answered No
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Are you sure you want to clear the database?\r\n"
                                                  "Note: You cannot undo this function."));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Clear Database"));
    EXPECT_EQ(h.boxes.last().style, 4);
    EXPECT_EQ(ticked(), 1);
    EXPECT_EQ(stored().size(), 1);

    h.boxes.answer(6);
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
    Form1& form = start();
    form.gConn()->Close();
    click(8);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Questions? Please contact Team Tarnwick at "
                                                  "https://www.tarnwick.example/contact/"));
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Reelkeeper"));
    EXPECT_EQ(h.boxes.last().style, 0);
}

TEST_F(CommandsTest, FailuresNeitherLoseTypingNorEditBlind) {
    Form1& form = start({"Heat|1995"});
    form.gConn()->Execute(QStringLiteral("PRAGMA query_only=1")); // every write now fails
    list().items().setTicked(0, true);
    whileModal(editor(), [&] {
        box(1).setText(QStringLiteral("Ronin"));
        saveEditor();
        EXPECT_TRUE(editor().isVisible());
        EXPECT_EQ(box(1).text(), QStringLiteral("Ronin"));
    });
    click(4);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(
        h.boxes.last().text.contains(QStringLiteral(".Form2.PushButton1_Click at line 104")));
    EXPECT_EQ(ticked(), 1); // no refill after a failed save

    // The examples are each tried and reported; the list is refilled anyway.
    h.boxes.clear();
    click(7);
    ASSERT_EQ(h.boxes.count(), 3);
    EXPECT_TRUE(
        h.boxes.at(2).text.contains(QStringLiteral(".Form1.PushButton7_Click at line 112")));
    EXPECT_EQ(ticked(), 0);

    // A row that cannot be read opens the editor for a new movie, not blind edit mode.
    h.boxes.clear();
    form.gConn()->Close();
    list().selectRow(0);
    whileModal(editor(), [&] {
        EXPECT_TRUE(editor().mDVDID.isEmpty());
        EXPECT_TRUE(box(1).text().isEmpty());
    });
    click(5);
    ASSERT_EQ(h.boxes.count(), 2);
    EXPECT_TRUE(h.boxes.at(0).text.contains(QStringLiteral(".modDVD.loadDVD at line 102")));
    EXPECT_EQ(stored(), QStringList({"1|Heat|1995||||||"}));
}

} // namespace
