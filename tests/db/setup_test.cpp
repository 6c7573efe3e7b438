#include "db/setup.h"

#include <gtest/gtest.h>

#include "db_env.h"

namespace {

class Setup : public DbEnv {
  protected:
    void SetUp() override {
        DbEnv::SetUp();
        otworz_baze({"CREATE TABLE Setup (Nazwa TEXT(50), Wartosc TEXT(255))",
                     "CREATE TABLE uzytkownicy_setup (Nazwa TEXT(50), Wartosc TEXT(255), "
                     "Users TEXT(50))",
                     "INSERT INTO Setup (Nazwa, Wartosc) VALUES ('PUSTA', Null)"});
    }
};

TEST_F(Setup, InactiveBelow473) {
    Wersja_Bazy = 4.72;
    Zapisz_Setup("roczna", "1");
    Zapisz_Setup_Uzytkownika("x", "1", "jan");
    EXPECT_EQ(Czytaj_Setup("roczna"), "");
    EXPECT_EQ(wiersze("SELECT Nazwa FROM Setup"), std::vector<std::string>{"PUSTA"});
    EXPECT_TRUE(wiersze("SELECT * FROM uzytkownicy_setup").empty());
}

TEST_F(Setup, WriteAddsThenChanges) {
    Wersja_Bazy = 4.73;
    Zapisz_Setup("roczna", "1");
    EXPECT_EQ(Czytaj_Setup("Roczna"), "1");
    Zapisz_Setup("ROCZNA", "2");
    EXPECT_EQ(wiersze("SELECT Nazwa, Wartosc FROM Setup ORDER BY Nazwa"),
              (std::vector<std::string>{"PUSTA|Null", "ROCZNA|2"}));
    EXPECT_EQ(Czytaj_Setup("pusta"), "");
    EXPECT_EQ(Czytaj_Setup("brak"), "");
    EXPECT_EQ(Czytaj_Setup(""), "");
    DbZamknij();
    EXPECT_EQ(Czytaj_Setup("roczna"), "") << "nothing is read from a closed database";
    EXPECT_TRUE(okna.empty());
}

TEST_F(Setup, PerUserValues) {
    Wersja_Bazy = 6.46;
    Zapisz_Setup_Uzytkownika("drukarka", "HP", "jan");
    Zapisz_Setup_Uzytkownika("drukarka", "OKI", "JAN");
    Zapisz_Setup_Uzytkownika("drukarka", "X", "");  // the logged-in user, "" in a run
    EXPECT_EQ(wiersze("SELECT Nazwa, Wartosc, Users FROM uzytkownicy_setup ORDER BY Users"),
              (std::vector<std::string>{"DRUKARKA|X|", "DRUKARKA|OKI|JAN"}));
}

}  // namespace
