// Values across the SQLite boundary (see sqlvalue.h).
#include "jet/sqlvalue.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "jet/error.h"

namespace jet::detail {

void bind_text(sqlite3_stmt* st, int index, std::string_view s) {
    sqlite3_bind_text64(st, index, s.data() ? s.data() : "", s.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

void result_text(sqlite3_context* ctx, std::string_view s) {
    sqlite3_result_text64(ctx, s.data() ? s.data() : "", s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void bind_value(sqlite3_stmt* st, int index, const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Empty:
        case Value::Kind::Null:
            sqlite3_bind_null(st, index);
            return;
        case Value::Kind::Boolean:
        case Value::Kind::Byte:
        case Value::Kind::Integer:
        case Value::Kind::Long:
            sqlite3_bind_int64(st, index, v.raw_int());
            return;
        case Value::Kind::Currency:
            sqlite3_bind_double(st, index, Currency::from_scaled(v.raw_int()).to_double());
            return;
        case Value::Kind::Single:
        case Value::Kind::Double:
        case Value::Kind::Date:
            sqlite3_bind_double(st, index, v.raw_double());
            return;
        case Value::Kind::Text:
            bind_text(st, index, v.raw_text());
            return;
    }
}

void bind_params(sqlite3_stmt* st, const std::vector<Value>& params) {
    const int n = std::min<int>(static_cast<int>(params.size()), sqlite3_bind_parameter_count(st));
    for (int i = 0; i < n; ++i)
        if (params[i].kind() != Value::Kind::Empty) bind_value(st, i + 1, params[i]);
}

namespace {

// The value as SQLite holds it, with the Jet type it naturally has.
Value natural(sqlite3_value* v, int ct) {
    if (ct == SQLITE_INTEGER) {
        int64_t x = sqlite3_value_int64(v);
        if (x >= INT32_MIN && x <= INT32_MAX) return Value::long_(static_cast<int32_t>(x));
        return Value::dbl(static_cast<double>(x));
    }
    if (ct == SQLITE_FLOAT) return Value::dbl(sqlite3_value_double(v));
    const unsigned char* p = sqlite3_value_text(v);
    return Value::text(std::string(reinterpret_cast<const char*>(p), sqlite3_value_bytes(v)));
}

}  // namespace

Value read_value(sqlite3_stmt* st, int i, DataType t) {
    // Sessions run their connection without a mutex (multi-thread mode), where the
    // column's own sqlite3_value may be read directly: one column call per cell.
    sqlite3_value* cell = sqlite3_column_value(st, i);
    const int ct = sqlite3_value_type(cell);
    if (ct == SQLITE_NULL) return Value::null();
    const bool number = ct == SQLITE_INTEGER || ct == SQLITE_FLOAT;
    if (!number || t == DataType::Text || t == DataType::Memo) return natural(cell, ct);
    // One read of the stored value; whole-number types look at whether it is whole.
    const bool whole = ct == SQLITE_INTEGER;
    const int64_t stored = whole ? sqlite3_value_int64(cell) : 0;
    const double d = whole ? static_cast<double>(stored) : sqlite3_value_double(cell);
    auto as_whole = [&](int64_t lo, int64_t hi) -> std::optional<int64_t> {
        if (whole) {
            if (stored >= lo && stored <= hi) return stored;
        } else if (std::nearbyint(d) == d && d >= static_cast<double>(lo) &&
                   d <= static_cast<double>(hi)) {
            return static_cast<int64_t>(d);
        }
        return std::nullopt;
    };
    switch (t) {
        case DataType::Boolean:
            return Value::boolean(d != 0);
        case DataType::Byte:
            if (auto x = as_whole(0, 255)) return Value::byte(static_cast<uint8_t>(*x));
            break;
        case DataType::Integer:
            if (auto x = as_whole(INT16_MIN, INT16_MAX))
                return Value::integer(static_cast<int16_t>(*x));
            break;
        case DataType::Long:
            if (auto x = as_whole(INT32_MIN, INT32_MAX))
                return Value::long_(static_cast<int32_t>(*x));
            break;
        case DataType::Currency:
        case DataType::Single:
        case DataType::Double:
        case DataType::Date:
            // A number that is no value of its type was never stored, and a value
            // computed for the row that is none (a date past the ends of the range,
            // infinity) is reported as the failure it is.
            if (!in_range(t, d)) throw statement_failure(make_error(Fault::Overflow));
            if (t == DataType::Currency) return Value::currency(Currency::from_double(d));
            if (t == DataType::Single) return Value::single(static_cast<float>(d));
            return t == DataType::Double ? Value::dbl(d) : Value::date(d);
        default:
            break;
    }
    return natural(cell, ct);
}

}  // namespace jet::detail
