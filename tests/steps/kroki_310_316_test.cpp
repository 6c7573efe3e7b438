// Steps 3.10 to 3.16 (3.12 aside) on a database of version 3.09: employees' fraction and
// insurance code, orphan production lines, product codes and display order, the address
// table, the print names and the gross prices of price-list lines.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki310 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.09);
        Sql("create table KADRY_PRACOWNICY (ID_prac long, nazwisko text(40))");
        Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA_ID text(50), prod_kod text(20), "
            "prod_numer_id long, Lancz_w text(80), PROD_WAGA single, PROD_WYDAJNOSCzREC single, "
            "Id_Poj_Domyslny long, STVAT_ID text(3))");
        Sql("create table CENNIKI_ZAWART (CEN_ID long, prod_id long, CEN_Narzut money)");
    }
    void Kroki(int od, int do_) {
        for (const auto& [v, m] : Zbudowane_Kroki())
            if (v >= od && v <= do_) {
                ASSERT_EQ(Krok(m), "") << v;
            }
    }
    void Produkt(int id, const std::string& nazwa, const std::string& kod, const std::string& numer,
                 const std::string& vat = "'22'") {
        Sql("insert into PRODUKTY (PROD_ID, PROD_NAZWA_ID, prod_kod, prod_numer_id, STVAT_ID) "
            "values (" +
            std::to_string(id) + ", '" + nazwa + "', " + kod + ", " + numer + ", " + vat + ")");
    }
};

TEST_F(Kroki310, EmployeeDefaultsOnlyWhereNull) {
    Sql("insert into KADRY_PRACOWNICY (ID_prac) values (1)");
    Kroki(310, 310);
    Sql("insert into KADRY_PRACOWNICY (ID_prac, ETAT, KodZUS) values (2, '1  2  ', '012000')");
    Sql("insert into KADRY_PRACOWNICY (ID_prac) values (3)");
    Kroki(310, 310);  // again: the columns and the table exist, the kept values stay
    EXPECT_EQ(
        Wiersze_Z("select ID_prac, ETAT, KodZUS from KADRY_PRACOWNICY order by ID_prac"),
        (Wiersze{{"1", "1  1  ", "011000"}, {"2", "1  2  ", "012000"}, {"3", "1  1  ", "011000"}}));
    Sql("insert into PLACE_SWIADCZ_PRZERWY (IDListy, ID_prac, kwota) values (7, 1, 12.5)");
    EXPECT_EQ(Wiersze_Z("select Countt, kwota from PLACE_SWIADCZ_PRZERWY"),
              (Wiersze{{"1", "12,5"}}));
}

TEST_F(Kroki310, ImportIdsOfOrders) {
    Sql("create table DOK_ZAM (ZAM_ID long)");
    Sql("create table DOK_ZAM_ZAWART (ZAM_ID long)");
    Kroki(311, 311);
    EXPECT_EQ(Typ_Pola("DOK_ZAM", "id_import"), dao::dbLong);
    EXPECT_EQ(Typ_Pola("DOK_ZAM_ZAWART", "id_import"), dao::dbLong);
}

