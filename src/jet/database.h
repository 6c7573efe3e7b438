// The engine stand-in's public face: a database file opened by path, statements in
// Jet SQL, rows out as Values.
//
// One engine session serves each file within the process: every Database opened
// on the same path shares it, so all of them see the same data at every moment, as
// Jet shares its engine within a process. Writes are grouped in one SQLite
// transaction that is committed when the last handle closes and when the owner asks
// (checkpoint()); every statement is atomic on its own: a failing statement changes
// nothing. A process killed at any point leaves the file as of the last commit.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/catalog.h"
#include "jet/error.h"
#include "jet/types.h"
#include "jet/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace jet {

class Session;

struct CreateOptions {
    std::string format_version = "4.0";  // "3.0" stands for an Access 97 file
    std::string locale;
    std::string password;
};

// One column of a query's result.
struct ColumnMeta {
    std::string name;          // as the query names it (alias or column name)
    DataType type = DataType::Text;
    int size = 0;
    bool counter = false;
    // Where the value comes from, when it is a plain column of a table read by the
    // query ("" for an expression): recordsets write back through this.
    std::string base_table;    // Jet table name
    std::string base_column;   // Jet column name
    std::string table_alias;   // the alias or table name the query reads it under
    // A hidden trailing column holding the rowid of table_alias's row (asked for with
    // QueryOptions::row_ids), through which recordsets map rows back. Queries whose
    // rows are not rows of tables (DISTINCT, GROUP BY, aggregates, DISTINCTROW over
    // some of the tables) have none.
    bool row_id = false;
};

struct QueryOptions {
    bool row_ids = false;  // append each read table's rowid as a hidden trailing column
};

// The rows of a SELECT, read forward once.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const std::vector<ColumnMeta>& columns() const = 0;
    // Moves to the next row; false when there is none.
    virtual bool next() = 0;
    // The value of column i (0-based) of the current row.
    virtual Value value(int i) const = 0;
};

// What Database::open does with a file that this process may not write: the file itself
// read-only, or its folder or file system.
enum class Unwritable {
    // Refused (ReadOnlyDatabase, ReadOnlyFolder) before anything is created beside it:
    // SQLite would leave its log and index files there with the file's read-only mode, and
    // they would keep refusing writes after the file itself is made writable.
    Refuse,
    // Opened for reading only, for a tool that reads: its committed state is read (through
    // the write-ahead log beside it, when that holds commits) without creating or writing
    // any file, and every write raises the failure that Refuse raises. Nobody is expected
    // to write such a file meanwhile: a file without a log is read as immutable, and a log
    // without SQLite's index beside it is read without locks.
    Read,
};

