#!/usr/bin/env bash
# The rules as relations between runs of one step from one entry: the demonstration
# database converted straight by konwersja_drogi (tests/crash/drogi.cpp) on the road whose
# empty tables get rows at the entry of the steps that read them (tests/crash/wiersze.txt);
# at the entry of each step checked, runs of the step alone from that entry, each with one
# change (a numeric cell at 0 or Null, an id that names nothing, a table's rows stored in
# reverse order), are compared: a Null counts as none (null-none), a Null never replaces a
# value (null-replaces), a row that names nothing names nothing (names-nothing), the order
# stored does not decide (order). What a step means otherwise is stated in
# tests/crash/relacje_wyjatki.txt. Prints per step and relation the changes tried and the
# findings (those the table states apart), and the findings in detail; exit status 0 when
# every finding is stated.
#
# usage: drogi_relacje.sh [--build DIR] [--work DIR] [--keep] [--jobs N] [--steps LIST] [--to STEP]
#   --steps LIST  the steps checked ("165-299,541", version times 100); all when not given
#   --to STEP     the road ends after STEP
set -euo pipefail

me=drogi_relacje
to=""
steps=""
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --to) to=$2; shift 2 ;;
        --steps) steps=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,17p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)
f=$work/relacje
prepare "$f/run" demo
: >"$f/wynik.txt"
status=$(KONW_DROGA=relacje KONW_DROGA_DO=$to KONW_RELACJE_KROKI=$steps KONW_RELACJE_ZADANIA=$jobs \
    KONW_RELACJE_KATALOG="$f/kroki" KONW_RELACJE_WYNIK="$f/wynik.txt" \
    KONW_RELACJE_WYJATKI="$SRC/tests/crash/relacje_wyjatki.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f/run")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)
# The summary: per step and relation, the changes tried, the findings and those stated.
awk -F'\t' '$2 == "tried" { t[$1 "\t" $3] += $4; s[$1] = 1; next }
    $2 == "stops" { st[$1]++; s[$1] = 1; next }
    $2 == "refused" { next }
    { k = $1 "\t" $2; if ($NF == "stated") ok[k]++; else bad[k]++; s[$1] = 1 }
    END { split("null-none null-replaces names-nothing order", r, " ")
        for (v in s) { line = sprintf("%-6s", v)
            for (i = 1; i <= 4; i++) { k = v "\t" r[i]; line = line sprintf(" %20s", (t[k] + 0) "/" (bad[k] + 0) "/" (ok[k] + 0))
                T[i] += t[k]; B[i] += bad[k]; O[i] += ok[k] }
            print line sprintf(" %6d", st[v]); S += st[v] }
        printf "zzzall"; for (i = 1; i <= 4; i++) printf " %20s", T[i] "/" B[i] "/" O[i]; printf " %6d\n", S }' \
    "$f/wynik.txt" | sort -V | sed "s/^zzzall/all   /" >"$f/tabela.txt"
grep -v -P '\t(tried|stops|refused)\t' "$f/wynik.txt" | grep -v -P '\tstated$' >"$f/znalezione.txt" || true
echo "$me: per step and relation: changes tried / findings / findings stated (t/f/s); detail in $f/wynik.txt"
printf '%-6s %20s %20s %20s %20s %6s\n' step null-none null-replaces names-nothing order stops
cat "$f/tabela.txt"
echo "$me: $(wc -l <"$f/znalezione.txt") findings not stated; road ended with status $status at version $version"
cut -c 1-300 "$f/znalezione.txt" | sed 's/^/    /'
echo "$me: in $(($(date +%s) - started)) s, in $work" >&2
[ ! -s "$f/znalezione.txt" ]
