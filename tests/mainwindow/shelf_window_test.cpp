// The shelf on the main window: scan mode, a movie's copies and its sets,
// driven through the real window over a scratch catalogue.
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_store.h"
#include "mainwindow/shelf/scan_mode.h"
#include "mainwindow/shelf/shelf_commands.h"
#include "support/main_window_driver.h"
#include "support/modal.h"
#include "support/temp_catalogue.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

namespace {

const QString kOwnedCode = QStringLiteral("4006381333931");
const QString kNewCode = QStringLiteral("036000291452");
const QString kBadCode = QStringLiteral("4006381333932");

// A shown window over Alien (id 1), Brazil (2) and Casino (3), Brazil
// owned on a Blu-ray with kOwnedCode.
struct ShelfWindow : ShownForm1 {
    ShelfWindow() : ShownForm1({"Alien", "Brazil", "Casino"}) {
        ShelfCopy copy;
        copy.movieId = 2;
        copy.format = CopyFormat::BluRay;
        copy.edition = QStringLiteral("Final Cut");
        copy.barcode = kOwnedCode;
        copy.location = QStringLiteral("Shelf B");
        store.addCopy(copy);
    }
    ShelfCommands& shelf() { return *form->findChild<ShelfCommands*>(); }
    QStringList barcodesOf(qint64 movie) {
        QStringList codes;
        for (const ShelfCopy& copy : store.copies(movie)) {
            codes << copy.barcode;
        }
        return codes;
    }
    ShelfStore store{movies};
};

TEST(ShelfWindowTest, ABurstOfScansIsAnsweredInTurnAndWaitsForADialog) {
    ShelfWindow h;
    ScanMode& scan = h.shelf().scanMode();
    h.shelf().openScanMode();
    QDialog blocker(h.form.get());
    blocker.open();
    for (const QString& code : {kOwnedCode, kNewCode, kBadCode}) {
        QTest::keyClicks(scan.field(), code);
        QTest::keyClick(scan.field(), Qt::Key_Return);
    }
    QTest::qWait(50);
    EXPECT_EQ(scan.waiting(), 3) << "answered while a dialog was open";
    blocker.close();
    QTRY_COMPARE(scan.waiting(), 0);
    const QStringList expected = {kOwnedCode +
                                      QStringLiteral(": You own this: Blu-ray, Final Cut, Shelf B"),
                                  kNewCode + QStringLiteral(": Not in the catalogue"),
                                  kBadCode + QStringLiteral(": ") + Barcode::problem(kBadCode)};
    QStringList answers = scan.answers();
    std::reverse(answers.begin(), answers.end());
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(h.selectedTitle(), "Brazil");
    EXPECT_EQ(h.boxes.count(), 0); // nothing stops the next scan
    EXPECT_EQ(h.movies.count(), 3);
}

TEST(ShelfWindowTest, AnUnknownScanAddsTheNewMovieWithItsBarcode) {
    ShelfWindow h;
    ScanMode& scan = h.shelf().scanMode();
    scan.scan(kNewCode);
    QTRY_COMPARE(scan.waiting(), 0);
    const auto* hint = scan.window()->findChild<QLabel*>(QStringLiteral("lookUpHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisibleTo(scan.window()) && hint->text().contains(QStringLiteral("Ctrl+L")))
        << "the offer says how to look the new movie up";
    whileModal(h.editor(), [&] {
        scan.scan(kOwnedCode); // waits for the editor
        h.box(1).setText(QStringLiteral("Delicatessen"));
        h.clickSave();
    });
    scan.addChosen();
    EXPECT_EQ(scan.answers().constLast(),
              kNewCode + QStringLiteral(": Added \"Delicatessen\" with a copy of this barcode"));
    QTRY_COMPARE(scan.waiting(), 0);
    EXPECT_EQ(scan.answers().size(), 2);
    EXPECT_EQ(h.barcodesOf(4), QStringList{kNewCode});
    EXPECT_EQ(h.selectedTitle(), "Brazil"); // the scan that waited
}

TEST(ShelfWindowTest, CopiesRefusesABadBarcodeKeepingTheFormThenStoresAGoodOne) {
    ShelfWindow h;
    h.select(QStringLiteral("Alien"));
    h.shelf().openCopies();
    CopiesDialog& dialog = *h.shelf().copiesDialog();
    dialog.editionBox().setText(QStringLiteral("Director's Cut"));
    QTest::keyClicks(&dialog.barcodeBox(), kBadCode);
    QTest::keyClick(&dialog.barcodeBox(), Qt::Key_Return); // a scanner's Enter
    EXPECT_EQ(h.boxes.last().text, Barcode::problem(kBadCode));
    EXPECT_TRUE(dialog.isVisible()) << "Enter pressed a button";
    dialog.addCopy();
    EXPECT_EQ(h.boxes.count(), 2);
    EXPECT_TRUE(h.store.copies(1).empty());
    EXPECT_EQ(dialog.editionBox().text(), QStringLiteral("Director's Cut"));

    dialog.barcodeBox().setText(kNewCode);
    dialog.priceBox().setText(QStringLiteral("12,5"));
    dialog.addCopy();
    ASSERT_EQ(h.barcodesOf(1), QStringList{kNewCode});
    EXPECT_EQ(h.store.copies(1).front().price, QStringLiteral("12.50"));
    EXPECT_EQ(dialog.table().rowCount(), 1);
}

TEST(ShelfWindowTest, CopiesKeepsOrChangesTheCurrencyAsSet) {
    ShelfWindow h;
    h.select(QStringLiteral("Brazil"));
    h.shelf().openCopies();
    CopiesDialog& dialog = *h.shelf().copiesDialog();
    const std::pair<const char*, const char*> cases[] = {
        {"eur", "EUR"}, // a code as typed, in capitals
        {"EUR", "EUR"}, // kept
        {"", ""},       // none
        {"euro", ""},   // refused: the copy stays as it was
    };
    for (const auto& [typed, stored] : cases) {
        dialog.table().setCurrentCell(0, 0);
        dialog.priceBox().setText(QStringLiteral("9.99"));
        dialog.currencyBox().setText(QString::fromUtf8(typed));
        dialog.changeCopy();
        EXPECT_EQ(h.store.copies(2).front().currency, QString::fromUtf8(stored)) << typed;
    }
    EXPECT_EQ(h.boxes.count(), 1); // the refused one, told
}

// The editor asks before adding a movie that looks like a stored one only
// where the shelf is in use; No goes back to the editor, typing intact.
TEST(ShelfWindowTest, AddingALookAlikeAsksFirstOnlyWhereTheShelfIsUsed) {
    for (const bool shelfUsed : {true, false}) {
        ShownForm1 h;
        TempCatalogue::addMovies(h.catalogue(),
                                 {{"Brazil", "1985", "Comedy", "", "Terry Gilliam"}});
        if (shelfUsed) {
            ShelfCopy copy;
            copy.movieId = 1;
            copy.location = QStringLiteral("Shelf B");
            ShelfStore(h.movies).addCopy(copy);
        }
        bool stillOpen = false;
        whileModal(h.editor(), [&] {
            h.box(1).setText(QStringLiteral("BRAZIL"));
            h.box(2).setText(QStringLiteral("1985"));
            h.box(5).setText(QStringLiteral("terry gilliam"));
            h.clickSave();
            stillOpen = h.editor().isVisible() && h.box(1).text() == QStringLiteral("BRAZIL");
        });
        h.click(Button::AddNewMovie);
        EXPECT_EQ(stillOpen, shelfUsed);
        EXPECT_EQ(h.movies.count(), shelfUsed ? 1 : 2);
        EXPECT_EQ(h.boxes.boxes().constFirst().text.contains(QStringLiteral(
                      "\"Brazil\" (1985, Terry Gilliam) - your copies: DVD, Shelf B")),
                  shelfUsed);
    }
}

TEST(ShelfWindowTest, ASeriesShowsItsMissingMovieAndWishesIt) {
    ShelfWindow h;
    for (int row = 0; row < 3; ++row) {
        h.list().items().setTicked(row, true);
    }
    h.shelf().openSets();
    SetsDialog& dialog = *h.shelf().setsDialog();
    dialog.nameBox().setText(QStringLiteral("Gilliam"));
    dialog.makeSet();
    QStringList members;
    for (int row = 0; row < dialog.memberList().count(); ++row) {
        members << dialog.memberList().item(row)->text();
    }
    EXPECT_EQ(members, QStringList({"Alien \u2014 missing", "Brazil", "Casino \u2014 missing"}));
    dialog.wishMissing();
    dialog.wishMissing(); // once is enough
    ASSERT_EQ(h.store.copies(3).size(), 1U);
    EXPECT_EQ(h.store.copies(3).front().status, CopyStatus::Wished);
}

} // namespace
