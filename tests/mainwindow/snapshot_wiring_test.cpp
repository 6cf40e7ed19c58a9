// The main window's safety net: the snapshot before Clear Database, the
// restore dialog, and the health check after the window is shown.
#include "core/snapshots/snapshot_store.h"
#include "mainwindow/snapshots/restore_dialog.h"
#include "mainwindow/snapshots/snapshot_restore.h"
#include "mainwindow/snapshots/startup_check.h"
#include "support/main_window_driver.h"
#include "support/modal.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QStringList kMovies = {"1|Alien", "2|Heat", "3|Ran"};

class SnapshotWiringTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.dirs.createInstalledCatalogue();
        TempCatalogue::addTitles(h.catalogue(), {"Alien", "Heat", "Ran"});
    }
    SnapshotRestore& snapshots() { return *h.form->findChild<SnapshotRestore*>(); }
    int shownRows() { return h.list().items().itemCount(); }
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

    MainWindowDriver h;
};

TEST_F(SnapshotWiringTest, ClearWithoutAPossibleSnapshotAsksAgainAndDoesNothingOnNo) {
    h.start();
    ASSERT_TRUE(QFile(folder()).open(QIODevice::WriteOnly)); // a file where the folder goes
    h.boxes.answer(Answer::Yes);                             // "Are you sure ...?"
    h.click(Button::ClearDatabase);                          // ... then the default: No
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
    h.click(Button::ClearDatabase);
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

// Clear Database by mistake: the dialog offers the snapshot made before it,
// and Restore brings every movie back.
TEST_F(SnapshotWiringTest, EveryMovieComesBackThroughTheRestoreDialog) {
    h.start();
    h.boxes.answer(Answer::Yes);
    h.click(Button::ClearDatabase);
    ASSERT_TRUE(stored().isEmpty());
    ASSERT_EQ(h.boxes.count(), 1); // no question beyond "Are you sure ...?"

    RestoreDialog& dialog = snapshots().restoreDialog();
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
    snapshots().chooseSnapshotToRestore();
    EXPECT_EQ(stored(), kMovies);
}

// Runs `inside` on the restore dialog that whatever runs next shows modally,
// then closes it.
void whenShown(QObject& owner, std::function<void(RestoreDialog&)> inside) {
    auto* poll = new QTimer(&owner);
    QObject::connect(poll, &QTimer::timeout, &owner, [poll, inside] {
        if (auto* dialog = qobject_cast<RestoreDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inside(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        }
    });
    poll->start(20);
}

// A damaged catalogue: what can be read is saved first and said, then the
// snapshots are offered with the damaged file's copy selected and nothing
// happening on Enter; the person may still choose a snapshot.
TEST_F(SnapshotWiringTest, ADamagedCatalogueIsSalvagedThenSnapshotsAreOfferedWithoutADefault) {
    SnapshotStore(h.catalogue()).make(SnapshotReason::Manual);
    QList<QStringList> filler;
    for (int i = 1; i <= 3000; ++i) {
        filler.append({QStringLiteral("M%1").arg(i), {}, {}, QString(150, u'x')});
    }
    TempCatalogue::addMovies(h.catalogue(), filler);
    QFile file(h.catalogue());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(40 * 4096);
    file.write(QByteArray(64, '\x5a'));
    file.close();
    h.start();
    h.boxes.clear();

    QString saved;
    bool enterDidNothing = false;
    whenShown(*h.form, [&](RestoreDialog& dialog) {
        ASSERT_EQ(dialog.list().topLevelItemCount(), 2);
        saved = dialog.list().topLevelItem(0)->text(2);
        EXPECT_TRUE(dialog.list().topLevelItem(0)->isSelected());
        EXPECT_FALSE(dialog.restoreButton().isEnabled());
        dialog.list().setCurrentItem(dialog.list().topLevelItem(1));
        ASSERT_TRUE(dialog.restoreButton().isEnabled());
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->isDefault() || button->autoDefault());
        }
        QTest::keyClick(&dialog.list(), Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Enter);
        enterDidNothing = dialog.isVisible() && stored().size() > 3;
        QTest::mouseClick(&dialog.restoreButton(), Qt::LeftButton); // a choice made
    });
    snapshots().checkAfterShown();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !saved.isEmpty() && !QApplication::activeModalWidget(); }, 20000));
    EXPECT_TRUE(enterDidNothing);
    ASSERT_EQ(h.boxes.count(), 1);
    const QString text = h.boxes.at(0).text;
    EXPECT_TRUE(text.contains(QStringLiteral(" is damaged"))) << text.toStdString();
    // The box counts in the same style as the dialog's column.
    EXPECT_TRUE(text.contains(QStringLiteral("%1 movie(s) could still be read").arg(saved)))
        << text.toStdString();
    saved.remove(QRegularExpression(QStringLiteral("\\D"))); // the locale's digit groups
    EXPECT_TRUE(text.contains(QStringLiteral("/backups/damaged-dbDVD-"))) << text.toStdString();
    EXPECT_GT(saved.toInt(), 2900);
    // The older snapshot chosen is back; the salvaged movies were saved before it.
    EXPECT_EQ(stored(), kMovies);
    EXPECT_EQ(shownRows(), 3);
    const QList<Snapshot> snapshots = SnapshotStore(h.catalogue()).list();
    ASSERT_EQ(snapshots.size(), 2);
    EXPECT_EQ(snapshots.at(0).movies, saved.toInt());
    EXPECT_EQ(TempCatalogue::quickCheck(snapshots.at(0).path), QStringLiteral("ok"));
}

TEST_F(SnapshotWiringTest, ASnapshotWithForeignTriggersIsRefusedByName) {
    const QString foreign = h.dirs.root() + QStringLiteral("/foreign.mdb");
    TempCatalogue::createCatalogue(foreign);
    TempCatalogue::exec(foreign, QStringLiteral("create trigger wipe after insert on dvd begin "
                                                "delete from dvd; end"));
    h.start();
    EXPECT_FALSE(snapshots().restoreSnapshot(foreign));
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.contains(QStringLiteral("(trigger wipe)")))
        << h.boxes.last().text.toStdString();
    EXPECT_EQ(stored(), kMovies);
}

TEST_F(SnapshotWiringTest, TheDaysSnapshotIsMadeAfterTheWindowIsShownOnlyWhenDue) {
    h.start();
    snapshots().checkAfterShown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !snapshots().startupCheck()->isRunning(); }, 20000));
    const QString daily = snapshots().startupCheck()->findings().dailySnapshot;
    EXPECT_TRUE(daily.endsWith(QStringLiteral("-daily.mdb"))) << daily.toStdString();
    EXPECT_EQ(TempCatalogue::rows(daily, QStringLiteral("id,title")), kMovies);
    EXPECT_EQ(h.boxes.count(), 0);
    // Unchanged since: not due again today.
    EXPECT_TRUE(StartupCheck::run(SnapshotStore(h.catalogue())).dailySnapshot.isEmpty());
}

} // namespace
