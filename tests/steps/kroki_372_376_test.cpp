// Steps 3.72 to 3.76: annual tax form, order comments, overtime, duplicates and the
// 2001 calendar.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Kolumny = std::vector<std::string>;

class Kroki372 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.71); }
};

TEST_F(Kroki372, NewTablesAndColumns) {
    Sql("create table ZAMOWIENIA_KOMENTARZE (iddd long, TEKST memo)");
    Sql("create table PLACE_OPISY (pole long, opis text(50), skr text(20))");
    Sql("insert into PLACE_OPISY values (157, 'Stare', 'St')");
    Sql("insert into PLACE_OPISY values (158, 'Inne', 'In')");
    for (int run = 0; run < 2; ++run) {
        for (MetodaKroku m : {&ClsKonwersje::Konwersja_372, &ClsKonwersje::Konwersja_373,
                              &ClsKonwersje::Konwersja_374, &ClsKonwersje::Konwersja_375})
            ASSERT_EQ(Krok(m), "") << run;
    }
    Sql("insert into KADRY_PIT (ID_PRAC, ROK) values (3, '2001')");
    EXPECT_EQ(Wiersze_Z("select COUNTT, ROK, wyn1_przychod, data_wyp, nazwisko_os from KADRY_PIT"),
              (Wiersze{{"1", "2001", "0", "Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select * from KADRY_PIT").at(0).size(), 62u);
    EXPECT_TRUE(
        Czyta_Sie("select TEKST4, TEKST9, nr_zamowienia4, nr_zamowienia9 from "
                  "ZAMOWIENIA_KOMENTARZE"));
    Sql("insert into KADRY_NADGODZINY (ID_PRAC) values (3)");
    EXPECT_EQ(Wiersze_Z("select COUNTT, NADL50, NADLNOCNE from KADRY_NADGODZINY"),
              (Wiersze{{"1", "0", "0"}}));
    EXPECT_EQ(Wiersze_Z("select pole, opis, skr from PLACE_OPISY order by pole"),
              (Wiersze{{"157", "Deputat", "Deputat"}, {"158", "Inne", "In"}}));
    Sql("insert into DOK_DUPLIKATY (ID_dok, rodz, drukowano) values (5, 'FAK', -1)");
    Sql("insert into DOK_DUPLIKATY (ID_dok, rodz, drukowano) values (5, 'DD', 0)");
    EXPECT_THROW(Sql("insert into DOK_DUPLIKATY (ID_dok, rodz) values (5, 'FAK')"), jet::Error);
}

class Kalendarz : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.75);
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("create table KALENDARZ (data date, typ long)");
        Sql("insert into KALENDARZ values (#03-14-2001 10:30:00#, 2)");  // a holiday
        Sql("insert into KALENDARZ values (#05-01-2001#, 1)");
        Sql("insert into KALENDARZ values (#06-04-1999#, 0)");  // another year
        Sql("insert into KALENDARZ values (#06-05-2002#, 3)");
    }
};

TEST_F(Kalendarz, EveryDayOf2001AndEightHoursOnWorkingDays) {
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_376), "") << run;
        EXPECT_EQ(Kolumna("select count(*) from KALENDARZ where data between #01-01-2001# and "
                          "#12-31-2001 23:59:59#"),
                  Kolumny{"365"});
        EXPECT_EQ(Kolumna("select count(*) from KALENDARZ where typ=0 and data between "
                          "#01-01-2001# and #12-31-2001 23:59:59#"),
                  Kolumny{"363"});
    }
    EXPECT_EQ(Wiersze_Z("select typ, Godziny from KALENDARZ where data between #03-14-2001# and "
                        "#03-14-2001 23:59:59#"),
              (Wiersze{{"2", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select data, typ, Godziny from KALENDARZ where data between "
                        "#01-01-2001# and #01-01-2001 23:59:59#"),
              (Wiersze{{"2001-01-01", "0", "8"}}));
    // Saturday 6 January and Sunday 7 January 2001 were added like any other day.
    EXPECT_EQ(Kolumna("select Godziny from KALENDARZ where data in (#01-06-2001#, #01-07-2001#)"),
              (Kolumny{"8", "8"}));
    EXPECT_EQ(Wiersze_Z("select typ, Godziny from KALENDARZ where data<#01-01-2001# or "
                        "data>#12-31-2001 23:59:59# order by data"),
              (Wiersze{{"0", "8"}, {"3", "Null"}}));
    EXPECT_EQ(Kolumna("select Wartosc from [Setup] where Nazwa='ROBGODZ'"), Kolumny{"8,00"});
}

}  // namespace
}  // namespace kroki_test
