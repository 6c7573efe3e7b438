#!/usr/bin/env bash
# Stops the conversion of the demonstration database inside its steps, at a write that
# fails with a full disk, and checks each time that the next run ends the step with the
# same database as a run that was never stopped.
#
# One stop: the database as the uninterrupted road leaves it before step S (kept from a
# chain of runs that stop before each step), a run of the test program (konwersja with
# test steps, tests/e2e/awaria.h) whose N-th write of S fails with "Not enough space on
# disk.", and, in the full mode, every later write of S with it: unattended, the program
# takes its safe answer (Abort) and ends with marker "0000". In the transient mode only
# the N-th write fails and the later ones succeed: a step that passes the failure on
# stops as in the full mode, while a step that absorbs it goes on without that write to
# its end, and its database then differs from the road's. Then, in the same folder (its
# registry, Log and clipboard as the stop left them), a run of the program up to the end
# of S (it stops before the next step; after the last step it runs to the end), and the
# whole database compared with the road's at that version, by the names of tables,
# columns, indexes and relations (tests/e2e/zawartosc_bazy), every row included.
#
# usage: stops_in_steps.sh [--build DIR] [--jobs N] [--work DIR] [--keep] [--seed S] [--rows]
#        CASE...
#   CASE
#     all                  every write of every step
#     steps:243,244,558    every write of those steps
#     at:243:12,558:40     the N-th write of step S
#     random:K             K writes drawn at random from the whole road (--seed, default 1)
#     every:K              every K-th write of the whole road, counted from the first
#     transient:CASE       the writes of CASE in the transient mode (transient:all,
#                          transient:at:243:12, ...); the others are in the full mode
#     sample[:FIRST-LAST]  the sweep's spread (of the steps FIRST to LAST): every write of
#                          a step of up to 30 writes; of a longer step about 30, the first
#                          and the last and those around each change of the place in the
#                          program that the writes come from (a statement's first write,
#                          a record loop's), evenly spread when there are more
#     petle[:FIRST-LAST]   the first write of each stretch of at least 10 writes from one
#                          place in the program (a record loop over rows), which the
#                          sample's even spread may pass over, of the steps FIRST to LAST
#     wielo[:R]:CASE       the writes of CASE refused part way, as the engine refuses a
#                          recordset's save of a row ("multiple-step operation failed",
#                          0x80040E21), R times in a row (1 by default): the N-th write
#                          and the R - 1 after it, each only where it is a row's save (a
#                          step that saves the row again meets the refusal again); the
#                          later writes succeed. A step that resumes after the refusal
#                          makes the write again ("(retried)": R writes more than on the
#                          road) and ends as the road; one that passes the row over after
#                          repeated refusals makes one write fewer than that and must say
#                          so in its Log ("(skipped)"); its database is then the road's but
#                          for the rows that it left as they stood at its entry ("skipped"
#                          when any differ). A chosen write that is no row's save goes
#                          through: "(no-save)"
#     zabij:CASE           the writes of CASE in the killed mode (zabij:steps:234, ...):
#                          what the step wrote before the N-th write is committed and the
#                          process killed, as the suite's earlier tool, which committed
#                          each statement on its own, leaves a database it was stopped in;
#                          the rerun must end the step as the road does, or stop with the
#                          database as the kill left it ("blocked(kept)"; a stop that
#                          changed it is "blocked(CHANGED)"). N runs from 2 (the step's
#                          first write committed) to one more than the step's writes (all
#                          of them committed, the version not recorded); the Log is left
#                          as that tool leaves it: the step's "Begin" without "End" (with
#                          "End" once every write is committed), without this program's
#                          mark, so that the rerun meets the Log's word on the step. A step
#                          of the table of those that go on over such a state
#                          (src/driver/kroki_po_przerwaniu.inc) must end every state as the
#                          road; any other must stop before it writes, naming the step
#                          ("same(unlisted)", "blocked(kept)(listed)" and "blocked(unnamed)"
#                          fail)
#   --bez-logu             in the killed mode, the rerun finds no Log (a database copied
#                          without its folder's Log): the step tells the half-done state
#                          only by what the database holds, so it must end it as the road
#                          or stop naming the step; the table of steps that go on over the
#                          Log's word plays no part
#   --rows                 the road of the demonstration database whose tables that the
#                          demonstration leaves empty get rows at the entry of the steps
#                          that read them (tests/crash/wiersze.txt: STEP TABLE...; the
#                          rows made by tests/crash/wypelnij_tabele), so that statements
#                          that run twice meet rows; the straight run is then that road
#   --states-from DIR      the killed states made by the test program of another build
#                          (DIR, e.g. one of an earlier commit, whose statements run in
#                          the order of the suite's earlier tool), on its own road; each
#                          is then run again by this build and compared with this build's
#                          uninterrupted run of the step from the same entry. The states
#                          where this program's order of statements differs from the
#                          earlier tool's come from a build of a4750f8, whose steps run
#                          their statements in that tool's order:
#                            git worktree add /tmp/a4750f8 a4750f8
#                            cmake -S /tmp/a4750f8 -B /tmp/a4750f8/build -G Ninja
#                            cmake --build /tmp/a4750f8/build --target \
#                                konwersja_kroki_testowe zawartosc_bazy
#                            stops_in_steps.sh --states-from /tmp/a4750f8/build zabij:...
#                          (its Log carries no mark of this program's)
# Steps are numbered as versions times 100 (2.43 is 243). Prints one line per stop
# ("S N/WRITES MODE stop=STATUS at=VERSION rerun=STATUS version=VERSION VERDICT
# statement"), MODE "full", "transient", "zabij" or "wielo[:R]", the statement being the
# first failure that the stopped run reported (in the killed mode, the rerun's stop: its
# Log line); the verdict is "same", "DIFF" (a different database), "skipped" (the step
# passed a refused row over, as above) or "blocked" (the rerun did not complete the
# step); "at" is the version the stopped run left, marked "(passed)" when the version is
# past S, and "(absorbed)" when the step's method went on to its end although its write
# failed (in the full mode the run then stopped at the version's write) or "(retried)"
# when, after a transient failure, it did so having made one write more than on the road
# (the failed one again), or in the refused mode "(retried)" or "(skipped)" as above. Then the
# figures, and in the killed mode a table per step: the states tried, "same", "DIFF",
# "blocked(kept)" and "blocked(CHANGED)". Exit status 0 when every rerun ended with the
# road's database (or, in the killed mode, a step not in the table stopped, naming it and
# keeping the killed state; in the refused mode, a step passed the row over as above)
# and no step absorbed a failure.
set -euo pipefail

