// The loans of copies: lending, giving back, refusals, the dates and what
// the list shows, on a scratch catalogue with a clock the tests set.
#include "core/catalogue/catalogue.h"
#include "core/loans/loan_calendar.h"
#include "core/loans/loan_store.h"
#include "core/report/failure.h"
#include "core/shelf/shelf_store.h"
#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/salvage.h"
#include "core/sqlite/sqlite_statement.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <gtest/gtest.h>

namespace {

class LoanTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addTitles(file, {"Blade Runner", "Alien", "Solaris"});
        catalogue.open(file);
    }
    LendRequest request(qint64 movieId, const QString& borrower, QDate due = {}) {
        LendRequest lend;
        lend.movieId = movieId;
        lend.borrower = borrower;
        lend.due = due;
        return lend;
    }
    QString refusal(const std::function<void()>& action) {
        try {
            action();
        } catch (const Failure& failure) {
            return failure.description();
        }
        return QStringLiteral("(not refused)");
    }

    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    Catalogue catalogue;
    QDate today{2026, 12, 7};
    LoanStore loans{catalogue, [this] { return today; }};
    ShelfStore shelf{catalogue};
};

TEST_F(LoanTest, ALendMakesTheOnlyCopyItNeedsAndAReturnKeepsTheHistory) {
    EXPECT_TRUE(loans.loans().empty());
    EXPECT_FALSE(loans.hasTables()) << "reading makes no table";
    loans.lend(request(1, "Sam", {2026, 12, 14}));
    loans.lend(request(2, "  sam ")); // the same borrower, whatever its case
    ASSERT_EQ(shelf.copies(1).size(), 1U);
    EXPECT_EQ(shelf.copies(1).front().format, CopyFormat::Other);
    EXPECT_EQ(loans.borrowers().size(), 1U);
    const std::vector<Loan> open = loans.loans();
    ASSERT_EQ(open.size(), 2U);
    EXPECT_EQ(open[0].title, "Blade Runner"); // due first, none last
    EXPECT_EQ(open[0].out, today);

    today = today.addDays(3);
    const Loan back = loans.giveBack(1);
    EXPECT_EQ(back.returned, today);
    EXPECT_EQ(loans.loans().size(), 1U);
    ASSERT_EQ(loans.history(1).size(), 1U);
    EXPECT_FALSE(loans.history(1).front().isOpen());
    // The same copy goes out again; the first loan stays as history.
    loans.lend(request(1, "Ann"));
    EXPECT_EQ(loans.history(1).size(), 2U);
}

