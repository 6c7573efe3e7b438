// The planner's hints (tiny-table estimates, hidden indexes) and dropped columns
// that leave the SQLite table at the next commit: what SQL and the catalog see.
#include <sys/wait.h>

#include <functional>

#include "storage_util.h"

namespace {

using namespace storage_test;

// One column of a query's rows as text.
std::vector<std::string> rows_of(jet::Database& db, const std::string& sql) {
    std::vector<std::string> out;
    auto c = db.query(sql);
    while (c->next()) out.push_back(c->value(0).is_null() ? "Null" : c->value(0).to_text());
    return out;
}

// The first column of SQLite text run on the connection, as text.
std::vector<std::string> sqlite_rows(jet::Database& db, const std::string& sql) {
    std::vector<std::string> out;
    sqlite3_stmt* st = db.session().prepare(sql);
    while (db.session().step(st)) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        out.push_back(p ? p : "NULL");
    }
    return out;
}

std::vector<std::string> hidden_indexes(jet::Database& db) {
    return sqlite_rows(
        db,
        "SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'jeth%' ORDER BY name");
}

std::vector<std::string> sqlite_columns(jet::Database& db, const std::string& table) {
    return sqlite_rows(
        db, "SELECT name FROM pragma_table_xinfo('" + db.catalog().table(table)->sql_name + "')");
}

uint32_t error_of(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

class Planner : public ::testing::Test {
  protected:
    void SetUp() override {
        jet::Database::create(dir_.file("p.mdb"));
        db_ = jet::Database::open(dir_.file("p.mdb"));
        // Two tables of a few hundred rows joined on columns without an index: SQLite
        // would build an automatic index at every execution of the join.
        ddl(*db_, "CREATE TABLE Dok (Id long, Kontr long, Opis text(20))");
        ddl(*db_, "CREATE TABLE Kontr (Nr long, Nazwa text(20), Miasto text(20))");
        std::string dok, kontr;
        for (int i = 1; i <= 300; ++i) {
            dok += (i > 1 ? ", (" : "(") + std::to_string(i) + ", " + std::to_string(i % 150) +
                   ", 'd" + std::to_string(i) + "')";
            kontr +=
                (i > 1 ? ", (" : "(") + std::to_string(i) + ", 'k" + std::to_string(i) + "', 'm')";
        }
        insert_raw(*db_, "Dok", {"Id", "Kontr", "Opis"}, dok);
        insert_raw(*db_, "Kontr", {"Nr", "Nazwa", "Miasto"}, kontr);
    }
    // Runs the join often enough for the engine to keep an index in place of the
    // automatic one; returns its rows of the last run.
    std::vector<std::string> repeat_join() {
        std::vector<std::string> rows;
        for (int i = 0; i < 5; ++i)
            rows = rows_of(*db_,
                           "SELECT Kontr.Nazwa FROM Dok INNER JOIN Kontr ON Kontr.Nr = Dok.Kontr "
                           "WHERE Dok.Id < " +
                               std::to_string(10 + i % 2) + " ORDER BY Dok.Id");
        db_->execute("UPDATE Dok SET Opis = Opis WHERE Id = 0");
        return rows;
    }
    ScratchDir dir_;
    std::shared_ptr<jet::Database> db_;
};

TEST_F(Planner, HiddenIndexReplacesTheAutomaticOneAndStaysOutOfTheCatalog) {
    const auto before = repeat_join();
    const auto hidden = hidden_indexes(*db_);
    ASSERT_EQ(hidden.size(), 1u);
    // Same rows through the index.
    EXPECT_EQ(repeat_join(), before);
    EXPECT_EQ(before.size(), 9u);
    // Not an index of the catalog (nor of DAO, which lists the catalog's): a named
    // index over the same column is still created, dropped by its name, and the
    // hidden one cannot be dropped by its own.
    EXPECT_TRUE(db_->catalog().table("Kontr")->indexes.empty());
    EXPECT_TRUE(db_->catalog().table("Dok")->indexes.empty());
    const std::string column =
        hidden[0].find(db_->catalog().table("Kontr")->sql_name + "_") != std::string::npos
            ? "Kontr (Nr)"
            : "Dok (Kontr)";
    ddl(*db_, "CREATE INDEX Wlasny ON " + column);
    const std::string table = column.substr(0, column.find(' '));
    ASSERT_EQ(db_->catalog().table(table)->indexes.size(), 1u);
    EXPECT_EQ(db_->catalog().table(table)->indexes[0].name, "Wlasny");
    EXPECT_EQ(ddl_error(*db_, "DROP INDEX " + hidden[0] + " ON " + table), 0x80040E14u);
    ddl(*db_, "DROP INDEX Wlasny ON " + table);
    EXPECT_EQ(hidden_indexes(*db_), hidden);
}

TEST_F(Planner, RepeatedScanForOneValueGetsAHiddenIndexWhateverTheLiteral) {
    db_->execute("INSERT INTO Dok (Id, Kontr, Opis) SELECT Id + 300, Kontr, Opis FROM Dok");
    db_->execute("INSERT INTO Dok (Id, Kontr, Opis) SELECT Id + 600, Kontr, Opis FROM Dok");
    std::vector<std::vector<std::string>> before;
    for (int i = 0; i < 6; ++i)
        before.push_back(rows_of(
            *db_, "SELECT Id FROM Dok WHERE Kontr = " + std::to_string(i) + " ORDER BY Id"));
    db_->execute("UPDATE Dok SET Opis = Opis WHERE Id = 0");
    const auto hidden = hidden_indexes(*db_);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_NE(hidden[0].find(db_->catalog().table("Dok")->column("Kontr")->sql_name),
              std::string::npos);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(
            rows_of(*db_, "SELECT Id FROM Dok WHERE Kontr = " + std::to_string(i) + " ORDER BY Id"),
            before[static_cast<size_t>(i)]);
    EXPECT_EQ(before[5].size(), 8u);
}

TEST_F(Planner, LookingAtAStatementLeavesItsCountAndCountersRight) {
    db_->execute("INSERT INTO Dok (Id, Kontr, Opis) SELECT Id + 300, Kontr, Opis FROM Dok");
    db_->execute("INSERT INTO Dok (Id, Kontr, Opis) SELECT Id + 600, Kontr, Opis FROM Dok");
    ddl(*db_, "CREATE TABLE Wybrane (Nr counter, Id long)");
    int64_t total = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(db_->execute("INSERT INTO Wybrane (Id) SELECT Id FROM Dok WHERE Kontr = " +
                               std::to_string(i)),
                  8);
        total += 8;
    }
    EXPECT_EQ(rows_of(*db_, "SELECT Count(*) FROM Wybrane"),
              std::vector<std::string>{std::to_string(total)});
    EXPECT_EQ(
        rows_of(*db_, "SELECT Count(*) FROM Wybrane AS a INNER JOIN Wybrane AS b ON b.Nr = a.Nr"),
        std::vector<std::string>{std::to_string(total)});
}

