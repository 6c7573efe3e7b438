// What the engine tells SQLite's query planner beyond the schema, so that the
// statements it emits run with the plans a hand-tuned database would give them:
//
//  - Row estimates of tiny tables (work tables of a step, small dictionaries) as
//    sqlite_stat1 rows, so that a join starts from the table of a few rows instead
//    of scanning a big one. Tables of more rows get no estimate: SQLite's default
//    (a big table) is what they are planned as, as before.
//  - Hidden indexes: where SQLite builds an automatic index at every execution of
//    statements that come again and again, or scans a whole table (not one of
//    the biggest) for the rows of a given value or range of a column, or for the
//    rows a tiny table joins, the engine keeps a real index of those columns
//    instead. They are named "jeth_<table>_<column>...", are not in the catalog
//    (so neither DAO nor listings nor DROP INDEX see them) and go when
//    their columns change (see Catalog).
//
// Both are hints: a failure while writing them is absorbed and never fails a
// statement. Internal to the engine.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace jet {

class Catalog;

class Planner {
  public:
    explicit Planner(sqlite3* db) : db_(db) {}
    ~Planner();
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    // SQLite's update hook: a row of table (an SQLite name) was inserted or deleted.
    void row_changed(const char* table, bool inserted);
    // A statement finished an execution (or was reset): notes the automatic indexes
    // it had to build.
    void executed(sqlite3_stmt* st);
    // Brings the hints up to date before the next statement runs: estimates of the
    // tables written since, hidden indexes due. Absorbs every failure.
    void tune(const Catalog& cat);
    // What the planner knows of the file may be stale (a rollback undid its writes):
    // everything is looked at again at the next tune.
    void forget();
    // A table was rebuilt (its estimate rows are gone with the old one).
    void rebuilt(const std::string& table);

    // Tables of at most this many rows get their estimate published.
    static constexpr int64_t kTinyRows = 64;
    // An automatic index built by this many executions becomes a hidden index.
    static constexpr int kRepeats = 3;
    // A statement that steps through this many rows of whole-table scans in one
    // execution is looked at for an index it lacks.
    static constexpr int kLongScan = 400;
    // Tables of more rows get a hidden index only in place of an automatic one.
    static constexpr int64_t kMaxSortedRows = 1 << 18;
    // A hidden index covers at most this many columns besides its key.
    static constexpr size_t kCoveredColumns = 6;

  private:
    struct Table {
        int64_t published = 0;  // the rows told to SQLite; 0: none (planned as big)
    };
    sqlite3* db_;
    bool started_ = false;
    uint64_t catalog_version_ = 0;
    std::unordered_map<std::string, Table> tables_;  // by SQLite name
    // Tables written since the last tune: kGrown, kShrunk or both.
    static constexpr int kGrown = 1, kShrunk = 2;
    std::map<std::string, int> dirty_;
    std::string last_dirty_;
    int last_what_ = 0;
    // Automatic indexes ("t12(c3,c4)") by the statements that built them.
    std::unordered_map<std::string, std::vector<std::string>> statement_autoindexes_;
    std::unordered_map<std::string, int> autoindex_count_;
    std::vector<std::string> unexplained_;   // statements to look at
    std::vector<std::string> due_;           // hidden indexes to create
    std::unordered_set<std::string> tried_;  // created (or failed): not again
    // The columns each hidden index is to cover besides its key (by key).
    std::unordered_map<std::string, std::set<std::string>> covered_;
    bool reload_ = false;
    // The planner's own statements, prepared once: tune runs before most statements.
    std::unordered_map<std::string, sqlite3_stmt*> prepared_;

    // Runs one of the planner's statements (text fixed, values bound from 1 on) and
    // returns its first column's integer of the first row (0 when none).
    int64_t run_cached(const std::string& sql, std::initializer_list<std::string_view> values = {});

    std::vector<std::string> automatic_indexes(const char* sql);
    void count(const std::vector<std::string>& keys);
    void explain_new_statements();
    bool within_sort_limit(const std::string& table);
    void publish(const std::string& table, int64_t rows);
    void unpublish(const std::string& table);
    void cover(const std::string& key, const char* sql, std::string_view alias);
    void create_hidden(const std::string& key);
};

// True for the name of a hidden index.
bool is_hidden_index(std::string_view name);
// Drops the hidden indexes of a table (SQLite names) that include column ("" for
// all of them). Raises the mapped failure.
void drop_hidden_indexes(sqlite3* db, const std::string& table, const std::string& column);

}  // namespace jet
