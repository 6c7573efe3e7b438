#include "jet/catalog.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <exception>
#include <limits>
#include <set>
#include <type_traits>
#include <unordered_set>
#include <utility>

#include "jet/error.h"
#include "jet/planner.h"
#include "jet/session.h"
#include "jet/sqlvalue.h"
#include "jet/text.h"
#include "jet/value.h"

namespace jet {

namespace {

// The catalog's own tables. The properties table holds "CatalogFormat" (the mark
// of our files), "FormatVersion", "Locale", "Password" and "NextId" (the next free
// number for internal names).
constexpr const char* kSystemTables[] = {
    "MSysJetColumns",   "MSysJetIndexColumns",    "MSysJetIndexes", "MSysJetProperties",
    "MSysJetRelations", "MSysJetRelationColumns", "MSysJetTables",
};

constexpr const char* kCatalogSchema =
    "CREATE TABLE MSysJetProperties(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE MSysJetTables(id INTEGER PRIMARY KEY, name TEXT NOT NULL, sql_name TEXT NOT "
    "NULL);"
    "CREATE TABLE MSysJetColumns(id INTEGER PRIMARY KEY, table_id INTEGER NOT NULL, position "
    "INTEGER NOT NULL, name TEXT NOT NULL, sql_name TEXT NOT NULL, type INTEGER NOT NULL, size "
    "INTEGER NOT NULL, counter INTEGER NOT NULL, default_text TEXT NOT NULL, allow_zero_length "
    "INTEGER NOT NULL, required INTEGER NOT NULL);"
    "CREATE TABLE MSysJetIndexes(id INTEGER PRIMARY KEY, table_id INTEGER NOT NULL, name TEXT NOT "
    "NULL, sql_name TEXT NOT NULL, is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL, "
    "ignore_nulls INTEGER NOT NULL, required INTEGER NOT NULL);"
    "CREATE TABLE MSysJetIndexColumns(index_id INTEGER NOT NULL, position INTEGER NOT NULL, "
    "column_id INTEGER NOT NULL, descending INTEGER NOT NULL, PRIMARY KEY(index_id, position));"
    "CREATE TABLE MSysJetRelations(id INTEGER PRIMARY KEY, name TEXT NOT NULL, table_id INTEGER "
    "NOT NULL, foreign_table_id INTEGER NOT NULL);"
    "CREATE TABLE MSysJetRelationColumns(relation_id INTEGER NOT NULL, position INTEGER NOT NULL, "
    "column_id INTEGER NOT NULL, foreign_column_id INTEGER NOT NULL, PRIMARY KEY(relation_id, "
    "position));";

constexpr const char* kCatalogFormat = "1";

// What the failure of a statement the catalog runs says. The catalog's own bookkeeping
// (its tables, and the SQLite schema it keeps in step with them) fails only where the
// file breaks what the catalog holds true: a constraint or an error of SQLite there is a
// damaged database, never a failure of the user's data that an executor would pass
// over. A statement over the user's rows (an index built on them, their values
// converted) fails as the rows make it fail (Duplicate).
enum class Work { Bookkeeping, Rows };

// The file's path on the connection, for messages.
std::string file_of(sqlite3* db) {
    const char* f = sqlite3_db_filename(db, "main");
    return f ? f : "";
}

// The failure of a catalog statement that ended with SQLite's result code rc.
Error catalog_failure(sqlite3* db, int rc, Work work) {
    Error e = sqlite_failure(db, rc);
    const int primary = rc & 0xff;
    if (work == Work::Rows || (primary != SQLITE_CONSTRAINT && primary != SQLITE_ERROR)) return e;
    return make_error(
        Fault::DamagedDatabase, file_of(db),
        std::string("its catalog disagrees with its tables (") + sqlite3_errmsg(db) + ")");
}

// The failure of a catalog statement after which SQLite had ended the transaction that
// was open when it began: a write to the file failed inside it (a page spilled to the
// log), SQLite rolled the whole transaction back, and the statement itself may still
// have ended well (SQLite passes over such a failure met while it reads its statistics
// again after ALTER TABLE). Whatever ran next would commit on its own.
Error rolled_back(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) return sqlite_failure(db, rc);
    return make_error(Fault::IoError);
}

// A prepared statement for one catalog operation, finalized on scope exit. Raises the
// failure of the statement (catalog_failure) when it fails, and the failure of the file
// (rolled_back) when the transaction that was open when it began is gone after it, or
// when it would write outside any transaction (the catalog writes only inside one: such
// a write follows a statement after which SQLite ended it).
class Stmt {
  public:
    Stmt(sqlite3* db, std::string_view sql, Work work = Work::Bookkeeping) : db_(db), work_(work) {
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &st_, &tail);
        if (rc != SQLITE_OK) throw catalog_failure(db, rc, work);
        rest_ = sql.substr(static_cast<size_t>(tail - sql.data()));
    }
    ~Stmt() { sqlite3_finalize(st_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    Stmt& bind(int i, int64_t v) {
        sqlite3_bind_int64(st_, i, v);
        return *this;
    }
    Stmt& bind(int i, std::string_view v) {
        detail::bind_text(st_, i, v);
        return *this;
    }
    template <class... A>
    Stmt& bind_all(const A&... args) {
        int i = 0;
        (bind(++i, args), ...);
        return *this;
    }
    bool step() {
        const bool open = !sqlite3_get_autocommit(db_);
        if (!open && !sqlite3_stmt_busy(st_) && !sqlite3_stmt_readonly(st_))
            throw rolled_back(db_, SQLITE_OK);
        int rc = sqlite3_step(st_);
        if (open && sqlite3_get_autocommit(db_)) {
            Error e = rolled_back(db_, rc);
            sqlite3_reset(st_);
            throw e;
        }
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Error e = catalog_failure(db_, rc, work_);
        sqlite3_reset(st_);
        throw e;
    }
    void run() {
        while (step()) {
        }
        sqlite3_reset(st_);
    }
    int64_t i(int c) const { return sqlite3_column_int64(st_, c); }
    std::string s(int c) const { return std::string(text(c)); }
    // The column's text, valid until the next step.
    std::string_view text(int c) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
        return p ? std::string_view(p, sqlite3_column_bytes(st_, c)) : std::string_view();
    }
    sqlite3_stmt* get() const { return st_; }
    // The text after the statement prepared.
    std::string_view rest() const { return rest_; }

  private:
    sqlite3* db_;
    Work work_;
    sqlite3_stmt* st_ = nullptr;
    std::string_view rest_;
};

template <class... A>
void run(sqlite3* db, std::string_view sql, const A&... args) {
    Stmt st(db, sql);
    st.bind_all(
        static_cast<std::conditional_t<std::is_integral_v<A>, int64_t, std::string_view>>(args)...);
    st.run();
}

// Runs SQLite text of one or more statements, each checked as Stmt checks it.
void exec(sqlite3* db, std::string_view sql, Work work = Work::Bookkeeping) {
    while (!sql.empty()) {
        Stmt st(db, sql, work);
        if (!st.get()) return;  // only blanks or comments left
        st.run();
        sql = st.rest();
    }
}

// Releases a savepoint that the catalog opened, committing when it began the
// transaction. Raises the failure of the file when the transaction is gone already.
void release(sqlite3* db, const std::string& savepoint) {
    if (sqlite3_get_autocommit(db)) throw rolled_back(db, SQLITE_OK);
    const int rc = sqlite3_exec(db, ("RELEASE " + savepoint).c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw sqlite_failure(db, rc);
}

// Puts the file back as it was when the catalog opened a savepoint, and ends the
// savepoint; nothing to do when SQLite rolled the whole transaction back already.
void roll_back_to(sqlite3* db, const std::string& savepoint) {
    if (sqlite3_get_autocommit(db)) return;
    sqlite3_exec(db, ("ROLLBACK TO " + savepoint + "; RELEASE " + savepoint).c_str(), nullptr,
                 nullptr, nullptr);
}

// One read transaction for the reads made during its life, on a connection outside any
// transaction; on a connection inside one it does nothing (its reads see that one).
// A read transaction writes nothing, so its end cannot fail.
class ReadTransaction {
  public:
    explicit ReadTransaction(sqlite3* db) : db_(sqlite3_get_autocommit(db) ? db : nullptr) {
        if (db_) exec(db_, "BEGIN");
    }
    ~ReadTransaction() {
        if (db_ && !sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

  private:
    sqlite3* db_;
};

// The SQLite declaration of a column of a Jet type: text with Jet's collation,
// whole numbers as INTEGER, the rest as REAL. No DEFAULT and no NOT NULL: the
// engine applies defaults and enforces Required itself.
std::string declared_type(DataType t) {
    switch (t) {
        case DataType::Text:
        case DataType::Memo:
            return "TEXT COLLATE JET";
        case DataType::Boolean:
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
            return "INTEGER";
        default:
            return "REAL";
    }
}

// DAO's Size of a column of a type (Text: its characters).
int fixed_size(DataType t) {
    switch (t) {
        case DataType::Boolean:
        case DataType::Byte:
            return 1;
        case DataType::Integer:
            return 2;
        case DataType::Long:
        case DataType::Single:
            return 4;
        case DataType::Currency:
        case DataType::Double:
        case DataType::Date:
            return 8;
        case DataType::Memo:
            return 0;
        case DataType::Text:
            return kMaxTextSize;
    }
    return 0;
}

bool valid_type(DataType t) {
    switch (t) {
        case DataType::Boolean:
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Currency:
        case DataType::Single:
        case DataType::Double:
        case DataType::Date:
        case DataType::Text:
        case DataType::Memo:
            return true;
    }
    return false;
}

// The size a column of the type keeps: Text 1..255 (0 meaning 255), fixed otherwise.
int column_size(DataType t, int size, std::string_view name) {
    if (!valid_type(t)) raise(Fault::SyntaxError, "field definition");
    if (t != DataType::Text) return fixed_size(t);
    if (size == 0) return kMaxTextSize;
    if (size < 1 || size > kMaxTextSize)
        raise(Fault::SyntaxError, "field definition '" + std::string(name) + "'");
    return size;
}

// The ids of a relation's tables and columns; names are taken from the tables at
// each change so that renames carry over.
struct RelationIds {
    int64_t id = 0;
    std::string name;
    int64_t table_id = 0, foreign_table_id = 0;
    std::vector<int64_t> columns, foreign_columns;
};

// The relations with the current names of their tables and columns.
std::vector<RelationInfo> relations_named(const std::vector<std::unique_ptr<TableInfo>>& tables,
                                          const std::vector<RelationIds>& relations) {
    std::vector<RelationInfo> out;
    std::unordered_map<int64_t, const TableInfo*> by_id;
    for (auto& t : tables) by_id[t->id] = t.get();
    for (const auto& r : relations) {
        RelationInfo info;
        info.id = r.id;
        info.name = r.name;
        const TableInfo* t = by_id.at(r.table_id);
        const TableInfo* f = by_id.at(r.foreign_table_id);
        info.table = t->name;
        info.foreign_table = f->name;
        for (int64_t c : r.columns) info.columns.push_back(t->column_by_id(c)->name);
        for (int64_t c : r.foreign_columns)
            info.foreign_columns.push_back(f->column_by_id(c)->name);
        out.push_back(std::move(info));
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- TableInfo

const ColumnInfo* TableInfo::column(std::string_view jet_name) const {
    for (const auto& c : columns)
        if (text::same_name(c.name, jet_name)) return &c;
    return nullptr;
}

const ColumnInfo* TableInfo::column_by_id(int64_t cid) const {
    for (const auto& c : columns)
        if (c.id == cid) return &c;
    return nullptr;
}

const IndexInfo* TableInfo::index(std::string_view jet_name) const {
    for (const auto& i : indexes)
        if (text::same_name(i.name, jet_name)) return &i;
    return nullptr;
}

const IndexInfo* TableInfo::primary_key() const {
    for (const auto& i : indexes)
        if (i.primary) return &i;
    return nullptr;
}

const ColumnInfo* TableInfo::counter_column() const {
    for (const auto& c : columns)
        if (c.counter) return &c;
    return nullptr;
}

bool known_format_version(std::string_view v) {
    return v == "4.0" || v == "3.0";
}

// ---------------------------------------------------------------- Catalog

struct Catalog::Impl {
    std::string path;  // for messages
    int64_t next_id = 1;
    std::vector<RelationIds> relations;
    // The tables in DAO's order, as of catalog version sorted_version.
    std::vector<const TableInfo*> sorted;
    uint64_t sorted_version = 0;
    // Tables (SQLite names) whose dropped columns may still be in the SQLite table.
    std::set<std::string> leftover;
    // The failure of the last load when it failed: the model may disagree with the file.
    std::optional<Error> stale;
};

Catalog::Catalog(sqlite3* db) : impl_(std::make_unique<Impl>()), db_(db) {}
Catalog::~Catalog() = default;

namespace {

// True when the exception is an environment failure (environment_failure).
bool environment_exception(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const Error& x) {
        return environment_failure(x);
    } catch (...) {
        return false;
    }
}

// Runs one schema change inside a savepoint: on failure the file and the in-memory
// model are put back as they were (the file by rolling the savepoint back, unless SQLite
// rolled the whole transaction back already; the model by reloading it) and the failure
// is rethrown; on success the version moves on. When the reload fails too, the model is
// stale (load) and one failure is raised: the change's own when it is an environment
// failure (the file failing is the cause, and the reload most likely met the same), else
// the reload's, an environment failure too, so that no executor passes over a statement
// whose failure left the model unknown, as it would pass over a duplicate value.
template <class Fn>
void schema_change(sqlite3* db, Catalog& cat, const std::string& path, uint64_t& version, Fn&& fn) {
    exec(db, "SAVEPOINT jet_schema");
    try {
        fn();
        release(db, "jet_schema");
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        roll_back_to(db, "jet_schema");
        try {
            cat.load(path);
        } catch (const Error&) {
            if (!environment_exception(failure)) throw;
        }
        std::rethrow_exception(failure);
    }
    ++version;
}

// NextId's bound: a file whose NextId has reached it has no number left for an object.
constexpr int64_t kNoNumberLeft = std::numeric_limits<int64_t>::max();

// What is wrong with a file whose NextId is next, at its bound.
std::string no_number_left(int64_t next) {
    return "its next free object number (" + std::to_string(next) +
           ") leaves no room for a new object";
}

// Takes the next free number for a new object and stores the one after it. Raises
// DamagedDatabase when none is left, the last number below the bound included: handing
// that one out would store NextId at its bound, which every later open refuses, so the
// file stays one that opens and only its new objects are refused.
int64_t alloc_id(sqlite3* db, int64_t& next) {
    if (next >= kNoNumberLeft - 1) raise(Fault::DamagedDatabase, file_of(db), no_number_left(next));
    const int64_t id = next++;
    run(db, "UPDATE MSysJetProperties SET value = ? WHERE name = 'NextId'", std::to_string(next));
    return id;
}

TableInfo& need_table(const std::unordered_map<std::string, TableInfo*>& by_name,
                      std::string_view name) {
    auto it = by_name.find(text::fold(name));
    if (it == by_name.end()) raise(Fault::NoSuchTable, name);
    return *it->second;
}

ColumnInfo& need_column(TableInfo& t, std::string_view name) {
    for (auto& c : t.columns)
        if (text::same_name(c.name, name)) return c;
    raise(Fault::NoSuchField, name, t.name);
}

void write_property(sqlite3* db, std::string_view name, std::string_view value) {
    run(db, "INSERT OR REPLACE INTO MSysJetProperties(name, value) VALUES (?, ?)", name, value);
}

// CREATE INDEX text of an index on a table.
std::string index_sql(const TableInfo& t, const IndexInfo& ix) {
    std::string sql = ix.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += ix.sql_name + " ON " + t.sql_name + "(";
    for (size_t i = 0; i < ix.columns.size(); ++i) {
        const ColumnInfo* c = t.column_by_id(ix.columns[i].column_id);
        if (i) sql += ", ";
        sql += c->sql_name;
        if (c->type == DataType::Text || c->type == DataType::Memo) sql += " COLLATE JET";
        if (ix.columns[i].descending) sql += " DESC";
    }
    return sql + ")";
}

// The table and the columns of an index: "TABLE (column, column)".
std::string key_of(const TableInfo& t, const IndexInfo& ix) {
    std::string key;
    for (const auto& c : ix.columns)
        key += (key.empty() ? "" : ", ") + t.column_by_id(c.column_id)->name;
    return t.name + " (" + key + ")";
}

// Raises NullInKey, naming the table and key, when a row of the table has Null in one of
// the index's columns.
void check_no_nulls(sqlite3* db, const TableInfo& t, const IndexInfo& ix) {
    std::string sql = "SELECT 1 FROM " + t.sql_name + " WHERE ";
    for (size_t i = 0; i < ix.columns.size(); ++i) {
        if (i) sql += " OR ";
        sql += t.column_by_id(ix.columns[i].column_id)->sql_name + " IS NULL";
    }
    Stmt st(db, sql + " LIMIT 1");
    if (st.step()) throw key_error(Fault::NullInKey, key_of(t, ix));
}

// The column that a ColumnSpec asks for, under internal number id (a counter is a Long).
ColumnInfo column_from(const ColumnSpec& def, int64_t id) {
    ColumnInfo c;
    c.id = id;
    c.name = def.name;
    c.sql_name = "c" + std::to_string(id);
    c.type = def.counter ? DataType::Long : def.type;
    c.size = column_size(c.type, def.size, def.name);
    c.counter = def.counter;
    c.default_text = def.default_text;
    c.allow_zero_length = def.allow_zero_length;
    c.required = def.required;
    return c;
}

void insert_column_row(sqlite3* db, int64_t table_id, int64_t position, const ColumnInfo& c) {
    run(db,
        "INSERT INTO MSysJetColumns(id, table_id, position, name, sql_name, type, size, counter, "
        "default_text, allow_zero_length, required) VALUES (?,?,?,?,?,?,?,?,?,?,?)",
        c.id, table_id, position, c.name, c.sql_name, static_cast<int64_t>(c.type),
        static_cast<int64_t>(c.size), static_cast<int64_t>(c.counter), c.default_text,
        static_cast<int64_t>(c.allow_zero_length), static_cast<int64_t>(c.required));
}

}  // namespace

void Catalog::initialize(const DatabaseProperties& props) {
    schema_change(db_, *this, impl_->path, version_, [&] {
        exec(db_, kCatalogSchema);
        write_property(db_, "CatalogFormat", kCatalogFormat);
        write_property(db_, "FormatVersion", props.format_version);
        write_property(db_, "Locale", props.locale);
        write_property(db_, "Password", props.password);
        write_property(db_, "NextId", "1");
    });
    props_ = props;
    impl_->next_id = 1;
}

namespace {

// The number in an internal name of the engine ("t12", "c7", "i30"), 0 in any other name.
int64_t internal_number(std::string_view name) {
    if (name.size() < 2 || (name[0] != 't' && name[0] != 'c' && name[0] != 'i')) return 0;
    int64_t n = 0;
    const char* end = name.data() + name.size();
    const auto [at, ec] = std::from_chars(name.data() + 1, end, n);
    return ec == std::errc() && at == end ? n : 0;
}

[[noreturn]] void damaged(const std::string& path, const std::string& what) {
    raise(Fault::DamagedDatabase, path, what);
}

std::string quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

// The position of name among sorted names; names.size() when it is not one of them.
size_t position_of(const std::vector<std::string>& names, std::string_view name) {
    const auto it = std::lower_bound(names.begin(), names.end(), name);
    return static_cast<size_t>((it != names.end() && *it == name ? it : names.end()) -
                               names.begin());
}

}  // namespace

void Catalog::load(std::string_view path_for_messages) {
    // Copied before impl_->path is assigned: the view may be of impl_->path itself
    // (a failed schema change reloads with the catalog's own path).
    const std::string path(path_for_messages);
    impl_->path = path;
    try {
        // Every read below sees one committed state of the file, so that another
        // connection's commit cannot fall between two of them (a table that MSysJetTables
        // names and the schema read before it lacked).
        const ReadTransaction one_state(db_);
        DatabaseProperties props;
        std::optional<int64_t> next_id;
        bool format_given = false;
        std::vector<std::unique_ptr<TableInfo>> tables;
        std::unordered_map<int64_t, TableInfo*> by_id;
        std::unordered_map<std::string, TableInfo*> by_name;  // folded name -> table
        std::vector<RelationIds> relations;
        // The highest number in use in an internal name or id of the file.
        int64_t max_id = 0;
        auto in_use = [&](int64_t id) { max_id = std::max(max_id, id); };
        // Names are kept sorted here, not in hash sets: the check costs the open little.
        std::vector<std::string> sqlite_tables, sqlite_indexes;
        {
            Stmt st(db_, "SELECT type, name FROM sqlite_master WHERE type IN ('table', 'index')");
            while (st.step()) {
                auto& names = st.text(0) == "table" ? sqlite_tables : sqlite_indexes;
                names.emplace_back(st.text(1));
                in_use(internal_number(names.back()));
            }
            std::sort(sqlite_tables.begin(), sqlite_tables.end());
            std::sort(sqlite_indexes.begin(), sqlite_indexes.end());
        }
        for (const char* t : kSystemTables)
            if (position_of(sqlite_tables, t) == sqlite_tables.size())
                raise(Fault::UnrecognizedDatabase, path);
        bool marked = false;
        {
            Stmt st(db_, "SELECT name, value FROM MSysJetProperties");
            while (st.step()) {
                const std::string name = st.s(0), value = st.s(1);
                if (name == "CatalogFormat") {
                    marked = value == kCatalogFormat;
                } else if (name == "FormatVersion") {
                    props.format_version = value;
                    format_given = true;
                } else if (name == "Locale") {
                    props.locale = value;
                } else if (name == "Password") {
                    props.password = value;
                } else if (name == "NextId") {
                    int64_t n = 0;
                    const auto [at, ec] =
                        std::from_chars(value.data(), value.data() + value.size(), n);
                    if (ec == std::errc() && at == value.data() + value.size()) next_id = n;
                }
            }
        }
        if (!marked) raise(Fault::UnrecognizedDatabase, path);
        if (!format_given) damaged(path, "its format version is missing");
        if (!known_format_version(props.format_version))
            damaged(path, "its format version " + quoted(props.format_version) + " is unknown");
        if (!next_id) damaged(path, "its next free object number is missing or not a number");
        // The columns of each table in the file (a table may hold more than its catalog
        // columns: dropped ones that no rebuild has taken out yet).
        std::unordered_map<std::string, std::vector<std::string>> stored_columns;
        {
            Stmt st(db_,
                    "SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_xinfo(m.name) "
                    "AS p WHERE m.type = 'table' AND m.name NOT LIKE 'MSys%' AND m.name NOT LIKE "
                    "'sqlite%'");
            std::vector<std::string>* columns = nullptr;
            std::string table;
            while (st.step()) {
                if (!columns || st.text(0) != table) {
                    table = st.text(0);
                    columns = &stored_columns[table];
                }
                columns->emplace_back(st.text(1));
                in_use(internal_number(columns->back()));
            }
            for (auto& [name, sorted] : stored_columns) std::sort(sorted.begin(), sorted.end());
        }
        {
            std::vector<bool> taken(sqlite_tables.size());  // by a table of the catalog
            Stmt st(db_, "SELECT id, name, sql_name FROM MSysJetTables ORDER BY id");
            while (st.step()) {
                auto t = std::make_unique<TableInfo>();
                t->id = st.i(0);
                t->name = st.s(1);
                t->sql_name = st.s(2);
                in_use(t->id);
                const size_t at = position_of(sqlite_tables, t->sql_name);
                if (at == sqlite_tables.size())
                    damaged(path, "table " + quoted(t->name) + " is missing from the file");
                if (taken[at])
                    damaged(path, "table " + quoted(t->name) + " shares its data with another");
                taken[at] = true;
                if (!by_name.emplace(text::fold(t->name), t.get()).second)
                    damaged(path, "more than one table is named " + quoted(t->name));
                by_id[t->id] = t.get();
                tables.push_back(std::move(t));
            }
        }
        {
            Stmt st(db_,
                    "SELECT table_id, id, name, sql_name, type, size, counter, default_text, "
                    "allow_zero_length, required FROM MSysJetColumns ORDER BY table_id, position");
            // The table whose columns are being read: its columns in the file, which of
            // them a column of the catalog took, and its columns' folded names with their
            // positions.
            TableInfo* current = nullptr;
            static const std::vector<std::string> kNone;
            const std::vector<std::string>* present = &kNone;
            std::vector<bool> taken;
            std::vector<std::pair<std::string, size_t>> folded;
            auto names_unique = [&] {
                std::sort(folded.begin(), folded.end());
                const auto same = std::adjacent_find(
                    folded.begin(), folded.end(),
                    [](const auto& a, const auto& b) { return a.first == b.first; });
                if (same != folded.end())
                    damaged(path, "table " + quoted(current->name) +
                                      " has more than one field named " +
                                      quoted(current->columns[std::next(same)->second].name));
                folded.clear();
            };
            while (st.step()) {
                auto it = by_id.find(st.i(0));
                if (it == by_id.end()) raise(Fault::UnrecognizedDatabase, path);
                TableInfo& t = *it->second;
                if (&t != current) {
                    if (current) names_unique();
                    current = &t;
                    auto cols = stored_columns.find(t.sql_name);
                    present = cols == stored_columns.end() ? &kNone : &cols->second;
                    taken.assign(present->size(), false);
                }
                ColumnInfo c;
                c.id = st.i(1);
                c.name = st.s(2);
                c.sql_name = st.s(3);
                c.type = static_cast<DataType>(st.i(4));
                c.size = static_cast<int>(st.i(5));
                c.counter = st.i(6) != 0;
                c.default_text = st.s(7);
                c.allow_zero_length = st.i(8) != 0;
                c.required = st.i(9) != 0;
                in_use(c.id);
                auto field = [&] {
                    return "field " + quoted(c.name) + " of table " + quoted(t.name);
                };
                if (!valid_type(c.type))
                    damaged(path,
                            field() + " has an unknown type (" + std::to_string(st.i(4)) + ")");
                const size_t at = position_of(*present, c.sql_name);
                if (at == present->size()) damaged(path, field() + " is missing from the file");
                if (taken[at]) damaged(path, field() + " shares its data with another");
                taken[at] = true;
                folded.emplace_back(text::fold(c.name), t.columns.size());
                t.columns.push_back(std::move(c));
            }
            if (current) names_unique();
        }
        std::unordered_map<int64_t, std::pair<TableInfo*, size_t>> index_at;
        {
            Stmt st(db_,
                    "SELECT table_id, id, name, sql_name, is_primary, is_unique, ignore_nulls, "
                    "required FROM MSysJetIndexes ORDER BY table_id, id");
            while (st.step()) {
                auto it = by_id.find(st.i(0));
                if (it == by_id.end()) raise(Fault::UnrecognizedDatabase, path);
                IndexInfo ix;
                ix.id = st.i(1);
                ix.name = st.s(2);
                ix.sql_name = st.s(3);
                ix.primary = st.i(4) != 0;
                ix.unique = st.i(5) != 0;
                ix.ignore_nulls = st.i(6) != 0;
                ix.required = st.i(7) != 0;
                in_use(ix.id);
                if (position_of(sqlite_indexes, ix.sql_name) == sqlite_indexes.size())
                    damaged(path, "index " + quoted(ix.name) + " of table " +
                                      quoted(it->second->name) + " is missing from the file");
                index_at[ix.id] = {it->second, it->second->indexes.size()};
                it->second->indexes.push_back(std::move(ix));
            }
        }
        {
            Stmt st(db_,
                    "SELECT index_id, column_id, descending FROM MSysJetIndexColumns ORDER BY "
                    "index_id, position");
            while (st.step()) {
                auto it = index_at.find(st.i(0));
                if (it == index_at.end()) raise(Fault::UnrecognizedDatabase, path);
                auto [t, pos] = it->second;
                if (!t->column_by_id(st.i(1))) raise(Fault::UnrecognizedDatabase, path);
                t->indexes[pos].columns.push_back(IndexColumnInfo{st.i(1), st.i(2) != 0});
            }
        }
        {
            Stmt st(
                db_,
                "SELECT id, name, table_id, foreign_table_id FROM MSysJetRelations ORDER BY id");
            while (st.step()) {
                RelationIds r;
                r.id = st.i(0);
                r.name = st.s(1);
                r.table_id = st.i(2);
                r.foreign_table_id = st.i(3);
                in_use(r.id);
                if (!by_id.count(r.table_id) || !by_id.count(r.foreign_table_id))
                    raise(Fault::UnrecognizedDatabase, path);
                relations.push_back(std::move(r));
            }
        }
        {
            Stmt st(db_,
                    "SELECT relation_id, column_id, foreign_column_id FROM MSysJetRelationColumns "
                    "ORDER BY relation_id, position");
            while (st.step()) {
                auto it = std::find_if(relations.begin(), relations.end(),
                                       [&](const RelationIds& r) { return r.id == st.i(0); });
                if (it == relations.end() || !by_id[it->table_id]->column_by_id(st.i(1)) ||
                    !by_id[it->foreign_table_id]->column_by_id(st.i(2)))
                    raise(Fault::UnrecognizedDatabase, path);
                it->columns.push_back(st.i(1));
                it->foreign_columns.push_back(st.i(2));
            }
        }
        // Tables, columns, indexes and relations take their ids from NextId, and the
        // SQLite objects their names: a lower one would name a new object as an old one.
        if (*next_id <= max_id)
            damaged(path, "its next free object number (" + std::to_string(*next_id) +
                              ") is not above the numbers in use (up to " + std::to_string(max_id) +
                              ")");
        if (*next_id >= kNoNumberLeft) damaged(path, no_number_left(*next_id));

        props_ = std::move(props);
        impl_->next_id = *next_id;
        impl_->relations = std::move(relations);
        tables_ = std::move(tables);
        by_name_ = std::move(by_name);
        relations_ = relations_named(tables_, impl_->relations);
        // Dropped columns that an earlier session committed without rebuilding their table.
        for (const auto& t : tables_)
            if (stored_columns[t->sql_name].size() > t->columns.size())
                impl_->leftover.insert(t->sql_name);
    } catch (const Error& e) {
        // The file locked, unreadable or failing, or its catalog damaged, is reported as
        // what it is; any other failure to read the catalog means the file is not one of
        // ours.
        impl_->stale = environment_failure(e) ? e : make_error(Fault::UnrecognizedDatabase, path);
        throw *impl_->stale;
    } catch (const std::exception&) {
        impl_->stale = make_error(Fault::UnrecognizedDatabase, path);
        throw *impl_->stale;
    }
    impl_->stale.reset();
    ++version_;
}

bool Catalog::stale() const {
    return impl_->stale.has_value();
}

void Catalog::refuse_if_stale() const {
    if (impl_->stale) throw *impl_->stale;
}

const TableInfo* Catalog::table(std::string_view jet_name) const {
    auto it = by_name_.find(text::fold(jet_name));
    if (it == by_name_.end()) {
        // Jet ignores blanks that end a table's name in a statement ("[S_JEDNOSTKI ]").
        const size_t last = jet_name.find_last_not_of(' ');
        if (last != std::string_view::npos && last + 1 < jet_name.size())
            it = by_name_.find(text::fold(jet_name.substr(0, last + 1)));
    }
    return it == by_name_.end() ? nullptr : it->second;
}

std::vector<const TableInfo*> Catalog::tables() const {
    if (impl_->sorted_version != version_) {
        auto& out = impl_->sorted;
        out.clear();
        for (const auto& t : tables_) out.push_back(t.get());
        std::stable_sort(out.begin(), out.end(), [](const TableInfo* a, const TableInfo* b) {
            return text::compare(a->name, b->name) < 0;
        });
        impl_->sorted_version = version_;
    }
    return impl_->sorted;
}

std::vector<std::string> Catalog::sql_names() const {
    std::vector<std::string> out;
    out.reserve(tables_.size());
    for (const auto& t : tables_) out.push_back(t->sql_name);
    return out;
}

std::vector<std::string> Catalog::system_table_names() const {
    return std::vector<std::string>(std::begin(kSystemTables), std::end(kSystemTables));
}

// ---------------------------------------------------------------- tables

const TableInfo& Catalog::create_table(std::string_view name,
                                       const std::vector<ColumnSpec>& columns) {
    if (table(name)) raise(Fault::TableExists, name);
    if (name.empty() || columns.empty()) raise(Fault::SyntaxError, "CREATE TABLE statement");
    // Column by column, as the table is defined: the first fault found is the one
    // reported.
    int counters = 0;
    std::unordered_set<std::string> names;  // folded
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i == kMaxFields) raise(Fault::TooManyFields);
        counters += columns[i].counter;
        if (!names.insert(text::fold(columns[i].name)).second)
            raise(Fault::FieldExists, columns[i].name, name);
    }
    if (counters > 1) raise(Fault::TooManyCounters);

    TableInfo* created = nullptr;
    schema_change(db_, *this, impl_->path, version_, [&] {
        auto t = std::make_unique<TableInfo>();
        t->id = alloc_id(db_, impl_->next_id);
        t->name = std::string(name);
        t->sql_name = "t" + std::to_string(t->id);
        std::string sql = "CREATE TABLE " + t->sql_name + "(";
        for (const auto& def : columns) {
            ColumnInfo c = column_from(def, alloc_id(db_, impl_->next_id));
            if (!t->columns.empty()) sql += ", ";
            sql += c.sql_name + " " + declared_type(c.type);
            t->columns.push_back(std::move(c));
        }
        exec(db_, sql + ")");
        run(db_, "INSERT INTO MSysJetTables(id, name, sql_name) VALUES (?, ?, ?)", t->id, t->name,
            t->sql_name);
        for (size_t i = 0; i < t->columns.size(); ++i)
            insert_column_row(db_, t->id, static_cast<int64_t>(i), t->columns[i]);
        created = t.get();
        by_name_[text::fold(t->name)] = created;
        tables_.push_back(std::move(t));
    });
    return *created;
}

void Catalog::drop_table(std::string_view name) {
    auto it = by_name_.find(text::fold(name));
    if (it == by_name_.end()) raise(Fault::DropMissingTable, name);
    TableInfo* t = it->second;
    schema_change(db_, *this, impl_->path, version_, [&] {
        exec(db_, "DROP TABLE " + t->sql_name);
        run(db_,
            "DELETE FROM MSysJetIndexColumns WHERE index_id IN (SELECT id FROM MSysJetIndexes "
            "WHERE table_id = ?)",
            t->id);
        run(db_, "DELETE FROM MSysJetIndexes WHERE table_id = ?", t->id);
        run(db_, "DELETE FROM MSysJetColumns WHERE table_id = ?", t->id);
        run(db_, "DELETE FROM MSysJetTables WHERE id = ?", t->id);
        run(db_,
            "DELETE FROM MSysJetRelationColumns WHERE relation_id IN (SELECT id FROM "
            "MSysJetRelations WHERE table_id = ?1 OR foreign_table_id = ?1)",
            t->id);
        run(db_, "DELETE FROM MSysJetRelations WHERE table_id = ?1 OR foreign_table_id = ?1",
            t->id);
        auto& rels = impl_->relations;
        rels.erase(std::remove_if(rels.begin(), rels.end(),
                                  [&](const RelationIds& r) {
                                      return r.table_id == t->id || r.foreign_table_id == t->id;
                                  }),
                   rels.end());
        by_name_.erase(it);
        tables_.erase(std::find_if(tables_.begin(), tables_.end(),
                                   [&](const auto& p) { return p.get() == t; }));
        relations_ = relations_named(tables_, impl_->relations);
    });
}

void Catalog::rename_table(std::string_view name, std::string_view new_name) {
    TableInfo& t = need_table(by_name_, name);
    const TableInfo* other = table(new_name);
    if (other && other != &t) raise(Fault::TableExists, new_name);
    if (new_name.empty()) raise(Fault::SyntaxError, "table name");
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "UPDATE MSysJetTables SET name = ? WHERE id = ?", new_name, t.id);
        by_name_.erase(text::fold(t.name));
        t.name = std::string(new_name);
        by_name_[text::fold(t.name)] = &t;
        relations_ = relations_named(tables_, impl_->relations);
    });
}

