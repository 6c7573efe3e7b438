// SQLite's failures classed by their result code: each code gives its engine condition,
// whatever message SQLite left on the connection, and a failure of the environment is one
// raised or carried as its number and description alike.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "jet/error.h"
#include "jet/session.h"
#include "jet/sqlite_fault.h"
#include "jet/storage_util.h"

namespace {

using jet::Fault;
using namespace storage_test;

struct Code {
    int rc;
    Fault fault;
    bool environment;
};

// The codes of the environment's failures, and codes of the statement's own beside them.
const Code kCodes[] = {
    {SQLITE_IOERR, Fault::IoError, true},
    {SQLITE_IOERR_READ, Fault::IoError, true},
    {SQLITE_IOERR_WRITE, Fault::IoError, true},
    {SQLITE_IOERR_FSYNC, Fault::IoError, true},
    {SQLITE_IOERR_SHORT_READ, Fault::IoError, true},
    {SQLITE_IOERR_TRUNCATE, Fault::IoError, true},
    {SQLITE_IOERR_SHMMAP, Fault::IoError, true},
    {SQLITE_IOERR_CORRUPTFS, Fault::IoError, true},
    {SQLITE_FULL, Fault::DiskFull, true},
    {SQLITE_BUSY, Fault::FileLocked, true},
    {SQLITE_BUSY_SNAPSHOT, Fault::FileLocked, true},
    {SQLITE_PROTOCOL, Fault::FileLocked, true},
    {SQLITE_READONLY, Fault::ReadOnlyDatabase, true},
    {SQLITE_READONLY_DBMOVED, Fault::ReadOnlyDatabase, true},
    {SQLITE_CORRUPT, Fault::UnrecognizedDatabase, true},
    {SQLITE_CORRUPT_INDEX, Fault::UnrecognizedDatabase, true},
    {SQLITE_NOTADB, Fault::UnrecognizedDatabase, true},
    {SQLITE_CANTOPEN, Fault::CannotOpen, true},
    {SQLITE_CANTOPEN_NOTEMPDIR, Fault::CannotOpen, true},
    {SQLITE_NOMEM, Fault::OutOfMemory, true},
    {SQLITE_IOERR_NOMEM, Fault::OutOfMemory, true},  // the I/O layer's, not the disk's
    // a table that a statement of the same connection still reads, where no drop met it
    {SQLITE_LOCKED, Fault::TableInUse, true},
    {SQLITE_CONSTRAINT_UNIQUE, Fault::Duplicate, false},
    {SQLITE_ERROR, Fault::Internal, false},
    {SQLITE_MISUSE, Fault::Internal, false},
};

// A connection whose last message speaks of a disk I/O error, though no code says so.
class MisleadingMessage : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        sqlite3_extended_result_codes(db, 1);
        ASSERT_EQ(sqlite3_exec(db, "SELECT * FROM \"disk I/O error\"", nullptr, nullptr, nullptr),
                  SQLITE_ERROR);
        errno = 0;  // no system call failed behind the codes given below
    }
    void TearDown() override { sqlite3_close_v2(db); }

    ScratchDir dir;
    std::string path = dir.file("m.db");
    sqlite3* db = nullptr;
};

TEST_F(MisleadingMessage, EachCodeGivesItsConditionWhateverTheMessage) {
    for (const Code& c : kCodes) {
        SCOPED_TRACE(sqlite3_errstr(c.rc) + std::string(" ") + std::to_string(c.rc));
        const jet::Error e = jet::sqlite_failure(db, c.rc);
        EXPECT_EQ(e.fault(), c.fault) << e.description();
        EXPECT_EQ(jet::environment_failure(e), c.environment) << e.description();
        // Carried as its number and description (a result text), it is classed alike.
        EXPECT_EQ(jet::environment_failure(jet::Error(e.number(), e.description())), c.environment);
        if (c.fault == Fault::UnrecognizedDatabase || c.fault == Fault::CannotOpen) {
            EXPECT_NE(e.description().find(path), std::string::npos) << e.description();
        }
    }
    EXPECT_EQ(jet::sqlite_failure(db, SQLITE_IOERR_READ).description(), "Disk or network error.");
}

// Every extended I/O error code, known to this SQLite or not, but the one for memory.
TEST_F(MisleadingMessage, EveryExtendedIoErrorIsADiskOrNetworkError) {
    for (int extended = 0; extended < 64; ++extended) {
        const int rc = SQLITE_IOERR | (extended << 8);
        const jet::Error e = jet::sqlite_failure(db, rc);
        EXPECT_EQ(e.fault(), rc == SQLITE_IOERR_NOMEM ? Fault::OutOfMemory : Fault::IoError)
            << extended;
        EXPECT_TRUE(jet::environment_failure(e)) << extended;
    }
}

