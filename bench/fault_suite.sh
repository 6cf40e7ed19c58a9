#!/usr/bin/env bash
# What happens to the catalogue when reelkeeper-cli is interrupted or cannot
# write: counts, for each scenario, the rounds run and the rounds where the
# catalogue stayed whole (SQLite's integrity check says ok, the movie count
# is the one before or the one after the command and nothing in between, and
# no hot journal is left that stops a read-only `reelkeeper-cli list`).
#
#   kill        kill -9 after a random 0-300 ms during import (20 000 rows),
#               restore, backup and cover set on a catalogue of 60 000 movies
#   full disk   the same commands and export (.csv, .xlsx) under `ulimit -f`
#               set below what they write: also no partial file left and a
#               non-zero exit with a message instead of death by a signal
#   read-only   catalogue file 0444 and a read-only backups folder, run as
#               the user nobody: refused with a message, status 1, unchanged
#   concurrent  two imports at once, and an import beside a backup: every
#               import all or nothing, a refusal says the file is locked
#   onto itself export and cover get writing onto the catalogue's own path,
#               through a symbolic or a hard link: the catalogue unchanged
#
# The table gives, per scenario, the rounds run, the rounds where the catalogue
# stayed whole, the rounds without any fault at all (clean), and each kind of
# fault with the number of rounds it happened in; below it, the first round of
# each kind as a command to reproduce it. A kill lands within the command's own
# undisturbed run time (at most 300 ms in), so that most kills hit it running.
# The exit status is 1 when any round had a fault.
#
# Every command runs under `timeout`; the scratch folder is removed at the end.
# Needs bash, coreutils, sqlite3 and the built reelkeeper-cli; the read-only
# scenario needs root (it switches to nobody with setpriv) and is skipped
# otherwise. Build with -DCMAKE_BUILD_TYPE=Release first (the targets
# reelkeeper-cli and template_catalogue are enough).
#
# usage: bench/fault_suite.sh <build folder> [rounds per operation, default 25]
set -uo pipefail
build=${1:?usage: fault_suite.sh <build folder> [rounds]}
rounds=${2:-25}
cli="$build/bin/reelkeeper-cli"
template="$build/bin/dbDVD.mdb"
command -v sqlite3 >/dev/null || {
    echo "sqlite3 is missing (scripts/install-deps.sh test installs it)" >&2
    exit 1
}
[[ -x "$cli" && -f "$template" ]] || {
    echo "no reelkeeper-cli and template catalogue in $build/bin" >&2
    exit 1
}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || {
    echo "rounds must be a positive number" >&2
    exit 2
}
# The scenarios whose outcome does not depend on timing need fewer rounds.
steady_rounds=$((rounds / 5 > 3 ? rounds / 5 : 3))
movies=60000
import_rows=20000
limit=120 # seconds any one command may take

