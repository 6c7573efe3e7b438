// Steps 3.02 to 3.04: correction reasons as memo, users' rights cleared, printers per
// workstation with their copies from Setup.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki302 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.01); }
};

TEST_F(Kroki302, CorrectionReasonsBecomeMemoKeepingTheirTexts) {
    for (const char* t : {"DOK_KFA", "DOK_KZA"}) {
        Sql(std::string("create table ") + t + " (FKOROUT_ID long, tekst_kor text(100))");
        Sql(std::string("insert into ") + t + " values (1, 'Zwrot czerstwego pieczywa')");
        Sql(std::string("insert into ") + t + " values (2, null)");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_302), "");
    for (const char* t : {"DOK_KFA", "DOK_KZA"}) {
        EXPECT_EQ(Typ_Pola(t, "tekst_kor"), dao::dbMemo) << t;
        EXPECT_EQ(Kolumna(std::string("select tekst_kor from ") + t + " order by FKOROUT_ID"),
                  (std::vector<std::string>{"Zwrot czerstwego pieczywa", "Null"}))
            << t;
    }
}

TEST_F(Kroki302, RightsOfEveryUserCleared) {
    Sql("create table UZYTKOWNICY (nazwisko_uzytkownika text(50), prawa memo, Stanowisko long)");
    Sql("insert into UZYTKOWNICY values ('Kowalski', 'FFTTF', 1)");
    Sql("insert into UZYTKOWNICY values ('Nowak', null, 2)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_303), "");
    EXPECT_EQ(Kolumna("select prawa from UZYTKOWNICY"), (std::vector<std::string>{"", ""}));
}

TEST_F(Kroki302, PrintersMoveToTheirOwnersWorkstations) {
    Sql("create table UZYTKOWNICY (id counter, nazwisko_uzytkownika text(50), prawa memo, "
        "Stanowisko long)");
    // Of two users of one name the printer takes the first's workstation.
    for (const char* u : {"'Kowalski', 3", "'Nowak', 5", "'Bez stanowiska', 0",
                          "'Stanowisko null', null", "'Nowak', 9"})
        Sql(std::string("insert into UZYTKOWNICY (nazwisko_uzytkownika, Stanowisko) values (") + u +
            ")");
    Sql("create table Drukarki (Nazwa text(50), LoginName text(50))");
    Sql("create index indLoginName on Drukarki (LoginName)");
    Sql("insert into Drukarki values ('Epson', 'Kowalski')");
    Sql("insert into Drukarki values ('Oki', 'Nowak')");
    Sql("insert into Drukarki values ('HP', 'Nieznany')");
    Sql("insert into Drukarki values ('Star', 'Bez stanowiska')");
    Sql("insert into Drukarki values ('Citizen', 'Stanowisko null')");
    Sql("create table Setup (Nazwa text(100), Wartosc memo)");
    Sql("insert into Setup values ('KOWALSKI\\KOPIA\\', '2')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_304), "");
    // Printers of an unknown login or of a user at workstation 0 or none are gone.
    EXPECT_EQ(Wiersze_Z("select Nazwa, Active, Stanowisko, KopiaOrginal, MnoznikStron from "
                        "Drukarki order by Nazwa"),
              (Wiersze{{"Epson", "True", "3", "2", "1"}, {"Oki", "True", "5", "0", "1"}}));
    EXPECT_FALSE(Czyta_Sie("select LoginName from Drukarki"));
}

}  // namespace
}  // namespace kroki_test
