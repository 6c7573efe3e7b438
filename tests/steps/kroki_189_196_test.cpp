// Steps 1.89 to 1.96 over the release 1.65 database brought to 1.88.
#include <fstream>
#include <iterator>

#include "kroki_fixture.h"

namespace kroki_test {
namespace {

class Kroki189 : public KrokiTest {
  protected:
    void SetUp() override {
        KrokiTest::SetUp();
        kroki(164, 188);
    }
    // Four products with prod_wl 1, 0, 1 and Null, the last one numbered first.
    void cztery_produkty() {
        sql("delete from PRODUKTY");
        sql("insert into PRODUKTY (PROD_NAZWA_id, PROD_NUMER_ID, prod_wl) values ('a', 1, 1)");
        sql("insert into PRODUKTY (PROD_NAZWA_id, PROD_NUMER_ID, prod_wl) values ('b', 2, 0)");
        sql("insert into PRODUKTY (PROD_NAZWA_id, PROD_NUMER_ID, prod_wl) values ('c', 3, 1)");
        sql("insert into PRODUKTY (PROD_NAZWA_id, PROD_NUMER_ID, prod_wl) values ('d', 0, Null)");
    }
};

TEST_F(Kroki189, NumeracjaProduktow) {
    const struct {
        MetodaKroku krok;
        std::vector<std::string> numery;  // of a, b, c, d
    } przypadki[] = {
        {&ClsKonwersje::Konwersja_189, {"1", "10002", "2", "10001"}},
        {&ClsKonwersje::Konwersja_192, {"1", "2", "2", "1"}},
        {&ClsKonwersje::Konwersja_193, {"1", "4", "2", "3"}},  // Null is among the goods
        {&ClsKonwersje::Konwersja_196, {"1", "10002", "2", "10001"}},
    };
    kroki(188, 196);  // each step then runs again over its own shape
    for (const auto& p : przypadki) {
        cztery_produkty();
        (k.*p.krok)();
        EXPECT_EQ(kolumna("select PROD_NUMER_ID from PRODUKTY order by PROD_NAZWA_id"), p.numery);
        (k.*p.krok)();  // the same result on the same data
        EXPECT_EQ(kolumna("select PROD_NUMER_ID from PRODUKTY order by PROD_NAZWA_id"), p.numery);
    }
}

TEST_F(Kroki189, KierowcaKontrahentaWDokumentachBezKierowcy) {
    sql("update KONTRAHENCI set kier_id=3 where KONH_ID=2");
    const std::vector<std::string> tabele = {"FAKTURY_WYCH",  "FAKTURY_WYCH_KOREKTA",
                                             "DOWODY_DOSTAW", "DOWODY_ZWROTU",
                                             "Paragon",       "SPRZEDAZ_NEW"};
    for (const auto& t : tabele) {
        sql("delete from " + t);
        sql("insert into " + t + " (KONH_ID, kier_id) values (2, 0)");
        sql("insert into " + t + " (KONH_ID, kier_id) values (2, 4)");
        sql("insert into " + t + " (KONH_ID, kier_id) values (2, Null)");
        sql("insert into " + t + " (KONH_ID, kier_id) values (999, 0)");
        sql("insert into " + t + " (KONH_ID, kier_id) values (5, 0)");  // a customer without one
    }
    sql("update KONTRAHENCI set kier_id=Null where KONH_ID=5");
    k.Konwersja_189();
    std::ifstream plik(dir / "Log");
    const std::string log{std::istreambuf_iterator<char>(plik), {}};
    for (const auto& t : tabele) {
        EXPECT_EQ(kolumna("select kier_id from " + t + " order by KONH_ID, kier_id"),
                  (std::vector<std::string>{"3", "3", "4", "0", "0"}))
            << t;
        EXPECT_NE(log.find("Konwersja 1.89: dokumenty " + t +
                           " bez kierowcy (kontrahent nie ma kierowcy): 1"),
                  std::string::npos)
            << t;
    }
}

TEST_F(Kroki189, RaportyZamowienNumerowaneDatami) {
    k.Konwersja_189();
    k.Konwersja_190();
    sql("delete from Zamowienia_raport");
    sql("insert into Zamowienia_raport (data, prod_id) values (#3/2/2000#, 1)");
    sql("insert into Zamowienia_raport (data, prod_id) values (#3/1/2000#, 2)");
    sql("insert into Zamowienia_raport (data, prod_id) values (#3/1/2000#, 3)");
    sql("insert into Zamowienia_raport (data, prod_id) values (Null, 4)");
    sql("insert into Zamowienia_Raport_Surowce (data, sur_id) values (#3/2/2000#, 1)");
    sql("insert into Zamowienia_Raport_Surowce (data, sur_id) values (#3/9/2000#, 2)");
    k.Konwersja_191();
    EXPECT_EQ(wiersze("select prod_id, rap_id, blok from Zamowienia_raport order by prod_id"),
              (Wiersze{{"1", "2", "0"}, {"2", "1", "0"}, {"3", "1", "0"}, {"4", "0", "0"}}));
    EXPECT_EQ(kolumna("select rap_id from Zamowienia_Raport_Surowce order by sur_id"),
              (std::vector<std::string>{"2", "0"}));

    // 1.93 numbers the same way, one record at a time, and fills a Null blok.
    sql("update Zamowienia_raport set rap_id=Null, blok=Null");
    k.Konwersja_192();
    k.Konwersja_193();
    EXPECT_EQ(wiersze("select prod_id, rap_id, blok from Zamowienia_raport order by prod_id"),
              (Wiersze{{"1", "2", "0"}, {"2", "1", "0"}, {"3", "1", "0"}, {"4", "0", "0"}}));
}

TEST_F(Kroki189, Krok191SurowceTabeleIWierszeWzorcowe) {
    sql("delete from SUROWCE");
    // In number order: bought-only, own, kept as goods, bought-only.
    sql("insert into SUROWCE (SUR_NAZWA_id, sur_numer, prod_wl, sur_kod) values ('a', 1, 1, 1)");
    sql("insert into SUROWCE (SUR_NAZWA_id, sur_numer, prod_wl, sur_kod) values ('b', 2, 1, 0)");
    sql("insert into SUROWCE (SUR_NAZWA_id, sur_numer, prod_wl, sur_kod) values ('c', 3, 0, 1)");
    sql("insert into SUROWCE (SUR_NAZWA_id, sur_numer, prod_wl, sur_kod) values ('d', 4, 1, 1)");
    kroki(188, 191);
    k.Konwersja_191();
    EXPECT_EQ(kolumna("select sur_numer from SUROWCE order by SUR_NAZWA_id"),
              (std::vector<std::string>{"1", "1", "1", "2"}));
    EXPECT_EQ(jedna("select count(*) from PARAMETRY_NAGLOWEK where dokument='PW'"), "1");
    for (const char* t : {"zakupy_ilosc", "zuzycie_calkowite", "magazyn_SUROWCOW"})
        EXPECT_EQ(jedna(std::string("select count(*) from SUROWCE left join ") + t +
                        " on SUROWCE.sur_id=" + t + ".sur_id where " + t + ".sur_id is null"),
                  "0")
            << t;
    EXPECT_EQ(jedna("select count(*) from magazyn_SUROWCOW"), "4") << "no second zero row";
    for (const char* t :
         {"SPRZEDAZ", "BILANS_SUR", "remanent", "remanent_zawart", "zlec_prod_zawart"})
        EXPECT_FALSE(jest_tabela(t)) << t;
    EXPECT_EQ(kolumna("select distinct rodzdok from SPRZEDAZ_NEW"),
              (std::vector<std::string>{"R"}));
}

TEST_F(Kroki189, StanProduktuZOstatniegoRemanentu) {
    kroki(188, 193);
    sql("delete from magazyn_produktow");
    k.Konwersja_194();  // an empty stock table: nothing to look up
    for (int p : {1, 2, 3})
        sql("insert into magazyn_produktow (prod_id, ilosc) values (" + std::to_string(p) + ", 9)");
    sql("delete from REMANENTINWENT_ZAWARTOSC");
    // A stock row without a product names nothing; the latest stocktaking's lines of a
    // product add up, one without a quantity adding none; a line of a stocktaking that is
    // gone (99) is none's.
    sql("insert into magazyn_produktow (prod_id, ilosc) values (Null, 9)");
    for (int r : {3, 5, 7, 9})
        sql("insert into REMANENTINWENT (ID_RI) values (" + std::to_string(r) + ")");
    for (const char* w :
         {"(3, 'P', 1, 5)", "(7, 'P', 1, 2)", "(5, 'P', 1, 8)", "(7, 'T', 2, 4)",
          "(7, 'P', 1, 1.5)", "(7, 'P', 1, Null)", "(9, 'P', 3, Null)", "(99, 'P', 1, 40)"})
        sql(std::string("insert into REMANENTINWENT_ZAWARTOSC (ID_RI, Rodz, ID, "
                        "Ilosc_stanfaktyczny) values ") +
            w);
    k.Konwersja_194();
    EXPECT_EQ(kolumna("select ilosc from magazyn_produktow order by prod_id"),
              (std::vector<std::string>{"0", "3,5", "0", "0"}));
}

}  // namespace
}  // namespace kroki_test
