#include "jet/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "jet/files.h"
#include "jet/sqlfuncs.h"
#include "jet/write_hook.h"

namespace jet {

namespace {

// How long a statement waits for another process's lock before it fails.
constexpr int kBusyTimeoutMs = 3000;
// Files up to this size get SQLite's quick integrity check when they are opened.
constexpr uintmax_t kQuickCheckLimit = 64u << 20;

// The process's sessions by canonical path.
std::mutex registry_mutex;
std::map<std::string, std::weak_ptr<Session>>& registry() {
    static auto* r = new std::map<std::string, std::weak_ptr<Session>>;  // never destroyed
    return *r;
}

uint32_t big_endian(const unsigned char* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

// Checks the fields of the file's header that no recovery changes: the SQLite magic,
// a valid page size and the file format. When the file has no write-ahead log
// beside it the file is all there is, and its length must hold every page the header
// counts; with a log, a run stopped in a checkpoint leaves a header that counts more
// pages than the file holds until SQLite's recovery completes the file, and what
// SQLite reads then decides. Raises UnrecognizedDatabase.
void check_header(const std::string& path, bool with_log) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    std::array<unsigned char, 100> h{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool read = fd >= 0 && ::pread(fd, h.data(), h.size(), 0) == ssize_t(h.size());
    if (fd >= 0) close_descriptor(fd);  // the file may be open under another of its names
    if (ec || size < h.size() || !read) raise(Fault::UnrecognizedDatabase, path);
    if (std::memcmp(h.data(), "SQLite format 3", 16) != 0) raise(Fault::UnrecognizedDatabase, path);
    uint32_t page = big_endian(&h[16], 2);
    if (page == 1) page = 65536;
    if (page < 512 || page > 65536 || (page & (page - 1)) != 0)
        raise(Fault::UnrecognizedDatabase, path);
    // Write and read format (1 rollback journal, 2 write-ahead log), then the fixed
    // payload fractions 64, 32 and 32.
    if (h[18] < 1 || h[18] > 2 || h[19] < 1 || h[19] > 2 || h[21] != 64 || h[22] != 32 ||
        h[23] != 32)
        raise(Fault::UnrecognizedDatabase, path);
    if (with_log) return;
    // The page count in the header is valid when the version-valid-for number matches
    // the change counter.
    const uint32_t pages = big_endian(&h[28], 4);
    if (size % page != 0 ||
        (big_endian(&h[92], 4) == big_endian(&h[24], 4) && uintmax_t{pages} * page > size))
        raise(Fault::UnrecognizedDatabase, path);
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// True when the write-ahead log beside the database at path holds frames: a log that
// SQLite created for a reader, and nobody wrote to since, is empty.
bool log_holds_frames(const std::string& path) {
    struct stat st {};
    return ::stat((path + "-wal").c_str(), &st) == 0 && st.st_size > 0;
}

// The failures that kept the last close of a session that wrote a file from copying
// all of its log into the file, by canonical path. Guarded by registry_mutex.
std::map<std::string, Error>& logs_left() {
    static auto* m = new std::map<std::string, Error>;  // never destroyed
    return *m;
}

// The Jet "table.column" of an SQLite "t<id>.c<id>" in a constraint message.
std::string column_named_in(const std::string& msg, const Catalog* cat) {
    const auto colon = msg.rfind(": ");
    if (!cat || colon == std::string::npos) return {};
    const std::string ref = msg.substr(colon + 2);
    const auto dot = ref.find('.');
    if (dot == std::string::npos) return ref;
    for (const TableInfo* t : cat->tables()) {
        if (t->sql_name != ref.substr(0, dot)) continue;
        for (const auto& c : t->columns)
            if (c.sql_name == ref.substr(dot + 1)) return t->name + "." + c.name;
    }
    return ref;
}

// The Jet table and key of an SQLite "t<id>.c<id>, t<id>.c<id>" in a unique constraint's
// message: "TABLE (column, column)"; "" when the message names no table of the catalog.
std::string key_named_in(const std::string& msg, const Catalog* cat) {
    const auto colon = msg.rfind(": ");
    if (!cat || colon == std::string::npos) return {};
    std::string table, columns;
    for (size_t at = colon + 2; at < msg.size();) {
        const size_t end = std::min(msg.find(", ", at), msg.size());
        const std::string ref = msg.substr(at, end - at);
        const std::string named = column_named_in("x: " + ref, cat);
        const size_t dot = named.find('.');
        if (named == ref || dot == std::string::npos || dot == 0) return {};
        if (table.empty()) table = named.substr(0, dot);
        columns += (columns.empty() ? "" : ", ") + named.substr(dot + 1);
        at = end + 2;
    }
    return table.empty() ? "" : table + " (" + columns + ")";
}

// The engine's failure for SQLite's result code rc (an extended code when the connection
// gives them), decided by the code: SQLite's message only names a column in it, or tells
// which of its limits a generic error met. An I/O error is named by the errno that the
// system call which failed left (fault_of_errno: a full disk met in a flush of the log is a
// full disk; SQLite records it on the connection for a failed statement only, not for a
// failed commit), so this is called right after the failed call, before anything else;
// a short read, a file that its file system found damaged and a failed checksum failed no
// call. The file is the connection's, or path when the connection has none (its open
// failed).
Error failure_of(sqlite3* db, int rc, const Catalog* cat, std::string_view path = {}) {
    const int system_error = errno;
    const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const char* named = db ? sqlite3_db_filename(db, "main") : nullptr;
    const std::string file = named && *named ? named : std::string(path);
    switch (rc) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            return key_error(Fault::Duplicate, key_named_in(msg, cat));  // where SQLite names them
        case SQLITE_CONSTRAINT_NOTNULL:
            return make_error(Fault::RequiredNull, column_named_in(msg, cat));
        case SQLITE_IOERR_NOMEM:  // the system's memory, not its disk
            return make_error(Fault::OutOfMemory);
        case SQLITE_IOERR_SHORT_READ:
        case SQLITE_IOERR_CORRUPTFS:
        case SQLITE_IOERR_DATA:
            return make_error(Fault::IoError);
        default:
            break;
    }
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_PROTOCOL:  // the log's locks kept changing under every attempt
            return make_error(Fault::FileLocked);
        case SQLITE_LOCKED:  // within the connection: a statement still reads a table
            return make_error(Fault::TableInUse);
        case SQLITE_NOMEM:
            return make_error(Fault::OutOfMemory);
        case SQLITE_INTERRUPT:
            return make_error(Fault::Interrupted);
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return make_error(Fault::UnrecognizedDatabase, file);
        case SQLITE_READONLY:
            return make_error(Fault::ReadOnlyDatabase);
        case SQLITE_ERROR:
            // A statement past one of SQLite's own limits: the nesting its parser
            // takes, the depth of an expression, the tables of a join.
            for (std::string_view limit : {"parser stack overflow", "Expression tree is too large",
                                           "tables in a join", "too many "})
                if (msg.find(limit) != std::string::npos) return make_error(Fault::TooComplex);
            return make_error(Fault::Internal, msg);
        case SQLITE_FULL:
            return make_error(Fault::DiskFull);
        case SQLITE_IOERR:
            return make_error(fault_of_errno(system_error).value_or(Fault::IoError));
        case SQLITE_CANTOPEN:
            return make_error(Fault::CannotOpen, file);
        default:
            return make_error(Fault::Internal, msg);
    }
}

// An SQLite connection, closed with its owner.
struct Connection {
    sqlite3* db = nullptr;
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close_v2(db); }
};

// How a connection that only reads opens a database file, writing nothing into it or
// beside it.
enum class ReadWay {
    // The file alone, as immutable: no log with commits lies beside it.
    Immutable,
    // Through the write-ahead log and SQLite's shared-memory index of it, creating the
    // index beside a log that lost it (as any reader would) and taking SQLite's locks.
    ThroughLog,
    // Through the log, its index built in the connection's memory, without locks: a file
    // that may not be written, whose log holds commits but has no index beside it (SQLite
    // would create the index beside the file with the file's read-only mode).
    LogInMemory,
};

// The way to read the file at path: a writable file through its log when it has one; a
// file that may not be written through its log only when the log holds commits, through
// SQLite's index when that is there too (a writer of another user may be on the file).
ReadWay read_way(const std::string& path, bool writable) {
    if (!exists(path + "-wal")) return ReadWay::Immutable;
    if (writable || exists(path + "-shm")) return ReadWay::ThroughLog;
    return log_holds_frames(path) ? ReadWay::LogInMemory : ReadWay::Immutable;
}

// Opens c as a reader of the database at path that writes nothing, neither beside the
// file nor into it at its close, the way `way` tells. The file locked, unreadable or
// failing is reported as what it is; any other failure to open it means it is not one
// of ours: UnrecognizedDatabase.
void open_reader(Connection& c, const std::string& path, ReadWay way) {
    const std::string uri = sqlite_uri(path) + (way == ReadWay::Immutable ? "?immutable=1" : "");
    // One thread uses the connection: no connection mutex around each of the many calls
    // of the catalog's reading. SQLite's VFS without locks lets a connection in exclusive
    // locking mode keep the log's index in its memory (its locks would need write access).
    int rc = sqlite3_open_v2(uri.c_str(), &c.db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                             way == ReadWay::LogInMemory ? "unix-none" : nullptr);
    if (rc == SQLITE_OK && way == ReadWay::LogInMemory)
        rc = sqlite3_exec(c.db, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const Error e = failure_of(c.db, rc, nullptr, path);
        if (!environment_failure(e)) raise(Fault::UnrecognizedDatabase, path);
        throw e;
    }
    sqlite3_extended_result_codes(c.db, 1);
    sqlite3_busy_timeout(c.db, kBusyTimeoutMs);
    sqlite3_db_config(c.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

}  // namespace

Error sqlite_failure(sqlite3* db, int rc, std::string_view path) {
    return failure_of(db, rc, nullptr, path);
}

std::shared_ptr<Session> Session::open(const std::string& path, const std::string& password,
                                       bool read_if_unwritable) {
    const std::string canon = checked_path(path);
    // A file that this process cannot write is refused before SQLite opens it: SQLite
    // would create its log and shared-memory index beside the file with the file's own
    // read-only mode, and those would keep refusing writes after the file itself is
    // made writable. A reader reads it without them.
    bool read_only = false;
    try {
        check_writable(canon);
    } catch (const Error&) {
        if (!read_if_unwritable) throw;
        read_only = true;
    }
    static std::once_flag end_registered;
    std::call_once(end_registered, [] { std::at_quick_exit(&Session::end_all_at_exit); });

    std::lock_guard lock(registry_mutex);
    auto& reg = registry();
    if (auto it = reg.find(canon); it != reg.end()) {
        if (auto live = it->second.lock(); live && live->db_) {
            const std::string& stored = live->catalog_->properties().password;
            if (!stored.empty() && stored != password) raise(Fault::WrongPassword);
            return live;
        }
    }
    std::shared_ptr<Session> s(new Session());
    s->path_ = canon;
    s->read_only_ = read_only;
    s->validate(password);
    s->connect();
    reg[canon] = s;
    return s;
}

// Establishes that the file is one of ours and that the password opens it, reading
// it through a read-only connection so that a foreign or damaged file is never
// written (read_way: a file without a write-ahead log is read as immutable, which
// creates no file beside it; a file with one is read as SQLite recovers it). A log that
// appears while an immutable read runs may mean a checkpoint changed the file under
// it: the file is read once more through the log. Raises UnrecognizedDatabase or
// WrongPassword.
void Session::validate(const std::string& password) {
    for (int attempt = 0;; ++attempt) {
        const bool with_log = exists(path_ + "-wal");
        try {
            inspect(password);
            return;
        } catch (const Error&) {
            if (attempt > 0 || with_log || !exists(path_ + "-wal")) throw;
        }
    }
}

void Session::inspect(const std::string& password) {
    const ReadWay way = read_way(path_, !read_only_);
    check_header(path_, way != ReadWay::Immutable);
    Connection reader;
    open_reader(reader, path_, way);
    sqlite3* ro = reader.db;
    register_functions(ro, this);

    std::string stored_password;
    {
        Catalog probe(ro);
        probe.load(path_);
        stored_password = probe.properties().password;
    }
    std::error_code ec;
    if (std::filesystem::file_size(path_, ec) <= kQuickCheckLimit && !ec) {
        sqlite3_stmt* st = nullptr;
        const bool ok =
            sqlite3_prepare_v2(ro, "PRAGMA quick_check(1)", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0) &&
            std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") == 0;
        sqlite3_finalize(st);
        if (!ok) raise(Fault::UnrecognizedDatabase, path_);
    }
    if (!stored_password.empty() && stored_password != password) raise(Fault::WrongPassword);
}

void Session::copy(const std::string& from, const std::string& to, const std::string& password) {
    const std::string source = checked_path(from);
    Connection reader;
    open_reader(reader, source, read_way(source, true));
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) raise(Fault::FileNotFound, from);

    // The copy is written under a name of its own and takes its name only when it is
    // complete, on the disk, and opens as a database of ours. It needs no journal: a
    // copy cut short is never used, and the next copy starts afresh.
    Session copy;
    copy.path_ = to + ".copy";
    std::error_code ec;
    std::filesystem::remove(copy.path_, ec);
    try {
        {
            Connection target;
            int rc = sqlite3_open_v2(copy.path_.c_str(), &target.db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            if (rc == SQLITE_OK) {
                sqlite3_extended_result_codes(target.db, 1);
                rc = sqlite3_exec(target.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF",
                                  nullptr, nullptr, nullptr);
            }
            if (rc != SQLITE_OK) throw failure_of(target.db, rc, nullptr, copy.path_);
            sqlite3_backup* backup = sqlite3_backup_init(target.db, "main", reader.db, "main");
            if (!backup)
                throw failure_of(target.db, sqlite3_errcode(target.db), nullptr, copy.path_);
            rc = sqlite3_backup_step(backup, -1);
            const int finished = sqlite3_backup_finish(backup);
            if (rc == SQLITE_DONE) rc = finished;
            if (rc != SQLITE_OK) throw failure_of(target.db, rc, nullptr, copy.path_);
        }
        copy.validate(password);
        install_file(copy.path_, to, st.st_mode & 07777);
    } catch (...) {
        std::filesystem::remove(copy.path_, ec);
        throw;
    }
}

// Opens the read-write connection on a validated file, switches it to the WAL
// journal (SQLite recovers a file left by a stopped run here) and loads the catalog.
// The write lock and the process's hold wait for the first write, so that readers
// open a file that another process is converting. A file whose folder or file
// system cannot be written fails as such. A file opened for reading gets a connection
// that reads it as its validation did; its first write fails at the hold.
void Session::connect() {
    // One thread uses a session (Jet's engine here is single-threaded): no connection mutex.
    in_use_.emplace(path_);
    log_found_ = exists(path_ + "-wal");
    int rc = SQLITE_OK;
    if (read_only_) {
        Connection reader;
        open_reader(reader, path_, read_way(path_, false));
        db_ = std::exchange(reader.db, nullptr);
    } else {
        rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    }
    try {
        if (rc != SQLITE_OK) fail(rc);
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        register_functions(db_, this);
        if (!read_only_) {
            run("PRAGMA journal_mode=WAL");
            run("PRAGMA synchronous=NORMAL");
        }
        // Sorts, scratch tables and large statement journals past SQLite's cache go to
        // temporary files: held in memory, the sort of a join over every document line
        // made the run's peak (100 MB against 40 MB), and the run was no faster.
        run("PRAGMA temp_store=FILE");
        // A page cache of 8 MiB (SQLite's default is 2): the recipe and purchase tables
        // that the per-line cost statements join stay in it (5% of the cost pass). More
        // buys nothing there and holds a large UPDATE's pages in memory (32 MiB: 105 MB
        // peak against 49 MB).
        run("PRAGMA cache_size=-8192");
        // The data version before the catalog is read: a commit of another connection in
        // between makes the next query read the catalog again (see begin_read).
        seen_version_ = data_version();
        catalog_ = std::make_unique<Catalog>(db_);
        catalog_->load(path_);
        planner_ = std::make_unique<Planner>(db_);
        profile_ = Profile::from_environment(db_);
        sqlite3_update_hook(
            db_,
            [](void* self, int op, const char*, const char* table, sqlite3_int64) {
                if (op != SQLITE_UPDATE)
                    static_cast<Session*>(self)->planner_->row_changed(table, op == SQLITE_INSERT);
            },
            this);
    } catch (...) {
        catalog_.reset();
        planner_.reset();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        in_use_.reset();
        if (!read_only_) check_writable(path_);  // a folder that cannot take the log explains it
        throw;
    }
}

Session::~Session() {
    try {
        close_connection();
    } catch (...) {
    }
}

void Session::release_handle() {
    if (handles_ > 0 && --handles_ == 0) close_connection();
}

void Session::end_all_at_exit() {
    std::vector<std::shared_ptr<Session>> live;
    {
        std::lock_guard lock(registry_mutex);
        for (auto& [path, weak] : registry())
            if (auto s = weak.lock()) live.push_back(std::move(s));
    }
    for (const auto& s : live) s->end_at_exit();
}

void Session::end_at_exit() {
    if (!db_) return;
    // What no commit holds goes, as it would with the process: the open unit, the user
    // transactions, and recordsets waiting to read before a write read nothing more.
    before_write_.clear();
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    trans_level_ = savepoint_depth_ = 0;
    trans_versions_.clear();
    unit_ = 0;
    unit_began_ = unit_lost_ = snapshot_ = false;
    try {
        close_connection();
    } catch (...) {
        // Nothing was left to commit: the close reports nothing a process end would.
    }
}

// Ends the session's connection: open user transactions are rolled back, the
// grouped transaction is committed, cached statements are finalized. The connection
// ends whatever fails. A commit that fails (a callback waiting for the write that
// fails fails it too) leaves the file as of its last commit, its transaction rolled
// back, and is raised once the connection is closed. A session that wrote and whose
// close must leave the file whole (leave_file_whole) copies the log into the file first
// (see copy_log_in), so that the file alone holds every commit also when readers of
// other processes keep SQLite's close from doing it; what it could not copy is kept for
// take_log_left. Any other session that wrote leaves that to SQLite's close, which
// copies the log in and removes it when no other connection has the file open and waits
// for nobody. A session that never wrote leaves the files as it found them: no log is
// copied into the file at its close, and only an empty log that SQLite made for it goes
// with the close.
void Session::close_connection() {
    if (!db_) return;
    std::optional<Error> failure;
    try {
        run_before_write();
    } catch (const Error& e) {
        failure = e;
    }
    if (trans_level_ > 0) {
        sqlite3_exec(db_, "ROLLBACK TO jet_t1; RELEASE jet_t1", nullptr, nullptr, nullptr);
        trans_level_ = 0;
        trans_versions_.clear();
    }
    if (profile_) profile_->report();
    profile_.reset();
    for (auto& [sql, c] : stmts_) sqlite3_finalize(c.st);
    stmts_.clear();
    reads_ = 0;
    stmt_bytes_ = 0;
    // The close commits what survived: a table whose rebuild failed keeps its dropped
    // columns until a later session rebuilds it (the catalog finds them when it loads).
    // A failure that took the transaction with it is the commit's.
    if (!failure) {
        try {
            drop_leftover_columns();
        } catch (const Error& e) {
            if (sqlite3_get_autocommit(db_)) failure = e;
        }
    }
    // Writes since the last commit that SQLite rolled back are lost: the close has
    // nothing left to commit of them, and says so.
    if (!failure && writes_lost()) {
        unit_lost_ = true;
        failure = make_error(Fault::UnitRolledBack);
    }
    if (!sqlite3_get_autocommit(db_) && !failure) {
        const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) failure = failure_of(db_, rc, catalog_.get());
    }
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    const bool wrote = hold_ != nullptr;
    const bool whole = wrote && whole_at_close_;
    std::optional<Error> log_left;
    if (whole)
        log_left = copy_log_in();
    else if (!wrote && (log_found_ || log_holds_frames(path_)))
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    in_use_.reset();
    planner_.reset();
    hold_.reset();
    translation_cache_.reset();
    // The close's own checkpoint, when it was the file's last connection, copied in what
    // the first one could not: the log is gone then.
    if (log_left && !exists(path_ + "-wal")) log_left.reset();
    {
        std::lock_guard lock(registry_mutex);
        auto& reg = registry();
        if (auto it = reg.find(path_); it != reg.end()) {
            auto live = it->second.lock();
            if (!live || live.get() == this) reg.erase(it);
        }
        if (log_left)
            logs_left().insert_or_assign(path_, *log_left);
        else if (whole)
            logs_left().erase(path_);
    }
    if (failure) throw *failure;
}

// Copies the write-ahead log into the file (a full checkpoint), waiting as a statement
// waits for a lock (kBusyTimeoutMs) for the readers whose snapshots hold its last
// commits back, and copying what they do not hold back when the wait ends. Returns the
// failure that kept part of the log out of the file: FileLocked when readers still
// held it, the file's own (DiskFull, IoError) when it could not be written; none when
// the file holds every commit. The commits are in the log either way.
std::optional<Error> Session::copy_log_in() {
    int frames = 0, copied = 0;
    int rc = sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_FULL, &frames, &copied);
    if (rc == SQLITE_OK && copied == frames) return std::nullopt;
    if (rc == SQLITE_OK) rc = SQLITE_BUSY;
    return failure_of(db_, rc, catalog_.get());
}

