#!/usr/bin/env bash
# reelkeeper-cli list of 100 000 movies beside sqlite3 -csv printing the same
# rows in the same order, both timed by hyperfine in one go; prints the ratio.
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/cli_list_bench.sh <build folder> [number of movies]
set -euo pipefail
build=${1:?usage: cli_list_bench.sh <build folder> [number of movies]}
movies=${2:-100000}
cli="$build/bin/reelkeeper-cli"
template="$build/bin/dbDVD.mdb"
for tool in sqlite3 hyperfine; do
    command -v "$tool" >/dev/null || {
        echo "$tool is missing (scripts/install-deps.sh test installs it)" >&2
        exit 1
    }
done
[[ -x "$cli" && -f "$template" ]] || {
    echo "no reelkeeper-cli and template catalogue in $build/bin" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
catalogue="$scratch/dbDVD.mdb"
cp "$template" "$catalogue"
# Movies shaped like the other benchmarks' (bench/generated_catalogue.cpp).
sqlite3 "$catalogue" "
with recursive n(i) as (select 0 union all select i + 1 from n where i < $movies - 1)
insert into dvd (title, year, genre, cast, director, runtime, rating, studio)
select 'Movie ' || (abs(random()) % 1000000) || ' of the ' || (i % 97) || ' collection',
       1920 + abs(random()) % 100,
       json_extract('[\"Drama\",\"Comedy\",\"Action\",\"Thriller\",\"Documentary\"]',
                    '\$[' || (abs(random()) % 5) || ']'),
       'Actor ' || (abs(random()) % 5000) || ', Actress ' || (abs(random()) % 5000),
       'Director ' || (abs(random()) % 3000),
       (1 + abs(random()) % 3) || ':' || printf('%02d', abs(random()) % 60),
       json_extract('[\"G\",\"PG\",\"PG-13\",\"R\"]', '\$[' || (abs(random()) % 4) || ']'),
       'Studio ' || (abs(random()) % 200)
from n;"

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
