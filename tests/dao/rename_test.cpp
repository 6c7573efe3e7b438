// Renames through DAO: tables (case-only included, never onto another table or a
// system table), columns, and objects that follow the renamed table or column.
#include "support.h"

namespace daotest {
namespace {

class RenameTest : public DaoTest {
  protected:
    void SetUp() override {
        DaoTest::SetUp();
        file_ = make_db();
        db_ = dao::DBEngine::OpenDatabase(file_);
        db_->Execute("CREATE TABLE srodki_trwale (id LONG, nazwa TEXT(50))");
        db_->Execute("CREATE INDEX indnazwa ON srodki_trwale (nazwa)");
        db_->Execute("INSERT INTO srodki_trwale (id, nazwa) VALUES (1, 'piec')");
        db_->Execute("CREATE TABLE INNA (x LONG)");
        db_->Execute("INSERT INTO INNA (x) VALUES (7)");
    }
    std::string file_;
    std::shared_ptr<dao::Database> db_;
};

TEST_F(RenameTest, TableRenameKeepsRowsAndIndexes) {
    dao::TableDef t = db_->TableDefs("srodki_trwale");
    t.SetName("SRODKI_TRWALE_ZAWART");
    EXPECT_EQ(t.Name(), "SRODKI_TRWALE_ZAWART");
    EXPECT_EQ(column_texts(db_->engine(), "SELECT nazwa FROM srodki_trwale_zawart"),
              std::vector<std::string>{"piec"});
    EXPECT_NE(failure_of([&] { db_->Execute("SELECT * FROM srodki_trwale"); }), "");
    ASSERT_EQ(t.Indexes().size(), 1u);
    EXPECT_EQ(t.Indexes()[0].Fields, std::vector<std::string>{"nazwa"});
}

TEST_F(RenameTest, CaseOnlyRenameChangesOnlyTheSpelling) {
    db_->TableDefs("SRODKI_TRWALE").SetName("SRODKI_TRWALE");
    auto fresh = dao::DBEngine::OpenDatabase(file_);
    EXPECT_EQ(fresh->TableDefs("srodki_trwale").Name(), "SRODKI_TRWALE");
    EXPECT_EQ(column_texts(fresh->engine(), "SELECT nazwa FROM SRODKI_TRWALE"),
              std::vector<std::string>{"piec"});
}

TEST_F(RenameTest, RenameOntoAnotherTableFailsAndChangesNothing) {
    const std::string failure =
        failure_of([&] { db_->TableDefs("srodki_trwale").SetName("inna"); });
    EXPECT_NE(failure.find("already exists"), std::string::npos) << failure;
    EXPECT_EQ(db_->TableDefs("srodki_trwale").Name(), "srodki_trwale");
    EXPECT_EQ(column_texts(db_->engine(), "SELECT x FROM INNA"), std::vector<std::string>{"7"});
}

TEST_F(RenameTest, SystemTablesAreNeitherRenamedNorTakenAsNames) {
    const std::string sys = db_->engine().catalog().system_table_names().front();
    EXPECT_NE(failure_of([&] { db_->TableDefs(sys).SetName("Zwykla"); }), "");
    EXPECT_TRUE(db_->TableDefs(sys).IsSystem());
    EXPECT_NE(failure_of([&] { db_->TableDefs("INNA").SetName(sys); }), "");
    EXPECT_EQ(db_->TableDefs("inna").Name(), "INNA");
}

// Copies of a TableDef are one object: the walk's copy sees a rename made through
// another copy, and the table's Fields follow it.
TEST_F(RenameTest, CopiesAndFieldsFollowTheRenamedTable) {
    int at = -1;
    for (int i = 0; i < db_->TableDefCount(); ++i)
        if (db_->TableDefs(i).Name() == "srodki_trwale") at = i;
    ASSERT_GE(at, 0);
    dao::TableDef walk = db_->TableDefs(at);
    dao::Field f = walk.Fields("nazwa");
    db_->TableDefs(at).SetName("ŚRODKI");
    EXPECT_EQ(walk.Name(), "ŚRODKI");
    EXPECT_EQ(walk.FieldCount(), 2);
    f.SetName("NAZWA_ŚRODKA");
    EXPECT_EQ(column_texts(db_->engine(), "SELECT NAZWA_ŚRODKA FROM środki"),
              std::vector<std::string>{"piec"});
}

TEST_F(RenameTest, ColumnRenames) {
    dao::TableDef t = db_->TableDefs("srodki_trwale");
    dao::Field f = t.Fields("NAZWA");

    f.SetName("Nazwa");  // case only
    EXPECT_EQ(f.Name(), "Nazwa");
    EXPECT_EQ(t.Fields(1).Name(), "Nazwa");

    f.SetName("opis");
    EXPECT_EQ(f.Name(), "opis");
    EXPECT_EQ(f.Size(), 50);  // the object follows its column under the new name
    EXPECT_EQ(column_texts(db_->engine(), "SELECT opis FROM srodki_trwale"),
              std::vector<std::string>{"piec"});
    // The index stays on the column, under its old name.
    ASSERT_EQ(t.Indexes().size(), 1u);
    EXPECT_EQ(t.Indexes()[0].Name, "indnazwa");
    EXPECT_EQ(t.Indexes()[0].Fields, std::vector<std::string>{"opis"});

    const std::string failure = failure_of([&] { t.Fields("id").SetName("OPIS"); });
    EXPECT_NE(failure.find("already exists"), std::string::npos) << failure;
    EXPECT_EQ(t.Fields(0).Name(), "id");
}

}  // namespace
}  // namespace daotest
