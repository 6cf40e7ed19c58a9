#pragma once

#include <QStringList>
#include <optional>

// The window program's own command line. It takes no arguments of its own
// beyond --help and --version, which are answered on standard output before
// any window exists, so they work without a display.
namespace ProgramOptions {

// Answers --help or --version and returns the exit status; returns nothing
// when the window should start.
std::optional<int> answerWithoutWindow(int argc, char* argv[]);

// Once the toolkit has taken its own options (-style, -platform, ...) out of
// the arguments: refuses whatever is left with a message on standard error
// and returns the exit status; returns nothing when nothing is left.
std::optional<int> refuseUnknown(const QStringList& arguments);

} // namespace ProgramOptions
