// The shelf kept in real catalogue files: copies and sets beside the movies,
// made on first use, following their movies out, and likely duplicates.
#include "core/report/failure.h"
#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/salvage.h"
#include "core/sqlite/sqlite_statement.h"
#include "shelf/shelf_fixture.h"
#include "support/catalogue_internals.h"
#include "support/qt_printers.h"

namespace {

TEST_F(ShelfTest, ACatalogueThatNeverUsesTheShelfStaysAsTheTemplateMadeIt) {
    const QByteArray before = TempCatalogue::fileBytes(file);
    EXPECT_TRUE(store.copies(1).empty());
    EXPECT_TRUE(store.findBarcode("4006381333931").empty());
    EXPECT_TRUE(store.sets().empty());
    EXPECT_FALSE(store.removeCopy(1));
    EXPECT_EQ(store.duplicates().size(), 1U); // the two Blade Runners
    // Refused copies and sets make nothing either.
    EXPECT_THROW(store.addCopy(copyOf(99, CopyFormat::Dvd)), Failure);
    EXPECT_THROW(store.addCopy(copyOf(1, CopyFormat::Dvd, "4006381333932")), Failure);
    EXPECT_THROW(store.makeSet({0, "Alien", SetKind::Series, {}}, {1, 99}), Failure);
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
    EXPECT_FALSE(store.hasTables());
}

TEST_F(ShelfTest, CopiesAreStoredChangedAndFollowTheirMovieOut) {
    ShelfCopy bluRay = copyOf(1, CopyFormat::BluRay, "0036000291452");
    bluRay.edition = "Final Cut";
    bluRay.location = "Shelf B";
    bluRay.price = "19,9";
    bluRay.acquired = QDate(2024, 3, 14);
    bluRay.id = store.addCopy(bluRay);
    const qint64 dvd = store.addCopy(copyOf(1, CopyFormat::Dvd));
    const qint64 other = store.addCopy(copyOf(2, CopyFormat::Vhs, "036000291452"));
    EXPECT_TRUE(store.hasTables());

    const std::vector<ShelfCopy> copies = store.copies(1);
    ASSERT_EQ(copies.size(), 2U);
    EXPECT_EQ(copies[0].barcode, QStringLiteral("0036000291452")); // leading zeros kept
    EXPECT_EQ(copies[0].price, QStringLiteral("19.90"));
    EXPECT_EQ(copies[0].acquired, QDate(2024, 3, 14));
    EXPECT_EQ(copies[1].id, dvd);
    // A UPC-A finds its EAN-13 spelling too.
    EXPECT_EQ(store.findBarcode("036000291452").size(), 2U);

    bluRay.status = CopyStatus::Wished;
    store.changeCopy(bluRay);
    EXPECT_EQ(store.copy(bluRay.id)->status, CopyStatus::Wished);
    bluRay.id = 999;
    EXPECT_THROW(store.changeCopy(bluRay), Failure);

    ASSERT_TRUE(catalogue.remove(QStringLiteral("1")));
    EXPECT_TRUE(store.copies(1).empty());
    EXPECT_EQ(store.allCopies().size(), 1U);
    EXPECT_TRUE(store.removeCopy(other));
    EXPECT_FALSE(store.removeCopy(other));
    // Ids are never given again.
    EXPECT_GT(store.addCopy(copyOf(2, CopyFormat::Dvd)), other);
}

TEST_F(ShelfTest, ASeriesShowsWhatIsMissingAndABoxSetItsCopies) {
    store.addCopy(copyOf(2, CopyFormat::Dvd));
    ShelfCopy wished = copyOf(3, CopyFormat::BluRay);
    wished.status = CopyStatus::Wished;
    store.addCopy(wished);
    const qint64 series = store.makeSet({0, "Alien", SetKind::Series, {}}, {2, 3, 7});
    EXPECT_EQ(store.missing(series), QList<qint64>({3, 7}));

    const qint64 first = store.addCopy(copyOf(5, CopyFormat::Dvd));
    const qint64 second = store.addCopy(copyOf(6, CopyFormat::Dvd));
    EXPECT_THROW(store.makeSet({0, "Solaris", SetKind::BoxSet, "96385074"}, {5}, {{5, second}}),
                 Failure);
    store.makeSet({0, "Solaris", SetKind::BoxSet, "96385074"}, {5, 6}, {{5, first}, {6, second}});
    EXPECT_EQ(store.findBarcode("96385074").size(), 2U);
    EXPECT_EQ(store.sets().size(), 2U);

    ASSERT_TRUE(catalogue.remove(QStringLiteral("3")));
    EXPECT_EQ(store.missing(series), QList<qint64>({7}));
    EXPECT_TRUE(store.removeSet(series));
    EXPECT_TRUE(store.members(series).empty());
}

TEST_F(ShelfTest, DuplicatesAreASharedBarcodeOrTitleYearAndDirectorNeverTheTitleAlone) {
    store.addCopy(copyOf(2, CopyFormat::Dvd, "4006381333931"));
    store.addCopy(copyOf(3, CopyFormat::Dvd, "4006381333931"));
    // The copies a box set holds carry its barcode: not duplicates.
    const qint64 a = store.addCopy(copyOf(5, CopyFormat::Dvd, "96385074"));
    const qint64 b = store.addCopy(copyOf(6, CopyFormat::Dvd, "96385074"));
    store.makeSet({0, "Solaris", SetKind::BoxSet, "96385074"}, {5, 6}, {{5, a}, {6, b}});

    const std::vector<DuplicateGroup> groups = store.duplicates();
    ASSERT_EQ(groups.size(), 2U);
    EXPECT_EQ(groups[0].match, DuplicateGroup::Match::Barcode);
    EXPECT_EQ(groups[0].movieIds, QList<qint64>({2, 3}));
    EXPECT_EQ(groups[1].match, DuplicateGroup::Match::TitleYearDirector);
    EXPECT_EQ(groups[1].movieIds, QList<qint64>({1, 4}));

    const struct {
        const char* id;
        const char* title;
        const char* year;
        const char* director;
        const char* barcode;
        QList<qint64> found;
    } cases[] = {
        {"", "BLADE RUNNER", "1982", "ridley scott", "", {1, 4}},
        {"", "Alien", "", "", "", {}}, // the title alone
        {"", "Solaris", "2002", "Steven Soderbergh", "", {6}},
        {"", "Anything", "", "", "4006381333931", {2, 3}},
        {"1", "Blade Runner", "1982", "Ridley Scott", "", {4}}, // itself left out
    };
    for (const auto& c : cases) {
        DvdRecord movie;
        movie.id = c.id;
        movie.title = c.title;
        movie.year = c.year;
        movie.director = c.director;
        EXPECT_EQ(store.duplicatesOf(movie, c.barcode), c.found) << c.title;
    }
}

TEST_F(ShelfTest, TheHealthCheckCautionsAboutShelfRowsWithoutTheirMovie) {
    store.addCopy(copyOf(1, CopyFormat::Dvd));
    store.makeSet({0, "Runners", SetKind::Series, {}}, {1, 4});
    EXPECT_TRUE(checkCatalogue(file, CheckDepth::Quick).clean());
    catalogue.close();
    TempCatalogue::exec(file, "drop trigger shelf_follows_dvd; delete from dvd where id = 1");
    const CheckResult result = checkCatalogue(file, CheckDepth::Quick);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.cautions,
              QStringList{"The shelf holds 1 copy(ies) and 1 place(s) in sets of movies that are "
                          "gone."});
}

