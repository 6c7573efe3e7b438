#!/usr/bin/env bash
# The check by the statement's shape (ksztalt.cpp) over the whole road: the demonstration
# database converted straight by konwersja_drogi (tests/crash/drogi.cpp), its tables given
# rows at the entry of the steps that read them (tests/crash/wiersze.txt), every statement
# judged by its shape as it runs. Prints per kind (pick, write, sum, join, latest) the statements of
# that shape, those that stand (total, unique, guarded, kept), those stated
# (tests/crash/ksztalt_wyjatki.txt) and the findings, then the findings and the stated
# cases; exit status 0 when every finding is stated and the road reached its last step.
#
# usage: drogi_ksztalt.sh [--build DIR] [--work DIR] [--keep] [--to STEP]
set -euo pipefail

me=drogi_ksztalt
to=""
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,10p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)
f=$work/ksztalt
prepare "$f/run" demo
: >"$f/wynik.txt"
status=$(KONW_DROGA=ksztalt KONW_DROGA_DO=$to KONW_KSZTALT_WYNIK="$f/wynik.txt" \
    KONW_KSZTALT_WYJATKI="$SRC/tests/crash/ksztalt_wyjatki.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f/run")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)
echo "$me: per kind: statements of that shape / standing / stated / findings; detail in $f/wynik.txt"
awk -F'\t' '{ n[$2]++; if ($3 == "FINDING") b[$2]++; else if ($3 == "stated") s[$2]++; else ok[$2]++ }
    END { split("pick write sum join latest", r, " ")
        for (i = 1; i <= 5; i++) printf "%-6s %6d %6d %6d %6d\n", r[i], n[r[i]], ok[r[i]], s[r[i]], b[r[i]] }' \
    "$f/wynik.txt"
echo "$me: stated:"
awk -F'\t' '$3 == "stated"' "$f/wynik.txt" | cut -c 1-300 | sed 's/^/    /'
echo "$me: findings not stated:"
awk -F'\t' '$3 == "FINDING"' "$f/wynik.txt" | cut -c 1-400 | sed 's/^/    /'
findings=$(awk -F'\t' '$3 == "FINDING"' "$f/wynik.txt" | wc -l)
ended=ok
[ -z "$to" ] && [ "$version" != "6.46" ] && ended=early
echo "$me: $findings findings not stated; road ended with status $status at version $version$([ $ended = ok ] || echo ": ENDED EARLY")"
echo "$me: in $(($(date +%s) - started)) s, in $work" >&2
[ "$findings" = 0 ] && [ $ended = ok ] && [ -s "$f/wynik.txt" ]
