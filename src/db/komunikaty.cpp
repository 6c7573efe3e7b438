#include "db/komunikaty.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "jet/error.h"
#include "jet/files.h"
#include "platform/atomic_file.h"
#include "platform/log_file.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace {

// The current local date and time as yyyy-mm-dd hh:mm:ss.
std::string teraz() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

// A log field: apostrophes become double quotes, nothing else is escaped.
void dopisz_pole(std::string& linia, std::string_view pole) {
    linia += ',';
    for (char c : pole) linia += c == '\'' ? '"' : c;
}

// A log line after its time: fields 2 to 9, the closing quote and CR LF.
void dopisz_pola(std::string& linia, std::string_view tekst, std::string_view procedura,
                 std::string_view szczegoly) {
    dopisz_pole(linia, "");
    dopisz_pole(linia, Uzytkownik_Windows);
    dopisz_pole(linia, Stanowisko);
    dopisz_pole(linia, Biezaca_Operacja);
    dopisz_pole(linia, tekst);
    dopisz_pole(linia, procedura);
    dopisz_pole(linia, szczegoly);
    dopisz_pole(linia, Sciezka_Bazy);
    linia += "\"\r\n";
}

// A database that the engine refuses to write: its file, its folder or its file system is
// read-only (by the mode for root too).
bool refused_as_read_only(const std::string& baza) {
    if (baza.find_first_not_of(' ') == std::string::npos) return false;
    try {
        jet::check_writable(baza);
        return false;
    } catch (const jet::Error&) {
        return true;
    }
}

// The lines held for the step being run (see Log_Kroku_Wstrzymaj).
struct Wstrzymane {
    bool trwa = false;  // a step holds its lines
    int krok = 0;
    std::string wiersze;  // whole Log lines, each with its time and CR LF
};
Wstrzymane& wstrzymane() {
    static Wstrzymane w;
    return w;
}

// The Log line of the fields, timed now.
std::string wiersz_logu(std::string_view tekst, std::string_view procedura,
                        std::string_view szczegoly) {
    std::string linia = "\"" + teraz();
    dopisz_pola(linia, tekst, procedura, szczegoly);
    return linia;
}

// The file beside the Log that holds a step's lines from before its commit to their write.
std::string plik_wstrzymanych() {
    return platform::log_file_for(Sciezka_Bazy) + ".wstrzymane";
}

// The file's first line, before the lines: "krok " and the step.
constexpr std::string_view kNaglowek = "krok ";
// The most of the held lines' file that is read, and how much of the Log's end besides
// them is searched for them: the lines of a stopped run and of the rerun's start that
// follow them.
constexpr uint64_t kNajwiecej = 256u << 20;
constexpr uint64_t kPoNich = 4u << 20;

// The text of a regular file (its first limit bytes), or nullopt when it is missing;
// raises when it cannot be read.
std::optional<std::string> czytaj(const std::string& plik, uint64_t limit, bool& od_poczatku) {
    std::string tresc, problem;
    const platform::tail_read r = platform::read_file_tail(
        plik, limit, [&](std::string_view s) { tresc += s; }, od_poczatku, problem);
    if (r == platform::tail_read::missing) return std::nullopt;
    if (r == platform::tail_read::refused)
        throw jet::Error(jet::hr::Unspecified,
                         "Nie można odczytać pliku " + plik + ": " + problem + ".");
    return tresc;
}

void usun_wstrzymane(const std::string& plik) {
    std::error_code ec;
    std::filesystem::remove(plik, ec);
}

// The line of text that starts at p (its line end, LF, included; a last line without one
// runs to the end).
std::string_view wiersz_od(std::string_view tekst, size_t p) {
    const size_t q = tekst.find('\n', p);
    return tekst.substr(p, q == std::string_view::npos ? q : q + 1 - p);
}

// True when linia (without its line end) is this program's "Begin" of step krok: the
// step's number for its text, "Konwersja" and "Begin", right after its mark, the same
// record but the detail (the end of poprzednia: a cut line may have run into the mark).
bool nasz_begin(std::string_view linia, std::string_view poprzednia, int krok) {
    constexpr std::string_view kBegin = ",Konwersja,Begin,";
    const size_t k = linia.find(kBegin);
    if (k == std::string_view::npos || k == 0) return false;
    const size_t t = linia.rfind(',', k - 1);
    if (t == std::string_view::npos) return false;
    std::string_view numer = linia.substr(t + 1, k - t - 1);
    while (numer.starts_with(' ')) numer.remove_prefix(1);
    int n = 0;
    const auto [koniec, blad] = std::from_chars(numer.data(), numer.data() + numer.size(), n);
    if (blad != std::errc() || koniec != numer.data() + numer.size() || n != krok) return false;
    const std::string znacznik = std::string(linia.substr(0, k)) + ",Konwersja," +
                                 std::string(kZnacznik_Kroku) + "," +
                                 std::string(linia.substr(k + kBegin.size()));
    return poprzednia.ends_with(znacznik);
}

