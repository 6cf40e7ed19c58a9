// reelkeeper-cli lookup: the films an open film database offers for a
// title, best match first, as CSV. It never opens the catalogue.
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/lookup_commands.h"
#include "core/lookup/candidate_ranking.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <memory>
#include <utility>

namespace {

const QCommandLineOption kYearOption(QStringLiteral("year"),
                                     QStringLiteral("The film's year; one a year off also fits."),
                                     QStringLiteral("year"));
const QCommandLineOption
    kDirectorOption(QStringLiteral("director"),
                    QStringLiteral("The film's director, to tell films apart."),
                    QStringLiteral("name"));

class LookupCommand : public Command {
public:
    QString name() const override { return QStringLiteral("lookup"); }
    QString description() const override {
        return QStringLiteral("Print the films a film database has for a title as CSV, best "
                              "match first.");
    }
    QList<QCommandLineOption> options() const override {
        return {kYearOption, kDirectorOption, LookupCommands::sourceOption()};
    }
    QStringList arguments() const override { return {QStringLiteral("TITLE")}; }
    QString details() const override {
        return QStringLiteral(
            "The columns are rank,score,source,source_id,title,year,director; the score\n"
            "(0 to 100) rates the title first, then the year, then the director.\n"
            "Status 1 when no film is found or the database cannot be reached.");
    }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<LookupCommand> kRegistration;

// The wanted film as the command line gives it, or the reason it is not understood.
std::pair<WantedFilm, QString> wantedFilm(const QCommandLineParser& parser) {
    WantedFilm wanted{parser.positionalArguments().constFirst().trimmed(), {}, {}};
    if (wanted.title.isEmpty()) {
        return {wanted, QStringLiteral("lookup needs a title.")};
    }
    if (parser.isSet(kYearOption)) {
        bool number = false;
        const int year = parser.value(kYearOption).toInt(&number);
        if (!number || year < 1 || year > 9999) {
            return {wanted, QStringLiteral("'%1' is not a year.").arg(parser.value(kYearOption))};
        }
        wanted.year = year;
    }
    wanted.director = parser.value(kDirectorOption).trimmed();
    return {wanted, {}};
}

int LookupCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const auto [wanted, problem] = wantedFilm(parser);
    if (!problem.isEmpty()) {
        return context.notUnderstood(name(), problem);
    }
    const std::unique_ptr<LookupSource> source = LookupCommands::source(parser);
    if (!source) {
        return context.notUnderstood(name(), LookupCommands::unknownSource(parser));
    }
    LookupReply* reply = source->search(wanted.title, wanted.year);
    LookupCommands::wait(reply);
    const QList<LookupCandidate> ranked = CandidateRanking::rank(reply->candidates(), wanted);
    if (ranked.isEmpty()) {
        context.err << QStringLiteral("reelkeeper-cli: ")
                    << LookupCommands::kNoFilm.arg(LookupCommands::filmName(wanted)) << '\n';
        return Cli::kExitFailed;
    }
    LookupCommands::writeCandidates(context.out, ranked);
    return Cli::kExitDone;
}

} // namespace
