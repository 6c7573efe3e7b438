#include "awaria.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "jet/error.h"
#include "jet/write_hook.h"

namespace awaria {

namespace {

int biezacy = 0;      // the step whose method runs; 0 between steps
long zapisy = 0;      // its writes so far, the one being started included
int krok_awarii = 0;  // KONW_AWARIA's step and write
long zapis_awarii = 0;
bool pelny = false;  // the disk is full: from the step's N-th write on

void przed_zapisem() {
    if (biezacy != 0) ++zapisy;
    if (biezacy != 0 && biezacy == krok_awarii && zapisy >= zapis_awarii) pelny = true;
    if (pelny) jet::raise(jet::Fault::DiskFull);
}

KrokZastepczy opakuj(int v, KrokZastepczy krok, const char* licznik) {
    return [v, krok = std::move(krok), licznik](ClsKonwersje& k) {
        biezacy = v;
        zapisy = 0;
        krok(k);
        biezacy = 0;
        // The disk stays full to the end of the step's unit: the version the loop
        // writes after the method fails too. That the method itself went on to its end
        // says that it absorbed its failed writes.
        if (pelny) std::fprintf(stderr, "awaria: step %d returned after its failed writes\n", v);
        if (licznik == nullptr) return;
        if (FILE* f = std::fopen(licznik, "a")) {
            std::fprintf(f, "%d %ld\n", v, zapisy);
            std::fclose(f);
        }
    };
}

}  // namespace

void zainstaluj(std::map<int, KrokZastepczy>& kroki) {
    const char* opis = std::getenv("KONW_AWARIA");
    const char* licznik = std::getenv("KONW_AWARIA_LICZ");
    if (licznik != nullptr && *licznik == '\0') licznik = nullptr;
    if (opis != nullptr && *opis != '\0') {
        const std::string s = opis;
        size_t k = 0, n = 0;
        const size_t dwukropek = s.find(':');
        try {
            krok_awarii = std::stoi(s.substr(0, dwukropek), &k);
            zapis_awarii = std::stol(s.substr(dwukropek + 1), &n);
        } catch (const std::exception&) {
            k = 0;
        }
        if (dwukropek == std::string::npos || k != dwukropek || n != s.size() - dwukropek - 1 ||
            zapis_awarii <= 0)
            throw std::invalid_argument("KONW_AWARIA is not <step>:<write>: " + s);
    }
    if (krok_awarii == 0 && licznik == nullptr) return;
    for (const auto& [v, metoda] : Zbudowane_Kroki()) {
        if (licznik == nullptr && v != krok_awarii) continue;
        KrokZastepczy krok = [m = metoda](ClsKonwersje& k) { (k.*m)(); };
        if (const auto z = kroki.find(v); z != kroki.end()) krok = z->second;
        if (krok) kroki[v] = opakuj(v, std::move(krok), licznik);
    }
    jet::set_write_hook(przed_zapisem);
}

}  // namespace awaria
