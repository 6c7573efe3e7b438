#include "platform/registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <set>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "temp_registry.h"

using namespace platform;

namespace {

constexpr const char* kOrvik = "HKEY_LOCAL_MACHINE\\Software\\ORVIK";
// The lock file of registry.reg, which every write takes and none removes.
constexpr const char* kLock = ".registry.reg.lock";

// Locks as NFS takes them (see flock below).
std::atomic<bool> nfs_locks{false};

class Registry : public TempRegistry {};

TEST_F(Registry, MissingFileKeyOrValueReadsEmpty) {
    EXPECT_EQ(registry_read(0, "dodralvex"), "");
    EXPECT_FALSE(std::filesystem::exists(reg)) << "a read never creates the file";
    registry_write(1, "sDecimal", ",");
    EXPECT_EQ(registry_read(0, "dodralvex"), "") << "key missing";
    EXPECT_EQ(registry_read(1, "sThousand"), "") << "value missing";
    EXPECT_EQ(registry_read(1, "sDecimal"), ",");
}

TEST_F(Registry, RoundTripsTextsWithEscapesAndPolishLetters) {
    const std::string values[] = {"0123",         "",       "C:\\Dane\\baza.mdb", "a \"b\" \\",
                                  "Zażółć gęślą", " 1.66 ", "\\\\serwer\\d\\",    "x=y;[z]"};
    for (const auto& v : values) {
        registry_write(0, "dodralvexS", v);
        EXPECT_EQ(registry_read(0, "dodralvexS"), v);
    }
    registry_write(0, "name with \"quote\\", "v");
    EXPECT_EQ(registry_read(0, "name with \"quote\\"), "v");
}

TEST_F(Registry, WritesTheExportFormat) {
    registry_write(0, "dodralvex", "0001");
    registry_write(0, "dodralvexS", "C:\\x\"y");
    EXPECT_EQ(slurp(reg),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"
              "\"dodralvex\"=\"0001\"\n"
              "\"dodralvexS\"=\"C:\\\\x\\\"y\"\n");
}

TEST_F(Registry, KeysAndNamesMatchWithoutRegardToCase) {
    spit(reg,
         "Windows Registry Editor Version 5.00\n\n[hkey_local_machine\\SOFTWARE\\orvik]\n"
         "\"DodralVex\"=\"0123\"\n");
    EXPECT_EQ(registry_read(0, "dodralvex"), "0123");
    registry_write(0, "DODRALVEX", "3210");
    EXPECT_EQ(slurp(reg),
              "Windows Registry Editor Version 5.00\n\n[hkey_local_machine\\SOFTWARE\\orvik]\n"
              "\"DodralVex\"=\"3210\"\n");
}

TEST_F(Registry, RewriteKeepsEveryOtherLineAsItWas) {
    const std::string before =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; written by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\r\n"
        "\"dodralvex\"=\"0123\"\r\n"
        "\"licznik\"=dword:0000002a\r\n"
        "\"blob\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "@=\"domyslna\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "\"x\"=\"y\"\r\n";
    spit(reg, before);
    EXPECT_EQ(registry_read(0, "licznik"), "") << "a dword reads as empty";
    EXPECT_EQ(registry_read(0, "blob"), "");
    EXPECT_EQ(registry_read(0, ""), "domyslna") << "@ is the default value";

    registry_write(0, "dodralvex", "3210");
    registry_write(0, "dodralvexNumerBazy", " 1.66");
    std::string after = before;
    after.replace(after.find("\"0123\""), 6, "\"3210\"");
    after.replace(after.find("\r\n\r\n[HKEY_CURRENT_USER"), 0,
                  "\r\n\"dodralvexNumerBazy\"=\" 1.66\"");
    EXPECT_EQ(slurp(reg), after);

    registry_write(0, "blob", "tekst");  // another kind replaced by a text, continuation too
    EXPECT_EQ(registry_read(0, "blob"), "tekst");
    EXPECT_EQ(slurp(reg).find("03,04"), std::string::npos);
    EXPECT_NE(slurp(reg).find("\"licznik\"=dword:0000002a\r\n\"blob\"=\"tekst\"\r\n@="),
              std::string::npos);
}

TEST_F(Registry, UnparsableFileIsReportedAndNeverOverwritten) {
    const std::string bad[] = {
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n",
        "Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n",  // value before a key
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK\n",
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n\"a\"=\"b\n",
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"
        "\"a\"=\"C:\\Dane\"\n",  // unescaped backslash
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n\"a\" "
        "\"b\"\n",
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n\"a\"=\"b\" "
        "x\n",
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\nśmieci\n",
    };
    for (const auto& text : bad) {
        spit(reg, text);
        EXPECT_THROW(registry_read(0, "a"), RegistryError) << text;
        try {
            registry_write(0, "dodralvex", "0000");
            ADD_FAILURE() << "write accepted " << text;
        } catch (const RegistryError& e) {
            EXPECT_NE(std::string(e.what()).find(reg.string()), std::string::npos) << e.what();
        }
        EXPECT_EQ(slurp(reg), text);
    }
    // The error names the line.
    spit(reg, bad[7]);
    try {
        registry_read(0, "a");
    } catch (const RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find("registry.reg:3:"), std::string::npos) << e.what();
    }
}

