// The catalog: what survives a reopen, DAO's order of tables, renames and the
// column properties that keep their values, and one committed state read at a time.
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "storage_util.h"

namespace {

using namespace storage_test;

TEST(Catalog, EverythingSurvivesAReopen) {
    ScratchDir dir;
    const std::string path = dir.file("c.mdb");
    jet::Database::create(path, {"4.0", ";LANGID=0x0415", "hasło"});
    {
        auto db = jet::Database::open(path, "hasło");
        ddl(*db,
            "CREATE TABLE Żółw (Id counter, Imię text(30) not null DEFAULT 'Józef', Waga single)");
        ddl(*db, "CREATE UNIQUE INDEX Podstawowy ON Żółw (Imię DESC) WITH DISALLOW NULL");
        ddl(*db, "CREATE TABLE Staw (Nr long, Żółw_Id long, CONSTRAINT pk PRIMARY KEY (Nr))");
        ddl(*db,
            "ALTER TABLE Staw ADD CONSTRAINT Mieszka FOREIGN KEY (Żółw_Id) REFERENCES Żółw (Id)");
        db->session().catalog().set_allow_zero_length("żółw", "IMIĘ", false);
    }
    auto db = jet::Database::open(path, "hasło");
    const auto& cat = db->catalog();
    EXPECT_EQ(cat.properties().password, "hasło");
    EXPECT_EQ(cat.properties().locale, ";LANGID=0x0415");
    const jet::TableInfo* t = cat.table("ŻÓŁW");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->name, "Żółw");
    ASSERT_EQ(t->columns.size(), 3u);
    EXPECT_TRUE(t->columns[0].counter);
    const jet::ColumnInfo* imie = t->column("imię");
    ASSERT_NE(imie, nullptr);
    EXPECT_EQ(imie->size, 30);
    EXPECT_TRUE(imie->required);
    EXPECT_FALSE(imie->allow_zero_length);
    EXPECT_EQ(imie->default_text, "'Józef'");
    EXPECT_EQ(t->column("waga")->type, jet::DataType::Single);
    const jet::IndexInfo* ix = t->index("PODSTAWOWY");
    ASSERT_NE(ix, nullptr);
    EXPECT_TRUE(ix->unique && ix->required && !ix->primary);
    ASSERT_EQ(ix->columns.size(), 1u);
    EXPECT_EQ(ix->columns[0].column_id, imie->id);
    EXPECT_TRUE(ix->columns[0].descending);
    EXPECT_EQ(cat.table("staw")->primary_key()->name, "pk");
    ASSERT_EQ(cat.relations().size(), 1u);
    EXPECT_EQ(cat.relations()[0].name, "Mieszka");
    EXPECT_EQ(cat.relations()[0].columns, std::vector<std::string>{"Id"});
}

TEST(Catalog, TablesInDaoOrderAndRenames) {
    ScratchDir dir;
    jet::Database::create(dir.file("o.mdb"));
    auto db = jet::Database::open(dir.file("o.mdb"));
    for (const char* name : {"zakup", "Łąka", "Lato", "abc", "Żuraw", "ZAMEK"})
        ddl(*db, std::string("CREATE TABLE [") + name + "] (x long)");
    auto names = [&] {
        std::vector<std::string> out;
        for (const auto* t : db->catalog().tables()) out.push_back(t->name);
        return out;
    };
    EXPECT_EQ(names(),
              (std::vector<std::string>{"abc", "Lato", "Łąka", "zakup", "ZAMEK", "Żuraw"}));

    auto& cat = db->session().catalog();
    const uint64_t v = cat.version();
    cat.rename_table("lato", "LATO");  // a case-only rename
    EXPECT_GT(cat.version(), v);
    EXPECT_EQ(cat.table("lato")->name, "LATO");
    try {
        cat.rename_table("LATO", "ABC");
        ADD_FAILURE();
    } catch (const jet::Error& e) {
        EXPECT_NE(e.description().find("already exists"), std::string::npos);
    }
    cat.rename_column("abc", "X", "Wartość");
    jet::ColumnSpec druga;
    druga.name = "Druga";
    druga.size = 10;
    cat.add_column("abc", druga);
    try {
        cat.rename_column("abc", "druga", "WARTOŚĆ");
        ADD_FAILURE();
    } catch (const jet::Error& e) {
        EXPECT_NE(e.description().find("already exists"), std::string::npos);
    }
    insert_raw(*db, "abc", {"wartość"}, "(5)");
    cat.set_required("abc", "wartość", true);
    cat.set_default("abc", "wartość", "7");
    EXPECT_EQ(column_values(*db, "abc", "Wartość"), std::vector<std::string>{"5"});
    db->close();
    auto again = jet::Database::open(dir.file("o.mdb"));
    EXPECT_NE(again->catalog().table("LATO"), nullptr);
    EXPECT_EQ(again->catalog().table("abc")->column("wartość")->default_text, "7");
    EXPECT_EQ(again->catalog().table("abc")->columns[0].name, "Wartość");
}

