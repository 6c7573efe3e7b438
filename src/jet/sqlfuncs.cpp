#include "jet/sqlfuncs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/dates.h"
#include "jet/error.h"
#include "jet/functions.h"
#include "jet/session.h"
#include "jet/sqlvalue.h"
#include "jet/text.h"
#include "jet/value.h"

namespace jet {

namespace {

using Kind = Value::Kind;

// ---------------------------------------------------------------------------
// Failures and the bridge between SQLite values and Jet values

// What the functions of one connection share, reached through their user data: the
// session that receives their failures, and the count of the conversion failures that
// the storing variants absorbed. A function that may fail on a value is registered
// twice (see register_functions): as its name, and as its name + "_s", the storing
// variant that computes a value an action query stores. One block per connection,
// freed with it.
struct Connection {
    // The user data of one of the two registrations.
    struct Variant {
        Connection* connection;
        bool storing;
    };
    explicit Connection(Session* s) : session(s) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Session* session;
    uint64_t absorbed = 0;
    // The last choice of each IIf and Nz whose value's type is chosen row by row, by
    // the slot the statement gave it (see jet_choose): 1 the first value, 0 the other.
    std::vector<unsigned char> chosen;
    Variant plain{this, false};
    Variant storing{this, true};
};

Connection::Variant& variant_of(sqlite3_context* ctx) {
    return *static_cast<Connection::Variant*>(sqlite3_user_data(ctx));
}

// Hands a Jet failure to the session (when there is one) and fails the statement. A
// value that cannot be converted (out of range, divided by zero) fails a statement as
// a type mismatch does, with 0x80040E07: 0x80004005 would read as a lost connection.
void fail(sqlite3_context* ctx, const Error& e) {
    if (auto* session = variant_of(ctx).connection->session)
        session->set_pending_error(statement_failure(e));
    sqlite3_result_error(ctx, e.description().c_str(), -1);
}

// A storing variant absorbs a value that cannot be converted: the call gives Null and
// the failure is counted, so that jet_caught makes the whole stored value Null.
// Returns true when the failure was absorbed.
bool absorb(sqlite3_context* ctx, const Error& e) {
    Connection::Variant& v = variant_of(ctx);
    if (!v.storing || !conversion_failure(e)) return false;
    ++v.connection->absorbed;
    return true;
}

// Runs a callback body; a failure inside becomes the statement's failure (a storing
// variant's conversion failure becomes Null, see absorb). Nothing may leave a callback
// as an exception: SQLite's C frames are between us and the caller.
template <typename F>
void guarded(sqlite3_context* ctx, F&& body) {
    try {
        body();
    } catch (const Error& e) {
        if (absorb(ctx, e)) return sqlite3_result_null(ctx);
        fail(ctx, e);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        fail(ctx, make_error(Fault::Internal, e.what()));
    }
}

std::string_view text_of(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return {p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v))};
}

DataType type_arg(sqlite3_value* v) {
    return static_cast<DataType>(sqlite3_value_int(v));
}

// An SQLite value held apart from SQLite (the steps of a fold keep theirs here).
struct SqlVal {
    int type = SQLITE_NULL;  // SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT or SQLITE_TEXT
    sqlite3_int64 i = 0;
    double d = 0;
    std::string s;
};

SqlVal sql_val(sqlite3_value* v) {
    SqlVal r;
    r.type = sqlite3_value_type(v);
    if (r.type == SQLITE_INTEGER)
        r.i = sqlite3_value_int64(v);
    else if (r.type == SQLITE_FLOAT)
        r.d = sqlite3_value_double(v);
    else if (r.type != SQLITE_NULL)
        r.type = SQLITE_TEXT, r.s = std::string(text_of(v));
    return r;
}

// The Jet value of an SQLite value whose Jet type is `type` (0: judge by the value).
// A number that is no value of that type (in_range; judged by the value, no value of
// a Double) raises Overflow.
Value from_sql(SqlVal v, int type) {
    if ((v.type == SQLITE_INTEGER || v.type == SQLITE_FLOAT) &&
        !in_range(static_cast<DataType>(type),
                  v.type == SQLITE_INTEGER ? static_cast<double>(v.i) : v.d))
        raise(Fault::Overflow);
    switch (v.type) {
        case SQLITE_NULL:
            return Value::null();
        case SQLITE_INTEGER: {
            const sqlite3_int64 i = v.i;
            switch (static_cast<DataType>(type)) {
                case DataType::Boolean:
                    return Value::boolean(i != 0);
                case DataType::Currency:
                    return Value::currency(Currency::from_double(static_cast<double>(i)));
                case DataType::Single:
                    return Value::single(static_cast<float>(i));
                case DataType::Double:
                    return Value::dbl(static_cast<double>(i));
                case DataType::Date:
                    return Value::date(static_cast<double>(i));
                case DataType::Byte:
                    if (i >= 0 && i <= 255) return Value::byte(static_cast<uint8_t>(i));
                    break;
                case DataType::Integer:
                    if (i >= INT16_MIN && i <= INT16_MAX)
                        return Value::integer(static_cast<int16_t>(i));
                    break;
                default:
                    break;
            }
            if (i >= INT32_MIN && i <= INT32_MAX) return Value::long_(static_cast<int32_t>(i));
            return Value::dbl(static_cast<double>(i));
        }
        case SQLITE_FLOAT: {
            const double d = v.d;
            switch (static_cast<DataType>(type)) {
                case DataType::Boolean:
                    return Value::boolean(d != 0);
                case DataType::Currency:
                    return Value::currency(Currency::from_double(d));
                case DataType::Single:
                    return Value::single(static_cast<float>(d));
                case DataType::Date:
                    return Value::date(d);
                default:
                    return Value::dbl(d);
            }
        }
        default:
            return Value::text(std::move(v.s));
    }
}

Value from_sql(sqlite3_value* v, int type) {
    return from_sql(sql_val(v), type);
}

// The SQLite value that stands for a Jet value.
SqlVal sql_val(const Value& v) {
    SqlVal r;
    switch (v.kind()) {
        case Kind::Empty:
        case Kind::Null:
            break;
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            r.type = SQLITE_INTEGER;
            r.i = v.raw_int();
            break;
        case Kind::Currency:
            r.type = SQLITE_FLOAT;
            r.d = v.to_currency().to_double();
            break;
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
            r.type = SQLITE_FLOAT;
            r.d = v.raw_double();
            break;
        case Kind::Text:
            r.type = SQLITE_TEXT;
            r.s = v.raw_text();
            break;
    }
    return r;
}

