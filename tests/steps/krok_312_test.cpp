// Step 3.12: clashing document numbers logged and renumbered, then the unique number
// indexes created.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok312 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.11);
        Sql("create table ZAMOWIENIA_KOMENTARZE (Data date, konh_id long, TEKST memo)");
        for (const char* t :
             {"DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_PW", "DOK_RW"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long, DDOUT_NUMER text(30))");
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30))");
        Sql("create table DOK_KFA (FKOROUT_ID long, fkorout_numer text(30))");
        Sql("create table DOK_KZA (FKOROUT_ID long, fkorout_numer text(30))");
        Sql("create table DOK_ZAK (numer_id long, numer_zaksiegowania text(30))");
    }
    // The tables that have the unique index UnicNumer.
    std::vector<std::string> Z_Indeksem() {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        std::vector<std::string> tabele;
        for (const char* t : {"DOK_DD", "DOK_DZ", "DOK_FAK", "DOK_KFA", "DOK_KZA", "DOK_PAR",
                              "DOK_PW", "DOK_PZ", "DOK_RW", "DOK_WZ", "DOK_ZAK"})
            for (const dao::Index& i : baza->TableDefs(t).Indexes())
                if (i.Name == "UnicNumer" && i.Unique) tabele.push_back(t);
        return tabele;
    }
};

TEST_F(Krok312, LaterDocumentOfAClashGetsN) {
    Sql("insert into DOK_FAK values (10, '5/2002')");
    Sql("insert into DOK_FAK values (11, '5/2002')");
    Sql("insert into DOK_DD values (1, '7/2002')");
    Sql("insert into DOK_DD values (2, '7/2002')");
    Sql("insert into DOK_DD values (3, null)");
    Sql("insert into DOK_DD values (4, null)");
    Sql("insert into DOK_KZA values (1, 'K1')");
    Sql("insert into DOK_KZA values (2, 'K1')");
    Sql("insert into DOK_ZAK values (1, 'Z1')");
    Sql("insert into DOK_ZAK values (2, 'Z1')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_312), "");
    EXPECT_EQ(Wiersze_Z("select FAKOUT_ID, FAKOUT_NUMER from DOK_FAK order by FAKOUT_ID"),
              (Wiersze{{"10", "5/2002"}, {"11", "5/2002N"}}));
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_DD order by DDOUT_ID"),
              (std::vector<std::string>{"7/2002", "7/2002N", "Null", "Null"}));
    EXPECT_EQ(Kolumna("select fkorout_numer from DOK_KZA order by FKOROUT_ID"),
              (std::vector<std::string>{"K1", "K1N"}));
    EXPECT_EQ(Kolumna("select numer_zaksiegowania from DOK_ZAK order by numer_id"),
              (std::vector<std::string>{"Z1", "Z1N"}));
    // Invoices and purchase corrections log both documents of a pair, the others the
    // later one alone; Null numbers never clash.
    EXPECT_EQ(Linie_Logu("Podwójne numery w dok_fak : 5/2002,").size(), 2u);
    EXPECT_EQ(Linie_Logu("Podwójne numery w dok_fak : 5/2002,11").size(), 1u);
    EXPECT_EQ(Linie_Logu("Podwójne numery w DOK_DD: 7/2002,2").size(), 1u);
    EXPECT_EQ(Linie_Logu("Podwójne numery w DOK_DD").size(), 1u);
    EXPECT_EQ(Linie_Logu("Podwójne numery w dok_kza : K1,").size(), 2u);
    EXPECT_EQ(Linie_Logu("Podwójne numery w dok_zak : Z1,2").size(), 1u);
    EXPECT_EQ(Z_Indeksem().size(), 11u);
    EXPECT_TRUE(
        Czyta_Sie("select TEKST2, TEKST3, nr_zamowienia2, nr_zamowienia3 from "
                  "ZAMOWIENIA_KOMENTARZE"));

    // Once unique, a second run changes and logs nothing more.
    const size_t linie = Linie_Logu("Podwójne numery").size();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_312), "");
    EXPECT_EQ(Linie_Logu("Podwójne numery").size(), linie);
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_DD order by DDOUT_ID"),
              (std::vector<std::string>{"7/2002", "7/2002N", "Null", "Null"}));
}

TEST_F(Krok312, ThreeDocumentsOfOneNumberComeOutUnique) {
    for (int id = 1; id <= 3; ++id)
        Sql("insert into DOK_RW values (" + std::to_string(id) + ", '3/2002')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_312), "");
    // The update applies once per joined earlier document: the third takes two N.
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_RW order by DDOUT_ID"),
              (std::vector<std::string>{"3/2002", "3/2002N", "3/2002NN"}));
    EXPECT_EQ(Z_Indeksem().size(), 11u);
}

TEST_F(Krok312, IndexThatCannotBeBuiltIsOnlyLogged) {
    // An index of that name on another column blocks the new one.
    Sql("create index UnicNumer on DOK_PW (DDOUT_ID)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_312), "");
    EXPECT_FALSE(Linie_Logu("DbWykonajKonwersjeNoErr").empty());
    EXPECT_EQ(Z_Indeksem().size(), 10u);
}

}  // namespace
}  // namespace kroki_test
