// A movie's links to the film databases: the table appears with the first
// link and goes with the movie, a link joins its caller's transaction, and
// the snapshots' checks know its trigger as the program's own.
#include "core/catalogue/catalogue.h"
#include "core/lookup/lookup_links.h"
#include "core/report/failure.h"
#include "core/snapshots/foreign_schema.h"
#include "core/sqlite/sqlite_database.h"
#include "support/catalogue_internals.h"
#include "support/temp_catalogue.h"

#include <gtest/gtest.h>

namespace {

TEST(LookupLinksTest, LinksFollowTheirMovieAndJoinTheCallersTransaction) {
    TempCatalogue dir;
    const QString file = dir.catalogueFile();
    dir.createInstalledCatalogue();
    TempCatalogue::addTitles(file, {QStringLiteral("Casablanca"), QStringLiteral("Emma")});
    Catalogue catalogue;
    catalogue.open(file);
    LookupLinks links(catalogue);

    // No movie 9: nothing stored, not even the table.
    EXPECT_THROW(
        links.set(
            {9, QStringLiteral("Wikidata"), QStringLiteral("Q1"), {}, {}, QDate(2026, 12, 1)}),
        Failure);
    EXPECT_FALSE(links.hasTable());

    // A link made inside a transaction the caller rolls back is not kept.
    SqliteDatabase& db = CatalogueInternals::database(catalogue);
    db.execute("begin immediate");
    links.set(
        {1, QStringLiteral("Wikidata"), QStringLiteral("Q132689"), {}, {}, QDate(2026, 12, 1)});
    db.execute("rollback");
    EXPECT_FALSE(links.hasTable());

    links.set({1, QStringLiteral("Wikidata"), QStringLiteral("Q132689"),
               QStringLiteral("tt0034583"), QStringLiteral("289"), QDate(2026, 12, 1)});
    links.set({1, QStringLiteral("TMDb"), QStringLiteral("289"), {}, {}, QDate(2026, 12, 2)});
    links.set({2, QStringLiteral("TMDb"), QStringLiteral("3573"), {}, {}, QDate(2026, 12, 2)});
    const QList<LookupLink> casablanca = links.of(1);
    ASSERT_EQ(casablanca.size(), 2);
    EXPECT_EQ(casablanca[1].imdbId, QStringLiteral("tt0034583"));
    EXPECT_EQ(casablanca[1].fetched, QDate(2026, 12, 1));
    EXPECT_TRUE(foreignObjects(db).isEmpty());

    ASSERT_TRUE(catalogue.remove(QStringLiteral("1")));
    EXPECT_TRUE(links.of(1).isEmpty());
    EXPECT_EQ(links.linkedIds(), QSet<qint64>{2});
}

} // namespace
