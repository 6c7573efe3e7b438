// Step 3.12: order comments get two more texts and order numbers, and document numbers
// become unique within each document table (clashes logged and renumbered with "N").
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_312() {
    for (const char* kolumna :
         {" TEKST2 memo", " TEKST3 memo", " nr_zamowienia2 text(50)", " nr_zamowienia3 text(50)"})
        DbWykonajKonwersje(std::string("alter table [ZAMOWIENIA_KOMENTARZE] ") + "ADD COLUMN" +
                           kolumna);
    kroki::Popraw_Podwojne_Numery(*this);
}
