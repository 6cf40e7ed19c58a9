// reelkeeper-cli restore FILE: the catalogue's contents from a snapshot.
#include "cli/command.h"
#include "core/snapshots/snapshot_store.h"
#include "core/system/regular_file.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

namespace {

const QCommandLineOption kAllowTriggers(
    QStringLiteral("allow-triggers"),
    QStringLiteral("Restore the snapshot even when it holds triggers or views the program did not "
                   "make (they are refused otherwise: a trigger runs by itself whenever movies "
                   "change)."));

class RestoreCommand : public Command {
public:
    QString name() const override { return QStringLiteral("restore"); }
    QString description() const override {
        return QStringLiteral(
            "Replace the catalogue's contents with those of the snapshot FILE, in one step. "
            "The current contents are snapshotted first (nothing is restored when that "
            "fails); that snapshot's path is printed.");
    }
    QList<QCommandLineOption> options() const override { return {kAllowTriggers}; }
    QStringList fileKinds() const override { return {QStringLiteral("mdb")}; }
    QStringList arguments() const override { return {QStringLiteral("FILE")}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override {
        const QString file = parser.positionalArguments().constFirst();
        requireRegularFile(file, file);
        const SnapshotStore store(context.catalogueFilePath());
        const QString before =
            store.restore(file, SnapshotStore::SafetySnapshot::Required,
                          parser.isSet(kAllowTriggers) ? SnapshotStore::ForeignObjects::Allow
                                                       : SnapshotStore::ForeignObjects::Refuse);
        QTextStream(&context.out) << before << '\n';
        return 0;
    }
};

const CommandRegistration<RestoreCommand> kRegistration;

} // namespace
