// What the plan tells the preview about the file's columns, and the values
// it points out as looking wrong.
#include "core/import/import_plan.h"
#include "core/import/remembered_columns.h"
#include "import_support.h"
#include "support/fakes.h"
#include "support/qt_printers.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

ImportPlan planOf(const QByteArray& text, const ColumnOptions& options = {}) {
    return planImport(*textReader(text), LookAlikeKeys(std::vector<DvdRecord>{}), options);
}

TEST(PlanColumns, PointsOutYearsAndRuntimesThatLookWrongAndStoresThemAsTheyAre) {
    const int next = QDate::currentDate().year() + 1;
    const struct {
        QByteArray year;
        QByteArray runtime;
        QString problems; // the lines for the row, "" when it looks right
    } rows[] = {
        {"1984", "142", ""},
        {" 1870 ", "142 min", ""},
        {QByteArray::number(next), "2:22", ""},
        {"", "02:22:00", ""},
        {"1984.0", "", "year \"1984.0\" is not a year between 1870 and NEXT"},
        {"19 84", "", "year \"19 84\" is not a year between 1870 and NEXT"},
        {"1869", "2h 22m",
         "year \"1869\" is not a year between 1870 and NEXT|runtime \"2h 22m\" "
         "is neither a time (h:mm) nor a number of minutes"},
        {QByteArray::number(next + 1), "1:75",
         "year \"LATER\" is not a year between 1870 and NEXT|"
         "runtime \"1:75\" is neither a time (h:mm) nor a "
         "number of minutes"},
        {"19%2", "%2",
         "year \"19%2\" is not a year between 1870 and NEXT|runtime \"%2\" is "
         "neither a time (h:mm) nor a number of minutes"},
    };
    QByteArray text = "Title, Year ,Running Time,Notes\n";
    QStringList expected;
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        text += "Movie " + QByteArray::number(row) + ',' + rows[row].year + ',' +
                rows[row].runtime + ",n\n";
        const QString problems = QString(rows[row].problems)
                                     .replace("LATER", QString::number(next + 1))
                                     .replace("NEXT", QString::number(next));
        for (const QString& problem : problems.split('|', Qt::SkipEmptyParts)) {
            expected << QStringLiteral("  Line %1: %2").arg(row + 2).arg(problem);
        }
    }
    expected.prepend(QStringLiteral("%1 values that look wrong will be imported as they are:")
                         .arg(expected.size()));
    const ImportPlan plan = planOf(text);
    EXPECT_EQ(wrongValueLines(plan), expected);
    EXPECT_EQ(plan.movies[5].movie().year, "19 84");

    // The columns as the preview shows them.
    EXPECT_TRUE(plan.hasHeader);
    EXPECT_FALSE(plan.titleColumnMissing);
    EXPECT_EQ(headersOf(plan), QStringList({"Title", "Year", "Running Time", "Notes"}));
    EXPECT_EQ(fieldsOf(plan), (std::vector<int>{0, 1, 5, HeaderMatch::kNone}));
    EXPECT_EQ(plan.columns[0].firstValues, QStringList({"Movie 0", "Movie 1", "Movie 2"}));
    EXPECT_EQ(plan.columns[1].firstValues, QStringList({"1984", " 1870 ", QString::number(next)}));

    // Every column chosen by position, as the preview chooses them.
    ColumnOptions options;
    options.choices = choicesByPosition({HeaderMatch::kNone, 0, 5, HeaderMatch::kNone});
    options.runtimeInMinutes = true;
    const ImportPlan chosen = planOf(text, options);
    EXPECT_EQ(fieldsOf(chosen), (std::vector<int>{HeaderMatch::kNone, 0, 5, HeaderMatch::kNone}));
    const DvdRecord first = chosen.firstMovies(1, false).at(0);
    EXPECT_EQ(QStringList({first.title, first.year, first.runtime}),
              QStringList({"1984", "", "2:22"}));
    EXPECT_EQ(chosen.wrongValueCount, 3); // the runtimes; no column holds the year
}

// A file naming no title: the window is given its columns to choose from,
// and a later file with the same header texts gets the choice back.
TEST(PlanColumns, AFileWithoutATitleIsPlannedWhenAllowedAndItsChoiceIsRemembered) {
    ColumnOptions options;
    options.titleMayBeMissing = true;
    const ImportPlan plan = planOf("nom,an\nHeat,1995\nRan,1985\n", options);
    EXPECT_TRUE(plan.titleColumnMissing);
    EXPECT_EQ(plan.movies.size(), 0U);
    EXPECT_EQ(plan.skippedCount, 0);
    EXPECT_EQ(fieldsOf(plan), (std::vector<int>{HeaderMatch::kNone, HeaderMatch::kNone}));
    EXPECT_EQ(plan.columns[0].firstValues, QStringList({"Heat", "Ran"}));

    const ImportPlan unnamed = planOf("Heat,1995,x\nRan,1985,y\n", options);
    EXPECT_FALSE(unnamed.hasHeader);
    EXPECT_EQ(headersOf(unnamed), QStringList({"", "", ""}));

    MemorySettings settings;
    rememberFields(settings, headersOf(plan), {0, 1});
    EXPECT_EQ(settings.values.value(rememberedColumnsKey({"nom", "an"})), "title,year");
    EXPECT_EQ(rememberedFields(settings, {" NOM ", "An"}), (std::vector<int>{0, 1}));
    EXPECT_FALSE(rememberedFields(settings, {"an", "nom"}));
    EXPECT_FALSE(rememberedFields(settings, {"nom", "an", "x"}));
}

} // namespace
