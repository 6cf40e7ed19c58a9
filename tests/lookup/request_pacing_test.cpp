#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

#include <QDateTime>

namespace {

TEST_F(LookupTest, RequestsWaitTheirTurnInOrderAndAreNeverDropped) {
    StandInResponse silent;
    silent.neverAnswer = true;
    const StandInResponse found = fixture("casablanca_search.json");
    struct Case {
        int spacingMs;
        QList<StandInResponse> answers;
        QList<qint64> notBeforeMs; // the earliest each request may reach the service
    };
    const Case cases[] = {
        {120, {found}, {0, 120, 240, 360}},
        // Two wait for answers that never come; the third goes once the first
        // gives up after 500 ms (its coarse timer may fire up to 5 % early).
        {0, {silent, silent, found}, {0, 0, 475}},
    };
    for (const Case& c : cases) {
        StandInHttpServer service;
        service.route("/sparql", "", c.answers);
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", service.address("/sparql").toEncoded());
        NetworkLimits paced = limits;
        paced.spacingMs = c.spacingMs;
        paced.retries = 0;
        WikidataSource source(paced, "en");
        source.setCache(nullptr);
        const qint64 start = QDateTime::currentMSecsSinceEpoch();
        QList<LookupReply*> replies;
        for (qsizetype i = 0; i < c.notBeforeMs.size(); ++i)
            replies << source.search(QStringLiteral("Film %1").arg(i), {});
        for (LookupReply* reply : replies)
            waitFor(reply);
        EXPECT_EQ(failureOf(*replies.last()), QString());
        ASSERT_EQ(service.requests().size(), c.notBeforeMs.size());
        for (qsizetype i = 0; i < c.notBeforeMs.size(); ++i) {
            const StandInRequest& request = service.requests()[i];
            EXPECT_TRUE(request.query.contains(QStringLiteral("\"Film %1\"").arg(i))) << i;
            EXPECT_GE(request.receivedAtMs - start, c.notBeforeMs[i]) << i;
        }
    }
    // Unless the limits say otherwise, a server on this machine is not paced.
    EXPECT_EQ(spacingFor({}, QUrl("https://query.wikidata.org/sparql"), 1000), 1000);
    EXPECT_EQ(spacingFor({}, QUrl("http://127.0.0.1:8080/sparql"), 1000), 0);
}

} // namespace