me=stops_in_steps
seed=1
rows=0
from=""
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seed) seed=$2; shift 2 ;;
        --rows) rows=1; shift ;;
        --bez-logu) export BEZ_LOGU=1; shift ;;
        --states-from) from=$2; shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
set -- "${rest[@]+"${rest[@]}"}"
. "$(dirname "$0")/common.sh"
cases=("${args[@]}")
[ ${#cases[@]} -gt 0 ] || { sed -n 2,106p "$0" >&2; exit 2; }
export KONW_PROGRAM=$build/tests/e2e/konwersja_kroki_testowe DUMP=$build/tests/e2e/zawartosc_bazy
# The detail of the line that this program logs before each step's "Begin".
export MARK="Krok w jednej transakcji"
FILL=$build/tests/crash/wypelnij_tabele
# The program that makes the road and the killed states: this build's, or --states-from's.
export STATES=$KONW_PROGRAM
[ -z "$from" ] || STATES=$(cd "$from" && pwd)/tests/e2e/konwersja_kroki_testowe
for t in "$KONW_PROGRAM" "$STATES" "$DUMP" $([ $rows = 0 ] || echo "$FILL"); do
    [ -x "$t" ] || { echo "$me: $t is missing" >&2; exit 2; }
done
started=$(date +%s)
# The rows' steps: "STEP TABLE..." (none without --rows).
fills=$work/fills.txt
if [ $rows = 1 ]; then
    sed 's/#.*//' "$SRC/tests/crash/wiersze.txt" | awk 'NF > 1' >"$fills"
else
    : >"$fills"
fi
# fill X FOLDER: the tables of step X's entry that get rows, when empty.
fill() {
    local t
    t=$(awk -v x="$1" '$1 == x { $1 = ""; print }' "$fills")
    [ -z "$t" ] || "$FILL" "$2/d/baza.mdb" $t >>"$2/err.txt" 2>&1 ||
        { echo "$me: the rows of step $1's tables could not be added" >&2; exit 1; }
}

# The straight run, counting each step's writes: "STEP WRITES CHANGE..." in step order;
# with rows, a chain of runs, each stopped before a step whose tables get rows.
prepare "$work/straight" demo
for x in $(cut -d' ' -f1 "$fills" | sort -n -u); do
    # The run must stop at the step it lacks, not at a failure before it.
    : >"$work/straight/err.txt"
    [ "$(KONW_PROGRAM=$STATES KONW_KROKI=$x=brak KONW_AWARIA_LICZ=$work/writes.txt run "$work/straight")" = 1 ] &&
        grep -q "(Konwersja_$x)" "$work/straight/err.txt" || {
        echo "$me: the straight run to $x did not stop there:" \
            "$(grep -m 1 Krytyczny "$work/straight/err.txt")" >&2
        exit 1
    }
    fill "$x" "$work/straight"
done
[ "$(KONW_PROGRAM=$STATES KONW_AWARIA_LICZ=$work/writes.txt run "$work/straight")" = 0 ] ||
    { echo "$me: the straight run did not complete" >&2; exit 1; }
"$DUMP" "$work/straight/d" >"$work/at-end.txt"
"$tools/konwersja/wersja-bazy" "$work/straight/d/baza.mdb" >"$work/at-end.version"

# The stops: "STEP N WRITES NEXT MODE", NEXT the step after S ("end" after the last).
# steps.txt: "STEP WRITES NEXT CHANGE...".
awk '{ s[NR] = $1; w[NR] = $2; $1 = $2 = ""; c[NR] = $0 }
    END { for (i = 1; i <= NR; i++) print s[i], w[i], (i < NR ? s[i + 1] : "end") c[i] }' \
    "$work/writes.txt" | tr -s ' ' >"$work/steps.txt"
list=$work/stops.txt
: >"$list"
for c in "${cases[@]}"; do
    mode=full
    case $c in
        transient:*) mode=transient; c=${c#transient:} ;;
        zabij:*) mode=zabij; c=${c#zabij:} ;;
        wielo:*) mode=wielo; c=${c#wielo:}
            if [[ $c =~ ^([0-9]+):(.*)$ ]]; then mode=wielo:${BASH_REMATCH[1]}; c=${BASH_REMATCH[2]}; fi ;;
    esac
    kind=${c%%:*}
    arg=${c#*:}
    [ "$arg" != "$c" ] || arg=""
    # The writes a stop may come before: in the killed mode from the second (the first
    # committed) to the one after the last (the whole step committed).
    lo=1 hi=0
    [ $mode != zabij ] || { lo=2; hi=1; }
    case $kind in
        all) awk -v lo=$lo -v hi=$hi '{ for (n = lo; n <= $2 + hi; n++) print $1, n, $2, $3 }' \
            "$work/steps.txt" ;;
        steps) awk -v want=",$arg," -v lo=$lo -v hi=$hi \
            'index(want, "," $1 ",") { for (n = lo; n <= $2 + hi; n++) print $1, n, $2, $3 }' \
            "$work/steps.txt" ;;
        sample) awk -v from="${arg%-*}" -v to="${arg#*-}" -v lo=$lo -v hi=$hi '
            function add(n) { if (n >= lo && n <= $2 + hi && !(n in got)) { got[n] = 1; k++ } }
            (from == "" || $1 >= from + 0) && (to == "" || $1 <= to + 0) {
                delete got; k = 0
                if ($2 <= 30) { for (n = lo; n <= $2 + hi; n++) add(n) }
                else {
                    add(lo); add($2 + hi)
                    for (i = 4; i <= NF; i++) { add($i - 1); add($i); add($i + 1) }
                    m = 0
                    for (n = lo; n <= $2 + hi; n++) if (n in got) order[++m] = n
                    if (m > 30) {
                        delete got
                        for (i = 0; i < 30; i++) got[order[1 + int(i * (m - 1) / 29 + 0.5)]] = 1
                    } else {
                        for (i = 0; k < 30 && i <= 30; i++) add(lo + int(i * ($2 + hi - lo) / 30 + 0.5))
                    }
                }
                for (n in got) print $1, n, $2, $3
            }' "$work/steps.txt" ;;
        petle) awk -v from="${arg%-*}" -v to="${arg#*-}" -v lo=$lo -v hi=$hi '
            (from == "" || $1 >= from + 0) && (to == "" || $1 <= to + 0) {
                for (i = 4; i <= NF; i++)
                    if ((i < NF ? $(i + 1) : $2 + 1) - $i >= 10 && $i >= lo && $i <= $2 + hi)
                        print $1, $i, $2, $3
            }' "$work/steps.txt" ;;
        at) tr ',' '\n' <<<"$arg" | while IFS=: read -r s n; do
                awk -v s="$s" -v n="$n" -v hi=$hi '$1 == s && n <= $2 + hi { print $1, n, $2, $3; found = 1 }
                    END { if (!found) print "no write " n " in step " s > "/dev/stderr" }' "$work/steps.txt"
            done ;;
        random) awk '{ for (n = 1; n <= $2; n++) print $1, n, $2, $3 }' "$work/steps.txt" |
            shuf -n "$arg" --random-source=<(yes "$seed") ;;
        every) awk -v k="$arg" '{ for (n = 1; n <= $2; n++) if (i++ % k == 0) print $1, n, $2, $3 }' \
            "$work/steps.txt" ;;
        *) echo "$me: unknown case $c" >&2; exit 2 ;;
    esac | sed "s/\$/ $mode/" >>"$list"
