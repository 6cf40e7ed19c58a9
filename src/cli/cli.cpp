#include "cli/cli.h"

#include "cli/command.h"
#include "core/report/failure.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

namespace {

const QString kProgram = QStringLiteral("reelkeeper-cli");

const QCommandLineOption kCatalogueOption(
    QStringLiteral("catalogue"),
    QStringLiteral("Work on this catalogue file instead of the one the window uses."),
    QStringLiteral("file"));
const QCommandLineOption kHelpOption({QStringLiteral("h"), QStringLiteral("help")},
                                     QStringLiteral("Show this help and end."));
const QCommandLineOption kVersionOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version and end."));

QString optionLines(const QList<QCommandLineOption>& options) {
    QStringList names;
    for (const QCommandLineOption& option : options) {
        QStringList spelled;
        for (const QString& name : option.names()) {
            spelled << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        }
        QString line = spelled.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty()) {
            line += QStringLiteral(" <%1>").arg(option.valueName());
        }
        names << line;
    }
    qsizetype width = 0;
    for (const QString& name : names) {
        width = std::max(width, name.size());
    }
    QString text;
    for (qsizetype i = 0; i < options.size(); ++i) {
        text += QStringLiteral("  ") + names.at(i).leftJustified(width + 2) +
                options.at(i).description() + QLatin1Char('\n');
    }
    return text;
}

QString programHelp() {
    QString text = QStringLiteral("Usage: %1 [--catalogue <file>] <command> [options]\n\n"
                                  "The Reelkeeper movie catalogue from the command line.\n\n"
                                  "Options:\n")
                       .arg(kProgram);
    text += optionLines({kCatalogueOption, kHelpOption, kVersionOption});
    text += QStringLiteral("\nCommands:\n");
    qsizetype width = 0;
    for (const Command* command : Commands::all()) {
        width = std::max(width, command->name().size());
    }
    for (const Command* command : Commands::all()) {
        text += QStringLiteral("  ") + command->name().leftJustified(width + 2) +
                command->description() + QLatin1Char('\n');
    }
    return text +
           QStringLiteral("\n'%1 <command> --help' tells more of a command.\n").arg(kProgram);
}

QString commandHelp(const Command& command) {
    QString synopsis = command.name() + QStringLiteral(" [options]");
    if (!command.freeArguments().isEmpty()) {
        synopsis += QLatin1Char(' ') + command.freeArguments();
    }
    for (const QString& argument : command.arguments()) {
        synopsis += QLatin1Char(' ') + argument;
    }
    QString details =
        command.details().isEmpty() ? QString() : QStringLiteral("\n\n") + command.details();
    if (QStringList kinds = command.fileKinds(); !kinds.isEmpty()) {
        // "FILE is a .csv, .tsv or .ods file.": the bash completion reads this line.
        for (QString& kind : kinds) {
            kind.prepend(QLatin1Char('.'));
        }
        const QString last = kinds.takeLast();
        const QString named =
            kinds.isEmpty() ? last
                            : kinds.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
        details += QStringLiteral("\n\nFILE is a %1 file.").arg(named);
    }
    return QStringLiteral("Usage: %1 %2\n\n%3%4\n\nOptions:\n")
               .arg(kProgram, synopsis, command.description(), details) +
           optionLines(command.options() + QList{kCatalogueOption, kHelpOption});
}

// An unknown option as it was typed ("--bogus", "-x"): the parser names it
// without its dashes.
QString typedOption(const QString& name, const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--")) {
            break;
        }
        QString spelled = argument.section(QLatin1Char('='), 0, 0);
        const qsizetype dashes = spelled.startsWith(QStringLiteral("--")) ? 2 : 1;
        if (spelled.startsWith(QLatin1Char('-')) && spelled.mid(dashes) == name) {
            return spelled;
        }
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// What the parser did not understand, unknown options as they were typed.
QString parseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        return parser.errorText();
    }
    QStringList typed;
    for (const QString& name : unknown) {
        typed << typedOption(name, arguments);
    }
    return typed.size() == 1
               ? QStringLiteral("Unknown option '%1'.").arg(typed.constFirst())
               : QStringLiteral("Unknown options: %1.").arg(typed.join(QStringLiteral(", ")));
}

// Writes its text to the device as UTF-8 when it goes out of scope.
class Messages {
public:
    explicit Messages(QIODevice& device) : m_stream(&device) {}
    QTextStream& stream() { return m_stream; }
    // Says what was not understood and where the help is.
    int notUnderstood(const QString& what, const QString& command = {}) {
        const QString help = command.isEmpty() ? kProgram : kProgram + QLatin1Char(' ') + command;
        m_stream << kProgram << ": " << what << "\n"
                 << QStringLiteral("See '%1 --help'.\n").arg(help);
        return Cli::kExitNotUnderstood;
    }

private:
    QTextStream m_stream;
};

int runCommand(const Command& command, const QStringList& arguments, QString catalogueFile,
               QIODevice& out, Messages& messages, const Shell& shell) {
    QCommandLineParser parser;
    parser.addOptions(command.options() + QList{kCatalogueOption, kHelpOption});
    if (!parser.parse(QStringList{kProgram} + arguments)) {
        return messages.notUnderstood(parseError(parser, arguments), command.name());
    }
    if (parser.isSet(kHelpOption)) {
        QTextStream(&out) << commandHelp(command);
        return Cli::kExitDone;
    }
    // A command with free arguments checks them itself; the others take
    // exactly the arguments they name.
    const QStringList given = parser.positionalArguments();
    const QStringList wanted = command.arguments();
    if (command.freeArguments().isEmpty() && given.size() > wanted.size()) {
        const QString text = wanted.isEmpty()
                                 ? QStringLiteral("%1 takes no argument '%2'.")
                                 : QStringLiteral("%1 takes no further argument '%2'.");
        return messages.notUnderstood(text.arg(command.name(), given.at(wanted.size())),
                                      command.name());
    }
    if (given.size() < wanted.size()) {
        return messages.notUnderstood(QStringLiteral("%1 needs the argument %2.")
                                          .arg(command.name(), wanted.at(given.size())),
                                      command.name());
    }
    if (parser.isSet(kCatalogueOption)) {
        catalogueFile = parser.value(kCatalogueOption);
    }
    CommandContext context{out, messages.stream(), shell, catalogueFile};
    try {
        return command.run(parser, context);
    } catch (const Failure& failure) {
        messages.stream() << kProgram << ": " << failure.description() << "\n";
        return Cli::kExitFailed;
    }
}

} // namespace

namespace Cli {

int run(const QStringList& arguments, QIODevice& out, QIODevice& err, const Shell& shell) {
    Messages messages(err);
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions({kCatalogueOption, kHelpOption, kVersionOption});
    if (!parser.parse(QStringList{kProgram} + arguments)) {
        return messages.notUnderstood(parseError(parser, arguments));
    }
    if (parser.isSet(kHelpOption)) {
        QTextStream(&out) << programHelp();
        return kExitDone;
    }
    if (parser.isSet(kVersionOption)) {
        QTextStream(&out) << kProgram << ' ' << QStringLiteral(REELKEEPER_VERSION) << '\n';
        return kExitDone;
    }
    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        messages.stream() << programHelp();
        return kExitNotUnderstood;
    }
    const QString name = rest.takeFirst();
    const Command* command = Commands::find(name);
    if (!command) {
        return messages.notUnderstood(QStringLiteral("there is no command '%1'.").arg(name));
    }
    return runCommand(*command, rest, parser.value(kCatalogueOption), out, messages, shell);
}

} // namespace Cli
