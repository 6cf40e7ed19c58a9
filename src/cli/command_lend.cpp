// reelkeeper-cli lend ID --to NAME: lend a copy of a movie (or record one as
// borrowed).
#include "cli/cli.h"
#include "cli/command.h"
#include "core/loans/loan_store.h"
#include "core/report/failure.h"
#include "core/shelf/shelf_store.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString kCommand = QStringLiteral("lend");
const QCommandLineOption kTo(QStringLiteral("to"),
                             QStringLiteral("Who has it (who lent it, with --borrowed)."),
                             QStringLiteral("NAME"));
const QCommandLineOption kCopy(QStringLiteral("copy"),
                               QStringLiteral("The copy to lend, for a movie with several."),
                               QStringLiteral("COPYID"));
const QCommandLineOption kOut(QStringLiteral("out"),
                              QStringLiteral("The date it went out, YYYY-MM-DD (today when not "
                                             "given)."),
                              QStringLiteral("DATE"));
const QCommandLineOption kDue(QStringLiteral("due"),
                              QStringLiteral("The date it is due back, YYYY-MM-DD."),
                              QStringLiteral("DATE"));
const QCommandLineOption
    kBorrowed(QStringLiteral("borrowed"),
              QStringLiteral("You borrowed it from NAME rather than lent it."));
const QCommandLineOption kNote(QStringLiteral("note"), QStringLiteral("A note on the loan."),
                               QStringLiteral("TEXT"));

class LendCommand : public Command {
public:
    QString name() const override { return kCommand; }
    QString description() const override {
        return QStringLiteral("Lend a copy of movie ID to NAME, or record it as borrowed from "
                              "NAME.");
    }
    QString details() const override {
        return QStringLiteral("A movie with no copy gets one (of the format other) when it is "
                              "first lent; a movie with several copies needs --copy.");
    }
    QList<QCommandLineOption> options() const override {
        return {kTo, kCopy, kOut, kDue, kBorrowed, kNote};
    }
    QStringList arguments() const override { return {QStringLiteral("ID")}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<LendCommand> kRegistration;

int LendCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    LendRequest request;
    try {
        request.movieId =
            shelfId(parser.positionalArguments().constFirst(), QStringLiteral("movie"));
        if (!parser.isSet(kTo)) {
            throw Failure(QStringLiteral("lend needs --to NAME."));
        }
        request.borrower = parser.value(kTo);
        if (parser.isSet(kCopy)) {
            request.copyId = shelfId(parser.value(kCopy), QStringLiteral("copy"));
        }
        if (parser.isSet(kOut)) {
            request.out = LoanNames::date(parser.value(kOut));
        }
        if (parser.isSet(kDue)) {
            request.due = LoanNames::date(parser.value(kDue));
        }
    } catch (const Failure& failure) {
        return context.notUnderstood(kCommand, failure.description());
    }
    request.direction = parser.isSet(kBorrowed) ? LoanDirection::Borrowed : LoanDirection::Lent;
    request.note = parser.value(kNote);

    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    LoanStore loans(catalogue);
    const qint64 id = loans.lend(request);
    for (const Loan& loan : loans.history(request.movieId)) {
        if (loan.id == id) {
            QTextStream out(&context.out);
            out << (loan.direction == LoanDirection::Lent
                        ? QStringLiteral("Lent copy %1 of %2 to %3")
                        : QStringLiteral("Borrowed copy %1 of %2 from %3"))
                       .arg(QString::number(loan.copyId), loan.title, loan.borrower);
            if (loan.due.isValid()) {
                out << QStringLiteral(", due ") << loan.due.toString(Qt::ISODate);
            }
            out << ".\n";
        }
    }
    return Cli::kExitDone;
}

} // namespace
