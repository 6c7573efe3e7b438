#!/usr/bin/env bash
# A whole run of konwersja over the demonstration database (baza-demo, release 1.65),
# timed with the fast wait clock and with the default one; the difference is the time
# the run spends in its waits. Each run starts from a fresh copy of the same database.
# Usage: bench/whole_run.sh [--large]   (after scripts/setup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
tools=build/tools
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tools/baza-demo/baza-demo" "$work/wzor.mdb" "$@"

# run NAME FAST: one run on a fresh copy; prints the wall-clock seconds and the outcome.
run() {
    local dir="$work/$1"
    mkdir -p "$dir"
    cp "$work/wzor.mdb" "$dir/baza.mdb"
    export ORVIK_REGISTRY="$dir/registry.reg"
    "$tools/rejestr/rejestr" set dodralvexS "$dir/baza.mdb"
    "$tools/rejestr/rejestr" set dodralvex 0123
    local start end status
    start=$(date +%s.%N)
    set +e
    ORVIK_FAST_WAIT=$2 "$tools/konwersja/konwersja" </dev/null >"$dir/out.txt" 2>"$dir/err.txt"
    status=$?
    set -e
    end=$(date +%s.%N)
    local steps
    steps=$(grep -c ',Konwersja,End,' "$dir/Log" || true)
    printf '%-8s %8.2f s  exit %d  marker %s  steps completed %d  version %s\n' "$1" \
        "$(awk "BEGIN{print $end - $start}")" "$status" "$("$tools/rejestr/rejestr" get dodralvex)" \
        "$steps" "$("$tools/konwersja/wersja-bazy" "$dir/baza.mdb")"
    awk "BEGIN{print $end - $start}" >"$dir/seconds"
}

run fast 1
run default 0
printf 'waits:   %8.2f s\n' "$(awk "BEGIN{print $(cat "$work/default/seconds") - $(cat "$work/fast/seconds")}")"
