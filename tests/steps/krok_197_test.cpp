// Step 1.97: raw materials and semi-products merged into the product table.
#include <fstream>
#include <map>

#include "jet/text.h"
#include "kroki_fixture.h"
#include "steps/zapis_zawodzi.h"

namespace kroki_test {
namespace {

class Krok197 : public KrokiTest {
  protected:
    void SetUp() override {
        KrokiTest::SetUp();
        kroki(164, 196);
        for (const char* t : {"SUROWCE", "POLPRODUKTY", "PolPRODUKTY_Receptury", "PRODUKTY",
                              "PRODUKTY_Receptury", "REMANENTINWENT_ZAWARTOSC", "magazyn_SUROWCOW",
                              "magazyn_produktow", "zakupy_ilosc", "SPRZEDAZ_ILOSC"})
            sql(std::string("delete from ") + t);
        // Raw materials: own (S), bought only (K), kept as goods (not copied).
        sql("insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_numer, sur_kod, prod_wl, grupa, "
            "JED_NAZWA_ID, STVAT_ID) values (11, 'Mąka', 1, 0, 1, 'Surowce', 'kg', '7')");
        sql("insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_numer, sur_kod, prod_wl) values (12, "
            "'Torebki', 2, 1, 1)");
        sql("insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_numer, sur_kod, prod_wl) values (13, "
            "'Miód', 3, 0, 0)");
        sql("insert into POLPRODUKTY (id, pprod_nazwa_id, JED_NAZWA_ID, PPROD_WYDAJNOSCzREC) "
            "values "
            "(7, 'Ciasto', 'kg', 10)");
        sql("insert into PolPRODUKTY_Receptury (id, pprod_nazwa_id, SUR_ID, ilosc_sur) values (7, "
            "'Ciasto', 11, 4)");
        // Products: own bread, goods naming the honey raw material, goods without a group
        // (and without prod_wl).
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID, grupa) values "
            "(1, 'Chleb', 1, 5, '')");
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID, grupa, sur_id) "
            "values (2, 'Miód słoik', 0, 3, 'Pani''s', 13)");
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID) values (3, "
            "'Masło', Null, 1)");
        // Bread: 2.5 of the dough semi-product, flour, bags; butter (goods) has a recipe too,
        // and two lines name no product.
        for (const char* w : {"(1, 7, 0, 2.5)", "(1, 11, 3, 0)", "(1, 12, 1, 0)", "(3, 11, 1, 0)",
                              "(99, 11, 8, 0)", "(Null, 11, 9, 0)"})
            sql(std::string("insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, "
                            "ilosc_polprod) values ") +
                w);
        for (const char* w : {"(1, 'T', 2, 1, 1)", "(1, 'S', 13, 2, 3)", "(1, 'S', 11, 5, 5)",
                              "(2, 'K', 12, 1, 1)", "(2, 'S', 13, 7, 7)"})
            sql(std::string("insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, "
                            "Ilosc_namagazynie, Ilosc_stanfaktyczny) values ") +
                w);
        sql("insert into magazyn_SUROWCOW (sur_id, ilosc) values (11, 40)");
        sql("insert into magazyn_produktow (prod_id, ilosc) values (1, 6)");
        sql("insert into zakupy_ilosc (sur_id, ilosc) values (11, 100)");
        // A group dictionary from an earlier run, with nameless rows.
        sql("create table Grupy (Nazwa text(40),opis memo,w_kasie text(19))");
        sql("insert into Grupy (Nazwa) values ('')");
        sql("insert into Grupy (Nazwa) values (Null)");
    }
};

TEST_F(Krok197, RodzajeFlagiINumeracja) {
    k.Konwersja_197();
    EXPECT_EQ(wiersze("select prod_id, PROD_NAZWA_id, rodzaj, iif(act_sale,1,0), iif(act_buy,1,0), "
                      "iif(act_to_rec,1,0), iif(act_recipe,1,0), prod_wl, prod_numer_id from "
                      "PRODUKTY order by prod_id"),
              (Wiersze{{"1", "Chleb", "P", "1", "0", "0", "1", "1", "3"},
                       {"2", "Miód słoik", "T", "1", "1", "0", "0", "1", "6"},
                       {"3", "Masło", "T", "1", "1", "0", "0", "1", "5"},
                       {"4", "Mąka", "S", "0", "1", "1", "0", "1", "4"},
                       {"5", "Torebki", "K", "0", "1", "0", "0", "1", "1"},
                       {"6", "Ciasto", "O", "0", "0", "1", "1", "1", "2"}}));
    EXPECT_EQ(wiersze("select sur_id, STVAT_ID, PROD_WYDAJNOSCzREC from PRODUKTY where prod_id=6"),
              (Wiersze{{"7", "22", "10"}}));
    for (const char* t : {"SUROWCE", "magazyn_surowcow", "PolPRODUKTY", "PolPRODUKTY_receptury"})
        EXPECT_EQ(jedna(std::string("select count(*) from ") + t), "0") << t;
}

