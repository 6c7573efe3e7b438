// Replacing a small file so that a reader sees either the old or the new content.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace platform {

// Writes content to target atomically: a temporary file in the target's folder is
// written, flushed to disk and renamed over the target, and the folder is flushed. The
// temporary file is named "." + the target's name + "." + six letters or digits; such
// files that earlier writes left behind when their process was killed (no live write
// holds them) are removed first; LockFile's lock file, ".lock" in place of the six, is
// never one of them.
// Creates the folder when it is missing. A symbolic link is followed, so the file it
// points to is replaced. An existing file keeps its permission bits; a new one gets
// 0644. Throws std::system_error (with the path in its message) on any failure; the
// target is then left as it was and no temporary file stays behind. With durable
// false the file and the folder are not flushed: readers still see the old or the new
// content, but a power loss may lose the replacement (for content that does not outlive
// the session, such as the clipboard, which the executors rewrite on every failed
// statement and which must not cost a disk flush each time).
void write_file_atomically(const std::filesystem::path& target, std::string_view content,
                           bool durable = true);

// Checks that write_file_atomically can replace target: creates its folder when missing,
// removes leftovers as a write does, and creates and removes a temporary file beside the
// target; the target itself is not touched. Throws std::system_error as a write would
// (a folder that cannot be written, for one).
void check_replaceable(const std::filesystem::path& target);

// An exclusive lock between processes on the replacements of target by
// write_file_atomically, held from construction to destruction: one read-modify-write of
// target at a time. Readers need no lock, since every write is a rename. The lock is a
// flock on the lock file "." + target's name + ".lock" beside target (a symbolic link
// followed), opened read-write (a file system that emulates flock with byte-range locks,
// as NFS does, locks only a file open for writing) and created when missing, with
// target's permission bits and owner (0644 and the process's own for a new target) so
// that whoever may write target may take its lock. The lock file is never renamed or
// removed, so every process that replaces target finds the same one, and nothing is
// written into it; the lock ends with its descriptor and so with its process, however
// it ends. A lock file that this user may read but not write is opened read-only, which
// a local file system locks as well. Waits for another process's lock, up to patience;
// where the file system takes no locks it locks nothing. Throws std::system_error (with
// the path in its message) when the folder or the lock file cannot be created or
// opened, the lock file is open read-only where the file system locks only a writer, or
// it was still locked after patience.
class LockFile {
  public:
    explicit LockFile(const std::filesystem::path& target,
                      std::chrono::milliseconds patience = std::chrono::seconds(30));
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace platform