// A connection of another program that commits a new table of the catalog (the schema's
// table, its catalog row and its column's, NextId past them) when the n-th catalog read
// of the process comes to the catalog's list of tables: after the schema was read, before
// the list.
class CommitBetweenReads {
  public:
    CommitBetweenReads(const std::string& path, int n) {
        self_ = this;
        at_ = n;
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &writer_, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        // The writer's first read makes the log that the readers will find beside the file.
        EXPECT_EQ(
            sqlite3_exec(writer_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&trace_connection));
    }
    ~CommitBetweenReads() {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&trace_connection));
        sqlite3_close_v2(writer_);
        self_ = nullptr;
    }
    int commits() const { return commits_; }

  private:
    static int trace_connection(sqlite3* db, char**, const sqlite3_api_routines*) {
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &on_statement, nullptr);
        return SQLITE_OK;
    }
    static int on_statement(unsigned, void*, void*, void* text) {
        if (!self_ || !std::strstr(static_cast<const char*>(text), "FROM MSysJetTables ORDER BY"))
            return 0;
        if (++self_->reads_ != self_->at_) return 0;
        const std::string id = std::to_string(900 + self_->reads_);
        const int rc = sqlite3_exec(
            self_->writer_,
            ("BEGIN IMMEDIATE; CREATE TABLE t" + id + "(c" + id +
             " INTEGER); INSERT INTO MSysJetTables(id, name, sql_name) VALUES (" + id + ", 'Nowa" +
             id + "', 't" + id +
             "'); INSERT INTO MSysJetColumns(id, table_id, position, name, sql_name, type, "
             "size, counter, default_text, allow_zero_length, required) VALUES (" +
             id + ", " + id + ", 0, 'Id', 'c" + id +
             "', 4, 4, 0, '', 0, 0); UPDATE MSysJetProperties SET value = '" + id +
             "1' WHERE name = 'NextId'; COMMIT")
                .c_str(),
            nullptr, nullptr, nullptr);
        EXPECT_EQ(rc, SQLITE_OK) << sqlite3_errmsg(self_->writer_);
        if (rc == SQLITE_OK) ++self_->commits_;
        return 0;
    }
    static inline CommitBetweenReads* self_ = nullptr;
    sqlite3* writer_ = nullptr;
    int at_ = 0, reads_ = 0, commits_ = 0;
};

// An open reads the catalog twice: to check the file (1) and for its connection (2).
// A commit of another program that falls between two reads of either load is seen by
// none of them or by all: the file opens, its catalog with or without the new table.
TEST(Catalog, ALoadReadsOneCommittedState) {
    for (const int n : {1, 2}) {
        SCOPED_TRACE(n);
        ScratchDir dir;
        const std::string path = dir.file("a.mdb");
        make_database(path);
        CommitBetweenReads other(path, n);
        std::shared_ptr<jet::Database> db;
        ASSERT_NO_THROW(db = jet::Database::open(path));
        EXPECT_EQ(other.commits(), 1);
        EXPECT_EQ(column_values(*db, "Towar", "Id"), (std::vector<std::string>{"1", "2", "3"}));
        db->close();
        db = jet::Database::open(path);
        EXPECT_NE(db->catalog().table("Nowa" + std::to_string(900 + n)), nullptr);
        db->close();
    }
}

}  // namespace