TEST_F(Krok197, RecepturyPrzepiete) {
    k.Konwersja_197();
    EXPECT_EQ(wiersze("select PROD_ID, sur_id, ilosc_sur, ilosc_polprod from PRODUKTY_Receptury "
                      "order by PROD_ID, sur_id"),
              (Wiersze{{"1", "4", "3", "0"},    // flour: its product
                       {"1", "5", "1", "0"},    // bags: their 'K' product, not the old id
                       {"1", "6", "2,5", "0"},  // the dough: the 'O' product, its quantity moved
                       {"6", "4", "4",
                        "Null"}}));  // the dough's own recipe; butter's and no product's are gone
}

TEST_F(Krok197, RemanentIStanySurowcowPrzeniesione) {
    k.Konwersja_197();
    // The honey counted as a raw material joins the honey goods of the same stocktaking,
    // and becomes the goods' line where the stocktaking has none.
    EXPECT_EQ(wiersze("select ID_RI, Rodz, ID, Ilosc_namagazynie, Ilosc_stanfaktyczny from "
                      "REMANENTINWENT_ZAWARTOSC order by ID_RI, ID"),
              (Wiersze{{"1", "T", "2", "3", "4"},
                       {"1", "S", "4", "5", "5"},
                       {"2", "T", "2", "7", "7"},
                       {"2", "K", "5", "1", "1"}}));
    EXPECT_EQ(jedna("select ilosc from magazyn_produktow where prod_id=4"), "40");
    EXPECT_EQ(jedna("select zakup_il from SPRZEDAZ_ILOSC where prod_id=4"), "100");
    EXPECT_EQ(
        jedna("select count(*) from PRODUKTY left join magazyn_produktow on "
              "PRODUKTY.prod_id=magazyn_produktow.prod_id where magazyn_produktow.prod_id is null"),
        "0");
}

TEST_F(Krok197, GrupyProduktow) {
    k.Konwersja_197();
    EXPECT_EQ(kolumna("select Nazwa from Grupy order by Nazwa"),
              (std::vector<std::string>{"Pani's", "Podstawowa", "Surowce"}));
    EXPECT_EQ(kolumna("select distinct grupa from PRODUKTY order by grupa"),
              (std::vector<std::string>{"Pani's", "Podstawowa", "Surowce"}));

    // 'Podstawowa' exists even when no product names it.
    sql("update PRODUKTY set grupa='Surowce'");
    sql("delete from Grupy");
    k.Konwersja_197();
    EXPECT_EQ(kolumna("select Nazwa from Grupy order by Nazwa"),
              (std::vector<std::string>{"Podstawowa", "Surowce"}));
}

// A complete run empties the old tables, so running the step again copies nothing.
TEST_F(Krok197, DrugiPrzebiegNicNieKopiuje) {
    k.Konwersja_197();
    const auto ile = [&] {
        return std::vector<std::string>{jedna("select count(*) from PRODUKTY"),
                                        jedna("select count(*) from PRODUKTY_Receptury"),
                                        jedna("select count(*) from SPRZEDAZ_ILOSC"),
                                        jedna("select count(*) from magazyn_produktow"),
                                        jedna("select count(*) from Grupy")};
    };
    const auto przed = ile();
    k.Konwersja_197();
    EXPECT_EQ(ile(), przed);
}

