// Chains of one operator as long as the statement, and nesting: deeper than the engine
// takes is a failure of the statement (0x80040E14), never a crash.
#include <string>

#include "query_util.h"

namespace query_test {
namespace {

using Chains = QueryTest;

// n operands joined by op: "x op x op ... op x".
std::string chain(const std::string& x, const std::string& op, int n) {
    std::string s = x;
    for (int i = 1; i < n; ++i) s += op + x;
    return s;
}

// "open" n times, then x, then "close" n times.
std::string nest(const std::string& open, const std::string& x, const std::string& close, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += open;
    s += x;
    for (int i = 0; i < n; ++i) s += close;
    return s;
}

// A chain of one operator may be as long as the statement: each class of operator of
// 3,000 operands gives its value.
TEST_F(Chains, LongChainsOfOneOperator) {
    run_all(
        {"CREATE TABLE T (l long, d double, m money, f double, t text(10), n text(10), u text(10))",
         "INSERT INTO T (l, d, m, f, t, u) VALUES (1, 0.5, 0.0001, 1.00005, 'ab', '1,5')"});
    const Case cases[] = {
        {"SELECT " + chain("[l]", "+", 3000) + " FROM T", "3000"},
        {"SELECT " + chain("[l]", " - ", 3000) + " FROM T", "-2998"},
        {"SELECT " + chain("[d]", "*", 300) + " > 0 FROM T", "-1"},
        {"SELECT " + chain("[d]", "+", 3000) + " FROM T", "1500"},
        {"SELECT " + chain("[m]", "+", 3000) + " FROM T", "0.3"},
        {"SELECT [m]*10000" + chain("", "-[m]", 301) + " FROM T", "0.97"},
        {"SELECT " + chain("[t]", "&", 3000) + " = '" + chain("ab", "", 3000) + "' FROM T", "-1"},
        {"SELECT " + chain("[n]", " & ", 3000) + " FROM T", "Null"},
        {"SELECT len([n]&" + chain("[t]", "&[n]&", 1500) + ") FROM T", "3000"},
        {"SELECT len(" + chain("[t]", "+", 3000) + ") FROM T", "6000"},
        {"SELECT " + chain("[t]", "+", 2999) + "+[n] FROM T", "Null"},
        // Text meeting a number: jet_add steps.
        {"SELECT " + chain("[u]+[l]", "+", 150) + " FROM T", "375"},
        {"SELECT " + chain("[u]+[l]", "+", 100) + "+[n]" + chain("", "+[u]+[l]", 50) + " FROM T",
         "Null"},
        {"SELECT " + chain("[u]+[l]", "+", 100) + "+[t]" + chain("", "+[u]+[l]", 50) + " FROM T",
         "error 80040E07"},
        {"SELECT l FROM T WHERE " + chain("[l]=1", " AND ", 3000), "1"},
        {"SELECT l FROM T WHERE " + chain("[l]=2", " OR ", 2999) + " OR [d]=0.5", "1"},
        {"SELECT (" + chain("[l]=1", " and ", 3000) + ") FROM T", "-1"},
        {"SELECT l FROM T WHERE " + chain("[l]=1", " AND ", 2999) + " AND [l]=2", ""},
        {"UPDATE T SET m = " + chain("[m]", "+", 3000), "ok 1"},
        {"SELECT m FROM T", "0.3"},
        {"UPDATE T SET d = " + chain("[l]", "-", 3000), "ok 1"},
        {"SELECT d FROM T", "-2998"},
    };
    EXPECT_CASES(cases);
}

// A chain of money steps rounds after every step, as Jet does, however long it is.
TEST_F(Chains, MoneyChainRoundsEachStep) {
    run_all({"CREATE TABLE T (m money, f double, s money, x money)",
             "INSERT INTO T (m, f) VALUES (1.2345, 1.25)",
             "INSERT INTO T (m, f) VALUES (0.0003, 1.25)",
             "INSERT INTO T (m, f) VALUES (Null, 1.25)"});
    // Stored step by step: each store rounds to 4 decimals, halves to even.
    run("UPDATE T SET s = m");
    for (int i = 0; i < 150; ++i)
        run(i % 2 ? "UPDATE T SET s = s * f" : "UPDATE T SET s = s + m * f");
    std::string e = "[m]";
    for (int i = 0; i < 150; ++i) e = i % 2 ? "(" + e + ") * [f]" : e + " + [m] * [f]";
    run("UPDATE T SET x = " + e);
    EXPECT_EQ(rows("SELECT count(*) FROM T WHERE x = s"), "2");
    EXPECT_EQ(rows("SELECT x FROM T WHERE m Is Null"), "Null");
    // Past the range of money: the failure of a single step.
    const std::string overflow = outcome("SELECT [m]*1e14*1e5 FROM T");
    EXPECT_EQ(overflow.substr(0, 6), "error ");
    EXPECT_EQ(outcome("SELECT [m]*1e14*1e5" + chain("", "+[m]", 120) + " FROM T"), overflow);
}

// Nesting within reason runs; past the engine's limit (and past what SQLite's own
// parser takes) it fails as too complex, whatever the kind of nesting.
TEST_F(Chains, DeepNestingFailsAsTooComplex) {
    run_all({"CREATE TABLE T (l long, t text(10))", "INSERT INTO T (l, t) VALUES (1, 'ab')"});
    const Case within[] = {
        {"SELECT " + nest("(", "[l]", ")", 150) + " FROM T", "1"},
        {"SELECT " + nest("1+(", "[l]", ")", 10) + " FROM T", "11"},
        {"SELECT " + nest("Abs(", "[l]", ")", 10) + " FROM T", "1"},
        {"SELECT " + nest("Trim(", "[t]", ")", 10) + " FROM T", "ab"},
        {"SELECT " + nest("- ", "[l]", "", 10) + " FROM T", "1"},
        {"SELECT l FROM T WHERE " + nest("NOT ", "[l]=2", "", 9), "1"},
        {"SELECT l FROM T WHERE " + nest("(", "[l]=1", " AND [l]=1)", 10), "1"},
    };
    EXPECT_CASES(within);
    std::string joins = "SELECT count(*) FROM T";
    for (int i = 0; i < 300; ++i) joins += " INNER JOIN T AS t" + std::to_string(i) + " ON 1=1";
    const std::string too_deep[] = {
        "SELECT " + nest("(", "[l]", ")", 100000) + " FROM T",
        "SELECT " + nest("- ", "[l]", "", 100000) + " FROM T",
        "SELECT l FROM T WHERE " + nest("NOT ", "[l]=1", "", 100000),
        "SELECT " + nest("1+(", "[l]", ")", 300) + " FROM T",
        "SELECT " + nest("1+(", "[l]", ")", 60) + " FROM T",
        "SELECT " + nest("Abs(", "[l]", ")", 300) + " FROM T",
        "SELECT " + nest("Abs(", "[l]", ")", 60) + " FROM T",
        "UPDATE T SET l = " + nest("Abs(", "[l]", ")", 60),
        "SELECT l FROM T WHERE " + nest("(", "[l]=1", " AND [l]=1)", 300),
        "SELECT * FROM " + nest("(", "T", ")", 100000),
        joins,
        // Chains too long for SQLite to take, in any form.
        "SELECT " + chain("[l]", "+", 100000) + " FROM T",
        "SELECT " + chain("[l]", "*", 100000) + " FROM T",
        "SELECT " + chain("[t]", "&", 100000) + " FROM T",
        "SELECT " + chain("[t]+[l]", "+", 50000) + " FROM T",
        "SELECT l FROM T WHERE " + chain("[l]=1", " AND ", 100000),
    };
    for (const auto& sql : too_deep) {
        std::string text;
        EXPECT_EQ(error_of(sql, &text), jet::hr::Syntax) << sql.substr(0, 80);
        EXPECT_EQ(text, "Query is too complex.") << sql.substr(0, 80);
    }
    EXPECT_EQ(rows("SELECT l FROM T"), "1");
}

}  // namespace
}  // namespace query_test
