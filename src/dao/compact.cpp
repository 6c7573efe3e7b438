// DBEngine.CompactDatabase: a fresh, defragmented copy of a database file.
//
// The file's engine session commits its grouped writes first, so that the copy holds
// the state every handle in this process sees; VACUUM INTO then writes a rebuilt copy
// beside the destination, which takes the destination's name only when complete: a
// failure at any point leaves no destination file behind and the source untouched.
// The catalog travels with the data, and with it the format version and password.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "dao/internal.h"
#include "jet/database.h"
#include "jet/files.h"
#include "jet/session.h"
#include "jet/sqlfuncs.h"

namespace dao {

namespace {

[[noreturn]] void compaction_failed(const std::string& what) {
    jet::raise(jet::Fault::Internal, "compacting the database: " + what);
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
        // The permissions of any new file (mkstemp makes it private to its owner).
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
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

// Writes the last committed state of the source file into the (empty) scratch file
// with VACUUM INTO, on a connection of its own: the session keeps its write lock
// meanwhile, and the connection carries the engine's collation so that the indexes
// can be rebuilt.
void vacuum_into(jet::Session& session, const std::string& scratch) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(session.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 5000);
        jet::register_functions(db, &session);
        rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_text(st, 1, scratch.c_str(), -1, SQLITE_TRANSIENT);
            rc = sqlite3_step(st);
            if (rc == SQLITE_DONE) rc = SQLITE_OK;
        }
    }
    std::optional<jet::Error> failure;
    std::string message;
    if (rc != SQLITE_OK) {
        failure = jet::sqlite_failure(db, rc, session.path());
        message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    }
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    if (!failure) return;
    // A locked file, a full disk or an I/O error is reported as what it is; the rest as
    // a failed compaction.
    if (jet::environment_failure(*failure)) throw *failure;
    compaction_failed(message);
}

// Gives the scratch file the destination's name, never replacing a file that
// appeared there meanwhile.
void put_in_place(ScratchFile& scratch, const std::string& destination) {
    if (::link(scratch.path().c_str(), destination.c_str()) == 0) return;  // scratch removed later
    if (errno == EEXIST) jet::raise(jet::Fault::DatabaseExists, destination);
    // A file system without hard links: check, then rename.
    std::error_code ec;
    if (std::filesystem::exists(destination, ec))
        jet::raise(jet::Fault::DatabaseExists, destination);
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
    if (std::filesystem::exists(dst, ec)) jet::raise(jet::Fault::DatabaseExists, dst);

    std::shared_ptr<jet::Database> db = jet::Database::open(src, detail::default_password());
    if (db->trans_level() > 0)
        throw jet::Error(jet::hr::Unspecified, "Could not use '" + src + "'; file already in use.");
    db->checkpoint();

    ScratchFile scratch(dst);
    vacuum_into(db->session(), scratch.path());
    jet::flush_file(scratch.path());
    put_in_place(scratch, dst);
    db->close();
}

}  // namespace dao
