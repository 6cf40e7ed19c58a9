// reelkeeper-cli import and export: a round trip gives back every movie
// exactly, an import is all or nothing, and a snapshot comes first.
#include "cli/cli_fixture.h"
#include "import/workbook_builder.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kFields =
    QStringLiteral("title, year, genre, [cast], director, runtime, rating, studio");

class CliImportTest : public CliTest {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(source);
        TempCatalogue::createCatalogue(target);
    }
    QString path(const QString& name) const { return dirs.root() + QLatin1Char('/') + name; }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList snapshots() const {
        return QDir(dirs.root() + QStringLiteral("/backups")).entryList({"*-import.mdb"});
    }

    QString source = path(QStringLiteral("source.mdb"));
    QString target = path(QStringLiteral("dbDVD.mdb"));
};

class CliRoundTrip : public CliImportTest, public testing::WithParamInterface<const char*> {};

TEST_P(CliRoundTrip, ExportThenImportGivesBackTheSameEightFields) {
    TempCatalogue::addMovies(source,
                             {{"It's \"quoted\", [bracketed] -- ;%1", "1999", "Drama",
                               "line\nbreak", "שלום 🎬", "  padded  ", "PG-13", "=1+1"},
                              {"Plain", "", "", "", "", "", "", ""},
                              {"Tab\there", "0042", "x", "cr\r\nlf", "", "120", "R", "_x000D_"}});
    const QString file = path(QStringLiteral("movies.") + GetParam());
    ASSERT_EQ(run({"--catalogue", source, "export", file}), Cli::kExitDone)
        << errText().toStdString();
    EXPECT_TRUE(outText().startsWith(QStringLiteral("Exported 3 movies to ")));
    ASSERT_EQ(run({"--catalogue", target, "import", file}), Cli::kExitDone)
        << errText().toStdString();
    EXPECT_TRUE(outText().contains(QStringLiteral("3 movies will be added.")));
    EXPECT_TRUE(outText().endsWith(QStringLiteral("Added 3 movies.\n")));
    EXPECT_EQ(TempCatalogue::rows(target, kFields), TempCatalogue::rows(source, kFields));
    EXPECT_EQ(snapshots().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, CliRoundTrip, testing::Values("csv", "xlsx"));

TEST_F(CliImportTest, TheCsvExportIsWhatListPrints) {
    TempCatalogue::addMovies(source, {{"b, \"x\"", {}, {}, {}, {}, {}, {}, "line\nbreak"},
                                      {"A", {}, {}, {}, {}, {}, {}, "It's"}});
    ASSERT_EQ(run({"--catalogue", source, "list"}), Cli::kExitDone);
    const QByteArray listed = out.data();
    ASSERT_EQ(run({"--catalogue", source, "export", path("list.csv")}), Cli::kExitDone);
    QFile file(path("list.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), listed);
}

TEST_F(CliImportTest, AnExportToAnotherKindOfFileIsAUsageError) {
    const QString file = path(QStringLiteral("list.txt"));
    ASSERT_EQ(run({"--catalogue", source, "export", file}), Cli::kExitNotUnderstood);
    EXPECT_EQ(errText(), QStringLiteral("reelkeeper-cli: export writes a .csv or .xlsx file, not "
                                        "'%1'.\nSee 'reelkeeper-cli export --help'.\n")
                             .arg(file));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(CliImportTest, LookAlikesAreSkippedWhenAsked) {
    TempCatalogue::addMovies(target, {{"Heat", "1995"}});
    writeFile("list.csv", "Title,Year,Notes\nHEAT,1995,dup\nHeat,1986,other\n,2000,no title\n");
    ASSERT_EQ(run({"--catalogue", target, "import", "--skip-duplicates", path("list.csv")}),
              Cli::kExitDone)
        << errText().toStdString();
    EXPECT_EQ(outText(), QStringLiteral("list.csv (CSV):\n"
                                        "1 movie will be added.\n"
                                        "1 row without a title will be skipped.\n"
                                        "  Line 4: no title\n"
                                        "1 look-alike (same title and year as a movie already in "
                                        "the catalogue) will be skipped.\n"
                                        "Ignored columns: Notes.\n"
                                        "Added 1 movie.\n"));
    EXPECT_EQ(TempCatalogue::rows(target, QStringLiteral("title, year")),
              QStringList({"Heat|1995", "Heat|1986"}));
}

QByteArray sheetOf(const QByteArray& name, const QByteArray& title, const QByteArray& year) {
    const QByteArray cell = "<table:table-cell office:value-type=\"string\"><text:p>";
    return "<table:table table:name=\"" + name + "\"><table:table-row>" + cell +
           "Title</text:p></table:table-cell>" + cell +
           "Year</text:p></table:table-cell></table:table-row><table:table-row>" + cell + title +
           "</text:p></table:table-cell>" + year +
           "</table:table-row><table:table-row table:number-rows-repeated=\"1048574\">"
           "<table:table-cell table:number-columns-repeated=\"1024\"/></table:table-row>"
           "</table:table>";
}

// A spreadsheet of several sheets: the first with data is read and the
// others named, --sheet reads another, and a name not there is refused.
TEST_F(CliImportTest, ASheetOfASpreadsheetIsChosenByName) {
    const QByteArray year = "<table:table-cell office:value-type=\"float\" office:value=\"1979\">"
                            "<text:p>1979</text:p></table:table-cell>";
    const QByteArray unsaved = "<table:table-cell table:formula=\"of:=1990+5\"/>";
    writeFile("list.ods",
              makeSpreadsheet("<table:table table:name=\"Blank\"/>" +
                              sheetOf("Films", "Alien", year) + sheetOf("Old", "Heat", unsaved)));
    const QString file = path("list.ods");

    ASSERT_EQ(run({"--catalogue", target, "import", "--sheet", "Gone", file}),
              Cli::kExitNotUnderstood);
    EXPECT_EQ(errText(), QStringLiteral("reelkeeper-cli: %1: The workbook has no sheet \"Gone\" "
                                        "with data; its sheets with data are \"Films\", \"Old\".\n"
                                        "See 'reelkeeper-cli import --help'.\n")
                             .arg(file));

    ASSERT_EQ(run({"--catalogue", target, "import", file}), Cli::kExitDone)
        << errText().toStdString();
    EXPECT_EQ(outText(), QStringLiteral("list.ods (OpenDocument spreadsheet (sheet \"Films\")):\n"
                                        "1 movie will be added.\n"
                                        "Read the sheet \"Films\"; the workbook also has \"Old\".\n"
                                        "(--sheet NAME reads another sheet.)\n"
                                        "Added 1 movie.\n"));

    ASSERT_EQ(run({"--catalogue", target, "import", "--sheet", "Old", file}), Cli::kExitDone)
        << errText().toStdString();
    EXPECT_EQ(outText(), QStringLiteral("list.ods (OpenDocument spreadsheet (sheet \"Old\")):\n"
                                        "0 movies will be added.\n"
                                        "Row 2: formulas without saved values \u2014 open and save "
                                        "the file in a spreadsheet program first\n"
                                        "Read the sheet \"Old\"; the workbook also has \"Films\".\n"
                                        "Added 0 movies.\n"));
    EXPECT_EQ(TempCatalogue::rows(target, QStringLiteral("title, year")),
              QStringList({"Alien|1979"}));
}

// Whatever stops an import, the catalogue is left exactly as it was and the
// message says why, with the line where that applies.
TEST_F(CliImportTest, AFailedImportChangesNothing) {
    TempCatalogue::addTitles(target, {QStringLiteral("Kept")});
    writeFile("good.csv", "title\nNew one\nNew two\n");
    writeFile("broken.csv", "title,year\nFine,2001\n\"Unterminated,2002\n");
    writeFile("nul.csv", QByteArray("title\nok\nbad\0value\n", 20));
    const QByteArray before = TempCatalogue::checksum(target);

    struct Case {
        const char* name;
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {"unterminated quote", {"import", path("broken.csv")}, "Line 3"},
        {"NUL in a value", {"import", path("nul.csv")}, "Line 3"},
        {"missing file", {"import", path("gone.csv")}, "gone.csv"},
        {"no file named", {"import"}, "import needs the argument FILE"},
    };
    for (const Case& c : cases) {
        EXPECT_NE(run(QStringList{"--catalogue", target} + c.arguments), Cli::kExitDone) << c.name;
        EXPECT_TRUE(errText().contains(QLatin1String(c.message))) << errText().toStdString();
    }

    // Another program holds the catalogue.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(target.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(run({"--catalogue", target, "import", "--no-snapshot", path("good.csv")}),
              Cli::kExitFailed);
    EXPECT_TRUE(errText().contains(QStringLiteral("locked"))) << errText().toStdString();
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    // The second movie fails once the first is stored (as on a full disk).
    TempCatalogue::exec(target, QStringLiteral("create trigger full before insert on dvd when "
                                               "new.title = 'New two' begin select "
                                               "raise(abort, 'database or disk is full'); end"));
    EXPECT_EQ(run({"--catalogue", target, "import", "--no-snapshot", path("good.csv")}),
              Cli::kExitFailed);
    EXPECT_TRUE(errText().contains(QStringLiteral("disk is full"))) << errText().toStdString();
    EXPECT_EQ(TempCatalogue::checksum(target), before);
    EXPECT_TRUE(snapshots().isEmpty());
}

// The file-size limit (as a full disk) stops an import while it commits:
// the catalogue is rolled back whole before the command ends, so no journal
// is left behind and the next command reads it.
TEST_F(CliImportTest, AFullDiskWhileImportingLeavesTheCatalogueAsItWas) {
    QByteArray list = "title,cast\n";
    for (int n = 0; n < 3000; ++n) {
        list += "Movie " + QByteArray::number(n) + ',' + QByteArray(300, char('a' + n % 26)) + '\n';
    }
    writeFile("large.csv", list);
    const QByteArray before = TempCatalogue::fileBytes(target);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit almostFull{256 * 1024, 256 * 1024};
        setrlimit(RLIMIT_FSIZE, &almostFull);
        const int status =
            run({"--catalogue", target, "import", "--no-snapshot", path("large.csv")});
        _exit(status == Cli::kExitFailed && errText().contains(QStringLiteral("full")) ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("-journal")));
    EXPECT_EQ(TempCatalogue::fileBytes(target), before);
    EXPECT_EQ(runOn(target, {"list"}), Cli::kExitDone) << errText().toStdString();
}

// A program killed in the middle of a change leaves its journal beside the
// catalogue; a command that only reads undoes it first instead of failing.
TEST_F(CliImportTest, AChangeCutShortIsUndoneBeforeACommandReads) {
    QList<QStringList> movies;
    for (int i = 1; i <= 2000; ++i) {
        movies.append({QStringLiteral("Movie %1").arg(i), {}, {}, QString(300, u'a')});
    }
    TempCatalogue::addMovies(target, movies);
    ASSERT_EQ(runOn(target, {"list"}), Cli::kExitDone);
    const QByteArray listed = out.data();
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(target).constData(), &db);
        // A tiny cache spills the changed pages into the file before the end.
        sqlite3_exec(db, "pragma cache_size = 2; begin; update dvd set cast = 'changed';", nullptr,
                     nullptr, nullptr);
        _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(QFile::exists(target + QStringLiteral("-journal")));
    EXPECT_EQ(runOn(target, {"list"}), Cli::kExitDone) << errText().toStdString();
    EXPECT_EQ(out.data(), listed);
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("-journal")));
}