// A raw material that no copy by sur_kod takes and no goods product names, but that rows
// still name by its old id, becomes an 'S' product and takes its rows along; one that
// nothing names, and one with its goods product, are not copied.
TEST_F(Krok197, SurowiecInnegoKoduZabieraSwojeWiersze) {
    for (const char* w :
         {"(901, 'Kminek', 4, Null, 1)", "(902, 'Mak', 5, 2, 1)", "(903, 'Sezam', 6, Null, 1)",
          "(904, 'Sól', 7, 0, 0)", "(Null, 'Anyż', 8, 0, 1)"})
        sql(std::string("insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_numer, sur_kod, prod_wl) "
                        "values ") +
            w);
    sql("update SUROWCE set sur_kod=Null where sur_id=13");  // the honey, kept as goods
    struct Przypadek {
        const char* wiersz;   // a row naming a raw material
        const char* produkt;  // the product the row names after the step
        const char* oczekiwany;
    };
    const Przypadek przypadki[] = {
        {"insert into zakupy_ilosc (sur_id, ilosc) values (901, 5)",
         "zakupy_ilosc inner join PRODUKTY on PRODUKTY.prod_id=zakupy_ilosc.sur_id where "
         "zakupy_ilosc.ilosc=5",
         "Kminek"},
        {"insert into zuzycie_calkowite (sur_id, ilosc) values (904, 7)",
         "zuzycie_calkowite inner join PRODUKTY on PRODUKTY.prod_id=zuzycie_calkowite.sur_id where "
         "zuzycie_calkowite.ilosc=7",
         "Sól"},
        {"insert into magazyn_SUROWCOW (sur_id, ilosc) values (902, 3)",
         "magazyn_produktow inner join PRODUKTY on PRODUKTY.prod_id=magazyn_produktow.prod_id "
         "where magazyn_produktow.ilosc=3",
         "Mak"},
        {"insert into zakupy_zawart (numer_id, sur_id, ILOSC) values (9001, 901, 2)",
         "zakupy_zawart inner join PRODUKTY on PRODUKTY.prod_id=zakupy_zawart.sur_id where "
         "zakupy_zawart.numer_id=9001",
         "Kminek"},
        {"insert into FAKTURY_WYCH_KOREKTA_ZAWART (FKOROUT_ID, PROD_ID) values (9001, 902)",
         "FAKTURY_WYCH_KOREKTA_ZAWART inner join PRODUKTY on "
         "PRODUKTY.prod_id=FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID where "
         "FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID=9001",
         "Mak"},
        {"insert into Zamowienia_Raport_Surowce (sur_id, Ilosc) values (904, 4.75)",
         "Zamowienia_Raport_Surowce inner join PRODUKTY on "
         "PRODUKTY.prod_id=Zamowienia_Raport_Surowce.sur_id where "
         "Zamowienia_Raport_Surowce.Ilosc=4.75",
         "Sól"},
        {"insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID) values (3, 'S', 901)",
         "REMANENTINWENT_ZAWARTOSC inner join PRODUKTY on "
         "PRODUKTY.prod_id=REMANENTINWENT_ZAWARTOSC.ID where REMANENTINWENT_ZAWARTOSC.ID_RI=3",
         "Kminek"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
         "902, 6, 0)",
         "PRODUKTY_Receptury inner join PRODUKTY on PRODUKTY.prod_id=PRODUKTY_Receptury.sur_id "
         "where PRODUKTY_Receptury.ilosc_sur=6",
         "Mak"},
        {"insert into PolPRODUKTY_Receptury (id, pprod_nazwa_id, SUR_ID, ilosc_sur) values (7, "
         "'Ciasto', 904, 0.5)",
         "PRODUKTY_Receptury inner join PRODUKTY on PRODUKTY.prod_id=PRODUKTY_Receptury.sur_id "
         "where PRODUKTY_Receptury.ilosc_sur=0.5",
         "Sól"},
    };
    sql("insert into FAKTURY_WYCH_KOREKTA (FKOROUT_ID, zakup) values (9001, -1)");
    for (const Przypadek& p : przypadki) sql(p.wiersz);
    k.Konwersja_197();
    for (const Przypadek& p : przypadki)
        EXPECT_EQ(wiersze(std::string("select PRODUKTY.PROD_NAZWA_id, PRODUKTY.rodzaj from ") +
                          p.produkt),
                  (Wiersze{{p.oczekiwany, "S"}}))
            << p.wiersz;
    EXPECT_EQ(
        wiersze("select sur_id, PROD_NAZWA_id, rodzaj, iif(act_sale,1,0), iif(act_buy,1,0), "
                "iif(act_to_rec,1,0), iif(act_recipe,1,0), prod_wl, r_licz, nawazka, "
                "prod_waga from PRODUKTY where sur_id=13 or sur_id>900 or (sur_id is null and "
                "rodzaj='S') order by sur_id, rodzaj"),
        (Wiersze{{"Null", "Anyż", "S", "0", "1", "1", "0", "1", "0", "1", "1"},
                 {"13", "Miód słoik", "T", "1", "1", "0", "0", "1", "Null", "Null", "Null"},
                 {"901", "Kminek", "S", "0", "1", "1", "0", "1", "0", "1", "1"},
                 {"902", "Mak", "S", "0", "1", "1", "0", "1", "0", "1", "1"},
                 {"904", "Sól", "S", "0", "1", "1", "0", "1", "0", "1", "1"}}));
}

