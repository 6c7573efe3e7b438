// The TableDefs and Fields collections: Jet's order with the system tables, lookup
// by name, and walks that drop tables or move columns as they go.
#include <algorithm>

#include "support.h"

namespace daotest {
namespace {

class TableDefsTest : public DaoTest {};

TEST_F(TableDefsTest, OrderIsByNameWithoutCaseSystemTablesIncluded) {
    const std::string file = make_db();
    auto db = dao::DBEngine::OpenDatabase(file);
    for (const char* t : {"zamowienia", "Kasa", "NOWE", "_tmp", "ALFA", "beta", "Łódź", "Lody"})
        db->Execute(std::string("CREATE TABLE [") + t + "] (id LONG)");

    auto fresh = dao::DBEngine::OpenDatabase(file);
    EXPECT_EQ(table_names(*fresh, false),
              (std::vector<std::string>{"_tmp", "ALFA", "beta", "Kasa", "Lody", "Łódź", "NOWE",
                                        "zamowienia"}));

    // The catalog's own tables are listed among the others, each marked as system,
    // every one of them named "MSys...".
    const std::vector<std::string> all = table_names(*fresh, true);
    const std::vector<std::string> sys = fresh->engine().catalog().system_table_names();
    ASSERT_FALSE(sys.empty());
    EXPECT_EQ(all.size(), 8 + sys.size());
    for (int i = 0; i < fresh->TableDefCount(); ++i) {
        dao::TableDef t = fresh->TableDefs(i);
        EXPECT_EQ(t.IsSystem(), t.Name().rfind("MSys", 0) == 0) << t.Name();
    }
    // Between "Łódź" and "NOWE", as M sorts.
    auto first_sys = std::find(all.begin(), all.end(), sys.front());
    ASSERT_NE(first_sys, all.end());
    auto lodz = std::find(all.begin(), all.end(), "Łódź");
    auto nowe = std::find(all.begin(), all.end(), "NOWE");
    for (const std::string& s : sys) {
        auto at = std::find(all.begin(), all.end(), s);
        EXPECT_TRUE(at > lodz && at < nowe) << s;
    }
}

TEST_F(TableDefsTest, ItemByNameIgnoresCaseAndUnknownNamesFail) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE Klienci (id LONG, Nazwa TEXT(50))");
    EXPECT_EQ(db->TableDefs("KLIENCI").Name(), "Klienci");
    EXPECT_EQ(db->TableDefs("klienci").Fields("NAZWA").Name(), "Nazwa");
    const std::string sys = db->engine().catalog().system_table_names().front();
    EXPECT_TRUE(db->TableDefs(jet::text::upper(sys)).IsSystem());

    EXPECT_NE(failure_of([&] { db->TableDefs("Dostawcy"); }), "");
    EXPECT_NE(failure_of([&] { db->TableDefs(db->TableDefCount()); }), "");
    EXPECT_NE(failure_of([&] { db->TableDefs(-1); }), "");
    EXPECT_NE(failure_of([&] { db->TableDefs("Klienci").Fields("Adres"); }), "");
    EXPECT_NE(failure_of([&] { db->TableDefs("Klienci").Fields(2); }), "");
}

// The tidy-up drops scratch tables while it walks by position: every other table is
// still visited exactly once.
TEST_F(TableDefsTest, WalkByPositionSurvivesDropsOnTheWay) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    for (const char* t : {"_a", "_b", "C", "D"})
        db->Execute(std::string("CREATE TABLE ") + t + " (id LONG)");

    std::vector<std::string> visited;
    for (int i = 0; i < db->TableDefCount(); ++i) {
        dao::TableDef t = db->TableDefs(i);
        if (t.IsSystem()) continue;
        const std::string name = t.Name();
        visited.push_back(name);
        if (name[0] == '_') db->Execute("drop table [" + name + "]");
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"_a", "_b", "C", "D"}));
    EXPECT_EQ(table_names(*dao::DBEngine::OpenDatabase(db->Name()), false),
              (std::vector<std::string>{"C", "D"}));
}

// Widening a text column drops it and adds it anew at the end; a walk over the
// fields by position still meets each original column once.
TEST_F(TableDefsTest, FieldWalkSurvivesColumnsMovingToTheEnd) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (a TEXT(10), b TEXT(20), c TEXT(255))");
    db->Execute("INSERT INTO T (a, b, c) VALUES ('1', '2', '3')");

    dao::TableDef t = db->TableDefs("T");
    std::vector<std::string> seen;
    for (int i = 0; i < t.FieldCount(); ++i) {
        dao::Field f = t.Fields(i);
        const std::string n = f.Name();
        seen.push_back(n);
        if (f.Size() < 255) {
            db->Execute("ALTER TABLE T ADD tmp TEXT(255)");
            db->Execute("UPDATE T SET tmp = [" + n + "]");
            db->Execute("ALTER TABLE T DROP COLUMN " + n);
            db->Execute("ALTER TABLE T ADD " + n + " TEXT(255)");
            db->Execute("UPDATE T SET " + n + " = tmp");
            db->Execute("ALTER TABLE T DROP COLUMN tmp");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));

    dao::TableDef now = dao::DBEngine::OpenDatabase(db->Name())->TableDefs("T");
    ASSERT_EQ(now.FieldCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(now.Fields(i).Size(), 255);
    EXPECT_EQ(column_texts(db->engine(), "SELECT a & b & c FROM T"),
              std::vector<std::string>{"123"});
}

TEST_F(TableDefsTest, TablesCreatedMeanwhileAreFoundByName) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    const int before = db->TableDefCount();
    db->Execute("CREATE TABLE Nowa (id LONG)");
    EXPECT_EQ(db->TableDefs("Nowa").Name(), "Nowa");
    EXPECT_EQ(db->TableDefCount(), before);  // the collection as first taken
    EXPECT_EQ(dao::DBEngine::OpenDatabase(db->Name())->TableDefCount(), before + 1);
}

TEST_F(TableDefsTest, IndexesListFlagsAndFieldsInOrder) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE C (a LONG, b TEXT(10), c LONG)");
    db->Execute("CREATE INDEX Podstawowy ON C (b, a) WITH PRIMARY");
    db->Execute("CREATE UNIQUE INDEX UnicNumer ON C (c)");
    db->Execute("CREATE INDEX indc ON C (c DESC, b)");

    std::vector<dao::Index> ix = db->TableDefs("C").Indexes();
    std::sort(ix.begin(), ix.end(),
              [](auto& x, auto& y) { return jet::text::compare(x.Name, y.Name) < 0; });
    ASSERT_EQ(ix.size(), 3u);
    EXPECT_EQ(ix[0].Name, "indc");
    EXPECT_FALSE(ix[0].Primary);
    EXPECT_FALSE(ix[0].Unique);
    EXPECT_EQ(ix[0].Fields, (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(ix[1].Name, "Podstawowy");
    EXPECT_TRUE(ix[1].Primary);
    EXPECT_TRUE(ix[1].Unique);
    EXPECT_EQ(ix[1].Fields, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ix[2].Name, "UnicNumer");
    EXPECT_FALSE(ix[2].Primary);
    EXPECT_TRUE(ix[2].Unique);
}

}  // namespace
}  // namespace daotest
