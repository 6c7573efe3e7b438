#include "jet/sqlfuncs.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "jet/error.h"
#include "storage_util.h"

namespace {

// A raw in-memory connection with the engine's functions (no session: failures
// reach the caller as SQLite errors with the Jet description).
class SqlFuncs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        jet::register_functions(db_, nullptr);
    }
    void TearDown() override { sqlite3_close(db_); }

    // The rows of a query, each column as "i:5", "r:1.5", "t:abc", "null"; a
    // failure as "error:<description>".
    std::vector<std::string> rows(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        std::vector<std::string> out;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            return {"prepare:" + std::string(sqlite3_errmsg(db_))};
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (c) row += "|";
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_NULL:
                        row += "null";
                        break;
                    case SQLITE_INTEGER:
                        row += "i:" + std::to_string(sqlite3_column_int64(st, c));
                        break;
                    case SQLITE_FLOAT: {
                        // The shortest form that reads back as the same double.
                        const double d = sqlite3_column_double(st, c);
                        char b[40];
                        for (int digits = 15; digits <= 17; ++digits) {
                            std::snprintf(b, sizeof b, "r:%.*g", digits, d);
                            if (std::strtod(b + 2, nullptr) == d) break;
                        }
                        row += b;
                        break;
                    }
                    default:
                        row +=
                            "t:" +
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                }
            }
            out.push_back(row);
        }
        if (rc != SQLITE_DONE) out.push_back("error:" + std::string(sqlite3_errmsg(db_)));
        sqlite3_finalize(st);
        return out;
    }
    std::string one(const std::string& expr) {
        auto r = rows("SELECT " + expr);
        return r.empty() ? "no row" : r.back();
    }
    void exec(const char* sql) {
        ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_);
    }

    sqlite3* db_ = nullptr;
};

std::string err(jet::Fault f, std::string_view arg = {}) {
    return "error:" + jet::make_error(f, arg).description();
}

struct Case {
    const char* expr;
    std::string expected;
};

