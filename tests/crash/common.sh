# The ground both crash scripts stand on: their options, the tools, the work folder, the
# demonstration database of release 1.65, and one run of the real program in a folder of
# its own. Sourced by kill_points.sh and every_write.sh with $me set to the script's name;
# leaves the arguments that are not options in "args".
build=build
jobs=$(nproc)
drop_work=0
work=""
keep=0
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        --keep) keep=1; shift ;;
        # --to only for a script that takes it (it sets "to" before it sources this file).
        --to) [ -n "${to+set}" ] || { echo "$me: unknown option $1" >&2; exit 2; }
              to=$2; shift 2 ;;
        -*) echo "$me: unknown option $1" >&2; exit 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
build=$(cd "$build" && pwd)
tools=$build/tools
for t in konwersja/konwersja konwersja/wersja-bazy rejestr/rejestr baza-demo/baza-demo \
    jetsql/jetsql; do
    [ -x "$tools/$t" ] || { echo "$me: $tools/$t is missing" >&2; exit 2; }
done
for t in strace sqlite3 python3; do
    command -v "$t" >/dev/null || { echo "$me: $t is not installed" >&2; exit 2; }
done
if [ -z "$work" ]; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/$me.XXXXXX")
    [ $keep -eq 1 ] || { trap 'rm -rf "$work"' EXIT; drop_work=1; }
fi
mkdir -p "$work"
export TOOLS=$tools WORK=$work SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
"$tools/baza-demo/baza-demo" "$work/demo.mdb" >/dev/null

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
# run FOLDER [strace options...]: one unattended run of konwersja (of $KONW_PROGRAM when
# set); prints its exit status.
run() {
    local f=$1
    shift
    ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvex 0123
    set +e
    if [ $# -gt 0 ]; then
        ORVIK_REGISTRY="$f/registry.reg" ORVIK_FAST_WAIT=1 strace -f -qq -o /dev/null "$@" \
            "${KONW_PROGRAM:-$TOOLS/konwersja/konwersja}" </dev/null >>"$f/out.txt" 2>>"$f/err.txt"
    else
        ORVIK_REGISTRY="$f/registry.reg" ORVIK_FAST_WAIT=1 \
            "${KONW_PROGRAM:-$TOOLS/konwersja/konwersja}" </dev/null >>"$f/out.txt" 2>>"$f/err.txt"
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
# reference TEMPLATE: the uninterrupted run's outcome, in $WORK/ref-TEMPLATE.txt.
reference() {
    prepare "$WORK/ref-$1" "$1"
    run "$WORK/ref-$1" >/dev/null
    outcome "$WORK/ref-$1" >"$WORK/ref-$1.txt"
}
# rerun_judged FOLDER TEMPLATE STOP VERSION: the run after one that ended with status
# STOP and left a database of VERSION ("" when it did not open), then the whole outcome
# compared with the uninterrupted run's; prints "RERUN-STATUS VERDICT", the verdict "same", "DIFF", or
# "unreported": the stopped run had committed the whole conversion but not yet written
# "3210", and its rerun, finding the database current, left the request marker as it
# does for any current database; the database is the uninterrupted run's.
rerun_judged() {
    local f=$1 t=$2 stop=$3 version=$4 marker rerun same=DIFF
    # A run that completed despite its fault, or was stopped only while closing after it
    # completed, leaves "3210"; the rerun then finds nothing to do and keeps the request
    # marker, so the marker is judged after the first run.
    marker=$(ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" get dodralvex)
    rerun=$(run "$f")
    [ "$stop" != 0 ] && [ "$marker" != 3210 ] ||
        ORVIK_REGISTRY="$f/registry.reg" "$TOOLS/rejestr/rejestr" set dodralvex "$marker"
    if [ -n "$version" ]; then
        outcome "$f" >"$f/outcome.txt"
        if cmp -s "$f/outcome.txt" "$WORK/ref-$t.txt"; then
            same=same
        elif [ "$version" = "$(sed -n 's/^version //p' "$WORK/ref-$t.txt")" ] &&
            [ "$(head -n 1 "$f/outcome.txt")" = "marker $marker" ] &&
            cmp -s <(tail -n +2 "$f/outcome.txt") <(tail -n +2 "$WORK/ref-$t.txt"); then
            same=unreported
        fi
    fi
    echo "$rerun $same"
}
# stopped_at FOLDER ERR: the step (version times 100) at which the run of FOLDER stopped,
# with the standard error ERR of that run; "" when it ended at a step that the build lacks
# (a road that ends early with --to).
stopped_at() {
    grep -q "nie zawiera kroku konwersji" "$2" && return 0
    ORVIK_REGISTRY="$1/registry.reg" "$TOOLS/rejestr/rejestr" get dodralvexNumerBazy |
        tr -d ' ' | tr ',' '.' | awk '{ printf "%d", $1 * 100 + 0.5 }'
}
# stop_line STEP KIND ERR: a line of a road's stops, "STEP<tab>KIND<tab>the last box's title
# and text" (STEP as 1.97).
stop_line() {
    printf '%s\t%s\t%s' "$(sed -E 's/^([0-9])([0-9][0-9])$/\1.\2/' <<<"$1")" "$2" \
        "$(awk '/^=== / { t = $0; getline x; m = t " " x } END { print m }' "$3" | cut -c 1-400)"
}
export -f prepare run outcome reference rerun_judged stopped_at stop_line

