#include "core/system/processes.h"
#include "core/system/run_and_wait.h"
#include "support/desktop_fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Shell32::RunAndWait;

// The real launcher, counting its pauses (which it still takes).
class CountingLauncher : public QtProcessLauncher {
public:
    void pause(int milliseconds) override {
        sleeps.push_back(milliseconds);
        QtProcessLauncher::pause(milliseconds);
    }
    std::vector<int> sleeps;
};

constexpr int failed(int errorNumber) {
    return errorNumber + Shell32::kStartFailureBase;
}

TEST(RunAndWait, ReturnsTheExitCodeOfARealProgramAfterAtLeastOnePause) {
    CountingLauncher launcher;
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("sh -c 'exit 3'")), 3);
    ASSERT_FALSE(launcher.sleeps.empty());
    EXPECT_EQ(launcher.sleeps.front(), 100);
    launcher.sleeps.clear();
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("sh -c 'exit 0'"), 0), 0);
    EXPECT_GE(launcher.sleeps.size(), 1u);
}

TEST(RunAndWait, AProgramThatCannotStartReturnsANegativeNumberWithoutWaiting) {
    QTemporaryDir dir;
    const QString plain = dir.path() + QStringLiteral("/ADOFix64.msu");
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a program");
    file.close();

    CountingLauncher launcher;
    EXPECT_EQ(RunAndWait(launcher, dir.path() + QStringLiteral("/no such program")),
              failed(ENOENT));
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("no-such-program-on-the-path --help")),
              failed(ENOENT));
    EXPECT_EQ(RunAndWait(launcher, plain, 0), failed(EACCES));
    EXPECT_EQ(RunAndWait(launcher, dir.path()), failed(EACCES));
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("sh -c 'exit 3")), failed(EINVAL));
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("   ")), failed(EINVAL));
    EXPECT_LT(failed(ENOENT), 0);
    EXPECT_TRUE(launcher.sleeps.empty());
}

TEST(RunAndWait, CommandLinesWithBlanksAndQuotes) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("repair kit"));
    const QString script = dir.path() + QStringLiteral("/repair kit/fix it.sh");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n[ \"$1\" = \"a b\" ] && exit 5\nexit 4\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);

    CountingLauncher launcher;
    // The whole line is the path of a file: no quoting needed.
    EXPECT_EQ(RunAndWait(launcher, script), 4);
    // Quoted in either kind of quote, with an argument holding a blank.
    EXPECT_EQ(RunAndWait(launcher, QLatin1Char('"') + script + QStringLiteral("\" 'a b'")), 5);
    EXPECT_EQ(RunAndWait(launcher, QLatin1Char('\'') + script + QStringLiteral("' a\\ b")), 5);
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("sh -c \"exit \\\"7\\\"\"")), 7);
}

TEST(RunAndWait, WindowEventsRunWhileTheProgramRuns) {
    CountingLauncher launcher;
    bool returned = false;
    bool ranWhileWaiting = false;
    QTimer::singleShot(0, [&] { ranWhileWaiting = !returned; });
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("sh -c 'sleep 0.3; exit 2'")), 2);
    returned = true;
    EXPECT_TRUE(ranWhileWaiting);
    EXPECT_GE(launcher.sleeps.size(), 2u);
}

TEST(RunAndWait, WindowStyleIsNormalisedToZeroToSix) {
    RecordingProcessLauncher launcher;
    QList<int> styles;
    const std::optional<double> given[] = {{}, -1, 7, std::nan(""), 0, 3, 2.5};
    for (const std::optional<double>& style : given) {
        RunAndWait(launcher, QStringLiteral("x"), style);
        styles << launcher.launches.back().windowStyle;
    }
    EXPECT_EQ(styles, QList<int>({6, 6, 6, 6, 0, 3, 2}));
}

TEST(RunAndWait, PollsEveryHundredMillisecondsUntilTheProgramHasEnded) {
    RecordingProcessLauncher launcher;
    launcher.runningPolls = 3;
    launcher.exitCode = 1;
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("x")), 1);
    EXPECT_EQ(launcher.sleeps, std::vector<int>({100, 100, 100, 100}));

    // A program whose own exit code is the still-running code comes back
    // once it has ended.
    launcher.sleeps.clear();
    launcher.runningPolls = 1;
    launcher.exitCode = 259;
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("x")), 259);
    EXPECT_EQ(launcher.sleeps.size(), 2u);

    launcher.startError = 5;
    EXPECT_EQ(RunAndWait(launcher, QStringLiteral("x")), -2147221499);
}

} // namespace
