// A temporary database file and the program's connection string for it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "ado/ado.h"
#include "ado/connection_string.h"
#include "jet/database.h"

namespace ado_test {

inline constexpr const char* kPassword = "Kv7^pq|Lm3#x9";

// The connection string the program builds, for a file.
inline std::string connection_string(const std::string& path,
                                     const std::string& password = kPassword) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data source=" +
           ado::quoted_value(path) +
           ";Extended Properties=';COUNTRY=0;CP=1252;LANGID=0x0409';Locale Identifier=1033;"
           "Jet OLEDB:System database='';Jet OLEDB:Registry Path='';Jet OLEDB:Database "
           "Password=" +
           password + ";Jet OLEDB:Global Partial Bulk Ops=2";
}

inline std::string temp_path(const char* stem) {
    static std::atomic<int> n{0};
    return (std::filesystem::temp_directory_path() /
            (std::string(stem) + "_" + std::to_string(getpid()) + "_" + std::to_string(n++) +
             ".mdb"))
        .string();
}

inline void remove_database(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(path + suffix);
}

// A fresh database with the program's password and a connection open on it.
class AdoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = temp_path("ado");
        jet::CreateOptions o;
        o.password = kPassword;
        jet::Database::create(path, o);
        conn.Open(connection_string(path), "", "", -1);
    }
    void TearDown() override {
        if (conn.State() == ado::adStateOpen) conn.Close();
        remove_database(path);
    }
    void exec(const std::string& sql) { conn.Execute(sql); }
    // The values of one column of a query, as text ("Null" for Null).
    std::vector<std::string> column(const std::string& sql, int field = 0) {
        ado::Recordset rs;
        rs.Open(sql, conn, ado::adOpenStatic, ado::adLockReadOnly);
        std::vector<std::string> out;
        for (; !rs.Eof(); rs.MoveNext()) {
            const auto v = rs.Fields(field).value();
            out.push_back(v.is_null() ? "Null" : v.to_text());
        }
        return out;
    }

    std::string path;
    ado::Connection conn;
};

using jet::Value;
using Strings = std::vector<std::string>;

}  // namespace ado_test
