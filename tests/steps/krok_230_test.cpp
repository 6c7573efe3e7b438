// Step 2.30: table renames, the stock table's movement columns and rows, the row
// counters and their primary indexes.
#include "baza_kroku.h"
#include "jet/catalog.h"

namespace kroki_test {
namespace {

// The table's name as the catalog keeps it ("" when there is none).
std::string Nazwa_Tabeli(const std::string& t) {
    const jet::TableInfo* info = polaczenie().database().catalog().table(t);
    return info ? info->name : "";
}

// The names of the table's primary-key index and its columns ("" when it has none).
std::string Klucz(const std::string& t) {
    const jet::TableInfo* info = polaczenie().database().catalog().table(t);
    const jet::IndexInfo* pk = info ? info->primary_key() : nullptr;
    if (!pk) return "";
    std::string s = pk->name + ":";
    for (const auto& c : pk->columns) s += " " + info->column_by_id(c.column_id)->name;
    return s;
}

class Krok230Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.29);
        // The tables to be renamed, one of them in another letter case.
        for (const char* t :
             {"SPRZEDAZ_NEW", "SPRZEDAZ_ZAWARTOSC", "PRODUKCJA_ZAWARTOSC",
              "REMANENTINWENT_ZAWARTOSC", "Grupy", "JEDNOSTKI", "KIEROWCY", "PARAMETRY",
              "PARAMETRY_NAGLOWEK", "VAT_STAWKI", "CENNIK", "CENNIK_LISTA"})
            Sql(std::string("create table [") + t + "] (id long)");
        Sql("create table SPRZEDAZ_ILOSC (prod_id long, ilosc single, zakup_il single, przych_il "
            "single, rozch_il single)");
        // Every other table that gets a row counter.
        for (const char* t : {"DOWODY_DOSTAW_ZAWART",
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
                              "OKRESY_ROZLICZEN",
                              "Paragon_ZAWART",
                              "PRODUKTY_RECEPTURY",
                              "SETUP",
                              "SRODKI_TRWALE_ZAWART",
                              "TAB_NOWA_DOK",
                              "TAB_NOWA_FZB",
                              "TABELA_VAT",
                              "UZYTKOWNICY_PRAWA",
                              "ZAKUPY_ZAWART",
                              "ZAMOWIENIA_MAIN_ZAWART",
                              "ZAMOWIENIA_RAPORT",
                              "ZAMOWIENIA_RAPORT_SUROWCE",
                              "ZAMOWIENIA_SZABLON"})
            Sql(std::string("create table [") + t + "] (id long)");
        // A table with a primary key of its own.
        Sql("create table UZYTKOWNICY (nazwa text(50))");
        Sql("create index PrimaryKey on UZYTKOWNICY (nazwa) with primary");
        for (const char* t : {"raport_zakupow", "raport_zakupow_POMOC", "RAPORT_SPRZEDAZY"})
            Sql(std::string("create table [") + t + "] (id long)");

        Sql("create table PRODUKTY (prod_id long)");
        for (int p = 1; p <= 4; ++p) Sql("insert into PRODUKTY values (" + std::to_string(p) + ")");
        // Products 1 and 3 have stock rows; 1 is in stock and consumed.
        Sql("insert into SPRZEDAZ_ILOSC values (1, 5, 6, Null, 2)");
        Sql("insert into SPRZEDAZ_ILOSC values (3, 1, 0, 0, 0)");
        Sql("create table magazyn_produktow (prod_id long, ilosc single)");
        Sql("insert into magazyn_produktow values (1, 7)");
        Sql("insert into magazyn_produktow values (2, 8)");  // no stock row: not carried
        Sql("create table ZUZYCIE_CALKOWITE (sur_id long, ilosc single)");
        Sql("insert into ZUZYCIE_CALKOWITE values (1, 3)");
    }
};