scratch=$(mktemp -d "${TMPDIR:-/tmp}/fault_suite.XXXXXX")
background=()
cleanup() {
    local pid
    for pid in "${background[@]}"; do
        kill -9 "$pid" 2>/dev/null
    done
    chmod -R u+rwX "$scratch" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
chmod 0755 "$scratch"
base="$scratch/base"
round="$scratch/round"
mkdir -p "$base" "$scratch/home" "$scratch/tmp"
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/data" XDG_CONFIG_HOME="$scratch/home/config"
export XDG_CACHE_HOME="$scratch/home/cache" TMPDIR="$scratch/tmp"
chmod 1777 "$scratch/tmp"
shopt -s nullglob dotglob

source "$(dirname "$0")/generate_catalogue.sh"

# --- fixtures ---------------------------------------------------------------
echo "Preparing a catalogue of $movies movies and the files to import ..." >&2
generate_catalogue "$template" "$base/catalogue.mdb" "$movies"
import_csv() { # <file> <title prefix>: $import_rows movies no catalogue holds yet
    sqlite3 -csv -header :memory: "
with recursive n(i) as (select 1 union all select i + 1 from n where i < $import_rows)
select '$2-' || i as title, 1900 + i % 120 as year, 'Drama' as genre, 'Cast ' || i as cast,
       'Director ' || (i % 300) as director, '1:' || printf('%02d', i % 60) as runtime,
       'PG' as rating, 'Studio ' || (i % 50) as studio from n;" >"$1"
}
import_csv "$base/a.csv" A
import_csv "$base/b.csv" B
# A 1x1 PNG, the smallest cover the command line accepts.
echo 'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==' |
    base64 -d >"$base/cover.png"
cover_hex=$(sqlite3 :memory: "select hex(readfile('$base/cover.png'))")
# The snapshot to restore: the catalogue plus file A, so the count tells them apart.
cp "$base/catalogue.mdb" "$base/snapshot.mdb"
sqlite3 "$base/snapshot.mdb" ".import --csv $base/a.csv dvd_import" \
    "insert into dvd (title, year, genre, cast, director, runtime, rating, studio)
     select * from dvd_import; drop table dvd_import; vacuum;"
snapshot_movies=$((movies + import_rows))
# A catalogue whose movie 1 has a cover, for cover get.
cp "$base/catalogue.mdb" "$base/covered.mdb"
timeout "$limit" "$cli" --catalogue "$base/covered.mdb" cover set 1 "$base/cover.png" >/dev/null || {
    echo "cover set on a fresh catalogue failed: the suite cannot run" >&2
    exit 1
}
chmod -R a+rX "$base"
size_kb() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }
catalogue_kb=$(size_kb "$base/catalogue.mdb")
snapshot_kb=$(size_kb "$base/snapshot.mdb")
# What the exports write when nothing stops them.
mkdir -p "$round"
timeout "$limit" "$cli" --catalogue "$base/catalogue.mdb" export "$round/all.csv" >/dev/null 2>&1
timeout "$limit" "$cli" --catalogue "$base/catalogue.mdb" export "$round/all.xlsx" >/dev/null 2>&1
csv_kb=$(size_kb "$round/all.csv" 2>/dev/null || echo 4096)
xlsx_kb=$(size_kb "$round/all.xlsx" 2>/dev/null || echo 2048)
rm -rf "$round"

