// The values an action query stores (SET, INSERT ... VALUES, the select list of
// INSERT ... SELECT): one that cannot be converted to its column's type, or that
// divides by zero, becomes Null for that field of that row and the statement goes on.
// In a criteria (WHERE, ON) the same value fails the statement with 0x80040E07, never
// with 0x80004005 (which the callers read as a lost connection). Column defaults as
// written: "DEFAULT =x" is DEFAULT x, the last DEFAULT clause counts.
#include <sqlite3.h>

#include "jet/session.h"
#include "query_util.h"

namespace query_test {
namespace {

using StoredValues = QueryTest;

TEST_F(StoredValues, UnconvertibleValuesBecomeNull) {
    run_all(
        {"CREATE TABLE T (id long, n long, i short, b byte, d double, s single, "
         "dt datetime, m money, t text(5), k long NOT NULL)",
         "INSERT INTO T (id, n, k) VALUES (1, 5, 1)", "INSERT INTO T (id, n, k) VALUES (2, 6, 2)"});
    const Case cases[] = {
        {"UPDATE T SET n = 'abc'", "ok 2"},
        {"SELECT id, n FROM T", "1|Null;2|Null"},
        {"UPDATE T SET n = id * 10, i = 100000, b = -1, s = 1e39, dt = 'zzz', m = 'x', "
         "d = '1,5' WHERE id = 1",
         "ok 1"},
        {"SELECT n, i, b, s, dt, m, d FROM T WHERE id = 1", "10|Null|Null|Null|Null|Null|1.5"},
        // Computed values out of the column's range.
        {"UPDATE T SET i = n * 10000, b = n - 11, s = [n] * 1e38 WHERE id = 1", "ok 1"},
        {"SELECT n, i, b, s FROM T WHERE id = 1", "10|Null|Null|Null"},
        {"UPDATE T AS x INNER JOIN T AS y ON x.id = y.id SET x.i = y.n * 5000, x.t = y.id", "ok 2"},
        {"SELECT id, i, t FROM T", "1|Null|1;2|Null|2"},
        {"INSERT INTO T (id, n, d, dt, k) VALUES (3, 'x', 'y', 'z', 3)", "ok 1"},
        {"SELECT n, d, dt FROM T WHERE id = 3", "Null|Null|Null"},
        {"INSERT INTO T (id, n, k) SELECT id + 10, t & 'z', k FROM T WHERE id < 3", "ok 2"},
        {"SELECT id, n FROM T WHERE id > 10", "11|Null;12|Null"},
        // A required column still refuses the Null.
        {"UPDATE T SET k = 'abc' WHERE id = 1", "error 80004005"},
        {"INSERT INTO T (id, k) VALUES (4, 'abc')", "error 80004005"},
        // Too long a text is no conversion: it fails (the callers widen the column).
        {"UPDATE T SET t = 'abcdefgh'", "error 80040E57"},
        // In a criteria the same values fail the statement.
        {"SELECT id FROM T WHERE n = 'abc'", "error 80040E07"},
        {"SELECT id FROM T WHERE CInt(100000) = 1", "error 80040E07"},
        {"SELECT id FROM T WHERE CLng('abc') = 1", "error 80040E07"},
        {"UPDATE T SET n = 1 WHERE CDate('zzz') > #1/1/2020#", "error 80040E07"},
        {"SELECT count(*) FROM T", "5"},
    };
    EXPECT_CASES(cases);
}

// A division by zero in the values an INSERT or an UPDATE stores sets that value to
// Null (the row is still written); anywhere else it fails the statement with
// 0x80040E07.
TEST_F(StoredValues, DivisionByZeroInInsertedValues) {
    run_all({"CREATE TABLE R (id long, ilosc double, wyd double)",
             "CREATE TABLE T (id long, v double, w long)",
             "INSERT INTO R (id, ilosc, wyd) VALUES (1, 10, 4)",
             "INSERT INTO R (id, ilosc, wyd) VALUES (2, 10, 0)"});
    const std::string zero = "error 80040E07";
    const Case cases[] = {
        {"INSERT INTO T (id, v, w) VALUES (1, 5/0, 7 \\ 0)", "ok 1"},
        {"INSERT INTO T (id, v, w) VALUES (2, 5 mod 0, 3)", "ok 1"},
        {"INSERT INTO T (id, v, w) SELECT id, [ilosc]/[wyd]*2, id FROM R", "ok 2"},
        {"INSERT INTO T (id, v) SELECT id, sum([ilosc]/[wyd]) FROM R GROUP BY id", "ok 2"},
        {"SELECT id, v, w FROM T", "1|Null|Null;2|Null|3;1|5|1;2|Null|2;1|2.5|Null;2|Null|Null"},
        // Not stored values: the WHERE of INSERT ... SELECT, a read, a criteria.
        {"INSERT INTO T (id) SELECT id FROM R WHERE [ilosc]/[wyd] > 1", zero},
        {"SELECT 1/0 FROM R", zero},
        {"SELECT [ilosc]/[wyd] FROM R", zero},
        {"SELECT id FROM R WHERE [ilosc]/[wyd] > 1", zero},
        {"SELECT id FROM R ORDER BY [ilosc]/[wyd]", zero},
        {"UPDATE R SET ilosc = 0 WHERE [ilosc] mod [wyd] = 1", zero},
        {"DELETE FROM R WHERE [ilosc] \\ [wyd] = 1", zero},
        {"SELECT R.id FROM R INNER JOIN T ON R.id = T.id / 0", zero},
        {"SELECT count(*) FROM T", "6"},
        // The values an UPDATE stores.
        {"UPDATE R SET ilosc = [ilosc] \\ [wyd]", "ok 2"},
        {"SELECT ilosc FROM R", "2;Null"},
        {"UPDATE R SET wyd = 5 / [ilosc] WHERE id = 1", "ok 1"},
        {"UPDATE R INNER JOIN T ON R.id = T.id SET R.wyd = T.v / (R.ilosc - 2) WHERE T.w = 1",
         "ok 1"},
        {"SELECT id, ilosc, wyd FROM R", "1|2|Null;2|Null|0"},
    };
    EXPECT_CASES(cases);
}

// A value that cannot be converted anywhere inside a stored expression (arithmetic,
// a comparison inside IIf, a function, a division by zero) makes the whole stored
// value Null for that row, even where an operator would absorb a Null ('&', Nz, IIf's
// condition); the other rows and fields are stored. The same expressions fail a
// criteria (WHERE, ON, a query's rows) with 0x80040E07.
TEST_F(StoredValues, FailuresInsideStoredExpressionsGiveNull) {
    run_all(
        {"CREATE TABLE P (id long, vat text(4), cena money, ilosc single, brutto money, "
         "d double, n long, s text(20), k long NOT NULL)",
         "CREATE TABLE Q (id long, b money, s text(20))",
         "INSERT INTO P (id, vat, cena, ilosc, k) VALUES (1, '22', 10, 2, 1)",
         "INSERT INTO P (id, vat, cena, ilosc, k) VALUES (2, 'zw', 10, 1, 2)",
         "INSERT INTO P (id, vat, cena, ilosc, k) VALUES (3, '7', 5, 1, 3)"});
    const std::string mismatch = "error 80040E07";
    const Case cases[] = {
        // Arithmetic, a function, a division by zero, and Null-absorbing operators.
        {"UPDATE P SET brutto = cena * (1 + vat / 100), d = vat * 1, n = CInt(vat) + 1, "
         "s = (vat * 1) & 'x'",
         "ok 3"},
        {"SELECT id, brutto, d, n, s FROM P",
         "1|12.2|22|23|22x;2|Null|Null|Null|Null;3|5.35|7|8|7x"},
        {"UPDATE P SET d = Nz(vat / 100, 0), n = Len(CStr(1 / (id - 2)) & ''), s = 'ok'", "ok 3"},
        {"SELECT id, d, n, s FROM P", "1|0.22|2|ok;2|Null|Null|ok;3|0.07|1|ok"},
        // A comparison inside IIf: text against a number fails on every row it meets.
        {"UPDATE P SET n = IIf('zw' > 0, 1, 2), d = IIf(CDbl(vat) > 10, 1, 2)", "ok 3"},
        {"SELECT id, n, d FROM P", "1|Null|1;2|Null|Null;3|Null|2"},
        {"UPDATE P SET n = IIf(vat BETWEEN 1 AND 30, 1, 2), d = IIf(vat IN (7, 22), 1, 2)", "ok 3"},
        {"SELECT id, n, d FROM P", "1|Null|Null;2|Null|Null;3|Null|Null"},
        // A required column still refuses the Null.
        {"UPDATE P SET k = vat * 1", "error 80004005"},
        // INSERT ... VALUES and INSERT ... SELECT (also sorted and grouped).
        {"INSERT INTO Q (id, b, s) VALUES (1, 'zw' * 1, CStr(1 + 'zw' / 100))", "ok 1"},
        {"INSERT INTO Q (id, b, s) VALUES (2, IIf('zw' > 0, 1, 2), Year('zw') & 'x')", "ok 1"},
        {"INSERT INTO Q (id, b, s) SELECT id + 10, cena * (1 + vat / 100), vat & '%' FROM P "
         "ORDER BY id DESC",
         "ok 3"},
        {"INSERT INTO Q (id, b) SELECT 20 + ilosc, sum(cena * (1 + vat / 100)) FROM P GROUP BY "
         "ilosc",
         "ok 2"},
        {"SELECT id, b, s FROM Q ORDER BY id",
         "1|Null|Null;2|Null|Null;11|12.2|22%;12|Null|zw%;13|5.35|7%;21|Null|Null;22|12.2|Null"},
        // An UPDATE over a join, and one that adds each joined row.
        {"UPDATE P INNER JOIN Q ON P.id + 10 = Q.id SET P.d = Q.b * (1 + P.vat / 100)", "ok 3"},
        {"SELECT id, d FROM P", "1|14.884;2|Null;3|5.7245"},
        {"UPDATE Q INNER JOIN P ON Q.id - 10 = P.id SET Q.b = Q.b + CCur(P.vat)", "ok 3"},
        {"UPDATE Q INNER JOIN P ON Q.id - 20 = P.ilosc SET Q.b = Q.b + P.vat * 1", "ok 3"},
        {"SELECT id, b FROM Q WHERE id > 10 ORDER BY id",
         "11|34.2;12|Null;13|12.35;21|Null;22|34.2"},
        // Criteria, joins and reads fail.
        {"UPDATE P SET n = 1 WHERE vat / 100 > 0", mismatch},
        {"UPDATE P SET n = 1 WHERE IIf(CDbl(vat) > 10, 1, 2) = 1", mismatch},
        {"UPDATE P SET n = 1 WHERE IIf('zw' > 0, 1, 2) = 1", mismatch},
        {"DELETE FROM P WHERE vat * 1 > 0", mismatch},
        {"INSERT INTO Q (id) SELECT id FROM P WHERE CInt(vat) > 0", mismatch},
        {"SELECT P.id FROM P INNER JOIN Q ON P.id = Q.id + P.vat * 1", mismatch},
        {"UPDATE P INNER JOIN Q ON P.id = Q.id - P.vat / 100 SET P.n = 1", mismatch},
        {"SELECT vat * 1 FROM P", mismatch},
        {"SELECT count(*) FROM Q", "7"},
        // A failure absorbed by one statement leaves the next one's values alone.
        {"UPDATE P SET n = id", "ok 3"},
        {"SELECT n FROM P", "1;2;3"},
    };
    EXPECT_CASES(cases);
}

// Only the select list of INSERT ... SELECT and SELECT ... INTO is stored: there a
// value that cannot be computed is Null for that row. FROM, ON, WHERE, GROUP BY,
// HAVING and ORDER BY are criteria: the same value fails the statement, and a failing
// SELECT ... INTO leaves no table behind.
TEST_F(StoredValues, OnlyTheSelectListIsStored) {
    run_all({"CREATE TABLE T (id long, grp long, price money, vat text(4))",
             "CREATE TABLE R (id long, rate double)", "CREATE TABLE U (id long, g long, s money)",
             "INSERT INTO T VALUES (1, 1, 10, '22')", "INSERT INTO T VALUES (2, 1, 10, 'zw')",
             "INSERT INTO T VALUES (3, 2, 5, '7')", "INSERT INTO R VALUES (1, 22)",
             "INSERT INTO R VALUES (2, 0)", "INSERT INTO R VALUES (3, 7)"});
    const std::string mismatch = "error 80040E07";
    const Case cases[] = {
        {"INSERT INTO U (id) SELECT T.id FROM T INNER JOIN R ON T.id = R.id AND T.vat / 1 = R.rate",
         mismatch},
        {"INSERT INTO U (id) SELECT T.id FROM T LEFT JOIN R ON T.id = R.id AND T.vat / 1 = R.rate",
         mismatch},
        {"INSERT INTO U (id) SELECT id FROM T WHERE vat * 1 > 0", mismatch},
        {"INSERT INTO U (id) SELECT id FROM T GROUP BY id, vat * 1", mismatch},
        {"INSERT INTO U (id) SELECT grp FROM T GROUP BY grp HAVING Sum(vat * 1) > 0", mismatch},
        {"INSERT INTO U (id) SELECT id FROM T ORDER BY vat * 1", mismatch},
        {"SELECT count(*) FROM U", "0"},
        // SELECT ... INTO: the select list is stored, Null where it cannot be computed.
        {"SELECT id, price * (1 + vat / 100) AS g, vat * 1 AS n INTO N FROM T", "ok 3"},
        {"SELECT id, g, n FROM N", "1|12.2|22;2|Null|Null;3|5.35|7"},
        {"SELECT id INTO N2 FROM T WHERE vat * 1 > 0", mismatch},
        {"SELECT T.id INTO N3 FROM T INNER JOIN R ON T.id = R.id AND T.vat / 1 = R.rate", mismatch},
        {"SELECT id INTO N4 FROM T ORDER BY vat / 100", mismatch},
        {"SELECT count(*) FROM N2", "error 80040E37"},
        {"SELECT count(*) FROM N3", "error 80040E37"},
    };
    EXPECT_CASES(cases);
}

// A stored aggregate over a group with a row whose value cannot be computed (or that
// divides by zero) is Null for that group, as a whole stored value (Nz does not absorb
// it), wherever the row comes in the group; the other groups are computed. Read, the
// same aggregate fails the statement.
TEST_F(StoredValues, AggregateOverAFailingRowIsNull) {
    run_all({"CREATE TABLE T (id long, grp long, price money, vat text(4))",
             "CREATE TABLE U (g long, s money, n long, d double, t text(10))",
             "INSERT INTO T VALUES (1, 1, 10, '22')", "INSERT INTO T VALUES (2, 1, 10, 'zw')",
             "INSERT INTO T VALUES (3, 2, 5, '7')", "INSERT INTO T VALUES (4, 3, 4, '0')"});
    const Case cases[] = {
        {"INSERT INTO U (g, s, n) SELECT grp, Sum(price * (1 + vat / 100)), Nz(Sum(vat * 1), 0) "
         "FROM T GROUP BY grp",
         "ok 3"},
        {"SELECT g, s, n FROM U", "1|Null|Null;2|5.35|7;3|4|0"},
        {"DELETE FROM U", "ok 3"},
        // Each aggregate, the failing row last in group 1.
        {"INSERT INTO U (g, n, d, t, s) SELECT grp, Count(vat * 1), Avg(vat * 1), "
         "Min(vat * 1) & '/' & Max(vat * 1), First(vat * 1) + Last(vat * 1) FROM T GROUP BY grp",
         "ok 3"},
        {"SELECT g, n, d, t, s FROM U", "1|Null|Null|Null|Null;2|1|7|7/7|14;3|1|0|0/0|0"},
        {"DELETE FROM U", "ok 3"},
        // A division by zero, last and first in its group; no GROUP BY; no rows.
        {"INSERT INTO U (g, s, d) SELECT grp, Sum(price / (id - 2)), Sum(price / (id - 1)) FROM T "
         "GROUP BY grp",
         "ok 3"},
        {"SELECT g, s, d FROM U", "1|Null|Null;2|5|2.5;3|2|1.33333333333333"},
        {"INSERT INTO U (g, s, n) SELECT 9, Sum(price / (id - 3)), Count(price / (id - 3)) FROM T",
         "ok 1"},
        {"INSERT INTO U (g, s, n) SELECT 10, Sum(price / (id - 3)), Count(price / (id - 3)) FROM T "
         "WHERE id > 5",
         "ok 1"},
        {"SELECT g, s, n FROM U WHERE g > 5", "9|Null|Null;10|Null|0"},
        // Read, the aggregate fails.
        {"SELECT grp, Sum(price / (id - 2)) FROM T GROUP BY grp", "error 80040E07"},
    };
    EXPECT_CASES(cases);
}

// A stored value that overflows a Double is Null; in a criteria the overflow fails the
// statement.
TEST_F(StoredValues, OverflowIsNull) {
    run_all({"CREATE TABLE T (id long, x double, y double, s single)",
             "CREATE TABLE R (id long, big double)", "INSERT INTO R VALUES (1, 1e308)",
             "INSERT INTO R VALUES (2, 1e308)", "INSERT INTO T VALUES (1, 1, 0, 0)",
             "INSERT INTO T VALUES (2, 10, 0, 0)"});
    const Case cases[] = {
        {"UPDATE T SET y = x ^ 1000, s = x ^ 1000", "ok 2"},
        {"SELECT id, y, s FROM T", "1|1|1;2|Null|Null"},
        {"UPDATE T SET y = x * 1e308", "ok 2"},
        {"SELECT id, y FROM T", "1|1e+308;2|Null"},
        {"INSERT INTO T (id, y) VALUES (3, 10 ^ 400)", "ok 1"},
        {"INSERT INTO T (id, y) SELECT 4, Sum(x * 1e308) FROM T", "ok 1"},
        {"SELECT id, y FROM T WHERE id > 2", "3|Null;4|Null"},
        // Added pair by pair over a join.
        {"UPDATE T SET y = x WHERE id < 3", "ok 2"},
        {"UPDATE T INNER JOIN R ON R.id <= T.id SET T.y = T.y + R.big WHERE T.id < 3", "ok 3"},
        {"SELECT id, y FROM T WHERE id < 3", "1|1e+308;2|Null"},
        {"SELECT id FROM T WHERE x ^ 1000 > 0", "error 80040E07"},
        {"SELECT x ^ 1000 FROM T", "error 80040E07"},
        {"SELECT id, x ^ 2 FROM T WHERE id < 3", "1|1;2|100"},
    };
    EXPECT_CASES(cases);
    std::string text;
    EXPECT_EQ(error_of("UPDATE T SET y = 1 WHERE x ^ 1000 > 0", &text), 0x80040E07u);
    EXPECT_EQ(text, "Overflow.");
}

// A date stored into a text column is its date text (as CStr gives it), whatever
// stores it: SET, INSERT ... SELECT, INSERT ... VALUES, SELECT ... INTO; so is a date
// where a text is expected of IIf and Nz.
TEST_F(StoredValues, DatesStoredIntoTextAreDateTexts) {
    run_all({"CREATE TABLE D (id long, d datetime, s text(30), m memo)",
             "INSERT INTO D (id, d) VALUES (1, #04-20-2006#)",
             "INSERT INTO D (id, d) VALUES (2, #04-21-2006 10:30:00#)"});
    const Case cases[] = {
        {"UPDATE D SET s = d, m = d", "ok 2"},
        {"SELECT s, m FROM D", "2006-04-20|2006-04-20;2006-04-21 10:30:00|2006-04-21 10:30:00"},
        {"INSERT INTO D (id, s, m) SELECT id + 10, d, d + 1 FROM D", "ok 2"},
        {"INSERT INTO D (id, s, m) VALUES (21, #04-20-2006#, CDate('2006-04-22'))", "ok 1"},
        {"SELECT id, s, m FROM D WHERE id > 10",
         "11|2006-04-20|2006-04-21;12|2006-04-21 10:30:00|2006-04-22 "
         "10:30:00;21|2006-04-20|2006-04-22"},
        {"UPDATE D SET s = IIf(id = 1, d, 'brak'), m = Nz(Null, d) WHERE id < 3", "ok 2"},
        {"SELECT s, m FROM D WHERE id < 3", "2006-04-20|2006-04-20;brak|2006-04-21 10:30:00"},
        {"SELECT id, IIf(id = 1, d, 'brak') AS t INTO E FROM D WHERE id < 3", "ok 2"},
        {"SELECT t FROM E", "2006-04-20;brak"},
        // A date kept as a date, and Yes/No and numbers as they were.
        {"SELECT IIf(id = 1, d, #01-01-2000#) FROM D WHERE id < 3", "2006-04-20;2000-01-01"},
        {"UPDATE D SET s = (id = 1), m = id / 4 WHERE id < 3", "ok 2"},
        {"SELECT s, m FROM D WHERE id < 3", "-1|0,25;0|0,5"},
    };
    EXPECT_CASES(cases);
}

// IIf and Nz give the value they choose in that value's own type, whatever type the
// other value would give them: a number chosen where the other value is a date is
// stored, and turned into text, as the number.
TEST_F(StoredValues, IIfAndNzKeepTheChosenValuesType) {
    run_all({"CREATE TABLE D (id long, d datetime, s text(30), m memo, n double)",
             "INSERT INTO D (id, d) VALUES (1, #04-20-2006#)", "INSERT INTO D (id) VALUES (2)",
             "CREATE TABLE E (id long, s text(30), m memo)"});
    const Case cases[] = {
        {"UPDATE D SET s = Nz(d, 0), m = IIf(id = 2, 0, d), n = Nz(d, 1.5)", "ok 2"},
        {"SELECT id, s, m, n FROM D", "1|2006-04-20|2006-04-20|38827;2|0|0|1.5"},
        {"UPDATE D SET s = IIf(id = 1, d, 1.5) & '', m = CStr(Nz(d, 7)) & Format(Nz(d, 2), '')",
         "ok 2"},
        {"SELECT id, s, m FROM D", "1|2006-04-20|2006-04-202006-04-20;2|1,5|72"},
        // Stored through a query: INSERT ... SELECT (also sorted), SELECT ... INTO.
        {"INSERT INTO E (id, s, m) SELECT id, Nz(d, 0), IIf(id = 1, d, 2) FROM D ORDER BY id DESC",
         "ok 2"},
        {"INSERT INTO E (id, s) VALUES (3, Nz(Null, 0))", "ok 1"},
        {"SELECT id, s, m FROM E", "2|0|2;1|2006-04-20|2006-04-20;3|0|Null"},
        {"SELECT id, IIf(id = 2, 0, d) & '' AS t INTO F FROM D", "ok 2"},
        {"SELECT t FROM F", "2006-04-20;0"},
    };
    EXPECT_CASES(cases);
}

// A date computed past 31 December 9999 or before 1 January 100 is Null where it is
// stored, whatever stores it (SET, also over a join, INSERT ... VALUES, INSERT ...
// SELECT, SELECT ... INTO), as any value out of its column's range; the dates that
// stay in the range are stored as they are, and the table reads on.
TEST_F(StoredValues, DatesPastTheEndsOfTheRangeAreNull) {
    run_all({"CREATE TABLE T (id long, d datetime, n long)",
             "CREATE TABLE C (id long, d datetime NOT NULL)",
             "INSERT INTO T VALUES (1, #9999-12-30#, 1)",
             "INSERT INTO T VALUES (2, #0100-01-02#, 2)",
             "INSERT INTO T VALUES (3, #2001-02-03#, 3)"});
    const Case cases[] = {
        {"UPDATE T SET d = d + 5 WHERE id = 1", "ok 1"},
        {"UPDATE T SET d = d - 3 WHERE id = 2", "ok 1"},
        {"UPDATE T SET d = d + 1 WHERE id = 3", "ok 1"},
        {"SELECT id, d, Year(d) FROM T", "1|Null|Null;2|Null|Null;3|2001-02-04|2001"},
        {"UPDATE T SET d = #9999-12-30# - n + 1", "ok 3"},
        {"SELECT id, d FROM T", "1|9999-12-30;2|9999-12-29;3|9999-12-28"},
        // Computed through a function, IIf, or from a literal; the last second of the range.
        {"UPDATE T SET d = IIf(id = 1, d + 2, CDate(d) + (3 - id))", "ok 3"},
        {"SELECT id, d FROM T", "1|Null;2|9999-12-30;3|9999-12-28"},
        {"INSERT INTO T VALUES (4, #9999-12-31# + 1, 4)", "ok 1"},
        {"INSERT INTO T VALUES (5, #0100-01-01# - 1, 5)", "ok 1"},
        {"INSERT INTO T VALUES (6, #9999-12-31# + 0.9999, 6)", "ok 1"},
        {"SELECT id, d FROM T WHERE id > 3", "4|Null;5|Null;6|9999-12-31 23:59:51"},
        // Copied by INSERT ... SELECT and SELECT ... INTO.
        {"INSERT INTO T (id, d) SELECT id + 10, d + 2 FROM T WHERE id IN (2, 3)", "ok 2"},
        {"SELECT id, d FROM T WHERE id > 10", "12|Null;13|9999-12-30"},
        {"SELECT id, d + 1 AS e INTO E FROM T WHERE id IN (2, 3)", "ok 2"},
        {"SELECT id, e, Year(e) FROM E", "2|9999-12-31|9999;3|9999-12-29|9999"},
        {"SELECT id, d - 3615898 AS e INTO F FROM T WHERE id IN (2, 3)", "ok 2"},
        {"SELECT id, e FROM F", "2|0100-01-01;3|Null"},
        // Over a join; into a required column the Null fails.
        {"UPDATE T INNER JOIN E ON T.id = E.id SET T.d = E.e + (T.n - 1)", "ok 2"},
        {"SELECT id, d FROM T WHERE id IN (2, 3)", "2|Null;3|9999-12-31"},
        {"INSERT INTO C (id, d) SELECT id, d FROM T WHERE id = 3", "ok 1"},
        {"UPDATE C SET d = d + 1", "error 80004005"},
        {"INSERT INTO C (id, d) VALUES (2, #9999-12-31# + 1)", "error 80004005"},
        {"SELECT id, d FROM C", "3|9999-12-31"},
    };
    EXPECT_CASES(cases);
}

// An infinite value (a Double computed past its range) is Null in every column it is
// stored into; CStr, Format and & of it fail as an overflow does (Null in a stored
// value). In a criteria, *, +, - and / of Doubles past the range fail the statement
// with Overflow, as ^ does; so does a condition of IIf computed in a stored value,
// which makes that value Null.
TEST_F(StoredValues, InfinityIsAnOverflow) {
    run_all(
        {"CREATE TABLE T (id long, db double, s text(20), m memo, b bit, n long, c money, "
         "d datetime, f single)",
         "INSERT INTO T (id, db) VALUES (1, 1e308)", "INSERT INTO T (id, db) VALUES (2, 2)"});
    const std::string overflow = "error 80040E07";
    const Case cases[] = {
        {"UPDATE T SET s = db * 10, m = db * 10, b = db * 10, n = db * 10, c = db * 10, "
         "d = db * 10, f = db * 10",
         "ok 2"},
        {"SELECT id, s, m, b, n, c, d, f FROM T",
         "1|Null|Null|Null|Null|Null|Null|Null;2|20|20|-1|20|20|1900-01-19|20"},
        {"UPDATE T SET s = db + db, m = -db - db, b = db * db", "ok 2"},
        {"SELECT id, s, m, b FROM T", "1|Null|Null|Null;2|4|-4|-1"},
        {"UPDATE T SET s = CStr(db * 10), m = Format(db * 10, '0.00'), n = Len(db * 10 & 'x')",
         "ok 2"},
        {"SELECT id, s, m, n FROM T", "1|Null|Null|Null;2|20|20,00|3"},
        {"UPDATE T SET s = Format(db * 10), m = Format(db * 10, 'yyyy'), b = (db * 10 > 1), "
         "n = IIf(db * 10 > 1, 1, 2), c = IIf(db * 10 BETWEEN 1 AND 2, 1, 2)",
         "ok 2"},
        {"SELECT id, s, m, b, n, c FROM T", "1|Null|Null|Null|Null|Null;2|20|1900|-1|1|2"},
        // Criteria.
        {"DELETE FROM T WHERE db * 10 > 1", overflow},
        {"DELETE FROM T WHERE db + db > 1", overflow},
        {"DELETE FROM T WHERE -db - db < 1", overflow},
        {"DELETE FROM T WHERE db / 0.1 > 1", overflow},
        {"DELETE FROM T WHERE 1 < db * 2 * 3 - 4", overflow},
        {"UPDATE T SET n = 1 WHERE IIf(db * 10 > 1, True, False)", overflow},
        {"SELECT id FROM T WHERE db * 10 BETWEEN 1 AND 2", overflow},
        {"SELECT id FROM T WHERE db * 10 IN (1, 2)", overflow},
        {"SELECT T.id FROM T INNER JOIN T AS U ON T.id = U.db * 10", overflow},
        {"SELECT id FROM T GROUP BY id HAVING Sum(db) * 10 > 1", overflow},
        {"SELECT db * 10 FROM T", overflow},
        {"SELECT count(*) FROM T", "2"},
        {"SELECT id, db * 10, db + db, db / 0.5 FROM T WHERE id = 2", "2|20|4|4"},
    };
    EXPECT_CASES(cases);
    std::string text;
    EXPECT_EQ(error_of("DELETE FROM T WHERE db * 10 > 1", &text), 0x80040E07u);
    EXPECT_EQ(text, "Overflow.");
}

// A number that is no value of its type (a date past the ends of the range, a Single
// past its range, infinity, no number at all) fails alike whichever way it is computed
// and wherever it stands: Null where it is stored, whatever the column, and the
// statement fails with 0x80040E07 in a criteria and in a select list.
TEST_F(StoredValues, NumbersWithoutAValueOfTheirTypeFailAlike) {
    run_all({"CREATE TABLE T (id long, d datetime, f single, x double, s text(30), y double)",
             "CREATE TABLE S (y double)", "CREATE TABLE A (id long, y double)",
             "INSERT INTO A VALUES (1, 0)",
             "INSERT INTO T VALUES (1, #9999-12-31#, 3E38, 1E308, '', 0)",
             "INSERT INTO T VALUES (2, #0100-01-01 12:00#, 1, 1E308, '', 0)",
             "INSERT INTO T VALUES (3, #2000-01-01#, 2, -1E308, '', 0)"});
    const std::string fails = "error 80040E07";
    const Case cases[] = {
        {"UPDATE T SET s = d + 1, y = d + 1 WHERE id = 1", "ok 1"},
        {"UPDATE T SET s = CStr(d - 1), y = (d - 1) - d WHERE id > 1", "ok 2"},
        {"SELECT id, s, y FROM T", "1|Null|Null;2|Null|Null;3|1999-12-31|-1"},
        {"UPDATE T SET y = CDbl(f * f), s = (-8) ^ (1 / 3)", "ok 3"},
        {"SELECT id, s, y FROM T", "1|Null|Null;2|Null|1;3|Null|4"},
        {"SELECT f * f AS v INTO U FROM T WHERE id = 1", "ok 1"},
        {"INSERT INTO S (y) SELECT f * f FROM T WHERE id = 1", "ok 1"},
        {"INSERT INTO S (y) SELECT Avg(x) FROM T WHERE id < 3", "ok 1"},
        {"UPDATE A INNER JOIN T ON T.id >= A.id SET A.y = A.y + T.f * T.f", "ok 3"},
        {"SELECT y FROM A", "Null"},
        {"SELECT v FROM U", "Null"},
        {"SELECT y FROM S", "Null;Null"},
        {"SELECT CStr(d + 1) FROM T WHERE id = 1", fails},
        {"SELECT (d + 1) & '' FROM T WHERE id = 1", fails},
        {"SELECT Format(d + 1) FROM T WHERE id = 1", fails},
        {"SELECT d + 1 FROM T WHERE id = 1", fails},
        {"SELECT (d - 1) & '' FROM T WHERE id = 2", fails},
        {"SELECT f * f FROM T WHERE id = 1", fails},
        {"SELECT f + f FROM T WHERE id = 1", fails},
        {"SELECT Max(f * f) FROM T", fails},
        {"SELECT Avg(x) FROM T WHERE id < 3", fails},
        {"SELECT (-8) ^ (1 / 3) FROM T", fails},
        {"DELETE FROM T WHERE d + 1 > #2000-01-01#", fails},
        {"DELETE FROM T WHERE d + 100000 - 100000 > #2000-01-01#", fails},
        {"SELECT id FROM T WHERE f * f > 1", fails},
        {"SELECT x FROM T GROUP BY x HAVING Avg(x) > 1E307", fails},
        {"SELECT x FROM T GROUP BY x ORDER BY Avg(x)", fails},
        {"DELETE FROM T WHERE x ^ 0.5 IS NULL", fails},
        {"SELECT id, d + 1, (d - 1) & '', f * f, f + f FROM T WHERE id = 3",
         "3|2000-01-02|1999-12-31|4|4"},
    };
    EXPECT_CASES(cases);
}

// Currency is a number of ten-thousandths kept as the Double nearest to it: exact
// wherever a Double holds the digits, every whole value to the range's ends included,
// from a number, a text or CCur; past that the nearest value within the range, so that
// every value stored reads back.
TEST_F(StoredValues, CurrencyExactToTheEndsOfItsRange) {
    run_all({"CREATE TABLE K (id long, c money, s text(30))", "CREATE TABLE J (id long, x double)",
             "INSERT INTO K (id, s) VALUES (5, '-922337203685477,5808')",
             "INSERT INTO J VALUES (1, 3000)", "INSERT INTO J VALUES (2, 3)"});
    const Case cases[] = {
        {"INSERT INTO K (id, c) VALUES (1, 922337203685477)", "ok 1"},
        {"INSERT INTO K (id, c) VALUES (2, 123456789012345)", "ok 1"},
        {"INSERT INTO K (id, c) VALUES (3, '922337203685477,58')", "ok 1"},
        {"INSERT INTO K (id, c) VALUES (4, 922337203685477.5807)", "ok 1"},
        {"INSERT INTO K (id, c) VALUES (6, '922337203685477,5808')", "ok 1"},
        {"UPDATE K SET c = s WHERE id = 5", "ok 1"},
        {"SELECT id, c FROM K",
         "5|-922337203685477.5;1|922337203685477;2|123456789012345;3|922337203685477.5;"
         "4|922337203685477.5;6|Null"},
        {"SELECT CCur(900000000000001), CCur(12345678.12345), CCur('922337203685477,58') "
         "FROM K WHERE id = 1",
         "900000000000001|12345678.1234|922337203685477.5"},
        {"SELECT Sum(c) FROM K WHERE id IN (3, 5)", "0"},
        {"SELECT Sum(c) FROM K WHERE id < 3", "error 80040E07"},
        // Accumulated over a join past the range: Null.
        {"UPDATE K INNER JOIN J ON K.id = J.id SET K.c = K.c + J.x / 3", "ok 2"},
        {"SELECT id, c FROM K WHERE id < 3", "1|Null;2|123456789012346"},
    };
    EXPECT_CASES(cases);
}

// IIf and Nz that choose a date over a text give the date in its own type: stored into
// a number column it is its serial, into a text column its date text, and a conversion
// takes it as a date; a query reads and compares it as its date text.
TEST_F(StoredValues, IIfAndNzChooseADateOverAText) {
    run_all({"CREATE TABLE T (id long, n long, db double, c money, s text(30), d datetime)",
             "INSERT INTO T (id, d) VALUES (1, #2001-02-03#)", "INSERT INTO T (id) VALUES (2)",
             "CREATE TABLE U (id long, n long, db double, c money, s text(30))"});
    const Case cases[] = {
        {"UPDATE T SET n = IIf(True, #2001-02-03#, 'q'), db = Nz(Null, #2001-02-03#), "
         "c = IIf(id = 1, #2001-02-03#, 'q')",
         "ok 2"},
        {"SELECT id, n, db, c FROM T", "1|36925|36925|36925;2|36925|36925|Null"},
        {"UPDATE T SET n = Nz(Null, #2001-02-03#), db = IIf(id = 1, d, 'q'), c = Nz(Null, d), "
         "s = IIf(id = 1, d, 'q')",
         "ok 2"},
        {"SELECT id, n, db, c, s FROM T", "1|36925|36925|36925|2001-02-03;2|36925|Null|Null|q"},
        {"INSERT INTO U (id, n, db, c, s) SELECT id, IIf(id = 1, d, 'q'), Nz(d, 'q'), "
         "Nz(Null, d), IIf(id = 1, d, 'q') FROM T ORDER BY id DESC",
         "ok 2"},
        {"SELECT id, n, db, c, s FROM U", "2|Null|Null|Null|q;1|36925|36925|36925|2001-02-03"},
        {"SELECT id, IIf(id = 1, d, 'q') AS s, Nz(Null, d) AS e INTO V FROM T", "ok 2"},
        {"SELECT id, s, e FROM V", "1|2001-02-03|2001-02-03;2|q|Null"},
        {"SELECT IIf(id = 1, d, 'q'), Nz(Null, d) & '', CLng(IIf(id = 1, d, 'q')), "
         "Year(Nz(Null, d)) FROM T WHERE id = 1",
         "2001-02-03|2001-02-03|36925|2001"},
        {"SELECT id FROM T WHERE IIf(id = 1, d, 'q') = '2001-02-03' OR IIf(id = 1, d, 'q') = 'q' "
         "ORDER BY IIf(id = 1, d, 'q') DESC",
         "2;1"},
        {"SELECT IIf(id = 1, d, 'q') + 'x' FROM T", "2001-02-03x;qx"},
    };
    EXPECT_CASES(cases);
}

// IIf and Nz whose values' types differ compute their condition (Nz its first value)
// once per row, also where the value's type, chosen row by row, is needed: stored into
// a text column, turned into text, formatted, stored through a query.
TEST_F(StoredValues, IIfAndNzComputeTheirConditionOnce) {
    run_all({"CREATE TABLE T (id long, n long, d datetime, s text(30), m memo)",
             "INSERT INTO T (id, n, d) VALUES (1, 4321, #2001-02-03#)",
             "INSERT INTO T (id, n) VALUES (2, 7)", "CREATE TABLE U (id long, s text(30))"});
    // The SQLite statements run, as SQLite's trace gives them.
    std::vector<std::string> statements;
    auto trace = [](unsigned, void* out, void* st, void*) {
        static_cast<std::vector<std::string>*>(out)->push_back(
            sqlite3_sql(static_cast<sqlite3_stmt*>(st)));
        return 0;
    };
    sqlite3* handle = db->session().handle();
    sqlite3_trace_v2(handle, SQLITE_TRACE_STMT, trace, &statements);
    struct Row {
        const char* sql;
        const char* marker;  // a constant of the condition, written once
        const char* query;
        const char* rows;
    } rows_[] = {
        {"UPDATE T SET s = IIf(n = 4321, d, 1.5)", "4321", "SELECT s FROM T", "2001-02-03;1,5"},
        {"UPDATE T SET s = Nz(IIf(id + 4500 = 4501, Null, n), d)", "4500", "SELECT s FROM T",
         "2001-02-03;7"},
        {"UPDATE T SET m = IIf(id + 4600 = 4601, d, n) & '/'", "4600", "SELECT m FROM T",
         "2001-02-03/;7/"},
        {"UPDATE T SET m = Format(Nz(IIf(id + 4700 = 4701, Null, n), d), 'yyyy')", "4700",
         "SELECT m FROM T", "2001;1900"},
        {"INSERT INTO U (id, s) SELECT id, IIf(id + 4800 = 4801, d, 2.5) FROM T ORDER BY id DESC",
         "4800", "SELECT id, s FROM U", "2|2,5;1|2001-02-03"},
    };
    for (const auto& r : rows_) {
        statements.clear();
        EXPECT_EQ(outcome(r.sql), "ok 2") << r.sql;
        size_t seen = 0;
        for (const auto& sql : statements)
            for (size_t at = sql.find(r.marker); at != std::string::npos;
                 at = sql.find(r.marker, at + 1))
                ++seen;
        EXPECT_EQ(seen, 1u) << r.sql;
        EXPECT_EQ(rows(r.query), r.rows) << r.sql;
    }
    sqlite3_trace_v2(handle, 0, nullptr, nullptr);
}

// "DEFAULT =x" in a column definition is DEFAULT x; of two DEFAULT clauses the last
// one counts. Round in a statement halves to even.
TEST_F(StoredValues, DefaultsAsWrittenAndRoundHalvesToEven) {
    run_all(
        {"CREATE TABLE D (id long, a long DEFAULT =5, b text(10) DEFAULT 'x' DEFAULT 'y', "
         "c double DEFAULT = 1.5, e long DEFAULT 1 DEFAULT =2)",
         "ALTER TABLE D ADD COLUMN f bit DEFAULT =-1",
         "ALTER TABLE D ADD COLUMN g single DEFAULT 0 DEFAULT =1"});
    const Case cases[] = {
        {"INSERT INTO D (id) VALUES (1)", "ok 1"},
        {"SELECT a, b, c, e, f, g FROM D", "5|y|1.5|2|-1|1"},
        {"SELECT Round(2.345, 2), Round(2.355, 2), Round(0.125, 2), Round(-0.125, 2), "
         "Round(2.5, 0), Round(3.5), Round(-2.5), Round(1.005, 2) FROM D",
         "2.34|2.36|0.12|-0.12|2|4|-2|1"},
        {"UPDATE D SET c = Round(a / 8, 2)", "ok 1"},
        {"SELECT c FROM D", "0.62"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
