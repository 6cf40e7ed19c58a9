// The main window's safety net: the snapshot before Clear Database, the
// restore dialog, and the health check after the window is shown.
#include "core/snapshots/snapshot_store.h"
#include "mainwindow/list_view.h"
#include "mainwindow/restore_dialog.h"
#include "mainwindow/startup_check.h"
#include "support/form1_harness.h"
#include "support/modal.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QStringList kMovies = {"1|Alien", "2|Heat", "3|Ran"};

class SnapshotWiringTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.dirs.createInstalledCatalogue();
        TempCatalogue::exec(h.catalogue(), QStringLiteral("insert into dvd (title) values "
                                                          "('Alien'), ('Heat'), ('Ran')"));
    }
    Form1& start() {
        h.form->Form_Load();
        h.form->show();
        return *h.form;
    }
    void clickClear() {
        QTest::mouseClick(h.form->findChild<QPushButton*>(QStringLiteral("PushButton6")),
                          Qt::LeftButton);
    }
    int shownRows() { return h.form->ListView1().items().itemCount(); }
    QStringList stored() { return TempCatalogue::rows(h.catalogue(), QStringLiteral("id,title")); }
    QString folder() const { return SnapshotStore(h.catalogue()).folder(); }
    QAction& restoreEntry() {
        for (QAction* action : h.form->ListView1().actions()) {
            if (action->text() == QStringLiteral("&Restore a snapshot\u2026")) {
                return *action;
            }
        }
        throw std::runtime_error("no Restore a snapshot entry");
    }

    Form1Harness h;
};

TEST_F(SnapshotWiringTest, ClearWithoutAPossibleSnapshotAsksAgainAndDoesNothingOnNo) {
    start();
    ASSERT_TRUE(QFile(folder()).open(QIODevice::WriteOnly)); // a file where the folder goes
    h.boxes.answer(Answer::Yes);                             // "Are you sure ...?"
    clickClear();                                            // ... then the default: No
    ASSERT_EQ(h.boxes.count(), 2);
    EXPECT_EQ(h.boxes.at(0).title, QStringLiteral("Clear Database"));
    EXPECT_EQ(h.boxes.last().style, int(BoxStyle::YesNoDefaultNo));
    EXPECT_TRUE(h.boxes.last().text.startsWith(
        QStringLiteral("No snapshot of the catalogue could be made")));
    EXPECT_TRUE(h.boxes.last().text.endsWith(QStringLiteral("Go on anyway?")));
    EXPECT_EQ(stored(), kMovies);
    EXPECT_EQ(shownRows(), 3);

    h.boxes.answer(Answer::Yes);
    h.boxes.answer(Answer::Yes);
    clickClear();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

// Clear Database by mistake: the dialog offers the snapshot made before it,
// and Restore brings every movie back.
TEST_F(SnapshotWiringTest, EveryMovieComesBackThroughTheRestoreDialog) {
    start();
    h.boxes.answer(Answer::Yes);
    clickClear();
    ASSERT_TRUE(stored().isEmpty());
    ASSERT_EQ(h.boxes.count(), 1); // no question beyond "Are you sure ...?"

    RestoreDialog& dialog = h.form->restoreDialog();
    whileModal(dialog, [&] {
        ASSERT_EQ(dialog.list().topLevelItemCount(), 1);
        EXPECT_EQ(dialog.list().topLevelItem(0)->text(1),
                  QStringLiteral("Before clearing the database"));
        EXPECT_EQ(dialog.list().topLevelItem(0)->text(2), QStringLiteral("3"));
        QTest::mouseClick(&dialog.restoreButton(), Qt::LeftButton);
    });
    restoreEntry().trigger(); // the list's context menu
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored(), kMovies);
    EXPECT_EQ(shownRows(), 3);
    EXPECT_EQ(h.boxes.count(), 1);

    // The emptied state was saved first and is now the newest; Cancel changes nothing.
    whileModal(dialog, [&] {
        ASSERT_EQ(dialog.list().topLevelItemCount(), 2);
        EXPECT_EQ(dialog.list().topLevelItem(0)->text(1), QStringLiteral("Before a restore"));
        EXPECT_EQ(dialog.list().topLevelItem(0)->text(2), QStringLiteral("0"));
        dialog.reject();
    });
    h.form->chooseSnapshotToRestore();
    EXPECT_EQ(stored(), kMovies);
}

TEST_F(SnapshotWiringTest, ADamagedCatalogueIsReportedOnceWithTheOfferToRestore) {
    const QString snapshot = SnapshotStore(h.catalogue()).make(SnapshotReason::Manual);
    // Garbage over the table's page: the file still opens, the check fails.
    QFile file(h.catalogue());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096;
    for (qint64 page = 1; page * pageSize < file.size(); ++page) {
        file.seek(page * pageSize + 8);
        file.write(QByteArray(64, '\x5a'));
    }
    file.close();
    start();
    h.boxes.clear();
    h.boxes.answer(Answer::Yes);
    h.form->checkAfterShown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.boxes.count() > 0; }, 20000));
    const QString text = h.boxes.at(0).text;
    EXPECT_TRUE(text.contains(QStringLiteral(" is damaged"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("with 3 movies. Restore it now?")))
        << text.toStdString();
    EXPECT_EQ(TempCatalogue::quickCheck(h.catalogue()), QStringLiteral("ok"));
    EXPECT_EQ(stored(), kMovies);
    EXPECT_EQ(shownRows(), 3);
    EXPECT_TRUE(QFile::exists(snapshot));
}

TEST_F(SnapshotWiringTest, TheDaysSnapshotIsMadeAfterTheWindowIsShownOnlyWhenDue) {
    start();
    h.form->checkAfterShown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !h.form->startupCheck()->isRunning(); }, 20000));
    const QString daily = h.form->startupCheck()->findings().dailySnapshot;
    EXPECT_TRUE(daily.endsWith(QStringLiteral("-daily.mdb"))) << daily.toStdString();
    EXPECT_EQ(TempCatalogue::rows(daily, QStringLiteral("id,title")), kMovies);
    EXPECT_EQ(h.boxes.count(), 0);
    // Unchanged since: not due again today.
    EXPECT_TRUE(StartupCheck::run(SnapshotStore(h.catalogue())).dailySnapshot.isEmpty());
}

} // namespace
