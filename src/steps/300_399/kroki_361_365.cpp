// Steps 3.61 to 3.65: the fixed assets' coefficient and the recipes' wider product
// name, drivers of cash documents and contractors, break rows of deleted payroll lists,
// and the product-code, comment and civil-law contract columns.
#include <string>

#include "driver/konwersje.h"

namespace {

// "alter table [" & tabela & "] ADD COLUMN" & kolumna (a blank-led column part).
std::string Dodaj_Kolumne(const std::string& tabela, const char* kolumna) {
    return "alter table [" + tabela + "] " + "ADD COLUMN" + kolumna;
}

}  // namespace

void ClsKonwersje::Konwersja_361() {
    DbWykonajKonwersje(Dodaj_Kolumne("SRODKI_TRWALE", "  WSPOLCZYNNIK Currency"));
    DbWykonajKonwersje("Update [SRODKI_TRWALE] set WSPOLCZYNNIK=1");
    Zmien_Typ_Pola("pprod_nazwa_id", "text (80)", "PRODUKTY_Receptury");
}

void ClsKonwersje::Konwersja_362() {
    DbWykonajKonwersje(Dodaj_Kolumne("DOK_FIN", "  kierowca_id long"));
    DbWykonajKonwersje("Update [DOK_FIN] set kierowca_id=0");
}

void ClsKonwersje::Konwersja_363() {
    DbWykonajKonwersje(Dodaj_Kolumne("Kontrahenci", "  kier_id2 long"));
    DbWykonajKonwersje(Dodaj_Kolumne("Kontrahenci", "  kier_id3 long"));
    DbWykonajKonwersje("Update [Kontrahenci] set kier_id2=0,kier_id3=0");
}

void ClsKonwersje::Konwersja_364() {
    // A break row of a payroll list that no longer exists (or of none) goes.
    DbWykonajKonwersje(
        "delete PLACE_SWIADCZ_PRZERWY.* from PLACE_SWIADCZ_PRZERWY LEFT JOIN PLACE_LISTY ON "
        "PLACE_SWIADCZ_PRZERWY.IDListy=PLACE_LISTY.IDListy WHERE PLACE_LISTY.IDListy IS NULL");
}

void ClsKonwersje::Konwersja_365() {
    DbWykonajKonwersje(Dodaj_Kolumne("Kontrahenci", "  kod_prod logical"));
    DbWykonajKonwersje(Dodaj_Kolumne("Produkty", "  prod_kod2 text(20)"));
    DbWykonajKonwersje(Dodaj_Kolumne("DOK_DZ", " Komentarz memo"));
    for (const char* kolumna : {" kwota currency", " rata currency", " Data_um Date",
                                " Termin text(2)", " Post_szcz text(100)"})
        DbWykonajKonwersje(Dodaj_Kolumne("KADRY_UMOWYC", kolumna));
    for (const char* wypelnienie :
         {"Update [KADRY_UMOWYC] set kwota=0 where kwota is Null",
          "Update [KADRY_UMOWYC] set rata=0 where rata is Null",
          "Update [KADRY_UMOWYC] set Termin='' where Termin is Null",
          "Update [KADRY_UMOWYC] set Post_szcz='' where Post_szcz is Null",
          "Update [KADRY_UMOWYC] set Data_um=Dataod where Data_um is Null"})
        DbWykonajKonwersje(wypelnienie);
}