TEST_F(Registry, EmptyFileIsAnEmptyRegistry) {
    spit(reg, "\n");
    EXPECT_EQ(registry_read(0, "x"), "");
    registry_write(0, "x", "1");
    EXPECT_EQ(registry_read(0, "x"), "1");
}

TEST_F(Registry, ValuesAreCutAtTheirFirstNul) {
    registry_write(0, "v", std::string("ab\0cd", 5));
    EXPECT_EQ(registry_read(0, "v"), "ab");
    spit(reg, std::string("Windows Registry Editor Version 5.00\n[") + kOrvik + "]\n\"v\"=\"" +
                  std::string("xy\0z", 4) + "\"\n");
    EXPECT_EQ(registry_read(0, "v"), "xy");
}

TEST_F(Registry, LineBreakInAValueIsRefusedAndChangesNothing) {
    registry_write(0, "a", "1");
    std::string before = slurp(reg);
    EXPECT_THROW(registry_write(0, "a", "x\ny"), RegistryError);
    EXPECT_EQ(slurp(reg), before);
}

TEST_F(Registry, UnknownKeyCodeNamesNoKey) {
    registry_write(3, "a", "1");
    registry_write(-1, "a", "1");
    EXPECT_FALSE(std::filesystem::exists(reg));
    EXPECT_EQ(registry_read(3, "a"), "");
    EXPECT_EQ(registry_key_path(1), "HKEY_CURRENT_USER\\Control Panel\\International");
    EXPECT_EQ(registry_key_path(2), "HKEY_CLASSES_ROOT\\.lnk\\International");
}

TEST_F(Registry, WriteCreatesTheFolderAndLeavesNoTemporaryFile) {
    reg = dir / "a" / "b" / "registry.reg";
    ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
    registry_write(0, "dodralvex", "0123");
    registry_write(0, "dodralvex", "3210");
    EXPECT_EQ(registry_read(0, "dodralvex"), "3210");
    std::set<std::string> files;
    for (auto& e : std::filesystem::directory_iterator(reg.parent_path()))
        files.insert(e.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"registry.reg", kLock}));
}

// A symbolic link given as the registry file is written through to the file it names,
// whether that file exists or not, through a chain of links, relative or absolute: the
// link stays a link, and the lock file and the temporary files lie beside that file.
TEST_F(Registry, WriteGoesThroughASymbolicLinkToTheFileItNames) {
    const struct {
        const char* name;
        const char* holds;  // what the link given holds; "@": the folder's absolute path
        bool file;          // the file named exists before the write
    } cases[] = {
        {"a link to a file", "@/pliki/dane.reg", true},
        {"a dangling link", "@/pliki/dane.reg", false},
        {"a dangling relative link through another link", "posredni.lnk", false},
        {"a dangling link into a missing folder", "nowe/pliki/dane.reg", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path folder = dir / ("c" + std::to_string(n++));
        std::filesystem::create_directories(folder / "pliki");
        std::string holds = c.holds;
        if (holds[0] == '@') holds = folder.string() + holds.substr(1);
        std::filesystem::create_symlink(holds, folder / "reg.lnk");
        std::filesystem::create_symlink("pliki/dane.reg", folder / "posredni.lnk");
        const std::filesystem::path file =
            holds.starts_with("nowe") ? folder / holds : folder / "pliki" / "dane.reg";
        if (c.file) spit(file, "");
        ::setenv("ORVIK_REGISTRY", (folder / "reg.lnk").c_str(), 1);
        registry_write(0, "dodralvex", "3210");
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "reg.lnk"));
        EXPECT_NE(slurp(file).find("\"dodralvex\"=\"3210\""), std::string::npos);
        EXPECT_EQ(registry_read(0, "dodralvex"), "3210");
        EXPECT_TRUE(std::filesystem::exists(file.parent_path() / ".dane.reg.lock"));
        EXPECT_FALSE(std::filesystem::exists(folder / ".reg.lnk.lock"));
    }
    ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
}

