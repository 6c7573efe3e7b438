// Steps 5.68 to 5.77: prices before discount and price discounts on invoice, delivery
// note and return lines, per-product contractor discounts, personnel notes, the inventory
// quantities table, a period for advances, payroll components 198 to 201 and contractor
// settings.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/400_499/wspolne_400.h"

void ClsKonwersje::Konwersja_568() {
    Dodaj_Pole("DOK_FAK_ZAWART", "CENA_B_RABATU money DEFAULT 0");
    Dodaj_Pole("DOK_FAK_ZAWART", "RABAT_CEN money DEFAULT 0");
    DbWykonajKonwersje(
        "create table [KONTRAHENCI_RABATY_CEN] (countt int identity, KONH_ID int DEFAULT 0, "
        "PROD_ID int DEFAULT 0, RABAT money DEFAULT 0)");
    CzekajKonwersje(3);
    Utworz_Klucz_Podstawowy("KONTRAHENCI_RABATY_CEN", "KONH_ID,PROD_ID", 0);
    // A line without a net price has none before the discount either: 0, the column's own.
    DbWykonajKonwersje("UPDATE DOK_FAK_ZAWART set CENA_B_RABATU=Nz(ZFAKOUT_CENA_N,0)");
}

void ClsKonwersje::Konwersja_569() {
    Dodaj_Pole("KADRY_ZAS", "DataOd SmallDateTime DEFAULT null");
    Dodaj_Pole("KADRY_ZAS", "DataDo SmallDateTime DEFAULT null");
    CzekajKonwersje(1);
    DbWykonajKonwersje("update KADRY_ZAS set DataOd=data");
    DbWykonajKonwersje("update KADRY_ZAS set DataDo=data");
    Utworz_Klucz_Podstawowy("KADRY_ZAS", "ID_PRAC,DataOd,countt", 0);
}

void ClsKonwersje::Konwersja_570() {
    DbWykonajKonwersje(
        "create table [KADRY_INFO] (countt int identity, Data SmallDateTime DEFAULT null, Pole0 "
        "Text (255),Pole1 Text (255),Pole2 Text (255),Pole3 Text (255),Pole4 Text (255),Pole5 "
        "Text (255) )");
}

void ClsKonwersje::Konwersja_571() {
    DbWykonajKonwersje("drop table PLACE_ZESTAWIENIA");
    DbWykonajKonwersje("drop table D_PLACE_ZESTAWIENIA_ZAWART");
    DbWykonajKonwersje("drop table D_PLACE_ZESTAWIENIA_ZAWART_SUMY");
    DbWykonajKonwersje(
        "create table [Dok_Mi] (countt int identity, Ilosc int DEFAULT 0,IloscRi int DEFAULT 0, "
        "Prod_id int DEFAULT 0, Id_grprod int DEFAULT 0,Data SmallDateTime DEFAULT null)");
}

void ClsKonwersje::Konwersja_572() {
    for (const char* tabela : {"DOK_DD_ZAWART", "DOK_DZ_ZAWART"}) {
        Dodaj_Pole(tabela, "CENA_B_RABATU money DEFAULT 0");
        Dodaj_Pole(tabela, "RABAT_CEN money DEFAULT 0");
    }
}

void ClsKonwersje::Konwersja_573() {
    for (const kroki::Skladnik_Plac& s :
         {kroki::Skladnik_Plac{198, "Dni przepracowane", "Dni przepr."},
          {199, "Stawka dzienna deputatu", "Stawka dep."},
          {200, "Deputat", "Deputat"},
          {201, "Premia motywacyjna", "Premia mot."}})
        kroki::Dodaj_Skladnik_Plac(*this, "PLACE_OPISY", s);
    for (int n = 198; n <= 201; ++n)
        DbWykonajKonwersje(std::string("alter table PLACE_LISTY_ZAWART ") + "ADD COLUMN" +
                           " [wartosc" + std::to_string(n) + "]  " + "money DEFAULT 0");
}

void ClsKonwersje::Konwersja_575() {
    struct Uzupelnienie {
        const char* tabela;
        const char* przypisanie;
        const char* warunek;
    };
    // A price before the discount not yet given is the net price, 0 where that is not given.
    static constexpr Uzupelnienie kUzupelnienia[] = {
        {"DOK_FAK_ZAWART", "CENA_B_RABATU=Nz(ZFAKOUT_CENA_N,0)",
         "CENA_B_RABATU=0 or CENA_B_RABATU is null"},
        {"DOK_DD_ZAWART", "CENA_B_RABATU=Nz(ZDDOUT_CENA_N,0)",
         "CENA_B_RABATU=0 or CENA_B_RABATU is null"},
        {"DOK_DZ_ZAWART", "CENA_B_RABATU=Nz(ZDDOUT_CENA_N,0)",
         "CENA_B_RABATU=0 or CENA_B_RABATU is null"},
        {"DOK_FAK_ZAWART", "RABAT_CEN=0", "RABAT_CEN is null"},
        {"DOK_DD_ZAWART", "RABAT_CEN=0", "RABAT_CEN is null"},
        {"DOK_DZ_ZAWART", "RABAT_CEN=0", "RABAT_CEN is null"},
    };
    for (const Uzupelnienie& u : kUzupelnienia)
        DbWykonajUPDKonwersje("", u.tabela, u.przypisanie, u.warunek);
}

void ClsKonwersje::Konwersja_576() {
    Dodaj_Pole("Kontrahenci", "[Tryb_REAL] Logical");
    Dodaj_Pole("Kontrahenci", "[Cena_Poj] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_577() {
    Dodaj_Pole("Kontrahenci", "[Dom_text_na_kp] Text (150)");
    Dodaj_Pole("Kontrahenci", "[Dom_text_na_kw] Text (150)");
}
