// Loans on the main window: lending through the dialog, giving back, and
// the notice of overdue loans, over a scratch catalogue.
#include "core/loans/loan_store.h"
#include "mainwindow/loans/lend_dialog.h"
#include "mainwindow/loans/loan_commands.h"
#include "mainwindow/loans/loan_notice.h"
#include "support/main_window_driver.h"

#include <QCoreApplication>
#include <QTableWidget>
#include <QTimer>

namespace {

const QDate kMonthAgo = QDate::currentDate().addDays(-30);

// A shown window over Alien (id 1), Brazil (2) and Casino (3).
struct LoansWindowHarness : ShownForm1 {
    LoansWindowHarness() : ShownForm1({"Alien", "Brazil", "Casino"}) {}
    LoanCommands& loans() { return *form->findChild<LoanCommands*>(); }
    LoanStore store() { return LoanStore(movies); }
    // Lends as the person does: Lend…, a borrower, the dialog's due date, Lend.
    void lendTo(const QString& borrower) {
        QTimer::singleShot(0, form.get(), [this, borrower] {
            auto* dialog = form->findChild<LendDialog*>();
            ASSERT_NE(dialog, nullptr);
            dialog->borrower().setText(borrower);
            dialog->accept();
        });
        loans().lend();
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