done
sort -k1,1n -k2,2n -k5,5 -u -o "$list" "$list"
[ -s "$list" ] || { echo "$me: no stop chosen" >&2; exit 2; }

# The road's database before each step a stop needs and before the step after it: one
# chain of runs, each stopped before the next such step (the test program treats that
# step as one this build lacks, and ends there), then run to the end, which must be the
# straight run's database.
# With rows, the chain stops before each step whose tables get rows as well, and adds
# them: the database before S, at-S, is the one with S's rows; at-S.txt, what the step
# before S leaves, is the database before they were added.
prepare "$work/chain" demo
for x in $({ awk '{ print $1; if ($4 != "end") print $4 }' "$list"; cut -d' ' -f1 "$fills"; } |
    sort -n -u); do
    status=$(KONW_PROGRAM=$STATES KONW_KROKI=$x=brak run "$work/chain")
    [ "$status" = 1 ] || { echo "$me: the chain's run to $x ended with status $status" >&2; exit 1; }
    [ ! -e "$work/chain/d/baza.mdb-wal" ] ||
        { echo "$me: the run stopped before $x left its log" >&2; exit 1; }
    mkdir "$work/at-$x"
    cp "$work/chain/d/baza.mdb" "$work/at-$x/baza.mdb"
    "$DUMP" "$work/at-$x" >"$work/at-$x.txt" &
    "$tools/konwersja/wersja-bazy" "$work/at-$x/baza.mdb" >"$work/at-$x.version"
    fill "$x" "$work/chain"
    wait
    cp "$work/chain/d/baza.mdb" "$work/at-$x/baza.mdb"
