#!/usr/bin/env bash
# reelkeeper-cli import of 100 000 movies as a person runs it, from a CSV file
# and from an .xlsx workbook of the same movies, beside the floor: the sqlite3
# shell importing the same CSV file. Each goes into a fresh copy of the
# template catalogue (with its snapshot made, as by default); all three are
# timed by hyperfine in one go and the ratios of the medians are printed.
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/import_command_bench.sh <build folder> [number of movies] [runs]
set -euo pipefail
build=${1:?usage: import_command_bench.sh <build folder> [number of movies] [runs]}
movies=${2:-100000}
runs=${3:-7}
# shellcheck source=bench/command_bench_setup.sh
source "$(dirname "$0")/command_bench_setup.sh"
source "$(dirname "$0")/generate_catalogue.sh"

# The movies: a generated catalogue, its eight fields as CSV with a header
# line, and the same movies as a workbook written by the program's export.
generate_catalogue "$template" "$scratch/generated.mdb" "$movies"
csv="$scratch/movies.csv"
xlsx="$scratch/movies.xlsx"
fields="title, year, genre, [cast], director, runtime, rating, studio"
sqlite3 -csv -header "$scratch/generated.mdb" ".output $csv" "select $fields from dvd order by id"
"$cli" --catalogue "$scratch/generated.mdb" export "$xlsx" >/dev/null

# Each import has a folder of its own: the catalogue and its snapshots.
fresh() {
    echo "bash -c 'rm -rf $scratch/$1 && mkdir $scratch/$1 && cp $template $scratch/$1/dbDVD.mdb'"
}
csv_import="$cli --catalogue $scratch/csv/dbDVD.mdb import $csv"
xlsx_import="$cli --catalogue $scratch/xlsx/dbDVD.mdb import $xlsx"
floor_import="sqlite3 $scratch/floor/dbDVD.mdb '.mode csv' \
'create temp table tmp ($fields)' \
'.import --schema temp --skip 1 $csv tmp' \
'insert into dvd ($fields) select * from tmp'"

# Each of the three stores every movie once.
for run in "csv|$csv_import" "xlsx|$xlsx_import" "floor|$floor_import"; do
    name=${run%%|*}
    bash -c "$(fresh "$name") && ${run#*|}" >/dev/null
    stored=$(sqlite3 "$scratch/$name/dbDVD.mdb" "select count(*) from dvd")
    [[ $stored -eq $movies ]] || {
        echo "$name stored $stored movies, not $movies" >&2
        exit 1
    }
done

hyperfine --warmup 1 --runs "$runs" --shell=none --export-csv "$scratch/times.csv" \
    --prepare "$(fresh csv)" --command-name "reelkeeper-cli import .csv" "$csv_import" \
    --prepare "$(fresh xlsx)" --command-name "reelkeeper-cli import .xlsx" "$xlsx_import" \
    --prepare "$(fresh floor)" --command-name "sqlite3 .import" "$floor_import"
# Columns: command, mean, stddev, median, ...; in the order given above.
awk -F, 'NR == 2 { csv = $4 } NR == 3 { xlsx = $4 } NR == 4 { floor = $4 }
    END {
        printf "median  import .csv %7.1f ms  import .xlsx %7.1f ms  sqlite3 .import %7.1f ms\n",
            csv * 1e3, xlsx * 1e3, floor * 1e3
        printf "import .csv / sqlite3 .import (medians): %.2fx (at most 1.2x)\n", csv / floor
        printf "import .xlsx / sqlite3 .import (medians): %.2fx\n", xlsx / floor
    }' "$scratch/times.csv"
