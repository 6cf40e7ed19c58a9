// reelkeeper-cli fill against a stand-in TMDb on 127.0.0.1: only empty
// fields are filled, and an unclear match or a failing service changes nothing.
#include "cli/cli_fixture.h"
#include "lookup/tmdb_stand_in.h"
#include "support/qt_printers.h"

namespace {

class FillCliTest : public CliTest {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        tmdb.answerSearch("Casablanca", {{289, "Casablanca", "1942-11-26"}});
        tmdb.answerSearch("Emma", {{3573, "Emma", "1996-08-02"}, {3574, "Emma", "1996-11-24"}});
        tmdb.answerSearch("Nothing Like It", {});
    }
    int fill(QStringList arguments) {
        return runOn(file, QStringList{"fill", "--source", "tmdb"} + arguments);
    }

    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    StandInHttpServer server;
    TmdbAtStandIn tmdb{server};
};

TEST_F(FillCliTest, FillsOneMovieOnlyFromAClearMatch) {
    TempCatalogue::addMovies(
        file, {{"Casablanca", "1942", "Mine"}, {"Emma", "1996"}, {"Nothing Like It"}});
    struct Case {
        QStringList arguments;
        int status;
        QString output; // standard output, else the start of standard error
    };
    const QList<Case> cases = {
        {{"2"},
         1,
         "reelkeeper-cli: The best match for \"Emma\" (1996) is not clear; choose one "
         "with --candidate N:\nrank,score,source,source_id,title,year,director\r\n"
         "1,94,TMDb,3573,Emma,1996,\r\n2,94,TMDb,3574,Emma,1996,\r\n"},
        {{"2", "--candidate", "2"}, 1, "reelkeeper-cli: TMDb: nothing found at "},
        {{"3"}, 1, "reelkeeper-cli: No film found for \"Nothing Like It\".\n"},
        {{"1"},
         0,
         "Movie 1 filled from TMDb 289: cast, director, runtime, rating, studio, the cover.\n"},
        {{"1", "--overwrite"}, 0, "Movie 1 filled from TMDb 289: genre.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const QByteArray before = TempCatalogue::checksum(file);
        EXPECT_EQ(fill(c.arguments), c.status);
        if (c.status == 0) {
            EXPECT_EQ(outText(), c.output);
        } else {
            EXPECT_TRUE(errText().startsWith(c.output)) << errText().toStdString();
            EXPECT_EQ(TempCatalogue::checksum(file), before);
        }
    }
    EXPECT_EQ(TempCatalogue::rows(file, "title, year, genre, director, studio").constFirst(),
              "Casablanca|1942|Drama, Romance, War|Michael Curtiz|Warner Bros. Pictures");
    ASSERT_EQ(run({"--catalogue", file, "cover", "get", "1", "-"}), 0);
    EXPECT_EQ(out.data(), TmdbAtStandIn::poster());
}

TEST_F(FillCliTest, FillingEveryMovieNeverChangesAFieldThatHeldText) {
    // Four kinds of movie, fifty of each: held text in some fields, a clear
    // match, an unclear one, none.
    QList<QStringList> movies;
    for (int i = 0; i < 200; ++i) {
        const QString mine = QStringLiteral("mine %1").arg(i);
        const QList<QStringList> kinds = {{"Casablanca", {}, mine, {}, {}, {}, {}, mine},
                                          {"Casablanca", "1942", {}, mine},
                                          {"Emma", "1996", {}, {}, mine},
                                          {"Nothing Like It", mine}};
        movies.append(kinds.at(i % 4));
    }
    TempCatalogue::addMovies(file, movies);
    const QStringList before = TempCatalogue::rows(file);

    ASSERT_EQ(fill({"--empty"}), 0) << errText().toStdString();
    EXPECT_TRUE(outText().endsWith("100 filled, 50 without a match, 50 unclear\n"));
    // In the list's order, by title.
    EXPECT_TRUE(outText().startsWith("Movie 3 (Emma): unclear\nMovie 7 (Emma): unclear\n"));
    EXPECT_TRUE(outText().contains("Movie 4 (Nothing Like It): without a match\n"));
    const QStringList after = TempCatalogue::rows(file);
    ASSERT_EQ(after.size(), before.size());
    for (int row = 0; row < before.size(); ++row) {
        const QStringList was = before[row].split('|');
        const QStringList now = after[row].split('|');
        for (int field = 0; field < was.size(); ++field) {
            if (was[field] != "<null>") {
                EXPECT_EQ(now[field], was[field]) << before[row].toStdString();
            }
        }
    }
    EXPECT_TRUE(after[1].contains("|1942|Drama, Romance, War|mine 1|Michael Curtiz|"));

    // A failing service stops the run; what it had not filled stays as it was.
    qputenv("REELKEEPER_TMDB_URL", server.address("/down").toEncoded());
    const QByteArray filled = TempCatalogue::checksum(file);
    EXPECT_EQ(fill({"--empty"}), 1);
    EXPECT_TRUE(errText().contains("TMDb: nothing found at")) << errText().toStdString();
    EXPECT_EQ(TempCatalogue::checksum(file), filled);
}

} // namespace
