// Steps 4.81, 4.83 and 4.85 to 4.88: settlement amounts stored positive, the receipt
// marks set again, sales-correction lines linked to the invoice they correct and keyed
// by it, the VAT and settlement dates of purchases and the shop and fiscal marks of
// invoices and corrections, and the contractor of every posting line.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_481() {
    DbWykonajKonwersje("update [DOK_FIN_ZAWART] set kwota=-kwota where kwota<0");
}

void ClsKonwersje::Konwersja_483() {
    Oznacz_Paragony_Sklepowe();
}

void ClsKonwersje::Konwersja_485() {
    DbWykonajKonwersje("alter table [DOK_KFA_ZAWART] ADD COLUMN Fakout_id_Z int DEFAULT 0");
    DbWykonajUPDKonwersje(
        "", "[DOK_KFA_ZAWART] inner join  DOK_KFA on DOK_KFA_ZAWART.fkorout_id=DOK_KFA.fkorout_id",
        "DOK_KFA_ZAWART.Fakout_id_Z=DOK_KFA.fakout_id",
        "DOK_KFA.fakout_id<>0 and DOK_KFA_ZAWART.Fakout_id_Z is null");
    // The key takes no Null: a line that names no correction, a line of a correction that
    // names no invoice (or of no correction), or a line that names no product, names
    // none (0); a price not given is none (0). Two lines that the key then cannot tell
    // apart, or a line without its rate, stop the step naming the table and the key (and
    // the repeated line), with the old key kept.
    for (const auto& [kolumna, opis] :
         {std::pair{"FKOROUT_ID", "bez korekty"}, std::pair{"Fakout_id_Z", "bez faktury"},
          std::pair{"PROD_ID", "bez produktu"}, std::pair{"ZFKOROUT_CENA_N", "bez ceny"},
          std::pair{"CENA_ORG", "bez ceny przed korektą"}}) {
        const std::string c = kolumna;
        kroki::Loguj_Bez_Wskazania(*this, 485,
                                   "linie korekt " + std::string(opis) + " (" + c + " = 0)",
                                   "DOK_KFA_ZAWART where " + c + " is null");
        DbWykonajKonwersje("update [DOK_KFA_ZAWART] set " + c + "=0 where " + c + " is null");
    }
    kroki::Jeden_Wiersz_Na_Klucz(
        *this, 485, "DOK_KFA_ZAWART",
        "FKOROUT_ID,PROD_ID,ZFKOROUT_CENA_N,CENA_ORG,ZFKOROUT_VAT,Fakout_id_Z");
    Utworz_Klucz_Podstawowy("DOK_KFA_ZAWART",
                            "FKOROUT_ID asc, PROD_ID asc, ZFKOROUT_CENA_N asc,CENA_ORG "
                            "asc,ZFKOROUT_VAT asc,Fakout_id_Z asc",
                            1);
}

void ClsKonwersje::Konwersja_486() {
    Usun_Pole("DOK_ZAK", "Na_Nast_M");
    Usun_Pole("DOK_KZA", "Na_Nast_M");
    for (const char* tabela : {"DOK_ZAK", "DOK_KZA"}) {
        Utworz_Index("Data_Vat", tabela, "Data_Vat");
        Utworz_Index("Data_Rozl", tabela, "Data_Rozl");
    }
    // The VAT and settlement dates default to the booking date (a correction's issue
    // date) and keep the day alone.
    DbWykonajKonwersje("update dok_zak set Data_Vat=data_zaksiegowania where data_vat is null");
    DbWykonajKonwersje("update dok_kza set Data_Vat=FKOROUT_DATA_WYST  where data_vat is null");
    DbWykonajKonwersje("update dok_zak set Data_Vat=format(data_vat,'dd-MM-yyyy')");
    DbWykonajKonwersje("update dok_kza set Data_Vat=format(data_vat,'dd-MM-yyyy')");
    DbWykonajKonwersje(
        "update [DOK_ZAK] set [Data_Rozl]=[data_zaksiegowania] where Data_Rozl is null");
    DbWykonajKonwersje(
        "update [DOK_KZA] set [Data_Rozl]=[FKOROUT_DATA_WYST]  where Data_Rozl is null");
    DbWykonajKonwersje("update [DOK_ZAK] set [Data_Rozl]=format(data_rozl,'dd-MM-yyyy')");
    DbWykonajKonwersje("update [DOK_KZA] set [Data_Rozl]=format(data_rozl,'dd-MM-yyyy')");

    DbWykonajKonwersje("alter table [DOK_FAK] ADD COLUMN Fiskalizowana Logical");
    Utworz_Index("Fiskalizowana", "DOK_FAK", "Fiskalizowana");
    DbWykonajKonwersje("alter table [DOK_FAK] ADD COLUMN Sklepowa Logical");
    Utworz_Index("Sklepowa", "Dok_fak", "Sklepowa");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN Sklepowa Logical");
    Utworz_Index("Sklepowa", "DOK_KZA", "Sklepowa");
}

