#include "core/lookup/tmdb_source.h"
#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList entries(const QTemporaryDir& folder) {
    return QDir(folder.path()).entryList(QDir::Files);
}

TEST_F(LookupTest, ARepeatedLookupOrOneWithoutNetworkAnswersFromTheCache) {
    StandInResponse silent;
    silent.neverAnswer = true;
    const StandInResponse found = fixture("casablanca_search.json");
    const StandInResponse failing{500, "text/plain", "", {{"Retry-After", "0"}}, false};
    struct Case {
        const char* what;
        int freshDays;
        QList<StandInResponse> answers; // the first lookup's, then the second's
        bool spoilEntry;
        qsizetype secondRequests; // 3: the service fails the second lookup
        bool offline;             // the second came from the cache because of it
    };
    const Case cases[] = {
        {"a repeated lookup", 30, {found}, false, 0, false},
        {"an old answer is asked for again", 0, {found}, false, 1, false},
        {"no answer: the old one", 0, {found, silent}, false, 1, true},
        {"a failing service is no want of network", 0, {found, failing}, false, 3, false},
        {"an unreadable entry", 30, {found}, true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInHttpServer service;
        service.route("/sparql", "", c.answers);
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", service.address("/sparql").toEncoded());
        const QTemporaryDir folder;
        WikidataSource source(limits, "en");
        source.setCache(std::make_shared<ResponseCache>(
            folder.path(), ResponseCacheLimits{qint64(1) << 20, c.freshDays}));
        LookupReply* first = source.search("Casablanca", 1942);
        waitFor(first);
        ASSERT_EQ(entries(folder).size(), 1);
        if (c.spoilEntry) {
            QFile entry(folder.filePath(entries(folder).constFirst()));
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly) && entry.write("not an entry") > 0);
        }

        LookupReply* second = source.search("Casablanca", 1942);
        waitFor(second);
        const bool fromCache = c.secondRequests == 0 || c.offline;
        EXPECT_EQ(service.requests().size(), 1 + c.secondRequests);
        EXPECT_EQ(second->candidates().size(), c.secondRequests == 3 ? 0 : 3);
        EXPECT_EQ(second->fromCache(), fromCache);
        EXPECT_EQ(second->offline(), c.offline);
        const QString day = QLocale::c().toString(QDate::currentDate(), "d MMM");
        EXPECT_EQ(second->cacheNote().endsWith("from the cache of " + day), fromCache);
    }
}

TEST_F(LookupTest, TheCacheKeepsNoKeyAndLetsTheOldestGo) {
    server.route("/3/search/movie", "", {fixture("tmdb_search.json")});
    const QString key = QStringLiteral("0123456789abcdef0123456789abcdef");
    const QTemporaryDir folder;
    NetworkLimits spaced = limits; // the answers are stored a few milliseconds apart
    spaced.spacingMs = 5;
    TmdbSource tmdb(server.address("/3"), key, spaced);
    const qint64 entrySize = fixture("tmdb_search.json").body.size() + 200;
    tmdb.setCache(
        std::make_shared<ResponseCache>(folder.path(), ResponseCacheLimits{3 * entrySize, 30}));
    for (const char* title : {"Casablanca", "Vertigo", "Psycho", "Alien", "Casablanca", "Alien"})
        waitFor(tmdb.search(title, {}));
    // Three answers fit: Casablanca's went and was asked for again.
    EXPECT_EQ(server.requests().size(), 5);
    EXPECT_EQ(entries(folder).size(), 3);
    for (const QString& name : entries(folder)) {
        QFile entry(folder.filePath(name));
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        EXPECT_FALSE(entry.readAll().contains(key.toUtf8()));
    }
}

} // namespace