void result(sqlite3_context* ctx, const SqlVal& v) {
    switch (v.type) {
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, v.i);
        case SQLITE_FLOAT:
            return sqlite3_result_double(ctx, v.d);
        case SQLITE_TEXT:
            return detail::result_text(ctx, v.s);
        default:
            return sqlite3_result_null(ctx);
    }
}

void result(sqlite3_context* ctx, const Value& v) {
    result(ctx, sql_val(v));
}

using detail::result_text;

bool is_null(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}
bool is_number(int t) {
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// Jet's text of an SQLite value of Jet type `type`: CStr, except that a Yes/No value
// gives "-1"/"0" (Jet keeps Yes/No as a number in its expressions).
std::string jet_text(sqlite3_value* v, int type) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) return std::string(text_of(v));
    Value x = from_sql(v, type);
    if (x.kind() == Kind::Boolean) return x.raw_int() ? "-1" : "0";
    return x.to_text();
}

// Money rounded to 4 decimals (halves to even) as the double SQLite keeps.
double money(double d) {
    return Currency::from_double(d).to_double();
}

// ---------------------------------------------------------------------------
// Storing

void store_value(sqlite3_context* ctx, int argc, sqlite3_value** argv, int vt, DataType type,
                 int flags);

// jet_store(v, type, size, flags, 'table.column' [, source type])
void store(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        sqlite3_value* v = argv[0];
        const DataType type = type_arg(argv[1]);
        const int flags = sqlite3_value_int(argv[3]);
        const int vt = sqlite3_value_type(v);
        auto store_null = [&] {
            if (flags & 2) raise(Fault::NullInKey);
            if (flags & 1) raise(Fault::RequiredNull, text_of(argv[4]));
            sqlite3_result_null(ctx);
        };
        if (vt == SQLITE_NULL) return store_null();
        try {
            store_value(ctx, argc, argv, vt, type, flags);
        } catch (const Error& e) {
            if (!(flags & 8) || !conversion_failure(e)) throw;
            store_null();
        }
    });
}

// jet_store of a value that is not Null.
void store_value(sqlite3_context* ctx, int argc, sqlite3_value** argv, int vt, DataType type,
                 int flags) {
    sqlite3_value* v = argv[0];
    const int source = argc > 5 ? sqlite3_value_int(argv[5]) : 0;
    // A number that is no value of its own type (a date past the ends of the range, a
    // Single past its range) fits no column, whatever the column's range.
    if (source && is_number(vt) &&
        !in_range(static_cast<DataType>(source), sqlite3_value_double(v)))
        raise(Fault::Overflow);
    // Fast paths: values that already fit the column pass through unchanged.
    switch (type) {
        case DataType::Text:
        case DataType::Memo:
            if (vt == SQLITE_TEXT) {
                const int bytes = sqlite3_value_bytes(v);
                if (bytes == 0 && (flags & 4)) raise(Fault::ZeroLength, text_of(argv[4]));
                if (type == DataType::Text) {
                    int size = sqlite3_value_int(argv[2]);
                    if (size <= 0) size = kMaxTextSize;
                    if (bytes > size && text::length(text_of(v)) > static_cast<size_t>(size))
                        raise(Fault::TooLong);
                }
                sqlite3_result_value(ctx, v);
                return;
            }
            break;
        case DataType::Long:
        case DataType::Integer:
        case DataType::Byte:
            if (vt == SQLITE_INTEGER) {
                const sqlite3_int64 i = sqlite3_value_int64(v);
                const sqlite3_int64 lo = type == DataType::Long      ? INT32_MIN
                                         : type == DataType::Integer ? INT16_MIN
                                                                     : 0;
                const sqlite3_int64 hi = type == DataType::Long      ? INT32_MAX
                                         : type == DataType::Integer ? INT16_MAX
                                                                     : 255;
                if (i < lo || i > hi) raise(Fault::Overflow);
                sqlite3_result_value(ctx, v);
                return;
            }
            break;
        case DataType::Double:
        case DataType::Single:
        case DataType::Date:
            if (is_number(vt)) {
                const double d = sqlite3_value_double(v);
                if (!in_range(type, d)) raise(Fault::Overflow);
                sqlite3_result_double(ctx, type == DataType::Single ? static_cast<float>(d) : d);
                return;
            }
            break;
        case DataType::Currency:
            if (is_number(vt)) {
                sqlite3_result_double(ctx, money(sqlite3_value_double(v)));
                return;
            }
            break;
        case DataType::Boolean:
            if (is_number(vt)) {
                const double d = sqlite3_value_double(v);
                if (!in_range(type, d)) raise(Fault::Overflow);
                sqlite3_result_int(ctx, d != 0 ? -1 : 0);
                return;
            }
            break;
        default:
            break;
    }
    Value stored = from_sql(v, source).coerce_to(type, sqlite3_value_int(argv[2]));
    if ((flags & 4) && stored.is_text() && stored.raw_text().empty())
        raise(Fault::ZeroLength, text_of(argv[4]));
    result(ctx, stored);
}

// ---------------------------------------------------------------------------
// Text and arithmetic

void totext(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) return sqlite3_result_value(ctx, argv[0]);
        result_text(ctx, jet_text(argv[0], sqlite3_value_int(argv[1])));
    });
}

// jet_concat(a, b, ...): a & b & ..., Null as ""; Null when every operand is Null.
void concat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        int only = -1, present = 0;
        for (int i = 0; i < argc; ++i)
            if (sqlite3_value_type(argv[i]) != SQLITE_NULL) {
                only = i;
                ++present;
            }
        if (present == 0) return sqlite3_result_null(ctx);
        if (present == 1 && sqlite3_value_type(argv[only]) == SQLITE_TEXT)
            return sqlite3_result_value(ctx, argv[only]);
        std::string out;
        for (int i = 0; i < argc; ++i) {
            const int t = sqlite3_value_type(argv[i]);
            if (t == SQLITE_TEXT)
                out += text_of(argv[i]);
            else if (t != SQLITE_NULL)
                out += jet_text(argv[i], 0);
        }
        result_text(ctx, out);
    });
}

