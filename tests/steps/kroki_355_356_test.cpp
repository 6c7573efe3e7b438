// Steps 3.55 and 3.56: the VAT buckets of collective corrections rebuilt from their
// returns, and duplicate document numbers repaired again with the unique number indexes.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok355 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.54);
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_WART_N money, vat7 money, vat22 money, "
            "n7 money, n22 money, n0 money, nzw money, VAT3 money, N3 money)");
        Sql("create table DOK_KFA (FKOROUT_ID long, fkorout_numer text(30), fkorout_wart_n money, "
            "Zbiorcza logical, vat22 money, vat7 money, vat3 money, n22 money, n7 money, n0 "
            "money, nzw money, n3 money)");
        Sql("create table DOK_DZ (ddout_id long, korfak logical, id_korfak long)");
        Sql("create table DOK_DZ_ZAWART (DDOUT_ID long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC "
            "double, ZDDOUT_VAT text(3))");
        Sql("insert into DOK_FAK values (1, 0, 1, 1, 1, 1, 1, 1, 1, 1)");
        Sql("insert into DOK_FAK values (2, 5, 1, 1, 1, 1, 1, 1, 1, 1)");
    }
    // A correction: id, net total, collective mark and one value for every bucket.
    static void Korekta(int id, const char* wart_n, const char* zbiorcza, const char* koszyk) {
        std::string k = std::string(", ") + koszyk;
        Sql("insert into DOK_KFA values (" + std::to_string(id) + ", 'K" + std::to_string(id) +
            "', " + wart_n + ", " + zbiorcza + k + k + k + k + k + k + k + k + ")");
    }
    static Wiersze Koszyki(int id) {
        return Wiersze_Z(
            "select n22, vat22, n7, vat7, n3, vat3, n0, nzw from DOK_KFA where FKOROUT_ID=" +
            std::to_string(id));
    }
    static Wiersze Faktury() {
        return Wiersze_Z(
            "select vat7, vat22, n7, n22, n0, nzw, VAT3, N3 from DOK_FAK order by "
            "FAKOUT_ID");
    }
};

TEST_F(Krok355, CollectiveCorrectionsTakeTheirReturnsNegated) {
    Korekta(1, "100", "-1", "1");     // rebuilt from returns 10 and 11
    Korekta(2, "100", "-1", "1");     // no return: all zero
    Korekta(3, "5", "-1", "1");       // adds up: not read
    Korekta(4, "100", "-1", "Null");  // buckets not given count as 0: no return, all zero
    Korekta(5, "100", "0", "1");      // not collective
    Korekta(6, "Null", "-1", "1");    // a net total not given: not compared
    Sql("insert into DOK_DZ values (10, -1, 1)");
    Sql("insert into DOK_DZ values (11, -1, 1)");
    Sql("insert into DOK_DZ values (12, 0, 1)");  // not tied to a correction
    Sql("insert into DOK_DZ values (13, -1, 5)");
    const std::string linia = "insert into DOK_DZ_ZAWART values ";
    Sql(linia + "(10, 10.004, 1, '7')");
    Sql(linia + "(11, 10.004, 1, '7')");
    Sql(linia + "(10, 50, 2, '22')");
    Sql(linia + "(10, 10, 1, '3')");
    Sql(linia + "(10, 4, 1, '0')");
    Sql(linia + "(11, 6, 1, 'zw')");
    // Codes that match none, and a Null code: nothing.
    Sql(linia + "(11, 99, 1, '12')");
    Sql(linia + "(11, 99, 1, 'ZW')");
    Sql(linia + "(11, 99, 1, '')");
    Sql(linia + "(11, 99, 1, Null)");
    Sql(linia + "(12, 99, 1, '22')");
    Sql(linia + "(13, 99, 1, '22')");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(355)), "");
    EXPECT_EQ(Koszyki(1), (Wiersze{{"-100", "-22", "-20", "-1,4", "-10", "-0,3", "-4", "-6"}}));
    EXPECT_EQ(Koszyki(2), (Wiersze{{"0", "0", "0", "0", "0", "0", "0", "0"}}));
    for (int id : {3, 5, 6}) EXPECT_EQ(Koszyki(id)[0][0], "1") << id;
    EXPECT_EQ(Koszyki(4), Koszyki(2));
    // Invoices with a zero net total lose their buckets.
    EXPECT_EQ(Faktury(), (Wiersze{{"0", "0", "0", "0", "0", "0", "0", "0"},
                                  {"1", "1", "1", "1", "1", "1", "1", "1"}}));
}

TEST_F(Krok355, NullAmountAddsNone) {
    Korekta(1, "100", "-1", "1");
    Sql("insert into DOK_DZ values (10, -1, 1)");
    // Lines of -10, none (a Null price), -5, and none (a Null quantity).
    Sql("insert into DOK_DZ_ZAWART values (10, 10, 1, '22')");
    Sql("insert into DOK_DZ_ZAWART values (10, Null, 1, '22')");
    Sql("insert into DOK_DZ_ZAWART values (10, 5, 1, '22')");
    Sql("insert into DOK_DZ_ZAWART values (10, 10, Null, '7')");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(355)), "");
    EXPECT_EQ(Koszyki(1), (Wiersze{{"-15", "-3,3", "0", "0", "0", "0", "0", "0"}}));
}

