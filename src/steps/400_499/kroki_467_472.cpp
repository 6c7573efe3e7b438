// Steps 4.67 to 4.72: the "imported" flag of the dictionaries, two payroll columns, the
// production group of the ledger-book entries from their source documents, a default
// contractor kind, the order date of stock rows, the fixed assets' ledger account and
// the fixed-asset part of purchase lines clamped to the line's stock quantity.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// A source document of ledger-book entries: the table and key column as the statement
// writes them, and the entry kinds that it gives.
struct Zrodlo {
    const char* tabela;
    const char* klucz;
    const char* rodzaj;
};

constexpr Zrodlo kZrodla[] = {
    {"[DOK_FAK] as d", "d.FAKOUT_ID=k.id_dok", "Rodzaj=20"},
    {"[DOK_ZAK] as d", "d.Numer_id =k.id_dok", "Rodzaj>=10 and Rodzaj<=12"},
    {"[DOK_Par] as d", "d.DDOUT_ID =k.id_dok", "Rodzaj>=21 and Rodzaj<=22"},
    {"[DOK_rw]  as d", "d.DDOUT_ID =k.id_dok", "Rodzaj=26"},
    {"[DOK_pw]  as d", "d.DDOUT_ID =k.id_dok", "Rodzaj=27"},
    {"[DOK_kfa] as d", "d.FKOROUT_ID=k.id_dok", "Rodzaj=23"},
    {"[DOK_kza] as d", "d.FKOROUT_ID=k.id_dok", "Rodzaj=13"},
    {"[DOK_dar] as d", "d.DDOUT_ID =k.id_dok", "Rodzaj=24"},
};

}  // namespace

void ClsKonwersje::Konwersja_467() {
    for (const char* tabela :
         {"Produkty", "Kontrahenci", "s_grupy", "s_grupy_produkcyjne", "S_JEDNOSTKI",
          "S_GRUPY_KONTRAHENTOW", "s_grupyP", "S_GRUPY_ZWROTOW"}) {
        DbWykonajKonwersje(std::string("alter table [") + tabela +
                           "] ADD COLUMN [IMPORTOWANY] Logical");
        Utworz_Index("IMPORTOWANY", tabela, "IMPORTOWANY");
    }
}

void ClsKonwersje::Konwersja_468() {
    DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN Owartosc6005 byte");
    DbWykonajKonwersje("ALTER TABLE [Place_Dane] ADD COLUMN [Kategoria] TEXT(1)");
}

void ClsKonwersje::Konwersja_469() {
    for (const char* kolumna : {"USER_COUNTT ", " id_GRProd ", " id_GrProdPod "})
        DbWykonajKonwersje(std::string("alter table [KH_KSIEGA] ADD COLUMN ") + kolumna +
                           "int DEFAULT 0");
    // The first statement to reach an entry of the main ledger database wins. An entry
    // whose ledger database is not given (the column is new at 4.66: its rows from before
    // hold Null), or names none of the register's, is of the main one (0).
    for (const Zrodlo& z : kZrodla)
        DbWykonajKonwersje(std::string("update (") + z.tabela + " inner join kh_ksiega as k on " +
                           z.klucz +
                           ") left join KH_BAZY as b on k.id_bazy=b.ID_BAZY set "
                           "k.[id_grProd]=d.[id_grProd],k.[id_grProdPod]=d.[id_grProdPod] where " +
                           z.rodzaj + " and k.id_grProd is null and Nz(b.ID_BAZY,0)=0");
}

void ClsKonwersje::Konwersja_470() {
    DbWykonajKonwersje(
        "update [Kontrahenci] set RKONH_NAZWA_ID='Dostawca i Odbiorca' where RKONH_NAZWA_ID='' "
        "or RKONH_NAZWA_ID is null");
}

void ClsKonwersje::Konwersja_471() {
    DbWykonajKonwersje(
        "alter table [stany_magazynowe] ADD COLUMN Data_Zam SmallDateTime DEFAULT null");
}

void ClsKonwersje::Konwersja_472() {
    DbWykonajKonwersje("update [Uzytkownicy] set Stanowisko=0");
    DbWykonajKonwersje("alter table [sRODKI_TRWALE] ADD COLUMN CalyAsortyment Logical");
    DbWykonajKonwersje("alter table [sRODKI_TRWALE] ADD COLUMN KONTOFK Text (50)");
    // An asset takes the account of its purchase line: of lines of its product with
    // different accounts (the lines have no counter yet), the first account in text order.
    // A line's account is wider than the asset's: a longer one is cut to the asset's column,
    // each asset so cut named in the Log.
    const std::string zrodla =
        "(SRODKI_TRWALE INNER JOIN DOK_ZAK_ZAWART ON SRODKI_TRWALE.id_dok = "
        "DOK_ZAK_ZAWART.numer_id) LEFT JOIN DOK_ZAK_ZAWART AS ZN ON (ZN.numer_id = "
        "DOK_ZAK_ZAWART.numer_id AND ZN.sur_ID = DOK_ZAK_ZAWART.sur_ID AND ZN.KontoFK<>'' AND "
        "ZN.KontoFK < DOK_ZAK_ZAWART.KontoFK)";
    const std::string wiersze =
        "DOK_ZAK_ZAWART.sur_ID=[SRODKI_TRWALE].[id_prod] and DOK_ZAK_ZAWART.KontoFK<>'' and "
        "ZN.numer_id Is Null";
    DbWykonajUPDKonwersje(zrodla + " SET SRODKI_TRWALE.kontoFK=" +
                              Przytnij_Wartosc("SRODKI_TRWALE", "SRODKI_TRWALE", "kontoFK", zrodla,
                                               "DOK_ZAK_ZAWART.KontoFK", wiersze) +
                              " WHERE " + wiersze,
                          "", "", "");
    DbWykonajUPDKonwersje(
        "DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = 0 where DOK_ZAK_ZAWART.WtymST <0", "", "", "");
    DbWykonajUPDKonwersje(
        "DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = Dok_ZAK_ZAWART.Ilosc_Mag where "
        "DOK_ZAK_ZAWART.WtymST > Dok_ZAK_ZAWART.Ilosc_Mag",
        "", "", "");
}
