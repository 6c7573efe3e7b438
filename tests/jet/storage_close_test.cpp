// A close whose commit fails reports it and leaves the file as of its last commit; the
// last close of a writer leaves its whole result in the file itself.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sqlite_fault.h"
#include "storage_util.h"

namespace {

using namespace storage_test;
using sqlite_fault::FullLog;

const std::vector<std::string> kCommitted = {"1", "2", "3"};

// The closes that commit: each ends with the file's last handle going after an insert
// of 4, the log full. It returns the failure that the closing call raised.
struct Close {
    const char* name;
    std::function<std::optional<jet::Error>(const std::string& path, FullLog& disk)> run;
    bool reported;  // a close() call, not a destructor
};

std::optional<jet::Error> failure_of(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const jet::Error& e) {
        return e;
    }
    return std::nullopt;
}

// A close whose commit fails raises the failure (the handle is closed all the same) and
// the file stays as of its last commit; with space again it opens and takes writes. A
// handle destroyed without close() closes the same way, silently, as its last resort.
TEST(StorageClose, ACommitThatFailsIsRaisedAndTheFileKeepsItsLastCommit) {
    const Close closes[] = {
        {"the only handle",
         [](const std::string& path, FullLog& disk) {
             auto db = jet::Database::open(path);
             db->execute("INSERT INTO Towar (Id) VALUES (4)");
             disk.set_full(true);
             auto e = failure_of([&] { db->close(); });
             EXPECT_FALSE(db->is_open());
             return e;
         },
         true},
        {"the last of two handles",
         [](const std::string& path, FullLog& disk) {
             auto first = jet::Database::open(path);
             auto last = jet::Database::open(path);
             first->execute("INSERT INTO Towar (Id) VALUES (4)");
             disk.set_full(true);
             EXPECT_FALSE(failure_of([&] { first->close(); })) << "nothing is committed yet";
             return failure_of([&] { last->close(); });
         },
         true},
        {"a handle destroyed unclosed",
         [](const std::string& path, FullLog& disk) {
             auto db = jet::Database::open(path);
             db->execute("INSERT INTO Towar (Id) VALUES (4)");
             disk.set_full(true);
             db.reset();
             return std::optional<jet::Error>();
         },
         false},
    };
    for (const Close& c : closes) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = dir.file("a.mdb");
        make_database(path);
        FullLog disk;
        const std::optional<jet::Error> e = c.run(path, disk);
        disk.set_full(false);
        ASSERT_EQ(e.has_value(), c.reported) << "the close reported what failed";
        if (e) {
            EXPECT_EQ(e->fault(), jet::Fault::DiskFull) << e->description();
        }
        auto db = jet::Database::open(path);
        EXPECT_EQ(column_values(*db, "Towar", "Id"), kCommitted);
        db->execute("INSERT INTO Towar (Id) VALUES (5)");
        db->close();
        db = jet::Database::open(path);
        EXPECT_EQ(column_values(*db, "Towar", "Id"),
                  (std::vector<std::string>{"1", "2", "3", "5"}));
        db->close();
    }
}

// A failure that makes SQLite roll the grouped transaction back (a full disk met while
// its pages spill to the log) takes every write since the last commit with it, also
// outside a work unit: the statement that met it reports it, and every later write and
// the close report that the work is lost, instead of committing the later writes alone
// as if the earlier had been stored.
TEST(StorageClose, WritesLostSinceTheLastCommitAreReportedUntilTheClose) {
    ScratchDir dir;
    const std::string path = dir.file("a.mdb");
    make_database(path);
    FullLog disk;
    auto db = jet::Database::open(path);
    ddl(*db, "CREATE TABLE Duza (t memo)");
    db->checkpoint();
    db->execute("INSERT INTO Towar (Id) VALUES (4)");
    disk.set_full(true);
    std::optional<jet::Error> spill = failure_of([&] {
        for (int i = 0; i < 1500; ++i)
            db->execute("INSERT INTO Duza (t) VALUES ('" + std::string(8000, char('a' + i % 26)) +
                        "')");
    });
    disk.set_full(false);
    ASSERT_TRUE(spill) << "the pages never spilled to the log";
    EXPECT_EQ(spill->fault(), jet::Fault::DiskFull) << spill->description();
    const auto lost = [](const std::optional<jet::Error>& e) {
        return e && e->fault() == jet::Fault::UnitRolledBack;
    };
    EXPECT_TRUE(lost(failure_of([&] { db->execute("INSERT INTO Towar (Id) VALUES (5)"); })));
    EXPECT_TRUE(lost(failure_of([&] { db->close(); })));
    db = jet::Database::open(path);
    EXPECT_EQ(column_values(*db, "Towar", "Id"), kCommitted);
    db->execute("INSERT INTO Towar (Id) VALUES (6)");
    db->close();
    db = jet::Database::open(path);
    EXPECT_EQ(column_values(*db, "Towar", "Id"), (std::vector<std::string>{"1", "2", "3", "6"}));
    db->close();
}

