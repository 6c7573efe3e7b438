// Step 1.97: raw materials and semi-products merged into the product table.
#include "kroki_fixture.h"

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
        // Products: own bread, goods naming the honey raw material, goods without a group.
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID, grupa) values "
            "(1, 'Chleb', 1, 5, '')");
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID, grupa, sur_id) "
            "values (2, 'Miód słoik', 0, 3, 'Pani''s', 13)");
        sql("insert into PRODUKTY (prod_id, PROD_NAZWA_id, prod_wl, PROD_NUMER_ID) values (3, "
            "'Masło', 0, 1)");
        // Bread: 2.5 of the dough semi-product, flour, bags; butter (goods) has a recipe too.
        for (const char* w : {"(1, 7, 0, 2.5)", "(1, 11, 3, 0)", "(1, 12, 1, 0)", "(3, 11, 1, 0)"})
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
                       {"1", "6", "2,5", "0"},  // the dough: the 'O' product, its quantity moved
                       {"1", "12", "1", "0"},   // bags ('K') keep the old id
                       {"6", "4", "4", "Null"}}));  // the dough's own recipe; butter's is gone
}

TEST_F(Krok197, RemanentIStanySurowcowPrzeniesione) {
    k.Konwersja_197();
    // The honey counted as a raw material joins the honey goods of the same stocktaking.
    EXPECT_EQ(
        wiersze("select ID_RI, Rodz, ID, Ilosc_namagazynie, Ilosc_stanfaktyczny from "
                "REMANENTINWENT_ZAWARTOSC order by ID_RI, ID"),
        (Wiersze{{"1", "T", "2", "3", "4"}, {"1", "S", "4", "5", "5"}, {"2", "K", "5", "1", "1"}}));
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

}  // namespace
}  // namespace kroki_test
