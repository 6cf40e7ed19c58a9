#include "core/lookup/candidate_ranking.h"

#include <gtest/gtest.h>

namespace {

LookupCandidate film(const char* id, const char* title, const char* year, const char* director) {
    return {QStringLiteral("Wikidata"), id, QString::fromUtf8(title), year, director, 0};
}

TEST(CandidateRanking, TheRightFilmComesFirst) {
    struct Case {
        const char* what;
        WantedFilm wanted;
        QList<LookupCandidate> candidates; // in the source's order
        const char* first;
        bool clear;
    };
    const Case cases[] = {
        {"a remake, by its year",
         {"Psycho", 1998, {}},
         {film("Q1", "Psycho", "1960", "Alfred Hitchcock"), film("Q2", "Psycho II", "1983", ""),
          film("Q3", "Psycho", "1998", "Gus Van Sant")},
         "Q3",
         true},
        {"the original, a year off",
         {"Psycho", 1961, {}},
         {film("Q3", "Psycho", "1998", "Gus Van Sant"), film("Q2", "Psycho II", "1983", ""),
          film("Q1", "Psycho", "1960", "Alfred Hitchcock")},
         "Q1",
         false},
        {"one year, one title, told apart by the director's last name",
         {"Hamlet", 2000, "almereyda"},
         {film("Q4", "Hamlet", "2000", "Campbell Scott, Eric Simonson"),
          film("Q5", "Hamlet", "2000", "Michael Almereyda"), film("Q6", "Hamlet", "1996", "")},
         "Q5",
         false},
        {"an exact title before a longer one, whatever the year",
         {"Alien", 1986, {}},
         {film("Q7", "Alien: Covenant", "2017", ""), film("Q8", "Aliens", "1986", ""),
          film("Q9", "Alien", "1979", "Ridley Scott")},
         "Q9",
         true},
        {"a leading article left out",
         {"Godfather", {}, {}},
         {film("Q10", "Godfather of Harlem", "2019", ""),
          film("Q11", "The Godfather", "1972", "Francis Ford Coppola")},
         "Q11",
         true},
        {"an article and the year",
         {"LA HAINE", 1995, {}},
         {film("Q12", "Haine", "1980", "Dominique Goult"),
          film("Q13", "La Haine", "1995", "Mathieu Kassovitz")},
         "Q13",
         true},
        {"a subtitle the source leaves out",
         {"Mad Max 2: The Road Warrior", 1981, {}},
         {film("Q14", "Mad Max", "1979", ""), film("Q15", "Mad Max 2", "1981", "George Miller")},
         "Q15",
         true},
        {"a subtitle, exactly",
         {"The Lord of the Rings - The Two Towers", {}, {}},
         {film("Q16", "The Lord of the Rings", "1978", ""),
          film("Q17", "The Lord of the Rings: The Two Towers", "2002", "")},
         "Q17",
         true},
        {"accents, case and punctuation",
         {"amelie", 2001, {}},
         {film("Q18", "Amelia", "2009", ""), film("Q19", "Amélie", "2001", ""),
          film("Q20", "Amélie!", "2001", "")},
         "Q19",
         false},
        {"a German article and a sharp s",
         {"Die Strasse", {}, {}},
         {film("Q21", "Straßenkinder", "1929", ""), film("Q22", "Die Straße", "1923", "")},
         "Q22",
         true},
    };
    for (const Case& test : cases) {
        const QList<LookupCandidate> ranked = CandidateRanking::rank(test.candidates, test.wanted);
        ASSERT_EQ(ranked.size(), test.candidates.size()) << test.what;
        EXPECT_EQ(ranked.constFirst().sourceId, QString::fromLatin1(test.first)) << test.what;
        EXPECT_EQ(CandidateRanking::isClear(ranked), test.clear) << test.what;
        for (qsizetype i = 1; i < ranked.size(); ++i) {
            EXPECT_LE(ranked[i].score, ranked[i - 1].score) << test.what;
            EXPECT_GE(ranked[i].score, 0) << test.what;
        }
    }
}

TEST(CandidateRanking, AFullMatchScoresAHundredAndNothingIsNotClear) {
    const QList<LookupCandidate> ranked = CandidateRanking::rank(
        {film("Q9", "Alien", "1979", "Ridley Scott")}, {"The Alien", 1979, "Scott"});
    EXPECT_EQ(ranked.constFirst().score, 100);
    EXPECT_TRUE(CandidateRanking::isClear(ranked));
    EXPECT_FALSE(CandidateRanking::isClear({}));
    EXPECT_FALSE(CandidateRanking::isClear(
        CandidateRanking::rank({film("Q1", "Other", "1950", "")}, {"Alien", 1979, {}})));
}

} // namespace
