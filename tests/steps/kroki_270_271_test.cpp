// Steps 2.70 and 2.71: the payroll values and the component catalogue created anew,
// and the payroll lists made from the payroll days with their employer cost.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki270 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.69);
        Sql("create table [Deklaracje] ([Nazwa] TEXT (50), [data_wyst] date, [id] counter)");
        // The payroll values of release 2.06, which 2.70 replaces.
        Sql("create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
            "0,iddd counter)");
        Sql("insert into Place_Dane (IDP, dataK, DP, wartosc) values (1, #03-05-2001#, "
            "'Netto_Zal', 200)");
    }

    // 2.70 done, then the payroll values of the suite's use at 2.70: employee, date (Jet
    // literal), component, value.
    void Po_270(const std::vector<std::tuple<int, std::string, int, double>>& wartosci) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_270), "");
        for (const auto& [idp, data, pole, wartosc] : wartosci)
            Sql("insert into Place_Dane (IDP, dataK, pole, wartosc) values (" +
                std::to_string(idp) + ", " + data + ", " + std::to_string(pole) + ", " +
                std::to_string(wartosc) + ")");
    }
};

TEST_F(Kroki270, PayrollValuesStartEmptyAndTheCatalogueHoldsComponents0To116) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_270), "");
    EXPECT_EQ(Kolumna("select count(*) from Place_Dane"), Lista{"0"});
    EXPECT_TRUE(Czyta_Sie("select IDP, dataK, DP, wartosc, iddd, pole from Place_Dane"));
    EXPECT_TRUE(Czyta_Sie("select data_wpl, spos_przekaz, opis from Deklaracje"));
    EXPECT_EQ(Typ_Pola("Deklaracje", "opis"), dao::dbMemo);

    EXPECT_EQ(Wiersze_Z("select count(*), min(pole), max(pole), count(iddd) from place_opisy"),
              (Wiersze{{"117", "0", "116", "117"}}));
    // Components the suite's screens name exactly, blanks included.
    const Wiersze oczekiwane = {
        {"0", "Płaca zasadnicza", "Płaca zas."},
        {"4", "Zasiłki opodatkowane nieoskładkowane", "Chorobowe"},
        {"11", "Do wypłaty", "Do wypłaty"},
        {"39", "Dodatek za pracę w warunkach uciążliwych", "Szkodliwe"},
        {"52", "", ""},
        {"67", "Ilość dni chorobowego wypadkowego)", "Il.dni chorobowego"},
        {"68", "Wynagrodzenie wypadkowe ", "Wynagr.wypadkowe"},
        {"115", "Brutto po 2 zasiłkach ", "Brutto po 2 zasiłkach"},
        {"116", "Brutto końcowe", "Brutto końcowe"},
    };
    EXPECT_EQ(Wiersze_Z("select pole, OPIS, SKR from place_opisy where pole in "
                        "(0,4,11,39,52,67,68,115,116) order by pole"),
              oczekiwane);
    // Only the four unused components have no description; every short label is set
    // and none is longer than its description.
    EXPECT_EQ(Kolumna("select pole from place_opisy where OPIS='' order by pole"),
              (Lista{"52", "57", "58", "61"}));
    EXPECT_EQ(Kolumna("select count(*) from place_opisy where SKR='' and OPIS<>''"), Lista{"0"});
    EXPECT_EQ(Kolumna("select count(*) from place_opisy where len(SKR)>len(OPIS)"), Lista{"0"});
}

