// INSERT INTO ... VALUES and INSERT INTO ... SELECT: every stored value converted for
// its column (jet_store), omitted columns given their default, the counter numbered
// by the engine (highest so far + 1) unless a value is given.
#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

namespace {

struct InsertPlan : Plan {
    std::string sql;
    std::vector<Value> params;
    OmittedColumns omitted;

    int64_t execute(Session& s) override { return run_insert(s, sql, params, omitted); }
};

}  // namespace

OmittedColumns omitted_columns(Binder& b, const TableInfo& t,
                               const std::vector<const ColumnInfo*>& targets) {
    OmittedColumns out;
    for (const auto& c : t.columns) {
        bool given = false;
        for (const auto* x : targets) given = given || x == &c;
        if (given) continue;
        if (c.counter) {
            out.seq_param = b.reserve_param();
            out.counter_max = "SELECT coalesce(max(" + c.sql_name + "), 0) + 1 FROM " + t.sql_name;
            out.values.push_back("jet_seq(?" + std::to_string(out.seq_param) + ")");
        } else if (!c.default_text.empty() || c.required) {
            out.values.push_back(b.default_sql(t, c));
        } else {
            continue;
        }
        out.columns.push_back(c.sql_name);
    }
    return out;
}

int64_t run_insert(Session& s, const std::string& sql, const std::vector<Value>& params,
                   const OmittedColumns& omitted) {
    int64_t start = 1;
    if (omitted.seq_param) {
        sqlite3_stmt* m = s.prepare(omitted.counter_max);
        if (s.step(m)) start = sqlite3_column_int64(m, 0);
        sqlite3_reset(m);
    }
    sqlite3_stmt* st = s.prepare(sql);
    bind_params(st, params);
    if (omitted.seq_param) sqlite3_bind_int64(st, omitted.seq_param, start);
    return run_to_end(s, st);
}

std::shared_ptr<Plan> plan_insert(Session& s, const sql::Insert& q) {
    Binder b(s);
    const TableInfo& t = b.table(q.database, q.table, q.pos);

    // The target columns as written (or, for VALUES without a list, all of them).
    std::vector<const ColumnInfo*> targets;
    for (const auto& name : q.columns) {
        const ColumnInfo* c = t.column(name);
        if (!c) raise(Fault::UnknownInsertField, name);
        targets.push_back(c);
    }

    std::vector<std::vector<std::string>> rows;  // stored values, per row
    std::string select_sql;
    if (q.select) {
        std::vector<Typed> items;
        SelectSql sel = emit_select(b, *q.select, &items);
        if (targets.empty()) {
            // Without a field list the query's fields go to the fields of the same name.
            for (const auto& m : sel.columns) {
                const ColumnInfo* c = t.column(m.name);
                if (!c) raise(Fault::UnknownInsertField, m.name);
                targets.push_back(c);
            }
        } else if (targets.size() != items.size()) {
            raise(Fault::ValuesCount);
        }
        std::vector<std::string> row;
        for (size_t i = 0; i < items.size(); ++i) {
            row.push_back(b.store_sql(query_output(items[i], i), t, *targets[i]));
        }
        rows.push_back(std::move(row));
        select_sql = std::move(sel.sql);
    } else {
        if (targets.empty())
            for (const auto& c : t.columns) targets.push_back(&c);
        for (const auto& values : q.values) {
            if (values.size() != targets.size()) raise(Fault::ValuesCount);
            std::vector<std::string> row;
            for (size_t i = 0; i < values.size(); ++i) row.push_back(b.store_sql(b.expr(*values[i]), t, *targets[i]));
            rows.push_back(std::move(row));
        }
    }

    auto plan = std::make_shared<InsertPlan>();
    std::string cols;
    for (const auto* c : targets) cols += (cols.empty() ? "" : ", ") + c->sql_name;
    plan->omitted = omitted_columns(b, t, targets);
    for (const auto& c : plan->omitted.columns) cols += (cols.empty() ? "" : ", ") + c;
    const std::vector<std::string>& extra = plan->omitted.values;

    std::string sql = "INSERT INTO " + t.sql_name;
    sql += cols.empty() ? " DEFAULT VALUES" : " (" + cols + ")";
    if (q.select) {
        sql += " SELECT ";
        bool first = true;
        for (const auto& v : rows[0]) {
            sql += (first ? "" : ", ") + v;
            first = false;
        }
        for (const auto& v : extra) {
            sql += (first ? "" : ", ") + v;
            first = false;
        }
        sql += " FROM (" + select_sql + ") AS q";
    } else if (!cols.empty()) {
        sql += " VALUES ";
        for (size_t r = 0; r < rows.size(); ++r) {
            sql += r ? ", (" : "(";
            bool first = true;
            for (const auto& v : rows[r]) {
                sql += (first ? "" : ", ") + v;
                first = false;
            }
            for (const auto& v : extra) {
                sql += (first ? "" : ", ") + v;
                first = false;
            }
            sql += ")";
        }
    }
    plan->sql = std::move(sql);
    plan->params = b.params();
    return plan;
}

}  // namespace jet::detail
