// The DAO database: statements, relations, the format version, creating files,
// closing, and sharing the engine session with a connection on the same file.
#include "support.h"

namespace daotest {
namespace {

class DatabaseTest : public DaoTest {};

TEST_F(DatabaseTest, ExecuteRaisesTheDescriptionAndChangesNothing) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (id LONG, nazwa TEXT(5))");
    db->Execute("CREATE UNIQUE INDEX ui ON T (id)");
    db->Execute("INSERT INTO T (id, nazwa) VALUES (1, 'a')");

    struct Row {
        const char* sql;
        const char* fragment;
    };
    const Row rows[] = {
        {"CREATE TABLE T (x LONG)", "already exists"},
        {"INSERT INTO T (id, nazwa) VALUES (1, 'b')", "duplicate values"},
        {"UPDATE T SET nazwa = 'abcdefgh'", "too small"},
        {"SELEC * FROM T", "Syntax error"},
        {"DROP INDEX brak ON T", "brak"},
        {"drop table [Błędy wklejania]", "Błędy wklejania"},
    };
    for (const Row& r : rows) {
        const std::string failure = failure_of([&] { db->Execute(r.sql); });
        EXPECT_NE(failure.find(r.fragment), std::string::npos) << r.sql << ": " << failure;
    }
    EXPECT_EQ(column_texts(db->engine(), "SELECT id & nazwa FROM T"),
              std::vector<std::string>{"1a"});
}

TEST_F(DatabaseTest, RelationsAreWalkedAndDeletedByName) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE Klienci (id LONG CONSTRAINT pk PRIMARY KEY)");
    db->Execute(
        "CREATE TABLE Faktury (id LONG, klient LONG, "
        "CONSTRAINT FakturyKlienci FOREIGN KEY (klient) REFERENCES Klienci (id))");

    std::vector<dao::Relation> rel = db->Relations();
    ASSERT_EQ(rel.size(), 1u);
    EXPECT_EQ(rel[0].Name, "FakturyKlienci");
    EXPECT_EQ(rel[0].Table, "Klienci");
    EXPECT_EQ(rel[0].ForeignTable, "Faktury");
    EXPECT_EQ(rel[0].Fields, std::vector<std::string>{"id"});
    EXPECT_EQ(rel[0].ForeignFields, std::vector<std::string>{"klient"});

    EXPECT_NE(failure_of([&] { db->DeleteRelation("Brak"); }), "");
    db->DeleteRelation("fakturyklienci");
    EXPECT_TRUE(db->Relations().empty());
    EXPECT_TRUE(dao::DBEngine::OpenDatabase(db->Name())->Relations().empty());
    // Without the relation the referencing table can go first.
    db->Execute("DROP TABLE Klienci");
}

TEST_F(DatabaseTest, FormatVersionIsPropertySix) {
    for (const std::string format : {"3.0", "4.0"}) {
        auto db = dao::DBEngine::OpenDatabase(make_db("f" + format + ".mdb", format));
        EXPECT_EQ(db->Properties(6), format);
    }
    auto db = dao::DBEngine::OpenDatabase(make_db());
    EXPECT_NE(failure_of([&] { db->Properties(99); }), "");
}

TEST_F(DatabaseTest, CreateDatabaseMakesAFourZeroFileWithLocaleAndPassword) {
    const std::string file = path("A2000_baza.mdb");
    auto db = dao::DBEngine::CreateDatabase(file, kLocale);
    EXPECT_EQ(db->Properties(6), "4.0");
    EXPECT_EQ(db->engine().catalog().properties().locale, kLocale);
    EXPECT_EQ(db->Name(), file);
    db->Close();

    EXPECT_NE(failure_of([&] { jet::Database::open(file, "inne"); }), "");
    EXPECT_NO_THROW(jet::Database::open(file, kPassword));

    const std::string failure = failure_of([&] { dao::DBEngine::CreateDatabase(file, kLocale); });
    EXPECT_NE(failure.find("already exists"), std::string::npos) << failure;
}

// The program opens the file through DAO while its ADO connection stays open on it:
// each side sees the other's changes at once, uncommitted or not.
TEST_F(DatabaseTest, SharesTheSessionOfAConnectionOnTheSameFile) {
    const std::string file = make_db();
    auto ado = engine(file);
    ado->execute("CREATE TABLE SRODKI_TRWALE (id LONG, kwota CURRENCY)");
    ado->execute("INSERT INTO SRODKI_TRWALE (id, kwota) VALUES (1, 10)");

    auto db = dao::DBEngine::OpenDatabase(file);
    dao::TableDef t = db->TableDefs("srodki_trwale");
    t.SetName("SRODKI_TRWALE_AMORTYZACJA");
    t.Fields("kwota").SetName("wartosc");
    db->Execute("UPDATE SRODKI_TRWALE_AMORTYZACJA SET wartosc = 20");
    db->Close();

    EXPECT_EQ(column_texts(*ado, "SELECT wartosc FROM SRODKI_TRWALE_AMORTYZACJA"),
              std::vector<std::string>{"20"});
    ado->execute("ALTER TABLE SRODKI_TRWALE_AMORTYZACJA ADD nowa TEXT(10)");
    EXPECT_EQ(
        dao::DBEngine::OpenDatabase(file)->TableDefs("SRODKI_TRWALE_AMORTYZACJA").FieldCount(), 3);
}

TEST_F(DatabaseTest, ObjectsOfAClosedDatabaseFail) {
    auto db = dao::DBEngine::OpenDatabase(make_db());
    db->Execute("CREATE TABLE T (a LONG)");
    dao::TableDef t = db->TableDefs("T");
    db->Close();
    db->Close();  // a second close does nothing
    EXPECT_NE(failure_of([&] { db->Execute("DELETE FROM T"); }), "");
    EXPECT_NE(failure_of([&] { t.Fields(0); }), "");
    EXPECT_NE(failure_of([&] { db->TableDefCount(); }), "");
}

}  // namespace
}  // namespace daotest
