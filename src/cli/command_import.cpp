// reelkeeper-cli import FILE: adds the movies of a CSV, tab-separated, .xlsx
// or .ods file to the catalogue in one transaction, after a snapshot.
#include "cli/cli.h"
#include "cli/command.h"
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
    QStringLiteral("Leave out movies with the same title and year (ignoring case) as a movie "
                   "already in the catalogue."));
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

class ImportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("import"); }
    QString description() const override {
        return QStringLiteral(
            "Add the movies of a CSV, tab-separated, .xlsx or .ods FILE, all or nothing, "
            "after a snapshot.");
    }
    QList<QCommandLineOption> options() const override {
        return {kSkipDuplicates, kNoSnapshot, kSheet};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE")}; }
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

int ImportCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QString file = parser.positionalArguments().constFirst();
    const bool skipDuplicates = parser.isSet(kSkipDuplicates);
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    ImportPlan plan;
    try {
        plan = planImportFile(file, LookAlikeKeys(catalogue), {}, {}, parser.value(kSheet));
    } catch (const ImportFailure& failure) {
        if (failure.problem() == ImportProblem::NoSuchSheet) {
            context.err
                << QStringLiteral("reelkeeper-cli: %1: %2\n").arg(file, failure.description())
                << "See 'reelkeeper-cli import --help'.\n";
            return Cli::kExitNotUnderstood;
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
    if (count > 0) {
        if (!parser.isSet(kNoSnapshot)) {
            makeSnapshot(catalogue);
        }
        storePlannedMovies(catalogue, plan, skipDuplicates);
    }
    out << addedMessage(count) << '\n';
    return 0;
}

} // namespace
