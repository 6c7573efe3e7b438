#!/usr/bin/env bash
# The roads of Nulls and of repeated rows: the demonstration database converted straight
# from 1.65 to 6.46 by the program whose steps' entries are changed as a customer's data
# would be (tests/crash/drogi.cpp, konwersja_drogi), with the engine's reports on
# (KONW_RAPORTY_SILNIKA). The tables that the demonstration leaves empty get rows at the
# entry of the steps that read them (tests/crash/wiersze.txt), as on the sweep's --rows
# road. Every road is run beside the plain road (the same rows, no Nulls, no repeated
# rows), which tells what the changes brought.
#   nulls  at each step's entry, the first two rows of every table get Null in every
#          numeric column (but counters, required columns and the primary key's), once
#          for each column on the road;
#   dups   at each step's entry, a table without a unique index gets a second copy of its
#          first row, and a whole-number column named ...ID outside any unique index names
#          the id 999999 in the table's first row, which exists nowhere; once each.
# A road that stops is resumed at the step it stopped in, that step's entry left as it
# is; a step that stops again so is resumed from the plain road's database before it. A
# step that stops on a key it makes, naming the row that the road's Null or repeated row
# left ("key"), does as it must: the road goes on from the plain road's database before
# it, the changes made so far not made again. Prints per road the engine's reports that
# no step states (STEP KIND TABLE COUNT STATEMENT; "(plain)" where the plain road reports
# the statement too), the stops (STEP, "entry", "carried" or "key", and the message) and
# the figures lost (STEP lost
# TABLE.COLUMN N: N values of a numeric column became Null in the step beyond the rows
# the table lost; "(plain)" likewise). Exit status 0 when no road has any of them.
#
# usage: drogi_nulls_dups.sh [--build DIR] [--work DIR] [--keep] [--to STEP] ROAD...
#   ROAD     nulls, dups, or plain (the plain road alone)
#   --to S   the roads end after step S (version times 100) instead of at 6.46
set -euo pipefail

me=drogi_nulls_dups
to=""
. "$(dirname "$0")/common.sh"
roads=(plain)
for r in "${args[@]+"${args[@]}"}"; do
    case $r in
        nulls | dups) roads+=("$r") ;;
        plain) ;;
        *) echo "$me: unknown road $r" >&2; exit 2 ;;
    esac
