// reelkeeper-cli check: the catalogue's health, never changing the file.
#include "cli/command.h"
#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/snapshot_store.h"

#include "core/report/failure.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

namespace {

const QCommandLineOption kQuickOption(
    QStringLiteral("quick"),
    QStringLiteral("Read every page once but skip comparing the indexes with their tables."));

class CheckCommand : public Command {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString description() const override {
        return QStringLiteral(
            "Check the catalogue with SQLite's integrity check and check the columns of its "
            "table dvd; report triggers and views the program did not make and snapshots "
            "dated in the future; for a damaged file, say how many movies a salvage would "
            "recover. Prints \"ok\" and ends with status 0, or prints what is wrong, one "
            "problem a line, and ends with status 1. The file is only read.");
    }
    QList<QCommandLineOption> options() const override { return {kQuickOption}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<CheckCommand> kRegistration;

// What `reelkeeper-cli salvage` would save from a damaged catalogue.
QString salvageOutlook(const SnapshotStore& store) {
    SalvageResult result;
    try {
        result = store.salvageable();
    } catch (const Failure&) {
        // not even the first page reads: nothing to save
    }
    return describeSalvage(result, QStringLiteral("A salvage (reelkeeper-cli salvage) would save"));
}

int CheckCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const SnapshotStore store(context.catalogueFilePath());
    CheckResult result = checkCatalogue(
        store.catalogueFile(), parser.isSet(kQuickOption) ? CheckDepth::Quick : CheckDepth::Full);
    if (result.damaged) {
        result.problems << salvageOutlook(store) + QLatin1Char('.');
    }
    for (const QString& name : store.futureDated()) {
        result.cautions << QStringLiteral("The snapshot %1 is dated in the future: the clock was "
                                          "wrong when it was made.")
                               .arg(name);
    }
    QTextStream(&context.out) << result.text() << '\n';
    return result.clean() ? 0 : 1;
}

} // namespace
