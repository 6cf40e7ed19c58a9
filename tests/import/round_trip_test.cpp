#include "core/export/catalogue_export.h"
#include "core/formats/zip_archive.h"
#include "core/import/import_file.h"
#include "core/import/import_store.h"
#include "import_support.h"
#include "support/temp_catalogue.h"
#include "support/xlsx_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Values that trip up quoting, escaping, statements and layouts.
const QStringList kHostile = {
    "Schindler's List",
    "He said \"hi\"",
    "[dvd] (brackets) {braces}",
    "-- not a comment",
    "a;b; c",
    "%1 %2 %n",
    "🎬 emoji 👍🏽",
    "שלום עולם (right to left)",
    "line\nbreak",
    "cr\r\nlf and \r alone",
    "  padded  ",
    "_x0041_ looks escaped",
    "tab\there, comma",
    "=1+2",
    "\x07 bell",
    "",
    "\"",
    "'; drop table dvd; --",
    QChar(0xFEFF) + QStringLiteral("starts with a byte-order mark"),
};

// Texts that look like numbers, and whether a workbook export writes each as
// a number cell: only where the number reads back as the very same text.
const std::vector<std::pair<QString, bool>> kNumberLike = {
    {"1979", true},
    {"142", true},
    {"0", true},
    {"999999999999999", true},
    {"1000000000000000", false},
    {"9007199254740993", false},
    {"0042", false},
    {"-0", false},
    {"-5", false},
    {"+5", false},
    {"1e5", false},
    {"12.50", false},
    {"12.0", false},
    {"2:30", false},
    {"1,000", false},
    {" 7", false},
    {"7 ", false},
    {QString::fromUtf8("\u0661\u0662"), false}, // Arabic-Indic digits
    {QString::fromUtf8("\uFF11\uFF19"), false}, // full-width digits
};

std::vector<DvdRecord> hostileMovies() {
    std::vector<DvdRecord> movies;
    for (qsizetype n = 0; n < kHostile.size(); ++n) {
        DvdRecord movie;
        movie.id = QString::number(n + 1);
        movie.title = QStringLiteral("Title %1 ").arg(n) + kHostile[n];
        movie.year = kHostile[(n + 1) % kHostile.size()];
        movie.genre = kHostile[(n + 2) % kHostile.size()];
        movie.cast = kHostile[(n + 3) % kHostile.size()];
        movie.director = kHostile[(n + 4) % kHostile.size()];
        movie.runtime = kNumberLike[std::size_t(n) % kNumberLike.size()].first;
        movie.rating = kHostile[(n + 5) % kHostile.size()];
        movie.studio = kHostile[(n + 6) % kHostile.size()];
        movies.push_back(movie);
    }
    // A value that starts with U+FEFF, first in its row as well.
    movies.front().title.prepend(QChar(0xFEFF));
    return movies;
}

QStringList fieldsOf(const DvdRecord& movie) {
    return {movie.title,    movie.year,    movie.genre,  movie.cast,
            movie.director, movie.runtime, movie.rating, movie.studio};
}

class RoundTrip : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(RoundTrip, ExportThenImportGivesBackEveryFieldExactly) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("catalogue.") + GetParam().first);
    const std::vector<DvdRecord> movies = hostileMovies();
    ASSERT_LE(kNumberLike.size(), movies.size()) << "every number-like text is a runtime once";
    const CatalogueExportResult written = exportCatalogueFile(path, movies);
    EXPECT_EQ(written.movies, qint64(movies.size()));
    EXPECT_EQ(written.cutValues, 0);

    const ImportPlan plan = planImportFile(path, {});
    EXPECT_TRUE(plan.encodingNote.isEmpty());
    EXPECT_EQ(plan.ignoredColumns, QStringList{GetParam().second}) << "the other columns are known";
    EXPECT_EQ(plan.skippedCount, 0);
    ASSERT_EQ(plan.movies.size(), movies.size());
    for (std::size_t n = 0; n < movies.size(); ++n) {
        EXPECT_EQ(fieldsOf(plan.movies[n].movie()), fieldsOf(movies[n])) << n;
    }
    EXPECT_TRUE(folder.isValid());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no scratch file is left behind";
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::ReadOther))
        << "a new file gets the usual permissions";
}

