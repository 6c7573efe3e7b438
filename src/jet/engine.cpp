// Database::execute and Database::query: statement text to parse tree (cached by
// text), DDL to the schema executor, everything else to the translator, whose plans
// are cached by text and catalog version so that a repeated statement costs a hash
// lookup and reuses its prepared SQLite statements. Every statement runs atomically.
#include <algorithm>

#include "jet/ddl.h"
#include "jet/sql/parser.h"
#include "jet/trace.h"
#include "jet/translate.h"
#include "jet/write_hook.h"

namespace jet {

namespace detail {

namespace {

TranslationCache& cache_of(Session& s) {
    auto& slot = s.translation_cache();
    if (!slot) slot = std::make_shared<TranslationCache>();
    return *static_cast<TranslationCache*>(slot.get());
}

bool is_ddl(const sql::Statement& st) {
    return !std::holds_alternative<sql::Select>(st) && !std::holds_alternative<sql::Insert>(st) &&
           !std::holds_alternative<sql::Update>(st) && !std::holds_alternative<sql::Delete>(st);
}

std::shared_ptr<Plan> translate(Session& s, const sql::Statement& st) {
    if (auto* q = std::get_if<sql::Select>(&st)) return plan_select(s, *q);
    if (auto* q = std::get_if<sql::Insert>(&st)) return plan_insert(s, *q);
    if (auto* q = std::get_if<sql::Update>(&st)) return plan_update(s, *q);
    if (auto* q = std::get_if<sql::Delete>(&st)) return plan_delete(s, *q);
    raise(Fault::Internal, "not a query");
}

void databases_of(const sql::TableRef& r, std::vector<std::string>& out) {
    if (r.kind == sql::TableRef::Kind::Table) {
        out.push_back(r.database);
        return;
    }
    databases_of(*r.left, out);
    databases_of(*r.right, out);
}

// The path written before the table of a DDL statement ("" when none, and for
// CREATE TABLE, which names no path).
const std::string& ddl_database(const sql::Statement& st) {
    static const std::string none;
    if (auto* q = std::get_if<sql::AlterTable>(&st)) return q->database;
    if (auto* q = std::get_if<sql::CreateIndex>(&st)) return q->database;
    if (auto* q = std::get_if<sql::DropIndex>(&st)) return q->database;
    if (auto* q = std::get_if<sql::DropTable>(&st)) return q->database;
    return none;
}

// Notes in the entry which other file, if any, the statement is about. A DDL
// statement on a table of another file runs wholly there; one whose path names the
// open file is about the open file's table.
void find_other_file(TranslationCache::Entry& e, const std::string& own) {
    if (is_ddl(*e.statement)) {
        const std::string& d = ddl_database(*e.statement);
        if (!d.empty() && !same_file(d, own)) {
            e.other_file = d;
            e.whole = true;
        }
        return;
    }
    std::vector<std::string> reads;
    std::optional<std::string> target;
    if (auto* q = std::get_if<sql::Select>(e.statement.get())) {
        for (const auto& f : q->from) databases_of(*f, reads);
        if (!q->into.empty()) target = q->into_database;
    } else if (auto* q = std::get_if<sql::Insert>(e.statement.get())) {
        target = q->database;
        if (q->select)
            for (const auto& f : q->select->from) databases_of(*f, reads);
    } else if (auto* q = std::get_if<sql::Update>(e.statement.get())) {
        databases_of(*q->target, reads);
    } else if (auto* q = std::get_if<sql::Delete>(e.statement.get())) {
        for (const auto& f : q->from) databases_of(*f, reads);
    }
    auto other = [&](const std::string& d) { return !d.empty() && !same_file(d, own); };
    std::string file;
    for (const auto& d : reads)
        if (other(d)) file = d;
    if (target && other(*target)) file = *target;
    if (file.empty()) return;
    auto in_file = [&](const std::string& d) { return !d.empty() && same_file(d, file); };
    // An INSERT ... VALUES reads nothing: its target alone decides.
    bool reads_there = true;
    for (const auto& d : reads) reads_there = reads_there && in_file(d);
    if (reads_there && (!target || in_file(*target))) {
        e.other_file = file;
        e.whole = true;
    } else if (reads_there && target && !other(*target) &&
               std::holds_alternative<sql::Select>(*e.statement)) {
        e.other_file = file;
    }
}

}  // namespace

TranslationCache::Entry& TranslationCache::add(std::string sql, Entry e) {
    if (slots_.size() >= kMaxEntries) {
        // The use times are distinct: the quarter used longest ago goes.
        std::vector<uint64_t> times;
        times.reserve(slots_.size());
        for (const auto& [text, slot] : slots_) times.push_back(slot.used);
        auto cut = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 4);
        std::nth_element(times.begin(), cut, times.end());
        std::erase_if(slots_, [cut = *cut](const auto& kv) { return kv.second.used < cut; });
    }
    Slot& slot = slots_.emplace(std::move(sql), Slot{std::move(e), ++clock_}).first->second;
    return slot.entry;
}

std::shared_ptr<TranslationCache> translation_cache(Session& s) {
    cache_of(s);
    return std::static_pointer_cast<TranslationCache>(s.translation_cache());
}

TranslationCache::Entry& cached_statement(Session& s, std::string_view sql) {
    TranslationCache& c = cache_of(s);
    if (auto* found = c.find(sql)) return *found;
    TranslationCache::Entry e{
        std::make_shared<const sql::Statement>(sql::parse(sql)), nullptr, {}, false};
    find_other_file(e, s.path());
    return c.add(std::string(sql), std::move(e));
}

std::shared_ptr<Plan> cached_plan(Session& s, TranslationCache::Entry& e) {
    const uint64_t v = s.catalog().version();
    if (e.plan && e.plan->version == v) return e.plan;
    e.plan.reset();
    auto p = translate(s, *e.statement);
    p->version = v;
    e.plan = p;
    return p;
}

}  // namespace detail

