// reelkeeper-cli fill: fills a movie's empty fields, or those of every
// movie, from a film database. A field that holds text is changed only
// when asked to overwrite.
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/cover_from_bytes.h"
#include "cli/lookup_commands.h"
#include "core/covers/cover_store.h"
#include "core/lookup/empty_field_fill.h"
#include "core/lookup/movie_fill.h"
#include "core/lookup/poster_request.h"
#include "core/report/failure.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTextStream>
#include <unistd.h>

namespace {

const QString kUsage = QStringLiteral("ID | --empty");
const QCommandLineOption kCandidateOption(
    QStringLiteral("candidate"),
    QStringLiteral("Fill from this candidate (1 is the best match), clear or not."),
    QStringLiteral("N"));
const QCommandLineOption
    kOverwriteOption(QStringLiteral("overwrite"),
                     QStringLiteral("Replace fields that hold text too (movie ID only)."));
const QCommandLineOption kNoCoverOption(QStringLiteral("no-cover"),
                                        QStringLiteral("Do not store the poster as the cover."));
const QCommandLineOption kEmptyOption(QStringLiteral("empty"),
                                      QStringLiteral("Fill every movie that has empty fields."));

const QString kUnclear =
    QStringLiteral("The best match for %1 is not clear; choose one with --candidate N:");
const QString kNoCandidate = QStringLiteral("There is no candidate %1 for %2.");
const QString kFilled = QStringLiteral("Movie %1 filled from %2 %3: %4.");
const QString kNothingFilled = QStringLiteral("Movie %1 linked to %2 %3; no field was empty.");
const QString kCoverToo = QStringLiteral("the cover");
const QString kPoster = QStringLiteral("%1's poster");
const QString kProgress = QStringLiteral("\rFilling movies: %1 of %2");
const QString kLeftAlone = QStringLiteral("Movie %1 (%2): %3");
const QString kWithoutMatch = QStringLiteral("without a match");
const QString kUnclearMatch = QStringLiteral("unclear");
const QString kSummary = QStringLiteral("%1 filled, %2 without a match, %3 unclear");
const QString kSkipped = QStringLiteral(", %1 skipped (linked already or no field empty)");
const QString kStopped = QStringLiteral("Stopped after %1 of %2 movies: %3");

class FillCommand : public Command {
public:
    QString name() const override { return QStringLiteral("fill"); }
    QString description() const override {
        return QStringLiteral("Fill a movie's empty fields, or every movie's, from a film "
                              "database.");
    }
    QList<QCommandLineOption> options() const override {
        return {LookupCommands::sourceOption(), kCandidateOption, kOverwriteOption, kNoCoverOption,
                kEmptyOption};
    }
    QString freeArguments() const override { return kUsage; }
    QString details() const override {
        return QStringLiteral(
            "The movie is searched for by its title and year and ranked with its\n"
            "director; it is filled from the best match when that is clear, else the\n"
            "candidates go to standard error as CSV (as 'lookup' prints them) and\n"
            "nothing changes. The poster becomes the cover of a movie without one.\n"
            "With --empty, movies already filled from a film database are skipped;\n"
            "those without a clear match are left alone and listed.\n"
            "Status 1 when the match is unclear or the film database fails.");
    }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;

private:
    int fillOne(const QCommandLineParser& parser, CommandContext& context, qint64 id,
                int candidate) const;
    int fillEmpty(const QCommandLineParser& parser, CommandContext& context) const;
};

const CommandRegistration<FillCommand> kRegistration;

std::optional<int> yearOf(const QString& year) {
    bool number = false;
    const int value = year.trimmed().toInt(&number);
    return number && value > 0 && value <= 9999 ? std::optional<int>(value) : std::nullopt;
}

bool onTerminal(const QTextStream& stream) {
    const auto* file = qobject_cast<const QFile*>(stream.device());
    return file != nullptr && file->handle() >= 0 && isatty(file->handle()) == 1;
}

int FillCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QStringList arguments = parser.positionalArguments();
    const bool empty = parser.isSet(kEmptyOption);
    if (empty ? !arguments.isEmpty() : arguments.size() != 1) {
        return context.notUnderstood(name(), QStringLiteral("fill takes one of: %1.").arg(kUsage));
    }
    if (empty && (parser.isSet(kCandidateOption) || parser.isSet(kOverwriteOption))) {
        return context.notUnderstood(
            name(), QStringLiteral("--candidate and --overwrite fill one movie, not --empty."));
    }
    int candidate = 0;
    if (parser.isSet(kCandidateOption)) {
        bool number = false;
        candidate = parser.value(kCandidateOption).toInt(&number);
        if (!number || candidate < 1) {
            return context.notUnderstood(name(), QStringLiteral("'%1' is not a candidate number.")
                                                     .arg(parser.value(kCandidateOption)));
        }
    }
    qint64 id = 0;
    if (!empty) {
        try {
            id = coverId(arguments.constFirst());
        } catch (const Failure& failure) {
            return context.notUnderstood(name(), failure.description());
        }
    }
    return empty ? fillEmpty(parser, context) : fillOne(parser, context, id, candidate);
}

