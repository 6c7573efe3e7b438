#!/usr/bin/env bash
# Stops the real konwersja at chosen system calls, as a killed process, a power cut or
# a full disk would, and checks each time that the database opens afterwards and that
# the next run ends with the same database as a run that was never stopped (every
# table's rows, the catalog and the version, compared as SQLite's dump of the file).
#
# usage: kill_points.sh [--build DIR] [--jobs N] [--work DIR] [--keep] CASE...
#   CASE is KIND:POINTS, POINTS a list "1,50,900", "all", "every=K" (1, 1+K, ...) or
#   "last=K" (the last K)
#   KIND
#     write       SIGKILL at the N-th write of the database or its log (pwrite64)
#     fsync       SIGKILL at the N-th flush of any file (fsync, fdatasync)
#     checkpoint  SIGKILL at the N-th write into the database file itself: in WAL mode
#                 only checkpoints write it
#     full        every write of the database or its log fails with ENOSPC from the
#                 N-th on; the rerun has space again
#     fullckpt    as full, for the writes into the database file (its checkpoints)
#     a97         SIGKILL at the N-th write of any file during the upgrade of an
#                 older-format (3.0) database
#     a97rename   SIGKILL at the N-th rename during that upgrade
#     disk        the database's folder is a file system of N KiB (tmpfs: needs the
#                 right to mount); the rerun has 64 MiB
# The demonstration database of release 1.65 is converted for all kinds but a97*.
# Prints one line per point ("KIND N stop=STATUS open=VERSION rerun=STATUS same|DIFF";
# DIFF also when the stopped run's database did not open) and a summary; exit status 0
# when every point's database opened and ended as the uninterrupted run's.
set -euo pipefail

build=build
jobs=$(nproc)
work=""
keep=0
cases=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        --keep) keep=1; shift ;;
        -*) echo "kill_points: unknown option $1" >&2; exit 2 ;;
        *) cases+=("$1"); shift ;;
    esac
done
[ ${#cases[@]} -gt 0 ] || { sed -n 2,25p "$0" >&2; exit 2; }
build=$(cd "$build" && pwd)
tools=$build/tools
for t in konwersja/konwersja konwersja/wersja-bazy rejestr/rejestr baza-demo/baza-demo \
    jetsql/jetsql; do
    [ -x "$tools/$t" ] || { echo "kill_points: $tools/$t is missing" >&2; exit 2; }
done
for t in strace sqlite3 python3; do
    command -v "$t" >/dev/null || { echo "kill_points: $t is not installed" >&2; exit 2; }
done
if [ -z "$work" ]; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/kill_points.XXXXXX")
    [ $keep -eq 1 ] || trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
export TOOLS=$tools WORK=$work SRC=$(cd "$(dirname "$0")/../.." && pwd)

# The fresh databases every point starts from.
"$tools/baza-demo/baza-demo" "$work/demo.mdb" >/dev/null
"$tools/jetsql/jetsql" --create "$work/a97.mdb" >/dev/null <<'EOF'
CREATE TABLE Nieruszac (NumerWersji DOUBLE)
INSERT INTO Nieruszac (NumerWersji) VALUES (6.45)
CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))
CREATE TABLE UZYTKOWNICY (nazwa TEXT(20), prawa TEXT(50), prawaK TEXT(50), prawaP TEXT(50), prawaF TEXT(50), prawaZ TEXT(50), prawaS TEXT(50), prawaM TEXT(50), prawaR TEXT(50), prawaC TEXT(50))
INSERT INTO UZYTKOWNICY (nazwa, prawa) VALUES ('ADAM', 'rw')
CREATE TABLE klienci (id long, [count] long, [User] TEXT(20), nazwa TEXT(40), nr_wyjazdu long, kwota money, aktywny bit, data datetime)
CREATE UNIQUE INDEX Podstawowy ON klienci (id) WITH PRIMARY
INSERT INTO klienci (id, [count], [User], nazwa) VALUES (1, 5, 'adam', 'Piekarnia')
INSERT INTO klienci (id) VALUES (2)
CREATE TABLE _robocza (a long)
EOF
sqlite3 "$work/a97.mdb" "UPDATE MSysJetProperties SET value='3.0' WHERE name='FormatVersion'"

