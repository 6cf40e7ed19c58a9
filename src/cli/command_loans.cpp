// reelkeeper-cli loans: the loans as CSV, or the open ones as an iCalendar
// file of due dates.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/formats/csv_writer.h"
#include "core/loans/loan_calendar.h"
#include "core/loans/loan_store.h"

#include <QCommandLineParser>

namespace {

const QString kCommand = QStringLiteral("loans");
const QCommandLineOption kOverdue(QStringLiteral("overdue"),
                                  QStringLiteral("Only the open loans past their due date."));
const QCommandLineOption kBorrower(QStringLiteral("borrower"),
                                   QStringLiteral("Only the loans of NAME (any case)."),
                                   QStringLiteral("NAME"));
const QCommandLineOption kAll(QStringLiteral("all"),
                              QStringLiteral("Returned loans too, not only the open ones."));
const QCommandLineOption kIcs(QStringLiteral("ics"),
                              QStringLiteral("Write the open loans to FILE as iCalendar to-dos "
                                             "due on their due dates, each with an alarm that "
                                             "day, instead of printing them."),
                              QStringLiteral("FILE"));
// The columns of the list, one row per loan.
const QStringList kHeader = {
    QStringLiteral("movie_id"), QStringLiteral("title"),    QStringLiteral("copy_id"),
    QStringLiteral("format"),   QStringLiteral("borrower"), QStringLiteral("direction"),
    QStringLiteral("out"),      QStringLiteral("due"),      QStringLiteral("returned")};

void writeList(const std::vector<Loan>& loans, QIODevice& out) {
    CsvWriter csv(out);
    for (const QString& column : kHeader) {
        csv.field(column);
    }
    csv.endRecord();
    for (const Loan& loan : loans) {
        const QString fields[] = {QString::number(loan.movieId),
                                  loan.title,
                                  QString::number(loan.copyId),
                                  ShelfNames::name(loan.format),
                                  loan.borrower,
                                  LoanNames::name(loan.direction),
                                  loan.out.toString(Qt::ISODate),
                                  loan.due.toString(Qt::ISODate),
                                  loan.returned.toString(Qt::ISODate)};
        for (const QString& field : fields) {
            csv.field(field);
        }
        csv.endRecord();
    }
    csv.flush();
}

class LoansCommand : public Command {
public:
    QString name() const override { return kCommand; }
    QString description() const override {
        return QStringLiteral("Print the open loans as CSV, by due date, the overdue first.");
    }
    QString details() const override {
        return QStringLiteral("A borrowed movie is overdue when the date to give it back has "
                              "passed. Exits with 0 whether or not there are loans.");
    }
    QList<QCommandLineOption> options() const override { return {kOverdue, kBorrower, kAll, kIcs}; }
    QStringList fileKinds() const override { return {QStringLiteral("ics")}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override {
        if (parser.isSet(kIcs) && parser.isSet(kAll)) {
            return context.notUnderstood(
                kCommand,
                QStringLiteral("loans --ics writes the open loans only; it takes no --all."));
        }
        LoanFilter filter;
        filter.openOnly = !parser.isSet(kAll);
        filter.overdueOnly = parser.isSet(kOverdue);
        filter.borrower = parser.value(kBorrower);
        Catalogue catalogue;
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        const std::vector<Loan> loans = LoanStore(catalogue).loans(filter);
        if (parser.isSet(kIcs)) {
            writeLoanCalendar(loans, QDateTime::currentDateTimeUtc(), parser.value(kIcs));
        } else {
            writeList(loans, context.out);
        }
        return Cli::kExitDone;
    }
};

const CommandRegistration<LoansCommand> kRegistration;

} // namespace
