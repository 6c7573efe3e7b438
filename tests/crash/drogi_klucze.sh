#!/usr/bin/env bash
# The sweep of the keys that the steps make: the demonstration database converted straight
# by konwersja_drogi (tests/crash/drogi.cpp, klucze.cpp) on the road whose empty tables get
# rows at the entry of the steps that read them (tests/crash/wiersze.txt). For each key or
# unique index that a step checked makes (learnt from the step's statements on the road),
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
# the key's rule stops on the rows, giving its reason.
# Prints per step and key the changes tried, completed, kept, with the key at 6.46, the
# stops stated and the findings, and the findings in detail; exit status 0 when every
# change tried completed with its figures kept and its key, or stopped where the table
# states it. One line a key and change in WORK/klucze/wynik.txt (klucze.cpp says what).
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
        --to) to=$2; shift 2 ;;
        --steps) steps=$2; shift 2 ;;
        --klucze) tables=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,27p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)
f=$work/klucze
prepare "$f/run" demo
: >"$f/wynik.txt"
status=$(KONW_DROGA=klucze KONW_KLUCZE_DO=$to KONW_KLUCZE_KROKI=$steps KONW_KLUCZE_TABELE=$tables \
    KONW_KLUCZE_ZADANIA=$jobs KONW_KLUCZE_KATALOG="$f/kroki" KONW_KLUCZE_WYNIK="$f/wynik.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f/run")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)
# Per step and key: tried, completed, kept, key at 6.46, stops stated, findings.
awk -F'\t' '{ k = $1 "\t" $2 " (" $3 ")"; if (!(k in n)) { n[k] = ++m; o[m] = k }
        if ($5 != "tried") { if ($5 == "refused") r[k]++; else a[k]++; next }
        t[k]++; c[k] += $6 == "yes"; z[k] += $7 == "yes"; x[k] += $8 == "yes"
        s[k] += $10 == "stated"; f[k] += $10 == "finding" }
    END { for (i = 1; i <= m; i++) { k = o[i]; split(k, p, "\t")
            printf "%-6s %-60s %5d %5d %5d %5d %5d %5d %5d %5d\n", p[1], substr(p[2], 1, 60), t[k], c[k], z[k], x[k], s[k], f[k], r[k], a[k]
            T += t[k]; C += c[k]; Z += z[k]; X += x[k]; S += s[k]; F += f[k]; R += r[k]; A += a[k] }
        printf "%-6s %-60s %5d %5d %5d %5d %5d %5d %5d %5d\n", "all", m " keys", T, C, Z, X, S, F, R, A }' \
    "$f/wynik.txt" >"$f/tabela.txt"
awk -F'\t' '$10 == "finding"' "$f/wynik.txt" >"$f/znalezione.txt"
echo "$me: per step and key: changes tried, completed, figures kept, key at 6.46, stops stated," \
    "findings; changes refused and absent; detail in $f/wynik.txt"
printf '%-6s %-60s %5s %5s %5s %5s %5s %5s %5s %5s\n' step key tried compl kept key stated find refus absnt
cat "$f/tabela.txt"
echo "$me: $(wc -l <"$f/znalezione.txt") findings; road ended with status $status at version $version"
cut -f 1-4,9,11 "$f/znalezione.txt" | cut -c 1-400 | sed 's/^/    /'
echo "$me: in $(($(date +%s) - started)) s, in $work" >&2
[ "$status" = 0 ] && [ "$version" = 6.46 ] && [ ! -s "$f/znalezione.txt" ]