std::optional<Error> Session::take_log_left(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    const std::string canon = real ? real : path;
    std::free(real);
    std::lock_guard lock(registry_mutex);
    const auto it = logs_left().find(canon);
    if (it == logs_left().end()) return std::nullopt;
    Error e = it->second;
    logs_left().erase(it);
    return e;
}

// Only sets flags and calls SQLite's own interrupt, which may be called from a signal
// handler.
void Session::accept_interrupts() {
    // Every few thousand of SQLite's instructions: a statement that only reads, asked to
    // stop (interrupt), stops. Only a caller that stops statements pays for the check.
    sqlite3_progress_handler(
        db_, 4096,
        [](void* self) {
            const auto* s = static_cast<const Session*>(self);
            return s->interrupt_asked_ && s->stepping_read_ ? 1 : 0;
        },
        this);
}

void Session::interrupt(bool writes_too) {
    interrupt_asked_ = true;
    if (writes_too && db_) sqlite3_interrupt(db_);
}

void Session::fail(int rc) {
    throw failure_of(db_, rc, catalog_.get());
}

void Session::run(const char* sql) {
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(rc);
}

// Starts the grouped write transaction when none is open (at the first write, after
// a checkpoint), taking the process's hold on the file first and then SQLite's write
// lock, under which the catalog is read again when another connection committed since
// it was read. Raises ReadOnlyFolder or ReadOnlyDatabase for a file that cannot be
// written, FileLocked when another process holds the file, the reading's failure (a
// damaged catalog) when the catalog cannot be read again.
void Session::ensure_grouped() {
    if (!db_) raise(Fault::Internal, "the database is closed");
    if (grouped()) {
        unit_began_ = true;  // a write in the transaction a checkpoint began
        return;
    }
    // A grouped transaction that ended without a commit took the writes made since the
    // last commit with it (the unit's, or outside a unit every write since the last
    // commit): a new one would carry on without them.
    if (unit_began_ || unit_lost_) unit_lost();
    if (!hold_) hold_ = std::make_unique<FileHold>(path_);
    end_snapshot();
    begin_locked();
    unit_began_ = true;
}

