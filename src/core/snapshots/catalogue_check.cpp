#include "core/snapshots/catalogue_check.h"

#include "core/snapshots/foreign_schema.h"
#include "core/snapshots/snapshot_database.h"
#include "core/sqlite/sqlite_statement.h"

#include <QFileInfo>
#include <optional>

namespace {

// The columns of the dvd table, in the order the program has always made them.
const char* const kColumns[] = {"id",       "title",   "year",   "genre", "cast",
                                "director", "runtime", "rating", "studio"};

// How many of SQLite's own findings a result quotes.
constexpr int kQuotedFindings = 3;

void checkPages(const SqliteDatabase& db, CheckDepth depth, QStringList& problems, bool& damaged) {
    const QStringList findings = firstColumn(
        db, depth == CheckDepth::Quick ? "PRAGMA quick_check" : "PRAGMA integrity_check");
    if (findings == QStringList{QStringLiteral("ok")}) {
        return;
    }
    damaged = true;
    problems << QStringLiteral("The file is damaged: SQLite's check found %1 fault(s).")
                    .arg(findings.size());
    for (const QString& finding : findings.mid(0, kQuotedFindings)) {
        problems << QStringLiteral("SQLite reports: %1").arg(finding.simplified());
    }
}

void checkTable(const SqliteDatabase& db, QStringList& problems) {
    std::optional<SqliteStatement> columns;
    try {
        columns.emplace(db, "PRAGMA table_info(dvd)");
    } catch (const SqliteFailure& failure) {
        throw SnapshotFailure(SnapshotFailure::Kind::Damaged, failure.message());
    }
    QStringList names;
    bool idIsRowNumber = false;
    try {
        while (columns->step()) {
            const QString name = columns->text(1);
            const QString type = columns->text(2);
            names << name.toLower();
            if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0) {
                idIsRowNumber = type.compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0 &&
                                columns->integer(5) == 1;
            }
        }
    } catch (const SqliteFailure& failure) {
        problems << QStringLiteral("The table of movies cannot be read: %1.")
                        .arg(describeFailure(failure));
        return;
    }
    if (names.isEmpty()) {
        problems << QStringLiteral("The file holds no table of movies (dvd).");
        return;
    }
    for (const char* column : kColumns) {
        if (!names.contains(QLatin1String(column))) {
            problems << QStringLiteral("The table of movies (dvd) has no column %1.")
                            .arg(QLatin1String(column));
        }
    }
    if (names.contains(QLatin1String("id")) && !idIsRowNumber) {
        problems << QStringLiteral(
            "The column id of the table dvd is not an integer primary key, so new movies "
            "would get no number.");
    }
}

void checkForeignObjects(const SqliteDatabase& db, QStringList& cautions) {
    for (const ForeignObject& object : foreignObjects(db)) {
        cautions << (object.type == QLatin1String("trigger")
                         ? QStringLiteral("The file holds a trigger the program did not make: %1. "
                                          "It runs by itself whenever movies change.")
                         : QStringLiteral("The file holds a view the program did not make: %1."))
                        .arg(object.name);
    }
}

// Shelf rows whose movie is gone, left by a program that deleted movies
// without the shelf's trigger. The shelf never shows them: a caution.
void checkShelfOrphans(const SqliteDatabase& db, QStringList& cautions) {
    const QStringList orphans =
        firstColumn(db, "select count(*) from shelf_copy where movie_id not in (select id from dvd)"
                        " union all select count(*) from shelf_set_member"
                        " where movie_id not in (select id from dvd)");
    if (orphans.value(0) != QLatin1String("0") || orphans.value(1) != QLatin1String("0")) {
        cautions << QStringLiteral("The shelf holds %1 copy(ies) and %2 place(s) in sets of "
                                   "movies that are gone.")
                        .arg(orphans.value(0), orphans.value(1));
    }
}

// Loans whose copy is gone, left by a program that deleted copies without
// the loans' trigger. No list shows them: a caution.
void checkLoanOrphans(const SqliteDatabase& db, QStringList& cautions) {
    const QString orphans =
        firstColumn(db,
                    "select count(*) from loan where copy_id not in (select id from shelf_copy)")
            .value(0);
    if (orphans != QLatin1String("0")) {
        cautions
            << QStringLiteral("The loans hold %1 loan(s) of copies that are gone.").arg(orphans);
    }
}

} // namespace

QString CheckResult::text() const {
    return clean() ? QStringLiteral("ok") : (problems + cautions).join(QLatin1Char('\n'));
}

CheckResult checkCatalogue(const SqliteDatabase& db, CheckDepth depth) {
    CheckResult result;
    try {
        checkPages(db, depth, result.problems, result.damaged);
        checkTable(db, result.problems);
        checkForeignObjects(db, result.cautions);
        if (!firstColumn(db, "select 1 from sqlite_master where name = 'shelf_copy'").isEmpty()) {
            checkShelfOrphans(db, result.cautions);
        }
        if (!firstColumn(db, "select 1 from sqlite_master where name = 'loan'").isEmpty()) {
            checkLoanOrphans(db, result.cautions);
        }
    } catch (const SnapshotFailure& failure) {
        result.problems << failure.description();
        result.damaged = result.damaged || failure.kind() == SnapshotFailure::Kind::Damaged;
    }
    return result;
}

CheckResult checkCatalogue(const QString& path, CheckDepth depth) {
    if (!QFileInfo(path).isFile()) {
        CheckResult missing;
        missing.problems << QStringLiteral("The file %1 does not exist.").arg(path);
        return missing;
    }
    try {
        const SqliteDatabase file = openSnapshotDatabase(path, SqliteDatabase::Access::ReadOnly);
        return checkCatalogue(file, depth);
    } catch (const SnapshotFailure& failure) {
        CheckResult result;
        result.problems << failure.description();
        result.damaged = failure.kind() == SnapshotFailure::Kind::Damaged;
        return result;
    }
}
