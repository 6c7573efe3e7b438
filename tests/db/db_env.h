// A test environment for the database layer: a fresh folder with the registry file, the
// clipboard and a database folder; message boxes answered from a list and recorded;
// waits that return at once; the end of the process turned into a ProcessEnd exception.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <deque>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "db/awaria_zapisu.h"
#include "db/komunikaty.h"
#include "db/polaczenie.h"
#include "db/rejestr.h"
#include "db/stan.h"
#include "jet/database.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/temp_registry.h"
#include "platform/wait.h"

struct Okno {
    std::string tekst;
    int styl;
    std::string tytul;
};

class DbEnv : public TempRegistry {
  protected:
    void SetUp() override {
        TempRegistry::SetUp();
        platform::set_fast_wait(true);
        platform::set_message_output(&raport);
        platform::set_answer_source(
            [this](std::string_view t, int s, std::string_view ti) -> std::optional<int> {
                okna.push_back({std::string(t), s, std::string(ti)});
                if (odpowiedzi.empty()) return std::nullopt;
                const int a = odpowiedzi.front();
                odpowiedzi.pop_front();
                return a;
            });
        poprzedni_hak =
            platform::set_end_hook([](int status) { throw platform::ProcessEnd{status}; });
        Sciezka_Bazy.clear();
        Biezaca_Operacja.clear();
        Uzytkownik.clear();
        Stanowisko.clear();
        Uzytkownik_Windows.clear();
        Wersja_Bazy = 0;
        Baza_Otwarta = 0;
        DbPolaczenie.reset();
        folder = dir / "dane";
        std::filesystem::create_directories(folder);
        baza = (folder / "baza.mdb").string();
    }

    void TearDown() override {
        if (HasFailure()) {
            for (const auto& o : okna)
                std::cerr << "box [" << o.tytul << "] " << o.styl << ": " << o.tekst << '\n';
            for (const auto& l : log()) std::cerr << "log " << l << '\n';
        }
        DbPolaczenie.reset();
        Baza_Otwarta = 0;
        Sciezka_Bazy.clear();
        platform::set_end_hook(poprzedni_hak);
        platform::set_answer_source({});
        platform::set_message_output(nullptr);
        platform::set_fast_wait(std::nullopt);
        TempRegistry::TearDown();
    }

    // Creates the database file with the program's password (in the given format: "3.0"
    // for an Access 97 file) and runs the statements on it.
    void utworz_baze(const std::vector<std::string>& polecenia = {},
                     const std::string& format = "4.0") {
        jet::CreateOptions o;
        o.password = std::string(kDatabasePassword);
        o.format_version = format;
        jet::Database::create(baza, o);
        auto db = jet::Database::open(baza, o.password);
        for (const auto& p : polecenia) db->execute(p);
        db->close();
    }

    // Creates the database and opens it through DbOtwórz.
    void otworz_baze(const std::vector<std::string>& polecenia = {}) {
        utworz_baze(polecenia);
        Sciezka_Bazy = baza;
        DbOtwórz();
        ASSERT_TRUE(Baza_Otwarta);
    }

    // The records of the log beside the database (or of the fallback log), without the
    // surrounding quotes and the date-time field. A record ends with a quote and CR LF
    // before the next record's quote and date; a text may carry line breaks of its own.
    std::vector<std::string> log(bool obok_bazy = true) const {
        const std::string tekst = slurp(obok_bazy ? folder / "Log" : dir / "Rejestr.txt");
        std::vector<std::string> linie;
        size_t pos = 0;
        while (pos < tekst.size()) {
            size_t koniec = tekst.find("\"\r\n", pos);
            while (
                koniec != std::string::npos && koniec + 3 < tekst.size() &&
                !(tekst[koniec + 3] == '"' && std::isdigit(static_cast<unsigned char>(
                                                  tekst[std::min(koniec + 4, tekst.size() - 1)]))))
                koniec = tekst.find("\"\r\n", koniec + 1);
            if (koniec == std::string::npos) koniec = tekst.size() - 1;
            // "yyyy-mm-dd hh:mm:ss,...": the text after the date-time field.
            linie.push_back(koniec >= pos + 21 ? tekst.substr(pos + 21, koniec - pos - 21) : "");
            pos = koniec + 3;
        }
        return linie;
    }

    std::string schowek() const {
        return std::filesystem::exists(platform::clipboard_file())
                   ? slurp(platform::clipboard_file())
                   : std::string("<pusty>");
    }

    std::string znacznik() const { return Czytaj_Rejestr("dodralvex", 0); }

    // Runs f, which must end the process; returns the exit status.
    template <class F>
    int koniec(F f) {
        try {
            f();
        } catch (const platform::ProcessEnd& e) {
            return e.status;
        }
        ADD_FAILURE() << "the process did not end";
        return -1;
    }

    // The environment's failures as the engine reports them: its own conditions (a
    // locked file, a full disk), and SQLite's result codes of the kind, several extended
    // I/O error codes among them.
    std::vector<jet::Error> awarie_srodowiska() {
        std::vector<jet::Error> a = {jet::make_error(jet::Fault::FileLocked),
                                     jet::make_error(jet::Fault::DiskFull)};
        for (const int kod :
             {SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC, SQLITE_IOERR_SHORT_READ, SQLITE_IOERR_LOCK,
              SQLITE_FULL, SQLITE_BUSY_SNAPSHOT, SQLITE_READONLY_DBMOVED, SQLITE_CORRUPT,
              SQLITE_NOTADB, SQLITE_CANTOPEN})
            a.push_back(Blad_Sqlite(kod));
        return a;
    }

    // Runs f once with each environment failure (awarie_srodowiska) failing the next
    // przebiegi writes for a locked file, one write for any other (which no executor runs
    // again at once), the question answered Abort: f must end the process with "0000"
    // after exactly those runs, its last box of style styl naming the failure. Opens the
    // database again after each end.
    template <class F>
    void Awaria_Konczy(int przebiegi, int styl, F f) {
        for (const jet::Error& awaria : awarie_srodowiska()) {
            const std::string& opis = awaria.description();
            SCOPED_TRACE(opis);
            okna.clear();
            odpowiedzi = {vbAbort};
            Awaria_Zapisu a(awaria, jet::file_locked(awaria) ? przebiegi : 1);
            EXPECT_EQ(koniec(f), platform::exit_status::fatal);
            EXPECT_EQ(a.zostalo(), 0);
            EXPECT_EQ(znacznik(), "0000");
            ASSERT_FALSE(okna.empty());
            EXPECT_EQ(okna.back().styl, styl);
            EXPECT_NE((okna.back().tekst + okna.back().tytul).find(opis), std::string::npos)
                << okna.back().tytul;
            Zapisz_Rejestr("dodralvex", "0123", 0);
            DbOtwórz();
            ASSERT_TRUE(Baza_Otwarta);
        }
    }

    // Rows of a query as texts joined by "|".
    std::vector<std::string> wiersze(const std::string& sql) {
        auto c = polaczenie().database().query(sql);
        std::vector<std::string> w;
        while (c->next()) {
            std::string r;
            for (size_t i = 0; i < c->columns().size(); ++i) {
                if (i) r += "|";
                const jet::Value v = c->value(static_cast<int>(i));
                r += v.is_null() ? "Null" : v.to_text();
            }
            w.push_back(r);
        }
        return w;
    }

    std::filesystem::path folder;
    std::string baza;
    std::deque<int> odpowiedzi;
    std::vector<Okno> okna;
    std::ostringstream raport;
    platform::EndHook poprzedni_hak;
};
