#include "jet/planner.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <optional>

#include "jet/catalog.h"
#include "jet/error.h"
#include "jet/session.h"

namespace jet {

namespace {

constexpr std::string_view kHiddenPrefix = "jeth_";
// Statements whose automatic indexes are remembered (their texts may differ in
// literals only: the memory is cleared when it holds more).
constexpr size_t kRememberedStatements = 1024;

// An SQLite name the catalog gives: the kind's letter ('t' table, 'c' column) and digits.
bool internal_name(std::string_view s, char kind) {
    if (s.size() < 2 || s[0] != kind) return false;
    return std::all_of(s.begin() + 1, s.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool internal_table_name(std::string_view s) {
    return internal_name(s, 't');
}

// The columns of a hidden index's key "t12(c3,c4)": "c3,c4".
std::string key_columns(const std::string& key) {
    const auto open = key.find('(');
    return key.substr(open + 1, key.size() - open - 2);
}

bool ident_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// A prepared statement finalized on scope exit; raises the mapped failure.
class Stmt {
  public:
    Stmt(sqlite3* db, const std::string& sql) : db_(db) {
        const int rc =
            sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
        if (rc != SQLITE_OK) throw sqlite_failure(db, rc);
    }
    ~Stmt() { sqlite3_finalize(st_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* get() const { return st_; }
    Stmt& bind(int i, const std::string& s) {
        sqlite3_bind_text(st_, i, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool step() {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) throw sqlite_failure(db_, rc);
        return false;
    }
    std::string text(int i) const {
        const auto* p = sqlite3_column_text(st_, i);
        return p ? reinterpret_cast<const char*>(p) : "";
    }

  private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

void run(sqlite3* db, const std::string& sql) {
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw sqlite_failure(db, rc);
}

// The emitted SQL's "t<id> AS <alias>" pairs: alias to table.
std::map<std::string, std::string, std::less<>> aliases_of(std::string_view sql) {
    std::map<std::string, std::string, std::less<>> out;
    size_t at = 0;
    while ((at = sql.find(" AS ", at)) != std::string_view::npos) {
        size_t b = at;
        while (b > 0 && ident_char(sql[b - 1])) --b;
        size_t e = at + 4;
        while (e < sql.size() && ident_char(sql[e])) ++e;
        const std::string_view table = sql.substr(b, at - b);
        if (internal_table_name(table) && e > at + 4)
            out.emplace(std::string(sql.substr(at + 4, e - at - 4)), std::string(table));
        at += 4;
    }
    return out;
}

// Calls fn(at, end, column) for every "alias.column" of sql (at: where the alias
// begins, end: just past the column) until fn returns false.
template <class Fn>
void alias_references(std::string_view sql, std::string_view alias, Fn&& fn) {
    const std::string prefix = std::string(alias) + ".";
    for (size_t at = sql.find(prefix); at != std::string_view::npos;
         at = sql.find(prefix, at + 1)) {
        if (at > 0 && ident_char(sql[at - 1])) continue;
        size_t e = at + prefix.size();
        while (e < sql.size() && ident_char(sql[e])) ++e;
        const std::string_view col = sql.substr(at + prefix.size(), e - at - prefix.size());
        if (!col.empty() && !fn(at, e, col)) return;
    }
}

// The columns ("c12") that sql reads or writes through alias ("s2.c12"), sorted.
std::set<std::string> alias_columns(std::string_view sql, std::string_view alias) {
    std::set<std::string> out;
    alias_references(sql, alias, [&](size_t, size_t, std::string_view col) {
        if (internal_name(col, 'c')) out.emplace(col);
        return true;
    });
    return out;
}

// The first column of alias that sql compares for equality with a constant
// ("alias.c12 = ?3", "= 5", "= 'x'") or a range ("alias.c12 BETWEEN ?1 AND ?2"),
// or, failing that and when joins, with a
// column of another table ("alias.c12 = s3.c7", "s3.c7 = alias.c12"); "" when none.
std::string equality_column(std::string_view sql, std::string_view alias, bool joins) {
    std::string joined, constant;
    alias_references(sql, alias, [&](size_t at, size_t e, std::string_view col) {
        if (sql.substr(e, 9) == " BETWEEN ") {
            constant = col;
            return false;
        }
        if (sql.substr(e, 3) == " = " && e + 3 < sql.size()) {
            const char c = sql[e + 3];
            if (c == '?' || c == '\'' || c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
                constant = col;
                return false;
            }
            size_t o = e + 3;
            while (o < sql.size() && ident_char(sql[o])) ++o;
            if (joined.empty() && o < sql.size() && sql[o] == '.' && o > e + 3) joined = col;
        } else if (at >= 4 && sql.substr(at - 3, 3) == " = " && joined.empty()) {
            size_t o = at - 3;
            while (o > 0 && ident_char(sql[o - 1])) --o;
            if (o > 0 && sql[o - 1] == '.') joined = col;
        }
        return true;
    });
    if (!constant.empty()) return constant;
    return joins ? joined : std::string();
}

// The equality terms between columns of two aliases ("s0.c5 = s2.c7"), as
// ((alias, column), (alias, column)).
std::vector<std::pair<std::pair<std::string, std::string>, std::pair<std::string, std::string>>>
equality_joins(std::string_view sql) {
    std::vector<std::pair<std::pair<std::string, std::string>, std::pair<std::string, std::string>>>
        out;
    auto column_at = [&](size_t b, size_t e) -> std::optional<std::pair<std::string, std::string>> {
        const std::string_view t = sql.substr(b, e - b);
        const auto dot = t.find('.');
        if (dot == std::string_view::npos || dot == 0 || dot + 1 >= t.size()) return std::nullopt;
        if (t.find('.', dot + 1) != std::string_view::npos) return std::nullopt;
        return std::make_pair(std::string(t.substr(0, dot)), std::string(t.substr(dot + 1)));
    };
    auto token_char = [](char c) { return ident_char(c) || c == '.'; };
    for (size_t at = sql.find(" = "); at != std::string_view::npos; at = sql.find(" = ", at + 1)) {
        size_t b = at;
        while (b > 0 && token_char(sql[b - 1])) --b;
        size_t e = at + 3;
        while (e < sql.size() && token_char(sql[e])) ++e;
        auto l = column_at(b, at), r = column_at(at + 3, e);
        if (l && r && l->first != r->first) out.emplace_back(*l, *r);
    }
    return out;
}

}  // namespace

bool is_hidden_index(std::string_view name) {
    return name.substr(0, kHiddenPrefix.size()) == kHiddenPrefix;
}

void drop_hidden_indexes(sqlite3* db, const std::string& table, const std::string& column) {
    std::vector<std::string> names;
    {
        // Every hidden index of the table that holds the column, as a key or a
        // covered column.
        Stmt st(db,
                "SELECT m.name FROM sqlite_master AS m WHERE m.type = 'index' AND m.tbl_name = ?1 "
                "AND (?2 = '' OR EXISTS (SELECT 1 FROM pragma_index_info(m.name) AS ii WHERE "
                "ii.name = ?2))");
        st.bind(1, table).bind(2, column);
        while (st.step())
            if (is_hidden_index(st.text(0))) names.push_back(st.text(0));
    }
    for (const auto& n : names) run(db, "DROP INDEX " + n);
}

void Planner::row_changed(const char* table, bool inserted) {
    const int what = inserted ? kGrown : kShrunk;
    if (last_what_ == what && last_dirty_ == table) return;
    if (!internal_table_name(table)) return;
    last_dirty_ = table;
    last_what_ = what;
    dirty_[last_dirty_] |= what;
}

void Planner::forget() {
    started_ = false;
    tables_.clear();
    dirty_.clear();
    last_dirty_.clear();
    tried_.clear();
    autoindex_count_.clear();
    due_.clear();
    unexplained_.clear();
}

void Planner::rebuilt(const std::string& table) {
    if (auto it = tables_.find(table); it != tables_.end()) it->second.published = 0;
    dirty_[table] = kGrown | kShrunk;
}

// Runs no statement: the caller may still read what the statement changed (an
// EXPLAIN of a statement that writes resets sqlite3_changes). A statement not seen
// before is looked at by the next tune.
void Planner::executed(sqlite3_stmt* st) {
    const int built = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_AUTOINDEX, 1);
    const int scanned = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_FULLSCAN_STEP, 1);
    if (built == 0 && scanned < kLongScan) return;
    const char* sql = sqlite3_sql(st);
    if (!sql) return;
    auto it = statement_autoindexes_.find(sql);
    if (it == statement_autoindexes_.end()) {
        if (unexplained_.size() < kRememberedStatements) unexplained_.emplace_back(sql);
        return;
    }
    count(it->second);
}

void Planner::count(const std::vector<std::string>& keys) {
    for (const auto& key : keys) {
        if (tried_.count(key)) continue;
        if (++autoindex_count_[key] == kRepeats) due_.push_back(key);
    }
}

void Planner::explain_new_statements() {
    std::vector<std::string> sqls;
    sqls.swap(unexplained_);
    for (const auto& sql : sqls) {
        auto it = statement_autoindexes_.find(sql);
        if (it == statement_autoindexes_.end()) {
            if (statement_autoindexes_.size() >= kRememberedStatements)
                statement_autoindexes_.clear();
            std::vector<std::string> found;
            try {
                found = automatic_indexes(sql.c_str());
            } catch (const Error&) {
                // Only a plan read (EXPLAIN writes nothing): the statement goes unexplained.
            }
            it = statement_autoindexes_.emplace(sql, std::move(found)).first;
        }
        count(it->second);
    }
}

// The indexes a statement's plan lacks on tables of the file, each as
// "t<id>(c<id>,...)": the automatic indexes SQLite builds (with the columns their
// equality terms look up), and for a whole scan of a table that is not tiny, the
// column that the statement compares with a constant or joins on.
std::vector<std::string> Planner::automatic_indexes(const char* sql) {
    std::vector<std::string> keys;
    const auto aliases = aliases_of(sql);
    Stmt eqp(db_, std::string("EXPLAIN QUERY PLAN ") + sql);
    std::set<int> outer_loop_seen;  // by parent in the plan's tree
    while (eqp.step()) {
        const std::string detail = eqp.text(3);
        const bool loop = detail.rfind("SCAN ", 0) == 0 || detail.rfind("SEARCH ", 0) == 0;
        const bool inner = loop && !outer_loop_seen.insert(sqlite3_column_int(eqp.get(), 1)).second;
        if (detail.rfind("SCAN ", 0) == 0 && detail.find(' ', 5) == std::string::npos) {
            const std::string name = detail.substr(5);
            std::string table = name;
            if (auto a = aliases.find(name); a != aliases.end()) table = a->second;
            auto t = tables_.find(table);
            if (!internal_table_name(table) || (t != tables_.end() && t->second.published))
                continue;
            // A join column is worth an index only where the table is not the outer loop.
            if (std::string col = equality_column(sql, name, inner); !col.empty())
                if (within_sort_limit(table)) {
                    keys.push_back(table + "(" + col + ")");
                    cover(keys.back(), sql, name);
                }
            continue;
        }
        const auto using_at = detail.find(" USING AUTOMATIC ");
        if (detail.rfind("SEARCH ", 0) != 0 || using_at == std::string::npos) continue;
        const std::string alias = detail.substr(7, using_at - 7);
        std::string table = alias;
        if (auto a = aliases.find(table); a != aliases.end()) table = a->second;
        if (!internal_table_name(table)) continue;
        const auto open = detail.find('(', using_at), close = detail.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        const std::string terms = detail.substr(open + 1, close - open - 1);
        std::vector<std::string> cols;
        size_t at = 0;
        while (at < terms.size()) {
            size_t end = terms.find(" AND ", at);
            if (end == std::string::npos) end = terms.size();
            const std::string term = terms.substr(at, end - at);
            if (term.size() > 2 && term.compare(term.size() - 2, 2, "=?") == 0) {
                const std::string col = term.substr(0, term.size() - 2);
                if (std::all_of(col.begin(), col.end(), ident_char)) cols.push_back(col);
            }
            at = end + 5;
        }
        if (cols.empty()) continue;
        std::string key = table + "(";
        for (size_t i = 0; i < cols.size(); ++i) key += (i ? "," : "") + cols[i];
        keys.push_back(key + ")");
        cover(keys.back(), sql, alias);
    }
    // A tiny table is the natural outer loop: the tables it joins on equality
    // should be reached through an index from it.
    if (!keys.empty() || aliases.size() > 1)
        for (const auto& [left, right] : equality_joins(sql)) {
            for (const auto* pair : {&left, &right}) {
                const auto& other = pair == &left ? right : left;
                auto a = aliases.find(pair->first), b = aliases.find(other.first);
                if (a == aliases.end() || b == aliases.end()) continue;
                auto ta = tables_.find(a->second), tb = tables_.find(b->second);
                if (ta == tables_.end() || tb == tables_.end()) continue;
                if (ta->second.published && !tb->second.published)
                    if (within_sort_limit(b->second)) {
                        keys.push_back(b->second + "(" + other.second + ")");
                        cover(keys.back(), sql, other.first);
                    }
            }
        }
    return keys;
}

// Where SQLite builds no automatic index, a hidden index costs a sort of the whole
// table in memory (temporary storage is memory): not for the biggest tables.
bool Planner::within_sort_limit(const std::string& table) {
    Stmt st(db_, "SELECT count(*) FROM (SELECT 1 FROM " + table + " LIMIT " +
                     std::to_string(kMaxSortedRows + 1) + ")");
    return st.step() && sqlite3_column_int64(st.get(), 0) <= kMaxSortedRows;
}

// Notes the columns that the statement reads through alias besides the key's, so that
// the hidden index made for key covers them: the statement then reads the index alone,
// as it would SQLite's automatic index. A statement that reads many is not covered.
void Planner::cover(const std::string& key, const char* sql, std::string_view alias) {
    const std::string key_cols = "," + key_columns(key) + ",";
    std::set<std::string> extra;
    for (const auto& c : alias_columns(sql, alias))
        if (key_cols.find("," + c + ",") == std::string::npos) extra.insert(c);
    if (extra.empty() || extra.size() > kCoveredColumns) return;
    auto& into = covered_[key];
    for (const auto& c : extra)
        if (into.size() < kCoveredColumns) into.insert(c);
}

void Planner::create_hidden(const std::string& key) {
    tried_.insert(key);
    autoindex_count_.erase(key);
    const auto open = key.find('(');
    const std::string table = key.substr(0, open);
    if (!tables_.count(table)) return;
    std::string cols = key_columns(key), name = cols;
    {
        // An index of the table that begins with the column serves already.
        Stmt st(db_,
                "SELECT 1 FROM pragma_index_list(?1) AS il, pragma_index_info(il.name) AS ii WHERE "
                "ii.seqno = 0 "
                "AND ii.name = ?2");
        st.bind(1, table).bind(2, cols.substr(0, cols.find(',')));
        if (st.step()) return;
    }
    std::replace(name.begin(), name.end(), ',', '_');
    if (auto it = covered_.find(key); it != covered_.end())
        for (const auto& c : it->second) cols += "," + c;
    run(db_, "CREATE INDEX IF NOT EXISTS " + std::string(kHiddenPrefix) + table + "_" + name +
                 " ON " + table + "(" + cols + ")");
}

// Tells SQLite the table's rows. A table with indexes is then planned as one of at
// least a thousand rows (SQLite's floor where an index has no estimate of its own):
// still far below the million it assumes of a table it knows nothing of.
namespace {
// The start of the statement that counts a table's rows up to the tiny limit.
constexpr std::string_view kCountFrom = "SELECT count(*) FROM (SELECT 1 FROM ";
}  // namespace

Planner::~Planner() {
    for (auto& [sql, st] : prepared_) sqlite3_finalize(st);
}

int64_t Planner::run_cached(const std::string& sql, std::initializer_list<std::string_view> values) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        sqlite3_stmt* st = nullptr;
        const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                          SQLITE_PREPARE_PERSISTENT, &st, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(st);
            throw sqlite_failure(db_, rc);
        }
        it = prepared_.emplace(sql, st).first;
    }
    sqlite3_stmt* st = it->second;
    int i = 0;
    for (std::string_view v : values)
        sqlite3_bind_text(st, ++i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(st);
    const int64_t first = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const Error e = sqlite_failure(db_, rc);
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
    return first;
}

void Planner::publish(const std::string& table, int64_t rows) {
    run_cached("DELETE FROM sqlite_stat1 WHERE tbl = ?1", {table});
    run_cached("INSERT INTO sqlite_stat1(tbl, idx, stat) VALUES (?1, NULL, ?2)",
               {table, std::to_string(rows)});
    tables_[table].published = rows;
    reload_ = true;
}

// Tells SQLite the table is big again. Deleting its estimate would not do: SQLite
// keeps the last one it read until the schema is read again; this is the row count
// it assumes of a table without one.
void Planner::unpublish(const std::string& table) {
    run_cached("DELETE FROM sqlite_stat1 WHERE tbl = ?1", {table});
    run_cached("INSERT INTO sqlite_stat1(tbl, idx, stat) VALUES (?1, NULL, ?2)", {table, "1048576"});
    tables_[table].published = 0;
    reload_ = true;
}

void Planner::tune(const Catalog& cat) {
    // A table planned as big that only grew, or planned as tiny that only shrank,
    // keeps its estimate: no need to count it.
    for (auto it = dirty_.begin(); it != dirty_.end();) {
        auto t = tables_.find(it->first);
        const bool keep = t == tables_.end() || (t->second.published ? (it->second & kGrown) != 0
                                                                     : (it->second & kShrunk) != 0);
        it = keep ? std::next(it) : dirty_.erase(it);
    }
    last_dirty_.clear();
    last_what_ = 0;
    if (started_ && dirty_.empty() && due_.empty() && unexplained_.empty() &&
        cat.version() == catalog_version_)
        return;
    if (sqlite3_get_autocommit(db_)) return;  // only inside the grouped transaction
    // Estimates and hidden indexes only speed statements up: a failure to write them
    // is passed over, unless it rolled the grouped transaction back (a full disk, an
    // I/O error), which took earlier writes with it and must fail the statement.
    try {
        run_cached("SAVEPOINT jet_plan");
    } catch (const Error&) {
        if (sqlite3_get_autocommit(db_)) throw;
        return;
    }
    try {
        if (!started_) {
            // Estimates left by an earlier session are stale.
            // ANALYZE of the schema table creates sqlite_stat1 (a statement may not).
            run(db_, "ANALYZE sqlite_master");
            run(db_, "DELETE FROM sqlite_stat1");
            tables_.clear();
            started_ = true;
            reload_ = true;
            catalog_version_ = 0;
        }
        if (cat.version() != catalog_version_) {
            std::unordered_map<std::string, Table> live;
            for (const std::string& name : cat.sql_names()) {
                auto it = tables_.find(name);
                if (it == tables_.end())
                    dirty_[name] = kGrown | kShrunk;
                else
                    live.emplace(name, it->second);
                live.try_emplace(name);
            }
            tables_ = std::move(live);
            // The counts of tables gone are not prepared any more.
            std::erase_if(prepared_, [&](const auto& kv) {
                const std::string_view sql = kv.first;
                if (!sql.starts_with(kCountFrom)) return false;
                const std::string_view rest = sql.substr(kCountFrom.size());
                if (tables_.count(std::string(rest.substr(0, rest.find(' '))))) return false;
                sqlite3_finalize(kv.second);
                return true;
            });
            catalog_version_ = cat.version();
        }
        for (const auto& [name, what] : dirty_) {
            auto it = tables_.find(name);
            if (it == tables_.end()) continue;
            const int64_t n = run_cached(std::string(kCountFrom) + name +
                                         " LIMIT " + std::to_string(kTinyRows + 1) + ")");
            const int64_t published = it->second.published;
            if (n > kTinyRows) {
                if (published) unpublish(name);
            } else if (const int64_t want = std::max<int64_t>(n, 1);
                       !published || want > 4 * published) {
                publish(name, want);
            }
        }
        dirty_.clear();
        last_dirty_.clear();
        last_what_ = 0;
        explain_new_statements();
        std::vector<std::string> due;
        due.swap(due_);
        for (const auto& key : due) {
            // One failed index leaves the others to be tried.
            if (sqlite3_exec(db_, "SAVEPOINT jet_hidden", nullptr, nullptr, nullptr) != SQLITE_OK)
                continue;
            try {
                create_hidden(key);
                run(db_, "RELEASE jet_hidden");
            } catch (const Error&) {
                if (sqlite3_get_autocommit(db_)) throw;  // see above: the transaction is gone
                sqlite3_exec(db_, "ROLLBACK TO jet_hidden; RELEASE jet_hidden", nullptr, nullptr,
                             nullptr);
            }
        }
        if (reload_) run(db_, "ANALYZE sqlite_master");
        reload_ = false;
        run_cached("RELEASE jet_plan");
    } catch (const Error&) {
        if (sqlite3_get_autocommit(db_)) {  // see above: the transaction is gone
            forget();
            throw;
        }
        sqlite3_exec(db_, "ROLLBACK TO jet_plan; RELEASE jet_plan", nullptr, nullptr, nullptr);
        forget();
        // Looked at again only after the next change, so that a file that refuses the
        // estimates is not asked at every statement.
        started_ = true;
        catalog_version_ = cat.version();
    }
}

}  // namespace jet
