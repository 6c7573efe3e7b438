#!/usr/bin/env bash
# The shell's output formats, failure lines and exit statuses, end to end; the suite's
# files opened with --suite; --bail; README.md's comparison of a temporary column.
# Usage: shell_test.sh JETSQL BAZA_DEMO README
set -u
jetsql="$1"
baza_demo="$2"
readme="$3"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {  # name expected actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1"; echo "--- expected"; echo "$2"; echo "--- got"; echo "$3"; fail=1
    fi
}

out=$(printf '%s\n' \
  "create table [Produkty] (id counter, nazwa text(20), cena money, waga single, data date, tak logical)" \
  "-- a comment" \
  "" \
  "insert into produkty (nazwa, cena, waga, data, tak) values ('Chleb żytni', 3.5, 0.1, #12-24-2006 08:30:00#, True)" \
  "insert into produkty (nazwa, cena) values ('a''b', 0.1+0.2)" \
  "select id, nazwa, cena, waga, data, tak from produkty order by id" \
  "update produkty set cena = cena * 2" \
  "select nosuch from produkty" \
  "insert into produkty (nazwa) values ('123456789012345678901')" \
  | "$jetsql" --create "$dir/a.db")
status=$?
expected=$(printf '%s\n' "ok 0" "ok 1" "ok 1" \
  "id	nazwa	cena	waga	data	tak" \
  "1	Chleb żytni	3.5	0.1	2006-12-24 08:30:00	-1" \
  "2	a'b	0.3	Null	Null	Null" \
  "ok 2" \
  "error -2147217904 No value given for one or more required parameters. (Nie podano wartości dla jednego lub więcej wymaganych parametrów.)" \
  "error -2147217833 The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting less data.")
check "statements" "$expected" "$out"
check "exit status after a failure" "1" "$status"

printf 'select 1 from produkty\n' | "$jetsql" "$dir/a.db" >/dev/null
check "exit status when all succeed" "0" "$?"

"$jetsql" --create "$dir/a.db" </dev/null 2>/dev/null
check "create refuses an existing file" "2" "$?"

echo "not a database" > "$dir/b.db"
before=$(md5sum < "$dir/b.db")
"$jetsql" "$dir/b.db" </dev/null 2>/dev/null
check "foreign file" "2" "$?"
check "foreign file unchanged" "$before" "$(md5sum < "$dir/b.db")"

out=$(printf 'select * from\nselect 1\n' | "$jetsql" --parse)
check "parse mode" "$(printf 'error -2147217900 Syntax error in FROM clause.\nok')" "$out"

out=$(printf 'select #1/1/100#, #12/31/999 10:00#\n' | "$jetsql" "$dir/a.db")
check "four-digit years" "$(printf 'Expr1000\tExpr1001\n0100-01-01\t0999-12-31 10:00:00')" "$out"

# A NUL byte in a statement is refused with its place, and nothing is made of it.
out=$(printf 'create table [q\0r] (a long)\ninsert into produkty (nazwa) values (%b)\nselect count(*) from produkty\n' "'x\0y'" \
  | "$jetsql" "$dir/a.db")
check "NUL byte" "$(printf '%s\n' \
  "error -2147217900 Syntax error: NUL character (byte 0) in bracketed name at position 16." \
  "error -2147217900 Syntax error: NUL character (byte 0) in string at position 40." \
  "Expr1000" "2")" "$out"
out=$(printf 'select 1\0\n' | "$jetsql" --parse)
check "NUL byte between tokens" "error -2147217900 Syntax error: NUL character (byte 0) in SQL statement at position 9." "$out"

# A commit that fails is reported, never passed over: on a disk of 400 KB (a file size
# limit stands for it) 2,000 rows of 250 characters cannot be committed when the input
# ends. Every statement printed "ok 1"; the failed commit is the last line and the exit
# status is 1, and the file holds what it held before.
printf 'create table duze (t text(255))\n' | "$jetsql" "$dir/a.db" >/dev/null
for i in $(seq 2000); do
    printf "insert into duze (t) values ('%0250d')\n" "$i"
