// The steps that go on over the earlier tool's half-done work by the sweep's proof, against
// the fingerprints of the statements that their proofs were made over (the proofs' file,
// src/driver/kroki_po_przerwaniu_dowody.txt): a step whose statements change needs its
// proof made again.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "crash/wypelnij.h"
#include "db/rejestr.h"
#include "driver/start.h"
#include "jet/trace.h"
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

const char kDowody[] = KONW_SOURCE_DIR "/src/driver/kroki_po_przerwaniu_dowody.txt";

// The statements of the step being run, while it is one of those fingerprinted.
std::vector<std::string>* g_polecenia = nullptr;
void Zapisz_Polecenie(std::string_view sql, int64_t) {
    if (g_polecenia != nullptr) g_polecenia->emplace_back(sql);
}

std::string Wersja(int krok) {
    char w[16];
    std::snprintf(w, sizeof w, "%d.%02d", krok / 100, krok % 100);
    return w;
}

// A step's line of the proofs' file: "odcisk 1.69 STATEMENTS FNV-1a-64 of the texts".
std::string Linia_Odcisku(int krok, const std::vector<std::string>& polecenia) {
    uint64_t h = 0xcbf29ce484222325u;
    for (const std::string& p : polecenia)
        for (const char c : p + '\n') h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    char skrot[17];
    std::snprintf(skrot, sizeof skrot, "%016" PRIx64, h);
    return "odcisk " + Wersja(krok) + " " + std::to_string(polecenia.size()) + " " + skrot;
}

// The observer and the test steps set for the road, removed however it ends.
struct Na_Drodze {
    explicit Na_Drodze(std::map<int, KrokZastepczy> kroki) {
        Podstaw_Kroki(std::move(kroki));
        jet::set_statement_trace(Zapisz_Polecenie);
    }
    ~Na_Drodze() {
        jet::set_statement_trace(nullptr);
        g_polecenia = nullptr;
        Podstaw_Kroki({});
    }
};

// Each proven step's statements (each statement run and each row a recordset writes, texts
// with their literals, in order) on the road of the proofs with rows: the demonstration
// database converted by the version loop, the tables of tests/crash/wiersze.txt given rows
// at the steps' entries.
TEST_F(KrokiTest, ProvenStepsRunTheStatementsTheirProofsWereMadeOver) {
    std::map<int, std::vector<std::string>> polecenia;
    for (const Krok_Po_Przerwaniu& k : Kroki_Po_Przerwaniu())
        if (k.dowod == Dowod_Kroku::Przebieg) polecenia[k.krok];
    std::map<int, std::vector<std::string>> wiersze;
    std::ifstream plik_wierszy(KONW_SOURCE_DIR "/tests/crash/wiersze.txt");
    for (std::string l; std::getline(plik_wierszy, l);) {
        std::istringstream s(l.substr(0, l.find('#')));
        int krok = 0;
        if (!(s >> krok)) continue;
        for (std::string t; s >> t;) wiersze[krok].push_back(t);
    }
    std::map<int, KrokZastepczy> kroki;
    for (const auto& zbudowany : Zbudowane_Kroki()) {
        const int v = zbudowany.first;
        const MetodaKroku metoda = zbudowany.second;
        kroki[v] = [&, v, metoda](ClsKonwersje& k) {
            if (const auto w = wiersze.find(v); w != wiersze.end())
                for (const auto& [tabela, podane] : wypelnij::Tabele(w->second))
                    wypelnij::Wypelnij(polaczenie().database(), tabela, podane);
            const auto p = polecenia.find(v);
            g_polecenia = p == polecenia.end() ? nullptr : &p->second;
            (k.*metoda)();
            g_polecenia = nullptr;
        };
    }
    DbZamknij();
    Zapisz_Rejestr("dodralvex", "0123", 0);
    Zapisz_Rejestr("dodralvexS", path, 0);
    int status = -1;
    try {
        const Na_Drodze droga(std::move(kroki));
        Form_Load();
    } catch (const platform::ProcessEnd& e) {
        status = e.status;
    }
    ASSERT_EQ(status, 0);

    std::vector<std::string> plik;  // the proofs' file but its fingerprints
    std::map<int, std::string> zapisane;
    std::ifstream dowody(kDowody);
    ASSERT_TRUE(dowody);
    for (std::string l; std::getline(dowody, l);) {
        std::istringstream s(l);
        std::string slowo;
        double wersja = 0;
        if (s >> slowo >> wersja && slowo == "odcisk")
            zapisane[static_cast<int>(std::lround(wersja * 100))] = l;
        else
            plik.push_back(l);
    }
    // KONW_ODCISKI_ZAPISZ=STEP,STEP...: those steps' lines are written anew (a step no longer
    // proven by the sweep loses its line).
    const char* zapisz_kroki = std::getenv("KONW_ODCISKI_ZAPISZ");
    std::istringstream nowe(zapisz_kroki ? zapisz_kroki : "");
    bool zapisz = false;
    for (std::string k; std::getline(nowe, k, ',');) {
        const int krok = std::stoi(k);
        zapisane.erase(krok);
        if (const auto p = polecenia.find(krok); p != polecenia.end())
            zapisane[krok] = Linia_Odcisku(krok, p->second);
        zapisz = true;
    }
    if (zapisz) {
        std::ofstream out(kDowody, std::ios::trunc);
        for (const std::string& l : plik) out << l << '\n';
        for (const auto& [krok, l] : zapisane) out << l << '\n';
    }
    for (const auto& [krok, p] : polecenia) {
        const std::string linia = Linia_Odcisku(krok, p);
        const auto z = zapisane.find(krok);
        if (z == zapisane.end() || z->second != linia)
            ADD_FAILURE() << "step " << Wersja(krok)
                          << " runs other statements than its proof was made over (now \"" << linia
                          << "\", recorded \"" << (z == zapisane.end() ? "none" : z->second)
                          << "\"): make its proof again (tests/crash/stops_in_steps.sh "
                             "zabij:steps:"
                          << krok << ", with and without --rows) and then its line "
                          << "(KONW_ODCISKI_ZAPISZ=" << krok << " and this test)";
    }
    for (const auto& [krok, l] : zapisane)
        if (!polecenia.count(krok))
            ADD_FAILURE() << "\"" << l << "\" is of no step that its sweep proves (drop it: "
                          << "KONW_ODCISKI_ZAPISZ=" << krok << " and this test)";
}

}  // namespace
}  // namespace kroki_test
