// A test seam below the engine: a file layer in front of SQLite's default one that makes
// the reads and writes of database files and their logs fail with a chosen SQLite result
// code, the system's errno set as a failed call sets it (EIO unless a seam says otherwise),
// while a FailingFiles lives (or one write to a log, while a OneLogWriteFails lives),
// so that the engine meets the code where SQLite returns it. The layer is made SQLite's
// default when the test program starts, so every connection opened afterwards goes
// through it; unarmed, it only passes calls on. The programs never include it.
#pragma once

#include <sqlite3.h>

#include <cerrno>

namespace sqlite_fault {

namespace detail {

struct File {
    sqlite3_file base;
    sqlite3_file* real;  // the default layer's file, allocated right after this one
    bool watched;        // a main database or its write-ahead log
    bool log;            // a write-ahead log
};

inline sqlite3_vfs* real_vfs = nullptr;
inline int armed = SQLITE_OK;     // the code the watched files' I/O fails with; OK: none
inline bool log_writes = false;   // only writes to a log fail
inline bool page_writes = false;  // only writes of pages to a main file fail (see below)
inline bool syncs = false;        // only flushes fail
inline int cause = EIO;           // the errno that a failed call leaves
inline int skip = 0;              // the calls that could fail to pass before the first fails
inline int budget = -1;           // the calls left to fail; -1: all
inline int failed = 0;            // the calls failed since the layer was armed
inline bool opens_fail = false;   // every open of a main database fails

// Puts every seam's settings back: nothing fails.
inline void disarm() {
    armed = SQLITE_OK;
    log_writes = page_writes = syncs = false;
    skip = 0;
    budget = -1;
    cause = EIO;
}

inline sqlite3_file* real(sqlite3_file* f) {
    return reinterpret_cast<File*>(f)->real;
}
inline const sqlite3_io_methods& m(sqlite3_file* f) {
    return *real(f)->pMethods;
}
// True (and counted, errno set to cause) when the call on f, a write or not (a write of a
// page or not, a flush or not), is to fail with the armed code.
inline bool fails(sqlite3_file* f, bool write, bool page = false, bool sync = false) {
    const File* file = reinterpret_cast<File*>(f);
    if (armed == SQLITE_OK || !file->watched) return false;
    if (log_writes && !(write && file->log)) return false;
    if (page_writes && (!page || file->log)) return false;
    if (syncs && !sync) return false;
    if (skip > 0) {
        --skip;
        return false;
    }
    if (budget == 0) return false;
    if (budget > 0) --budget;
    ++failed;
    errno = cause;
    return true;
}

inline const sqlite3_io_methods methods = {
    3,
    [](sqlite3_file* f) { return m(f).xClose(real(f)); },
    [](sqlite3_file* f, void* b, int n, sqlite3_int64 at) {
        return fails(f, false) ? armed : m(f).xRead(real(f), b, n, at);
    },
    [](sqlite3_file* f, const void* b, int n, sqlite3_int64 at) {
        return fails(f, true, true) ? armed : m(f).xWrite(real(f), b, n, at);
    },
    [](sqlite3_file* f, sqlite3_int64 n) {
        return fails(f, true) ? armed : m(f).xTruncate(real(f), n);
    },
    [](sqlite3_file* f, int flags) {
        return fails(f, true, false, true) ? armed : m(f).xSync(real(f), flags);
    },
    [](sqlite3_file* f, sqlite3_int64* n) { return m(f).xFileSize(real(f), n); },
    [](sqlite3_file* f, int l) { return m(f).xLock(real(f), l); },
    [](sqlite3_file* f, int l) { return m(f).xUnlock(real(f), l); },
    [](sqlite3_file* f, int* out) { return m(f).xCheckReservedLock(real(f), out); },
    [](sqlite3_file* f, int op, void* arg) { return m(f).xFileControl(real(f), op, arg); },
    [](sqlite3_file* f) { return m(f).xSectorSize(real(f)); },
    [](sqlite3_file* f) { return m(f).xDeviceCharacteristics(real(f)); },
    [](sqlite3_file* f, int region, int size, int extend, void volatile** p) {
        return m(f).xShmMap(real(f), region, size, extend, p);
    },
    [](sqlite3_file* f, int offset, int n, int flags) {
        return m(f).xShmLock(real(f), offset, n, flags);
    },
    [](sqlite3_file* f) { m(f).xShmBarrier(real(f)); },
    [](sqlite3_file* f, int remove) { return m(f).xShmUnmap(real(f), remove); },
    // Pages are never mapped while armed: each read goes through xRead.
    [](sqlite3_file* f, sqlite3_int64 at, int n, void** p) {
        if (armed != SQLITE_OK) {
            *p = nullptr;
            return SQLITE_OK;
        }
        return m(f).xFetch(real(f), at, n, p);
    },
    [](sqlite3_file* f, sqlite3_int64 at, void* p) { return m(f).xUnfetch(real(f), at, p); },
};

inline int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out) {
    File* p = reinterpret_cast<File*>(file);
    p->base.pMethods = nullptr;
    if (opens_fail && (flags & SQLITE_OPEN_MAIN_DB)) return SQLITE_CANTOPEN;
    p->real = reinterpret_cast<sqlite3_file*>(p + 1);
    p->watched = (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_WAL)) != 0;
    p->log = (flags & SQLITE_OPEN_WAL) != 0;
    const int rc = real_vfs->xOpen(real_vfs, name, p->real, flags, out);
    p->base.pMethods = p->real->pMethods ? &methods : nullptr;
    return rc;
}

