// Rows out: SQLite values read back as Values of the column's Jet type, parameters
// bound, and the forward-only cursor over a query's prepared statement.
#include <cmath>
#include <optional>

#include "jet/translate.h"

namespace jet::detail {

void bind_value(sqlite3_stmt* st, int index, const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Empty: return;
        case Value::Kind::Null: sqlite3_bind_null(st, index); return;
        case Value::Kind::Boolean:
        case Value::Kind::Byte:
        case Value::Kind::Integer:
        case Value::Kind::Long: sqlite3_bind_int64(st, index, v.raw_int()); return;
        case Value::Kind::Currency: sqlite3_bind_double(st, index, Currency::from_scaled(v.raw_int()).to_double()); return;
        case Value::Kind::Single:
        case Value::Kind::Double:
        case Value::Kind::Date: sqlite3_bind_double(st, index, v.raw_double()); return;
        case Value::Kind::Text:
            sqlite3_bind_text(st, index, v.raw_text().data(), static_cast<int>(v.raw_text().size()), SQLITE_TRANSIENT);
            return;
    }
}

void bind_params(sqlite3_stmt* st, const std::vector<Value>& params) {
    const int n = std::min<int>(static_cast<int>(params.size()), sqlite3_bind_parameter_count(st));
    for (int i = 0; i < n; ++i) bind_value(st, i + 1, params[i]);
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
        } else if (std::nearbyint(d) == d && d >= static_cast<double>(lo) && d <= static_cast<double>(hi)) {
            return static_cast<int64_t>(d);
        }
        return std::nullopt;
    };
    switch (t) {
        case DataType::Boolean: return Value::boolean(d != 0);
        case DataType::Byte:
            if (auto x = as_whole(0, 255)) return Value::byte(static_cast<uint8_t>(*x));
            break;
        case DataType::Integer:
            if (auto x = as_whole(INT16_MIN, INT16_MAX)) return Value::integer(static_cast<int16_t>(*x));
            break;
        case DataType::Long:
            if (auto x = as_whole(INT32_MIN, INT32_MAX)) return Value::long_(static_cast<int32_t>(*x));
            break;
        case DataType::Currency: return Value::currency(Currency::from_double(d));
        case DataType::Single: return Value::single(static_cast<float>(d));
        case DataType::Double: return Value::dbl(d);
        case DataType::Date: return Value::date(d);
        default: break;
    }
    return natural(cell, ct);
}

int64_t run_to_end(Session& s, sqlite3_stmt* st) {
    while (s.step(st)) {
    }
    return sqlite3_changes64(s.handle());
}

int64_t StatementPlan::execute(Session& s) {
    sqlite3_stmt* st = s.prepare(sql);
    bind_params(st, params);
    return run_to_end(s, st);
}

namespace {

// A statement for SQLite text that a cursor holds in the session's cache while it
// reads (another cursor on the same text gets a statement of its own).
class Lease {
public:
    Lease(Session& s, const std::string& sql) : session_(s), sql_(sql), st_(s.hold(sql)) {}
    ~Lease() { release(); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    sqlite3_stmt* get() const { return st_; }
    void release() {
        if (!st_) return;
        session_.release(sql_, st_);
        st_ = nullptr;
    }

private:
    Session& session_;
    std::string sql_;
    sqlite3_stmt* st_ = nullptr;
};

class SqlCursor : public Cursor {
public:
    SqlCursor(std::shared_ptr<Session> s, std::shared_ptr<const void> keep_alive, const std::string& sql,
              const std::vector<Value>& params, const std::vector<ColumnMeta>& columns)
        : session_(std::move(s)),
          keep_alive_(std::move(keep_alive)),
          columns_(columns),
          lease_(*session_, sql) {
        types_.reserve(columns_.size());
        for (const auto& c : columns_) types_.push_back(c.type);
        bind_params(lease_.get(), params);
    }

    const std::vector<ColumnMeta>& columns() const override { return columns_; }
    bool next() override {
        if (done_) return false;
        if (!session_->handle()) {
            done_ = true;
            lease_.release();
            raise(Fault::Internal, "the database is closed");
        }
        try {
            if (session_->step(lease_.get())) return on_row_ = true;
        } catch (...) {
            done_ = true;
            lease_.release();
            throw;
        }
        done_ = true;
        lease_.release();
        return false;
    }
    Value value(int i) const override {
        if (done_ || !on_row_ || i < 0 || i >= static_cast<int>(columns_.size())) raise(Fault::NoCurrentRecord);
        return read_value(lease_.get(), i, types_[i]);
    }

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<const void> keep_alive_;
    const std::vector<ColumnMeta>& columns_;
    std::vector<DataType> types_;
    Lease lease_;
    bool done_ = false;
    bool on_row_ = false;
};

}  // namespace

std::unique_ptr<Cursor> open_cursor(std::shared_ptr<Session> s, std::shared_ptr<const void> keep_alive,
                                    const std::string& sql, const std::vector<Value>& params,
                                    const std::vector<ColumnMeta>& columns) {
    return std::make_unique<SqlCursor>(std::move(s), std::move(keep_alive), sql, params, columns);
}

void run_query(Session& s, const std::string& sql, const std::vector<Value>& params) {
    Lease lease(s, sql);
    bind_params(lease.get(), params);
    while (s.step(lease.get())) {
    }
}

}  // namespace jet::detail