done
[ "$(KONW_PROGRAM=$STATES run "$work/chain")" = 0 ] && "$DUMP" "$work/chain/d" | cmp -s - "$work/at-end.txt" ||
    { echo "$me: the chain did not end as the straight run" >&2; exit 1; }
# What a stop's rerun must end as: the road's database before the next step, or, with
# --states-from, this build's uninterrupted run of the step from the road's entry
# (expect-S.txt and expect-S.version).
expect() {
    local s=$1 next=$2 f="$WORK/expect-$1" steps=""
    if [ "$STATES" = "$KONW_PROGRAM" ]; then
        ln -sf "at-$next.txt" "$WORK/expect-$s.txt"
        ln -sf "at-$next.version" "$WORK/expect-$s.version"
        return
    fi
    [ "$next" = end ] || steps=$next=brak
    prepare "$f" "at-$s/baza"
    KONW_KROKI=$steps run "$f" >/dev/null
    "$DUMP" "$f/d" >"$WORK/expect-$s.txt" 2>&1 || true
    "$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" >"$WORK/expect-$s.version" 2>&1 || true
    rm -rf "$f"
}
export -f expect
awk '{ print $1, $4 }' "$list" | sort -u | xargs -P "$jobs" -L 1 bash -c 'expect "$0" "$1"' 
chained=$(date +%s)
echo "$me: $(wc -l <"$list") stops in $(cut -d' ' -f1 "$list" | sort -u | wc -l) steps," \
    "$jobs at a time, in $work (road ready in $((chained - started)) s)" >&2

