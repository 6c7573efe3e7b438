// Name resolution: the tables of a statement's FROM clause and their emitted form.
#include <filesystem>

#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

bool is_text(DataType t) { return t == DataType::Text || t == DataType::Memo; }

bool is_numeric(DataType t) { return !is_text(t); }

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

std::string Binder::from_item(const sql::TableRef& ref) {
    if (ref.kind == sql::TableRef::Kind::Table) {
        const TableInfo& t = table(ref.database, ref.name, ref.pos);
        const Source& s = sources_[add_source(t, ref.alias)];
        return s.sql_table + " AS " + s.sql_alias;
    }
    // A RIGHT join is the LEFT join of its operands swapped; the preserved side's
    // tables come first in the scope, so that row order follows them.
    const bool right = ref.join == sql::JoinType::Right;
    const sql::TableRef& first = right ? *ref.right : *ref.left;
    const sql::TableRef& second = right ? *ref.left : *ref.right;
    std::string a = from_item(first);
    std::string b = from_item(second);
    if (second.kind == sql::TableRef::Kind::Join) b = "(" + b + ")";
    std::string out = std::move(a);
    out += ref.join == sql::JoinType::Inner ? " INNER JOIN " : " LEFT JOIN ";
    out += b;
    out += " ON ";
    if (ref.join != sql::JoinType::Inner) outer_join = true;
    std::string on = ref.on ? cond_sql(expr(*ref.on)) : "1";
    out += on;
    on_sql.push_back(std::move(on));
    if (ref.on) on_exprs.push_back(ref.on.get());
    return out;
}

std::string Binder::from_list(const std::vector<sql::TableRefPtr>& from) {
    std::string out;
    for (size_t i = 0; i < from.size(); ++i) {
        std::string item = from_item(*from[i]);
        if (i > 0) {
            out += ", ";
            if (from[i]->kind == sql::TableRef::Kind::Join) item = "(" + item + ")";
        }
        out += item;
    }
    return out;
}

}  // namespace jet::detail
