// CompactDatabase: a complete copy (catalog, data, format version, password) under
// a new name, never over an existing file, never of a file in the middle of a
// transaction.
#include "../jet/sqlite_fault.h"
#include "support.h"

namespace daotest {
namespace {

class CompactTest : public DaoTest {
  protected:
    // An Access 97 file with every kind of catalog fact and some rows.
    std::string make_source() {
        const std::string file = make_db("baza.mdb", "3.0");
        auto db = engine(file);
        db->execute(
            "CREATE TABLE Klienci (id COUNTER CONSTRAINT pk PRIMARY KEY, "
            "nazwa TEXT(40), kwota CURRENCY)");
        db->execute(
            "CREATE TABLE Faktury (id LONG, klient LONG, "
            "CONSTRAINT FK FOREIGN KEY (klient) REFERENCES Klienci (id))");
        db->execute("CREATE INDEX indnazwa ON Klienci (nazwa)");
        for (int i = 0; i < 50; ++i)
            db->execute("INSERT INTO Klienci (nazwa, kwota) VALUES ('Łukasz " + std::to_string(i) +
                        "', 1.25)");
        db->execute("DELETE FROM Klienci WHERE id > 10");  // free pages for the compaction
        auto dao_db = dao::DBEngine::OpenDatabase(file);
        dao_db->TableDefs("Klienci").Fields("kwota").SetDefaultValue("0");
        dao_db->TableDefs("Klienci").Fields("nazwa").SetAllowZeroLength(true);
        return file;
    }
};

TEST_F(CompactTest, CopyCarriesCatalogDataAndFormatVersion) {
    const std::string source = make_source();
    const std::string copy = path("kopia.mdb");
    dao::DBEngine::CompactDatabase(source, copy, kLocale);

    auto db = dao::DBEngine::OpenDatabase(copy);
    EXPECT_EQ(db->Properties(6), "3.0");
    dao::TableDef k = db->TableDefs("Klienci");
    EXPECT_EQ(k.Fields("id").Attributes() & dao::dbAutoIncrField, dao::dbAutoIncrField);
    EXPECT_EQ(k.Fields("nazwa").Size(), 40);
    EXPECT_TRUE(k.Fields("nazwa").AllowZeroLength());
    EXPECT_EQ(k.Fields("kwota").DefaultValue(), "0");
    EXPECT_EQ(k.Indexes().size(), 2u);
    ASSERT_EQ(db->Relations().size(), 1u);
    EXPECT_EQ(db->Relations()[0].Name, "FK");
    EXPECT_EQ(column_texts(db->engine(), "SELECT count(*) & '|' & sum(kwota) FROM Klienci"),
              std::vector<std::string>{"10|12,5"});
    // The counter goes on from where it was, as the copy is the same database.
    db->Execute("INSERT INTO Klienci (nazwa) VALUES ('nowy')");
    EXPECT_EQ(column_texts(db->engine(), "SELECT kwota FROM Klienci WHERE nazwa = 'nowy'"),
              std::vector<std::string>{"0"});
    db->Close();

    // The password goes with the copy.
    EXPECT_NE(failure_of([&] { jet::Database::open(copy, "inne"); }), "");
    // No scratch file is left beside it.
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".compact-"), std::string::npos);
}

// The copy is rebuilt, not copied: the pages that deleted rows left free are gone.
TEST_F(CompactTest, CopyLeavesFreedSpaceBehind) {
    const std::string source = make_db();
    {
        auto db = engine(source);
        db->execute("CREATE TABLE T (id LONG, opis TEXT(255))");
        const std::string text(250, 'x');
        for (int i = 0; i < 4000; ++i)
            db->execute("INSERT INTO T (id, opis) VALUES (" + std::to_string(i) + ", '" + text +
                        "')");
        db->execute("DELETE FROM T WHERE id > 0");
    }
    const auto size_of = [](const std::string& f) {
        std::error_code ec;
        const auto wal = std::filesystem::file_size(f + "-wal", ec);
        return std::filesystem::file_size(f) + (ec ? 0 : wal);
    };
    ASSERT_GT(size_of(source), 1000000u);
    dao::DBEngine::CompactDatabase(source, path("kopia.mdb"));
    EXPECT_LT(size_of(path("kopia.mdb")), 200000u);
    EXPECT_EQ(column_texts(*engine(path("kopia.mdb")), "SELECT count(*) FROM T"),
              std::vector<std::string>{"1"});
}

