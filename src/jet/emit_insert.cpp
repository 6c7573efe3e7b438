// INSERT INTO ... VALUES and INSERT INTO ... SELECT: every stored value converted for
// its column (jet_store), omitted columns given their default, the counter numbered
// by the engine unless a value is given.
//
// Counter numbering: the session keeps each table's next number, found as the
// highest value in the table + 1 when the table is first numbered and then advanced
// by every row it numbers and raised past every value given explicitly, so that an
// insert costs no scan of the table. As in Jet, a number once handed out is not
// handed out again in the session: not after the rows holding the highest numbers are
// deleted, nor after a statement or transaction that used it is rolled back. A new
// session starts after the highest value in the table (this engine does not keep the
// next number in the file). The number is checked against the rows again (it never
// goes down) after a schema change, after another connection wrote to the file, and
// after an UPDATE stored counter values.
#include <algorithm>

#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

namespace {

struct InsertPlan : Plan {
    std::string sql;
    std::vector<Value> params;
    OmittedColumns omitted;

    int64_t execute(Session& s) override { return run_insert(s, sql, params, omitted); }
    bool one_statement() const override { return omitted.counter_sql.empty(); }
};

}  // namespace

OmittedColumns omitted_columns(Binder& b, const TableInfo& t,
                               const std::vector<const ColumnInfo*>& targets) {
    OmittedColumns out;
    out.table_id = t.id;
    out.table_sql = t.sql_name;
    for (const auto& c : t.columns) {
        bool given = false;
        for (const auto* x : targets) given = given || x == &c;
        if (c.counter) out.counter_sql = c.sql_name;
        if (given) continue;
        if (c.counter) {
            out.seq_param = b.reserve_param();
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

namespace {

// The next number of one table's counter.
struct NextNumber {
    std::string column;            // the counter's SQLite column when it was found
    int64_t next = 1;
    uint64_t catalog_version = 0;  // when next was last checked against the rows
    int64_t data_version = -1;
};

struct CounterNumbers {
    std::unordered_map<int64_t, NextNumber> tables;  // by table id
};

CounterNumbers& counter_numbers(Session& s) {
    std::shared_ptr<void>& slot = s.counter_numbers();
    if (!slot) slot = std::make_shared<CounterNumbers>();
    return *static_cast<CounterNumbers*>(slot.get());
}

// One whole number from a query (0 for no row or Null).
int64_t query_int(Session& s, const std::string& sql, int64_t param = 0, bool bind = false) {
    sqlite3_stmt* st = s.prepare(sql);
    if (bind) sqlite3_bind_int64(st, 1, param);
    int64_t v = 0;
    if (s.step(st)) v = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    return v;
}

// SQLite's count of the commits other connections made to the file: another
// process may write between the grouped transactions.
int64_t data_version(Session& s) {
    return query_int(s, "PRAGMA data_version");
}

// The table's next number, checked against its rows when the schema changed, another
// connection wrote, or an UPDATE stored counter values since it was last checked.
NextNumber& next_number(Session& s, const OmittedColumns& o) {
    NextNumber& n = counter_numbers(s).tables[o.table_id];
    if (n.column != o.counter_sql) n = NextNumber{o.counter_sql};
    const uint64_t cv = s.catalog().version();
    const int64_t dv = data_version(s);
    if (n.catalog_version != cv || n.data_version != dv) {
        const int64_t top = query_int(s, "SELECT max(" + o.counter_sql + ") FROM " + o.table_sql);
        n.next = std::max(n.next, top + 1);
        n.catalog_version = cv;
        n.data_version = dv;
    }
    return n;
}

struct CountersChangedPlan : Plan {
    std::shared_ptr<Plan> inner;
    std::vector<int64_t> tables;

    int64_t execute(Session& s) override {
        const int64_t n = inner->execute(s);
        for (int64_t id : tables) counter_values_changed(s, id);
        return n;
    }
};

}  // namespace

void counter_values_changed(Session& s, int64_t table_id) {
    auto& tables = counter_numbers(s).tables;
    if (auto it = tables.find(table_id); it != tables.end()) it->second.catalog_version = 0;
}

std::shared_ptr<Plan> changing_counters(std::shared_ptr<Plan> p, std::vector<int64_t> tables) {
    if (tables.empty()) return p;
    auto out = std::make_shared<CountersChangedPlan>();
    out->version = p->version;
    out->inner = std::move(p);
    out->tables = std::move(tables);
    return out;
}

int64_t run_insert(Session& s, const std::string& sql, const std::vector<Value>& params,
                   const OmittedColumns& omitted) {
    auto run = [&](int64_t start) {
        sqlite3_stmt* st = s.prepare(sql);
        bind_params(st, params);
        if (omitted.seq_param) sqlite3_bind_int64(st, omitted.seq_param, start);
        return run_to_end(s, st);
    };
    if (omitted.counter_sql.empty()) return run(0);
    if (omitted.seq_param) {
        // Numbered rows: start, start + 1, ... for the rows the statement inserts.
        const int64_t start = next_number(s, omitted).next;
        const int64_t rows = run(start);
        next_number(s, omitted).next = start + rows;
        return rows;
    }
    // Values given: the next number is raised past the highest of them. Without a
    // next number yet there is nothing to raise (it is found from the rows).
    auto& tables = counter_numbers(s).tables;
    if (tables.find(omitted.table_id) == tables.end()) return run(0);
    // The new rows take row ids after the table's highest.
    const int64_t last = query_int(s, "SELECT max(rowid) FROM " + omitted.table_sql);
    const int64_t rows = run(0);
    const int64_t top = query_int(
        s, "SELECT max(" + omitted.counter_sql + ") FROM " + omitted.table_sql + " WHERE rowid > ?1",
        last, true);
    if (auto it = tables.find(omitted.table_id); it != tables.end())
        it->second.next = std::max(it->second.next, top + 1);
    return rows;
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
    ReportChecks checks;
    std::string select_sql;
    if (q.select) {
        std::vector<Typed> items;
        b.storing = true;
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
        b.storing = true;
        for (size_t i = 0; i < items.size(); ++i) {
            row.push_back(b.store_sql(query_output(items[i], i), t, *targets[i]));
        }
        b.storing = false;
        rows.push_back(std::move(row));
        select_sql = std::move(sel.sql);
        // Reported: no table's row stands alone in a written row (reports.h).
        if (reports::enabled() && sel.rowid_sources.size() > 1) {
            ReportChecks::Case c{reports::Kind::InsertRepeat, {}};
            for (int i : sel.rowid_sources) {
                const std::string r = "r" + std::to_string(i);
                c.all.push_back("SELECT 1 FROM (" + sel.sql_with_rowids + ") WHERE " + r + " IS NOT NULL GROUP BY " +
                                r + " HAVING count(*) > 1 LIMIT 1");
            }
            checks.cases.push_back(std::move(c));
            checks.table = t.name;
            checks.params = b.params();
        }
    } else {
        if (targets.empty())
            for (const auto& c : t.columns) targets.push_back(&c);
        for (const auto& values : q.values) {
            if (values.size() != targets.size()) raise(Fault::ValuesCount);
            std::vector<std::string> row;
            for (size_t i = 0; i < values.size(); ++i) {
                b.storing = true;
                Typed v = b.expr(*values[i]);
                row.push_back(b.store_sql(v, t, *targets[i]));
                b.storing = false;
            }
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
    return with_report_checks(std::move(plan), std::move(checks));
}

}  // namespace jet::detail
