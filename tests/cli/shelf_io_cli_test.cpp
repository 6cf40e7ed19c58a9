// Copies through reelkeeper-cli import and export: one row per copy, rows of
// one movie joined, values the shelf refuses skipped with the reason.
#include "cli/cli_fixture.h"
#include "core/catalogue/catalogue.h"
#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"
#include "support/qt_printers.h"

#include <QFile>

namespace {

const QString kListHeader = QStringLiteral("id,title,year,genre,cast,director,runtime,rating,"
                                           "studio,copy_id,format,edition,barcode,location,"
                                           "status\r\n");

class ShelfIoCliTest : public CliTest {
protected:
    // A new empty catalogue named `name` in the scratch folder.
    QString emptyCatalogue(const QString& name) {
        const QString path = dirs.root() + QLatin1Char('/') + name;
        TempCatalogue::createCatalogue(path);
        return path;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dirs.root() + QLatin1Char('/') + name;
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    // Each movie's eight fields and its copies, ids left out, in title order.
    static QStringList contents(const QString& path) {
        Catalogue catalogue;
        catalogue.open(path);
        ShelfStore store(catalogue);
        QStringList lines;
        for (const DvdRecord& movie : catalogue.movies()) {
            QStringList fields;
            for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
                fields << movie.field(i);
            }
            lines << fields.join(u'|');
            for (const ShelfCopy& copy : store.copies(movie.id.toLongLong())) {
                lines << QStringList{ShelfNames::name(copy.format),
                                     copy.edition,
                                     copy.barcode,
                                     QString::number(copy.discs),
                                     copy.location,
                                     copy.acquired.toString(Qt::ISODate),
                                     copy.price,
                                     copy.currency,
                                     copy.condition,
                                     copy.note,
                                     ShelfNames::name(copy.status)}
                             .join(u'|')
                             .prepend(QStringLiteral("  "));
            }
        }
        return lines;
    }
};

TEST_F(ShelfIoCliTest, ImportJoinsRowsOfAMovieAndSkipsRefusedCopiesWithTheReason) {
    struct Case {
        const char* name;
        QByteArray file;
        QStringList said; // lines the import prints, among others
        QString listed;   // list --copies afterwards, below its header
    };
    const std::vector<Case> cases = {
        {"two rows of one movie: one movie, two copies",
         "title,year,director,FORMAT,Edition,barcode,location,status,price,acquired\n"
         "Blade Runner,1982,Ridley Scott,dvd,,0036000291452,Shelf A,,\"12,5 EUR\",2024-03-14\n"
         "Alien,1979,Ridley Scott,,,,,,,\n"
         "Blade Runner,1982,Ridley Scott,Blu-ray,Final Cut,,Shelf B,wished,,\n",
         {"2 movies will be added.", "2 copies will be added with them."},
         "2,Alien,1979,,,Ridley Scott,,,,,,,,,\r\n"
         "1,Blade Runner,1982,,,Ridley Scott,,,,1,DVD,,0036000291452,Shelf A,owned\r\n"
         "1,Blade Runner,1982,,,Ridley Scott,,,,2,Blu-ray,Final Cut,,Shelf B,wished\r\n"},
        {"a wrong check digit and an unknown format: those rows alone skipped",
         "title,year,format,barcode\n"
         "Heat,1995,DVD,4006381333932\n"
         "Ronin,1998,Betamax,\n"
         "Alien,1979,VHS,4006381333931\n",
         {"1 movie will be added.",
          "2 rows with a copy's value the shelf does not take will be skipped.",
          "  Line 2: The barcode 4006381333932 ends in the check digit 2 where 1 belongs: a "
          "digit is wrong.",
          "  Line 3: 'Betamax' is not a format: DVD, Blu-ray, 4K UHD, VHS, LaserDisc, digital, "
          "other."},
         "1,Alien,1979,,,,,,,1,VHS,,4006381333931,,owned\r\n"},
        {"movies alike in all but their ids stay two",
         "id,title,year,format\n7,Solaris,1972,DVD\n7,Solaris,1972,VHS\n9,Solaris,1972,DVD\n",
         {"2 movies will be added.", "3 copies will be added with them."},
         "1,Solaris,1972,,,,,,,1,DVD,,,,owned\r\n1,Solaris,1972,,,,,,,2,VHS,,,,owned\r\n"
         "2,Solaris,1972,,,,,,,3,DVD,,,,owned\r\n"},
        {"no copy columns: every row a movie, as ever",
         "title,year,notes\nHeat,1995,x\nHeat,1995,x\n",
         {"2 movies will be added."},
         "1,Heat,1995,,,,,,,,,,,,\r\n2,Heat,1995,,,,,,,,,,,,\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = emptyCatalogue(QString::fromUtf8(c.name) + ".mdb");
        ASSERT_EQ(runOn(file, {"import", "--no-snapshot", write("in.csv", c.file)}), Cli::kExitDone)
            << qPrintable(errText());
        const QStringList said = outText().split(u'\n');
        for (const QString& line : c.said) {
            EXPECT_TRUE(said.contains(line)) << qPrintable(line) << "\n" << qPrintable(outText());
        }
        ASSERT_EQ(runOn(file, {"list", "--copies"}), Cli::kExitDone);
        EXPECT_EQ(outText(), kListHeader + c.listed);
    }
}

// Skipped look-alikes bring their copies to the movie already stored.
TEST_F(ShelfIoCliTest, SkippedLookAlikesBringTheirCopiesToTheMovieYouHave) {
    const struct {
        const char* name;
        QByteArray file;
        QStringList said; // lines the import prints, among others
        QString listed;   // list --copies afterwards, below its header
    } cases[] = {
        {"two rows of a look-alike and a new movie",
         "title,year,format,location\nblade runner,1982,Blu-ray,Shelf B\nAlien,1979,VHS,\n"
         "blade runner,1982,DVD,Box 3\n",
         {"1 movie will be added.", "1 copy will be added with them.",
          "2 copies will be added to the movies you have.", "Added 1 movie."},
         "2,Alien,1979,,,,,,,3,VHS,,,,owned\r\n"
         "1,Blade Runner,1982,,,,,,,1,Blu-ray,,,Shelf B,owned\r\n"
         "1,Blade Runner,1982,,,,,,,2,DVD,,,Box 3,owned\r\n"},
        {"only a look-alike: no movie added, its copy still joins",
         "title,year,format\nBLADE RUNNER,1982,4K UHD\n",
         {"1 copy will be added to the movies you have.", "Added 0 movies."},
         "1,Blade Runner,1982,,,,,,,1,4K UHD,,,,owned\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = emptyCatalogue(QString::fromUtf8(c.name) + ".mdb");
        TempCatalogue::addMovies(file, {{"Blade Runner", "1982"}});
        ASSERT_EQ(
            runOn(file, {"import", "--no-snapshot", "--skip-duplicates", write("in.csv", c.file)}),
            Cli::kExitDone)
            << qPrintable(errText());
        for (const QString& line : c.said) {
            EXPECT_TRUE(outText().split(u'\n').contains(line)) << qPrintable(outText());
        }
        ASSERT_EQ(runOn(file, {"list", "--copies"}), Cli::kExitDone);
        EXPECT_EQ(outText(), kListHeader + c.listed);
    }
}

TEST_F(ShelfIoCliTest, ExportWithCopiesImportsBackToTheSameMoviesAndCopies) {
    const QString file = emptyCatalogue("dbDVD.mdb");
    TempCatalogue::addMovies(file, {{"Blade Runner", "1982", "", "", "Ridley Scott"},
                                    {"Alien, \"the\" first", "1979", "", "", "Ridley Scott"},
                                    {"Blade Runner", "1982", "", "", "Ridley Scott"},
                                    {"Up", "2009"}});
    {
        Catalogue catalogue;
        catalogue.open(file);
        ShelfStore store(catalogue);
        ShelfCopy full;
        full.movieId = 1;
        full.format = CopyFormat::BluRay;
        full.edition = "Final Cut";
        full.barcode = "0036000291452";
        full.discs = 2;
        full.location = "Shelf B, left";
        full.acquired = QDate(2024, 3, 14);
        full.price = "1.234,5";
        full.currency = "EUR";
        full.condition = "mint";
        full.note = "signed\nby the crew";
        full.status = CopyStatus::Ordered;
        store.addCopy(full);
        for (const auto& [movie, format] : {std::pair{qint64(1), CopyFormat::Uhd4k},
                                            {qint64(2), CopyFormat::Vhs},
                                            {qint64(3), CopyFormat::Dvd},
                                            {qint64(3), CopyFormat::Dvd}}) {
            ShelfCopy copy;
            copy.movieId = movie;
            copy.format = format;
            copy.barcode = format == CopyFormat::Dvd ? "4006381333931" : "";
            store.addCopy(copy);
        }
        // An open loan goes out with its copy, and is not read back in.
        LoanStore loans(catalogue, [] { return QDate(2024, 1, 10); });
        loans.lend({2, 0, "Sam", LoanDirection::Lent, QDate(2024, 1, 2), QDate(2024, 2, 1), {}});
    }
    const QStringList before = contents(file);
    ASSERT_EQ(before.size(), 9);
    for (const char* kind : {"csv", "xlsx"}) {
        SCOPED_TRACE(kind);
        const QString exported = dirs.root() + "/out." + kind;
        ASSERT_EQ(runOn(file, {"export", exported, "--copies"}), Cli::kExitDone)
            << qPrintable(errText());
        EXPECT_EQ(outText(), QStringLiteral("Exported 4 movies to %1.\n").arg(exported));
        if (QByteArray(kind) == "csv") {
            QFile written(exported);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            EXPECT_TRUE(written.readAll().contains(",VHS,,,,owned,,,,,,,Sam,2024-02-01\r\n"));
        }
        const QString empty = emptyCatalogue(QStringLiteral("empty-%1.mdb").arg(kind));
        ASSERT_EQ(runOn(empty, {"import", "--no-snapshot", exported}), Cli::kExitDone)
            << qPrintable(errText());
        EXPECT_EQ(contents(empty), before);
    }
}

} // namespace
