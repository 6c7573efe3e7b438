// Steps 4.33 to 4.43: production documents marked done, group hierarchies and import
// ids, a split id on returns, per-contractor discounts, gross prices of receipt lines,
// the FWE document kind, the assortment kind of posting-scheme lines, contractors'
// further driver slots, cancelled invoices, correction comments and the driver slots of
// discount rows.
#include <string>
#include <utility>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_433() {
    DbWykonajKonwersje("alter table [Dok_pro] ADD COLUMN Wykonano Logical");
    DbWykonajKonwersje("update DOK_pro set Wykonano=-1");
    DbWykonajKonwersje("alter table [DOK_PRZ] ADD COLUMN Wykonano Logical");
    DbWykonajKonwersje("update DOK_PRZ set Wykonano=-1");
}

void ClsKonwersje::Konwersja_434() {
    DbWykonajKonwersje("alter table [S_GRUPY_KONTRAHENTOW] ADD COLUMN id_GRPodKonh int DEFAULT 0");
    DbWykonajKonwersje("update S_GRUPY_KONTRAHENTOW set id_GRPodKonh=id_GRKonh");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN ID_GR_Pod_KONH int DEFAULT 0");
    DbWykonajKonwersje("update Kontrahenci set ID_GR_Pod_KONH=ID_GR_KONH");
    for (const char* t :
         {"S_GRUPY_KONTRAHENTOW", "S_GRUPY_PRODUKCYJNE", "S_GRUPY_ZWROTOW", "S_JEDNOSTKI ",
          "dOK_FAK ", "dOK_FAK_zawart ", "dOK_KFA ", "dOK_KFA_zawart ", "SPOSOB_NUMERACJI "})
        DbWykonajKonwersje(std::string("alter table [") + t +
                           "] ADD COLUMN [numer_id_import] long");
    DbWykonajKonwersje("alter table [PLACE_LISTY] ADD COLUMN [SYMBOL_SCH] Text (3)");
    DbWykonajKonwersje("alter table [S_GRUPYP] ADD COLUMN [SYMBOL_SCH] Text (3)");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ID_DP] int DEFAULT 0");
}

void ClsKonwersje::Konwersja_435() {
    DbWykonajKonwersje("alter table  Dok_DZ ADD COLUMN [Id_Podzial] int DEFAULT 0");
    DbWykonajKonwersje("update Dok_DZ set Id_Podzial=0 where Id_Podzial is null");
}

void ClsKonwersje::Konwersja_436() {
    Utworz_Tabele("Kontrahenci_Rabaty",
                  "[Konh_id] int DEFAULT 0, Id_GR_prod int DEFAULT 0, PrRabat money DEFAULT 0, "
                  "Countt int DEFAULT 0",
                  "Konh_id asc ,Id_GR_prod asc");
}

void ClsKonwersje::Konwersja_437() {
    DbWykonajKonwersje("alter table [DOK_PAR_ZAWART] ADD COLUMN WSPRZ_CENA_BRUTTO money DEFAULT 0");
    DbWykonajKonwersje(
        "alter table [DOK_PAR_ZAWART] ADD COLUMN WSPRZ_WARTOSC_BRUTTO money DEFAULT 0");
    // A receipt line's gross price and value at its rate; a net price or quantity not given
    // counts as none, so that the line gets a gross price and value of 0.
    const std::string cena = "Nz(ZDDOUT_CENA_N,0)", ilosc = "Nz(ZDDOUT_ILOSC,0)";
    for (const auto& [mnoznik, stawki] :
         {std::pair{"*1.03", "ZDDOUT_VAT='3'"}, std::pair{"*1.07", "ZDDOUT_VAT='7'"},
          std::pair{"*1.22", "ZDDOUT_VAT='22'"},
          std::pair{"", "(ZDDOUT_VAT='0' or ZDDOUT_VAT='zw')"}})
        DbWykonajUPDKonwersje("[DOK_PAR_ZAWART] set WSPRZ_CENA_BRUTTO=" + cena + mnoznik +
                                  ",WSPRZ_WARTOSC_BRUTTO=" + cena + mnoznik + "*" + ilosc +
                                  " where " + stawki + " and WSPRZ_CENA_BRUTTO is null",
                              "", "", "");
    DbWykonajKonwersje("alter table [DOK_PAR] ADD COLUMN FISK int DEFAULT 0");
    DbWykonajUPDKonwersje("[DOK_PAR] set FISK=0 where FISK is null", "", "", "");
    DbWykonajKonwersje("alter table [DOK_PAR] ADD COLUMN NR_FISK Text (40)");
}

