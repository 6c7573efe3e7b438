#!/usr/bin/env bash
# A whole run of konwersja over the demonstration database (baza-demo, release 1.65),
# timed with the fast wait clock and with the default one; the difference is the time
# the run spends in its waits. Each run starts from a fresh copy of the same database.
# The fast run is timed by the engine too (JET_PROFILE): the slowest steps and
# statements are printed at the end.
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
    local profile=()
    [ "$2" = 1 ] && profile=(env "JET_PROFILE=$dir/profile.tsv")
    ORVIK_FAST_WAIT=$2 "${profile[@]}" "$tools/konwersja/konwersja" </dev/null >"$dir/out.txt" 2>"$dir/err.txt"
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

# report: the fast run's ten slowest steps (each period between two commits is one
# step, in the order of the Log's "Begin" lines) and ten slowest statement shapes.
report() {
    local dir="$work/fast"
    [ -f "$dir/profile.tsv" ] || return 0
    grep ',Konwersja,Begin,' "$dir/Log" | awk -F, '{print NR - 1, $6}' >"$dir/steps.txt"
    echo "slowest steps (seconds, statements run):"
    awk -F'\t' 'NR == FNR {v[$1] = $2; next}
        $2 == "*" {split($1, s, " "); n = s[2]; printf "  %-6s %8.2f s\n", (n in v ? v[n] : "#" n), $4}' \
        <(sed 's/ /\t/' "$dir/steps.txt") "$dir/profile.tsv" | sort -k2 -gr | head -10
    echo "slowest statements (step, executions, seconds inside SQLite, statement | plan):"
    awk -F'\t' 'NR == FNR {v[$1] = $2; next}
        $2 != "*" {split($1, s, " "); n = s[2];
            printf "  %-6s %9d %8.2f  %.160s | %.120s\n", (n in v ? v[n] : "#" n), $3, $4, $2, $5}' \
        <(sed 's/ /\t/' "$dir/steps.txt") "$dir/profile.tsv" | sort -k3 -gr | head -10
}
report