# stop S N WRITES NEXT MODE: one stop and its rerun, judged.
stop() {
    local s=$1 n=$2 writes=$3 next=$4 mode=$5 f="$WORK/stop-$1-$2-$5" steps="" awaria=$1:$2
    local stopped at returned rerun version verdict statement
    [ "$next" = end ] || steps=$next=brak
    case $mode in
        transient) awaria=$awaria:chwilowa ;;
        zabij) awaria=$awaria:zabij ;;
        wielo*) awaria=$awaria:$mode ;;
    esac
    prepare "$f" "at-$s/baza"
    stopped=$(KONW_PROGRAM=$STATES KONW_AWARIA=$awaria KONW_KROKI=$steps run "$f")
    at=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1 | tr ' \n' '_ ' || true)
    at=${at% }
    [ "$at" = "$(cat "$WORK/at-$s.version")" ] || at="$at(passed)"
    # The writes the step made when its method returned after the failed one.
    returned=$(sed -n "s/^awaria: step $s returned after its failed write (\([0-9]*\) writes)$/\1/p" \
        "$f/err.txt" | head -n 1)
    local refused=0 said=""
    if [[ $mode == wielo* ]]; then
        refused=${mode#wielo}
        refused=${refused#:}
        refused=${refused:-1}
        # The lines of the step's method in the stopped run's Log that the road's lacks.
        said=$(comm -23 <(grep -F ",Konwersja_$s," "$f/d/Log" 2>/dev/null |
            sed -e 's/^"[^,]*,//' -e 's/,[^,]*"$//' | sort -u) \
            <(grep -F ",Konwersja_$s," "$WORK/chain/d/Log" 2>/dev/null |
            sed -e 's/^"[^,]*,//' -e 's/,[^,]*"$//' | sort -u))
    fi
    if [ -n "$returned" ]; then
        if [ "$mode" = transient ] && [ "$returned" = $((writes + 1)) ]; then
            at="$at(retried)"
        elif [ $refused -gt 0 ] && [ "$returned" = $((writes + refused)) ]; then
            at="$at(retried)"
        elif [ $refused -gt 0 ] && [ "$returned" = $((writes + refused - 1)) ] && [ -n "$said" ]
        then
            at="$at(skipped)"
        else
            at="$at(absorbed)"
        fi
    fi
    ! grep -q "is no recordset's row save: not refused" "$f/err.txt" || at="$at(no-save)"
    statement=$(grep -m 1 -F -e "Not enough space on disk." -e "multiple-step operation failed" \
        "$f/err.txt" | sed 's/.*->>>//' | cut -c 1-100 || true)
    if [ "$mode" = zabij ]; then
        # The Log as the earlier tool leaves it: the step's "Begin" without this program's
        # mark before it (a step of this program's own is one transaction, never half done),
        # and, with every write committed, its "End" as well, logged before the version.
        sed -i "/,Konwersja,$MARK,/d" "$f/d/Log" 2>/dev/null || true
        if [ "$n" -gt "$writes" ] && [ -f "$f/d/Log" ]; then
            grep ",Konwersja,Begin," "$f/d/Log" | tail -n 1 |
                sed 's/,Konwersja,Begin,/,Konwersja,End,/' >>"$f/d/Log" || true
        fi
        [ -z "${BEZ_LOGU:-}" ] || rm -f "$f/d/Log"
        "$DUMP" "$f/d" >"$f/half.txt" 2>&1 || true
        cp "$f/d/Log" "$f/half.log" 2>/dev/null || : >"$f/half.log"
    fi
    rerun=$(KONW_KROKI=$steps run "$f")
    version=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1 | tr ' \n' '_ ' || true)
    version=${version% }
    # The table's word on the step: whether it goes on over the earlier tool's state.
    listed=0
    grep -q "^KROK($s," "$SRC/src/driver/kroki_po_przerwaniu.inc" && listed=1
    if [ "$version" != "$(cat "$WORK/expect-$s.version")" ]; then
        verdict=blocked
        if [ "$mode" = zabij ]; then
            # The rerun's stop, as its Log's error line says it (its cause), and whether it
            # left the state kept.
            statement=$(diff "$f/half.log" "$f/d/Log" 2>/dev/null | sed -n 's/^> //p' |
                grep ',ERR\.' | tail -n 1 | sed 's/^[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,//' |
                sed 's/.*,Krytyczny: //' | cut -c 1-240 || true)
            if "$DUMP" "$f/d" 2>&1 | cmp -s - "$f/half.txt"; then
                verdict="blocked(kept)"
            else
                verdict="blocked(CHANGED)"
            fi
        fi
    elif "$DUMP" "$f/d" >"$f/outcome.txt" 2>&1 && cmp -s "$f/outcome.txt" "$WORK/expect-$s.txt"
    then
        verdict=same
    else
        verdict=DIFF
        diff "$WORK/expect-$s.txt" "$f/outcome.txt" >"$f/diff.txt" || true
        # A step that passed a refused row over and said so leaves that row as it stood
        # at its entry: rows that stand as there, in place of the road's, are the only
        # difference.
        if [[ $at == *"(skipped)"* ]] && "$DUMP" "$WORK/at-$s" >"$f/entry.txt" 2>&1 &&
            [ "$(grep -c '^<' "$f/diff.txt")" = "$(grep -c '^>' "$f/diff.txt")" ] &&
            [ -z "$(comm -23 <(sed -n 's/^> //p' "$f/diff.txt" | sort) <(sort "$f/entry.txt"))" ]
        then
            verdict=skipped
        fi
    fi
    if [ "$mode" = zabij ] && [ -n "${BEZ_LOGU:-}" ]; then
        if [ "$verdict" = "blocked(kept)" ] &&
            [[ $statement != *"do wersji $((s / 100)).$(printf %02d $((s % 100))) została przerwana"* ]]; then
            verdict="blocked(unnamed)"
        fi
    elif [ "$mode" = zabij ]; then
        if [ $listed = 1 ]; then
            [ "$verdict" = same ] || verdict="$verdict(listed)"
        elif [ "$verdict" = same ]; then
            verdict="same(unlisted)"
        elif [ "$verdict" = "blocked(kept)" ] &&
            [[ $statement != *"do wersji $((s / 100)).$(printf %02d $((s % 100))) została przerwana"* ]]; then
            verdict="blocked(unnamed)"
        fi
    fi
    [ $verdict != same ] && [ $verdict != "blocked(kept)" ] || [[ $at == *"(absorbed)"* ]] ||
        rm -rf "$f"
    echo "$s $n/$writes $mode stop=$stopped at=$at rerun=$rerun version=$version $verdict $statement"
}
export -f stop

