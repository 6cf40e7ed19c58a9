#include "core/import/import_file.h"
#include "core/import/import_plan.h"
#include "core/import/import_store.h"
#include "core/shelf/shelf_store.h"
#include "import_support.h"
#include "support/temp_catalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

DvdRecord movie(const QString& title, const QString& year) {
    DvdRecord record;
    record.title = title;
    record.year = year;
    return record;
}

ImportPlan planOf(const QByteArray& text, const std::vector<DvdRecord>& existing = {},
                  const ImportProgress& progress = {}) {
    return planImport(*textReader(text), existing, progress);
}

TEST(ImportPlan, MapsColumnsByHeaderAndCountsSkipsAndLookAlikes) {
    const ImportPlan plan = planOf("ID, Title ,\" Year\",MPAA Rating,Notes,,title,Studio\n"
                                   "7,Heat,1995,R,good,x,Second title,Warner\n"
                                   ",,,,only a note\n"
                                   ",,,,,,,\n"
                                   "8,HEAT,1995\n"
                                   "9,Heat,1986\n"
                                   "10,  ,2000\n",
                                   {movie("heat", "1995"), movie("Other", "1995")});
    EXPECT_EQ(plan.formatName, "CSV");
    EXPECT_EQ(plan.ignoredColumns, (QStringList{"ID", "Notes", "column 6", "title"}));
    ASSERT_EQ(plan.movies.size(), 3u);
    const DvdRecord first = plan.movies[0].movie();
    EXPECT_EQ(
        QStringList({first.id, first.title, first.year, first.rating, first.studio, first.genre}),
        QStringList({"", "Heat", "1995", "R", "Warner", ""}));
    EXPECT_EQ(plan.movies[1].number(), 5);
    EXPECT_EQ(plan.looksLikeExistingCount, 2);
    EXPECT_TRUE(plan.movies[1].looksLikeExisting());
    EXPECT_FALSE(plan.movies[2].looksLikeExisting());
    EXPECT_EQ(plan.skippedCount, 2); // the blank line is no row at all
    ASSERT_EQ(plan.skipped.size(), 2u);
    EXPECT_EQ(plan.skipped[0].number, 3);
    EXPECT_EQ(plan.skipped[1].number, 7);
    EXPECT_EQ(plan.skipped[1].reason, "no title");
    EXPECT_EQ(plan.moviesToAdd(false).size(), 3u);
    const std::vector<DvdRecord> kept = plan.moviesToAdd(true);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].year, "1986");
    EXPECT_EQ(plan.addCount(true), 1);
    const std::vector<DvdRecord> preview = plan.firstMovies(2, false);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[1].title, "HEAT");
    EXPECT_EQ(plan.firstMovies(2, true).front().year, "1986");
}

TEST(ImportPlan, TheClipboardCopyMapsTheIdAndTheEightFieldsInOrder) {
    const ImportPlan plan =
        planOf("1 \tHeat \t1995\tCrime\tAl\tMann\t170\tR\tWarner\r\n12\tAlien\r\n");
    ASSERT_EQ(plan.movies.size(), 2u);
    const DvdRecord heat = plan.movies[0].movie();
    EXPECT_EQ(QStringList({heat.title, heat.year, heat.genre, heat.cast, heat.director,
                           heat.runtime, heat.rating, heat.studio}),
              QStringList({"Heat", "1995", "Crime", "Al", "Mann", "170", "R", "Warner"}));
    EXPECT_TRUE(heat.id.isEmpty());
    EXPECT_EQ(plan.ignoredColumns, QStringList{"ID"});
}

TEST(ImportPlan, RefusesAFileWithoutTitlesOrMovies) {
    const ImportFailure noTitle = failureOf([] { planOf("\n\nnom,an\nHeat,1995\n"); });
    EXPECT_EQ(noTitle.problem(), ImportProblem::NoTitleColumn);
    EXPECT_EQ(noTitle.line(), 3);
    EXPECT_EQ(noTitle.description(), "Line 3: no column is named \"title\", so the movies cannot "
                                     "be told apart. The first row names: \"nom\", \"an\".");
    EXPECT_EQ(failureOf([] { planOf("title,year\r\n\r\n,\r\n"); }).problem(),
              ImportProblem::NoMovies);
}