bool plain_number_type(int type) {
    return type == 0 || type == static_cast<int>(DataType::Byte) ||
           type == static_cast<int>(DataType::Integer) ||
           type == static_cast<int>(DataType::Long) || type == static_cast<int>(DataType::Double);
}

// An operand of SQLite's arithmetic, as SQLite reads it (text as a number).
struct Num {
    int type = SQLITE_NULL;  // SQLITE_NULL, SQLITE_INTEGER or SQLITE_FLOAT
    sqlite3_int64 i = 0;
    double d = 0;
};

Num numeric(sqlite3_value* v) {
    int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL) return {};
    if (t != SQLITE_INTEGER && t != SQLITE_FLOAT) t = sqlite3_value_numeric_type(v);
    if (t == SQLITE_INTEGER) return {SQLITE_INTEGER, sqlite3_value_int64(v), 0};
    return {SQLITE_FLOAT, 0, sqlite3_value_double(v)};
}

// a op b (op '+', '-' or '*') as SQLite computes it: whole numbers while they do not
// overflow, floating otherwise; Null when either is Null (or the result is NaN).
Num sqlite_arithmetic(char op, const Num& a, const Num& b) {
    if (a.type == SQLITE_INTEGER && b.type == SQLITE_INTEGER) {
        sqlite3_int64 r;
        const bool overflow = op == '+'   ? __builtin_add_overflow(a.i, b.i, &r)
                              : op == '-' ? __builtin_sub_overflow(a.i, b.i, &r)
                                          : __builtin_mul_overflow(a.i, b.i, &r);
        if (!overflow) return {SQLITE_INTEGER, r, 0};
    } else if (a.type == SQLITE_NULL || b.type == SQLITE_NULL) {
        return {};
    }
    const double x = a.type == SQLITE_INTEGER ? static_cast<double>(a.i) : a.d;
    const double y = b.type == SQLITE_INTEGER ? static_cast<double>(b.i) : b.d;
    const double r = op == '+' ? x + y : op == '-' ? x - y : x * y;
    if (std::isnan(r)) return {};
    return {SQLITE_FLOAT, 0, r};
}

// One step of jet_add: a + b of Jet types ta and tb.
SqlVal add_step(const SqlVal& a, int ta, const SqlVal& b, int tb) {
    if (a.type == SQLITE_NULL || b.type == SQLITE_NULL) return {};
    if (plain_number_type(ta) && plain_number_type(tb)) {
        if (a.type == SQLITE_INTEGER && b.type == SQLITE_INTEGER) {
            sqlite3_int64 r;
            if (!__builtin_add_overflow(a.i, b.i, &r)) return {SQLITE_INTEGER, r, 0, {}};
        } else if (is_number(a.type) && is_number(b.type)) {
            const double x = a.type == SQLITE_INTEGER ? static_cast<double>(a.i) : a.d;
            const double y = b.type == SQLITE_INTEGER ? static_cast<double>(b.i) : b.d;
            if (!in_range(DataType::Double, x + y)) raise(Fault::Overflow);
            return {SQLITE_FLOAT, 0, x + y, {}};
        }
    }
    return sql_val(jet::add(from_sql(a, ta), from_sql(b, tb)));
}

// jet_add(a, ta, b, tb [, c, tc ...]): a + b (+ c ...) where text meets a number, step
// by step as the nested jet_add(jet_add(a, ta, b, tb), Double, c, tc) computes it (the
// binder types a jet_add as Double); tc -1 (-2) stands for SQLite's "(acc + c)"
// ("(acc - c)") of a plain number. A step past a Double's range raises Overflow.
void add(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (argc < 4 || argc % 2) raise(Fault::Internal, "jet_add arguments");
        SqlVal acc = add_step(sql_val(argv[0]), sqlite3_value_int(argv[1]), sql_val(argv[2]),
                              sqlite3_value_int(argv[3]));
        for (int i = 4; i < argc; i += 2) {
            const int tb = sqlite3_value_int(argv[i + 1]);
            if (tb >= 0) {
                acc = add_step(acc, static_cast<int>(DataType::Double), sql_val(argv[i]), tb);
                continue;
            }
            // Type -1 or -2: a number added or subtracted by SQLite's own + or -.
            Num x;
            if (acc.type == SQLITE_INTEGER)
                x = {SQLITE_INTEGER, acc.i, 0};
            else if (acc.type != SQLITE_NULL)
                x = {SQLITE_FLOAT, 0,
                     acc.type == SQLITE_FLOAT ? acc.d : from_sql(acc, 0).to_double()};
            const Num r = sqlite_arithmetic(tb == -1 ? '+' : '-', x, numeric(argv[i]));
            if (r.type == SQLITE_FLOAT && !in_range(DataType::Double, r.d)) raise(Fault::Overflow);
            acc = {r.type, r.i, r.d, {}};
        }
        result(ctx, acc);
    });
}

// jet_cur(x): money rounding of an arithmetic result.
void cur(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const int t = sqlite3_value_type(argv[0]);
        if (t == SQLITE_NULL || t == SQLITE_INTEGER) return sqlite3_result_value(ctx, argv[0]);
        if (t == SQLITE_FLOAT)
            return sqlite3_result_double(ctx, money(sqlite3_value_double(argv[0])));
        result(ctx, Value::currency(from_sql(argv[0], 0).to_currency()));
    });
}

// jet_curfold(x0, ops, x1, ...): money arithmetic of a chain, step by step as the
// nested jet_cur((jet_cur((x0 op1 x1)) op2 x2)) ... computes it: each step SQLite's
// arithmetic, then rounded to 4 decimals. jet_numfold alike without the rounding:
// ((x0 op1 x1) op2 x2) ... as SQLite computes it. jet_dblfold, jet_sglfold and
// jet_datefold are jet_numfold whose steps have the type Double, Single or Date: a
// step that is no value of that type (past a Double's or a Single's range, a date past
// the ends of the range, no number at all) raises Overflow, where SQLite would go on
// with it.
enum class Fold { Money, Plain, Checked };

