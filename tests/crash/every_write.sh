#!/usr/bin/env bash
# Every write of the database or its log in one conversion of the demonstration database,
# taken as a kill point, in a fraction of the time one killed run per point would take.
#
# One run of the real konwersja copies the database's folder and the registry file just
# before each of those writes, which is what a process killed at that write leaves
# (copy_writes, loaded into it). Every copy must open with wersja-bazy. Copies whose
# database, recovered by SQLite and checkpointed, is the same file byte for byte, with the
# same registry file, hold the same database and request: they form a group, and a rerun
# from a group's copy as it was left (its log unrecovered) must end as the uninterrupted
# run does. Each group is rerun from two of its copies: the one checked first and the
# latest. The run that made the copies must end as the uninterrupted run too.
#
# usage: every_write.sh [--build DIR] [--jobs N] [--work DIR] [--keep] [--copies DIR]
#   --copies DIR  where the copies wait to be checked, and each group's latest copy
#                 (default: /dev/shm when there, else the work folder): 64 copies of a
#                 few MB and one per group
# Prints one line per rerun ("point=N group=FIRST..LAST points=K version=V rerun=STATUS
# VERDICT", the verdict as common.sh's rerun_judged gives it), the points whose copy did
# not open, and a summary; exit status 0 when every copy opened and every rerun ended
# with the uninterrupted run's database.
set -euo pipefail

me=every_write
copies=""
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --copies) copies=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} -eq 0 ] || { sed -n 2,23p "$0" >&2; exit 2; }
shim=$build/tests/crash/libcopy_writes.so
[ -f "$shim" ] || { echo "$me: $shim is missing" >&2; exit 2; }
if [ -z "$copies" ]; then
    [ -d /dev/shm ] && [ -w /dev/shm ] && copies=$(mktemp -d /dev/shm/every_write.XXXXXX) ||
        copies=$work/copies
    trap 'rm -rf "$copies"; [ $drop_work = 0 ] || rm -rf "$work"' EXIT
fi
mkdir -p "$copies/last" "$work/groups"
export COPIES=$copies

reference demo

# check COPY: whether it opens, and the group of what it holds. Keeps, untouched, the
# group's copy that was checked first in groups/KEY/copy (its point in groups/KEY/n) and
# its latest copy so far in last/KEY among the copies (its point in last/KEY.n).
check() {
    local c=$1 n key opened opens=1 g
    n=${c##*/}
    n=$((10#${n%%.*}))
    cp -a "$c" "$c.raw"
    opened=$("$TOOLS/konwersja/wersja-bazy" "$c/baza.mdb" 2>&1) || opens=0
    opened=$(tr ' \n' '_ ' <<<"$opened")
    opened=${opened% }
    [ $opens = 0 ] || sqlite3 "$c/baza.mdb" "PRAGMA wal_checkpoint(TRUNCATE)" >/dev/null 2>&1 ||
        { opens=0; opened=$opened/no-checkpoint; }
    if [ $opens = 1 ]; then
        key=$(cat "$c/baza.mdb" "$c/registry.reg" | sha256sum | cut -c1-32)
        g=$WORK/groups/$key
        ! mkdir "$g" 2>/dev/null || { cp -a "$c.raw" "$g/copy"; echo "$n" >"$g/n"; }
        (
            flock 9
            if [ "$n" -gt "$(cat "$COPIES/last/$key.n" 2>/dev/null || echo 0)" ]; then
                rm -rf "$COPIES/last/$key"
                mv "$c.raw" "$COPIES/last/$key"
                echo "$n" >"$COPIES/last/$key.n"
            fi
        ) 9>"$COPIES/last/$key.lock"
    else
        key=none
        mkdir -p "$WORK/unopened"
        mv "$c.raw" "$WORK/unopened/$n"
    fi
    rm -rf "$c" "$c.raw"
    echo "$n $opens $opened $key" >>"$WORK/points.txt"
}
# worker: checks copies as they come, until the copying run has ended and none is left.
worker() {
    local c t
    set +e  # a copy taken by another worker between the listing and the rename is no fault
    while :; do
        c=$(ls "$COPIES" 2>/dev/null | grep -m 1 -x '[0-9]*')
        if [ -z "$c" ]; then
            [ -e "$WORK/copied" ] && [ -z "$(ls "$COPIES" | grep -x '[0-9]*')" ] && return
            sleep 0.05
            continue
        fi
        t=$COPIES/$c.$BASHPID
        mv "$COPIES/$c" "$t" 2>/dev/null || continue
        (set -e; check "$t") || {
            echo "$((10#$c)) 0 check-failed error" >>"$WORK/points.txt"
            rm -rf "$t" "$t.raw"
        }
    done
}
export -f check worker

: >"$work/points.txt"
prepare "$work/live" demo
for ((i = 0; i < jobs; i++)); do worker & done
COPY_DB=$work/live/d/baza.mdb COPY_DIR=$copies COPY_REGISTRY=$work/live/registry.reg \
    LD_PRELOAD=$shim run "$work/live" >"$work/live-status"
touch "$work/copied"
wait
outcome "$work/live" | cmp -s - "$work/ref-demo.txt" && live=same || live=DIFF
echo "$me: the copying run ended with status $(cat "$work/live-status"), $live" >&2

# regroup KEY FROM: one group's rerun from the copy at FROM.
regroup() {
    local key=$1 from=$2 f="$WORK/rerun-$1-${2##*/}" n first last points version rerun same
    n=$(cat "$from/../n" 2>/dev/null || cat "$from.n")
    read -r first last points version < <(awk -v k="$key" '$NF == k {
        if (!p++ || $1 < f) { f = $1; v = $3 }
        if ($1 > l) l = $1 } END { print f, l, p, v }' "$WORK/points.txt")
    mkdir -p "$f/d"
    cp -a "$from/." "$f/d/"
    mv "$f/d/registry.reg" "$f/registry.reg"
    ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvexS "$f/d/baza.mdb"
    read -r rerun same < <(rerun_judged "$f" demo killed "$version")
    [ $same = DIFF ] || rm -rf "$f"
    echo "point=$n group=$first..$last points=$points version=$version rerun=$rerun $same"
}
export -f regroup
# Two copies of every group with more than one: the one checked first, mostly a log just as
# a commit left it, and the latest, mostly the next transaction's pages short of their
# commit, or a checkpoint half done.
for key in $(ls "$work/groups"); do
    echo "$key $work/groups/$key/copy"
    [ "$(cat "$copies/last/$key.n")" = "$(cat "$work/groups/$key/n")" ] ||
        echo "$key $copies/last/$key"
done | xargs -P "$jobs" -L 1 bash -c 'regroup "$0" "$1"' | sort -t= -k2n | tee "$work/results.txt"

total=$(wc -l <"$work/points.txt")
unopened=$(awk '$2 == 0' "$work/points.txt" | wc -l)
groups=$(ls "$work/groups" | wc -l)
reruns=$(wc -l <"$work/results.txt")
bad=$(grep -vcE ' (same|unreported)$' "$work/results.txt" || true)
unreported=$(grep -c ' unreported$' "$work/results.txt" || true)
awk '$2 == 0 { print "unopened:", $0 }' "$work/points.txt" | sort -k2 -n
echo "$me: $total writes, $unopened copies did not open; $groups groups, $reruns reruns:" \
    "$((reruns - bad)) ended with the same database ($unreported of them stopped between the" \
    "committed conversion and its report), $bad differed; the copying run: $live"
[ "$unopened" = 0 ] && [ "$bad" = 0 ] && [ $live = same ]
