// The engine session of one database file: the SQLite connection, the catalog, the
// grouped write transaction and the user transactions, the statement and
// translation caches. Shared by every Database handle on the file (see database.h).
// Internal to the engine.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "jet/catalog.h"
#include "jet/error.h"
#include "jet/files.h"
#include "jet/planner.h"
#include "jet/profile.h"

namespace jet {

class Session {
  public:
    // Opens (and validates) or finds the process's session for a file; with
    // read_if_unwritable, a file that this process may not write is opened for reading
    // (see Unwritable::Read in database.h).
    static std::shared_ptr<Session> open(const std::string& path, const std::string& password,
                                         bool read_if_unwritable = false);
    // See Database::copy and Database::log_not_copied.
    static void copy(const std::string& from, const std::string& to, const std::string& password);
    static std::optional<Error> take_log_left(const std::string& path);
    ~Session();

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }
    Catalog& catalog() { return *catalog_; }

    // Runs fn as one atomic statement: inside a savepoint released on success and
    // rolled back (then rethrown) on failure. Nested calls nest savepoints.
    void atomic(const std::function<void()>& fn);
    // As atomic, for fn that runs one SQLite statement (atomic by itself): no savepoint.
    void atomic_statement(const std::function<void()>& fn);

    // A prepared statement for SQLite text, kept for reuse (reset before returning).
    // The session keeps at most about kMaxStatements: when it has more, the least
    // recently used quarter of those neither running nor held is finalized, so a
    // caller steps what it prepared before preparing hundreds of others.
    sqlite3_stmt* prepare(const std::string& sql);
    // As prepare, and the statement stays the caller's (never handed out again nor
    // finalized) until release(sql, st), which resets it. A cursor holds its statement
    // this way for as long as it reads.
    sqlite3_stmt* hold(const std::string& sql);
    void release(const std::string& sql, sqlite3_stmt* st);
    // Twice the translation cache's entries: a plan may hold a few statements, and a
    // translation kept should find its statements prepared.
    static constexpr size_t kMaxStatements = 4096;
    // ... and at most about this much memory in them: texts that differ in their
    // literals only (one per day, say) make statements of their own.
    static constexpr int64_t kMaxStatementBytes = 4 << 20;
    // Prepared statements kept (held ones included).
    size_t cached_statements() const { return stmts_.size(); }
    // Runs SQLite text with no result rows; raises the mapped Jet failure.
    void exec(const std::string& sql);
    // Steps a prepared statement; returns true for a row, false when done; maps a
    // failure (the pending function error first, then constraint and busy codes)
    // to the Jet failure and raises it.
    bool step(sqlite3_stmt* st);

    // A failure raised inside an SQLite function callback, kept until the statement
    // that called the function fails, then raised in its place.
    void set_pending_error(Error e) { pending_ = std::move(e); }
    std::optional<Error> take_pending_error();

    // User transactions (savepoints inside the grouped write transaction).
    int begin_trans();
    void commit_trans();
    void rollback_trans();
    int trans_level() const { return trans_level_; }
    // Commits the grouped transaction (when no user transaction or statement is open)
    // and completes the open work unit. Raises when the unit lost its transaction.
    void checkpoint(bool durable = false);

    // The work unit (see WorkUnit in database.h): open from begin_unit until the next
    // checkpoint that commits, or until abandon_unit rolls its writes back. While it is
    // open, closing the last handle never commits. Returns the unit's number.
    uint64_t begin_unit();
    // The number of the open unit, 0 when none is open.
    uint64_t open_unit() const { return unit_; }
    // Rolls the grouped transaction back and closes the open unit.
    void abandon_unit();

    // Opaque per-session cache slot of the statement translator (keyed by text and
    // catalog version by its owner).
    std::shared_ptr<void>& translation_cache() { return translation_cache_; }
    // Opaque per-session slot of the counter numbering (the next number of each table).
    std::shared_ptr<void>& counter_numbers() { return counter_numbers_; }

    // Runs fn once, before the session's next write: the next atomic() statement, a
    // user transaction rolled back, the connection closed. Returns the key that
    // cancels it. Recordsets that have not read their rows yet read them then.
    uint64_t before_next_write(std::function<void()> fn);
    void cancel_before_write(uint64_t key);

    // Begins the read transaction of a query made outside the grouped transaction, and
    // reads the catalog again in it when another connection committed since the catalog
    // was read; nothing when one is open already. end_read_if_idle ends it when no
    // statement reads in it (the query failed, or gave no rows to read).
    void begin_read();
    void end_read_if_idle();
    // Takes the write lock for a write about to be planned from the catalog (a statement
    // translated, a row written by its column names): runs what waits for the next write,
    // then begins the grouped transaction, in which the catalog is read again when another
    // connection committed since it was read. Nothing when the grouped transaction is open:
    // the session holds the lock, so nobody else committed since.
    void begin_write();

    // The close that ends the session leaves the whole database in the file itself (see
    // Database::leave_file_whole_at_close).
    void leave_file_whole() { whole_at_close_ = true; }

    // See Database::interrupt and Database::execute (which forgets a request made before it).
    void interrupt(bool writes_too);
    // See Database::accept_interrupts.
    void accept_interrupts();
    void forget_interrupt() { interrupt_asked_ = false; }
    // See Database::accept_lost_writes.
    void accept_lost_writes();

