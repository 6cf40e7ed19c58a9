#include "core/system/processes.h"

#include "core/system/command_line.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>

void ProcessLauncher::pause(int milliseconds) {
    QThread::msleep(std::max(0, milliseconds));
}

namespace {

class QtStartedProcess : public StartedProcess {
public:
    explicit QtStartedProcess(std::unique_ptr<QProcess> process) : m_process(std::move(process)) {}

    bool queryExit(int& exitCode) override {
        if (m_process->state() != QProcess::NotRunning) {
            m_process->waitForFinished(0);
        }
        if (m_process->state() != QProcess::NotRunning) {
            exitCode = kStillActive;
            return false;
        }
        // A program ended by a signal reports it as a shell does, 128 + the signal.
        exitCode = m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode()
                                                                   : 128 + m_process->exitCode();
        return true;
    }

private:
    std::unique_ptr<QProcess> m_process;
};

// The program file a command's first word names, or a StartFailure.
QString programFile(const QString& word) {
    QString path = word;
    if (!word.contains(QLatin1Char('/'))) {
        path = QStandardPaths::findExecutable(word);
        if (path.isEmpty()) {
            throw StartFailure(ENOENT, QStringLiteral("%1: program not found").arg(word));
        }
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        throw StartFailure(ENOENT, QStringLiteral("%1: no such file").arg(word));
    }
    if (info.isDir() || !info.isExecutable()) {
        throw StartFailure(EACCES, QStringLiteral("%1: not an executable file").arg(word));
    }
    return path;
}

} // namespace

std::unique_ptr<StartedProcess> QtProcessLauncher::start(const QString& commandLine,
                                                         int windowStyle) {
    QStringList words;
    if (commandLine.contains(QLatin1Char('/')) && QFileInfo(commandLine).isFile()) {
        words << commandLine;
    } else if (const auto split = splitCommandLine(commandLine)) {
        words = *split;
    } else {
        throw StartFailure(EINVAL, QStringLiteral("A quote in the command line is not closed."));
    }
    if (words.isEmpty()) {
        throw StartFailure(EINVAL, QStringLiteral("The command line is empty."));
    }

    auto process = std::make_unique<QProcess>();
    process->setProgram(programFile(words.takeFirst()));
    process->setArguments(words);
    process->setStandardInputFile(QProcess::nullDevice());
    if (windowStyle == 0) {
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
    } else {
        process->setProcessChannelMode(QProcess::ForwardedChannels);
    }
    process->start();
    if (!process->waitForStarted(-1)) {
        throw StartFailure(ENOEXEC, process->errorString());
    }
    return std::make_unique<QtStartedProcess>(std::move(process));
}