// A text that merely holds SQLite's words for a failure of the file is no such failure.
TEST(EnvironmentFailure, IsDecidedByTheConditionNotByWordsInATextOfSQLites) {
    for (const char* words : {"disk I/O error", "unable to open database file", "locking protocol",
                              "Input/output error"}) {
        SCOPED_TRACE(words);
        EXPECT_FALSE(jet::environment_failure(jet::make_error(Fault::Internal, words)));
    }
    for (Fault f : {Fault::IoError, Fault::CannotOpen, Fault::UnrecognizedDatabase})
        EXPECT_TRUE(jet::environment_failure(jet::make_error(f, "/srv/dane/baza.mdb")));
}

TEST(FileLocked, IsKnownByItsCondition) {
    EXPECT_TRUE(jet::file_locked(jet::make_error(Fault::FileLocked)));
    EXPECT_FALSE(jet::file_locked(jet::make_error(Fault::TableLocked, "T")));
    EXPECT_FALSE(jet::file_locked(jet::make_error(Fault::DiskFull)));
}

// The engine meets each code where SQLite returns it, from the file's reads: a statement
// fails with the code's condition, which no read passes over; also after writes, when the
// failure takes the transaction with it and the file still fails as the session reads its
// catalog again.
TEST(SqliteCodes, AStatementFailsWithTheConditionOfTheCodeItsFileGave) {
    ASSERT_TRUE(sqlite_fault::FailingFiles::installed());
    const Code codes[] = {
        {SQLITE_IOERR_READ, Fault::IoError, true},
        {SQLITE_IOERR_FSTAT, Fault::IoError, true},
        {SQLITE_IOERR_DATA, Fault::IoError, true},
        {SQLITE_FULL, Fault::DiskFull, true},
        {SQLITE_READONLY_DBMOVED, Fault::ReadOnlyDatabase, true},
        {SQLITE_CORRUPT, Fault::UnrecognizedDatabase, true},
        {SQLITE_NOTADB, Fault::UnrecognizedDatabase, true},
        {SQLITE_CANTOPEN, Fault::CannotOpen, true},
    };
    for (const bool after_writes : {false, true})
        for (const Code& c : codes) {
            SCOPED_TRACE(std::to_string(c.rc) + (after_writes ? " after writes" : ""));
            ScratchDir dir;
            const std::string path = dir.file("k.mdb");
            make_database(path);
            auto db = jet::Database::open(path);
            if (after_writes) {  // a write transaction open, Towar's pages not in it
                ddl(*db, "CREATE TABLE Zapis (Id long)");
                db->checkpoint();
                db->execute("INSERT INTO Zapis (Id) VALUES (1)");
            }
            try {
                sqlite_fault::FailingFiles failing(c.rc, db->session().handle());
                EXPECT_THROW(
                    {
                        try {
                            auto cursor = db->query("SELECT Id FROM Towar");
                            while (cursor->next()) {
                            }
                        } catch (const jet::Error& e) {
                            EXPECT_EQ(e.fault(), c.fault) << e.description();
                            EXPECT_TRUE(jet::environment_failure(e)) << e.description();
                            throw;
                        }
                    },
                    jet::Error);
                EXPECT_GT(failing.failed(), 0);
            } catch (const jet::Error& e) {
                ADD_FAILURE() << "the seam itself failed: " << e.description();
            }
            try {
                db->close();
            } catch (const jet::Error&) {
            }
        }
}

// An open that meets a failure of the file as it reads the catalog reports that failure,
// not a file that is not a database; a file that cannot be opened at all is named.
TEST(SqliteCodes, AnOpenReportsTheFailureOfItsFile) {
    struct Case {
        int rc;
        Fault fault;
        bool own_open_fails;  // else the reads of the catalog
    };
    const Case codes[] = {
        {SQLITE_IOERR_READ, Fault::IoError, false},
        {SQLITE_CANTOPEN, Fault::CannotOpen, false},
        {SQLITE_CORRUPT, Fault::UnrecognizedDatabase, false},
        {SQLITE_CANTOPEN, Fault::CannotOpen, true},
    };
    for (const Case& c : codes) {
        SCOPED_TRACE(c.rc);
        ScratchDir dir;
        const std::string path = dir.file("k.mdb");
        make_database(path);
        std::optional<jet::Error> failure;
        {
            sqlite_fault::FailingFiles failing(c.rc, nullptr);
            std::optional<sqlite_fault::FailingOpens> opens;
            if (c.own_open_fails) opens.emplace();
            try {
                jet::Database::open(path);
            } catch (const jet::Error& e) {
                failure = e;
            }
        }
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->fault(), c.fault) << failure->description();
        if (c.fault == Fault::CannotOpen) {
            EXPECT_NE(failure->description().find(path), std::string::npos)
                << failure->description();
        }
        auto db = jet::Database::open(path);  // the file itself is whole
        EXPECT_EQ(column_values(*db, "Towar", "Id"), (std::vector<std::string>{"1", "2", "3"}));
    }
}

