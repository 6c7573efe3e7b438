// Counter numbering: the session's next number per table, kept across statements
// and raised past every value stored otherwise; never a number twice.
#include <gtest/gtest.h>

#include "jet/rowaccess.h"
#include "query_util.h"

namespace {

using query_test::Case;

class Counters : public query_test::QueryTest {
  protected:
    void SetUp() override {
        QueryTest::SetUp();
        run_all({"CREATE TABLE K (id counter, n text(10))", "CREATE TABLE Src (v long, s text(20))",
                 "INSERT INTO Src VALUES (50, 'x')", "INSERT INTO Src VALUES (7, 'y')"});
    }
    // The ids of K in row order, separated by ";".
    std::string ids() { return rows("SELECT id FROM K"); }
};

TEST_F(Counters, ExplicitValuesRaiseTheNextNumber) {
    const Case cases[] = {
        {"INSERT INTO K (n) VALUES ('a')", "ok 1"},
        {"INSERT INTO K (id, n) VALUES (10, 'b')", "ok 1"},
        {"INSERT INTO K (n) VALUES ('c')", "ok 1"},
        // A value below the next number leaves it where it is.
        {"INSERT INTO K (id, n) VALUES (5, 'd')", "ok 1"},
        {"INSERT INTO K (n) VALUES ('e')", "ok 1"},
        // INSERT ... SELECT with the counter given: the highest of its values counts.
        {"INSERT INTO K (id, n) SELECT v, s FROM Src", "ok 2"},
        {"INSERT INTO K (n) SELECT s FROM Src", "ok 2"},
        {"SELECT id, n FROM K", "1|a;10|b;11|c;5|d;12|e;50|x;7|y;51|x;52|y"},
        // An UPDATE of the counter column counts too.
        {"UPDATE K SET id = 100 WHERE n = 'a'", "ok 1"},
        {"INSERT INTO K (n) VALUES ('f')", "ok 1"},
        {"SELECT id FROM K WHERE n = 'f'", "101"},
    };
    EXPECT_CASES(cases);
}

TEST_F(Counters, RowWritesOfRecordsetsNumberAndRaiseAlike) {
    using jet::Value;
    run("INSERT INTO K (n) VALUES ('a')");
    jet::insert_row(*db, "K", {{"n", Value::text("b")}});
    jet::insert_row(*db, "K", {{"id", Value::long_(20)}, {"n", Value::text("c")}});
    jet::insert_row(*db, "K", {{"n", Value::text("d")}});
    const int64_t row = jet::insert_row(*db, "K", {{"n", Value::text("e")}});
    jet::update_row(*db, "K", row, {{"id", Value::long_(40)}});
    run("INSERT INTO K (n) VALUES ('f')");
    EXPECT_EQ(rows("SELECT id, n FROM K"), "1|a;2|b;20|c;21|d;40|e;41|f");
}

TEST_F(Counters, ANumberIsNotHandedOutTwiceInTheSession) {
    const Case cases[] = {
        {"INSERT INTO K (n) SELECT s FROM Src", "ok 2"},
        {"INSERT INTO K (n) VALUES ('c')", "ok 1"},
        {"DELETE FROM K WHERE id = 3", "ok 1"},
        {"INSERT INTO K (n) VALUES ('d')", "ok 1"},
        {"DELETE FROM K", "ok 3"},
        {"INSERT INTO K (n) VALUES ('e')", "ok 1"},
        // A schema change elsewhere does not bring the deleted numbers back.
        {"CREATE TABLE Other (a long)", "ok 0"},
        {"INSERT INTO K (n) VALUES ('f')", "ok 1"},
        {"SELECT id, n FROM K", "5|e;6|f"},
    };
    EXPECT_CASES(cases);
    // A new session starts after the highest number in the table.
    run("DELETE FROM K WHERE id = 6");
    db->close();
    db = jet::Database::open(path_);
    run("INSERT INTO K (n) VALUES ('g')");
    EXPECT_EQ(rows("SELECT id, n FROM K"), "5|e;6|g");
}

TEST_F(Counters, RolledBackStatementsNeverLeaveADuplicate) {
    run("CREATE UNIQUE INDEX Id ON K (id)");
    run("INSERT INTO K (n) VALUES ('a')");
    // A failing INSERT ... SELECT (the second value is too long) inserts nothing.
    run("INSERT INTO Src VALUES (8, 'far too long a text')");
    EXPECT_EQ(error_of("INSERT INTO K (n) SELECT s FROM Src"), 0x80040E57u);
    // A duplicate explicit value fails and raises nothing.
    EXPECT_EQ(error_of("INSERT INTO K (id, n) VALUES (1, 'dup')"), 0x80004005u);
    run("INSERT INTO K (n) VALUES ('b')");
    // A user transaction rolled back takes its rows; their numbers stay used.
    db->begin_trans();
    run("INSERT INTO K (n) VALUES ('t1')");
    run("INSERT INTO K (n) VALUES ('t2')");
    db->rollback_trans();
    run("INSERT INTO K (n) VALUES ('c')");
    // A rolled-back deletion brings its rows back below the next number.
    db->begin_trans();
    run("DELETE FROM K");
    run("INSERT INTO K (n) VALUES ('t3')");
    db->rollback_trans();
    run("INSERT INTO K (n) VALUES ('d')");
    const std::string got = rows("SELECT n FROM K");
    EXPECT_EQ(got, "a;b;c;d");
    // Increasing and distinct, each above every number before it.
    auto c = db->query("SELECT id FROM K");
    int64_t last = 0;
    while (c->next()) {
        const int64_t id = c->value(0).raw_int();
        EXPECT_GT(id, last);
        last = id;
    }
}

TEST_F(Counters, HandlesOnOneFileShareTheNumbering) {
    auto other = jet::Database::open(path_);
    run("INSERT INTO K (n) VALUES ('a')");
    other->execute("INSERT INTO K (n) VALUES ('b')");
    run("INSERT INTO K (id, n) VALUES (9, 'c')");
    other->execute("INSERT INTO K (n) VALUES ('d')");
    run("INSERT INTO K (n) VALUES ('e')");
    EXPECT_EQ(rows("SELECT id, n FROM K"), "1|a;2|b;9|c;10|d;11|e");
    // Reopened, the numbering continues from the rows.
    other.reset();
    db->close();
    db = jet::Database::open(path_);
    run("INSERT INTO K (n) VALUES ('f')");
    EXPECT_EQ(rows("SELECT id FROM K WHERE n = 'f'"), "12");
}

TEST_F(Counters, SchemaChangesNumberFromTheRows) {
    run_all({"INSERT INTO K (n) VALUES ('a')", "INSERT INTO K (id, n) VALUES (30, 'b')",
             "INSERT INTO K (n) VALUES ('c')"});
    // A counter added to a table with rows numbers them 1, 2, ... and goes on from there.
    run_all({"ALTER TABLE K DROP COLUMN id", "ALTER TABLE K ADD COLUMN nr counter",
             "INSERT INTO K (n) VALUES ('d')"});
    EXPECT_EQ(rows("SELECT nr, n FROM K"), "1|a;2|b;3|c;4|d");
    // A table made again under the same name starts at 1.
    run_all({"DROP TABLE K", "CREATE TABLE K (id counter, n text(10))",
             "INSERT INTO K (n) VALUES ('e')"});
    EXPECT_EQ(ids(), "1");
    // SELECT ... INTO keeps the values and numbers on after them; so does a rename.
    run_all({"INSERT INTO K (id, n) VALUES (8, 'f')", "SELECT id, n INTO Kopia FROM K",
             "INSERT INTO Kopia (n) VALUES ('g')"});
    EXPECT_EQ(rows("SELECT id FROM Kopia"), "1;8;9");
}

}  // namespace
