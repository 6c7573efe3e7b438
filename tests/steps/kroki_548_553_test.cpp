// Steps 5.48 to 5.53: the price-list lines rebuilt through a copy with the old indexes,
// fixed-asset counts on purchase lines and stock prices.
#include <algorithm>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "db/polaczenie.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki548 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.47); }
    // Each index of the table: name, flags and fields.
    static std::vector<std::string> Indeksy(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        std::vector<std::string> w;
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes()) {
            std::string pola;
            for (const std::string& p : i.Fields) pola += p + ";";
            w.push_back(i.Name + (i.Primary ? " P" : "") + (i.Unique ? " U" : "") + " " + pola);
        }
        std::sort(w.begin(), w.end());
        return w;
    }
};

TEST_F(Kroki548, PriceListLinesKeepTheirIndexesButDoCzyTowHanAndLoseRowsWithoutId) {
    Sql("create table CENNIKI_ZAWART (id long, LCEN_NAZWA_ID long, PROD_ID long, CEN_NETTO "
        "money)");
    Sql("create unique index Podstawowy on CENNIKI_ZAWART (LCEN_NAZWA_ID, PROD_ID) with primary");
    Sql("create index docZyTowHan on CENNIKI_ZAWART (CEN_NETTO)");
    Sql("create index PROD_ID on CENNIKI_ZAWART (PROD_ID)");
    Sql("insert into CENNIKI_ZAWART values (1, 1, 10, 2)");
    Sql("insert into CENNIKI_ZAWART values (Null, 1, 11, 3)");
    Sql("insert into CENNIKI_ZAWART values (3, 2, 10, '2,5')");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_548), "");

    EXPECT_EQ(Wiersze_Z("select id, LCEN_NAZWA_ID, PROD_ID, CEN_NETTO from CENNIKI_ZAWART order "
                        "by id"),
              (Wiersze{{"1", "1", "10", "2"}, {"3", "2", "10", "2,5"}}));
    EXPECT_FALSE(Jest_Tabela("CENNIKI_ZAWART_1"));
    EXPECT_EQ(
        Indeksy("CENNIKI_ZAWART"),
        (std::vector<std::string>{"PROD_ID PROD_ID;", "Podstawowy P U LCEN_NAZWA_ID;PROD_ID;"}));
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Kroki548, AssetCountsAndStockPricesOfPurchaseLines) {
    Sql("create table DOK_INN (DOK_ID long)");
    Sql("create table SRODKI_TRWALE (id long, Wyposazenie logical)");
    Sql("create table SRODKI_TRWALE_ZAWART (id long, id_dok long, id_prod long, CalyAsortyment "
        "logical)");
    Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, ilosc_mag single, WtymST "
        "single, WART_N money, CENA_N money, OdliczVAT_Z long, koszt_sz_Z money)");
    Sql("insert into DOK_ZAK_ZAWART values (1, 7, 10, 5, 10, 1, 1, 2)");
    Sql("insert into DOK_ZAK_ZAWART values (1, 8, 10, -3, 10, 1, 1, 2)");
    Sql("insert into DOK_ZAK_ZAWART values (2, 7, 3, 5, 10, 1, 1, 2)");
    Sql("insert into DOK_ZAK_ZAWART values (3, 7, 0, 0, 10, 1, 1, 2)");
    Sql("insert into SRODKI_TRWALE values (1, 0)");
    Sql("insert into SRODKI_TRWALE values (2, 0)");
    Sql("insert into SRODKI_TRWALE_ZAWART values (1, 1, 7, -1)");
    Sql("insert into SRODKI_TRWALE_ZAWART values (2, 2, 7, 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_549), "");
    EXPECT_EQ(Kolumna("select WtymST from DOK_ZAK_ZAWART order by numer_id, sur_ID"),
              (std::vector<std::string>{"10", "0", "1", "0"}));

    for (const char* t :
         {"DOK_FAK_zawart", "DOK_DD_zawart", "DOK_DAR_zawart", "DOK_FWE_zawart", "DOK_PAR_zawart",
          "DOK_PW_zawart", "DOK_RW_zawart", "DOK_KFA_zawart", "DOK_DZ_zawart"})
        Sql(std::string("create table ") + t + " (id long)");
    for (const char* t : {"DOK_PZ_zawart", "DOK_WZ_zawart"})
        Sql(std::string("create table ") + t + " (ZDDOUT_WART_N money, Ilosc_Mag single)");
    Sql("create table DOK_KZA (FKOROUT_ID long, FAKOUT_ID long)");
    Sql("create table DOK_KZA_ZAWART (FKOROUT_ID long, PROD_ID long, CENA_ORG money, "
        "OdliczVAT_Z long, koszt_sz_Z money)");
    Sql("create table S_RODZAJ_MWP (id_mwp long)");
    Sql("insert into DOK_KZA values (1, 2)");
    Sql("insert into DOK_KZA_ZAWART values (1, 7, 1, 0, 0)");
    Sql("insert into DOK_KZA_ZAWART values (1, 7, 5, 0, 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_552), "");
    EXPECT_EQ(Kolumna("select CenaMag from DOK_ZAK_ZAWART order by numer_id, sur_ID"),
              (std::vector<std::string>{"1", "1", "3,33", "0"}));
    EXPECT_EQ(Wiersze_Z("select CENA_ORG, CenaMag_ORG, CenaMag, koszt_sz_Z from DOK_KZA_ZAWART "
                        "order by CENA_ORG"),
              (Wiersze{{"1", "3,33", "3,33", "2"}, {"5", "0", "0", "0"}}));
}

}  // namespace
}  // namespace kroki_test
