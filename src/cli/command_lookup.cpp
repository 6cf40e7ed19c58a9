// reelkeeper-cli lookup: the films an open film database offers for a
// title, best match first, as CSV. It never opens the catalogue.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/formats/csv_writer.h"
#include "core/lookup/candidate_ranking.h"
#include "core/lookup/lookup_sources.h"
#include "core/report/failure.h"
#include "core/settings/config.h"
#include "core/settings/settings.h"

#include <QCommandLineParser>
#include <QEventLoop>
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
QString sourceNames() {
    return LookupSources::names().join(QStringLiteral(", "));
}

const QCommandLineOption
    kSourceOption(QStringLiteral("source"),
                  QStringLiteral("Where to look: %1; the first is the default.").arg(sourceNames()),
                  QStringLiteral("name"));
const QString kNoFilm = QStringLiteral("No film found for %1.");

class LookupCommand : public Command {
public:
    QString name() const override { return QStringLiteral("lookup"); }
    QString description() const override {
        return QStringLiteral("Print the films a film database has for a title as CSV, best "
                              "match first.");
    }
    QList<QCommandLineOption> options() const override {
        return {kYearOption, kDirectorOption, kSourceOption};
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

// The search's candidates, once the reply is finished; a failure is thrown.
// An answer from the response cache is said so on `err`.
QList<LookupCandidate> search(LookupSource& source, const WantedFilm& wanted, QTextStream& err) {
    LookupReply* reply = source.search(wanted.title, wanted.year);
    QEventLoop loop;
    QObject::connect(reply, &LookupReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    if (reply->failure()) {
        throw Failure(*reply->failure());
    }
    if (reply->fromCache()) {
        err << QStringLiteral("reelkeeper-cli: ") << reply->source() << QStringLiteral(": ")
            << reply->cacheNote() << '\n';
    }
    return reply->candidates();
}

int LookupCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const auto [wanted, problem] = wantedFilm(parser);
    if (!problem.isEmpty()) {
        return context.notUnderstood(name(), problem);
    }
    IniSettings store;
    const Config settings(store);
    const QString sourceName =
        parser.isSet(kSourceOption) ? parser.value(kSourceOption) : LookupSources::chosen(settings);
    const std::unique_ptr<LookupSource> source = LookupSources::make(sourceName, &settings);
    if (!source) {
        return context.notUnderstood(
            name(), QStringLiteral("there is no film database '%1'.").arg(sourceName));
    }
    const QList<LookupCandidate> ranked =
        CandidateRanking::rank(search(*source, wanted, context.err), wanted);
    if (ranked.isEmpty()) {
        QString film = QStringLiteral("\"%1\"").arg(wanted.title);
        if (wanted.year) {
            film += QStringLiteral(" (%1)").arg(*wanted.year);
        }
        context.err << QStringLiteral("reelkeeper-cli: ") << kNoFilm.arg(film) << '\n';
        return Cli::kExitFailed;
    }

    CsvWriter csv(context.out);
    for (const char16_t* header :
         {u"rank", u"score", u"source", u"source_id", u"title", u"year", u"director"}) {
        csv.field(QStringView(header));
    }
    csv.endRecord();
    int rank = 0;
    for (const LookupCandidate& candidate : ranked) {
        csv.field(QString::number(++rank));
        csv.field(QString::number(qRound(candidate.score)));
        csv.field(candidate.source);
        csv.field(candidate.sourceId);
        csv.field(candidate.title);
        csv.field(candidate.year);
        csv.field(candidate.director);
        csv.endRecord();
    }
    csv.flush();
    return Cli::kExitDone;
}

} // namespace
