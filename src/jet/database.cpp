#include "jet/database.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "jet/session.h"

namespace jet {

namespace {

// Creates the file itself, refusing one that exists (even when it appears between a
// check and the creation), or raises why it cannot be created: it exists, its folder
// may not be written, the disk is full, the path is too long or a folder; a folder on
// the path that is missing or a file is named as an open names it.
void create_empty_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    switch (errno) {
        case EEXIST:
            if (std::error_code ec; std::filesystem::is_directory(path, ec))
                raise(Fault::FolderNotFile, path);
            raise(Fault::DatabaseExists, path);
        case EACCES:
        case EPERM:
        case EROFS:
            raise(Fault::ReadOnlyFolder, path);
        case ENOSPC:
        case EDQUOT:
            raise(Fault::DiskFull);
        case ENAMETOOLONG:
            raise(Fault::PathTooLong, path);
        case EISDIR:
            raise(Fault::FolderNotFile, path);
        default:
            checked_path(path);  // a missing folder, or a file where a folder should be
            raise(Fault::FileNotFound, path);
    }
}

}  // namespace

std::shared_ptr<Database> Database::open(const std::string& path, const std::string& password,
                                         Unwritable unwritable) {
    std::shared_ptr<Session> s = Session::open(path, password, unwritable == Unwritable::Read);
    s->add_handle();
    return std::shared_ptr<Database>(new Database(std::move(s)));
}

void Database::create(const std::string& path, const CreateOptions& options) {
    if (!known_format_version(options.format_version))
        raise(Fault::Internal, "unknown format version " + options.format_version);
    create_empty_file(path);
    sqlite3* db = nullptr;
    try {
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) throw sqlite_failure(db, rc);
        sqlite3_extended_result_codes(db, 1);
        for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"}) {
            rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) throw sqlite_failure(db, rc);
        }
        {
            Catalog catalog(db);
            catalog.initialize(
                DatabaseProperties{options.format_version, options.locale, options.password});
        }
        rc = sqlite3_close(db);
        db = nullptr;
        if (rc != SQLITE_OK) raise(Fault::Internal, "closing the new database failed");
    } catch (...) {
        if (db) sqlite3_close_v2(db);
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix, ec);
        throw;
    }
}

void Database::copy(const std::string& from, const std::string& to, const std::string& password) {
    Session::copy(from, to, password);
}

std::optional<Error> Database::log_not_copied(const std::string& path) {
    return Session::take_log_left(path);
}

Database::Database(std::shared_ptr<Session> s) : session_(std::move(s)) {}

Database::~Database() {
    try {
        close();
    } catch (...) {
        // The last resort of a handle that was not closed: close() reports the failure.
    }
}

void Database::close() {
    if (!open_) return;
    open_ = false;
    session_->release_handle();
}

bool Database::is_open() const {
    return open_;
}

namespace {
[[noreturn]] void closed() {
    raise(Fault::Internal, "the database is closed");
}
}  // namespace

int Database::begin_trans() {
    if (!open_) closed();
    return session_->begin_trans();
}

void Database::commit_trans() {
    if (!open_) closed();
    session_->commit_trans();
}

void Database::rollback_trans() {
    if (!open_) closed();
    session_->rollback_trans();
}

int Database::trans_level() const {
    return open_ ? session_->trans_level() : 0;
}

void Database::checkpoint(bool durable) {
    if (!open_) closed();
    session_->checkpoint(durable);
}

void Database::interrupt(bool writes_too) {
    if (open_) session_->interrupt(writes_too);
}

void Database::accept_interrupts() {
    if (!open_) closed();
    session_->accept_interrupts();
}

void Database::accept_lost_writes() {
    if (!open_) closed();
    session_->accept_lost_writes();
}

void Database::leave_file_whole_at_close() {
    if (!open_) closed();
    session_->leave_file_whole();
}

const std::string& Database::path() const {
    return session_->path();
}

const Catalog& Database::catalog() const {
    if (!open_) closed();
    return session_->catalog();
}

Session& Database::session() {
    if (!open_) closed();
    return *session_;
}

WorkUnit::WorkUnit(Database& db) : session_(db.session_) {
    if (!db.open_) closed();
    number_ = session_->begin_unit();
    session_->add_handle();
}

WorkUnit::~WorkUnit() {
    try {
        abandon();
    } catch (...) {
        // A destructor absorbs the failure of reading the catalog again: the rollback is done.
    }
    try {
        session_->release_handle();
    } catch (...) {
    }
}

bool WorkUnit::is_open() const {
    return number_ != 0 && session_->open_unit() == number_;
}

void WorkUnit::abandon() {
    if (is_open()) session_->abandon_unit();
    number_ = 0;
}

}  // namespace jet
