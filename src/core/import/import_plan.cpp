#include "core/import/import_plan.h"

#include "core/import/column_map.h"

#include <QSet>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Progress is told after this many rows, so that it costs nothing noticeable.
constexpr qint64 kRowsPerProgress = 1024;

using MovieKey = std::pair<QString, QString>;

MovieKey keyOf(const QString& title, const QString& year) {
    return {title.toCaseFolded(), year.toCaseFolded()};
}

bool isBlank(const QStringList& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

const QString kNoTitle = QStringLiteral("no title");
constexpr int kTitleField = 0;
constexpr int kYearField = 1;

} // namespace

DvdRecord PlannedMovie::movie() const {
    return unpackFields(m_fields);
}

void ImportPlan::forEachMovieToAdd(bool skipLookAlikes,
                                   const std::function<void(const DvdRecord&)>& add) const {
    for (const PlannedMovie& planned : movies) {
        if (!(skipLookAlikes && planned.looksLikeExisting())) {
            add(planned.movie());
        }
    }
}

std::vector<DvdRecord> ImportPlan::firstMovies(std::size_t count, bool skipLookAlikes) const {
    std::vector<DvdRecord> first;
    for (auto planned = movies.begin(); planned != movies.end() && first.size() < count;
         ++planned) {
        if (!(skipLookAlikes && planned->looksLikeExisting())) {
            first.push_back(planned->movie());
        }
    }
    return first;
}

std::vector<DvdRecord> ImportPlan::moviesToAdd(bool skipLookAlikes) const {
    std::vector<DvdRecord> kept;
    kept.reserve(std::size_t(addCount(skipLookAlikes)));
    forEachMovieToAdd(skipLookAlikes, [&kept](const DvdRecord& movie) { kept.push_back(movie); });
    return kept;
}

ImportPlan planImport(RowReader& reader, const std::vector<DvdRecord>& existing,
                      const ImportProgress& progress) {
    ImportPlan plan;
    plan.formatName = reader.formatName();
    plan.placeWord = reader.placeWord();
    plan.encodingNote = reader.encodingNote();

    QSet<MovieKey> known;
    known.reserve(qsizetype(existing.size()));
    for (const DvdRecord& movie : existing) {
        known.insert(keyOf(movie.title, movie.year));
    }

    std::optional<ColumnMap> columns;
    if (reader.columnNaming() == ColumnNaming::ClipboardCopy) {
        columns = ColumnMap::clipboardCopy();
    }
    SourceRow row;
    qint64 rowsRead = 0;
    bool anyRowOfValues = false;
    while (reader.readRow(row)) {
        if (progress && ++rowsRead % kRowsPerProgress == 0 &&
            !progress(reader.progressDone(), reader.progressTotal())) {
            throw ImportFailure(ImportProblem::Cancelled,
                                QStringLiteral("The import was cancelled."));
        }
        if (isBlank(row.cells)) {
            continue;
        }
        if (!columns) {
            columns = ColumnMap::fromHeader(row.cells, RowPlace{reader.placeWord(), row.number});
            continue;
        }
        anyRowOfValues = true;
        const QString& title = columns->value(row.cells, kTitleField);
        if (title.trimmed().isEmpty()) {
            if (plan.skipped.size() < kListedSkips) {
                plan.skipped.push_back({row.number, kNoTitle});
            }
            ++plan.skippedCount;
            continue;
        }
        const bool looksLikeExisting =
            !known.isEmpty() && known.contains(keyOf(title, columns->value(row.cells, kYearField)));
        plan.looksLikeExistingCount += looksLikeExisting ? 1 : 0;
        plan.movies.emplace_back(columns->packedFields(row.cells), row.number, looksLikeExisting);
    }
    if (progress && !progress(reader.progressTotal(), reader.progressTotal())) {
        throw ImportFailure(ImportProblem::Cancelled, QStringLiteral("The import was cancelled."));
    }
    if (!columns) {
        throw ImportFailure(ImportProblem::Empty, QStringLiteral("The file has nothing in it."));
    }
    if (!anyRowOfValues) {
        throw ImportFailure(ImportProblem::NoMovies,
                            QStringLiteral("The file has a header row but no movies below it."));
    }
    plan.ignoredColumns = columns->ignoredColumns();
    return plan;
}
