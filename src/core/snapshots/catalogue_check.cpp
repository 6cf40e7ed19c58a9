#include "core/snapshots/catalogue_check.h"

#include "core/snapshots/foreign_schema.h"
#include "core/snapshots/sqlite_file.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

// The columns of the dvd table, in the order the program has always made them.
const char* const kColumns[] = {"id",       "title",   "year",   "genre", "cast",
                                "director", "runtime", "rating", "studio"};

// How many of SQLite's own findings a result quotes.
constexpr int kQuotedFindings = 3;

void checkPages(sqlite3* db, CheckDepth depth, QStringList& problems, bool& damaged) {
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

void checkTable(sqlite3* db, QStringList& problems) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(dvd)", -1, &stmt, nullptr) != SQLITE_OK) {
        throw SnapshotFailure(SnapshotFailure::Kind::Damaged,
                              QString::fromUtf8(sqlite3_errmsg(db)));
    }
    QStringList names;
    bool idIsRowNumber = false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        const QString type =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
        names << name.toLower();
        if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0) {
            idIsRowNumber = type.compare(QLatin1String("integer"), Qt::CaseInsensitive) == 0 &&
                            sqlite3_column_int(stmt, 5) == 1;
        }
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        problems << QStringLiteral("The table of movies cannot be read: %1.")
                        .arg(describeFailure(db, rc));
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

void checkForeignObjects(sqlite3* db, QStringList& cautions) {
    for (const ForeignObject& object : foreignObjects(db)) {
        cautions << (object.type == QLatin1String("trigger")
                         ? QStringLiteral("The file holds a trigger the program did not make: %1. "
                                          "It runs by itself whenever movies change.")
                         : QStringLiteral("The file holds a view the program did not make: %1."))
                        .arg(object.name);
    }
}

} // namespace

QString CheckResult::text() const {
    return clean() ? QStringLiteral("ok") : (problems + cautions).join(QLatin1Char('\n'));
}

CheckResult checkCatalogue(sqlite3* db, CheckDepth depth) {
    CheckResult result;
    try {
        checkPages(db, depth, result.problems, result.damaged);
        checkTable(db, result.problems);
        checkForeignObjects(db, result.cautions);
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
        const SqliteFile file(path, SqliteFile::Access::ReadOnly);
        return checkCatalogue(file.handle(), depth);
    } catch (const SnapshotFailure& failure) {
        CheckResult result;
        result.problems << failure.description();
        result.damaged = failure.kind() == SnapshotFailure::Kind::Damaged;
        return result;
    }
}
