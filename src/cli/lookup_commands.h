#pragma once

#include "core/lookup/candidate_ranking.h"
#include "core/lookup/lookup_source.h"

#include <QCommandLineOption>
#include <QList>
#include <memory>

class QCommandLineParser;
class QIODevice;

// What the commands on the film databases share (lookup, fill).
namespace LookupCommands {

inline const QString kNoFilm = QStringLiteral("No film found for %1.");

// --source NAME, naming the film databases there are.
const QCommandLineOption& sourceOption();
// The film database --source names, else the one the settings choose; none
// for a name that is no film database.
std::unique_ptr<LookupSource> source(const QCommandLineParser& parser);
// What a command says of a --source that names no film database.
QString unknownSource(const QCommandLineParser& parser);
// Runs the event loop until the reply is finished; throws its failure.
void wait(LookupReply* reply);
// A wanted film as the messages name it: "Casablanca" (1942).
QString filmName(const WantedFilm& wanted);
// Ranked candidates as CSV, best first, with the header
// rank,score,source,source_id,title,year,director.
void writeCandidates(QIODevice& out, const QList<LookupCandidate>& ranked);

} // namespace LookupCommands
