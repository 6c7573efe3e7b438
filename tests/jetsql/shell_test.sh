#!/usr/bin/env bash
# The shell's output formats, failure lines and exit statuses, end to end; the suite's
# files opened with --suite; the end at a failure and the transactions; the statements
# and commands read; at a terminal; README.md's comparison of a temporary column.
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
  | "$jetsql" --create --keep-going "$dir/a.db")
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

out=$(printf 'select * from;\nselect 1\n' | "$jetsql" --parse --keep-going)
check "parse mode" "$(printf 'error -2147217900 Syntax error in FROM clause.\nok')" "$out"

out=$(printf 'select #1/1/100#, #12/31/999 10:00#\n' | "$jetsql" "$dir/a.db")
check "four-digit years" "$(printf 'Expr1000\tExpr1001\n0100-01-01\t0999-12-31 10:00:00')" "$out"

# A NUL byte in a statement is refused with its place, and nothing is made of it.
out=$(printf 'create table [q\0r] (a long)\ninsert into produkty (nazwa) values (%b)\nselect count(*) from produkty\n' "'x\0y'" \
  | "$jetsql" --keep-going "$dir/a.db")
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

# A failure ends the input (the default without a terminal) and nothing the input wrote
# is committed: the file keeps its bytes ("=") and standard error names the line;
# --keep-going goes on and commits what succeeded. The slips of a repair by hand: a typo,
# a block in BEGIN ... ROLLBACK, a slip in a statement's second line, a transaction left
# open. A statement runs whole, over several lines or beside others on one.
printf 'create table b (a long)\ninsert into b values (1)\ncreate table c (d text)\n' |
  "$jetsql" --create "$dir/b0.db" >/dev/null
stored() {  # name expected ("=": the bytes of b0.db)
    if [ "$2" = "=" ]; then
        check "$1: the file's bytes" "$(md5sum <"$dir/b0.db")" "$(md5sum <"$dir/b.db")"
    else
        check "$1: stored" "$2" "$(printf 'select * from b\n' | "$jetsql" "$dir/b.db" | tr '\n\t' '| ')"
    fi
}
while IFS='@' read -r name flags lines status rows err; do
    cp "$dir/b0.db" "$dir/b.db"
    printf "$lines" | "$jetsql" $flags "$dir/b.db" >/dev/null 2>"$dir/err"
    check "$name: status" "$status" "$?"
    stored "$name" "$rows"
    check "$name: standard error" "$err" "$(grep -m 1 -x -F -- "$err" "$dir/err" || head -n 1 "$dir/err")"
