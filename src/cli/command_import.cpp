// reelkeeper-cli import FILE: adds the movies of a CSV, tab-separated, .xlsx
// or .ods file to the catalogue in one transaction, after a snapshot.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/import/column_map.h"
#include "core/import/import_file.h"
#include "core/import/import_store.h"
#include "core/report/failure.h"
#include "core/snapshots/snapshot_failure.h"
#include "core/snapshots/snapshot_store.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace {

const QCommandLineOption kSkipDuplicates(
    QStringLiteral("skip-duplicates"),
    QStringLiteral(
        "Leave out movies with the same title and year (ignoring case and accents) as a movie "
        "already in the catalogue; their copies are added to the movie they look like."));
const QCommandLineOption kNoSnapshot(
    QStringLiteral("no-snapshot"),
    QStringLiteral("Import without first making a snapshot of the catalogue (an import is "
                   "refused when the snapshot cannot be made)."));

const QCommandLineOption kSheet(
    QStringLiteral("sheet"),
    QStringLiteral("Read the sheet NAME of a workbook (.xlsx or .ods) with more than one sheet of "
                   "data; without it the first sheet with data is read."),
    QStringLiteral("NAME"));
const QString kOtherSheets = QStringLiteral("(--sheet NAME reads another sheet.)");
const QCommandLineOption
    kMap(QStringLiteral("map"),
         QStringLiteral("Read the column COLUMN (its header text, case ignored, or its position "
                        "from 1) as FIELD: title, year, genre, cast, director, runtime, rating, "
                        "studio, a copy's format, edition, barcode, discs, location, acquired, "
                        "price, currency, condition, status or note, or ignore. May be given "
                        "more than once."),
         QStringLiteral("COLUMN=FIELD"));
const QCommandLineOption kNoHeader(
    QStringLiteral("no-header"),
    QStringLiteral("The first row is a movie, not a header: the columns hold title, year, "
                   "genre, cast, director, runtime, rating and studio in that order, unless "
                   "--map chooses otherwise by position."));
const QCommandLineOption kRuntimeMinutes(
    QStringLiteral("runtime-minutes"),
    QStringLiteral("Write a runtime given in minutes (\"142\" or \"142 min\") in hours and "
                   "minutes (\"2:22\"), as the catalogue writes runtimes."));

class ImportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("import"); }
    QString description() const override {
        return QStringLiteral(
            "Add the movies of a CSV, tab-separated, .xlsx or .ods FILE, all or nothing, after a "
            "snapshot.");
    }
    QList<QCommandLineOption> options() const override {
        return {kSkipDuplicates, kNoSnapshot, kSheet, kMap, kNoHeader, kRuntimeMinutes};
    }
    QStringList fileKinds() const override {
        return {QStringLiteral("csv"), QStringLiteral("tsv"), QStringLiteral("txt"),
                QStringLiteral("xlsx"), QStringLiteral("ods")};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE")}; }
    QString details() const override;
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<ImportCommand> kRegistration;

void makeSnapshot(Catalogue& catalogue) {
    try {
        SnapshotStore(catalogue.fileName()).make(catalogue, SnapshotReason::Import);
    } catch (const SnapshotFailure& failure) {
        throw Failure(QStringLiteral("No snapshot of the catalogue could be made, so nothing was "
                                     "imported: %1 (--no-snapshot imports without one)")
                          .arg(failure.description()));
    }
}

QString ImportCommand::details() const {
    return QStringLiteral("The first row names the columns by these texts (case and extra "
                          "blanks do not matter); other columns are ignored.\n  ") +
           recognisedHeaderLines().join(QStringLiteral("\n  ")) +
           QStringLiteral("\nA first row naming none of them that looks like a movie is read "
                          "as one, the columns in the order above.\nA row with values in the "
                          "columns from format on adds a copy of its movie to the shelf (format "
                          "names as 'copy add' takes them, barcodes with their check digit); "
                          "later rows of the same movie, the same eight fields, add their copies "
                          "to it, and a row with a value the shelf refuses is skipped with the "
                          "reason.");
}

int ImportCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QString file = parser.positionalArguments().constFirst();
    const bool skipDuplicates = parser.isSet(kSkipDuplicates);
    ColumnOptions columns;
    columns.noHeader = parser.isSet(kNoHeader);
    columns.runtimeInMinutes = parser.isSet(kRuntimeMinutes);
    try {
        for (const QString& choice : parser.values(kMap)) {
            columns.choices.push_back(ColumnChoice::parse(choice));
        }
    } catch (const Failure& failure) {
        return context.notUnderstood(QStringLiteral("import"), failure.description());
    }
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    ImportPlan plan;
    try {
        plan = planImport(*openImportFile(file, {}, parser.value(kSheet)), LookAlikeKeys(catalogue),
                          columns);
    } catch (const ImportFailure& failure) {
        if (failure.problem() == ImportProblem::NoSuchColumn) {
            return context.notUnderstood(
                QStringLiteral("import"),
                QStringLiteral("--map: %1: %2").arg(file, failure.description()));
        }
        if (failure.problem() == ImportProblem::NoSuchSheet) {
            return context.notUnderstood(QStringLiteral("import"),
                                         QStringLiteral("%1: %2").arg(file, failure.description()));
        }
        throw Failure(QStringLiteral("%1: %2").arg(file, failure.description()));
    }

    QTextStream out(&context.out);
    out << QStringLiteral("%1 (%2):\n").arg(QFileInfo(file).fileName(), plan.formatName);
    for (const QString& line : planSummary(plan, skipDuplicates)) {
        out << line << '\n';
    }
    if (plan.sheetNames.size() > 1 && !parser.isSet(kSheet)) {
        out << kOtherSheets << '\n';
    }
    out.flush();
    const qint64 count = plan.addCount(skipDuplicates);
    if (plan.storesAnything(skipDuplicates)) {
        if (!parser.isSet(kNoSnapshot)) {
            makeSnapshot(catalogue);
        }
        storePlannedMovies(catalogue, plan, skipDuplicates);
    }
    out << addedMessage(count) << '\n';
    return 0;
}

} // namespace