TEST_F(Registry, RewriteKeepsTheFilesModeAndOwner) {
    registry_write(0, "dodralvex", "0123");
    ASSERT_EQ(::chmod(reg.c_str(), 0604), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(reg.c_str(), 65534, 65534), 0);
    }
    registry_write(0, "dodralvex", "3210");
    struct stat st {};
    ASSERT_EQ(::stat(reg.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_uid, root ? 65534u : ::geteuid());
}

// Leftovers of writes killed before their rename: the next write removes the temporary
// files of the registry's own name that no live write holds, and nothing else.
TEST_F(Registry, WriteRemovesTheTemporaryFilesOfKilledWrites) {
    registry_write(0, "dodralvex", "0123");
    const struct {
        const char* name;
        bool removed;
    } cases[] = {
        {".registry.reg.a1B2c3", true},   {".registry.reg.ZZZZZZ", true},
        {".registry.reg.a1B2c", false},   {".registry.reg.a1B2c3d", false},
        {".registry.reg.a1B2c-", false},  {"registry.reg.a1B2c3", false},
        {".registry.re.a1B2c3", false},   {".clipboard.txt.a1B2c3", false},
        {".registry.reg.a1B2c3~", false}, {".registry.reg.held01", false},
        {".registry.reg.lock", false},
    };
    for (const auto& c : cases) spit(dir / c.name, "Windows Registry Editor");
    // A write that is still running holds its temporary file locked.
    const int live = ::open((dir / ".registry.reg.held01").c_str(), O_RDONLY);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    // Neither a link nor a folder of the name is a temporary file of ours.
    std::filesystem::create_directory(dir / ".registry.reg.folder");
    std::filesystem::create_symlink(dir / "registry.reg", dir / ".registry.reg.link01");

    registry_write(0, "dodralvex", "3210");
    ::close(live);
    for (const auto& c : cases)
        EXPECT_EQ(std::filesystem::exists(dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".registry.reg.folder"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / ".registry.reg.link01"));
    EXPECT_EQ(registry_read(0, "dodralvex"), "3210");

    spit(dir / ".registry.reg.Qw3rty", "");
    registry_check_writable();
    EXPECT_FALSE(std::filesystem::exists(dir / ".registry.reg.Qw3rty")) << "the check cleans too";
}

// Writes running at once in several processes never take each other's temporary file
// for a leftover: every write succeeds.
TEST_F(Registry, SimultaneousWritesDoNotRemoveEachOthersTemporaryFiles) {
    constexpr int kProcesses = 6, kWrites = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int failed = 0;
            for (int i = 0; i < kWrites; ++i) {
                try {
                    registry_write(0, "w" + std::to_string(p), std::to_string(i));
                } catch (const RegistryError&) {
                    ++failed;
                }
            }
            ::_exit(failed);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed writes";
    }
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir))
        files += e.path() != reg && e.path() != dir / kLock;
    EXPECT_EQ(files, 0);
}

