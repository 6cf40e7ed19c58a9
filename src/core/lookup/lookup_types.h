#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/report/failure.h"

#include <QList>
#include <QString>

// One film a source offers for a search: enough to tell the films apart in
// a list and to fetch the chosen one by its id at that source.
struct LookupCandidate {
    QString source;   // the source's name, "Wikidata"
    QString sourceId; // the film's id at that source, "Q132689"
    QString title;
    QString year;
    QString director;
    // Higher is a better match; candidates come sorted by it, best first.
    double score = 0;
    // A small image of the film's poster, where the source has one: its
    // path at the source, then the full address once the image host is
    // known. The address carries no credentials.
    QString posterPath{};
    QString thumbnailUrl{};
};

// A film as a source describes it: the catalogue's eight fields (as the
// catalogue writes them: names joined by ", ", runtime as h:mm; no id, as
// it is no stored movie) plus the ids that tie it to the film databases.
struct LookupMovie : DvdRecord {
    QString source;
    QString sourceId;
    QString imdbId; // "tt0034583"
    QString tmdbId; // "289"
    // The poster, where the source has one: its path at the source
    // ("/5K7cOHoay2mZusSLezBOY0Qxh8a.jpg") and the full address of a
    // mid-sized image. The address carries no credentials.
    QString posterPath;
    QString posterUrl;
};

// Why a lookup failed; the description names the source ("Wikidata: ...").
class LookupFailure : public Failure {
public:
    LookupFailure(const QString& source, const QString& message)
        : Failure(source + QStringLiteral(": ") + message) {}
};

// A running time in minutes as the catalogue writes it: 102 -> "1:42";
// nothing for no time at all.
QString runtimeText(int minutes);

// An IMDb title id: "tt" and seven or more digits.
bool isImdbId(const QString& id);