namespace {

Session& session_of(const std::shared_ptr<Session>& s, bool open) {
    if (!s || !open) raise(Fault::Internal, "the database is closed");
    return *s;
}

// Another database file, opened for a statement about it: without a password, or
// with the open database's own.
std::shared_ptr<Database> open_other(const std::string& path, Session& own) {
    try {
        return Database::open(path);
    } catch (const Error& e) {
        if (e.number() != hr::WrongPassword) throw;
    }
    return Database::open(path, own.catalog().properties().password);
}

// A cursor that keeps the database it reads open.
class HoldingCursor : public Cursor {
  public:
    HoldingCursor(std::shared_ptr<Database> db, std::unique_ptr<Cursor> inner)
        : db_(std::move(db)), inner_(std::move(inner)) {}
    const std::vector<ColumnMeta>& columns() const override { return inner_->columns(); }
    bool next() override { return inner_->next(); }
    Value value(int i) const override { return inner_->value(i); }

  private:
    std::shared_ptr<Database> db_;
    std::unique_ptr<Cursor> inner_;
};

// SELECT ... INTO a new table of this database from tables of another file: the rows
// are read there and written here, into a table shaped by the query's columns.
int64_t copy_into(Session& s, Session& other, std::shared_ptr<Session> other_ptr,
                  const sql::Select& q) {
    auto rows = detail::plan_query(other, q)->open(std::move(other_ptr), false);
    int64_t n = 0;
    s.atomic([&] {
        Catalog& cat = s.catalog();
        if (cat.table(q.into)) raise(Fault::TableExists, q.into);
        std::vector<ColumnSpec> specs;
        for (const auto& m : rows->columns()) {
            ColumnSpec c;
            c.name = m.name;
            c.type = m.type;
            c.size = m.type == DataType::Text ? (m.size > 0 ? m.size : kMaxTextSize) : m.size;
            c.counter = m.counter;
            specs.push_back(c);
        }
        const TableInfo& t = cat.create_table(q.into, specs);
        std::string sql = "INSERT INTO " + t.sql_name + " (", values;
        for (size_t i = 0; i < t.columns.size(); ++i) {
            sql += (i ? ", " : "") + t.columns[i].sql_name;
            values += (i ? ", ?" : "?") + std::to_string(i + 1);
        }
        sqlite3_stmt* st = s.prepare(sql + ") VALUES (" + values + ")");
        const int width = static_cast<int>(specs.size());
        while (rows->next()) {
            for (int i = 0; i < width; ++i) detail::bind_value(st, i + 1, rows->value(i));
            while (s.step(st)) {
            }
            ++n;
        }
    });
    return n;
}

// Shows the shape observer the statement or query as parsed, with the catalog as it stands;
// not a statement about another file, nor one the parser refuses.
void observe_shape(const std::shared_ptr<Session>& session, bool open, std::string_view sql, bool query) {
    if (detail::shape_observer == nullptr) return;
    try {
        Session& s = session_of(session, open);
        const auto& e = detail::cached_statement(s, sql);
        if (!e.other_file.empty()) return;
        detail::shape_observer->statement(sql, *e.statement, s.catalog(), query);
    } catch (const Error&) {
    }
}

class EmptyCursor : public Cursor {
  public:
    const std::vector<ColumnMeta>& columns() const override { return columns_; }
    bool next() override { return false; }
    Value value(int) const override { raise(Fault::NoCurrentRecord); }