results=$work/results.txt
xargs -P "$jobs" -L 1 bash -c 'stop "$0" "$1" "$2" "$3" "$4"' <"$list" | tee "$results"

total=$(wc -l <"$results")
same=$(awk '$8 == "same"' "$results" | wc -l)
diff=$(awk '$8 == "DIFF"' "$results" | wc -l)
blocked=$(awk '$8 ~ /^blocked/' "$results" | wc -l)
skipped=$(grep -c '(skipped)' "$results" || true)
passed=$(grep -c '(passed)' "$results" || true)
absorbed=$(grep -c '(absorbed)' "$results" || true)
retried=$(grep -c '(retried)' "$results" || true)
kept=$(awk '$3 == "zabij" && $8 == "blocked(kept)"' "$results" | wc -l)
echo "$me: $total stops tried in $(cut -d' ' -f1 "$list" | sort -u | wc -l) steps" \
    "($(awk '$3 == "transient"' "$results" | wc -l) transient; in $absorbed the step absorbed" \
    "its failed write, in $retried it made it again, in $skipped it passed a refused row" \
    "over, saying so, $passed went past the step):" \
    "reruns identical $same, different $diff, blocked $blocked ($kept of them killed" \
    "states that the rerun kept as they were); $(($(date +%s) - started)) s"