// The planned movies reach the catalogue with every field exactly as exported.
TEST_P(RoundTrip, ExportThenImportStoresEveryFieldExactly) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("catalogue.") + GetParam().first);
    const std::vector<DvdRecord> movies = hostileMovies();
    exportCatalogueFile(path, movies);
    TempCatalogue dirs;
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(file);
    Catalogue catalogue;
    catalogue.open(file);
    EXPECT_TRUE(storePlannedMovies(catalogue, planImportFile(path, {}), false));
    for (std::size_t n = 0; n < movies.size(); ++n) {
        const std::optional<DvdRecord> stored = catalogue.movie(QString::number(n + 1));
        ASSERT_TRUE(stored.has_value()) << n;
        EXPECT_EQ(fieldsOf(*stored), fieldsOf(movies[n])) << n;
    }
    EXPECT_FALSE(catalogue.movie(QString::number(movies.size() + 1)).has_value());
}

// Each format with the name its id column has.
INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         testing::Values(std::pair("csv", "id"), std::pair("xlsx", "ID")));

TEST(CatalogueCsv, IsTheHeaderAndOneLinePerMovieQuotedOnlyWhereNeeded) {
    DvdRecord movie;
    movie.id = "7";
    movie.title = "Heat, the \"film\"";
    movie.year = "1995";
    movie.cast = "Al\nBob";
    movie.studio = "Warner's";
    QTemporaryDir folder;
    const QString path = folder.filePath("list.CSV");
    exportCatalogueFile(path, {movie});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "id,title,year,genre,cast,director,runtime,rating,studio\r\n"
                              "7,\"Heat, the \"\"film\"\"\",1995,,\"Al\nBob\",,,,Warner's\r\n");
}

TEST(CatalogueXlsx, WritesWholeNumbersAsNumbersAndCutsOnlyWhatACellCannotHold) {
    std::vector<DvdRecord> movies;
    for (const auto& [text, isNumber] : kNumberLike) {
        DvdRecord movie;
        movie.id = QString::number(movies.size() + 1);
        movie.title = QStringLiteral("Title");
        movie.runtime = text;
        movies.push_back(movie);
    }
    movies.front().cast = QString(40000, QLatin1Char('a'));
    QTemporaryDir folder;
    const QString path = folder.filePath("list.xlsx");
    EXPECT_EQ(exportCatalogueFile(path, movies).cutValues, 1);

    const QString xml = readSheetXml(path);
    for (std::size_t n = 0; n < kNumberLike.size(); ++n) {
        const auto& [text, isNumber] = kNumberLike[n];
        // The runtime is column G; the header takes row 1.
        const QString numberCell =
            QStringLiteral("<c r=\"G%1\"><v>%2</v></c>").arg(n + 2).arg(text);
        EXPECT_EQ(xml.contains(numberCell), isNumber) << text.toStdString();
        EXPECT_EQ(readXlsxCell(path, QStringLiteral("G%1").arg(n + 2)), text);
    }
    EXPECT_TRUE(xml.contains(QStringLiteral("<c r=\"A2\"><v>1</v></c>"))) << "an id is a number";
    EXPECT_TRUE(xml.contains(QStringLiteral("<c r=\"B2\" t=\"inlineStr\">")));
    const ImportPlan plan = planImportFile(path, {});
    ASSERT_EQ(plan.movies.size(), movies.size());
    EXPECT_EQ(plan.movies[0].movie().cast.size(), 32767);
    EXPECT_EQ(plan.movies[0].movie().runtime, "1979") << "a number cell reads back as its text";
}

