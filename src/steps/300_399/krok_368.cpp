// Step 3.68: the stock ledger line table, a comment on internal receipts, keys on the
// stocktaking documents, two settlement-line kinds renamed, and the one-letter payment
// forms "P" and "G" of contractors and documents replaced by their names.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_368() {
    DbWykonajKonwersje("alter table [DOK_PW] ADD COLUMN Komentarz memo");
    DbWykonajKonwersje(
        "create table [Stany_magazynowe_zawart] (Lp counter,IDProd long,IdDok long,RodzDok "
        "text(255),NumerDok text(255), DataDok date,Ilosc Single DEFAULT 0, Cena "
        "currency,Wartosc currency,IloscNar Single DEFAULT 0,WartoscNar currency,Zostalo Single "
        "DEFAULT 0,ZostaloTMP Single DEFAULT 0,Konh_id long,CenaORG currency,WartoscORG "
        "currency)");
    Utworz_Klucz_Podstawowy("[Stany_magazynowe_zawart]",
                            "IDProd asc ,DataDok asc,Lp asc,konh_id asc");
    Utworz_Klucze_Z_Zawart("DOK_rei", "ID_RI asc", "ID asc,cena asc,COUNTT asc");
    DbWykonajKonwersje(
        "UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='PW' WHERE [rodzaj_dok]='Sp. pozost.zwr.'");
    DbWykonajKonwersje(
        "UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='RW' WHERE [rodzaj_dok]='Sp. pozost.'");

    DbWykonajKonwersje(
        "UPDATE [kontrahenci] SET [FPLAT_NAZWA_ID]='Przelew' WHERE [FPLAT_NAZWA_ID]='P'");
    DbWykonajKonwersje(
        "UPDATE [kontrahenci] SET [FPLAT_NAZWA_ID]='Gotówka' WHERE [FPLAT_NAZWA_ID]<>'Przelew'");

    // The payment form of each document table: the column is spelt per table.
    struct Forma {
        const char* tabela;
        const char* kolumna;
    };
    static constexpr Forma kFormy[] = {
        {"dok_dd", "[fplat_nazwa_id]"},  {"dok_dz", "[fplat_nazwa_id]"},
        {"dok_fak", "[FPLAT_NAZWA_ID]"}, {"dok_kfa", "[FPLAT_NAZWA_ID]"},
        {"dok_kza", "[FPLAT_NAZWA_ID]"}, {"dok_par", "[FPLAT_NAZWA_ID]"},
        {"dok_pw", "[FPLAT_NAZWA_ID]"},  {"dok_pz", "[FPLAT_NAZWA_ID]"},
        {"dok_rw", "[FPLAT_NAZWA_ID]"},  {"dok_wz", "[FPLAT_NAZWA_ID]"},
        {"dok_zak", "[f_platnosci]"},
    };
    for (const Forma& f : kFormy) {
        const std::string poczatek =
            std::string("UPDATE [") + f.tabela + "] SET " + f.kolumna + "=";
        const std::string warunek = std::string(" WHERE ") + f.kolumna + "=";
        DbWykonajKonwersje(poczatek + "'Przelew'" + warunek + "'P'");
        DbWykonajKonwersje(poczatek + "'Gotówka'" + warunek + "'G'");
    }
}
