// Steps 3.10 to 3.16 (3.12 aside) on a database of version 3.09: employees' defaults,
// orphan production lines, product codes and display order, the address table and the
// gross prices of price-list lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki310 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.09);
        Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA_ID text(50), prod_kod text(20), "
            "prod_numer_id long, Lancz_w text(80), PROD_WAGA single, PROD_WYDAJNOSCzREC single, "
            "Id_Poj_Domyslny long, STVAT_ID text(3))");
    }
    static void Produkt(int id, const std::string& nazwa, const std::string& kod,
                        const std::string& numer, const std::string& vat) {
        Sql("insert into PRODUKTY (PROD_ID, PROD_NAZWA_ID, prod_kod, prod_numer_id, STVAT_ID) "
            "values (" +
            std::to_string(id) + ", '" + nazwa + "', " + kod + ", " + numer + ", " + vat + ")");
    }
};

TEST_F(Kroki310, EmployeeDefaultsOnlyWhereNullAndAddressesAnew) {
    Sql("create table KADRY_PRACOWNICY (ID_prac long)");
    Sql("insert into KADRY_PRACOWNICY values (1)");
    Sql("create table KADRY_ADRESY (ID_prac long, ulica text(20))");
    Sql("insert into KADRY_ADRESY values (1, 'Polna')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_310), "");
    Sql("insert into KADRY_PRACOWNICY (ID_prac, ETAT, KodZUS) values (2, '1  2  ', '012000')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_310), "");  // again: what exists is absorbed
    EXPECT_EQ(Wiersze_Z("select ETAT, KodZUS from KADRY_PRACOWNICY order by ID_prac"),
              (Wiersze{{"1  1  ", "011000"}, {"1  2  ", "012000"}}));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_314), "");
    EXPECT_EQ(Kolumna("select count(*) from KADRY_ADRESY"), (Lista{"0"}));
    Sql("insert into KADRY_ADRESY (ID_prac, ulica2, email) values (1, 'Długa', 'a@b.pl')");
    EXPECT_EQ(Wiersze_Z("select countt, ulica, ulica2 from KADRY_ADRESY"),
              (Wiersze{{"1", "Null", "Długa"}}));
}

TEST_F(Kroki310, OrphanLinesCodesAndDisplayOrder) {
    Sql("create table DOK_PRO_zawart (PRO_ID long, PROD_ID long)");
    Sql("create table DOK_PRO_zawart_SUROWCE (PRO_ID long, PROD_ID long, SUR_ID long)");
    // Of products 5 and 1 of one number the lower id comes first, not the first stored.
    Produkt(5, "Mąka", "'MAK'", "9", "'22'");
    Produkt(1, "Chleb razowy", "''", "9", "'22'");
    Produkt(2, "Bułka", "null", "12", "'22'");
    Produkt(3, "Rogal", "'ROG'", "5", "'22'");
    Produkt(4, "Drożdże", "'DRO'", "null", "'22'");
    Sql("update PRODUKTY set Lancz_w='Rogal maślany', PROD_WAGA=0.5 where PROD_ID=3");
    for (const char* w : {"1, 1", "1, 77"})
        Sql(std::string("insert into DOK_PRO_zawart values (") + w + ")");
    for (const char* w : {"1, 1, 5", "1, 77, 5", "1, 1, 78"})
        Sql(std::string("insert into DOK_PRO_zawart_SUROWCE values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_313), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_315), "");
    EXPECT_EQ(Kolumna("select PROD_ID from DOK_PRO_zawart"), (Lista{"1"}));
    EXPECT_EQ(Wiersze_Z("select PROD_ID, SUR_ID from DOK_PRO_zawart_SUROWCE"),
              (Wiersze{{"1", "5"}}));
    // Null first, then 5, 9, 9, 12, numbered without gaps.
    EXPECT_EQ(Wiersze_Z("select PROD_ID, prod_numer_id from PRODUKTY order by prod_numer_id"),
              (Wiersze{{"4", "1"}, {"3", "2"}, {"1", "3"}, {"5", "4"}, {"2", "5"}}));
    EXPECT_EQ(Wiersze_Z("select prod_kod, Lancz_w, Lancz_w_dd, PROD_WAGA, PROD_WYDAJNOSCzREC, "
                        "Id_Poj_Domyslny from PRODUKTY where PROD_ID in (1, 3) order by PROD_ID"),
              (Wiersze{{"Chleb ", "Chleb razowy", "Chleb razowy", "1", "1", "0"},
                       {"ROG", "Rogal maślany", "Rogal maślany", "0,5", "1", "0"}}));
}

TEST_F(Kroki310, GrossPricesByRate) {
    Sql("create table CENNIKI_ZAWART (CEN_ID long, prod_id long, CEN_Narzut money)");
    const Lista stawki = {"'22'", "'7'", "'3'", "'zw'", "'0'", "null", "'5'"};
    for (size_t i = 0; i < stawki.size(); ++i) {
        const std::string p = std::to_string(i + 1);
        Produkt(static_cast<int>(i + 1), "P" + p, "'P'", p, stawki[i]);
        Sql("insert into CENNIKI_ZAWART values (" + p + ", " + p + ", 1.2345)");
    }
    Sql("insert into CENNIKI_ZAWART values (8, 99, 2)");  // no such product
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_316), "");
    Sql("insert into CENNIKI_ZAWART values (9, 1, 10, 11)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_316), "");  // a gross price set stays
    EXPECT_EQ(
        Kolumna("select Cen_Brutto from CENNIKI_ZAWART order by CEN_ID"),
        (Lista{"1,5061", "1,3209", "1,2715", "1,2345", "1,2345", "Null", "Null", "Null", "11"}));
}

}  // namespace
}  // namespace kroki_test
