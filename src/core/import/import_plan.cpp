#include "core/import/import_plan.h"

#include "core/import/column_map.h"
#include "core/import/copy_values.h"
#include "core/import/value_checks.h"
#include "core/report/counts.h"
#include "core/report/failure.h"

#include <QDate>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Progress is told after this many rows, so that it costs nothing noticeable.
constexpr qint64 kRowsPerProgress = 1024;

bool isBlank(const QStringList& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

const QString kNoTitle = QStringLiteral("no title");
const QString kTooManyRows = QStringLiteral("the file has more than %1 rows, the most this "
                                            "program reads (a cap against damaged or hostile "
                                            "files).");
const QString kLookAlikesHeading = QStringLiteral("The look-alikes:");
const QString kLooksLike = QStringLiteral("  %1 %2: %3 looks like %4");
const QString kLooksLikeUnnamed =
    QStringLiteral("  %1 %2: %3 looks like a movie already in the catalogue");
const QString kWrongValuesHeading = QStringLiteral("%1 that look wrong will be imported as they "
                                                   "are:");
const QString kWrongValue = QStringLiteral("  %1 %2: %3");
const QString kAndMore = QStringLiteral("  and %1 more.");
constexpr int kTitleField = 0;
constexpr int kYearField = 1;
constexpr int kRuntimeField = 5;
// The rows of values whose cells give the columns' first values.
constexpr qint64 kSampledRows = 20;

// Each column of the map as the plan shows it, with its first values.
std::vector<PlanColumn> planColumns(const ColumnMap& map, std::vector<QStringList> firstValues) {
    std::vector<PlanColumn> columns(std::size_t(map.names().size()));
    firstValues.resize(columns.size());
    for (std::size_t column = 0; column < columns.size(); ++column) {
        columns[column].header = map.names()[qsizetype(column)].trimmed();
        columns[column].firstValues = std::move(firstValues[column]);
    }
    for (int field = 0; field < kColumnFieldCount; ++field) {
        if (map.columnOf(field) >= 0 && std::size_t(map.columnOf(field)) < columns.size()) {
            columns[std::size_t(map.columnOf(field))].field = field;
        }
    }
    return columns;
}

// "Title" (year), or "Title" without a year.
QString titleAndYear(const QString& title, const QString& year) {
    const QString quoted = QStringLiteral("\"%1\"").arg(title);
    return year.isEmpty() ? quoted : QStringLiteral("%1 (%2)").arg(quoted, year);
}

} // namespace

QString andMoreLine(qint64 more) {
    return kAndMore.arg(groupedNumber(more));
}

QStringList lookAlikeLines(const ImportPlan& plan) {
    if (plan.lookAlikes.empty()) {
        return {};
    }
    QStringList lines{kLookAlikesHeading};
    for (const LookAlikeRow& row : plan.lookAlikes) {
        const DvdRecord movie = plan.movies[row.movie].movie();
        const QString own = titleAndYear(movie.title, movie.year);
        lines << (row.existingTitle.isEmpty()
                      ? kLooksLikeUnnamed.arg(plan.placeWord).arg(row.number).arg(own)
                      : kLooksLike.arg(plan.placeWord)
                            .arg(row.number)
                            .arg(own, titleAndYear(row.existingTitle, row.existingYear)));
    }
    if (plan.looksLikeExistingCount > qint64(plan.lookAlikes.size())) {
        lines << andMoreLine(plan.looksLikeExistingCount - qint64(plan.lookAlikes.size()));
    }
    return lines;
}

QStringList wrongValueLines(const ImportPlan& plan) {
    if (plan.wrongValues.empty()) {
        return {};
    }
    QStringList lines{kWrongValuesHeading.arg(
        plan.wrongValueCount == 1 ? QStringLiteral("1 value")
                                  : QStringLiteral("%1 values").arg(plan.wrongValueCount))};
    for (const WrongValue& value : plan.wrongValues) {
        lines << kWrongValue.arg(plan.placeWord).arg(value.number).arg(value.problem);
    }
    if (plan.wrongValueCount > qint64(plan.wrongValues.size())) {
        lines << andMoreLine(plan.wrongValueCount - qint64(plan.wrongValues.size()));
    }
    return lines;
}