// Of blok, the held lines of step krok, what the Log's text log (its end, od_poczatku: from
// its first byte) lacks. A block reaches the Log after the step's last "Begin" in one
// write, whole or a start of it, cut inside a line; a run that completed a block appended
// its lines from the first that was not whole, again in one write. So the lines of the
// block that stand whole after that "Begin", in the block's order, reached it; the first
// that does not is where the Log's part ends, and the rest is missing. A Log without
// that "Begin" (one moved aside) lacks the whole block; one read in its tail without it
// is taken as the part after it.
std::string_view brakujace_wiersze(std::string_view log, bool od_poczatku, std::string_view blok,
                                   int krok) {
    // The first line of a tail is a part of a line.
    size_t p = od_poczatku ? 0 : std::min(log.find('\n'), log.size()) + 1;
    size_t po_begin = od_poczatku ? log.size() : p;
    for (std::string_view poprzednia; p < log.size();) {
        std::string_view linia = wiersz_od(log, p);
        p += linia.size();
        while (linia.ends_with('\n') || linia.ends_with('\r')) linia.remove_suffix(1);
        if (nasz_begin(linia, poprzednia, krok)) po_begin = p;
        poprzednia = linia;
    }
    size_t w_bloku = 0;
    for (p = po_begin; p < log.size() && w_bloku < blok.size();) {
        const std::string_view linia = wiersz_od(log, p);
        if (linia == wiersz_od(blok, w_bloku)) w_bloku += linia.size();
        p += linia.size();
    }
    return blok.substr(w_bloku);
}

}  // namespace

std::string Wersja_Kroku(int krok) {
    char wersja[16];
    std::snprintf(wersja, sizeof wersja, "%d.%02d", krok / 100, krok % 100);
    return wersja;
}

void Zapisz_Log(std::string_view tekst, std::string_view procedura, std::string_view szczegoly) {
    // A database refused as read-only gets nothing beside it, not even the Log that root
    // could still create there: until the database has been opened once, a line for one
    // is not written (the message shown says why the run ended).
    static bool otwarta = false;
    if (Baza_Otwarta) otwarta = true;
    try {
        if (!otwarta && refused_as_read_only(Sciezka_Bazy)) return;
        std::string linia = "\"" + teraz();
        dopisz_pola(linia, tekst, procedura, szczegoly);
        // Appended in one write, to a regular file only: a Log that is a FIFO or a device
        // never holds the run up, and a line that cannot be written is lost.
        platform::append_in_one_write(platform::log_file_for(Sciezka_Bazy), linia);
    } catch (const std::exception&) {
        // A line that cannot be written is lost; the caller goes on.
    }
}

std::string Zapisz_Log_Wiersze(std::string_view tekst, std::string_view procedura,
                               std::initializer_list<std::string_view> szczegoly) {
    try {
        const std::string czas = "\"" + teraz();
        std::string wiersze;
        for (std::string_view s : szczegoly) {
            wiersze += czas;
            dopisz_pola(wiersze, tekst, procedura, s);
        }
        return platform::append_in_one_write(platform::log_file_for(Sciezka_Bazy), wiersze);
    } catch (const std::exception& e) {
        return e.what();
    }
}

int32_t FMsg_box(std::string_view tekst, int32_t styl, std::string_view tytul) {
    const int32_t odp = platform::message_box(tekst, styl, tytul.empty() ? "Uwaga" : tytul);
    Zapisz_Log("MSG:" + std::string(tekst) + std::to_string(odp), "FMsg_box", tytul);
    return odp;
}

void Blad_Krytyczny(std::string_view etykieta, std::string_view polecenie, std::string_view blad) {
    Zapisz_Log("ERR.BBP:" + std::string(polecenie), etykieta, blad);
    platform::message_box(std::string(blad) + " ->>>" + std::string(polecenie), vbCritical,
                          "UWAGA " + Biezaca_Operacja + " " + std::string(etykieta));
    Wylogowanie();
}

void Wyjątek_Pokaż(int32_t numer, std::string_view opis, std::string_view miejsce,
                   int16_t krytyczny, bool przyczyna) {
    const std::string gdzie = miejsce.empty() ? "---" : std::string(miejsce);
    const std::string tytul =
        " Wyjątek w procedurze " + gdzie + " modułu " + Biezaca_Operacja + ".";
    const std::string rodzaj = krytyczny ? "Krytyczny" : "Nie Krytyczny";
    const std::string blad = std::to_string(numer) + " (" + std::string(opis) + ")";
    // A critical report ends the run: its Log line carries the cause, as the box does, for
    // the suite's unattended runs where nobody reads the box.
    Zapisz_Log("ERR.MSG:" + tytul, "Wyjątek_Pokaż",
               przyczyna || krytyczny ? rodzaj + ": " + blad : rodzaj);
    platform::message_box(blad + ". " + rodzaj, krytyczny ? vbCritical : vbOKOnly, tytul);
    if (krytyczny) Wylogowanie();
}

