// The rejestr command, run as a program against a test registry file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

#include "temp_registry.h"

namespace {

class RejestrTool : public TempRegistry {
  protected:
    // Runs rejestr with args; returns its exit status and leaves its output in out.
    int run(const std::string& args) {
        std::string tool = std::string(KONW_BINARY_DIR) + "/tools/rejestr/rejestr";
        if (!std::filesystem::exists(tool)) ADD_FAILURE() << "not built: " << tool;
        FILE* p = ::popen((tool + " " + args + " 2>/dev/null").c_str(), "r");
        out.clear();
        char buf[256];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        int st = ::pclose(p);
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    std::string out;
};

TEST_F(RejestrTool, PlaysTheStartingProgramsSide) {
    EXPECT_EQ(run("get dodralvex"), 0);
    EXPECT_EQ(out, "\n");
    EXPECT_EQ(run("set dodralvex 0123"), 0);
    EXPECT_EQ(run("set dodralvexS '/srv/dane/baza \"x\".mdb'"), 0);
    EXPECT_EQ(run("set a b --key 2"), 0);
    EXPECT_EQ(run("get dodralvexS"), 0);
    EXPECT_EQ(out, "/srv/dane/baza \"x\".mdb\n");
    EXPECT_EQ(run("list"), 0);
    EXPECT_EQ(out, "\"dodralvex\"=\"0123\"\n\"dodralvexS\"=\"/srv/dane/baza \\\"x\\\".mdb\"\n");
    EXPECT_EQ(run("--key 2 get a"), 0);
    EXPECT_EQ(out, "b\n");
}

TEST_F(RejestrTool, ExitStatuses) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("get"), 2);
    EXPECT_EQ(run("set a"), 2);
    EXPECT_EQ(run("get a --key 3"), 2);
    EXPECT_EQ(run("remove a"), 2);
    spit(reg, "not a registry\n");
    EXPECT_EQ(run("get a"), 1);
    EXPECT_EQ(run("set a b"), 1);
    EXPECT_EQ(slurp(reg), "not a registry\n");
}

// The suite's marker written while other sets run in other processes: neither it nor
// any of theirs is lost.
TEST_F(RejestrTool, SimultaneousSetsLoseNoValue) {
    EXPECT_EQ(run("set dodralvex 0123"), 0);
    const std::string tool = std::string(KONW_BINARY_DIR) + "/tools/rejestr/rejestr";
    std::string script;
    for (int p = 0; p < 4; ++p)
        script += "(for i in 1 2 3 4 5 6 7 8 9 10; do '" + tool + "' set p" + std::to_string(p) +
                  "n$i $i || echo failed; done) & ";
    script += "'" + tool + "' set dodralvex 3210 || echo failed; wait";
    FILE* p = ::popen(script.c_str(), "r");
    char buf[256];
    std::string failures;
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) failures.append(buf, n);
    ::pclose(p);
    EXPECT_EQ(failures, "");
    EXPECT_EQ(run("get dodralvex"), 0);
    EXPECT_EQ(out, "3210\n");
    EXPECT_EQ(run("list"), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 41) << out;
}

}  // namespace