    // Handle counting (Database objects).
    void add_handle() { ++handles_; }
    void release_handle();

  private:
    Session() = default;
    // Registered with std::at_quick_exit: a process that ends at once (platform's end of
    // the process) ends every session of it as its end would, rolling back what no commit
    // holds (an open work unit), and closes their connections, so that SQLite removes the
    // log and index files that it made beside each file.
    static void end_all_at_exit();
    void end_at_exit();
    std::string path_;
    bool read_only_ = false;  // opened for reading: the file may not be written
    // A stop asked of the statement running (interrupt), and whether step() is stepping a
    // statement that only reads: SQLite's progress callback stops only such a statement,
    // which changes nothing when stopped (SQLite rolls its whole transaction back when it
    // stops one that writes).
    std::atomic<bool> interrupt_asked_{false};
    bool stepping_read_ = false;
    sqlite3* db_ = nullptr;
    std::unique_ptr<Catalog> catalog_;
    std::unique_ptr<Planner> planner_;
    std::unique_ptr<Profile> profile_;
    std::optional<Error> pending_;
    std::shared_ptr<void> counter_numbers_;
    std::map<uint64_t, std::function<void()>> before_write_;
    uint64_t before_write_keys_ = 0;
    void run_before_write();
    int trans_level_ = 0;
    int savepoint_depth_ = 0;
    uint64_t unit_ = 0;   // the open work unit's number, 0 when none is open
    uint64_t units_ = 0;  // units begun so far
    // The grouped transaction was open at some point of the unit; outside a unit, it was
    // opened for a write since the last commit.
    bool unit_began_ = false;
    // SQLite rolled the grouped transaction back inside the unit (outside a unit: after
    // a write since the last commit). Every later write, the checkpoint and the close
    // fail with UnitRolledBack until the unit is abandoned.
    bool unit_lost_ = false;
    // The writes since the last commit are gone: the unit was lost, or SQLite ended the
    // grouped transaction that a write began.
    bool writes_lost() const;
    [[noreturn]] void unit_lost();
    // A read outside the grouped transaction (a reader's, or a writer's before its first
    // write) is made in a read transaction of its own, begun before the catalog is brought
    // up to date with the file (begin_read) and ended when the last of the statements that
    // read in it lets go: the catalog and the rows it reads are of one committed state, and
    // an idle session holds no state of the file back. It writes nothing.
    bool snapshot_ = false;
    int reads_ = 0;              // the statements held for reading (hold, release)
    int64_t seen_version_ = -1;  // the file's data version that the catalog was read at
    bool reading() const;        // that read transaction is open
    bool grouped() const;        // the grouped write transaction is open
    void end_snapshot();
    int64_t data_version();
    // Reads the catalog again when the file's data version moved since it was read, in the
    // transaction just begun (a reader's before its query, a writer's once it holds the lock).
    void follow_commits();
    // Runs BEGIN IMMEDIATE and follow_commits; a failure of the reading ends the
    // transaction again (it wrote nothing) and is raised.
    void begin_locked();
    int handles_ = 0;
    std::unique_ptr<FileHold> hold_;   // from the first write to the close
    bool log_found_ = false;           // a write-ahead log was beside the file at the open
    bool whole_at_close_ = false;      // the close copies the whole log into the file
    std::optional<FileInUse> in_use_;  // while the connection is open
    struct Cached {
        sqlite3_stmt* st;
        uint64_t used;  // stmt_clock_ at the last use
        bool held;
        int64_t bytes;  // SQLite's memory for the statement when prepared
    };
    int64_t stmt_bytes_ = 0;
    std::unordered_multimap<std::string, Cached> stmts_;
    uint64_t stmt_clock_ = 0;
    std::shared_ptr<void> translation_cache_;
    std::vector<uint64_t> trans_versions_;  // catalog version at each user transaction's start

    struct WriteMark {
        int64_t changes;
        int64_t cookie;
        bool operator==(const WriteMark&) const = default;
    };
    WriteMark write_mark();
    sqlite3_stmt* find_or_prepare(const std::string& sql, bool hold);
    void trim_statements();
    void validate(const std::string& password);
    void inspect(const std::string& password);
    void connect();
    void ensure_grouped();
    void recover_if_rolled_back();
    void forget_rolled_back();
    void close_connection();
    std::optional<Error> copy_log_in();
    void run(const char* sql);
    void tune();
    void drop_leftover_columns();
    [[noreturn]] void fail(int rc);
};

// The Jet failure for an SQLite result code on a connection (no pending function
// error), by the code: constraint codes to Duplicate/RequiredNull, busy to FileLocked,
// locked to TableInUse (a drop or a change of a table reports it as TableLocked), corrupt
// or not a database to UnrecognizedDatabase, read-only to ReadOnlyDatabase, out of memory
// (SQLite's own or its I/O layer's) to OutOfMemory, every other I/O error by the errno
// that the failed system call left (fault_of_errno: a full disk is DiskFull; so it is
// called right after the failed SQLite call), else IoError,
// cannot open to CannotOpen, full to DiskFull, anything else Internal. A failure that
// names the file names path when the connection has none (db null, or its open failed).
Error sqlite_failure(sqlite3* db, int rc, std::string_view path = {});

}  // namespace jet
