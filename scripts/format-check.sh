#!/usr/bin/env bash
# Checks that every tracked C++ source and header is laid out as the repo's
# .clang-format says; lists each file that is not and exits non-zero.
# `clang-format -i FILE` puts one right.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if ! command -v clang-format >/dev/null; then
    echo "format-check: clang-format is not installed, so nothing was checked" >&2
    exit 2
fi
cd "$root"
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if ((${#files[@]} == 0)); then
    echo "format-check: no C++ files found" >&2
    exit 2
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "format-check: run clang-format -i on the files above" >&2
    exit 1
fi
echo "clang-format: ${#files[@]} files as .clang-format says"
