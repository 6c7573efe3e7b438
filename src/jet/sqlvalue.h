// Values across the SQLite boundary: the one place where the engine binds values to
// statements, reads them back from rows and hands texts to SQLite. Internal to the
// engine.
#pragma once

#include <sqlite3.h>

#include <string_view>
#include <vector>

#include "jet/types.h"
#include "jet/value.h"

namespace jet::detail {

// A text bound or returned as a text: "" stays "" (SQLite takes a null pointer for
// Null, which an empty string_view may carry).
void bind_text(sqlite3_stmt* st, int index, std::string_view s);
void result_text(sqlite3_context* ctx, std::string_view s);

// Binds a Value as it is stored (see sqlfuncs.h); Empty and Null bind Null.
void bind_value(sqlite3_stmt* st, int index, const Value& v);
// Binds a plan's constants (those the statement uses); Empty slots are the plan's own
// and are left alone.
void bind_params(sqlite3_stmt* st, const std::vector<Value>& params);
// Reads column i of the current row as a Value of Jet type t. A number outside the
// range of a whole-number type (never stored by the engine) keeps its value; one that
// is no value of a Currency, Single, Double or Date type (in_range) raises Overflow
// as a failed statement does (0x80040E07).
Value read_value(sqlite3_stmt* st, int i, DataType t);

}  // namespace jet::detail
