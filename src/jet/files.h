// The database file as the operating system sees it: the checks made before a file
// is read, the process's hold that keeps other processes from writing a file, and the
// replacement of a database by a new copy in one step.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>

#include "jet/error.h"

namespace jet {

// The engine's condition for a failed system call on a file, by its errno, as SQLite
// classes the failures of its own file layer: a full disk (or quota) is DiskFull, a
// read-only file system ReadOnlyDatabase, the system's memory OutOfMemory, a device, file
// system or network that failed the call IoError; nothing for any other errno (a name
// taken by a folder, say), which says what went wrong rather than a state of the disk.
std::optional<Fault> fault_of_errno(int err);

// The longest canonical path the engine opens: SQLite takes paths of up to 512 bytes,
// its journal's name included ("-journal", 8 bytes).
inline constexpr size_t kMaxPathBytes = 504;

// Checks a path before the engine reads the file and returns its canonical form.
// Raises PathTooLong, FileNotFound, NotReadable (the file, or a folder on its way,
// may not be read), FolderNotFile (a folder, with or without a trailing "/"),
// UnrecognizedDatabase (any other file that is not a regular file).
std::string checked_path(const std::string& path);

// Raises ReadOnlyFolder when the file's folder cannot be written (its mode gives no one
// the right to write, or this process may not) or the file system
// is mounted read-only (the write-ahead log lives beside the file), ReadOnlyDatabase
// when the file itself cannot be written (by its mode, for root too, or by this process).
void check_writable(const std::string& path);

// The process's hold on a database file. While one process holds a file, every
// other process that would write it is refused at once with FileLocked; readers are
// not affected. The holds of one process on one file (device and inode, whatever
// the path) are counted and share one lock.
class FileHold {
  public:
    // Takes or shares the process's hold on the file at path; raises as checked_path
    // and check_writable (in that order, as an open does), FileLocked when another
    // process holds it. A hold that is shared opens nothing.
    explicit FileHold(const std::string& path);
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

  private:
    dev_t dev_;
    ino_t ino_;
};

// Marks the file at path as open by an SQLite connection of this process, from its
// construction (before the connection opens) to its destruction (after it closes).
// POSIX record locks belong to the process, and closing any descriptor on a file drops
// all of them, SQLite's included: while a file is in use, the descriptors that the
// process lets go on it (close_descriptor, a hold ended or refused) are kept open, and
// they are closed with the last connection. A path that does not exist marks nothing.
class FileInUse {
  public:
    explicit FileInUse(const std::string& path);
    ~FileInUse();
    FileInUse(const FileInUse&) = delete;
    FileInUse& operator=(const FileInUse&) = delete;

  private:
    std::optional<std::pair<dev_t, ino_t>> key_;
};

// Closes a descriptor of the process, or keeps it open until the last connection on
// its file closes when the file is in use (see FileInUse).
void close_descriptor(int fd);

// Holds the file at path until the process ends: a conversion holds its database
// from its first open to its end, across every close and reopen. Raises as FileHold.
void hold_until_exit(const std::string& path);

// The SQLite URI of a file path ("file:" and the path, its '%', '?' and '#' encoded).
std::string sqlite_uri(const std::string& path);

// Flushes a file's content to the disk. Raises DiskFull, ReadOnlyDatabase (a read-only
// file system), OutOfMemory, IoError (the disk, its file system or the network failed the
// call) or Internal (any other failure of a call on the file).
void flush_file(const std::string& path);

// Replaces the database at `to` by the complete database file `from` (neither open
// in this process) in one step: `from` is given the old file's mode and owner, is
// flushed, is held by this process when the old file was, and is renamed over the
// old file, whose write-ahead log has been emptied first; then the folder is flushed.
// At every instant the path holds the old or the new complete file. Raises FileLocked
// when another process keeps the old file's log, or as flush_file.
void replace_database(const std::string& from, const std::string& to);

// Gives the complete file `from` (not open in this process) the mode `mode`, flushes it
// and renames it to `to`, replacing any file of that name in one step; then the folder is
// flushed. Raises as flush_file.
void install_file(const std::string& from, const std::string& to, mode_t mode);

}  // namespace jet
