// Opening and creating database files, sessions shared by handles, the grouped
// write transaction, user transactions and durability across a killed process.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "jet/files.h"
#include "jet/rowaccess.h"
#include "storage_util.h"

namespace {

using namespace storage_test;

struct FileState {
    std::string bytes;
    struct timespec mtime {};
    friend bool operator==(const FileState& a, const FileState& b) {
        return a.bytes == b.bytes && a.mtime.tv_sec == b.mtime.tv_sec &&
               a.mtime.tv_nsec == b.mtime.tv_nsec;
    }
};

FileState state_of(const std::string& path) {
    FileState s;
    s.bytes = read_bytes(path);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) s.mtime = st.st_mtim;
    return s;
}

// A database of ours with one table of a few hundred rows, committed and closed.
void make_database(const std::string& path, const std::string& password = {}) {
    jet::CreateOptions o;
    o.password = password;
    jet::Database::create(path, o);
    auto db = jet::Database::open(path, password);
    ddl(*db, "CREATE TABLE Towar (Id long, Nazwa text(80))");
    for (int i = 0; i < 400; ++i)
        insert_raw(*db, "Towar", {"Id", "Nazwa"},
                   "(" + std::to_string(i) + ", 'towar numer " + std::to_string(i) + "')");
    ddl(*db, "CREATE UNIQUE INDEX UnicNumer ON Towar (Id)");
    db->close();
}