# What differed or was absorbed, in short: the first lines of each difference.
awk '$8 != "same" || /\(absorbed\)/ { print $1, $2, $3 }' "$results" | sort -k1n -k2n |
while read -r s n mode; do
    echo "$me: $s ${n%/*} $mode: $(grep -F "$s $n $mode " "$results" | cut -d' ' -f4-8)" >&2
    d=$work/stop-$s-${n%/*}-$mode/diff.txt
    [ -s "$d" ] || continue
    # The table of the first difference, and the difference's first lines.
    awk -v l="$(grep -m 1 -o '^[0-9]*' "$d")" 'NR <= l && /^## / { t = $0 } NR == l { print "  in " t; exit }' \
        "$work/expect-$s.txt" >&2 || true
    head -n 6 "$d" | cut -c 1-160 | sed 's/^/  /' >&2
done
# The killed states' table per step.
if awk '$3 == "zabij" { z = 1 } END { exit !z }' "$results"; then
    awk '$3 == "zabij" { t[$1]++; v[$1, $8]++ }
        END { printf "%-6s %6s %6s %6s %14s %17s\n", "step", "states", "same", "DIFF",
                  "blocked(kept)", "blocked(CHANGED)"
              for (s in t) printf "%-6.2f %6d %6d %6d %14d %17d\n", s / 100, t[s], v[s, "same"],
                  v[s, "DIFF"], v[s, "blocked(kept)"], v[s, "blocked(CHANGED)"] }' "$results" |
        sort -n -k1,1 >"$work/table.txt"
    echo "$me: the killed states per step:" >&2
    sed 's/^/  /' "$work/table.txt" >&2
fi
# A killed state that the rerun stops at, keeping it, passes: the step says what is half
# done; so does a refused row that the step passed over, saying so. Any other stop fails.
[ $((same + kept + $(awk '$8 == "skipped"' "$results" | wc -l))) = "$total" ] && [ "$absorbed" = 0 ]