TEST_F(SqlFuncs, StoreConvertsAndChecksLikeTheEngine) {
    const Case cases[] = {
        {"jet_store('abc', 10, 3, 0, 't.c')", "t:abc"},
        {"jet_store('żółć', 10, 4, 0, 't.c')", "t:żółć"},
        {"jet_store('żółćx', 10, 4, 0, 't.c')", err(jet::Fault::TooLong)},
        {"jet_store(NULL, 4, 4, 0, 't.c')", "null"},
        {"jet_store(NULL, 4, 4, 1, 't.c')", err(jet::Fault::RequiredNull, "t.c")},
        {"jet_store(NULL, 4, 4, 2, 't.c')", err(jet::Fault::NullInKey)},
        {"jet_store('', 10, 5, 4, 't.c')", err(jet::Fault::ZeroLength, "t.c")},
        {"jet_store('', 10, 5, 0, 't.c')", "t:"},
        {"jet_store(300, 2, 1, 0, 't.c')", err(jet::Fault::Overflow)},
        {"jet_store(2147483648, 4, 4, 0, 't.c')", err(jet::Fault::Overflow)},
        {"jet_store(2.5, 4, 4, 0, 't.c')", "i:2"},
        {"jet_store('1,5', 7, 8, 0, 't.c')", "r:1.5"},
        {"jet_store('1.5', 7, 8, 0, 't.c')", err(jet::Fault::TypeMismatch)},
        {"jet_store(0.1, 6, 4, 0, 't.c')", "r:0.10000000149011612"},
        {"jet_store(1.23456, 5, 8, 0, 't.c')", "r:1.2346"},
        {"jet_store('1,23455', 5, 8, 0, 't.c')", "r:1.2346"},
        {"jet_store(5, 1, 1, 0, 't.c')", "i:-1"},
        {"jet_store(0, 1, 1, 0, 't.c')", "i:0"},
        {"jet_store('31-12-2020', 8, 8, 0, 't.c')", "r:44196"},
        {"jet_store(1e10, 8, 8, 0, 't.c')", err(jet::Fault::Overflow)},
        {"jet_store(1.5, 10, 10, 0, 't.c')", "t:1,5"},
        {"jet_store(-1, 10, 10, 0, 't.c', 1)", "t:-1"},
        {"jet_store(44196.5, 10, 30, 0, 't.c', 8)", "t:2020-12-31 12:00:00"},
        {"jet_store(1.5, 10, 10, 0, 't.c', 5)", "t:1,5"},
        // Infinity overflows in every column (Null where the value is stored); dates
        // outside the range overflow, the first day with a time does not.
        {"jet_store(1e308 * 10, 10, 20, 0, 't.c', 7)", err(jet::Fault::Overflow)},
        {"jet_store(1e308 * 10, 10, 20, 0, 't.c')", err(jet::Fault::Overflow)},
        {"jet_store(-1e308 * 10, 1, 1, 0, 't.c')", err(jet::Fault::Overflow)},
        {"jet_store(1e308 * 10, 12, 0, 8, 't.c', 7)", "null"},
        {"jet_store(1e308 * 10, 1, 1, 8, 't.c')", "null"},
        {"jet_store(2958466, 8, 8, 8, 't.c')", "null"},
        {"jet_store(-657434.5, 8, 8, 0, 't.c')", "r:-657434.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(one(c.expr), c.expected) << c.expr;
}

TEST_F(SqlFuncs, OperatorsAndComparison) {
    const Case cases[] = {
        {"jet_concat(NULL, 'a')", "t:a"},
        {"jet_concat(NULL, NULL)", "null"},
        {"jet_concat('a', 1.5)", "t:a1,5"},
        {"jet_concat('ą', 'b')", "t:ąb"},
        {"jet_totext(-1, 1)", "t:-1"},
        {"jet_totext(2.5, 5)", "t:2,5"},
        {"jet_totext(44196, 8)", "t:2020-12-31"},
        {"jet_cstr(NULL, 10)", "null"},
        {"jet_add('1', 10, 2, 4)", "r:3"},
        {"jet_add('a', 10, 'b', 10)", "t:ab"},
        {"jet_add('a', 10, 1, 4)", err(jet::Fault::TypeMismatch)},
        {"jet_add(NULL, 4, 1, 4)", "null"},
        {"jet_add(2, 4, 3, 4)", "i:5"},
        {"jet_add(0.1, 5, 0.2, 5)", "r:0.3"},
        {"jet_add('1', 10, 1e308, 7, 1e308, -1)", err(jet::Fault::Overflow)},
        {"jet_add(1e308, 7, '1e308', 10)", err(jet::Fault::Overflow)},
        {"jet_totext(1e308 * 10, 7)", err(jet::Fault::Overflow)},
        {"jet_dblfold(2, '*+-', 3, 1.5, 0.5)", "r:7"},
        {"jet_dblfold(7, '*', 3)", "i:21"},
        {"jet_dblfold(NULL, '+', 3)", "null"},
        {"jet_dblfold(1e308, '+-', 1e308, 1e308)", err(jet::Fault::Overflow)},
        {"jet_dblfold(-1e308, '*', 10)", err(jet::Fault::Overflow)},
        {"jet_cur(0.00005)", "r:0"},
        {"jet_cur(0.00015)", "r:0.0002"},
        {"jet_cur(7)", "i:7"},
        {"jet_div(1, 4)", "r:0.25"},
        {"jet_div(1, 0)", err(jet::Fault::DivisionByZero)},
        {"jet_div(NULL, 0)", "null"},
        {"jet_intdiv(7, 2)", "i:3"},
        {"jet_intdiv(-7, 2)", "i:-3"},
        {"jet_intdiv(2.5, 1)", "i:2"},
        {"jet_mod(-7, 2)", "i:-1"},
        {"jet_mod(7, 0)", err(jet::Fault::DivisionByZero)},
        {"jet_cmp('abc', 10, 'ABC', 10)", "i:0"},
        {"jet_cmp('a', 10, 'ą', 10)", "i:-1"},
        {"jet_cmp('a ', 10, 'a', 10)", "i:1"},
        {"jet_cmp(2, 4, 1.5, 7)", "i:1"},
        {"jet_cmp('1', 10, 1, 4)", err(jet::Fault::TypeMismatch)},
        {"jet_cmp(NULL, 10, 'a', 10)", "null"},
        {"jet_like('Kowalski', 'kow*')", "i:1"},
        {"jet_like(NULL, 'a')", "null"},
    };
    for (const auto& c : cases) EXPECT_EQ(one(c.expr), c.expected) << c.expr;
}

TEST_F(SqlFuncs, Functions) {
    const Case cases[] = {
        {"jet_round(2.5)", "r:2"},
        {"jet_round(2.345, 2)", "r:2.34"},
        {"jet_round(1.645, 2, 5)", "r:1.64"},
        {"jet_round(1.655, 2, 5)", "r:1.66"},
        {"jet_round(7, 2)", "i:7"},
        {"jet_round(NULL, 2)", "null"},
        {"jet_format(2.345, 7, '0.00')", "t:2,35"},
        {"jet_format(44196.5, 8, 'dd-MM-yyyy')", "t:31-12-2020"},
        {"jet_format(44196.5, 8, 'dd-mm-yyyy')", "t:31-12-2020"},
        {"jet_format('01-01-1990', 10, 'dd-MM-yyyy')", "t:01-01-1990"},
        {"jet_format(NULL, 7, '0.00')", "null"},
        {"jet_val(' 12 34.5x')", "r:1234.5"},
        {"jet_val('1,5')", "r:1"},
        {"jet_val(NULL)", "null"},
        {"jet_trim('  a  ')", "t:a"},
        {"jet_ltrim('  a  ')", "t:a  "},
        {"jet_rtrim('  a  ')", "t:  a"},
        {"jet_trim('   ')", "t:"},  // a zero-length text, never Null
        {"jet_ltrim('')", "t:"},
        {"jet_rtrim(' ')", "t:"},
        {"jet_ucase('zażółć')", "t:ZAŻÓŁĆ"},
        {"jet_lcase('ŁÓDŹ')", "t:łódź"},
        {"jet_len('łódź')", "i:4"},
        {"jet_len(NULL)", "null"},
        {"jet_mid('abc', 5)", "t:"},
        {"jet_mid('zażółć', 3, 3)", "t:żół"},
        {"jet_mid('abc', 0)", "error:Invalid procedure call or argument"},
        {"jet_left('łódź', 2)", "t:łó"},
        {"jet_right('łódź', 2)", "t:dź"},
        {"jet_year(44196)", "i:2020"},
        {"jet_month('15-03-2021')", "i:3"},
        {"jet_day(NULL)", "null"},
        {"jet_clng('2,5')", "i:2"},
        {"jet_cint(40000)", err(jet::Fault::Overflow)},
        {"jet_cdbl('1,25')", "r:1.25"},
        {"jet_ccur(1.00005)", "r:1"},
        {"jet_cdate('02-01-1900')", "r:3"},
        {"jet_int(-2.5)", "r:-3"},
        {"jet_fix(-2.5)", "r:-2"},
        {"jet_abs(-3)", "i:3"},
        {"jet_int(5)", "i:5"},
        {"jet_nz(NULL)", "t:"},
        {"jet_nz(NULL, 0)", "i:0"},
        {"jet_nz(3, 0)", "i:3"},
    };
    for (const auto& c : cases) EXPECT_EQ(one(c.expr), c.expected) << c.expr;
}

TEST_F(SqlFuncs, SumIsExactForMoney) {
    EXPECT_EQ(one("jet_sum(x, 5) FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                  "FROM n WHERE i < 1000000) SELECT 0.01 AS x FROM n)"),
              "r:10000");
    EXPECT_EQ(one("jet_sum(x, 7) FROM (SELECT 1.5 AS x WHERE 0)"), "null");
    EXPECT_EQ(one("jet_sum(x, 4) FROM (SELECT NULL AS x)"), "null");
    EXPECT_EQ(one("jet_sum(x, 4) FROM (SELECT 2 AS x UNION ALL SELECT NULL UNION ALL SELECT 3)"),
              "i:5");
    EXPECT_EQ(one("jet_sum(x, 0) FROM (SELECT 2 AS x UNION ALL SELECT 0.5)"), "r:2.5");
    EXPECT_EQ(one("jet_sum(x, 7) FROM (SELECT 2 AS x UNION ALL SELECT 3)"), "r:5");
    EXPECT_EQ(one("jet_sum(x, 0) FROM (SELECT 'a' AS x)"), err(jet::Fault::TypeMismatch));
}

TEST_F(SqlFuncs, FirstLastAndSequence) {
    exec("CREATE TABLE t(k INTEGER, v TEXT); INSERT INTO t VALUES (1, NULL), (2, 'b'), (3, 'c')");
    EXPECT_EQ(one("jet_first(v), jet_last(v) FROM (SELECT v FROM t ORDER BY k)"), "null|t:c");
    EXPECT_EQ(rows("SELECT jet_seq(10) FROM t ORDER BY k"),
              (std::vector<std::string>{"i:10", "i:11", "i:12"}));

    // A prepared statement run twice numbers from its start each time, also with the
    // start as a bound parameter.
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT jet_seq(?1) FROM t", -1, &st, nullptr), SQLITE_OK);
    for (int run = 0; run < 2; ++run) {
        sqlite3_bind_int(st, 1, 100 * (run + 1));
        std::vector<int64_t> got;
        while (sqlite3_step(st) == SQLITE_ROW) got.push_back(sqlite3_column_int64(st, 0));
        EXPECT_EQ(
            got, (std::vector<int64_t>{100 * (run + 1), 100 * (run + 1) + 1, 100 * (run + 1) + 2}));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);

    exec("CREATE TABLE n(id INTEGER, s TEXT); INSERT INTO n SELECT jet_seq(5), v FROM t");
    EXPECT_EQ(rows("SELECT id FROM n ORDER BY id"),
              (std::vector<std::string>{"i:5", "i:6", "i:7"}));
}

TEST_F(SqlFuncs, CollationOrdersTextThePolishWay) {
    exec(
        "CREATE TABLE w(s TEXT COLLATE JET);"
        "INSERT INTO w VALUES ('b'), ('ą'), ('A'), ('ł'), ('l'), ('m'), ('a '), ('Ą'), ('a')");
    EXPECT_EQ(rows("SELECT count(DISTINCT s) FROM w"), (std::vector<std::string>{"i:7"}));
    auto order = rows("SELECT s FROM w ORDER BY s, s COLLATE BINARY");
    EXPECT_EQ(order, (std::vector<std::string>{"t:A", "t:a", "t:a ", "t:Ą", "t:ą", "t:b", "t:l",
                                               "t:ł", "t:m"}));
}

}  // namespace