TEST(StorageOpen, FailuresNameTheCauseAndLeaveTheFileUntouched) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* password;
        uint32_t number;
        const char* fragment;
    };
    const Case cases[] = {
        {"missing file", [](const std::string&) {}, "", 0x80004005, "Could not find file"},
        {"text file", [](const std::string& p) { write_bytes(p, "Towar;Nazwa\n1;chleb\n"); }, "",
         0x80004005, "Unrecognized database format"},
        {"empty file", [](const std::string& p) { write_bytes(p, ""); }, "", 0x80004005,
         "Unrecognized database format"},
        {"random bytes",
         [](const std::string& p) {
             std::string b(16384, '\0');
             uint32_t x = 12345;
             for (auto& c : b) c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);
             write_bytes(p, b);
         },
         "", 0x80004005, "Unrecognized database format"},
        {"foreign SQLite file",
         [](const std::string& p) {
             sqlite3* db = nullptr;
             sqlite3_open(p.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE x(a); INSERT INTO x VALUES (1)", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
         },
         "", 0x80004005, "Unrecognized database format"},
        {"truncated database",
         [](const std::string& p) {
             make_database(p);
             std::string b = read_bytes(p);
             write_bytes(p, b.substr(0, b.size() / 2));
         },
         "", 0x80004005, "Unrecognized database format"},
        {"truncated in a page",
         [](const std::string& p) {
             make_database(p);
             std::string b = read_bytes(p);
             write_bytes(p, b.substr(0, b.size() - 100));
         },
         "", 0x80004005, "Unrecognized database format"},
        {"damaged page",
         [](const std::string& p) {
             make_database(p);
             std::string b = read_bytes(p);
             for (size_t i = b.size() - 4096 + 8; i < b.size() - 8; ++i) b[i] = '\x5a';
             write_bytes(p, b);
         },
         "", 0x80004005, "Unrecognized database format"},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }, "",
         0x80004005, "it is a folder, not a database file"},
        {"foreign SQLite file in WAL mode",
         [](const std::string& p) {
             sqlite3* db = nullptr;
             sqlite3_open(p.c_str(), &db);
             sqlite3_exec(db,
                          "PRAGMA journal_mode=WAL; CREATE TABLE x(a); INSERT INTO x VALUES (1)",
                          nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "", 0x80004005, "Unrecognized database format"},
        {"database with a damaged format field",
         [](const std::string& p) {
             make_database(p);
             std::string b = read_bytes(p);
             b[21] = 63;  // the maximum embedded payload fraction is always 64
             write_bytes(p, b);
         },
         "", 0x80004005, "Unrecognized database format"},
        {"wrong password", [](const std::string& p) { make_database(p, "Tajne1"); }, "tajne1",
         0x80040E4D, "Not a valid password"},
        {"no password given", [](const std::string& p) { make_database(p, "Tajne1"); }, "",
         0x80040E4D, "Not a valid password"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = dir.file("baza.mdb");
        c.make(path);
        const FileState before = state_of(path);
        const auto listing = files_in(std::filesystem::path(path).parent_path());
        try {
            jet::Database::open(path, c.password);
            ADD_FAILURE() << "opened";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_NE(e.description().find(c.fragment), std::string::npos) << e.description();
        }
        EXPECT_TRUE(state_of(path) == before);
        EXPECT_EQ(files_in(std::filesystem::path(path).parent_path()), listing)
            << "no file is created beside a refused one";
    }
}

// A catalog changed with sqlite3 so that it breaks one of its rules is refused at the
// open as a damaged database, saying what is wrong, before anything is written; a dropped
// column that no rebuild has taken out of its table yet breaks none. A file whose next
// free object number runs out refuses the object that would take its last number, and
// opens still.
TEST(StorageOpen, ACatalogThatBreaksItsRulesIsRefusedAsDamaged) {
    struct Case {
        const char* name;
        const char* sql;
        const char* fragment;        // nullptr: the file opens
        const char* then = nullptr;  // run after the open
    };
    const Case cases[] = {
        {"whole", "", nullptr},
        {"NextId at its bound",
         "update MSysJetProperties set value='9223372036854775807' where name='NextId'",
         "its next free object number (9223372036854775807) leaves no room for a new object"},
        {"NextId one below its bound, a table and its field made",
         "update MSysJetProperties set value='9223372036854775806' where name='NextId'",
         "its next free object number (9223372036854775806) leaves no room for a new object",
         "CREATE TABLE Nowa (a long)"},
        {"NextId two below its bound, a table and its field made",
         "update MSysJetProperties set value='9223372036854775805' where name='NextId'",
         "its next free object number (9223372036854775806) leaves no room for a new object",
         "CREATE TABLE Nowa (a long)"},
        {"dropped column left in its table", "delete from MSysJetColumns where name='Cena'",
         nullptr},
        {"NextId below the ids in use",
         "update MSysJetProperties set value='5' where name='NextId'",
         "its next free object number (5) is not above the numbers in use (up to 8)"},
        {"negative NextId", "update MSysJetProperties set value='-1' where name='NextId'",
         "its next free object number (-1)"},
        {"NextId not a number", "update MSysJetProperties set value='9x' where name='NextId'",
         "its next free object number is missing or not a number"},
        {"two tables of one name", "update MSysJetTables set name='TOWAR' where name='Klient'",
         "more than one table is named 'TOWAR'"},
        {"two columns of one name", "update MSysJetColumns set name='NAZWA' where name='Cena'",
         "table 'Towar' has more than one field named 'NAZWA'"},
        {"column without its SQLite column",
         "update MSysJetColumns set sql_name='c99' where name='Cena'",
         "field 'Cena' of table 'Towar' is missing from the file"},
        {"table without its SQLite table",
         "update MSysJetTables set sql_name='t99' where name='Klient'",
         "table 'Klient' is missing from the file"},
        {"index without its SQLite index", "update MSysJetIndexes set sql_name='i99'",
         "index 'UnicNumer' of table 'Towar' is missing from the file"},
        {"two tables on one SQLite table",
         "update MSysJetTables set sql_name=(select min(sql_name) from MSysJetTables)",
         "table 'Klient' shares its data with another"},
        {"two columns on one SQLite column",
         "update MSysJetColumns set sql_name=(select min(sql_name) from MSysJetColumns) where "
         "name='Cena'",
         "field 'Cena' of table 'Towar' shares its data with another"},
        {"unknown type code", "update MSysJetColumns set type=99 where name='Cena'",
         "field 'Cena' of table 'Towar' has an unknown type (99)"},
        {"format version missing", "delete from MSysJetProperties where name='FormatVersion'",
         "its format version is missing"},
        {"unknown format version",
         "update MSysJetProperties set value='5.0' where name='FormatVersion'",
         "its format version '5.0' is unknown"},
    };
    ScratchDir dir;
    const std::string made = dir.file("made.mdb"), path = dir.file("baza.mdb");
    jet::Database::create(made);
    {
        auto db = jet::Database::open(made);
        ddl(*db, "CREATE TABLE Towar (Id long, Nazwa text(80), Cena currency)");
        ddl(*db, "CREATE TABLE Klient (Id long, Nazwa text(50))");
        ddl(*db, "CREATE UNIQUE INDEX UnicNumer ON Towar (Id)");
        insert_raw(*db, "Towar", {"Id", "Nazwa", "Cena"}, "(1, 'chleb', 2.5)");
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::copy_file(made, path, std::filesystem::copy_options::overwrite_existing);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        sqlite3_exec(other, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        EXPECT_EQ(sqlite3_exec(other, c.sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        const FileState before = state_of(path);
        const auto listing = files_in(dir.file(""));
        try {
            auto db = jet::Database::open(path);
            if (c.then) ddl(*db, c.then);
            db->close();
            EXPECT_FALSE(c.fragment) << "opened";
        } catch (const jet::Error& e) {
            ASSERT_TRUE(c.fragment) << e.description();
            EXPECT_EQ(e.fault(), jet::Fault::DamagedDatabase);
            EXPECT_EQ(e.number(), 0x80004005u);
            EXPECT_TRUE(jet::environment_failure(e));
            EXPECT_EQ(e.description().rfind("The database '" + path + "' is damaged: ", 0), 0u)
                << e.description();
            EXPECT_NE(e.description().find(c.fragment), std::string::npos) << e.description();
            if (c.then) {
                auto db = jet::Database::open(path);  // opens still, without the new table
                EXPECT_THROW(db->query("SELECT a FROM Nowa"), jet::Error);
                db->close();
                continue;
            }
            EXPECT_TRUE(state_of(path) == before);
            EXPECT_EQ(files_in(dir.file("")), listing);
        }
    }
}

// The file is inspected through an SQLite URI: names with the URI's own characters
// still name the file.
TEST(StorageOpen, NamesWithUriCharactersOpen) {
    for (const char* name : {"baza?mode=memory.mdb", "baza#1.mdb", "baza%20x.mdb", "b&a=za.mdb"}) {
        SCOPED_TRACE(name);
        ScratchDir dir;
        make_database(dir.file(name));
        auto db = jet::Database::open(dir.file(name));
        EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 400u);
    }
}

// A path is taken up to the engine's limit (504 bytes, canonical); a longer one is
// refused as too long, not as a file of another format.
TEST(StorageOpen, PathsLongerThanTheEngineTakesAreRefusedAsTooLong) {
    ScratchDir dir;
    const std::string root = std::filesystem::path(dir.file("x")).parent_path().string();
    for (size_t length : {jet::kMaxPathBytes, jet::kMaxPathBytes + 1, size_t{600}}) {
        SCOPED_TRACE(length);
        std::string folder = root;
        while (folder.size() + 1 + 200 < length) folder += "/" + std::string(200, 'k');
        std::filesystem::create_directories(folder);
        const std::string path = folder + "/" + std::string(length - folder.size() - 1, 'b');
        ASSERT_EQ(path.size(), length);
        make_database(dir.file("krotka.mdb"));
        std::filesystem::rename(dir.file("krotka.mdb"), path);
        try {
            auto db = jet::Database::open(path);
            EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 400u);
            EXPECT_LE(length, jet::kMaxPathBytes);
        } catch (const jet::Error& e) {
            EXPECT_GT(length, jet::kMaxPathBytes);
            EXPECT_EQ(e.number(), 0x80004005u);
            EXPECT_NE(e.description().find("is too long"), std::string::npos) << e.description();
        }
        std::filesystem::remove(path);
    }
}

TEST(StorageOpen, PasswordOpensOnlyItsFileAndAFileWithoutOneOpensWithAny) {
    ScratchDir dir;
    make_database(dir.file("z.mdb"), "Tajne1");
    make_database(dir.file("bez.mdb"));
    EXPECT_NO_THROW(jet::Database::open(dir.file("z.mdb"), "Tajne1"));
    EXPECT_NO_THROW(jet::Database::open(dir.file("bez.mdb"), "cokolwiek"));
    auto db = jet::Database::open(dir.file("z.mdb"), "Tajne1");
    // The session is live: a second handle still needs the password.
    EXPECT_THROW(jet::Database::open(dir.file("z.mdb"), "zle"), jet::Error);
}

TEST(StorageOpen, CreateRefusesAnExistingFileAndKeepsItsProperties) {
    ScratchDir dir;
    const std::string path = dir.file("nowa.mdb");
    write_bytes(path, "cokolwiek");
    try {
        jet::Database::create(path);
        ADD_FAILURE() << "created over an existing file";
    } catch (const jet::Error& e) {
        EXPECT_NE(e.description().find("already exists"), std::string::npos);
    }
    EXPECT_EQ(read_bytes(path), "cokolwiek");

    const std::string p97 = dir.file("stara.mdb");
    jet::Database::create(p97, {"3.0", ";LANGID=0x0415;CP=1250;COUNTRY=0", ""});
    auto db = jet::Database::open(p97);
    EXPECT_EQ(db->catalog().properties().format_version, "3.0");
    EXPECT_EQ(db->catalog().properties().locale, ";LANGID=0x0415;CP=1250;COUNTRY=0");
    EXPECT_TRUE(db->catalog().tables().empty());
    for (const auto& name : db->catalog().system_table_names())
        EXPECT_EQ(name.rfind("MSys", 0), 0u);
}

// A file that cannot be created says why, and nothing is left behind.
TEST(StorageOpen, CreateSaysWhyItCannotCreate) {
    struct Case {
        const char* name;
        std::string path;  // under the scratch folder
        const char* fragment;
    };
    const Case cases[] = {
        {"an existing file", "plik", "already exists"},
        {"a folder", "katalog", "it is a folder, not a database file"},
        {"a file on the way", "plik/nowa.mdb", "'PATH/plik' is a file, not a folder"},
        {"a missing folder", "brak/nowa.mdb", "Could not find file"},
        {"a path too long", std::string(600, 'n') + ".mdb", "too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        write_bytes(dir.file("plik"), "cokolwiek");
        std::filesystem::create_directory(dir.file("katalog"));
        const auto listing = files_in(dir.file(""));
        std::string fragment = c.fragment;
        if (const auto at = fragment.find("PATH"); at != std::string::npos)
            fragment.replace(at, 4, dir.file("").substr(0, dir.file("").size() - 1));
        try {
            jet::Database::create(dir.file(c.path));
            ADD_FAILURE() << "created";
        } catch (const jet::Error& e) {
            EXPECT_NE(e.description().find(fragment), std::string::npos) << e.description();
        }
        EXPECT_EQ(files_in(dir.file("")), listing);
        EXPECT_EQ(read_bytes(dir.file("plik")), "cokolwiek");
    }
}

TEST(StorageSession, HandlesOnOneFileShareTheSession) {
    ScratchDir dir;
    make_database(dir.file("a.mdb"));
    auto a = jet::Database::open(dir.file("a.mdb"));
    auto b = jet::Database::open(dir.file("./a.mdb"));
    EXPECT_EQ(&a->session(), &b->session());
    ddl(*a, "CREATE TABLE Nowa (x long)");
    insert_raw(*a, "Nowa", {"x"}, "(7)");
    EXPECT_EQ(column_values(*b, "nowa", "X"), std::vector<std::string>{"7"});
    a->close();
    EXPECT_FALSE(a->is_open());
    EXPECT_EQ(column_values(*b, "Nowa", "x"), std::vector<std::string>{"7"});
    b->close();
    // The last close committed.
    auto c = jet::Database::open(dir.file("a.mdb"));
    EXPECT_EQ(column_values(*c, "Nowa", "x"), std::vector<std::string>{"7"});
}

TEST(StorageSession, UserTransactionsNestAndRollBackSchemaAndData) {
    ScratchDir dir;
    make_database(dir.file("t.mdb"));
    auto db = jet::Database::open(dir.file("t.mdb"));
    EXPECT_EQ(db->begin_trans(), 1);
    ddl(*db, "CREATE TABLE Kept (x long)");
    EXPECT_EQ(db->begin_trans(), 2);
    ddl(*db, "CREATE TABLE Lost (x long)");
    insert_raw(*db, "Kept", {"x"}, "(1)");
    db->rollback_trans();
    EXPECT_EQ(db->trans_level(), 1);
    EXPECT_EQ(db->catalog().table("Lost"), nullptr);
    EXPECT_TRUE(column_values(*db, "Kept", "x").empty());
    db->commit_trans();
    EXPECT_EQ(db->trans_level(), 0);
    EXPECT_NE(db->catalog().table("Kept"), nullptr);
    try {
        db->commit_trans();
        ADD_FAILURE();
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 0x80004005u);
    }
}

TEST(StorageSession, AFailingStatementChangesNothing) {
    ScratchDir dir;
    make_database(dir.file("f.mdb"));
    auto db = jet::Database::open(dir.file("f.mdb"));
    const uint64_t before = db->catalog().version();
    EXPECT_EQ(ddl_error(*db, "CREATE TABLE Pol (a long, b text(5), CONSTRAINT pk PRIMARY KEY (c))"),
              0x80040E14u);
    EXPECT_EQ(db->catalog().table("Pol"), nullptr);
    EXPECT_EQ(db->catalog().tables().size(), 1u);
    EXPECT_NE(db->catalog().version(), before);  // reloaded: cached translations are stale
    // The same name is free afterwards.
    EXPECT_EQ(ddl_error(*db, "CREATE TABLE Pol (a long)"), 0u);
}

// Runs body in a child process that ends without closing the database body
// returns (no destructor runs: the process is gone as if killed).
void in_killed_child(const std::function<std::shared_ptr<jet::Database>()>& body) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        try {
            auto open_to_the_end = body();
            _exit(0);
        } catch (...) {
            _exit(3);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

TEST(StorageDurability, AKilledProcessLeavesTheFileAsOfTheLastCommit) {
    ScratchDir dir;
    const std::string path = dir.file("k.mdb");
    make_database(path);
    in_killed_child([&] {
        auto db = jet::Database::open(path);
        ddl(*db, "CREATE TABLE Zatwierdzona (x long)");
        insert_raw(*db, "Zatwierdzona", {"x"}, "(1), (2)");
        db->checkpoint();
        ddl(*db, "CREATE TABLE Utracona (x long)");
        insert_raw(*db, "Zatwierdzona", {"x"}, "(3)");
        raw(*db, "DELETE FROM " + db->catalog().table("Towar")->sql_name);
        return db;
    });
    auto db = jet::Database::open(path);
    EXPECT_EQ(column_values(*db, "Zatwierdzona", "x"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(db->catalog().table("Utracona"), nullptr);
    EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 400u);
}

TEST(StorageDurability, CheckpointInsideAUserTransactionCommitsNothing) {
    ScratchDir dir;
    const std::string path = dir.file("u.mdb");
    make_database(path);
    in_killed_child([&] {
        auto db = jet::Database::open(path);
        db->begin_trans();
        ddl(*db, "CREATE TABLE WTransakcji (x long)");
        db->checkpoint();
        return db;
    });
    auto db = jet::Database::open(path);
    EXPECT_EQ(db->catalog().table("WTransakcji"), nullptr);
}

// A process that writes a file holds it until it closes it: another process still
// opens and reads the file, and its first write is refused at once as locked.
TEST(StorageLocking, AFileWrittenByAnotherProcessRefusesWritesAndServesReads) {
    ScratchDir dir;
    const std::string path = dir.file("l.mdb");
    make_database(path);
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        auto db = jet::Database::open(path);
        ddl(*db, "CREATE TABLE Pisana (x long)");
        char c = 1;
        if (write(ready[1], &c, 1) != 1) _exit(2);
        if (read(done[0], &c, 1) != 1) _exit(2);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    {
        auto db = jet::Database::open(path);
        EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 400u);
        const auto start = std::chrono::steady_clock::now();
        try {
            ddl(*db, "CREATE TABLE Druga (x long)");
            ADD_FAILURE() << "wrote a file held by another process";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), 0x80004005u);
            EXPECT_EQ(e.description(), "Could not lock file.");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "at once";
        EXPECT_EQ(db->catalog().table("Druga"), nullptr);
    }
    ASSERT_EQ(write(done[1], &c, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    auto db = jet::Database::open(path);
    EXPECT_NO_THROW(ddl(*db, "CREATE TABLE Druga (x long)"));
}

// A reader reads the catalog and the rows of one committed state, and a writer plans from
// the catalog as committed: the next query or write (a statement, a change through the
// catalog as DAO makes it, a recordset's row) after another process's commit meets that
// commit, and the file opens again with every value; a query read across it keeps its state.
TEST(StorageLocking, ReadersAndWritersMeetTheCatalogAsCommitted) {
    using Write = std::function<void(jet::Database&)>;
    auto sql = [](const char* t) -> Write { return [=](jet::Database& d) { d.execute(t); }; };
    const Write dao_drop = [](jet::Database& db) {
        db.session().atomic([&] { db.session().catalog().drop_column("T", "b"); });
    };
    const jet::ColumnValues z = {{"c", jet::Value::text("z")}};
    const Write row_added = [&](jet::Database& db) { jet::insert_row(db, "T", z); };
    const Write row_changed = [&](jet::Database& db) { jet::update_row(db, "T", 2, z); };
    const std::vector<std::string> rebuild = {"DROP TABLE T", "CREATE TABLE T (v long, b text)",
                                              "INSERT INTO T (v, b) VALUES (3, 'r')"};
    const std::vector<std::string> add = {"ALTER TABLE T ADD c text", "UPDATE T SET c = b & '!'"};
    const struct {
        const char* name;
        const std::vector<std::string>& other;  // what the other process commits
        bool inside;                            // ... after the reader's query read its first row
        Write write;                            // what the reader writes after the commit
        const char* rows;                       // what its next query reads, and a reopen's
    } cases[] = {
        {"a commit between the open and a query", rebuild, false, nullptr, "3|r"},
        {"a commit while a query reads", rebuild, true, nullptr, "3|r"},
        {"INSERT, rebuilt", rebuild, false, sql("INSERT INTO T (v) VALUES (4)"), "3|r 4|Null"},
        {"DROP COLUMN", add, false, sql("ALTER TABLE T DROP COLUMN b"), "1|p! 2|q!"},
        {"ADD COLUMN", add, false, sql("ALTER TABLE T ADD d long"), "1|p|p!|Null 2|q|q!|Null"},
        {"DROP COLUMN through the catalog", add, false, dao_drop, "1|p! 2|q!"},
        {"UPDATE", add, false, sql("UPDATE T SET c = c & c WHERE b = 'p'"), "1|p|p!p! 2|q|q!"},
        {"DELETE", add, false, sql("DELETE FROM T WHERE c = 'p!'"), "2|q|q!"},
        {"a recordset's row added", add, false, row_added, "1|p|p! 2|q|q! Null|Null|z"},
        {"a recordset's row changed", add, false, row_changed, "1|p|p! 2|q|z"},
    };
    const char* select = "SELECT * FROM T";
    auto rest = [](jet::Cursor& rows) {
        std::string out;
        while (rows.next()) {
            for (size_t i = 0; i < rows.columns().size(); ++i) {
                const jet::Value v = rows.value(static_cast<int>(i));
                out += (i ? "|" : out.empty() ? "" : " ") + (v.is_null() ? "Null" : v.to_text());
            }
        }
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = dir.file("r.mdb");
        jet::Database::create(path);
        {
            auto db = jet::Database::open(path);
            db->execute("CREATE TABLE T (v long, b text)");
            insert_raw(*db, "T", {"v", "b"}, "(1, 'p'), (2, 'q')");
        }
        OtherProcess other([&](OtherProcess& self) {
            self.ready();
            self.await();
            auto db = jet::Database::open(path);
            for (const auto& text : c.other) db->execute(text);
            db->close();
        });
        auto reader = jet::Database::open(path);
        std::unique_ptr<jet::Cursor> rows = c.inside ? reader->query(select) : nullptr;
        ASSERT_TRUE(!rows || rows->next());
        ASSERT_TRUE(other.release());  // the change is committed
        EXPECT_EQ(rows ? rest(*rows) : "", c.inside ? "2|q" : "") << "the state it began with";
        auto read = [&](std::shared_ptr<jet::Database> db) {  // the rows, or why none
            try {
                if (c.write && db) c.write(*db);
                return rest(*(db ? db : jet::Database::open(path))->query(select));
            } catch (const jet::Error& e) {
                return e.description();
            }
        };
        EXPECT_EQ(read(reader), c.rows);
        EXPECT_NO_THROW(reader->close());
        EXPECT_EQ(read(nullptr), c.rows) << "after a reopen";
    }
}

// The page-count check of a header is for files without a log: a run stopped inside a
// checkpoint leaves page 1 copied from the log into a file that is not yet extended
// (or extended by part of a page when the disk filled); SQLite's recovery completes it.
TEST(StorageDurability, ADatabaseStoppedInsideACheckpointOpensWithItsCommittedRows) {
    enum Variant { HeaderOnly, PartialPage, IndexLost };
    for (Variant v : {HeaderOnly, PartialPage, IndexLost}) {
        SCOPED_TRACE(v);
        const bool partial_page = v == PartialPage;
        ScratchDir dir;
        const std::string path = dir.file("c.mdb");
        make_database(path);
        in_killed_child([&] {
            auto db = jet::Database::open(path);
            ddl(*db, "CREATE TABLE Nowa (x long, t text(200))");
            for (int i = 0; i < 300; ++i)
                insert_raw(*db, "Nowa", {"x", "t"},
                           "(" + std::to_string(i) + ", '" + std::string(150, 'n') + "')");
            db->checkpoint();
            return db;
        });
        const std::string wal = read_bytes(path + "-wal");
        ASSERT_GT(wal.size(), 32u);
        const uint32_t page = (uint8_t(wal[8]) << 24) | (uint8_t(wal[9]) << 16) |
                              (uint8_t(wal[10]) << 8) | uint8_t(wal[11]);
        std::string file = read_bytes(path);
        std::string last_first_page;
        for (size_t at = 32; at + 24 + page <= wal.size(); at += 24 + page)
            if (wal.compare(at, 4, std::string("\0\0\0\1", 4)) == 0)
                last_first_page = wal.substr(at + 24, page);
        ASSERT_EQ(last_first_page.size(), page);
        file.replace(0, page, last_first_page);
        if (partial_page) file += std::string(page / 2, '\0');
        write_bytes(path, file);
        if (v == IndexLost) std::filesystem::remove(path + "-shm");

        auto db = jet::Database::open(path);
        EXPECT_EQ(column_values(*db, "Nowa", "x").size(), 300u);
        EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 400u);
        db->close();
        EXPECT_EQ(read_bytes(path), file) << "a reader leaves the checkpoint to a writer";
        db = jet::Database::open(path);
        insert_raw(*db, "Towar", {"Id"}, "(400)");
        db->close();
        EXPECT_EQ(read_bytes(path).size() % page, 0u) << "the checkpoint completed the file";
        EXPECT_NO_THROW(jet::Database::open(path));
    }
}

}  // namespace