done <<'EOF'
a typo@@alter table b add c long\nupdate b set c = cc\nalter table b drop column c\n@1@=@jetsql: line 2 failed: update b set c = cc
a failing command@@alter table b add c long\n.schema nosuch\ninsert into b (a) values (3)\n@1@=@jetsql: line 2 failed: .schema nosuch
--bail@--bail@insert into b values (2)\nupdate b set nosuch = 1\n@1@=@jetsql: line 2 failed: update b set nosuch = 1
BEGIN ... ROLLBACK@@BEGIN TRANSACTION\nalter table b add c long\nupdate b set a = 5\nROLLBACK\n@0@=@
ROLLBACK without BEGIN@@update b set a = 5\nrollback\n@1@=@jetsql: line 2 failed: rollback
a transaction left open@@begin\nupdate b set a = 5\n@1@=@jetsql: the input ended inside the transaction begun at line 1, without COMMIT or ROLLBACK: nothing of the input (the file stays as it was opened) was committed
a slip in the second line@@update b set a = 7\nwher a = 1\n@1@=@jetsql: lines 1-2 failed: update b set a = 7
a statement over two lines@@insert into b values (2)\nupdate b set a = 7\nwhere a = 1\n@0@a|7|2|@
statements on one line, INSERT over two@@insert into b values (2); insert into b values (3);\ninsert into b (a)\nselect a + 10 from b\n@0@a|1|2|3|11|12|13|@
COMMIT, then a failure@@begin\ninsert into b values (2)\ncommit\ninsert into b values (3)\nupdate b set nosuch = 1\n@1@a|1|2|@jetsql: line 5 failed: update b set nosuch = 1
ROLLBACK nested@@begin\ninsert into b values (2)\nbegin work\ninsert into b values (3)\nrollback work\ncommit transaction\n@0@a|1|2|@
--keep-going@--keep-going@insert into b values (2)\nupdate b set nosuch = 1\ninsert into b values (3)\n@1@a|1|2|3|@jetsql: line 2 failed: update b set nosuch = 1
.quit@@insert into b values (2)\n.QUIT\nupdate b set nosuch = 1\n@0@a|1|2|@
.quit inside a statement@@insert into b values (2)\nupdate b set a =\n.quit\n@1@=@jetsql: lines 2-3 failed: update b set a =
a remark after code@@update b set a = 5 where a = 9 -- was 1; delete from b\n@0@a|1|@
a remark hiding a minus@@update b set a = a -- 1; delete from b where a = 1\n@0@a|1|@
remarks over lines and in a statement@@/* a; delete from b;\n*/ insert into b /* ; */ values (2) -- ;\n@0@a|1|2|@
remark signs in a string@@insert into b values (len('--;/*'))\n@0@a|1|5|@
a remark left open@--keep-going@update b set a = 5;\n/* update b\nset a = 6;\n@1@a|5|@jetsql: error the input ended inside the remark begun with "/*" at line 2, not ended with "*/"; the lines after it did not run
EOF

# Ctrl-C without a terminal, the input still open: the statement it stops and those
# after it do not run, nothing is committed, and standard error gives one report. The
# signal comes half a second after standard output shows WAIT. BIG fills c with 256 rows
# (lines 2-10), for statements over c that run for minutes.
big="insert into c values ('x');\n$(printf 'insert into c select d from c;\\n%.0s' 1 2 3 4 5 6 7 8)"
mkfifo "$dir/in"
while IFS='@' read -r name flags lines wait err; do
    cp "$dir/b0.db" "$dir/b.db"
    "$jetsql" $flags "$dir/b.db" <"$dir/in" >"$dir/out" 2>"$dir/err" &
    shell=$!
    exec 3>"$dir/in"
    printf "${lines//BIG/$big}" >&3
    for _ in $(seq 100); do grep -q "^$wait" "$dir/out" && break; sleep 0.1; done
    sleep 0.5
    kill -INT $shell
    wait $shell
    check "Ctrl-C $name: status" "130" "$?"
    exec 3>&-
    stored "Ctrl-C $name" "="
    check "Ctrl-C $name: standard error" "$err" "$(grep . "$dir/err")"
done <<'EOF'
a read@@update b set a = 5\nBIGselect count(*) from c p, c q, c r, c s; update b set a = 6;\n@Expr1000@jetsql: interrupted (Ctrl-C): the statement of line 11 was stopped; rolled back the writes of 10 statements run since the input began (lines 1-10); none of them is stored
a read, --keep-going@--keep-going@update b set a = 5\nBIGselect count(*) from c p, c q, c r, c s; update b set a = 6;\n@Expr1000@jetsql: interrupted (Ctrl-C): the statement of line 11 was stopped; rolled back the writes of 10 statements run since the input began (lines 1-10); none of them is stored
a write in a transaction@@begin\nBIGinsert into b select 9 as a from c p, c q, c r, c s where p.d & q.d & r.d & s.d = 'y'; update b set a = 6;\n@ok 128@jetsql: interrupted (Ctrl-C): the statement of line 11 was stopped; rolled back the statement of line 11 and the writes of 9 statements run before it since the input began (lines 2-10); none of them is stored; the transaction begun at line 1 was ended
a line waiting@@update b set a = 5;\nupdate b set a = 6\n@ok 1@jetsql: interrupted (Ctrl-C): rolled back the writes of 1 statement run since the input began (line 1); none of them is stored; the statement not ended with ";" did not run
writes on eleven lines apart@@update b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 5\nselect a from b\nupdate b set a = 6\n@ok 1@jetsql: interrupted (Ctrl-C): rolled back the writes of 11 statements run since the input began (lines 1, 3, 5, 7, 9, 11, 13, 15, 17, ... and 21); none of them is stored; the statement not ended with ";" did not run
EOF