int FillCommand::fillOne(const QCommandLineParser& parser, CommandContext& context, qint64 id,
                         int candidate) const {
    const std::unique_ptr<LookupSource> source = LookupCommands::source(parser);
    if (!source) {
        return context.notUnderstood(name(), LookupCommands::unknownSource(parser));
    }
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    const std::optional<DvdRecord> movie = catalogue.movie(QString::number(id));
    if (!movie) {
        throw Failure(kNoSuchMovie.arg(id));
    }
    const WantedFilm wanted{movie->title.trimmed(), yearOf(movie->year), movie->director.trimmed()};
    LookupReply* search = source->search(wanted.title, wanted.year);
    LookupCommands::wait(search);
    const QList<LookupCandidate> ranked = CandidateRanking::rank(search->candidates(), wanted);
    const QString film = LookupCommands::filmName(wanted);
    if (ranked.isEmpty()) {
        throw Failure(LookupCommands::kNoFilm.arg(film));
    }
    if (candidate > ranked.size()) {
        throw Failure(kNoCandidate.arg(candidate).arg(film));
    }
    if (candidate == 0 && !CandidateRanking::isClear(ranked)) {
        context.err << QStringLiteral("reelkeeper-cli: ") << kUnclear.arg(film) << '\n';
        context.err.flush();
        LookupCommands::writeCandidates(*context.err.device(), ranked);
        return Cli::kExitFailed;
    }

    LookupReply* fetch = source->fetch(ranked.at(std::max(candidate, 1) - 1).sourceId);
    LookupCommands::wait(fetch);
    const LookupMovie& found = *fetch->movie();
    std::optional<Cover> cover;
    if (!parser.isSet(kNoCoverOption) && !found.posterUrl.isEmpty() &&
        !CoverStore(catalogue).has(id)) {
        QNetworkAccessManager network;
        PosterReply* poster =
            PosterRequest::get(network, {}, QUrl(found.posterUrl), source->name(), &network);
        LookupCommands::wait(poster);
        cover = coverFromBytes(poster->bytes(), kPoster.arg(source->name()));
    }
    const FillChange change =
        MovieFill(catalogue).fill(id, found, parser.isSet(kOverwriteOption), cover);

    QStringList what;
    for (const int field : change.fields) {
        what << kDvdColumns.at(field);
    }
    if (change.cover) {
        what << kCoverToo;
    }
    QTextStream out(&context.out);
    out << (what.isEmpty() ? kNothingFilled.arg(id).arg(found.source, found.sourceId)
                           : kFilled.arg(id).arg(found.source, found.sourceId,
                                                 what.join(QStringLiteral(", "))))
        << '\n';
    return Cli::kExitDone;
}

int FillCommand::fillEmpty(const QCommandLineParser& parser, CommandContext& context) const {
    const std::unique_ptr<LookupSource> source = LookupCommands::source(parser);
    if (!source) {
        return context.notUnderstood(name(), LookupCommands::unknownSource(parser));
    }
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    QList<qint64> ids;
    catalogue.forEachMovie([&ids](const DvdRecord& movie) {
        if (MovieFill::hasEmptyField(movie)) {
            ids.append(movie.id.toLongLong());
        }
    });

    EmptyFieldFill::Options options;
    options.cover = !parser.isSet(kNoCoverOption);
    EmptyFieldFill batch(catalogue, *source, options);
    const QString sourceName = source->name();
    batch.setPosterToCover([sourceName](const QByteArray& bytes) {
        return coverFromBytes(bytes, kPoster.arg(sourceName));
    });
    const bool terminal = onTerminal(context.err);
    if (terminal) {
        QObject::connect(&batch, &EmptyFieldFill::progress, &batch,
                         [&context](int done, int total) {
                             context.err << kProgress.arg(done).arg(total);
                             context.err.flush();
                         });
    }
    QEventLoop loop;
    QObject::connect(&batch, &EmptyFieldFill::finished, &loop, &QEventLoop::quit);
    batch.start(ids);
    loop.exec();
    if (terminal && batch.total() > 0) {
        context.err << '\n';
    }

    QTextStream out(&context.out);
    for (const EmptyFieldFill::LeftAlone& movie : batch.leftAlone()) {
        out << kLeftAlone.arg(movie.id).arg(movie.title, movie.why == EmptyFieldFill::Left::Unclear
                                                             ? kUnclearMatch
                                                             : kWithoutMatch)
            << '\n';
    }
    out << kSummary.arg(batch.filled())
               .arg(batch.count(EmptyFieldFill::Left::NoMatch))
               .arg(batch.count(EmptyFieldFill::Left::Unclear));
    if (batch.skipped() > 0) {
        out << kSkipped.arg(batch.skipped());
    }
    out << '\n';
    out.flush();
    if (batch.failure()) {
        throw Failure(
            kStopped.arg(batch.done()).arg(batch.total()).arg(batch.failure()->description()));
    }
    return Cli::kExitDone;
}

} // namespace
