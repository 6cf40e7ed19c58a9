#include "core/import/import_store.h"

#include "core/import/sheet_choice.h"
#include "core/shelf/shelf_store.h"

namespace {

const QString kUnsavedFormulas = QStringLiteral("formulas without saved values \u2014 open and "
                                                "save the file in a spreadsheet program first");
const QString kCopiesAdded = QStringLiteral("%1 will be added with them.");
const QString kCopiesJoin = QStringLiteral("%1 will be added to the movies you have.");
const QString kRefusedRows = QStringLiteral("%1 with a copy's value the shelf does not take will "
                                            "be skipped.");
const QString kChooseTitle = QStringLiteral("No column holds the title: choose the column that "
                                            "does, or no movie can be imported.");

} // namespace

bool storePlannedMovies(Catalogue& catalogue, const ImportPlan& plan, bool skipLookAlikes,
                        const Catalogue::BatchProgress& progress) {
    if (plan.copyCount(skipLookAlikes) > 0 || plan.joiningCopyCount(skipLookAlikes) > 0) {
        // Each movie's id is needed for its copies: they go in one by one,
        // and a look-alike left out brings only its copies to the movie it
        // looks like.
        return ShelfStore(catalogue).addMoviesWithCopies(
            [&plan, skipLookAlikes](const ShelfStore::MovieWithCopies& add) {
                plan.movies.forEachWithCopies(skipLookAlikes, add);
            },
            progress);
    }
    // The planned fields are UTF-8 already: they go to the catalogue as they are.
    return catalogue.addAllUtf8(
        [&plan, skipLookAlikes](const std::function<void(const DvdFieldsUtf8&)>& add) {
            plan.movies.forEachUtf8(skipLookAlikes, add);
        },
        progress);
}

QStringList planSummary(const ImportPlan& plan, bool skipLookAlikes) {
    const QString movies = QStringLiteral("movies");
    const QString movie = QStringLiteral("movie");
    QStringList lines;
    if (plan.titleColumnMissing) {
        lines << kChooseTitle;
    } else {
        lines << QStringLiteral("%1 will be added.")
                     .arg(countOf(plan.addCount(skipLookAlikes), movie, movies));
        if (const qint64 copies = plan.copyCount(skipLookAlikes); copies > 0) {
            lines << kCopiesAdded.arg(
                countOf(copies, QStringLiteral("copy"), QStringLiteral("copies")));
        }
    }
    if (plan.skippedCount > 0) {
        lines << QStringLiteral("%1 without a title will be skipped.")
                     .arg(
                         countOf(plan.skippedCount, QStringLiteral("row"), QStringLiteral("rows")));
        for (const SkippedRow& row : plan.skipped) {
            lines << QStringLiteral("  %1 %2: %3")
                         .arg(plan.placeWord)
                         .arg(row.number)
                         .arg(row.reason);
        }
        if (plan.skippedCount > qint64(plan.skipped.size())) {
            lines << andMoreLine(plan.skippedCount - qint64(plan.skipped.size()));
        }
    }
    if (plan.refusedCount > 0) {
        lines << kRefusedRows.arg(
            countOf(plan.refusedCount, QStringLiteral("row"), QStringLiteral("rows")));
        for (const SkippedRow& row : plan.refused) {
            lines << QStringLiteral("  %1 %2: %3")
                         .arg(plan.placeWord)
                         .arg(row.number)
                         .arg(row.reason);
        }
        if (plan.refusedCount > qint64(plan.refused.size())) {
            lines << andMoreLine(plan.refusedCount - qint64(plan.refused.size()));
        }
    }
    for (const qint64 number : plan.unsavedFormulaRows) {
        lines << QStringLiteral("%1 %2: %3").arg(plan.placeWord).arg(number).arg(kUnsavedFormulas);
    }
    if (plan.unsavedFormulaCount > qint64(plan.unsavedFormulaRows.size())) {
        lines << QStringLiteral("and %1 more with formulas without saved values.")
                     .arg(countOf(plan.unsavedFormulaCount - qint64(plan.unsavedFormulaRows.size()),
                                  QStringLiteral("row"), QStringLiteral("rows")));
    }
    if (plan.looksLikeExistingCount > 0) {
        lines << QStringLiteral("%1 (same title and year as a movie already in the catalogue) "
                                "will be %2.")
                     .arg(countOf(plan.looksLikeExistingCount, QStringLiteral("look-alike"),
                                  QStringLiteral("look-alikes")),
                          skipLookAlikes ? QStringLiteral("skipped") : QStringLiteral("added"));
        if (const qint64 copies = plan.joiningCopyCount(skipLookAlikes); copies > 0) {
            lines << kCopiesJoin.arg(
                countOf(copies, QStringLiteral("copy"), QStringLiteral("copies")));
        }
    }
    if (!plan.ignoredColumns.isEmpty()) {
        lines << QStringLiteral("Ignored columns: %1.")
                     .arg(plan.ignoredColumns.join(QStringLiteral(", ")));
    }
    if (plan.sheetNames.size() > 1) {
        QStringList others = plan.sheetNames;
        others.removeAll(plan.sheetName);
        lines << QStringLiteral("Read the sheet \"%1\"; the workbook also has %2.")
                     .arg(plan.sheetName, quotedSheetNames(others));
    }
    if (!plan.encodingNote.isEmpty()) {
        lines << plan.encodingNote;
    }
    return lines;
}

QString addedMessage(qint64 count) {
    return QStringLiteral("Added %1.")
        .arg(countOf(count, QStringLiteral("movie"), QStringLiteral("movies")));
}
