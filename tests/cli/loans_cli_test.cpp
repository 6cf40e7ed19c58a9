// reelkeeper-cli lend, return and loans on a real catalogue file. Every date
// is given, far from today, so no case depends on the day it runs.
#include "cli/cli_fixture.h"
#include "support/qt_printers.h"

#include <QFile>

namespace {

class LoansCliTest : public CliTest {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addTitles(file, {"Blade Runner", "Alien", "Solaris"});
    }
    int run(const QStringList& arguments) { return runOn(file, arguments); }

    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

TEST_F(LoansCliTest, LendsListsWritesTheCalendarAndTakesBack) {
    ASSERT_EQ(run({"lend", "1", "--to", "Sam", "--out", "2026-12-01", "--due", "2999-01-01"}),
              Cli::kExitDone)
        << qPrintable(errText());
    EXPECT_EQ(outText(), "Lent copy 1 of Blade Runner to Sam, due 2999-01-01.\n");
    ASSERT_EQ(run({"lend", "2", "--to", "Ann", "--out", "2000-01-01", "--due", "2000-01-10",
                   "--borrowed"}),
              Cli::kExitDone);
    const QString header = "movie_id,title,copy_id,format,borrower,direction,out,due,returned\r\n";
    const QString ann = "2,Alien,2,other,Ann,borrowed,2000-01-01,2000-01-10,\r\n";
    const QString sam = "1,Blade Runner,1,other,Sam,lent,2026-12-01,2999-01-01,";
    const struct {
        QStringList arguments;
        QString csv;
    } lists[] = {
        {{"loans"}, header + ann + sam + "\r\n"},
        {{"loans", "--overdue"}, header + ann},
        {{"loans", "--borrower", "SAM"}, header + sam + "\r\n"},
        {{"loans", "--borrower", "Jo"}, header},
    };
    for (const auto& list : lists) {
        EXPECT_EQ(run(list.arguments), Cli::kExitDone);
        EXPECT_EQ(outText(), list.csv) << qPrintable(list.arguments.join(' '));
    }

    const QString ics = dirs.root() + QStringLiteral("/loans.ics");
    ASSERT_EQ(run({"loans", "--ics", ics}), Cli::kExitDone) << qPrintable(errText());
    QFile calendar(ics);
    ASSERT_TRUE(calendar.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(calendar.readAll());
    EXPECT_EQ(text.count("BEGIN:VTODO"), 2);
    EXPECT_EQ(text.count("BEGIN:VALARM"), 2);
    EXPECT_TRUE(text.contains("DUE;VALUE=DATE:20000110\r\n"));
    EXPECT_TRUE(text.contains("DUE;VALUE=DATE:29990101\r\n"));

    ASSERT_EQ(run({"return", "1", "--on", "2026-12-05"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "Copy 1 of Blade Runner returned on 2026-12-05.\n");
    EXPECT_EQ(run({"loans"}), Cli::kExitDone);
    EXPECT_EQ(outText(), header + ann);
    EXPECT_EQ(run({"loans", "--all"}), Cli::kExitDone);
    EXPECT_EQ(outText(), header + ann + sam + "2026-12-05\r\n");
}

TEST_F(LoansCliTest, RefusesWhatItCannotDoAndChangesNothing) {
    ASSERT_EQ(run({"lend", "1", "--to", "Sam", "--out", "2026-12-01"}), Cli::kExitDone);
    const QByteArray before = TempCatalogue::fileBytes(file);
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{"lend", "2"}, Cli::kExitNotUnderstood, "lend needs --to NAME."},
        {{"lend", "x", "--to", "Sam"}, Cli::kExitNotUnderstood, "'x' is not a movie id."},
        {{"lend", "2", "--to", "Sam", "--due", "2026-13-01"},
         Cli::kExitNotUnderstood,
         "'2026-13-01' is not a date (YYYY-MM-DD)."},
        {{"lend", "1", "--to", "Ann"},
         Cli::kExitFailed,
         "The copy 1 of Blade Runner is already out"},
        {{"lend", "2", "--to", "Ann", "--out", "2026-12-02", "--due", "2026-12-01"},
         Cli::kExitFailed,
         "The due date 2026-12-01 is before the date out 2026-12-02."},
        {{"return", "3"}, Cli::kExitFailed, "Solaris is not out."},
        {{"return", "1", "--on", "2026-11-30"}, Cli::kExitFailed, "is before the date out"},
        {{"loans", "--all", "--ics", "x.ics"}, Cli::kExitNotUnderstood, "it takes no --all."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << qPrintable(c.arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(errText().contains(QLatin1String(c.message))) << qPrintable(errText());
        EXPECT_TRUE(outText().isEmpty()) << qPrintable(c.arguments.join(QLatin1Char(' ')));
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

} // namespace
