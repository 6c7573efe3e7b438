// DAO's Database and the engine's open and create, on the engine stand-in.
#include "jet/database.h"

#include <algorithm>
#include <string>
#include <utility>

#include "dao/dao.h"
#include "dao/internal.h"
#include "jet/session.h"
#include "jet/text.h"

namespace dao {

namespace detail {

jet::Database& live(const std::shared_ptr<jet::Database>& db) {
    if (!db || !db->is_open())
        throw jet::Error(jet::hr::Unspecified, "Object invalid or no longer set.");
    return *db;
}

const jet::TableInfo* table_by_id(const jet::Catalog& catalog, int64_t id) {
    for (const jet::TableInfo* t : catalog.tables())
        if (t->id == id) return t;
    return nullptr;
}

std::optional<std::string> system_table(const jet::Catalog& catalog, std::string_view name) {
    for (std::string& n : catalog.system_table_names())
        if (jet::text::same_name(n, name)) return std::move(n);
    return std::nullopt;
}

void change_schema(jet::Database& db, const std::function<void(jet::Catalog&)>& change) {
    jet::Session& s = db.session();
    s.atomic([&] { change(s.catalog()); });
}

namespace {
std::string& password_slot() {
    static std::string password;
    return password;
}
}  // namespace

const std::string& default_password() {
    return password_slot();
}

}  // namespace detail

void DBEngine::SetDefaultPassword(std::string_view password) {
    detail::password_slot() = std::string(password);
}

std::shared_ptr<Database> DBEngine::OpenDatabase(std::string_view path) {
    return std::make_shared<Database>(
        jet::Database::open(std::string(path), detail::default_password()));
}

std::shared_ptr<Database> DBEngine::CreateDatabase(std::string_view path, std::string_view locale) {
    jet::CreateOptions options;
    options.format_version = "4.0";
    options.locale = std::string(locale);
    options.password = detail::default_password();
    jet::Database::create(std::string(path), options);
    return OpenDatabase(path);
}

Database::Database(std::shared_ptr<jet::Database> db) : db_(std::move(db)) {}

// The engine handle closes with its last owner; a view over a handle that others
// hold (the shell's, a connection's) leaves it open.
Database::~Database() = default;

const std::vector<std::shared_ptr<detail::TableState>>& Database::tabledefs() const {
    if (tabledefs_taken_) return tabledefs_;
    const jet::Catalog& catalog = detail::live(db_).catalog();
    std::vector<std::shared_ptr<detail::TableState>> all;
    for (const jet::TableInfo* t : catalog.tables())
        all.push_back(std::make_shared<detail::TableState>(
            detail::TableState{t->id, t->name, false, std::nullopt}));
    for (std::string& n : catalog.system_table_names())
        all.push_back(std::make_shared<detail::TableState>(
            detail::TableState{0, std::move(n), true, std::nullopt}));
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return jet::text::compare(a->name, b->name) < 0;
    });
    tabledefs_ = std::move(all);
    tabledefs_taken_ = true;
    return tabledefs_;
}

int Database::TableDefCount() const {
    return static_cast<int>(tabledefs().size());
}

TableDef Database::TableDefs(int index) const {
    const auto& all = tabledefs();
    if (index < 0 || index >= static_cast<int>(all.size()))
        jet::raise(jet::Fault::ItemNotFound, std::to_string(index));
    return TableDef(db_, all[static_cast<size_t>(index)]);
}

TableDef Database::TableDefs(std::string_view name) const {
    detail::live(db_);
    return TableDef(db_, std::string(name), false);
}

std::vector<Relation> Database::Relations() const {
    std::vector<Relation> out;
    for (const jet::RelationInfo& r : detail::live(db_).catalog().relations())
        out.push_back(Relation{r.name, r.table, r.foreign_table, r.columns, r.foreign_columns});
    return out;
}

void Database::DeleteRelation(std::string_view name) {
    jet::Database& db = detail::live(db_);
    const auto& relations = db.catalog().relations();
    auto it = std::find_if(relations.begin(), relations.end(), [&](const jet::RelationInfo& r) {
        return jet::text::same_name(r.name, name);
    });
    if (it == relations.end()) jet::raise(jet::Fault::ItemNotFound, name);
    std::string exact = it->name;
    detail::change_schema(db, [&](jet::Catalog& c) { c.drop_relation(exact); });
}

void Database::Execute(std::string_view sql) {
    detail::live(db_).execute(sql);
}

std::string Database::Properties(int index) const {
    const jet::Database& db = detail::live(db_);
    if (index == 6) return db.catalog().properties().format_version;
    jet::raise(jet::Fault::ItemNotFound, std::to_string(index));
}

std::string Database::Name() const {
    return detail::live(db_).path();
}

// Closing a closed database does nothing.
void Database::Close() {
    if (db_ && db_->is_open()) db_->close();
    tabledefs_.clear();
    tabledefs_taken_ = false;
}

jet::Database& Database::engine() {
    return detail::live(db_);
}

}  // namespace dao