// No name, symbolic link or hard link leads a command that writes a file
// onto the catalogue it has open.
TEST_F(CliImportTest, NothingIsWrittenOntoTheOpenCatalogue) {
    TempCatalogue::addTitles(source, {QStringLiteral("Kept")});
    writeFile("cover.png", CoverImages::png(2, 2));
    ASSERT_EQ(runOn(source, {"cover", "set", "1", path("cover.png")}), Cli::kExitDone);
    ASSERT_TRUE(QFile::link(source, path("link.csv")));
    ASSERT_EQ(::link(QFile::encodeName(source).constData(),
                     QFile::encodeName(path("hard.xlsx")).constData()),
              0);
    const QByteArray before = TempCatalogue::fileBytes(source);
    const QStringList commands[] = {
        {"export", path("link.csv")}, {"export", path("hard.xlsx")}, {"cover", "get", "1", source}};
    for (const QStringList& command : commands) {
        EXPECT_EQ(runOn(source, command), Cli::kExitFailed) << command.join(' ').toStdString();
        EXPECT_TRUE(errText().contains(QStringLiteral("is the open catalogue file")))
            << errText().toStdString();
    }
    EXPECT_EQ(runOn(source, {"export", source}), Cli::kExitNotUnderstood); // not a .csv or .xlsx
    EXPECT_EQ(TempCatalogue::fileBytes(source), before);
}

