// Step 4.73 on a database of version 4.72: the payroll tables moved, the settings split
// by user and workstation, and the ledger's account texts of the current year.
#include <algorithm>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "platform/clock.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok473 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.72);
        platform::set_today(platform::LocalDate{2005, 6, 15});
        Sql("create table place_dane (IDP long, IDListy long, dataK datetime, ID_GRUPY long, "
            "Kategoria text(1), wartosc19 money)");
        Sql("insert into place_dane values (7, 1, #3/31/2005#, 2, 'A', 150)");
        Sql("create table PLACE_SWIADCZ_PRZERWY (IDListy long, ID_prac long, DataK datetime, "
            "DataP datetime, ID_Nieob long, Dataod datetime, Datado datetime, Id_Kadry_nieob "
            "long)");
        Sql("insert into PLACE_SWIADCZ_PRZERWY (IDListy, ID_prac) values (1, 7)");
        Sql("create table Setup ([Nazwa] TEXT (255), [Wartosc] memo, USERS text(80), STAN "
            "text(80))");
        Sql("create index Podstawowy on Setup (Nazwa, Users, Stan) with primary");
        Sql("create table UZYTKOWNICY (nazwisko_uzytkownika text(50))");
        Sql("create table Kontrahenci (konh_id long, NumerWFK text(20))");
        Sql("insert into Kontrahenci values (1, '  12 ')");
        Sql("create table kh_konta (countt counter, konto text(255), nr_k_1 text(4), nr_k_2 "
            "text(20), nr_k_3 text(20), nr_k_4 text(20), rok long)");
        Sql("create table kh_dekrety (countt counter, countt_konta long, konto text(255), rok "
            "long, nr_k_1 text(4), nr_k_2 text(20), nr_k_3 text(20), nr_k_4 text(20), "
            "Countt_Konta_Ojaca_1 long, Countt_Konta_Ojaca_2 long, Countt_Konta_Ojaca_3 long, "
            "Dziennik text(10))");
        Sql("create index d on kh_dekrety (Dziennik)");
    }
    void TearDown() override {
        platform::set_today(std::nullopt);
        BazaKroku::TearDown();
    }
    // The rows of a query in byte order of their texts.
    static Wiersze Posortowane(const std::string& tekst) {
        Wiersze w = Wiersze_Z(tekst);
        std::sort(w.begin(), w.end());
        return w;
    }
    void Ustawienie(const std::string& nazwa, const std::string& wartosc) {
        Sql("insert into Setup values ('" + nazwa + "', " + wartosc + ", '', '')");
    }
};

TEST_F(Krok473, SettingsSplitByUserAndWorkstation) {
    struct Przypadek {
        const char* opis;
        std::vector<std::string> uzytkownicy;
        Wiersze globalne, uzytkownika, stanowiska;
    };
    const std::vector<Przypadek> przypadki = {
        {"two users",
         {"Jan", "Anna"},
         {{"FIRMA", "Piekarnia"}, {"JAN_NULL", "Null"}, {"STAWKA", "22"}},
         {{"KOLOR", "zielony", "Anna"}, {"WYDRUK", "1", "Jan"}},
         {{"DRUKARKA", "LPT1", "3"}, {"X", "a", "10"}}},
        {"no users",
         {},
         {{"ANNA.KOLOR", "zielony"},
          {"FIRMA", "Piekarnia"},
          {"JAN_NULL", "Null"},
          {"JAN_WYDRUK", "1"},
          {"ST10_X", "a"},
          {"ST3\\DRUKARKA\\", "LPT1"},
          {"STAWKA", "22"}},
         {},
         {}},
        // A user without a name takes no setting; the workstations still take theirs.
        {"a user without a name",
         {""},
         {{"ANNA.KOLOR", "zielony"},
          {"FIRMA", "Piekarnia"},
          {"JAN_NULL", "Null"},
          {"JAN_WYDRUK", "1"},
          {"STAWKA", "22"}},
         {},
         {{"DRUKARKA", "LPT1", "3"}, {"X", "a", "10"}}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.opis);
        TearDown();
        SetUp();
        for (const std::string& u : p.uzytkownicy)
            Sql("insert into UZYTKOWNICY values ('" + u + "')");
        Ustawienie("JAN_WYDRUK", "'1'");
        Ustawienie("ST3\\DRUKARKA\\", "'LPT1'");
        Ustawienie("ST10_X", "'a'");
        Ustawienie("ANNA.KOLOR", "'zielony'");
        Ustawienie("FIRMA", "'Piekarnia'");
        Ustawienie("STAWKA", "'22'");
        Ustawienie("JAN_PUSTE", "'   '");
        Ustawienie("JAN_NULL", "Null");
        Ustawienie("GLOBALNE_PUSTE", "''");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_473), "");
        EXPECT_EQ(Posortowane("select Nazwa, Wartosc from Setup"), p.globalne);
        EXPECT_EQ(Posortowane("select Nazwa, Wartosc, Users from UZYTKOWNICY_Setup"),
                  p.uzytkownika);
        EXPECT_EQ(Posortowane("select Nazwa, Wartosc, Stan from Setup_stanowisko"), p.stanowiska);
    }
    EXPECT_FALSE(Czyta_Sie("select USERS from Setup"));
    EXPECT_FALSE(Czyta_Sie("select STAN from UZYTKOWNICY_Setup"));
    EXPECT_EQ(Typ_Pola("Setup_stanowisko", "Stan"), dao::dbLong);
}