# --- bookkeeping --------------------------------------------------------------
# A round can fail in several ways; "broken" ones mean the catalogue did not
# stay whole, the others (no message, a partial file, ...) are faults beside it.
declare -A ran=() whole=() clean=() failures=() example=() notes=() round_faults=()
order=()
broken=0
new_round() { # <catalogue to copy>: a fresh round folder with c.mdb
    chmod -R u+rwX "$round" 2>/dev/null
    rm -rf "$round" "$scratch/tmp"/*
    mkdir -p "$round"
    cp "$1" "$round/c.mdb"
    catalogue="$round/c.mdb"
    round_faults=() broken=0
}
fail() { # <kind of failure> [details]
    local detail=${2:-}
    [[ -v round_faults[$1] ]] || round_faults[$1]=${detail//"$scratch"\//}
}
broke() { # <kind of failure> [details]: the catalogue did not stay whole
    broken=1
    fail "$@"
}
note() { notes[$1]+="$2"$'\n'; }
record() { # <scenario> <how to reproduce the round>
    local scenario=$1 kind key
    [[ -v ran[$scenario] ]] || { order+=("$scenario"); ran[$scenario]=0 whole[$scenario]=0 clean[$scenario]=0; }
    ran[$scenario]=$((ran[$scenario] + 1))
    ((broken)) || whole[$scenario]=$((whole[$scenario] + 1))
    ((${#round_faults[@]})) || clean[$scenario]=$((clean[$scenario] + 1))
    for kind in "${!round_faults[@]}"; do
        key="$scenario"$'\t'"$kind"
        failures[$key]=$((${failures[$key]:-0} + 1))
        [[ -v example[$key] ]] || example[$key]="$2${round_faults[$kind]:+ => ${round_faults[$kind]}}"
    done
}
sleep_ms() { sleep "$(($1 / 1000)).$(printf %03d $(($1 % 1000)))"; }
says_locked() { # <file>: the message mentions a lock
    local text
    text=$(<"$1")
    [[ ${text,,} == *lock* ]]
}
first_line() { head -n 1 "$1" 2>/dev/null | cut -c 1-160; }

# Whole: a read-only list still opens it (no hot journal left behind), the
# integrity check says ok and the count is <before> or <after>. sqlite3 opens
# it writable, so it runs after the list: it would roll a hot journal back.
check_catalogue() { # <before> <after>
    local before=$1 after=$2 integrity count
    ((broken)) && return # already known broken: its symptoms add nothing
    if ! timeout "$limit" "$cli" --catalogue "$catalogue" list >/dev/null 2>"$round/list.err"; then
        [[ -e "$catalogue-journal" ]] || {
            broke "list fails afterwards" "$(first_line "$round/list.err")"
            return
        }
        # Then whether a writable open, rolling the journal back, finds it whole.
        broke "hot journal left: a read-only list fails" "$(first_line "$round/list.err")"
    fi
    integrity=$(timeout "$limit" sqlite3 "$catalogue" 'pragma integrity_check' 2>&1 | head -n 1)
    [[ $integrity == ok ]] || {
        broke "integrity check fails" "$integrity"
        return
    }
    count=$(timeout "$limit" sqlite3 "$catalogue" 'select count(*) from dvd' 2>&1)
    [[ $count == "$before" || $count == "$after" ]] ||
        broke "movie count neither before nor after" "$count movies, expected $before or $after"
}
check_snapshots() { # every snapshot left in backups is a sound database
    local file result
    for file in "$round"/backups/*.mdb; do
        result=$(timeout "$limit" sqlite3 -readonly "$file" 'pragma integrity_check' 2>&1 | head -n 1)
        [[ $result == ok ]] || fail "a damaged snapshot left in backups" "${file##*/}: $result"
    done
}
check_cover() { # movie 1's cover is either absent or the whole image
    local stored
    stored=$(timeout "$limit" sqlite3 "$catalogue" 'select hex(image) from cover where id = 1' 2>/dev/null)
    [[ -z $stored || $stored == "$cover_hex" ]] ||
        broke "cover stored cut short" "${#stored} hex digits instead of ${#cover_hex}"
}
leftovers() { # files in the round other than the catalogue and sound snapshots
    local file found=()
    for file in "$round"/* "$round"/backups/* "$scratch/tmp"/*; do
        case $file in
        "$catalogue" | "$round/backups" | "$round/list.err" | "$round/out" | "$round/err") ;;
        "$round"/backups/*.mdb) [[ ${file##*/} == .* ]] && found+=("${file#"$scratch"/}") ;;
        *) found+=("${file#"$scratch"/}") ;;
        esac
    done
    echo "${found[*]}"
}

# The operations: name, arguments, movie count after a finished run.
operation_args() {
    case $1 in
    import) echo "import $base/a.csv" ;;
    import-no-snapshot) echo "import --no-snapshot $base/a.csv" ;;
    restore) echo "restore $base/snapshot.mdb" ;;
    backup) echo "backup" ;;
    cover-set) echo "cover set 1 $base/cover.png" ;;
    export-csv) echo "export $round/out.csv" ;;
    export-xlsx) echo "export $round/out.xlsx" ;;
    esac
}
operation_after() {
    case $1 in
    import | import-no-snapshot) echo $((movies + import_rows)) ;;
    restore) echo "$snapshot_movies" ;;
    *) echo "$movies" ;;
    esac
}
# Roughly what an operation writes, in KiB: a limit below it stops it midway.
operation_writes_kb() {
    case $1 in
    import | import-no-snapshot) echo $((catalogue_kb + 1024)) ;;
    restore) echo $((snapshot_kb - 64)) ;;
    backup) echo $((catalogue_kb - 64)) ;;
    cover-set) echo "$catalogue_kb" ;;
    export-csv) echo $((csv_kb - 8)) ;;
    export-xlsx) echo $((xlsx_kb - 8)) ;;
    esac
}

