// Steps 2.94 to 2.99: a whole-document discount on the corrections, sales-invoice lines
// of zero quantity removed, a unique number on every document table whose numbers allow
// it, obsolete tables and users' rights cleared, and comments on orders and documents.
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_294() {
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN rabat_caly money");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN rabat_caly money");
    DbWykonajUPDKonwersje("DOK_KFA set rabat_caly=0 where rabat_caly is null", "", "", "", "",
                          false);
    DbWykonajUPDKonwersje("DOK_KZA set rabat_caly=0 where rabat_caly is null", "", "", "", "",
                          false);
}

void ClsKonwersje::Konwersja_295() {
    DbWykonajDELKonwersje("DOK_FAK_ZAWART where ZFAKOUT_ILOSC=0", "");
}

void ClsKonwersje::Konwersja_296() {
    // A table whose numbers repeat is refused its index until step 3.12 makes them unique.
    kroki::Utworz_Indeksy_UnicNumer(*this, false);
}

void ClsKonwersje::Konwersja_297() {
    DbWykonajKonwersje("drop table [TAB_NOWA_DOK]");
    DbWykonajKonwersje("drop table [TAB_NOWA_FZB]");
    DbWykonajKonwersje("drop table [Numery_OST_DOK]");
    DbWykonajKonwersje("update uzytkownicy set prawa =''");
}

void ClsKonwersje::Konwersja_298() {
    DbWykonajKonwersje(
        "create table [ZAMOWIENIA_KOMENTARZE] (Data date,konh_id long,TEKST memo,[iddd] "
        "counter)");
    DbWykonajKonwersje("alter table [DOK_FAK] ADD COLUMN Komentarz memo");
}

void ClsKonwersje::Konwersja_299() {
    DbWykonajKonwersje("alter table [DOK_PAR] ADD COLUMN Komentarz memo");
    DbWykonajKonwersje("alter table [DOK_RW] ADD COLUMN Komentarz memo");
    DbWykonajKonwersje("alter table [DOK_DD] ADD COLUMN Komentarz memo");
}
