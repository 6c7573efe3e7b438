#!/usr/bin/env bash
# The rules as relations between runs of one step from one entry: the demonstration
# database converted straight by konwersja_drogi (tests/crash/drogi.cpp) on the road whose
# tables get rows at the entry of the steps that read them (tests/crash/wiersze.txt); at
# the entry of each step checked, runs of the step alone from that entry, each with one
# change (a numeric cell at 0 or Null, an id that names nothing, a table's rows stored in
# reverse order, a copy of a row in both orders), are compared, rows paired by key: a Null
# counts as none and a cell the step writes holds a value where it does with 0
# (null-none), a Null never replaces a value (null-replaces), a row that names nothing
# names nothing (names-nothing), the order stored does not decide (order). What a step
# means otherwise is stated in tests/crash/relacje_wyjatki.txt, the statements that the
# road cannot reach in tests/crash/relacje_nieosiagalne.txt. Prints per step and relation
# the changes tried and the findings (those the table states apart), per step the data
# statements and those that changed values, and the findings in detail; exit status 0 when
# every finding is stated, no unchanged run stopped and the road reached its last step.
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
        --steps) steps=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,19p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)
f=$work/relacje
prepare "$f/run" demo
: >"$f/wynik.txt"
status=$(KONW_DROGA=relacje KONW_DROGA_DO=$to KONW_RELACJE_KROKI=$steps KONW_RELACJE_ZADANIA=$jobs \
    KONW_RELACJE_KATALOG="$f/kroki" KONW_RELACJE_WYNIK="$f/wynik.txt" \
    KONW_RELACJE_WYJATKI="$SRC/tests/crash/relacje_wyjatki.txt" \
    KONW_RELACJE_NIEOSIAGALNE="$SRC/tests/crash/relacje_nieosiagalne.txt" \
    KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f/run")
version=$("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)
planned=$(awk -F'\t' '$2 == "road" { print $1 }' "$f/wynik.txt" | tail -n 1)
# The relations: per step and relation, the changes tried, the findings and those stated;
# the runs that stopped (B's apart: the step stops on the road's own rows, a finding).
awk -F'\t' '$2 == "tried" { t[$1 "\t" $3] += $4; s[$1] = 1; next }
    $2 == "stops" { if ($3 == "B") bst[$1]++; else st[$1]++; s[$1] = 1; next }
    $2 ~ /^(refused|met|coverage|unreached|unchanged|stated-reached|road)$/ { next }
    { k = $1 "\t" $2; if ($NF == "stated") ok[k]++; else bad[k]++; s[$1] = 1 }
    END { split("null-none null-replaces names-nothing order", r, " ")
        for (v in s) { line = sprintf("%-6s", v)
            for (i = 1; i <= 4; i++) { k = v "\t" r[i]; line = line sprintf(" %20s", (t[k] + 0) "/" (bad[k] + 0) "/" (ok[k] + 0))
                T[i] += t[k]; B[i] += bad[k]; O[i] += ok[k] }
            print line sprintf(" %6d %6s", st[v], bst[v] ? "STOPS" : ""); S += st[v]; BS += bst[v] }
        printf "zzzall"; for (i = 1; i <= 4; i++) printf " %20s", T[i] "/" B[i] "/" O[i]; printf " %6d %6d\n", S, BS }' \
    "$f/wynik.txt" | sort -V | sed "s/^zzzall/all   /" >"$f/tabela.txt"
# The coverage: per step, its data statements, those that changed values in the unchanged run
# and in any run, those stated unreachable; the changes tried, and those that met a row
# that a statement changed.
awk -F'\t' '$2 == "coverage" { d[$1] = $3; b[$1] = $4; a[$1] = $5; n[$1] = $6 }
    $2 == "tried" { t[$1] += $4 } $2 == "met" { m[$1] += $4 }
    END { for (v in d) { printf "%-6s %10d %10d %10d %10d %10s\n", v, d[v], b[v], a[v], n[v], (m[v] + 0) "/" (t[v] + 0)
            D += d[v]; B += b[v]; A += a[v]; N += n[v]; M += m[v]; T += t[v] }
        printf "zzzall  %10d %10d %10d %10d %10s\n", D, B, A, N, M "/" T
        printf "zzzpct  %d%% reached, %d%% reached or stated unreachable\n", D ? 100 * A / D : 100, D ? 100 * (A + N) / D : 100 }' \
    "$f/wynik.txt" | sort -V | sed "s/^zzzall /all   /; s/^zzzpct /    /" >"$f/pokrycie.txt"
awk -F'\t' '$2 == "unreached" || $2 == "unchanged" || $2 == "stated-reached"' "$f/wynik.txt" >"$f/nieosiagniete.txt"
grep -v -P '\t(tried|met|stops|refused|coverage|unreached|unchanged|stated-reached|road)\t' "$f/wynik.txt" |
    grep -v -P '\tstated$' >"$f/znalezione.txt" || true
grep -P '\tstops\tB\t' "$f/wynik.txt" >>"$f/znalezione.txt" || true
echo "$me: per step and relation: changes tried / findings / findings stated (t/f/s); detail in $f/wynik.txt"
printf '%-6s %20s %20s %20s %20s %6s %6s\n' step null-none null-replaces names-nothing order stops B
cat "$f/tabela.txt"
echo "$me: coverage per step: data statements, those that changed values in B and in any run, those stated unreachable; changes that met a row a statement changed / tried"
printf '%-6s %10s %10s %10s %10s %10s\n' step statements in-B reached stated met/tried
cat "$f/pokrycie.txt"
echo "$me: $(grep -c -P '\tunreached\t' "$f/nieosiagniete.txt") data statements reached by no run and not stated, $(grep -c -P '\tunchanged\t' "$f/nieosiagniete.txt") that wrote rows but changed no value in any run (not stated), $(grep -c -P '\tstated-reached\t' "$f/nieosiagniete.txt") stated unreachable but reached"
cut -c 1-300 "$f/nieosiagniete.txt" | sed 's/^/    /'
ended=ok
[ -n "$planned" ] && [ "$version" = "$planned" ] || ended=early
echo "$me: $(wc -l <"$f/znalezione.txt") findings not stated; road ended with status $status at version $version (planned ${planned:-?})$([ $ended = ok ] || echo ": ENDED EARLY")"
cut -c 1-300 "$f/znalezione.txt" | sed 's/^/    /'
echo "$me: in $(($(date +%s) - started)) s, in $work" >&2
[ ! -s "$f/znalezione.txt" ] && [ $ended = ok ]