# --- 1. kill -9 at a random moment --------------------------------------------
echo "kill -9 during a command ..." >&2
duration_ms() { # <operation>: how long it runs undisturbed
    local start end
    new_round "$base/catalogue.mdb"
    read -ra args <<<"$(operation_args "$1")"
    start=$(date +%s%N)
    timeout "$limit" "$cli" --catalogue "$catalogue" "${args[@]}" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
for op in import restore backup cover-set; do
    killed=0
    # The kill lands within the command's own run time, at most 300 ms in.
    window=$(duration_ms "$op")
    ((window <= 300)) || window=300
    for ((i = 1; i <= rounds; i++)); do
        new_round "$base/catalogue.mdb"
        read -ra args <<<"$(operation_args "$op")"
        (exec "$cli" --catalogue "$catalogue" "${args[@]}") >"$round/out" 2>"$round/err" &
        pid=$!
        background=("$pid")
        ms=$((RANDOM % (window + 1)))
        sleep_ms "$ms"
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null # without the shell's own "Killed" line
        status=$?
        background=()
        [[ $status -eq 137 ]] && killed=$((killed + 1))
        check_catalogue "$movies" "$(operation_after "$op")"
        check_snapshots
        [[ $op == cover-set ]] && check_cover
        record "kill: $op" "reelkeeper-cli --catalogue c.mdb ${args[*]##*/} & sleep ${ms}ms; kill -9"
    done
    note "kill: $op" "killed mid-run in $killed of $rounds rounds (kill within 0-$window ms)"
done

# --- 2. full disk (ulimit -f) -------------------------------------------------
echo "full disk ..." >&2
for op in import import-no-snapshot restore backup cover-set export-csv export-xlsx; do
    message=0 signalled=0 silent=0 succeeded=0
    most=$(operation_writes_kb "$op")
    for ((i = 1; i <= rounds; i++)); do
        new_round "$base/catalogue.mdb"
        read -ra args <<<"$(operation_args "$op")"
        kb=$((1 + (RANDOM * 32768 + RANDOM) % most))
        { (
            ulimit -f "$kb"
            exec timeout "$limit" "$cli" --catalogue "$catalogue" "${args[@]}"
        ) >"$round/out" 2>"$round/err"; } 2>/dev/null # the shell's line on the signal
        status=$?
        check_catalogue "$movies" "$(operation_after "$op")"
        check_snapshots
        [[ $op == cover-set ]] && check_cover
        left=$(leftovers)
        [[ -z $left ]] || fail "partial output left" "$left"
        if [[ $status -eq 0 ]]; then
            succeeded=$((succeeded + 1))
        elif [[ $status -ge 124 ]]; then
            signalled=$((signalled + 1))
            fail "killed by a signal, no message" "signal $((status - 128))$( ((status == 153)) && echo ' (SIGXFSZ)')"
        elif [[ ! -s "$round/err" ]]; then
            silent=$((silent + 1))
            fail "failed without a message" "status $status"
        else
            message=$((message + 1))
        fi
        record "full disk: $op" "(ulimit -f $kb; reelkeeper-cli --catalogue c.mdb ${args[*]##*/}) => status $status"
    done
    note "full disk: $op" "exits: $message with a message, $signalled by a signal, $silent silent, $succeeded fitted and succeeded"
done

# --- 3. read-only catalogue and backups folder ---------------------------------
as_nobody=()
if [[ $(id -u) -eq 0 ]] && command -v setpriv >/dev/null; then
    as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    mkdir -p "$scratch/nobody-home"
    chown nobody:nogroup "$scratch/nobody-home" || as_nobody=()
fi
if ((${#as_nobody[@]} == 0)); then
    echo "read-only: skipped (needs root and setpriv to run as nobody)" >&2
else
    echo "read-only ..." >&2
    # setup: "catalogue" (file 0444 and backups 0555) or "backups" (only the folder)
    for setup in catalogue backups; do
        ops="import import-no-snapshot restore backup cover-set"
        [[ $setup == backups ]] && ops="import restore backup"
        for op in $ops; do
            for ((i = 1; i <= steady_rounds; i++)); do
                new_round "$base/catalogue.mdb"
                mkdir "$round/backups"
                chown -R nobody:nogroup "$round"
                [[ $setup == catalogue ]] && chmod 0444 "$catalogue"
                chmod 0555 "$round/backups"
                sum=$(cksum <"$catalogue")
                read -ra args <<<"$(operation_args "$op")"
                HOME="$scratch/nobody-home" XDG_CONFIG_HOME="$scratch/nobody-home" \
                    XDG_DATA_HOME="$scratch/nobody-home" XDG_CACHE_HOME="$scratch/nobody-home" \
                    timeout "$limit" "${as_nobody[@]}" "$cli" --catalogue "$catalogue" "${args[@]}" \
                    >"$round/out" 2>"$round/err"
                status=$?
                [[ $(cksum <"$catalogue") == "$sum" ]] || broke "catalogue changed"
                check_catalogue "$movies" "$movies"
                left=$(leftovers)
                [[ -z $left ]] || fail "files left behind" "$left"
                if [[ $status -ne 1 ]]; then
                    fail "status $status instead of 1" "$(first_line "$round/err")"
                elif [[ ! -s "$round/err" ]]; then
                    fail "refused without a message"
                fi
                mode="catalogue 0444, backups 0555"
                [[ $setup == backups ]] && mode="backups 0555"
                record "read-only $setup: $op" "as nobody, $mode: reelkeeper-cli --catalogue c.mdb ${args[*]##*/} => status $status: $(first_line "$round/err")"
            done
        done
    done
fi

# --- 4. two commands at once ----------------------------------------------------
echo "concurrent ..." >&2
# check_import <status> <stderr> <title prefix>: all of its movies or, refused
# because the catalogue is locked, none; prints how many it added.
check_import() {
    local status=$1 err=$2 prefix=$3 added
    added=$(timeout "$limit" sqlite3 "$catalogue" "select count(*) from dvd where title like '$prefix-%'" 2>&1)
    if [[ $status -eq 0 ]]; then
        [[ $added == "$import_rows" ]] || broke "an import said done but did not add all its movies" "$added of $import_rows added"
    elif [[ $status -ge 124 ]]; then
        fail "an import hung or died" "status $status"
    elif ! says_locked "$err"; then
        fail "an import refused without saying the catalogue is locked" "$(first_line "$err")"
    elif [[ $added != 0 ]]; then
        broke "a refused import left some of its movies" "$added movies left"
    fi
}
for pair in import+import import+backup; do
    both=0
    for ((i = 1; i <= rounds; i++)); do
        new_round "$base/catalogue.mdb"
        (exec timeout "$limit" "$cli" --catalogue "$catalogue" import "$base/a.csv") \
            >"$round/a.out" 2>"$round/a.err" &
        first=$!
        background=("$first")
        ms=$((RANDOM % 101))
        sleep_ms "$ms"
        if [[ $pair == import+import ]]; then
            second_args=(import "$base/b.csv")
        else
            second_args=(backup)
        fi
        (exec timeout "$limit" "$cli" --catalogue "$catalogue" "${second_args[@]}") \
            >"$round/b.out" 2>"$round/b.err" &
        second=$!
        background+=("$second")
        wait "$first"
        first_status=$?
        wait "$second"
        second_status=$?
        background=()
        expected=$movies
        [[ $first_status -eq 0 ]] && expected=$((expected + import_rows))
        if [[ $pair == import+import ]]; then
            [[ $second_status -eq 0 ]] && expected=$((expected + import_rows))
            check_catalogue "$expected" "$expected"
            check_import "$first_status" "$round/a.err" A
            check_import "$second_status" "$round/b.err" B
        else
            check_catalogue "$expected" "$expected"
            check_import "$first_status" "$round/a.err" A
            if [[ $second_status -eq 0 ]]; then
                snapshot=$(head -n 1 "$round/b.out")
                result=$(timeout "$limit" sqlite3 -readonly "$snapshot" \
                    'pragma integrity_check; select count(*) from dvd' 2>&1 | tr '\n' ' ')
                [[ $result == "ok $movies " || $result == "ok $((movies + import_rows)) " ]] ||
                    fail "the backup beside an import is not a whole catalogue" "$result"
            elif ! says_locked "$round/b.err"; then
                fail "a backup refused without saying the catalogue is locked" "$(first_line "$round/b.err")"
            fi
        fi
        check_snapshots
        [[ $first_status -eq 0 && $second_status -eq 0 ]] && both=$((both + 1))
        record "concurrent: $pair" "reelkeeper-cli import a.csv & sleep ${ms}ms; reelkeeper-cli ${second_args[*]##*/} & => statuses $first_status, $second_status"
    done
    note "concurrent: $pair" "both finished in $both of $rounds rounds"
done

# --- 5. output onto the catalogue itself -----------------------------------------
echo "output onto the catalogue ..." >&2
for target in export-own-path export-symlink.csv export-symlink.xlsx export-hardlink.csv \
    export-catalogue-named.csv cover-get-own-path cover-get-symlink.png; do
    for ((i = 1; i <= steady_rounds; i++)); do
        new_round "$base/covered.mdb"
        case $target in
        export-catalogue-named.csv)
            mv "$catalogue" "$round/c.csv"
            catalogue="$round/c.csv"
            ;;
        esac
        case $target in
        export-own-path) args=(export "$catalogue") ;;
        export-symlink.*) ln -s c.mdb "$round/out.${target##*.}" && args=(export "$round/out.${target##*.}") ;;
        export-hardlink.csv) ln "$catalogue" "$round/out.csv" && args=(export "$round/out.csv") ;;
        export-catalogue-named.csv) args=(export "$catalogue") ;;
        cover-get-own-path) args=(cover get 1 "$catalogue") ;;
        cover-get-symlink.png) ln -s c.mdb "$round/out.png" && args=(cover get 1 "$round/out.png") ;;
        esac
        sum=$(cksum <"$catalogue")
        timeout "$limit" "$cli" --catalogue "$catalogue" "${args[@]}" >"$round/out" 2>"$round/err"
        status=$?
        [[ $(cksum <"$catalogue") == "$sum" ]] || broke "catalogue overwritten" "$(first_line "$round/out")"
        check_catalogue "$movies" "$movies"
        record "onto itself: $target" "reelkeeper-cli --catalogue ${catalogue##*/} ${args[*]##*/}$([[ -L $round/out.csv || -L $round/out.xlsx || -L $round/out.png ]] && echo ' (a symbolic link to c.mdb)') => status $status"
    done
