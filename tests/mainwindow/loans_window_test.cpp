// Loans on the main window: lending through the dialog, giving back, and
// the notice of overdue loans, over a scratch catalogue.
#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"
#include "mainwindow/loans/lend_dialog.h"
#include "mainwindow/loans/loan_commands.h"
#include "mainwindow/loans/loan_notice.h"
#include "support/main_window_driver.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QInputDialog>
#include <QTableWidget>
#include <QTimer>

namespace {

const QDate kMonthAgo = QDate::currentDate().addDays(-30);

// A shown window over Alien (id 1), Brazil (2) and Casino (3).
struct LoansWindowHarness : ShownForm1 {
    LoansWindowHarness() : ShownForm1({"Alien", "Brazil", "Casino"}) {}
    LoanCommands& loans() { return *form->findChild<LoanCommands*>(); }
    LoanStore store() { return LoanStore(movies); }
    // Lends as the person does: Lend…, a borrower, the dialog's due date
    // unless `fill` changes it, Lend.
    void lendTo(const QString& borrower, std::function<void(LendDialog&)> fill = {}) {
        QTimer::singleShot(0, form.get(), [this, borrower, fill] {
            auto* dialog = form->findChild<LendDialog*>();
            ASSERT_NE(dialog, nullptr);
            dialog->borrower().setText(borrower);
            if (fill) {
                fill(*dialog);
            }
            dialog->accept();
        });
        loans().lend();
    }
    // Answers the next "which copy" question with the entry containing `text`.
    void pickNext(const QString& text) {
        QTimer::singleShot(0, form.get(), [this, text] {
            auto* dialog = form->findChild<QInputDialog*>();
            ASSERT_NE(dialog, nullptr);
            auto* choice = dialog->findChild<QComboBox*>();
            choice->setCurrentIndex(choice->findText(text, Qt::MatchContains));
            dialog->accept();
        });
    }
};

TEST(LoansWindowTest, ThreeTickedMoviesLentAMonthAgoAreOverdueAtTheNextStart) {
    LoansWindowHarness h;
    h.loans().setClock([] { return kMonthAgo; });
    for (int row = 0; row < 3; ++row) {
        h.list().items().setTicked(row, true);
    }
    h.lendTo(QStringLiteral("Sam"));
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_EQ(h.store().loans().size(), 3U);

    h.loans().setClock({});
    h.loans().start();
    // The check waits for the window's events to be handled first.
    EXPECT_FALSE(h.loans().notice().isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(h.loans().notice().isVisible());
    EXPECT_EQ(h.loans().notice().text(), QStringLiteral("3 loans overdue"));
    // It follows the window when the window is placed or moved.
    h.form->move(h.form->pos() + QPoint(40, 30));
    EXPECT_EQ(h.loans().notice().x(), h.form->frameGeometry().left());
    QTest::mouseClick(&h.loans().notice(), Qt::LeftButton);
    ASSERT_NE(h.loans().loansWindow(), nullptr);
    EXPECT_EQ(h.loans().loansWindow()->table().rowCount(), 3);
    EXPECT_FALSE(h.loans().notice().isVisible());
}

TEST(LoansWindowTest, ReturnAndARefusedLendEachLeaveTheLoansRight) {
    struct Case {
        const char* name;
        bool giveBack;
        int openLoans; // after the second step
        int boxes;
    };
    for (const Case& c : {Case{"return", true, 0, 0}, Case{"lend again", false, 1, 1}}) {
        SCOPED_TRACE(c.name);
        LoansWindowHarness h;
        h.select(QStringLiteral("Brazil"));
        h.lendTo(QStringLiteral("Sam"));
        if (c.giveBack) {
            h.loans().giveBack();
        } else {
            h.lendTo(QStringLiteral("Kim"));
        }
        const std::vector<Loan> open = h.store().loans();
        EXPECT_EQ(int(open.size()), c.openLoans);
        EXPECT_EQ(h.boxes.count(), c.boxes);
        if (!open.empty()) {
            EXPECT_EQ(open.front().borrower, QStringLiteral("Sam"));
            EXPECT_TRUE(h.boxes.last().text.contains(QStringLiteral("Brazil")));
        }
        EXPECT_EQ(h.store().onLoan().contains(2), !c.giveBack);
    }
}

TEST(LoansWindowTest, DeletingAMovieOnLoanAsksFirstAndNoKeepsItAndItsLoans) {
    struct Case {
        const char* title;
        Answer onLoan; // the answer to the loans' question, when asked
        int boxes;
        bool kept;
        size_t openLoans;
    };
    // Brazil is lent to Sam; Alien is not lent.
    for (const Case& c :
         {Case{"Alien", Answer::No, 1, false, 1}, Case{"Brazil", Answer::No, 2, true, 1},
          Case{"Brazil", Answer::Yes, 2, false, 0}}) {
        SCOPED_TRACE(c.title);
        LoansWindowHarness h;
        h.select(QStringLiteral("Brazil"));
        h.lendTo(QStringLiteral("Sam"));
        h.boxes.clear();
        h.select(QString::fromUtf8(c.title));
        h.boxes.answer(Answer::Yes); // the window's own question
        h.boxes.answer(c.onLoan);
        h.click(Button::DeleteSelectedMovie);
        ASSERT_EQ(h.boxes.count(), c.boxes);
        EXPECT_TRUE(h.boxes.last().text.contains(c.boxes == 2 ? "lent to Sam" : "delete"));
        EXPECT_EQ(h.rowOf(QString::fromUtf8(c.title)) >= 0, c.kept);
        EXPECT_EQ(h.store().loans().size(), c.openLoans);
    }
}

TEST(LoansWindowTest, FindWordsTellLentBorrowedAndOverdueApart) {
    LoansWindowHarness h;
    LoanStore loans = h.store();
    const QDate out(2000, 1, 1);
    // Alien is lent and long overdue, Brazil borrowed (from a name holding
    // "out"), Casino lent and back.
    loans.lend({1, 0, QStringLiteral("Sam"), LoanDirection::Lent, out, out.addDays(14), {}});
    loans.lend({2, 0, QStringLiteral("Kim Stout"), LoanDirection::Borrowed, out, {}, {}});
    loans.lend({3, 0, QStringLiteral("Sam"), LoanDirection::Lent, out, {}, {}});
    loans.giveBack(3, 0, out.addDays(2));
    listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);

    const std::pair<const char*, QStringList> cases[] = {
        {"loan:ou", {"Alien", "Brazil"}},
        {"loan:out", {"Alien"}},
        {"loan:stout", {"Brazil"}},
        {"loan:borrowed", {"Brazil"}},
        {"loan:overdue", {"Alien"}},
        {"-loan:out", {"Brazil", "Casino"}},
        {"loan:out OR loan:borrowed", {"Alien", "Brazil"}},
    };
    for (const auto& [text, titles] : cases) {
        h.list().items().setFilterText(QString::fromUtf8(text));
        EXPECT_EQ(h.column(MovieColumn::Title), titles) << text;
    }
    // The words are found, never shown.
    MovieListModel& items = h.list().items();
    items.setFilterText({});
    for (int extra = 0; extra < items.extraFieldCount(); ++extra) {
        items.showExtraColumn(extra, true);
    }
    QStringList brazil;
    for (int column = items.headerCount(); column < items.columnCount(); ++column) {
        brazil << items
                      .data(items.index(h.rowOf(QStringLiteral("Brazil")), column), Qt::DisplayRole)
                      .toString();
    }
    EXPECT_TRUE(brazil.contains(QStringLiteral("from Kim Stout")))
        << brazil.join(QLatin1Char('|')).toStdString();
}

TEST(LoansWindowTest, TheDueDateRunsTheStoredLengthAndTheNextOneRunsAsLongAsTheLast) {
    const QDate today(2000, 1, 1);
    for (const auto& [stored, offered] : {std::pair{"", 21}, {"10", 10}, {"no number", 21}}) {
        SCOPED_TRACE(stored);
        LoansWindowHarness h;
        h.loans().setClock([today] { return today; });
        if (*stored != '\0') {
            h.settings.values[QStringLiteral("Loans/DefaultDays")] = QString::fromUtf8(stored);
        }
        h.select(QStringLiteral("Alien"));
        QDate shown;
        h.lendTo(QStringLiteral("Sam"), [&](LendDialog& dialog) {
            shown = dialog.due().date();
            dialog.due().setDate(today.addDays(5));
        });
        EXPECT_EQ(shown, today.addDays(offered));
        EXPECT_EQ(h.store().loans().front().due, today.addDays(5));
        EXPECT_EQ(h.settings.values.value(QStringLiteral("Loans/DefaultDays")), "5");
    }
}

TEST(LoansWindowTest, APickedCopyIsTheOneLentAndReturnAsksWhichComesBack) {
    LoansWindowHarness h;
    ShelfStore shelf(h.movies);
    ShelfCopy copy;
    copy.movieId = 3; // Casino, on DVD and Blu-ray
    const qint64 dvd = shelf.addCopy(copy);
    copy.format = CopyFormat::BluRay;
    const qint64 bluRay = shelf.addCopy(copy);
    h.list().items().setTicked(h.rowOf(QStringLiteral("Alien")), true);
    h.list().items().setTicked(h.rowOf(QStringLiteral("Casino")), true);
    h.lendTo(QStringLiteral("Sam"), [&](LendDialog& dialog) {
        EXPECT_EQ(dialog.copyOf(1), nullptr);
        ASSERT_NE(dialog.copyOf(3), nullptr);
        dialog.copyOf(3)->setCurrentIndex(dialog.copyOf(3)->findData(bluRay));
    });
    EXPECT_EQ(h.boxes.count(), 0);
    LoanFilter casino;
    casino.movieId = 3;
    ASSERT_EQ(h.store().loans(casino).size(), 1U);
    EXPECT_EQ(h.store().loans(casino).front().copyId, bluRay);

    h.store().lend({3, dvd, QStringLiteral("Kim"), LoanDirection::Lent, {}, {}, {}});
    h.select(QStringLiteral("Casino"));
    h.pickNext(QStringLiteral("Kim"));
    h.loans().giveBack();
    EXPECT_EQ(h.boxes.count(), 0);
    ASSERT_EQ(h.store().loans(casino).size(), 1U);
    EXPECT_EQ(h.store().loans(casino).front().borrower, QStringLiteral("Sam"));
}

TEST(LoansWindowTest, LoansShowsTheHistoryOfTheHighlightedMovieOrOfABorrower) {
    LoansWindowHarness h;
    h.select(QStringLiteral("Brazil"));
    h.lendTo(QStringLiteral("Sam"));
    h.loans().giveBack();
    h.select(QStringLiteral("Alien"));
    h.lendTo(QStringLiteral("Sam"));
    h.select(QStringLiteral("Brazil"));
    h.loans().openLoans();
    ASSERT_NE(h.loans().loansWindow(), nullptr);
    LoansWindow& window = *h.loans().loansWindow();
    const std::pair<const char*, QStringList> cases[] = {
        {"Open loans", {"Alien"}},
        {"History of Brazil", {"Brazil"}},
        {"History of Sam", {"Alien", "Brazil"}},
    };
    for (const auto& [shown, titles] : cases) {
        SCOPED_TRACE(shown);
        window.shown().setCurrentIndex(window.shown().findText(QString::fromUtf8(shown)));
        QStringList listed;
        for (int row = 0; row < window.table().rowCount(); ++row) {
            listed << window.table().item(row, 0)->text();
        }
        EXPECT_EQ(listed, titles);
    }
    // Brazil's loan is listed with the day it came back.
    EXPECT_FALSE(window.table().item(1, 6)->text().isEmpty());
    EXPECT_FALSE(window.table().isColumnHidden(6));
}

TEST(LoansWindowTest, NoNoticeWithoutOverdueLoans) {
    LoansWindowHarness h;
    h.loans().start(); // no loans' tables yet
    h.select(QStringLiteral("Alien"));
    h.lendTo(QStringLiteral("Sam")); // due in three weeks
    h.loans().start();
    QCoreApplication::processEvents();
    EXPECT_FALSE(h.loans().notice().isVisible());
    EXPECT_EQ(h.store().loans().size(), 1U);
}

} // namespace
