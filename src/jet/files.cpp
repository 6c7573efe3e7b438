#include "jet/files.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "jet/error.h"

namespace jet {

namespace {

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The failure of a system call on a file: its condition (fault_of_errno), else what
// went wrong.
[[noreturn]] void system_failure(const char* what, const std::string& path, int err) {
    if (const auto f = fault_of_errno(err)) raise(*f);
    raise(Fault::Internal, std::string(what) + " '" + path + "': " + std::strerror(err));
}

using FileKey = std::pair<dev_t, ino_t>;

// What the process has on one file (device and inode, whatever the path).
struct FileUse {
    int hold_fd = -1;         // the descriptor that carries the hold's lock
    int holds = 0;            // holds of the process on the file
    int connections = 0;      // SQLite connections of the process on the file
    std::vector<int> parked;  // descriptors let go while a connection was open
};

std::mutex uses_mutex;
// Never destroyed: a database that a static object of the program closes at the exit
// still finds it.
std::map<FileKey, FileUse>& uses() {
    static auto* u = new std::map<FileKey, FileUse>;
    return *u;
}

// Forgets a file's entry once nothing of the process is on it. Caller holds uses_mutex.
void forget_if_unused(std::map<FileKey, FileUse>::iterator it) {
    const FileUse& u = it->second;
    if (u.holds == 0 && u.connections == 0 && u.parked.empty()) uses().erase(it);
}

// Closes fd, or keeps it (parked) while a connection of the process has its file open:
// closing any descriptor on a file drops every POSIX lock of the process on it, SQLite's
// included. Caller holds uses_mutex.
void let_go_locked(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        auto& u = uses();
        if (auto it = u.find({st.st_dev, st.st_ino}); it != u.end() && it->second.connections > 0) {
            it->second.parked.push_back(fd);
            return;
        }
    }
    ::close(fd);
}

// A descriptor let go with its owner (see close_descriptor).
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) close_descriptor(fd);
    }
};

// Adds count holds on the file open as fd (its device and inode key), whose descriptor
// passes to the table, or is let go when the process holds the file already or the
// hold is refused. Caller holds uses_mutex.
void add_hold(int fd, const FileKey& key, int count) {
    FileUse& u = uses()[key];
    if (u.holds > 0) {
        u.holds += count;
        let_go_locked(fd);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        // A file system without whole-file locks holds nothing: the file is used as is.
        if (err == EWOULDBLOCK || err == EINTR) {
            let_go_locked(fd);
            forget_if_unused(uses().find(key));
            raise(Fault::FileLocked);
        }
    }
    u.hold_fd = fd;
    u.holds = count;
}

// Empties the write-ahead log of the database at path, when it has one, so that
// another file renamed to its name finds no log pages that are not its own.
void empty_log(const std::string& path) {
    struct stat st {};
    if (::stat((path + "-wal").c_str(), &st) != 0) return;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(sqlite_uri(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI,
                             nullptr);
    int busy = 1;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 3000);
        sqlite3_stmt* q = nullptr;
        rc = sqlite3_prepare_v2(db, "PRAGMA wal_checkpoint(TRUNCATE)", -1, &q, nullptr);
        if (rc == SQLITE_OK && sqlite3_step(q) == SQLITE_ROW) busy = sqlite3_column_int(q, 0);
        sqlite3_finalize(q);
    }
    sqlite3_close_v2(db);
    if (busy != 0) raise(Fault::FileLocked);
}

// Renames from to to, and flushes the folder: the rename is durable only once the folder
// is on the disk.
void rename_durably(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) system_failure("cannot replace", to, errno);
    Fd dir{::open(folder_of(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0 && ::fsync(dir.fd) != 0) system_failure("cannot flush", folder_of(to), errno);
}

}  // namespace

std::optional<Fault> fault_of_errno(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT:
            return Fault::DiskFull;
        case EROFS:
            return Fault::ReadOnlyDatabase;
        case ENOMEM:
            return Fault::OutOfMemory;
        case EIO:
        case ENXIO:
        case ENODEV:
        case ESTALE:
        case EREMOTEIO:
        case EUCLEAN:
        case ENOLINK:
        case ECOMM:
        case ETIMEDOUT:
            return Fault::IoError;
        default:
            return std::nullopt;
    }
}

std::string sqlite_uri(const std::string& path) {
    std::string out = "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static const char hex[] = "0123456789abcdef";
            out += '%';
            out += hex[(static_cast<unsigned char>(c) >> 4) & 15];
            out += hex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The first part of path, up to a "/", that is there and is not a folder (what makes
// the system answer ENOTDIR: "baza.mdb" of "baza.mdb/"); "" when there is none.
std::string file_on_the_way(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        struct stat st {};
        if (::stat(part.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return part;
    }
    return "";
}

}  // namespace

std::string checked_path(const std::string& path) {
    if (path.empty()) raise(Fault::FileNotFound, path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENAMETOOLONG) raise(Fault::PathTooLong, path);
        if (errno == EACCES) raise(Fault::NotReadable, path);
        if (errno == ENOTDIR)
            if (const std::string file = file_on_the_way(path); !file.empty())
                raise(Fault::FileNotFolder, path, file);
        raise(Fault::FileNotFound, path);
    }
    if (S_ISDIR(st.st_mode)) raise(Fault::FolderNotFile, path);
    if (!S_ISREG(st.st_mode)) raise(Fault::UnrecognizedDatabase, path);
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) {
        if (errno == ENAMETOOLONG) raise(Fault::PathTooLong, path);
        raise(Fault::FileNotFound, path);
    }
    std::string canon(real);
    std::free(real);
    if (canon.size() > kMaxPathBytes) raise(Fault::PathTooLong, path);
    // Asked of the system, not found by opening the file: closing a descriptor would
    // drop the locks of a connection of this process that has the file open.
    if (::faccessat(AT_FDCWD, canon.c_str(), R_OK, AT_EACCESS) != 0) {
        if (errno == EACCES || errno == EPERM) raise(Fault::NotReadable, path);
        raise(Fault::FileNotFound, path);
    }
    return canon;
}

