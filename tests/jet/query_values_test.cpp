// Values in statements: Null rules, Yes/No, defaults, exact money, text length,
// conversions and mismatches, dates, counters, and what a query's rows are typed as.
#include "query_util.h"

namespace query_test {
namespace {

using Rules = QueryTest;

TEST_F(Rules, NullRules) {
    run_all({"CREATE TABLE N (id long, a long, t text(10), u text(10))",
             "INSERT INTO N VALUES (1, 5, 'x', Null)", "INSERT INTO N VALUES (2, Null, Null, Null)",
             "INSERT INTO N VALUES (3, 7, 'y', 'z')"});
    const Case cases[] = {
        {"SELECT a + 1, a * 2, a - Null FROM N WHERE id = 1", "6|10|Null"},
        {"SELECT a + 1 FROM N WHERE id = 2", "Null"},
        {"SELECT t + u, t & u, u & u FROM N WHERE id = 1", "Null|x|Null"},
        {"SELECT t + u, t & u FROM N WHERE id = 3", "yz|yz"},
        {"SELECT id FROM N WHERE a = Null", ""},
        {"SELECT id FROM N WHERE NOT (a = 5)", "3"},
        {"SELECT Sum(a) FROM N WHERE id > 10", "Null"},
        {"SELECT Count(a), Count(*), Sum(a) FROM N", "2|3|12"},
        {"SELECT id FROM N ORDER BY a", "2;1;3"},
        {"SELECT id FROM N ORDER BY a DESC", "3;1;2"},
        {"SELECT IIf(a > 5, 'big', 'small') FROM N", "small;small;big"},
        {"SELECT Nz(a, 0) FROM N WHERE id = 2", "0"},
        {"SELECT a / 2 FROM N WHERE id = 1", "2.5"},
        {"SELECT a / 0 FROM N WHERE id = 1", "error 80040E07"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, YesNoHoldsMinusOneAndZero) {
    run_all({"CREATE TABLE B (id long, f bit, g yesno)"});
    const Case cases[] = {
        {"INSERT INTO B VALUES (1, True, False)", "ok 1"},
        {"INSERT INTO B VALUES (2, 5, 0)", "ok 1"},
        {"INSERT INTO B (id) VALUES (3)", "ok 1"},
        {"SELECT f, g FROM B", "-1|0;-1|0;Null|Null"},
        {"SELECT id FROM B WHERE f = True", "1;2"},
        {"SELECT id FROM B WHERE f", "1;2"},
        {"SELECT id FROM B WHERE NOT g", "1;2"},
        {"SELECT id = 1, id > 5 FROM B WHERE id = 1", "-1|0"},
        {"UPDATE B SET g = id > 1", "ok 3"},
        {"SELECT g FROM B", "0;-1;-1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, DefaultsApplyToLaterInsertsOnly) {
    run_all({"CREATE TABLE D (id long, t text(10) DEFAULT 'abc', n long DEFAULT =0)",
             "INSERT INTO D (id) VALUES (1)", "INSERT INTO D (id, t) VALUES (2, Null)"});
    const Case cases[] = {
        {"SELECT id, t, n FROM D", "1|abc|0;2|Null|0"},
        {"ALTER TABLE D ADD COLUMN k money DEFAULT 5", "ok 0"},
        {"ALTER TABLE D ADD COLUMN m long", "ok 0"},
        {"SELECT k, m FROM D", "Null|Null;Null|Null"},
        {"INSERT INTO D (id) VALUES (3)", "ok 1"},
        {"INSERT INTO D (id) SELECT id + 10 FROM D WHERE id = 1", "ok 1"},
        {"SELECT id, k, m FROM D WHERE id >= 3", "3|5|Null;11|5|Null"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, MoneyIsExact) {
    run_all({"CREATE TABLE M (id long, a money, b money, d double)",
             "INSERT INTO M VALUES (1, 0.1, 0.2, 0.1)", "INSERT INTO M VALUES (2, 1.00005, 1.00015, 0)",
             "CREATE TABLE Grosze (g currency)", "INSERT INTO Grosze VALUES (0.01)"});
    for (int i = 0; i < 17; ++i) run("INSERT INTO Grosze SELECT g FROM Grosze");
    const Case cases[] = {
        {"SELECT a + b FROM M WHERE id = 1", "0.3"},
        {"SELECT id FROM M WHERE a + b = 0.3", "1"},
        {"SELECT a, b FROM M WHERE id = 2", "1|1.0002"},
        {"SELECT a * 3 - b FROM M WHERE id = 1", "0.1"},
        {"SELECT Count(*), Sum(g) FROM Grosze", "131072|1310.72"},
        {"SELECT Sum(a) FROM M", "1.1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, TextLengthIsEnforcedAndNothingChanges) {
    run_all({"CREATE TABLE L (id long, t text(5))", "INSERT INTO L VALUES (1, 'abcde')",
             "INSERT INTO L VALUES (2, 'ab')", "CREATE TABLE Src (s text(20))",
             "INSERT INTO Src VALUES ('ok')", "INSERT INTO Src VALUES ('much too long')"});
    const Case cases[] = {
        {"INSERT INTO L VALUES (3, 'abcdef')", "error 80040E57"},
        {"UPDATE L SET t = t & 'x'", "error 80040E57"},
        {"INSERT INTO L (t) SELECT s FROM Src", "error 80040E57"},
        {"SELECT id, t FROM L", "1|abcde;2|ab"},
        {"INSERT INTO L VALUES (4, 'żółćę')", "ok 1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, ConversionsAndMismatches) {
    run_all({"CREATE TABLE C (id long, t text(20), n long, d date, i integer, y byte)"});
    const Case cases[] = {
        {"INSERT INTO C (id, t, n) VALUES (1, 42, '17')", "ok 1"},
        {"INSERT INTO C (id, d) VALUES (2, '20-02-2001')", "ok 1"},
        // A value that cannot be stored in its column is stored as Null.
        {"INSERT INTO C (id, n) VALUES (3, 'abc')", "ok 1"},
        {"INSERT INTO C (id, y) VALUES (4, 300)", "ok 1"},
        {"INSERT INTO C (id, y) SELECT id + 100, n * 20 FROM C WHERE id = 1", "ok 1"},
        {"SELECT id, n, y FROM C WHERE id IN (3, 4, 101)", "3|Null|Null;4|Null|Null;101|Null|Null"},
        {"INSERT INTO C (id, n) VALUES (5, 2.5)", "ok 1"},
        {"INSERT INTO C (id, t) VALUES (6, -1.5)", "ok 1"},
        {"SELECT t FROM C WHERE id = 6", "-1,5"},
        {"SELECT t, n FROM C WHERE id = 1", "42|17"},
        {"SELECT d FROM C WHERE id = 2", "2001-02-20"},
        {"SELECT n FROM C WHERE id = 5", "2"},
        {"SELECT id FROM C WHERE t = 42", "error 80040E07"},
        {"SELECT id FROM C WHERE d = 'x'", "error 80040E07"},
        {"SELECT t & n FROM C WHERE id = 1", "4217"},
        {"INSERT INTO C (id, y, n) VALUES (7, 10, Null)", "ok 1"},
        {"UPDATE C SET y = y + 245, n = n + 1 WHERE id = 7", "ok 1"},
        {"SELECT y, n FROM C WHERE id = 7", "255|Null"},
        {"UPDATE C SET y = y + 1 WHERE id = 7", "ok 1"},
        {"INSERT INTO C (id, y) VALUES (8, 10)", "ok 1"},
        {"UPDATE C SET y = 9 - y WHERE id = 8", "ok 1"},
        {"SELECT id, y FROM C WHERE id IN (7, 8)", "7|Null;8|Null"},
        {"UPDATE C SET n = n + 2147483647 WHERE id = 5", "ok 1"},
        {"SELECT n FROM C WHERE id = 5", "Null"},
        {"UPDATE C SET n = 2147483647 - n WHERE id = 1", "ok 1"},
        {"SELECT t + 1 FROM C WHERE id = 1", "43"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, KeysAndRequiredFieldsRefuseNulls) {
    run_all({"CREATE TABLE R (id long not null, k long, t text(5))", "CREATE UNIQUE INDEX pk ON R (k) WITH PRIMARY",
             "INSERT INTO R VALUES (1, 1, 'a')", "CREATE TABLE S (a long, b long)", "INSERT INTO S VALUES (2, Null)",
             "INSERT INTO S VALUES (Null, 3)"});
    std::string text;
    EXPECT_EQ(error_of("INSERT INTO R (id, k) VALUES (2, Null)", &text), 0x80004005u);
    EXPECT_NE(text.find("cannot contain a Null value"), std::string::npos) << text;
    const Case cases[] = {
        {"INSERT INTO R (k) VALUES (2)", "error 80004005"},
        {"INSERT INTO R (id, k) SELECT a, b FROM S", "error 80004005"},
        {"INSERT INTO R (id, k) SELECT b, a FROM S", "error 80004005"},
        {"INSERT INTO R (id, k) SELECT a, a FROM S WHERE a IS NOT NULL", "ok 1"},
        {"INSERT INTO R (id, k) VALUES (3, 1)", "error 80004005"},
        {"UPDATE R SET k = Null WHERE id = 1", "error 80004005"},
        {"UPDATE R SET id = id + 1", "ok 2"},
        {"SELECT id, k FROM R", "2|1;3|2"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, DatesAreSerials) {
    run_all({"CREATE TABLE T (id long, d datetime)", "INSERT INTO T VALUES (1, #02-20-2001#)",
             "INSERT INTO T VALUES (2, #20-02-2001 10:30:00#)", "INSERT INTO T VALUES (3, #12 31 1899#)"});
    const Case cases[] = {
        {"SELECT d FROM T", "2001-02-20;2001-02-20 10:30:00;1899-12-31"},
        {"SELECT CDbl(d) FROM T WHERE id = 1", "36942"},
        {"SELECT id FROM T WHERE d = #02 20 2001#", "1"},
        {"SELECT id FROM T WHERE d > #02-20-2001#", "2"},
        {"SELECT Year(d), Format(d, 'dd-MM-yyyy') FROM T WHERE id = 2", "2001|20-02-2001"},
        {"SELECT d + 1 FROM T WHERE id = 3", "1900-01-01"},
    };
    EXPECT_CASES(cases);
}

// A date before 30 December 1899 with a time counts its days back and its time
// forward: 29 December 1899, 06:00 is -1.25, wherever the date comes from.
TEST_F(Rules, DatesBeforeTheFirstDayCountTheirTimeForward) {
    run_all({"CREATE TABLE T (id long, d datetime, s text(30))",
             "INSERT INTO T VALUES (1, #1899-12-29 06:00:00#, '29.12.1899 06:00')",
             "INSERT INTO T VALUES (2, #12/28/1899 6:30 PM#, '1899-12-28 18:30:00')",
             "INSERT INTO T VALUES (3, CDate('28-12-1899 18:30'), '')",
             "INSERT INTO T (id, d) SELECT 4, s FROM T WHERE id = 1"});
    const Case cases[] = {
        {"SELECT id, d, CDbl(d) FROM T",
         "1|1899-12-29 06:00:00|-1.25;2|1899-12-28 18:30:00|-2.77083333333333;"
         "3|1899-12-28 18:30:00|-2.77083333333333;4|1899-12-29 06:00:00|-1.25"},
        {"SELECT id FROM T WHERE d = CDate(-1.25) AND d = CDate('29-12-1899 06:00:00')", "1;4"},
        {"SELECT CDbl(CDate(s)) FROM T WHERE id = 2", "-2.77083333333333"},
        {"SELECT Day(d), Format(d, 'ddd dd.mm.yyyy hh:nn y'), CStr(d) FROM T WHERE id > 2",
         "28|Cz 28.12.1899 18:30 362|1899-12-28 18:30:00;29|Pt 29.12.1899 06:00 363|1899-12-29 "
         "06:00:00"},
        {"SELECT CDbl(#1899-12-30 06:00:00#), CDbl(#06:00:00#), CDbl(#1899-12-31 18:00#) FROM T "
         "WHERE id = 1",
         "0.25|0.25|1.75"},
        // The first day of the range with a time: the literal, its number, CDate of the
        // number and of its text agree, and it is stored.
        {"SELECT #0100-01-01 12:00#, CDbl(#0100-01-01 12:00#), CDate(CDbl(#0100-01-01 12:00#)), "
         "CDate(-657434.5) = #0100-01-01 12:00#, Year(CDate('0100-01-01 12:00')), "
         "CStr(#0100-01-01 12:00#) FROM T WHERE id = 1",
         "0100-01-01 12:00:00|-657434.5|0100-01-01 12:00:00|-1|100|0100-01-01 12:00:00"},
        {"SELECT CDate(-657435) FROM T WHERE id = 1", "error 80040E07"},
        {"UPDATE T SET d = CDate(-657434.5) WHERE id = 3", "ok 1"},
        {"SELECT d, Day(d) FROM T WHERE id = 3", "0100-01-01 12:00:00|1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, CountersAreNumberedByTheEngine) {
    run_all({"CREATE TABLE K (id counter, n text(10))", "CREATE TABLE Src (s text(10))",
             "INSERT INTO Src VALUES ('x')", "INSERT INTO Src VALUES ('y')"});
    const Case cases[] = {
        {"INSERT INTO K (n) VALUES ('a')", "ok 1"},
        {"INSERT INTO K (n) VALUES ('b')", "ok 1"},
        {"INSERT INTO K (id, n) VALUES (10, 'c')", "ok 1"},
        {"INSERT INTO K (n) SELECT s FROM Src", "ok 2"},
        {"SELECT id, n FROM K", "1|a;2|b;10|c;11|x;12|y"},
        {"DELETE FROM K WHERE id > 2", "ok 3"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Rules, RowsAreTypedByTheirColumns) {
    run_all({"CREATE TABLE V (id counter, m money, d date, b bit, s single, t text(7), x double)",
             "INSERT INTO V (m, d, b, s, t, x) VALUES (2, #01-02-2003#, 1, 0.1, 'abc', 3)"});
    auto c = db->query("SELECT id AS Nr, m, d, b, s, t, x, m * 2, m / 2, t & 'x' FROM V AS w");
    using K = jet::Value::Kind;
    const K kinds[] = {K::Long, K::Currency, K::Date,     K::Boolean,  K::Single,
                       K::Text, K::Double,   K::Currency, K::Double,   K::Text};
    ASSERT_TRUE(c->next());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(c->value(i).kind(), kinds[i]) << i;
    EXPECT_EQ(show(c->value(4)), show(jet::Value::single(0.1f)));
    EXPECT_FALSE(c->next());
    const auto& cols = c->columns();
    ASSERT_EQ(cols.size(), 10u);
    EXPECT_EQ(cols[0].name, "Nr");
    EXPECT_TRUE(cols[0].counter);
    EXPECT_EQ(cols[0].base_table, "V");
    EXPECT_EQ(cols[0].base_column, "id");
    EXPECT_EQ(cols[0].table_alias, "w");
    EXPECT_EQ(cols[5].size, 7);
    EXPECT_EQ(cols[7].name, "Expr1000");
    EXPECT_EQ(cols[7].base_table, "");

    auto early = db->query("SELECT t FROM V");
    EXPECT_THROW(early->value(0), jet::Error);

    auto r = db->query("SELECT t FROM V", jet::QueryOptions{true});
    ASSERT_EQ(r->columns().size(), 2u);
    EXPECT_TRUE(r->columns()[1].row_id);
    ASSERT_TRUE(r->next());
    EXPECT_EQ(show(r->value(1)), "1");
}

// Sum keeps its exact running total in the aggregate's context, which SQLite aligns
// to 8 bytes only: many groups at once, of money, whole and other numbers.
TEST_F(Rules, SumOverManyGroups) {
    run("CREATE TABLE S (g long, m money, n long, d double)");
    for (int i = 0; i < 300; ++i)
        run("INSERT INTO S (g, m, n, d) VALUES (" + std::to_string(i % 7) + ", 0.1, " +
            std::to_string(i) + ", 0.5)");
    const Case cases[] = {
        {"SELECT Sum(m), Sum(n), Sum(d) FROM S", "30|44850|150"},
        {"SELECT g, Sum(m), Sum(n) FROM S WHERE g < 2 GROUP BY g ORDER BY g",
         "0|4.3|6321;1|4.3|6364"},
        {"SELECT Sum(m) FROM S WHERE g > 7", "Null"},
    };
    EXPECT_CASES(cases);
}

// A unique index is judged on the UPDATE's result, as Jet judges it: new values that
// meet other rows' old values pass; duplicates in the result fail and change nothing.
TEST_F(Rules, UpdateOfAUniqueColumnIsJudgedOnTheResult) {
    run_all({"CREATE TABLE N (Id counter, nr long, kod TEXT(5), x long)",
             "CREATE UNIQUE INDEX unr ON N (nr)", "CREATE UNIQUE INDEX ukod ON N (kod, x)",
             "INSERT INTO N (nr, kod, x) VALUES (1, 'a', 0)",
             "INSERT INTO N (nr, kod, x) VALUES (2, 'b', 0)",
             "INSERT INTO N (nr, kod, x) VALUES (3, 'c', 0)"});
    const std::string all = "SELECT Id, nr, kod, x FROM N ORDER BY Id";
    const Case cases[] = {
        {"UPDATE N SET nr = nr + 1", "ok 3"},
        {all, "1|2|a|0;2|3|b|0;3|4|c|0"},
        {"UPDATE N SET nr = 5 - nr WHERE nr < 4", "ok 2"},
        {all, "1|3|a|0;2|2|b|0;3|4|c|0"},
        // A text key swapped between rows, case-insensitively equal to the old ones.
        {"UPDATE N SET kod = IIf(kod = 'a', 'B', 'A') WHERE kod IN ('a', 'b')", "ok 2"},
        {all, "1|3|B|0;2|2|A|0;3|4|c|0"},
        // Duplicates in the result: refused, nothing changed.
        {"UPDATE N SET nr = nr + 1 WHERE nr < 4", "error 80004005"},
        {"UPDATE N SET nr = 7", "error 80004005"},
        {"UPDATE N SET kod = 'c' WHERE Id = 1", "error 80004005"},
        {all, "1|3|B|0;2|2|A|0;3|4|c|0"},
        // Another column of a unique index keeps the pair unique.
        {"UPDATE N SET kod = 'c', x = Id WHERE Id = 1", "ok 1"},
        {all, "1|3|c|1;2|2|A|0;3|4|c|0"},
        // The counter numbers on from the rows kept.
        {"INSERT INTO N (nr, kod, x) VALUES (9, 'z', 0)", "ok 1"},
        {"SELECT Id FROM N WHERE nr = 9", "4"},
    };
    EXPECT_CASES(cases);
}

}  // namespace
}  // namespace query_test
