// Steps 2.89 to 2.93 on a database of version 2.88: the correction links, the
// collective flag, the wider key of the correction lines, and the two amounts of the
// collective sales corrections recomputed from settlement lines and linked returns.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki289 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.88);
        Sql("create table Place_Listy (IDListy long, data date)");
        Sql("insert into Place_Listy values (1, #1/31/2002#)");
        for (const char* t : {"DOK_DD", "DOK_DZ"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long, wart_kp money)");
        Sql("create table DOK_KFA (FKOROUT_ID long, wart_kp money, b_rabat_n money, b_rabat_v "
            "money, fkorout_wart_n money, fkorout_rabat money)");
        Sql("create table DOK_KZA (FKOROUT_ID long, wart_kp money)");
        Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N "
            "money, CENA_ORG money)");
        Sql("create unique index Podstawowy on DOK_KFA_ZAWART (FKOROUT_ID, PROD_ID, "
            "ZFKOROUT_CENA_N) with primary");
        Sql("create table DOK_FIN_ZAWART (dok_id long, rodzaj_dok text(30), kwota money)");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static std::vector<std::string> Klucz(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
            if (i.Primary) return i.Fields;
        return {};
    }
};

TEST_F(Kroki289, LinkColumnsAndPayrollListColumns) {
    Kroki(289, 291);
    EXPECT_EQ(Typ_Pola("DOK_DZ", "Id_KorFak"), dao::dbLong);
    EXPECT_EQ(Typ_Pola("DOK_KZA", "Zbiorcza"), dao::dbBoolean);
    EXPECT_EQ(Wiersze_Z("select CZY_FP, CZY_FGSP, ID_KPIRZ from Place_Listy"),
              (Wiersze{{"Null", "Null", "0"}}));
    // Again: the columns are there, nothing fails.
    Kroki(289, 291);
}

TEST_F(Kroki289, CorrectionLinesKeyTakesTheOriginalPrice) {
    Sql("insert into DOK_KFA_ZAWART values (1, 7, 2.5, 2.5)");
    Kroki(292, 292);
    EXPECT_EQ(Klucz("DOK_KFA_ZAWART"),
              (std::vector<std::string>{"FKOROUT_ID", "PROD_ID", "ZFKOROUT_CENA_N", "CENA_ORG"}));
    // One product at one price with two original prices is now two lines.
    Sql("insert into DOK_KFA_ZAWART values (1, 7, 2.5, 2.7)");

    // Lines the key cannot take as they stand keep to its rule: a line stored twice is one
    // line, and one without its original price (of neither price nor quantity mode) has
    // none (0).
    Sql("insert into DOK_KFA_ZAWART values (2, 7, 1, 1)");
    Sql("drop index Podstawowy on DOK_KFA_ZAWART");
    Sql("insert into DOK_KFA_ZAWART values (2, 7, 1, 1)");
    Sql("insert into DOK_KFA_ZAWART values (3, 7, 1, Null)");
    for (const char* id : {"2", "3"})
        Sql(std::string("insert into DOK_KFA (FKOROUT_ID) values (") + id + ")");
    EXPECT_EQ(Krok(Zbudowane_Kroki().at(292)), "");
    EXPECT_EQ(Wiersze_Z("select FKOROUT_ID, CENA_ORG from DOK_KFA_ZAWART where FKOROUT_ID>1 "
                        "order by FKOROUT_ID"),
              (Wiersze{{"2", "1"}, {"3", "0"}}));
}

TEST_F(Kroki289, CollectiveCorrectionsAmountsRecomputed) {
    Kroki(289, 292);
    const std::string kfa =
        "insert into DOK_KFA (FKOROUT_ID, Zbiorcza, wart_kp, b_rabat_n, "
        "b_rabat_v, fkorout_wart_n, fkorout_rabat) values ";
    Sql(kfa + "(1, -1, 999, 0, 12, 500, 0)");
    Sql(kfa + "(2, -1, 77, 111, 13, 200, 5)");
    Sql(kfa + "(3, 0, 40, 0, 0, 300, 0)");
    Sql(kfa + "(4, -1, 0, 9, 14, Null, Null)");  // no discount nor net value given: none
    Sql("insert into DOK_KZA (FKOROUT_ID, wart_kp, Zbiorcza) values (1, 60, -1)");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Korekta', 100)");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Korekta', 50)");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Faktura', 7)");
    Sql("insert into DOK_FIN_ZAWART values (3, 'Korekta', 10)");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Korekta', Null)");  // settles none
    Sql("insert into DOK_DZ (DDOUT_ID, wart_kp, Id_KorFak, KorFak) values (1, 30, 1, -1)");
    Sql("insert into DOK_DZ (DDOUT_ID, wart_kp, Id_KorFak, KorFak) values (2, 20, 1, -1)");
    Sql("insert into DOK_DZ (DDOUT_ID, wart_kp, Id_KorFak, KorFak) values (3, 1000, 1, 0)");
    Sql("insert into DOK_DZ (DDOUT_ID, wart_kp, Id_KorFak, KorFak) values (4, 400, 3, -1)");
    Sql("insert into DOK_DZ (DDOUT_ID, wart_kp, Id_KorFak, KorFak) values (5, Null, 1, -1)");

    const Wiersze po = {{"1", "-150", "-50", "500", "12"},
                        {"2", "0", "0", "111", "13"},
                        {"3", "40", "0", "0", "0"},
                        {"4", "0", "0", "0", "14"}};
    const std::string zapytanie =
        "select FKOROUT_ID, wart_kp, wart_dd, b_rabat_n, b_rabat_v from DOK_KFA order by "
        "FKOROUT_ID";
    Kroki(293, 293);
    EXPECT_EQ(Wiersze_Z(zapytanie), po);
    EXPECT_EQ(Wiersze_Z("select wart_kp, wart_dd from DOK_KZA"), (Wiersze{{"60", "0"}}));
    // A second run starts from 0 and counts every line once.
    Kroki(293, 293);
    EXPECT_EQ(Wiersze_Z(zapytanie), po);
}

}  // namespace
}  // namespace kroki_test