// A copy out of the old tables that a unique index of the user's refuses ("duplicate
// values", which the executor absorbs) ends the run before the old tables are emptied;
// the step's writes roll back and the old rows stay.
TEST_F(Krok197, NieudanaKopiaZatrzymujePrzebieg) {
    const std::string unikalna_nazwa = "create unique index nazwa on PRODUKTY (PROD_NAZWA_id)";
    const auto produkt = [](const char* nazwa) {
        return std::string("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl) values (9, '") +
               nazwa + "', 1)";
    };
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> baza;
        const char* zrodlo;
        const char* cel;
    };
    const Przypadek przypadki[] = {
        {"raw materials 'S'", {unikalna_nazwa, produkt("Mąka")}, "SUROWCE", "PRODUKTY"},
        {"raw materials 'K'", {unikalna_nazwa, produkt("Torebki")}, "SUROWCE", "PRODUKTY"},
        {"a raw material of another sur_kod",
         {"insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_kod, prod_wl) values (901, 'Kminek', "
          "Null, 1)",
          "insert into zakupy_ilosc (sur_id, ilosc) values (901, 5)", unikalna_nazwa,
          produkt("Kminek")},
         "SUROWCE",
         "PRODUKTY"},
        {"semi-products", {unikalna_nazwa, produkt("Ciasto")}, "PolPRODUKTY", "PRODUKTY"},
        {"semi-product recipes",
         {"update PolPRODUKTY_Receptury set ilosc_sur=3",
          "update PRODUKTY_Receptury set ilosc_sur=2 where PROD_ID=3",
          "create unique index ilosc on PRODUKTY_Receptury (ilosc_sur)"},
         "PolPRODUKTY_Receptury",
         "PRODUKTY_Receptury"},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        if (&p != przypadki) {  // every case on a fresh database
            TearDown();
            SetUp();
        }
        for (const std::string& s : p.baza) sql(s);
        const std::string ile = std::string("select count(*) from ") + p.zrodlo;
        const std::string przed = jedna(ile);
        polaczenie().database().checkpoint();
        std::ostringstream komunikaty;
        platform::set_message_output(&komunikaty);
        int status = -1;
        {
            // The step's unit of work, as the version loop runs it.
            jet::WorkUnit jednostka(polaczenie().database());
            try {
                k.Konwersja_197();
            } catch (const platform::ProcessEnd& e) {
                status = e.status;
            }
        }
        platform::set_message_output(nullptr);
        EXPECT_EQ(status, 1);
        // The stop names the refused statement, which names both tables.
        const std::string komunikat = jet::text::upper(komunikaty.str());
        EXPECT_NE(komunikat.find(jet::text::upper(p.zrodlo)), std::string::npos) << komunikat;
        EXPECT_NE(komunikat.find(jet::text::upper(p.cel)), std::string::npos);
        if (!Baza_Otwarta) DbOtwórz();
        EXPECT_EQ(jedna(ile), przed);
    }
}

// A run that stopped after the raw materials were copied is not copied again: the step
// stops with the failure before it changes any row, and the version stays at 1.96.
TEST_F(Krok197, PrzerwanyPrzebiegNieKopiujeDrugiRaz) {
    sql("alter table PRODUKTY add column rodzaj text(1)");
    sql("alter table PRODUKTY add column act_sale logical");
    sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, rodzaj) values (4, 'Mąka', 1, "
        "'S')");
    const std::string produkty =
        "select prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID, grupa, rodzaj from PRODUKTY order "
        "by prod_id";
    const auto przed = wiersze(produkty);
    try {
        k.Konwersja_197();
        FAIL() << "no failure";
    } catch (const jet::Error& e) {
        EXPECT_NE(e.description().find("1.97"), std::string::npos) << e.description();
    }
    EXPECT_EQ(wiersze(produkty), przed);
    EXPECT_EQ(jedna("select count(*) from SUROWCE"), "3");
}

