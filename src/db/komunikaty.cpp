#include "db/komunikaty.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "jet/error.h"
#include "jet/files.h"
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
