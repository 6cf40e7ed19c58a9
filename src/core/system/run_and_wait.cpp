#include "core/system/run_and_wait.h"

#include "core/system/event_pump.h"
#include "core/system/processes.h"

#include <cmath>
#include <cstdint>
#include <memory>

namespace Shell32 {

namespace {

int normalisedStyle(std::optional<double> style) {
    // A style that is not a number counts as missing.
    if (!style || !(*style >= 0 && *style <= 6)) {
        return kDefaultWindowStyle;
    }
    return int(std::lrint(*style)); // half-way values go to the even code
}

// The error number plus the base, in wrapping 32-bit arithmetic.
int startFailureResult(int errorNumber) {
    return int(std::int32_t(std::uint32_t(errorNumber) + std::uint32_t(kStartFailureBase)));
}

} // namespace

int RunAndWait(ProcessLauncher& launcher, const QString& commandLine,
               std::optional<double> windowStyle) {
    std::unique_ptr<StartedProcess> process;
    try {
        process = launcher.start(commandLine, normalisedStyle(windowStyle));
    } catch (const StartFailure& failure) {
        return startFailureResult(failure.errorNumber());
    }

    int exitCode = 0;
    bool ended = false;
    do {
        ended = process->queryExit(exitCode);
        pumpEvents();
        launcher.pause(kPollMilliseconds);
    } while (exitCode == StartedProcess::kStillActive && !ended);
    return exitCode;
}

} // namespace Shell32
