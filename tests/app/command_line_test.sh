#!/usr/bin/env bash
# The window program's command line: --help and --version answered without
# any display, the toolkit's own options left to it, anything else refused.
#
# usage: command_line_test.sh <reelkeeper executable>
set -euo pipefail
program=$1
failures=0

# check <platform> <expected status> <expected line (extended regex)> <arguments...>
# With platform "none" there is no display at all: a window would abort.
check() {
    local platform=$1 status=$2 line=$3 output actual=0
    shift 3
    if [[ $platform == none ]]; then
        output=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@" 2>&1) ||
            actual=$?
    else
        output=$(QT_QPA_PLATFORM=$platform "$program" "$@" 2>&1) || actual=$?
    fi
    if [[ $actual != "$status" ]] || ! grep -qE -- "$line" <<<"$output"; then
        echo "FAILED: reelkeeper $* ended with $actual (not $status) and printed:" >&2
        echo "$output" >&2
        failures=$((failures + 1))
    fi
}

check none 0 '^Usage: reelkeeper \[options\]$' --help
check none 0 '^  -v, --version ' -h
check none 0 '^reelkeeper [0-9]+\.[0-9]+\.[0-9]+$' --version
check none 0 '^License GPLv3\+' -v
# Single-dash words belong to the toolkit: -reverse is no bundle of -r -e -v.
check none 0 '^Usage: reelkeeper' -reverse --help
check offscreen 2 "^reelkeeper: Unknown option 'bogus'\.$" --bogus
check offscreen 2 "^reelkeeper: Unexpected argument 'movies.mdb'\.$" movies.mdb
check offscreen 2 "^Try 'reelkeeper --help' for more information\.$" --help-all
# The toolkit takes -style and its value; only what is left is refused.
check offscreen 2 "^reelkeeper: Unknown option 'bogus'\.$" -style fusion --bogus

((failures == 0)) || exit 1
echo "passed"
