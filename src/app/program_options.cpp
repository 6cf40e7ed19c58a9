#include "app/program_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <string>

namespace {

constexpr char kCommandName[] = "reelkeeper";
constexpr char kDescription[] =
    "Keeps a list of the movies you own in one catalogue file and shows it in a\n"
    "window: sort it by any column; add, edit and delete movies; tick movies and\n"
    "copy them to the clipboard or into a new spreadsheet workbook.\n"
    "\n"
    "Find (Ctrl+F) narrows the list as you type: words, \"a phrase\", one field such\n"
    "as director:wilder, a range of years such as year:1950..1959, -word to leave\n"
    "out, a OR b for either.\n"
    "Import movies from CSV, tab-separated text, .xlsx or .ods (Ctrl+I, drop the\n"
    "file on the window, or Ctrl+V copied text), choosing the field of each column\n"
    "in the preview; export the catalogue to .csv or .xlsx (Ctrl+E).\n"
    "Every movie can have a cover, kept in the catalogue file; Ctrl+2 shows the\n"
    "covers, Ctrl+1 the list again.\n"
    "Snapshots of the catalogue go into the folder \"backups\" beside it; \"Restore a\n"
    "snapshot\" in the list's context menu brings one back.\n"
    "F10, or Alt pressed and released alone, shows the menu bar (\"Show menu bar\"\n"
    "keeps it); F1 or Ctrl+? lists the keyboard shortcuts.\n"
    "\n"
    "reelkeeper-cli works on the same catalogue from a terminal.";
constexpr char kCopyright[] =
    "Copyright 2026 Tarnwick\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";
constexpr int kUsageError = 2;

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Shows this help and exits."));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Shows the version and exits."));

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    // Single-dash words are the toolkit's (-style, -reverse), never bundled letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(kHelp);
    parser.addOption(kVersion);
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> ProgramOptions::answerWithoutWindow(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QCommandLineParser parser;
    describe(parser);
    // The toolkit's own options are unknown here; they are sorted out once the
    // window program's application object has taken them.
    parser.parse(arguments);
    if (parser.isSet(kHelp)) {
        // The usage line names the program through the application object:
        // by its command name, not the path it was started by.
        std::string command = kCommandName;
        int commandArgc = 1;
        char* commandArgv[] = {command.data(), nullptr};
        QCoreApplication app(commandArgc, commandArgv);
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(kVersion)) {
        print(stdout, QStringLiteral("%1 %2\n%3")
                          .arg(QLatin1String(kCommandName), QLatin1String(REELKEEPER_VERSION),
                               QLatin1String(kCopyright)));
        return 0;
    }
    return std::nullopt;
}

std::optional<int> ProgramOptions::refuseUnknown(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    QString problem;
    if (!parser.parse(arguments)) {
        problem = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        problem =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    } else {
        return std::nullopt;
    }
    print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                      .arg(QLatin1String(kCommandName), problem));
    return kUsageError;
}
