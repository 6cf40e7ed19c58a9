#!/usr/bin/env bash
# reelkeeper-cli loans --overdue on 100 000 movies with 20 000 loans in their
# history beside the sqlite3 shell answering the same question (the open
# loans past their due date, with movie, copy and borrower), both timed by
# hyperfine in one go; prints the ratio. The loans' tables are made by the
# program itself (one lend), so the query runs on the program's own indexes.
# Build with -DCMAKE_BUILD_TYPE=Release first.
#
# usage: bench/loans_bench.sh <build folder> [number of movies] [number of loans]
set -euo pipefail
build=${1:?usage: loans_bench.sh <build folder> [number of movies] [number of loans]}
movies=${2:-100000}
loans=${3:-20000}
# shellcheck source=bench/command_bench_setup.sh
source "$(dirname "$0")/command_bench_setup.sh"
catalogue="$scratch/dbDVD.mdb"
source "$(dirname "$0")/generate_catalogue.sh"
generate_catalogue "$template" "$catalogue" "$movies"

# One loan made by the program, long overdue, on the last movie.
"$cli" --catalogue "$catalogue" lend "$movies" --to Sam --out 2001-01-01 --due 2001-01-21 \
    >/dev/null
# The others: a copy for each of (loans - 1) movies and one loan each, by 200
# borrowers. Nine in ten were returned; of the open ones, one in four is
# overdue and the rest are due far in the future.
sqlite3 "$catalogue" "
with recursive n(i) as (select 1 union all select i + 1 from n where i < 200)
insert into loan_borrower (name, fold) select 'Borrower ' || i, 'borrower ' || i from n;
with recursive n(i) as (select 1 union all select i + 1 from n where i < $loans - 1)
insert into shelf_copy (movie_id, format, status)
select 1 + (i * 7919) % ($movies - 1), 'DVD', 'owned' from n;
insert into loan (copy_id, borrower_id, direction, out, due, returned)
select id, 2 + id % 200, case when id % 7 = 0 then 'borrowed' else 'lent' end,
       '2020-01-01', case when id % 40 = 0 then '2020-02-01' else '2999-01-01' end,
       case when id % 10 = 0 then '' else '2020-01-20' end
from shelf_copy where id > 1;"

query="select c.movie_id, d.title, c.id, c.format, b.name, l.direction, l.out, l.due, l.returned
       from loan l join shelf_copy c on c.id = l.copy_id join dvd d on d.id = c.movie_id
       join loan_borrower b on b.id = l.borrower_id
       where l.returned = '' and l.due <> '' and l.due < date('now', 'localtime')
       order by l.due, l.out, l.id"
ours=$("$cli" --catalogue "$catalogue" loans --overdue | tail -n +2 | wc -l)
theirs=$(sqlite3 "$catalogue" "$query" | wc -l)
[[ $ours -eq $theirs && $ours -gt 1 ]] || {
    echo "the two found different loans: $ours and $theirs" >&2
    exit 1
}

hyperfine --warmup 3 --runs 30 --shell=none --export-csv "$scratch/times.csv" \
    --command-name "reelkeeper-cli loans --overdue" \
    "$cli --catalogue $catalogue loans --overdue" \
    --command-name "sqlite3" "sqlite3 $catalogue \"$query\""
# Columns: command, mean, stddev, median, ...; ours is the first row.
awk -F, 'NR == 2 { ours = $4 } NR == 3 { theirs = $4 }
    END { printf "reelkeeper-cli loans --overdue / sqlite3 (medians): %.2fx; it took %.1f ms\n",
          ours / theirs, ours * 1000 }' "$scratch/times.csv"
