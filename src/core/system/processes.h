#pragma once

#include "core/report/failure.h"

#include <QString>
#include <memory>

// A program that cannot be started; the number says why (an errno value:
// 2 not found, 8 not a program, 13 not allowed, 22 a malformed command line).
class StartFailure : public Failure {
public:
    StartFailure(int errorNumber, const QString& description)
        : Failure(description), m_errorNumber(errorNumber) {}
    int errorNumber() const { return m_errorNumber; }

private:
    int m_errorNumber;
};

// A started program.
class StartedProcess {
public:
    static constexpr int kStillActive = 259;

    virtual ~StartedProcess() = default;
    // Sets exitCode to kStillActive while the program runs and to its exit
    // code once it has ended; returns whether it has ended, so that a
    // program whose own exit code is 259 can be told from a running one.
    virtual bool queryExit(int& exitCode) = 0;
};

// Starts programs from command lines. Tests hand in one that records.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the command line with a window style (0 hidden, 1 normal,
    // 2 minimised, 3 maximised, 4 normal without focus, 6 minimised without
    // focus); throws StartFailure at once when it cannot.
    virtual std::unique_ptr<StartedProcess> start(const QString& commandLine, int windowStyle) = 0;
    // Pauses the calling thread.
    virtual void pause(int milliseconds);
};

// The real launcher, over QProcess. A command line that is as a whole the
// path of an existing file (a path with blanks, unquoted) starts that file; any
// other is split into words as a POSIX shell would (see splitCommandLine)
// and its first word is looked up on PATH when it holds no "/". A desktop
// program chooses its own window, so the style only decides whether the
// program's console output is shown (forwarded to ours) or hidden (0).
class QtProcessLauncher : public ProcessLauncher {
public:
    std::unique_ptr<StartedProcess> start(const QString& commandLine, int windowStyle) override;
};