void ImportPlan::forEachMovieToAdd(bool skipLookAlikes,
                                   const std::function<void(const DvdRecord&)>& add) const {
    movies.forEach(skipLookAlikes, [&add](const PlannedMovie& planned) {
        add(planned.movie());
        return true;
    });
}

std::vector<DvdRecord> ImportPlan::firstMovies(std::size_t count, bool skipLookAlikes) const {
    std::vector<DvdRecord> first;
    if (count > 0) {
        movies.forEach(skipLookAlikes, [&](const PlannedMovie& planned) {
            first.push_back(planned.movie());
            return first.size() < count;
        });
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
                      const ImportProgress& progress, const ImportLimits& limits) {
    return planImport(reader, LookAlikeKeys(existing), progress, limits);
}

ImportPlan planImport(RowReader& reader, const LookAlikeKeys& known, const ImportProgress& progress,
                      const ImportLimits& limits) {
    return planImport(reader, known, ColumnOptions{}, progress, limits);
}

ImportPlan planImport(RowReader& reader, const LookAlikeKeys& known, const ColumnOptions& options,
                      const ImportProgress& progress, const ImportLimits& limits) {
    ImportPlan plan;
    plan.formatName = reader.formatName();
    plan.placeWord = reader.placeWord();
    plan.encodingNote = reader.encodingNote();
    plan.sheetName = reader.sheetName();
    plan.sheetNames = reader.sheetNames();

    std::optional<ColumnMap> columns;
    if (reader.columnNaming() == ColumnNaming::ClipboardCopy) {
        columns = ColumnMap::clipboardCopy(options);
    }
    bool anyRowOfValues = false;
    std::vector<QStringList> firstValues;
    qint64 sampledRows = 0;
    const auto sample = [&](const QStringList& cells) {
        if (sampledRows++ >= kSampledRows) {
            return;
        }
        firstValues.resize(std::size_t(columns->names().size()));
        for (qsizetype column = 0; column < qsizetype(firstValues.size()); ++column) {
            QStringList& values = firstValues[std::size_t(column)];
            if (column < cells.size() && !cells[column].trimmed().isEmpty() &&
                values.size() < kFirstValues) {
                values << cells[column];
            }
        }
    };
    const int lastYear = QDate::currentDate().year() + 1;
    const auto check = [&](const SourceRow& row) {
        for (const int field : {kYearField, kRuntimeField}) {
            const QString problem =
                wrongValueProblem(field, columns->value(row.cells, field), lastYear);
            if (!problem.isEmpty()) {
                if (plan.wrongValues.size() < kListedSkips) {
                    plan.wrongValues.push_back({row.number, problem});
                }
                ++plan.wrongValueCount;
            }
        }
    };
    QByteArray packed; // one row's fields, its room reused from row to row
    QByteArray key;    // a row's movie, to join later rows of it
    const auto addRow = [&](const SourceRow& row) {
        anyRowOfValues = true;
        if (row.unsavedFormulas) {
            if (plan.unsavedFormulaRows.size() < kListedSkips) {
                plan.unsavedFormulaRows.push_back(row.number);
            }
            ++plan.unsavedFormulaCount;
            return;
        }
        sample(row.cells);
        if (!columns->hasTitle()) {
            return;
        }
        const QString title = columns->value(row.cells, kTitleField);
        if (title.trimmed().isEmpty()) {
            if (plan.skipped.size() < kListedSkips) {
                plan.skipped.push_back({row.number, kNoTitle});
            }
            ++plan.skippedCount;
            return;
        }
        std::optional<ShelfCopy> copy;
        if (columns->hasCopyColumns()) {
            try {
                copy = copyFromValues(columns->copyValues(row.cells));
            } catch (const Failure& failure) {
                if (plan.refused.size() < kListedSkips) {
                    plan.refused.push_back({row.number, failure.description()});
                }
                ++plan.refusedCount;
                return;
            }
            // The same movie: the same eight fields and, where the file has
            // one, the same id (two movies alike in all else stay two).
            columns->packFieldsUtf8(row.cells, packed);
            key = packed + columns->idValue(row.cells).toUtf8();
            if (const std::optional<std::size_t> same = plan.movies.find(QByteArrayView(key))) {
                if (copy) {
                    plan.movies.addCopy(*same, packCopyUtf8(*copy));
                }
                return;
            }
        }
        const std::optional<DvdRecord> existing =
            known.find(title, columns->value(row.cells, kYearField));
        std::optional<qint64> lookAlikeOf;
        if (existing) {
            bool whole = false;
            const qint64 id = existing->id.toLongLong(&whole);
            lookAlikeOf = whole ? id : 0;
            ++plan.looksLikeExistingCount;
            if (plan.lookAlikes.size() < kListedSkips) {
                plan.lookAlikes.push_back(
                    {row.number, plan.movies.size(), existing->title, existing->year});
            }
        }
        check(row);
        columns->packFieldsUtf8(row.cells, packed);
        plan.movies.add(QByteArrayView(packed), row.number, lookAlikeOf);
        if (columns->hasCopyColumns()) {
            plan.movies.setKey(plan.movies.size() - 1, QByteArrayView(key));
        }
        if (copy) {
            plan.movies.addCopy(plan.movies.size() - 1, packCopyUtf8(*copy));
        }
    };
    // A first row that names nothing known waits for the next to tell
    // whether it is a header or a movie.
    std::optional<SourceRow> undecided;
    const auto placeOf = [&reader](const SourceRow& row) {
        return RowPlace{reader.placeWord(), row.number};
    };
    SourceRow row;
    qint64 rowsRead = 0;
    while (reader.readRow(row)) {
        if (++rowsRead > limits.rows) {
            throw failureAt(ImportProblem::RowCap, RowPlace{reader.placeWord(), row.number},
                            kTooManyRows.arg(groupedNumber(limits.rows)));
        }
        if (progress && rowsRead % kRowsPerProgress == 0 &&
            !progress(reader.progressDone(), reader.progressTotal())) {
            throw ImportFailure(ImportProblem::Cancelled,
                                QStringLiteral("The import was cancelled."));
        }
        if (isBlank(row.cells) && (!row.unsavedFormulas || !columns)) {
            continue;
        }
        if (!columns && undecided) {
            if (looksLikeData(undecided->cells, row.cells)) {
                columns =
                    ColumnMap::byPosition(undecided->cells.size(), placeOf(*undecided), options);
                addRow(*undecided);
            } else {
                columns = ColumnMap::fromHeader(undecided->cells, placeOf(*undecided), options);
            }
            undecided.reset();
        } else if (!columns) {
            if (options.noHeader ||
                (!namesAColumn(row.cells, options) && looksLikeData(row.cells, {}))) {
                columns = ColumnMap::byPosition(row.cells.size(), placeOf(row), options);
            } else if (namesAColumn(row.cells, options)) {
                columns = ColumnMap::fromHeader(row.cells, placeOf(row), options);
                continue;
            } else {
                undecided = row;
                continue;
            }
        }
        addRow(row);
    }
    if (progress && !progress(reader.progressTotal(), reader.progressTotal())) {
        throw ImportFailure(ImportProblem::Cancelled, QStringLiteral("The import was cancelled."));
    }
    if (undecided) {
        columns = ColumnMap::fromHeader(undecided->cells, placeOf(*undecided), options);
    }
    if (!columns) {
        throw ImportFailure(ImportProblem::Empty, QStringLiteral("The file has nothing in it."));
    }
    if (!anyRowOfValues) {
        throw ImportFailure(ImportProblem::NoMovies,
                            QStringLiteral("The file has a header row but no movies below it."));
    }
    plan.ignoredColumns = columns->ignoredColumns();
    plan.columns = planColumns(*columns, std::move(firstValues));
    plan.hasHeader = columns->hasHeader();
    plan.titleColumnMissing = !columns->hasTitle();
    plan.hasCopyColumns = columns->hasCopyColumns();
    return plan;
}
