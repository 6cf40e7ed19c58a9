#include "core/lookup/candidate_ranking.h"

#include "core/find/fold.h"

#include <QRegularExpression>
#include <algorithm>

namespace CandidateRanking {

namespace {

// The articles a title may start with, in the languages films are most
// often catalogued in (Greek among them); they are not part of what is
// compared. "l" is the elided French and Italian one ("L'avventura").
const QStringList kArticles = {QStringLiteral("the"), QStringLiteral("a"),   QStringLiteral("an"),
                               QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"),
                               QStringLiteral("le"),  QStringLiteral("la"),  QStringLiteral("les"),
                               QStringLiteral("el"),  QStringLiteral("il"),  QStringLiteral("l"),
                               QStringLiteral("ο"),   QStringLiteral("η"),   QStringLiteral("το"),
                               QStringLiteral("οι"),  QStringLiteral("τα")};

// Roman numerals from II to XX, as sequels and kings are numbered; a title
// may write them in digits ("Rocky 2" for "Rocky II").
const QStringList kNumerals = {
    QStringLiteral("ii"),    QStringLiteral("iii"), QStringLiteral("iv"),   QStringLiteral("v"),
    QStringLiteral("vi"),    QStringLiteral("vii"), QStringLiteral("viii"), QStringLiteral("ix"),
    QStringLiteral("x"),     QStringLiteral("xi"),  QStringLiteral("xii"),  QStringLiteral("xiii"),
    QStringLiteral("xiv"),   QStringLiteral("xv"),  QStringLiteral("xvi"),  QStringLiteral("xvii"),
    QStringLiteral("xviii"), QStringLiteral("xix"), QStringLiteral("xx")};

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

// The wanted title, its main title and its subtitle, compared.
struct WantedTitle {
    QString full;
    QString main;
    QString subtitle; // empty when it has none
};

QString mainTitleOf(const QString& title) {
    return comparableTitle(title.section(kSubtitleMark, 0, 0));
}

QString subtitleOf(const QString& title) {
    const qsizetype mark = title.indexOf(kSubtitleMark);
    return mark < 0 ? QString() : comparableTitle(title.section(kSubtitleMark, 1));
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
    // A film known by its subtitle alone counts the same: "First Blood" for
    // "Rambo - First Blood".
    if (mainTitleOf(candidate) == wanted.full || comparable == wanted.main ||
        subtitleOf(candidate) == wanted.full || comparable == wanted.subtitle) {
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

// A name as it is compared: compatibility forms made plain ("³" is "3",
// full-width digits are digits), folded, punctuation made spaces, and
// digits apart from letters ("Alien³" as "alien 3").
QString comparableName(QStringView name) {
    const QString text = Find::fold(name.toString().normalized(QString::NormalizationForm_KC));
    QString spaced;
    spaced.reserve(text.size() + 8);
    QChar previous;
    for (const QChar c : text) {
        if (!c.isLetterOrNumber()) {
            spaced += QLatin1Char(' ');
        } else {
            if ((c.isDigit() && previous.isLetter()) || (c.isLetter() && previous.isDigit())) {
                spaced += QLatin1Char(' ');
            }
            spaced += c;
        }
        previous = c;
    }
    return spaced.simplified();
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
    // "&" reads as "and": "Fast & Furious" is "Fast and Furious".
    QString text = title.toString();
    text.replace(QLatin1Char('&'), QLatin1String(" and "));
    QStringList words = comparableName(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() > 1 && kArticles.contains(words.constFirst())) {
        words.removeFirst();
    }
    // A numeral after the first word is a number ("Henry V", "Part II"); a
    // first word is left alone ("V for Vendetta", "X").
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (const qsizetype numeral = kNumerals.indexOf(words.at(i)); numeral >= 0) {
            words[i] = QString::number(numeral + 2);
        }
    }
    return words.join(QLatin1Char(' '));
}

QList<LookupCandidate> rank(QList<LookupCandidate> candidates, const WantedFilm& wanted) {
    const WantedTitle title{comparableTitle(wanted.title), mainTitleOf(wanted.title),
                            subtitleOf(wanted.title)};
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
