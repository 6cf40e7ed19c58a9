#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

#include <QDir>
#include <functional>

namespace {

StandInResponse answer(int status, QByteArray body = "{}", QByteArray type = "application/json",
                       QList<std::pair<QByteArray, QByteArray>> headers = {}) {
    return {status, std::move(type), std::move(body), std::move(headers), false};
}

TEST_F(LookupTest, EveryFailureNamesTheSourceAndSaysWhatWentWrong) {
    const StandInResponse film = fixture("casablanca_imdb.json");
    StandInResponse silent;
    silent.neverAnswer = true;
    const QByteArray tooLarge(limits.maxBytes + 1, ' ');
    const std::pair<QByteArray, QByteArray> soon{"Retry-After", "1"};
    using Run = std::function<LookupReply*(WikidataSource&)>;
    const Run search = [](WikidataSource& source) { return source.search("Casablanca", {}); };
    const Run fetch = [](WikidataSource& source) { return source.fetch("Q999999999"); };
    struct Case {
        const char* what;
        QList<StandInResponse> answers;
        QString failure; // empty: the lookup succeeds
        qsizetype requests;
        Run run;
    };
    const Case cases[] = {
        {"not found",
         {answer(404, "gone", "text/plain")},
         "Wikidata: nothing found at http://127.0.0.1",
         1,
         search},
        {"busy, then an answer", {answer(503, "", "text/plain", {soon}), film}, "", 2, search},
        {"too many requests",
         {answer(429, "", "text/plain", {soon})},
         "Wikidata: too many requests; try again later (HTTP 429)",
         3,
         search},
        {"server failing",
         {answer(500, "", "text/plain")},
         "Wikidata: the service is unavailable (HTTP 500)",
         3,
         search},
        {"a web page",
         {answer(200, "<!DOCTYPE html><html></html>", "text/html")},
         "Wikidata: the server sent a web page instead of data",
         1,
         search},
        {"truncated",
         {answer(200, film.body.left(film.body.size() / 2))},
         "Wikidata: the answer is not valid JSON",
         1,
         search},
        {"another shape",
         {answer(200, R"({"boolean": true})")},
         "Wikidata: the answer does not have the expected form",
         1,
         search},
        {"too large",
         {answer(200, tooLarge)},
         "Wikidata: the answer is larger than 5 MB",
         1,
         search},
        {"no answer", {silent}, "Wikidata: no answer within 0.5 seconds", 1, search},
        {"refused by the API",
         {answer(
             200,
             R"({"error": {"code": "no-such-entity", "info": "Could not find an entity with the ID \"Q999999999\"."}})")},
         "Wikidata: the service refused the request: Could not find an entity with the ID "
         "\"Q999999999\".",
         1,
         fetch},
        {"missing item",
         {answer(
             200,
             R"({"entities": {"Q999999999": {"id": "Q999999999", "missing": ""}}, "success": 1})")},
         "Wikidata: there is no item Q999999999",
         1,
         fetch},
        {"not an item id",
         {},
         "Wikidata: \"Casablanca\" is not a Wikidata item id",
         0,
         [](WikidataSource& source) { return source.fetch("Casablanca"); }},
        {"not an IMDb id",
         {},
         "Wikidata: \"0034583\" is not an IMDb id",
         0,
         [](WikidataSource& source) { return source.findByImdbId("0034583"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInHttpServer server;
        server.route("/sparql", "", c.answers);
        server.route("/w/api.php", "", c.answers);
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", server.address("/sparql").toEncoded());
        qputenv("REELKEEPER_WIKIDATA_API_URL", server.address("/w/api.php").toEncoded());
        const ScratchLookupCache cache; // no case answers from another's
        WikidataSource source(limits, "en");
        LookupReply* reply = c.run(source);
        waitFor(reply);
        if (c.failure.isEmpty()) {
            EXPECT_EQ(failureOf(*reply), QString());
        } else {
            EXPECT_TRUE(failureOf(*reply).startsWith(c.failure)) << failureOf(*reply).toStdString();
            EXPECT_TRUE(QDir(cache.folder()).isEmpty()); // a failure keeps nothing
        }
        EXPECT_EQ(server.requests().size(), c.requests);
    }
}

TEST_F(LookupTest, OnlyHttpsLeavesThisMachine) {
    struct Case {
        QByteArray address;
        QString failure;
    };
    const Case cases[] = {
        {"http://query.example.org/sparql",
         "Wikidata: refusing http://query.example.org/sparql: only HTTPS addresses are allowed"},
        {"ftp://127.0.0.1/sparql",
         "Wikidata: refusing ftp://127.0.0.1/sparql: only HTTPS addresses are allowed"},
        {"http://127.0.0.1:1/sparql", "Wikidata: cannot connect to 127.0.0.1"},
        // The reserved top-level domain no name server knows.
        {"https://query.reelkeeper.invalid/sparql",
         "Wikidata: cannot find the server query.reelkeeper.invalid (is the computer offline?)"},
        // The stand-in speaks plain HTTP only.
        {server.address("/sparql").toString().replace("http:", "https:").toLatin1(),
         "Wikidata: the secure connection to 127.0.0.1 failed: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.constData());
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", c.address);
        WikidataSource source(limits, "en");
        LookupReply* reply = source.search("Casablanca", {});
        waitFor(reply);
        EXPECT_TRUE(failureOf(*reply).startsWith(c.failure)) << failureOf(*reply).toStdString();
        EXPECT_TRUE(server.requests().isEmpty());
    }
}

TEST(LookupRetry, WaitsAsTheServerAsksButNeverLong) {
    const NetworkLimits limits;
    struct Case {
        QByteArray retryAfter;
        int retry;
        int delayMs;
    };
    const Case cases[] = {
        {"2", 0, 2000},
        {"60", 0, 5000}, // capped
        {"", 0, 500},    // back-off when the server says nothing
        {"", 1, 1000},
        {"soon", 1, 1000},                       // unreadable: the back-off
        {"Wed, 21 Oct 2015 07:28:00 GMT", 1, 0}, // a date that has passed
    };
    for (const Case& c : cases)
        EXPECT_EQ(retryDelayMs(c.retryAfter, c.retry, limits), c.delayMs)
            << c.retryAfter.constData();
}

} // namespace
