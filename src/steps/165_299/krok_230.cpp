// Step 2.30: the tables take their 2.30 names, the stock-quantity table becomes the
// table of stock movements by product (seeded from the old stock tables, one row for
// every product), three report tables go, and 37 tables get the row counter Countt,
// made the primary index where the table has no primary key yet.
#include <string>
#include <tuple>
#include <vector>

#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_230() {
    kroki::Zmien_Nazwy_Tabel(*this, {
                                        {"SPRZEDAZ_NEW", "Dok_Wewnentrzne"},
                                        {"SPRZEDAZ_ZAWARTOSC", "Dok_Wewnentrzne_ZAWART"},
                                        {"PRODUKCJA_ZAWARTOSC", "PRODUKCJA_ZAWART"},
                                        {"REMANENTINWENT_ZAWARTOSC", "REMANENTINWENT_ZAWART"},
                                        {"SPRZEDAZ_ILOSC", "STANY_MAGAZYNOWE"},
                                        {"GRUPY", "S_GRUPY"},
                                        {"JEDNOSTKI", "S_JEDNOSTKI"},
                                        {"KIEROWCY", "S_KIEROWCY"},
                                        {"PARAMETRY", "Numery_OST_DOK"},
                                        {"PARAMETRY_NAGLOWEK", "Numery_OST_DOK_NAG"},
                                        {"VAT_STAWKI", "S_VAT_STAWKI"},
                                        {"CENNIK", "CENNIKI_ZAWART"},
                                        {"CENNIK_LISTA", "CENNIKI"},
                                    });

    // The movement columns of the stock table.
    const std::string stany = "alter table [STANY_MAGAZYNOWE] ";
    for (const char* kolumna :
         {" [Rachunki] ", " [RR] ", " [produkcja] ", " [zuzycie] ", " [WZ_dost] ", " [PZ_dost] ",
          " [WZ_odbi] ", " [PZ_odbi] ", " [MM] ", " [inwent] ", " [Stan] "})
        DbWykonajKonwersje(stany + "ADD COLUMN" + kolumna + "Single DEFAULT 0");
    DbWykonajKonwersje(stany + "ADD COLUMN [NR_MAG] long");

    // The stock in hand becomes the opening stock, the total consumption the consumed
    // quantity; a product without a stock row gets one with nothing moved, in warehouse 1.
    // A product's quantities go to its first stock row (the lowest Countt, the counter
    // that every table gets below, made here first for the stock table): its other rows
    // take none, so that no quantity counts twice. A product that the old table holds in
    // several rows takes each of them once: their sum (a quantity not given adds none).
    DbWykonajKonwersje("alter table [STANY_MAGAZYNOWE] ADD COLUMN [Countt] counter");
    for (const auto& [tabela, kolumna, zrodlo, klucz] :
         {std::tuple{"magazyn_produktow", "inwent", "ilosc", "prod_id"},
          std::tuple{"ZUZYCIE_CALKOWITE", "zuzycie", "ilosc", "sur_id"}}) {
        const std::string t = std::string("[") + tabela + "]";
        const std::string pierwszy = "Update ([STANY_MAGAZYNOWE] INNER JOIN " + t +
                                     " ON [STANY_MAGAZYNOWE].[prod_ID] = " + t + ".[" + klucz +
                                     "]) LEFT JOIN [STANY_MAGAZYNOWE] AS [S2] ON "
                                     "([S2].[prod_id]=[STANY_MAGAZYNOWE].[prod_id] AND "
                                     "[S2].[Countt]<[STANY_MAGAZYNOWE].[Countt]) SET "
                                     "[STANY_MAGAZYNOWE].[" +
                                     kolumna + "]=";
        DbWykonajKonwersje(pierwszy + "0 WHERE [S2].[prod_id] Is Null");
        const Zamierzony_Raport po_wierszu{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(pierwszy + "[STANY_MAGAZYNOWE].[" + kolumna + "]+Nz(" + t + ".[" +
                           zrodlo + "],0) WHERE [S2].[prod_id] Is Null");
    }
    DbWykonajKonwersje(
        "Insert Into [STANY_MAGAZYNOWE] ( [prod_id], "
        "[ilosc],[zakup_il],[przych_il],[ROZCH_IL],[zuzycie],[produkcja],[stan],[Inwent],[Nr_mag] "
        ") SELECT " +
        Stala_DISTINCTROW +
        " [PRODUKTY].[prod_id],  0 AS Wyr2,  0 AS Wyr3,  0 AS Wyr4,  0 AS Wyr5 ,0 as wyr55 ,0 as "
        "wyr6, 0 as w33, 0 as w09, 1 as ds FROM [PRODUKTY] LEFT JOIN [STANY_MAGAZYNOWE] ON "
        "[PRODUKTY].[prod_id] = [STANY_MAGAZYNOWE].[prod_id] WHERE [STANY_MAGAZYNOWE].[prod_id] "
        "Is Null");
    for (const char* kolumna :
         {"RACHUNKI", "RR", "WZ_dost", "PZ_dost", "WZ_odbi", "PZ_odbi", "mm", "zakup_il",
          "rozch_il", "przych_il", "ilosc", "zuzycie", "produkcja", "stan", "Inwent", "Nr_mag"})
        DbWykonajKonwersje(std::string("Update [STANY_MAGAZYNOWE] set [STANY_MAGAZYNOWE].[") +
                           kolumna + "]=0  where [STANY_MAGAZYNOWE].[" + kolumna + "]  is null");

    DbWykonajKonwersje("drop table [raport_zakupow]");
    DbWykonajKonwersje("drop table [raport_zakupow_POMOC]");
    DbWykonajKonwersje("drop table [RAPORT_SPRZEDAZY]");

    for (const char* tabela : {"Dok_Wewnentrzne_ZAWART",
                               "DOWODY_DOSTAW_ZAWART",
                               "DOWODY_ZWROTU_ZAWART",
                               "FAKTURY_WYCH_KOREKTA_ZAWART",
                               "FAKTURY_WYCH_ZAWART",
                               "KADRY_ADRESY",
                               "KADRY_DANE_BO",
                               "KADRY_DANE_MIES",
                               "KADRY_DANE_ROK",
                               "KADRY_DK_S",
                               "KADRY_NIEOBECNOSCI",
                               "KONTRAHENT_RODZAJ",
                               "KP_ZAWART",
                               "KW_ZAWART",
                               "Numery_OST_DOK",
                               "Numery_OST_DOK_NAG",
                               "OKRESY_ROZLICZEN",
                               "Paragon_ZAWART",
                               "PRODUKCJA_ZAWART",
                               "PRODUKTY_RECEPTURY",
                               "REMANENTINWENT_ZAWART",
                               "S_GRUPY",
                               "S_JEDNOSTKI",
                               "S_VAT_STAWKI",
                               "SETUP",
                               "SRODKI_TRWALE_ZAWART",
                               "STANY_MAGAZYNOWE",
                               "TAB_NOWA_DOK",
                               "TAB_NOWA_FZB",
                               "TABELA_VAT",
                               "UZYTKOWNICY",
                               "UZYTKOWNICY_PRAWA",
                               "ZAKUPY_ZAWART",
                               "ZAMOWIENIA_MAIN_ZAWART",
                               "ZAMOWIENIA_RAPORT",
                               "ZAMOWIENIA_RAPORT_SUROWCE",
                               "ZAMOWIENIA_SZABLON"})
        DbWykonajKonwersje(std::string("alter table [") + tabela + "] ADD COLUMN [Countt] counter");

    // Every counter column becomes its table's primary index; a table that has a
    // primary key already refuses it and keeps its own.
    kroki::Przebieg_DAO(*this, [this](dao::TableDef& td) {
        const std::string tabela = td.Name();
        const int pol = td.FieldCount();
        for (int i = 0; i < pol; ++i) {
            const std::string pole = td.Fields(i).Name();
            if (jet::text::upper(pole).find("COUNTT") != std::string::npos)
                DbWykonajDAOKonwersje("create index ind" + pole + " on " + tabela + " (" + pole +
                                      " asc) with Primary");
        }
    });
}