// A file or folder whose mode gives no one the right to write: read-only for every user,
// root included, whom the system's own check lets write anything.
static bool mode_forbids_writing(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void check_writable(const std::string& path) {
    const std::string folder = folder_of(path);
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
        raise(Fault::ReadOnlyFolder, path);
    if (mode_forbids_writing(folder)) raise(Fault::ReadOnlyFolder, path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0 && (errno == EACCES || errno == EROFS))
        raise(Fault::ReadOnlyFolder, path);
    if (mode_forbids_writing(path)) raise(Fault::ReadOnlyDatabase);
    if (::access(path.c_str(), W_OK) != 0) {
        if (errno == EROFS) raise(Fault::ReadOnlyFolder, path);
        if (errno == EACCES || errno == EPERM) raise(Fault::ReadOnlyDatabase);
    }
}

FileHold::FileHold(const std::string& path) {
    const std::string canon = checked_path(path);
    check_writable(canon);
    struct stat st {};
    if (::stat(canon.c_str(), &st) != 0) raise(Fault::FileNotFound, path);
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    std::lock_guard lock(uses_mutex);
    if (auto it = uses().find({dev_, ino_}); it != uses().end() && it->second.holds > 0) {
        ++it->second.holds;  // shared without a descriptor of its own
        return;
    }
    // A descriptor parked beside an open connection serves again, so that attempts
    // refused while another process holds the file do not pile descriptors up.
    if (auto it = uses().find({dev_, ino_}); it != uses().end() && !it->second.parked.empty()) {
        const int fd = it->second.parked.back();
        it->second.parked.pop_back();
        add_hold(fd, {dev_, ino_}, 1);
        return;
    }
    const int fd = ::open(canon.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) raise(Fault::NotReadable, path);
        raise(Fault::FileNotFound, path);
    }
    if (::fstat(fd, &st) != 0 || st.st_dev != dev_ || st.st_ino != ino_) {
        let_go_locked(fd);
        raise(Fault::FileNotFound, path);  // replaced between the look and the open
    }
    add_hold(fd, {dev_, ino_}, 1);
}

FileHold::~FileHold() {
    std::lock_guard lock(uses_mutex);
    auto it = uses().find({dev_, ino_});
    if (it == uses().end() || it->second.holds == 0 || --it->second.holds > 0) return;
    const int fd = std::exchange(it->second.hold_fd, -1);
    if (fd >= 0) {
        // A descriptor parked for a connection keeps its lock unless it is let go here.
        ::flock(fd, LOCK_UN);
        let_go_locked(fd);
    }
    forget_if_unused(it);
}

FileInUse::FileInUse(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return;
    key_ = {st.st_dev, st.st_ino};
    std::lock_guard lock(uses_mutex);
    ++uses()[*key_].connections;
}

FileInUse::~FileInUse() {
    if (!key_) return;
    std::vector<int> parked;
    {
        std::lock_guard lock(uses_mutex);
        auto it = uses().find(*key_);
        if (it == uses().end()) return;
        if (--it->second.connections == 0) parked.swap(it->second.parked);
        forget_if_unused(it);
    }
    for (int fd : parked) ::close(fd);
}

void close_descriptor(int fd) {
    std::lock_guard lock(uses_mutex);
    let_go_locked(fd);
}

void hold_until_exit(const std::string& path) {
    // Kept to the end of the process, which lets the lock go. The list is made after the
    // first hold, so that it is destroyed before the table of holds that it refers to.
    auto hold = std::make_unique<FileHold>(path);
    static std::mutex kept_mutex;
    static std::vector<std::unique_ptr<FileHold>> kept;
    std::lock_guard lock(kept_mutex);
    kept.push_back(std::move(hold));
}

void flush_file(const std::string& path) {
    Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) system_failure("cannot open", path, errno);
    if (::fsync(f.fd) != 0) system_failure("cannot flush", path, errno);
}

void replace_database(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) system_failure("cannot open", from, errno);
    Fd f{fd};
    struct stat old {};
    const bool had_old = ::stat(to.c_str(), &old) == 0;
    if (had_old) {
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            system_failure("cannot set the mode of", from, errno);
        // Only a privileged process may give a file away; others keep their own.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            system_failure("cannot set the owner of", from, errno);
    }
    if (::fsync(fd) != 0) system_failure("cannot flush", from, errno);
    if (had_old) {
        empty_log(to);
        std::lock_guard lock(uses_mutex);
        if (auto it = uses().find({old.st_dev, old.st_ino});
            it != uses().end() && it->second.holds > 0) {
            // The new file is held as the old one was before it takes the name.
            struct stat st {};
            if (::fstat(fd, &st) != 0) system_failure("cannot examine", from, errno);
            const int count = it->second.holds;
            const int dup = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (dup < 0) system_failure("cannot hold", from, errno);
            add_hold(dup, {st.st_dev, st.st_ino}, count);
        }
    }
    rename_durably(from, to);
}

void install_file(const std::string& from, const std::string& to, mode_t mode) {
    {
        Fd f{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
        if (f.fd < 0) system_failure("cannot open", from, errno);
        if (::fchmod(f.fd, mode) != 0) system_failure("cannot set the mode of", from, errno);
        if (::fsync(f.fd) != 0) system_failure("cannot flush", from, errno);
    }
    rename_durably(from, to);
}

}  // namespace jet
