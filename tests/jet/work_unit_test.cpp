// Work units: writes kept or lost together across the handles of a file, and what the
// engine's own work does when a write fails under it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>

#include "storage_util.h"

namespace {

using storage_test::ScratchDir;

// The rows of a table as committed in the file: what another connection reads now.
int64_t committed_rows(const std::string& path, const std::string& sql_table) {
    sqlite3* db = nullptr;
    int64_t n = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = "SELECT count(*) FROM " + sql_table;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    return n;
}

class WorkUnits : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("b.mdb");
        jet::Database::create(path);
        auto db = jet::Database::open(path);
        storage_test::ddl(*db, "CREATE TABLE T (a long, b long)");
        db->execute("INSERT INTO T (a, b) VALUES (1, 1)");
        sql_table = db->catalog().table("T")->sql_name;
        db->close();
    }
    ScratchDir dir;
    std::string path, sql_table;
};

// Inside a unit the handles on the file may close and open again: nothing is committed
// until a checkpoint, and a unit left without one rolls back every write, the schema's
// with them (the catalog forgets them too).
TEST_F(WorkUnits, WritesAreKeptOrLostTogetherAcrossHandles) {
    for (const bool completed : {true, false}) {
        SCOPED_TRACE(completed ? "committed by a checkpoint" : "left without one");
        auto db = jet::Database::open(path);
        {
            jet::WorkUnit unit(*db);
            EXPECT_TRUE(unit.is_open());
            db->execute("INSERT INTO T (a, b) VALUES (2, 2)");
            db->close();  // the last handle: nothing is committed
            EXPECT_EQ(committed_rows(path, sql_table), 1);
            db = jet::Database::open(path);
            storage_test::ddl(*db, "CREATE TABLE U (c long)");
            db->execute("INSERT INTO T (a, b) VALUES (3, 3)");
            db->close();
            db = jet::Database::open(path);
            if (completed) {
                db->checkpoint();
                EXPECT_FALSE(unit.is_open());
            }
        }
        EXPECT_EQ(committed_rows(path, sql_table), completed ? 3 : 1);
        EXPECT_EQ(db->catalog().table("U") != nullptr, completed);
        // The file as it was, for the next case.
        db->execute("DELETE FROM T WHERE a > 1");
        if (completed) storage_test::ddl(*db, "DROP TABLE U");
        db->checkpoint();
        db->close();
    }
}

// SQLite may roll the whole grouped transaction back on a failure (a full disk, an I/O
// error): the unit's earlier writes are gone, so every later write of the unit and its
// checkpoint fail, and nothing of it is committed. Abandoned, the next unit works.
TEST_F(WorkUnits, AUnitWhoseTransactionSQLiteRolledBackCannotComplete) {
    auto db = jet::Database::open(path);
    const uint32_t lost = jet::make_error(jet::Fault::UnitRolledBack).number();
    const std::string lost_text = jet::make_error(jet::Fault::UnitRolledBack).description();
    auto failure = [&](const std::function<void()>& f) {
        try {
            f();
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), lost);
            return e.description();
        }
        return std::string("no failure");
    };
    {
        jet::WorkUnit unit(*db);
        db->execute("INSERT INTO T (a, b) VALUES (2, 2)");
        sqlite3_exec(db->session().handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        EXPECT_EQ(failure([&] { db->execute("INSERT INTO T (a, b) VALUES (3, 3)"); }), lost_text);
        EXPECT_EQ(failure([&] { storage_test::ddl(*db, "CREATE TABLE U (c long)"); }), lost_text);
        EXPECT_EQ(failure([&] { db->checkpoint(); }), lost_text);
        EXPECT_TRUE(unit.is_open());
        // Reads go on, from what was committed.
        auto c = db->query("SELECT count(*) FROM T");
        ASSERT_TRUE(c->next());
        EXPECT_EQ(c->value(0).to_text(), "1");
    }
    EXPECT_EQ(committed_rows(path, sql_table), 1);
    {
        jet::WorkUnit unit(*db);
        db->execute("INSERT INTO T (a, b) VALUES (4, 4)");
        db->checkpoint();
    }
    EXPECT_EQ(committed_rows(path, sql_table), 2);
    db->close();
}

// A dropped column's table is rebuilt when the transaction commits. A rebuild that fails
// for space fails the commit instead of committing as if it had been done; with space the
// next commit rebuilds it, and every row is there.
TEST_F(WorkUnits, ARebuildThatFailsForSpaceFailsTheCommit) {
    auto db = jet::Database::open(path);
    for (int i = 2; i <= 300; ++i)
        db->execute("INSERT INTO T (a, b) VALUES (" + std::to_string(i) + ", 7)");
    db->checkpoint();
    storage_test::ddl(*db, "ALTER TABLE T DROP COLUMN b");
    storage_test::raw(*db, "PRAGMA max_page_count = 1");  // at most the pages it has
    std::string what = "no failure";
    try {
        db->checkpoint();
    } catch (const jet::Error& e) {
        what = e.description();
    }
    EXPECT_EQ(what, jet::make_error(jet::Fault::DiskFull).description());
    storage_test::raw(*db, "PRAGMA max_page_count = 1073741823");
    db->checkpoint();
    EXPECT_EQ(committed_rows(path, sql_table), 300);
    EXPECT_EQ(db->catalog().table("T")->columns.size(), 1u);
    db->close();
}

}  // namespace