bool Session::reading() const {
    return snapshot_ && !sqlite3_get_autocommit(db_);
}

bool Session::grouped() const {
    return !sqlite3_get_autocommit(db_) && !reading();
}

// Ends the read transaction of the reads. It read only, so its commit writes nothing, and
// statements still reading go on with what they read.
void Session::end_snapshot() {
    if (reading()) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    snapshot_ = false;
}

// The file's data version as the connection sees it now: it moves with every commit of
// another connection.
int64_t Session::data_version() {
    sqlite3_stmt* st = find_or_prepare("PRAGMA data_version", false);
    const int rc = sqlite3_step(st);
    const int64_t v = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_reset(st);
    if (rc != SQLITE_ROW) fail(rc);
    return v;
}

// A reader's catalog, read at the open, may describe tables that a writer of another
// connection has rebuilt since (a table under a new number): the query, planned from the
// catalog, must read the state that the catalog describes.
void Session::begin_read() {
    if (!db_ || grouped() || reading()) return;
    run("BEGIN");
    snapshot_ = true;
    try {
        follow_commits();
    } catch (...) {
        end_snapshot();
        throw;
    }
}

void Session::follow_commits() {
    const int64_t v = data_version();  // the transaction's state
    if (v == seen_version_) return;
    catalog_->load(path_);
    seen_version_ = v;
}

