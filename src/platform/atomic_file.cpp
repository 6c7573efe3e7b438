#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

// The letters mkstemp puts in place of "XXXXXX".
constexpr size_t kUniqueLetters = 6;
// How often a temporary file taken away before it was locked is made again.
constexpr int kCreateAttempts = 100;

[[noreturn]] void fail(const std::string& what, const fs::path& path, int err) {
    throw std::system_error(err, std::generic_category(), what + " " + path.string());
}

// Writes all of data to fd, resuming after short writes and interruptions.
bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool is_letter_or_digit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether name is a temporary file of a write of the file named file: "." + file + "."
// + six letters or digits.
bool is_temporary_of(std::string_view name, std::string_view file) {
    if (name.size() != file.size() + 2 + kUniqueLetters || name[0] != '.' ||
        name.substr(1, file.size()) != file || name[file.size() + 1] != '.')
        return false;
    for (char c : name.substr(file.size() + 2))
        if (!is_letter_or_digit(c)) return false;
    return true;
}

// The file a write of target replaces (a symbolic link followed) and its folder,
// created when missing.
struct Place {
    fs::path target, folder;
};

// The links one path may pass through before it is taken for a loop, as the system counts.
constexpr int kMaxLinks = 40;

// The file that the symbolic link link names, through any chain of links, whether it
// exists or not: a write through a link that dangles creates the file it names, as a
// write through any other link replaces it, and never replaces the link itself.
fs::path linked_file(const fs::path& link) {
    fs::path p = link;
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        if (hops == kMaxLinks) fail("cannot resolve", link, ELOOP);
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) fail("cannot resolve", link, ec.value());
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    p = fs::weakly_canonical(p, ec);
    if (ec) fail("cannot resolve", link, ec.value());
    return p;
}

Place place_of(const fs::path& target_in) {
    std::error_code ec;
    Place p{target_in, {}};
    if (fs::is_symlink(fs::symlink_status(p.target, ec))) p.target = linked_file(target_in);
    p.folder = p.target.parent_path();
    if (p.folder.empty()) p.folder = ".";
    fs::create_directories(p.folder, ec);
    if (ec) fail("cannot create the folder", p.folder, ec.value());
    return p;
}

// Removes the temporary files that writes of place's target left behind when their
// process was killed before the rename. A writer holds a lock on its temporary file
// from its creation to its rename, so a file of the pattern that can be locked has no
// live writer: it is removed while the lock is held, and a writer that created it but
// had not yet locked it finds it gone once it has the lock, and makes another. Where
// the file system takes no locks nothing is removed.
void remove_leftovers(const Place& p) {
    const std::string file = p.target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(p.folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!is_temporary_of(name, file)) continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(it->path().c_str(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(it->path().c_str());
        ::close(fd);
    }
}

// A new, empty temporary file beside place's target, locked against remove_leftovers
// until it is closed; removed on destruction unless it was renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const Place& p) {
        remove_leftovers(p);
        const std::string tmpl =
            (p.folder / ("." + p.target.filename().string() + ".XXXXXX")).string();
        for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
            std::vector<char> name(tmpl.begin(), tmpl.end());
            name.push_back('\0');
            fd_ = ::mkstemp(name.data());
            if (fd_ < 0) fail("cannot create a temporary file in", p.folder, errno);
            path_ = name.data();
            int rc;
            while ((rc = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
            }
            struct stat st {};
            // A file system without locks: nothing removes leftovers there either.
            if (rc != 0 || (::fstat(fd_, &st) == 0 && st.st_nlink > 0)) break;
            // Taken for a leftover between its creation and its lock.
            ::close(fd_);
            fd_ = -1;
        }
        if (fd_ < 0) fail("cannot keep a temporary file in", p.folder, ENOENT);
        // A second descriptor keeps the lock after the first is closed, up to the rename.
        lock_fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (lock_fd_ < 0) {
            const int err = errno;
            ::close(fd_);
            ::unlink(path_.c_str());
            fail("cannot lock", path_, err);
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(path_.c_str());
        if (lock_fd_ >= 0) ::close(lock_fd_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    // Closes the file's descriptor (the lock stays); false when the close failed.
    bool close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }
    // Renames the closed file over target.
    void rename_over(const fs::path& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0) abandon("cannot replace", target);
        renamed_ = true;
    }
    // Fails with the current errno; the destructor removes the file.
    [[noreturn]] void abandon(const char* what, const fs::path& p) const { fail(what, p, errno); }

  private:
    int fd_ = -1, lock_fd_ = -1;
    std::string path_;
    bool renamed_ = false;
};

}  // namespace

