// UPDATE. One table: one SQLite UPDATE (run again in steps when a unique index meets
// the old value of a row that the statement changes too). Over joins, Jet's meaning:
// the joined pairs and the WHERE are judged on the values before the statement, then
// the SET is applied once for every pair, in join order, each time reading the target
// row's current values (so "h.total = h.total + l.amount" accumulates every line).
// The plan reads the pairs' rowids first, then runs a prepared UPDATE per pair and
// target (only the last pair of each target row where earlier ones cannot matter).
// When every target row provably meets at most one pair (the other tables are
// reached through unique keys), a single UPDATE ... FROM gives the same result; an
// accumulation of exact addends is summed per target row and applied once.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "jet/sqlfuncs.h"
#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

namespace {

struct SetItem {
    int source;
    const ColumnInfo* column;
    std::string value;  // stored value
    uint64_t uses;      // sources the value reads
    const sql::Expr* expr;
};

struct PairUpdatePlan : Plan {
    std::string pairs;            // SELECT of the rowids of the sources involved, in join order
    int width = 0;                // columns of `pairs`
    struct Target {
        int column;               // the pair column of the target's rowid
        std::string sql;          // UPDATE ... WHERE rowid = ?target
        int target_param;
        std::vector<std::pair<int, int>> reads;  // (pair column, parameter) of other sources read
        // Only each target row's last pair matters: the values read nothing the
        // statement changes and cannot fail, so earlier pairs' writes are overwritten.
        bool last_only = false;
    };
    std::vector<Target> targets;
    std::vector<Value> params;

    int64_t execute(Session& s) override {
        std::vector<int64_t> rows;
        std::vector<char> present;
        sqlite3_stmt* p = s.prepare(pairs);
        bind_params(p, params);
        while (s.step(p)) {
            for (int i = 0; i < width; ++i) {
                const bool null = sqlite3_column_type(p, i) == SQLITE_NULL;
                present.push_back(!null);
                rows.push_back(null ? 0 : sqlite3_column_int64(p, i));
            }
        }
        sqlite3_reset(p);
        std::vector<sqlite3_stmt*> sts;
        for (const auto& t : targets) {
            sqlite3_stmt* st = s.prepare(t.sql);
            bind_params(st, params);
            sts.push_back(st);
        }
        int64_t affected = 0;
        const size_t n = width ? rows.size() / width : 0;
        std::vector<char> superseded;
        if (targets.size() == 1 && targets[0].last_only) {
            superseded.assign(n, 0);
            std::unordered_map<int64_t, size_t> last;
            const int c = targets[0].column;
            for (size_t r = 0; r < n; ++r) {
                if (!present[r * width + c]) continue;
                auto [it, fresh] = last.try_emplace(rows[r * width + c], r);
                if (!fresh) {
                    superseded[it->second] = 1;
                    it->second = r;
                }
            }
        }
        for (size_t r = 0; r < n; ++r) {
            const int64_t* row = &rows[r * width];
            const char* has = &present[r * width];
            bool any = false;
            for (size_t k = 0; k < targets.size(); ++k) {
                const Target& t = targets[k];
                if (!has[t.column]) continue;
                any = true;
                if (!superseded.empty() && superseded[r]) continue;
                sqlite3_stmt* st = sts[k];
                sqlite3_bind_int64(st, t.target_param, row[t.column]);
                for (auto [col, param] : t.reads) {
                    if (has[col])
                        sqlite3_bind_int64(st, param, row[col]);
                    else
                        sqlite3_bind_null(st, param);
                }
                while (s.step(st)) {
                }
                sqlite3_reset(st);
            }
            if (any) ++affected;
        }
        return affected;
    }
};

// Accumulation over a 1:N join ("h.total = h.total + l.amount" for every line): the
// per-pair result equals the target's value plus the exact sum of the addends over its
// pairs (Null when any addend is Null, as a Null pair leaves Null behind), so the
// plan sums the pairs per target row into a scratch table and updates each target
// row once. Used only where the sum is exact: money and whole numbers.
struct AccumulatePlan : Plan {
    std::string create, clear, fill, update, count;
    std::vector<Value> params;

