// Steps 5.59 to 5.67: the link of document kinds to posting schemes, monthly stock lines,
// accelerated depreciation, standing deductions and advances, a second price, payroll
// components 196 and 197, recipes on production lines and the flour flag.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

void ClsKonwersje::Konwersja_559() {
    DbWykonajKonwersje(
        "create table [KH_SCHEMATY_CONNECT] (countt int identity, RODZAJDOK Text (5), IDRODZAJU "
        "int DEFAULT 0, SCHEMAT Text (20))");
    Utworz_Klucz_Podstawowy("KH_SCHEMATY_CONNECT", "RODZAJDOK", 0);
}

void ClsKonwersje::Konwersja_560() {
    DbWykonajKonwersje(
        "create table [Stany_Miesiaca_zawart] (Dzien SmallDateTime DEFAULT null,Prod_id int "
        "DEFAULT 0,Cena money DEFAULT 0,Ilosc_przed Single DEFAULT 0,Ilosc_zak Single DEFAULT "
        "0,Ilosc_RnP Single DEFAULT 0,Ilosc_mm Single DEFAULT 0,Ilosc_mmp Single DEFAULT "
        "0,Ilosc_mmm Single DEFAULT 0,Ilosc_rozch Single DEFAULT 0,Ilosc_ri Single DEFAULT "
        "0,Ilosc_pp Single DEFAULT 0,Ilosc_Zwr Single DEFAULT 0,Ilosc_kompl Single DEFAULT "
        "0,Razem Single DEFAULT 0,countt int identity)");
    // A key or index that cannot be made ends the run: the stock lines rely on them.
    Utworz_Klucz_Podstawowy("Stany_Miesiaca_zawart", "Dzien,Prod_id,Cena", -1);
    Utworz_Index("Razem", "Stany_Miesiaca_zawart", std::string_view("Razem"), -1);
    Utworz_Index_Unikalny("countt", "Stany_Miesiaca_zawart", "countt", -1);
}

void ClsKonwersje::Konwersja_561() {
    Dodaj_Pole("SRODKI_TRWALE", "JestPrzyspAmort int DEFAULT 0");
    Dodaj_Pole("SRODKI_TRWALE", "ProcPrzyspAmort money DEFAULT 0");
}

void ClsKonwersje::Konwersja_562() {
    DbWykonajUPDKonwersje("",
                          "CENNIKI_ZAWART inner join CENNIKI on "
                          "CENNIKI_ZAWART.ID_CENNIKA=CENNIKI.ID_CENNIKA",
                          "CENNIKI_ZAWART.ACTIVE=" +
                              kroki::Kopia_Bez_Nulla("CENNIKI_ZAWART.ACTIVE", "CENNIKI.ACTIVE"),
                          "");
    DbWykonajKonwersje(
        "create table [KADRY_POTR] (countt int identity, ID_PRAC int DEFAULT 0, ID_POTR int "
        "DEFAULT 0, Kwota money DEFAULT 0, ILOSC int DEFAULT 0, RATA money DEFAULT 0, dataod "
        "SmallDateTime DEFAULT null, datado SmallDateTime DEFAULT null)");
    Utworz_Klucz_Podstawowy("KADRY_POTR", "ID_PRAC,Dataod,countt", 0);
    DbWykonajKonwersje(
        "create table [S_POTR] (ID_POTR int identity, Nazwa Text (10), Opis Text (30), RODZAJ "
        "Text (1))");
    Utworz_Klucz_Podstawowy("S_POTR", "ID_POTR", 0);
    DbWykonajKonwersje(
        "create table [PLACE_POTR] (countt int identity, ID_LISTY int DEFAULT 0, ID_PRAC int "
        "DEFAULT 0, ID_POTR int DEFAULT 0, Kwota money DEFAULT 0, dataK SmallDateTime DEFAULT "
        "null, dataP SmallDateTime DEFAULT null)");
    Utworz_Klucz_Podstawowy("PLACE_POTR", "ID_PRAC,DataK,countt", 0);
}

void ClsKonwersje::Konwersja_563() {
    Dodaj_Pole("Cenniki_zawart", "DrugaCena money DEFAULT 0");
    DbWykonajKonwersje("update Cenniki_zawart set DrugaCena=0");
    Dodaj_Pole("DOK_DD_ZAWART", "CENA_N_2 money DEFAULT 0");
    DbWykonajKonwersje("update DOK_DD_ZAWART set CENA_N_2=0");
}

void ClsKonwersje::Konwersja_564() {
    for (int pole : {196, 197})
        kroki::Dodaj_Skladnik_Plac(*this, "[place_opisy]",
                                   {pole, "Składka zdrowotna nieodliczana", "Skł.zdr.n.odl."});
    for (int n : {196, 197})
        DbWykonajKonwersje(std::string("alter table [Place_Listy_zawart] ") + "ADD COLUMN" +
                           " [wartosc" + std::to_string(n) + "]  " + "money DEFAULT 0");
    DbWykonajKonwersje(
        "create table [KADRY_ZAS] (countt int identity, ID_PRAC int DEFAULT 0, Opis Text (30), "
        "Kwota money DEFAULT 0, Podatek money DEFAULT 0, data SmallDateTime DEFAULT null)");
    Utworz_Klucz_Podstawowy("KADRY_ZAS", "ID_PRAC,Data,countt", 0);
}

void ClsKonwersje::Konwersja_565() {
    Dodaj_Pole("DOK_PRO_ZAWART", "ID_RECEPTURY int DEFAULT 0");
    // The active recipe first; a line still without one then takes an inactive recipe. Of
    // two recipes of the product alike, the first (the lowest ID_RECEPTURY).
    for (const char* aktywna : {"-1", "0"})
        DbWykonajKonwersje(
            std::string("UPDATE (DOK_PRO_ZAWART AS DPZ INNER JOIN PRODUKTY_RECEPTURY AS PR ON "
                        "DPZ.PROD_ID=PR.PROD_ID) LEFT JOIN PRODUKTY_RECEPTURY AS PN ON "
                        "(PN.PROD_ID=PR.PROD_ID AND PN.ACTIVE=PR.ACTIVE AND "
                        "PN.ID_RECEPTURY<PR.ID_RECEPTURY) SET DPZ.ID_RECEPTURY=PR.ID_RECEPTURY "
                        "WHERE (DPZ.ID_RECEPTURY=0 OR DPZ.ID_RECEPTURY IS NULL) AND "
                        "PN.ID_RECEPTURY IS NULL AND PR.ACTIVE=") +
            aktywna);
}

void ClsKonwersje::Konwersja_566() {
    Dodaj_Pole("PRODUKTY", "JEST_MAKA Logical");
    Dodaj_Pole("PRODUKTY", "OLD_SWW Text (15)");
    DbWykonajKonwersje("UPDATE PRODUKTY set OLD_SWW=mid(prod_sww,1,15)");
}

void ClsKonwersje::Konwersja_567() {
    Zmien_Typ_Pola("JEST_MAKA", "int DEFAULT 0", "PRODUKTY");
}