// A writer's catalog, read at the open or by its last query, may describe a table that
// another connection has changed since (a column added, a table rebuilt under a new
// number): a statement planned from it, or a schema change made on it, would write the
// file against what the file holds.
void Session::begin_locked() {
    run("BEGIN IMMEDIATE");
    try {
        follow_commits();
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void Session::begin_write() {
    if (grouped()) return;
    run_before_write();
    ensure_grouped();
}

void Session::end_read_if_idle() {
    if (reads_ == 0) end_snapshot();
}

bool Session::writes_lost() const {
    return unit_lost_ || (unit_began_ && sqlite3_get_autocommit(db_));
}

void Session::unit_lost() {
    unit_lost_ = true;
    raise(Fault::UnitRolledBack);
}

std::optional<Error> Session::take_pending_error() {
    std::optional<Error> e;
    e.swap(pending_);
    return e;
}

sqlite3_stmt* Session::prepare(const std::string& sql) {
    return find_or_prepare(sql, false);
}

sqlite3_stmt* Session::hold(const std::string& sql) {
    // The planner's hints are an optimisation: a reader of a file that another process
    // holds reads it without them, and a unit that lost its writes still reads (what was
    // committed) but writes nothing.
    if (savepoint_depth_ == 0 && db_ && !unit_lost_) {
        try {
            tune();
        } catch (const Error& e) {
            if (!file_locked(e)) throw;
        }
    }
    sqlite3_stmt* st = find_or_prepare(sql, true);
    ++reads_;
    return st;
}

void Session::release(const std::string& sql, sqlite3_stmt* st) {
    if (!db_) return;  // finalized with the connection
    auto [from, to] = stmts_.equal_range(sql);
    for (auto it = from; it != to; ++it) {
        if (it->second.st != st) continue;
        it->second.held = false;
        planner_->executed(st);
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        --reads_;
        end_read_if_idle();
        return;
    }
}

// The cached statement for the text that is free (neither running nor held), marked
// as used now; a new one when there is none.
// The rows changed so far on the connection and the schema's cookie: what any write
// to the database moves (a failed statement's own changes are undone and not counted).
Session::WriteMark Session::write_mark() {
    WriteMark m{sqlite3_total_changes64(db_), -1};
    sqlite3_stmt* st = find_or_prepare("PRAGMA schema_version", false);
    if (sqlite3_step(st) == SQLITE_ROW) m.cookie = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    return m;
}

sqlite3_stmt* Session::find_or_prepare(const std::string& sql, bool hold) {
    if (!db_) raise(Fault::Internal, "the database is closed");
    auto [from, to] = stmts_.equal_range(sql);
    for (auto it = from; it != to; ++it) {
        Cached& c = it->second;
        if (c.held || sqlite3_stmt_busy(c.st)) continue;
        c.used = ++stmt_clock_;
        c.held = hold;
        sqlite3_reset(c.st);
        sqlite3_clear_bindings(c.st);
        return c.st;
    }
    if (stmts_.size() >= kMaxStatements || stmt_bytes_ >= kMaxStatementBytes) trim_statements();
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    if (!st) raise(Fault::Internal, "empty statement");
    const int64_t bytes = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_MEMUSED, 0);
    stmt_bytes_ += bytes;
    stmts_.emplace(sql, Cached{st, ++stmt_clock_, hold, bytes});
    return st;
}

// Finalizes the least recently used quarter of the cached statements that are
// neither running nor held (their use times are distinct). Called while the cache
// is over its count or its memory (each statement counted for what it used when
// prepared), so a cache over its memory loses a quarter at each prepare until it
// is under.
void Session::trim_statements() {
    auto free = [](const Cached& c) { return !c.held && !sqlite3_stmt_busy(c.st); };
    std::vector<uint64_t> times;
    times.reserve(stmts_.size());
    for (const auto& [sql, c] : stmts_)
        if (free(c)) times.push_back(c.used);
    if (times.empty()) return;
    auto cut = times.begin() + static_cast<std::ptrdiff_t>(stmts_.size() / 4);
    if (cut >= times.end()) cut = times.end() - 1;
    std::nth_element(times.begin(), cut, times.end());
    const uint64_t oldest_kept = *cut;
    std::erase_if(stmts_, [&](const auto& kv) {
        if (!free(kv.second) || kv.second.used >= oldest_kept) return false;
        sqlite3_finalize(kv.second.st);
        stmt_bytes_ -= kv.second.bytes;
        return true;
    });
}

bool Session::step(sqlite3_stmt* st) {
    const bool first = !sqlite3_stmt_busy(st);
    if (first) {
        pending_.reset();
        if (!grouped() && !sqlite3_stmt_readonly(st)) ensure_grouped();
    }
    const auto started = profile_ ? profile_->begin() : std::chrono::steady_clock::time_point{};
    const bool outer_read = std::exchange(stepping_read_, sqlite3_stmt_readonly(st) != 0);
    const int rc = sqlite3_step(st);
    stepping_read_ = outer_read;
    if (profile_) profile_->end(st, first, started);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        planner_->executed(st);
        sqlite3_reset(st);
        return false;
    }
    std::optional<Error> e = take_pending_error();
    if (!e) e = failure_of(db_, rc, catalog_.get());
    sqlite3_reset(st);
    recover_if_rolled_back();
    throw *e;
}

