// reelkeeper-cli backup: a snapshot of the catalogue now.
#include "cli/command.h"
#include "core/snapshots/snapshot_store.h"

#include <QIODevice>
#include <QTextStream>

namespace {

class BackupCommand : public Command {
public:
    QString name() const override { return QStringLiteral("backup"); }
    QString description() const override {
        return QStringLiteral("Make a snapshot of the catalogue in the folder 'backups' beside it "
                              "and print its path.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override {
        const SnapshotStore store(context.catalogueFilePath());
        QTextStream(&context.out) << store.make(SnapshotReason::Manual) << '\n';
        return 0;
    }
};

const CommandRegistration<BackupCommand> kRegistration;

} // namespace
