// The fault injector of the sweep of stops inside steps (awaria.h): the engine's write
// hook counts the writes of the step whose method runs and fails the chosen one with a
// full disk, from then on or once; each step's method is wrapped to set the count and
// to report what the step did after its failed write.
#include "awaria.h"

#include <execinfo.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
bool licz = false;      // KONW_AWARIA_LICZ is set: the writes' places are noted
size_t miejsce = 0;     // the place in the program of the step's last write
// The step's writes made from another place in the program than the write before.
std::vector<long> zmiany;

// The place in the program that a write is made from: the hash of the call stack's
// return addresses. The writes of one loop share it (a record loop's saves, one helper's
// statements in a loop), the step's separate statements do not.
size_t Miejsce_Zapisu() {
    void* adresy[64];
    const int n = backtrace(adresy, 64);
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(adresy), sizeof(void*) * n));
}

// Commits what the step wrote so far and kills the process.
[[noreturn]] void Zabij() {
    try {
        polaczenie().Checkpoint(true);
    } catch (const jet::Error& e) {
        std::fprintf(stderr, "awaria: the commit before write %ld of step %d failed: %s\n", zapisy,
                     biezacy, e.description().c_str());
        std::_Exit(3);
    }
    std::raise(SIGKILL);
    std::_Exit(3);
}

void przed_zapisem() {
    if (biezacy != 0) ++zapisy;
    if (biezacy != 0 && licz) {
        const size_t m = Miejsce_Zapisu();
        if (zapisy > 1 && m != miejsce) zmiany.push_back(zapisy);
        miejsce = m;
    }
    if (biezacy != 0 && biezacy == krok_awarii && zapisy == zapis_awarii) {
        // The hook runs before the write touches anything, between statements: the
        // commit takes exactly the writes that came before it.
        if (zabij) Zabij();
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
        zmiany.clear();
        krok(k);
        // The write after the step's last is the loop's version: killed before it, the
        // step's whole work stands, its version not recorded.
        if (zabij && v == krok_awarii && zapis_awarii == zapisy + 1) Zabij();
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
            std::fprintf(f, "%d %ld", v, zapisy);
            for (const long z : zmiany) std::fprintf(f, " %ld", z);
            std::fprintf(f, "\n");
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
    licz = licznik != nullptr;
    for (const auto& [v, metoda] : Zbudowane_Kroki()) {
        if (licznik == nullptr && v != krok_awarii) continue;
        KrokZastepczy krok = [m = metoda](ClsKonwersje& k) { (k.*m)(); };
        if (const auto z = kroki.find(v); z != kroki.end()) krok = z->second;
        if (krok) kroki[v] = opakuj(v, std::move(krok), licznik);
    }
    jet::set_write_hook(przed_zapisem);
}

}  // namespace awaria
