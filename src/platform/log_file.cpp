#include "platform/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// A descriptor closed when it goes.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

std::string reason(int err) {
    return std::strerror(err);
}

// Opens path without blocking (a FIFO with no writer or reader returns at once) and
// checks that what it opened is a regular file; "" when it is, else why not (open_error
// set to the open's errno when it failed, ENOENT when there is no such file).
std::string open_regular(const std::string& path, int flags, Fd& f, struct stat& st,
                         int& open_error) {
    f.fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    open_error = f.fd < 0 ? errno : 0;
    if (f.fd < 0) return reason(open_error);
    if (::fstat(f.fd, &st) != 0) return reason(errno);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    return {};
}

}  // namespace

tail_read read_file_tail(const std::string& path, uint64_t limit,
                         const std::function<void(std::string_view)>& piece, bool& from_start,
                         std::string& problem) {
    Fd f{-1};
    struct stat st {};
    int open_error = 0;
    problem = open_regular(path, O_RDONLY, f, st, open_error);
    if (open_error == ENOENT) return tail_read::missing;
    if (!problem.empty()) return tail_read::refused;
    const auto size = static_cast<uint64_t>(st.st_size);
    auto at = static_cast<off_t>(size > limit ? size - limit : 0);
    from_start = at == 0;
    // At most limit bytes, also of a file that grows meanwhile or tells no size.
    const off_t end = at + static_cast<off_t>(limit);
    std::vector<char> block(1 << 16);
    while (at < end) {
        const auto want = static_cast<size_t>(std::min<off_t>(end - at, block.size()));
        const ssize_t n = ::pread(f.fd, block.data(), want, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            problem = reason(errno);
            return tail_read::refused;
        }
        if (n == 0) return tail_read::read;
        piece(std::string_view(block.data(), static_cast<size_t>(n)));
        at += n;
    }
    return tail_read::read;
}

std::string append_in_one_write(const std::string& path, std::string_view content) {
    Fd f{-1};
    struct stat st {};
    int open_error = 0;
    // Opened for reading too, for the file's last byte; a file that may only be written is
    // appended to as it ends.
    std::string why = open_regular(path, O_RDWR | O_APPEND | O_CREAT, f, st, open_error);
    const bool readable = why.empty();
    if (open_error == EACCES)
        why = open_regular(path, O_WRONLY | O_APPEND | O_CREAT, f, st, open_error);
    if (!why.empty()) return why;
    // A file that a cut write left without a line end gets one first: the content starts
    // on a line of its own, never glued onto that fragment.
    std::string joined;
    char last = '\n';
    if (!content.empty() && readable && st.st_size > 0 &&
        ::pread(f.fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        joined.assign(last == '\r' ? "\n" : "\r\n").append(content);
        content = joined;
    }
    for (;;) {
        const ssize_t n = ::write(f.fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return reason(errno);
        if (static_cast<size_t>(n) == content.size()) return {};
        return "written " + std::to_string(n) + " of " + std::to_string(content.size()) + " bytes";
    }
}

}  // namespace platform