    int64_t execute(Session& s) override {
        s.exec(create);
        s.exec(clear);
        for (const std::string* sql : {&fill, &update}) {
            sqlite3_stmt* st = s.prepare(*sql);
            bind_params(st, params);
            run_to_end(s, st);
        }
        int64_t pairs = 0;
        sqlite3_stmt* c = s.prepare(count);
        if (s.step(c)) pairs = sqlite3_column_int64(c, 0);
        sqlite3_reset(c);
        s.exec(clear);
        return pairs;
    }
};

// Accumulation over a 1:N join with floating addends or into Single or Double columns:
// such sums depend on their order, so the plan reads each pair's addends in join order
// with one query and does the pair-by-pair work in C++, each step as the per-pair
// UPDATE computes it (SQLite's floating addition, Null when either side is Null or the
// sum is NaN or out of range; money rounding when either side is money; then the column's store:
// Single rounded to 4-byte precision, Null past its range), then writes each
// target row once.
struct FloatAccumulatePlan : Plan {
    std::string pairs;   // target rowid, then per column: its value, the addend
    std::string update;  // SET column i = ?(i+1) WHERE rowid = ?(n+1)
    std::vector<bool> subtract, single, money;
    std::vector<Value> params;

    int64_t execute(Session& s) override {
        const size_t n = subtract.size();
        struct Row {
            int64_t rowid;
            std::vector<std::optional<double>> v;
        };
        std::vector<Row> rows;
        std::unordered_map<int64_t, size_t> index;
        int64_t count = 0;
        auto number = [](sqlite3_stmt* st, int i) -> std::optional<double> {
            if (sqlite3_column_type(st, i) == SQLITE_NULL) return std::nullopt;
            return sqlite3_column_double(st, i);
        };
        sqlite3_stmt* p = s.prepare(pairs);
        bind_params(p, params);
        try {
            while (s.step(p)) {
                if (sqlite3_column_type(p, 0) == SQLITE_NULL) continue;
                ++count;
                const int64_t id = sqlite3_column_int64(p, 0);
                auto [it, fresh] = index.try_emplace(id, rows.size());
                if (fresh) {
                    Row r{id, {}};
                    for (size_t i = 0; i < n; ++i)
                        r.v.push_back(number(p, static_cast<int>(1 + 2 * i)));
                    rows.push_back(std::move(r));
                }
                Row& r = rows[it->second];
                for (size_t i = 0; i < n; ++i) {
                    const auto x = number(p, static_cast<int>(2 + 2 * i));
                    auto& acc = r.v[i];
                    if (!acc || !x) {
                        acc.reset();
                        continue;
                    }
                    const double sum = subtract[i] ? *acc - *x : *acc + *x;
                    // Past the range of its type (a Double's, money's, a Single's) the
                    // field is Null from that pair on, as any value that cannot be stored.
                    if (!in_range(money[i] ? DataType::Currency : DataType::Double, sum)) {
                        acc.reset();
                        continue;
                    }
                    acc = money[i] ? Currency::from_double(sum).to_double() : sum;
                    if (single[i]) {
                        if (!in_range(DataType::Single, *acc)) {
                            acc.reset();
                            continue;
                        }
                        acc = static_cast<double>(static_cast<float>(*acc));
                    }
                }
            }
        } catch (...) {
            sqlite3_reset(p);
            throw;
        }
        sqlite3_reset(p);
        sqlite3_stmt* u = s.prepare(update);
        for (const Row& r : rows) {
            for (size_t i = 0; i < n; ++i) {
                if (r.v[i])
                    sqlite3_bind_double(u, static_cast<int>(i + 1), *r.v[i]);
                else
                    sqlite3_bind_null(u, static_cast<int>(i + 1));
            }
            sqlite3_bind_int64(u, static_cast<int>(n + 1), r.rowid);
            run_to_end(s, u);
        }
        return count;
    }
};

// A single-table UPDATE that sets columns of a unique index. SQLite judges a unique
// index row by row, Jet on the statement's result: "SET id = id + 1" over ids 1 and 2
// meets the old 2 on its way. The statement runs as it is; only when it fails with
// duplicate values (and SQLite has undone it) does the plan run it again in steps
// that judge the result alone: the rows' new values go to a scratch table, the rows'
// indexed columns are moved aside to values no row can hold (a blob of the row's
// rowid: Jet values are never blobs), then the new values are written. Rowids, and
// so counters and row order, stay. Duplicates in the result still fail, and the
// caller's savepoint undoes the steps.
struct UniqueUpdatePlan : StatementPlan {
    std::string create, clear, fill, aside, apply;
    bool one_statement() const override { return false; }