void write_file_atomically(const fs::path& target_in, std::string_view content, bool durable) {
    const Place p = place_of(target_in);

    mode_t mode = 0644;
    struct stat st {};
    const bool existed = ::stat(p.target.c_str(), &st) == 0;
    if (existed) mode = st.st_mode & 07777;

    TemporaryFile tmp(p);
    if (!write_all(tmp.fd(), content)) tmp.abandon("cannot write", tmp.path());
    if (::fchmod(tmp.fd(), mode) != 0) tmp.abandon("cannot set the permissions of", tmp.path());
    // The owner is kept too; only a privileged process may give a file away.
    if (existed && ::fchown(tmp.fd(), st.st_uid, st.st_gid) != 0 && errno != EPERM)
        tmp.abandon("cannot set the owner of", tmp.path());
    if (durable && ::fsync(tmp.fd()) != 0) tmp.abandon("cannot flush", tmp.path());
    if (!tmp.close()) tmp.abandon("cannot close", tmp.path());
    tmp.rename_over(p.target);

    // The rename is durable only once the folder itself is on disk.
    if (!durable) return;
    int dfd = ::open(p.folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void check_replaceable(const fs::path& target) {
    TemporaryFile probe(place_of(target));
}

namespace {

// Opens the lock file beside place's target read-write, creating it when missing (see
// LockFile); read-only, with read_only set, when it may be read but not written.
int open_lock_file(const Place& p, const fs::path& lock, bool& read_only) {
    constexpr int kFlags = O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        int fd = ::open(lock.c_str(), O_RDWR | kFlags);
        if (fd >= 0) return fd;
        if (errno == EACCES) {
            const int err = errno;
            fd = ::open(lock.c_str(), O_RDONLY | kFlags);
            if (fd < 0) fail("cannot open the lock file", lock, err);
            read_only = true;
            return fd;
        }
        if (errno != ENOENT) fail("cannot open the lock file", lock, errno);

        mode_t mode = 0644;
        struct stat st {};
        const bool target_exists = ::stat(p.target.c_str(), &st) == 0;
        if (target_exists) mode = st.st_mode & 07777;
        fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;  // made by another process meanwhile
            fail("cannot create the lock file", lock, errno);
        }
        // The umask may have taken bits away; only a privileged process may give the
        // file away.
        if (::fchmod(fd, mode) != 0 ||
            (target_exists && ::fchown(fd, st.st_uid, st.st_gid) != 0 && errno != EPERM)) {
            const int err = errno;
            ::close(fd);
            fail("cannot set the permissions of the lock file", lock, err);
        }
        return fd;
    }
    fail("cannot keep the lock file", lock, ENOENT);
}

}  // namespace

LockFile::LockFile(const fs::path& target, std::chrono::milliseconds patience) {
    const Place p = place_of(target);
    const fs::path lock = p.folder / ("." + p.target.filename().string() + ".lock");
    bool read_only = false;
    fd_ = open_lock_file(p, lock, read_only);
    // Polled rather than waited for, so that the wait has a bound; a writer holds the
    // lock for milliseconds, and a killed one has already let it go.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) continue;
        if (err == EOPNOTSUPP || err == ENOSYS) return;  // a file system without locks
        if (err == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds(16));
            continue;
        }
        ::close(fd_);
        fd_ = -1;
        if (err == EBADF && read_only)
            throw std::system_error(
                err, std::generic_category(),
                "the lock file " + lock.string() +
                    " may not be opened for writing, which this file system needs to lock it");
        if (err != EWOULDBLOCK) fail("cannot lock", lock, err);
        const auto ms = patience.count();
        throw std::system_error(
            err, std::generic_category(),
            "another process's write has held the lock file " + lock.string() + " for " +
                (ms % 1000 ? std::to_string(ms) + " ms" : std::to_string(ms / 1000) + " s"));
    }
}

LockFile::~LockFile() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
