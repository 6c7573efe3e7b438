// Database::execute and Database::query: statement text to parse tree (cached by
// text), DDL to the schema executor, everything else to the translator, whose plans
// are cached by text and catalog version so that a repeated statement costs a hash
// lookup and reuses its prepared SQLite statements. Every statement runs atomically.
#include "jet/ddl.h"
#include "jet/sql/parser.h"
#include "jet/translate.h"

namespace jet {

namespace detail {

namespace {

// Entries kept before the cache starts over (the program has a few thousand statements).
constexpr size_t kMaxEntries = 8192;

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

}  // namespace

std::shared_ptr<TranslationCache> translation_cache(Session& s) {
    cache_of(s);
    return std::static_pointer_cast<TranslationCache>(s.translation_cache());
}

TranslationCache::Entry& cached_statement(Session& s, std::string_view sql) {
    TranslationCache& c = cache_of(s);
    auto it = c.entries.find(sql);
    if (it != c.entries.end()) return it->second;
    auto st = std::make_shared<const sql::Statement>(sql::parse(sql));
    if (c.entries.size() >= kMaxEntries) c.entries.clear();
    return c.entries.emplace(std::string(sql), TranslationCache::Entry{std::move(st), nullptr}).first->second;
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
    Session& s = session_of(session_, open_);
    auto& e = detail::cached_statement(s, sql);
    std::shared_ptr<const sql::Statement> st = e.statement;
    int64_t affected = 0;
    if (detail::is_ddl(*st)) {
        s.atomic([&] { execute_ddl(s, *st); });
        return 0;
    }
    std::shared_ptr<detail::Plan> plan = detail::cached_plan(s, e);
    s.atomic([&] { affected = plan->execute(s); });
    return affected;
}

std::unique_ptr<Cursor> Database::query(std::string_view sql) { return query(sql, QueryOptions{}); }

std::unique_ptr<Cursor> Database::query(std::string_view sql, const QueryOptions& options) {
    Session& s = session_of(session_, open_);
    auto& e = detail::cached_statement(s, sql);
    const auto* select = std::get_if<sql::Select>(e.statement.get());
    if (!select || !select->into.empty()) {
        // A statement that returns no rows runs and gives an empty result.
        execute(sql);
        return std::make_unique<EmptyCursor>();
    }
    return detail::cached_plan(s, e)->open(session_, options.row_ids);
}

}  // namespace jet