void ClsKonwersje::Konwersja_438() {
    kroki::Pusta_Tabela_Jak(*this, "dok_Fwe", "dok_fak");
    kroki::Pusta_Tabela_Jak(*this, "dok_Fwe_zawart", "dok_fak_zawart");
    Utworz_Klucz_Podstawowy("dok_fwe", "FAKOUT_ID");
    Utworz_Index_Unikalny("DONumeru", "dok_fwe",
                          "smz_id asc,FAKOUT_DATA_WYST asc ,num_ndok asc,FAKOUT_ID asc");
    Utworz_Index_Unikalny("DoZamowien", "dok_fwe", "KONH_ID asc,zam_id asc ,FAKOUT_ID asc");
    Utworz_Index_Unikalny("DoZamowien2", "dok_fwe",
                          "FAKOUT_DATA_WYST asc,KONH_ID asc ,FAKOUT_ID asc");
    Utworz_Index_Unikalny("UnicNumer", "dok_fwe", "FAKOUT_NUMER asc",
                          Powtorzona_Wartosc("dok_fwe", "FAKOUT_NUMER"));
    Utworz_Index("BRUTTO", "dok_fwe", "FAKOUT_WART_VAT asc");
    Utworz_Index("indid_kpir", "dok_fwe", "id_kpir asc");
    Utworz_Index("indkier_id", "dok_fwe", "kier_id asc");
    Utworz_Index("indnum_ndok", "dok_fwe", "num_ndok asc");
    Utworz_Index("KP", "dok_fwe", "wart_kp asc");
    Utworz_Klucz_Podstawowy("dok_fwe_Zawart", "FAKOUT_ID asc,PROD_ID asc, ZFAKOUT_CENA_N asc");
    Utworz_Index("indZFAKOUT_ILOSC", "dok_fwe_Zawart", "ZFAKOUT_ILOSC asc");
    Utworz_Index("indZFAKOUT_VAT", "dok_fwe_Zawart", "ZFAKOUT_VAT asc");
    DbWykonajKonwersje("alter table  [sposob_numeracji] ADD COLUMN [nag_fwe] text(50)");
}

void ClsKonwersje::Konwersja_439() {
    DbWykonajKonwersje("alter table  [KH_SCHEMATY_ZAWART] ADD COLUMN [Rodz_Aso] text(15)");
    DbWykonajKonwersje("Update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUK' where Rodz_Aso is null");
}

void ClsKonwersje::Konwersja_440() {
    for (int s : {101, 201})
        for (int k = 0; k < 9; ++k)
            DbWykonajKonwersje("alter table  [Kontrahenci] ADD COLUMN [Kier_id" +
                               std::to_string(s + k) + "] int DEFAULT 0");
    for (const char* rzad : {"10", "20"})
        for (int k = 1; k <= 9; ++k) {
            const std::string n = std::to_string(k);
            const std::string slot = std::string("Kier_id") + rzad + n;
            DbWykonajKonwersje("Update Kontrahenci set " + slot + "=Kier_id" + n + " WHERE " +
                               slot + " IS NULL");
        }
}

void ClsKonwersje::Konwersja_441() {
    DbWykonajKonwersje("alter table  [DOK_FAK] ADD COLUMN [F_Anulowana] Logical");
    DbWykonajKonwersje(
        "Update DOK_FAK left join DOK_FAK_ZAWART on DOK_FAK.fakout_id = DOK_FAK_ZAWART.fakout_id "
        "set F_Anulowana=-1 where DOK_FAK_ZAWART.fakout_id is null");
    DbWykonajKonwersje("Update DOK_FAK set b_rabat_n=0,b_rabat_v=0 where F_Anulowana=-1");
}

void ClsKonwersje::Konwersja_442() {
    DbWykonajKonwersje("alter table  [DOK_KZA] ADD COLUMN [Komentarz] Text DEFAULT ''");
    DbWykonajKonwersje("alter table  [DOK_KFA] ADD COLUMN [Komentarz] Text DEFAULT ''");
}

void ClsKonwersje::Konwersja_443() {
    for (int k = 1; k <= 9; ++k) {
        const std::string n = std::to_string(k);
        for (const char* rzad : {"", "10", "20"})
            DbWykonajKonwersje("alter table  [Kontrahenci_Rabaty] ADD COLUMN [Kier_id" +
                               std::string(rzad) + n + "] int DEFAULT 0");
        DbWykonajKonwersje(
            "Update Kontrahenci_Rabaty as KR inner join Kontrahenci As KO on KR.konh_id=KO.konh_id "
            "set kr.Kier_id" +
            n + "=ko.Kier_id" + n + ",kr.Kier_id10" + n + "=ko.Kier_id10" + n + ",kr.Kier_id20" +
            n + "=ko.Kier_id20" + n);
    }
}