TEST_F(LoanTest, WhatCannotBeDoneIsRefusedWithAReasonAndChangesNothing) {
    loans.lend(request(1, "Sam"));
    ShelfCopy copy;
    copy.movieId = 2;
    const qint64 dvd = shelf.addCopy(copy);
    shelf.addCopy(copy);
    LendRequest early = request(3, "Sam", today.addDays(-1));
    LendRequest otherMovie = request(3, "Sam");
    otherMovie.copyId = dvd;
    const struct {
        std::function<void()> action;
        QString message;
    } cases[] = {
        {[&] { loans.lend(request(1, "Ann")); },
         "The copy 1 of Blade Runner is already out (lent to Sam since 2026-12-07)."},
        {[&] { loans.giveBack(3); }, "Solaris is not out."},
        {[&] { loans.lend(early); }, "The due date 2026-12-06 is before the date out 2026-12-07."},
        {[&] { loans.lend(request(2, "Sam")); },
         "Alien has 2 copies; say which one (copy ids 2, 3)."},
        {[&] { loans.lend(otherMovie); }, "The copy 2 is not a copy of the movie 3."},
        {[&] { loans.lend(request(9, "Sam")); }, "There is no movie with the id 9."},
        {[&] { loans.giveBack(1, 0, today.addDays(-1)); },
         "The return date 2026-12-06 is before the date out 2026-12-07."},
    };
    const QByteArray before = TempCatalogue::fileBytes(file);
    for (const auto& refused : cases) {
        EXPECT_EQ(refusal(refused.action), refused.message);
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

TEST_F(LoanTest, ASecondProgramLendingTheSameCopyIsRefused) {
    loans.lend(request(1, "Sam")); // makes the copy
    loans.giveBack(1);
    Catalogue other;
    other.open(file);
    LoanStore otherLoans(other, [this] { return today; });
    otherLoans.lend(request(1, "Ann"));
    EXPECT_EQ(refusal([&] { loans.lend(request(1, "Sam")); }),
              "The copy 1 of Blade Runner is already out (lent to Ann since 2026-12-07).");
    EXPECT_EQ(loans.loans().size(), 1U);
}

TEST_F(LoanTest, OverdueIsCountedInWholeDaysAndTheListSaysWhatIsOut) {
    LendRequest borrowed = request(3, "Jo", {2026, 12, 1});
    borrowed.direction = LoanDirection::Borrowed;
    borrowed.out = {2026, 11, 20};
    loans.lend(request(1, "Sam", {2026, 12, 14}));
    loans.lend(request(2, "Ann", {2027, 1, 2}));
    loans.lend(borrowed);
    const struct {
        QDate today;
        QStringList texts; // of movies 1, 2, 3
        int overdue;
    } days[] = {
        {{2026, 12, 7}, {"Sam, due 14 Dec", "Ann, due 2 Jan 2027", "overdue 6 days"}, 1},
        {{2026, 12, 15}, {"overdue 1 day", "Ann, due 2 Jan 2027", "overdue 14 days"}, 2},
        {{2027, 1, 2}, {"overdue 19 days", "Ann, due 2 Jan", "overdue 32 days"}, 2},
    };
    for (const auto& day : days) {
        today = day.today;
        const QHash<qint64, MovieOnLoan> out = loans.onLoan();
        EXPECT_EQ((QStringList{out[1].text, out[2].text, out[3].text}), day.texts)
            << qPrintable(day.today.toString(Qt::ISODate));
        LoanFilter overdue;
        overdue.overdueOnly = true;
        EXPECT_EQ(int(loans.loans(overdue).size()), day.overdue)
            << qPrintable(day.today.toString(Qt::ISODate));
    }
    EXPECT_TRUE(loans.onLoan()[3].borrowed && loans.onLoan()[3].overdue);
    EXPECT_FALSE(loans.onLoan()[2].borrowed);
    EXPECT_EQ(loans.onLoan()[2].borrowers, QStringList{"Ann"});
    loans.giveBack(3);
    EXPECT_FALSE(loans.onLoan().contains(3));
}

TEST_F(LoanTest, LoansGoWithTheirCopyOrMovieAndTheCheckSeesStrayOnes) {
    loans.lend(request(1, "Sam"));
    loans.lend(request(2, "Sam"));
    ASSERT_TRUE(shelf.removeCopy(shelf.copies(1).front().id));
    ASSERT_TRUE(catalogue.remove(QStringLiteral("2")));
    EXPECT_TRUE(loans.loans().empty());
    loans.lend(request(3, "Sam"));
    EXPECT_TRUE(checkCatalogue(file, CheckDepth::Quick).clean());
    catalogue.close();
    TempCatalogue::exec(file, "drop trigger loan_follows_copy; delete from shelf_copy");
    EXPECT_EQ(checkCatalogue(file, CheckDepth::Quick).cautions,
              QStringList{"The loans hold 1 loan(s) of copies that are gone."});
}

TEST_F(LoanTest, ASalvageCarriesTheLoansWithTheirTriggers) {
    loans.lend(request(1, "Sam"));
    const SqliteDatabase source(file, SqliteDatabase::Access::ReadOnly);
    const SqliteDatabase target(QString(), SqliteDatabase::Access::Memory);
    EXPECT_EQ(salvageRows(source, &target).others, 3); // copy, borrower, loan
    target.execute("delete from dvd where id = 1");
    SqliteStatement left(target, "select count(*) from loan");
    ASSERT_TRUE(left.step());
    EXPECT_EQ(left.integer(0), 0);
}

TEST_F(LoanTest, TheCalendarHasADatedToDoWithAnAlarmPerLoan) {
    loans.lend(request(1, "Sam", {2026, 12, 14}));
    loans.lend(request(2, "Ann"));
    const QString text =
        QString::fromUtf8(loanCalendar(loans.loans(), QDateTime({2026, 12, 7}, {10, 0}, Qt::UTC)));
    EXPECT_EQ(text.count("BEGIN:VTODO"), 2);
    EXPECT_EQ(text.count("BEGIN:VALARM"), 1);
    EXPECT_TRUE(text.contains("DUE;VALUE=DATE:20261214\r\n"));
    EXPECT_TRUE(text.contains("SUMMARY:Get Blade Runner (other) back from Sam\r\n"));
    EXPECT_TRUE(text.contains("TRIGGER;RELATED=END:PT9H\r\n"));
}

} // namespace