// Old ids that meet: raw materials and semi-products were numbered from 1 by counters of
// their own, and the products' new ids run over the same numbers. Every row must name the
// product that carries the item it named, found by the kind of item its column names.
class Krok197Spotkania : public KrokiTest {
  protected:
    void SetUp() override {
        KrokiTest::SetUp();
        kroki(164, 196);
        for (const char* t :
             {"SUROWCE", "POLPRODUKTY", "PolPRODUKTY_Receptury", "PRODUKTY", "PRODUKTY_Receptury",
              "REMANENTINWENT_ZAWARTOSC", "magazyn_SUROWCOW", "magazyn_produktow", "zakupy_ilosc",
              "zuzycie_calkowite", "zakupy_zawart", "SPRZEDAZ_ILOSC", "Zamowienia_Raport_Surowce",
              "FAKTURY_WYCH_KOREKTA", "FAKTURY_WYCH_KOREKTA_ZAWART"})
            sql(std::string("delete from ") + t);
        // Raw materials 1 to 12 and 15 (sur_id, name, sur_kod, prod_wl): 4 is kept as goods
        // and carried by the goods product 3; 3 (sur_kod 2) and 5 (kept as goods with no
        // goods product, sur_kod 1) have no copy of their own; 8 is named only by zero rows.
        // The first semi-product's product takes id 15; no raw material is 13, 14 or 16.
        const char* surowce[] = {
            "(1, 'Mąka', 0, 1)",     "(2, 'Torebki', 1, 1)", "(3, 'Kminek', 2, 1)",
            "(4, 'Miód', 0, 0)",     "(5, 'Folia', 1, 0)",   "(6, 'Sól', 0, 1)",
            "(7, 'Drożdże', 0, 1)",  "(8, 'Sezam', 2, 1)",   "(9, 'Mleko', 0, 1)",
            "(10, 'Jaja', 0, 1)",    "(11, 'Masło', 0, 1)",  "(12, 'Cukier', 0, 1)",
            "(15, 'Rodzynki', 0, 1)"};
        for (const char* w : surowce)
            sql(std::string(
                    "insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_kod, prod_wl) values ") +
                w);
        for (const char* w : {"(1, 'Ciasto')", "(2, 'Zaczyn')"})
            sql(std::string("insert into POLPRODUKTY (id, pprod_nazwa_id) values ") + w);
        // Each semi-product's recipe: the dough of raw material 1, the leaven of 2.
        sql("insert into PolPRODUKTY_Receptury (id, SUR_ID, ilosc_sur) values (1, 1, 5)");
        sql("insert into PolPRODUKTY_Receptury (id, SUR_ID, ilosc_sur) values (2, 2, 4)");
        for (const char* w :
             {"(1, 'Chleb', 1, Null)", "(2, 'Bułka', 1, Null)", "(3, 'Miód słoik', 0, 4)"})
            sql(std::string("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, sur_id) "
                            "values ") +
                w);
        // Zero rows, as the quantity tables hold them for every raw material.
        for (int id = 1; id <= 12; ++id)
            for (const char* t : {"zakupy_ilosc", "zuzycie_calkowite"})
                sql(std::string("insert into ") + t + " (sur_id, ilosc) values (" +
                    std::to_string(id) + ", 0)");
        sql("insert into FAKTURY_WYCH_KOREKTA (FKOROUT_ID, zakup) values (1, -1)");
        sql("insert into FAKTURY_WYCH_KOREKTA (FKOROUT_ID, zakup) values (2, 0)");
    }
};

