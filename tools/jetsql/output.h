// The shell's output of statements and values.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "jet/value.h"

namespace jet {
class Database;
}

namespace jetsql {

// A value as the shell prints it: Null as "Null", numbers with "." and no trailing
// zeros, dates as yyyy-mm-dd or yyyy-mm-dd hh:mm:ss with four-digit years (0100-01-01),
// Yes/No as -1 or 0, text with tabs and line breaks written as \t, \n and \r.
std::string format_value(const jet::Value& v);

// A statement that may write: any but a SELECT without INTO. Raises jet::Error when it
// does not parse.
bool statement_writes(std::string_view statement);

// Runs one statement on the database and prints its rows (a SELECT without INTO) or
// "ok N". Returns true for a statement that may write (any but a SELECT without INTO).
// Raises jet::Error on a failure.
bool run_statement(jet::Database& db, std::string_view statement, std::ostream& out);

}  // namespace jetsql