// An I/O error is named by the system's error behind it: a full disk (or quota) met in a
// flush of the log is a full disk, a read-only file system the read-only failure, any
// other the I/O error. Met where SQLite flushes the log (a commit that begins it anew, the
// close that copies it into the file and tells what it could not copy) and where the
// engine has it flushed (a durable commit).
TEST(SqliteCodes, AnIoErrorIsNamedByTheSystemsErrorBehindIt) {
    enum class Where { NewLog, Durable, Close };
    const struct {
        int err;
        Fault fault;
    } cases[] = {{ENOSPC, Fault::DiskFull},
                 {EDQUOT, Fault::DiskFull},
                 {EROFS, Fault::ReadOnlyDatabase},
                 {EIO, Fault::IoError}};
    for (const Where where : {Where::NewLog, Where::Durable, Where::Close})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(static_cast<int>(where)) + " " + strerror(c.err));
            ScratchDir dir;
            const std::string path = dir.file("k.mdb");
            make_database(path);
            auto db = jet::Database::open(path);
            db->execute("INSERT INTO Towar (Id) VALUES (4)");
            if (where != Where::NewLog) {  // the log begun, and a write after it
                db->checkpoint();
                db->execute("INSERT INTO Towar (Id) VALUES (5)");
            }
            std::optional<jet::Error> failure;
            {
                sqlite_fault::FailingSyncs syncs(SQLITE_IOERR_FSYNC, c.err);
                try {
                    if (where == Where::Close) {
                        db->leave_file_whole_at_close();
                        db->close();
                        failure = jet::Database::log_not_copied(path);
                    } else {
                        db->checkpoint(true);
                    }
                } catch (const jet::Error& e) {
                    failure = e;
                }
                EXPECT_GT(syncs.failed(), 0);
            }
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->fault(), c.fault) << failure->description();
            try {
                db->close();
            } catch (const jet::Error&) {  // the failed commit's writes are gone
            }
        }
}

// A write of the file that fails inside a schema change (a page of a large transaction
// spilled to the log) makes SQLite roll the whole transaction back, at times while the
// ALTER TABLE itself still ends well (SQLite passes over the failure as it reads its
// statistics again). Whichever write it is, the statement fails with the failure of the
// file, nothing after it is written, and the file keeps its last commit with its catalog
// whole: every column of the catalog in its table.
TEST(SqliteCodes, AWriteFailingInsideASchemaChangeLeavesTheLastCommit) {
    ScratchDir dir;
    const std::string made = dir.file("made.mdb"), path = dir.file("s.mdb");
    make_database(made);
    ddl(*jet::Database::open(made), "CREATE TABLE Zapis (Id long, Opis text(200))");
    const Code codes[] = {{SQLITE_IOERR_WRITE, Fault::IoError, true},
                          {SQLITE_FULL, Fault::DiskFull, true}};
    for (const Code& c : codes)
        for (int skip = 0; skip < 30; ++skip) {
            SCOPED_TRACE(std::to_string(c.rc) + " after " + std::to_string(skip) + " writes");
            std::filesystem::copy_file(made, path,
                                       std::filesystem::copy_options::overwrite_existing);
            auto db = jet::Database::open(path);
            raw(*db, "PRAGMA cache_size=5");  // the transaction's pages spill to the log
            for (int i = 0; i < 300; ++i)
                db->execute("INSERT INTO Zapis (Id, Opis) VALUES (" + std::to_string(i) + ", '" +
                            std::string(200, 'x') + "')");
            // Statistics over more pages than the cache holds, read again after ALTER TABLE.
            raw(*db,
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49) "
                "INSERT INTO sqlite_stat1 SELECT 'x' || i, NULL, printf('1%200s', '') FROM n");
            std::optional<jet::Error> failure;
            bool failed = false;
            {
                sqlite_fault::OneLogWriteFails write(c.rc, skip);
                try {
                    ddl(*db, "ALTER TABLE Towar ADD COLUMN Nowa long");
                } catch (const jet::Error& e) {
                    failure = e;
                }
                failed = write.failed();
            }
            if (!failed) {  // the change made fewer writes: each has failed once
                EXPECT_FALSE(failure) << failure->description();
                EXPECT_GT(skip, 0);
                break;
            }
            ASSERT_TRUE(failure);
            EXPECT_TRUE(failure->fault() == c.fault || failure->fault() == Fault::IoError)
                << failure->description();
            try {
                db->execute("INSERT INTO Towar (Id) VALUES (4)");
                ADD_FAILURE() << "a write after the rollback";
            } catch (const jet::Error& e) {
                EXPECT_EQ(e.fault(), Fault::UnitRolledBack) << e.description();
            }
            EXPECT_THROW(db->close(), jet::Error);
            db = jet::Database::open(path);  // its catalog whole, or the open refuses it
            EXPECT_EQ(db->catalog().table("Towar")->columns.size(), 1u);
            EXPECT_TRUE(column_values(*db, "Zapis", "Id").empty());
            db->close();
        }
}

}  // namespace
