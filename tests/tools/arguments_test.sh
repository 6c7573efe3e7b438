#!/usr/bin/env bash
# Every program refuses wrong arguments the same way: what was wrong and a line that
# points to --help on standard error, nothing on standard output, exit status 2, and
# nothing touched (no
# registry file, no log, no database). -h and --help print the usage on standard output,
# nothing on standard error, exit status 0, and touch nothing either.
# Usage: arguments_test.sh BUILD_DIR
set -u
bin="$1/tools"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export ORVIK_REGISTRY="$dir/cfg/registry.reg" ORVIK_FAST_WAIT=1 HOME="$dir/home"
unset ORVIK_ANSWERS XDG_CONFIG_HOME
fail=0
passed=0

# refused PROGRAM EXPECTED-PROBLEM ARGUMENTS...
refused() {
    local program=$1 problem=$2
    shift 2
    local name
    name=$(basename "$program")
    (cd "$dir" && "$bin/$program" "$@" >"$dir/out" 2>"$dir/err" </dev/null)
    local status=$?
    local err
    err=$(cat "$dir/err")
    if [ "$status" != 2 ] || [ -s "$dir/out" ] ||
        [ "$err" != "$name: $problem"$'\n'"Try '$name --help' for the usage." ]; then
        echo "FAIL $name $*: status $status"
        echo "--- stdout"; cat "$dir/out"; echo "--- stderr"; echo "$err"
        fail=1
    else
        passed=$((passed + 1))
    fi
}

# helped PROGRAM ARGUMENTS...
helped() {
    local program=$1
    shift
    local name
    name=$(basename "$program")
    (cd "$dir" && "$bin/$program" "$@" >"$dir/out" 2>"$dir/err" </dev/null)
    local status=$?
    if [ "$status" != 0 ] || [ -s "$dir/err" ] || [[ "$(cat "$dir/out")" != "usage: $name"* ]]; then
        echo "FAIL $name $*: status $status"
        echo "--- stdout"; cat "$dir/out"; echo "--- stderr"; cat "$dir/err"
        fail=1
    else
        passed=$((passed + 1))
    fi
}

for program in konwersja/konwersja konwersja/wersja-bazy baza-demo/baza-demo rejestr/rejestr \
    jetsql/jetsql; do
    helped "$program" --help
    helped "$program" -h
done
helped rejestr/rejestr get a -h
helped jetsql/jetsql --create a.db --help

refused konwersja/konwersja "unknown option --hlep" --hlep
refused konwersja/konwersja "unknown option -x" -x
refused konwersja/konwersja "unexpected argument baza.mdb" baza.mdb
refused konwersja/konwersja "unexpected argument --help" -- --help
refused konwersja/wersja-bazy "unknown option --hlep" --hlep
refused konwersja/wersja-bazy "a database is needed"
refused konwersja/wersja-bazy "unexpected argument b.mdb" a.mdb b.mdb
refused baza-demo/baza-demo "unknown option --hlep" --hlep
refused baza-demo/baza-demo "an output file is needed" --large
refused baza-demo/baza-demo "unexpected argument b.mdb" a.mdb b.mdb
refused baza-demo/baza-demo "--large given twice" a.mdb --large --large
refused rejestr/rejestr "unknown option --hlep" --hlep
refused rejestr/rejestr "a command is needed"
refused rejestr/rejestr "--key needs a value" get a --key
refused rejestr/rejestr "the key code must be 0, 1 or 2" get a --key 3
refused rejestr/rejestr "unknown option -5" set a -5
refused rejestr/rejestr "unknown command remove" remove a
refused jetsql/jetsql "unknown option --hlep" --hlep
refused jetsql/jetsql "a database is needed"
refused jetsql/jetsql "a database is needed" --create
refused jetsql/jetsql "--parse and --create exclude each other" --parse --create
refused jetsql/jetsql "unexpected argument a.db" --parse a.db
refused jetsql/jetsql "--create and --suite exclude each other" --create --suite a.db
refused jetsql/jetsql "--parse and --suite exclude each other" --parse --suite
refused jetsql/jetsql "--bail and --keep-going exclude each other" --bail --keep-going a.db

# Nothing was written: no registry file, no log, no database, no clipboard.
left=$(cd "$dir" && find . -mindepth 1 -not -name out -not -name err)
if [ -n "$left" ]; then
    echo "FAIL a refused program left files:"; echo "$left"; fail=1
