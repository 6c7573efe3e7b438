// Steps 5.55 to 5.57: mileage components, posting-scheme fixes, and the place, name and
// parent entry of the fixed assets with the stock quantities of correction lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki555 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.54); }
};

TEST_F(Kroki555, MileageComponentsAndSchemeFixes) {
    Sql("create table place_opisy (POLE long, OPIS text(50), SKR text(20))");
    Sql("create table Place_Listy_zawart (id long)");
    Sql("create table PLACE_LISTY (id long)");
    Sql("create table S_GRUPY_ZWROTOW (id long)");
    Sql("insert into S_GRUPY_ZWROTOW values (1)");
    Sql("create table KH_SCHEMATY_ZAWART (n long, SYMBOL_SCH text(10), GrupaAsort text(50), "
        "Rodz_Aso text(10))");
    for (const char* w : {"1, 'PAR', 'Wszystkie', 'PTOSUKŚ'", "2, 'PAR', 'Pieczywo', Null",
                          "3, 'ZAK', 'Wszystkie', 'P'"})
        Sql(std::string("insert into KH_SCHEMATY_ZAWART values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_555), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_556), "");
    EXPECT_EQ(Wiersze_Z("select count(*), min(POLE), max(POLE) from place_opisy"),
              (Wiersze{{"10", "186", "195"}}));
    EXPECT_TRUE(Czyta_Sie("select wartosc186, wartosc195 from Place_Listy_zawart"));
    EXPECT_TRUE(Czyta_Sie("select Rycz_sam from PLACE_LISTY"));
    EXPECT_TRUE(Czyta_Sie("select countt, ID_PRAC, AdresPrac from KADRY_UMOWYS"));
    EXPECT_EQ(Kolumna("select Nazwa_wdr from S_GRUPY_ZWROTOW"),
              (std::vector<std::string>{"Produkcja Procentowa"}));
    EXPECT_EQ(Wiersze_Z("select GrupaAsort, Rodz_Aso from KH_SCHEMATY_ZAWART order by n"),
              (Wiersze{{"", "PTOSUK"}, {"Pieczywo", "Null"}, {"", "P"}}));
}

TEST_F(Kroki555, AssetsTakeTheNameOfTheirFirstEntryAndThePlaceOfIssue) {
    Sql("create table CENNIKI (ID_CENNIKA long, ACTIVE logical)");
    Sql("create table CENNIKI_ZAWART (ID_CENNIKA long, ACTIVE logical)");
    Sql("insert into CENNIKI values (1, 0)");
    Sql("insert into CENNIKI_ZAWART values (1, -1)");
    Sql("insert into CENNIKI_ZAWART values (2, -1)");
    Sql("create table DOK_KZA (FKOROUT_ID long, FAKOUT_ID long)");
    Sql("create table DOK_KZA_ZAWART (n long, FKOROUT_ID long, PROD_ID long, ZFKOROUT_ILOSC "
        "single, zfkorout_ilosckor single, Ilosc_Na_Magazyn single, CENA_ORG money)");
    Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, CENA_N money, Wsp_Przel "
        "single, Countt counter)");
    Sql("insert into DOK_KZA values (1, 7)");
    Sql("insert into DOK_KZA_ZAWART values (1, 1, 3, 10, 15, 0, 2)");
    Sql("insert into DOK_KZA_ZAWART values (2, 1, 4, 10, 15, 0, 2)");
    // Of two lines of product 3 at the price, the first converts.
    for (const char* w : {"7, 3, 2, 2", "7, 3, 2, 5"})
        Sql(std::string("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, Wsp_Przel) values (") +
            w + ")");
    Sql("create table setup (Nazwa text(50), Wartosc text(255))");
    Sql("insert into setup values ('MIEJSCE_WYST', 'Nowy Targ, ul. Kościuszki''ego')");
    Sql("create table SRODKI_TRWALE (id long)");
    Sql("create table SRODKI_TRWALE_ZAWART (id long, id_el counter, nazwa text(80), data_wpr_e "
        "datetime, wartosc money)");
    for (int id : {1, 2, 3}) Sql("insert into SRODKI_TRWALE values (" + std::to_string(id) + ")");
    for (const char* w :
         {"1, 'marzec mały', #3/1/2004#, 100", "1, 'marzec duży', #3/1/2004#, 500",
          "1, 'styczeń', #1/15/2004#, 900", "2, 'marzec mały', #3/1/2004#, 100",
          "2, 'Piec piekarniczy z komorą parową i czterema pokładami', #3/1/2004#, 500",
          "9, 'bez środka', #3/1/2004#, 1"})
        Sql(std::string("insert into SRODKI_TRWALE_ZAWART (id, nazwa, data_wpr_e, wartosc) "
                        "values (") +
            w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_557), "");
    EXPECT_EQ(Kolumna("select ACTIVE from CENNIKI_ZAWART order by ID_CENNIKA"),
              (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(Kolumna("select Ilosc_Na_Magazyn from DOK_KZA_ZAWART order by n"),
              (std::vector<std::string>{"10", "5"}));
    EXPECT_EQ(
        Wiersze_Z("select Miejsce_U, Nazwa_St from SRODKI_TRWALE order by id"),
        (Wiersze{{"Nowy Targ, ul. Kościuszki'ego", "styczeń"},
                 {"Nowy Targ, ul. Kościuszki'ego", "Piec piekarniczy z komorą parową i czter"},
                 {"Nowy Targ, ul. Kościuszki'ego", "Null"}}));
    EXPECT_EQ(Kolumna("select count(*) from SRODKI_TRWALE_ZAWART where ID_Oj<>id_el"),
              (std::vector<std::string>{"0"}));
}

}  // namespace
}  // namespace kroki_test
