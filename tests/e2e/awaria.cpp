// The fault injector of the sweep of stops inside steps (awaria.h): the engine's write
// hook counts the writes of the step whose method runs and fails the chosen one with a
// full disk, from then on or once, or refuses the chosen recordset's row saves part way;
// each step's method is wrapped to set the count and to report what the step did after
// its failed write.
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
#include "jet/trace.h"
#include "jet/write_hook.h"

namespace awaria {

namespace {

int biezacy = 0;      // the step whose method runs; 0 between steps
long zapisy = 0;      // its writes so far, the one being started included
int krok_awarii = 0;  // KONW_AWARIA's step and write
long zapis_awarii = 0;
bool chwilowa = false;       // only the N-th write fails
bool zabij = false;          // the writes before the N-th are committed, the process killed
bool zawiodl = false;        // the N-th write of the step failed
bool pelny = false;          // the disk is full: from the step's N-th write on
bool wielo = false;          // the writes are refused part way (multiple-step), not the disk full
long powtorzen = 1;          // with wielo: the N-th write and the powtorzen - 1 after it
bool zapis_wiersza = false;  // the write being started is a recordset's save of a row
bool licz = false;           // KONW_AWARIA_LICZ is set: the writes' places are noted
size_t miejsce = 0;          // the place in the program of the step's last write
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

// The engine's refusal of a row's save part way, by the name the engine gives its number.
constexpr const char* kWielo = "multiple-step operation failed";

// Tells the write hook which writes are a recordset's save of a row (Update or AddNew):
// the recordset names the row it writes just before the write begins.
class Zapisy_Wierszy : public jet::ShapeObserver {
  public:
    void statement(std::string_view, const jet::sql::Statement&, const jet::Catalog&,
                   bool) override {}
    void closed(std::string_view, bool, bool) override {}
    void row_written(std::string_view, std::string_view, char kind,
                     const std::vector<std::pair<std::string, jet::Value>>&) override {
        zapis_wiersza = kind != 'D';
    }
};
Zapisy_Wierszy zapisy_wierszy;

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
    const bool wiersz = zapis_wiersza;
    zapis_wiersza = false;
    if (biezacy != 0) ++zapisy;
    if (biezacy != 0 && licz) {
        const size_t m = Miejsce_Zapisu();
        if (zapisy > 1 && m != miejsce) zmiany.push_back(zapisy);
        miejsce = m;
    }
    if (wielo) {
        if (biezacy == 0 || biezacy != krok_awarii || zapisy < zapis_awarii ||
            zapisy >= zapis_awarii + powtorzen)
            return;
        // The engine refuses part way only a row's save; any other write goes through.
        if (!wiersz) {
            std::fprintf(stderr,
                         "awaria: write %ld of step %d is no recordset's row save: not refused\n",
                         zapisy, biezacy);
            return;
        }
        zawiodl = true;
        throw jet::Error(jet::hr::MultipleStep, kWielo);
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
        {
            // The saves of rows are told apart while the step whose writes are refused runs.
            struct Obserwacja {
                bool on;
                ~Obserwacja() {
                    if (on) jet::set_shape_observer(nullptr);
                }
            } obserwacja{wielo && v == krok_awarii};
            if (obserwacja.on) jet::set_shape_observer(&zapisy_wierszy);
            krok(k);
        }
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

// Reads "<step>:<N>", "<step>:<N>:chwilowa", "<step>:<N>:zabij", "<step>:<N>:wielo" or
// "<step>:<N>:wielo:<R>" into the step, the write and the mode.
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
    wielo = tryb == "wielo" || tryb.rfind("wielo:", 0) == 0;
    bool dobre = d2 == std::string::npos || tryb == "chwilowa" || tryb == "zabij" || wielo;
    if (wielo && tryb != "wielo") {
        size_t r = 0;
        try {
            powtorzen = std::stol(tryb.substr(6), &r);
        } catch (const std::exception&) {
            r = 0;
        }
        dobre = r > 0 && r == tryb.size() - 6 && powtorzen > 0;
    }
    if (d1 == std::string::npos || k != d1 || n != dl || zapis_awarii <= 0 || !dobre)
        throw std::invalid_argument(
            "KONW_AWARIA is not <step>:<write>[:chwilowa|:zabij|:wielo[:<R>]]: " + s);
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
