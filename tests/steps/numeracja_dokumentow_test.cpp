// The document numbering routines on production documents: the number text by scheme,
// period and document name, the next ordinal per period, and the write into the header.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Numeracja : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.06);
        Sql("create table kontrahenci (konh_id long, sm_id long, sm_dd_id long, kier_id long, "
            "konh_naz_skrot text(16), KONH_nazwa text(50))");
        Sql("create table sposob_numeracji (sm_id long, tryb long, rob_kier logical, zmiany "
            "logical, nag_pro text(50))");
        Sql("create table Numery_OST_DOK_NAG (dokument text(50), nazwa text(50))");
        Sql("create table DOK_PRO (ddout_id counter, DDOUT_NUMER text(50), num_ndok long, kier_id "
            "long, smz_id long, ddout_data_wyst date)");
        Sql("create unique index UnicNumer on DOK_PRO (DDOUT_NUMER)");
        Sql("insert into kontrahenci values (5, 3, 0, 0, 'SKLEP', 'Sklep')");
        Numeracja_Miesieczna = false;
    }
    void TearDown() override {
        Numeracja_Miesieczna = false;
        Data_Dzisiaj = 0;
        BazaKroku::TearDown();
    }
    // A production document dated dzien (month first), numbered as step 4.07 numbers it;
    // its number.
    std::string Numer(const std::string& dzien, int konh = 0) {
        Sql("insert into DOK_PRO (DDOUT_NUMER, num_ndok, smz_id, ddout_data_wyst) values ('ssTT" +
            std::to_string(++dokumenty) + "', 0, 0, #" + dzien + "#)");
        const int id = std::stoi(Kolumna("select max(ddout_id) from DOK_PRO").at(0));
        Data_Dzisiaj = std::stod(Kolumna("select cdbl(ddout_data_wyst) from DOK_PRO where "
                                         "ddout_id=" +
                                         std::to_string(id))
                                     .at(0));
        for (;;) {
            const std::string t = k.Naglowek_Numeru_Dokumentu("produkcja", "", konh, 0, 0);
            const int n = k.Nastepny_Numer_Dokumentu(konh, Data_Dzisiaj, "produkcja", 0, "", id, 0);
            if (k.Zapisz_Numer_Dokumentu("produkcja", n, t, "", konh, id, 0)) break;
        }
        return Kolumna("select DDOUT_NUMER from DOK_PRO where ddout_id=" + std::to_string(id))
            .at(0);
    }
    int dokumenty = 0;
};

TEST_F(Numeracja, GeneralNumberingCountsPerYearOrMonth) {
    Sql("insert into Numery_OST_DOK_NAG values ('produkcja', 'PRO')");
    for (int i = 1; i <= 11; ++i) Numer("03-0" + std::to_string(1 + i % 9) + "-2004");
    EXPECT_EQ(Numer("06-10-2004"), "12/2004/PRO");
    EXPECT_EQ(Numer("01-02-2005"), "1/2005/PRO");  // a new year starts at 1
    Numeracja_Miesieczna = true;
    EXPECT_EQ(Numer("05-03-2004"), "1/5/2004/PRO");
    EXPECT_EQ(Numer("05-20-2004"), "2/5/2004/PRO");
    EXPECT_EQ(Numer("05-21-2004"), "3/5/2004/PRO");
    EXPECT_EQ(Kolumna("select smz_id from DOK_PRO group by smz_id"),
              (std::vector<std::string>{"0"}));
}

TEST_F(Numeracja, AMissingLastNumberRowIsAddedWithoutAName) {
    EXPECT_EQ(Numer("02-01-2004"), "1/2004");
    EXPECT_EQ(Wiersze_Z("select dokument, nazwa from Numery_OST_DOK_NAG"),
              (Wiersze{{"produkcja", ""}}));
    EXPECT_EQ(Numer("02-02-2004"), "2/2004");
}

TEST_F(Numeracja, APartysSchemeGivesItsPeriodAndPrefix) {
    Sql("insert into Numery_OST_DOK_NAG values ('produkcja', 'PRO')");
    struct Przypadek {
        int tryb;
        std::string numer;
    };
    for (const Przypadek& p : {Przypadek{2, "1/P"}, Przypadek{0, "1/2004/P"}}) {
        Sql("delete from sposob_numeracji");
        Sql("delete from DOK_PRO");
        Sql("insert into sposob_numeracji values (3, " + std::to_string(p.tryb) + ", 0, 0, 'P')");
        EXPECT_EQ(Numer("02-01-2004", 5), p.numer) << p.tryb;
        EXPECT_EQ(Kolumna("select smz_id from DOK_PRO"), (std::vector<std::string>{"3"}));
    }
}

TEST_F(Numeracja, ASchemeThatIsGoneFallsBackToTheGeneralNumberingWithAMessage) {
    Sql("insert into Numery_OST_DOK_NAG values ('produkcja', '')");
    EXPECT_EQ(Numer("02-01-2004", 5), "1/2004");
    EXPECT_NE(komunikaty.str().find("nie znaleziono numeracji"), std::string::npos);
}

TEST_F(Numeracja, AWriteThatFailsSaysWhetherToTryAgain) {
    EXPECT_EQ(Numer("02-01-2004"), "1/2004");
    Sql("insert into DOK_PRO (DDOUT_NUMER, smz_id) values ('x', 0)");
    const int id = std::stoi(Kolumna("select max(ddout_id) from DOK_PRO").at(0));
    // A number that the unique index refuses: try again; no document of that id, or a
    // kind without a table: give up, with a message, leaving the number as it was.
    EXPECT_FALSE(k.Zapisz_Numer_Dokumentu("produkcja", 1, "/2004", "", 0, id, 0));
    EXPECT_TRUE(k.Zapisz_Numer_Dokumentu("produkcja", 2, "/2004", "", 0, id + 1, 0));
    EXPECT_TRUE(k.Zapisz_Numer_Dokumentu("nieznany", 2, "/2004", "", 0, id, 0));
    EXPECT_FALSE(k.Zapisz_Numer_Dokumentu("produkcja", 0, "/2004", "", 0, id, 0));
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_PRO where ddout_id=" + std::to_string(id)),
              (std::vector<std::string>{"x"}));
    EXPECT_NE(komunikaty.str().find("BŁĄD SZUKANIA NUMERU DOKUMENTU!"), std::string::npos);
}

}  // namespace
}  // namespace kroki_test
