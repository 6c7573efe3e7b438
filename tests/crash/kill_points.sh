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
#     fsync       SIGKILL at the N-th fsync of any file (the registry's, its folder's)
#     fdatasync   SIGKILL at the N-th fdatasync of any file (the database's and its log's)
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
# Prints one line per point ("KIND N stop=STATUS open=VERSION rerun=STATUS VERDICT", the
# verdict as common.sh's rerun_judged gives it; DIFF also when the stopped run's database
# did not open) and a summary; exit status 0 when every point's database opened and ended
# as the uninterrupted run's.
set -euo pipefail

me=kill_points
. "$(dirname "$0")/common.sh"
cases=("${args[@]}")
[ ${#cases[@]} -gt 0 ] || { sed -n 2,28p "$0" >&2; exit 2; }

# The older-format database of the a97 kinds.
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

# The uninterrupted runs.
for t in demo a97; do
    reference $t
done

# point KIND N: one stopped run, the check that the file opens, the rerun, the comparison.
point() {
    local kind=$1 n=$2 f="$WORK/$1-$2" t=demo opts
    case $kind in
        write) opts=(-P "$f/d/baza.mdb" -P "$f/d/baza.mdb-wal" -e trace=pwrite64
            -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        # strace counts each system call apart: one kind per call.
        fsync | fdatasync) opts=(-e trace=$kind -e "inject=$kind:signal=SIGKILL:when=$n") ;;
        checkpoint) opts=(-P "$f/d/baza.mdb" -e trace=pwrite64 -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        full) opts=(-P "$f/d/baza.mdb" -P "$f/d/baza.mdb-wal" -e trace=pwrite64
            -e "inject=pwrite64:error=ENOSPC:when=$n+") ;;
        fullckpt) opts=(-P "$f/d/baza.mdb" -e trace=pwrite64 -e "inject=pwrite64:error=ENOSPC:when=$n+") ;;
        a97) t=a97; opts=(-e trace=pwrite64 -e "inject=pwrite64:signal=SIGKILL:when=$n") ;;
        a97rename) t=a97; opts=(-e trace=rename,renameat,renameat2 -e "inject=rename,renameat,renameat2:signal=SIGKILL:when=$n") ;;
        disk) opts=() ;;
        *) echo "$kind $n unknown-kind DIFF"; return ;;
    esac
    local stop opened
    if [ "$kind" = disk ]; then
        prepare "$f" $t "$n" || { echo "$kind $n cannot-mount DIFF"; return; }
    else
        prepare "$f" $t
    fi
    stop=$(run "$f" "${opts[@]}")
    local version=""
    opened=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1) && version=$opened
    opened=$(tr ' \n' '_ ' <<<"$opened")
    [ "$kind" != disk ] || mount -o remount,size=64m "$f/d"
    local rerun same
    read -r rerun same < <(rerun_judged "$f" $t "$stop" "$version")
    if [ "$kind" = disk ]; then
        [ $same != DIFF ] || cp -a "$f/d" "$f/kept"
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
        fsync | fdatasync) tr=$1 ;;
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
bad=$(grep -vcE ' (same|unreported)$' "$results" || true)
unreported=$(grep -c ' unreported$' "$results" || true)
echo "kill_points: $total points, $((total - bad)) ended with the same database" \
    "($unreported of them stopped between the committed conversion and its report), $bad differed"
awk '{print $1, $3, $NF}' "$results" | sort | uniq -c >&2 || true
[ "$bad" -eq 0 ]