// Some failures (a full disk, an I/O error) make SQLite roll back the whole
// transaction: the user transactions and savepoints are gone and the catalog may
// describe changes that no longer exist.
// The earlier writes of the unit (outside a unit, those since the last commit) are gone
// with them: the unit is lost.
void Session::recover_if_rolled_back() {
    if (!db_ || !sqlite3_get_autocommit(db_)) return;
    if (trans_level_ == 0 && savepoint_depth_ == 0 && !unit_began_) return;
    forget_rolled_back();
}

// After the grouped transaction ended without a commit: user transactions are gone,
// the catalog is read again and the planner forgets, the open unit is lost. A catalog
// that cannot be read again now (the file still failing) stays as it was, stale: the
// failure that rolled the transaction back is the one its caller reports, not the
// reading's in its place, and the lost unit (and the stale catalog) refuse every later
// write.
void Session::forget_rolled_back() {
    if (unit_began_) unit_lost_ = true;
    trans_level_ = 0;
    trans_versions_.clear();
    planner_->forget();
    try {
        catalog_->load(path_);
    } catch (const Error&) {
    }
}

void Session::accept_lost_writes() {
    if (!db_ || unit_ || !writes_lost() || !sqlite3_get_autocommit(db_)) return;
    planner_->forget();
    catalog_->load(path_);  // a file still failing keeps refusing the writes
    trans_level_ = 0;
    trans_versions_.clear();
    unit_began_ = unit_lost_ = false;
}

