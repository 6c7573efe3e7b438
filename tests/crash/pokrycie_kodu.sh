#!/usr/bin/env bash
# The lines of the steps' code that the roads of the checks run: a build configured with
# -DKONW_COVERAGE=ON (GCC's gcov) runs the roads, and each file of src/steps/ is listed
# with its lines of code, those run and those not run. A line not run is judged by no
# check: each is given rows that run it, or stated in tests/crash/pokrycie_pominiete.txt
# with its reason, one line a case:
#   FILE: TEXT  # reason
# FILE the path under src/steps/, TEXT the line's code without its leading and trailing
# blanks (a line of that text not run in that file is stated, as many times as the file
# holds such lines). Prints per file: lines of code, run, not run, stated, the share run;
# then the lines not run and not stated, and the stated lines that did run (the statement
# is out of date). Exit status 0 when every line not run is stated, no stated line ran, the
# share run is at least the --least given (98 by default) and every road reached 6.46.
#
# usage: pokrycie_kodu.sh [--build DIR] [--work DIR] [--keep] [--jobs N] [--least PCT]
#                         [--roads LIST] [--report FILE]
#   --build DIR   the coverage build (build-cov by default)
#   --roads LIST  the roads run, separated by commas: ksztalt (the check by shape),
#                 nulls (the roads of Nulls and repeated rows, the plain road with them),
#                 relacje (the relations' whole road, long), klucze (the keys' sweep, long),
#                 polowa (the states that the suite's earlier tool leaves when killed inside
#                 a step that tells such a state by what the database holds: the steps that
#                 stop naming a half-done state, re-point only what is not re-pointed yet or
#                 go on over what a stopped run left, found in their code; killed at a spread of their writes and run again
#                 without the Log, stops_in_steps.sh --rows --bez-logu zabij:sample:S-S),
#                 awarie (the engine's failures in the steps that catch one: each step
#                 whose method, or a routine that it calls, catches jet::Error, found in
#                 their code; a full disk at a spread of its writes and at the first
#                 write of each record loop, in the full and the transient mode,
#                 stops_in_steps.sh --rows sample:S-S petle:S-S and transient: of both;
#                 and in each step whose code, or a routine that it calls, takes a save
#                 that the engine refuses part way, a spread of its saves refused so,
#                 once and four times in a row: wielo:sample:S-S wielo:4:sample:S-S),
#                 wariant (another customer's database, tests/crash/wariant.sql, converted
#                 whole under the check by shape, without the roads' rows, the user
#                 answering Yes at 4.12 to the question whether to delete the old orders);
#                 ksztalt,nulls,polowa,awarie,wariant by default
#   --report FILE each line not run, "FILE:LINE<tab>TEXT", into FILE
set -euo pipefail

me=pokrycie_kodu
least=98
roads=ksztalt,nulls,polowa,awarie,wariant
report=""
rest=()
build_given=""
while [ $# -gt 0 ]; do
    case "$1" in
        --least) least=$2; shift 2 ;;
        --roads) roads=$2; shift 2 ;;
        --report) report=$2; shift 2 ;;
        --build) build_given=$2; rest+=("$1" "$2"); shift 2 ;;
        *) rest+=("$1"); shift ;;
    esac