// A payroll table held open elsewhere cannot be dropped (the failure is absorbed): its
// rows are then numbered by their codes, and those that get no number go.
TEST_F(Kroki270, HeldPayrollTableKeepsItsRowsNumberedByCode) {
    const std::pair<const char*, double> wiersze[] = {
        {"TSkłBrutto", 1500}, {"tskłbrutto", 10},  {"KosztPr", 300},    {"SZUS_PODERCWCała", 5},
        {"TSkłBrutto9", 7},   {"PODATEK_KoUP", 0}, {"PODATEK_KoUP", 1}, {"PODATEK_PrógP", 2},
        {"PODATEK_PrógP", 3}, {"PODATEK_UlP", 1},  {"PODATEK_UlP", 2},  {"Nieznany", 1},
    };
    Sql("delete from Place_Dane");
    for (const auto& [kod, wartosc] : wiersze)
        Sql("insert into Place_Dane (IDP, dataK, DP, wartosc) values (1, #03-05-2001#, '" +
            std::string(kod) + "', " + std::to_string(wartosc) + ")");
    auto czytnik = polaczenie().database().query("select * from Place_Dane");
    ASSERT_TRUE(czytnik->next());
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_270), "");
    czytnik.reset();
    EXPECT_EQ(Wiersze_Z("select DP, wartosc, pole from Place_Dane order by iddd"),
              (Wiersze{{"TSkłBrutto", "1500", "0"},
                       {"tskłbrutto", "10", "0"},
                       {"KosztPr", "300", "12"},
                       {"SZUS_PODERCWCała", "5", "60"},
                       {"TSkłBrutto9", "7", "116"},
                       {"PODATEK_KoUP", "0", "9000"},
                       {"PODATEK_KoUP", "1", "9001"},
                       {"PODATEK_PrógP", "2", "7002"},
                       {"PODATEK_UlP", "1", "8001"}}));
}

TEST_F(Kroki270, SecondRunKeepsTheCatalogueOnce) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_270), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_270), "");
    EXPECT_EQ(Wiersze_Z("select count(*), max(iddd) from place_opisy"), (Wiersze{{"117", "117"}}));
}

TEST_F(Kroki270, ValuesOfOneDayShareOneListNumberedByItsId) {
    Po_270({{2, "#03-06-2001#", 14, 200},
            {1, "#03-05-2001 08:15:00#", 0, 1500},
            {1, "#03-05-2001#", 12, -100},
            {2, "#03-05-2001 23:59:00#", 12, 50},
            {2, "#03-06-2001#", 12, 70}});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_271), "");
    EXPECT_EQ(Wiersze_Z("select IDListy, Numer, OPIS, DataK=DataP, KosztPr, ID_Kpir from "
                        "place_Listy order by IDListy"),
              (Wiersze{{"1", "1/3/2001", "Lista płac", "True", "150", "0"},
                       {"2", "2/3/2001", "Lista płac", "True", "70", "0"}}));
    // The lists are made in date order, each dated with the earliest payroll date of its day.
    EXPECT_EQ(Kolumna("select format(DataK,'dd-mm-yyyy hh:nn') from place_Listy where IDListy=1"),
              Lista{"05-03-2001 00:00"});
    EXPECT_EQ(Wiersze_Z("select IDP, pole, wartosc, IDListy from Place_Dane order by iddd"),
              (Wiersze{{"2", "14", "200", "2"},
                       {"1", "0", "1500", "1"},
                       {"1", "12", "100", "1"},
                       {"2", "12", "50", "1"},
                       {"2", "12", "70", "2"}}));
}

TEST_F(Kroki270, EmptyPayrollMakesNoListsAndZeroesTheCostOfExistingOnes) {
    Po_270({});
    Sql("create table [place_Listy] (IDListy counter,Numer text(50),OPIS text(255),DataK "
        "date,DataP date,KosztPr money,ID_Kpir long)");
    Sql("insert into place_Listy (Numer, KosztPr) values ('1/1/2001', 999)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_271), "");
    EXPECT_EQ(Wiersze_Z("select Numer, KosztPr from place_Listy"), (Wiersze{{"1/1/2001", "0"}}));
}

TEST_F(Kroki270, NullPayrollDateNamesNoListAndTheRepeatReusesTheLists) {
    Po_270({{1, "#03-05-2001#", 0, 1500}, {1, "Null", 12, 300}, {2, "#03-05-2001#", 0, 900}});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_271), "");
    EXPECT_EQ(Kolumna("select Numer from place_Listy"), Lista{"1/3/2001"});
    EXPECT_EQ(Kolumna("select IDListy from Place_Dane order by iddd"), (Lista{"1", "Null", "1"}));

    Sql("update Place_Dane set dataK=#03-07-2001# where dataK is null");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_271), "");
    EXPECT_EQ(Kolumna("select Numer from place_Listy order by IDListy"),
              (Lista{"1/3/2001", "2/3/2001"}));
    EXPECT_EQ(Kolumna("select IDListy from Place_Dane order by iddd"), (Lista{"1", "2", "1"}));
    EXPECT_EQ(Kolumna("select KosztPr from place_Listy order by IDListy"), (Lista{"0", "300"}));
}

}  // namespace
}  // namespace kroki_test
