// DAO's TableDef and Field: the catalog's tables and columns, renamed and altered
// through the catalog in one atomic change each.
#include <functional>
#include <string>
#include <utility>

#include "dao/dao.h"
#include "dao/internal.h"
#include "jet/database.h"
#include "jet/text.h"

namespace dao {

namespace {

// DAO's Size of a column: characters for Text, bytes for the fixed-size types, 0
// for Memo.
int dao_size(const jet::ColumnInfo& c) {
    switch (c.type) {
        case jet::DataType::Boolean:
        case jet::DataType::Byte:
            return 1;
        case jet::DataType::Integer:
            return 2;
        case jet::DataType::Long:
        case jet::DataType::Single:
            return 4;
        case jet::DataType::Currency:
        case jet::DataType::Double:
        case jet::DataType::Date:
            return 8;
        case jet::DataType::Text:
            return c.size;
        case jet::DataType::Memo:
            return 0;
    }
    return 0;
}

bool is_textual(jet::DataType t) {
    return t == jet::DataType::Text || t == jet::DataType::Memo;
}

using ColumnChange =
    std::function<void(jet::Catalog&, const std::string& table, const std::string& column)>;

// Makes one atomic change of an existing column, naming the table and the column
// as the catalog has them now, so that renames made since a Field was taken are
// followed.
void change_column(const std::shared_ptr<jet::Database>& handle, int64_t table_id,
                   const jet::ColumnInfo& col, const ColumnChange& change) {
    jet::Database& db = detail::live(handle);
    const std::string table = detail::table_by_id(db.catalog(), table_id)->name;
    const std::string column = col.name;
    detail::change_schema(db, [&](jet::Catalog& c) { change(c, table, column); });
}

}  // namespace

// ---------------------------------------------------------------------------------
// TableDef

TableDef::TableDef(std::shared_ptr<jet::Database> db, std::string name, bool system)
    : db_(std::move(db)) {
    const jet::Catalog& catalog = detail::live(db_).catalog();
    const jet::TableInfo* t = system ? nullptr : catalog.table(name);
    if (t) {
        state_ = std::make_shared<detail::TableState>(
            detail::TableState{t->id, t->name, false, std::nullopt});
    } else if (auto sys = detail::system_table(catalog, name)) {
        state_ = std::make_shared<detail::TableState>(
            detail::TableState{0, std::move(*sys), true, std::nullopt});
    } else {
        jet::raise(jet::Fault::ItemNotFound, name);
    }
}

TableDef::TableDef(std::shared_ptr<jet::Database> db, std::shared_ptr<detail::TableState> state)
    : db_(std::move(db)), state_(std::move(state)) {}

const jet::TableInfo& TableDef::table() const {
    const jet::TableInfo* t = detail::table_by_id(detail::live(db_).catalog(), state_->id);
    if (state_->system || !t) jet::raise(jet::Fault::ItemNotFound, state_->name);
    state_->name = t->name;
    return *t;
}

std::string TableDef::Name() const {
    if (!state_->system && db_ && db_->is_open()) {
        if (const jet::TableInfo* t = detail::table_by_id(db_->catalog(), state_->id))
            state_->name = t->name;
    }
    return state_->name;
}

bool TableDef::IsSystem() const {
    return state_->system;
}

void TableDef::SetName(std::string_view new_name) {
    if (state_->system)
        throw jet::Error(jet::hr::Unspecified,
                         "Cannot rename the system table '" + state_->name + "'.");
    const std::string current = table().name;
    if (current == new_name) return;
    jet::Database& db = detail::live(db_);
    // The catalog's own tables share the namespace of user tables.
    if (detail::system_table(db.catalog(), new_name)) jet::raise(jet::Fault::TableExists, new_name);
    detail::change_schema(db, [&](jet::Catalog& c) { c.rename_table(current, new_name); });
    state_->name = std::string(new_name);
}

const std::vector<int64_t>& TableDef::field_ids() const {
    if (!state_->fields) {
        std::vector<int64_t> ids;
        if (!state_->system)
            for (const jet::ColumnInfo& c : table().columns) ids.push_back(c.id);
        state_->fields = std::move(ids);
    }
    return *state_->fields;
}

int TableDef::FieldCount() const {
    return static_cast<int>(field_ids().size());
}

Field TableDef::Fields(int index) const {
    const auto& ids = field_ids();
    if (index < 0 || index >= static_cast<int>(ids.size()))
        jet::raise(jet::Fault::ItemNotFound, std::to_string(index));
    const jet::TableInfo& t = table();
    const int64_t id = ids[static_cast<size_t>(index)];
    const jet::ColumnInfo* c = t.column_by_id(id);
    return Field(db_, t.id, id, t.name, c ? c->name : std::to_string(index));
}

Field TableDef::Fields(std::string_view name) const {
    const jet::TableInfo& t = table();
    const jet::ColumnInfo* c = t.column(name);
    if (!c) jet::raise(jet::Fault::ItemNotFound, name);
    return Field(db_, t.id, c->id, t.name, c->name);
}

std::vector<Index> TableDef::Indexes() const {
    std::vector<Index> out;
    if (state_->system) return out;
    const jet::TableInfo& t = table();
    for (const jet::IndexInfo& ix : t.indexes) {
        Index index{ix.name, ix.primary, ix.unique || ix.primary, ix.ignore_nulls, {}};
        for (const jet::IndexColumnInfo& ic : ix.columns) {
            const jet::ColumnInfo* c = t.column_by_id(ic.column_id);
            index.Fields.push_back(c ? c->name : std::string());
        }
        out.push_back(std::move(index));
    }
    return out;
}

// ---------------------------------------------------------------------------------
// Field

Field::Field(std::shared_ptr<jet::Database> db, std::string table, std::string name)
    : db_(std::move(db)), table_(std::move(table)), name_(std::move(name)) {
    const jet::TableInfo* t = detail::live(db_).catalog().table(table_);
    if (!t) jet::raise(jet::Fault::ItemNotFound, table_);
    const jet::ColumnInfo* c = t->column(name_);
    if (!c) jet::raise(jet::Fault::ItemNotFound, name_);
    table_id_ = t->id;
    column_id_ = c->id;
    table_ = t->name;
    name_ = c->name;
}

Field::Field(std::shared_ptr<jet::Database> db, int64_t table_id, int64_t column_id,
             std::string table, std::string name)
    : db_(std::move(db)),
      table_id_(table_id),
      column_id_(column_id),
      table_(std::move(table)),
      name_(std::move(name)) {}

const jet::ColumnInfo& Field::column() const {
    const jet::TableInfo* t = detail::table_by_id(detail::live(db_).catalog(), table_id_);
    if (!t) jet::raise(jet::Fault::ItemNotFound, table_);
    const jet::ColumnInfo* c = t->column_by_id(column_id_);
    if (!c) jet::raise(jet::Fault::ItemNotFound, name_);
    return *c;
}

std::string Field::Name() const {
    return column().name;
}

void Field::SetName(std::string_view new_name) {
    if (Name() == new_name) return;
    change_column(db_, table_id_, column(), [&](jet::Catalog& c, auto& table, auto& column) {
        c.rename_column(table, column, new_name);
    });
    name_ = std::string(new_name);
}

int Field::Type() const {
    return static_cast<int>(column().type);
}

int Field::Size() const {
    return dao_size(column());
}

std::string Field::DefaultValue() const {
    return column().default_text;
}

void Field::SetDefaultValue(std::string_view v) {
    change_column(db_, table_id_, column(), [&](jet::Catalog& c, auto& table, auto& column) {
        c.set_default(table, column, v);
    });
}

bool Field::AllowZeroLength() const {
    const jet::ColumnInfo& c = column();
    return is_textual(c.type) && c.allow_zero_length;
}

// Only text and memo columns hold zero-length texts; DAO refuses the property on
// any other column.
void Field::SetAllowZeroLength(bool allow) {
    const jet::ColumnInfo& col = column();
    if (!is_textual(col.type)) throw jet::Error(jet::hr::Unspecified, "Invalid operation.");
    change_column(db_, table_id_, col, [&](jet::Catalog& c, auto& table, auto& column) {
        c.set_allow_zero_length(table, column, allow);
    });
}

int32_t Field::Attributes() const {
    return column().counter ? dbAutoIncrField : 0;
}

}  // namespace dao
