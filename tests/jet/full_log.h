// A full disk under the write-ahead logs of the process's SQLite files, for the tests
// of what a commit that fails does: the log is where a commit's pages are written.
#pragma once

#include <sqlite3.h>

namespace storage_test {

// A file system layer in front of SQLite's default one, made the default while the
// object lives (connections opened before it keep the default they had). While it
// is full, every write to a write-ahead log fails with SQLITE_FULL, as a full disk
// fails it; every other call goes to the default layer.
class FullLog {
  public:
    FullLog() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.zName = "full-log";
        vfs_.pNext = nullptr;
        vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
        vfs_.xOpen = &open;
        full_ = false;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~FullLog() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real_, 1);
    }
    FullLog(const FullLog&) = delete;
    FullLog& operator=(const FullLog&) = delete;

    void set_full(bool full) { full_ = full; }

  private:
    static inline sqlite3_vfs* real_ = nullptr;
    static inline sqlite3_vfs vfs_{};
    static inline bool full_ = false;

    // The layer's file: the default layer's file follows it in the same allocation.
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
        bool log;
    };
    static sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

    static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* out) {
        File* file = reinterpret_cast<File*>(f);
        file->real = reinterpret_cast<sqlite3_file*>(file + 1);
        file->log = (flags & SQLITE_OPEN_WAL) != 0;
        const int rc = real_->xOpen(real_, name, file->real, flags, out);
        f->pMethods = file->real->pMethods ? &methods_ : nullptr;
        return rc;
    }

    // Each call goes to the default layer's file; writes to a log fail while full.
    // Version 2: memory-mapped reads are not offered (they would pass the layer by).
    static inline const sqlite3_io_methods methods_ = {
        2,
        [](sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); },
        [](sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
            return real(f)->pMethods->xRead(real(f), p, n, at);
        },
        [](sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
            if (full_ && reinterpret_cast<File*>(f)->log) return SQLITE_FULL;
            return real(f)->pMethods->xWrite(real(f), p, n, at);
        },
        [](sqlite3_file* f, sqlite3_int64 n) { return real(f)->pMethods->xTruncate(real(f), n); },
        [](sqlite3_file* f, int flags) { return real(f)->pMethods->xSync(real(f), flags); },
        [](sqlite3_file* f, sqlite3_int64* n) { return real(f)->pMethods->xFileSize(real(f), n); },
        [](sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); },
        [](sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); },
        [](sqlite3_file* f, int* out) {
            return real(f)->pMethods->xCheckReservedLock(real(f), out);
        },
        [](sqlite3_file* f, int op, void* arg) {
            return real(f)->pMethods->xFileControl(real(f), op, arg);
        },
        [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); },
        [](sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); },
        [](sqlite3_file* f, int page, int size, int extend, void volatile** p) {
            return real(f)->pMethods->xShmMap(real(f), page, size, extend, p);
        },
        [](sqlite3_file* f, int at, int n, int flags) {
            return real(f)->pMethods->xShmLock(real(f), at, n, flags);
        },
        [](sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); },
        [](sqlite3_file* f, int del) { return real(f)->pMethods->xShmUnmap(real(f), del); },
        nullptr,
        nullptr,
    };
};

}  // namespace storage_test
