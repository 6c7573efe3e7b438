// Steps 3.10, 3.11 and 3.13 to 3.16: benefit breaks and the employment fraction of
// employees, import ids of orders, orphan production lines and product renumbering, the
// employee address table, the print name of delivery notes and the gross prices of
// price lists.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_310() {
    DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_PRACOWNICY] ") + "ADD COLUMN" +
                       " [ETAT] TEXT(6)");
    DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_PRACOWNICY] ") + "ADD COLUMN" +
                       " [KodZUS] TEXT(6)");
    DbWykonajKonwersje("Update [KADRY_PRACOWNICY] set etat='1  1  ' where etat is null");
    DbWykonajKonwersje("Update [KADRY_PRACOWNICY] set kodZus='011000' where kodzus is null");
    DbWykonajKonwersje(
        "create table [PLACE_SWIADCZ_PRZERWY] (IDListy Long,  ID_prac Long, DataK Date, DataP "
        "Date, ID_Nieob long, Dataod date, Datado date, Ilosc long, Procent long, Id_Kadry_nieob "
        "long,kwota currency,Countt counter)");
}

void ClsKonwersje::Konwersja_311() {
    DbWykonajKonwersje(std::string("alter table DOK_ZAM ") + "ADD COLUMN" + " id_import long");
    DbWykonajKonwersje(std::string("alter table DOK_ZAM_ZAWART ") + "ADD COLUMN" +
                       " id_import long");
}

void ClsKonwersje::Konwersja_313() {
    // Production lines whose product or raw material is gone.
    kroki::Usun_Produkcje_Bez_Produktu(*this, 313, "delete");

    // A product without a code takes the first six characters of its name.
    DbWykonajKonwersje(
        "Update PRODUKTY set prod_kod=mid(prod_nazwa_id,1,6) where prod_kod='' or prod_kod is "
        "null");

    // Display order 1, 2, 3, ... without gaps, in the existing order; of products of one
    // number (or none), the lower id first.
    int32_t licznik = 0;
    kroki::Numeruj(*this, "prod_numer_id from PRODUKTY order by prod_numer_id,prod_id",
                   [&licznik](ado::Recordset&) -> std::optional<int32_t> { return ++licznik; });

    DbWykonajUPDKonwersje("PRODUKTY set Lancz_w=PROD_NAZWA_id  where Lancz_w is null", "", "", "");
    DbWykonajUPDKonwersje("PRODUKTY set PROD_WAGA=1  where PROD_WAGA is null", "", "", "");
    DbWykonajUPDKonwersje("PRODUKTY set PROD_WYDAJNOSCzREC=1  where PROD_WYDAJNOSCzREC is null", "",
                          "", "");
    DbWykonajUPDKonwersje("PRODUKTY set Id_Poj_Domyslny=0  where Id_Poj_Domyslny is null", "", "",
                          "");
}

void ClsKonwersje::Konwersja_314() {
    // The address table starts anew: what it held is dropped with it.
    DbWykonajKonwersje("drop table [KADRY_ADRESY]");
    DbWykonajKonwersje(
        "create table [KADRY_ADRESY] (ID_prac long,Dataod date,kraj text(20),wojew "
        "TEXT(30),powiat TEXT(40),gmina TEXT(40),ulica TEXT(40),dom TEXT(5),mieszkanie "
        "TEXT(5),miejscowosc TEXT(40),kodpocztowy TEXT(6),poczta TEXT(40),tel TEXT(20),fax "
        "text(20),ulica1 TEXT(40),dom1 TEXT(5),mieszkanie1 TEXT(5),miejscowosc1 "
        "TEXT(40),kodpocztowy1 TEXT(6),poczta1 TEXT(40),tel1 TEXT(20),fax1 text(20),ulica2 "
        "TEXT(40),dom2 TEXT(5),mieszkanie2 TEXT(5),miejscowosc2 TEXT(40),kodpocztowy2 "
        "TEXT(6),poczta2 TEXT(40),tel2 TEXT(20),fax2 text(20),email text (40),countt counter)");
    DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_PRACOWNICY] ") + "ADD COLUMN" +
                       " [Kategoria] TEXT(1)");
}

void ClsKonwersje::Konwersja_315() {
    DbWykonajKonwersje(std::string("alter table [PRODUKTY] ") + "ADD COLUMN" +
                       " [Lancz_w_dd] text(80)");
    DbWykonajUPDKonwersje("PRODUKTY set Lancz_w=PROD_NAZWA_id  where Lancz_w is null", "", "", "");
    DbWykonajUPDKonwersje("PRODUKTY set [Lancz_w_DD]=[Lancz_w]  where Lancz_w_DD is null", "", "",
                          "");
}

void ClsKonwersje::Konwersja_316() {
    DbWykonajKonwersje(std::string("alter table [CENNIKI_ZAWART] ") + "ADD COLUMN" +
                       " [Cen_Brutto] money");
    // Rate code of the product and the factor of the net price ("" for none); a line
    // whose product has another rate keeps a Null gross price.
    static constexpr std::array<std::pair<const char*, const char*>, 5> kStawki = {{
        {"22", "*1.22"},
        {"7", "*1.07"},
        {"3", "*1.03"},
        {"zw", ""},
        {"0", ""},
    }};
    for (const auto& [stawka, mnoznik] : kStawki)
        DbWykonajUPDKonwersje(
            std::string("[CENNIKI_ZAWART] inner join [produkty] on "
                        "[CENNIKI_ZAWART].[prod_id]=[produkty].[prod_id] set "
                        "[CENNIKI_ZAWART].[Cen_Brutto]=[CENNIKI_ZAWART].[CEN_Narzut]") +
                mnoznik + " where STVAT_ID='" + stawka +
                "' and [CENNIKI_ZAWART].[Cen_Brutto] is null",
            "", "", "");
}
