// Single rows by row id, for recordsets: SQLite statements on the table's own
// columns, each value stored as the engine's UPDATE and INSERT store it (the
// binder's store_sql), the omitted columns of an insert filled as the engine's
// INSERT fills them (omitted_columns).
#include "jet/rowaccess.h"

#include <sqlite3.h>

#include "jet/session.h"
#include "jet/translate.h"

namespace jet {

namespace {

const TableInfo& table_of(Database& db, std::string_view name) {
    const TableInfo* t = db.catalog().table(name);
    if (!t) raise(Fault::NoSuchTable, name);
    return *t;
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
    const TableInfo& t = table_of(db, table);
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
}

int64_t insert_row(Database& db, std::string_view table, const ColumnValues& values) {
    const TableInfo& t = table_of(db, table);
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
    return id;
}

void delete_row(Database& db, std::string_view table, int64_t rowid) {
    const TableInfo& t = table_of(db, table);
    Session& s = db.session();
    s.atomic([&]() {
        sqlite3_stmt* st = s.prepare("DELETE FROM " + t.sql_name + " WHERE rowid = ?1");
        sqlite3_bind_int64(st, 1, rowid);
        detail::run_to_end(s, st);
    });
}

void atomically(Database& db, const std::function<void()>& fn) {
    db.session().atomic(fn);
}

}  // namespace jet