// How a reader of another process keeps its read snapshot while a writer closes.
enum class Snapshot { none, let_go_during_the_close, kept };

// Another process that has read the file at path through the engine (every row of
// Towar) by the end of the construction, and keeps the file open until release(); with a
// snapshot it keeps a cursor half read, holding its read snapshot, as the writer closes
// (after order()).
class OtherProcessReader : public OtherProcess {
  public:
    OtherProcessReader(const std::string& path, Snapshot snapshot)
        : OtherProcess([&](OtherProcess& self) {
              auto db = jet::Database::open(path);
              auto rows = db->query("SELECT Id FROM Towar");
              while (rows->next()) {
              }
              rows.reset();
              if (snapshot != Snapshot::none) {
                  rows = db->query("SELECT Id FROM Towar");
                  rows->next();
              }
              self.ready();
              self.await();
              if (snapshot == Snapshot::let_go_during_the_close) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(300));
                  rows.reset();
              }
              self.await();
              rows.reset();
              db->close();
          }) {}
};

// The close of a session that wrote, made to leave the file whole (a conversion's last),
// copies the log into the file, also while a reader of another process has the file
// open, so that the file copied alone holds every commit; a reader that keeps its
// snapshot past the close's wait keeps the last commits in the log, and the close says
// so (the file alone is then as before them). Any other close waits for no reader and
// leaves the log beside the file they have open, saying nothing. The reader, which
// opened before the writer began, writes nothing at its close: the log stays beside an
// unchanged file, and the next writer completes the file.
TEST(StorageClose, TheLastCloseOfAWriterLeavesTheWholeResultInTheFile) {
    const struct {
        const char* name;
        Snapshot snapshot;
        bool last;   // leave_file_whole_at_close before the close
        bool whole;  // the file alone holds the insert
    } cases[] = {
        {"an idle reader", Snapshot::none, true, true},
        {"a reader that lets its snapshot go during the wait", Snapshot::let_go_during_the_close,
         true, true},
        {"a reader that keeps its snapshot", Snapshot::kept, true, false},
        {"an ordinary close, an idle reader", Snapshot::none, false, false},
        {"an ordinary close, a reader that keeps its snapshot", Snapshot::kept, false, false},
    };
    const std::vector<std::string> all = {"1", "2", "3", "4"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = dir.file("a.mdb");
        make_database(path);
        OtherProcessReader reader(path, c.snapshot);
        auto db = jet::Database::open(path);
        db->execute("INSERT INTO Towar (Id) VALUES (4)");
        reader.order();  // the writer closes now
        if (c.last) db->leave_file_whole_at_close();
        const auto start = std::chrono::steady_clock::now();
        db->close();
        if (!c.last) {
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
                << "the close waited for the reader";
        }
        const std::optional<jet::Error> left = jet::Database::log_not_copied(path);
        EXPECT_EQ(left.has_value(), c.last && !c.whole);
        if (left) {
            EXPECT_EQ(left->fault(), jet::Fault::FileLocked) << left->description();
        }
        const std::string alone = dir.file("alone.mdb");
        write_bytes(alone, read_bytes(path));
        db = jet::Database::open(alone);
        EXPECT_EQ(column_values(*db, "Towar", "Id"), c.whole ? all : kCommitted);
        db->close();

        const std::string file = read_bytes(path);
        EXPECT_TRUE(reader.release());
        EXPECT_TRUE(read_bytes(path) == file) << "the reader's close wrote to the file";
        EXPECT_TRUE(std::filesystem::exists(path + "-wal"));
        db = jet::Database::open(path);
        EXPECT_EQ(column_values(*db, "Towar", "Id"), all);
        db->execute("INSERT INTO Towar (Id) VALUES (5)");
        db->close();
        EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
    }
}

}  // namespace
