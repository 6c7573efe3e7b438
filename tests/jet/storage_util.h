// Helpers of the storage, catalog and DDL tests: scratch files, DDL through SQL
// text, and raw reads of a table's stored values.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "jet/database.h"
#include "jet/files.h"
#include "jet/ddl.h"
#include "jet/session.h"
#include "jet/sql/parser.h"

namespace storage_test {

// A scratch folder removed at the end of the test.
class ScratchDir {
  public:
    ScratchDir() {
        std::string tpl = (std::filesystem::temp_directory_path() / "jetstore-XXXXXX").string();
        path_ = mkdtemp(tpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string read_bytes(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return {};
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names of the files in a folder, sorted.
inline std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void ddl(jet::Database& db, const std::string& sql) {
    jet::execute_ddl(db.session(), jet::sql::parse(sql));
}

// The failure number of a DDL statement, 0 when it succeeds.
inline uint32_t ddl_error(jet::Database& db, const std::string& sql, std::string* text = nullptr) {
    try {
        ddl(db, sql);
    } catch (const jet::Error& e) {
        if (text) *text = e.description();
        return e.number();
    }
    return 0;
}

// Runs SQLite text on the session's connection inside the grouped transaction.
inline void raw(jet::Database& db, const std::string& sql) {
    db.session().exec(sql);
}

// The stored values of one column in row order, as SQLite text ("NULL" for Null).
inline std::vector<std::string> column_values(jet::Database& db, const std::string& table,
                                              const std::string& column) {
    const jet::TableInfo* t = db.catalog().table(table);
    const jet::ColumnInfo* c = t ? t->column(column) : nullptr;
    if (!c) ADD_FAILURE() << "no column " << table << "." << column;
    if (!c) return {};
    sqlite3_stmt* st =
        db.session().prepare("SELECT " + c->sql_name + " FROM " + t->sql_name + " ORDER BY rowid");
    std::vector<std::string> out;
    while (db.session().step(st)) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        out.push_back(p ? p : "NULL");
    }
    return out;
}

// Inserts a row of SQLite literals into a table's columns, named in Jet names.
inline void insert_raw(jet::Database& db, const std::string& table,
                       const std::vector<std::string>& columns, const std::string& values) {
    const jet::TableInfo* t = db.catalog().table(table);
    std::string cols;
    for (const auto& c : columns) cols += (cols.empty() ? "" : ", ") + t->column(c)->sql_name;
    raw(db, "INSERT INTO " + t->sql_name + "(" + cols + ") VALUES " + values);
}

// What another process finds of this process's SQLite connection on a database file.
struct SeenByOthers {
    bool locked = false;    // SQLite's shared lock of this process is on the file
    bool log_kept = false;  // an SQLite open and close by the other process left the log
};

// The other process's part of seen_by_others: the test program started again with the
// file's path in STORAGE_PROBE. Its exit status is 1 when the lock conflicts, 0 when it
// does not, 2 when the file does not open.
inline int probe_locks(const char* path) {
    constexpr off_t kSharedFirst = 0x40000000 + 2;  // SQLite's pending byte + 2
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kSharedFirst;
    fl.l_len = 510;
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0 || ::fcntl(fd, F_GETLK, &fl) != 0) return 2;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return fl.l_type != F_UNLCK ? 1 : 0;
}

inline const bool probe_run = [] {
    if (const char* path = std::getenv("STORAGE_PROBE")) ::_exit(probe_locks(path));
    return false;
}();

// Asks another process (a fresh one: a forked child would inherit this process's SQLite
// state): whether a write lock over SQLite's shared-lock bytes of the file would
// conflict, then whether its own SQLite connection opened and closed on the file leaves
// the file's write-ahead log in place. A process whose locks are gone is taken for
// gone: the other's close checkpoints the log and deletes it.
inline SeenByOthers seen_by_others(const std::string& path) {
    struct stat before {};
    const bool had_log = ::stat((path + "-wal").c_str(), &before) == 0;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("STORAGE_PROBE", path.c_str(), 1);
        ::execl("/proc/self/exe", "probe", static_cast<char*>(nullptr));
        ::_exit(3);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    struct stat after {};
    SeenByOthers seen;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "the probe ran";
    seen.locked = WIFEXITED(status) && WEXITSTATUS(status) == 1;
    seen.log_kept = had_log && ::stat((path + "-wal").c_str(), &after) == 0 &&
                    after.st_ino == before.st_ino && after.st_size >= before.st_size;
    return seen;
}

// A new database at path with the table Towar of three rows (Id 1, 2, 3).
inline void make_database(const std::string& path) {
    jet::Database::create(path);
    auto db = jet::Database::open(path);
    ddl(*db, "CREATE TABLE Towar (Id long)");
    insert_raw(*db, "Towar", {"Id"}, "(1), (2), (3)");
    db->close();
}

// Another process, forked, that runs a body and ends: the constructor returns once the
// body calls ready(), and the body waits for each of the parent's orders with await().
// release() gives the last order and waits for the end; true when the body returned
// and the process ended as it should.
class OtherProcess {
  public:
    explicit OtherProcess(const std::function<void(OtherProcess&)>& body) {
        if (::pipe(ready_) != 0 || ::pipe(orders_) != 0) {
            ADD_FAILURE() << "no pipes";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            try {
                body(*this);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        char c = 0;
        EXPECT_EQ(::read(ready_[0], &c, 1), 1) << "the other process got ready";
    }
    ~OtherProcess() { release(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;
    void ready() {
        if (::write(ready_[1], "r", 1) != 1) ::_exit(2);
    }
    void await() {
        char c = 0;
        if (::read(orders_[0], &c, 1) != 1) ::_exit(2);
    }
    void order() { EXPECT_EQ(::write(orders_[1], "o", 1), 1); }
    bool release() {
        if (pid_ <= 0) return false;
        order();
        int status = 0;
        ::waitpid(std::exchange(pid_, -1), &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

  private:
    pid_t pid_ = -1;
    int ready_[2] = {-1, -1};
    int orders_[2] = {-1, -1};
};

// Another process that holds the file at path (jet::FileHold) from construction until
// release().
class OtherProcessHold : public OtherProcess {
  public:
    explicit OtherProcessHold(const std::string& path)
        : OtherProcess([&path](OtherProcess& self) {
              jet::FileHold hold(path);
              self.ready();
              self.await();
          }) {}
};

}  // namespace storage_test
