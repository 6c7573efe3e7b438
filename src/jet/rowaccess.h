// Row-level access for recordsets: reads and writes of single base rows by the
// engine's row id (which Database::query gives with QueryOptions::row_ids). Writes
// follow the rules of the engine's INSERT, UPDATE and DELETE (conversion, length,
// keys, defaults, counters).
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

using ColumnValues = std::vector<std::pair<std::string, Value>>;  // Jet column name, value

// The current values of the named columns of one row; nullopt when the row is gone.
std::optional<std::vector<Value>> read_row(Database& db, std::string_view table, int64_t rowid,
                                           const std::vector<std::string>& columns);

// Stores values into one row as UPDATE does. Raises the engine's failure (TooLong,
// TypeMismatch, Duplicate, NullInKey, RequiredNull, ZeroLength, ...).
void update_row(Database& db, std::string_view table, int64_t rowid, const ColumnValues& values);

// The engine's report of a recordset's row write that puts Null over a value
// (reports.h), to be called, while reports are on, before update_row writes values: the
// columns that it empties are read as they stand. A read that fails reports nothing (the
// write meets the failure itself).
void report_null_overwrite(Database& db, std::string_view table, int64_t rowid,
                           const ColumnValues& values);

// Inserts one row as INSERT does (omitted columns take their defaults, the counter
// is numbered by the engine); returns the new row's id.
int64_t insert_row(Database& db, std::string_view table, const ColumnValues& values);

void delete_row(Database& db, std::string_view table, int64_t rowid);

// Runs fn as one atomic change: what it wrote is undone when it raises.
void atomically(Database& db, const std::function<void()>& fn);

// Reading a query's rows later than it was opened, for recordsets that may never
// read them (opened only to add a row).
//
// True when the query's rows read later are its rows of now, as long as nothing is
// written meanwhile but rows added to its table (told apart by their row ids): a
// query of one table of the open file, without TOP, DISTINCT or grouping, that calls
// none of the engine's functions that may raise (so that reading it later raises
// nothing that reading it now would not).
bool rows_can_wait(Database& db, std::string_view sql);
// The number of rows a query gives now.
int64_t count_rows(Database& db, std::string_view sql);
// Runs fn once, before the next write to the file through the engine (a statement, a
// row write, a schema change, a user transaction rolled back, the session closed);
// returns the key that cancels it.
uint64_t before_next_write(Database& db, std::function<void()> fn);
void cancel_before_write(Database& db, uint64_t key);

}  // namespace jet