namespace {

// Through a session, a failure inside a function is raised as the Jet failure
// itself (number and description), not as SQLite's generic error.
TEST(SqlFuncsSession, FailureInsideAFunctionIsRaisedAsTheJetFailure) {
    storage_test::ScratchDir dir;
    const std::string path = dir.file("f.mdb");
    jet::Database::create(path);
    auto db = jet::Database::open(path);
    jet::Session& s = db->session();
    struct Row {
        const char* sql;
        jet::Fault fault;
    } rows[] = {
        {"SELECT jet_div(1, 0)", jet::Fault::DivisionByZero},
        {"SELECT jet_store('abcdef', 10, 3, 0, 't.c')", jet::Fault::TooLong},
        {"SELECT jet_cmp('1', 10, 1, 4)", jet::Fault::TypeMismatch},
        {"SELECT jet_sum(x, 0) FROM (SELECT 'a' AS x)", jet::Fault::TypeMismatch},
    };
    for (const auto& r : rows) {
        try {
            s.exec(r.sql);
            ADD_FAILURE() << r.sql << " did not fail";
        } catch (const jet::Error& e) {
            // A value that cannot be converted fails a statement as a type mismatch.
            EXPECT_EQ(e.number(), jet::conversion_failure(jet::make_error(r.fault))
                                      ? jet::hr::TypeMismatch
                                      : jet::fault_number(r.fault))
                << r.sql;
            EXPECT_EQ(e.description(), jet::make_error(r.fault).description()) << r.sql;
        }
    }
    // A later statement that succeeds is not charged with an old failure.
    EXPECT_NO_THROW(s.exec("SELECT jet_div(1, 2)"));
}

}  // namespace