TEST_F(ShelfTest, ASalvageCarriesTheShelfWithItsTriggers) {
    store.addCopy(copyOf(1, CopyFormat::Dvd));
    store.addCopy(copyOf(2, CopyFormat::Vhs));
    store.makeSet({0, "Scott", SetKind::Series, {}}, {1, 2});
    const SqliteDatabase source(file, SqliteDatabase::Access::ReadOnly);
    const SqliteDatabase target(QString(), SqliteDatabase::Access::Memory);
    EXPECT_EQ(salvageRows(source, &target).others, 5); // copies, set, members
    target.execute("delete from dvd where id = 1");
    SqliteStatement left(target, "select (select count(*) from shelf_copy) ||"
                                 " (select count(*) from shelf_set_member)");
    ASSERT_TRUE(left.step());
    EXPECT_EQ(left.text(0), QStringLiteral("11"));
}

TEST_F(ShelfTest, TheListsCellsGiveEachMovieTheDifferentTextsOfItsCopiesFirstAddedFirst) {
    EXPECT_TRUE(store.copyCells(CopyCellField::Format).isEmpty());
    EXPECT_TRUE(store.copyCountCells().isEmpty());
    EXPECT_TRUE(store.setCells().isEmpty());
    EXPECT_FALSE(store.hasTables());
    store.addCopy(copyOf(3, CopyFormat::Vhs));
    // The copies of movies 1, 2 and 4 added in turn, written as another
    // program may write them.
    CatalogueInternals::database(catalogue).execute(
        "insert into shelf_copy (movie_id, format, location, barcode, status) values"
        " (1, 'Blu-ray', 'Shelf B', '', 'owned'), (2, 'dvd', ' shelf b ', '4006381333931',"
        " 'wished'), (4, 'Blu-ray', '', '', 'owned'), (1, 'DVD', 'shelf b', '', 'ORDERED'),"
        " (2, 'Betamax', 'Box 3, top', '4006381333931', 'lost'), (4, 'dvd', '', '', 'owned'),"
        " (1, 'blu-ray', '  ', '96385074', 'owned'), (2, 'DVD', 'top', '', 'owned');"
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1100)"
        " insert into shelf_copy (movie_id, format, location) select 5, 'DVD', 'Box ' || i"
        " from n;"
        "insert into shelf_copy (movie_id, format, location) values (5, 'DVD', 'BOX 7')");
    QStringList boxes;
    for (int i = 1; i <= 1100; ++i) {
        boxes << QStringLiteral("Box %1").arg(i);
    }
    using Cells = QHash<qint64, QString>;
    const std::pair<CopyCellField, Cells> cases[] = {
        {CopyCellField::Format,
         {{1, "Blu-ray, DVD"}, {2, "DVD, other"}, {3, "VHS"}, {4, "Blu-ray, DVD"}, {5, "DVD"}}},
        {CopyCellField::Location,
         {{1, "Shelf B"}, {2, "shelf b, Box 3, top, top"}, {5, boxes.join(", ")}}},
        {CopyCellField::Status,
         {{1, "owned, ordered"}, {2, "wished, owned"}, {3, "owned"}, {4, "owned"}, {5, "owned"}}},
        {CopyCellField::Barcode, {{1, "96385074"}, {2, "4006381333931"}}},
    };
    for (const auto& [field, expected] : cases) {
        EXPECT_EQ(store.copyCells(field), expected) << int(field);
    }
    const Cells formats = store.copyCells(CopyCellField::Format);
    EXPECT_EQ(formats[1].constData(), formats[4].constData()); // equal cells share one string
    EXPECT_EQ(store.copyCountCells(), Cells({{1, "3"}, {2, "3"}, {3, "1"}, {4, "2"}, {5, "1101"}}));

    // Set names in the order of the sets, the same name once.
    store.makeSet({0, "Zeta", SetKind::Series, {}}, {1, 2});
    store.makeSet({0, "Alien", SetKind::Series, {}}, {1});
    store.makeSet({0, "Alien", SetKind::Series, {}}, {1, 2});
    store.makeSet({0, "alien", SetKind::Series, {}}, {2});
    EXPECT_EQ(store.setCells(), Cells({{1, "Alien, Zeta"}, {2, "Alien, Zeta, alien"}}));
    ASSERT_TRUE(catalogue.remove(QStringLiteral("2")));
    EXPECT_FALSE(store.copyCells(CopyCellField::Format).contains(2));
    EXPECT_FALSE(store.setCells().contains(2));
}

} // namespace
