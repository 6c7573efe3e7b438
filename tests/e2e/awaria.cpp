// The fault injector of the sweep of stops inside steps (awaria.h): the engine's write
// hook counts the writes of the step whose method runs and fails the chosen one with a
// full disk, from then on or once; each step's method is wrapped to set the count and
// to report what the step did after its failed write.
#include "awaria.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "db/polaczenie.h"
#include "jet/error.h"
#include "jet/write_hook.h"

namespace awaria {

namespace {

int biezacy = 0;      // the step whose method runs; 0 between steps
long zapisy = 0;      // its writes so far, the one being started included
int krok_awarii = 0;  // KONW_AWARIA's step and write
long zapis_awarii = 0;
bool chwilowa = false;  // only the N-th write fails
bool zabij = false;     // the writes before the N-th are committed, the process killed
bool zawiodl = false;   // the N-th write of the step failed
bool pelny = false;     // the disk is full: from the step's N-th write on

void przed_zapisem() {
    if (biezacy != 0) ++zapisy;
    if (biezacy != 0 && biezacy == krok_awarii && zapisy == zapis_awarii) {
        if (zabij) {
            // The hook runs before the write touches anything, between statements: the
            // commit takes exactly the writes that came before it.
            try {
                polaczenie().Checkpoint(true);
            } catch (const jet::Error& e) {
                std::fprintf(stderr, "awaria: the commit before write %ld of step %d failed: %s\n",
                             zapisy, biezacy, e.description().c_str());
                std::_Exit(3);
            }
            std::raise(SIGKILL);
        }
        zawiodl = true;
        pelny = !chwilowa;
        jet::raise(jet::Fault::DiskFull);
    }
    if (pelny) jet::raise(jet::Fault::DiskFull);
}

KrokZastepczy opakuj(int v, KrokZastepczy krok, const char* licznik) {
    return [v, krok = std::move(krok), licznik](ClsKonwersje& k) {
        biezacy = v;
        zapisy = 0;
        krok(k);
        biezacy = 0;
        // With a full disk, the disk stays full to the end of the step's unit: the
        // version the loop writes after the method fails too. That the method itself
        // went on to its end says that it absorbed its failed writes; after a transient
        // failure, that it absorbed it or made the write again.
        if (zawiodl)
            std::fprintf(stderr, "awaria: step %d returned after its failed write (%ld writes)\n",
                         v, zapisy);
        if (licznik == nullptr) return;
        if (FILE* f = std::fopen(licznik, "a")) {
            std::fprintf(f, "%d %ld\n", v, zapisy);
            std::fclose(f);
        }
    };
}

// Reads "<step>:<N>" or "<step>:<N>:chwilowa" into the step, the write and the mode.
void czytaj(const std::string& s) {
    const size_t d1 = s.find(':');
    const size_t d2 = d1 == std::string::npos ? d1 : s.find(':', d1 + 1);
    const std::string tryb = d2 == std::string::npos ? "" : s.substr(d2 + 1);
    size_t k = 0, n = 0;
    try {
        krok_awarii = std::stoi(s.substr(0, d1), &k);
        zapis_awarii = std::stol(s.substr(d1 + 1, d2 - d1 - 1), &n);
    } catch (const std::exception&) {
        k = 0;
    }
    const size_t dl = (d2 == std::string::npos ? s.size() : d2) - d1 - 1;
    if (d1 == std::string::npos || k != d1 || n != dl || zapis_awarii <= 0 ||
        (d2 != std::string::npos && tryb != "chwilowa" && tryb != "zabij"))
        throw std::invalid_argument("KONW_AWARIA is not <step>:<write>[:chwilowa|:zabij]: " + s);
    chwilowa = tryb == "chwilowa";
    zabij = tryb == "zabij";
}

}  // namespace

void zainstaluj(std::map<int, KrokZastepczy>& kroki) {
    const char* opis = std::getenv("KONW_AWARIA");
    const char* licznik = std::getenv("KONW_AWARIA_LICZ");
    if (licznik != nullptr && *licznik == '\0') licznik = nullptr;
    if (opis != nullptr && *opis != '\0') czytaj(opis);
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
