// A process-wide observer of the statements that reach the database: each statement that
// Database::execute runs (after it ran or failed; the statements a plan runs inside it are
// not seen again) and each row that a recordset writes. The programs set none; the crash
// harness sets one to learn which statements a step runs and which of them met rows. An
// unset observer costs one test per statement.
//
// A second observer sees the statements by their shape: each statement that execute runs
// and each query opened for its rows, parsed, with the catalog as it stands when it runs,
// and for each recordset at its close whether its reader stopped on a row (the statement's
// first row, or the first that met a condition, decided what was read) or read past the
// last; and each value of a field that a recordset gives the program. The crash harness's
// check of picks, writes for one row, sums and joins sets it, and its derivation of the
// references.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jet/sql/ast.h"
#include "jet/value.h"

namespace jet {

class Catalog;

// sql: the statement's text as it was given; for a recordset's row write "UPDATE TABLE
// SET COLUMN, ... (recordset)", "INSERT INTO TABLE (recordset)" or "DELETE FROM TABLE
// (recordset)". affected: the rows it wrote (0 for schema statements), -1 when it failed.
using StatementTrace = void (*)(std::string_view sql, int64_t affected);

// Sets the observer (nullptr removes it).
void set_statement_trace(StatementTrace trace);

class ShapeObserver {
  public:
    virtual ~ShapeObserver() = default;
    // A statement or a query of this database, parsed (statements about another file are
    // not seen), with the catalog that binds it (after a schema statement ran).
    // query: opened for its rows (a recordset, a count), not run.
    virtual void statement(std::string_view sql, const sql::Statement& parsed,
                           const Catalog& catalog, bool query) = 0;
    // A recordset over the query sql closes: read tells whether a field of a row was read,
    // on_row whether it closes on a row (not past the last).
    virtual void closed(std::string_view sql, bool read, bool on_row) = 0;
    // A recordset over the query sql writes a row of table: kind 'U' a row it read
    // (Edit/Update), 'I' a row it adds (AddNew), 'D' a row it deletes; values: the
    // columns it gave values (none for a delete).
    virtual void row_written(std::string_view /*sql*/, std::string_view /*table*/, char /*kind*/,
                             const std::vector<std::pair<std::string, Value>>& /*values*/) {}
    // A recordset over the query sql gives the value of its field (by position) of the
    // current row to the program.
    virtual void field_read(std::string_view /*sql*/, int /*field*/, const Value& /*value*/) {}
};

// Sets the observer by shape (nullptr removes it).
void set_shape_observer(ShapeObserver* observer);

namespace detail {
extern StatementTrace statement_trace;
extern ShapeObserver* shape_observer;
// Either observer set: the one test a statement costs when none is.
extern bool observed;
inline void trace_statement(std::string_view sql, int64_t affected) {
    if (statement_trace != nullptr) statement_trace(sql, affected);
}
}  // namespace detail

}  // namespace jet
