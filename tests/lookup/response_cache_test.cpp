#include "core/lookup/response_cache.h"
#include "core/lookup/tmdb_source.h"
#include "core/lookup/wikidata_source.h"
#include "lookup/lookup_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ResponseCacheTest : public LookupTest {
protected:
    std::shared_ptr<ResponseCache> cacheIn(const QTemporaryDir& folder, int freshDays,
                                           qint64 maxBytes = qint64(50) * 1024 * 1024) {
        return std::make_shared<ResponseCache>(folder.path(),
                                               ResponseCacheLimits{maxBytes, freshDays});
    }
    static QStringList entries(const QTemporaryDir& folder) {
        return QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(ResponseCacheTest, ARepeatedLookupOrOneWithoutNetworkAnswersFromTheCache) {
    StandInResponse silent;
    silent.neverAnswer = true;
    const StandInResponse failing{500, "text/plain", "", {{"Retry-After", "0"}}, false};
    struct Case {
        const char* what;
        int freshDays;
        QList<StandInResponse> answers; // the first lookup's, then the second's
        bool spoilEntry;
        qsizetype secondRequests;
        bool fromCache;
        bool offline;
    };
    const Case cases[] = {
        {"a repeated lookup", 30, {fixture("casablanca_search.json")}, false, 0, true, false},
        {"an old answer is asked for again",
         0,
         {fixture("casablanca_search.json")},
         false,
         1,
         false,
         false},
        {"no answer: the old one",
         0,
         {fixture("casablanca_search.json"), silent},
         false,
         1,
         true,
         true},
        {"a failing service is no want of network",
         0,
         {fixture("casablanca_search.json"), failing},
         false,
         3,
         false,
         false},
        {"an unreadable entry", 30, {fixture("casablanca_search.json")}, true, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInHttpServer service;
        service.route("/sparql", "", c.answers);
        qputenv("REELKEEPER_WIKIDATA_SPARQL_URL", service.address("/sparql").toEncoded());
        const QTemporaryDir folder;
        WikidataSource source(limits, "en");
        source.setCache(cacheIn(folder, c.freshDays));

        LookupReply* first = source.search("Casablanca", 1942);
        waitFor(first);
        EXPECT_FALSE(first->fromCache());
        ASSERT_EQ(entries(folder).size(), 1);
        if (c.spoilEntry) {
            QFile entry(folder.filePath(entries(folder).constFirst()));
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
            entry.write("not an entry");
        }

        LookupReply* second = source.search("Casablanca", 1942);
        waitFor(second);
        EXPECT_EQ(service.requests().size(), 1 + c.secondRequests);
        EXPECT_EQ(second->fromCache(), c.fromCache);
        EXPECT_EQ(second->offline(), c.offline);
        if (c.secondRequests != 3) {
            EXPECT_EQ(failureOf(*second), QString());
            EXPECT_EQ(second->candidates().size(), first->candidates().size());
        }
        if (c.fromCache) {
            const QString day = QLocale::c().toString(QDate::currentDate(), "d MMM");
            EXPECT_TRUE(second->cacheNote().endsWith("from the cache of " + day))
                << second->cacheNote().toStdString();
        }
    }
}

TEST_F(ResponseCacheTest, NoKeyIsWrittenAndTheOldestGoFirst) {
    server.route("/3/search/movie", "", {fixture("tmdb_search.json")});
    const QString key = QStringLiteral("0123456789abcdef0123456789abcdef");
    const QTemporaryDir folder;
    const qint64 entrySize = fixture("tmdb_search.json").body.size() + 200;
    TmdbSource tmdb(server.address("/3"), key, limits);
    tmdb.setCache(cacheIn(folder, 30, 3 * entrySize));

    QStringList kept;
    for (const char* title : {"Casablanca", "Vertigo", "Psycho", "Alien"}) {
        waitFor(tmdb.search(title, {}));
        kept = entries(folder);
        for (const QString& name : kept) {
            QFile entry(folder.filePath(name));
            ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
            EXPECT_FALSE(entry.readAll().contains(key.toUtf8())) << title;
        }
    }
    // Three fit: the first title's answer went, the latest three are used.
    EXPECT_EQ(kept.size(), 3);
    LookupReply* first = tmdb.search("Casablanca", {});
    LookupReply* last = tmdb.search("Alien", {});
    waitFor(first);
    waitFor(last);
    EXPECT_FALSE(first->fromCache());
    EXPECT_TRUE(last->fromCache());
    EXPECT_EQ(server.requests().size(), 5);
}

} // namespace
