// The start-up window's load handler and the version check: the hand-shake with the
// suite through the registry, the database's version accepted or refused, the
// conversion run, the result marker, the end of the process.
#include "driver/start.h"

#include <cmath>
#include <exception>
#include <iostream>
#include <optional>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/rejestr.h"
#include "db/setup.h"
#include "db/stan.h"
#include "db/teksty.h"
#include "driver/konwersje.h"
#include "driver/liczby.h"
#include "jet/error.h"
#include "jet/value.h"
#include "platform/process.h"

#ifdef KONW_COVERAGE
// The coverage build (tests/crash/pokrycie_kodu.sh): a run ends by quick_exit, which skips
// the handler that writes the lines' counts, so its own handler writes them.
#include <cstdlib>
extern "C" void __gcov_dump();
namespace {
const bool kLicznikiPrzyWyjsciu = (std::at_quick_exit(__gcov_dump), true);
}
#endif

namespace {

constexpr const char* kZapytanieWersji = "SELECT [NumerWersji] FROM Nieruszac";
constexpr int64_t kWersjaBiezaca = 64600;  // 6.46 as a currency (ten-thousandths)
constexpr double kWersjaNajnizsza = 1.65;

struct Blad {
    int32_t numer;
    std::string opis;
};

// The number and description of a failure caught by a handler, as VB's Err gives them.
Blad Opisz(const std::exception& e) {
    if (const auto* j = dynamic_cast<const jet::Error*>(&e))
        return {j->signed_number(), j->description()};
    return {5, e.what()};  // VB's "Invalid procedure call or argument"
}

// The stored version read as the program reads it: a currency nudged by 0.0001 away
// from zero and rounded to two decimals, halves to even (1.645 reads as 1.65).
jet::Currency Odczytaj_Wersje(const jet::Value& pole) {
    return NzCur(pole);
}

// The query of the version: of Nieruszac, or of its work copy X_NIERUSZAC where the
// table is gone and the copy stands. A run of the suite's earlier tool stopped inside the
// rebuild of step 2.72 leaves that, and the rerun of the step brings the table back.
std::string Zapytanie_Wersji() {
    const auto czyta = [](const char* tabela) {
        try {
            ado::Recordset rs;
            rs.Open(std::string("SELECT [NumerWersji] FROM ") + tabela + " WHERE 0=1", polaczenie(),
                    ado::adOpenStatic, ado::adLockReadOnly);
            rs.Close();
            return true;
        } catch (const jet::Error& e) {
            if (e.fault() != jet::Fault::NoSuchTable) throw;
            return false;
        }
    };
    if (!czyta("Nieruszac") && czyta("X_NIERUSZAC")) return "SELECT [NumerWersji] FROM X_NIERUSZAC";
    return kZapytanieWersji;
}

std::unique_ptr<ado::Recordset> Otworz_Wersje() {
    auto rs = std::make_unique<ado::Recordset>();
    rs->Open(Zapytanie_Wersji(), polaczenie(), ado::adOpenStatic, ado::adLockOptimistic);
    return rs;
}

}  // namespace

void Czytaj_NumerWersji() {
    auto rs = std::make_unique<ado::Recordset>();
    std::optional<jet::Error> blad_otwarcia;
    try {
        rs->Open(Zapytanie_Wersji(), polaczenie(), ado::adOpenStatic, ado::adLockOptimistic);
        if (!rs->Eof()) {
            const jet::Value v = rs->Fields(0).value();
            if (!v.is_null()) Wersja_Bazy = Odczytaj_Wersje(v).to_double();
        }
    } catch (const jet::Error& e) {
        blad_otwarcia = e;
    }
    // Closing a recordset that did not open fails, and that failure is not handled here;
    // it is reported as the open's failure, which names what is missing ([Nieruszac]).
    try {
        rs->Close();
    } catch (const jet::Error&) {
        if (blad_otwarcia) throw *blad_otwarcia;
        throw;
    }
}

