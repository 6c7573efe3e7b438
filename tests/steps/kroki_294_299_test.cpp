// Steps 2.94 to 2.99 on a database of version 2.93: the whole-document discount, the
// removal of zero-quantity invoice lines, unique document numbers where the numbers
// allow them, the obsolete tables and users' rights, and the comment columns.
#include <string>
#include <utility>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

// Each document table with its number column, as step 2.96 indexes them.
const std::vector<std::pair<std::string, std::string>> kNumery = {
    {"DOK_FAK", "FAKOUT_NUMER"},  {"DOK_DD", "DDOUT_NUMER"},          {"DOK_DZ", "DDOUT_NUMER"},
    {"DOK_KFA", "fkorout_numer"}, {"DOK_PAR", "DDOUT_NUMER"},         {"DOK_PW", "DDOUT_NUMER"},
    {"DOK_RW", "DDOUT_NUMER"},    {"DOK_ZAK", "numer_zaksiegowania"}, {"DOK_KZA", "fkorout_numer"},
    {"DOK_WZ", "DDOUT_NUMER"},    {"DOK_PZ", "DDOUT_NUMER"}};

class Kroki294 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.93);
        for (const auto& [t, numer] : kNumery) {
            Sql("create table " + t + " (id long, " + numer + " text(50))");
            Sql("insert into " + t + " values (1, '1/2002')");
            Sql("insert into " + t + " values (2, '2/2002')");
        }
        Sql("create table DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_ILOSC single)");
        Sql("create table uzytkownicy (id long, nazwa text(50), prawa text(255))");
        Sql("insert into uzytkownicy values (1, 'ADMIN', '1111111111')");
        Sql("insert into uzytkownicy values (2, 'SPRZEDAWCA', null)");
        for (const char* t : {"TAB_NOWA_DOK", "TAB_NOWA_FZB", "Numery_OST_DOK"})
            Sql(std::string("create table ") + t + " (id long)");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static bool Ma_Unikalny_Numer(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
            if (i.Name == "UnicNumer") return i.Unique;
        return false;
    }
};

TEST_F(Kroki294, WholeDocumentDiscountStartsAtZero) {
    Kroki(294, 294);
    for (const char* t : {"DOK_KFA", "DOK_KZA"}) {
        EXPECT_EQ(Typ_Pola(t, "rabat_caly"), dao::dbCurrency) << t;
        EXPECT_EQ(Kolumna(std::string("select rabat_caly from ") + t),
                  (std::vector<std::string>{"0", "0"}))
            << t;
    }
}

TEST_F(Kroki294, ZeroQuantityLinesGoTheirInvoicesStay) {
    Sql("insert into DOK_FAK_ZAWART values (1, 10, 0)");
    Sql("insert into DOK_FAK_ZAWART values (1, 11, 2)");
    Sql("insert into DOK_FAK_ZAWART values (1, 12, null)");
    Sql("insert into DOK_FAK_ZAWART values (2, 10, 0)");
    Sql("insert into DOK_FAK_ZAWART values (2, 11, -1)");
    Kroki(295, 295);
    EXPECT_EQ(Wiersze_Z("select FAKOUT_ID, PROD_ID from DOK_FAK_ZAWART order by FAKOUT_ID, "
                        "PROD_ID"),
              (Wiersze{{"1", "11"}, {"1", "12"}, {"2", "11"}}));
    Sql("delete from DOK_FAK_ZAWART where FAKOUT_ID=2");
    Kroki(295, 295);
    EXPECT_EQ(Kolumna("select id from DOK_FAK order by id"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Kroki294, UniqueNumbersWhereTheNumbersAllow) {
    // DOK_PW holds one number twice: it alone gets no index and keeps both rows.
    Sql("insert into DOK_PW values (3, '2/2002')");
    Kroki(296, 296);
    for (const auto& [t, numer] : kNumery) {
        if (t == "DOK_PW") {
            EXPECT_FALSE(Ma_Unikalny_Numer(t));
            EXPECT_EQ(Kolumna("select " + numer + " from DOK_PW order by id"),
                      (std::vector<std::string>{"1/2002", "2/2002", "2/2002"}));
            continue;
        }
        EXPECT_TRUE(Ma_Unikalny_Numer(t)) << t;
        EXPECT_NE(Uruchom([&, t = t] { Sql("insert into " + t + " values (9, '2/2002')"); }), "")
            << t;
        Sql("insert into " + t + " values (9, '3/2002')");
    }
    // Again: the indexes exist, the duplicates still refuse theirs; nothing fails.
    Kroki(296, 296);
    EXPECT_FALSE(Ma_Unikalny_Numer("DOK_PW"));
}

TEST_F(Kroki294, ObsoleteTablesAndRightsCleared) {
    Kroki(297, 297);
    for (const char* t : {"TAB_NOWA_DOK", "TAB_NOWA_FZB", "Numery_OST_DOK"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
    EXPECT_EQ(Wiersze_Z("select prawa, prawa is null from uzytkownicy order by id"),
              (Wiersze{{"", "False"}, {"", "False"}}));
    Kroki(297, 297);
}

TEST_F(Kroki294, CommentTableAndColumns) {
    Kroki(298, 299);
    for (const char* t : {"DOK_FAK", "DOK_PAR", "DOK_RW", "DOK_DD"})
        EXPECT_EQ(Typ_Pola(t, "Komentarz"), dao::dbMemo) << t;
    Sql("insert into ZAMOWIENIA_KOMENTARZE (Data, konh_id, TEKST) values (#3/1/2002#, 5, "
        "'Chleb krojony')");
    EXPECT_EQ(Wiersze_Z("select iddd, TEKST from ZAMOWIENIA_KOMENTARZE"),
              (Wiersze{{"1", "Chleb krojony"}}));
}

}  // namespace
}  // namespace kroki_test
