// SELECT: the select list (stars expanded, Jet's column names), WHERE, GROUP BY,
// HAVING, ORDER BY with Polish order and row-order tie-breakers, DISTINCT,
// DISTINCTROW and TOP; the query plan and the SELECT ... INTO plan.
#include <cctype>
#include <unordered_map>

#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

namespace {

struct Item {
    Typed value;
    std::string name;
    bool named_by_alias = false;
};

ColumnMeta meta_of(const Item& it, const std::vector<Source>& sources) {
    ColumnMeta m;
    m.name = it.name;
    m.type = it.value.known ? it.value.type : DataType::Text;
    if (it.value.cond) m.type = DataType::Boolean;
    if (it.value.column && !it.value.cond) {
        const ColumnInfo& c = *it.value.column;
        const Source& s = sources[it.value.source];
        m.size = c.size;
        m.counter = c.counter;
        m.base_table = s.table->name;
        m.base_column = c.name;
        m.table_alias = s.alias;
    } else if (m.type == DataType::Text) {
        m.size = kMaxTextSize;
    }
    return m;
}

std::string rowid_order(const std::vector<Source>& sources, uint64_t mask = ~uint64_t{0}) {
    std::string out;
    for (size_t i = 0; i < sources.size(); ++i) {
        if ((i < 64 && !(mask & (uint64_t{1} << i))) || sources[i].nested) continue;
        if (!out.empty()) out += ", ";
        out += sources[i].sql_alias + ".rowid";
    }
    return out;
}

}  // namespace

