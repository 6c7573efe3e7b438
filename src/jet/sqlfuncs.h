// The SQL functions, aggregates and the collation through which the translated
// statements get Jet's semantics from SQLite. The emitter writes calls to these
// names; register_functions installs them on every session's connection.
//
// Storage of Jet values in SQLite: Text and Memo as TEXT (declared COLLATE JET);
// Boolean as INTEGER -1/0; Byte, Integer, Long (counters too) as INTEGER; Currency
// as REAL rounded to 4 decimals; Single as REAL rounded to 4-byte precision; Double
// as REAL; Date as REAL (days since 30 December 1899). Null is NULL.
//
// A function that fails hands the Jet failure to the session (set_pending_error)
// and fails the SQLite statement; Session::step raises the Jet failure in its place.
//
// Storing variants: every function that may fail on a value is also registered under
// its name + kStoringSuffix ("jet_div_s"): the variant that computes a value an action
// query stores (SET, INSERT ... VALUES, the select list of INSERT ... SELECT and of
// SELECT ... INTO). There a
// value that cannot be converted (TypeMismatch, Overflow, DivisionByZero) is
// absorbed: the call gives Null and the failure is counted, and the stored value that
// holds the call, computed as jet_caught(jet_mark(), v), is Null as a whole for that
// row. Anything else fails the statement as the plain function does. The storing
// variants are not deterministic, so that SQLite computes them for each row rather
// than once for a statement.
//
// Storing aggregates: in a stored value an aggregate is computed by its storing
// aggregate (jet_sum_s, jet_count_s, jet_avg_s, jet_min_s, jet_max_s, jet_first_s,
// jet_last_s), called as jet_group_s(jet_<name>_s(jet_mark(), x ...)). A row whose x
// absorbed a failure (or a total out of range) makes the group's result Null, and
// jet_group_s counts that as an absorbed failure, so that the stored value is Null as
// a whole for that group; the other groups are computed.
//
// Type codes in arguments are DataType numbers (1 Boolean ... 12 Memo); 0 means
// "unknown: judge by the SQLite value" (INTEGER/REAL numbers, TEXT text).
//
// Collation:
//   JET                      jet::text::compare: no case, accents and trailing blanks
//                            significant, Polish order.
// Scalar functions:
//   jet_store(v, type, size, flags, 'table.column' [, source type])
//                            v converted for storing into a column (Value::coerce_to:
//                            an infinite number overflows whatever the column, a date
//                            outside the range overflows);
//                            the optional source type says what v is (a Date or a
//                            Yes/No stored into a text column gives its date text or
//                            "-1"/"0"; a number that is no value of the source type,
//                            a date past the ends into a Double column, overflows);
//                            without it v is judged by its SQLite value;
//                            flags: 1 required (Null fails RequiredNull), 2 primary key
//                            (Null fails NullInKey), 4 zero length not allowed ('' fails
//                            ZeroLength), 8 a value an action query stores: one that
//                            cannot be converted becomes Null (then flags 1 and 2
//                            apply). Raises TooLong, TypeMismatch, Overflow.
//   jet_totext(v, type)      CStr of a value of that type (dates as dates, money with
//                            the decimal comma, Booleans as -1/0 like Jet's text of them);
//                            an infinite number raises Overflow
//   jet_concat(a, b)         a & b on texts (Null as "")
//   jet_add(a, ta, b, tb)    a + b with VB's rules for the operand types (text + text
//                            concatenates, Null propagates, text + number converts the
//                            text or raises TypeMismatch); currency results rounded;
//                            past a Double's range raises Overflow
//   jet_numfold(x0, ops, x1, ...) ((x0 op1 x1) op2 x2) ... with SQLite's + - *
//   jet_dblfold(x0, ops, x1, ...) the same; a step past a Double's range raises Overflow
//   jet_sglfold, jet_datefold    the same for steps of type Single and Date: a step
//                            that is no value of that type (see in_range) raises Overflow
//   jet_curfold(x0, ops, x1, ...) the same, each step rounded as jet_cur
//   jet_cur(x)               x rounded to 4 decimals, halves to even (currency arithmetic)
//   jet_div(a, b)            floating division; b = 0 raises DivisionByZero
//   jet_pow(a, b)            a ^ b; beyond a Double's range raises Overflow, no number
//                            (a negative base, a fractional exponent) NoNumber
//   jet_intdiv(a, b), jet_mod(a, b)
//   jet_cmp(a, ta, b, tb)    -1/0/1 comparison of two values under Jet's rules (text vs
//                            number raises TypeMismatch); NULL when either is NULL
//   jet_like(v, pattern)     Jet LIKE (* ? # [..]) without regard to case; 1/0/NULL
//   jet_round(x [, n [, type]]) Round, halves to even on the decimal digits the value
//                            shows (exact for money kept as REAL); type as above
//   jet_format(v, type, fmt) Format: dates (dd, MM, mm after dd as month, yyyy, yy, hh,
//                            nn, ss), numbers ('0.00', '0', '#,##0.00' with the decimal
//                            comma, halves away from zero); Null gives Null
//   jet_val(s)               Val: VBA rules; Val(Null) is Null
//   jet_trim(s), jet_ltrim(s), jet_rtrim(s), jet_ucase(s), jet_lcase(s), jet_len(s)
//   jet_mid(s, start [, len]), jet_left(s, n), jet_right(s, n)
//   jet_year(d), jet_month(d), jet_day(d)
//   jet_cstr(v, type), jet_clng(v), jet_cint(v), jet_cdbl(v), jet_ccur(v), jet_cdate(v),
//   jet_int(x), jet_fix(x), jet_abs(x), jet_nz(v [, other])
//   jet_seq(start)           start, start+1, ... on successive calls within a statement
//                            (engine numbering of counters)
//   jet_mark()               the connection's count of failures absorbed so far
//   jet_caught(mark, v)      v, or Null when failures were absorbed since jet_mark gave
//                            mark (while v was computed)
//   jet_choose(k, c)         1 when c is true, else 0; remembered in slot k
//   jet_keep(k, v)           v; "v is not Null" remembered in slot k
//   jet_chosen(k, t1, t2)    t1 when slot k last remembered true, else t2: the type of
//                            the value an IIf or Nz chose, read after the value (in
//                            the same row) without computing the choice again
// Aggregates:
//   jet_sum(x, type)         Sum: Null over no rows; exact for Currency (type 5) and
//                            whole numbers; double otherwise; a total out of range
//                            raises Overflow
//   jet_first(x), jet_last(x) First and Last in row order
//   jet_avg(x)               Avg as SQLite's avg computes it; a total out of range
//                            raises Overflow
//   jet_count_s, jet_avg_s, jet_min_s, jet_max_s (mark, x [, text]) SQLite's count, avg,
//                            min and max as storing aggregates (text 1: texts in Jet
//                            order)
//   jet_group_s(x)           x, or Null counted as an absorbed failure where x is a
//                            storing aggregate's result for a group that failed
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "jet/types.h"

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace jet {

class Session;

// How a call hands a Jet argument to its SQLite function.
enum class FnArg : unsigned char {
    Value,  // the value (-1/0 for a truth value)
    Text,   // the text: a number or a date as its CStr
    Typed,  // the value, then its type code: two SQLite arguments
};

// The Jet type of a call's result.
enum class FnResult : unsigned char {
    Fixed,          // FunctionDef::type
    TextOrMemo,     // Memo for a Memo argument, Text otherwise
    Numeric,        // the first argument's type: Double for text or Null, Integer for Yes/No
    NumericOrNull,  // the same, but unknown (Null) for the Null literal
    First,          // the first argument's type; Text for the Null literal
};

// One function of the engine: a Jet function that statements call (name set) or one
// of the engine's own helpers that only the emitter writes (name null).
struct FunctionDef {
    const char* name;    // the Jet name, lower case
    const char* target;  // the SQLite function
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    // Jet functions: the Jet arguments a call takes; helpers: the SQLite arguments
    // (-1: any number).
    int min_args, max_args;
    std::array<FnArg, 3> args{};  // per Jet argument; the last one repeats
    FnResult result = FnResult::Fixed;
    DataType type = DataType::Text;  // FnResult::Fixed
    bool deterministic = true;

    constexpr FnArg arg(int i) const { return args[static_cast<size_t>(i < 2 ? i : 2)]; }
};

// The name of a function's storing variant is its name followed by this.
inline constexpr std::string_view kStoringSuffix = "_s";
// True when the function of this SQLite name (a helper, a Jet function's target or an
// aggregate) has a storing variant: it may fail on a value.
bool has_storing_variant(std::string_view target);

// Every function, Jet functions first.
std::span<const FunctionDef> function_table();
// The Jet function of a lower-case name ("trim"); null when there is none.
const FunctionDef* jet_function(std::string_view name);

// Installs the collation, the functions and the aggregates on a connection.
// session receives the failures raised inside them.
void register_functions(sqlite3* db, Session* session);

}  // namespace jet
