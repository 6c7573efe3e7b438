#!/usr/bin/env bash
# The sweep of the keys that the steps make: the demonstration database converted straight
# by konwersja_drogi (tests/crash/drogi.cpp, klucze.cpp) on the road whose empty tables get
# rows at the entry of the steps that read them (tests/crash/wiersze.txt). For each key or
# unique index that a step checked makes (learnt from the step's statements on the road, and
# from the catalog that the step leaves: a key over columns that no key of its entry had), and
# each key of the entry that the step's own INSERT or UPDATE writes ("written": a row that the
# statement writes added at the entry, so that the statement repeats the key),
# copies of the step's entry each get one row in the key's table: the key's columns
# repeated with other numbers and texts ("two prices"), a whole row repeated but its
# counter ("one price"), and one row for each key column with that column Null (a table
# empty there first gets the rows of the fill, and the run of the fill alone stands for
# the road). Each copy is converted from there to 6.46 by the real loop, the later steps
# filled as on the road, and judged against the road: completed (marker 3210, version
# 6.46), figures kept (per document, the sums of the table's quantities, prices and values
# after the key's step, or after the later step that makes a key over its columns and
# more, changed as on the road plus what the row added), the key at 6.46 (the table's
# unique indexes as on the road), and where it stopped: the step, the key and the message,
# "stated" where the table of keys (src/driver/klucze.inc) gives the key the kind Stop or
# the key's rule stops on the rows, giving its reason. A stated stop's mend, the statement
# that its message offers for jetsql --suite (a fresh value in the place of WARTOŚĆ), is run
# on the stopped database and the conversion run again: the mend converts when that run
# ends at 3210/6.46 with each figure on its item.
# Prints per step and key where it was learnt (statement, catalog, both), the changes tried,
# completed, kept, with the key at 6.46, the stops stated and those whose mend converts, and
# the findings (a change that did not complete with its figures and key and whose stop the
# table does not state, or a stated stop whose mend does not convert) in detail; exit
# status 0 when there are none. One line a key and change in WORK/klucze/wynik.txt
# (klucze.cpp says what).
#
# usage: drogi_klucze.sh [--build DIR] [--work DIR] [--keep] [--jobs N] [--steps LIST]
#                        [--to STEP] [--klucze TABLE,...]
#   --steps LIST        the steps checked ("165-299,541", version times 100); all when not given
#   --to STEP           no step after STEP is checked (the road and the runs still go to 6.46)
#   --klucze TABLE,...  only the keys over these tables
set -euo pipefail

me=drogi_klucze
to=""
steps=""
tables=""
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --steps) steps=$2; shift 2 ;;
        --klucze) tables=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,33p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)
f=$work/klucze
prepare "$f/run" demo
: >"$f/wynik.txt"
status=$(KONW_DROGA=klucze KONW_KLUCZE_DO=$to KONW_KLUCZE_KROKI=$steps KONW_KLUCZE_TABELE=$tables \
    KONW_KLUCZE_ZADANIA=$jobs KONW_KLUCZE_KATALOG="$f/kroki" KONW_KLUCZE_WYNIK="$f/wynik.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" KONW_JETSQL="$TOOLS/jetsql/jetsql" \
    run "$f/run")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)
# Per step and key: where learnt, tried, completed, kept, key at 6.46, stops stated, their
# mends that convert, findings.
awk -F'\t' 'function finding() { return $10 == "finding" || ($10 == "stated" && $12 != "converts") }
    { k = $1 "\t" $2 " (" $3 ")"; if (!(k in n)) { n[k] = ++m; o[m] = k; w[k] = $11 }
        if ($5 != "tried") { if ($5 == "refused") r[k]++; else a[k]++; next }
        t[k]++; c[k] += $6 == "yes"; z[k] += $7 == "yes"; x[k] += $8 == "yes"
        s[k] += $10 == "stated"; g[k] += $10 == "stated" && $12 == "converts"; f[k] += finding() }
    END { for (i = 1; i <= m; i++) { k = o[i]; split(k, p, "\t")
            printf "%-6s %-52s %-9s %5d %5d %5d %5d %5d %5d %5d %5d %5d\n", p[1], substr(p[2], 1, 52), w[k], t[k], c[k], z[k], x[k], s[k], g[k], f[k], r[k], a[k]
            T += t[k]; C += c[k]; Z += z[k]; X += x[k]; S += s[k]; G += g[k]; F += f[k]; R += r[k]; A += a[k]
            P += w[k] != "catalog"; K += w[k] != "statement"; J += w[k] == "catalog" }
        printf "%-6s %-52s %-9s %5d %5d %5d %5d %5d %5d %5d %5d %5d\n", "all", m " keys", "", T, C, Z, X, S, G, F, R, A
        printf "keys learnt: %d from statements, %d from the catalog (%d from the catalog only)\n", P, K, J
        for (i = 1; i <= m; i++) { k = o[i]; if (w[k] != "written") continue
            WK++; WT += t[k]; WC += c[k]; WS += s[k]; WG += g[k] }
        printf "keys written by the steps themselves (INSERT, UPDATE): %d, tried %d, completed %d, stated stops %d, their mends that convert %d\n", WK, WT, WC, WS, WG }' \
    "$f/wynik.txt" >"$f/tabela.txt"
awk -F'\t' '$10 == "finding" || ($10 == "stated" && $12 != "converts")' "$f/wynik.txt" >"$f/znalezione.txt"
echo "$me: per step and key: learnt from, changes tried, completed, figures kept, key at 6.46," \
    "stops stated, their mends that convert, findings; changes refused and absent; detail in" \
    "$f/wynik.txt"
printf '%-6s %-52s %-9s %5s %5s %5s %5s %5s %5s %5s %5s %5s\n' step key learnt tried compl kept key stated mends find refus absnt
cat "$f/tabela.txt"
echo "$me: $(wc -l <"$f/znalezione.txt") findings; road ended with status $status at version $version"
cut -f 1-4,9,10,12,13 "$f/znalezione.txt" | cut -c 1-600 | sed 's/^/    /'
echo "$me: in $(($(date +%s) - started)) s, in $work" >&2
[ "$status" = 0 ] && [ "$version" = 6.46 ] && [ ! -s "$f/znalezione.txt" ]
