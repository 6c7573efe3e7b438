// Loaded into konwersja (LD_PRELOAD) by every_write.sh. Just before each write of the
// database or its log, copies the database's folder and the registry file as they stand
// on disk at that instant (what a process killed at that write leaves behind) into the
// numbered folder COPY_DIR/NNNNNNN, then lets the write happen. While COPY_MAX copies
// wait to be checked the run waits, so that the copies never fill the disk.
//
// Files the process has open are read through its own descriptors: opening and closing
// another descriptor of the database would drop the process's SQLite locks on it.
//
// Environment: COPY_DB (the database's absolute path), COPY_DIR, COPY_MAX (default 64),
// COPY_REGISTRY (a file copied too, as registry.reg).
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::mutex lock;
long writes = 0;

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string fd_path(int fd) {
    char link[64];
    char buf[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// The process's open descriptors by the path they name.
std::map<std::string, int> open_files() {
    std::map<std::string, int> out;
    DIR* d = ::opendir("/proc/self/fd");
    if (d == nullptr) return out;
    const int own = ::dirfd(d);
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        const int fd = std::atoi(e->d_name);
        if (fd == own) continue;
        out.emplace(fd_path(fd), fd);
    }
    ::closedir(d);
    return out;
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "copy_writes: %s: %s\n", what.c_str(), std::strerror(errno));
    std::_Exit(99);
}

void copy_file(const std::string& from, const std::string& to,
               const std::map<std::string, int>& held) {
    int in = -1;
    bool own = false;
    if (auto it = held.find(from); it != held.end()) {
        in = it->second;
    } else {
        in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) {
            if (errno == ENOENT) return;  // gone meanwhile
            fail("open " + from);
        }
        own = true;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) fail("create " + to);
    static std::vector<char> buf(1 << 20);
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(in, buf.data(), buf.size(), at);
        if (n < 0) fail("read " + from);
        if (n == 0) break;
        if (::write(out, buf.data(), static_cast<size_t>(n)) != n) fail("write " + to);
        at += n;
    }
    ::close(out);
    if (own) ::close(in);
}

size_t waiting(const std::string& dir) {
    size_t n = 0;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] >= '0' && e->d_name[0] <= '9') ++n;
        ::closedir(d);
    }
    return n;
}

void copy_all(long point) {
    const std::string db = env("COPY_DB"), dir = env("COPY_DIR");
    const long max = env("COPY_MAX").empty() ? 64 : std::atol(env("COPY_MAX").c_str());
    while (waiting(dir) >= static_cast<size_t>(max)) ::usleep(5000);
    char name[32];
    std::snprintf(name, sizeof name, "%07ld", point);
    const std::string tmp = dir + "/.tmp" + name;
    if (::mkdir(tmp.c_str(), 0755) != 0) fail("mkdir " + tmp);
    const auto held = open_files();
    const std::string folder = db.substr(0, db.rfind('/'));
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) fail("opendir " + folder);
    while (dirent* e = ::readdir(d)) {
        const std::string path = folder + "/" + e->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        copy_file(path, tmp + "/" + e->d_name, held);
    }
    ::closedir(d);
    if (!env("COPY_REGISTRY").empty()) copy_file(env("COPY_REGISTRY"), tmp + "/registry.reg", held);
    if (::rename(tmp.c_str(), (dir + "/" + name).c_str()) != 0) fail("rename " + tmp);
}

void before_write(int fd) {
    static const std::string db = env("COPY_DB");
    if (db.empty()) return;
    const std::string path = fd_path(fd);
    if (path != db && path != db + "-wal") return;
    const int saved = errno;
    std::lock_guard<std::mutex> g(lock);
    copy_all(++writes);
    errno = saved;
}

template <class F>
F real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t at) {
    using Fn = ssize_t (*)(int, const void*, size_t, off64_t);
    static const Fn next = real<Fn>("pwrite64");
    before_write(fd);
    return next(fd, buf, n, at);
}

extern "C" ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
    using Fn = ssize_t (*)(int, const void*, size_t, off_t);
    static const Fn next = real<Fn>("pwrite");
    before_write(fd);
    return next(fd, buf, n, at);
}
