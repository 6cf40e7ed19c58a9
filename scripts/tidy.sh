#!/usr/bin/env bash
# Installs what is missing, then runs clang-tidy (the repo's .clang-tidy) over
# the program's sources; prints each finding and exits non-zero when there is
# any, or when clang-tidy could not run at all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" tidy
for tool in clang-tidy run-clang-tidy; do
    if ! command -v "$tool" >/dev/null; then
        echo "tidy: $tool is not installed, so nothing was checked" >&2
        exit 2
    fi
done
build="$root/build-tidy"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null # generates the moc files the sources include
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
run-clang-tidy -p "$build" -quiet "$root/src/.*\.cpp$" >"$log" 2>&1 || status=$?
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E "^$root/src/.*: (warning|error):" | sort -u || true)
if [[ -n "$findings" ]]; then
    echo "$findings"
    exit 1
fi
if ((status != 0)); then
    echo "tidy: clang-tidy failed without a finding in the sources:" >&2
    cat "$log" >&2
    exit "$status"
fi
echo "clang-tidy: no findings"