  private:
    std::vector<ColumnMeta> columns_;
};

}  // namespace

int64_t Database::execute(std::string_view sql) {
    const auto run = [&]() -> int64_t {
        Session& s = session_of(session_, open_);
        s.forget_interrupt();
        auto& e = detail::cached_statement(s, sql);
        std::shared_ptr<const sql::Statement> st = e.statement;
        int64_t affected = 0;
        if (!e.other_file.empty()) {
            // A statement about another file runs there; a SELECT ... INTO here from
            // another file copies its rows.
            auto other = open_other(e.other_file, s);
            if (e.whole) return other->execute(sql);
            return copy_into(s, *other->session_, other->session_, std::get<sql::Select>(*st));
        }
        // Planned under the write lock, from the catalog as committed.
        s.begin_write();
        if (detail::is_ddl(*st)) {
            s.atomic([&] { execute_ddl(s, *st); });
            return 0;
        }
        std::shared_ptr<detail::Plan> plan = detail::cached_plan(s, e);
        if (reports::enabled()) reports::detail::set_statement(sql);
        if (plan->one_statement())
            s.atomic_statement([&] { affected = plan->execute(s); });
        else
            s.atomic([&] { affected = plan->execute(s); });
        return affected;
    };
    if (!detail::observed) return run();
    int64_t affected = -1;
    try {
        affected = run();
    } catch (...) {
        detail::trace_statement(sql, -1);
        observe_shape(session_, open_, sql, false);
        throw;
    }
    detail::trace_statement(sql, affected);
    observe_shape(session_, open_, sql, false);
    return affected;
}



std::unique_ptr<Cursor> Database::query(std::string_view sql) {
    return query(sql, QueryOptions{});
}

std::unique_ptr<Cursor> Database::query(std::string_view sql, const QueryOptions& options) {
    Session& s = session_of(session_, open_);
    s.forget_interrupt();
    auto& e = detail::cached_statement(s, sql);
    const auto* select = std::get_if<sql::Select>(e.statement.get());
    if (!select || !select->into.empty()) {
        // A statement that returns no rows runs and gives an empty result.
        execute(sql);
        return std::make_unique<EmptyCursor>();
    }
    if (e.whole) {
        auto other = open_other(e.other_file, s);
        auto rows = other->query(sql, options);
        return std::make_unique<HoldingCursor>(std::move(other), std::move(rows));
    }
    before_read_statement(sql);
    // Planned from the catalog and read in one read transaction, which the rows' statement
    // keeps until it is done.
    if (detail::observed) observe_shape(session_, open_, sql, true);
    s.begin_read();
    struct Idle {
        Session& s;
        ~Idle() { s.end_read_if_idle(); }
    } idle{s};
    return detail::cached_plan(s, e)->open(session_, options.row_ids);
}

}  // namespace jet
