// Timing on demand: with JET_PROFILE naming a file, a session times every SQLite
// statement it steps and appends, at each checkpoint (the owner's commit, once per
// conversion step) and when it closes, one report of the period since the last one:
//
//   step <n>\t*\t<statements>\t<seconds of wall time>\t
//   step <n>\t<statement shape>\t<executions>\t<seconds inside SQLite>\t<query plan>
//
// tab-separated, one line per statement shape (its text with literals as "?"),
// slowest first; n counts the periods from 0. Internal to the engine.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace jet {

class Profile {
  public:
    // The profile of the process's environment; null when JET_PROFILE is not set.
    static std::unique_ptr<Profile> from_environment(sqlite3* db);

    // Times one sqlite3_step of st (begin before it, end after it).
    std::chrono::steady_clock::time_point begin() const { return std::chrono::steady_clock::now(); }
    void end(sqlite3_stmt* st, bool first, std::chrono::steady_clock::time_point started);
    // Takes the plans due; between statements only (an EXPLAIN of a statement that
    // writes resets what sqlite3_changes reports).
    void take_plans();
    // Ends the period: appends its report.
    void report();

  private:
    Profile(sqlite3* db, std::string path);
    struct Acc {
        int64_t executions = 0;
        std::chrono::nanoseconds time{0};
        std::string plan;  // taken while it runs (its tables may be gone at the report)
        std::chrono::nanoseconds planned{0};  // time when the plan was taken
    };
    sqlite3* db_;
    std::string path_;
    int period_ = 0;
    std::chrono::steady_clock::time_point period_start_;
    std::unordered_map<std::string, Acc> by_text_;
    std::unordered_map<sqlite3_stmt*, std::pair<const char*, Acc*>> current_;
    std::vector<std::pair<std::string, Acc*>> unplanned_;
};

// The statement's text with its literals (quoted texts, numbers) as "?".
std::string statement_shape(const std::string& sql);

}  // namespace jet
