// Steps 2.73 to 2.75 on a database of version 2.72: the costing columns of products and
// recipe lines, and the payroll components 119 to 144 with their amount columns.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki273 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.72);
        Sql("create table PRODUKTY (prod_id counter, PROD_NAZWA_id text(50))");
        Sql("create table PRODUKTY_RECEPTURY (PROD_ID long, sur_id long, ilosc_sur single)");
        Sql("create table [place_opisy] (pole long,OPIS text(255),SKR text(255),iddd counter)");
        Sql("create table [Place_Dane] (IDP long, IDListy long, wartosc19 money, wartosc134 "
            "money)");
    }
    void Kroki(int od, int do_) {
        for (const auto& [v, m] : Zbudowane_Kroki())
            if (v >= od && v <= do_) {
                ASSERT_EQ(Krok(m), "") << v;
            }
    }
};

// Rows written after the steps get the declared defaults: 0 in the Single columns, Null
// in the money ones. A second run adds nothing twice.
TEST_F(Kroki273, CostingColumnsTakeTheirDefaults) {
    Kroki(273, 274);
    Kroki(273, 274);
    Sql("insert into PRODUKTY (PROD_NAZWA_id) values ('Bułka kajzerka')");
    Sql("insert into PRODUKTY_RECEPTURY (PROD_ID, sur_id) values (1, 1)");
    EXPECT_EQ(Wiersze_Z("select Cena_Z_Kalk, Roboczogodziny, IL_opak, NarzutKosztOg, ZyskKalk, "
                        "CenaRob, CenOpoakowania from PRODUKTY"),
              (Wiersze{{"Null", "0", "0", "0", "0", "0", "0"}}));
    EXPECT_EQ(Wiersze_Z("select IloscKalk, CenaKalk from PRODUKTY_RECEPTURY"),
              (Wiersze{{"0", "Null"}}));
}

TEST_F(Kroki273, PayrollComponentsAbove118AreWrittenAnew) {
    for (int n : {0, 19, 118})
        Sql("insert into place_opisy (pole, OPIS, SKR) values (" + std::to_string(n) +
            ", 'składnik', 'skł.')");
    Sql("insert into place_opisy (pole, OPIS, SKR) values (119, 'stary opis', 'stary')");
    Sql("insert into place_opisy (pole, OPIS, SKR) values (150, 'zbędny', 'zb.')");
    Sql("insert into Place_Dane (IDP, IDListy, wartosc19) values (1, 1, 2150.5)");
    Sql("insert into Place_Dane (IDP, IDListy, wartosc19) values (2, 1, null)");
    Kroki(275, 275);

    const auto pola = Kolumna("select pole from place_opisy order by iddd");
    ASSERT_EQ(pola.size(), 29u);
    EXPECT_EQ(pola.front(), "0");
    for (int n = 119; n <= 144; ++n)
        EXPECT_EQ(pola[static_cast<size_t>(n - 116)], std::to_string(n));
    EXPECT_EQ(Wiersze_Z("select pole, OPIS, SKR from place_opisy where pole in (119, 133, 134, "
                        "144) order by pole"),
              (Wiersze{{"119", "Św. rehabilitacyjne z ubezp.wypadkowego", "Św.reh.z ub.wyp."},
                       {"133", "Urlop wychowawczy", "Urlop wych."},
                       {"134", "Urlop wychowawczy", "Urlop wych."},
                       {"144", "Składka wypadkowa BFP", "Skł.wypadk.BFP"}}));
    // The basic rate takes component 19; a Null stays Null.
    EXPECT_EQ(Wiersze_Z("select wartosc135, wartosc144 from Place_Dane order by IDP"),
              (Wiersze{{"2150,5", "Null"}, {"Null", "Null"}}));

    // A second run leaves each component once and the columns as they are.
    Kroki(275, 275);
    EXPECT_EQ(Kolumna("select count(*) from place_opisy where pole>118"),
              (std::vector<std::string>{"26"}));
    EXPECT_EQ(Kolumna("select count(*) from place_opisy where pole between 119 and 144 group "
                      "by pole having count(*)>1"),
              (std::vector<std::string>{}));
}

TEST_F(Kroki273, NoPayrollRowsStillGetsComponentsAndColumns) {
    Kroki(275, 275);
    EXPECT_EQ(Kolumna("select count(*) from place_opisy"), (std::vector<std::string>{"26"}));
    EXPECT_TRUE(Czyta_Sie("select wartosc135, wartosc144 from Place_Dane"));
}

}  // namespace
}  // namespace kroki_test
