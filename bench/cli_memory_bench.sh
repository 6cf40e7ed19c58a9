#!/usr/bin/env bash
# reelkeeper-cli's peak memory on a large catalogue, and its exports beside
# the sqlite3 shell writing the same rows.
#
# 1. Peak resident memory (/usr/bin/time's maximum RSS of the whole command)
#    of list, export to .csv and .xlsx, backup, check and the import of one
#    row, each on a catalogue of 2 000 000 movies (generated once and kept in
#    the build folder); every one is meant to stay under 64 MB. A sheet holds
#    1 048 575 movies at most and a larger catalogue is refused before
#    anything is written, so the .xlsx export runs on a copy cut to a full
#    sheet.
# 2. export to .csv and to .xlsx of 100 000 movies timed by hyperfine beside
#    sqlite3 -csv writing the same rows to a file; prints the ratios (meant:
#    .csv at most 1.2x, .xlsx at most 3x).
#
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/cli_memory_bench.sh <build folder> [movies for memory] [movies for time]
set -euo pipefail
build=${1:?usage: cli_memory_bench.sh <build folder> [movies for memory] [movies for time]}
large=${2:-2000000}
timed=${3:-100000}
# shellcheck source=bench/command_bench_setup.sh
source "$(dirname "$0")/command_bench_setup.sh"
command -v /usr/bin/time >/dev/null || {
    echo "/usr/bin/time is missing (scripts/install-deps.sh test installs it)" >&2
    exit 1
}
source "$(dirname "$0")/generate_catalogue.sh"
query="select * from dvd order by title"

# peak <name> <command...>: runs the command (its output thrown away) and
# prints its peak resident memory, and its status when it failed.
peak() {
    local name=$1 status=0
    shift
    /usr/bin/time -o "$scratch/peak" -f "%x %M" "$@" >/dev/null 2>"$scratch/errors" || status=$?
    tail -n 1 "$scratch/peak" | awk -v name="$name" -v limit=65536 '{
        printf "%-28s %7.1f MB%s%s\n", name, $2 / 1024, ($2 > limit ? "  (over 64 MB)" : ""),
            ($1 != 0 ? "  (ended with status " $1 ")" : "") }'
    [[ $status -eq 0 ]] || sed 's/^/    /' "$scratch/errors"
}

echo "Peak memory with $large movies:"
source_catalogue=$(cached_catalogue "$build" "$large")
catalogue="$scratch/large/dbDVD.mdb"
mkdir -p "$scratch/large"
cp "$source_catalogue" "$catalogue"
printf 'title,year\nOne more movie,2024\n' >"$scratch/one.csv"
peak "list" "$cli" --catalogue "$catalogue" list
peak "export .csv" "$cli" --catalogue "$catalogue" export "$scratch/all.csv"
rm -f "$scratch/all.csv"
full_sheet="$scratch/large/full-sheet.mdb"
cp "$catalogue" "$full_sheet"
sqlite3 "$full_sheet" "delete from dvd where id not in (select id from dvd limit 1048575)"
peak "export .xlsx (full sheet)" "$cli" --catalogue "$full_sheet" export "$scratch/all.xlsx"
rm -f "$scratch/all.xlsx" "$full_sheet"
peak "backup" "$cli" --catalogue "$catalogue" backup
rm -rf "$scratch/large/backups"
peak "check" "$cli" --catalogue "$catalogue" check
peak "import of one row" "$cli" --catalogue "$catalogue" import --no-snapshot "$scratch/one.csv"
peak "sqlite3 -csv (for scale)" sqlite3 -csv -header "$catalogue" "$query"
rm -rf "$scratch/large"

echo
echo "Export of $timed movies beside the sqlite3 shell:"
catalogue="$scratch/dbDVD.mdb"
generate_catalogue "$template" "$catalogue" "$timed"
"$cli" --catalogue "$catalogue" export "$scratch/ours.csv" >/dev/null
sqlite3 -csv -header "$catalogue" ".output $scratch/theirs.csv" "$query"
cmp -s "$scratch/ours.csv" "$scratch/theirs.csv" ||
    echo "(the two .csv files differ in their bytes; compare $((timed + 1)) lines)"
[[ $(wc -l <"$scratch/ours.csv") -eq $((timed + 1)) &&
    $(wc -l <"$scratch/theirs.csv") -eq $((timed + 1)) ]] || {
    echo "the two wrote different rows" >&2
    exit 1
}
hyperfine --warmup 2 --runs 10 --shell=none --export-csv "$scratch/times.csv" \
    --command-name "reelkeeper-cli export .csv" "$cli --catalogue $catalogue export $scratch/ours.csv" \
    --command-name "reelkeeper-cli export .xlsx" "$cli --catalogue $catalogue export $scratch/ours.xlsx" \
    --command-name "sqlite3 -csv" "sqlite3 -csv -header $catalogue '.output $scratch/theirs.csv' '$query'"
# Columns: command, mean, stddev, median, ...; in the order given above.
awk -F, 'NR == 2 { csv = $4 } NR == 3 { xlsx = $4 } NR == 4 { shell = $4 }
    END {
        printf "export .csv / sqlite3 -csv (medians): %.2fx (at most 1.2x)\n", csv / shell
        printf "export .xlsx / sqlite3 -csv (medians): %.2fx (at most 3x)\n", xlsx / shell
    }' "$scratch/times.csv"