// Writers in several processes each setting their own names, one of them the result
// marker over the request "0123": every value written is there afterwards, also where
// the file system locks as NFS does. They all take the one lock file, which stays.
TEST_F(Registry, SimultaneousWritesOfOtherNamesLoseNoValue) {
    constexpr int kProcesses = 6, kNames = 25;
    registry_write(0, "dodralvex", "0000");
    struct stat lock_before {};
    EXPECT_EQ(::stat((dir / kLock).c_str(), &lock_before), 0) << "the first write made it";
    for (const bool nfs : {false, true}) {
        SCOPED_TRACE(nfs ? "locks as NFS takes them" : "local locks");
        nfs_locks = nfs;
        const auto value = [&](int p, int i) { return std::to_string(nfs * 1000 + p * 100 + i); };
        registry_write(0, "dodralvex", "0123");
        std::vector<pid_t> children;
        for (int p = 0; p < kProcesses; ++p) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                for (int i = 0; i < kNames; ++i) {
                    registry_write(0, "p" + std::to_string(p) + "n" + std::to_string(i),
                                   value(p, i));
                    if (p == 0 && i == kNames / 2) registry_write(0, "dodralvex", "3210");
                }
                ::_exit(0);
            }
            children.push_back(pid);
        }
        for (pid_t pid : children) {
            int status = -1;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        nfs_locks = false;
        int lost = 0;
        for (int p = 0; p < kProcesses; ++p)
            for (int i = 0; i < kNames; ++i)
                lost += registry_read(0, "p" + std::to_string(p) + "n" + std::to_string(i)) !=
                        value(p, i);
        EXPECT_EQ(lost, 0) << "of " << kProcesses * kNames;
        EXPECT_EQ(registry_read(0, "dodralvex"), "3210");
    }
    struct stat lock_after {};
    ASSERT_EQ(::stat((dir / kLock).c_str(), &lock_after), 0);
    EXPECT_EQ(lock_after.st_ino, lock_before.st_ino) << "never replaced";
    EXPECT_EQ(lock_after.st_size, 0) << "nothing is written into it";
}

// A process that holds the registry's lock keeps other writers waiting, up to their
// patience; killed, it lets them go at once.
TEST_F(Registry, WriterKilledHoldingTheLockBlocksNoOne) {
    registry_write(0, "dodralvex", "0123");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        LockFile lock(reg);
        const char c = 1;
        if (::write(ready[1], &c, 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the holder took the lock";
    ::close(ready[0]);

    try {
        LockFile impatient(reg, std::chrono::milliseconds(50));
        ADD_FAILURE() << "took a lock that another process holds";
    } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find((dir / kLock).string() + " for 50 ms"),
                  std::string::npos)
            << e.what();
    }

    const pid_t writer = ::fork();
    if (writer == 0) {
        try {
            registry_write(0, "dodralvex", "3210");
            ::_exit(0);
        } catch (const RegistryError&) {
            ::_exit(1);
        }
    }
    ::usleep(200 * 1000);
    int status = -1;
    EXPECT_EQ(::waitpid(writer, &status, WNOHANG), 0) << "the writer waits for the lock";
    EXPECT_EQ(registry_read(0, "dodralvex"), "0123");

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(registry_read(0, "dodralvex"), "3210");
}

// Runs body in a child process as the user nobody when this process is root (root may
// write any folder), else as this process's user; returns the message of the
// RegistryError it raised, "" when none.
std::string as_another_user(const std::function<void()>& body) {
    int out[2];
    if (::pipe(out) != 0) return "pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        std::string what;
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) what = "setuid";
        try {
            if (what.empty()) body();
        } catch (const RegistryError& e) {
            what = e.what();
        }
        if (::write(out[1], what.data(), what.size()) < 0) ::_exit(2);
        ::_exit(0);
    }
    ::close(out[1]);
    std::string what;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) what.append(buf, size_t(n));
    ::close(out[0]);
    ::waitpid(pid, nullptr, 0);
    return what;
}

// A write by a user whose rights on the registry's folder and lock file vary: wherever
// the folder may be written the write is done under the lock; where it may not, or the
// lock cannot be had, it fails naming why and leaves the file as it was.
TEST_F(Registry, WritesWhereverTheFolderMayBeWritten) {
    const bool root = ::geteuid() == 0;
    if (root)
        std::filesystem::permissions(
            dir, std::filesystem::perms::owner_all | std::filesystem::perms::others_exec);
    const struct {
        const char* name;
        mode_t folder;  // owned by the writing user
        mode_t lock;    // the lock file's mode before the write, left by root; 0: none yet
        bool nfs;
        const char* failure;  // in the failure's message; nullptr: the write is done
    } cases[] = {
        {"a folder that may be written but not read", 0300, 0, false, nullptr},
        {"a folder that may be read and written", 0700, 0, true, nullptr},
        {"a lock file that may only be read", 0700, 0444, false, nullptr},
        {"a lock file that may only be read, where a lock needs a writer", 0700, 0444, true,
         "may not be opened for writing, which this file system needs to lock it"},
        {"a folder that may not be written", 0500, 0, false, "cannot create the lock file"},
        {"a folder that may not be written, its lock file made before", 0500, 0644, false,
         "cannot create a temporary file in"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path folder = dir / ("c" + std::to_string(n++));
        const std::filesystem::path file = folder / "registry.reg", lock = folder / kLock;
        std::filesystem::create_directory(folder);
        spit(file, std::string("Windows Registry Editor Version 5.00\n\n[") + kOrvik +
                       "]\n\"dodralvex\"=\"0123\"\n");
        ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
        if (c.lock) {
            spit(lock, "");
            ASSERT_EQ(::chmod(lock.c_str(), c.lock), 0);
        }
        if (root) {
            ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folder), 0);
        ::setenv("ORVIK_REGISTRY", file.c_str(), 1);
        nfs_locks = c.nfs;
        const std::string failure = as_another_user([] { registry_write(0, "dodralvex", "3210"); });
        nfs_locks = false;
        ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
        EXPECT_EQ(registry_read(0, "dodralvex"), c.failure ? "0123" : "3210") << failure;
        if (c.failure) {
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
            EXPECT_NE(failure.find(folder.string()), std::string::npos) << failure;
            EXPECT_EQ(std::filesystem::exists(lock), c.lock != 0) << "nothing is created";
        } else {
            EXPECT_EQ(failure, "");
            struct stat st {};
            ASSERT_EQ(::stat(lock.c_str(), &st), 0) << "the lock file stays";
            EXPECT_EQ(st.st_mode & 07777, c.lock ? c.lock : 0666u) << "a new one as the registry";
        }
    }
    ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
}