TEST_F(Krok230Test, TablesRenamedStockSeededCountersKeyed) {
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_230), "");

    for (const char* t :
         {"Dok_Wewnentrzne", "Dok_Wewnentrzne_ZAWART", "PRODUKCJA_ZAWART", "REMANENTINWENT_ZAWART",
          "STANY_MAGAZYNOWE", "S_GRUPY", "S_JEDNOSTKI", "S_KIEROWCY", "Numery_OST_DOK",
          "Numery_OST_DOK_NAG", "S_VAT_STAWKI", "CENNIKI_ZAWART", "CENNIKI"})
        EXPECT_EQ(Nazwa_Tabeli(t), t);
    for (const char* t : {"SPRZEDAZ_NEW", "Grupy", "CENNIK", "SPRZEDAZ_ILOSC", "raport_zakupow",
                          "raport_zakupow_POMOC", "RAPORT_SPRZEDAZY"})
        EXPECT_EQ(Nazwa_Tabeli(t), "") << t;

    // A row for every product; a new one has nothing moved and is in warehouse 1.
    const char* stany =
        "select prod_id, ilosc, zakup_il, przych_il, rozch_il, Rachunki, RR, produkcja, zuzycie, "
        "WZ_dost, PZ_dost, WZ_odbi, PZ_odbi, MM, inwent, Stan, NR_MAG from STANY_MAGAZYNOWE "
        "order by prod_id";
    const Wiersze oczekiwane = {
        {"1", "5", "6", "0", "2", "0", "0", "0", "3", "0", "0", "0", "0", "0", "7", "0", "0"},
        {"2", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"},
        {"3", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
        {"4", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"},
    };
    EXPECT_EQ(Wiersze_Z(stany), oczekiwane);

    // The counter is the primary index where the table had no key; a key stays.
    EXPECT_EQ(Klucz("S_GRUPY"), "indCountt: Countt");
    EXPECT_EQ(Klucz("STANY_MAGAZYNOWE"), "indCountt: Countt");
    EXPECT_EQ(Klucz("ZAMOWIENIA_SZABLON"), "indCountt: Countt");
    EXPECT_EQ(Klucz("UZYTKOWNICY"), "PrimaryKey: nazwa");
    EXPECT_EQ(Wiersze_Z("select Countt from S_GRUPY"), Wiersze{});
    EXPECT_EQ(Wiersze_Z("select Countt from STANY_MAGAZYNOWE order by Countt"),
              (Wiersze{{"1"}, {"2"}, {"3"}, {"4"}}));
    EXPECT_EQ(komunikaty.str(), "");

    // A second run renames nothing, adds no column or row and keeps the keys.
    // The stock seeding runs again: the row the first run gave product 2 now takes its
    // stock in hand.
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_230), "");
    Wiersze po_drugim = oczekiwane;
    po_drugim[1][14] = "8";
    EXPECT_EQ(Wiersze_Z(stany), po_drugim);
    EXPECT_EQ(Klucz("S_GRUPY"), "indCountt: Countt");
    EXPECT_EQ(Nazwa_Tabeli("CENNIKI"), "CENNIKI");
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Krok230Test, AProductsSecondStockRowTakesNoQuantity) {
    Sql("insert into SPRZEDAZ_ILOSC values (1, 0, 0, 0, 0)");
    // The old stock holds the product twice: its first row takes both quantities.
    Sql("insert into magazyn_produktow values (1, 5)");
    Sql("insert into magazyn_produktow values (1, Null)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_230), "");
    EXPECT_EQ(Wiersze_Z("select inwent, zuzycie from STANY_MAGAZYNOWE where prod_id=1 order by "
                        "Countt"),
              (Wiersze{{"12", "3"}, {"0", "0"}}));
}

TEST_F(Krok230Test, TablesNamedMSysAreSkippedCaseSensitively) {
    Sql("create table MSysDane (x long, Countt counter)");
    Sql("create table msysDane2 (x long, countt counter)");
    Sql("create table MSYSGRUPY (x long, moj_COUNTT counter)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_230), "");
    EXPECT_EQ(Klucz("MSysDane"), "");
    EXPECT_EQ(Klucz("msysDane2"), "indcountt: countt");
    EXPECT_EQ(Klucz("MSYSGRUPY"), "indmoj_COUNTT: moj_COUNTT");
}

// A rename that the engine refuses stops the step with the error, before any statement.
TEST_F(Krok230Test, RenameOntoAnExistingTableStops) {
    Sql("create table S_JEDNOSTKI (id long)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_230).rfind("error ", 0), 0u);
    EXPECT_EQ(Nazwa_Tabeli("JEDNOSTKI"), "JEDNOSTKI");
    EXPECT_FALSE(Czyta_Sie("select Rachunki from STANY_MAGAZYNOWE"));
    EXPECT_EQ(k.BazaDAO != nullptr, true);  // left for the version loop to close
}

}  // namespace
}  // namespace kroki_test
