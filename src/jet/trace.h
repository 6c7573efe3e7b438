// A process-wide observer of the statements that reach the database: each statement that
// Database::execute runs (after it ran or failed; the statements a plan runs inside it are
// not seen again) and each row that a recordset writes. The programs set none; the crash
// harness sets one to learn which statements a step runs and which of them met rows. An
// unset observer costs one test per statement.
#pragma once

#include <cstdint>
#include <string_view>

namespace jet {

// sql: the statement's text as it was given; for a recordset's row write "UPDATE TABLE
// SET COLUMN, ... (recordset)", "INSERT INTO TABLE (recordset)" or "DELETE FROM TABLE
// (recordset)". affected: the rows it wrote (0 for schema statements), -1 when it failed.
using StatementTrace = void (*)(std::string_view sql, int64_t affected);

// Sets the observer (nullptr removes it).
void set_statement_trace(StatementTrace trace);

namespace detail {
extern StatementTrace statement_trace;
inline void trace_statement(std::string_view sql, int64_t affected) {
    if (statement_trace != nullptr) statement_trace(sql, affected);
}
}  // namespace detail

}  // namespace jet
