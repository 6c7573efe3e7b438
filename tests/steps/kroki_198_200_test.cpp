// Steps 1.98 to 2.00 on a database of version 1.97.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki198 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(1.97);
        Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA_id text(50), grupa text(40))");
        Sql("insert into PRODUKTY values (1, 'Chleb', null)");
        Sql("insert into PRODUKTY values (2, 'Bułka', 'Pieczywo')");
        Sql("create table Zakupy_zawart (numer_id long, sur_ID long, wart_n money, VAT text(5))");
        Sql("insert into Zakupy_zawart values (1, 1, 10, '22')");
        for (const char* t : {"Faktury_Wych", "Faktury_Wych_Korekta", "Paragon"}) {
            Sql(std::string("create table ") + t + " (DDOUT_ID long, DDOUT_NUMER text(50))");
            Sql(std::string("insert into ") + t + " values (1, 'F/1')");
        }
        Sql("create table Faktury_Wych_Korekta_zawart (DDOUT_ID long, ilosc single)");
        Sql("create table Ustawienia (akt_rok long)");
        Sql("create table Kontrahenci (KONH_ID long, konh_nazwa text(60))");
        for (const char* t : {"WYPOSAZENIE", "Zamowienia", "PolPRODUKTY_receptury", "PolPRODUKTY",
                              "Surowce", "magazyn_surowcow"})
            Sql(std::string("create table ") + t + " (id long)");
    }
};

TEST_F(Kroki198, TwoRunsLeaveTheRegistersEmptyAndKeepThePersonnelRows) {
    k.Konwersja_198();
    Sql("insert into KPIR_KSIEGA (numer, id_poj) values ('K/1', 3)");
    Sql("insert into SRODKI_TRWALE (numer) values ('ST/1')");
    Sql("insert into POJAZDY (NR_REJ) values ('WA 1234')");
    Sql("insert into KADRY_PRACOWNICY (Numer, Nazwisko) values (1, 'Nowak')");
    Sql("insert into KADRY_ADRESY (ID_prac, ulica) values (1, 'Polna')");
    Sql("insert into KADRY_DANE_MIES (ID_prac, id_DK, WartoscTXT) values (1, 2, 'x')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_198), "");

    for (const char* t : {"KPIR_KSIEGA", "SRODKI_TRWALE", "POJAZDY", "KADRY_PRACOWNICY"})
        EXPECT_TRUE(Wiersze_Z(std::string("select * from ") + t).empty()) << t;
    EXPECT_EQ(Kolumna("select ulica from KADRY_ADRESY"), std::vector<std::string>{"Polna"});
    EXPECT_EQ(Kolumna("select WartoscTXT from KADRY_DANE_MIES"), std::vector<std::string>{"x"});
    EXPECT_FALSE(Jest_Tabela("WYPOSAZENIE"));

    // The new link columns read 0, never Null.
    EXPECT_EQ(Wiersze_Z("select ID_poj, id_kpir, WtymST from Zakupy_zawart"),
              (Wiersze{{"0", "0", "0"}}));
    for (const char* t : {"Faktury_Wych", "Faktury_Wych_Korekta", "Paragon"})
        EXPECT_EQ(Kolumna(std::string("select id_kpir from ") + t), std::vector<std::string>{"0"})
            << t;
    EXPECT_EQ(
        Wiersze_Z("select grupa, Id_Poj_Domyslny, Naz_w_kasie from PRODUKTY order by PROD_ID"),
        (Wiersze{{"Podstawowa", "0", "Null"}, {"Pieczywo", "0", "Null"}}));
}

TEST_F(Kroki198, RepeatedRunsDropTheOldTablesAndKeepTheDrivers) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_198), "");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_199), "");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_200), "");
    }
    for (const char* t :
         {"Surowce", "PolPRODUKTY", "PolPRODUKTY_receptury", "magazyn_surowcow", "Zamowienia"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
    EXPECT_TRUE(
        Wiersze_Z("select kier_id, kier_nazwa, kier_symbol, kier_opis from kierowcy").empty());
}

}  // namespace
}  // namespace kroki_test
