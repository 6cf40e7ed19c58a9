// reelkeeper-cli: the catalogue from a terminal. It needs no display.
#include "cli/cli.h"
#include "core/system/shell.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
    // A write past the file-size limit (ulimit -f) fails with an error that
    // is reported like a full disk, instead of ending the program silently.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    if (!out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return Cli::kExitFailed;
    }
    const Shell shell;
    return Cli::run(QCoreApplication::arguments().mid(1), out, err, shell);
}
