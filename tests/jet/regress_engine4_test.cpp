// Faults found in the conversion runs: long operator chains, division by zero in the
// values an INSERT stores, UPDATE over a join accumulating into floating columns.
#include <cstdio>
#include <random>
#include <string>

#include "query_util.h"

namespace query_test {
namespace {

using Regress4 = QueryTest;

// A division by zero in the values an INSERT stores sets that value to Null (the row
// is still inserted); anywhere else it fails the statement.
TEST_F(Regress4, DivisionByZeroInInsertedValues) {
    run_all({"CREATE TABLE R (id long, ilosc double, wyd double)",
             "CREATE TABLE T (id long, v double, w long)",
             "INSERT INTO R (id, ilosc, wyd) VALUES (1, 10, 4)",
             "INSERT INTO R (id, ilosc, wyd) VALUES (2, 10, 0)"});
    const std::string zero = outcome("SELECT 1/0 FROM R");
    ASSERT_EQ(zero.substr(0, 6), "error ");
    const Case cases[] = {
        {"INSERT INTO T (id, v, w) VALUES (1, 5/0, 7 \\ 0)", "ok 1"},
        {"INSERT INTO T (id, v, w) VALUES (2, 5 mod 0, 3)", "ok 1"},
        {"INSERT INTO T (id, v, w) SELECT id, [ilosc]/[wyd]*2, id FROM R", "ok 2"},
        {"INSERT INTO T (id, v) SELECT id, sum([ilosc]/[wyd]) FROM R GROUP BY id", "ok 2"},
        {"SELECT id, v, w FROM T", "1|Null|Null;2|Null|3;1|5|1;2|Null|2;1|2.5|Null;2|Null|Null"},
        // Not inserted values: the WHERE of INSERT ... SELECT, a read, an UPDATE.
        {"INSERT INTO T (id) SELECT id FROM R WHERE [ilosc]/[wyd] > 1", zero},
        {"SELECT [ilosc]/[wyd] FROM R", zero},
        {"SELECT id FROM R WHERE [ilosc]/[wyd] > 1", zero},
        {"SELECT id FROM R ORDER BY [ilosc]/[wyd]", zero},
        {"UPDATE R SET ilosc = [ilosc]/[wyd]", zero},
        {"UPDATE R SET ilosc = [ilosc] \\ [wyd]", zero},
        {"SELECT ilosc FROM R", "10;10"},
        {"SELECT count(*) FROM T", "6"},
    };
    EXPECT_CASES(cases);
}

// UPDATE over a join accumulating into Single and Double columns: the one-pass plan
// gives, bit for bit, what the SET applied once per pair in join order gives (the
// general plan, which an extra plain assignment "k = k" forces).
TEST_F(Regress4, FloatAccumulationMatchesPairByPair) {
    run_all({"CREATE TABLE H (id long, c double, s single, k long, m money)",
             "CREATE TABLE L (hid long, v double, w single, n long, sk long, mm money)"});
    std::mt19937 rng(20261207);
    auto number = [&](int i) -> std::string {
        if (rng() % 13 == 0) return "Null";
        std::uniform_real_distribution<double> d(-1000, 1000);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", d(rng) / (1 + i % 7));
        return buf;
    };
    for (int i = 0; i < 40; ++i)
        run("INSERT INTO H (id, c, s, k, m) VALUES (" + std::to_string(i % 37) + ", " + number(i) +
            ", " + number(i) + ", " + std::to_string(i) + ", " + number(i + 1) + ")");
    for (int j = 0; j < 400; ++j)
        run("INSERT INTO L (hid, v, w, n, sk, mm) VALUES (" + std::to_string(rng() % 45) + ", " +
            number(j) + ", " + number(j + 3) + ", " +
            std::to_string(static_cast<int>(rng() % 2001) - 1000) + ", " +
            std::to_string(rng() % 3) + ", " + number(j + 5) + ")");
    run("SELECT * INTO H2 FROM H");
    const std::string set[] = {
        "SET H.c = H.c + L.v, H.s = H.s + L.w",
        "SET c = [c] - [v], s = [w] + [s]",
        "SET H.s = H.s + L.v, H.c = L.n + H.c",
        "SET H.s = H.s - L.n",
        "SET H.m = H.m + L.w, H.s = H.s + L.w",
        "SET H.m = H.m - L.v, H.c = H.c + L.mm, H.s = L.mm + H.s",
    };
    const std::string join = " INNER JOIN L ON H.id = L.hid ";
    for (const auto& x : set) {
        std::string slow = x;
        std::string fast = x;
        for (size_t at; (at = slow.find("H.")) != std::string::npos;) slow.replace(at, 2, "H2.");
        const std::string where = " WHERE L.sk <> 1";
        const std::string a = outcome("UPDATE H" + join + fast + where);
        const std::string b =
            outcome("UPDATE H2 INNER JOIN L ON H2.id = L.hid " + slow + ", H2.k = H2.k" + where);
        EXPECT_EQ(a, b) << x;
        EXPECT_NE(a.substr(0, 5), "error") << x;
        EXPECT_EQ(rows("SELECT count(*) FROM H INNER JOIN H2 ON H.k = H2.k WHERE (H.c = H2.c OR "
                       "(H.c Is Null AND "
                       "H2.c Is Null)) AND (H.s = H2.s OR (H.s Is Null AND H2.s Is Null)) AND (H.m "
                       "= H2.m OR (H.m Is "
                       "Null AND H2.m Is Null))"),
                  "40")
            << x;
    }
    EXPECT_NE(rows("SELECT count(*) FROM H WHERE c Is Null"), "40");
    // A LEFT JOIN: a row without lines meets one pair whose addend is Null.
    EXPECT_EQ(outcome("UPDATE H LEFT JOIN L ON H.id = L.hid SET H.c = H.c + L.v WHERE H.id = 0"),
              outcome("UPDATE H2 LEFT JOIN L ON H2.id = L.hid SET H2.c = H2.c + L.v, H2.k = H2.k "
                      "WHERE H2.id = 0"));
    EXPECT_EQ(rows("SELECT count(*) FROM H INNER JOIN H2 ON H.k = H2.k WHERE H.c = H2.c OR (H.c Is "
                   "Null AND "
                   "H2.c Is Null)"),
              "40");
    // Past the range of Single: Overflow, and nothing changes.
    run_all({"CREATE TABLE F (id long, s single)", "INSERT INTO F (id, s) VALUES (1, 3e38)",
             "CREATE TABLE G (id long, d double)", "INSERT INTO G (id, d) VALUES (1, 2e38)",
             "INSERT INTO G (id, d) VALUES (1, -3e38)"});
    EXPECT_EQ(outcome("UPDATE F INNER JOIN G ON F.id = G.id SET F.s = F.s + G.d"),
              outcome("UPDATE F INNER JOIN G ON F.id = G.id SET F.s = F.s + G.d, F.id = F.id"));
    EXPECT_EQ(rows("SELECT s FROM F"), "3.00000000549776e+38");
}

}  // namespace
}  // namespace query_test