// A FIFO or a device is refused at once, never read or waited on.
TEST_F(CliImportTest, OnlyRegularFilesAreRead) {
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo.csv")).constData(), 0600), 0);
    const struct {
        QStringList command;
        const char* message;
    } cases[] = {
        {{"import", path("fifo.csv")}, "fifo.csv is a FIFO (named pipe), not a regular file."},
        {{"import", "/dev/null"}, "/dev/null is a device, not a regular file."},
        {{"restore", path("fifo.csv")}, "fifo.csv is a FIFO (named pipe), not a regular file."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runOn(target, c.command), Cli::kExitFailed) << c.message;
        EXPECT_TRUE(errText().contains(QLatin1String(c.message))) << errText().toStdString();
    }
}

TEST_F(CliImportTest, NoImportWithoutASnapshotUnlessToldSo) {
    writeFile("backups", "a file where the snapshot folder should be");
    writeFile("good.csv", "title\nNew one\n");
    const QByteArray before = TempCatalogue::checksum(target);
    EXPECT_EQ(run({"--catalogue", target, "import", path("good.csv")}), Cli::kExitFailed);
    EXPECT_TRUE(errText().contains(QStringLiteral("No snapshot of the catalogue could be made")))
        << errText().toStdString();
    EXPECT_EQ(TempCatalogue::checksum(target), before);

    EXPECT_EQ(run({"--catalogue", target, "import", "--no-snapshot", path("good.csv")}),
              Cli::kExitDone)
        << errText().toStdString();
    EXPECT_EQ(TempCatalogue::rows(target, QStringLiteral("title")), QStringList{"New one"});
}

