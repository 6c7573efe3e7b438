#include "db/polaczenie.h"

#include <optional>

#include "ado/connection_string.h"
#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/rejestr.h"
#include "db/stan.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/files.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

// The detail of every open and close line of the log.
std::string szczegoly_stanowiska() {
    return " Stanowsiko " + Stanowisko + ",Win:" + Uzytkownik_Windows;
}

void loguj_polaczenie(std::string_view tekst, std::string_view procedura) {
    Zapisz_Log(std::string(tekst) + Uzytkownik, procedura, szczegoly_stanowiska());
}

// A fresh connection object with the settings of every open.
void nowe_polaczenie() {
    DbPolaczenie = std::make_unique<ado::Connection>();
    DbPolaczenie->Mode = ado::adModeReadWrite;
    DbPolaczenie->CursorLocation = ado::adUseClient;
}

// Holds the file Sciezka_Bazy and opens the new connection on it. DAO opens of the same file take
// the database password from the engine, since they get no connection string.
void otworz_polaczenie() {
    dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    // The program holds its database from its first open to its end: another run, or
    // another tool that would write, is refused at once instead of taking turns with
    // it between the steps and around the reopens. The hold comes first, so that a run
    // refused never opens the file that another run is converting.
    jet::hold_until_exit(Sciezka_Bazy);
    DbPolaczenie->Open(connection_string(Sciezka_Bazy), "", "", -1);
    Baza_Otwarta = -1;
}

const char* const kDziennikPozaPlikiem =
    "Dziennik zmian bazy nie został w całości przepisany do pliku bazy - plik bazy bez "
    "dziennika (-wal) jest niepełny";

const char* const kNiezamknieteTransakcje = "Nie zostały zamknięte poprzednie transakcje - zamykam";

// Logs a transaction failure and shows its message.
void blad_transakcji(const jet::Error& e, std::string_view procedura, std::string_view szczegoly,
                     std::string_view komunikat) {
    Zapisz_Log("ERR.MSG:" + e.description(), procedura, szczegoly);
    FMsg_box(komunikat, vbOKOnly, "");
}

}  // namespace

std::string connection_string(std::string_view path) {
    // The path is quoted when the string's own rules need it (a ";" in a folder's name,
    // a leading quote, a blank at either end), so that the file opened is the one named.
    return "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data source=" +
           ado::quoted_value(path) +
           ";Extended Properties=';COUNTRY=0;CP=1252;LANGID=0x0409';Locale Identifier=1033;"
           "Jet OLEDB:System database='';Jet OLEDB:Registry Path='';"
           "Jet OLEDB:Database Password=" +
           ado::quoted_value(kDatabasePassword) + ";Jet OLEDB:Global Partial Bulk Ops=2";
}

ado::Connection& polaczenie() {
    if (!DbPolaczenie)
        throw jet::Error(jet::hr::NotAllowed,
                         "Operation is not allowed when the object is closed.");
    return *DbPolaczenie;
}

void DbOtwórz() {
    Biezaca_Operacja = "Load Baza";
    if (Baza_Otwarta) DbZamknij_Unload(0);
    try {
        nowe_polaczenie();
        if (Sciezka_Bazy.empty()) {
            Baza_Otwarta = 0;
            return;
        }
        otworz_polaczenie();
        loguj_polaczenie("Baza Otwarta          . Użytkownik:", "DBCLOSE2");
    } catch (const jet::Error& e) {
        // The log says why the open failed (a locked, missing or damaged file): under the
        // suite nobody reads the box.
        if (e.number() == jet::hr::Unspecified || e.number() == jet::hr::WrongPassword) {
            Wyjątek_Pokaż(e.signed_number(), e.description(), "", 0, true);
        } else {
            Wyjątek_Pokaż(e.signed_number(),
                          e.description() +
                              ".Jeśli sytuacja się powtarza 'przeinstaluj' program lub "
                              "skontaktuj się z producentem lub dystrybutorem oprogramowania",
                          "", -1, true);
        }
        Baza_Otwarta = 0;
    }
}

void DbOtwórzCicho() {
    try {
        nowe_polaczenie();
        Baza_Otwarta = 0;
        otworz_polaczenie();
    } catch (const jet::Error&) {
        Baza_Otwarta = 0;
    }
}

