// Covers kept in real catalogue files: the table appears with the first
// cover, follows its movie out through the trigger, and a damaged, locked or
// full catalogue stores nothing half and leaves the movies alone.
#include "core/catalogue/catalogue.h"
#include "core/covers/cover_store.h"
#include "core/covers/image_check.h"
#include "core/covers/image_header.h"
#include "core/report/failure.h"
#include "support/catalogue_internals.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

Cover cover(const QByteArray& bytes, int width = 300, int height = 450) {
    return Cover{bytes, width, height, QStringLiteral("jpeg")};
}

// The names of every table and trigger in the file.
QStringList schemaNames(const QString& file) {
    Catalogue catalogue;
    catalogue.open(file, Catalogue::Access::ReadOnly);
    Recordset rows;
    rows.open(QStringLiteral("select name from sqlite_master where name not like 'sqlite_%'"
                             " order by name"),
              CatalogueInternals::connection(catalogue));
    QStringList names;
    for (; !rows.atEnd(); rows.next()) {
        names << rows.value(QStringLiteral("name"));
    }
    return names;
}

class CoverStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addTitles(
            file, {QStringLiteral("Alien"), QStringLiteral("Brazil"), QStringLiteral("Casino")});
        catalogue.open(file);
    }

    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    Catalogue catalogue;
    CoverStore store{catalogue};
};

TEST_F(CoverStoreTest, ACatalogueWithoutCoversStaysAsTheTemplateMadeIt) {
    const QByteArray before = TempCatalogue::fileBytes(file);
    EXPECT_TRUE(store.ids().isEmpty());
    EXPECT_FALSE(store.get(1));
    EXPECT_FALSE(store.has(1));
    EXPECT_FALSE(store.remove(1));
    EXPECT_THROW(store.set(99, cover("x")), Failure);
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
    EXPECT_EQ(schemaNames(file), QStringList{QStringLiteral("dvd")});
}

TEST_F(CoverStoreTest, StoresReplacesAndRemovesTheBytesAsGiven) {
    const QByteArray image = CoverImages::jpegHeader(300, 450) + QByteArray("\0\xff\x01", 3);
    store.set(2, cover(image));
    EXPECT_EQ(schemaNames(file), (QStringList{"cover", "cover_follows_dvd", "dvd"}));
    const std::optional<Cover> stored = store.get(2);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, image);
    EXPECT_EQ(stored->width, 300);
    EXPECT_EQ(stored->height, 450);
    EXPECT_EQ(stored->format, QStringLiteral("jpeg"));

    store.set(2, Cover{QByteArray("png"), 10, 20, QStringLiteral("png")});
    EXPECT_EQ(store.get(2)->bytes, QByteArray("png"));
    EXPECT_EQ(store.ids(), QSet<qint64>{2});
    EXPECT_TRUE(store.remove(2));
    EXPECT_FALSE(store.has(2));
    EXPECT_FALSE(store.remove(2));
}

// The delete and clear statements stay as they are; the trigger takes the
// covers with the movies, and a later movie never inherits an old cover.
TEST_F(CoverStoreTest, DeletedMoviesTakeTheirCoversAndIdsAreNeverReused) {
    store.set(1, cover("one"));
    store.set(3, cover("three"));
    ASSERT_TRUE(catalogue.remove(QStringLiteral("3")));
    EXPECT_EQ(store.ids(), QSet<qint64>{1});
    DvdRecord movie;
    movie.title = QStringLiteral("Dune");
    catalogue.add(movie);
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("id")).last(), QStringLiteral("4"));
    EXPECT_FALSE(store.has(4));

    catalogue.clear();
    EXPECT_TRUE(store.ids().isEmpty());
    Recordset left;
    left.open(QStringLiteral("select count(*) as n from cover"),
              CatalogueInternals::connection(catalogue));
    EXPECT_EQ(left.value(QStringLiteral("n")), QStringLiteral("0"));
}

// An older file with a cover table but no trigger, and a cover whose movie
// is gone: the stray cover is never shown and goes with the next store.
TEST_F(CoverStoreTest, ACoverWithoutItsMovieIsIgnoredAndCleanedUp) {
    TempCatalogue::exec(file, QStringLiteral("create table cover (id integer primary key,"
                                             " width integer not null, height integer not null,"
                                             " format text not null, image blob not null);"
                                             "insert into cover values (7, 1, 1, 'png', x'00');"));
    EXPECT_TRUE(store.ids().isEmpty());
    EXPECT_FALSE(store.get(7));
    store.set(1, cover("one"));
    EXPECT_EQ(
        TempCatalogue::rows(file, QStringLiteral("(select group_concat(id) from cover)")).first(),
        QStringLiteral("1"));
    EXPECT_TRUE(schemaNames(file).contains(QStringLiteral("cover_follows_dvd")));
}

TEST_F(CoverStoreTest, ADamagedCoverTableFailsWithoutTouchingTheMovies) {
    TempCatalogue::exec(file, QStringLiteral("create table cover (something)"));
    EXPECT_THROW(store.ids(), Failure);
    EXPECT_THROW(store.set(1, cover("one")), Failure);
    EXPECT_EQ(catalogue.movies().size(), 3u);
}

