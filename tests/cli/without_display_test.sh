#!/usr/bin/env bash
# reelkeeper-cli on a machine as fresh as it gets: no display, no platform
# plugin, no data folder yet. The first list provides the catalogue from the
# template beside the program; a catalogue that is not there is reported.
#
# usage: without_display_test.sh <reelkeeper-cli>
set -euo pipefail
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
fresh() {
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" ASAN_OPTIONS="${ASAN_OPTIONS:-}" "$cli" "$@"
}

listed=$(fresh list) || fail "list ended with status $?"
[[ "$listed" == $'id,title,year,genre,cast,director,runtime,rating,studio\r' ]] ||
    fail "list printed: $listed"
[[ -f "$home/data/Tarnwick/Reelkeeper/dbDVD.mdb" ]] || fail "no catalogue was provided"

status=0
message=$(fresh --catalogue "$home/none.mdb" list 2>&1 >/dev/null) || status=$?
[[ $status -eq 1 ]] || fail "a missing catalogue ended with status $status"
[[ "$message" == "reelkeeper-cli: Could not open the catalogue $home/none.mdb:"* ]] ||
    fail "a missing catalogue said: $message"
[[ ! -e "$home/none.mdb" ]] || fail "a missing catalogue was created"
echo "reelkeeper-cli works without a display"