TEST_F(Krok355, CorrectionWithoutNumberIsRebuiltLikeAnyOther) {
    Korekta(1, "100", "-1", "1");
    Sql("update DOK_KFA set fkorout_numer = Null");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(355)), "");
    EXPECT_EQ(Koszyki(1)[0][0], "0");
}

TEST_F(Krok355, RunStartedAmongTheEmptyVersionsSkipsTheStep) {
    Korekta(1, "100", "-1", "1");
    for (int start : {332, 340, 350}) {
        k.Wersja_Startowa = static_cast<int16_t>(start);
        ASSERT_EQ(Krok(Zbudowane_Kroki().at(355)), "");
        EXPECT_EQ(Koszyki(1)[0][0], "1") << start;
        EXPECT_EQ(Faktury()[0][0], "1") << start;
    }
    for (int start : {331, 351}) {
        Sql("update DOK_KFA set n22=1");
        k.Wersja_Startowa = static_cast<int16_t>(start);
        ASSERT_EQ(Krok(Zbudowane_Kroki().at(355)), "");
        EXPECT_EQ(Koszyki(1)[0][0], "0") << start;
    }
}

class Krok356 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.55);
        for (const char* t :
             {"DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_PW", "DOK_RW"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long, DDOUT_NUMER text(30))");
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30))");
        for (const char* t : {"DOK_KFA", "DOK_KZA"})
            Sql(std::string("create table ") + t + " (FKOROUT_ID long, fkorout_numer text(30))");
        Sql("create table DOK_ZAK (numer_id long, numer_zaksiegowania text(30))");
        Sql("create table ZAMOWIENIA_KOMENTARZE (nr_zamowienia text(50))");
    }
    std::string Log() const {
        std::ifstream plik(folder / "Log");
        std::stringstream s;
        s << plik.rdbuf();
        return s.str();
    }
    static bool Unikalny(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
            if (i.Name == "UnicNumer") return i.Unique;
        return false;
    }
};

TEST_F(Krok356, DuplicatesGetAnotherNAndTheIndexesAreCreated) {
    Sql("insert into DOK_DD values (1, '5N')");
    Sql("insert into DOK_DD values (2, '5N')");
    Sql("insert into DOK_DD values (3, Null)");
    Sql("insert into DOK_DD values (4, Null)");
    Sql("insert into DOK_FAK values (10, '5/2002')");
    Sql("insert into DOK_FAK values (11, '5/2002')");
    Sql("insert into DOK_ZAK values (1, 'Z1')");
    Sql("insert into DOK_ZAK values (2, 'Z1')");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(356)), "");
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_DD order by DDOUT_ID"),
              (std::vector<std::string>{"5N", "5NN", "Null", "Null"}));
    EXPECT_EQ(Kolumna("select FAKOUT_NUMER from DOK_FAK order by FAKOUT_ID"),
              (std::vector<std::string>{"5/2002", "5/2002N"}));
    EXPECT_EQ(Kolumna("select numer_zaksiegowania from DOK_ZAK order by numer_id"),
              (std::vector<std::string>{"Z1", "Z1N"}));
    const std::string log = Log();
    EXPECT_NE(log.find("Podwójne numery w DOK_DD: 5N,2"), std::string::npos) << log;
    EXPECT_EQ(log.find("Podwójne numery w DOK_DD: 5N,1"), std::string::npos) << log;
    // Invoices list both documents of the pair.
    EXPECT_NE(log.find("Podwójne numery w dok_fak : 5/2002,11"), std::string::npos) << log;
    EXPECT_NE(log.find("Podwójne numery w dok_fak : 5/2002,10"), std::string::npos) << log;
    EXPECT_NE(log.find("Podwójne numery w dok_zak : Z1,2"), std::string::npos) << log;
    for (const char* t : {"DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_PW", "DOK_RW",
                          "DOK_FAK", "DOK_KFA", "DOK_KZA", "DOK_ZAK"})
        EXPECT_TRUE(Unikalny(t)) << t;
    // The step adds no order-comment columns.
    EXPECT_FALSE(Czyta_Sie("select TEKST2 from ZAMOWIENIA_KOMENTARZE"));
}

TEST_F(Krok356, UniqueNumbersAgainChangeNothing) {
    Sql("insert into DOK_DD values (1, '1/2002')");
    Sql("insert into DOK_DD values (2, '2/2002')");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(356)), "");
    const std::string przed = Log();
    EXPECT_EQ(przed.find("Podwójne"), std::string::npos) << przed;
    // The indexes exist now: their create statements fail and are only logged.
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(356)), "");
    const std::string po = Log();
    EXPECT_EQ(po.find("Podwójne"), std::string::npos) << po;
    EXPECT_NE(po.find("DbWykonajKonwersjeNoErr", przed.size()), std::string::npos) << po;
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_DD order by DDOUT_ID"),
              (std::vector<std::string>{"1/2002", "2/2002"}));
    EXPECT_TRUE(Unikalny("DOK_DD"));
}

}  // namespace
}  // namespace kroki_test
