// Steps 5.96 to 5.98: PIT and personnel option columns, and inventory quantities that may
// hold fractions.
#include <string>

#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_596() {
    Dodaj_Pole("KADRY_PIT", "[PIT8S] Text (1)");
}

void ClsKonwersje::Konwersja_597() {
    Dodaj_Pole("KADRY_OPCJE", "[ZDR_WYCH] tinyint DEFAULT 0");
}

void ClsKonwersje::Konwersja_598() {
    // The key goes for good: it would stand in the way of the retyped columns.
    DbWykonajKonwersje(std::string("drop index Podstawowy ON ") + "DOK_MI", true);
    Zmien_Typ_Pola("Ilosc", "Single DEFAULT 0", "DOK_MI");
    Zmien_Typ_Pola("IloscRi", "Single DEFAULT 0", "DOK_MI");
    CzekajKonwersje(2);
}
