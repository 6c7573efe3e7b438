// The conversion class's schema helpers and its wait.
#include <chrono>
#include <ctime>
#include <thread>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "jet/text.h"
#include "platform/wait.h"

namespace {

// The clock as the number hhmmss of the time of day.
long Zegar_HHMMSS() {
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return lt.tm_hour * 10000L + lt.tm_min * 100L + lt.tm_sec;
}

// The class's executor for the statements of a change through the temporary column.
Wykonawca_Zmiany Wykonawca(ClsKonwersje& k) {
    return [&k](const std::string& statement) {
        k.DbWykonajKonwersje(statement);
        return true;
    };
}

}  // namespace

void ClsKonwersje::Dodaj_Pole(const std::string& table, const std::string& definition) {
    DbWykonajKonwersje("alter table " + table + " add " + definition, false);
}

void ClsKonwersje::Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                                  const std::string& table, std::string& new_name) {
    const std::string etap = jet::text::upper(new_type) == "COUNTER" ? "Long" : new_type;
    if (new_name.empty()) new_name = column;
    const std::string tmp = kKolumnaTymczasowa;
    // A run of the suite's earlier tool that stopped inside a change through the
    // temporary column left it at any point of the change, and the step's changes are
    // repeated from its first: the table's schema tells where this change goes on from.
    switch (
        Rozstrzygnij_Kopie(table, table, {column, new_name, new_type, etap}, Wykonawca(*this))) {
        case Stan_Kopii::Zmiana_Zakonczona:
            return;
        case Stan_Kopii::Po_Usunieciu:
            Dokoncz_Zmiane_Typu(table, new_name, new_type);
            return;
        case Stan_Kopii::Po_Dodaniu:
            Oddaj_Kopie(table, new_name, Wykonawca(*this));
            CzekajKonwersje(1);
            return;
        default:    // no temporary column, or its own copy beside its column: the change
            break;  // runs whole, its first statement dropping the copy
    }
    DbWykonajKonwersje("alter table " + table + " drop COLUMN " + tmp + " ");
    DbWykonajKonwersje("alter table " + table + " ADD " + tmp + " " + etap);
    CzekajKonwersje(1);
    DbWykonajKonwersje("UPDATE " + table + " SET " + tmp + "=[" + column + "]");
    DbWykonajKonwersje("drop INDEX ind" + column + " ON " + table);
    DbWykonajKonwersje("drop INDEX " + column + " ON " + table);
    DbWykonajKonwersje("alter table " + table + " drop COLUMN " + column);
    Dokoncz_Zmiane_Typu(table, new_name, new_type);
}

// The retype's second half: the column added anew with its type, filled back from the
// temporary column, which is dropped.
void ClsKonwersje::Dokoncz_Zmiane_Typu(const std::string& table, const std::string& new_name,
                                       const std::string& new_type) {
    DbWykonajKonwersje("alter table " + table + " ADD " + new_name + " " + new_type);
    CzekajKonwersje(1);
    Oddaj_Kopie(table, new_name, Wykonawca(*this));
    CzekajKonwersje(1);
}

void ClsKonwersje::Sprawdz_Kolumny_Tymczasowe() {
    for (const std::string& tabela : Tabele_Z_Kolumna_Tymczasowa())
        Rozstrzygnij_Kopie(tabela, "[" + tabela + "]", {}, Wykonawca(*this));
}

void ClsKonwersje::Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                                  const std::string& table) {
    std::string nazwa;
    Zmien_Typ_Pola(column, new_type, table, nazwa);
}

std::string ClsKonwersje::Poszerz_Pola_Z_SQLKonwersje(const std::string& statement,
                                                      int32_t& records_affected) {
    // The same repair as the module's: widen the short text columns of the statement's
    // table and run the statement once more.
    return Poszerz_Pola_Z_SQL(statement, records_affected);
}

void ClsKonwersje::CzekajKonwersje(int32_t seconds) {
    // Counts changes of the clock's second and shows the seconds left on status line 3.
    // A wait of 0 still waits for one change (and shows -1). With fast waits the
    // countdown is shown without waiting.
    int32_t licznik = 0;
    const bool szybko = platform::fast_wait();
    long poprzedni = Zegar_HHMMSS();
    do {
        if (!szybko) {
            long teraz = Zegar_HHMMSS();
            while (teraz == poprzedni) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                teraz = Zegar_HHMMSS();
            }
            poprzedni = teraz;
        }
        ++licznik;
        Pokaz_Postep("", "", std::to_string(seconds - licznik));
    } while (licznik < seconds);
}
