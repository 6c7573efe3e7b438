// The database file seen from the system: files that cannot be read or written are
// refused with their own cause, the process's hold outlives its handles, and a
// replacement keeps the old file's mode and hold.
#include <dlfcn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string_view>

#include "jet/files.h"
#include "storage_util.h"

namespace {

using namespace storage_test;

// Flushes of write-ahead logs in this process (see fdatasync below).
std::atomic<int> log_flushes{0};

// Runs body in a child process as an ordinary user (root reads and writes any file);
// returns the description of the failure it raised, "" when none.
std::string as_user(const std::function<void()>& body) {
    int out[2];
    if (pipe(out) != 0) return "pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        std::string what;
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) what = "setuid";
        try {
            if (what.empty()) body();
        } catch (const jet::Error& e) {
            what = e.description();
        }
        if (write(out[1], what.data(), what.size()) < 0) _exit(2);
        _exit(0);
    }
    close(out[1]);
    std::string what;
    char buf[512];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) what.append(buf, size_t(n));
    close(out[0]);
    waitpid(pid, nullptr, 0);
    return what;
}

void open_and_write(const std::string& path) {
    auto db = jet::Database::open(path);
    ddl(*db, "CREATE TABLE Nowa (x long)");
}

TEST(StorageFiles, FilesThatCannotBeReadOrWrittenNameTheirCause) {
    struct Case {
        const char* name;
        // Prepares the folder and returns the database path to open.
        std::function<std::string(const std::string& folder)> make;
        const char* fragment;
    };
    std::vector<Case> cases = {
        {"file without read permission",
         [](const std::string& folder) {
             make_database(folder + "/b.mdb");
             chmod((folder + "/b.mdb").c_str(), 0200);
             return folder + "/b.mdb";
         },
         "you do not have permission to read it"},
        {"folder without write permission",
         [](const std::string& folder) {
             make_database(folder + "/b.mdb");
             chmod((folder + "/b.mdb").c_str(), 0666);
             chmod(folder.c_str(), 0555);
             return folder + "/b.mdb";
         },
         "its folder or file system is read-only"},
        {"file without write permission",
         [](const std::string& folder) {
             make_database(folder + "/b.mdb");
             chmod((folder + "/b.mdb").c_str(), 0444);
             chmod(folder.c_str(), 0777);
             return folder + "/b.mdb";
         },
         "Database or object is read-only"},
    };
    // A file system mounted read-only, where this process may mount one.
    ScratchDir mount_dir;
    const std::string mnt = mount_dir.file("ro");
    std::filesystem::create_directory(mnt);
    chmod(std::filesystem::path(mnt).parent_path().c_str(), 0755);
    const bool mounted = mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=4m,mode=0777") == 0;
    if (mounted)
        cases.push_back({"read-only mount",
                         [&](const std::string&) {
                             make_database(mnt + "/b.mdb");
                             chmod((mnt + "/b.mdb").c_str(), 0666);
                             mount("tmpfs", mnt.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "");
                             return mnt + "/b.mdb";
                         },
                         "its folder or file system is read-only"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string folder = std::filesystem::path(dir.file("x")).parent_path().string();
        chmod(folder.c_str(), 0777);
        const std::string path = c.make(folder);
        const std::string before = read_bytes(path);
        const auto listing = files_in(std::filesystem::path(path).parent_path());
        const std::string what = as_user([&] { open_and_write(path); });
        EXPECT_NE(what.find(c.fragment), std::string::npos) << what;
        if (std::string_view(c.name).ends_with("write permission")) {
            // The mode decides for every user: root too, whom the system lets write.
            std::string refused;
            try {
                open_and_write(path);
            } catch (const jet::Error& e) {
                refused = e.description();
            }
            EXPECT_NE(refused.find(c.fragment), std::string::npos) << refused;
        }
        chmod(folder.c_str(), 0777);
        EXPECT_EQ(read_bytes(path), before);
        EXPECT_EQ(files_in(std::filesystem::path(path).parent_path()), listing)
            << "nothing is left beside a refused file";
        // Once the user makes the file and its folder writable, the next open writes.
        if (path.starts_with(mnt)) mount("tmpfs", mnt.c_str(), "tmpfs", MS_REMOUNT, "");
        chmod(path.c_str(), 0666);
        chmod(std::filesystem::path(path).parent_path().c_str(), 0777);
        EXPECT_EQ(as_user([&] { open_and_write(path); }), "");
    }
    if (mounted) umount(mnt.c_str());
}

// Waits in a child that ran body until the parent writes to the pipe.
struct Child {
    pid_t pid = -1;
    int go[2], ready[2];
    explicit Child(const std::function<void()>& body) {
        if (pipe(go) != 0 || pipe(ready) != 0) return;
        pid = fork();
        if (pid == 0) {
            char c = 0;
            try {
                body();
                c = 1;
            } catch (...) {
            }
            if (write(ready[1], &c, 1) != 1 || read(go[0], &c, 1) != 1) _exit(2);
            _exit(0);
        }
        char c = 0;
        ok = read(ready[0], &c, 1) == 1 && c == 1;
    }
    ~Child() {
        char c = 1;
        if (write(go[1], &c, 1) != 1) return;
        waitpid(pid, nullptr, 0);
    }
    bool ok = false;
};

// The description of the failure of writing to path, "" when the write succeeds.
std::string write_failure(const std::string& path) {
    try {
        open_and_write(path);
    } catch (const jet::Error& e) {
        return e.description();
    }
    return "";
}

TEST(StorageFiles, AHoldUntilExitOutlivesEveryHandleAndFollowsAReplacement) {
    ScratchDir dir;
    const std::string path = dir.file("a.mdb"), copy = dir.file("a.mdb.new");
    make_database(path);
    chmod(path.c_str(), 0640);
    {
        Child holder([&] {
            jet::hold_until_exit(path);
            auto db = jet::Database::open(path);
            ddl(*db, "CREATE TABLE Stara (x long)");
            db->close();  // every handle closed: the hold stays
        });
        ASSERT_TRUE(holder.ok);
        EXPECT_EQ(write_failure(path), "Could not lock file.");
        auto db = jet::Database::open(path);
        EXPECT_NE(db->catalog().table("Stara"), nullptr) << "readers see the committed file";
    }
    EXPECT_EQ(write_failure(path), "") << "the process's end let the hold go";

    {
        Child replacer([&] {
            jet::hold_until_exit(path);
            make_database(copy);
            jet::replace_database(copy, path);
        });
        ASSERT_TRUE(replacer.ok);
        EXPECT_FALSE(std::filesystem::exists(copy));
        EXPECT_EQ(write_failure(path), "Could not lock file.") << "the new file is held too";
        auto db = jet::Database::open(path);
        EXPECT_EQ(db->catalog().table("Nowa"), nullptr) << "the new file took the name";
        EXPECT_EQ(column_values(*db, "Towar", "Id"), (std::vector<std::string>{"1", "2", "3"}));
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << "the old file's mode is kept";
    }
}

// A durable commit flushes the write-ahead log that holds it onto the disk; an ordinary
// one leaves that to the log's next checkpoint.
TEST(StorageFiles, ADurableCommitFlushesItsLog) {
    for (const bool durable : {false, true}) {
        ScratchDir dir;
        const std::string path = dir.file("a.mdb");
        make_database(path);
        auto db = jet::Database::open(path);
        insert_raw(*db, "Towar", {"Id"}, "(4)");
        db->checkpoint();  // a new log flushes its header once
        db->execute("INSERT INTO Towar (Id) VALUES (5)");
        const int before = log_flushes;
        db->checkpoint(durable);
        EXPECT_EQ(log_flushes - before, durable ? 1 : 0) << durable;
        db->execute("INSERT INTO Towar (Id) VALUES (6)");  // the session writes on after it
        db->checkpoint();
        EXPECT_EQ(column_values(*db, "Towar", "Id").size(), 6u);
        db->close();
    }
}

// A full disk inside a write is reported as such and the statement changes nothing.
TEST(StorageFiles, AFullDiskIsReportedAsSuchAndChangesNothing) {
    ScratchDir mount_dir;
    const std::string mnt = mount_dir.file("small");
    std::filesystem::create_directory(mnt);
    if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=1m") != 0) {
        // Without the right to mount, a file size limit stands for a full disk.
        GTEST_SUCCEED() << "no tmpfs: checked by the kill-point suite instead";
        return;
    }
    const std::string path = mnt + "/b.mdb";
    make_database(path);
    auto db = jet::Database::open(path);
    ddl(*db, "CREATE TABLE Duza (t memo)");
    std::string what;
    try {
        for (int i = 0; i < 400; ++i)
            db->execute("INSERT INTO Duza (t) VALUES ('" + std::string(8000, char('a' + i % 26)) +
                        "')");
        db->checkpoint();  // the writes reach the file at the latest when committed
    } catch (const jet::Error& e) {
        what = e.description();
    }
    EXPECT_EQ(what, "Not enough space on disk.");
    EXPECT_EQ(column_values(*db, "Towar", "Id"), (std::vector<std::string>{"1", "2", "3"}));
    // The writes since the last commit went with the failure: the close says so.
    std::string at_close;
    try {
        db->close();
    } catch (const jet::Error& e) {
        at_close = e.description();
    }
    EXPECT_EQ(at_close, jet::make_error(jet::Fault::UnitRolledBack).description());
    umount(mnt.c_str());
}

}  // namespace

// SQLite flushes its files with fdatasync; this one counts the flushes of logs on their
// way to the system's.
extern "C" int fdatasync(int fd) {
    static const auto next = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fdatasync"));
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target);
    if (n > 0 && std::string_view(target, size_t(n)).ends_with("-wal")) ++log_flushes;
    return next(fd);
}
