// Steps 5.48 to 5.53: the price-list lines rebuilt through a copy with the old indexes,
// fixed-asset counts on purchase lines and stock prices.
#include <algorithm>
#include <functional>
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
    // The price-list lines of release 5.47: a primary key over two fields, the index
    // DoCzyTowHan (in another letter case), a plain index, and a row without id.
    static void Cenniki() {
        Sql("create table CENNIKI_ZAWART (id long, LCEN_NAZWA_ID long, PROD_ID long, CEN_NETTO "
            "money, OPIS text(20))");
        Sql("create unique index Podstawowy on CENNIKI_ZAWART (LCEN_NAZWA_ID, PROD_ID) with "
            "primary");
        Sql("create index docZyTowHan on CENNIKI_ZAWART (CEN_NETTO)");
        Sql("create index PROD_ID on CENNIKI_ZAWART (PROD_ID)");
        Sql("insert into CENNIKI_ZAWART values (1, 1, 10, 2, 'a')");
        Sql("insert into CENNIKI_ZAWART values (Null, 1, 11, 3, 'b')");
        Sql("insert into CENNIKI_ZAWART values (3, 2, 10, '2,5', Null)");
    }
    // What the step leaves of the price-list lines: whether the copy is still there, the
    // columns (name, type, size), the rows and the indexes of CENNIKI_ZAWART.
    static std::vector<std::string> Stan() {
        std::vector<std::string> w{Jest_Tabela("CENNIKI_ZAWART_1") ? "copy left" : "no copy"};
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        const dao::TableDef td = baza->TableDefs("CENNIKI_ZAWART");
        for (int i = 0; i < td.FieldCount(); ++i) {
            const dao::Field f = td.Fields(i);
            w.push_back(f.Name() + " " + std::to_string(f.Type()) + " " + std::to_string(f.Size()));
        }
        for (const auto& r : Wiersze_Z("select * from CENNIKI_ZAWART order by id")) {
            std::string wiersz;
            for (const std::string& v : r) wiersz += v + ";";
            w.push_back(wiersz);
        }
        for (const std::string& i : Indeksy("CENNIKI_ZAWART")) w.push_back(i);
        return w;
    }
};

TEST_F(Kroki548, PriceListLinesKeepTheirIndexesButDoCzyTowHanAndLoseRowsWithoutId) {
    Cenniki();
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

// A run stopped after any statement of the step keeps what it wrote; the next run
// resumes from there and ends with what an uninterrupted run leaves, without a question
// and without losing a row.
TEST_F(Kroki548, ARunStoppedAfterAnyStatementIsResumedByTheNext) {
    // The step's statements in order, as far as a run stopped after the n-th one got.
    const std::vector<std::function<void()>> instrukcje = {
        [] { Sql("SELECT * INTO CENNIKI_ZAWART_1 FROM CENNIKI_ZAWART WHERE [id] is not null"); },
        [] { Sql("CREATE INDEX PROD_ID ON [CENNIKI_ZAWART_1] (PROD_ID)"); },
        [] {
            Sql("CREATE UNIQUE INDEX Podstawowy ON [CENNIKI_ZAWART_1] "
                "(LCEN_NAZWA_ID,PROD_ID)WITH PRIMARY");
        },
        [] { Sql(" Drop Table CENNIKI_ZAWART"); },
        [this] { k.Zmien_Nazwe_Tabeli("CENNIKI_ZAWART_1", "CENNIKI_ZAWART"); },
    };
    Cenniki();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_548), "");
    const std::vector<std::string> bez_przerwy = Stan();
    ASSERT_EQ(bez_przerwy, (std::vector<std::string>{
                               "no copy", "id 4 4", "LCEN_NAZWA_ID 4 4", "PROD_ID 4 4",
                               "CEN_NETTO 5 8", "OPIS 10 20", "1;1;10;2;a;", "3;2;10;2,5;Null;",
                               "PROD_ID PROD_ID;", "Podstawowy P U LCEN_NAZWA_ID;PROD_ID;"}));

    const std::vector<const char*> przypadki = {
        "after the make-table: both tables, the copy without indexes",
        "after the first index: the copy partly indexed",
        "after the last index: the copy fully indexed",
        "after the drop: only the copy",
        "after the rename: only the table again",
    };
    for (size_t n = 1; n <= przypadki.size(); ++n) {
        SCOPED_TRACE(przypadki[n - 1]);
        for (const char* t : {"CENNIKI_ZAWART", "CENNIKI_ZAWART_1"})
            if (Jest_Tabela(t)) Sql(std::string("drop table ") + t);
        Cenniki();
        for (size_t i = 0; i < n; ++i) instrukcje[i]();
        komunikaty.str("");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_548), "");
        EXPECT_EQ(Stan(), bez_przerwy);
        EXPECT_EQ(komunikaty.str(), "");
    }
}

TEST_F(Kroki548, AssetCountsAndStockPricesOfPurchaseLines) {
    Sql("create table DOK_INN (DOK_ID long)");
    Sql("create table SRODKI_TRWALE (id long, Wyposazenie logical)");
    Sql("create table SRODKI_TRWALE_ZAWART (id long, id_dok long, id_prod long, CalyAsortyment "
        "logical)");
    Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, ilosc_mag single, WtymST "
        "single, WART_N money, CENA_N money, OdliczVAT_Z long, koszt_sz_Z money, Countt "
        "counter)");
    // Purchase 2 holds product 7 twice at one price: a correction takes the first line.
    for (const char* w : {"1, 7, 10, 5, 10, 1, 1, 2", "1, 8, 10, -3, 10, 1, 1, 2",
                          "2, 7, 3, 5, 10, 1, 1, 2", "3, 7, 0, 0, 10, 1, 1, 2",
                          "2, 7, 6, 0, 60, 1, 1, 9"})
        Sql(std::string("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, ilosc_mag, WtymST, WART_N, "
                        "CENA_N, OdliczVAT_Z, koszt_sz_Z) values (") +
            w + ")");
    Sql("insert into SRODKI_TRWALE values (1, 0)");
    Sql("insert into SRODKI_TRWALE values (2, 0)");
    Sql("insert into SRODKI_TRWALE_ZAWART values (1, 1, 7, -1)");
    Sql("insert into SRODKI_TRWALE_ZAWART values (2, 2, 7, 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_549), "");
    EXPECT_EQ(Kolumna("select WtymST from DOK_ZAK_ZAWART order by numer_id, sur_ID, Countt"),
              (std::vector<std::string>{"10", "0", "1", "1", "0"}));

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
    EXPECT_EQ(Kolumna("select CenaMag from DOK_ZAK_ZAWART order by numer_id, sur_ID, Countt"),
              (std::vector<std::string>{"1", "1", "3,33", "10", "0"}));
    EXPECT_EQ(Wiersze_Z("select CENA_ORG, CenaMag_ORG, CenaMag, koszt_sz_Z from DOK_KZA_ZAWART "
                        "order by CENA_ORG"),
              (Wiersze{{"1", "3,33", "3,33", "2"}, {"5", "0", "0", "0"}}));
}

}  // namespace
}  // namespace kroki_test