void Session::exec(const std::string& sql) {
    sqlite3_stmt* st = prepare(sql);
    while (step(st)) {
    }
}

// Rebuilds the tables that still hold dropped columns, in the transaction about to be
// committed. A table that cannot be rebuilt now (a reader still on it) keeps its
// columns until the next commit: they are out of the catalog already, so only the
// space they take waits. Any other failure (a full disk, an I/O error) is raised: the
// commit must not pass over a write that failed, nor a transaction SQLite rolled back.
void Session::drop_leftover_columns() {
    if (!grouped()) return;
    try {
        // A model that a failed reload left stale is read again first: the columns to
        // drop are those the file's catalog no longer holds.
        if (catalog_->stale()) catalog_->load(path_);
        for (const auto& t : catalog_->drop_leftover_columns()) planner_->rebuilt(t);
    } catch (const Error& e) {
        if (sqlite3_get_autocommit(db_)) {
            forget_rolled_back();
            throw;
        }
        if (e.fault() != Fault::TableInUse) throw;
    }
}

// Brings the planner's hints up to date; between statements only, so that a hint
// written is never part of a statement's savepoint. The hints are written in the
// grouped transaction of a session that writes: one that has not begun it (a reader)
// writes nothing and takes no lock, and its statements are planned with the estimates
// that the file holds.
void Session::tune() {
    if (!grouped()) return;
    try {
        planner_->tune(*catalog_);
    } catch (const Error&) {
        if (sqlite3_get_autocommit(db_)) forget_rolled_back();
        throw;
    }
    if (profile_) profile_->take_plans();
}

