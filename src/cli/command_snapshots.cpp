// reelkeeper-cli snapshots: the catalogue's snapshots, newest first.
#include "cli/command.h"
#include "core/snapshots/snapshot_store.h"

#include <QIODevice>
#include <QTextStream>

namespace {

const QString kNoSnapshots = QStringLiteral("No snapshots yet.");

class SnapshotsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("snapshots"); }
    QString description() const override {
        return QStringLiteral(
            "List the catalogue's snapshots, newest first, one a line: the time taken, "
            "why it was made (manual, clear, import, restore, daily), the number of movies "
            "and the path, separated by tabs.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override;
};

const CommandRegistration<SnapshotsCommand> kRegistration;

int SnapshotsCommand::run(const QCommandLineParser&, CommandContext& context) const {
    const SnapshotStore store(context.catalogueFilePath());
    const QList<Snapshot> snapshots = store.list();
    if (snapshots.isEmpty()) {
        context.err << kNoSnapshots << '\n';
        return 0;
    }
    QTextStream out(&context.out);
    for (const Snapshot& snapshot : snapshots) {
        const QString reason = reasonWord(snapshot.name.reason);
        out << snapshot.name.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << '\t'
            << (reason.isEmpty() ? QStringLiteral("manual") : reason) << '\t' << snapshot.movies
            << '\t' << snapshot.path << '\n';
    }
    return 0;
}

} // namespace
