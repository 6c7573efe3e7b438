#!/usr/bin/env bash
# The Log of a step whose key rules fire, after the step was stopped at each of its writes
# and run again. The step's entry: the demonstration database converted up to the step,
# then the statements of ROWS run on it with jetsql (rows that repeat a key the step
# makes). From there a run of the test program (tests/e2e/konwersja_kroki_testowe, which
# stops before NEXT) is stopped: killed (SIGKILL) at the N-th write of the database or its
# write-ahead log ("db"), at the N-th write of the Log ("log"), at the N-th rename of any
# file (the registry's, the held lines' file beside the Log) and at the removal of that
# file ("rename", "unlink"),
# or failing its N-th write of the step with a full disk ("full"). The next run then ends
# the step. Its database must be the straight run's, and its Log must name what the step
# changed as the straight run's does, each line once: the lines of the step that hold
# MATCH ("): " by default: the lines of the key rules), without their time.
#
# usage: log_kluczy.sh [--build DIR] [--jobs N] [--work DIR] [--keep] [--sample] STEP NEXT ROWS
#                      [MATCH]
#   --sample  every stop at the Log, the renames and the removal, and of the other kinds the
#             first and the last two (the step's commit)
# Prints one line per stop ("KIND N stop=STATUS rerun=STATUS data=same|DIFF log=same|DIFF")
# and the count of each; exit status 0 when every rerun's data and Log are the straight run's.
set -euo pipefail

me=log_kluczy
sample=0
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --sample) sample=1; shift ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} -ge 3 ] || { sed -n 2,20p "$0" >&2; exit 2; }
step=${args[0]} next=${args[1]} rows=$(realpath "${args[2]}") match=${args[3]:-"): "}
export KONW_PROGRAM=$build/tests/e2e/konwersja_kroki_testowe DUMP=$build/tests/e2e/zawartosc_bazy
version=$(printf '%d.%02d' $((step / 100)) $((step % 100)))
export STEP=$step NEXT=$next MATCH="Konwersja $version: " MATCH2=$match

# The entry: stopped before the step, then the rows.
prepare "$work/entry" demo
[ "$(KONW_KROKI=$step=brak run "$work/entry")" = 1 ] && grep -q "(Konwersja_$step)" "$work/entry/err.txt" ||
    { echo "$me: the run to $step did not stop there" >&2; exit 1; }
"$tools/jetsql/jetsql" --suite "$work/entry/d/baza.mdb" <"$rows" >"$work/entry/rows.txt" 2>&1 ||
    { echo "$me: the rows did not go in: $(tail -n 3 "$work/entry/rows.txt")" >&2; exit 1; }
sqlite3 "$work/entry/d/baza.mdb" "PRAGMA wal_checkpoint(TRUNCATE)" >/dev/null

# to_end FOLDER: runs to the end of the step; prints the status.
to_end() { KONW_KROKI=$NEXT=brak run "$1"; }
# judge FOLDER: the database and the step's Log lines against the straight run's.
judge() {
    local data=DIFF log=DIFF
    "$DUMP" "$1/d" >"$1/dump.txt" 2>&1 && cmp -s "$1/dump.txt" "$WORK/straight/dump.txt" && data=same
    lines "$1" >"$1/lines.txt"
    cmp -s "$1/lines.txt" "$WORK/straight/lines.txt" && log=same
    echo "data=$data log=$log"
}
# lines FOLDER: the step's lines in its Log that hold MATCH2, without their time and the
# database's path, in order.
lines() {
    grep -a -F "$MATCH" "$1/d/Log" | grep -a -F -- "$MATCH2" |
        sed -e 's/^"[^,]*,//' -e "s|,$1/d/baza.mdb\"\r\$||" || true
}
# copy FROM TO: a folder as the entry left it, its request naming its own database.
copy() {
    rm -rf "$2"
    cp -a "$1" "$2"
    ORVIK_REGISTRY="$2/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvexS "$2/d/baza.mdb"
}
export -f to_end judge lines copy