TEST_F(CompactTest, ExistingDestinationIsRefusedAndKept) {
    const std::string source = make_source();
    const std::string dest = path("stara.mdb");
    { std::ofstream(dest) << "keep me"; }
    const std::string failure =
        failure_of([&] { dao::DBEngine::CompactDatabase(source, dest, kLocale); });
    EXPECT_NE(failure.find("already exists"), std::string::npos) << failure;
    std::ifstream in(dest);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
}

// A source open in this process gives its latest writes to the copy; one inside a
// user transaction is in use and is refused.
TEST_F(CompactTest, SourceOpenInThisProcess) {
    const std::string source = make_source();
    auto conn = engine(source);
    conn->execute("INSERT INTO Faktury (id, klient) VALUES (1, 1)");
    dao::DBEngine::CompactDatabase(source, path("kopia.mdb"));
    EXPECT_EQ(column_texts(*engine(path("kopia.mdb")), "SELECT count(*) FROM Faktury"),
              std::vector<std::string>{"1"});

    conn->begin_trans();
    conn->execute("INSERT INTO Faktury (id, klient) VALUES (2, 1)");
    EXPECT_NE(failure_of([&] { dao::DBEngine::CompactDatabase(source, path("kopia2.mdb")); }), "");
    EXPECT_FALSE(std::filesystem::exists(path("kopia2.mdb")));
    conn->rollback_trans();
    // The connection goes on working after the compaction.
    conn->execute("INSERT INTO Faktury (id, klient) VALUES (3, 1)");
    EXPECT_EQ(column_texts(*conn, "SELECT count(*) FROM Faktury"), std::vector<std::string>{"2"});
}

// The upgrade's last move: the database is deleted and the new file compacted into
// its name, then opened as the database.
TEST_F(CompactTest, CompactingIntoTheDeletedDatabasesName) {
    const std::string database = make_source();
    const std::string fresh = path("A2000_baza.mdb");
    dao::DBEngine::CreateDatabase(fresh, kLocale)->Execute("CREATE TABLE T (a LONG)");
    std::filesystem::remove(database);
    dao::DBEngine::CompactDatabase(fresh, database, kLocale);
    std::filesystem::remove(fresh);
    auto db = dao::DBEngine::OpenDatabase(database);
    EXPECT_EQ(db->Properties(6), "4.0");
    EXPECT_EQ(table_names(*db, false), std::vector<std::string>{"T"});
}

// A compaction that meets a failure of the file reports it as what it is (a full disk,
// an I/O error, a file that its own connection cannot open, named), so that the run stops
// on it as on any such failure, and leaves no copy.
TEST_F(CompactTest, FailureOfTheFileIsReportedAsItIs) {
    struct Case {
        int code;
        jet::Fault fault;
    };
    for (const Case& c :
         {Case{SQLITE_FULL, jet::Fault::DiskFull}, Case{SQLITE_IOERR_READ, jet::Fault::IoError},
          Case{SQLITE_IOERR_WRITE, jet::Fault::IoError},
          Case{SQLITE_CANTOPEN, jet::Fault::CannotOpen}}) {
        SCOPED_TRACE(c.code);
        const std::string source = make_source();
        auto conn = engine(source);  // its session is the one the compaction uses
        const std::string copy = path("kopia.mdb");
        std::optional<jet::Error> failure;
        {
            sqlite_fault::FailingFiles failing(c.code, nullptr);
            std::optional<sqlite_fault::FailingOpens> opens;
            if (c.code == SQLITE_CANTOPEN) opens.emplace();
            try {
                dao::DBEngine::CompactDatabase(source, copy);
            } catch (const jet::Error& e) {
                failure = e;
            }
        }
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->fault(), c.fault) << failure->description();
        EXPECT_TRUE(jet::environment_failure(*failure));
        if (c.fault == jet::Fault::CannotOpen) {
            EXPECT_NE(failure->description().find(source), std::string::npos)
                << failure->description();
        }
        EXPECT_FALSE(std::filesystem::exists(copy));
        conn.reset();
        std::filesystem::remove(source);
    }
}

}  // namespace
}  // namespace daotest
