// Steps 4.74 to 4.78: debit and credit accounts of the posting schemes, cost-account
// columns, further product codes, one contractor flag per document kind, the receipt
// marks of cash-register contractors and the gross prices of receipt lines.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The flags of the document kinds for which a contractor is offered, in order.
constexpr const char* kFlagiKontrahenta[] = {
    "Act_SZam", "Act_DD",  "Act_DZ",  "Act_Fzb",  "Act_Fwe", "Act_Par", "Act_Dar", "Act_SPF",
    "Act_RW",   "Act_PW",  "Act_Fis", "Act_ZZam", "Act_PZ",  "Act_WZ",  "Act_Zak", "Act_Rac",
    "Act_Frr",  "Act_ZPF", "Act_Nal", "Act_Zob",  "Act_Kas", "Act_Ban",
};

}  // namespace

// The receipt marks by the receipt's contractor: a cash-register contractor with a
// payer gives shop receipts, one without a payer fiscal-register receipts, any other
// contractor neither. Step 4.83 sets them once more.
void ClsKonwersje::Oznacz_Paragony_Sklepowe() {
    DbWykonajKonwersje(
        "update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set "
        "dok_par.KasaFis=0,dok_par.sklepowy=-1 where (kontrahenci.rkonh_nazwa_id='Kasa "
        "Fiskalna' and konh_platnik_kto<>'')");
    DbWykonajKonwersje(
        "update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set "
        "dok_par.KasaFis=-1,dok_par.sklepowy=0 where (kontrahenci.rkonh_nazwa_id='Kasa "
        "Fiskalna' and konh_platnik_kto='')");
    DbWykonajKonwersje(
        "update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set "
        "dok_par.KasaFis=0,dok_par.sklepowy=0 where kontrahenci.rkonh_nazwa_id<>'Kasa "
        "Fiskalna'");
}

void ClsKonwersje::Konwersja_474() {
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN Konto_MA Text (200)");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN  Konto_WN Text (200)");
    // A run that stopped after dropping the account or its side had split every line.
    if (kroki::Sa_Kolumny(*this, "KH_SCHEMATY_ZAWART", {"konto", "strona"})) {
        DbWykonajKonwersje(" update KH_SCHEMATY_ZAWART set konto_wn=konto where STRONA='WN'");
        DbWykonajKonwersje(" update KH_SCHEMATY_ZAWART set konto_ma=konto where STRONA='MA'");
    }
    Usun_Index("Podstawowy", "KH_SCHEMATY_ZAWART");
    Usun_Pole("KH_SCHEMATY_ZAWART", "konto");
    Usun_Pole("KH_SCHEMATY_ZAWART", "strona");
    Utworz_Klucz_Podstawowy("KH_SCHEMATY_ZAWART", "SYMBOL_SCH,POLE,COUNTT");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN Procent Single DEFAULT 0");
    // An entry without its kind is of none (0).
    DbWykonajKonwersje(
        "Update KH_Ksiega set rodzaj=22 where (rodzaj=20 or Nz(rodzaj,0)=0) and opis='Kasa "
        "Fiskalna'");
}

void ClsKonwersje::Konwersja_475() {
    DbWykonajKonwersje("drop table DOK_PRO_ZAWART_SUROWCE");
    DbWykonajKonwersje("drop table DOK_PRO_SUROWCE");
    DbWykonajKonwersje("alter table [Produkty] ADD COLUMN Dom_konto500 Text  (80)");
    DbWykonajKonwersje("alter table [Dok_zak_zawart] ADD COLUMN KONTOfk500 Text  (80)");
}

void ClsKonwersje::Konwersja_476() {
    DbWykonajKonwersje("alter table [Produkty] ADD COLUMN prod_kod4 Text  (20)");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN kod_prod4 Logical");
}

void ClsKonwersje::Konwersja_477() {
    for (const char* flaga : kFlagiKontrahenta)
        DbWykonajKonwersje(std::string("alter table [Kontrahenci] ADD COLUMN  ") + flaga +
                           " Logical");
    DbWykonajKonwersje("alter table [DOK_PAR] ADD COLUMN KasaFis Logical");
    DbWykonajKonwersje("alter table [DOK_PAR] ADD COLUMN Sklepowy Logical");
    Oznacz_Paragony_Sklepowe();

    const std::string brutto =
        "update dok_par_zawart set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*(1+ZDDOUT_VAT/100) where "
        "Nz(WSPRZ_CENA_BRUTTO,0)=0 and ZDDOUT_CENA_N*ZDDOUT_ILOSC<>0 and ";
    const std::string stawki =
        "(ZDDOUT_VAT='7' or ZDDOUT_VAT='3' or ZDDOUT_VAT='12' or ZDDOUT_VAT='22')";
    DbWykonajKonwersje(brutto + stawki);
    DbWykonajKonwersje(brutto + "not " + stawki);
    // A line without a quantity keeps its gross value: the product would be Null. A gross
    // price or value not given (Null) is computed as one of 0.
    DbWykonajKonwersje(
        "update dok_par_zawart set WSPRZ_WARTOSC_BRUTTO=WSPRZ_CENA_BRUTTO*ZDDOUT_ILOSC where "
        "WSPRZ_CENA_BRUTTO<>0 and Nz(WSPRZ_WARTOSC_BRUTTO,0)=0 and ZDDOUT_ILOSC is not null");

    DbWykonajUPDKonwersje(
        "[Kontrahenci] set [LCEN_NAZWA_ID]   ='' where [LCEN_NAZWA_ID]   ='Brak' or "
        "[LCEN_NAZWA_ID]='Brak cennika !'",
        "", "", "");
    DbWykonajUPDKonwersje(
        "[Kontrahenci] set [LCEN_NAZWA_ID_2] ='' where [LCEN_NAZWA_ID_2] ='Brak' or "
        "[LCEN_NAZWA_ID_2]='Brak cennika !'",
        "", "", "");
    DbWykonajUPDKonwersje("[Kontrahenci] set [konh_platnik_kto]='' where [konh_platnik_kto]='Brak'",
                          "", "", "");
    DbWykonajUPDKonwersje(
        "[Kontrahenci] set [konh_okres]      ='' where [konh_okres]      ='Brak' or "
        "[konh_okres]='Brak okresu'",
        "", "", "");
}

void ClsKonwersje::Konwersja_478() {
    DbWykonajKonwersje("alter table [Produkty] ADD COLUMN prod_kod_EAN Text  (13)");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN kod_ILN Text  (20)");
}