done

# --- the table ---------------------------------------------------------------------
printf '\nreelkeeper-cli fault suite, %s rounds per timed scenario, %s per steady one\n\n' "$rounds" "$steady_rounds"
printf '%-40s %6s %6s %6s  %s\n' scenario rounds whole clean 'failures (rounds x kind)'
for scenario in "${order[@]}"; do
    reasons=""
    for key in "${!failures[@]}"; do
        [[ ${key%%$'\t'*} == "$scenario" ]] || continue
        reasons+="${reasons:+; }${failures[$key]}x ${key#*$'\t'}"
    done
    printf '%-40s %6s %6s %6s  %s\n' "$scenario" "${ran[$scenario]}" "${whole[$scenario]}" \
        "${clean[$scenario]}" "${reasons:--}"
done
printf '\nNotes:\n'
for scenario in "${order[@]}"; do
    [[ -v notes[$scenario] ]] && printf '  %s: %s\n' "$scenario" "${notes[$scenario]%$'\n'}"
done
if ((${#example[@]} > 0)); then
    printf '\nFirst round of each kind of failure:\n'
    for scenario in "${order[@]}"; do
        for key in "${!example[@]}"; do
            [[ ${key%%$'\t'*} == "$scenario" ]] || continue
            printf '  %s / %s:\n    %s\n' "$scenario" "${key#*$'\t'}" "${example[$key]}"
        done
    done
fi
total_failures=0
for key in "${!failures[@]}"; do
    total_failures=$((total_failures + failures[$key]))
done
exit $((total_failures > 0))