copy "$work/entry" "$work/straight"
[ "$(to_end "$work/straight")" = 1 ] || { echo "$me: the straight run failed" >&2; exit 1; }
"$DUMP" "$work/straight/d" >"$work/straight/dump.txt"
lines "$work/straight" >"$work/straight/lines.txt"
n=$(wc -l <"$work/straight/lines.txt")
[ "$n" -gt 0 ] || { echo "$me: no line of step $version holds '$match'" >&2; exit 1; }
[ "$(sort "$work/straight/lines.txt" | uniq -d | wc -l)" = 0 ] ||
    { echo "$me: the straight run names a row twice" >&2; exit 1; }

# The system calls counted in a straight run from the entry: "KIND COUNT".
db=$work/count/d/baza.mdb
copy "$work/entry" "$work/count"
KONW_KROKI=$next=brak run "$work/count" -y -e trace=pwrite64,write,rename,renameat,renameat2,unlink,unlinkat \
    -o "$work/calls.txt" \
    -P "$db" -P "$db-wal" -P "$work/count/d/Log" -P "$work/count/d/Log.wstrzymane" >/dev/null
# Renames of any file (strace's -P does not match a rename's target): the registry's too.
copy "$work/entry" "$work/count1"
KONW_KROKI=$next=brak run "$work/count1" -e trace=rename,renameat,renameat2 -o "$work/renames.txt" >/dev/null
count() { cat "$work/calls.txt" "$work/renames.txt" | grep -c -E "$1" || true; }
copy "$work/entry" "$work/count2"
KONW_AWARIA_LICZ=$work/writes.txt to_end "$work/count2" >/dev/null
{
    echo "db $(count 'pwrite64\([0-9]+<[^>]*/baza\.mdb(-wal)?>')"
    echo "log $(count ' write\([0-9]+<[^>]*/Log>')"
    echo "rename $(count '^[0-9]+ +rename(at2?)?\(')"
    echo "unlink $(count 'unlink(at)?\(.*Log\.wstrzymane"')"
    echo "full $(awk -v s="$step" '$1 == s { print $2 }' "$work/writes.txt")"
} >"$work/kinds.txt"

# stop KIND N: one stop and the rerun.
stop() {
    local kind=$1 n=$2 f=$WORK/stops/$1-$2 status db
    export KONW_KROKI=$NEXT=brak
    copy "$WORK/entry" "$f"
    db=$f/d/baza.mdb
    case $kind in
        db) status=$(run "$f" -e trace=pwrite64 -e "inject=pwrite64:signal=SIGKILL:when=$n" \
            -P "$db" -P "$db-wal") ;;
        log) status=$(run "$f" -e trace=write -e "inject=write:signal=SIGKILL:when=$n" -P "$f/d/Log") ;;
        rename) status=$(run "$f" -e trace=rename,renameat,renameat2 \
            -e "inject=rename,renameat,renameat2:signal=SIGKILL:when=$n") ;;
        unlink) status=$(run "$f" -e trace=unlink,unlinkat \
            -e "inject=unlink,unlinkat:signal=SIGKILL:when=$n" -P "$f/d/Log.wstrzymane") ;;
        full) status=$(KONW_AWARIA=$STEP:$n run "$f") ;;
    esac
    echo "$kind $n stop=$status rerun=$(to_end "$f") $(judge "$f")"
}
export -f stop
mkdir -p "$work/stops"
while read -r kind k; do
    [ -n "$k" ] && [ "$k" -gt 0 ] || continue
    case $sample$kind in
        1db | 1full) printf '%s\n' 1 $((k - 1)) "$k" | awk '$1 > 0' | sort -n -u ;;
        *) seq 1 "$k" ;;
    esac | sed "s/^/$kind /"
done <"$work/kinds.txt" | xargs -P "$jobs" -L 1 bash -c 'stop "$@"' _ | sort -k1,1 -k2,2n >"$work/result.txt"
cat "$work/result.txt"
echo "$me: step $version, $n lines of the straight run; stops per kind (tried, data same, Log same):"
awk '{ t[$1]++; d[$1] += $5 == "data=same"; l[$1] += $6 == "log=same"; T++; D += $5 == "data=same"; L += $6 == "log=same" }
    END { for (k in t) printf "  %-7s %4d %4d %4d\n", k, t[k], d[k], l[k]; printf "  %-7s %4d %4d %4d\n", "all", T, D, L }' \
    "$work/result.txt"
! grep -q -E "DIFF" "$work/result.txt"
