#!/usr/bin/env bash
# Installs what is missing, checks the layout of the sources, builds Reelkeeper
# with AddressSanitizer and UndefinedBehaviorSanitizer (a compiler warning in
# our own code fails the build), runs clang-tidy over that build and runs
# every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
"$root/scripts/format-check.sh"
build="$root/build-test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_SANITIZE=ON \
    -DREELKEEPER_BUILD_TESTS=ON -DREELKEEPER_WERROR=ON
cmake --build "$build" -j"$(nproc)"
# clang-tidy on the compile commands of that build; a file whose fingerprint
# is in .tidy-clean was found clean as it is and is not checked again.
"$root/scripts/tidy.sh" "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The core alone, built as on a machine without Qt Gui and Widgets: the core,
# its tests and reelkeeper-cli.
core="$root/build-core"
cmake -S "$root" -B "$core" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_SANITIZE=ON \
    -DREELKEEPER_BUILD_TESTS=ON -DREELKEEPER_GUI=OFF -DREELKEEPER_WERROR=ON
cmake --build "$core" -j"$(nproc)"
ctest --test-dir "$core" --output-on-failure

# The fuzz targets, built with clang's libFuzzer, each run for a few seconds.
fuzz="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_FUZZ=ON \
    -DREELKEEPER_WERROR=ON
cmake --build "$fuzz" -j"$(nproc)" --target fuzzers
ctest --test-dir "$fuzz" --output-on-failure

# Every other test, last, so that its summary closes the run.
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