    int64_t execute(Session& s) override {
        try {
            return StatementPlan::execute(s);
        } catch (const Error& e) {
            if (e.fault() != Fault::Duplicate) throw;
        }
        s.exec(create);
        s.exec(clear);
        sqlite3_stmt* st = s.prepare(fill);
        bind_params(st, params);
        run_to_end(s, st);
        s.exec(aside);
        const int64_t affected = run_to_end(s, s.prepare(apply));
        s.exec(clear);
        return affected;
    }
};

// The plan of a single-table UPDATE: a UniqueUpdatePlan when the SET assigns a column
// of a unique index, else one statement.
std::shared_ptr<StatementPlan> plan_single_update(const Source& t, const std::vector<SetItem>& sets,
                                                  const std::string& set_clause, const std::string& where) {
    std::string update = "UPDATE " + t.sql_table + " AS " + t.sql_alias + " SET " + set_clause;
    if (!where.empty()) update += " WHERE " + where;
    std::vector<const ColumnInfo*> indexed;
    for (const auto& ix : t.table->indexes) {
        if (!ix.unique) continue;
        for (const auto& ic : ix.columns)
            for (const auto& x : sets)
                if (x.column->id == ic.column_id &&
                    std::find(indexed.begin(), indexed.end(), x.column) == indexed.end())
                    indexed.push_back(x.column);
    }
    if (indexed.empty()) {
        auto p = std::make_shared<StatementPlan>();
        p->sql = std::move(update);
        return p;
    }
    auto p = std::make_shared<UniqueUpdatePlan>();
    p->sql = std::move(update);
    const std::string name = "jet_upd" + std::to_string(sets.size());
    const std::string scratch = "temp." + name;
    std::string columns, values, assignments, aside;
    for (size_t i = 0; i < sets.size(); ++i) {
        const std::string v = "v" + std::to_string(i);
        columns += ", " + v;
        values += ", " + sets[i].value;
        assignments += (i ? ", " : "") + sets[i].column->sql_name + " = u." + v;
    }
    for (const ColumnInfo* c : indexed)
        aside += (aside.empty() ? "" : ", ") + c->sql_name + " = CAST(rowid AS BLOB)";
    p->create = "CREATE TEMP TABLE IF NOT EXISTS " + name + " (r INTEGER PRIMARY KEY" + columns + ")";
    p->clear = "DELETE FROM " + scratch;
    p->fill = "INSERT INTO " + scratch + " SELECT " + t.sql_alias + ".rowid" + values + " FROM " + t.sql_table +
              " AS " + t.sql_alias + (where.empty() ? "" : " WHERE " + where);
    p->aside = "UPDATE " + t.sql_table + " SET " + aside + " WHERE rowid IN (SELECT r FROM " + scratch + ")";
    p->apply = "UPDATE " + t.sql_table + " AS " + t.sql_alias + " SET " + assignments + " FROM " + scratch +
               " AS u WHERE " + t.sql_alias + ".rowid = u.r";
    return p;
}

bool whole_type(DataType t) {
    return t == DataType::Byte || t == DataType::Integer || t == DataType::Long || t == DataType::Boolean;
}

// True when an emitted value calls no function that may raise (conversions, stores,
// division): only money rounding and concatenation are allowed (money rounding also
// as its storing variant), and the marks of a stored value (jet_mark, jet_caught).
bool cannot_fail(std::string_view sql) {
    for (size_t at = sql.find("jet_"); at != std::string_view::npos; at = sql.find("jet_", at + 1)) {
        std::string_view name = sql.substr(at, sql.find('(', at) - at);
        if (name.ends_with(kStoringSuffix)) name.remove_suffix(kStoringSuffix.size());
        if (name != "jet_cur" && name != "jet_concat" && name != "jet_mark" && name != "jet_caught") return false;
    }
    return true;
}

// The terms of a chain of ANDs, left to right (walked without recursion: a chain may
// be as long as the statement).
void conjuncts(const sql::Expr* e, std::vector<const sql::Expr*>& out) {
    std::vector<const sql::Expr*> pending{e};
    while (!pending.empty()) {
        const sql::Expr* x = pending.back();
        pending.pop_back();
        if (!x) continue;
        if (x->kind == sql::ExprKind::Binary && x->op == sql::Op::And) {
            pending.push_back(x->args[1].get());
            pending.push_back(x->args[0].get());
        } else {
            out.push_back(x);
        }
    }
}

// True when each row of source `target` meets at most one combination of the other
// sources' rows: starting from the target, every other source is reached through an
// equality on all columns of one of its unique indexes with values of sources
// already reached (or constants).
bool at_most_one_pair(Binder& b, int target, const sql::Expr* where) {
    const auto& src = b.sources();
    const size_t n = src.size();
    if (n > 64) return false;
    for (size_t i = 0; i < n; ++i)
        if (static_cast<int>(i) != target && src[i].table == src[target].table) return false;

    struct Eq {
        int source;
        int64_t column;
        uint64_t needs;
    };
    std::vector<Eq> eqs;
    std::vector<const sql::Expr*> parts;
    for (const auto* on : b.on_exprs) conjuncts(on, parts);
    conjuncts(where, parts);
    for (const auto* c : parts) {
        if (c->kind != sql::ExprKind::Binary || c->op != sql::Op::Eq) continue;
        for (int side = 0; side < 2; ++side) {
            const sql::Expr& l = *c->args[side];
            const sql::Expr& r = *c->args[1 - side];
            if (l.kind != sql::ExprKind::Column) continue;
            Typed tl = b.expr(l);
            b.used_sources = 0;
            b.expr(r);
            const uint64_t needs = b.used_sources;
            if (!tl.column || (needs & (uint64_t{1} << tl.source))) continue;
            eqs.push_back({tl.source, tl.column->id, needs});
        }
    }
    uint64_t reached = uint64_t{1} << target;
    const uint64_t all = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
    for (bool grew = true; grew && reached != all;) {
        grew = false;
        for (size_t i = 0; i < n; ++i) {
            if (reached & (uint64_t{1} << i)) continue;
            std::vector<int64_t> fixed;
            for (const auto& e : eqs)
                if (e.source == static_cast<int>(i) && (e.needs & ~reached) == 0) fixed.push_back(e.column);
            for (const auto& ix : src[i].table->indexes) {
                if (!(ix.unique || ix.primary) || ix.columns.empty()) continue;
                const bool covered = std::all_of(ix.columns.begin(), ix.columns.end(), [&](const IndexColumnInfo& c) {
                    return std::find(fixed.begin(), fixed.end(), c.column_id) != fixed.end();
                });
                if (covered) {
                    reached |= uint64_t{1} << i;
                    grew = true;
                    break;
                }
            }
        }
    }
    return reached == all;
}

// The addend of an accumulation "col = col + e" (or e + col, or col - e) of the
// target source's column col, when e reads only the other tables; nullopt otherwise.
// expr, when given, receives e's expression.
std::optional<Typed> accumulation_addend(Binder& b, const sql::Expr& v, int target,
                                         const ColumnInfo* col, const sql::Expr** expr = nullptr) {
    int self = -1;
    for (int side = 0; side < (v.op == sql::Op::Add ? 2 : 1); ++side) {
        const sql::Expr& x = *v.args[side];
        if (x.kind != sql::ExprKind::Column) continue;
        Typed tx = b.expr(x);
        if (tx.source == target && tx.column == col) self = side;
    }
    if (self < 0) return std::nullopt;
    b.used_sources = 0;
    Typed e = b.expr(*v.args[1 - self]);
    if (!e.known || e.aggregate || (b.used_sources & (uint64_t{1} << target))) return std::nullopt;
    if (expr) *expr = v.args[1 - self].get();
    return e;
}

// Whether x is Nz(column, a whole-number literal): a column's value, or that number for
// its Null, so never a value past the column's range.
bool nz_of_column(const sql::Expr& x) {
    return x.kind == sql::ExprKind::Function && x.args.size() == 2 && text::same_name(x.text, "Nz") &&
           x.args[0]->kind == sql::ExprKind::Column && x.args[1]->kind == sql::ExprKind::Integer;
}

// The accumulation plan when every assignment of the statement adds to (or subtracts
// from) its own target column an exact addend read from the other tables; null otherwise.
std::shared_ptr<Plan> plan_accumulate(Binder& b, const sql::Update& q, int target, const std::string& from,
                                      const std::string& where) {
    const auto& src = b.sources();
    if (src.size() > 64) return nullptr;
    for (size_t i = 0; i < src.size(); ++i)
        if (static_cast<int>(i) != target && src[i].table == src[target].table) return nullptr;
    const Source& t = src[target];
    std::string sums, sets;
    int k = 0;
    for (const auto& a : q.assignments) {
        const ColumnInfo* col = t.table->column(a.column);
        const sql::Expr& v = *a.value;
        if (!col || v.kind != sql::ExprKind::Binary || (v.op != sql::Op::Add && v.op != sql::Op::Sub)) return nullptr;
        const DataType d = col->type;
        if (d != DataType::Currency && !(whole_type(d) && d != DataType::Boolean)) return nullptr;
        b.storing = true;
        std::optional<Typed> addend = accumulation_addend(b, v, target, col);
        b.storing = false;
        if (!addend) return nullptr;
        const Typed e = Binder::caught(*addend);  // Null where the addend cannot be computed
        const DataType et = e.cond ? DataType::Boolean : e.type;
        if (!(whole_type(et) || (et == DataType::Currency && d == DataType::Currency))) return nullptr;

        const std::string n = std::to_string(k++);
        sums += ", jet_sum(" + Binder::value_sql(e) + ", " + std::to_string(static_cast<int>(et)) + "), count(" +
                Binder::value_sql(e) + ")";
        Typed r;
        r.sql = "(CASE WHEN agg.k" + n + " = agg.n THEN " + t.sql_alias + "." + col->sql_name +
                (v.op == sql::Op::Add ? " + " : " - ") + "agg.v" + n + " END)";
        if (d == DataType::Currency) r.sql = "jet_cur" + r.sql;
        r.type = d == DataType::Currency || et == DataType::Currency ? DataType::Currency : DataType::Long;
        r.known = true;
        b.storing = true;
        sets += (sets.empty() ? "" : ", ") + col->sql_name + " = " + b.store_sql(r, *t.table, *col);
        b.storing = false;
    }
    const std::string table = "temp.jet_acc" + std::to_string(k);
    auto p = std::make_shared<AccumulatePlan>();
    p->create = "CREATE TEMP TABLE IF NOT EXISTS jet_acc" + std::to_string(k) + " (r INTEGER PRIMARY KEY, n INTEGER";
    std::string cols = "r, n";
    for (int i = 0; i < k; ++i) {
        p->create += ", v" + std::to_string(i) + ", k" + std::to_string(i);
        cols += ", v" + std::to_string(i) + ", k" + std::to_string(i);
    }
    p->create += ")";
    p->clear = "DELETE FROM " + table;
    p->fill = "INSERT INTO " + table + " (" + cols + ") SELECT " + t.sql_alias + ".rowid, count(*)" + sums + " FROM " +
              from + (where.empty() ? "" : " WHERE " + where) + " GROUP BY " + t.sql_alias + ".rowid";
    p->update = "UPDATE " + t.sql_table + " AS " + t.sql_alias + " SET " + sets + " FROM " + table +
                " AS agg WHERE " + t.sql_alias + ".rowid = agg.r";
    p->count = "SELECT coalesce(sum(n), 0) FROM " + table;
    p->params = b.params();
    return p;
}

// The floating accumulation plan (FloatAccumulatePlan) when every assignment adds to
// (or subtracts from) its own Single, Double or money target column a number read
// from the other tables, the sum computed in floating point; null otherwise.
std::shared_ptr<Plan> plan_float_accumulate(Binder& b, const sql::Update& q, int target,
                                            const std::string& from, const std::string& where) {
    const auto& src = b.sources();
    if (src.size() > 64) return nullptr;
    for (size_t i = 0; i < src.size(); ++i) {
        if (src[i].nested) return nullptr;
        if (static_cast<int>(i) != target && src[i].table == src[target].table) return nullptr;
    }
    const Source& t = src[target];
    const IndexInfo* pk = t.table->primary_key();
    auto p = std::make_shared<FloatAccumulatePlan>();
    std::string read, sets;
    for (const auto& a : q.assignments) {
        const ColumnInfo* col = t.table->column(a.column);
        const sql::Expr& v = *a.value;
        if (!col || v.kind != sql::ExprKind::Binary ||
            (v.op != sql::Op::Add && v.op != sql::Op::Sub))
            return nullptr;
        const DataType d = col->type;
        if ((d != DataType::Single && d != DataType::Double && d != DataType::Currency) ||
            col->required)
            return nullptr;
        // Indexed columns are judged as each pair is written: left to the general plan.
        for (const auto& ix : t.table->indexes)
            if (ix.unique || ix.primary || &ix == pk)
                for (const auto& ic : ix.columns)
                    if (ic.column_id == col->id) return nullptr;
        b.storing = true;
        const sql::Expr* addend_expr = nullptr;
        std::optional<Typed> addend = accumulation_addend(b, v, target, col, &addend_expr);
        b.storing = false;
        if (!addend) return nullptr;
        const Typed e = Binder::caught(*addend);  // Null where the addend cannot be computed
        const DataType et = e.cond ? DataType::Boolean : e.type;
        // The per-pair SQL is then a floating "column + addend" (rounded as money when
        // either is money) stored as it is or through the Single store.
        if (!whole_type(et) && et != DataType::Single && et != DataType::Double &&
            et != DataType::Currency)
            return nullptr;
        // A Single computed past its range is no Single, which only a store checks (the
        // general plan's, where the addend is an operand of the stored sum).
        if (et == DataType::Single && !e.column && !nz_of_column(*addend_expr)) return nullptr;
        if (sets.find(" " + col->sql_name + " = ") != std::string::npos) return nullptr;
        const std::string n = std::to_string(p->subtract.size() + 1);
        read += ", " + t.sql_alias + "." + col->sql_name + ", " + Binder::value_sql(e);
        sets += (sets.empty() ? " " : ", ") + col->sql_name + " = ?" + n;
        p->subtract.push_back(v.op == sql::Op::Sub);
        p->single.push_back(d == DataType::Single);
        p->money.push_back(d == DataType::Currency || et == DataType::Currency);
    }
    if (p->subtract.empty()) return nullptr;
    p->pairs = "SELECT " + t.sql_alias + ".rowid" + read + " FROM " + from +
               (where.empty() ? "" : " WHERE " + where) + " ORDER BY ";
    for (size_t i = 0; i < src.size(); ++i)
        p->pairs += (i ? ", " : "") + src[i].sql_alias + ".rowid";
    p->update = "UPDATE " + t.sql_table + " SET" + sets + " WHERE rowid = ?" +
                std::to_string(p->subtract.size() + 1);
    p->params = b.params();
    return p;
}

}  // namespace

