// reelkeeper-cli return ID: a copy that was out is back.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/loans/loan_store.h"
#include "core/report/failure.h"
#include "core/shelf/shelf_store.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString kCommand = QStringLiteral("return");
const QCommandLineOption kCopy(QStringLiteral("copy"),
                               QStringLiteral("The copy that is back, when several are out."),
                               QStringLiteral("COPYID"));
const QCommandLineOption kOn(QStringLiteral("on"),
                             QStringLiteral("The date it came back, YYYY-MM-DD (today when not "
                                            "given)."),
                             QStringLiteral("DATE"));

class ReturnCommand : public Command {
public:
    QString name() const override { return kCommand; }
    QString description() const override {
        return QStringLiteral("Mark the loan of movie ID returned; the loan stays in its "
                              "history.");
    }
    QList<QCommandLineOption> options() const override { return {kCopy, kOn}; }
    QStringList arguments() const override { return {QStringLiteral("ID")}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override {
        qint64 movieId = 0;
        qint64 copyId = 0;
        QDate on;
        try {
            movieId = shelfId(parser.positionalArguments().constFirst(), QStringLiteral("movie"));
            if (parser.isSet(kCopy)) {
                copyId = shelfId(parser.value(kCopy), QStringLiteral("copy"));
            }
            if (parser.isSet(kOn)) {
                on = LoanNames::date(parser.value(kOn));
            }
        } catch (const Failure& failure) {
            return context.notUnderstood(kCommand, failure.description());
        }
        Catalogue catalogue;
        context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
        const Loan loan = LoanStore(catalogue).giveBack(movieId, copyId, on);
        QTextStream(&context.out) << QStringLiteral("Copy %1 of %2 returned on %3.\n")
                                         .arg(QString::number(loan.copyId), loan.title,
                                              loan.returned.toString(Qt::ISODate));
        return Cli::kExitDone;
    }
};

const CommandRegistration<ReturnCommand> kRegistration;

} // namespace