template <Fold Mode, DataType Type = DataType::Double>
void arithfold(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string_view ops = argc < 2 ? std::string_view() : text_of(argv[1]);
        if (argc < 2 || ops.size() != static_cast<size_t>(argc - 2))
            raise(Fault::Internal, "arithmetic fold arguments");
        Num acc = numeric(argv[0]);
        for (size_t k = 0; k < ops.size(); ++k) {
            const Num x = numeric(argv[k + 2]);
            const bool operands = acc.type != SQLITE_NULL && x.type != SQLITE_NULL;
            acc = sqlite_arithmetic(ops[k], acc, x);
            if (Mode == Fold::Money && acc.type == SQLITE_FLOAT) acc.d = money(acc.d);
            // A step of two numbers gives Null only when it is NaN.
            if (Mode == Fold::Checked && operands &&
                (acc.type == SQLITE_NULL ||
                 !in_range(Type, acc.type == SQLITE_FLOAT ? acc.d : static_cast<double>(acc.i))))
                raise(Fault::Overflow);
        }
        if (acc.type == SQLITE_INTEGER) return sqlite3_result_int64(ctx, acc.i);
        if (acc.type == SQLITE_FLOAT) return sqlite3_result_double(ctx, acc.d);
        sqlite3_result_null(ctx);
    });
}

// A numeric operand: text is read as a number (TypeMismatch when it is not one); a
// number that is no Double (infinity) raises Overflow.
double number_of(sqlite3_value* v) {
    if (!is_number(sqlite3_value_type(v))) return from_sql(v, 0).to_double();
    const double d = sqlite3_value_double(v);
    if (!in_range(DataType::Double, d)) raise(Fault::Overflow);
    return d;
}

// A whole operand of \ and Mod: rounded to a Long, halves to even.
int64_t whole_of(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER) return sqlite3_value_int64(v);
    return from_sql(v, 0).to_long();
}

// jet_div(a, b), jet_intdiv and jet_mod: a division by zero raises DivisionByZero
// (absorbed by the storing variants, as any value that cannot be converted).
void div(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || is_null(argv[1])) return sqlite3_result_null(ctx);
        const double b = number_of(argv[1]);
        if (b == 0) raise(Fault::DivisionByZero);
        const double r = number_of(argv[0]) / b;
        if (!in_range(DataType::Double, r)) raise(Fault::Overflow);
        sqlite3_result_double(ctx, r);
    });
}

// jet_pow(a, b): a ^ b. A result beyond a Double's range raises Overflow; one that
// is no number (a negative base under a fractional exponent) raises NoNumber, VB's
// invalid procedure call.
void power(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || is_null(argv[1])) return sqlite3_result_null(ctx);
        const double r = std::pow(number_of(argv[0]), number_of(argv[1]));
        if (std::isnan(r)) raise(Fault::NoNumber);
        if (!in_range(DataType::Double, r)) raise(Fault::Overflow);
        sqlite3_result_double(ctx, r);
    });
}

template <bool Mod>
void intdiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || is_null(argv[1])) return sqlite3_result_null(ctx);
        const int64_t b = whole_of(argv[1]);
        if (b == 0) raise(Fault::DivisionByZero);
        const int64_t a = whole_of(argv[0]);
        if (a == INT64_MIN && b == -1) raise(Fault::Overflow);
        sqlite3_result_int64(ctx, Mod ? a % b : a / b);
    });
}

// jet_cmp(a, ta, b, tb): -1/0/1, NULL when either is NULL.
void cmp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const int va = sqlite3_value_type(argv[0]), vb = sqlite3_value_type(argv[2]);
        if (va == SQLITE_NULL || vb == SQLITE_NULL) return sqlite3_result_null(ctx);
        int r;
        if (va == SQLITE_TEXT && vb == SQLITE_TEXT) {
            r = text::compare(text_of(argv[0]), text_of(argv[2]));
        } else if (va == SQLITE_INTEGER && vb == SQLITE_INTEGER) {
            const sqlite3_int64 a = sqlite3_value_int64(argv[0]), b = sqlite3_value_int64(argv[2]);
            r = a < b ? -1 : a > b;
        } else if (is_number(va) && is_number(vb)) {
            const double a = sqlite3_value_double(argv[0]), b = sqlite3_value_double(argv[2]);
            r = a < b ? -1 : a > b;
        } else {
            r = compare(from_sql(argv[0], sqlite3_value_int(argv[1])),
                        from_sql(argv[2], sqlite3_value_int(argv[3])));
        }
        sqlite3_result_int(ctx, r < 0 ? -1 : r > 0);
    });
}

// The text argument of a text function: its text, or CStr of a number.
std::string_view text_arg(sqlite3_value* v, std::string& buf) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) return text_of(v);
    buf = jet_text(v, 0);
    return buf;
}

void like(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || is_null(argv[1])) return sqlite3_result_null(ctx);
        std::string b1, b2;
        sqlite3_result_int(ctx, fn::like(text_arg(argv[0], b1), text_arg(argv[1], b2)) ? 1 : 0);
    });
}

// jet_round(x [, n [, type]])
void round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || (argc > 1 && is_null(argv[1]))) return sqlite3_result_null(ctx);
        const int digits = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
        const int type = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
        if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && digits >= 0)
            return sqlite3_result_value(ctx, argv[0]);
        result(ctx, fn::round(from_sql(argv[0], type), digits));
    });
}

void format(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        Value v = from_sql(argv[0], sqlite3_value_int(argv[1]));
        if (v.kind() == Kind::Boolean) v = Value::integer(static_cast<int16_t>(v.raw_int()));
        const bool fmt = argc > 2 && !is_null(argv[2]);
        result(ctx, fn::format(v, fmt ? text_of(argv[2]) : std::string_view()));
    });
}

void val(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        std::string buf;
        sqlite3_result_double(ctx, fn::val(text_arg(argv[0], buf)));
    });
}

// A text function of one text argument (a number is taken as its CStr).
template <auto F>
void text_fn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        std::string buf;
        result_text(ctx, F(text_arg(argv[0], buf)));
    });
}

void len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        std::string buf;
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(text::length(text_arg(argv[0], buf))));
    });
}

