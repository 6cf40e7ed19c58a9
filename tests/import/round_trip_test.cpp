#include "core/export/catalogue_export.h"
#include "core/formats/zip_archive.h"
#include "core/import/import_file.h"
#include "import_support.h"

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
        movie.runtime = n % 2 ? QStringLiteral("0120") : QStringLiteral("1e5");
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

class RoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, ExportThenImportGivesBackEveryFieldExactly) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("catalogue.") + GetParam());
    const std::vector<DvdRecord> movies = hostileMovies();
    const CatalogueExportResult written = exportCatalogueFile(path, movies);
    EXPECT_EQ(written.movies, qint64(movies.size()));
    EXPECT_EQ(written.cutValues, 0);

    const ImportPlan plan = planImportFile(path, {});
    EXPECT_TRUE(plan.encodingNote.isEmpty());
    EXPECT_EQ(plan.ignoredColumns, QStringList{"id"});
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

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, testing::Values("csv", "xlsx"));

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

TEST(CatalogueXlsx, WritesEveryValueAsTextAndCutsOnlyWhatACellCannotHold) {
    DvdRecord movie;
    movie.id = "1";
    movie.title = "Long";
    movie.year = "1995";
    movie.cast = QString(40000, QLatin1Char('a'));
    QTemporaryDir folder;
    const QString path = folder.filePath("list.xlsx");
    EXPECT_EQ(exportCatalogueFile(path, {movie}).cutValues, 1);

    UnpackBudget budget{qint64(1) << 30};
    const auto archive = ZipArchive::openFile(path);
    const auto sheet = archive->openPart("xl/worksheets/sheet1.xml", budget, budget.left);
    const QByteArray xml = sheet->readAll();
    EXPECT_TRUE(xml.contains("<is><t>1995</t></is>")) << "a year is a text cell";
    EXPECT_FALSE(xml.contains("<v>"));
    const ImportPlan plan = planImportFile(path, {});
    ASSERT_EQ(plan.movies.size(), 1u);
    EXPECT_EQ(plan.movies[0].movie().cast.size(), 32767);
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