# Commands: after blanks, in any case, a ";" after them ignored; ".schema" alone shows
# every table; an unknown one is named.
while IFS='@' read -r lines shown; do
    check "command $lines" "$shown" "$(printf "$lines" | "$jetsql" "$dir/b0.db" 2>/dev/null |
      grep '^Table\|^error\|^\.help' | tr '\n' '|')"
done <<'EOF'
  .SCHEMA b;\n@Table b|
.schema\n@Table b|Table c|
.bogus\n@error unknown command ".bogus" (".help" lists the commands)|
.help\n@.help            this text|
EOF

# At a terminal: the prompts (inside a remark too), Ctrl-C that says what it rolls back
# (exit status 130) and that lets a statement that writes (an UPDATE over a join) run to
# its end, "exit", Ctrl-D inside a statement; an up arrow that recalls a line to edit,
# "quit" inside a statement, the lines typed ahead of a Ctrl-C and after it named and not
# run. Typed through a pseudo-terminal, a line at a time.
cat >"$dir/terminal.py" <<'PY'
import os, pty, select, sys, time
pid, fd = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], sys.argv[1:])
screen = b""
def settle(until_end=False):
    global screen
    deadline = time.time() + 10
    while time.time() < deadline:
        if select.select([fd], [], [], 0.05)[0]:
            try:
                chunk = os.read(fd, 4096)
            except OSError:
                return
            if not chunk:
                return
            screen += chunk
        elif not until_end and screen.endswith(b"> "):
            return
def shown(text):  # waits (2 minutes at most: a loaded machine) until the screen shows text
    global screen
    deadline = time.time() + 120
    while text.encode() not in screen and time.time() < deadline:
        if select.select([fd], [], [], 0.05)[0]:
            screen += os.read(fd, 4096)
# A key: a line typed with Enter; ^C, ^D; TEXT^C (typed, then Ctrl-C); ?TEXT waits for
# TEXT on the screen, and the next key comes a moment after it; ^HUP closes the terminal.
waited = False
for key in sys.stdin.read().splitlines():
    if key.startswith("?"):
        shown(key[1:])
        time.sleep(0.3)
        waited = True
        continue
    if not waited:
        settle()
    waited = False
    if key == "^HUP":
        os.close(fd)
        break
    if key.endswith("^C") and key != "^C":
        key = key[:-2] + "\x03"
    os.write(fd, {"^C": b"\x03", "^D": b"\x04"}.get(key, (key + ("" if key.endswith("\x03") else "\n")).encode()))
else:
    settle(until_end=True)
sys.stdout.write(screen.decode(errors="replace").replace("\r\n", "\n"))
for _ in range(200):  # 20 s at most, then the shell is stopped: a failure, not a hang
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        sys.exit(os.waitstatus_to_exitcode(status))
    time.sleep(0.1)
os.kill(pid, 9)
sys.exit(99)
PY
while IFS='@' read -r keys status shown rows; do
    cp "$dir/b0.db" "$dir/b.db"
    screen=$(printf "${keys//BIG/$big}" | python3 "$dir/terminal.py" "$jetsql" "$dir/b.db")
    check "terminal $keys: status" "$status" "$?"
    [[ "$screen" == *"$(printf "$shown")"* ]] || { echo "FAIL terminal $keys: $shown"; echo "$screen"; fail=1; }
    stored "terminal $keys" "$rows"
    check "terminal $keys: nothing beside the file" "b.db" "$(cd "$dir" && echo b.db*)"
