#pragma once

#include "core/lookup/lookup_types.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The film a person is after: a title, and when known its year and director.
struct WantedFilm {
    QString title;
    std::optional<int> year;
    QString director; // empty when not known
};

namespace CandidateRanking {

// Points of a candidate's score (0 to 100), chosen so that the order is
// strictly by title first, then by year, then by director: the title's
// steps are each worth more than the best year and director together, and
// an exact year more than a year one off plus the director.
inline constexpr int kTitleStep = 26; // exact 78, main title 52, words within 26
inline constexpr int kYearExact = 16;
inline constexpr int kYearOneOff = 8;
inline constexpr int kDirector = 6;
// The best candidate is clear when it is ahead of the second by at least a
// whole year's points: a better title or the exact year against another
// year. A matching director, or a year one off, alone is not enough, as
// the databases often differ on co-directors and on release years.
inline constexpr int kClearMargin = kYearExact;

// A title as it is compared: folded as the find bar folds (case and
// accents), punctuation made spaces, one leading article dropped.
// "The Lord of the Rings: The Two Towers" -> "lord of the rings the two towers".
QString comparableTitle(QStringView title);

// The candidates with their score set, best first; equal scores keep the
// source's order.
QList<LookupCandidate> rank(QList<LookupCandidate> candidates, const WantedFilm& wanted);

// Whether the first of ranked candidates is well ahead of the second (or the
// only one and matching at all): one the program may take without asking.
bool isClear(const QList<LookupCandidate>& ranked);

} // namespace CandidateRanking