TEST_F(Planner, HiddenIndexGoesWithItsColumn) {
    const auto rows = repeat_join();
    ASSERT_EQ(hidden_indexes(*db_).size(), 1u);
    // A type change moves the values to a new SQLite column; a drop removes it. Neither
    // fails because of the hidden index, and the join gives the same rows after.
    ddl(*db_, "ALTER TABLE Kontr ALTER COLUMN Nr double");
    ddl(*db_, "ALTER TABLE Dok ALTER COLUMN Kontr double");
    EXPECT_TRUE(hidden_indexes(*db_).empty());
    EXPECT_EQ(repeat_join(), rows);
    ASSERT_EQ(hidden_indexes(*db_).size(), 1u);
    db_->checkpoint();
    ddl(*db_, "ALTER TABLE Kontr DROP COLUMN Nr");
    ddl(*db_, "ALTER TABLE Dok DROP COLUMN Kontr");
    db_->checkpoint();
    EXPECT_TRUE(hidden_indexes(*db_).empty());
}

// The hidden index carries the columns the join reads from its table, so that the
// join reads the index alone; a change of such a column takes the index with it.
TEST_F(Planner, HiddenIndexCoversWhatTheJoinReadsAndGoesWithACoveredColumn) {
    const auto rows = repeat_join();
    const auto hidden = hidden_indexes(*db_);
    ASSERT_EQ(hidden.size(), 1u);
    const jet::TableInfo& kontr = *db_->catalog().table("Kontr");
    EXPECT_EQ(sqlite_rows(*db_, "SELECT name FROM pragma_index_info('" + hidden[0] + "')"),
              (std::vector<std::string>{kontr.column("Nr")->sql_name,
                                        kontr.column("Nazwa")->sql_name}));
    ddl(*db_, "ALTER TABLE Kontr DROP COLUMN Nazwa");
    EXPECT_TRUE(hidden_indexes(*db_).empty());
    db_->checkpoint();
    EXPECT_EQ(rows_of(*db_,
                      "SELECT Kontr.Miasto FROM Dok INNER JOIN Kontr ON Kontr.Nr = Dok.Kontr "
                      "WHERE Dok.Id < 10"),
              std::vector<std::string>(rows.size(), "m"));
}