// ---------------------------------------------------------------- columns

void Catalog::add_column(std::string_view table_name, const ColumnSpec& def) {
    TableInfo& t = need_table(by_name_, table_name);
    if (t.column(def.name)) raise(Fault::FieldExists, def.name, t.name);
    if (def.name.empty()) raise(Fault::SyntaxError, "field definition");
    if (def.counter && t.counter_column()) raise(Fault::TooManyCounters);
    if (t.columns.size() >= kMaxFields) raise(Fault::TooManyFields);
    schema_change(db_, *this, impl_->path, version_, [&] {
        ColumnInfo c = column_from(def, alloc_id(db_, impl_->next_id));
        exec(db_, "ALTER TABLE " + t.sql_name + " ADD COLUMN " + c.sql_name + " " +
                      declared_type(c.type));
        // A counter added to a table with rows numbers them in row order: where the
        // row ids run 1..n they are the numbers.
        if (c.counter) {
            bool dense = false;
            {
                Stmt st(db_, "SELECT count(*) = max(rowid) AND min(rowid) = 1 FROM " + t.sql_name);
                dense = st.step() && st.i(0) == 1;
            }
            if (dense)
                exec(db_, "UPDATE " + t.sql_name + " SET " + c.sql_name + " = rowid");
            else
                exec(db_,
                     "UPDATE " + t.sql_name + " SET " + c.sql_name +
                         " = s.n FROM (SELECT rowid AS r, row_number() OVER (ORDER BY rowid) AS n "
                         "FROM " +
                         t.sql_name + ") AS s WHERE s.r = " + t.sql_name + ".rowid");
        }
        int64_t position = 0;
        {
            Stmt st(db_,
                    "SELECT coalesce(max(position) + 1, 0) FROM MSysJetColumns WHERE table_id = ?");
            st.bind(1, t.id);
            if (st.step()) position = st.i(0);
        }
        insert_column_row(db_, t.id, position, c);
        t.columns.push_back(std::move(c));
    });
}

