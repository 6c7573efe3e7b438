#!/usr/bin/env bash
# The main job (run after scripts/setup.sh): builds the demonstration database of release
# 1.65, plays the suite's side of the hand-shake (request marker and path in the registry
# file), runs the conversion unattended, and shows what it left: the result marker, the
# version it was attempting, the version the database reached and the end of the log.
# Ends with status 0 whenever the demonstration itself ran, also when the conversion
# stopped on its way (it says where and why).
set -euo pipefail
cd "$(dirname "$0")/.."

tools=build/tools
for t in baza-demo/baza-demo rejestr/rejestr konwersja/konwersja konwersja/wersja-bazy; do
    if [ ! -x "$tools/$t" ]; then
        echo "demo: $tools/$t is missing: run scripts/setup.sh first" >&2
        exit 1
    fi
done

demo="$PWD/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
baza="$demo/baza.mdb"
export ORVIK_REGISTRY="$demo/registry.reg"
export ORVIK_FAST_WAIT=1
unset ORVIK_ANSWERS
rejestr="$tools/rejestr/rejestr"

echo "== The demonstration database (release 1.65): $baza"
"$tools/baza-demo/baza-demo" "$baza"
echo "   version: $("$tools/konwersja/wersja-bazy" "$baza")"

echo "== The suite's request: dodralvex=0123, dodralvexS=$baza (registry file $ORVIK_REGISTRY)"
"$rejestr" set dodralvexS "$baza"
"$rejestr" set dodralvex 0123

echo "== konwersja (unattended: every message box takes its safe answer)"
set +e
"$tools/konwersja/konwersja" </dev/null 2>"$demo/boxes.txt"
status=$?
cat "$demo/boxes.txt" >&2
set -e

marker=$("$rejestr" get dodralvex || true)
attempted=$("$rejestr" get dodralvexNumerBazy || true)
reached=$("$tools/konwersja/wersja-bazy" "$baza" 2>&1 || true)

echo
echo "== Result"
echo "   exit status:         $status"
echo "   dodralvex:           $marker"
echo "   dodralvexNumerBazy: '$attempted' (the version last attempted)"
echo "   version reached:     $reached"
case "$marker/$status" in
    3210/0) echo "   The conversion completed: the database is at version 6.46." ;;
    0123/0) echo "   Nothing to do: the database was already at version 6.46." ;;
    0000/1)
        if grep -q "nie zawiera kroku" "$demo/boxes.txt"; then
            why="this build does not have that step yet"
        else
            why="the step failed: see the message above and the log"
        fi
        LC_NUMERIC=C printf '   The conversion stopped in the step to version %.2f: %s.\n' "$attempted" "$why"
        echo "   The database keeps version $reached; the next run resumes at that step."
        ;;
    */4) echo "   The result could not be written to the registry (see the messages above)." ;;
    *) echo "   The run ended before converting (see the messages above)." ;;
esac

echo
echo "== The end of the log ($demo/Log)"
tail -n 8 "$demo/Log"
exit 0