TEST_F(Krok473, PayrollTablesMovedAndAccountsOfTheCurrentYear) {
    Sql("insert into kh_konta (konto, nr_k_1, nr_k_2, nr_k_3, nr_k_4, rok) values ('x', '201', "
        "'01', '', '9', 2005)");
    Sql("insert into kh_konta (konto, nr_k_1, nr_k_2, nr_k_3, nr_k_4, rok) values ('stare', "
        "'202', '', '', '', 2004)");
    Sql("insert into kh_dekrety (countt_konta, konto, rok, nr_k_1, nr_k_2, nr_k_3, nr_k_4) "
        "values (1, 'y', 2005, '201', '01', '', '')");
    Sql("insert into kh_dekrety (countt_konta, konto, rok, nr_k_1, nr_k_2, nr_k_3, nr_k_4) "
        "values (2, 'stare', 2004, '202', '3', '4', '5')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_473), "");

    EXPECT_EQ(Wiersze_Z("select IDP, IDListy, Kategoria, wartosc19 from Place_Listy_Zawart"),
              (Wiersze{{"7", "1", "A", "150"}}));
    EXPECT_EQ(Kolumna("select ID_prac from PLACE_LISTY_SWIADCZ_PRZERWY"),
              (std::vector<std::string>{"7"}));
    EXPECT_FALSE(Jest_Tabela("place_dane"));
    EXPECT_FALSE(Jest_Tabela("PLACE_SWIADCZ_PRZERWY"));
    for (const char* t :
         {"PLACE_zestawienia", "PLACE_zestawienia_ZAWART", "PLACE_zestawienia_ZAWART_SUMY"})
        EXPECT_TRUE(Jest_Tabela(t)) << t;

    EXPECT_EQ(Kolumna("select NumerWFK from Kontrahenci"), (std::vector<std::string>{"12"}));
    EXPECT_EQ(Kolumna("select konto from kh_konta order by countt"),
              (std::vector<std::string>{"201-01", "stare"}));
    EXPECT_EQ(Wiersze_Z("select konto, kontoBAK from kh_dekrety order by countt"),
              (Wiersze{{"201-01", "201-01"}, {"stare", "202-3-4-5"}}));
    for (const char* gone : {"nr_k_1", "Countt_Konta_Ojaca_2", "Dziennik"})
        EXPECT_FALSE(Czyta_Sie(std::string("select ") + gone + " from kh_dekrety")) << gone;
}

TEST_F(Krok473, AUserWithoutANameStopsTheStep) {
    Sql("insert into UZYTKOWNICY values (Null)");
    Ustawienie("JAN_WYDRUK", "'1'");
    EXPECT_NE(Krok(&ClsKonwersje::Konwersja_473), "");
}

}  // namespace
}  // namespace kroki_test
