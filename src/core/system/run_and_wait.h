#pragma once

#include <QString>
#include <optional>

class ProcessLauncher;

namespace Shell32 {

// Added to the error number of a program that cannot be started.
inline constexpr int kStartFailureBase = -2147221504;
inline constexpr int kDefaultWindowStyle = 6; // minimised without focus
inline constexpr int kPollMilliseconds = 100;

// Starts the command line with the window style (missing, below 0 or above
// 6: 6), and waits until the program has ended, letting window events run
// and pausing 100 ms between two looks at it; returns its exit code. A
// program that cannot be started returns at once with its error number
// plus kStartFailureBase, a negative number, and nothing is shown.
int RunAndWait(ProcessLauncher& launcher, const QString& commandLine,
               std::optional<double> windowStyle = std::nullopt);

} // namespace Shell32