void mid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        for (int i = 0; i < argc; ++i)
            if (is_null(argv[i])) return sqlite3_result_null(ctx);
        std::string buf;
        std::optional<int64_t> length;
        if (argc > 2) length = whole_of(argv[2]);
        result_text(ctx, fn::mid_view(text_arg(argv[0], buf), whole_of(argv[1]), length));
    });
}

template <bool Right>
void side(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0]) || is_null(argv[1])) return sqlite3_result_null(ctx);
        std::string buf;
        std::string_view s = text_arg(argv[0], buf);
        const int64_t n = whole_of(argv[1]);
        result_text(ctx, Right ? fn::right_view(s, n) : fn::left_view(s, n));
    });
}

// ---------------------------------------------------------------------------
// Dates, conversions, numbers

template <Value (*F)(const Value&)>
void unary(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (is_null(argv[0])) return sqlite3_result_null(ctx);
        result(ctx, F(from_sql(argv[0], 0)));
    });
}

// jet_cstr(v, type) and jet_totext(v, type) are the same text: see jet_text.
// jet_int, jet_fix, jet_abs: whole numbers pass through.
template <Value (*F)(const Value&)>
void whole_numeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const int t = sqlite3_value_type(argv[0]);
        if (t == SQLITE_NULL) return sqlite3_result_null(ctx);
        if (t == SQLITE_INTEGER && F != fn::abs) return sqlite3_result_value(ctx, argv[0]);
        result(ctx, F(from_sql(argv[0], 0)));
    });
}

void nz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (!is_null(argv[0])) return sqlite3_result_value(ctx, argv[0]);
    // In a statement, Nz without a replacement gives a zero-length text.
    if (argc > 1) return sqlite3_result_value(ctx, argv[1]);
    result_text(ctx, "");
}

// jet_choose(k, c), jet_keep(k, v) and jet_chosen(k, t1, t2): the type of the value
// that IIf or Nz chose, given row by row without computing the choice again.
// jet_choose gives 1 when c is true (as SQLite's CASE WHEN takes it: not Null and not
// zero), 0 otherwise; jet_keep gives v, the first value chosen when it is not Null (Nz
// as coalesce(jet_keep(k, v), other)). Each remembers its choice in slot k (1 up to
// kMaxSlot), and jet_chosen(k, t1, t2) gives t1 when the last choice of slot k was the
// first value, t2 otherwise. The emitter writes jet_chosen after the value whose choice
// it reads, in the same row: SQLite computes a call's arguments, and a row's columns,
// in order.
constexpr int kMaxSlot = 1 << 16;

unsigned char& slot(sqlite3_context* ctx, sqlite3_value* k) {
    const int n = sqlite3_value_int(k);
    if (n < 1 || n > kMaxSlot) raise(Fault::Internal, "choice slot");
    auto& chosen = variant_of(ctx).connection->chosen;
    if (chosen.size() <= static_cast<size_t>(n)) chosen.resize(static_cast<size_t>(n) + 1);
    return chosen[static_cast<size_t>(n)];
}

void choose(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const int t = sqlite3_value_type(argv[1]);
        const bool first = t == SQLITE_INTEGER ? sqlite3_value_int64(argv[1]) != 0
                           : t == SQLITE_NULL  ? false
                                               : sqlite3_value_double(argv[1]) != 0;
        slot(ctx, argv[0]) = first;
        sqlite3_result_int(ctx, first);
    });
}

void keep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        slot(ctx, argv[0]) = !is_null(argv[1]);
        sqlite3_result_value(ctx, argv[1]);
    });
}

void chosen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] { sqlite3_result_value(ctx, slot(ctx, argv[0]) ? argv[1] : argv[2]); });
}

// jet_mark() and jet_caught(mark, v): a stored value whose computation absorbed a
// failure is Null as a whole. jet_mark gives the connection's count of absorbed
// failures before v is computed (SQLite evaluates a call's arguments in order), and
// jet_caught gives v, or Null when the count moved while v was computed.
void mark(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(variant_of(ctx).connection->absorbed));
}

void caught(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto absorbed = static_cast<sqlite3_int64>(variant_of(ctx).connection->absorbed);
    if (sqlite3_value_int64(argv[0]) != absorbed) return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, argv[1]);
}

// jet_seq(start): the counter lives in the auxiliary data of the argument, which
// SQLite keeps for the run of one statement and drops when the statement is reset
// or finalized. SQLite keeps it only for a constant argument (a literal or a bound
// parameter), which is what the emitter passes.
void seq(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* next = static_cast<sqlite3_int64*>(sqlite3_get_auxdata(ctx, 0));
    sqlite3_int64 value;
    if (next) {
        value = (*next)++;
    } else {
        value = sqlite3_value_int64(argv[0]);
        auto* n = static_cast<sqlite3_int64*>(sqlite3_malloc64(sizeof(sqlite3_int64)));
        if (!n) return sqlite3_result_error_nomem(ctx);
        *n = value + 1;
        sqlite3_set_auxdata(ctx, 0, n, sqlite3_free);
    }
    sqlite3_result_int64(ctx, value);
}

// ---------------------------------------------------------------------------
// Aggregates

struct SumState {
    __int128 whole;   // whole numbers, or ten-thousandths for money
    double floating;  // other values
    bool any;
    bool has_floating;
    bool money;
};

// sqlite3_aggregate_context promises 8-byte alignment only, and SumState needs 16
// (its __int128): the state is copied out of the context and back rather than used
// in place. The context starts zeroed, which is the empty state.
// Returns the context (null when SQLite has none) with its state copied into s.
void* load_sum(sqlite3_context* ctx, int bytes, SumState& s) {
    void* p = sqlite3_aggregate_context(ctx, bytes);
    if (p) std::memcpy(&s, p, sizeof s);
    return p;
}