void Catalog::drop_column(std::string_view table_name, std::string_view column) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    for (const auto& ix : t.indexes)
        for (const auto& ic : ix.columns)
            if (ic.column_id == c.id) raise(Fault::FieldInIndex, c.name);
    for (const auto& r : impl_->relations)
        if ((r.table_id == t.id &&
             std::find(r.columns.begin(), r.columns.end(), c.id) != r.columns.end()) ||
            (r.foreign_table_id == t.id &&
             std::find(r.foreign_columns.begin(), r.foreign_columns.end(), c.id) !=
                 r.foreign_columns.end()))
            raise(Fault::FieldInIndex, c.name);
    const int64_t cid = c.id;
    // The last column goes as SQLite drops it, which refuses.
    if (t.columns.size() == 1) drop_leftover_columns(t.sql_name);
    const bool last = t.columns.size() == 1;
    schema_change(db_, *this, impl_->path, version_, [&] {
        drop_hidden_indexes(db_, t.sql_name, c.sql_name);
        if (last)
            exec(db_, "ALTER TABLE " + t.sql_name + " DROP COLUMN " + c.sql_name);
        else
            impl_->leftover.insert(t.sql_name);
        run(db_, "DELETE FROM MSysJetColumns WHERE id = ?", cid);
        t.columns.erase(std::find_if(t.columns.begin(), t.columns.end(),
                                     [&](const ColumnInfo& x) { return x.id == cid; }));
    });
}

