// reelkeeper-cli check: the catalogue's health, never changing the file.
#include "cli/command.h"
#include "core/snapshots/catalogue_check.h"

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
            "table dvd. Prints \"ok\" and ends with status 0, or prints what is wrong, one "
            "problem a line, and ends with status 1. The file is only read.");
    }
    QList<QCommandLineOption> options() const override { return {kQuickOption}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override {
        const CheckResult result =
            checkCatalogue(context.catalogueFilePath(),
                           parser.isSet(kQuickOption) ? CheckDepth::Quick : CheckDepth::Full);
        QTextStream(&context.out) << result.text() << '\n';
        return result.ok() ? 0 : 1;
    }
};

const CommandRegistration<CheckCommand> kRegistration;

} // namespace
