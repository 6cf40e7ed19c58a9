#!/usr/bin/env bash
# Runs clang-tidy (the repo's .clang-tidy) over the program's sources; prints
# each finding and exits non-zero when there is any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-tidy"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null # generates the moc files the sources include
log=$(mktemp)
run-clang-tidy -p "$build" -quiet "$root/src/.*\.cpp$" >"$log" 2>&1 || true
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E "^$root/src/.*: (warning|error):" | sort -u || true)
rm -f "$log"
if [[ -n "$findings" ]]; then
    echo "$findings"
    exit 1
fi
echo "clang-tidy: no findings"
