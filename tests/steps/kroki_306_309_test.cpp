// Steps 3.06 to 3.09: packaging columns, amounts rounded to grosze, documents pointing
// at their numbering series, production lines of missing products removed.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki306 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.05); }
};

TEST_F(Kroki306, ExistingProductsHoldOnePiecePerPackageNewOnesTheDefault) {
    Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA text(50))");
    Sql("insert into PRODUKTY values (1, 'Chleb wiejski')");
    Sql("create table Kontrahenci (KONH_ID long)");
    Sql("create table ZAMOWIENIA_KOMENTARZE (Data date, TEKST memo)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_306), "");
    Sql("insert into PRODUKTY (PROD_ID, PROD_NAZWA) values (2, 'Bułka')");
    EXPECT_EQ(Kolumna("select Szt_w_opak from PRODUKTY order by PROD_ID"),
              (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(Typ_Pola("Kontrahenci", "Tryb_SIEC_A"), dao::dbBoolean);
    // Run again: the columns exist, the fill repeats.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_306), "");
    EXPECT_EQ(Kolumna("select Szt_w_opak from PRODUKTY order by PROD_ID"),
              (std::vector<std::string>{"1", "1"}));
}

TEST_F(Kroki306, AmountsRoundedHalvesAwayFromZero) {
    for (const char* t : {"DOK_FAK", "DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_KFA",
                          "DOK_KZA", "DOK_ZAK"})
        Sql(std::string("create table ") + t + " (ID long, wart_kp money" +
            (std::string(t) == "DOK_FAK" ? ", wart_dd money" : "") + ")");
    Sql("insert into DOK_ZAK values (1, 12.345)");
    Sql("insert into DOK_ZAK values (2, -12.345)");
    Sql("insert into DOK_ZAK values (3, 0)");
    Sql("insert into DOK_ZAK values (4, null)");
    Sql("insert into DOK_ZAK values (5, 0.004)");
    Sql("insert into DOK_FAK values (1, 7.125, 0.005)");
    Sql("insert into DOK_FAK values (2, null, -0.015)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_307), "");
    EXPECT_EQ(Kolumna("select wart_kp from DOK_ZAK order by ID"),
              (std::vector<std::string>{"12,35", "-12,35", "0", "Null", "0"}));
    EXPECT_EQ(Wiersze_Z("select wart_kp, wart_dd from DOK_FAK order by ID"),
              (Wiersze{{"7,13", "0,01"}, {"Null", "-0,02"}}));
}

TEST_F(Kroki306, DocumentsPointAtTheSeriesOfTheirLine) {
    Sql("create table SPOSOB_NUMERACJI_ZAWART (id long, sm_id long)");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART values (10, 1)");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART values (11, 2)");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART values (12, null)");  // a line of no series
    for (const char* t :
         {"DOK_FAK", "DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_KFA", "DOK_KZA"})
        Sql(std::string("create table ") + t + " (ID long, smz_id long)");
    Sql("insert into DOK_DD values (1, 10)");
    Sql("insert into DOK_DD values (2, 11)");
    Sql("insert into DOK_DD values (3, 0)");
    Sql("insert into DOK_DD values (4, 99)");  // no such line
    Sql("insert into DOK_DD values (5, 12)");
    Sql("insert into DOK_DD values (6, null)");
    Sql("insert into DOK_KZA values (1, 11)");
    Sql("insert into DOK_KZA values (2, 12)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_308), "");
    // A document of no line or of a line of no series names no numbering.
    EXPECT_EQ(Kolumna("select smz_id from DOK_DD order by ID"),
              (std::vector<std::string>{"1", "2", "0", "0", "0", "Null"}));
    EXPECT_EQ(Kolumna("select smz_id from DOK_KZA order by ID"),
              (std::vector<std::string>{"2", "0"}));
    EXPECT_EQ(Linie_Logu("bez istniejącej numeracji").size(), 2u);
    EXPECT_FALSE(Jest_Tabela("SPOSOB_NUMERACJI_ZAWART"));
}

TEST_F(Kroki306, ProductionLinesOfMissingProductsOrRawMaterialsDeleted) {
    Sql("create table STANY_MAGAZYNOWE (PROD_ID long, ILOSC single)");
    Sql("create table PRODUKTY (PROD_ID long)");
    Sql("insert into PRODUKTY values (1)");
    Sql("insert into PRODUKTY values (2)");
    Sql("create table DOK_PRO_zawart (DDOUT_ID long, PROD_ID long)");
    Sql("insert into DOK_PRO_zawart values (1, 1)");
    Sql("insert into DOK_PRO_zawart values (2, 7)");
    Sql("create table DOK_PRO_zawart_SUROWCE (DDOUT_ID long, PROD_ID long, SUR_ID long)");
    Sql("insert into DOK_PRO_zawart_SUROWCE values (1, 1, 2)");
    Sql("insert into DOK_PRO_zawart_SUROWCE values (2, 7, 2)");  // product missing
    Sql("insert into DOK_PRO_zawart_SUROWCE values (3, 1, 8)");  // raw material missing
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_309), "");
    EXPECT_EQ(Kolumna("select DDOUT_ID from DOK_PRO_zawart"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Kolumna("select DDOUT_ID from DOK_PRO_zawart_SUROWCE"),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(Typ_Pola("STANY_MAGAZYNOWE", "SrodekTrawly"), dao::dbSingle);
}

}  // namespace
}  // namespace kroki_test
