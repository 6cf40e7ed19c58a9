// reelkeeper-cli run in-process on scratch catalogues: what it prints, what
// it refuses, and that it never changes a catalogue it cannot list.
#include "cli/cli_fixture.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const QByteArray kHeader = "id,title,year,genre,cast,director,runtime,rating,studio\r\n";

TEST_F(CliTest, ListsEveryMovieAsRfc4180CsvInTitleOrder) {
    const QString file = dirs.root() + QStringLiteral("/other.mdb");
    TempCatalogue::createCatalogue(file);
    TempCatalogue::addMovies(file,
                             {{"brazil", "1985", {}, "Pryce, De Niro", {}, {}, {}, "say \"hi\""},
                              {"Amélie 🎬", {}, {}, " =1+1 ", {}, {}, {}, "line\r\nbreak"},
                              {"Casino", "1995", {}, "", {}, {}, {}, "It's"}});
    const QByteArray expected = kHeader +
                                "2,Amélie 🎬,,, =1+1 ,,,,\"line\r\nbreak\"\r\n"
                                "1,brazil,1985,,\"Pryce, De Niro\",,,,\"say \"\"hi\"\"\"\r\n"
                                "3,Casino,1995,,,,,,It's\r\n";
    const QByteArray before = TempCatalogue::fileBytes(file);
    for (const QStringList& arguments :
         {QStringList{"--catalogue", file, "list"}, QStringList{"list", "--catalogue=" + file}}) {
        EXPECT_EQ(run(arguments), Cli::kExitDone) << errText().toStdString();
        EXPECT_EQ(out.data(), expected);
        EXPECT_TRUE(err.data().isEmpty());
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

// Without --catalogue the window's own catalogue is used, provided from the
// template on a first use exactly as the window's first start provides it.
TEST_F(CliTest, FirstUseProvidesTheWindowsCatalogueFromTheTemplate) {
    EXPECT_EQ(run({"list"}), Cli::kExitFailed);
    EXPECT_EQ(errText(),
              QStringLiteral("reelkeeper-cli: ") + dirs.templateFile() + " not found.\n");
    EXPECT_FALSE(QFile::exists(dirs.catalogueFile()));

    TempCatalogue::createCatalogue(dirs.templateFile());
    TempCatalogue::addTitles(dirs.templateFile(), {QStringLiteral("From the template")});
    EXPECT_EQ(run({"list"}), Cli::kExitDone) << errText().toStdString();
    EXPECT_EQ(out.data(), kHeader + "1,From the template,,,,,,,\r\n");
    EXPECT_EQ(TempCatalogue::rows(dirs.catalogueFile(), QStringLiteral("title")),
              QStringList{QStringLiteral("From the template")});
}

struct BadCatalogue {
    const char* name;
    std::function<void(const QString&)> make; // nothing made: the file is missing
    const char* message;
};

TEST_F(CliTest, ACatalogueThatCannotBeListedIsReportedAndNeverChanged) {
    const BadCatalogue bad[] = {
        {"missing", [](const QString&) {}, "unable to open database file"},
        {"not a database",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray("My movies:\nAlien\n").repeated(200));
         },
         "file is not a database"},
        {"without its table",
         [](const QString& path) {
             TempCatalogue::createCatalogue(path);
             TempCatalogue::exec(path, QStringLiteral("drop table dvd; create table notes (x)"));
         },
         "no such table: dvd"},
    };
    for (const BadCatalogue& kind : bad) {
        const QString file = dirs.root() + QStringLiteral("/%1.mdb").arg(QLatin1String(kind.name));
        kind.make(file);
        const QByteArray before = TempCatalogue::fileBytes(file);
        EXPECT_EQ(run({"list", "--catalogue", file}), Cli::kExitFailed) << kind.name;
        EXPECT_TRUE(out.data().isEmpty()) << kind.name;
        EXPECT_TRUE(errText().startsWith(QStringLiteral("reelkeeper-cli: ")));
        EXPECT_TRUE(errText().contains(QLatin1String(kind.message))) << errText().toStdString();
        EXPECT_EQ(TempCatalogue::fileBytes(file), before) << kind.name;
        EXPECT_EQ(QFile::exists(file), !before.isNull()) << kind.name;
    }
}

// Another program in the middle of a write: the list waits its while, then
// says the catalogue is locked. A catalogue the user may only read lists.
TEST_F(CliTest, ALockedCatalogueIsReportedAndAReadOnlyOneLists) {
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(file);
    TempCatalogue::addTitles(file, {QStringLiteral("Heat")});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    // Raw SQL: the point is another connection holding a write open.
    ASSERT_EQ(sqlite3_exec(other,
                           "begin exclusive; insert into dvd (title) values ('Half written')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(run({"--catalogue", file, "list"}), Cli::kExitFailed);
    EXPECT_TRUE(errText().contains(QStringLiteral("locked"))) << errText().toStdString();
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    const QByteArray before = TempCatalogue::fileBytes(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
    EXPECT_EQ(run({"--catalogue", file, "list"}), Cli::kExitDone) << errText().toStdString();
    EXPECT_EQ(out.data(), kHeader + "1,Heat,,,,,,,\r\n");
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

TEST_F(CliTest, TheCommandLineIsCheckedBeforeAnythingIsOpened) {
    struct Case {
        QStringList arguments;
        int status;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {{"--version"}, Cli::kExitDone, "reelkeeper-cli 1.0.0\n", ""},
        {{"--help"}, Cli::kExitDone, "  list ", ""},
        {{"list", "--help"}, Cli::kExitDone, "Usage: reelkeeper-cli list", ""},
        {{}, Cli::kExitNotUnderstood, "", "Usage: reelkeeper-cli"},
        {{"frob"}, Cli::kExitNotUnderstood, "", "there is no command 'frob'"},
        {{"--frob", "list"}, Cli::kExitNotUnderstood, "", "Unknown option '--frob'."},
        {{"list", "--frob"}, Cli::kExitNotUnderstood, "", "Unknown option '--frob'."},
        {{"list", "--frob=1"}, Cli::kExitNotUnderstood, "", "Unknown option '--frob'."},
        {{"list", "-q"}, Cli::kExitNotUnderstood, "", "Unknown option '-q'."},
        {{"list", "-qz"}, Cli::kExitNotUnderstood, "", "Unknown options: -q, -z."},
        {{"list", "extra"}, Cli::kExitNotUnderstood, "", "list takes no argument 'extra'"},
        {{"list", "--catalogue"}, Cli::kExitNotUnderstood, "", "Missing value after"},
        {{"export", "all.ods"},
         Cli::kExitNotUnderstood,
         "",
         "not 'all.ods'.\nSee 'reelkeeper-cli export --help'.\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(out.data().contains(c.out)) << out.data().toStdString();
        EXPECT_TRUE(errText().contains(QLatin1String(c.err))) << errText().toStdString();
        EXPECT_EQ(out.data().isEmpty(), *c.out == '\0');
    }
    EXPECT_FALSE(QFile::exists(dirs.catalogueFile())); // nothing was provided on the way
}

} // namespace