# prepare FOLDER TEMPLATE [KIB]: the folder with the suite's request and, in its
# subfolder d (a file system of KIB KiB when given), a copy of the database.
prepare() {
    rm -rf "$1"
    mkdir -p "$1/d"
    if [ $# -gt 2 ]; then mount -t tmpfs -o "size=$3k" tmpfs "$1/d" || return 1; fi
    cp "$WORK/$2.mdb" "$1/d/baza.mdb"
    chmod 0644 "$1/d/baza.mdb"
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"dodralvex"="0123"\n"dodralvexS"="%s"\n' \
        "$1/d/baza.mdb" >"$1/registry.reg"
}
# run FOLDER [strace options...]: one unattended run; prints its exit status.
run() {
    local f=$1
    shift
    ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvex 0123
    set +e
    if [ $# -gt 0 ]; then
        ORVIK_REGISTRY="$f/registry.reg" ORVIK_FAST_WAIT=1 strace -f -qq -o /dev/null "$@" \
            "$TOOLS/konwersja/konwersja" </dev/null >>"$f/out.txt" 2>>"$f/err.txt"
    else
        ORVIK_REGISTRY="$f/registry.reg" ORVIK_FAST_WAIT=1 \
            "$TOOLS/konwersja/konwersja" </dev/null >>"$f/out.txt" 2>>"$f/err.txt"
    fi
    echo $?
    set -e
}
# outcome FOLDER: the marker, the version and the whole database, as one text.
outcome() {
    echo "marker $(ORVIK_REGISTRY="$1/registry.reg" "$TOOLS/rejestr/rejestr" get dodralvex)"
    echo "version $("$TOOLS/konwersja/wersja-bazy" "$1/d/baza.mdb" 2>&1)"
    echo "mode $(stat -c %a "$1/d/baza.mdb")"
    # The content only: the planner's row estimates and hidden indexes follow the run's history.
    python3 "$SRC/bench/dbdump.py" "$1/d/baza.mdb" 2>/dev/null  # cmp may stop reading early
}
export -f prepare run outcome

# The uninterrupted runs.
for t in demo a97; do
    prepare "$work/ref-$t" $t
    run "$work/ref-$t" >/dev/null
    outcome "$work/ref-$t" >"$work/ref-$t.txt"
done

# point KIND N: one stopped run, the check that the file opens, the rerun, the comparison.
point() {
    local kind=$1 n=$2 f="$WORK/$1-$2" t=demo opts
    case $kind in
        write) opts=(-P "$f/d/baza.mdb" -P "$f/d/baza.mdb-wal" -e trace=pwrite64
            -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        fsync) opts=(-e trace=fsync,fdatasync -e "inject=fsync,fdatasync:signal=SIGKILL:when=$n") ;;
        checkpoint) opts=(-P "$f/d/baza.mdb" -e trace=pwrite64 -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        full) opts=(-P "$f/d/baza.mdb" -P "$f/d/baza.mdb-wal" -e trace=pwrite64
            -e "inject=pwrite64:error=ENOSPC:when=$n+") ;;
        fullckpt) opts=(-P "$f/d/baza.mdb" -e trace=pwrite64 -e "inject=pwrite64:error=ENOSPC:when=$n+") ;;
        a97) t=a97; opts=(-e trace=pwrite64 -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        a97rename) t=a97; opts=(-e trace=rename,renameat,renameat2 -e "inject=rename,renameat,renameat2:signal=SIGKILL:when=$n") ;;
        disk) opts=() ;;
        *) echo "$kind $n unknown-kind DIFF"; return ;;
    esac
    local stop opened rerun same=DIFF
    if [ "$kind" = disk ]; then
        prepare "$f" $t "$n" || { echo "$kind $n cannot-mount DIFF"; return; }
    else
        prepare "$f" $t
    fi
    stop=$(run "$f" "${opts[@]}")
    local opens=1
    opened=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1) || opens=0
    opened=$(tr ' \n' '_ ' <<<"$opened")
    [ "$kind" != disk ] || mount -o remount,size=64m "$f/d"
    # A run that completed despite its fault, or was stopped only while closing after it
    # completed, leaves "3210"; the rerun then finds nothing to do and keeps the request
    # marker, so the marker is judged after the first run.
    local marker
    marker=$(ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" get dodralvex)
    rerun=$(run "$f")
    [ "$stop" != 0 ] && [ "$marker" != 3210 ] ||
        ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvex "$marker"
    [ $opens = 0 ] || ! outcome "$f" | cmp -s - "$WORK/ref-$t.txt" || same=same
    if [ "$kind" = disk ]; then
        [ $same = same ] || cp -a "$f/d" "$f/kept"
        umount "$f/d"
    fi
    [ $same = DIFF ] || rm -rf "$f"
    echo "$kind $n stop=$stop open=${opened% } rerun=$rerun $same"
}
export -f point

# The kill points of every case, then the points run in parallel.
count() {  # count KIND: the calls of the kind in an uninterrupted run
    local f="$work/count-$1" t=demo tr=pwrite64 p=()
    case $1 in
        fsync) tr=fsync,fdatasync ;;
        write|full) p=(-P "$f/d/baza.mdb" -P "$f/d/baza.mdb-wal") ;;
        checkpoint|fullckpt) p=(-P "$f/d/baza.mdb") ;;
        a97) t=a97 ;;
        a97rename) t=a97; tr=rename,renameat,renameat2 ;;
    esac
    prepare "$f" $t
    ORVIK_REGISTRY="$f/registry.reg" ORVIK_FAST_WAIT=1 strace -f -qq -o "$f/trace" "${p[@]}" \
        -e trace=$tr "$TOOLS/konwersja/konwersja" </dev/null >/dev/null 2>&1 || true
    grep -c "(" "$f/trace"
}
list=$work/points.txt
: >"$list"
for c in "${cases[@]}"; do
    kind=${c%%:*}
    pts=${c#*:}
    case $pts in
        all) seq 1 "$(count "$kind")" ;;
        every=*) seq 1 "${pts#every=}" "$(count "$kind")" ;;
        last=*) n=$(count "$kind"); seq $((n > ${pts#last=} ? n - ${pts#last=} + 1 : 1)) "$n" ;;
        *) tr ',' '\n' <<<"$pts" ;;
    esac | sed "s/^/$kind /" >>"$list"
done
echo "kill_points: $(wc -l <"$list") points, $jobs at a time, in $work" >&2
results=$work/results.txt
xargs -P "$jobs" -L 1 bash -c 'point "$0" "$1"' <"$list" | tee "$results"

total=$(wc -l <"$results")
bad=$(grep -vc ' same$' "$results" || true)
echo "kill_points: $total points, $((total - bad)) ended with the same database, $bad differed"
awk '{print $1, $3, $NF}' "$results" | sort | uniq -c >&2 || true
[ "$bad" -eq 0 ]
