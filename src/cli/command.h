#pragma once

#include "core/catalogue/catalogue.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class QCommandLineParser;
class QIODevice;
class QTextStream;
class Shell;

// What a command works with: where its output and its messages go, the
// catalogue file the user named (empty for the window's own), and the
// folders the program uses.
struct CommandContext {
    QIODevice& out;
    QTextStream& err;
    const Shell& shell;
    QString catalogueFile;

    // Opens the named catalogue file, or the window's own (provided from the
    // template on a first use, as the window's first start does). Fails with
    // a description.
    void openCatalogue(Catalogue& catalogue, Catalogue::Access access) const;
    // The named catalogue file, or the window's own (provided as above).
    QString catalogueFilePath() const;
    // Says what of the command line was not understood and where the
    // command's help is; returns the exit status for it.
    int notUnderstood(const QString& command, const QString& what) const;
};

// One subcommand of reelkeeper-cli ("list", ...). A command is one file: its
// class and a CommandRegistration<TheCommand> beside it, which puts it into
// the table of commands before main() runs.
class Command {
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // One line for the list of commands.
    virtual QString description() const = 0;
    // The command's own options, beside --help and --catalogue.
    virtual QList<QCommandLineOption> options() const;
    // The names of the arguments it takes after its options, all required
    // ("FILE"); none by default.
    virtual QStringList arguments() const;
    // For a command that checks its own arguments: how the usage line shows
    // them ("set|get|remove ID [FILE]"). Empty for the others.
    virtual QString freeArguments() const { return {}; }
    // The extensions of the files its FILE argument takes ("csv", ...), which
    // its --help names and the bash completion offers; empty for any file.
    virtual QStringList fileKinds() const { return {}; }
    // More lines for the command's own --help, after its description.
    virtual QString details() const { return {}; }
    // Runs with its options parsed; returns the exit status. A failure
    // (a thrown Failure) is reported by the caller.
    virtual int run(const QCommandLineParser& parser, CommandContext& context) const = 0;
};

namespace Commands {
// Every command, by name.
std::vector<const Command*> all();
// The command with that name, or nullptr.
const Command* find(const QString& name);
void add(std::unique_ptr<Command> command);
} // namespace Commands

template <class C> struct CommandRegistration {
    CommandRegistration() { Commands::add(std::make_unique<C>()); }
};