void Session::atomic(const std::function<void()>& fn) {
    if (savepoint_depth_ == 0) before_write_statement();
    run_before_write();
    ensure_grouped();
    catalog_->refuse_if_stale();
    if (savepoint_depth_ == 0) tune();
    const std::string name = "jet_a" + std::to_string(savepoint_depth_ + 1);
    const uint64_t version = catalog_->version();
    exec("SAVEPOINT " + name);
    const WriteMark before = write_mark();
    ++savepoint_depth_;
    try {
        fn();
    } catch (...) {
        if (sqlite3_get_autocommit(db_)) {
            recover_if_rolled_back();
            --savepoint_depth_;
            throw;
        }
        --savepoint_depth_;
        // A failure that wrote nothing only ends its savepoint: rolling one back after
        // a schema change earlier in the transaction makes SQLite reload the whole schema.
        const bool wrote = write_mark() != before;
        sqlite3_exec(db_, ((wrote ? "ROLLBACK TO " + name + "; " : "") + "RELEASE " + name).c_str(),
                     nullptr, nullptr, nullptr);
        if (catalog_->version() != version) catalog_->load(path_);
        throw;
    }
    --savepoint_depth_;
    exec("RELEASE " + name);
}

void Session::atomic_statement(const std::function<void()>& fn) {
    if (savepoint_depth_ == 0) before_write_statement();
    run_before_write();
    ensure_grouped();
    catalog_->refuse_if_stale();
    if (savepoint_depth_ == 0) tune();
    ++savepoint_depth_;
    try {
        fn();
    } catch (...) {
        --savepoint_depth_;
        if (sqlite3_get_autocommit(db_)) recover_if_rolled_back();
        throw;
    }
    --savepoint_depth_;
}