TEST(ImportPlan, RefusesAFileWithMoreRowsThanTheCap) {
    // Blank lines count: they cost reading time as much as movies do.
    const ImportFailure failure =
        failureOf([] { planImport(*textReader("title\nHeat\n\n\nAlien\n"), {}, {}, {.rows = 3}); });
    EXPECT_EQ(failure.problem(), ImportProblem::RowCap);
    EXPECT_EQ(failure.line(), 4);
    EXPECT_TRUE(failure.description().contains("more than 3 rows"))
        << failure.description().toStdString();
}

TEST(ImportPlan, CancellingStopsTheReading) {
    QByteArray text = "title\n";
    for (int n = 0; n < 5000; ++n) {
        text += "Movie " + QByteArray::number(n) + '\n';
    }
    int calls = 0;
    const ImportFailure failure = failureOf([&] {
        planOf(text, {}, [&](qint64 done, qint64 total) {
            EXPECT_LE(done, total);
            return ++calls < 2;
        });
    });
    EXPECT_EQ(failure.problem(), ImportProblem::Cancelled);
    EXPECT_EQ(calls, 2);
}

// Formulas written by a script carry no result: their rows are named, the
// rest is planned.
TEST(ImportPlan, NamesTheRowsWithFormulasWithoutSavedValues) {
    const QByteArray xlsx = makeWorkbook(
        "<row r=\"1\"><c t=\"inlineStr\"><is><t>Title</t></is></c><c t=\"inlineStr\"><is>"
        "<t>Year</t></is></c></row><row r=\"2\"><c t=\"inlineStr\"><is><t>Heat</t></is></c>"
        "<c><f>1990+5</f><v>1995</v></c></row><row r=\"10\"><c t=\"inlineStr\"><is><t>Alien"
        "</t></is></c><c><f>1970+9</f></c></row><row r=\"11\"><c r=\"B11\"><f>1+1</f></c></row>");
    const QByteArray cell = "<table:table-cell office:value-type=\"string\"><text:p>";
    const QByteArray ods = makeSpreadsheet(
        "<table:table table:name=\"Movies\"><table:table-row>" + cell +
        "Title</text:p></table:table-cell>" + cell +
        "Year</text:p></table:table-cell></table:table-row><table:table-row>" + cell +
        "Heat</text:p></table:table-cell><table:table-cell table:formula=\"of:=1990+5\" "
        "office:value-type=\"float\" office:value=\"1995\"><text:p>1995</text:p>"
        "</table:table-cell></table:table-row><table:table-row table:number-rows-repeated=\"7\">"
        "<table:table-cell/></table:table-row><table:table-row>" +
        cell +
        "Alien</text:p></table:table-cell><table:table-cell table:formula=\"of:=1970+9\"/>"
        "</table:table-row><table:table-row><table:table-cell/><table:table-cell "
        "table:formula=\"of:=1+1\"/></table:table-row></table:table>");
    const std::unique_ptr<RowReader> readers[] = {workbookReader(xlsx), spreadsheetReader(ods)};
    for (const auto& reader : readers) {
        const ImportPlan plan = planImport(*reader, std::vector<DvdRecord>{});
        EXPECT_EQ(plan.movies.size(), 1U);
        EXPECT_EQ(plan.unsavedFormulaRows, (std::vector<qint64>{10, 11}));
        EXPECT_TRUE(planSummary(plan, false)
                        .contains(QStringLiteral("Row 10: formulas without saved values \u2014 "
                                                 "open and save the file in a spreadsheet "
                                                 "program first")))
            << planSummary(plan, false).join('\n').toStdString();
    }
}

