#include "core/lookup/candidate_ranking.h"

#include "core/find/fold.h"

#include <QRegularExpression>
#include <algorithm>

namespace CandidateRanking {

namespace {

// The articles a title may start with, in the languages films are most
// often catalogued in; they are not part of what is compared.
const QStringList kArticles = {QStringLiteral("the"), QStringLiteral("a"),   QStringLiteral("an"),
                               QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"),
                               QStringLiteral("le"),  QStringLiteral("la"),  QStringLiteral("les"),
                               QStringLiteral("el"),  QStringLiteral("il")};

// What ends a main title before its subtitle: a colon, or a dash between blanks.
const QRegularExpression kSubtitleMark(QStringLiteral(":|\\s[-\u2013\u2014]\\s"));

// Whether `words` holds `part` as whole words.
bool containsWords(const QString& words, const QString& part) {
    if (part.isEmpty()) {
        return false;
    }
    const QString space = QStringLiteral(" ");
    return (space + words + space).contains(space + part + space);
}

// The wanted title and its main title, compared.
struct WantedTitle {
    QString full;
    QString main;
};

QString mainTitleOf(const QString& title) {
    return comparableTitle(title.section(kSubtitleMark, 0, 0));
}

int titlePoints(const QString& candidate, const WantedTitle& wanted) {
    const QString comparable = comparableTitle(candidate);
    if (comparable.isEmpty() || wanted.full.isEmpty()) {
        return 0;
    }
    if (comparable == wanted.full) {
        return 3 * kTitleStep;
    }
    // "Alien: Covenant" for "Alien", or "Mad Max 2" for "Mad Max 2 - The
    // Road Warrior": one side's main title is the other side's title.
    if (mainTitleOf(candidate) == wanted.full || comparable == wanted.main) {
        return 2 * kTitleStep;
    }
    if (containsWords(comparable, wanted.full) || containsWords(wanted.full, comparable)) {
        return kTitleStep;
    }
    return 0;
}

int yearPoints(const QString& candidate, std::optional<int> wanted) {
    bool number = false;
    const int year = candidate.trimmed().left(4).toInt(&number);
    if (!wanted || !number) {
        return 0;
    }
    const int off = std::abs(year - *wanted);
    return off == 0 ? kYearExact : off == 1 ? kYearOneOff : 0;
}

// A name as it is compared: folded, punctuation made spaces.
QString comparableName(QStringView name) {
    QString text = Find::fold(name);
    for (QChar& c : text) {
        if (!c.isLetterOrNumber()) {
            c = QLatin1Char(' ');
        }
    }
    return text.simplified();
}

// Whether one of the candidate's directors ("Joel Coen, Ethan Coen") is the
// one wanted, in full or by the last name.
int directorPoints(const QString& candidate, const QString& wanted) {
    const QString name = comparableName(wanted);
    if (name.isEmpty()) {
        return 0;
    }
    for (const QString& director : candidate.split(QLatin1Char(','))) {
        const QString other = comparableName(director);
        if (other == name || containsWords(other, name) || containsWords(name, other)) {
            return kDirector;
        }
    }
    return 0;
}

} // namespace

QString comparableTitle(QStringView title) {
    QStringList words = comparableName(title).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() > 1 && kArticles.contains(words.constFirst())) {
        words.removeFirst();
    }
    return words.join(QLatin1Char(' '));
}

QList<LookupCandidate> rank(QList<LookupCandidate> candidates, const WantedFilm& wanted) {
    const WantedTitle title{comparableTitle(wanted.title), mainTitleOf(wanted.title)};
    for (LookupCandidate& candidate : candidates) {
        const int points = titlePoints(candidate.title, title);
        candidate.score = points + yearPoints(candidate.year, wanted.year) +
                          directorPoints(candidate.director, wanted.director);
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const LookupCandidate& a, const LookupCandidate& b) { return a.score > b.score; });
    return candidates;
}

bool isClear(const QList<LookupCandidate>& ranked) {
    if (ranked.isEmpty()) {
        return false;
    }
    const double second = ranked.size() > 1 ? ranked.at(1).score : 0;
    return ranked.constFirst().score - second >= kClearMargin;
}

} // namespace CandidateRanking