int Session::begin_trans() {
    ensure_grouped();
    const std::string name = "jet_t" + std::to_string(trans_level_ + 1);
    exec("SAVEPOINT " + name);
    trans_versions_.push_back(catalog_->version());
    return ++trans_level_;
}

void Session::commit_trans() {
    if (trans_level_ == 0) raise(Fault::NoTransaction);
    exec("RELEASE jet_t" + std::to_string(trans_level_));
    trans_versions_.pop_back();
    --trans_level_;
}

void Session::rollback_trans() {
    if (trans_level_ == 0) raise(Fault::NoTransaction);
    run_before_write();
    const std::string name = "jet_t" + std::to_string(trans_level_);
    exec("ROLLBACK TO " + name);
    exec("RELEASE " + name);
    const uint64_t version = trans_versions_.back();
    trans_versions_.pop_back();
    --trans_level_;
    if (catalog_->version() != version) catalog_->load(path_);
    planner_->forget();
}

void Session::checkpoint(bool durable) {
    if (!db_) raise(Fault::Internal, "the database is closed");
    if (writes_lost()) unit_lost();
    if (trans_level_ > 0 || savepoint_depth_ > 0) return;
    end_snapshot();
    drop_leftover_columns();
    if (!sqlite3_get_autocommit(db_)) {
        const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const Error e = failure_of(db_, rc, catalog_.get());
            if (sqlite3_get_autocommit(db_)) forget_rolled_back();
            throw e;
        }
    }
    unit_ = 0;
    unit_began_ = unit_lost_ = false;
    // A commit is in the write-ahead log, which reaches the disk at the log's next
    // checkpoint; a durable commit flushes the log now, without copying it into the
    // file, which would take long after a commit that callers report at once.
    if (durable) {
        sqlite3_file* log = nullptr;
        if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) == SQLITE_OK &&
            log != nullptr && log->pMethods != nullptr) {
            const int rc = log->pMethods->xSync(log, SQLITE_SYNC_NORMAL);
            if (rc != SQLITE_OK) fail(rc);
        }
    }
    if (profile_) profile_->report();
    // Another process may take the lock now; the next write asks for it again.
    try {
        begin_locked();
    } catch (const Error&) {
    }
}

uint64_t Session::begin_unit() {
    if (!db_) raise(Fault::Internal, "the database is closed");
    if (unit_) raise(Fault::Internal, "a work unit is open");
    // Writes made before the unit and lost since the last commit are not the unit's to
    // forget.
    if (writes_lost()) unit_lost();
    unit_ = ++units_;
    unit_began_ = grouped();
    unit_lost_ = false;
    return unit_;
}

// Puts the file back as of the last commit: the grouped transaction is rolled back
// with the user transactions in it, and the catalog and the planner forget what it
// changed (as a rolled-back user transaction does).
void Session::abandon_unit() {
    unit_ = 0;
    unit_began_ = unit_lost_ = false;
    if (!db_) return;
    try {
        run_before_write();  // recordsets not read yet read what the unit wrote
    } catch (const Error&) {
    }
    if (grouped()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    forget_rolled_back();
}

uint64_t Session::before_next_write(std::function<void()> fn) {
    before_write_.emplace(++before_write_keys_, std::move(fn));
    return before_write_keys_;
}

void Session::cancel_before_write(uint64_t key) {
    before_write_.erase(key);
}

// Runs (and removes) the callbacks waiting for a write, in the order they were added;
// a callback may cancel others.
void Session::run_before_write() {
    while (!before_write_.empty()) {
        auto first = before_write_.begin();
        std::function<void()> fn = std::move(first->second);
        before_write_.erase(first);
        fn();
    }
}

}  // namespace jet
