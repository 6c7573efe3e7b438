// Single rows by row id, for recordsets: SQLite statements on the table's own
// columns, each value stored as the engine's UPDATE and INSERT store it (the
// binder's store_sql), the omitted columns of an insert filled as the engine's
// INSERT fills them (omitted_columns).
#include "jet/rowaccess.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>

#include "jet/reports.h"
#include "jet/session.h"
#include "jet/trace.h"
#include "jet/translate.h"

namespace jet {

namespace {

const TableInfo& table_of(Database& db, std::string_view name) {
    const TableInfo* t = db.catalog().table(name);
    if (!t) raise(Fault::NoSuchTable, name);
    return *t;
}

// The table of a row write, taken once the session holds the write lock: the catalog is
// then as committed (see Session::begin_write).
const TableInfo& table_to_write(Database& db, std::string_view name) {
    db.session().begin_write();
    return table_of(db, name);
}

const ColumnInfo& column_of(const TableInfo& t, std::string_view name) {
    const ColumnInfo* c = t.column(name);
    if (!c) raise(Fault::NoSuchField, name, t.name);
    return *c;
}

// The stored form of a value for a column, as the engine's UPDATE and INSERT store
// it. The value is converted here (a date stays a date when it goes to a text
// column) and bound as a parameter, so that the statement's text, and with it the
// prepared statement, is the same for every row.
std::string store_sql(detail::Binder& b, const TableInfo& t, const ColumnInfo& c,
                      const Value& value) {
    const Value stored = value.coerce_to(c.type, c.size);
    detail::Typed v;
    v.sql = b.param(stored);
    v.type = stored.is_null() ? c.type : stored.natural_type();
    v.known = !stored.is_null();
    return b.store_sql(v, t, c);
}

}  // namespace

std::optional<std::vector<Value>> read_row(Database& db, std::string_view table, int64_t rowid,
                                           const std::vector<std::string>& columns) {
    const TableInfo& t = table_of(db, table);
    std::vector<const ColumnInfo*> cols;
    std::string sql = "SELECT ";
    for (const auto& name : columns) {
        cols.push_back(&column_of(t, name));
        sql += (cols.size() > 1 ? ", " : "") + cols.back()->sql_name;
    }
    if (cols.empty()) sql += "1";
    sql += " FROM " + t.sql_name + " WHERE rowid = ?1";
    Session& s = db.session();
    sqlite3_stmt* st = s.prepare(sql);
    sqlite3_bind_int64(st, 1, rowid);
    std::optional<std::vector<Value>> out;
    try {
        if (s.step(st)) {
            out.emplace();
            out->reserve(cols.size());
            for (size_t i = 0; i < cols.size(); ++i)
                out->push_back(detail::read_value(st, static_cast<int>(i), cols[i]->type));
        }
    } catch (...) {
        sqlite3_reset(st);
        throw;
    }
    sqlite3_reset(st);
    return out;
}

void update_row(Database& db, std::string_view table, int64_t rowid, const ColumnValues& values) {
    if (values.empty()) return;
    const TableInfo& t = table_to_write(db, table);
    Session& s = db.session();
    detail::Binder b(s);
    std::string sql = "UPDATE " + t.sql_name + " SET ";
    bool first = true;
    bool counter = false;
    for (const auto& [name, value] : values) {
        const ColumnInfo& c = column_of(t, name);
        counter = counter || c.counter;
        sql += (first ? "" : ", ") + c.sql_name + " = " + store_sql(b, t, c, value);
        first = false;
    }
    const int id_param = b.reserve_param();
    sql += " WHERE rowid = ?" + std::to_string(id_param);
    s.atomic([&]() {
        sqlite3_stmt* st = s.prepare(sql);
        detail::bind_params(st, b.params());
        sqlite3_bind_int64(st, id_param, rowid);
        detail::run_to_end(s, st);
    });
    if (counter) detail::counter_values_changed(s, t.id);
    if (detail::statement_trace != nullptr) {
        std::string names;
        for (const auto& [name, value] : values) names += (names.empty() ? "" : ", ") + name;
        detail::trace_statement("UPDATE " + t.name + " SET " + names + " (recordset)", 1);
    }
}

void report_null_overwrite(Database& db, std::string_view table, int64_t rowid,
                           const ColumnValues& values) {
    std::vector<std::string> emptied;
    for (const auto& [name, value] : values)
        if (value.is_null() || value.is_empty()) emptied.push_back(name);
    if (emptied.empty()) return;
    std::string sets;
    try {
        const auto before = read_row(db, table, rowid, emptied);
        for (size_t i = 0; before && i < emptied.size(); ++i)
            if (!(*before)[i].is_null())
                sets += (sets.empty() ? "" : ", ") + emptied[i] + " = Null";
    } catch (const Error&) {
        return;
    }
    if (!sets.empty())
        reports::detail::report(reports::Kind::NullOverwrite, table,
                                "UPDATE " + std::string(table) + " SET " + sets + " (recordset)");
}

int64_t insert_row(Database& db, std::string_view table, const ColumnValues& values) {
    const TableInfo& t = table_to_write(db, table);
    Session& s = db.session();
    detail::Binder b(s);
    std::vector<const ColumnInfo*> targets;
    std::vector<std::string> cols, vals;
    for (const auto& [name, value] : values) {
        const ColumnInfo& c = column_of(t, name);
        targets.push_back(&c);
        cols.push_back(c.sql_name);
        vals.push_back(store_sql(b, t, c, value));
    }
    const detail::OmittedColumns omitted = detail::omitted_columns(b, t, targets);
    cols.insert(cols.end(), omitted.columns.begin(), omitted.columns.end());
    vals.insert(vals.end(), omitted.values.begin(), omitted.values.end());
    std::string sql = "INSERT INTO " + t.sql_name;
    if (cols.empty()) {
        sql += " DEFAULT VALUES";
    } else {
        std::string c, v;
        for (size_t i = 0; i < cols.size(); ++i) {
            c += (i ? ", " : "") + cols[i];
            v += (i ? ", " : "") + vals[i];
        }
        sql += " (" + c + ") VALUES (" + v + ")";
    }
    int64_t id = 0;
    s.atomic([&]() {
        detail::run_insert(s, sql, b.params(), omitted);
        id = sqlite3_last_insert_rowid(s.handle());
    });
    if (detail::statement_trace != nullptr)
        detail::trace_statement("INSERT INTO " + t.name + " (recordset)", 1);
    return id;
}

void delete_row(Database& db, std::string_view table, int64_t rowid) {
    const TableInfo& t = table_to_write(db, table);
    Session& s = db.session();
    s.atomic([&]() {
        sqlite3_stmt* st = s.prepare("DELETE FROM " + t.sql_name + " WHERE rowid = ?1");
        sqlite3_bind_int64(st, 1, rowid);
        detail::run_to_end(s, st);
    });
    if (detail::statement_trace != nullptr)
        detail::trace_statement("DELETE FROM " + t.name + " (recordset)", 1);
}

void atomically(Database& db, const std::function<void()>& fn) {
    db.session().atomic(fn);
}

namespace {

// True when evaluating SQLite text calls none of the engine's functions that may
// raise (only money rounding and concatenation are called).
bool raises_nothing(std::string_view sql) {
    static constexpr std::string_view kSafe[] = {"jet_cur(", "jet_concat("};
    for (size_t at = sql.find("jet_"); at != std::string_view::npos;
         at = sql.find("jet_", at + 4)) {
        const std::string_view call = sql.substr(at);
        if (std::none_of(std::begin(kSafe), std::end(kSafe),
                         [&](std::string_view f) { return call.starts_with(f); }))
            return false;
    }
    return true;
}

// The SELECT of a statement when it reads one table of the open file plainly: no
// TOP, DISTINCT or grouping; nullptr otherwise.
const sql::Select* plain_one_table(const detail::TranslationCache::Entry& e) {
    const auto* q = std::get_if<sql::Select>(e.statement.get());
    if (!q || !q->into.empty() || !e.other_file.empty() || q->top ||
        q->quantifier != sql::Quantifier::All || !q->group_by.empty() || q->having ||
        q->from.size() != 1 || q->from[0]->kind != sql::TableRef::Kind::Table ||
        !q->from[0]->database.empty())
        return nullptr;
    return q;
}

// Runs a query of one row and one whole number.
int64_t count_of(Session& s, const std::string& sql, const std::vector<Value>& params) {
    sqlite3_stmt* st = s.prepare(sql);
    detail::bind_params(st, params);
    int64_t n = 0;
    try {
        if (s.step(st)) n = sqlite3_column_int64(st, 0);
    } catch (...) {
        sqlite3_reset(st);
        throw;
    }
    sqlite3_reset(st);
    return n;
}

}  // namespace

bool rows_can_wait(Database& db, std::string_view sql) {
    Session& s = db.session();
    auto& e = detail::cached_statement(s, sql);
    if (!plain_one_table(e)) return false;
    auto text = detail::query_text(*detail::cached_plan(s, e));
    return text && raises_nothing(text->sql);
}

int64_t count_rows(Database& db, std::string_view sql) {
    Session& s = db.session();
    auto& e = detail::cached_statement(s, sql);
    if (const sql::Select* q = plain_one_table(e)) {
        // Its table and WHERE only, so that SQLite counts without reading the selected
        // values (a table without WHERE: its b-tree's count).
        detail::Binder b(s);
        std::string count = "SELECT count(*) FROM " + b.from_item(*q->from[0]);
        if (q->where) count += " WHERE " + detail::Binder::cond_sql(b.expr(*q->where));
        return count_of(s, count, b.params());
    }
    const auto* select = std::get_if<sql::Select>(e.statement.get());
    std::shared_ptr<detail::Plan> plan;
    if (select && select->into.empty() && e.other_file.empty()) plan = detail::cached_plan(s, e);
    const auto q = plan ? detail::query_text(*plan) : std::nullopt;
    if (!q) raise(Fault::NotUpdatable, "statement returns no rows");
    return count_of(s, "SELECT count(*) FROM (" + q->sql + ")", q->params);
}

uint64_t before_next_write(Database& db, std::function<void()> fn) {
    return db.session().before_next_write(std::move(fn));
}

void cancel_before_write(Database& db, uint64_t key) {
    db.session().cancel_before_write(key);
}

}  // namespace jet
