#pragma once

#include <QStringList>

class QIODevice;
class Shell;

// reelkeeper-cli as a function: the arguments after the program's name,
// where the output goes, where messages go, and the folders to use.
namespace Cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;        // the command could not do its work
inline constexpr int kExitNotUnderstood = 2; // the command line was not understood

int run(const QStringList& arguments, QIODevice& out, QIODevice& err, const Shell& shell);

} // namespace Cli
