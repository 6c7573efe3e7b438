#include "jet/ddl.h"

#include <type_traits>

#include "jet/session.h"
#include "jet/text.h"

namespace jet {

namespace {

// The default a column keeps: the text of its last DEFAULT clause; "DEFAULT null"
// means no default.
std::string default_of(const sql::ColumnDef& def) {
    if (!def.default_value || def.default_value->kind == sql::ExprKind::Null) return {};
    return def.default_text;
}

ColumnSpec column_spec(const sql::ColumnDef& def) {
    ColumnSpec c;
    c.name = def.name;
    c.type = def.type.type;
    c.size = def.type.size;
    c.counter = def.type.counter;
    c.required = def.not_null.value_or(false);
    c.default_text = default_of(def);
    return c;
}

// The indexes a column definition asks for with PRIMARY KEY or UNIQUE written after
// its type.
void inline_indexes(Catalog& cat, const std::string& table, const sql::ColumnDef& def) {
    if (def.primary_key) {
        IndexSpec ix;
        ix.name = "PrimaryKey";
        ix.columns.emplace_back(def.name, false);
        ix.primary = true;
        cat.create_index(table, ix);
    }
    if (def.unique) {
        IndexSpec ix;
        ix.name = "Index_" + def.name;
        ix.columns.emplace_back(def.name, false);
        ix.unique = true;
        cat.create_index(table, ix);
    }
}

// CONSTRAINT name PRIMARY KEY | UNIQUE (an index of the table) or FOREIGN KEY (a
// relation in which the table is the foreign side).
void add_constraint(Catalog& cat, const std::string& table, const sql::ConstraintDef& con) {
    using K = sql::ConstraintDef::Kind;
    if (con.kind == K::ForeignKey) {
        RelationInfo r;
        r.name = con.name.empty() ? "Relation_" + table + "_" + con.ref_table : con.name;
        r.table = con.ref_table;
        r.columns = con.ref_columns;
        r.foreign_table = table;
        r.foreign_columns = con.columns;
        cat.add_relation(r);
        return;
    }
    IndexSpec ix;
    ix.primary = con.kind == K::PrimaryKey;
    ix.unique = true;
    ix.name = !con.name.empty() ? con.name : ix.primary ? "PrimaryKey" : "Index_" + table;
    for (const auto& c : con.columns) ix.columns.emplace_back(c, false);
    cat.create_index(table, ix);
}

void drop_constraint(Catalog& cat, const std::string& table, const std::string& name) {
    const TableInfo* t = cat.table(table);
    if (!t) raise(Fault::NoSuchTable, table);
    if (t->index(name)) return cat.drop_index(table, name);
    for (const auto& r : cat.relations())
        if (text::same_name(r.name, name) &&
            (text::same_name(r.foreign_table, t->name) || text::same_name(r.table, t->name)))
            return cat.drop_relation(r.name);
    raise(Fault::NoSuchIndex, name, t->name);
}

void run(Catalog& cat, const sql::CreateTable& s) {
    std::vector<ColumnSpec> cols;
    cols.reserve(s.columns.size());
    for (const auto& def : s.columns) cols.push_back(column_spec(def));
    const std::string name = cat.create_table(s.table, cols).name;
    for (const auto& def : s.columns) inline_indexes(cat, name, def);
    for (const auto& con : s.constraints) add_constraint(cat, name, con);
}

void run(Catalog& cat, const sql::AlterTable& s) {
    const TableInfo* t = cat.table(s.table);
    if (!t) raise(Fault::NoSuchTable, s.table);
    const std::string table = t->name;
    using A = sql::AlterTable::Action;
    switch (s.action) {
        case A::AddColumns:
            for (const auto& def : s.columns) {
                cat.add_column(table, column_spec(def));
                inline_indexes(cat, table, def);
            }
            break;
        case A::DropColumn:
            cat.drop_column(table, s.column);
            break;
        case A::AlterColumn: {
            if (s.columns.empty()) raise(Fault::SyntaxError, "ALTER TABLE statement");
            const auto& def = s.columns.front();
            const ColumnInfo* c = t->column(def.name);
            if (!c) raise(Fault::NoSuchField, def.name, table);
            const std::string column = c->name;
            cat.alter_column(table, column, def.type.counter ? DataType::Long : def.type.type,
                             def.type.size);
            if (def.not_null) cat.set_required(table, column, *def.not_null);
            if (def.default_value) cat.set_default(table, column, default_of(def));
            break;
        }
        case A::AddConstraint:
            add_constraint(cat, table, s.constraint);
            break;
        case A::DropConstraint:
            drop_constraint(cat, table, s.constraint_name);
            break;
    }
}

void run(Catalog& cat, const sql::CreateIndex& s) {
    IndexSpec ix;
    ix.name = s.name;
    for (const auto& c : s.columns) ix.columns.emplace_back(c.name, c.descending);
    ix.unique = s.unique;
    ix.primary = s.option == sql::IndexOption::Primary;
    ix.required = s.option == sql::IndexOption::DisallowNull;
    ix.ignore_nulls = s.option == sql::IndexOption::IgnoreNull;
    cat.create_index(s.table, ix);
}

void run(Catalog& cat, const sql::DropIndex& s) {
    cat.drop_index(s.table, s.name);
}
void run(Catalog& cat, const sql::DropTable& s) {
    cat.drop_table(s.table);
}

}  // namespace

void execute_ddl(Session& session, const sql::Statement& statement) {
    session.atomic([&] {
        std::visit(
            [&](const auto& s) {
                using S = std::decay_t<decltype(s)>;
                if constexpr (std::is_same_v<S, sql::CreateTable> ||
                              std::is_same_v<S, sql::AlterTable> ||
                              std::is_same_v<S, sql::CreateIndex> ||
                              std::is_same_v<S, sql::DropIndex> ||
                              std::is_same_v<S, sql::DropTable>) {
                    // A drop of a table or an index, and a change of a table (which may
                    // drop an index or rebuild the table), meet a table that an open
                    // statement of the process reads: that table cannot be locked, and
                    // the statement names it, which SQLite cannot. Creations never meet
                    // one, so for them it stays a failure that no executor absorbs.
                    constexpr bool drops = std::is_same_v<S, sql::DropTable> ||
                                           std::is_same_v<S, sql::DropIndex> ||
                                           std::is_same_v<S, sql::AlterTable>;
                    try {
                        run(session.catalog(), s);
                    } catch (const Error& e) {
                        if (drops && e.fault() == Fault::TableInUse)
                            raise(Fault::TableLocked, s.table);
                        throw;
                    }
                } else {
                    raise(Fault::Internal, "not a data definition statement");
                }
            },
            statement);
    });
}

}  // namespace jet