uint8_t Sprawdz_Wersje_Bazy() {
    uint8_t wynik = 0;
    Zapisz_Ostatnia_Baze();
    std::unique_ptr<ado::Recordset> rs;
    try {
        try {
            Biezaca_Operacja = "Nieruszać";
            Biezaca_Operacja = "Nieruszać 2";
            rs = Otworz_Wersje();
            if (rs->Eof()) {
                FMsg_box(
                    "Proszę o kontakt z Producentem lub Dystrybutorem z podaniem kodu <65430>.",
                    vbCritical, "");
                ZamknijRS(rs);
                Wylogowanie();
            }
        } catch (const std::exception&) {
            ZamknijRS(rs);
            FMsg_box("Nierozpoznana BAZA", vbCritical, "");
            Wylogowanie();
        }

        if (rs->Fields(0).value().is_null()) {
            FMsg_box("Proszę o kontakt z Producentem lub dystrybutorem z podaniem kodu <65431>.",
                     vbCritical, "");
            ZamknijRS(rs);
            Wylogowanie();
        }
        const jet::Currency v = Odczytaj_Wersje(rs->Fields(0).value());
        ZamknijRS(rs);
        // The lines of a step that a stopped run committed and did not log come first.
        Log_Kroku_Dokoncz(static_cast<int>(v.scaled / 100));

        if (v.to_double() < kWersjaNajnizsza) {
            FMsg_box("Proszę o kontakt z Producentem lub dystrybutorem z podaniem kodu <65432>.",
                     vbCritical, "");
            Wylogowanie();
        }
        if (v.scaled < kWersjaBiezaca) {
            Wersja_Bazy = std::round(v.to_double() * 100.0) / 100.0;
            BArS_Update();
            Pokaz_Postep("", " Wersja bazy:" + jet::Value::dbl(Wersja_Bazy).to_text(), "Konwersja");
            wynik = 3;
            // The conversion keeps the last step's unit of work open until the commit
            // below; leaving this block any other way rolls the step back.
            ClsKonwersje konwersja;
            if (!konwersja.RUN_Konwersje()) return wynik;
            BArS_Update();
            if (Wersja_Bazy == 0) return wynik;
            rs = Otworz_Wersje();
            rs->Fields(0).set(jet::Value::currency(jet::Currency::from_scaled(kWersjaBiezaca)));
            rs->Update();
            ZamknijRS(rs);
            Zapisz_Setup(
                "[NUMERWERSJI]",
                jet::Value::currency(jet::Currency::from_scaled(kWersjaBiezaca)).to_text());
            // The last step, its version and the closing writes are committed as one, and
            // onto the disk, before the conversion is reported complete ("3210"): a run
            // stopped before this point reruns the last step, one stopped after it (or a
            // power cut) finds them all in the file.
            // The last step ends here, committed (its number: the version times 100), the
            // lines that name what it changed with its "End".
            Zatwierdz_Z_Logiem_Kroku(Tekst_Liczby(static_cast<double>(kWersjaBiezaca / 100)),
                                     "Konwersja", "End", [] {
                                         polaczenie().Checkpoint(true);
                                         return true;
                                     });
            Wersja_Bazy = 6.46;
            return 1;
        }
        if (v.scaled == kWersjaBiezaca) {
            FMsg_box("Baza do obróbki przez kolejną wersję programu", vbCritical, "");
            return 10;
        }
        wynik = 11;
        FMsg_box(
            "Baza danych jest nowsza niż wersja programu. Dalsza praca programu została "
            "zatrzymana w celu uniknięcia błędów. Jeżeli chcesz wybrać inną bazę danych "
            "uruchom ponownie program. Jeżeli jesteś pewny że jest to prawidłowa baza "
            "danych powinieneś skontaktować się z producentem lub dystrybutorem z podaniem "
            "kodu <65433>",
            vbCritical, "");
        return wynik;
    } catch (const std::exception& e) {
        const Blad b = Opisz(e);
        Wyjątek_Pokaż(b.numer, b.opis,
                      "Błąd podczas konwersji podstawowej, powinieneś skontaktować się z "
                      "producentem lub dystrybutorem z podaniem kodu <65434>",
                      -1);
        Wylogowanie();
    }
}

void Form_Unload() {
    Biezaca_Operacja = "Koniec Aplikacji";
    DbZamknij_Unload(-1);
    platform::end_process(platform::exit_status::stopped);
}

void Form_Load() {
    uint8_t wynik = 0;
    bool niezapisany = false;  // the completed conversion's marker could not be written
    try {
        Pokaz_Postep(" ", " ", "Proszę czekać");
        Biezaca_Operacja = "Main";
        Sciezka_Bazy = Czytaj_Rejestr("dodralvex", 0) == "0123" ? Czytaj_Rejestr("dodralvexS", 0)
                                                                : std::string();
        if (Sciezka_Bazy.empty()) {
            FMsg_box("Brak Prarametrów.", vbCritical, "");
            DbZamknij_Unload(-1);
        }
        // The run's result is reported through the registry: a run that could not write
        // it there is refused before the database is opened, so that no conversion ends
        // without its result marker.
        if (!registry_can_be_written()) {
            std::cerr << "konwersja: the registry cannot be written, so the run's result "
                         "could not be reported: the database is not converted\n";
            platform::end_process(platform::exit_status::unreported);
        }
        Ustaw_Stale_SQL();
        Biezaca_Operacja = " Start APL";
        DbOtwórz();
        const jet::Currency wersja_ado = NzCur(jet::Value::text(polaczenie().Version()));
        if (wersja_ado.scaled < 25000) {
            FMsg_box(
                "Biblioteki programu są w niezgodnej wersji. Zainstaluj aktualizację "
                "bibliotek dostępu do danych w wersji 3.5x lub nowszej. Jeżeli jest już "
                "zainstalowana, sprawdź, czy przeglądarka internetowa jest nowsza niż 4.0; "
                "jeżeli nie, zainstaluj jej aktualizację i powtórz instalację programu. W "
                "razie konfliktu sterowników programu z rejestrem systemu (spotykanego w "
                "niektórych instalacjach Windows 95) skontaktuj się telefonicznie z "
                "producentem, który przekaże dalsze instrukcje.",
                vbCritical, "");
            Wylogowanie();
        }
        if (Baza_Otwarta == 0) Wylogowanie();
        Czytaj_NumerWersji();
        wynik = Sprawdz_Wersje_Bazy();
        if (wynik == 1 && !Zapisz_Rejestr("dodralvex", "3210", 0)) {
            std::cerr << "konwersja: the conversion completed, but its result \"3210\" could "
                         "not be written to the registry\n";
            niezapisany = true;
        }
        // The run's last close: after it the database file holds the whole result alone.
        leave_file_whole_at_close();
        DbZamknij_Unload(0);
    } catch (const std::exception& e) {
        const Blad b = Opisz(e);
        Wyjątek_Pokaż(b.numer, b.opis, "", 0);
        Form_Unload();
    }
    // A completed conversion, or a database already at the current version, ends with
    // status 0; a conversion that did not complete, or a database newer than this
    // program, leaves the marker as the suite wrote it and ends with status 3. A
    // completed conversion whose marker could not be written must not look like one.
    if (niezapisany) platform::end_process(platform::exit_status::unreported);
    platform::end_process(wynik == 1 || wynik == 10 ? platform::exit_status::completed
                                                    : kStatusNieukonczona);
}
