// Filling stored movies from a film database: only empty fields unless
// overwriting, fields, link and cover in one transaction, and the batch
// that leaves unclear and unmatched movies alone.
#include "core/catalogue/catalogue.h"
#include "core/covers/cover_store.h"
#include "core/lookup/empty_field_fill.h"
#include "core/lookup/lookup_links.h"
#include "core/lookup/movie_fill.h"
#include "core/lookup/tmdb_source.h"
#include "lookup/lookup_fixture.h"
#include "lookup/tmdb_stand_in.h"
#include "support/temp_catalogue.h"

namespace {

const QDate kToday(2026, 12, 7);

class FillTest : public LookupTest {
protected:
    void SetUp() override {
        dir.createInstalledCatalogue();
        // Movie 1 has a genre and a year of its own; the others only titles.
        TempCatalogue::addMovies(file, {{"Casablanca", "1943", "Mine"},
                                        {"Emma", "1996"},
                                        {"Nothing Like It"},
                                        {"Casablanca"}});
        catalogue.open(file);
        tmdb.answerSearch("Casablanca", {{289, "Casablanca", "1942-11-26"}});
        tmdb.answerSearch("Emma", {{3573, "Emma", "1996-08-02"}, {3574, "Emma", "1996-11-24"}});
        tmdb.answerSearch("Nothing Like It", {});
    }

    // Runs the batch over every movie until it finishes.
    void runBatch(EmptyFieldFill& batch) {
        batch.setToday([] { return kToday; });
        QEventLoop loop;
        QObject::connect(&batch, &EmptyFieldFill::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        batch.start({1, 2, 3, 4});
        loop.exec();
        ASSERT_TRUE(batch.isFinished());
    }

    TempCatalogue dir;
    QString file = dir.catalogueFile();
    Catalogue catalogue;
    TmdbAtStandIn tmdb{server};
    TmdbSource source{limits};
};

TEST_F(FillTest, FillsEmptyFieldsOnlyUnlessOverwriting) {
    LookupMovie found;
    for (int index = 0; index < DvdRecord::kFieldCount; ++index) {
        found.field(index) = QStringLiteral("found %1").arg(index);
    }
    found.year.clear(); // a film without a value blanks nothing
    found.source = "TMDb";
    found.sourceId = "289";
    const Cover poster{TmdbAtStandIn::poster(), 20, 30, "png"};
    struct Case {
        bool overwrite;
        QList<int> changed;
        QString row;
    };
    const QList<Case> cases = {
        {false, {3, 4, 5, 6, 7}, "1|Casablanca|1943|Mine|found 3|found 4|found 5|found 6|found 7"},
        {true, {0, 2}, "1|found 0|1943|found 2|found 3|found 4|found 5|found 6|found 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.overwrite);
        const FillChange change =
            MovieFill(catalogue, [] { return kToday; }).fill(1, found, c.overwrite, poster);
        EXPECT_EQ(change.fields, c.changed);
        EXPECT_EQ(change.cover, !c.overwrite); // only a movie without a cover gets one
        EXPECT_EQ(TempCatalogue::rows(file).constFirst(), c.row);
    }
    const QList<LookupLink> links = LookupLinks(catalogue).of(1);
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links[0].fetched, kToday);

    // No such movie: nothing stored at all.
    EXPECT_THROW(MovieFill(catalogue).fill(9, found, false, poster), Failure);
    EXPECT_EQ(LookupLinks(catalogue).linkedIds(), QSet<qint64>{1});
}

TEST_F(FillTest, TheBatchFillsClearMatchesAndListsTheRest) {
    EmptyFieldFill batch(catalogue, source, {});
    runBatch(batch);
    EXPECT_FALSE(batch.failure());
    EXPECT_EQ(batch.filled(), 2);
    EXPECT_EQ(batch.count(EmptyFieldFill::Left::Unclear), 1);
    EXPECT_EQ(batch.count(EmptyFieldFill::Left::NoMatch), 1);
    EXPECT_EQ(batch.leftAlone()[0].candidates.size() + batch.leftAlone()[1].candidates.size(), 2);
    const QStringList rows = TempCatalogue::rows(file, "title, year, genre, director");
    EXPECT_EQ(rows, (QStringList{"Casablanca|1943|Mine|Michael Curtiz", "Emma|1996|<null>|<null>",
                                 "Nothing Like It|<null>|<null>|<null>",
                                 "Casablanca|1942|Drama, Romance, War|"
                                 "Michael Curtiz"}));
    EXPECT_EQ(CoverStore(catalogue).get(4)->bytes, TmdbAtStandIn::poster());

    // Again: a linked movie is skipped, and a failing service stops the run.
    server.route("/down/search/movie", "",
                 {{500, "text/plain", "", {{"Retry-After", "0"}}, false}});
    TmdbSource down(server.address("/down"), "key", limits);
    EmptyFieldFill again(catalogue, down, {});
    runBatch(again);
    EXPECT_EQ(again.skipped(), 1); // movie 1; the run stopped before movie 4
    EXPECT_EQ(again.filled(), 0);
    ASSERT_TRUE(again.failure());
    EXPECT_EQ(again.failure()->description(), "TMDb: the service is unavailable (HTTP 500)");
}

TEST_F(FillTest, CancellingKeepsWhatWasFilled) {
    EmptyFieldFill batch(catalogue, source, {false, false, false, 1});
    QObject::connect(&batch, &EmptyFieldFill::progress, &batch, [&](int done) {
        if (done == 1) {
            batch.cancel();
        }
    });
    runBatch(batch);
    EXPECT_TRUE(batch.isCancelled());
    EXPECT_EQ(batch.filled(), 1);
    EXPECT_EQ(LookupLinks(catalogue).linkedIds(), QSet<qint64>{1});
    EXPECT_FALSE(CoverStore(catalogue).hasTable()); // no cover asked for
}

} // namespace
