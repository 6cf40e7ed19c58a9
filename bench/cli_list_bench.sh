#!/usr/bin/env bash
# reelkeeper-cli list of 100 000 movies beside sqlite3 -csv printing the same
# rows in the same order, both timed by hyperfine in one go; prints the ratio.
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/cli_list_bench.sh <build folder> [number of movies]
set -euo pipefail
build=${1:?usage: cli_list_bench.sh <build folder> [number of movies]}
movies=${2:-100000}
# shellcheck source=bench/command_bench_setup.sh
source "$(dirname "$0")/command_bench_setup.sh"
catalogue="$scratch/dbDVD.mdb"
source "$(dirname "$0")/generate_catalogue.sh"
generate_catalogue "$template" "$catalogue" "$movies"

query="select * from dvd order by title"
# The same rows: one header line and one line per movie from each.
ours=$("$cli" --catalogue "$catalogue" list | wc -l)
theirs=$(sqlite3 -csv -header "$catalogue" "$query" | wc -l)
[[ $ours -eq $((movies + 1)) && $theirs -eq $ours ]] || {
    echo "the two printed different rows: $ours and $theirs lines" >&2
    exit 1
}

hyperfine --warmup 2 --runs 15 --shell=none --export-csv "$scratch/times.csv" \
    --command-name "reelkeeper-cli list" "$cli --catalogue $catalogue list" \
    --command-name "sqlite3 -csv" "sqlite3 -csv -header $catalogue '$query'"
# Columns: command, mean, stddev, median, ...; ours is the first row.
awk -F, 'NR == 2 { ours = $4 } NR == 3 { theirs = $4 }
    END { printf "reelkeeper-cli list / sqlite3 -csv (medians): %.2fx (at most 1.5x)\n", ours / theirs }' \
    "$scratch/times.csv"
