#pragma once

#include "core/catalogue/dvd_record.h"
#include "core/import/column_map.h"
#include "core/import/import_limits.h"
#include "core/import/look_alike_keys.h"
#include "core/import/planned_movies.h"
#include "core/import/row_reader.h"

#include <QStringList>
#include <functional>
#include <vector>

// A row of the file that adds no movie, and why.
struct SkippedRow {
    qint64 number = 0;
    QString reason;
};

// A row of the file that looks like a movie already in the catalogue, and
// that movie's title and year (no title when it could not be looked up).
struct LookAlikeRow {
    qint64 number = 0;
    std::size_t movie = 0; // its place in ImportPlan::movies
    QString existingTitle;
    QString existingYear;
};

// A column of the file as the import reads it: its header text (empty when
// the file has no header row), its first values (the first few that are not
// blank) and the field it goes into (HeaderMatch::kNone when it is ignored).
struct PlanColumn {
    QString header;
    QStringList firstValues;
    int field = HeaderMatch::kNone;
};

// A value of a movie to add that does not look like what its field holds
// (value_checks.h); it is stored as it is.
struct WrongValue {
    qint64 number = 0;
    QString problem; // "year "19 84" is not a year between 1870 and 2027"
};

// What importing a file would do, worked out before anything is written.
struct ImportPlan {
    QString formatName;   // "CSV", "workbook", ...
    QString placeWord;    // "Line" or "Row"
    QString encodingNote; // empty unless the text was not UTF-8
    QStringList ignoredColumns;
    PlannedMovies movies;            // in file order, kept out of memory
    qint64 skippedCount = 0;         // rows with values but no title
    std::vector<SkippedRow> skipped; // the first of them, with reasons
    qint64 looksLikeExistingCount = 0;
    std::vector<LookAlikeRow> lookAlikes; // the first of them
    // A workbook's sheet read and its sheets with data; empty for a text file.
    QString sheetName;
    QStringList sheetNames;
    // Rows skipped because a formula in them has no saved result, and the
    // first of them.
    qint64 unsavedFormulaCount = 0;
    std::vector<qint64> unsavedFormulaRows;
    // The file's columns, in file order, and whether a header row named them.
    std::vector<PlanColumn> columns;
    bool hasHeader = true;
    // Values that look wrong, and the first of them.
    qint64 wrongValueCount = 0;
    std::vector<WrongValue> wrongValues;
    // No column holds the title (only when the options allow that): then no
    // row is read as a movie.
    bool titleColumnMissing = false;
    // Columns hold a copy's fields: then each row adds its copy to its movie,
    // and later rows of the same movie (the same eight fields) join it.
    bool hasCopyColumns = false;
    // Rows refused for a copy's value the shelf does not take, and the first
    // of them with the reason.
    qint64 refusedCount = 0;
    std::vector<SkippedRow> refused;

    // The movies to store, leaving out look-alikes when asked to.
    std::vector<DvdRecord> moviesToAdd(bool skipLookAlikes) const;
    // The first movies as they will be stored, for a preview.
    std::vector<DvdRecord> firstMovies(std::size_t count, bool skipLookAlikes) const;
    // The same, one at a time, for a store that takes them as they come.
    void forEachMovieToAdd(bool skipLookAlikes,
                           const std::function<void(const DvdRecord&)>& add) const;
    qint64 addCount(bool skipLookAlikes) const {
        return qint64(movies.size()) - (skipLookAlikes ? looksLikeExistingCount : 0);
    }
    // The copies the movies to store bring.
    qint64 copyCount(bool skipLookAlikes) const { return movies.copyCount(skipLookAlikes); }
    // The copies that join the stored movies their look-alikes look like:
    // those of the look-alikes when they are left out, else none.
    qint64 joiningCopyCount(bool skipLookAlikes) const {
        return skipLookAlikes ? movies.lookAlikeCopyCount() : 0;
    }
    // Whether storing the plan changes the catalogue at all.
    bool storesAnything(bool skipLookAlikes) const {
        return addCount(skipLookAlikes) > 0 || joiningCopyCount(skipLookAlikes) > 0;
    }
};

// How many skipped rows the plan lists one by one (it counts them all).
inline constexpr std::size_t kListedSkips = 100;

// The listed look-alikes, one line each ("Row 3: "Amelie" (2001) looks like
// "Amélie" (2001)"), with how many more there are; empty when there are none.
QStringList lookAlikeLines(const ImportPlan& plan);
// "  and 12 more.": the line under a list cut short.
QString andMoreLine(qint64 more);

// How many of each column's first values the plan keeps.
inline constexpr qsizetype kFirstValues = 3;

// The listed values that look wrong under a heading with their count, one
// line each ("Row 7: year "19 84" is not a year between 1870 and 2027"),
// with how many more there are; empty when there are none.
QStringList wrongValueLines(const ImportPlan& plan);

// Called now and then while a file is read, with how far it has come; returns
// false to cancel, which ends the reading with an ImportFailure (Cancelled).
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads every row and plans the import against the movies already in the
// catalogue. Rows with nothing in them are passed over; a row without a title,
// or with a formula whose result the file does not hold, is skipped and
// counted. The first row names the columns, unless it names none the import
// knows and looks like a movie (looksLikeData), or the options say the file
// has no header: then the columns hold the fields in their fixed order.
// The movies' years and runtimes are checked (value_checks.h); a row whose
// copy values the shelf refuses (copy_values.h) is skipped with the reason.
// Fails (ImportFailure) on a file that cannot be
// imported, naming the line or row where that applies, on a file with more
// rows than limits.rows and on a file with no row of values below its header.
ImportPlan planImport(RowReader& reader, const LookAlikeKeys& known,
                      const ImportProgress& progress = {}, const ImportLimits& limits = {});
// The same with the person's choice of columns.
ImportPlan planImport(RowReader& reader, const LookAlikeKeys& known, const ColumnOptions& options,
                      const ImportProgress& progress = {}, const ImportLimits& limits = {});
// The same against movies held in memory.
ImportPlan planImport(RowReader& reader, const std::vector<DvdRecord>& existing,
                      const ImportProgress& progress = {}, const ImportLimits& limits = {});