// jet_sum(x, type): money (type 5) is summed exactly in ten-thousandths and whole
// numbers exactly; other values in double precision.
void sum_step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const int t = sqlite3_value_type(argv[0]);
        if (t == SQLITE_NULL) return;
        SumState s;
        void* stored = load_sum(ctx, sizeof(SumState), s);
        if (!stored) return sqlite3_result_error_nomem(ctx);
        s.any = true;
        const DataType type = type_arg(argv[1]);
        if (type == DataType::Currency) {
            s.money = true;
            if (t == SQLITE_INTEGER)
                s.whole += static_cast<__int128>(sqlite3_value_int64(argv[0])) * Currency::kScale;
            else if (t == SQLITE_FLOAT)
                s.whole += Currency::from_double(sqlite3_value_double(argv[0])).scaled;
            else
                s.whole += from_sql(argv[0], 0).to_currency().scaled;
        } else if (t == SQLITE_INTEGER && type != DataType::Single && type != DataType::Double &&
                   type != DataType::Date) {
            s.whole += sqlite3_value_int64(argv[0]);
        } else {
            s.has_floating = true;
            s.floating += number_of(argv[0]);
        }
        std::memcpy(stored, &s, sizeof s);
    });
}

void sum_final(sqlite3_context* ctx) {
    guarded(ctx, [&] {
        SumState s;
        if (!load_sum(ctx, 0, s) || !s.any) return sqlite3_result_null(ctx);
        constexpr __int128 kMax = INT64_MAX, kMin = INT64_MIN;
        if (s.money) {
            if (s.whole > kMax || s.whole < kMin) raise(Fault::Overflow);
            return sqlite3_result_double(
                ctx, Currency::from_scaled(static_cast<int64_t>(s.whole)).to_double());
        }
        if (!s.has_floating && s.whole <= kMax && s.whole >= kMin)
            return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(s.whole));
        const double total = static_cast<double>(s.whole) + s.floating;
        if (!in_range(DataType::Double, total)) raise(Fault::Overflow);
        sqlite3_result_double(ctx, total);
    });
}

struct PickState {
    sqlite3_value* value;
    bool seen;
};

// jet_first(x) keeps the first row's value, jet_last(x) the last one (Null included).
template <bool Last>
void pick_step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* s = static_cast<PickState*>(sqlite3_aggregate_context(ctx, sizeof(PickState)));
    if (!s) return sqlite3_result_error_nomem(ctx);
    if (s->seen && !Last) return;
    sqlite3_value_free(s->value);
    s->value = sqlite3_value_dup(argv[0]);
    s->seen = true;
    if (!s->value) sqlite3_result_error_nomem(ctx);
}

void pick_final(sqlite3_context* ctx) {
    auto* s = static_cast<PickState*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || !s->value) return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, s->value);
    sqlite3_value_free(s->value);
    s->value = nullptr;
}

// The aggregates that SQLite has of its own, as storing aggregates compute them:
// jet_count(x), jet_avg(x) and jet_min/jet_max(x, text) (text: 1 to compare texts in
// Jet's order, as COLLATE JET does). jet_avg serves queries too: SQLite's avg goes on
// with an infinite total.
void count_step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* n = static_cast<sqlite3_int64*>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_int64)));
    if (!n) return sqlite3_result_error_nomem(ctx);
    if (!is_null(argv[0])) ++*n;
}

void count_final(sqlite3_context* ctx) {
    auto* n = static_cast<sqlite3_int64*>(sqlite3_aggregate_context(ctx, 0));
    sqlite3_result_int64(ctx, n ? *n : 0);
}

struct AvgState {
    double sum;
    sqlite3_int64 count;
};

// SQLite's avg: the values added as doubles in row order, divided by their count.
void avg_step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* s = static_cast<AvgState*>(sqlite3_aggregate_context(ctx, sizeof(AvgState)));
    if (!s) return sqlite3_result_error_nomem(ctx);
    if (is_null(argv[0])) return;
    s->sum += sqlite3_value_double(argv[0]);
    ++s->count;
}

// The mean; a total past a Double's range overflows, as Sum's does.
void avg_final(sqlite3_context* ctx) {
    guarded(ctx, [&] {
        auto* s = static_cast<AvgState*>(sqlite3_aggregate_context(ctx, 0));
        if (!s || !s->count) return sqlite3_result_null(ctx);
        const double mean = s->sum / static_cast<double>(s->count);
        if (!in_range(DataType::Double, mean)) raise(Fault::Overflow);
        sqlite3_result_double(ctx, mean);
    });
}

// SQLite's order of two values that are not Null: numbers before texts before blobs.
int order(sqlite3_value* a, sqlite3_value* b, bool jet_text) {
    auto rank = [](int t) { return is_number(t) ? 0 : t == SQLITE_TEXT ? 1 : 2; };
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    if (rank(ta) != rank(tb)) return rank(ta) < rank(tb) ? -1 : 1;
    if (is_number(ta)) {
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
            const sqlite3_int64 x = sqlite3_value_int64(a), y = sqlite3_value_int64(b);
            return (x > y) - (x < y);
        }
        const double x = sqlite3_value_double(a), y = sqlite3_value_double(b);
        return (x > y) - (x < y);
    }
    if (ta == SQLITE_TEXT && jet_text) return text::compare(text_of(a), text_of(b));
    const int na = sqlite3_value_bytes(a), nb = sqlite3_value_bytes(b);
    const int c = std::memcmp(
        ta == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(a)) : sqlite3_value_blob(a),
        tb == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(b)) : sqlite3_value_blob(b),
        static_cast<size_t>(std::min(na, nb)));
    return c ? c : (na > nb) - (na < nb);
}

// jet_min and jet_max keep the least or the greatest value that is not Null (in a
// PickState, given by pick_final).
template <bool Max>
void extreme_step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (is_null(argv[0])) return;
    auto* s = static_cast<PickState*>(sqlite3_aggregate_context(ctx, sizeof(PickState)));
    if (!s) return sqlite3_result_error_nomem(ctx);
    if (s->value) {
        const int c = order(argv[0], s->value, sqlite3_value_int(argv[1]) != 0);
        if (Max ? c <= 0 : c >= 0) return;
    }
    sqlite3_value_free(s->value);
    s->value = sqlite3_value_dup(argv[0]);
    if (!s->value) sqlite3_result_error_nomem(ctx);
}

// Storing aggregates (name + "_s"): the aggregate's own arguments follow the mark
// that jet_mark() gave before they were computed for the row. A row that absorbed a
// failure (the connection's count moved since the mark) fails the group: the rest of
// its rows are not added, and the result is Null of subtype kFailedGroup, which
// jet_group_s turns into an absorbed failure of the stored value that holds it. So
// does a failure the aggregate itself absorbs (a total out of range). The aggregate's
// state takes State bytes and the group's failure flag follows it: the first call of
// sqlite3_aggregate_context sizes the block, and the step's own calls find it.
constexpr unsigned kFailedGroup = 'F';

