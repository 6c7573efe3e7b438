#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace platform {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int err) {
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

}  // namespace

void write_file_atomically(const std::filesystem::path& target_in, std::string_view content,
                           bool durable) {
    std::error_code ec;
    std::filesystem::path target = target_in;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        target = std::filesystem::weakly_canonical(target, ec);
        if (ec) fail("cannot resolve", target_in, ec.value());
    }

    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::filesystem::create_directories(folder, ec);
    if (ec) fail("cannot create the folder", folder, ec.value());

    mode_t mode = 0644;
    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed) mode = st.st_mode & 07777;

    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) fail("cannot create a temporary file in", folder, errno);
    std::string tmp(name.data());

    auto abandon = [&](const char* what, const std::filesystem::path& p) {
        int err = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(tmp.c_str());
        fail(what, p, err);
    };
    if (!write_all(fd, content)) abandon("cannot write", tmp);
    if (::fchmod(fd, mode) != 0) abandon("cannot set the permissions of", tmp);
    // The owner is kept too; only a privileged process may give a file away.
    if (existed && ::fchown(fd, st.st_uid, st.st_gid) != 0 && errno != EPERM)
        abandon("cannot set the owner of", tmp);
    if (durable && ::fsync(fd) != 0) abandon("cannot flush", tmp);
    int rc = ::close(fd);
    fd = -1;
    if (rc != 0) abandon("cannot close", tmp);
    if (::rename(tmp.c_str(), target.c_str()) != 0) abandon("cannot replace", target);

    // The rename is durable only once the folder itself is on disk.
    if (!durable) return;
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace platform
