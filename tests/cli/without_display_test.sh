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
# A write past the file-size limit is reported like a full disk, not ended
# by a signal, and nothing of the export is left behind.
printf 'title,cast\n' >"$home/movies.csv"
for n in $(seq 1 300); do printf 'Movie %d,%0300d\n' "$n" 0 >>"$home/movies.csv"; done
fresh import --no-snapshot "$home/movies.csv" >/dev/null || fail "import ended with status $?"
status=0
message=$(ulimit -f 20 && fresh export "$home/all.csv" 2>&1 >/dev/null) || status=$?
[[ $status -eq 1 ]] || fail "an export past the file-size limit ended with status $status"
[[ "$message" == *"the disk is full or the file size limit was reached"* ]] ||
    fail "an export past the file-size limit said: $message"
[[ ! -e "$home/all.csv" ]] || fail "a partial export was left behind"
echo "reelkeeper-cli works without a display"
