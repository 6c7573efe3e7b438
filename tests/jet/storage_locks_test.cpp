// The process's own opens and closes of a database file that its connection has open:
// after each, another process still finds the connection's SQLite lock on the file, and
// its own open and close of the file leave the write-ahead log in place.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "jet/files.h"
#include "storage_util.h"

namespace {

using namespace storage_test;

void open_and_close(const std::string& path) {
    auto other = jet::Database::open(path);
    EXPECT_EQ(column_values(*other, "Towar", "Id").size(), 5u) << "the same session";
    other->close();
}

struct Case {
    const char* name;
    std::function<void(const std::string& path, std::shared_ptr<jet::Database>& db)> action;
};

const Case kCases[] = {
    {"nothing", [](const std::string&, std::shared_ptr<jet::Database>&) {}},
    {"a second handle", [](const std::string& path, auto&) { open_and_close(path); }},
    {"the file by a symbolic link",
     [](const std::string& path, auto&) {
         ASSERT_EQ(::symlink(path.c_str(), (path + ".sym").c_str()), 0);
         open_and_close(path + ".sym");
     }},
    {"a checked path", [](const std::string& path, auto&) { (void)jet::checked_path(path); }},
    {"a flush", [](const std::string& path, auto&) { jet::flush_file(path); }},
    {"a hold taken and ended", [](const std::string& path, auto&) { jet::FileHold h(path); }},
    {"another SQLite connection of the process",
     [](const std::string& path, auto&) {
         sqlite3* db = nullptr;
         ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
         sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
         sqlite3_close(db);
     }},
    {"a reopen",
     [](const std::string& path, std::shared_ptr<jet::Database>& db) {
         db->close();
         db = jet::Database::open(path);
     }},
};

// Each kind of open and close between two writes of an open database, in a process
// that holds the file before it opens it (as a conversion does) and in one whose first
// write takes the hold.
TEST(StorageLocks, AConnectionKeepsItsLocksThroughEveryOpenAndCloseOfTheProcess) {
    for (const bool held_first : {true, false}) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + (held_first ? ", held first" : ""));
            ScratchDir dir;
            const std::string path = dir.file("l.mdb");
            make_database(path);
            std::optional<jet::FileHold> run_hold;
            if (held_first) run_hold.emplace(path);
            auto db = jet::Database::open(path);
            insert_raw(*db, "Towar", {"Id"}, "(4)");
            db->checkpoint();
            insert_raw(*db, "Towar", {"Id"}, "(5)");  // uncommitted
            c.action(path, db);
            insert_raw(*db, "Towar", {"Id"}, "(6)");
            const SeenByOthers seen = seen_by_others(path);
            EXPECT_TRUE(seen.locked);
            EXPECT_TRUE(seen.log_kept);
            db->checkpoint();
            db->close();
            run_hold.reset();
            db = jet::Database::open(path);
            EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 6u);
        }
    }
}

// A reader of a file that another process holds reads it through cursors, and when its
// write is refused it keeps its lock: the holder's close cannot take it for gone.
TEST(StorageLocks, AWriteRefusedByAnotherProcesssHoldKeepsTheReadersLock) {
    ScratchDir dir;
    const std::string path = dir.file("r.mdb");
    make_database(path);
    OtherProcessHold holder(path);
    {
        auto db = jet::Database::open(path);
        auto rows = [&] {
            auto c = db->query("SELECT Id FROM Towar");  // a reader's cursor
            int n = 0;
            while (c->next()) ++n;
            return n;
        };
        EXPECT_EQ(rows(), 3);
        for (int attempt = 0; attempt < 3; ++attempt) {
            try {
                ddl(*db, "CREATE TABLE Druga (x long)");
                ADD_FAILURE() << "wrote a file that another process holds";
            } catch (const jet::Error& e) {
                EXPECT_EQ(e.description(), "Could not lock file.");
            }
        }
        EXPECT_TRUE(seen_by_others(path).locked);
        EXPECT_EQ(rows(), 3);
    }
    EXPECT_TRUE(holder.release());
}

}  // namespace
