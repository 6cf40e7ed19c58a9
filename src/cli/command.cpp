#include "cli/command.h"

#include "cli/cli.h"
#include "core/catalogue/catalogue_location.h"

#include <QTextStream>

#include <map>

namespace {

// Filled by the registrations before main(); a function's own static, so it
// exists whichever registration comes first.
std::map<QString, std::unique_ptr<Command>>& table() {
    static std::map<QString, std::unique_ptr<Command>> commands;
    return commands;
}

} // namespace

void CommandContext::openCatalogue(Catalogue& catalogue, Catalogue::Access access) const {
    catalogue.open(catalogueFilePath(), access);
}

QString CommandContext::catalogueFilePath() const {
    return catalogueFile.isEmpty() ? CatalogueLocation::provide(shell) : catalogueFile;
}

int CommandContext::notUnderstood(const QString& command, const QString& what) const {
    err << "reelkeeper-cli: " << what << "\n"
        << "See 'reelkeeper-cli " << command << " --help'.\n";
    return Cli::kExitNotUnderstood;
}

QList<QCommandLineOption> Command::options() const {
    return {};
}

QStringList Command::arguments() const {
    return {};
}

namespace Commands {

std::vector<const Command*> all() {
    std::vector<const Command*> commands;
    for (const auto& [name, command] : table()) {
        commands.push_back(command.get());
    }
    return commands;
}

const Command* find(const QString& name) {
    const auto found = table().find(name);
    return found == table().end() ? nullptr : found->second.get();
}

void add(std::unique_ptr<Command> command) {
    const QString name = command->name();
    table()[name] = std::move(command);
}

} // namespace Commands
