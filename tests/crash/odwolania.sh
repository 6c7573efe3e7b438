#!/usr/bin/env bash
# The suite's references derived on the road (odwolania.cpp): one straight run of the
# demonstration database by konwersja_drogi on the road of --rows (tests/crash/wiersze.txt),
# every statement's equalities of a column and another table's key naming a reference from
# its step on, and the table of references (src/driver/odwolania.inc) checked against them.
# Prints the references derived with the steps that named them, the table's lines, and
# per side those held, those stated (tests/crash/odwolania_pominiete.txt) and the findings;
# exit status 0 when every difference is stated and the road reached 6.46.
#
# usage: odwolania.sh [--build DIR] [--work DIR] [--keep]
set -euo pipefail

me=odwolania
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,10p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
f=$work/odwolania
prepare "$f" demo
status=$(KONW_DROGA=odwolania KONW_ODWOLANIA_WYNIK="$f/wynik.txt" \
    KONW_ODWOLANIA_POMINIETE="$SRC/tests/crash/odwolania_pominiete.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1)
echo "$me: the road ended with status $status at version $version"
sort -o "$f/wynik.txt" "$f/wynik.txt"
echo "$me: derived (reference, verdict, steps that named it):"
awk -F'\t' '$1 == "derived" { print "    " $2 "\t" $3 "\t" $4 }' "$f/wynik.txt"
echo "$me: the table's lines neither derived nor stated:"
awk -F'\t' '$1 == "table" && $3 != "derived" { print "    " $2 " (" $4 ")\t" $3 }' "$f/wynik.txt"
echo "$me: per side: lines / held / stated / findings"
awk -F'\t' '{ n[$1]++; if ($3 ~ /^FINDING/) b[$1]++; else if ($3 == "stated") s[$1]++; else ok[$1]++ }
    END { for (k in n) printf "%-8s %4d %4d %4d %4d\n", k, n[k], ok[k], s[k], b[k] }' "$f/wynik.txt"
findings=$(grep -c $'\tFINDING' "$f/wynik.txt" || true)
echo "$me: $findings findings not stated"
[ "$status" = 0 ]
[ "$version" = 6.46 ] && [ "$findings" = 0 ] && [ -s "$f/wynik.txt" ]