// The report checks of an UPDATE (reports.h): a Null that arithmetic or a plain copy of
// a column in the SET gives where the column holds a value, and, unless each target row
// provably meets at most one pair, a target row that meets several.
static void update_checks(Binder& b, const std::vector<SetItem>& sets, const std::vector<int>& targets,
                          bool one_pair, const std::string& from, const std::string& where,
                          ReportChecks& out) {
    const auto& src = b.sources();
    const std::string cond = where.empty() ? "" : "(" + where + ") AND ";
    for (const auto& x : sets) {
        if (!has_arithmetic(*x.expr) && x.expr->kind != sql::ExprKind::Column) continue;
        out.cases.push_back({reports::Kind::NullOverwrite,
                             {"SELECT 1 FROM " + from + " WHERE " + cond + src[x.source].sql_alias + "." +
                              x.column->sql_name + " IS NOT NULL AND (" + x.value + ") IS NULL LIMIT 1"},
                             src[x.source].table->name});
    }
    // A target row's pairs matter only where its SET reads another table's row, or a
    // column that the SET changes (each pair then writes another value).
    auto reads_changed = [&](const std::string& v, int t) {
        for (const auto& y : sets) {
            if (y.source != t) continue;
            const std::string c = src[t].sql_alias + "." + y.column->sql_name;
            for (size_t at = v.find(c); at != std::string::npos; at = v.find(c, at + 1))
                if (at + c.size() == v.size() || !std::isdigit(static_cast<unsigned char>(v[at + c.size()])))
                    return true;
        }
        return false;
    };
    auto pairs_matter = [&](int t) {
        for (const auto& x : sets)
            if (x.source == t && ((x.uses & ~(uint64_t{1} << t)) != 0 || reads_changed(x.value, t))) return true;
        return false;
    };
    if (src.size() > 1 && !one_pair)
        for (int t : targets) {
            if (src[t].nested || !pairs_matter(t)) continue;
            const std::string r = src[t].sql_alias + ".rowid";
            out.cases.push_back({reports::Kind::MultiPair,
                                 {"SELECT 1 FROM " + from + " WHERE " + cond + r + " IS NOT NULL GROUP BY " + r +
                                  " HAVING count(*) > 1 LIMIT 1"},
                                 src[t].table->name});
        }
    out.table = src[targets.empty() ? 0 : targets[0]].table->name;
    out.params = b.params();
}