void Log_Kroku_Wstrzymaj(int krok, bool nowa_jednostka) {
    Wstrzymane& w = wstrzymane();
    if (nowa_jednostka) w.wiersze.clear();
    w.trwa = true;
    w.krok = krok;
}

void Log_Kroku_Porzuc() {
    wstrzymane() = {};
}

void Zapisz_Log_Kroku(std::string_view tekst, std::string_view procedura,
                      std::string_view szczegoly) {
    Wstrzymane& w = wstrzymane();
    if (w.trwa) {
        w.wiersze += wiersz_logu(tekst, procedura, szczegoly);
        return;
    }
    const std::string log = platform::log_file_for(Sciezka_Bazy);
    if (const std::string blad =
            platform::append_in_one_write(log, wiersz_logu(tekst, procedura, szczegoly));
        !blad.empty())
        throw jet::Error(jet::hr::Unspecified,
                         "Nie można zapisać wiersza w pliku Log " + log + ": " + blad + ".");
}

void Zatwierdz_Z_Logiem_Kroku(std::string_view tekst, std::string_view procedura,
                              std::string_view koniec, const std::function<bool()>& zatwierdz) {
    Wstrzymane& w = wstrzymane();
    if (w.wiersze.empty()) {
        zatwierdz();
        Zapisz_Log(tekst, procedura, koniec);
        return;
    }
    const std::string plik = plik_wstrzymanych(), log = platform::log_file_for(Sciezka_Bazy);
    const std::string wersja = Wersja_Kroku(w.krok);
    const std::string blok = w.wiersze + wiersz_logu(tekst, procedura, koniec);
    // Before the commit: the lines in the file beside the Log, and the Log open to them (an
    // append of nothing: a Log that became a folder, a FIFO or read-only is found here).
    std::string blad;
    try {
        platform::write_file_atomically(
            plik, std::string(kNaglowek) + std::to_string(w.krok) + "\n" + blok);
        blad = platform::append_in_one_write(log, "");
        if (!blad.empty()) usun_wstrzymane(plik);
    } catch (const std::exception& e) {
        blad = e.what();
    }
    if (!blad.empty())
        throw jet::Error(jet::hr::Unspecified,
                         "Nie można zapisać zmian kroku " + wersja + " do pliku Log " + log + " (" +
                             blad +
                             "). Konwersję zatrzymano; baza zostaje w ostatniej "
                             "ukończonej wersji.");
    if (!zatwierdz()) {
        // Still one unit with the next step: its lines wait for that commit.
        usun_wstrzymane(plik);
        Zapisz_Log(tekst, procedura, koniec);
        return;
    }
    w.wiersze.clear();
    if (blad = platform::append_in_one_write(log, blok); !blad.empty())
        throw jet::Error(jet::hr::Unspecified,
                         "Krok " + wersja +
                             " zapisano w bazie, ale jego zmian nie można dopisać "
                             "do pliku Log " +
                             log + ": " + blad + ". Czekają w pliku " + plik +
                             "; następne uruchomienie konwersji je dopisze.");
    usun_wstrzymane(plik);
}

void Log_Kroku_Dokoncz(int krok_bazy) {
    const std::string plik = plik_wstrzymanych();
    bool od_poczatku = false;
    const std::optional<std::string> tresc = czytaj(plik, kNajwiecej, od_poczatku);
    if (!tresc) return;
    const size_t koniec_naglowka = tresc->find('\n');
    int krok = 0;
    if (tresc->starts_with(kNaglowek) && koniec_naglowka != std::string::npos)
        krok = std::atoi(tresc->c_str() + kNaglowek.size());
    if (krok <= 0)
        throw jet::Error(jet::hr::Unspecified,
                         "Plik " + plik + " nie zawiera zmian kroku konwersji; usuń go.");
    // A step that the database does not have was rolled back: its lines go with it.
    if (krok <= krok_bazy) {
        const std::string_view blok = std::string_view(*tresc).substr(koniec_naglowka + 1);
        const std::string log = platform::log_file_for(Sciezka_Bazy);
        const std::optional<std::string> koniec_logu =
            czytaj(log, blok.size() + kPoNich, od_poczatku);
        const std::string_view brakujace =
            koniec_logu ? brakujace_wiersze(*koniec_logu, od_poczatku, blok, krok) : blok;
        if (const std::string blad =
                brakujace.empty() ? "" : platform::append_in_one_write(log, brakujace);
            !blad.empty())
            throw jet::Error(jet::hr::Unspecified,
                             "Zmian kroku " + Wersja_Kroku(krok) + " z pliku " + plik +
                                 " nie można dopisać do pliku Log " + log + ": " + blad + ".");
    }
    usun_wstrzymane(plik);
}