template <size_t State, void (*Step)(sqlite3_context*, int, sqlite3_value**)>
void storing_step(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    auto* p = static_cast<unsigned char*>(sqlite3_aggregate_context(ctx, State + 1));
    if (!p) return sqlite3_result_error_nomem(ctx);
    if (p[State]) return;
    const auto mark = static_cast<uint64_t>(sqlite3_value_int64(argv[0]));
    const uint64_t& absorbed = variant_of(ctx).connection->absorbed;
    if (absorbed == mark) Step(ctx, argc - 1, argv + 1);
    if (absorbed != mark) p[State] = 1;  // the row's value, or the step, absorbed a failure
}

template <size_t State, void (*Final)(sqlite3_context*)>
void storing_final(sqlite3_context* ctx) {
    const auto* p = static_cast<const unsigned char*>(sqlite3_aggregate_context(ctx, 0));
    const uint64_t absorbed = variant_of(ctx).connection->absorbed;
    Final(ctx);
    if ((p && p[State]) || variant_of(ctx).connection->absorbed != absorbed) {
        sqlite3_result_null(ctx);
        sqlite3_result_subtype(ctx, kFailedGroup);
    }
}

// jet_group_s(x): x, or, when x is the Null of a storing aggregate whose group failed,
// Null and an absorbed failure (see jet_caught).
void group(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_subtype(argv[0]) != kFailedGroup) return sqlite3_result_value(ctx, argv[0]);
    ++variant_of(ctx).connection->absorbed;
    sqlite3_result_null(ctx);
}

int collate(void*, int na, const void* a, int nb, const void* b) {
    return text::compare(std::string_view(static_cast<const char*>(a), static_cast<size_t>(na)),
                         std::string_view(static_cast<const char*>(b), static_cast<size_t>(nb)));
}

using A = FnArg;
using R = FnResult;
using T = DataType;

// The Jet functions a statement may call and the engine's own helpers that the
// emitter writes, in one table: the binder translates calls by it and
// register_functions installs what it names.
constexpr FunctionDef kFunctions[] = {
    // Jet functions: Jet arguments, each handed over as the row says.
    {"nz", "jet_nz", nz, 1, 2, {A::Value, A::Value}, R::First},
    {"round", "jet_round", round, 1, 2, {A::Value, A::Value}, R::Numeric},
    {"year", "jet_year", unary<fn::year>, 1, 1, {A::Value}, R::Fixed, T::Integer},
    {"month", "jet_month", unary<fn::month>, 1, 1, {A::Value}, R::Fixed, T::Integer},
    {"day", "jet_day", unary<fn::day>, 1, 1, {A::Value}, R::Fixed, T::Integer},
    {"format", "jet_format", format, 1, 2, {A::Typed, A::Value}, R::Fixed, T::Text},
    {"val", "jet_val", val, 1, 1, {A::Text}, R::Fixed, T::Double},
    {"trim", "jet_trim", text_fn<fn::trim_view>, 1, 1, {A::Text}, R::TextOrMemo},
    {"ltrim", "jet_ltrim", text_fn<fn::ltrim_view>, 1, 1, {A::Text}, R::TextOrMemo},
    {"rtrim", "jet_rtrim", text_fn<fn::rtrim_view>, 1, 1, {A::Text}, R::TextOrMemo},
    {"ucase", "jet_ucase", text_fn<text::upper>, 1, 1, {A::Text}, R::TextOrMemo},
    {"lcase", "jet_lcase", text_fn<text::lower>, 1, 1, {A::Text}, R::TextOrMemo},
    {"len", "jet_len", len, 1, 1, {A::Text}, R::Fixed, T::Long},
    {"mid", "jet_mid", mid, 2, 3, {A::Text, A::Value, A::Value}, R::Fixed, T::Text},
    {"left", "jet_left", side<false>, 2, 2, {A::Text, A::Value}, R::Fixed, T::Text},
    {"right", "jet_right", side<true>, 2, 2, {A::Text, A::Value}, R::Fixed, T::Text},
    {"cstr", "jet_cstr", totext, 1, 1, {A::Typed}, R::Fixed, T::Text},
    {"clng", "jet_clng", unary<fn::clng>, 1, 1, {A::Value}, R::Fixed, T::Long},
    {"cint", "jet_cint", unary<fn::cint>, 1, 1, {A::Value}, R::Fixed, T::Integer},
    {"cdbl", "jet_cdbl", unary<fn::cdbl>, 1, 1, {A::Value}, R::Fixed, T::Double},
    {"ccur", "jet_ccur", unary<fn::ccur>, 1, 1, {A::Value}, R::Fixed, T::Currency},
    {"cdate", "jet_cdate", unary<fn::cdate>, 1, 1, {A::Value}, R::Fixed, T::Date},
    {"int", "jet_int", whole_numeric<fn::int_>, 1, 1, {A::Value}, R::NumericOrNull},
    {"fix", "jet_fix", whole_numeric<fn::fix>, 1, 1, {A::Value}, R::NumericOrNull},
    {"abs", "jet_abs", whole_numeric<fn::abs>, 1, 1, {A::Value}, R::NumericOrNull},
    // The engine's helpers: SQLite arguments (-1: any number).
    {nullptr, "jet_store", store, 5, 6},
    {nullptr, "jet_totext", totext, 2, 2},
    {nullptr, "jet_concat", concat, -1, -1},
    {nullptr, "jet_curfold", arithfold<Fold::Money>, -1, -1},
    {nullptr, "jet_numfold", arithfold<Fold::Plain>, -1, -1},
    {nullptr, "jet_dblfold", arithfold<Fold::Checked, T::Double>, -1, -1},
    {nullptr, "jet_sglfold", arithfold<Fold::Checked, T::Single>, -1, -1},
    {nullptr, "jet_datefold", arithfold<Fold::Checked, T::Date>, -1, -1},
    {nullptr, "jet_add", add, -1, -1},
    {nullptr, "jet_cur", cur, 1, 1},
    {nullptr, "jet_div", div, 2, 2},
    {nullptr, "jet_intdiv", intdiv<false>, 2, 2},
    {nullptr, "jet_mod", intdiv<true>, 2, 2},
    {nullptr, "jet_pow", power, 2, 2},
    {nullptr, "jet_cmp", cmp, 4, 4},
    {nullptr, "jet_like", like, 2, 2},
    {nullptr, "jet_round", round, 3, 3},  // Round of a value of a given Jet type
    {nullptr, "jet_seq", seq, 1, 1, {}, R::Fixed, T::Long, false},
    {nullptr, "jet_mark", mark, 0, 0, {}, R::Fixed, T::Long, false},
    {nullptr, "jet_caught", caught, 2, 2, {}, R::Fixed, T::Long, false},
    {nullptr, "jet_choose", choose, 2, 2, {}, R::Fixed, T::Long, false},
    {nullptr, "jet_keep", keep, 2, 2, {}, R::Fixed, T::Long, false},
    {nullptr, "jet_chosen", chosen, 3, 3, {}, R::Fixed, T::Long, false},
};