TEST(ImportPlan, ReadsTheFirstSheetOfAWorkbookWithDataAndNamesTheOthers) {
    const QByteArray book = makeWorkbookOfSheets(
        {{"Notes", "<row r=\"1\"><c r=\"A1\" s=\"1\"/></row>"},
         {"Films", "<row r=\"1\"><c t=\"inlineStr\"><is><t>Title</t></is></c></row><row "
                   "r=\"2\"><c t=\"inlineStr\"><is><t>Heat</t></is></c></row>"},
         {"Old", "<row r=\"1\"><c t=\"inlineStr\"><is><t>Title</t></is></c></row><row "
                 "r=\"2\"><c t=\"inlineStr\"><is><t>Alien</t></is></c></row>"}});
    const ImportPlan first = planImport(*workbookReader(book), std::vector<DvdRecord>{});
    EXPECT_EQ(first.formatName, QStringLiteral("workbook (sheet \"Films\")"));
    EXPECT_EQ(first.sheetNames, QStringList({"Films", "Old"}));
    EXPECT_TRUE(planSummary(first, false)
                    .contains(QStringLiteral("Read the sheet \"Films\"; the workbook also has "
                                             "\"Old\".")));
    const ImportPlan old = planImport(*workbookReader(book, {}, "Old"), std::vector<DvdRecord>{});
    EXPECT_EQ(old.firstMovies(5, false).at(0).title, QStringLiteral("Alien"));
    EXPECT_EQ(failureOf([&] { workbookReader(book, {}, "Notes"); }).problem(),
              ImportProblem::NoSuchSheet);
}

TEST(ImportFile, RefusesFilesThatAreNoListBeforeReadingThem) {
    QTemporaryDir folder;
    const auto write = [&](const QString& name, const QByteArray& bytes, qint64 size = -1) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        if (size >= 0) {
            EXPECT_TRUE(file.resize(size)); // sparse: takes no room on disk
        }
        return file.fileName();
    };
    const struct {
        QString path;
        ImportProblem problem;
    } cases[] = {
        {write("huge.csv", "title\n", qint64(2) << 30), ImportProblem::TooLarge},
        {write("empty.csv", ""), ImportProblem::Empty},
        {write("picture.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06"
                                         "\0\0\0\x1f\xf3\xff"
                                         "a",
                                         33)),
         ImportProblem::NotText},
        {write("archive.xlsx", makeZip({{"readme.txt", "hello"}})), ImportProblem::NotAWorkbook},
        {write("archive.ods", makeZip({{"readme.txt", "hello"}})), ImportProblem::NotAWorkbook},
        {folder.filePath("missing.csv"), ImportProblem::CannotRead},
    };
    for (const auto& c : cases) {
        const ImportFailure failure = failureOf([&] { planImportFile(c.path, {}); });
        EXPECT_EQ(failure.problem(), c.problem) << failure.description().toStdString();
    }
    EXPECT_TRUE(failureOf([&] { planImportFile(cases[0].path, {}); })
                    .description()
                    .startsWith("The file is 2.0 GB; files larger than 256 MB are not imported."));
}

} // namespace

TEST(ImportPlan, NamesTheLookAlikesAndTheMoviesTheyLookLike) {
    const ImportPlan plan = planOf("title,year\nAmelie,2001\nHeat,1986\nAMÉLIE,2001\nhEAT,\n",
                                   {movie("Amélie", "2001"), movie("Heat", "")});
    EXPECT_EQ(
        lookAlikeLines(plan),
        QStringList({"The look-alikes:", "  Line 2: \"Amelie\" (2001) looks like \"Amélie\" (2001)",
                     "  Line 4: \"AMÉLIE\" (2001) looks like \"Amélie\" (2001)",
                     "  Line 5: \"hEAT\" looks like \"Heat\""}));

    QByteArray many = "title\n";
    for (int n = 0; n < 102; ++n) {
        many += "Heat\n";
    }
    const ImportPlan crowded = planOf(many, {movie("Heat", "")});
    EXPECT_EQ(crowded.lookAlikes.size(), kListedSkips);
    EXPECT_EQ(lookAlikeLines(crowded).last(), "  and 2 more.");
}

// The stored movie a look-alike's copies were to join is deleted by another
// program between the plan and the store: the look-alike is added with them.
TEST(ImportStore, ALookAlikeWhoseMovieWasDeletedMeanwhileIsAddedWithItsCopies) {
    TempCatalogue dirs;
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(file);
    TempCatalogue::addMovies(file, {{"Heat", "1995"}});
    Catalogue catalogue;
    catalogue.open(file);
    const ImportPlan plan = planImport(
        *textReader("title,year,format\nheat,1995,DVD\nheat,1995,VHS\n"), LookAlikeKeys(catalogue));
    TempCatalogue::exec(file, QStringLiteral("delete from dvd where id = 1"));

    EXPECT_TRUE(storePlannedMovies(catalogue, plan, true));
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("id, title")), QStringList{"2|heat"});
    EXPECT_EQ(ShelfStore(catalogue).allCopies().size(), 2u) << "all on the movie added";
}
