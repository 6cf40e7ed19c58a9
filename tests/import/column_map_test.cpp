// Columns of other programs' files map to a movie's fields by their header
// names, and a file without a header by position.
#include "core/import/import_plan.h"
#include "import_support.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

QString fieldsOf(const DvdRecord& movie) {
    return QStringList({movie.title, movie.year, movie.genre, movie.cast, movie.director,
                        movie.runtime, movie.rating, movie.studio})
        .join(u'|');
}

TEST(ColumnMap, MapsTheHeadersOfOtherProgramsFiles) {
    const struct {
        const char* name;
        QByteArray text;
        QString first; // the first movie's eight fields
        QStringList ignored;
    } cases[] = {
        {"movie site export",
         "Const,Your Rating,Date Rated,Title,URL,Title Type,IMDb Rating,Runtime (mins),Year,"
         "Genres,Num Votes,Release Date,Directors\n"
         "tt0078748,9,2020-01-01,Alien,https://x.example,movie,8.5,117,1979,\"Horror, Sci-Fi\","
         "900000,1979-05-25,Ridley Scott\n",
         "Alien|1979|Horror, Sci-Fi||Ridley Scott|117||",
         {"Const", "Your Rating", "Date Rated", "URL", "Title Type", "IMDb Rating", "Num Votes",
          "Release Date"}},
        {"diary export",
         "Date,Name,Year,Letterboxd URI\n2021-03-04,Alien,1979,https://boxd.example/x\n",
         "Alien|1979||||||",
         {"Date", "Letterboxd URI"}},
        {"German sheet",
         "Film;Jahr;Regie;Laufzeit\nAlien;1979;Ridley Scott;117 Min.\n",
         "Alien|1979|||Ridley Scott|117 Min.||",
         {}},
        {"Spanish sheet",
         "Título;Año;Reparto;Duración;Distributor\nHeat;1995;Al;170;Warner\n",
         "Heat|1995||Al||170||Warner",
         {}},
        {"captions, blanks and a weaker second title",
         "  MPAA   Rating ,Name,TITLE,Running  Time,Studio(s)\nR,Other,Heat,170,Warner\n",
         "Heat|||||170|R|Warner",
         {"Name"}},
        {"no header, a year in the first row", "Alien,1979,Horror\n", "Alien|1979|Horror|||||", {}},
        {"no header, rows alike",
         "Alien,Ridley Scott,,,,,,,x\nHeat,Michael Mann,,,,,,,y\n",
         "Alien|Ridley Scott||||||",
         {"column 9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportPlan plan = planImport(*textReader(c.text), LookAlikeKeys({}));
        ASSERT_FALSE(plan.movies.empty());
        EXPECT_EQ(fieldsOf(plan.movies[0].movie()), c.first);
        EXPECT_EQ(plan.ignoredColumns, c.ignored);
    }
    // A first row naming nothing known stays a header when the rows below
    // differ from it, and is refused as before.
    EXPECT_EQ(failureOf([] {
                  planImport(*textReader("Foo,Bar\nHeat,1995\n"), LookAlikeKeys({}));
              }).problem(),
              ImportProblem::NoTitleColumn);
}

TEST(ColumnMap, WritesARuntimeInMinutesAsHoursAndMinutes) {
    const struct {
        QString given;
        QString written;
    } cases[] = {{"142", "2:22"},
                 {" 90 min", "1:30"},
                 {"45 Mins.", "0:45"},
                 {"605minutes", "10:05"},
                 {"1:43", "1:43"},
                 {"about 90", "about 90"},
                 {"", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtimeFromMinutes(c.given), c.written) << c.given.toStdString();
    }
}

} // namespace
