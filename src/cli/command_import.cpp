// reelkeeper-cli import FILE: adds the movies of a CSV, tab-separated or
// .xlsx file to the catalogue in one transaction, after a snapshot.
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

class ImportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("import"); }
    QString description() const override {
        return QStringLiteral(
            "Add the movies of a CSV, tab-separated or .xlsx FILE, all or nothing, after a "
            "snapshot.");
    }
    QList<QCommandLineOption> options() const override { return {kSkipDuplicates, kNoSnapshot}; }
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
        plan = planImportFile(file, LookAlikeKeys(catalogue));
    } catch (const ImportFailure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(file, failure.description()));
    }

    QTextStream out(&context.out);
    out << QStringLiteral("%1 (%2):\n").arg(QFileInfo(file).fileName(), plan.formatName);
    for (const QString& line : planSummary(plan, skipDuplicates)) {
        out << line << '\n';
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