TEST_F(Kroki310, OrphanLinesCodesAndDisplayOrder) {
    Sql("create table DOK_PRO_zawart (PRO_ID long, PROD_ID long)");
    Sql("create table DOK_PRO_zawart_SUROWCE (PRO_ID long, PROD_ID long, SUR_ID long)");
    Produkt(1, "Chleb razowy", "''", "9");
    Produkt(2, "Bułka", "null", "12");
    Produkt(3, "Rogal", "'ROG'", "5");
    Produkt(4, "Drożdże", "'DRO'", "null");
    Produkt(5, "Mąka", "'MAK'", "9");
    Sql("update PRODUKTY set Lancz_w='Rogal maślany', PROD_WAGA=0.5 where PROD_ID=3");
    Sql("insert into DOK_PRO_zawart values (1, 1)");
    Sql("insert into DOK_PRO_zawart values (1, 77)");
    Sql("insert into DOK_PRO_zawart_SUROWCE values (1, 1, 5)");
    Sql("insert into DOK_PRO_zawart_SUROWCE values (1, 77, 5)");
    Sql("insert into DOK_PRO_zawart_SUROWCE values (1, 1, 78)");
    Kroki(313, 313);
    EXPECT_EQ(Wiersze_Z("select PRO_ID, PROD_ID from DOK_PRO_zawart"), (Wiersze{{"1", "1"}}));
    EXPECT_EQ(Wiersze_Z("select PROD_ID, SUR_ID from DOK_PRO_zawart_SUROWCE"),
              (Wiersze{{"1", "5"}}));
    // Null first, then 5, 9, 9, 12 without gaps; equal numbers in the engine's order.
    EXPECT_EQ(Kolumna("select PROD_ID from PRODUKTY order by prod_numer_id"),
              (Lista{"4", "3", "1", "5", "2"}));
    EXPECT_EQ(Kolumna("select prod_numer_id from PRODUKTY order by prod_numer_id"),
              (Lista{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(Wiersze_Z("select prod_kod, Lancz_w, PROD_WAGA, PROD_WYDAJNOSCzREC, "
                        "Id_Poj_Domyslny from PRODUKTY where PROD_ID in (1, 2, 3) order by "
                        "PROD_ID"),
              (Wiersze{{"Chleb ", "Chleb razowy", "1", "1", "0"},
                       {"Bułka", "Bułka", "1", "1", "0"},
                       {"ROG", "Rogal maślany", "0,5", "1", "0"}}));
}

TEST_F(Kroki310, AddressTableStartsEmpty) {
    Sql("create table KADRY_ADRESY (ID_prac long, ulica text(20))");
    Sql("insert into KADRY_ADRESY values (1, 'Polna')");
    Kroki(314, 314);
    EXPECT_EQ(Kolumna("select count(*) from KADRY_ADRESY"), (Lista{"0"}));
    Sql("insert into KADRY_ADRESY (ID_prac, ulica2, kodpocztowy1, email) values (1, "
        "'Długa', '00-950', 'kadry@piekarnia.pl')");
    EXPECT_EQ(Wiersze_Z("select countt, ulica, ulica2, kodpocztowy1, email from KADRY_ADRESY"),
              (Wiersze{{"1", "Null", "Długa", "00-950", "kadry@piekarnia.pl"}}));
    EXPECT_NE(Uruchom([] { Sql("insert into KADRY_ADRESY (kodpocztowy) values ('1234567')"); }),
              "");
    EXPECT_EQ(Typ_Pola("KADRY_PRACOWNICY", "Kategoria"), dao::dbText);
}

TEST_F(Kroki310, PrintNamesFollowTheName) {
    Produkt(1, "Chleb razowy", "'CH'", "1");
    Produkt(2, "Bułka", "'BU'", "2");
    Sql("update PRODUKTY set Lancz_w='Bułka kajzerka' where PROD_ID=2");
    Kroki(315, 315);
    EXPECT_EQ(Wiersze_Z("select Lancz_w, Lancz_w_dd from PRODUKTY order by PROD_ID"),
              (Wiersze{{"Chleb razowy", "Chleb razowy"}, {"Bułka kajzerka", "Bułka kajzerka"}}));
}

TEST_F(Kroki310, GrossPricesByRate) {
    Produkt(1, "A", "'A'", "1", "'22'");
    Produkt(2, "B", "'B'", "2", "'7'");
    Produkt(3, "C", "'C'", "3", "'3'");
    Produkt(4, "D", "'D'", "4", "'zw'");
    Produkt(5, "E", "'E'", "5", "'0'");
    Produkt(6, "F", "'F'", "6", "null");
    Produkt(7, "G", "'G'", "7", "'5'");
    for (int p = 1; p <= 7; ++p)
        Sql("insert into CENNIKI_ZAWART values (" + std::to_string(p) + ", " + std::to_string(p) +
            ", 1.2345)");
    Sql("insert into CENNIKI_ZAWART values (8, 99, 2)");  // no such product
    Kroki(316, 316);
    Sql("insert into CENNIKI_ZAWART (CEN_ID, prod_id, CEN_Narzut, Cen_Brutto) values (9, 1, 10, "
        "11)");
    Kroki(316, 316);  // a gross price already set is not recomputed
    EXPECT_EQ(
        Kolumna("select Cen_Brutto from CENNIKI_ZAWART order by CEN_ID"),
        (Lista{"1,5061", "1,3209", "1,2715", "1,2345", "1,2345", "Null", "Null", "Null", "11"}));
}

}  // namespace
}  // namespace kroki_test
