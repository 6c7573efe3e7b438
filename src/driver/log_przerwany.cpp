// The step that a run of the suite's earlier tool left half done, told by the Log beside
// the database, decided once at the run's start; and what each step does over it.
//
// The earlier tool logs a step's "Begin" before it, commits each statement on its own,
// and logs "End" when the step has returned, before it writes the version. Its "Begin"
// without "End" is a step it stopped inside; its "End" while the database's version is
// still the one before is a step that ran whole and lacks only its version. This program
// runs a step as one transaction with its version, so a kill leaves nothing of it: it
// writes its own mark just before each of its "Begin" lines, and a step of its own is
// never half done, whatever its lines say.
#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>

#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "platform/paths.h"

namespace {

constexpr std::string_view kKonwersja = ",Konwersja,";

// The file name of a path as either system writes it, upper-cased as Windows compares it.
std::string Nazwa_Pliku(std::string_view sciezka) {
    const size_t p = sciezka.find_last_of("\\/");
    return jet::text::upper(p == std::string_view::npos ? sciezka : sciezka.substr(p + 1));
}

// A step's number from the text the loop logs (" 366"); 0 when it is none.
int Numer_Kroku(std::string_view tekst) {
    while (!tekst.empty() && tekst.front() == ' ') tekst.remove_prefix(1);
    if (tekst.empty() || tekst.size() > 4) return 0;
    int n = 0;
    for (char c : tekst) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// One line of the loop's: the step, what it says (its detail) and the database's file name.
struct Wiersz_Petli {
    int krok = 0;
    std::string_view szczegoly;
    std::string_view sciezka;
    std::string_view czas;
};

// The loop's line in linia (without its CR LF), or false for any other line: the text,
// "Konwersja", the detail and the path are its last four fields, the time its first.
bool Czytaj_Wiersz(std::string_view linia, Wiersz_Petli& w) {
    const size_t k = linia.find(kKonwersja);
    if (k == std::string_view::npos) return false;
    const size_t t = linia.rfind(',', k == 0 ? 0 : k - 1);
    if (t == std::string_view::npos || t >= k) return false;
    w.krok = Numer_Kroku(linia.substr(t + 1, k - t - 1));
    std::string_view reszta = linia.substr(k + kKonwersja.size());
    const size_t s = reszta.find(',');
    if (s == std::string_view::npos) return false;
    w.szczegoly = reszta.substr(0, s);
    w.sciezka = reszta.substr(s + 1);
    if (!w.sciezka.empty() && w.sciezka.back() == '"') w.sciezka.remove_suffix(1);
    w.czas = linia.substr(0, linia.find(','));
    if (!w.czas.empty() && w.czas.front() == '"') w.czas.remove_prefix(1);
    return true;
}

}  // namespace

Krok_Z_Logu Czytaj_Log_Kroku(const std::string& log, const std::string& sciezka, int krok) {
    std::ifstream plik(log, std::ios::binary);
    if (!plik) return {};
    const std::string nazwa = Nazwa_Pliku(sciezka);
    // The earlier tool's last line of the loop for this database, and whether a step of
    // this program's committed after it (its "End": the database is then its work).
    struct {
        bool poczatek = false;  // its "Begin" (else an "End" or "End-All")
        int krok = 0;
        long numer = 0;
        std::string czas, sciezka;
    } obcy;
    bool znacznik = false;  // this program's mark came last: its "Begin" follows
    bool nasz = false;      // the last "Begin" is this program's
    bool nasz_koniec = false;
    std::string bufor, linia;
    long numer = 0;
    char blok[1 << 16];
    // The Log is read in blocks and only the loop's lines are taken apart, so that a Log
    // of many megabytes costs one pass; a line that is not the loop's, or is damaged,
    // is passed over.
    const auto wiersz = [&](std::string_view l) {
        ++numer;
        if (l.find(kKonwersja) == std::string_view::npos) return;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        Wiersz_Petli w;
        if (!Czytaj_Wiersz(l, w) || Nazwa_Pliku(w.sciezka) != nazwa) return;
        if (w.szczegoly == kZnacznik_Kroku) {
            znacznik = true;
            return;
        }
        const bool poczatek = w.szczegoly == "Begin";
        if (!poczatek && w.szczegoly != "End" && w.szczegoly != "End-All") return;
        if (poczatek) {
            nasz = znacznik;
            znacznik = false;
        }
        if (nasz) {
            nasz_koniec = nasz_koniec || !poczatek;
            return;
        }
        obcy.poczatek = poczatek;
        obcy.krok = w.szczegoly == "End-All" ? 0 : w.krok;
        obcy.numer = numer;
        obcy.czas = w.czas;
        obcy.sciezka = w.sciezka;
        nasz_koniec = false;
    };
    while (plik.read(blok, sizeof blok) || plik.gcount() > 0) {
        bufor.append(blok, static_cast<size_t>(plik.gcount()));
        size_t od = 0;
        for (size_t nl; (nl = bufor.find('\n', od)) != std::string::npos; od = nl + 1)
            wiersz(std::string_view(bufor).substr(od, nl - od));
        bufor.erase(0, od);
    }
    if (!bufor.empty()) wiersz(bufor);
    if (nasz_koniec || obcy.krok != krok || krok == 0) return {};
    return {obcy.poczatek ? Stan_Z_Logu::Rozpoczety : Stan_Z_Logu::Zakonczony, krok,
            "plik Log, wiersz " + std::to_string(obcy.numer) + " (" + obcy.czas + ", " +
                obcy.sciezka + ")"};
}

namespace {

// The steps that go on over the earlier tool's half-done work, each with its proof.
constexpr Krok_Po_Przerwaniu kIdaDalej[] = {
#define KROK(v, dowod) {v, Dowod_Kroku::dowod},
#include "driver/kroki_po_przerwaniu.inc"
#undef KROK
};
static_assert(std::ranges::is_sorted(kIdaDalej, {}, &Krok_Po_Przerwaniu::krok));

}  // namespace

std::span<const Krok_Po_Przerwaniu> Kroki_Po_Przerwaniu() {
    return kIdaDalej;
}

bool Krok_Idzie_Dalej_Po_Przerwaniu(int krok) {
    return std::ranges::binary_search(kIdaDalej, krok, {}, &Krok_Po_Przerwaniu::krok);
}

void ClsKonwersje::Czytaj_Log_Przebiegu() {
    const int krok = Wersja_Startowa + 1;
    Log_Kroku = Czytaj_Log_Kroku(platform::log_file_for(Sciezka_Bazy), Sciezka_Bazy, krok);
}

bool ClsKonwersje::Przerwany_Wg_Logu(int krok) const {
    return Log_Kroku.stan == Stan_Z_Logu::Rozpoczety && Log_Kroku.krok == krok;
}
