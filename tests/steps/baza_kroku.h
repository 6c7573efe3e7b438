// A database file in a fresh folder with the program's connection open on it, for
// running conversion steps through a ClsKonwersje object: fast waits, scripted
// message-box answers, the registry in a file of the folder, and the end of the
// process turned into a ProcessEnd exception.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/wait.h"

namespace kroki_test {

using Wiersze = std::vector<std::vector<std::string>>;

class BazaKroku : public ::testing::Test {
  protected:
    // Creates an empty database file, opens the connection and sets the database version.
    void Otworz(double wersja) {
        std::string wzor = (std::filesystem::temp_directory_path() / "kroki-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(wzor.data()), nullptr);
        folder = wzor;
        ::setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        platform::set_scripted_answers(std::vector<int>{});
        platform::set_message_output(&komunikaty);
        platform::set_end_hook([](int status) { throw platform::ProcessEnd{status}; });
        jet::CreateOptions o;
        o.password = std::string(kDatabasePassword);
        const std::string sciezka = (folder / "baza.mdb").string();
        jet::Database::create(sciezka, o);
        Sciezka_Bazy = sciezka;
        Uzytkownik_Windows.clear();
        Ustaw_Stale_SQL();
        DbOtwórz();
        ASSERT_NE(Baza_Otwarta, 0);
        Wersja_Bazy = wersja;
    }

    void TearDown() override {
        Krok_Konwersji = 0;
        DbZamknij();
        platform::set_end_hook(nullptr);
        platform::set_message_output(nullptr);
        platform::set_scripted_answers(std::nullopt);
        platform::set_fast_wait(std::nullopt);
        ::unsetenv("ORVIK_REGISTRY");
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }

    // The answers of the next message boxes, in order.
    static void Odpowiedzi(std::vector<int> odp) { platform::set_scripted_answers(std::move(odp)); }

    // Runs a step (or any routine) and returns "" when it returned, otherwise what
    // stopped it: the error that reached the caller, or the end of the process with the
    // message boxes shown and the log.
    template <typename F>
    std::string Uruchom(F&& krok) {
        try {
            krok();
            return "";
        } catch (const jet::Error& e) {
            return "error " + std::to_string(e.signed_number()) + " " + e.description();
        } catch (const platform::ProcessEnd& e) {
            std::ifstream log(folder / "Log");
            std::stringstream tekst;
            tekst << log.rdbuf();
            return "process end " + std::to_string(e.status) + "\n" + komunikaty.str() +
                   tekst.str();
        }
    }
    // Runs the step method m as the version loop does, its number the step being run.
    std::string Krok(MetodaKroku m) {
        for (const auto& [v, metoda] : Zbudowane_Kroki())
            if (metoda == m) Krok_Konwersji = v;
        const std::string wynik = Uruchom([&] { (k.*m)(); });
        Krok_Konwersji = 0;
        return wynik;
    }

    static void Sql(const std::string& tekst) { polaczenie().Execute(tekst); }

    // Every row of a query, each value as text ("Null" for Null).
    static Wiersze Wiersze_Z(const std::string& tekst) {
        ado::Recordset rs;
        rs.Open(tekst, polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
        Wiersze w;
        for (; !rs.Eof(); rs.MoveNext()) {
            std::vector<std::string> wiersz;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const jet::Value v = rs.Fields(i).value();
                wiersz.push_back(v.is_null() ? "Null" : v.to_text());
            }
            w.push_back(std::move(wiersz));
        }
        return w;
    }

    // Every table with its columns and rows.
    static Wiersze Zawartosc() {
        Wiersze w;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
            w.push_back({t->name});
            for (const jet::ColumnInfo& c : t->columns) w.back().push_back(c.name);
            for (auto& r : Wiersze_Z("select * from [" + t->name + "]")) w.push_back(r);
        }
        return w;
    }
    // The one column of a query, as text.
    static std::vector<std::string> Kolumna(const std::string& tekst) {
        std::vector<std::string> k;
        for (auto& w : Wiersze_Z(tekst)) k.push_back(w.at(0));
        return k;
    }

    // True when the statement reads without failing (a table or column that exists).
    static bool Czyta_Sie(const std::string& tekst) {
        try {
            ado::Recordset rs;
            rs.Open(tekst, polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
            return true;
        } catch (const jet::Error&) {
            return false;
        }
    }
    static bool Jest_Tabela(const std::string& t) { return Czyta_Sie("SELECT * FROM [" + t + "]"); }

    // The Jet type (DAO numbering) of a column.
    static int Typ_Pola(const std::string& tabela, const std::string& kolumna) {
        ado::Recordset rs;
        rs.Open("SELECT [" + kolumna + "] FROM [" + tabela + "]", polaczenie(), ado::adOpenStatic,
                ado::adLockReadOnly);
        return rs.Fields(0).Type();
    }

    // The lines of the log that hold tekst.
    std::vector<std::string> Linie_Logu(const std::string& tekst) const {
        std::ifstream plik(folder / "Log");
        std::vector<std::string> linie;
        for (std::string l; std::getline(plik, l);)
            if (l.find(tekst) != std::string::npos) linie.push_back(l);
        return linie;
    }

    std::filesystem::path folder;
    std::ostringstream komunikaty;  // the message boxes shown
    ClsKonwersje k;
};

}  // namespace kroki_test
