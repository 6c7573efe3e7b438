// A release 1.65 database in a fresh folder, the program's connection open on it, and the
// conversion object that runs steps over it. Fast waits, scripted message-box answers and
// an end hook that throws in place of ending the process.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "baza/baza.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/wait.h"

namespace kroki_test {

using jet::Value;
using Wiersze = std::vector<std::vector<std::string>>;

class KrokiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kroki-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        ::setenv("ORVIK_REGISTRY", (dir / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        platform::set_scripted_answers(std::vector<int>{});
        platform::set_end_hook([](int status) { throw platform::ProcessEnd{status}; });
        Ustaw_Stale_SQL();
        path = (dir / "baza.mdb").string();
        baza::zbuduj_baze_165(path, baza::Opcje{});
        Sciezka_Bazy = path;
        DbOtwórz();
        ASSERT_EQ(Baza_Otwarta, -1);
        Wersja_Bazy = 1.65;
    }
    void TearDown() override {
        Krok_Konwersji = 0;
        DbZamknij();
        platform::set_end_hook({});
        platform::set_scripted_answers(std::nullopt);
        platform::set_fast_wait(std::nullopt);
        ::unsetenv("ORVIK_REGISTRY");
        std::filesystem::remove_all(dir);
    }

    // Runs every built step after od up to do_ (step numbers), as the version loop does.
    void kroki(int od, int do_) {
        for (const auto& [v, metoda] : Zbudowane_Kroki())
            if (v > od && v <= do_) {
                Krok_Konwersji = v;
                (k.*metoda)();
                Krok_Konwersji = 0;
            }
    }

    void sql(const std::string& tekst) { polaczenie().Execute(tekst); }

    // The rows of a query, every value as text ("Null" for Null).
    Wiersze wiersze(const std::string& tekst) {
        auto c = polaczenie().database().query(tekst);
        Wiersze w;
        while (c->next()) {
            w.emplace_back();
            for (size_t i = 0; i < c->columns().size(); ++i) {
                const Value v = c->value(static_cast<int>(i));
                w.back().push_back(v.is_null() ? "Null" : v.to_text());
            }
        }
        return w;
    }
    // The first column of a query.
    std::vector<std::string> kolumna(const std::string& tekst) {
        std::vector<std::string> k;
        for (const auto& w : wiersze(tekst)) k.push_back(w.at(0));
        return k;
    }
    std::string jedna(const std::string& tekst) {
        const auto w = wiersze(tekst);
        return w.empty() ? "<brak>" : w.at(0).at(0);
    }
    bool jest_tabela(const std::string& nazwa) {
        return polaczenie().database().catalog().table(nazwa) != nullptr;
    }

    std::filesystem::path dir;
    std::string path;
    ClsKonwersje k;
};

}  // namespace kroki_test
