#include "platform/process.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/clipboard.h"
#include "platform/wait.h"
#include "temp_registry.h"

using namespace platform;

namespace {

TEST(ProcessEnd, HookStopsTheCallerAndCarriesTheStatus) {
    set_end_hook([](int status) { throw ProcessEnd{status}; });
    bool after = false;
    try {
        end_process(exit_status::fatal);
        after = true;
    } catch (const ProcessEnd& e) {
        EXPECT_EQ(e.status, 1);
    }
    EXPECT_FALSE(after);
    set_end_hook(nullptr);
}

TEST(ProcessEnd, RealEndExitsWithTheStatusAtOnce) {
    // No exit handler and no further code runs: the "after" text is never printed.
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("atexit ran", stderr); });
            end_process(exit_status::stopped);
            std::fputs("after", stderr);
        },
        ::testing::ExitedWithCode(2), "^$");
}

TEST(ProcessEnd, HookThatReturnsStillEnds) {
    EXPECT_EXIT(
        {
            set_end_hook([](int) {});
            end_process(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ProcessEnd, MarkerToExitStatus) {
    EXPECT_EQ(exit_status_for_marker("3210"), 0);
    EXPECT_EQ(exit_status_for_marker("0123"), 0);
    EXPECT_EQ(exit_status_for_marker("0000"), 1);
    EXPECT_EQ(exit_status_for_marker("0001"), 2);
}

class Clipboard : public TempRegistry {};

TEST_F(Clipboard, FileBesideTheRegistryReplacedAndCleared) {
    EXPECT_EQ(clipboard_file(), dir / "clipboard.txt");
    EXPECT_TRUE(set_clipboard("ALTER TABLE [x] ADD COLUMN y long"));
    EXPECT_TRUE(set_clipboard("DROP TABLE [x]"));
    EXPECT_EQ(slurp(clipboard_file()), "DROP TABLE [x]");
    EXPECT_TRUE(clear_clipboard());
    EXPECT_FALSE(std::filesystem::exists(clipboard_file()));
    EXPECT_TRUE(clear_clipboard()) << "clearing an empty clipboard is fine";
}

TEST_F(Clipboard, ReplacedInPlaceWithoutTemporaryFilesKeepingPermissions) {
    // The executors rewrite the clipboard on every failed statement, without a flush.
    ASSERT_TRUE(set_clipboard("DROP INDEX indx ON [x]"));
    namespace fs = std::filesystem;
    fs::permissions(clipboard_file(), fs::perms::owner_read | fs::perms::owner_write);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(set_clipboard("DROP INDEX ind" + std::to_string(i) + " ON [x]"));
    EXPECT_EQ(slurp(clipboard_file()), "DROP INDEX ind49 ON [x]");
    EXPECT_EQ(fs::status(clipboard_file()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().rfind(".clipboard.txt.", 0), std::string::npos)
            << e.path();
}

TEST(Wait, FastWaitReturnsAtOnce) {
    set_fast_wait(true);
    auto t0 = std::chrono::steady_clock::now();
    wait_seconds(30);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    set_fast_wait(std::nullopt);
    ::setenv("ORVIK_FAST_WAIT", "1", 1);
    EXPECT_TRUE(fast_wait());
    ::setenv("ORVIK_FAST_WAIT", "0", 1);
    EXPECT_FALSE(fast_wait());
    ::unsetenv("ORVIK_FAST_WAIT");
}

}  // namespace