TEST_F(Registry, UnreadableFileIsReported) {
    std::filesystem::create_directory(reg);  // a folder where the file should be
    EXPECT_THROW(registry_read(0, "a"), RegistryError);
    EXPECT_THROW(registry_write(0, "a", "1"), RegistryError);
    EXPECT_TRUE(std::filesystem::is_directory(reg));
}

TEST_F(Registry, ListGivesEachValueOnceInFileOrder) {
    spit(reg, std::string("Windows Registry Editor Version 5.00\n[") + kOrvik +
                  "]\n\"b\"=\"1\"\n\"n\"=dword:1\n@=\"d\"\n[" + kOrvik + "]\n\"B\"=\"2\"\n");
    auto l = registry_list(0);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0], (std::pair<std::string, std::string>{"n", ""}));
    EXPECT_EQ(l[1], (std::pair<std::string, std::string>{"@", "d"}));
    EXPECT_EQ(l[2], (std::pair<std::string, std::string>{"B", "2"}));
    EXPECT_EQ(registry_read(0, "b"), "2") << "the last of duplicates wins";
}

TEST(RegistryLocation, EnvironmentChoosesTheFile) {
    ::setenv("ORVIK_REGISTRY", "/x/r.reg", 1);
    EXPECT_EQ(registry_file(), "/x/r.reg");
    EXPECT_EQ(config_folder(), "/x");
    ::unsetenv("ORVIK_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(registry_file(), "/cfg/orvik/registry.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(registry_file(), "/home/u/.config/orvik/registry.reg");
}

TEST(Paths, FolderAndLogFile) {
    ::setenv("ORVIK_REGISTRY", "/cfg/registry.reg", 1);
    struct Case {
        const char* path;
        const char* folder;
        const char* log;
    } cases[] = {
        {"/srv/dane/baza.mdb", "/srv/dane", "/srv/dane/Log"},
        {"D:\\Dane\\baza.mdb", "D:\\Dane", "D:\\Dane/Log"},
        {"baza.mdb", "", "Log"},
        {"/baza.mdb", "", "/Log"},
        {"/srv/dane/", "/srv/dane", "/srv/Log"},
        {"/srv/dane//", "/srv/dane/", "/srv/Log"},
        {"D:\\Dane\\", "D:\\Dane", "D:/Log"},
        {"dane/", "dane", "Log"},
        {"/", "", "/Log"},
        {"", "", "/cfg/Rejestr.txt"},
        {"   ", "", "/cfg/Rejestr.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(path_folder(c.path), c.folder) << c.path;
        EXPECT_EQ(log_file_for(c.path), c.log) << c.path;
    }
    ::unsetenv("ORVIK_REGISTRY");
}

}  // namespace

// Locks as NFS takes them when nfs_locks is set: flock is emulated there with byte-range
// locks, and an exclusive one needs a descriptor opened for writing.
extern "C" int flock(int fd, int operation) {
    static const auto next = reinterpret_cast<int (*)(int, int)>(dlsym(RTLD_NEXT, "flock"));
    if (nfs_locks && (operation & LOCK_EX) && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return next(fd, operation);
}
