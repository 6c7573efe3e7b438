// Rows out: statements run to their end and the forward-only cursor over a query's
// prepared statement.
#include "jet/translate.h"

namespace jet::detail {

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
