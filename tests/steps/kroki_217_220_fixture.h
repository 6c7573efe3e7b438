// A database of the suite opened on the process connection, as the version loop sees
// it: the path set, the connection open, waits at once, scripted message-box answers,
// the registry and the clipboard in a temporary folder, and the end of the process
// turned into an exception.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ado/ado.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/wait.h"

namespace kroki_test {

using Rows = std::vector<std::vector<std::string>>;

class KrokTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> n{0};
        dir = std::filesystem::temp_directory_path() /
              ("kroki217_" + std::to_string(getpid()) + "_" + std::to_string(n++));
        std::filesystem::create_directories(dir);
        setenv("ORVIK_REGISTRY", (dir / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        platform::set_scripted_answers(std::vector<int>{});
        platform::set_message_output(&boxes);
        platform::set_end_hook([](int status) { throw platform::ProcessEnd{status}; });
        path = (dir / "baza.mdb").string();
        jet::CreateOptions o;
        o.password = std::string(kDatabasePassword);
        jet::Database::create(path, o);
        Sciezka_Bazy = path;
        DbOtwórz();
        ASSERT_NE(Baza_Otwarta, 0);
        Ustaw_Stale_SQL();
        Uzytkownik_Windows.clear();
    }

    void TearDown() override {
        if (HasFailure()) {  // what the step said, for the reader of the failure
            std::cerr << "message boxes:\n" << boxes.str() << "log:\n";
            std::ifstream log(dir / "Log");
            std::cerr << log.rdbuf() << "\n";
        }
        DbZamknij();
        platform::set_end_hook(nullptr);
        platform::set_scripted_answers(std::nullopt);
        platform::set_message_output(nullptr);
        platform::set_fast_wait(std::nullopt);
        std::filesystem::remove_all(dir);
    }

    void exec(const std::string& sql) { polaczenie().Execute(sql); }
    void exec(std::initializer_list<const char*> sqls) {
        for (const char* s : sqls) exec(s);
    }

    // The rows of a query, each value as text ("Null" for Null).
    Rows rows(const std::string& sql) {
        ado::Recordset rs;
        rs.Open(sql, polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
        Rows out;
        for (; !rs.Eof(); rs.MoveNext()) {
            std::vector<std::string> r;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const auto v = rs.Fields(i).value();
                r.push_back(v.is_null() ? "Null" : v.to_text());
            }
            out.push_back(r);
        }
        return out;
    }
    std::string value(const std::string& sql) {
        const Rows r = rows(sql);
        return r.empty() ? "<none>" : r[0][0];
    }
    bool table_exists(const std::string& name) {
        try {
            rows("SELECT * FROM [" + name + "]");
            return true;
        } catch (const jet::Error&) {
            return false;
        }
    }

    std::filesystem::path dir;
    std::string path;
    std::ostringstream boxes;  // the message boxes shown
    ClsKonwersje k;
};

}  // namespace kroki_test
