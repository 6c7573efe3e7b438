// Step 4.82: plain single-column indexes over the tables the suite searches most
// (declarations, documents, payroll lists, products, fixed assets, stock and orders),
// the primary keys of the conversion factors and of the workstation settings, a
// closed-cash mark of book periods, and the printouts table dropped.
#include <string>
#include <string_view>
#include <vector>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// A table and its indexes in order: each index named like its column; an entry
// beginning with "drop " removes the index of the name that follows, at that place.
struct Indeksy {
    const char* tabela;
    std::vector<std::string_view> indeksy;
};

const Indeksy kIndeksy[] = {
    {"deKLARACJE",
     {"Nazwa", "data_wyst", "wniosek", "data_wpl", "Data", "Wart_KP", "kwota", "Kwota_KW",
      "KW_pit_5"}},
    {"dOK_DAR", {"DDOUT_DATA_WYST", "ddout_data_sprz", "ddout_Termin_zaplaty"}},
    {"dOK_DAR_ZAWART",
     {"DDOUT_ID", "PROD_ID", "ZDDOUT_CENA_N", "ZDDOUT_ILOSC", "ZDDOUT_VAT", "ZDDOUT_ILOSC"}},
    {"dOK_DD",
     {"KONH_ID", "DDOUT_DATA_WYST", "ddout_data_sprz", "ddout_Termin_zaplaty", "DDOUT_WART_N",
      "DDOUT_wart_VAT", "smz_id", "Zbiorczy_id", "id_GRProd", "id_GrProdPod", "Nr_Wyjazdu"}},
    {"dOK_Dd_ZAWART",
     {"DDOUT_ID", "PROD_ID", "ZDDOUT_CENA_N", "ZDDOUT_ILOSC", "ZDDOUT_VAT", "id_kpir"}},
    {"DOK_DUPLIKATY", {"duplikat_id", "data_wyst"}},
    {"DOK_DZ",
     {"KONH_ID", "DDOUT_DATA_WYST", "ddout_data_sprz", "ddout_Termin_zaplaty", "DDOUT_WART_N",
      "DDOUT_wart_VAT", "smz_id", "Zbiorczy_id", "id_GRProd", "id_GrProdPod", "Nr_Wyjazdu",
      "Id_KorFak", "KorFak", "Id_Podzial", "Numer_Podzialu"}},
    {"DOK_DZ_ZAWART",
     {"DDOUT_ID", "PROD_ID", "ZDDOUT_CENA_N", "drop indZDDOUT_ILOSC", "ZDDOUT_ILOSC",
      "drop indZDDOUT_VAT", "ZDDOUT_VAT", "id_kpir"}},
    {"DOK_FAK",
     {"KONH_ID", "FAKOUT_DATA_WYST", "FAKOUT_DATA_SPRZED", "FAKOUT_TERMIN_ZAPLATY", "FAKOUT_WART_N",
      "FAKOUT_WART_VAT", "FAKOUT_ZBIORCZA", "FAKOUT_ZBIORCZA", "smz_id", "WART_KP", "WART_DD",
      "id_GRProd", "id_GrProdPod", "Nr_Wyjazdu"}},
    {"DOK_FAK_ZAWART",
     {"FAKOUT_ID", "PROD_ID", "ZFAKOUT_CENA_N", "drop indZFAKOUT_ILOSC", "ZFAKOUT_ILOSC",
      "drop indZFAKOUT_VAT", "ZFAKOUT_VAT"}},
    {"DOK_FWE",
     {"KONH_ID", "FAKOUT_DATA_WYST", "FAKOUT_DATA_SPRZED", "FAKOUT_TERMIN_ZAPLATY", "FAKOUT_WART_N",
      "FAKOUT_WART_VAT", "FAKOUT_ZBIORCZA", "FAKOUT_ZBIORCZA", "smz_id", "WART_KP", "id_GRProd",
      "id_GrProdPod", "Nr_Wyjazdu"}},
    {"DOK_FWE_ZAWART",
     {"FAKOUT_ID", "PROD_ID", "ZFAKOUT_CENA_N", "drop indZFAKOUT_ILOSC", "ZFAKOUT_ILOSC",
      "drop indZFAKOUT_VAT", "ZFAKOUT_VAT"}},
    {"pLACE_LISTY", {"DataK", "DataP", "ID_Kpir", "ID_KPIRZ"}},
    {"pLACE_LISTY_ZAWART", {"IDP", "IdListy"}},
    {"pRODUKTY", {"prod_kod", "Nie_pokazuj_w_zestawieniu", "prod_kod2", "prod_kod3", "prod_kod4"}},
    {"PRODUKTY_KALKULACJA", {"PROD_ID", "KALKULACJA"}},
    {"PRODUKTY_KOSZTY", {"KOSZT_ID", "data"}},
    {"PRODUKTY_WSP_PRZEL", {"prod_id", "Sp_Przel"}},
};

const Indeksy kIndeksyMagazynu[] = {
    {"SRODKI_TRWALE",
     {"data_n", "data_wpr_e", "data_zdj_e", "id_dok", "id_prod", "ksiega_id", "KWOTA_DO_AMORT",
      "Wyposazenie", "KWOTA_DO_AMORT"}},
    {"SRODKI_TRWALE_ZAWART", {"id_kpir"}},
    {"STANY_MAGAZYNOWE", {"Data_Zam"}},
    {"STANY_MAGAZYNOWE_ZAWART",
     {"Lp", "IDProd", "IdDok", "RodzDok", "DataDok", "Zostalo", "ZostaloTMP"}},
};

const Indeksy kIndeksyZamowien[] = {
    {"ZAMOWIENIA_PRZEKIEROWANIA", {"Kurs", "Zmiana"}},
    {"ZAMOWIENIA_SZABLON", {"konh_id", "prod_id", "dzien", "tryb"}},
};

void Utworz_Indeksy(const Indeksy& t) {
    const std::string_view drop = "drop ";
    for (const std::string_view indeks : t.indeksy) {
        if (indeks.substr(0, drop.size()) == drop)
            Usun_Index(indeks.substr(drop.size()), t.tabela);
        else
            Utworz_Index(indeks, t.tabela, indeks);
    }
}

}  // namespace

void ClsKonwersje::Konwersja_482() {
    DbWykonajKonwersje("alter table [KPIR_OKRESY] ADD COLUMN ZamknieteKasy Logical");
    for (const Indeksy& t : kIndeksy) Utworz_Indeksy(t);
    Utworz_Klucz_Podstawowy("PRODUKTY_WSP_PRZEL", "id");
    // A setting that two workstations hold refuses the key by name alone: the table stays
    // without it.
    Usun_Index("Podstawowy", "SETUP_STANOWISKO");
    DbWykonajKonwersjeNoErr(
        "CREATE UNIQUE INDEX Podstawowy ON SETUP_STANOWISKO (nazwa)WITH PRIMARY",
        Powtorzona_Wartosc("SETUP_STANOWISKO", "nazwa"));
    for (const Indeksy& t : kIndeksyMagazynu) Utworz_Indeksy(t);
    DbWykonajKonwersje("DROP table [WYDRUKI] ");
    for (const Indeksy& t : kIndeksyZamowien) Utworz_Indeksy(t);
}