// Tables of more rows that have indexes are not rebuilt (see below).
constexpr int64_t kRebuiltRows = 1 << 18;

std::vector<std::string> Catalog::drop_leftover_columns(const std::string& only) {
    // Which columns are dropped is known from the model alone: a stale one could take
    // columns that the file's catalog still holds.
    refuse_if_stale();
    std::vector<std::string> rebuilt;
    std::vector<std::string> names;
    if (only.empty())
        names.assign(impl_->leftover.begin(), impl_->leftover.end());
    else if (impl_->leftover.count(only))
        names.push_back(only);
    for (const std::string& name : names) {
        impl_->leftover.erase(name);
        const TableInfo* t = nullptr;
        for (const auto& x : tables_)
            if (x->sql_name == name) t = x.get();
        if (!t) continue;
        // The SQLite columns still in the catalog, in the SQLite table's order.
        std::vector<const ColumnInfo*> kept;
        std::vector<std::string> extra_columns;
        bool extra = false;
        {
            Stmt st(db_, "SELECT name FROM pragma_table_xinfo(?)");
            st.bind(1, name);
            while (st.step()) {
                const std::string col = st.s(0);
                const ColumnInfo* c = nullptr;
                for (const auto& x : t->columns)
                    if (x.sql_name == col) c = &x;
                if (c) {
                    kept.push_back(c);
                } else {
                    extra = true;
                    extra_columns.push_back(col);
                }
            }
        }
        if (!extra || kept.empty()) continue;
        std::vector<std::string> indexes;
        {
            Stmt st(db_,
                    "SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql "
                    "IS NOT NULL");
            st.bind(1, name);
            while (st.step()) indexes.push_back(st.s(0));
        }
        // Indexes made again over a big table would each sort it in memory: such a table
        // loses its columns one by one, as SQLite drops them in place.
        bool in_place = false;
        if (!indexes.empty()) {
            Stmt st(db_, "SELECT count(*) FROM (SELECT 1 FROM " + name + " LIMIT " +
                             std::to_string(kRebuiltRows + 1) + ")");
            in_place = st.step() && st.i(0) > kRebuiltRows;
        }
        exec(db_, "SAVEPOINT jet_rebuild");
        try {
            if (in_place) {
                for (const auto& col : extra_columns)
                    exec(db_, "ALTER TABLE " + name + " DROP COLUMN " + col);
            } else {
                std::string decl, cols;
                for (const ColumnInfo* c : kept) {
                    decl += (decl.empty() ? "" : ", ") + c->sql_name + " " + declared_type(c->type);
                    cols += ", " + c->sql_name;
                }
                const std::string fresh = name + "_rebuilt";
                exec(db_, "CREATE TABLE " + fresh + "(" + decl + ")");
                exec(db_, "INSERT INTO " + fresh + "(rowid" + cols + ") SELECT rowid" + cols +
                              " FROM " + name + " ORDER BY rowid");
                exec(db_, "DROP TABLE " + name);
                exec(db_, "ALTER TABLE " + fresh + " RENAME TO " + name);
                for (const auto& ix : indexes) exec(db_, ix);
            }
            release(db_, "jet_rebuild");
        } catch (...) {
            roll_back_to(db_, "jet_rebuild");
            impl_->leftover.insert(name);
            throw;
        }
        rebuilt.push_back(name);
    }
    return rebuilt;
}

