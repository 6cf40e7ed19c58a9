#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

namespace {

TEST_F(LookupTest, WikidataFetchGivesTheCataloguesFields) {
    server.route("/w/api.php", "ids=Q132689&", {fixture("casablanca_entity.json")});
    server.route("/w/api.php", "action=wbgetentities", {fixture("casablanca_labels.json")});
    WikidataSource source(limits, "en");
    LookupReply* reply = source.fetch("Q132689");
    waitFor(reply);
    ASSERT_TRUE(reply->movie()) << failureOf(*reply).toStdString();

    const LookupMovie& movie = *reply->movie();
    EXPECT_EQ(movie.title, "Casablanca");
    EXPECT_EQ(movie.year, "1942"); // the earliest release, a deprecated one left out
    EXPECT_EQ(movie.genre, "drama film, romance film, war film");
    // The first eight cast members with a value, in statement order.
    EXPECT_EQ(movie.cast, "Humphrey Bogart, Ingrid Bergman, Paul Henreid, Claude Rains, "
                          "Conrad Veidt, Sydney Greenstreet, Peter Lorre, S. Z. Sakall");
    EXPECT_EQ(movie.director, "Michael Curtiz");
    EXPECT_EQ(movie.runtime, "1:42");
    EXPECT_EQ(movie.rating, "PG");
    EXPECT_EQ(movie.studio, "Warner Bros.");
    EXPECT_EQ(movie.imdbId, "tt0034583");
    EXPECT_EQ(movie.tmdbId, "289");

    // The film, then every label in one request; each names the program.
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(server.requests()[1].query.contains("ids=Q130232|Q1054574|Q369747|Q16390"));
    for (const StandInRequest& request : server.requests())
        EXPECT_EQ(request.headers.value("user-agent"),
                  "Reelkeeper/" REELKEEPER_VERSION " (https://www.tarnwick.example/contact/)");
}

TEST_F(LookupTest, WikidataSearchOffersFilmsOnlyWithinAYearOfTheOneGiven) {
    server.route("/sparql", "mwapi:search \"Casablanca\"", {fixture("casablanca_search.json")});
    WikidataSource source(limits, "de");
    auto found = [&](std::optional<int> year) {
        LookupReply* reply = source.search("Casablanca", year);
        waitFor(reply);
        EXPECT_EQ(failureOf(*reply), QString());
        QStringList ids;
        for (const LookupCandidate& candidate : reply->candidates())
            ids << candidate.sourceId;
        return std::pair(ids, reply->candidates());
    };

    // Exact titles first; a place and a series of the same name never.
    const auto [in1942, candidates] = found(1942);
    EXPECT_EQ(in1942, (QStringList{"Q132689", "Q90000002", "Q90000001"}));
    EXPECT_EQ(found(1945).first, QStringList{"Q90000004"});
    EXPECT_EQ(found(std::nullopt).first,
              (QStringList{"Q132689", "Q90000002", "Q90000004", "Q90000005", "Q90000001"}));
    ASSERT_FALSE(candidates.isEmpty());
    EXPECT_EQ(candidates[0].source, "Wikidata");
    EXPECT_EQ(candidates[0].title, "Casablanca");
    EXPECT_EQ(candidates[0].year, "1942");
    EXPECT_EQ(candidates[0].director, "Michael Curtiz");

    // Labels and aliases in the person's language, then in English.
    const QString query = server.requests().first().query;
    EXPECT_TRUE(query.contains("mwapi:language \"de\"") && query.contains("mwapi:language \"en\""));
    EXPECT_TRUE(query.contains("wikibase:language \"de,en\""));
}

TEST_F(LookupTest, WikidataFindsAFilmByItsImdbId) {
    server.route("/sparql", "wdt:P345 \"tt0034583\"", {fixture("casablanca_imdb.json")});
    WikidataSource source(limits, "en");
    LookupReply* reply = source.findByImdbId("tt0034583");
    waitFor(reply);
    ASSERT_EQ(reply->candidates().size(), 1) << failureOf(*reply).toStdString();
    EXPECT_EQ(reply->candidates()[0].sourceId, "Q132689");
}

TEST_F(LookupTest, TitlesReachTheQueryAsText) {
    WikidataSource source(limits, "en");
    LookupReply* reply = source.search("Romeo + \"Juliet\" \\", std::nullopt);
    waitFor(reply);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests()[0].query.contains(R"(mwapi:search "Romeo + \"Juliet\" \\")"));
}

} // namespace
