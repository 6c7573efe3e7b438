// Name resolution: the tables of a statement's FROM clause and their emitted form.
#include <filesystem>

#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

bool is_text(DataType t) { return t == DataType::Text || t == DataType::Memo; }

std::string quote(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '\'';
    for (char c : s) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

bool same_file(const std::string& database, const std::string& open_path) {
    std::error_code ec1, ec2;
    auto a = std::filesystem::weakly_canonical(database, ec1);
    auto b = std::filesystem::weakly_canonical(open_path, ec2);
    if (ec1 || ec2) return database == open_path;
    return a == b;
}

const TableInfo& Binder::table(std::string_view database, std::string_view name, uint32_t) {
    if (!database.empty() && !same_file(std::string(database), session_.path())) {
        // A table of another file mixed with tables of this one (statements wholly
        // about another file run there, see engine.cpp).
        raise(Fault::NoSuchTable, std::string(database) + "." + std::string(name));
    }
    const TableInfo* t = catalog_.table(name);
    if (!t) raise(Fault::NoSuchTable, name);
    return *t;
}

int Binder::add_source(const TableInfo& t, std::string_view alias) {
    Source s;
    s.table = &t;
    s.alias = alias.empty() ? t.name : std::string(alias);
    s.sql_alias = "s" + std::to_string(sources_.size());
    s.sql_table = t.sql_name;
    sources_.push_back(std::move(s));
    return static_cast<int>(sources_.size()) - 1;
}

namespace {

bool all_inner(const sql::TableRef& r) {
    return r.kind == sql::TableRef::Kind::Table ||
           (r.join == sql::JoinType::Inner && all_inner(*r.left) && all_inner(*r.right));
}

}  // namespace

std::string Binder::join_condition(const sql::TableRef& ref) {
    std::string on = ref.on ? cond_sql(expr(*ref.on)) : "1";
    on_sql.push_back(on);
    if (ref.on) on_exprs.push_back(ref.on.get());
    return on;
}

void Binder::inner_chain(const sql::TableRef& ref, std::vector<std::pair<std::string, std::string>>& items) {
    if (ref.kind == sql::TableRef::Kind::Table) {
        const TableInfo& t = table(ref.database, ref.name, ref.pos);
        const Source& s = sources_[add_source(t, ref.alias)];
        items.emplace_back(s.sql_table + " AS " + s.sql_alias, "1");
        return;
    }
    inner_chain(*ref.left, items);
    inner_chain(*ref.right, items);
    // Every table of the join is in the chain by now: its condition goes on the last.
    std::string on = join_condition(ref);
    std::string& last = items.back().second;
    last = last == "1" ? on : last + " AND " + on;
}

std::string Binder::from_item(const sql::TableRef& ref) {
    if (ref.kind == sql::TableRef::Kind::Table || all_inner(ref)) {
        // Inner joins, however nested, become one chain: SQLite keeps every table's
        // rowid in reach only outside parenthesised joins.
        std::vector<std::pair<std::string, std::string>> items;
        inner_chain(ref, items);
        std::string out = items[0].first;
        for (size_t i = 1; i < items.size(); ++i) out += " INNER JOIN " + items[i].first + " ON " + items[i].second;
        return out;
    }
    if (ref.join == sql::JoinType::Inner && ref.right->kind == sql::TableRef::Kind::Join && all_inner(*ref.left)) {
        // A inner join (outer join tree): the inner join commutes, so the outer join
        // tree goes first, unparenthesised, and A's tables are chained after it.
        std::string out = from_item(*ref.right);
        std::vector<std::pair<std::string, std::string>> items;
        inner_chain(*ref.left, items);
        std::string on = join_condition(ref);
        items.back().second = items.back().second == "1" ? on : items.back().second + " AND " + on;
        for (const auto& [t, c] : items) out += " INNER JOIN " + t + " ON " + c;
        return out;
    }
    // A RIGHT join is the LEFT join of its operands swapped; the preserved side's
    // tables come first in the scope, so that row order follows them.
    const bool right = ref.join == sql::JoinType::Right;
    const sql::TableRef& first = right ? *ref.right : *ref.left;
    const sql::TableRef& second = right ? *ref.left : *ref.right;
    std::string a = from_item(first);
    const size_t nested_from = sources_.size();
    std::string b = from_item(second);
    if (second.kind == sql::TableRef::Kind::Join) {
        b = "(" + b + ")";
        for (size_t i = nested_from; i < sources_.size(); ++i) sources_[i].nested = true;
    }
    if (ref.join != sql::JoinType::Inner) outer_join = true;
    return a + (ref.join == sql::JoinType::Inner ? " INNER JOIN " : " LEFT JOIN ") + b + " ON " +
           join_condition(ref);
}

std::string Binder::from_list(const std::vector<sql::TableRefPtr>& from) {
    std::string out;
    for (size_t i = 0; i < from.size(); ++i) {
        const size_t nested_from = sources_.size();
        std::string item = from_item(*from[i]);
        if (i > 0) {
            out += ", ";
            if (from[i]->kind == sql::TableRef::Kind::Join && !all_inner(*from[i])) {
                item = "(" + item + ")";
                for (size_t k = nested_from; k < sources_.size(); ++k) sources_[k].nested = true;
            }
        }
        out += item;
    }
    return out;
}

}  // namespace jet::detail
