// Steps 6.00 and 6.03: the report definitions of the ledger keyed by an automatic ID with
// fractional position numbers, sixteen positions of the profit and loss statement
// corrected, and the discount rows' drivers.
#include <string>

#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_600() {
    DbWykonajKonwersje("drop table PLACE_ZESTAWIENIA_ZAWART");
    DbWykonajKonwersje("drop table PLACE_ZESTAWIENIA_ZAWART_SUMY");
    const char* kRaporty[] = {"KH_BILANS", "KH_F01", "KH_RACHUNEK"};
    // A table that has its ID, added after the three changes, had its position changed by an
    // earlier run: changed again, it would stand after the ID.
    for (const char* tabela : kRaporty) {
        DbWykonajKonwersje(std::string("drop index Podstawowy ON ") + tabela, true);
        if (!Jest_Tabela(tabela, "ID")) Zmien_Typ_Pola("Id_poz", "Single DEFAULT 0", tabela);
    }
    for (const char* tabela : kRaporty) Dodaj_Pole(tabela, "[ID] int identity");
    CzekajKonwersje(2);
    for (int poz : {9, 12, 21, 36, 37, 40, 43, 60, 69, 84, 85, 88, 91})
        DbWykonajKonwersje("update KH_RACHUNEK as t set t.K=2 where t.id_poz=" +
                           std::to_string(poz));
    DbWykonajKonwersje("update KH_RACHUNEK as t set t.p1=44 where t.id_poz=47");
    DbWykonajKonwersje("update KH_RACHUNEK as t set t.p1=0 where t.id_poz=38");
    DbWykonajKonwersje("update KH_RACHUNEK as t set t.p1=0 where t.id_poz=39");
}

void ClsKonwersje::Konwersja_603() {
    Kierowcy_Rabatow_Z_Grupy_0();
}
