// reelkeeper-cli salvage: every movie that can still be read from a damaged
// catalogue, saved into a sound one.
#include "cli/command.h"
#include "core/snapshots/snapshot_store.h"

#include <QIODevice>
#include <QTextStream>

namespace {

class SalvageCommand : public Command {
public:
    QString name() const override { return QStringLiteral("salvage"); }
    QString description() const override {
        return QStringLiteral(
            "Save every movie (and cover) that can still be read from a damaged catalogue into a "
            "new, sound catalogue in its place; the damaged file is kept in the folder 'backups' "
            "beside it. Prints how many movies were saved and where the damaged file was kept. "
            "A sound catalogue is left as it is.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override {
        const SnapshotStore store(context.catalogueFilePath());
        QTextStream out(&context.out);
        if (checkCatalogue(store.catalogueFile(), CheckDepth::Quick).ok()) {
            out << QStringLiteral("The catalogue is sound: nothing to salvage.") << '\n';
            return 0;
        }
        const SalvageResult result = store.salvage();
        out << describeSalvage(result, QStringLiteral("Saved")) << QStringLiteral(".\n")
            << QStringLiteral("The damaged file was kept as %1.").arg(result.keptDamaged) << '\n';
        return 0;
    }
};

const CommandRegistration<SalvageCommand> kRegistration;

} // namespace
