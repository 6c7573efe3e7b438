// The step that a run of the suite's earlier tool left half done, told by the Log beside
// the database, decided once at the run's start; and what each step does over it.
//
// The earlier tool logs a step's "Begin" before it, commits each statement on its own,
// and logs "End" when the step has returned, before it writes the version. Its "Begin"
// without "End" is a step it stopped inside; its "End" while the database's version is
// still the one before is a step that ran whole and lacks only its version. This program
// runs a step as one transaction with its version, so a kill leaves nothing of it: it
// writes its own mark and the step's "Begin" in one write, the two lines equal but for
// the detail, and a step of its own is never half done, whatever its lines say.
//
// Any one line of this program's lost or cut (a full disk) leaves the decision as it
// was: a "Begin" is its own only right after its own mark, an "End" is the earlier
// tool's only right after that tool's "Begin" of the step (its own lines come in that
// order), and a line that a cut one ran into is read from its last record.
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "db/komunikaty.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "platform/log_file.h"
#include "platform/paths.h"

namespace {

constexpr std::string_view kKonwersja = ",Konwersja,";
// How much of the Log's end is read: what matters is its last lines, and a Log of any
// size costs at most this much.
constexpr uint64_t kCzytany_Koniec = 32u << 20;
// A line longer than this (a Log without line ends) keeps only its end, where its last
// record is.
constexpr size_t kDlugi_Wiersz = 64u << 10;

// The text as UTF-8: a text that is not valid UTF-8 was written in the Windows code page.
std::string Jako_Utf8(std::string_view s) {
    bool utf8 = true;
    for (int32_t i = 0, n = static_cast<int32_t>(s.size()); utf8 && i < n;) {
        UChar32 c = 0;
        U8_NEXT(s.data(), i, n, c);
        utf8 = c >= 0;
    }
    if (utf8) return std::string(s);
    std::string out;
    icu::UnicodeString(s.data(), static_cast<int32_t>(s.size()), "windows-1250").toUTF8String(out);
    return out;
}

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

// One line of the loop's: the step, what it says (its detail), the database's path, the
// time, and the record from its opening quote to the line's end.
struct Wiersz_Petli {
    int krok = 0;
    std::string_view szczegoly;
    std::string sciezka;
    std::string_view czas;
    std::string_view rekord;
    size_t konwersja = 0;  // where kKonwersja is in rekord
};

// True when a record begins at p of s: its opening quote with the time's first digit.
bool Otwiera_Rekord(std::string_view s, size_t p) {
    return s[p] == '"' && p + 1 < s.size() && s[p + 1] >= '0' && s[p + 1] <= '9';
}

// The loop's line in linia (without its line end), or false for any other line: the text,
// "Konwersja", the detail and the path are its last four fields, the time its first. A
// line that a cut record ran into is read from its last record: the last kKonwersja, and
// the last opening quote with a digit after it before that record's text.
bool Czytaj_Wiersz(std::string_view linia, Wiersz_Petli& w) {
    const size_t k = linia.rfind(kKonwersja);
    if (k == std::string_view::npos || k == 0) return false;
    const size_t t = linia.rfind(',', k - 1);
    if (t == std::string_view::npos) return false;
    w.krok = Numer_Kroku(linia.substr(t + 1, k - t - 1));
    std::string_view reszta = linia.substr(k + kKonwersja.size());
    const size_t s = reszta.find(',');
    if (s == std::string_view::npos) return false;
    w.szczegoly = reszta.substr(0, s);
    std::string_view sciezka = reszta.substr(s + 1);
    if (!sciezka.empty() && sciezka.back() == '"') sciezka.remove_suffix(1);
    // A record of another kind that ran into this one, cut, is no line of the loop: its
    // opening and its eight commas follow this one's text (a path's apostrophe, logged as
    // a quote, has no record's commas after it).
    for (size_t q = 0; q < sciezka.size(); ++q)
        if (Otwiera_Rekord(sciezka, q)) {
            if (std::ranges::count(sciezka.substr(q), ',') >= 8) return false;
            break;
        }
    w.sciezka = Jako_Utf8(sciezka);
    size_t p = t;
    while (p > 0 && !Otwiera_Rekord(linia, p)) --p;
    w.rekord = linia.substr(p);
    w.konwersja = k - p;
    w.czas = w.rekord.substr(0, w.rekord.find(','));
    if (!w.czas.empty() && w.czas.front() == '"') w.czas.remove_prefix(1);
    return true;
}

// The record of w, a "Begin", with this program's mark for its detail.
std::string Ze_Znacznikiem(const Wiersz_Petli& w) {
    const size_t d = w.konwersja + kKonwersja.size();
    return std::string(w.rekord.substr(0, d)) + std::string(kZnacznik_Kroku) +
           std::string(w.rekord.substr(d + w.szczegoly.size()));
}

// The Log's lines for one database, read in order: what the earlier tool's last line of
// the loop says, and whether a step of this program's committed after it.
class Czytelnik_Logu {
  public:
    explicit Czytelnik_Logu(std::string_view sciezka) : nazwa_(Nazwa_Pliku(sciezka)) {}

