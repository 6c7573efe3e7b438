// Row-level access for recordsets: the rows of a query together with the engine's
// row id of each base row they were made from, and reads and writes of single base
// rows by that id. Writes follow the rules of the engine's INSERT, UPDATE and
// DELETE (conversion, length, keys, defaults, counters) and are atomic.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jet/database.h"

namespace jet {

// One table occurrence of a query's FROM clause whose rows make the result rows.
struct RowSource {
    std::string table;  // Jet table name
    std::string alias;  // the alias or table name the query reads it under
};

// The rows of a SELECT and, for each row source, the row id of the base row each
// result row was made from (0 where it has none: the missing side of an outer join).
class KeyedCursor : public Cursor {
public:
    virtual const std::vector<RowSource>& sources() const = 0;
    virtual int64_t rowid(int source) const = 0;
};

// Runs a SELECT. A query whose rows are not each made of one row per table read
// (DISTINCT, GROUP BY, aggregates) has no row sources; so has a source read under a
// derived table.
std::unique_ptr<KeyedCursor> query_keyed(Database& db, std::string_view sql);

using ColumnValues = std::vector<std::pair<std::string, Value>>;  // Jet column name, value

// The current values of the named columns of one row; nullopt when the row is gone.
std::optional<std::vector<Value>> read_row(Database& db, std::string_view table, int64_t rowid,
                                           const std::vector<std::string>& columns);

// Stores values into one row as UPDATE does. Raises the engine's failure (TooLong,
// TypeMismatch, Duplicate, NullInKey, RequiredNull, ZeroLength, ...).
void update_row(Database& db, std::string_view table, int64_t rowid, const ColumnValues& values);

// Inserts one row as INSERT does (omitted columns take their defaults, the counter
// is numbered by the engine); returns the new row's id.
int64_t insert_row(Database& db, std::string_view table, const ColumnValues& values);

void delete_row(Database& db, std::string_view table, int64_t rowid);

// Runs fn as one atomic change: what it wrote is undone when it raises.
void atomically(Database& db, const std::function<void()>& fn);

}  // namespace jet
