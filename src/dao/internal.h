// What the DAO objects share among themselves; not part of the program's interface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet {
class Catalog;
class Database;
struct TableInfo;
}  // namespace jet

namespace dao::detail {

// One table definition object, shared by the copies of a TableDef. A user table is
// held by its catalog id, so that renames made anywhere are followed; a system
// table (id 0) by its name.
struct TableState {
    int64_t id = 0;
    std::string name;  // as last known
    bool system = false;
    std::optional<std::vector<int64_t>> fields;  // column ids, taken on first use
};

// The engine handle of a DAO object, when its database is still open; raises
// "Object invalid or no longer set." after Close.
jet::Database& live(const std::shared_ptr<jet::Database>& db);

// The user table with that catalog id, or nullptr when it no longer exists.
const jet::TableInfo* table_by_id(const jet::Catalog& catalog, int64_t id);

// The catalog's own table of that name (without regard to case), as listings name it.
std::optional<std::string> system_table(const jet::Catalog& catalog, std::string_view name);

// Runs a schema change as one atomic statement of the file's session: either all
// of it is made or, when it raises, none.
void change_schema(jet::Database& db, const std::function<void(jet::Catalog&)>& change);

// The database password DAO opens and creates files with.
const std::string& default_password();

}  // namespace dao::detail