    void wiersz(std::string_view l) {
        ++numer_;
        if (l.find(kKonwersja) == std::string_view::npos) return;
        Wiersz_Petli w;
        if (!Czytaj_Wiersz(l, w) || Nazwa_Pliku(w.sciezka) != nazwa_) return;
        Rodzaj r;
        if (w.szczegoly == kZnacznik_Kroku)
            r = Rodzaj::Znacznik;
        else if (w.szczegoly == "Begin")
            r = Rodzaj::Begin;
        else if (w.szczegoly == "End")
            r = Rodzaj::End;
        else if (w.szczegoly == "End-All")
            r = Rodzaj::End_All;
        else
            return;
        bool nasz = true;
        if (r == Rodzaj::Znacznik) {
            znacznik_ = std::string(w.rekord);
            znacznik_numer_ = numer_;
        } else if (r == Rodzaj::Begin) {
            // Its own when the line before is its mark: the same record but the detail.
            nasz = znacznik_numer_ + 1 == numer_ && znacznik_ == Ze_Znacznikiem(w);
        } else if (r == Rodzaj::End) {
            // The earlier tool's only right after its own "Begin" of the step; else one of
            // this program's, a step of its own that committed.
            nasz = !(poprzedni_ == Rodzaj::Begin && !poprzedni_nasz_ && poprzedni_krok_ == w.krok);
            nasz_koniec_ = nasz_koniec_ || nasz;
        } else {
            // "End-All": this program's right after a line of its own (its last step's
            // "Begin", written before that step commits), else the earlier tool's.
            nasz = poprzedni_nasz_;
        }
        poprzedni_ = r;
        poprzedni_nasz_ = nasz;
        poprzedni_krok_ = w.krok;
        if (nasz) return;
        obcy_.poczatek = r == Rodzaj::Begin;
        obcy_.krok = r == Rodzaj::End_All ? 0 : w.krok;
        obcy_.numer = numer_;
        obcy_.czas = Jako_Utf8(w.czas);
        obcy_.sciezka = w.sciezka;
        nasz_koniec_ = false;
    }

    // What the Log says of step krok; od_poczatku: the Log was read from its first line,
    // else lines are counted from its end.
    Krok_Z_Logu wynik(int krok, bool od_poczatku) const {
        if (nasz_koniec_ || obcy_.krok != krok || krok == 0) return {};
        const std::string gdzie =
            od_poczatku ? "wiersz " + std::to_string(obcy_.numer)
                        : "wiersz " + std::to_string(numer_ - obcy_.numer + 1) + " od końca";
        return {obcy_.poczatek ? Stan_Z_Logu::Rozpoczety : Stan_Z_Logu::Zakonczony, krok,
                "plik Log, " + gdzie + " (" + obcy_.czas + ", " + obcy_.sciezka + ")"};
    }

  private:
    enum class Rodzaj : uint8_t { Brak, Znacznik, Begin, End, End_All };
    std::string nazwa_;
    long numer_ = 0;
    // The earlier tool's last line of the loop.
    struct {
        bool poczatek = false;  // its "Begin" (else an "End" or "End-All")
        int krok = 0;
        long numer = 0;
        std::string czas, sciezka;
    } obcy_;
    bool nasz_koniec_ = false;  // a step of this program's committed after it
    // The last line of the loop for the database, and this program's last mark.
    Rodzaj poprzedni_ = Rodzaj::Brak;
    bool poprzedni_nasz_ = false;
    int poprzedni_krok_ = 0;
    std::string znacznik_;
    long znacznik_numer_ = -1;
};

}  // namespace

Krok_Z_Logu Czytaj_Log_Kroku(const std::string& log, const std::string& sciezka, int krok,
                             std::string* blad) {
    Czytelnik_Logu czytelnik(sciezka);
    // The lines are cut at CR, LF or CR LF, in one pass over the Log's end; its first line,
    // cut when the Log is larger than what is read, is passed over.
    std::string linia;
    bool od_poczatku = true, pierwszy = true, pomin = false, po_cr = false;
    const auto koniec_linii = [&] {
        if (!pomin) czytelnik.wiersz(linia);
        pomin = false;
        linia.clear();
    };
    const auto kawalek = [&](std::string_view b) {
        pomin = pomin || (pierwszy && !od_poczatku);
        pierwszy = false;
        size_t od = po_cr && !b.empty() && b.front() == '\n' ? 1 : 0;
        po_cr = false;
        while (od < b.size()) {
            const size_t e = b.find_first_of("\r\n", od);
            linia.append(b.substr(od, e == std::string_view::npos ? e : e - od));
            if (linia.size() > 2 * kDlugi_Wiersz) linia.erase(0, linia.size() - kDlugi_Wiersz);
            if (e == std::string_view::npos) return;
            koniec_linii();
            od = e + 1;
            if (b[e] == '\r' && od == b.size()) po_cr = true;
            if (b[e] == '\r' && od < b.size() && b[od] == '\n') ++od;
        }
    };
    std::string problem;
    switch (platform::read_file_tail(log, kCzytany_Koniec, kawalek, od_poczatku, problem)) {
        case platform::tail_read::missing:
            return {};
        case platform::tail_read::refused:
            if (blad) *blad = problem;
            return {};
        case platform::tail_read::read:
            break;
    }
    if (!linia.empty()) koniec_linii();
    return czytelnik.wynik(krok, od_poczatku);
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
    std::string blad;
    Log_Kroku = Czytaj_Log_Kroku(platform::log_file_for(Sciezka_Bazy), Sciezka_Bazy, krok, &blad);
    // A Log that cannot be read tells nothing of a step that the earlier tool left: the
    // run goes on as without one, and says so where it can.
    if (!blad.empty())
        Zapisz_Log_Wiersze("", "Konwersja",
                           {"Plik Log nie został odczytany (" + blad +
                            "); nie sprawdzono, czy poprzednia konwersja przerwała krok"});
}
