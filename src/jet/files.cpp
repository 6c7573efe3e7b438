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

[[noreturn]] void system_failure(const char* what, const std::string& path, int err) {
    if (err == ENOSPC || err == EDQUOT) raise(Fault::DiskFull);
    raise(Fault::Internal, std::string(what) + " '" + path + "': " + std::strerror(err));
}

// A descriptor closed with its owner.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

using FileKey = std::pair<dev_t, ino_t>;

struct Held {
    int fd;     // the descriptor that carries the lock
    int count;  // holds of the process on the file
};

std::mutex holds_mutex;
std::map<FileKey, Held>& holds() {
    static std::map<FileKey, Held> h;
    return h;
}

// Adds a hold on the open file fd (whose descriptor passes to the table or is
// closed). Caller holds holds_mutex.
FileKey add_hold(int fd, int count) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        raise(Fault::Internal,
              std::string("cannot examine a database file: ") + std::strerror(err));
    }
    const FileKey key{st.st_dev, st.st_ino};
    auto& h = holds();
    if (auto it = h.find(key); it != h.end()) {
        it->second.count += count;
        ::close(fd);
        return key;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        // A file system without whole-file locks holds nothing: the file is used as is.
        if (err == EWOULDBLOCK || err == EINTR) {
            ::close(fd);
            raise(Fault::FileLocked);
        }
    }
    h.emplace(key, Held{fd, count});
    return key;
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

}  // namespace

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

std::string checked_path(const std::string& path) {
    if (path.empty()) raise(Fault::FileNotFound, path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENAMETOOLONG) raise(Fault::PathTooLong, path);
        if (errno == EACCES) raise(Fault::NotReadable, path);
        raise(Fault::FileNotFound, path);
    }
    if (!S_ISREG(st.st_mode)) raise(Fault::UnrecognizedDatabase, path);
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) {
        if (errno == ENAMETOOLONG) raise(Fault::PathTooLong, path);
        raise(Fault::FileNotFound, path);
    }
    std::string canon(real);
    std::free(real);
    if (canon.size() > kMaxPathBytes) raise(Fault::PathTooLong, path);
    Fd f{::open(canon.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) {
        if (errno == EACCES || errno == EPERM) raise(Fault::NotReadable, path);
        raise(Fault::FileNotFound, path);
    }
    return canon;
}

void check_writable(const std::string& path) {
    const std::string folder = folder_of(path);
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
        raise(Fault::ReadOnlyFolder, path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0 && (errno == EACCES || errno == EROFS))
        raise(Fault::ReadOnlyFolder, path);
    if (::access(path.c_str(), W_OK) != 0) {
        if (errno == EROFS) raise(Fault::ReadOnlyFolder, path);
        if (errno == EACCES || errno == EPERM) raise(Fault::ReadOnlyDatabase);
    }
}

FileHold::FileHold(const std::string& path) {
    check_writable(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES) raise(Fault::NotReadable, path);
        raise(Fault::FileNotFound, path);
    }
    std::lock_guard lock(holds_mutex);
    const FileKey key = add_hold(fd, 1);
    dev_ = key.first;
    ino_ = key.second;
}

FileHold::~FileHold() {
    std::lock_guard lock(holds_mutex);
    auto& h = holds();
    auto it = h.find({dev_, ino_});
    if (it == h.end() || --it->second.count > 0) return;
    ::close(it->second.fd);
    h.erase(it);
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
        std::lock_guard lock(holds_mutex);
        auto& h = holds();
        if (auto it = h.find({old.st_dev, old.st_ino}); it != h.end()) {
            // The new file is held as the old one was before it takes the name.
            const int count = it->second.count;
            const int dup = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (dup < 0) system_failure("cannot hold", from, errno);
            add_hold(dup, count);
        }
    }
    if (::rename(from.c_str(), to.c_str()) != 0) system_failure("cannot replace", to, errno);
    // The rename is durable only once the folder is on the disk.
    Fd dir{::open(folder_of(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0 && ::fsync(dir.fd) != 0) system_failure("cannot flush", folder_of(to), errno);
}

}  // namespace jet
