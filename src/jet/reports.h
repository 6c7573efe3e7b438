// The engine's reports of writes that change a figure in a way a conversion rarely
// means, for the tests that run whole conversions:
//   MultiPair      an UPDATE over joins that changes one row through more than one
//                  joined pair (the row's figure is changed once per pair);
//   NullOverwrite  an UPDATE whose SET computes arithmetic, or copies a column, that
//                  gives Null for a row whose column held a value (a Null operand wiped
//                  the figure, or a value not given replaced it), or a recordset's row
//                  write that sets Null over a value;
//   InsertRepeat   an INSERT ... SELECT over joins in which no table's row stands alone
//                  in a written row: a row of the source is written more than once
//                  through a join whose other side repeats the joined key.
// Off unless the environment variable KONW_RAPORTY_SILNIKA names a file (read once, at
// the first statement planned) or a test calls reports::start. When off, planning a
// statement tests one flag and running it nothing: no check is planned. When on, each
// UPDATE and INSERT ... SELECT that may meet one of the cases is planned with read-only
// checks that run before it (judged on the rows as they stand before the statement);
// a case met appends one line to the file:
//   STEP <tab> KIND <tab> TABLE <tab> STATEMENT [<tab> stated]
// STEP the label that the layer above gives (reports::set_step_label; "-" without
// one), KIND "multi-pair", "null-overwrite" or "insert-repeat", TABLE the table written,
// STATEMENT the statement's text on one line (for a row write "UPDATE TABLE SET COLUMN =
// Null (recordset)", the columns it empties). A check that fails (a value that cannot
// be computed) reports nothing and leaves the statement to meet its failure itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace jet::reports {

enum class Kind { MultiPair, NullOverwrite, InsertRepeat };

// The kind as its report line names it.
std::string_view name(Kind k);

// True when reports are written (the environment read at the first call).
bool enabled();
// Writes reports to the file at path (appended), or stops writing them when path is
// "". Plans already translated keep what they were planned with.
void start(const std::string& path);

// The step label of each report, asked as the report is written.
void set_step_label(std::function<std::string()> label);

// While one lives, reports of its kind are written marked "stated": the statement
// means what the engine reports. Nested scopes count.
class Stated {
public:
    explicit Stated(Kind k);
    ~Stated();
    Stated(const Stated&) = delete;
    Stated& operator=(const Stated&) = delete;

private:
    Kind kind_;
};

namespace detail {
// The text of the statement being run (set by Database::execute while reports are on).
void set_statement(std::string_view sql);
// Appends one report of the statement being run, or of the write that statement
// describes (a recordset's row write, which runs no statement).
void report(Kind k, std::string_view table, std::string_view statement = {});
}  // namespace detail

}  // namespace jet::reports
