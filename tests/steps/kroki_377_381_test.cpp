// Steps 3.77 to 3.81 on a database of version 3.76: dated payroll parameters, the
// personnel keys dropped, wider book columns, the discount as money, calendars and
// employee groups, and the costing tables with options rows for category 'P'.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"
#include "steps/przerwana_zmiana.h"

namespace kroki_test {
namespace {

class Kroki377 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.76); }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static bool Ma_Klucz(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
            if (i.Name == "Podstawowy") return true;
        return false;
    }
};

TEST_F(Kroki377, ParametersAddedOncePerIdAndDayAndPersonnelKeysDropped) {
    const std::vector<std::string> kadry = {"KADRY_OPCJE",   "KADRY_PODATEK",
                                            "KADRY_RODZINA", "KADRY_UMOWY",
                                            "KADRY_UMOWYC",  "PLACE_SWIADCZ_PRZERWY"};
    for (const std::string& t : kadry) {
        Sql("create table " + t + " (ID_PRAC long, Dataod date)");
        Sql("create unique index Podstawowy on " + t + " (ID_PRAC) with primary");
    }
    Sql("create table [Place_Parametry] (id long,dataod date,wartosc currency,wartosc2 "
        "currency,wartosc3 currency,wartosc4 currency,wartosc5 currency,wartosc6 currency,"
        "wartosc7 currency,wartosc8 currency,wartosc9 currency,wartosc10 currency,idc counter)");
    // Id 41 on 1 June at 14:30 stops call 2; id 45 on 2 June stops nothing.
    Sql("insert into Place_Parametry (id, dataod, wartosc) values (41, #06-01-2001 14:30:00#, 1)");
    Sql("insert into Place_Parametry (id, dataod, wartosc) values (45, #06-02-2001#, 2)");

    Kroki(377, 377);
    for (const std::string& t : kadry) EXPECT_FALSE(Ma_Klucz(t)) << t;
    const std::string zapytanie =
        "select id, format(dataod,'yyyy-mm-dd hh:nn'), wartosc, wartosc2, wartosc3, wartosc10 "
        "from Place_Parametry order by dataod, id";
    const Wiersze oczekiwane = {
        {"40", "2001-06-01 00:00", "41,2", "51", "63,7", "0"},
        {"42", "2001-06-01 00:00", "308,8", "491", "0", "0"},
        {"43", "2001-06-01 00:00", "135,96", "0", "0", "0"},
        {"45", "2001-06-01 00:00", "4087,1", "0", "0", "0"},
        {"41", "2001-06-01 14:30", "1", "Null", "Null", "Null"},
        {"45", "2001-06-02 00:00", "2", "Null", "Null", "Null"},
        {"41", "2001-09-01 00:00", "401,38", "0", "0", "0"},
        {"45", "2001-09-01 00:00", "4013,84", "0", "0", "0"},
    };
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
    // A second run finds every parameter of its day and adds nothing.
    Kroki(377, 377);
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
}

TEST_F(Kroki377, RetypedColumnsKeepTheirValues) {
    Sql("create table KPIR_KSIEGA (lp long, konh_nazwa text(50), konh_adres text(50), opis "
        "text(30))");
    Sql("insert into KPIR_KSIEGA values (1, 'Piekarnia Kłos', 'ul. Polna 3', 'Mąka')");
    Sql("create table KONTRAHENCI (konh_id long, Rabat single)");
    Sql("insert into KONTRAHENCI values (1, 2.5)");
    Sql("insert into KONTRAHENCI values (2, null)");
    Kroki(378, 379);
    EXPECT_EQ(Wiersze_Z("select konh_nazwa, konh_adres, opis from KPIR_KSIEGA"),
              (Wiersze{{"Piekarnia Kłos", "ul. Polna 3", "Mąka"}}));
    const std::string dlugi(255, 'x');
    for (const char* kolumna : {"konh_nazwa", "konh_adres", "opis"}) {
        EXPECT_EQ(Typ_Pola("KPIR_KSIEGA", kolumna), dao::dbText) << kolumna;
        Sql(std::string("update KPIR_KSIEGA set ") + kolumna + "='" + dlugi + "'");
    }
    EXPECT_EQ(Typ_Pola("KONTRAHENCI", "Rabat"), dao::dbCurrency);
    EXPECT_EQ(Kolumna("select Rabat from KONTRAHENCI order by konh_id"),
              (std::vector<std::string>{"2,5", "Null"}));
}

// A run that committed each statement on its own and stopped in the wait after the
// discount was added anew (empty) left the discounts only in the temporary column. The
// next run ends as an uninterrupted one.
TEST_F(Kroki377, DiscountRerunAfterAStopBeforeTheCopyBackEndsAsAnUninterruptedRun) {
    const auto dane = [] {
        Sql("create table KONTRAHENCI (konh_id long, Rabat single)");
        Sql("create index indRabat on KONTRAHENCI (Rabat)");
        for (const char* w : {"1, 2.5", "2, Null", "3, 0", "4, 12.75"})
            Sql(std::string("insert into KONTRAHENCI values (") + w + ")");
    };
    dane();
    Kroki(379, 379);
    const std::vector<std::string> bez_przerwy = Zawartosc_Bazy();
    TearDown();
    SetUp();
    dane();
    {
        Stop_Po_Dodaniu stop("KONTRAHENCI", "Rabat");
        EXPECT_NE(Krok(&ClsKonwersje::Konwersja_379), "");
        ASSERT_TRUE(stop.zatrzymany());
    }
    DbZamknij();
    DbOtwórz();
    EXPECT_EQ(Kolumna("select count(Rabat) from KONTRAHENCI"), std::vector<std::string>{"0"});
    Kroki(379, 379);
    EXPECT_EQ(Zawartosc_Bazy(), bez_przerwy);
}

