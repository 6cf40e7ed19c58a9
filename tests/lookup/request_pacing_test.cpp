#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

#include <QDateTime>

namespace {

TEST_F(LookupTest, RequestsWaitTheirTurnInOrderAndAreNeverDropped) {
    StandInResponse silent;
    silent.neverAnswer = true;
    const StandInResponse found = fixture("casablanca_search.json");
    struct Case {
        const char* what;
        int spacingMs;
        QList<StandInResponse> answers;
        QList<qint64> notBeforeMs; // when each request may reach the service at the earliest
    };
    const Case cases[] = {
        {"spaced starts", 120, {found}, {0, 120, 240, 360}},
        // Two wait for an answer that never comes: the third goes once the
        // first has given up after 500 ms (a coarse timer, up to 5 % early).
        {"two in flight", 0, {silent, silent, found}, {0, 0, 475}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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

        ASSERT_EQ(service.requests().size(), c.notBeforeMs.size());
        for (qsizetype i = 0; i < c.notBeforeMs.size(); ++i) {
            const StandInRequest& request = service.requests()[i];
            EXPECT_TRUE(request.query.contains(QStringLiteral("\"Film %1\"").arg(i))) << i;
            EXPECT_GE(request.receivedAtMs - start, c.notBeforeMs[i]) << i;
        }
        EXPECT_EQ(failureOf(*replies.last()), QString());
    }
}

TEST(LookupPacing, AServerOnThisMachineIsNotPacedUnlessAsked) {
    NetworkLimits limits;
    EXPECT_EQ(spacingFor(limits, QUrl("https://query.wikidata.org/sparql"), 1000), 1000);
    EXPECT_EQ(spacingFor(limits, QUrl("http://127.0.0.1:8080/sparql"), 1000), 0);
    limits.spacingMs = 50;
    EXPECT_EQ(spacingFor(limits, QUrl("http://127.0.0.1:8080/sparql"), 1000), 50);
}

} // namespace
