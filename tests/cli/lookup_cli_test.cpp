// reelkeeper-cli lookup against a stand-in Wikidata on 127.0.0.1.
#include "cli/cli_fixture.h"
#include "support/stand_in_http_server.h"

#include <QDate>
#include <QFile>
#include <QLocale>

namespace {

class LookupCliTest : public CliTest {
protected:
    void TearDown() override {
        // Looking up never opens, nor makes, a catalogue.
        EXPECT_FALSE(QFile::exists(dirs.catalogueFile()));
    }
    void answerSearch(StandInResponse response) {
        server.route("/sparql", "mwapi:search \"Casablanca\"", {std::move(response)});
    }

    StandInHttpServer server;
    WikidataAtStandIn addresses{server};
};

TEST_F(LookupCliTest, PrintsTheCandidatesBestFirstAsCsv) {
    answerSearch(
        StandInResponse::file(QStringLiteral(RK_LOOKUP_FIXTURES "/casablanca_search.json")));
    ASSERT_EQ(run({"lookup", "Casablanca", "--year", "1943", "--source", "wikidata"}), 0)
        << errText().toStdString();
    // The source puts the 1942 film first; the year asked for ranks the 1943 one above it.
    EXPECT_EQ(outText(), "rank,score,source,source_id,title,year,director\r\n"
                         "1,94,Wikidata,Q90000002,Casablanca,1943,\"A. Director, B. Director\"\r\n"
                         "2,86,Wikidata,Q132689,Casablanca,1942,Michael Curtiz\r\n"
                         "3,86,Wikidata,Q90000004,Casablanca,1944,\r\n"
                         "4,34,Wikidata,Q90000001,Casablanca Express,1942,Sergio Martino\r\n");
    EXPECT_EQ(errText(), "");

    // Asked again, the answer comes from the cache, and the command says so.
    const QString csv = outText();
    ASSERT_EQ(run({"lookup", "Casablanca", "--year", "1943", "--source", "wikidata"}), 0);
    EXPECT_EQ(outText(), csv);
    EXPECT_EQ(errText(), "reelkeeper-cli: Wikidata: from the cache of " +
                             QLocale::c().toString(QDate::currentDate(), "d MMM") + "\n");
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(LookupCliTest, NoFilmOrAFailingServiceIsStatusOne) {
    answerSearch({200,
                  "application/json",
                  R"({"head": {"vars": []}, "results": {"bindings": []}})",
                  {},
                  false});
    EXPECT_EQ(run({"lookup", "Casablanca", "--year", "1942"}), 1);
    EXPECT_EQ(outText(), "");
    EXPECT_EQ(errText(), "reelkeeper-cli: No film found for \"Casablanca\" (1942).\n");

    server.route("/sparql", "", {{500, "text/plain", "", {{"Retry-After", "0"}}, false}});
    EXPECT_EQ(run({"lookup", "Vertigo"}), 1);
    EXPECT_EQ(outText(), "");
    EXPECT_EQ(errText(), "reelkeeper-cli: Wikidata: the service is unavailable (HTTP 500)\n");

    // TMDb is asked only with the person's own key.
    qunsetenv("REELKEEPER_TMDB_KEY");
    EXPECT_EQ(run({"lookup", "Vertigo", "--source", "tmdb"}), 1);
    EXPECT_TRUE(errText().startsWith("reelkeeper-cli: TMDb: no API key"))
        << errText().toStdString();
}

TEST_F(LookupCliTest, AnUnknownSourceOrYearIsNotUnderstood) {
    EXPECT_EQ(run({"lookup", "Casablanca", "--source", "bogus"}), 2);
    EXPECT_TRUE(errText().startsWith("reelkeeper-cli: there is no film database 'bogus'."));
    EXPECT_EQ(run({"lookup", "Casablanca", "--year", "forty-two"}), 2);
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
