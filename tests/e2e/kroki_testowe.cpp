// konwersja with test steps in place of step methods, for the end-to-end tests that
// need a step to complete, to fail or to be killed. The steps come from KONW_KROKI, a
// comma-separated list of NUMBER=ACTION, where NUMBER may be "*" (every step method) or
// "zbudowane" (every step method this build has, so that a run stops at the first one
// it lacks):
//   ok     inserts the step number into the table Kroki and returns;
//   blad   inserts, then reads a table that does not exist outside the executors;
//   sql    inserts, then sends a statement that fails beyond repair to the main executor;
//   zabij  inserts, then kills the process (no end of any kind runs);
//   brak   the step counts as not built: the run stops as at a step this build lacks;
//   zabij_po  runs the built step, then kills the process before its version is recorded;
//   bez_rejestru  inserts, then puts a folder in place of the registry file, so that no
//              later registry write succeeds;
//   dao, ponownie, czekaj  insert, then (joined by "+", in their order) open a DAO view
//              of the database, read its tables and close it; close the connection and
//              open it again; create "czekam-NUMBER" beside the database and wait until
//              "dalej-NUMBER" appears there (the step's insert not yet committed), five
//              minutes at most.
// The last two touch nothing of their own, so they serve on any database of the suite.
// KONW_AWARIA and KONW_AWARIA_LICZ inject a full disk into a step's writes (from its
// N-th write on, or at its N-th write only), or the engine's refusal of a row's save part
// way, and count each step's writes (awaria.h).
// Otherwise it is the program itself.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "awaria.h"
#include "dao/dao.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "driver/start.h"
#include "jet/error.h"
#include "platform/paths.h"

namespace {

KrokZastepczy krok(int v, const std::string& akcja) {
    if (akcja == "brak") return nullptr;
    if (akcja == "zabij_po") {
        const auto z = Zbudowane_Kroki().find(v);
        const MetodaKroku metoda = z == Zbudowane_Kroki().end() ? nullptr : z->second;
        return [metoda](ClsKonwersje& k) {
            if (metoda != nullptr) (k.*metoda)();
            std::raise(SIGKILL);
        };
    }
    return [v, akcja](ClsKonwersje& k) {
        k.DbWykonajKonwersje("INSERT INTO Kroki (v) VALUES (" + std::to_string(v) + ")");
        if (akcja == "blad") polaczenie().Execute("UPDATE Brak_Tabeli SET a=1");
        if (akcja == "sql") k.DbWykonajKonwersje("UPDATE Kroki SET v=1 WHERE v='abc'");
        if (akcja == "zabij") std::raise(SIGKILL);
        if (akcja == "bez_rejestru") {
            std::filesystem::remove(platform::registry_file());
            std::filesystem::create_directory(platform::registry_file());
        }
        std::istringstream czesci(akcja);
        for (std::string czesc; std::getline(czesci, czesc, '+');) {
            if (czesc == "dao") {
                auto widok = dao::DBEngine::OpenDatabase(Sciezka_Bazy);
                (void)widok->TableDefCount();
                widok->Close();
            } else if (czesc == "ponownie") {
                DbZamknij_Unload(0);
                DbOtwórz();
            } else if (czesc == "czekaj") {
                const auto obok = std::filesystem::path(Sciezka_Bazy).parent_path();
                const std::string numer = std::to_string(v);
                std::ofstream(obok / ("czekam-" + numer)).put('\n');
                // At most five minutes: a test that stopped leaves no run behind.
                for (int i = 0; i < 15000 && !std::filesystem::exists(obok / ("dalej-" + numer));
                     ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    };
}

}  // namespace

int main() {
    std::map<int, KrokZastepczy> kroki;
    const char* opis = std::getenv("KONW_KROKI");
    std::istringstream lista(opis ? opis : "");
    std::string para;
    while (std::getline(lista, para, ',')) {
        const auto rowna = para.find('=');
        if (rowna == std::string::npos) continue;
        const std::string numer = para.substr(0, rowna), akcja = para.substr(rowna + 1);
        if (numer == "*") {
            for (int v = 165; v <= 646; ++v)
                if (Akcja_Kroku(v).rodzaj == RodzajKroku::Metoda) kroki[v] = krok(v, akcja);
        } else if (numer == "zbudowane") {
            for (const auto& [v, metoda] : Zbudowane_Kroki()) kroki[v] = krok(v, akcja);
        } else {
            kroki[std::stoi(numer)] = krok(std::stoi(numer), akcja);
        }
    }
    awaria::zainstaluj(kroki);
    Podstaw_Kroki(std::move(kroki));
    Form_Load();
}
