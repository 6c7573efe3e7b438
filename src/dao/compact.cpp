// DBEngine.CompactDatabase: a fresh, defragmented copy of a database file.
//
// The copy is taken through SQLite's backup interface from the file's engine session
// (so that it is the state every handle in this process sees), then rebuilt with
// VACUUM into its own pages, and only then put in place under the destination name:
// a failure at any point leaves no destination file behind and the source untouched.
// The catalog travels with the pages, and with it the format version and password.
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "dao/internal.h"
#include "jet/database.h"
#include "jet/session.h"

namespace dao {

namespace {

[[noreturn]] void compaction_failed(const std::string& what) {
    jet::raise(jet::Fault::Internal, "compacting the database: " + what);
}

[[noreturn]] void destination_exists(const std::string& path) {
    throw jet::Error(jet::hr::Unspecified, "Database '" + path + "' already exists.");
}

// A new, empty file beside the destination, removed again unless released.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& destination) {
        std::vector<char> name(destination.begin(), destination.end());
        const std::string suffix = ".compact-XXXXXX";
        name.insert(name.end(), suffix.begin(), suffix.end());
        name.push_back('\0');
        int fd = mkstemp(name.data());
        if (fd < 0) compaction_failed("cannot create a file beside '" + destination + "'");
        ::close(fd);
        path_ = name.data();
    }
    ~ScratchFile() {
        if (!path_.empty()) std::remove(path_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

  private:
    std::string path_;
};

class Connection {
  public:
    explicit Connection(const std::string& path) {
        int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) check(rc);
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return db_; }
    void check(int rc) const {
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            compaction_failed(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    }

  private:
    sqlite3* db_ = nullptr;
};

// Copies every page of the session's file into the scratch file and rebuilds it.
void copy_pages(sqlite3* source, const std::string& scratch) {
    Connection dest(scratch);
    sqlite3_backup* b = sqlite3_backup_init(dest.get(), "main", source, "main");
    if (!b) dest.check(sqlite3_errcode(dest.get()));
    int rc = sqlite3_backup_step(b, -1);
    int finish = sqlite3_backup_finish(b);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) jet::raise(jet::Fault::FileLocked);
    dest.check(rc == SQLITE_DONE ? finish : rc);
    dest.check(sqlite3_exec(dest.get(), "VACUUM", nullptr, nullptr, nullptr));
}

// Gives the scratch file the destination's name, never replacing a file that
// appeared there meanwhile.
void put_in_place(ScratchFile& scratch, const std::string& destination) {
    if (::link(scratch.path().c_str(), destination.c_str()) == 0) return;  // scratch removed later
    if (errno == EEXIST) destination_exists(destination);
    // A file system without hard links: check, then rename.
    std::error_code ec;
    if (std::filesystem::exists(destination, ec)) destination_exists(destination);
    std::filesystem::rename(scratch.path(), destination, ec);
    if (ec) compaction_failed("cannot write '" + destination + "': " + ec.message());
    scratch.release();
}

}  // namespace

// The source is opened with the default password, which validates it as one of
// ours; when it is open in this process its session is the one used, and its
// grouped writes are committed first so that the copy holds them. A source inside
// a user transaction is in use and is refused. The locale text is accepted for
// DAO's sake: the copy keeps the source's collating locale.
void DBEngine::CompactDatabase(std::string_view source, std::string_view destination,
                               std::string_view /*locale*/) {
    const std::string src(source), dst(destination);
    std::error_code ec;
    if (std::filesystem::exists(dst, ec)) destination_exists(dst);

    std::shared_ptr<jet::Database> db = jet::Database::open(src, detail::default_password());
    if (db->trans_level() > 0)
        throw jet::Error(jet::hr::Unspecified, "Could not use '" + src + "'; file already in use.");
    db->checkpoint();

    ScratchFile scratch(dst);
    copy_pages(db->session().handle(), scratch.path());
    put_in_place(scratch, dst);
    db->close();
}

}  // namespace dao