fi

# A registry that asks for a conversion is left as it was by a refused konwersja.
mkdir -p "$dir/cfg"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"dodralvex"="0123"\n"dodralvexS"="%s/baza.mdb"\n' \
    "$dir" >"$ORVIK_REGISTRY"
before=$(md5sum <"$ORVIK_REGISTRY")
refused konwersja/konwersja "unknown option --hlep" --hlep
helped konwersja/konwersja --help
if [ "$(md5sum <"$ORVIK_REGISTRY")" != "$before" ] || [ -e "$dir/cfg/Rejestr.txt" ] ||
    [ -e "$dir/Log" ]; then
    echo "FAIL konwersja --help or a refusal changed the registry or wrote a log"; fail=1
fi

# The usages say where the registry is read from (the rule and the file it names here),
# how a run is driven and where its results are told, what is printed and the exit
# statuses.
says() {
    local program=$1 usage
    shift
    usage=$("$bin/$program" --help)
    for said in "$@"; do
        [[ "$usage" == *"$said"* ]] || { echo "FAIL $program --help does not say $said"; fail=1; }
    done
}
here="in this environment: $ORVIK_REGISTRY"
for program in konwersja/konwersja rejestr/rejestr; do
    says "$program" '$ORVIK_REGISTRY' '$XDG_CONFIG_HOME/orvik/registry.reg' \
        '~/.config/orvik/registry.reg' "$here"
done
says konwersja/konwersja '"Exit status" in README.md' ORVIK_ANSWERS ORVIK_FAST_WAIT=1 \
    "the file Log in the database's folder"
says rejestr/rejestr "Exit status: 0 done, 1 failure"
says konwersja/wersja-bazy "Prints the version recorded in the database" "Exit status: 0" \
    "1 the file or its version cannot be read" "2 wrong arguments" "is read without writing"
ORVIK_REGISTRY='' XDG_CONFIG_HOME="$dir/xdg" says rejestr/rejestr \
    "in this environment: $dir/xdg/orvik/registry.reg"
says jetsql/jetsql "one statement per line" 'Remarks: "--" to the end of the line' 'subqueries (IN (SELECT ...), EXISTS' '".tables"' '".schema TABLE"' \
    "Null as Null" "four-digit years (0100-01-01)" "committed together when it ends" \
    '"error" line last' "Not a valid" "Exit status: 0" "2 the database cannot be opened" \
    "--bail, the" "--keep-going" 'prompt "jetsql> "' "BEGIN, COMMIT and ROLLBACK" \
    "is opened for reading" "130 ended by Ctrl-C"
says baza-demo/baza-demo "--large: " "1,000 contractors" "two years" "--days N: N days" \
    "1 OUTPUT exists already" "its folder" "2 wrong arguments"

# A path that cannot be a database is told why: its folder is missing (baza-demo), or a
# file stands where a folder should be (konwersja, given "baza.mdb/").
# failed PROGRAM EXPECTED-STDERR-LINE ARGUMENTS...
failed() {
    local program=$1 line=$2
    shift 2
    "$bin/$program" "$@" >/dev/null 2>"$dir/err" </dev/null
    local status=$?
    if [ "$status" != 1 ] || ! grep -qxF -- "$line" "$dir/err"; then
        echo "FAIL $program $*: status $status"; cat "$dir/err"; fail=1
    fi
}
failed baza-demo/baza-demo "baza-demo: folder '$dir/nowhere' does not exist" "$dir/nowhere/x.mdb"
[ -e "$dir/nowhere" ] && { echo "FAIL baza-demo made the missing folder"; fail=1; }
echo "not a database" >"$dir/plik.mdb"
"$bin/rejestr/rejestr" set dodralvexS "$dir/plik.mdb/"
"$bin/rejestr/rejestr" set dodralvex 0123
failed konwersja/konwersja "-2147467259 (Cannot open '$dir/plik.mdb/': '$dir/plik.mdb' is a file, not a folder.). Nie Krytyczny"

# "--" lets an operand begin with "-".
"$bin/rejestr/rejestr" set a -- -5 && [ "$("$bin/rejestr/rejestr" get a)" = "-5" ] ||
    { echo "FAIL rejestr set a -- -5"; fail=1; }

if [ $fail -eq 0 ]; then echo "$passed cases passed"; exit 0; fi
exit 1