void Catalog::rename_column(std::string_view table_name, std::string_view column,
                            std::string_view new_name) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    const ColumnInfo* other = t.column(new_name);
    if (other && other != &c) raise(Fault::FieldExists, new_name, t.name);
    if (new_name.empty()) raise(Fault::SyntaxError, "field name");
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "UPDATE MSysJetColumns SET name = ? WHERE id = ?", new_name, c.id);
        c.name = std::string(new_name);
        relations_ = relations_named(tables_, impl_->relations);
    });
}

// Changes a column's type or size. Every value is converted as a store into the
// new column would convert it (Value::coerce_to); a value that does not fit raises
// (TooLong, TypeMismatch, Overflow) and nothing changes. When the SQLite
// declaration stays the same the values are converted in place; otherwise they
// move to a new SQLite column that takes the old one's place, and the indexes over
// the column are rebuilt on it (which may raise Duplicate).
void Catalog::alter_column(std::string_view table_name, std::string_view column, DataType type,
                           int size) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    const int new_size = column_size(type, size, c.name);
    if (type == c.type && new_size == c.size) return;
    const bool in_place = declared_type(type) == declared_type(c.type);
    schema_change(db_, *this, impl_->path, version_, [&] {
        std::string target = c.sql_name;
        std::vector<const IndexInfo*> covering;
        if (!in_place) {
            target = "c" + std::to_string(alloc_id(db_, impl_->next_id));
            for (const auto& ix : t.indexes)
                for (const auto& ic : ix.columns)
                    if (ic.column_id == c.id) {
                        covering.push_back(&ix);
                        break;
                    }
            for (const IndexInfo* ix : covering) exec(db_, "DROP INDEX " + ix->sql_name);
            exec(db_,
                 "ALTER TABLE " + t.sql_name + " ADD COLUMN " + target + " " + declared_type(type));
        }
        std::vector<std::pair<int64_t, Value>> changed;
        {
            Stmt st(db_, "SELECT rowid, " + c.sql_name + " FROM " + t.sql_name);
            while (st.step()) {
                Value old = detail::read_value(st.get(), 1, c.type);
                if (old.is_null()) continue;
                Value now = old.coerce_to(type, new_size);
                if (!in_place || !(now == old)) changed.emplace_back(st.i(0), std::move(now));
            }
        }
        {
            Stmt st(db_, "UPDATE " + t.sql_name + " SET " + target + " = ? WHERE rowid = ?",
                    Work::Rows);
            for (const auto& [rowid, v] : changed) {
                detail::bind_value(st.get(), 1, v);
                st.bind(2, rowid);
                st.run();
            }
        }
        if (!in_place) {
            drop_hidden_indexes(db_, t.sql_name, c.sql_name);
            impl_->leftover.insert(t.sql_name);
        }
        run(db_,
            "UPDATE MSysJetColumns SET type = ?, size = ?, sql_name = ?, counter = ? WHERE id = ?",
            static_cast<int64_t>(type), static_cast<int64_t>(new_size), target,
            static_cast<int64_t>(c.counter && type == DataType::Long), c.id);
        c.type = type;
        c.size = new_size;
        c.sql_name = target;
        c.counter = c.counter && type == DataType::Long;
        for (const IndexInfo* ix : covering) exec(db_, index_sql(t, *ix), Work::Rows);
    });
}

