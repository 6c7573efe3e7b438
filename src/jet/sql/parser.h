// The Jet SQL parser: statement text in, syntax tree out.
#pragma once

#include <string_view>

#include "jet/sql/ast.h"

namespace jet::sql {

// Parses one Jet SQL statement (an optional trailing ";" is allowed). Throws
// jet::Error (0x80040E14, "Syntax error ...") when the text is not a statement Jet
// accepts; never throws anything else for any input.
Statement parse(std::string_view text);

// Reads the inside of a date literal ("02-20-2001 10:00:00", "2001-02-20",
// "20-02-2001") the way Jet does: month first unless the first number cannot be a
// month. Returns false when the text is not a date or time.
bool parse_date_parts(std::string_view inside, DateParts& out);

}  // namespace jet::sql
