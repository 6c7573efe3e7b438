// Single rows by row id, for recordsets. Reads and updates are SQLite statements on
// the table's own columns, the stored values converted as the engine's UPDATE
// converts them; an insert is the engine's INSERT plan for one row of constants, so
// that defaults and counters are the engine's.
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

// A constant of the syntax tree that reads back as exactly this value, once the
// value has been converted to its column's type.
sql::ExprPtr constant(const Value& v) {
    using sql::ExprKind;
    switch (v.kind()) {
        case Value::Kind::Empty:
        case Value::Kind::Null: return std::make_unique<sql::Expr>(ExprKind::Null);
        case Value::Kind::Text: {
            auto e = std::make_unique<sql::Expr>(ExprKind::String);
            e->text = v.raw_text();
            return e;
        }
        case Value::Kind::Boolean:
        case Value::Kind::Byte:
        case Value::Kind::Integer:
        case Value::Kind::Long: {
            auto e = std::make_unique<sql::Expr>(ExprKind::Integer);
            e->integer = v.raw_int();
            e->number = static_cast<double>(v.raw_int());
            return e;
        }
        case Value::Kind::Currency:
        case Value::Kind::Single:
        case Value::Kind::Double:
        case Value::Kind::Date: {
            // A date goes to a date column only (the value is converted first), where
            // its serial number reads back as the same date.
            auto e = std::make_unique<sql::Expr>(ExprKind::Number);
            e->number = v.kind() == Value::Kind::Currency ? v.to_double() : v.raw_double();
            return e;
        }
    }
    return std::make_unique<sql::Expr>(ExprKind::Null);
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
    for (const auto& [name, value] : values) {
        const ColumnInfo& c = column_of(t, name);
        const Value stored = value.coerce_to(c.type, c.size);
        detail::Typed v;
        v.sql = b.param(stored);
        v.type = stored.is_null() ? c.type : stored.natural_type();
        v.known = !stored.is_null();
        v.constant = stored;
        sql += (first ? "" : ", ") + c.sql_name + " = " + b.store_sql(v, t, c);
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
}

int64_t insert_row(Database& db, std::string_view table, const ColumnValues& values) {
    const TableInfo& t = table_of(db, table);
    sql::Insert q;
    q.table = t.name;
    q.values.emplace_back();
    for (const auto& [name, value] : values) {
        const ColumnInfo& c = column_of(t, name);
        q.columns.push_back(c.name);
        q.values.back().push_back(constant(value.coerce_to(c.type, c.size)));
    }
    Session& s = db.session();
    int64_t id = 0;
    s.atomic([&]() {
        detail::plan_insert(s, q)->execute(s);
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

void atomically(Database& db, const std::function<void()>& fn) { db.session().atomic(fn); }

}  // namespace jet