TEST_F(Planner, TinyTablesAreToldTheirRowsBigOnesNothing) {
    ddl(*db_, "CREATE TABLE Robocza (x long)");
    auto stat = [&](const char* table) {
        return sqlite_rows(*db_, "SELECT stat FROM sqlite_stat1 WHERE idx IS NULL AND tbl = '" +
                                     db_->catalog().table(table)->sql_name + "'");
    };
    // A big table: no estimate, or the one SQLite assumes without it.
    auto big = [&](const char* table) {
        const auto s = stat(table);
        return s.empty() || s == std::vector<std::string>{"1048576"};
    };
    db_->execute("INSERT INTO Robocza (x) VALUES (1)");
    db_->execute("DELETE FROM Robocza WHERE x = 0");
    EXPECT_EQ(stat("Robocza"), std::vector<std::string>{"1"});
    EXPECT_TRUE(big("Dok"));
    // Grown past a tiny table: the estimate goes, and the rows read are all there.
    db_->execute("INSERT INTO Robocza (x) SELECT Id FROM Dok");
    db_->execute("DELETE FROM Robocza WHERE x = 0");
    EXPECT_TRUE(big("Robocza"));
    EXPECT_EQ(rows_of(*db_, "SELECT Count(*) FROM Robocza INNER JOIN Dok ON Dok.Id = Robocza.x"),
              std::vector<std::string>{"301"});
}

TEST_F(Planner, DroppedColumnIsGoneAtOnceAndLeavesTheTableAtTheCommit) {
    ddl(*db_, "CREATE INDEX PoOpisie ON Dok (Opis)");
    const auto physical = sqlite_columns(*db_, "Dok");
    ddl(*db_, "ALTER TABLE Dok DROP COLUMN Kontr");
    ddl(*db_, "ALTER TABLE Dok ALTER COLUMN Id double");
    // Every later statement sees the column gone, with the errors of a missing column.
    EXPECT_EQ(db_->catalog().table("Dok")->columns.size(), 2u);
    EXPECT_EQ(error_of([&] { rows_of(*db_, "SELECT Kontr FROM Dok"); }), 0x80040E10u);
    EXPECT_EQ(ddl_error(*db_, "ALTER TABLE Dok DROP COLUMN Kontr"), 0x80040E14u);
    EXPECT_EQ(db_->query("SELECT * FROM Dok")->columns().size(), 2u);
    db_->execute("INSERT INTO Dok (Id, Opis) VALUES (1000, 'nowy')");
    ddl(*db_, "ALTER TABLE Dok ADD COLUMN Kontr text(5)");
    EXPECT_EQ(rows_of(*db_, "SELECT Kontr FROM Dok WHERE Id = 1000"),
              std::vector<std::string>{"Null"});
    // At the commit the SQLite table loses both old columns; rows, rowids and the
    // index stay.
    const auto rowids =
        sqlite_rows(*db_, "SELECT rowid FROM " + db_->catalog().table("Dok")->sql_name);
    db_->checkpoint();
    const auto now = sqlite_columns(*db_, "Dok");
    EXPECT_EQ(now.size(), 3u);
    EXPECT_EQ(now.size(), db_->catalog().table("Dok")->columns.size());
    EXPECT_EQ(physical.size(), 3u);
    EXPECT_EQ(sqlite_rows(*db_, "SELECT rowid FROM " + db_->catalog().table("Dok")->sql_name),
              rowids);
    EXPECT_EQ(rows_of(*db_, "SELECT Opis FROM Dok WHERE Opis = 'D7'"),
              std::vector<std::string>{"d7"});
    EXPECT_EQ(ddl_error(*db_, "ALTER TABLE Dok DROP COLUMN Opis"), 0x80040E14u);  // still indexed
    EXPECT_EQ(rows_of(*db_, "SELECT Sum(Id) FROM Dok"), std::vector<std::string>{"46150"});
}

TEST(PlannerDurability, AKillBeforeTheCommitLeavesTheDroppedColumn) {
    ScratchDir dir;
    const std::string path = dir.file("k.mdb");
    {
        jet::Database::create(path);
        auto db = jet::Database::open(path);
        ddl(*db, "CREATE TABLE T (a long, b text(5), c long)");
        insert_raw(*db, "T", {"a", "b", "c"}, "(1, 'x', 10), (2, 'y', 20)");
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        auto db = jet::Database::open(path);
        ddl(*db, "ALTER TABLE T DROP COLUMN b");
        db->execute("UPDATE T SET c = c + 1");
        _exit(0);  // no commit, no destructor: as if killed
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    auto db = jet::Database::open(path);
    EXPECT_EQ(db->catalog().table("T")->columns.size(), 3u);
    EXPECT_EQ(sqlite_columns(*db, "T").size(), 3u);
    EXPECT_EQ(rows_of(*db, "SELECT b FROM T ORDER BY a"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(rows_of(*db, "SELECT c FROM T ORDER BY a"), (std::vector<std::string>{"10", "20"}));
}

}  // namespace