// The plan of an UPDATE; counters receives the tables whose counter column it sets,
// checks (when given) the statement's report checks.
static std::shared_ptr<Plan> update_plan(Session& s, const sql::Update& q, std::vector<int64_t>& counters,
                                         ReportChecks* checks) {
    Binder b(s);
    std::string from = b.from_item(*q.target);
    const auto& src = b.sources();

    std::vector<SetItem> sets;
    for (const auto& a : q.assignments) {
        int found = -1;
        const ColumnInfo* col = nullptr;
        for (size_t i = 0; i < src.size(); ++i) {
            if (!a.qualifier.empty() && !text::same_name(src[i].alias, a.qualifier)) continue;
            const ColumnInfo* c = src[i].table->column(a.column);
            if (!c) continue;
            if (col) raise(Fault::AmbiguousField, a.column);
            col = c;
            found = static_cast<int>(i);
        }
        if (!col) raise(Fault::MissingParameter);
        if (col->counter) counters.push_back(src[found].table->id);
        b.used_sources = 0;
        b.storing = true;
        Typed v = b.expr(*a.value);
        sets.push_back({found, col, b.store_sql(v, *src[found].table, *col), b.used_sources, a.value.get()});
        b.storing = false;
    }
    std::string where;
    if (q.where) where = Binder::cond_sql(b.expr(*q.where));

    auto set_clause = [&](int target) {
        std::string out;
        for (const auto& x : sets) {
            if (x.source != target) continue;
            out += (out.empty() ? "" : ", ") + x.column->sql_name + " = " + x.value;
        }
        return out;
    };

    if (src.size() == 1) {
        if (checks) update_checks(b, sets, {0}, true, from, where, *checks);
        auto p = plan_single_update(src[0], sets, set_clause(0), where);
        p->params = b.params();
        return p;
    }

    std::vector<int> targets;
    for (const auto& x : sets)
        if (std::find(targets.begin(), targets.end(), x.source) == targets.end()) targets.push_back(x.source);
    std::sort(targets.begin(), targets.end());

    const bool one_pair = targets.size() == 1 && !b.outer_join && at_most_one_pair(b, targets[0], q.where.get());
    if (checks) update_checks(b, sets, targets, one_pair, from, where, *checks);
    if (one_pair) {
        // Every target row meets at most one pair: one UPDATE ... FROM.
        const int t = targets[0];
        auto p = std::make_shared<StatementPlan>();
        p->sql = "UPDATE " + src[t].sql_table + " AS " + src[t].sql_alias + " SET " + set_clause(t) + " FROM ";
        bool first = true;
        for (size_t i = 0; i < src.size(); ++i) {
            if (static_cast<int>(i) == t) continue;
            p->sql += (first ? "" : ", ") + src[i].sql_table + " AS " + src[i].sql_alias;
            first = false;
        }
        std::string cond;
        for (const auto& on : b.on_sql) cond += (cond.empty() ? "" : " AND ") + on;
        if (!where.empty()) cond += (cond.empty() ? "" : " AND ") + where;
        if (!cond.empty()) p->sql += " WHERE " + cond;
        p->params = b.params();
        return p;
    }

    if (targets.size() == 1) {
        if (auto p = plan_accumulate(b, q, targets[0], from, where)) return p;
        if (auto p = plan_float_accumulate(b, q, targets[0], from, where)) return p;
    }

    // The general plan: the pairs first, then the SET once per pair and target.
    for (const auto& x : src)
        if (x.nested) raise(Fault::Internal, "UPDATE over an outer join of a parenthesised join");
    auto p = std::make_shared<PairUpdatePlan>();
    p->pairs = "SELECT ";
    for (size_t i = 0; i < src.size(); ++i) p->pairs += (i ? ", " : "") + src[i].sql_alias + ".rowid";
    p->width = static_cast<int>(src.size());
    p->pairs += " FROM " + from;
    if (!where.empty()) p->pairs += " WHERE " + where;
    p->pairs += " ORDER BY ";
    for (size_t i = 0; i < src.size(); ++i) p->pairs += (i ? ", " : "") + src[i].sql_alias + ".rowid";

    for (int t : targets) {
        PairUpdatePlan::Target tg;
        tg.column = t;
        uint64_t reads = 0;
        for (const auto& x : sets)
            if (x.source == t) reads |= x.uses;
        // The other rows the SET reads are looked up by rowid, with their values as
        // they are when the pair is applied.
        auto& sources = b.sources();
        for (size_t i = 0; i < sources.size() && i < 64; ++i) {
            if (static_cast<int>(i) == t || !(reads & (uint64_t{1} << i))) continue;
            sources[i].row_param = b.reserve_param();
            tg.reads.emplace_back(static_cast<int>(i), sources[i].row_param);
        }
        std::string assignments;
        bool safe = true;
        for (const auto& x : sets) {
            if (x.source != t) continue;
            b.storing = true;
            std::string v = b.store_sql(b.expr(*x.expr), *sources[t].table, *x.column);
            b.storing = false;
            safe = safe && cannot_fail(v);
            assignments += (assignments.empty() ? "" : ", ") + x.column->sql_name + " = " + v;
        }
        bool self = false;
        for (size_t i = 0; i < sources.size(); ++i)
            self = self || (static_cast<int>(i) != t && sources[i].table == sources[t].table);
        tg.last_only = targets.size() == 1 && safe && !self && !(reads & (uint64_t{1} << t));
        for (auto& source : sources) source.row_param = 0;
        tg.target_param = b.reserve_param();
        tg.sql = "UPDATE " + src[t].sql_table + " AS " + src[t].sql_alias + " SET " + assignments + " WHERE " +
                 src[t].sql_alias + ".rowid = ?" + std::to_string(tg.target_param);
        p->targets.push_back(std::move(tg));
    }
    p->params = b.params();
    return p;
}

std::shared_ptr<Plan> plan_update(Session& s, const sql::Update& q) {
    std::vector<int64_t> counters;
    ReportChecks checks;
    std::shared_ptr<Plan> p = update_plan(s, q, counters, reports::enabled() ? &checks : nullptr);
    p = changing_counters(std::move(p), std::move(counters));
    return with_report_checks(std::move(p), std::move(checks));
}

}  // namespace jet::detail