TEST(CatalogueXlsx, IsOneSheetOfMoviesUnderABoldFrozenFilteredHeaderWithFittedColumns) {
    DvdRecord movie;
    movie.id = "12";
    movie.title = "The Good, the Bad and the Ugly";
    movie.year = "1966";
    movie.cast = QString(500, QLatin1Char('c'));
    QTemporaryDir folder;
    const QString path = folder.filePath("list.xlsx");
    exportCatalogueFile(path, {movie, movie});

    EXPECT_EQ(readXlsxRows(path).front(),
              QStringList({"ID", "Title", "Year", "Genre", "Cast", "Director", "Runtime",
                           "MPAA Rating", "Studio"}));
    const QString xml = readSheetXml(path);
    EXPECT_TRUE(xml.contains(QStringLiteral("<c r=\"I1\" s=\"1\" ")));
    EXPECT_FALSE(xml.contains(QStringLiteral("<c r=\"B2\" s=")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<pane ySplit=\"1\" topLeftCell=\"A2\" "
                                            "activePane=\"bottomLeft\" state=\"frozen\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<autoFilter ref=\"A1:I3\"/>")));

    // Widths in characters: the longest value or the caption beside its
    // filter button, with a character to spare, and never over 60.
    const QStringList widths = {"5", "31", "7", "8", "61", "11", "10", "14", "9"};
    for (qsizetype column = 0; column < widths.size(); ++column) {
        EXPECT_TRUE(xml.contains(QStringLiteral("<col min=\"%1\" max=\"%1\" width=\"%2.")
                                     .arg(column + 1)
                                     .arg(widths[column])))
            << column;
    }
    UnpackBudget budget{qint64(1) << 30};
    const QByteArray book =
        ZipArchive::openFile(path)->openPart("xl/workbook.xml", budget, budget.left)->readAll();
    EXPECT_TRUE(book.contains("<sheet name=\"Movies\""));
}

TEST(CatalogueXlsx, RefusesACatalogueLargerThanASheetBeforeWritingAnything) {
    TempCatalogue scratch;
    const QString file = scratch.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(file);
    TempCatalogue::addTitles(file, {"One", "Two", "Three"});
    Catalogue catalogue;
    catalogue.open(file, Catalogue::Access::ReadOnly);
    QTemporaryDir folder;
    const QString path = folder.filePath("list.xlsx");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    const ImportFailure failure = failureOf([&] { exportCatalogueFile(path, catalogue, 2); });
    EXPECT_EQ(failure.problem(), ImportProblem::CannotWrite);
    EXPECT_EQ(failure.description(), "The catalogue holds 3 movies; a workbook sheet holds at "
                                     "most 2. Export to a .csv file instead.");
    EXPECT_EQ(TempCatalogue::fileBytes(path), "earlier") << "the file there stays as it was";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.xlsx"});

    EXPECT_EQ(exportCatalogueFile(path, catalogue, 3).movies, 3) << "a full sheet is written";
    EXPECT_EQ(exportCatalogueFile(folder.filePath("list.csv"), catalogue, 2).movies, 3)
        << "a .csv file has no such limit";
    const std::vector<DvdRecord> many(1001);
    EXPECT_EQ(failureOf([&] { exportCatalogueFile(path, many, 999); }).description(),
              "The catalogue holds 1 001 movies; a workbook sheet holds at most 999. Export to a "
              ".csv file instead.");
}

TEST(CatalogueExport, RefusesOtherNamesAndMissingFolders) {
    QTemporaryDir folder;
    EXPECT_EQ(failureOf([&] { exportCatalogueFile(folder.filePath("list.txt"), {}); }).problem(),
              ImportProblem::CannotWrite);
    const QString missingFolder = folder.filePath("gone/list.xlsx");
    EXPECT_EQ(failureOf([&] { exportCatalogueFile(missingFolder, {}); }).problem(),
              ImportProblem::CannotWrite);
    const QString missingCsv = folder.filePath("gone/list.csv");
    EXPECT_EQ(failureOf([&] { exportCatalogueFile(missingCsv, {}); }).problem(),
              ImportProblem::CannotWrite);
}

} // namespace
