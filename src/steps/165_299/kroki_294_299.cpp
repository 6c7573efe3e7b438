// Steps 2.94 to 2.99: a whole-document discount on the corrections, sales-invoice lines
// of zero quantity removed, a unique number on every document table whose numbers allow
// it, obsolete tables and users' rights cleared, and comments on orders and documents.
#include <array>
#include <string>
#include <utility>

#include "driver/konwersje.h"

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
    // Table (padded as the statements write it) and its number column. A table whose
    // numbers repeat is refused its index; the executor absorbs that and goes on.
    static constexpr std::array<std::pair<const char*, const char*>, 11> kNumery = {{
        {"DOK_FAK ", "FAKOUT_NUMER"},
        {"DOK_DD  ", "DDOUT_NUMER"},
        {"DOK_DZ  ", "DDOUT_NUMER"},
        {"DOK_KFA ", "fkorout_numer"},
        {"DOK_PAR ", "DDOUT_NUMER"},
        {"DOK_PW  ", "DDOUT_NUMER"},
        {"DOK_RW  ", "DDOUT_NUMER"},
        {"DOK_ZAK ", "numer_zaksiegowania"},
        {"DOK_KZA ", "fkorout_numer"},
        {"DOK_WZ  ", "DDOUT_NUMER"},
        {"DOK_PZ  ", "DDOUT_NUMER"},
    }};
    for (const auto& [tabela, kolumna] : kNumery)
        DbWykonajKonwersje(std::string("CREATE UNIQUE INDEX UnicNumer ON ") + tabela + "(" +
                           kolumna + ")");
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