void DbPolacz_Ponownie() {
    try {
        if (!Sciezka_Bazy.empty()) {
            for (;;) {
                DbOtwórzCicho();
                if (Baza_Otwarta) break;
                if (FMsg_box("Mam problem z ponownym podłączeniem się do bazy danych. Powtórzyć ?",
                             vbYesNo, "") == vbNo)
                    Wylogowanie();
            }
        }
        loguj_polaczenie("Baza Otwarta  -Automat. Użytkownik:", "DBCLOSE2");
    } catch (const jet::Error&) {
        FMsg_box("Nierozpoznana BAZA", vbCritical, "");
    }
}

void DbZamknij() {
    std::optional<jet::Error> zapis;  // the close's commit that failed
    if (Baza_Otwarta && DbPolaczenie && DbPolaczenie->State() == ado::adStateOpen) {
        try {
            DbPolaczenie->Close();
        } catch (const jet::Error& e) {
            zapis = e;
        }
    }
    DbPolaczenie.reset();
    Baza_Otwarta = 0;
    // A close that could not copy the whole log into the file says why: the database is
    // whole in the file and its log together, but a copy of the file alone is not.
    if (const auto dziennik = jet::Database::log_not_copied(Sciezka_Bazy))
        Zapisz_Log(kDziennikPozaPlikiem, "DBCLOSE", dziennik->description());
    // A commit that failed is a failed write: the run ends as on any other, and the
    // database stays as of its last commit. Wylogowanie logs the close.
    if (zapis) Wyjątek_Pokaż(zapis->signed_number(), zapis->description(), "", -1);
    loguj_polaczenie("Baza Zamknięta.         Użytkownik:", "DBCLOSE");
}

void leave_file_whole_at_close() {
    if (Baza_Otwarta && DbPolaczenie && DbPolaczenie->State() == ado::adStateOpen)
        DbPolaczenie->database().leave_file_whole_at_close();
}

void DbZamknij_Unload(int16_t koncowe) {
    if (koncowe) leave_file_whole_at_close();
    if (Baza_Otwarta) {
        Begin_Commit_T();
        DbZamknij();
    } else {
        DbPolaczenie.reset();
    }
    Baza_Otwarta = 0;
    if (koncowe) {
        loguj_polaczenie("Baza Zamknięta-Unload. Użytkownik:", "DBCLOSE2");
        Zapisz_Rejestr("dodralvex", "0001", 0);
        platform::end_process(platform::exit_status::stopped);
    }
}

void Wylogowanie(int16_t) {
    leave_file_whole_at_close();
    if (Baza_Otwarta) Begin_Commit_T();
    DbZamknij();
    loguj_polaczenie("Wylogowanie.            Użytkownik:", "DBCLOSE");
    Zapisz_Rejestr("dodralvex", "0000", 0);
    platform::end_process(platform::exit_status::fatal);
}

void Begin_T() {
    try {
        const int poziom = polaczenie().BeginTrans();
        if (poziom > 1) {
            platform::message_box(kNiezamknieteTransakcje, vbOKOnly, "");
            for (int i = 0; i < poziom; ++i) polaczenie().CommitTrans();
            polaczenie().BeginTrans();
        }
    } catch (const jet::Error& e) {
        blad_transakcji(e, "Begin_T", "Błąd otwarcia transakcji", "Błąd otwarcia transakcji");
    }
}

void Commit_T() {
    try {
        polaczenie().CommitTrans();
    } catch (const jet::Error& e) {
        blad_transakcji(e, "Commit_T", "Błąd Zatwierdzenia transakcji",
                        "Błąd Zatwierdzenia transakcji");
    }
}

void Rollback_T() {
    try {
        polaczenie().RollbackTrans();
    } catch (const jet::Error& e) {
        blad_transakcji(e, "Rollback_T", "Błąd Wycofania Transakcji", "Błąd Wycofania Transakcji");
    }
}

void Begin_Commit_T() {
    int poziom = 0;
    try {
        poziom = polaczenie().BeginTrans();  // the probe
    } catch (const jet::Error& e) {
        blad_transakcji(e, "Begin_Commit_T", "Błąd otwarcia transakcji",
                        "Błąd otwarcia transakcji");
        return;
    }
    try {
        if (poziom < 2) {
            polaczenie().CommitTrans();
            return;
        }
        Zapisz_Log("ERR.MSG:", "Begin_Commit_T",
                   "Nie zmamknięte transakcje:" + std::to_string(poziom));
        platform::message_box(kNiezamknieteTransakcje, vbOKOnly, "");
        for (int i = 0; i < poziom; ++i) polaczenie().CommitTrans();
    } catch (const jet::Error& e) {
        blad_transakcji(e, "Begin_Commit_T", "Błąd zamknięcia transakcji",
                        "Błąd otwarcia transakcji");
        for (int i = 0; i < 10; ++i) Rollback_T();
    }
}
