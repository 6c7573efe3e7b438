// Helpers of the storage, catalog and DDL tests: scratch files, DDL through SQL
// text, and raw reads of a table's stored values.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/ddl.h"
#include "jet/session.h"
#include "jet/sql/parser.h"

namespace storage_test {

// A scratch folder removed at the end of the test.
class ScratchDir {
  public:
    ScratchDir() {
        std::string tpl = (std::filesystem::temp_directory_path() / "jetstore-XXXXXX").string();
        path_ = mkdtemp(tpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string read_bytes(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return {};
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names of the files in a folder, sorted.
inline std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void ddl(jet::Database& db, const std::string& sql) {
    jet::execute_ddl(db.session(), jet::sql::parse(sql));
}

// The failure number of a DDL statement, 0 when it succeeds.
inline uint32_t ddl_error(jet::Database& db, const std::string& sql, std::string* text = nullptr) {
    try {
        ddl(db, sql);
    } catch (const jet::Error& e) {
        if (text) *text = e.description();
        return e.number();
    }
    return 0;
}

// Runs SQLite text on the session's connection inside the grouped transaction.
inline void raw(jet::Database& db, const std::string& sql) {
    db.session().exec(sql);
}

// The stored values of one column in row order, as SQLite text ("NULL" for Null).
inline std::vector<std::string> column_values(jet::Database& db, const std::string& table,
                                              const std::string& column) {
    const jet::TableInfo* t = db.catalog().table(table);
    const jet::ColumnInfo* c = t ? t->column(column) : nullptr;
    if (!c) ADD_FAILURE() << "no column " << table << "." << column;
    if (!c) return {};
    sqlite3_stmt* st =
        db.session().prepare("SELECT " + c->sql_name + " FROM " + t->sql_name + " ORDER BY rowid");
    std::vector<std::string> out;
    while (db.session().step(st)) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        out.push_back(p ? p : "NULL");
    }
    return out;
}

// Inserts a row of SQLite literals into a table's columns, named in Jet names.
inline void insert_raw(jet::Database& db, const std::string& table,
                       const std::vector<std::string>& columns, const std::string& values) {
    const jet::TableInfo* t = db.catalog().table(table);
    std::string cols;
    for (const auto& c : columns) cols += (cols.empty() ? "" : ", ") + t->column(c)->sql_name;
    raw(db, "INSERT INTO " + t->sql_name + "(" + cols + ") VALUES " + values);
}

}  // namespace storage_test