void ClsKonwersje::Konwersja_487() {
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN Sklepowa Logical");
    Utworz_Index("Sklepowa", "DOK_KFA", "Sklepowa");
}

void ClsKonwersje::Konwersja_488() {
    // COUNTT is the accounts' counter: a posting meets its one account. An account's
    // contractor that names no contractor gives the posting none.
    DbWykonajKonwersje(
        "UPDATE (KH_DEKRETY AS KD INNER JOIN KH_KONTA AS KK ON KD.COUNTT_KONTA=KK.COUNTT) INNER "
        "JOIN KONTRAHENCI AS KO ON KK.KONH_ID=KO.KONH_ID SET KD.KONH_ID=KK.KONH_ID WHERE "
        "KK.KONH_ID<>0");
    // Cash, bank, payroll and depreciation entries copy the contractor only between
    // lines of equal description; all other entries but those of kind 99, between any
    // two lines. A line without one (0 or not given) takes the contractor of the first line
    // (the lowest COUNTT) of its entry that has one.
    DbWykonajUPDKonwersje("",
                          "((kh_dekrety as D inner join KH_DEKRETY as Po on D.kpir_ID=Po.Kpir_id "
                          "and d.OPIS=po.OPIS) inner join kh_ksiega on "
                          "d.kpir_id=kh_ksiega.kpir_id) left join KH_DEKRETY as DN on "
                          "(DN.kpir_ID=D.kpir_ID and DN.OPIS=D.OPIS and DN.konh_id<>0 and "
                          "DN.COUNTT<D.COUNTT)",
                          "po.KONH_ID=d.KONH_ID",
                          "DN.COUNTT is null and d.COUNTT<>po.COUNTT and d.konh_id<>0 and "
                          "Nz(po.konh_id,0)=0 and "
                          "(kh_ksiega.rodzaj= 51 Or kh_ksiega.rodzaj= 52 Or kh_ksiega.rodzaj= 40 "
                          "Or kh_ksiega.rodzaj= 30) ");
    DbWykonajUPDKonwersje("",
                          "((kh_dekrety as D inner join KH_DEKRETY as Po on D.kpir_ID=Po.Kpir_id "
                          "                  ) inner join kh_ksiega on "
                          "d.kpir_id=kh_ksiega.kpir_id) left join KH_DEKRETY as DN on "
                          "(DN.kpir_ID=D.kpir_ID and DN.konh_id<>0 and DN.COUNTT<D.COUNTT)",
                          "po.KONH_ID=d.KONH_ID",
                          "DN.COUNTT is null and d.COUNTT<>po.COUNTT and d.konh_id<>0 and "
                          "Nz(po.konh_id,0)=0 and not "
                          "(kh_ksiega.rodzaj= 99 Or kh_ksiega.rodzaj= 51 Or kh_ksiega.rodzaj= 52 "
                          "Or kh_ksiega.rodzaj= 40 Or kh_ksiega.rodzaj= 30) ");
}