void Catalog::set_default(std::string_view table_name, std::string_view column,
                          std::string_view default_text) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "UPDATE MSysJetColumns SET default_text = ? WHERE id = ?", default_text, c.id);
        c.default_text = std::string(default_text);
    });
}

void Catalog::set_allow_zero_length(std::string_view table_name, std::string_view column,
                                    bool allow) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "UPDATE MSysJetColumns SET allow_zero_length = ? WHERE id = ?",
            static_cast<int64_t>(allow), c.id);
        c.allow_zero_length = allow;
    });
}

void Catalog::set_required(std::string_view table_name, std::string_view column, bool required) {
    TableInfo& t = need_table(by_name_, table_name);
    ColumnInfo& c = need_column(t, column);
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "UPDATE MSysJetColumns SET required = ? WHERE id = ?",
            static_cast<int64_t>(required), c.id);
        c.required = required;
    });
}

// ---------------------------------------------------------------- indexes

void Catalog::create_index(std::string_view table_name, const IndexSpec& def) {
    TableInfo& t = need_table(by_name_, table_name);
    if (def.name.empty() || def.columns.empty())
        raise(Fault::SyntaxError, "CREATE INDEX statement");
    if (t.index(def.name)) raise(Fault::IndexExists, def.name);
    if (def.primary && t.primary_key()) raise(Fault::PrimaryKeyExists);
    IndexInfo ix;
    ix.name = def.name;
    ix.primary = def.primary;
    ix.unique = def.unique || def.primary;
    ix.required = def.required || def.primary;
    ix.ignore_nulls = def.ignore_nulls;
    for (const auto& [name, descending] : def.columns) {
        const ColumnInfo& c = need_column(t, name);
        for (const auto& ic : ix.columns)
            if (ic.column_id == c.id) raise(Fault::SyntaxError, "CREATE INDEX statement");
        ix.columns.push_back(IndexColumnInfo{c.id, descending});
    }
    schema_change(db_, *this, impl_->path, version_, [&] {
        if (ix.required) check_no_nulls(db_, t, ix);
        ix.id = alloc_id(db_, impl_->next_id);
        ix.sql_name = "i" + std::to_string(ix.id);
        try {
            exec(db_, index_sql(t, ix), Work::Rows);
        } catch (const Error& e) {
            if (e.fault() != Fault::Duplicate) throw;
            throw key_error(Fault::Duplicate, key_of(t, ix));  // the key whose values repeat
        }
        run(db_,
            "INSERT INTO MSysJetIndexes(id, table_id, name, sql_name, is_primary, is_unique, "
            "ignore_nulls, required) VALUES (?,?,?,?,?,?,?,?)",
            ix.id, t.id, ix.name, ix.sql_name, static_cast<int64_t>(ix.primary),
            static_cast<int64_t>(ix.unique), static_cast<int64_t>(ix.ignore_nulls),
            static_cast<int64_t>(ix.required));
        for (size_t i = 0; i < ix.columns.size(); ++i)
            run(db_,
                "INSERT INTO MSysJetIndexColumns(index_id, position, column_id, descending) "
                "VALUES (?,?,?,?)",
                ix.id, static_cast<int64_t>(i), ix.columns[i].column_id,
                static_cast<int64_t>(ix.columns[i].descending));
        t.indexes.push_back(std::move(ix));
    });
}

