// Steps 5.68 to 5.78 on a database of version 5.67: prices before discount and price
// discounts, the period of advances, and the merge of repeated sales-invoice lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki568 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.67);
        Sql("create table DOK_FAK_ZAWART (COUNTT counter, FAKOUT_ID long, PROD_ID long, "
            "ZFAKOUT_CENA_N money, ZFAKOUT_ILOSC single, Ilosc_Na_Magazyn single)");
        for (const char* t : {"DOK_DD_ZAWART", "DOK_DZ_ZAWART"})
            Sql(std::string("create table ") + t + " (id long, ZDDOUT_CENA_N money)");
        Sql("create table KADRY_ZAS (countt counter, ID_PRAC long, data datetime)");
        Sql("create table PLACE_OPISY (POLE long, OPIS text(50), SKR text(20))");
        Sql("create table PLACE_LISTY_ZAWART (IDListy long)");
        Sql("create table Kontrahenci (konh_id long)");
        Sql("create table PLACE_ZESTAWIENIA (id long)");
    }
    void Kroki(int od, int do_) {
        for (const auto& [v, m] : Zbudowane_Kroki()) {
            if (v >= od && v <= do_) {
                ASSERT_EQ(Krok(m), "") << v;
            }
        }
    }
    static void Linia(int countt, int faktura, const std::string& produkt, const std::string& cena,
                      double ilosc) {
        Sql("insert into DOK_FAK_ZAWART (COUNTT, FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, "
            "ZFAKOUT_ILOSC, Ilosc_Na_Magazyn) values (" +
            std::to_string(countt) + ", " + std::to_string(faktura) + ", " + produkt + ", " + cena +
            ", " + std::to_string(ilosc) + ", " + std::to_string(ilosc * 2) + ")");
    }
};

TEST_F(Kroki568, DiscountColumnsAreCompletedOnlyWhereEmpty) {
    Sql("insert into DOK_DD_ZAWART values (1, 4)");
    Sql("insert into DOK_DZ_ZAWART values (1, 6)");
    Kroki(568, 572);
    Linia(1, 1, "7", "10", 1);  // added after 5.68: no price before discount yet
    Sql("update DOK_DD_ZAWART set CENA_B_RABATU=9, RABAT_CEN=Null");
    Sql("update DOK_DZ_ZAWART set CENA_B_RABATU=Null, RABAT_CEN=2");
    Kroki(573, 577);
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_FAK_ZAWART"),
              (Wiersze{{"10", "0"}}));
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_DD_ZAWART"),
              (Wiersze{{"9", "0"}}));
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_DZ_ZAWART"),
              (Wiersze{{"6", "2"}}));
    EXPECT_FALSE(Jest_Tabela("PLACE_ZESTAWIENIA"));
    for (const char* t : {"KONTRAHENCI_RABATY_CEN", "KADRY_INFO", "Dok_Mi"})
        EXPECT_TRUE(Jest_Tabela(t)) << t;
    EXPECT_TRUE(Czyta_Sie("select wartosc198, wartosc201 from PLACE_LISTY_ZAWART"));
    EXPECT_TRUE(
        Czyta_Sie("select Tryb_REAL, Cena_Poj, Dom_text_na_kp, Dom_text_na_kw from Kontrahenci"));
    EXPECT_EQ(Kolumna("select POLE from PLACE_OPISY order by POLE"),
              (std::vector<std::string>{"198", "199", "200", "201"}));
}

TEST_F(Kroki568, AdvancesTakeTheirDateAsTheirPeriod) {
    Sql("insert into KADRY_ZAS (ID_PRAC, data) values (1, #03-15-2005#)");
    Sql("insert into KADRY_ZAS (ID_PRAC, data) values (1, Null)");
    Kroki(569, 569);
    EXPECT_EQ(Wiersze_Z("select DataOd = data, DataDo = data, DataOd is null from KADRY_ZAS "
                        "order by countt"),
              (Wiersze{{"True", "True", "False"}, {"Null", "Null", "True"}}));
}

TEST_F(Kroki568, RepeatedInvoiceLinesMergeIntoTheLatest) {
    Kroki(568, 577);
    Linia(100, 1, "7", "10", 2);
    Linia(101, 1, "7", "10", 3);  // takes 100's quantities
    Linia(102, 1, "8", "10", 1);
    Linia(103, 1, "8", "10", 4);
    Sql("update DOK_FAK_ZAWART set RABAT_CEN=1 where COUNTT=103");  // another discount
    Linia(104, 2, "7", "10", 5);                                    // another invoice
    Linia(105, 1, "9", "Null", 1);                                  // no price: never matches
    Linia(106, 1, "9", "Null", 1);
    Linia(107, 3, "5", "2", 1);  // three lines of one group: all go into the latest
    Linia(108, 3, "5", "2", 2);
    Linia(109, 3, "5", "2", 4);
    Sql("update DOK_FAK_ZAWART set RABAT_CEN=Null, CENA_B_RABATU=Null where COUNTT<>103");
    Kroki(578, 578);
    EXPECT_EQ(Wiersze_Z("select COUNTT, ZFAKOUT_ILOSC, Ilosc_Na_Magazyn, RABAT_CEN, CENA_B_RABATU "
                        "from DOK_FAK_ZAWART order by COUNTT"),
              (Wiersze{{"101", "5", "10", "0", "10"},
                       {"102", "1", "2", "0", "10"},
                       {"103", "4", "8", "1", "10"},
                       {"104", "5", "10", "0", "10"},
                       {"105", "1", "2", "0", "Null"},
                       {"106", "1", "2", "0", "Null"},
                       {"109", "7", "14", "0", "2"}}));
    // A repeated run over marked lines left by a stopped run deletes them first.
    Sql("update DOK_FAK_ZAWART set PROD_ID=-PROD_ID where COUNTT=102");
    Kroki(578, 578);
    EXPECT_EQ(Kolumna("select ZFAKOUT_ILOSC from DOK_FAK_ZAWART where PROD_ID=8"),
              (std::vector<std::string>{"4"}));
}

}  // namespace
}  // namespace kroki_test
