// reelkeeper-cli copy, scan, sets, duplicates and list --copies on real
// catalogue files.
#include "cli/cli_fixture.h"
#include "core/catalogue/catalogue.h"
#include "core/shelf/shelf_store.h"
#include "support/qt_printers.h"

namespace {

class ShelfCliTest : public CliTest {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addMovies(file, {{"Blade Runner", "1982", "", "", "Ridley Scott"},
                                        {"Alien", "1979", "", "", "Ridley Scott"},
                                        {"Blade runner", "1982", "", "", "Ridley Scott"}});
    }
    int run(const QStringList& arguments) { return runOn(file, arguments); }

    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

TEST_F(ShelfCliTest, AddsListsScansAndRemovesCopies) {
    ASSERT_EQ(run({"copy", "--help"}), Cli::kExitDone);
    EXPECT_TRUE(outText().contains("DVD, Blu-ray, 4K UHD, VHS, LaserDisc, digital, other"));
    EXPECT_TRUE(outText().contains("owned|ordered|wished"));
    ASSERT_EQ(run({"copy", "add", "1", "--format", "blu-RAY", "--edition", "Final Cut", "--barcode",
                   "0036000291452", "--location", "Shelf B"}),
              Cli::kExitDone)
        << qPrintable(errText());
    EXPECT_EQ(outText(), "1\n");
    ASSERT_EQ(run({"copy", "add", "1", "--format", "4k uhd", "--status", "wished"}),
              Cli::kExitDone);
    EXPECT_EQ(outText(), "2\n");

    ASSERT_EQ(run({"copy", "list", "1"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "copy_id,format,edition,barcode,discs,location,acquired,price,"
                         "condition,status,note\r\n"
                         "1,Blu-ray,Final Cut,0036000291452,,Shelf B,,,,owned,\r\n"
                         "2,4K UHD,,,,,,,,wished,\r\n");
    // A UPC-A scanned without its leading zero finds the same disc.
    ASSERT_EQ(run({"scan", "036000291452"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "Blade Runner: Blu-ray, Final Cut, Shelf B\n");

    ASSERT_EQ(run({"list", "--copies"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "id,title,year,genre,cast,director,runtime,rating,studio,"
                         "copy_id,format,edition,barcode,location,status\r\n"
                         "2,Alien,1979,,,Ridley Scott,,,,,,,,,\r\n"
                         "1,Blade Runner,1982,,,Ridley Scott,,,,1,Blu-ray,Final Cut,"
                         "0036000291452,Shelf B,owned\r\n"
                         "1,Blade Runner,1982,,,Ridley Scott,,,,2,4K UHD,,,,wished\r\n"
                         "3,Blade runner,1982,,,Ridley Scott,,,,,,,,,\r\n");

    ASSERT_EQ(run({"copy", "remove", "2"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(run({"copy", "remove", "2"}), Cli::kExitFailed);
    EXPECT_EQ(errText(), "reelkeeper-cli: There is no copy with the id 2.\n");
}

TEST_F(ShelfCliTest, RefusesWhatItCannotDoAndChangesNothing) {
    const QByteArray before = TempCatalogue::fileBytes(file);
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{"copy", "add", "1"}, Cli::kExitNotUnderstood, "copy add needs --format F."},
        {{"copy", "add", "1", "--format", "Betamax"}, Cli::kExitNotUnderstood, "not a format"},
        {{"copy", "add", "1", "--format", "DVD", "--barcode", "4006381333932"},
         Cli::kExitNotUnderstood,
         "check digit 2 where 1 belongs"},
        {{"copy", "add", "1", "--format", "DVD", "--status", "lent"},
         Cli::kExitNotUnderstood,
         "not a status"},
        {{"copy", "add", "9", "--format", "DVD"}, Cli::kExitFailed, "no movie with the id 9"},
        {{"copy", "list", "1", "--format", "DVD"}, Cli::kExitNotUnderstood, "takes no --format"},
        {{"copy", "list", "9"}, Cli::kExitFailed, "no movie with the id 9"},
        {{"copy", "remove", "x"}, Cli::kExitNotUnderstood, "'x' is not a copy id."},
        {{"copy", "lend", "1"}, Cli::kExitNotUnderstood, "copy has no action 'lend'."},
        {{"scan", "03600029145"}, Cli::kExitNotUnderstood, "has 11 digits"},
        {{"scan", "40063813339a1"}, Cli::kExitNotUnderstood, "digits only"},
        {{"scan", "4006381333931"}, Cli::kExitFailed, "4006381333931 is not in the catalogue."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << qPrintable(c.arguments.join(QLatin1Char(' ')));
        EXPECT_TRUE(errText().contains(QLatin1String(c.message))) << qPrintable(errText());
        EXPECT_TRUE(outText().isEmpty()) << qPrintable(c.arguments.join(QLatin1Char(' ')));
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

TEST_F(ShelfCliTest, ListsSetsAndDuplicates) {
    {
        Catalogue catalogue;
        catalogue.open(file);
        ShelfStore store(catalogue);
        ShelfCopy copy;
        copy.movieId = 2;
        store.addCopy(copy);
        store.makeSet({0, "Scott", SetKind::Series, {}}, {2, 1});
    }
    ASSERT_EQ(run({"sets"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "set_id,set,kind,barcode,position,id,title,copy_id,missing\r\n"
                         "1,Scott,series,,1,2,Alien,,\r\n"
                         "1,Scott,series,,2,1,Blade Runner,,yes\r\n");
    ASSERT_EQ(run({"duplicates"}), Cli::kExitDone) << qPrintable(errText());
    EXPECT_EQ(outText(), "group,match,barcode,id,title,year,director\r\n"
                         "1,title,,1,Blade Runner,1982,Ridley Scott\r\n"
                         "1,title,,3,Blade runner,1982,Ridley Scott\r\n");
}

} // namespace