void Catalog::drop_index(std::string_view table_name, std::string_view index) {
    TableInfo& t = need_table(by_name_, table_name);
    auto it = std::find_if(t.indexes.begin(), t.indexes.end(),
                           [&](const IndexInfo& x) { return text::same_name(x.name, index); });
    if (it == t.indexes.end()) raise(Fault::NoSuchIndex, index, t.name);
    schema_change(db_, *this, impl_->path, version_, [&] {
        exec(db_, "DROP INDEX " + it->sql_name);
        run(db_, "DELETE FROM MSysJetIndexColumns WHERE index_id = ?", it->id);
        run(db_, "DELETE FROM MSysJetIndexes WHERE id = ?", it->id);
        t.indexes.erase(it);
    });
}

// ---------------------------------------------------------------- relations

void Catalog::add_relation(const RelationInfo& relation) {
    TableInfo& t = need_table(by_name_, relation.table);
    TableInfo& f = need_table(by_name_, relation.foreign_table);
    if (relation.name.empty()) raise(Fault::SyntaxError, "CONSTRAINT clause");
    for (const auto& r : impl_->relations)
        if (text::same_name(r.name, relation.name)) raise(Fault::IndexExists, relation.name);
    RelationIds r;
    r.name = relation.name;
    r.table_id = t.id;
    r.foreign_table_id = f.id;
    if (relation.columns.empty()) {
        const IndexInfo* pk = t.primary_key();
        if (!pk) raise(Fault::SyntaxError, "CONSTRAINT clause");
        for (const auto& ic : pk->columns) r.columns.push_back(ic.column_id);
    } else {
        for (const auto& name : relation.columns) r.columns.push_back(need_column(t, name).id);
    }
    for (const auto& name : relation.foreign_columns)
        r.foreign_columns.push_back(need_column(f, name).id);
    if (r.columns.size() != r.foreign_columns.size())
        raise(Fault::SyntaxError, "CONSTRAINT clause");
    schema_change(db_, *this, impl_->path, version_, [&] {
        r.id = alloc_id(db_, impl_->next_id);
        run(db_,
            "INSERT INTO MSysJetRelations(id, name, table_id, foreign_table_id) VALUES (?,?,?,?)",
            r.id, r.name, r.table_id, r.foreign_table_id);
        for (size_t i = 0; i < r.columns.size(); ++i)
            run(db_,
                "INSERT INTO MSysJetRelationColumns(relation_id, position, column_id, "
                "foreign_column_id) VALUES (?,?,?,?)",
                r.id, static_cast<int64_t>(i), r.columns[i], r.foreign_columns[i]);
        impl_->relations.push_back(std::move(r));
        relations_ = relations_named(tables_, impl_->relations);
    });
}

void Catalog::drop_relation(std::string_view name) {
    auto& rels = impl_->relations;
    auto it = std::find_if(rels.begin(), rels.end(),
                           [&](const RelationIds& r) { return text::same_name(r.name, name); });
    if (it == rels.end()) raise(Fault::ItemNotFound, name);
    schema_change(db_, *this, impl_->path, version_, [&] {
        run(db_, "DELETE FROM MSysJetRelationColumns WHERE relation_id = ?", it->id);
        run(db_, "DELETE FROM MSysJetRelations WHERE id = ?", it->id);
        rels.erase(it);
        relations_ = relations_named(tables_, impl_->relations);
    });
}

void Catalog::set_format_version(std::string_view v) {
    schema_change(db_, *this, impl_->path, version_, [&] {
        write_property(db_, "FormatVersion", v);
        props_.format_version = std::string(v);
    });
}

}  // namespace jet