// The functions that never fail on a value (a value that cannot be converted, a
// division by zero): a stored value calls them as themselves.
constexpr std::string_view kNeverFail[] = {"jet_concat", "jet_nz",    "jet_trim",   "jet_ltrim",
                                           "jet_rtrim",  "jet_ucase", "jet_lcase",  "jet_len",
                                           "jet_seq",    "jet_mark",  "jet_caught", "jet_store",
                                           "jet_choose", "jet_keep",  "jet_chosen"};

// The SQLite arguments of a call of a Jet function with n arguments.
int sqlite_arguments(const FunctionDef& f, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += f.arg(i) == FnArg::Typed ? 2 : 1;
    return count;
}

void check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK)
        raise(Fault::Internal, std::string("cannot register ") + what + ": " + sqlite3_errmsg(db));
}

}  // namespace

std::span<const FunctionDef> function_table() {
    return kFunctions;
}

bool has_storing_variant(std::string_view target) {
    return std::find(std::begin(kNeverFail), std::end(kNeverFail), target) == std::end(kNeverFail);
}

const FunctionDef* jet_function(std::string_view name) {
    for (const auto& f : kFunctions)
        if (f.name && name == f.name) return &f;
    return nullptr;
}

void register_functions(sqlite3* db, Session* session) {
    check(db, sqlite3_create_collation_v2(db, "JET", SQLITE_UTF8, nullptr, collate, nullptr),
          "JET");
    // The connection's block lives as long as the registration of jet_mark, which is
    // replaced or dropped only with all the others.
    auto* conn = new Connection(session);
    check(db,
          sqlite3_create_function_v2(
              db, "jet_mark", 0, SQLITE_UTF8, &conn->plain, mark, nullptr, nullptr,
              [](void* p) { delete static_cast<Connection::Variant*>(p)->connection; }),
          "jet_mark");
    // Registers a function as its name and, when it may fail on a value, as its storing
    // variant. A storing variant is never deterministic, so that SQLite computes it for
    // every row between its jet_mark and jet_caught rather than once for the statement.
    using Scalar = void (*)(sqlite3_context*, int, sqlite3_value**);
    using Final = void (*)(sqlite3_context*);
    auto register_one = [&](const std::string& name, int argc, int flags, Connection::Variant* v,
                            Scalar fn, Scalar step, Final final) {
        check(
            db,
            sqlite3_create_function_v2(db, name.c_str(), argc, flags, v, fn, step, final, nullptr),
            name.c_str());
    };
    for (const auto& f : kFunctions) {
        if (f.fn == mark) continue;
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        const std::string storing = std::string(f.target).append(kStoringSuffix);
        for (int n = f.min_args; n <= f.max_args; ++n) {
            const int argc = f.name ? sqlite_arguments(f, n) : n;
            register_one(f.target, argc, flags, &conn->plain, f.fn, nullptr, nullptr);
            if (has_storing_variant(f.target))
                register_one(storing, argc, SQLITE_UTF8, &conn->storing, f.fn, nullptr, nullptr);
        }
    }
    // Aggregates: Sum, Avg, First and Last as themselves (SQLite's own serve the others), and
    // every aggregate as its storing aggregate, which takes the mark first.
    struct Aggregate {
        const char* name;
        int argc;
        Scalar step, storing_step;
        Final final, storing_final;
        bool plain;
    };
    const Aggregate aggregates[] = {
        {"jet_sum", 2, sum_step, storing_step<sizeof(SumState), sum_step>, sum_final,
         storing_final<sizeof(SumState), sum_final>, true},
        {"jet_first", 1, pick_step<false>, storing_step<sizeof(PickState), pick_step<false>>,
         pick_final, storing_final<sizeof(PickState), pick_final>, true},
        {"jet_last", 1, pick_step<true>, storing_step<sizeof(PickState), pick_step<true>>,
         pick_final, storing_final<sizeof(PickState), pick_final>, true},
        {"jet_count", 1, nullptr, storing_step<sizeof(sqlite3_int64), count_step>, nullptr,
         storing_final<sizeof(sqlite3_int64), count_final>, false},
        {"jet_avg", 1, avg_step, storing_step<sizeof(AvgState), avg_step>, avg_final,
         storing_final<sizeof(AvgState), avg_final>, true},
        {"jet_min", 2, nullptr, storing_step<sizeof(PickState), extreme_step<false>>, nullptr,
         storing_final<sizeof(PickState), pick_final>, false},
        {"jet_max", 2, nullptr, storing_step<sizeof(PickState), extreme_step<true>>, nullptr,
         storing_final<sizeof(PickState), pick_final>, false},
    };
    for (const Aggregate& a : aggregates) {
        if (a.plain)
            register_one(a.name, a.argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &conn->plain, nullptr,
                         a.step, a.final);
        register_one(std::string(a.name).append(kStoringSuffix), a.argc + 1, SQLITE_UTF8,
                     &conn->storing, nullptr, a.storing_step, a.storing_final);
    }
    register_one("jet_group_s", 1, SQLITE_UTF8 | SQLITE_SUBTYPE, &conn->storing, group, nullptr,
                 nullptr);
}

}  // namespace jet