TEST_F(Kroki377, CalendarsAndGroupsFillOnlyNulls) {
    Sql("create table [KALENDARZ] ([Data] date,[Typ] long,[iddd] counter, ID_KAL long)");
    Sql("insert into KALENDARZ (Data, Typ, ID_KAL) values (#01-01-2001#, 1, 3)");
    Sql("insert into KALENDARZ (Data, Typ, ID_KAL) values (#01-02-2001#, 0, null)");
    Sql("create table KADRY_OPCJE (ID_prac long, Dataod date, ID_GRUPY long)");
    Sql("insert into KADRY_OPCJE values (1, #01-01-2001#, 2)");
    Sql("insert into KADRY_OPCJE values (2, #01-01-2001#, null)");
    // A stale reference row is replaced, not doubled.
    Sql("create table [S_GRUPYP] (ID_GRUPY long, NAZWA Text (20), OPIS Text (50))");
    Sql("insert into S_GRUPYP values (1, 'Stara', 'stara')");
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        Kroki(380, 380);
        EXPECT_EQ(Wiersze_Z("select ID_KAL, NAZWA, OPIS from S_KALENDARZE"),
                  (Wiersze{{"1", "Kalendarz", "Podstawowy"}}));
        EXPECT_EQ(Wiersze_Z("select ID_GRUPY, NAZWA, OPIS from S_GRUPYP"),
                  (Wiersze{{"1", "Wszyscy", "Wszyscy pracownicy"}}));
        EXPECT_EQ(Kolumna("select ID_KAL from KALENDARZ order by Data"),
                  (std::vector<std::string>{"3", "1"}));
        EXPECT_EQ(Wiersze_Z("select ID_prac, ID_GRUPY, ID_KAL from KADRY_OPCJE order by ID_prac"),
                  (Wiersze{{"1", "2", "1"}, {"2", "1", "1"}}));
    }
}

TEST_F(Kroki377, OptionsRowOnlyForCategoryPWithoutOne) {
    Sql("create table KADRY_PRACOWNICY (ID long, KATEGORIA text(1))");
    Sql("insert into KADRY_PRACOWNICY values (1, 'P')");  // has a row of another date
    Sql("insert into KADRY_PRACOWNICY values (2, 'P')");  // has none
    Sql("insert into KADRY_PRACOWNICY values (3, 'Z')");  // other category
    Sql("insert into KADRY_PRACOWNICY values (4, null)");
    Sql("insert into KADRY_PRACOWNICY values (5, 'P')");  // has none
    Sql("create table KADRY_OPCJE (ID_prac long, Dataod date, ID_GRUPY int DEFAULT 0, ID_KAL "
        "int DEFAULT 0)");
    Sql("insert into KADRY_OPCJE values (1, #03-15-1999#, 2, 2)");
    Sql("create table OKRESY_ROZLICZEN (id long, tydzien long, dzien1 date, nazwa text(20))");
    const std::string opcje =
        "select ID_prac, format(Dataod,'yyyy-mm-dd'), ID_GRUPY, ID_KAL from KADRY_OPCJE "
        "order by ID_prac";
    const Wiersze oczekiwane = {{"1", "1999-03-15", "2", "2"},
                                {"2", "2001-10-01", "1", "1"},
                                {"5", "2001-10-01", "1", "1"}};
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        Kroki(381, 381);
        EXPECT_EQ(Wiersze_Z(opcje), oczekiwane);
    }
    EXPECT_FALSE(Czyta_Sie("select tydzien from OKRESY_ROZLICZEN"));
    EXPECT_FALSE(Czyta_Sie("select dzien1 from OKRESY_ROZLICZEN"));
    EXPECT_TRUE(Czyta_Sie("select nazwa from OKRESY_ROZLICZEN"));
    // The costing tables, their columns in order, empty.
    Sql("insert into PRODUKTY_KALKULACJA (PROD_ID) values (7)");
    EXPECT_EQ(Wiersze_Z("select * from PRODUKTY_KALKULACJA"),
              (Wiersze{{"1", "7", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                        "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}));
    EXPECT_EQ(Typ_Pola("PRODUKTY_KALKULACJA", "Cena_det_br"), dao::dbCurrency);
    EXPECT_EQ(Typ_Pola("PRODUKTY_KOSZTY", "POBRANE"), dao::dbBoolean);
    // A third run keeps the rows the costing tables already hold.
    Kroki(381, 381);
    EXPECT_EQ(Kolumna("select PROD_ID from PRODUKTY_KALKULACJA"), (std::vector<std::string>{"7"}));
}

TEST_F(Kroki377, IgnoredOpenFailuresAddNothing) {
    // Without the parameter and employee tables each open asks; Ignore adds nothing and
    // the step goes on with its next statement.
    Sql("create table OKRESY_ROZLICZEN (id long, tydzien long, dzien1 date)");
    for (const char* t : {"KADRY_OPCJE", "KADRY_PODATEK", "KADRY_RODZINA", "KADRY_UMOWY",
                          "KADRY_UMOWYC", "PLACE_SWIADCZ_PRZERWY"})
        Sql(std::string("create table ") + t + " (ID_PRAC long)");
    Odpowiedzi(std::vector<int>(7, 5));
    Kroki(377, 377);
    EXPECT_FALSE(Jest_Tabela("Place_Parametry"));
    Odpowiedzi({5});
    Kroki(381, 381);
    EXPECT_TRUE(Jest_Tabela("PRODUKTY_KOSZTY"));
    EXPECT_FALSE(Czyta_Sie("select tydzien from OKRESY_ROZLICZEN"));
    EXPECT_NE(komunikaty.str().find("KADRY_PRACOWNICY"), std::string::npos);
}

}  // namespace
}  // namespace kroki_test