SelectSql emit_select(Binder& b, const sql::Select& s, std::vector<Typed>* items_out) {
    // Of a query whose rows are stored (b.storing) only the select list is stored: FROM
    // and its joins' ON are criteria, which a value that cannot be computed fails.
    const bool storing = b.storing;
    b.storing = false;
    std::string from = s.from.empty() ? "" : b.from_list(s.from);
    b.storing = storing;
    const auto& sources = b.sources();

    // The select list.
    std::vector<Item> items;
    uint64_t covered = 0;
    b.allow_aggregates = true;
    b.allow_aliases = true;
    for (const auto& si : s.items) {
        const sql::Expr& e = *si.expr;
        if (e.kind == sql::ExprKind::Star) {
            bool any = false;
            for (size_t i = 0; i < sources.size(); ++i) {
                if (!e.qualifier.empty() && !text::same_name(sources[i].alias, e.qualifier)) continue;
                any = true;
                if (i < 64) covered |= uint64_t{1} << i;
                for (const auto& c : sources[i].table->columns) {
                    Item it;
                    it.value.sql = sources[i].sql_alias + "." + c.sql_name;
                    it.value.type = c.type;
                    it.value.known = true;
                    it.value.column = &c;
                    it.value.source = static_cast<int>(i);
                    it.name = c.name;
                    items.push_back(std::move(it));
                }
            }
            if (!any) raise(Fault::MissingParameter);
            continue;
        }
        b.used_sources = 0;
        Item it;
        it.value = b.expr(e);
        if (b.storing) it.value = Binder::caught(it.value);  // a stored value (INSERT ... SELECT)
        covered |= b.used_sources;
        if (!si.alias.empty()) {
            it.name = si.alias;
            it.named_by_alias = true;
            b.aliases.push_back({si.alias, &e});
        } else if (!it.value.name.empty()) {
            it.name = it.value.name;
        } else {
            it.name = "Expr" + std::to_string(b.expr_counter++);
        }
        items.push_back(std::move(it));
    }
    // Two plain columns of the same name are told apart by their table.
    // (Counted on the names as given, before any is qualified.)
    std::unordered_map<std::string, int> named;  // folded name -> items so named
    for (const auto& it : items) ++named[text::fold(it.name)];
    for (auto& it : items)
        if (!it.named_by_alias && it.value.column && named[text::fold(it.value.column->name)] > 1)
            it.name = sources[it.value.source].alias + "." + it.value.column->name;

    // WHERE, GROUP BY, HAVING.
    b.allow_aggregates = false;
    b.storing = false;  // the select list only
    b.allow_aliases = false;
    std::string where;
    if (s.where) where = Binder::cond_sql(b.expr(*s.where));
    std::string group;
    for (const auto& g : s.group_by) {
        Typed t = b.expr(*g);
        if (!group.empty()) group += ", ";
        // A constant groups every row together; spelled as a number SQLite would
        // read it as a column position.
        group += t.constant ? b.param(*t.constant) : b.text_value(t);
        if (t.known && is_text(t.type)) group += " COLLATE JET";
    }
    b.allow_aggregates = true;
    std::string having;
    if (s.having) having = Binder::cond_sql(b.expr(*s.having));
    bool aggregated = !s.group_by.empty() || s.having;
    for (const auto& it : items) aggregated = aggregated || it.value.aggregate;

    const bool distinct = s.quantifier == sql::Quantifier::Distinct;
    // DISTINCTROW: one row per combination of the rows of the tables whose fields are
    // selected; no effect when every table read is selected from.
    uint64_t all = sources.size() >= 64 ? ~uint64_t{0} : (uint64_t{1} << sources.size()) - 1;
    const bool distinct_rows = s.quantifier == sql::Quantifier::DistinctRow && !aggregated &&
                               !sources.empty() && (covered & all) != all;
    if (distinct_rows) group = rowid_order(sources, covered);

    // ORDER BY, then the tables' row order to keep ties (and unsorted rows) in it.
    b.allow_aliases = true;
    std::string order;
    for (const auto& o : s.order_by) {
        Typed t = b.expr(*o.expr);
        if (t.constant) continue;  // sorting by a constant changes nothing (not a position)
        if (!order.empty()) order += ", ";
        order += b.text_value(t);
        if (t.known && is_text(t.type)) order += " COLLATE JET";
        if (o.descending) order += " DESC";
    }
    b.allow_aliases = false;
    b.allow_aggregates = false;
    const std::string user_order = order;
    if (!aggregated && !distinct && !sources.empty()) {
        std::string rows = rowid_order(sources, distinct_rows ? covered : ~uint64_t{0});
        if (!rows.empty()) order += order.empty() ? rows : ", " + rows;
    }

    if (b.first_last) {
        // First and Last take the rows in the tables' order: no index may reorder them.
        for (const auto& src : sources) {
            const std::string item = src.sql_table + " AS " + src.sql_alias;
            for (size_t at = from.find(item); at != std::string::npos; at = from.find(item, at + 1)) {
                const size_t end = at + item.size();
                if (end < from.size() && std::isdigit(static_cast<unsigned char>(from[end]))) continue;
                from.insert(end, " NOT INDEXED");
                break;
            }
        }
    }

    SelectSql out;
    // Row ids of the tables whose rows make the result rows (under DISTINCTROW, of
    // the tables selected from).
    const uint64_t rowid_mask = distinct_rows ? covered : ~uint64_t{0};
    auto has_rowid = [&](size_t i) { return i >= 64 || (rowid_mask & (uint64_t{1} << i)); };
    auto assemble = [&](bool with_rowids) {
        std::string list, names;
        for (size_t i = 0; i < items.size(); ++i) {
            // A stored item comes with its type where that differs row by row; an item
            // read is read as its type says (a dated text as texts).
            const Typed& v = items[i].value;
            list += (i ? ", " : "") + (items_out ? Binder::typed_value(v) : b.text_value(v));
            if (distinct && items[i].value.known && is_text(items[i].value.type)) list += " COLLATE JET";
            list += " AS v" + std::to_string(i);
            names += (i ? ", v" : "v") + std::to_string(i);
            // For a statement that stores the items: the type of a value whose type
            // differs row by row (query_output).
            if (items_out && !items[i].value.type_sql.empty()) {
                list += ", " + items[i].value.type_sql + " AS t" + std::to_string(i);
                names += ", t" + std::to_string(i);
            }
        }
        if (with_rowids)
            for (size_t i = 0; i < sources.size(); ++i) {
                if (!has_rowid(i)) continue;
                list += ", " + sources[i].sql_alias + ".rowid AS r" + std::to_string(i);
                names += ", r" + std::to_string(i);
            }
        std::string body;  // FROM ... HAVING
        if (!from.empty()) body += " FROM " + from;
        if (!where.empty()) body += " WHERE " + where;
        if (!group.empty()) body += " GROUP BY " + group;
        if (!having.empty()) body += " HAVING " + having;
        const std::string select = distinct ? "SELECT DISTINCT " : "SELECT ";
        if (!s.top) return select + list + body + (order.empty() ? "" : " ORDER BY " + order);
        const std::string n = std::to_string(*s.top);
        if (s.top_percent) {
            // TOP n PERCENT: the share of the rows, rounded up.
            return select + list + body + (order.empty() ? "" : " ORDER BY " + order) +
                   " LIMIT (SELECT (count(*) * " + n + " + 99) / 100 FROM (SELECT 1" + body + "))";
        }
        if (!user_order.empty() && !distinct) {
            // TOP n under ORDER BY does not choose between equal values: the rows that
            // tie with the n-th are returned too.
            return "SELECT " + names + " FROM (" + select + list + ", rank() OVER (ORDER BY " + user_order +
                   ") AS jet_k, row_number() OVER (ORDER BY " + order + ") AS jet_o" + body +
                   ") WHERE jet_k <= " + n + " ORDER BY jet_o";
        }
        return select + list + body + (order.empty() ? "" : " ORDER BY " + order) + " LIMIT " + n;
    };
    out.sql = assemble(false);
    for (const auto& it : items) {
        out.columns.push_back(meta_of(it, sources));
        out.counter.push_back(it.value.column && it.value.column->counter && !it.value.cond);
    }
    bool reachable = true;
    for (const auto& src : sources) reachable = reachable && !src.nested;
    if (!aggregated && !distinct && reachable) {
        out.sql_with_rowids = assemble(true);
        for (size_t i = 0; i < sources.size(); ++i) {
            if (!has_rowid(i)) continue;
            ColumnMeta m;
            m.name = "rowid";
            m.type = DataType::Long;
            m.base_table = sources[i].table->name;
            m.table_alias = sources[i].alias;
            m.row_id = true;
            out.rowid_columns.push_back(std::move(m));
            out.rowid_sources.push_back(static_cast<int>(i));
        }
    }
    if (items_out)
        for (auto& it : items) items_out->push_back(std::move(it.value));
    return out;
}