done <<'EOF'
select a\nfrom b;\n.exit\n@0@jetsql> select a\n   ...> from b;\na\n1@=
/* a\n*/ select 'x\ny' as [p\nq]\nfrom b;\n.quit\n@0@jetsql> /* a\n   ...> */ select 'x\n   ...> y' as [p\n   ...> q]\n   ...> from b;@=
insert into b values (2);\nexit\n@0@ok 1@a|1|2|
insert into b values (2);\nselect 1\n^D\n@1@error the input ended inside a statement@a|1|2|
insert into b values (2);\n^C\n.quit\n@0@jetsql> ^C\njetsql> .quit@a|1|2|
update b set a = 9 ^[[A^C\n.quit\n@0@jetsql> .quit@=
update b set a = 9\n^C\nwhere a = 1;\n.quit\n@1@(the statement not ended with ";" was discarded)\njetsql> where a = 1;\nerror@=
insert into b values (2);\nupdate b set a = 7\n.QUIT;\n@1@error ".quit" came inside a statement not ended with ";"; it was not run@a|1|2|
insert into b values (2);\n^HUP\n@129@ok 1@=
create table big (x long);\ninsert into big values (1);\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into b values (2);\nselect count(*) from big p, big q, big r, big s;\n?Expr1000\n^C\n.quit\n@1@Operation canceled by user.@a|1|2|
create table big (x long);\ninsert into big values (1);\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into big select x from big;\ninsert into b values (2);\nselect 6*7 from b; insert into big select p.x from big p, big q, big r, big s;\n?42\n^C\n?Ctrl-C again\n^C\ninsert into b values (3);\n.quit\n@1@the statement was stopped: rolled back the statement of line 12 and the writes of 11 statements run before it since the input began (lines 1-11)@a|1|3|
insert into b values (2);\nBIGselect count(*) from c p, c q, c r, c s; delete from b;\n?Expr1000\n^C\n.quit\n@1@Operation canceled by user.\n(the statements typed after it were not run)@a|1|2|
insert into b values (2);\nBIGselect 6*7 from b; update ((b inner join c p on b.a > 0) inner join c q on p.d = q.d) inner join c r on q.d = r.d set b.a = 7 where p.d & q.d & r.d = 'y';\n?42\n^C\n?ok 0\n.quit\n@0@rolls them back.\nok 0@a|1|2|
begin;\ninsert into b values (2);\nBIGselect 6*7 from b; insert into b select 9 as a from c p, c q, c r, c s where p.d & q.d & r.d & s.d = 'y'; delete from b;\n?42\n^C\n?Ctrl-C again\n^C\ninsert into b values (3);\n.quit\n@1@the statement was stopped: rolled back the statement of line 12 and the writes of 10 statements run before it since the input began (lines 2-11); the transaction begun at line 1 was ended\nerror -2147467259 Operation canceled by user.\n(the statements typed after it were not run)@a|1|3|
insert into b values (2);\n\e[A\e[D\e[D\x7f3\n.quit\n@0@ok 1\njetsql> .quit@a|1|2|3|
insert into b values (2);\nupdate b set a = 7\nquit\n@1@error "quit" came inside a statement not ended with ";"; it was not run@a|1|2|
insert into b values (2);\nBIGselect 6*7 from b; insert into b select 9 as a from c p, c q, c r, c s where p.d & q.d & r.d & s.d = 'y';\n?42\ndelete from b;\n?delete from b;\n^C\n?Ctrl-C again\ninsert into b values (4);\n?values (4);\n^C\ninsert into b values (3);\n.quit\n@1@jetsql: not run (Ctrl-C): delete from b;\njetsql: not run (Ctrl-C): insert into b values (4);@a|1|3|
EOF

# At a terminal with standard output redirected, the prompts and errors stay on the
# terminal and the file gets the rows.
cp "$dir/b0.db" "$dir/b.db"
screen=$(printf 'select a from b;\nselect nosuch from b;\n.quit\n' |
  python3 "$dir/terminal.py" /bin/sh -c "exec '$jetsql' '$dir/b.db' >'$dir/out'")
[[ "$screen" == *"jetsql> "*"error -2147217904"* ]] || { echo "FAIL redirected: the terminal"; echo "$screen"; fail=1; }
check "redirected: the file" "$(printf 'a\n1')" "$(cat "$dir/out")"

# A file that may not be written by its mode, or in a folder that may not be, is read
# and never written, for root too; the file keeps its bytes and gets nothing beside it.
mkdir "$dir/ro"
for mode in 0444:0777 0666:0555; do
    chmod 0777 "$dir/ro"; rm -f "$dir/ro/"*; cp "$dir/b0.db" "$dir/ro/b.db"
    chmod "${mode%:*}" "$dir/ro/b.db"; chmod "${mode#*:}" "$dir/ro"
    out=$(printf 'select a from b\nupdate b set a = 9\n' | "$jetsql" "$dir/ro/b.db" 2>/dev/null)
    check "read-only $mode: status" "1" "$?"
    check "read-only $mode: read, not written" "$(printf 'a\n1\nerror -2147467259 Cannot update.  Database or object is read-only.')" \
      "$(sed 's/Cannot update .*read-only\./Cannot update.  Database or object is read-only./' <<<"$out")"
    check "read-only $mode: the bytes" "$(md5sum <"$dir/b0.db")" "$(md5sum <"$dir/ro/b.db")"
    check "read-only $mode: nothing beside" "b.db" "$(cd "$dir/ro" && echo b.db*)"
done
chmod 0777 "$dir/ro"

# The end of a run that wrote leaves the file whole while another program reads it: a
# copy of the file alone has the column added.
cp "$dir/b0.db" "$dir/b.db"
sleep 3 | "$jetsql" "$dir/b.db" &
reader=$!
sleep 0.5
printf 'alter table b add z long\n' | "$jetsql" "$dir/b.db" >/dev/null 2>"$dir/err"
cp "$dir/b.db" "$dir/copy.db"
wait $reader
check "the end leaves the file whole: said nothing" "" "$(cat "$dir/err")"
check "the end leaves the file whole" "a z|" \
  "$(printf 'select * from b where 0 = 1\n' | "$jetsql" "$dir/copy.db" | tr '\n\t' '| ')"

# README.md's comparison of two runs (bench/dbdump.py --data) compares what the files
# hold: a table made after another was dropped holds the same data under other catalog
# numbers. The dump leaves nothing beside the files.
dbdump="$(dirname "$readme")/bench/dbdump.py"
printf 'create table t (a long, b text(5))\ninsert into t values (1, "x")\n' |
  "$jetsql" --create "$dir/d1.db" >/dev/null
printf 'create table u (c long)\ndrop table u\ncreate table t (a long, b text(5))\ninsert into t values (1, "x")\n' |
  "$jetsql" --create "$dir/d2.db" >/dev/null
d1=$(python3 "$dbdump" --data "$dir/d1.db")
check "dbdump --data: the same data" "$d1" "$(python3 "$dbdump" --data "$dir/d2.db")"
check "dbdump --data: the rows" "rows (a, b):|i:1 | s:'x'" "$(grep -A1 '^rows' <<<"$d1" | tr '\n' '|' | sed 's/|$//')"
check "dbdump: nothing beside the files" "d1.db d2.db" "$(cd "$dir" && echo d?.db*)"

# A file of the suite: refused without --suite, opened with it, and its password kept
# after a run that wrote to it.
"$baza_demo" --days 1 "$dir/s.mdb" >/dev/null
refused() {  # name
    err=$(printf 'select 1\n' | "$jetsql" "$dir/s.mdb" 2>&1 >/dev/null)
    status=$?
    check "$1: status" "2" "$status"
    check "$1: message" "jetsql: $dir/s.mdb: error -2147217843 Not a valid password.
jetsql: a file of the suite opens with --suite (the suite's database password)" "$err"
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
