#!/usr/bin/env bash
# reelkeeper-cli scan on 100 000 movies with 150 000 copies beside the sqlite3
# shell answering the same lookup (the copies carrying a barcode, with their
# movie's title), both timed by hyperfine in one go; prints the ratio. The
# copies' table is made by the program itself (one copy add), so the lookup
# runs on the program's own indexes.
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/scan_bench.sh <build folder> [number of movies] [number of copies]
set -euo pipefail
build=${1:?usage: scan_bench.sh <build folder> [number of movies] [number of copies]}
movies=${2:-100000}
copies=${3:-150000}
# shellcheck source=bench/command_bench_setup.sh
source "$(dirname "$0")/command_bench_setup.sh"
catalogue="$scratch/dbDVD.mdb"
source "$(dirname "$0")/generate_catalogue.sh"
generate_catalogue "$template" "$catalogue" "$movies"

# The disc looked for: one copy made by the program, on the last movie.
barcode=4006381333931
"$cli" --catalogue "$catalogue" copy add "$movies" --format Blu-ray --edition "Final Cut" \
    --barcode "$barcode" --location "Shelf B" >/dev/null
# The other copies, spread over the movies, each with a barcode of its own
# (thirteen digits; the lookup does not check them).
sqlite3 "$catalogue" "
with recursive n(i) as (select 1 union all select i + 1 from n where i < $copies - 1)
insert into shelf_copy (movie_id, format, edition, barcode, location, status)
select 1 + (i * 7919) % $movies,
       json_extract('[\"DVD\",\"Blu-ray\",\"4K UHD\",\"VHS\"]', '\$[' || (i % 4) || ']'),
       case when i % 5 = 0 then 'Steelbook' else '' end,
       '5' || printf('%012d', i), 'Shelf ' || (i % 40), 'owned'
from n;"

query="select d.title, c.format, c.edition, c.location from shelf_copy c
       join dvd d on d.id = c.movie_id where c.barcode in ('$barcode', '')"
ours=$("$cli" --catalogue "$catalogue" scan "$barcode" | wc -l)
theirs=$(sqlite3 "$catalogue" "$query" | wc -l)
[[ $ours -eq 1 && $theirs -eq 1 ]] || {
    echo "the two found different copies: $ours and $theirs lines" >&2
    exit 1
}

hyperfine --warmup 3 --runs 30 --shell=none --export-csv "$scratch/times.csv" \
    --command-name "reelkeeper-cli scan" "$cli --catalogue $catalogue scan $barcode" \
    --command-name "sqlite3" "sqlite3 $catalogue \"$query\""
# Columns: command, mean, stddev, median, ...; ours is the first row.
awk -F, 'NR == 2 { ours = $4 } NR == 3 { theirs = $4 }
    END { printf "reelkeeper-cli scan / sqlite3 (medians): %.2fx; scan took %.1f ms (at most 50 ms)\n",
          ours / theirs, ours * 1000 }' "$scratch/times.csv"