inline bool install() {
    static sqlite3_vfs vfs;
    real_vfs = sqlite3_vfs_find(nullptr);
    vfs = *real_vfs;
    vfs.zName = "sqlite_fault";
    vfs.pNext = nullptr;
    vfs.szOsFile = static_cast<int>(sizeof(File)) + real_vfs->szOsFile;
    vfs.xOpen = open;
    return sqlite3_vfs_register(&vfs, 1) == SQLITE_OK;
}

inline const bool installed = install();

}  // namespace detail

// While it lives, every read, write, truncation and flush of a main database file or of
// its write-ahead log fails with the SQLite result code rc (an extended code as SQLite's
// own layer gives them). The connection's cached pages are let go, so that its next
// statement reads the file. One at a time.
class FailingFiles {
  public:
    FailingFiles(int rc, sqlite3* db) {
        detail::failed = 0;
        if (db) sqlite3_db_release_memory(db);
        detail::armed = rc;
    }
    ~FailingFiles() { detail::armed = SQLITE_OK; }
    FailingFiles(const FailingFiles&) = delete;
    FailingFiles& operator=(const FailingFiles&) = delete;
    // The calls failed so far.
    int failed() const { return detail::failed; }
    static bool installed() { return detail::installed; }
};

// While it lives, every open of a main database file fails with SQLITE_CANTOPEN, as for
// a file the process may no longer open; the files already open go on as they are.
class FailingOpens {
  public:
    FailingOpens() { detail::opens_fail = true; }
    ~FailingOpens() { detail::opens_fail = false; }
    FailingOpens(const FailingOpens&) = delete;
    FailingOpens& operator=(const FailingOpens&) = delete;
};

// A full disk under the write-ahead logs, for what a commit that fails does (the log is
// where a commit's pages are written): while it is full, every write to a log fails with
// SQLITE_FULL; reads and the main files' writes go on.
class FullLog {
  public:
    FullLog() = default;
    ~FullLog() { set_full(false); }
    FullLog(const FullLog&) = delete;
    FullLog& operator=(const FullLog&) = delete;
    void set_full(bool full) {
        detail::failed = 0;
        detail::log_writes = full;
        detail::armed = full ? SQLITE_FULL : SQLITE_OK;
    }
};

// The seams below: armed while they live, every setting put back at their end.
class Seam {
  public:
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;
    // The calls failed so far.
    int failed() const { return detail::failed; }

  protected:
    Seam() { detail::failed = 0; }
    ~Seam() { detail::disarm(); }
};

// While it lives, writes of pages to main database files (the C library's pwrite; never
// to their logs) fail with the SQLite result code rc: the first `pass` of them go
// through, then `count` fail (every later one when count is -1). A commit reaches the
// log; a checkpoint that copies the log into a file, or a copy written as a new file,
// meets the failures.
class FailingPageWrites : public Seam {
  public:
    explicit FailingPageWrites(int rc, int pass = 0, int count = -1) {
        detail::page_writes = true;
        detail::skip = pass;
        detail::budget = count;
        detail::armed = rc;
    }
};

// While it lives, every flush of a main database file or of its log fails with the SQLite
// result code rc, leaving the errno err, as a disk that fills up (or a file system that
// turns read-only) fails the flushes of what the system kept in its cache: a durable
// commit's flush of the log, and the flushes of a copy of the log into the file. Reads and
// writes go on.
class FailingSyncs : public Seam {
  public:
    FailingSyncs(int rc, int err) {
        detail::syncs = true;
        detail::cause = err;
        detail::armed = rc;
    }
};

// One write to a write-ahead log fails with rc while it lives: the one after the first
// skip writes to a log (pages spilled from a full cache, or committed), so that a test can
// meet SQLite at each write of a statement in turn. Reads and the other writes go on.
class OneLogWriteFails : public Seam {
  public:
    OneLogWriteFails(int rc, int skip) {
        detail::skip = skip;
        detail::budget = 1;
        detail::log_writes = true;
        detail::armed = rc;
    }
    // True when the write failed.
    bool failed() const { return Seam::failed() > 0; }
};

}  // namespace sqlite_fault