TEST_F(CoverStoreTest, AFullDiskStoresNothingHalf) {
    store.set(1, cover("small"));
    const QByteArray before = TempCatalogue::fileBytes(file);
    // No page may be added to the file, as on a full disk.
    ASSERT_EQ(sqlite3_exec(CatalogueInternals::database(catalogue).handle(),
                           "pragma max_page_count = 1; pragma max_page_count", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_THROW(store.set(2, cover(QByteArray(256 * 1024, 'x'))), Failure);
    EXPECT_FALSE(store.has(2));
    EXPECT_EQ(store.get(1)->bytes, QByteArray("small"));
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
    EXPECT_EQ(TempCatalogue::quickCheck(file), QStringLiteral("ok"));
}

TEST_F(CoverStoreTest, AnotherInstanceHoldingTheFileDelaysThenRefusesWithoutHarm) {
    Catalogue other;
    other.open(file);
    CoverStore otherStore(other);
    otherStore.set(1, cover("from the other"));
    sqlite3_busy_timeout(CatalogueInternals::database(catalogue).handle(), 50);
    ASSERT_EQ(sqlite3_exec(CatalogueInternals::database(other).handle(), "begin immediate", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_THROW(store.set(2, cover("mine")), Failure);
    ASSERT_EQ(sqlite3_exec(CatalogueInternals::database(other).handle(), "commit", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    store.set(2, cover("mine"));
    EXPECT_EQ(otherStore.ids(), (QSet<qint64>{1, 2}));
}

struct HeaderCase {
    const char* name;
    QByteArray bytes;
    std::optional<ImageHeader> expected;
};

TEST(ImageHeaderTest, ReadsTheSizeOfJpegAndPngAndRefusesTheRest) {
    const QByteArray jpeg = CoverImages::jpegHeader(640, 480);
    const HeaderCase cases[] = {
        {"png", CoverImages::pngHeader(1200, 800), ImageHeader{"png", 1200, 800}},
        {"jpeg", jpeg, ImageHeader{"jpeg", 640, 480}},
        {"jpeg cut inside its frame", jpeg.left(jpeg.size() - 18), std::nullopt},
        {"png cut inside its header", CoverImages::pngHeader(1, 1).left(20), std::nullopt},
        {"png of no pixels", CoverImages::pngHeader(0, 5), std::nullopt},
        {"gif", QByteArray("GIF89a\x01\0\x01\0", 10), std::nullopt},
        {"text", QByteArray("not an image at all"), std::nullopt},
        {"empty", QByteArray(), std::nullopt},
    };
    for (const HeaderCase& c : cases) {
        const std::optional<ImageHeader> header = readImageHeader(c.bytes);
        ASSERT_EQ(header.has_value(), c.expected.has_value()) << c.name;
        if (header) {
            EXPECT_EQ(header->format, c.expected->format) << c.name;
            EXPECT_EQ(header->width, c.expected->width) << c.name;
            EXPECT_EQ(header->height, c.expected->height) << c.name;
        }
    }
}

// Without a decoder, a header and an end marker are not enough: the image
// data must be there and whole.
TEST(ImageCheckTest, TellsAWholeImageFromOneWhoseDataDoesNotDecode) {
    const QByteArray png = CoverImages::png(5, 3);
    QByteArray badCrc = png;
    badCrc[42] = char(badCrc[42] ^ 1); // a byte of the image data
    QByteArray rows(3 * (1 + 4 * 5), '\0');
    const QByteArray shortRows = rows.chopped(1);
    rows[0] = 7; // no such filter
    const QByteArray jpeg = CoverImages::jpeg(4, 4);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* format;
        bool whole;
    } cases[] = {
        {"png", png, "png", true},
        {"png with bytes after its end", png + "padding", "png", true},
        {"png of a header and no data", CoverImages::pngHeader(4, 4), "png", false},
        {"png with a wrong checksum", badCrc, "png", false},
        {"png with too little data", CoverImages::png(5, 3, shortRows), "png", false},
        {"png with an unknown filter", CoverImages::png(5, 3, rows), "png", false},
        {"png without its end", png.chopped(12), "png", false},
        {"jpeg", jpeg, "jpeg", true},
        {"jpeg without a scan", CoverImages::jpegHeader(4, 4), "jpeg", false},
        {"jpeg cut in its scan", jpeg.chopped(2), "jpeg", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(imageDataProblem(c.bytes, c.format).isEmpty(), c.whole)
            << c.name << ": " << imageDataProblem(c.bytes, c.format).toStdString();
    }
}

TEST(ImageHeaderTest, TellsAnImageCutShortFromAWholeOne) {
    const QByteArray png = CoverImages::pngHeader(4, 4);
    const QByteArray jpeg = CoverImages::jpegHeader(4, 4);
    EXPECT_TRUE(imageLooksComplete(png, "png"));
    EXPECT_TRUE(imageLooksComplete(jpeg + QByteArray(16, '\0'), "jpeg"));
    EXPECT_FALSE(imageLooksComplete(png.chopped(12), "png"));
    EXPECT_FALSE(imageLooksComplete(jpeg.chopped(2), "jpeg"));
    EXPECT_FALSE(imageLooksComplete(jpeg, "gif"));
}

} // namespace
