// Steps 5.59 to 5.67 on a database of version 5.58 built with the tables they read.
#include <string>
#include <tuple>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki559 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.58);
        Sql("create table SRODKI_TRWALE (id long)");
        Sql("create table CENNIKI (ID_CENNIKA long, ACTIVE logical)");
        Sql("create table CENNIKI_ZAWART (ID_CENNIKA long, PROD_ID long, ACTIVE logical)");
        Sql("create table DOK_DD_ZAWART (id long, CENA_N money)");
        Sql("create table place_opisy (POLE long, OPIS text(50), SKR text(20))");
        Sql("create table Place_Listy_zawart (IDListy long)");
        Sql("create table DOK_PRO_ZAWART (id long, PROD_ID long)");
        Sql("create table PRODUKTY_RECEPTURY (ID_RECEPTURY long, PROD_ID long, ACTIVE logical)");
        Sql("create table PRODUKTY (prod_id long, prod_sww text(30))");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static bool Wstawia_Sie(const std::string& tekst) {
        try {
            Sql(tekst);
            return true;
        } catch (const jet::Error&) {
            return false;
        }
    }
};

TEST_F(Kroki559, NewTablesTakeTheirKeysAndARepeatedRunIsAbsorbed) {
    Kroki(559, 567);
    Kroki(559, 567);  // a run stopped inside these steps repeats them
    // The keys: a second row with the same key values is refused.
    const std::vector<std::pair<std::string, std::string>> klucze = {
        {"insert into KH_SCHEMATY_CONNECT (RODZAJDOK) values ('FA')",
         "insert into KH_SCHEMATY_CONNECT (RODZAJDOK) values ('fa')"},
        {"insert into Stany_Miesiaca_zawart (Dzien, Prod_id, Cena) values (#01-02-2005#, 1, 2)",
         "insert into Stany_Miesiaca_zawart (Dzien, Prod_id, Cena) values (#01-02-2005#, 1, 2)"},
        {"insert into S_POTR (Nazwa) values ('A')", ""},
    };
    for (const auto& [pierwszy, drugi] : klucze) {
        EXPECT_TRUE(Wstawia_Sie(pierwszy)) << pierwszy;
        if (!drugi.empty()) {
            EXPECT_FALSE(Wstawia_Sie(drugi)) << drugi;
        }
    }
    EXPECT_EQ(Wiersze_Z("select Ilosc_przed, Razem, countt from Stany_Miesiaca_zawart"),
              (Wiersze{{"0", "0", "1"}}));
    for (const char* t : {"KADRY_POTR", "PLACE_POTR", "KADRY_ZAS"})
        EXPECT_TRUE(Jest_Tabela(t)) << t;
    EXPECT_TRUE(Czyta_Sie("select JestPrzyspAmort, ProcPrzyspAmort from SRODKI_TRWALE"));
    EXPECT_TRUE(Czyta_Sie("select wartosc196, wartosc197 from Place_Listy_zawart"));
    // A component that the catalogue holds is not inserted again (it has no key here).
    EXPECT_EQ(Kolumna("select POLE from place_opisy order by POLE"),
              (std::vector<std::string>{"196", "197"}));
}

TEST_F(Kroki559, PriceListLinesTakeTheListsActiveFlagAndASecondPriceOfZero) {
    Sql("insert into CENNIKI values (1, -1)");
    Sql("insert into CENNIKI values (2, 0)");
    Sql("insert into CENNIKI_ZAWART values (1, 10, 0)");
    Sql("insert into CENNIKI_ZAWART values (2, 11, -1)");
    Sql("insert into CENNIKI_ZAWART values (3, 12, -1)");  // no price list
    Sql("insert into DOK_DD_ZAWART values (1, 5)");
    Kroki(562, 563);
    EXPECT_EQ(Wiersze_Z("select PROD_ID, ACTIVE, DrugaCena from CENNIKI_ZAWART order by PROD_ID"),
              (Wiersze{{"10", "True", "0"}, {"11", "False", "0"}, {"12", "True", "0"}}));
    EXPECT_EQ(Kolumna("select CENA_N_2 from DOK_DD_ZAWART"), (std::vector<std::string>{"0"}));
}

TEST_F(Kroki559, ProductionLinesTakeTheActiveRecipeFirst) {
    // product 1: active and inactive recipes, of two active ones the first; 2: inactive
    // only; 3: none (the new column of an existing row stays Null); line 4 keeps its own.
    for (const char* r : {"(7, 1, 0)", "(6, 1, -1)", "(8, 1, -1)", "(9, 2, 0)", "(10, 4, -1)"})
        Sql(std::string("insert into PRODUKTY_RECEPTURY values ") + r);
    for (const char* l : {"(1, 1)", "(2, 2)", "(3, 3)", "(4, 4)"})
        Sql(std::string("insert into DOK_PRO_ZAWART values ") + l);
    Kroki(565, 565);
    Sql("update DOK_PRO_ZAWART set ID_RECEPTURY=5 where id=4");
    Kroki(565, 565);
    EXPECT_EQ(Wiersze_Z("select id, ID_RECEPTURY from DOK_PRO_ZAWART order by id"),
              (Wiersze{{"1", "6"}, {"2", "9"}, {"3", "Null"}, {"4", "5"}}));
}

TEST_F(Kroki559, OldClassificationCodeKeepsFifteenCharactersAndTheFlourFlagBecomesANumber) {
    Sql("insert into PRODUKTY values (1, '12345678901234567890')");
    Sql("insert into PRODUKTY values (2, Null)");
    Sql("insert into PRODUKTY values (3, '')");
    Kroki(566, 567);
    EXPECT_EQ(Wiersze_Z("select OLD_SWW, JEST_MAKA from PRODUKTY order by prod_id"),
              (Wiersze{{"123456789012345", "Null"}, {"Null", "Null"}, {"", "Null"}}));
    EXPECT_EQ(Typ_Pola("PRODUKTY", "JEST_MAKA"), Typ_Pola("Place_Listy_zawart", "IDListy"));
}

}  // namespace
}  // namespace kroki_test
