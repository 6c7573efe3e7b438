// Shared set-up of the DAO tests: database files in a scratch folder, and a way to
// run statements and read single values through the engine as ADO would.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "jet/database.h"
#include "jet/text.h"

namespace daotest {

inline constexpr const char* kPassword = "haslo";
inline constexpr const char* kLocale = ";LANGID=0x0415;CP=1250;COUNTRY=0";

class DaoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("dao_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        dao::DBEngine::SetDefaultPassword(kPassword);
    }
    void TearDown() override {
        dao::DBEngine::SetDefaultPassword("");
        std::filesystem::remove_all(dir_);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // A new database file carrying the suite's password, in the given format.
    std::string make_db(const std::string& name = "baza.mdb", const std::string& format = "4.0") {
        jet::CreateOptions o;
        o.format_version = format;
        o.locale = kLocale;
        o.password = kPassword;
        jet::Database::create(path(name), o);
        return path(name);
    }

    // An engine handle on a file, as an ADO connection holds it.
    static std::shared_ptr<jet::Database> engine(const std::string& file) {
        return jet::Database::open(file, kPassword);
    }

    // The values of the first column of a query, as texts.
    static std::vector<std::string> column_texts(jet::Database& db, const std::string& sql) {
        std::vector<std::string> out;
        auto cur = db.query(sql);
        while (cur->next())
            out.push_back(cur->value(0).is_null() ? "<null>" : cur->value(0).to_text());
        return out;
    }

    // The names of the TableDefs in collection order; system tables left out when asked.
    static std::vector<std::string> table_names(const dao::Database& db, bool with_system) {
        std::vector<std::string> out;
        for (int i = 0; i < db.TableDefCount(); ++i) {
            dao::TableDef t = db.TableDefs(i);
            if (with_system || !t.IsSystem()) out.push_back(t.Name());
        }
        return out;
    }

    std::filesystem::path dir_;
};

// Runs f and returns the description of the jet::Error it raises ("" when none).
template <class F>
std::string failure_of(F&& f) {
    try {
        f();
    } catch (const jet::Error& e) {
        return e.description();
    }
    return "";
}

}  // namespace daotest