// The person chooses the columns: by header text or position, a file without
// a header, runtimes in minutes. A choice that cannot hold is a usage error
// and changes nothing.
TEST_F(CliImportTest, ColumnsAreChosenOnTheCommandLine) {
    writeFile("site.csv", "Name,Running Time,Notes,Other\nAlien,117 min,scary,Heat\n,,,\n");
    writeFile("bare.csv", "1979,Alien,117\n");
    const struct {
        QStringList options;
        const char* file;
        QString stored; // title|year|runtime
    } cases[] = {
        {{}, "site.csv", "Alien||117 min"},
        {{"--runtime-minutes"}, "site.csv", "Alien||1:57"},
        {{"--map", "other = Title", "--map", "3=year"}, "site.csv", "Heat|scary|117 min"},
        {{"--map", "name=ignore", "--map", "4=title"}, "site.csv", "Heat||117 min"},
        {{"--no-header", "--map", "2=title", "--map", "1=year"}, "bare.csv", "Alien|1979|"},
    };
    for (const auto& c : cases) {
        TempCatalogue::exec(target, QStringLiteral("delete from dvd"));
        ASSERT_EQ(run(QStringList{"--catalogue", target, "import", "--no-snapshot"} + c.options +
                      QStringList{path(c.file)}),
                  Cli::kExitDone)
            << errText().toStdString();
        EXPECT_EQ(TempCatalogue::rows(target, QStringLiteral("title, year, runtime")),
                  QStringList{c.stored})
            << c.options.join(' ').toStdString();
    }
    const QByteArray before = TempCatalogue::checksum(target);
    const struct {
        QStringList options;
        const char* message;
    } refused[] = {
        {{"--map", "Runtime=length"}, "\"length\" is no field"},
        {{"--map", "runtime"}, "--map takes COLUMN=FIELD"},
        {{"--map", "Runtime=runtime"}, "No column is named \"Runtime\""},
        {{"--map", "5=year"}, "There is no column 5: the file has 4 columns."},
        {{"--no-header", "--map", "Name=title"}, "can only be chosen by its position"},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(run(QStringList{"--catalogue", target, "import"} + c.options +
                      QStringList{path("site.csv")}),
                  Cli::kExitNotUnderstood)
            << c.message;
        EXPECT_TRUE(errText().contains(QLatin1String(c.message))) << errText().toStdString();
    }
    EXPECT_EQ(TempCatalogue::checksum(target), before);
    EXPECT_TRUE(snapshots().isEmpty());
}

} // namespace