done >"$dir/duze.sql"
out=$( (ulimit -f 400 && trap '' XFSZ && "$jetsql" "$dir/a.db" <"$dir/duze.sql") )
status=$?
check "failed commit: exit status" "1" "$status"
check "failed commit: every statement ran" "2000" "$(grep -c '^ok 1$' <<<"$out")"
last=$(tail -n 1 <<<"$out")
check "failed commit: reported last" "error -" "${last:0:7}"
check "failed commit: nothing stored" "$(printf 'Expr1000\n0')" \
  "$(printf 'select count(*) from duze\n' | "$jetsql" "$dir/a.db")"

# --bail: the first statement or command that fails ends the input; nothing of it is
# committed (a column added, rows inserted), and standard error names the line. With
# none failing, everything is committed.
printf 'create table b (a long)\ninsert into b values (1)\n' | "$jetsql" --create "$dir/bail.db" >/dev/null
while IFS=';' read -r name lines status stored err; do
    printf "$lines" | "$jetsql" --bail "$dir/bail.db" >/dev/null 2>"$dir/err"
    check "--bail, $name: status" "$status" "$?"
    check "--bail, $name: stored" "$stored" \
      "$(printf 'select * from b\n' | "$jetsql" "$dir/bail.db" | tr '\n\t' '| ')"
    check "--bail, $name: standard error" "$err" "$(head -n 1 "$dir/err")"
done <<'EOF'
failing statement;alter table b add c long\ninsert into b (a) values (2)\nupdate b set nosuch = 1\ninsert into b (a) values (3)\n;1;a|1|;jetsql: line 3 failed: update b set nosuch = 1
failing command;alter table b add c long\ninsert into b (a) values (2)\n.schema nosuch\ninsert into b (a) values (3)\n;1;a|1|;jetsql: line 3 failed: .schema nosuch
all succeed;alter table b add c long\ninsert into b (a) values (2)\n.schema b\ninsert into b (a) values (3)\n;0;a c|1 Null|2 Null|3 Null|;
EOF

# A file of the suite: refused without --suite, opened with it, and its password kept
# after a run that wrote to it.
"$baza_demo" --days 1 "$dir/s.mdb" >/dev/null
refused() {  # name
    err=$(printf 'select 1\n' | "$jetsql" "$dir/s.mdb" 2>&1 >/dev/null)
    status=$?
    check "$1: status" "2" "$status"
    check "$1: message" "jetsql: $dir/s.mdb: error -2147217843 Not a valid password." "$err"
}
refused "suite file without --suite"

# README.md's query that counts the rows where the temporary column differs from a
# column, for a column and a copy of each type pair a change makes (the copy in the
# type the change gives): equal values, both Null, either one Null, different values.
# Only the last three count.
query=$(sed -n 's/^    \(SELECT Count(\*) FROM TABLE WHERE .*ccxxdfredvvcxds__ddfr.*\)$/\1/p' "$readme")
check "README's query found" "1" "$(grep -c . <<<"$query")"
i=0
while IFS=';' read -r typ kopia rowne1 rowne2 inne1 inne2; do
    i=$((i + 1))
    out=$(printf '%s\n' \
      "create table k$i (id long, c $typ, ccxxdfredvvcxds__ddfr $kopia)" \
      "insert into k$i values (1, $rowne1, $rowne2)" \
      "insert into k$i values (2, Null, Null)" \
      "insert into k$i values (3, Null, $rowne2)" \
      "insert into k$i values (4, $rowne1, Null)" \
      "insert into k$i values (5, $inne1, $inne2)" \
      "$(sed "s/TABLE/k$i/g; s/COLUMN/c/g" <<<"$query")" \
      | "$jetsql" --suite "$dir/s.mdb")
    check "README's query: $typ, copy $kopia" \
      "$(printf 'ok 0\nok 1\nok 1\nok 1\nok 1\nok 1\nExpr1000\n3')" "$out"
done <<'EOF'
text(10);text(255);'Abc';'Abc';'abc ';'abc'
long;single;12;12;1;2
single;money;0.1;0.1;0.5;0.25
date;date;#1/2/2020#;#1/2/2020#;#1/2/2020#;#1/2/2020 10:30#
money;text(50);12.5;'12,5';2;'2.5'
EOF
refused "suite file after --suite wrote to it"

if [ $fail -eq 0 ]; then echo "1 passed, 0 failed"; exit 0; fi
echo "0 passed, 1 failed"; exit 1