class Database {
public:
    // Opens a database file of ours, also one left by a stopped run (SQLite recovers
    // it). Raises FileNotFound, NotReadable, PathTooLong, ReadOnlyFolder and
    // ReadOnlyDatabase (a file this process may not write, see Unwritable),
    // UnrecognizedDatabase (any other file, a truncated or damaged one), WrongPassword (a
    // file with a password opens only with it; a file without one opens with any); a file
    // that fails these checks is never modified and gets no file beside it. The first
    // write takes the process's hold on the file (files.h) and raises FileLocked when
    // another process holds it.
    static std::shared_ptr<Database> open(const std::string& path, const std::string& password = {},
                                          Unwritable unwritable = Unwritable::Refuse);
    // Creates a new database file; raises when the file exists.
    static void create(const std::string& path, const CreateOptions& options = {});
    // Writes the committed state of the database at `from` (the commits still in its
    // write-ahead log with it) into a new file at `to`, read as a reader reads it: the
    // file and its log are not written. The copy takes its name only once it is complete,
    // flushed and opens as open() opens a file (header, catalog, SQLite's quick check,
    // the password), replacing any file of that name; on failure `to` is as it was.
    // Raises as open() for `from`, DiskFull, IoError, CannotOpen, UnrecognizedDatabase
    // (a copy that does not open), Internal.
    static void copy(const std::string& from, const std::string& to,
                     const std::string& password = {});
    // The failure that kept the last close that was to leave the file at path whole
    // (leave_file_whole_at_close) from copying the whole write-ahead log into the file:
    // FileLocked when readers of other processes held its last commits back past the
    // wait, DiskFull or IoError when the file could not be written. Nothing when that
    // close left the whole result in the file itself (or no such close was made). Either
    // way every commit is in the file and its log together. Answered once: the answer is
    // forgotten.
    static std::optional<Error> log_not_copied(const std::string& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Closes this handle; the session commits and closes with the last handle (not
    // while a work unit is open). The handle is closed whatever happens; a commit that
    // fails is raised (DiskFull, FileLocked, IoError, ...), and the file is then as of its
    // last commit. A handle destroyed without close() closes the same way but cannot
    // report that failure: whoever writes closes explicitly. The close waits for nobody
    // and leaves the write-ahead log to SQLite, which copies it into the file and removes
    // it when no other connection has the file open and otherwise leaves it beside the
    // file (the database is whole in both together), unless the file is to be left whole
    // (leave_file_whole_at_close).
    void close();
    // Makes the close that ends the file's session (this handle's, or a later one's when
    // other handles or a work unit still hold it) leave the whole database in the file
    // itself, for a writer after which the file must stand alone (a conversion's end):
    // when the session wrote, that close copies the write-ahead log into the file,
    // waiting as a statement waits for a lock (3 s) for readers of other processes whose
    // snapshots hold its last commits back, and log_not_copied tells what it could not
    // copy.
    void leave_file_whole_at_close();
    bool is_open() const;

    // Asks the statement running now to stop; may be called from a signal handler. A
    // statement that only reads, or the reading part of one that writes, stops within
    // moments and raises Interrupted, having changed nothing. A write itself runs to its
    // end, unless writes_too: SQLite then stops it and rolls back every write since the
    // last commit (the failure is Interrupted; later writes raise UnitRolledBack until
    // a work unit's abandon() rolls back). The request holds until the next statement
    // begins (execute, query).
    void interrupt(bool writes_too = false);
    // Lets interrupt() stop a statement that reads (a check every few thousand of SQLite's
    // instructions); without it only interrupt(true) stops a statement, at its writes.
    void accept_interrupts();
    // Outside a work unit: the writes since the last commit that a failure rolled back
    // (a statement stopped by interrupt(true)) are known to be lost, and the next write
    // begins afresh from the file's last commit instead of raising UnitRolledBack.
    void accept_lost_writes();

    // Runs one statement. A SELECT without INTO runs and its rows are discarded.
    // Returns the records affected (INSERT, UPDATE, DELETE, SELECT INTO; 0 for DDL).
    int64_t execute(std::string_view sql);
    // Runs a SELECT and returns its rows. Outside the grouped write transaction (a
    // reader's query) the catalog that plans it and the rows it reads are of one committed
    // state: the catalog is read again first when another connection committed since,
    // and the state is kept until the rows are read or the cursor goes.
    std::unique_ptr<Cursor> query(std::string_view sql);
    std::unique_ptr<Cursor> query(std::string_view sql, const QueryOptions& options);

    // User transactions; they nest. begin_trans returns the new level (1 outermost).
    int begin_trans();
    void commit_trans();
    void rollback_trans();
    int trans_level() const;

    // Commits the grouped write transaction now (when no user transaction is open).
    // A durable commit is on the disk when this returns (its log flushed), not only in
    // the system's cache: a power cut after it cannot undo it.
    void checkpoint(bool durable = false);

    const std::string& path() const;
    const Catalog& catalog() const;
    Session& session();

private:
    friend class WorkUnit;
    explicit Database(std::shared_ptr<Session> s);
    std::shared_ptr<Session> session_;
    bool open_ = true;
};

// A unit of work on a database file, such as one step of a conversion: its writes
// are kept or lost together.
//  - It is open from its start to the next checkpoint on any handle of the file that
//    commits (a checkpoint inside a user transaction commits nothing and leaves it open).
//  - While it is open, no close commits: the unit holds the file's session, so the
//    handles on the file may close and open again meanwhile and see its writes.
//  - A unit destroyed while open rolls its writes back (abandon()), as a process that
//    ends inside it loses them from the log.
//  - When SQLite itself rolls the grouped transaction back (a full disk, an I/O error
//    may), the unit's earlier writes are gone: every later write of the unit and the
//    checkpoint raise UnitRolledBack, so the unit cannot complete without them.
// One unit at a time per file.
class WorkUnit {
public:
    explicit WorkUnit(Database& db);
    ~WorkUnit();
    WorkUnit(const WorkUnit&) = delete;
    WorkUnit& operator=(const WorkUnit&) = delete;

    // Not committed by a checkpoint nor abandoned yet.
    bool is_open() const;
    // Rolls the file back to its last commit (the catalog with it) and ends the unit.
    void abandon();

private:
    std::shared_ptr<Session> session_;
    uint64_t number_ = 0;
};

}  // namespace jet