TEST_F(Krok197Spotkania, KazdyWierszNazywaProduktSwojejPozycji) {
    struct Przypadek {
        const char* wiersz;   // a row that names an item by its old id
        const char* tabela;   // the table of the row after the step
        const char* kolumna;  // its column that names the product
        const char* gdzie;    // which of its rows ("" all)
        const char* nazwa;    // the name of the product named (nullptr: none, the id is 0)
    };
    // Raw material 1's new id is 4, the old id of the raw material kept as goods; a
    // semi-product's new id meets old raw-material ids too: neither moves a row twice.
    const Przypadek przypadki[] = {
        {"update zakupy_ilosc set ilosc=5 where sur_id=3", "zakupy_ilosc", "sur_id", "ilosc=5",
         "Kminek"},
        {"update zuzycie_calkowite set ilosc=7 where sur_id=5", "zuzycie_calkowite", "sur_id",
         "ilosc=7", "Folia"},
        {"insert into magazyn_SUROWCOW (sur_id, ilosc) values (4, 3)", "magazyn_produktow",
         "prod_id", "ilosc=3", "Miód słoik"},
        {"insert into zakupy_zawart (numer_id, sur_id, ILOSC) values (1, 1, 2)", "zakupy_zawart",
         "sur_id", "", "Mąka"},
        {"insert into FAKTURY_WYCH_KOREKTA_ZAWART (FKOROUT_ID, PROD_ID) values (1, 2)",
         "FAKTURY_WYCH_KOREKTA_ZAWART", "PROD_ID", "FKOROUT_ID=1", "Torebki"},
        {"insert into FAKTURY_WYCH_KOREKTA_ZAWART (FKOROUT_ID, PROD_ID) values (2, 2)",
         "FAKTURY_WYCH_KOREKTA_ZAWART", "PROD_ID", "FKOROUT_ID=2", "Bułka"},
        {"insert into Zamowienia_Raport_Surowce (sur_id, Ilosc) values (1, 4.75)",
         "Zamowienia_Raport_Surowce", "sur_id", "", "Mąka"},
        {"insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_stanfaktyczny) values (1, "
         "'S', 2, 11)",
         "REMANENTINWENT_ZAWARTOSC", "ID", "Ilosc_stanfaktyczny=11", "Torebki"},
        {"insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_stanfaktyczny) values (2, "
         "'S', 1, 505)",
         "REMANENTINWENT_ZAWARTOSC", "ID", "Ilosc_stanfaktyczny=505", "Mąka"},
        {"insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_stanfaktyczny) values (2, "
         "'T', 3, 3)",
         "REMANENTINWENT_ZAWARTOSC", "ID", "Ilosc_stanfaktyczny=3", "Miód słoik"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, 1, "
         "21, 0)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=21", "Mąka"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, 4, "
         "22, 0)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=22", "Miód słoik"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, 6, "
         "23, Null)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=23", "Sól"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (2, 1, "
         "0, 2.5)",
         "PRODUKTY_Receptury", "sur_id", "PRODUKTY_Receptury.PROD_ID=2 and ilosc_sur=2.5",
         "Ciasto"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (2, 2, "
         "0, 1.5)",
         "PRODUKTY_Receptury", "sur_id", "PRODUKTY_Receptury.PROD_ID=2 and ilosc_sur=1.5",
         "Zaczyn"},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
         "15, 24, 0)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=24", "Rodzynki"},
        // Rows whose old id names no raw material or semi-product name no product.
        {"insert into zakupy_ilosc (sur_id, ilosc) values (13, 777)", "zakupy_ilosc", "sur_id",
         "ilosc=777", nullptr},
        {"insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, 9, "
         "0, 3.5)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=3.5", nullptr},
        {"insert into PolPRODUKTY_Receptury (id, SUR_ID, ilosc_sur) values (1, 14, 0.75)",
         "PRODUKTY_Receptury", "sur_id", "ilosc_sur=0.75", nullptr},
    };
    for (const Przypadek& p : przypadki) sql(p.wiersz);
    // A stock row of no raw material: its quantity goes to no product, and the Log says so.
    sql("insert into magazyn_SUROWCOW (sur_id, ilosc) values (Null, 6)");
    k.Konwersja_197();
    for (const Przypadek& p : przypadki) {
        const std::string gdzie = *p.gdzie ? std::string(" where ") + p.gdzie : "";
        if (p.nazwa)
            EXPECT_EQ(kolumna(std::string("select PRODUKTY.PROD_NAZWA_id from ") + p.tabela +
                              " inner join PRODUKTY on PRODUKTY.prod_id=" + p.tabela + "." +
                              p.kolumna + gdzie),
                      std::vector<std::string>{p.nazwa})
                << p.wiersz;
        else
            EXPECT_EQ(kolumna(std::string("select ") + p.kolumna + " from " + p.tabela + gdzie),
                      std::vector<std::string>{"0"})
                << p.wiersz;
    }
    // Their quantities go to no product, and the Log counts them.
    EXPECT_EQ(jedna("select count(*) from SPRZEDAZ_ILOSC where zakup_il=777"), "0");
    std::ifstream plik(dir / "Log");
    const std::string log{std::istreambuf_iterator<char>(plik), {}};
    for (const char* c : {"zakupy_ilosc.sur_id", "PRODUKTY_Receptury.sur_id",
                          "PolPRODUKTY_Receptury.SUR_ID", "magazyn_SUROWCOW.sur_id"})
        EXPECT_NE(log.find(std::string("wiersze ") + c + " bez istniejącego"), std::string::npos)
            << c;
    // Each semi-product's recipe holds its own ingredient only.
    EXPECT_EQ(
        wiersze("select P.PROD_NAZWA_id, S.PROD_NAZWA_id, R.ilosc_sur from (PRODUKTY_Receptury "
                "AS R INNER JOIN PRODUKTY AS P ON P.prod_id=R.PROD_ID) INNER JOIN PRODUKTY "
                "AS S ON S.prod_id=R.sur_id where P.rodzaj='O' order by P.PROD_NAZWA_id"),
        (Wiersze{{"Ciasto", "Mąka", "5"}, {"Zaczyn", "Torebki", "4"}}));
    // The raw materials without a product of their own are copied by their sur_kod; the one
    // named only by zero rows is not, and its zero rows go.
    EXPECT_EQ(wiersze("select PROD_NAZWA_id, rodzaj, iif(act_to_rec,1,0) from PRODUKTY where "
                      "PROD_NAZWA_id in ('Kminek','Folia','Sezam','Miód') order by PROD_NAZWA_id"),
              (Wiersze{{"Folia", "K", "0"}, {"Kminek", "S", "1"}}));
    EXPECT_EQ(jedna("select count(*) from zakupy_ilosc left join PRODUKTY on "
                    "PRODUKTY.prod_id=zakupy_ilosc.sur_id where PRODUKTY.prod_id is null and "
                    "zakupy_ilosc.sur_id<>0"),
              "0");
}

// A stocktaking line of a raw material kept as goods is added to the goods line of its
// stocktaking (the first one), both its 'S' and 'K' lines, a Null counting as none; where
// the stocktaking has no goods line they become one. No count is lost or counted twice.
TEST_F(Krok197Spotkania, RemanentSurowcaJakoTowaru) {
    for (const char* w :
         {"(1, 'T', 3, 10, 10)", "(1, 'S', 4, 2, Null)", "(1, 'K', 4, 1, 1)", "(2, 'S', 4, 6, 6)",
          "(2, 'K', 4, 1, 1)", "(3, 'T', 3, 2, 2)", "(3, 'T', 3, 3, 3)", "(3, 'S', 4, 10, 10)"})
        sql(std::string("insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_namagazynie, "
                        "Ilosc_stanfaktyczny) values ") +
            w);
    k.Konwersja_197();
    EXPECT_EQ(wiersze("select ID_RI, Rodz, ID, Ilosc_namagazynie, Ilosc_stanfaktyczny from "
                      "REMANENTINWENT_ZAWARTOSC order by ID_RI, Ilosc_namagazynie"),
              (Wiersze{{"1", "T", "3", "13", "11"},
                       {"2", "T", "3", "7", "7"},
                       {"3", "T", "3", "3", "3"},
                       {"3", "T", "3", "12", "12"}}));
}

// A raw material's stock and purchases go to the first row of its product, and each line
// of a semi-product's recipe becomes a line of its own.
TEST_F(Krok197Spotkania, IloscRazDoJednegoWiersza) {
    for (const char* w :
         {"insert into magazyn_produktow (prod_id, ilosc) values (3, 0)",
          "insert into magazyn_produktow (prod_id, ilosc) values (3, 5)",
          "insert into magazyn_SUROWCOW (sur_id, ilosc) values (4, 40)",
          "insert into SPRZEDAZ_ILOSC (prod_id, zakup_il) values (3, 0)",
          "insert into SPRZEDAZ_ILOSC (prod_id, zakup_il) values (3, 1)",
          "update zakupy_ilosc set ilosc=30 where sur_id=4",
          "insert into PolPRODUKTY_Receptury (id, SUR_ID, ilosc_sur) values (1, 1, 5)"})
        sql(w);
    k.Konwersja_197();
    const std::pair<const char*, std::vector<std::string>> przypadki[] = {
        {"select ilosc from magazyn_produktow where prod_id=3", {"40", "5"}},
        {"select zakup_il from SPRZEDAZ_ILOSC where prod_id=3", {"30", "1"}},
        {"select R.ilosc_sur from PRODUKTY_Receptury AS R inner join PRODUKTY AS P on "
         "P.prod_id=R.PROD_ID where P.PROD_NAZWA_id='Ciasto'",
         {"5", "5"}},
    };
    for (const auto& [zapytanie, oczekiwane] : przypadki)
        EXPECT_EQ(kolumna(zapytanie), oczekiwane) << zapytanie;
}

struct Zabity {};  // the process of the suite's earlier tool ends
int zabij_przed = 0, zapisy = 0;

// The suite's earlier tool stopped before each write of the step that comes before the
// step's own work tables (which only this program makes, in one transaction with the
// version, so that no stopped run leaves them), what the step wrote before it committed:
// the next run ends with the database of a run never stopped.
TEST_F(Krok197Spotkania, PrzerwanyPrzedKazdymZapisemKonczySieJakBezPrzerwy) {
    for (const char* w :
         {"insert into SUROWCE (sur_id, SUR_NAZWA_id, sur_kod, prod_wl) values (Null, 'Anyż', 0, "
          "1)",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_namagazynie) values (1, "
          "'T', 3, 10)",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_namagazynie) values (1, "
          "'S', 4, 2)",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_namagazynie) values (2, "
          "'K', 4, 1)",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_namagazynie) values (2, "
          "'S', 1, 5)",
          "insert into magazyn_SUROWCOW (sur_id, ilosc) values (4, 3)",
          "insert into magazyn_SUROWCOW (sur_id, ilosc) values (1, 2)",
          "update zakupy_ilosc set ilosc=5 where sur_id=3 or sur_id=4",
          "insert into zakupy_ilosc (sur_id, ilosc) values (13, 7)",
          "insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
          "1, 0, 2.5)",
          "insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
          "15, 3, 0)"})
        sql(w);
    polaczenie().database().checkpoint();
    DbZamknij();
    const std::string wzor = path + ".przed";
    std::filesystem::copy_file(path, wzor);
    // The step stopped before its n-th write (0: never) and run again; the whole database.
    const auto przebieg = [&](int n) {
        std::filesystem::copy_file(wzor, path, std::filesystem::copy_options::overwrite_existing);
        DbOtwórz();
        zabij_przed = n;
        zapisy = 0;
        jet::set_write_hook([] {
            if (++zapisy == zabij_przed) throw Zabity{};
        });
        try {
            k.Konwersja_197();
        } catch (const Zabity&) {
        }
        jet::set_write_hook(nullptr);
        polaczenie().database().checkpoint();
        if (n > 0 && k.Jest_Tabela("_surowce_POM")) {
            DbZamknij();
            return std::map<std::string, Wiersze>{};
        }
        if (n > 0) k.Konwersja_197();
        polaczenie().database().checkpoint();
        std::map<std::string, Wiersze> baza;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
            baza[t->name] = wiersze("select * from [" + t->name + "]");
        DbZamknij();
        return baza;
    };
    const auto prosty = przebieg(0);
    int n = 1;
    for (auto baza = przebieg(n); !baza.empty(); baza = przebieg(++n))
        EXPECT_EQ(baza, prosty) << "stopped before write " << n;
    EXPECT_GT(n, 10);
    DbOtwórz();
}

// Each write of the step fails in turn with "duplicate values": the step stops with the
// database as it was wherever a statement that changes rows meets it, the carry of the
// raw materials' stock and the re-pointing of their rows included.
TEST_F(Krok197Spotkania, APassedOverFailureOfAStatementThatChangesRowsStopsTheStep) {
    for (const char* w :
         {"insert into magazyn_SUROWCOW (sur_id, ilosc) values (4, 3)",
          "insert into magazyn_SUROWCOW (sur_id, ilosc) values (1, 2)",
          "update zakupy_ilosc set ilosc=5 where sur_id=1",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_stanfaktyczny) values (1, "
          "'T', 3, 3)",
          "insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, Ilosc_stanfaktyczny) values (1, "
          "'S', 4, 2)",
          "insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
          "1, 0, 2.5)",
          "insert into PRODUKTY_Receptury (PROD_ID, sur_id, ilosc_sur, ilosc_polprod) values (1, "
          "2, 3, 0)"})
        sql(w);
    // The database before the step, put back before each run.
    polaczenie().database().checkpoint();
    DbZamknij();
    const std::string wzor = path + ".przed";
    std::filesystem::copy_file(path, wzor);
    const auto stan = [&] {
        Wiersze w;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
            w.push_back({t->name});
            for (auto& r : wiersze("select * from [" + t->name + "]")) w.push_back(r);
        }
        return w;
    };
    Kazdy_Zapis_Zawodzi(
        [&] {
            std::filesystem::copy_file(wzor, path,
                                       std::filesystem::copy_options::overwrite_existing);
            DbOtwórz();
        },
        [&]() -> std::string {
            try {
                k.Konwersja_197();
                return "";
            } catch (const platform::ProcessEnd& e) {
                return "process end " + std::to_string(e.status) + "\n";
            } catch (const jet::Error& e) {
                return "error " + e.description();
            }
        },
        stan, [] { DbZamknij(); });
    DbOtwórz();
}

}  // namespace
}  // namespace kroki_test