done
[ -n "$build_given" ] || rest+=(--build build-cov)
set -- "${rest[@]}"
. "$(dirname "$0")/common.sh"
[ ${#args[@]} = 0 ] || { sed -n 2,38p "$0" >&2; exit 2; }
objects=$build/CMakeFiles/driver.dir/src/steps
find "$objects" -name '*.gcno' -print -quit 2>/dev/null | grep -q . ||
    { echo "$me: $build is not a coverage build (cmake -DKONW_COVERAGE=ON)" >&2; exit 2; }
command -v gcov >/dev/null || { echo "$me: gcov is missing" >&2; exit 2; }
started=$(date +%s)

# The counts start from nothing: only the roads' runs count.
find "$build" -name '*.gcda' -delete
status=0
for r in ${roads//,/ }; do
    case $r in
        ksztalt) bash "$SRC/tests/crash/drogi_ksztalt.sh" --build "$build" --work "$work/ksztalt" \
                     >"$work/ksztalt.txt" 2>&1 || status=1 ;;
        nulls) bash "$SRC/tests/crash/drogi_nulls_dups.sh" --build "$build" --work "$work/nulls" \
                   nulls dups >"$work/nulls.txt" 2>&1 || status=1 ;;
        relacje) bash "$SRC/tests/crash/drogi_relacje.sh" --build "$build" --work "$work/relacje" \
                     --jobs "$jobs" >"$work/relacje.txt" 2>&1 || status=1 ;;
        klucze) bash "$SRC/tests/crash/drogi_klucze.sh" --build "$build" --work "$work/klucze" \
                    --jobs "$jobs" >"$work/klucze.txt" 2>&1 || status=1 ;;
        polowa)
            # The steps whose code tells a state that the earlier tool left half done: each
            # Konwersja_NNN (or file krok_NNN.cpp) that calls Konwersja_Przerwana or
            # Przepnij_Raz, or the step that the call names, or that goes on over what a
            # stopped run left (a table or rows of an earlier pass, a copy left over, the
            # retype's temporary column, a rebuild under way).
            polowy=()
            for k in $(awk 'FNR == 1 { s = ""; if (match(FILENAME, /krok_[0-9][0-9][0-9]\.cpp$/)) s = substr(FILENAME, RSTART + 5, 3) }
                        match($0, /Konwersja_[0-9][0-9][0-9]\(\)/) { s = substr($0, RSTART + 10, 3) }
                        /Konwersja_Przerwana\(|Przepnij_Raz\(|Z_Wczesniejszego_Przebiegu\(|Usun_Pozostala_Kopie\(|kKolumnaTymczasowa|_W_Toku\(/ {
                            if (match($0, /Konwersja_Przerwana\([0-9][0-9][0-9]/)) print substr($0, RSTART + 20, 3)
                            else if (s != "") print s }' "$SRC"/src/steps/*/*.cpp | sort -un); do
                polowy+=("zabij:sample:$k-$k")
            done
            bash "$SRC/tests/crash/stops_in_steps.sh" --build "$build" --work "$work/polowa" \
                --jobs "$jobs" --rows --bez-logu "${polowy[@]}" >"$work/polowa.txt" 2>&1 || status=1 ;;
        awarie)
            # The steps that catch an engine's failure: the step whose Konwersja_NNN holds
            # the catch, or, in a routine of its own, the steps that call the routine
            # (through up to three routines).
            awarie=()
            while read -r rodzaj k; do
                case $rodzaj in
                    catch) awarie+=("sample:$k-$k" "transient:sample:$k-$k" "petle:$k-$k"
                                    "transient:petle:$k-$k") ;;
                    # A walk that resumes at a record whose save the engine refused part
                    # way passes the record over at its third resume there: the fourth
                    # refusal in a row.
                    wielo) awarie+=("wielo:sample:$k-$k" "wielo:4:sample:$k-$k") ;;
                esac
            done < <(python3 - "$SRC"/src/steps/*/*.cpp <<'EOF'
import re, sys
kod = {p: open(p, encoding="utf-8").read().split("\n") for p in sys.argv[1:]}
# Each routine's first line: a line at the margin that opens a parameter list.
poczatki = {p: [(i, re.search(r"(\w+)\(", l).group(1)) for i, l in enumerate(w)
                if re.match(r"[A-Za-z_][^;]*\w\([^;]*$", l) and
                not re.match(r"(namespace|using|constexpr|static|struct|class|enum|template)\b", l)]
            for p, w in kod.items()}
def routine(p, n):
    return ([r for i, r in poczatki[p] if i <= n] or [None])[-1]
def steps(name, depth=0):
    m = re.fullmatch(r"Konwersja_(\d{3})", name or "")
    if m:
        return {m.group(1)}
    if not name or depth > 3:
        return set()
    found = set()
    for p, w in kod.items():
        starts = {i for i, _ in poczatki[p]}
        for i, l in enumerate(w):
            if i not in starts and re.search(r"\b" + name + r"\(", l):
                found |= steps(routine(p, i), depth + 1)
    return found
# The steps that catch an engine's failure, and those that take a save refused part way
# (a multiple-step error) as a record's own.
for rodzaj, znak in (("catch", "catch (const jet::Error"), ("wielo", "jet::hr::MultipleStep")):
    out = set()
    for p, w in kod.items():
        for i, l in enumerate(w):
            if znak in l:
                out |= steps(routine(p, i))
    for k in sorted(out):
        print(rodzaj, k)
EOF
            )
            bash "$SRC/tests/crash/stops_in_steps.sh" --build "$build" --work "$work/awarie" \
                --jobs "$jobs" --rows "${awarie[@]}" >"$work/awarie.txt" 2>&1 || status=1 ;;
        wariant)
            # The statements of wariant.sql above its first "-- at VERSION" line change the
            # demonstration database of release 1.65; those below such a line change the
            # database once the road has reached VERSION (the run ends there and the next
            # one goes on from it), as the customer's use of that release left it. 3.69
            # asks the same question as 4.12 and takes No: its Yes would delete the orders
            # before the steps from 3.69 to 4.12 work on them.
            (
                f=$work/wariant
                sql=$SRC/tests/crash/wariant.sql
                czesc() { awk -v w="$1" '/^-- at / { c = $3; next } c == w' "$sql"; }
                cp "$WORK/demo.mdb" "$WORK/wariant.mdb"
                czesc "" | "$TOOLS/jetsql/jetsql" --suite "$WORK/wariant.mdb" >"$work/wariant-sql.txt" ||
                    { echo "wariant.sql failed on the database of release 1.65"; exit 1; }
                prepare "$f" wariant
                n=0
                for v in $(sed -n 's/^-- at \([0-9.]*\)$/\1/p' "$sql") 6.46; do
                    n=$((n + 1))
                    status=$(KONW_PROGRAM=$build/tests/crash/konwersja_drogi KONW_DROGA=ksztalt \
                        KONW_DROGA_DO=$([ "$v" = 6.46 ] || tr -d . <<<"$v") \
                        KONW_KSZTALT_WYNIK="$f/wynik-$n.txt" \
                        KONW_KSZTALT_WYJATKI="$SRC/tests/crash/ksztalt_wyjatki.txt" \
                        KONW_DROGA_TAK="412 Pytanie przyspieszające konwersję ?" run "$f")
                    wersja=$("$TOOLS/konwersja/wersja-bazy" "$f/d/baza.mdb" 2>&1)
                    [ "$wersja" = "$v" ] ||
                        { echo "the road ENDED EARLY at version $wersja (status $status), not $v"; exit 1; }
                    [ "$v" = 6.46 ] || czesc "$v" | "$TOOLS/jetsql/jetsql" --suite "$f/d/baza.mdb" \
                        >>"$work/wariant-sql.txt" || { echo "wariant.sql failed at $v"; exit 1; }
                done
                echo "findings not stated:"
                awk -F'\t' '$3 == "FINDING"' "$f"/wynik-*.txt | cut -c 1-400 | sed 's/^/    /'
                findings=$(awk -F'\t' '$3 == "FINDING"' "$f"/wynik-*.txt | wc -l)
                echo "$findings findings not stated; the road reached 6.46 in $n runs"
                [ "$findings" = 0 ]
            ) >"$work/wariant.txt" 2>&1 || status=1 ;;
        *) echo "$me: unknown road $r" >&2; exit 2 ;;
    esac
    echo "$me: road $r: $(tail -n 1 "$work/$r.txt")"
done
[ $status = 0 ] || echo "$me: a road ended with a finding or early (its output in $work)"

# Each object's lines, by gcov's JSON (the lines of code only, with their counts).
(cd "$work" && find "$objects" -name '*.gcda' | sort | while read -r g; do
    gcov --json-format --stdout --object-directory "$(dirname "$g")" "${g%.gcda}.o" 2>/dev/null
done) >"$work/gcov.json"
python3 - "$work/gcov.json" "$SRC" "$SRC/tests/crash/pokrycie_pominiete.txt" "$least" "${report:-/dev/null}" <<'EOF' || status=1
import json, os, re, sys
from collections import Counter, defaultdict
dane, src, plik_pominietych, least, raport = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4]), sys.argv[5]
kroki = os.path.join(src, "src", "steps") + os.sep
# Per file: line -> the highest count among the objects that compiled it (a header's line
# runs when any of them ran it).
linie = defaultdict(dict)
dec = json.JSONDecoder()
tekst = open(dane).read()
i = 0
while i < len(tekst):
    while i < len(tekst) and tekst[i].isspace():
        i += 1
    if i >= len(tekst):
        break
    obj, i = dec.raw_decode(tekst, i)
    for f in obj.get("files", []):
        sciezka = os.path.normpath(os.path.join(obj.get("current_working_directory", ""), f["file"]))
        if not sciezka.startswith(kroki):
            continue
        l = linie[sciezka[len(kroki):]]
        for x in f["lines"]:
            l[x["line_number"]] = max(l.get(x["line_number"], 0), x["count"])
# The stated lines: (file, text) -> how many, with their reasons.
stwierdzone = Counter()
for n, w in enumerate(open(plik_pominietych, encoding="utf-8"), 1):
    w = w.split("  #", 1)[0].rstrip()
    if not w or w.startswith("#"):
        continue
    plik, _, kod = w.partition(": ")
    stwierdzone[(plik.strip(), kod.strip())] += 1
uzyte = Counter()
razem = [0, 0, 0]
brak, nieaktualne = [], []
out = open(raport, "w")
print("%-44s %6s %6s %6s %6s %7s" % ("file", "lines", "run", "not", "stated", "run %"))
for plik in sorted(set(linie) | {p for p, _ in stwierdzone}):
    l = linie.get(plik, {})
    try:
        kod = open(os.path.join(kroki, plik), encoding="utf-8").read().split("\n")
    except OSError:
        kod = []
    nie = sorted(n for n, c in l.items() if c == 0)
    st = 0
    for n in nie:
        t = kod[n - 1].strip() if n - 1 < len(kod) else ""
        out.write("%s:%d\t%s\n" % (plik, n, t))
        if uzyte[(plik, t)] < stwierdzone[(plik, t)]:
            uzyte[(plik, t)] += 1
            st += 1
        else:
            brak.append("%s:%d: %s" % (plik, n, t))
    razem[0] += len(l); razem[1] += len(l) - len(nie); razem[2] += st
    if l:
        print("%-44s %6d %6d %6d %6d %6.1f%%" % (plik, len(l), len(l) - len(nie), len(nie), st,
                                               100.0 * (len(l) - len(nie)) / len(l)))
for (plik, t), k in stwierdzone.items():
    if uzyte[(plik, t)] < k:
        nieaktualne.append("%s: %s (%d stated, %d not run)" % (plik, t, k, uzyte[(plik, t)]))
udzial = 100.0 * razem[1] / razem[0] if razem[0] else 0
print("%-44s %6d %6d %6d %6d %6.1f%%" % ("src/steps", razem[0], razem[1], razem[0] - razem[1], razem[2], udzial))
print("pokrycie_kodu: %d lines not run and not stated%s" % (len(brak), ":" if brak else ""))
for b in brak:
    print("    " + b)
print("pokrycie_kodu: %d stated lines that ran (out of date)%s" % (len(nieaktualne), ":" if nieaktualne else ""))
for b in nieaktualne:
    print("    " + b)
sys.exit(0 if not brak and not nieaktualne and udzial >= least else 1)
EOF
echo "$me: $roads in $(($(date +%s) - started)) s, in $work" >&2
exit $status