done
[ ${#args[@]} -gt 0 ] || { sed -n 2,27p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/crash/konwersja_drogi TO=$to
[ -x "$KONW_PROGRAM" ] || { echo "$me: $KONW_PROGRAM is missing" >&2; exit 2; }
started=$(date +%s)

# road NAME: the road run to its end, resumed after each stop; in $WORK/NAME: reports.txt,
# lost.txt and stops.txt ("STEP <tab> KIND <tab> message", KIND "entry" for a stop of the
# step over its changed entry, "carried" for a stop again with the entry left as it was:
# what earlier steps carried stops it. After a carried stop the road goes on from the
# plain road's database before the step, every change to be made again from the next
# step's entry.)
road() {
    local r=$1 f=$WORK/$1 skip="" n=0 status step kind
    mkdir -p "$f"
    prepare "$f/run" demo
    : >"$f/reports.txt"
    : >"$f/lost.txt"
    : >"$f/stops.txt"
    : >"$f/state.txt"
    # one [CHANGE [TO [REPORTS [LOST]]]]: one run of the road's program; its exit status
    # in status, its standard error in err-N.txt.
    one() {
        n=$((n + 1))
        rm -f "$f/run/clipboard.txt"
        status=$(KONW_DROGA=${1-$r} KONW_DROGA_DO=${2-$TO} KONW_RAPORTY_SILNIKA=${3-$f/reports.txt} \
            KONW_DROGA_WYNIK=${4-$f/lost.txt} KONW_DROGA_STAN="$f/state.txt" KONW_DROGA_POMIN="$skip" \
            KONW_DROGA_WIERSZE="$SRC/tests/crash/wiersze.txt" run "$f/run")
        mv "$f/run/err.txt" "$f/err-$n.txt"
    }
    [ "$r" != plain ] || r=""
    while :; do
        one
        [ "$status" != 0 ] || break
        step=$(stopped_at "$f/run" "$f/err-$n.txt")
        [ -n "$step" ] || [ -z "$TO" ] || break
        kind=entry
        case ",$skip," in *",$step,"*) kind=carried ;; esac
        # A key that the step makes and that the road's own Null or repeated row cannot take
        # stops the step naming the table, the key and the row, as it must: not a finding.
        grep -q "Klucza nie utworzono" "$f/err-$n.txt" && kind=key
        # The last box's title and text, and the statement that the executor put on the
        # clipboard.
        printf '%s | %s\n' "$(stop_line "$step" $kind "$f/err-$n.txt")" \
            "$(cat "$f/run/clipboard.txt" 2>/dev/null | tr '\n' ' ' | cut -c 1-300)" >>"$f/stops.txt"
        [ $n -lt 60 ] || break
        if [ $kind != entry ]; then
            prepare "$f/run" demo
            one "" $((step - 1)) "" /dev/null
            [ "$status" = 1 ] || break
            # After a key stop the road goes on with the changes made so far not made again,
            # as a user who mended the row would: it passes the keys that the road's own
            # rows cannot take.
            [ $kind = key ] || : >"$f/state.txt"
        fi
        skip="$skip,$step"
    done
}
export -f road
printf '%s\n' "${roads[@]}" | xargs -P "${#roads[@]}" -I{} bash -c 'road {}'

bad=0
for r in "${roads[@]}"; do
    f=$work/$r
    # Reports that no step states, one line a statement: STEP KIND TABLE COUNT STATEMENT.
    awk -F'\t' '$5 != "stated" { k = $1 "\t" $2 "\t" $3 "\t" $4; n[k]++; if (!(k in o)) o[k] = ++m }
        END { for (k in n) { split(k, p, "\t"); printf "%d\t%s\t%s\t%s\t%d\t%s\n", o[k], p[1], p[2], p[3], n[k], p[4] } }' \
        "$f/reports.txt" | sort -n | cut -f 2- >"$f/table.txt"
    if [ "$r" != plain ]; then
        # Marked where the plain road reports the same statement, or loses the same figure.
        awk -F'\t' 'FILENAME == ARGV[1] { seen[$1 "\t" $2 "\t" $3 "\t" $5] = 1; next }
            { print $0 (($1 "\t" $2 "\t" $3 "\t" $5) in seen ? "\t(plain)" : "") }' \
            "$work/plain/table.txt" "$f/table.txt" >"$f/table.marked"
        mv "$f/table.marked" "$f/table.txt"
        awk -F'\t' 'FILENAME == ARGV[1] { seen[$1 "\t" $3] = 1; next } { print $0 (($1 "\t" $3) in seen ? "\t(plain)" : "") }' \
            "$work/plain/lost.txt" "$f/lost.txt" >"$f/lost.marked"
        mv "$f/lost.marked" "$f/lost.txt"
    fi
    reports=$(wc -l <"$f/table.txt")
    keys=$(grep -c -P '^[^\t]*\tkey\t' "$f/stops.txt" || true)
    stops=$(($(wc -l <"$f/stops.txt") - keys))
    lost=$(wc -l <"$f/lost.txt")
    echo "$me: road $r: $reports statements reported that no step states, $stops stops," \
        "$lost figures lost, $keys stops on a key; version $("$TOOLS/konwersja/wersja-bazy" "$f/run/d/baza.mdb" 2>&1)"
    [ "$reports" = 0 ] || { echo "  reports (step, kind, table, times, statement):"; cut -c 1-600 "$f/table.txt" | sed 's/^/    /'; }
    [ $((stops + keys)) = 0 ] || { echo "  stops:"; cut -c 1-300 "$f/stops.txt" | sed 's/^/    /'; }
    [ "$lost" = 0 ] || { echo "  figures lost (step, table.column, values):"; cut -f 1,3- "$f/lost.txt" | sed 's/^/    /'; }
    [ $((reports + stops + lost)) = 0 ] || bad=1
done
echo "$me: ${roads[*]} in $(($(date +%s) - started)) s, in $work" >&2
exit $bad
