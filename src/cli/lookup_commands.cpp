#include "cli/lookup_commands.h"

#include "core/formats/csv_writer.h"
#include "core/lookup/lookup_sources.h"
#include "core/report/failure.h"
#include "core/settings/config.h"
#include "core/settings/settings.h"

#include <QCommandLineParser>
#include <QEventLoop>

namespace LookupCommands {

const QCommandLineOption& sourceOption() {
    static const QCommandLineOption option(
        QStringLiteral("source"),
        QStringLiteral("Where to look: %1; the first is the default.")
            .arg(LookupSources::names().join(QStringLiteral(", "))),
        QStringLiteral("name"));
    return option;
}

std::unique_ptr<LookupSource> source(const QCommandLineParser& parser) {
    IniSettings store;
    const Config settings(store);
    const QString name = parser.isSet(sourceOption()) ? parser.value(sourceOption())
                                                      : LookupSources::chosen(settings);
    return LookupSources::make(name, &settings);
}

QString unknownSource(const QCommandLineParser& parser) {
    return QStringLiteral("there is no film database '%1'.").arg(parser.value(sourceOption()));
}

void wait(LookupReply* reply) {
    QEventLoop loop;
    QObject::connect(reply, &LookupReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    if (reply->failure()) {
        throw Failure(*reply->failure());
    }
}

QString filmName(const WantedFilm& wanted) {
    QString film = QStringLiteral("\"%1\"").arg(wanted.title);
    if (wanted.year) {
        film += QStringLiteral(" (%1)").arg(*wanted.year);
    }
    return film;
}

void writeCandidates(QIODevice& out, const QList<LookupCandidate>& ranked) {
    CsvWriter csv(out);
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
}

} // namespace LookupCommands