Typed query_output(const Typed& item, size_t i) {
    Typed v = item;
    v.sql = "q.v" + std::to_string(i);
    v.typed_sql.clear();  // q.v<i> is the typed value when there is a type
    v.constant.reset();
    v.offset_of.clear();
    if (!v.type_sql.empty()) v.type_sql = "q.t" + std::to_string(i);
    if (v.cond) {
        v.cond = false;
        v.type = DataType::Boolean;
        v.column = nullptr;
    }
    return v;
}

// ---------------------------------------------------------------- plans

namespace {

struct QueryPlan : Plan, std::enable_shared_from_this<QueryPlan> {
    SelectSql q;
    std::vector<Value> params;
    std::vector<ColumnMeta> with_rowids;

    int64_t execute(Session& s) override {
        run_query(s, q.sql, params);
        return 0;
    }
    std::unique_ptr<Cursor> open(std::shared_ptr<Session> s, bool row_ids) override {
        auto self = shared_from_this();
        if (row_ids && !q.sql_with_rowids.empty())
            return open_cursor(std::move(s), self, q.sql_with_rowids, params, with_rowids);
        return open_cursor(std::move(s), self, q.sql, params, q.columns);
    }
};

struct SelectIntoPlan : Plan {
    std::string target;
    std::vector<ColumnSpec> specs;
    std::string values;  // the stored values over the query's columns q.v0 ...
    std::string select;
    std::vector<Value> params;

    int64_t execute(Session& s) override {
        Catalog& cat = s.catalog();
        if (cat.table(target)) raise(Fault::TableExists, target);
        const TableInfo& t = cat.create_table(target, specs);
        std::string sql = "INSERT INTO " + t.sql_name + " (";
        for (size_t i = 0; i < t.columns.size(); ++i) sql += (i ? ", " : "") + t.columns[i].sql_name;
        sql += ") SELECT " + values + " FROM (" + select + ") AS q";
        sqlite3_stmt* st = s.prepare(sql);
        bind_params(st, params);
        return run_to_end(s, st);
    }
};

}  // namespace

std::unique_ptr<Cursor> Plan::open(std::shared_ptr<Session>, bool) {
    raise(Fault::NotUpdatable, "statement returns no rows");
}

std::optional<QueryText> query_text(const Plan& p) {
    const auto* q = dynamic_cast<const QueryPlan*>(&p);
    if (!q) return std::nullopt;
    return QueryText{q->q.sql, q->params};
}

std::shared_ptr<Plan> plan_query(Session& s, const sql::Select& q) {
    Binder b(s);
    auto p = std::make_shared<QueryPlan>();
    p->q = emit_select(b, q);
    p->params = b.params();
    p->with_rowids = p->q.columns;
    p->with_rowids.insert(p->with_rowids.end(), p->q.rowid_columns.begin(), p->q.rowid_columns.end());
    return p;
}

std::shared_ptr<Plan> plan_select(Session& s, const sql::Select& q) {
    if (q.into.empty()) return plan_query(s, q);
    Binder b(s);
    std::vector<Typed> items;
    b.storing = true;  // the select list is stored, as by INSERT ... SELECT
    SelectSql sel = emit_select(b, q, &items);
    b.storing = true;
    if (!q.into_database.empty() && !same_file(q.into_database, s.path())) raise(Fault::NoSuchTable, q.into_database + "." + q.into);
    // SELECT ... INTO: the new table takes the selected columns' names, types, sizes and
    // order; a counter stays a counter; no index and no default are copied.
    auto p = std::make_shared<SelectIntoPlan>();
    p->target = q.into;
    TableInfo shape;
    shape.name = q.into;
    for (size_t i = 0; i < sel.columns.size(); ++i) {
        const ColumnMeta& m = sel.columns[i];
        ColumnSpec c;
        c.name = m.name;
        c.type = m.type;
        c.size = is_text(m.type) && m.type == DataType::Text ? (m.size > 0 ? m.size : kMaxTextSize) : m.size;
        c.counter = sel.counter[i];
        p->specs.push_back(c);
        ColumnInfo ci;
        ci.name = c.name;
        ci.type = c.type;
        ci.size = c.size;
        if (i) p->values += ", ";
        p->values += b.store_sql(query_output(items[i], i), shape, ci);
    }
    b.storing = false;
    p->select = std::move(sel.sql);
    p->params = b.params();
    return p;
}

}  // namespace jet::detail
