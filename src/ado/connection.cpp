// ADO's Connection on the engine stand-in.
#include <filesystem>

#include "ado/ado.h"
#include "ado/connection_string.h"
#include "jet/database.h"
#include "jet/text.h"

namespace ado {

namespace {

constexpr std::string_view kProvider = "Microsoft.Jet.OLEDB.4.0";

// The data source as ADO reports it: the file's full path.
std::string full_path(const std::string& source) {
    std::error_code ec;
    auto p = std::filesystem::absolute(source, ec);
    if (ec) return source;
    return p.lexically_normal().string();
}

}  // namespace

Connection::Connection() = default;

Connection::~Connection() {
    if (db_ && db_->is_open()) {
        try {
            db_->close();
        } catch (...) {
            // A destructor absorbs the failure of the final commit; Close reports it.
        }
    }
}

void Connection::Open(std::string_view connection_string, std::string_view, std::string_view, int) {
    if (State() == adStateOpen) jet::raise(jet::Fault::ObjectOpen);
    const auto cs = ConnectionString::parse(connection_string);
    const auto provider = cs.get("Provider");
    if (!provider || !jet::text::same_name(*provider, kProvider))
        jet::raise(jet::Fault::BadProvider, provider.value_or(""));
    const std::string source = cs.get("Data Source").value_or("");
    if (source.empty()) jet::raise(jet::Fault::FileNotFound, source);
    const std::string password = cs.get("Jet OLEDB:Database Password").value_or("");
    db_ = jet::Database::open(source, password,
                              Mode == adModeRead ? jet::Unwritable::Read : jet::Unwritable::Refuse);
    data_source_ = full_path(source);
}

void Connection::Close() {
    if (State() != adStateOpen) jet::raise(jet::Fault::ObjectClosed);
    auto db = std::move(db_);
    db->close();
}

int Connection::State() const {
    return db_ && db_->is_open() ? adStateOpen : adStateClosed;
}

std::string Connection::Version() const {
    return "2.8";
}

std::string Connection::Properties(int index) const {
    if (index == 7) {
        if (State() != adStateOpen) jet::raise(jet::Fault::ObjectClosed);
        return data_source_;
    }
    jet::raise(jet::Fault::ItemNotFound, std::to_string(index));
}

void Connection::Execute(std::string_view sql, int32_t* records_affected, int) {
    const int64_t n = database().execute(sql);
    if (records_affected) *records_affected = static_cast<int32_t>(n);
}

int Connection::BeginTrans() {
    return database().begin_trans();
}
void Connection::CommitTrans() {
    database().commit_trans();
}
void Connection::RollbackTrans() {
    database().rollback_trans();
}
void Connection::Checkpoint(bool durable) {
    database().checkpoint(durable);
}

jet::Database& Connection::database() {
    return *shared_database();
}

std::shared_ptr<jet::Database> Connection::shared_database() {
    if (State() != adStateOpen) jet::raise(jet::Fault::ObjectClosed);
    return db_;
}

}  // namespace ado
