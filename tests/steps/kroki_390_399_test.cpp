// Steps 3.90 to 3.99 on databases built with the tables they read: the pro-forma kinds,
// contractors' banks, recomputed cash reports and balances, the administrator's password
// and the tax settings merged into the personnel options.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki390 : public BazaKroku {
  protected:
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) {
            if (Zbudowane_Kroki().count(v) == 0) continue;
            ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
        }
    }
};

TEST_F(Kroki390, ProFormaKindsAreEmptyCopiesOfTheReturns) {
    Otworz(3.89);
    Sql("create table DOK_DZ (DDOUT_ID counter, DDOUT_NUMER text(50), konh_id long)");
    Sql("create table DOK_DZ_ZAWART (DDOUT_ID long, PROD_ID long, ZDDOUT_ILOSC single)");
    Sql("insert into DOK_DZ (DDOUT_NUMER, konh_id) values ('1/2003', 4)");
    Sql("insert into DOK_DZ_ZAWART values (1, 7, 2)");
    Sql("create table Sposob_numeracji (sm_id long)");
    Kroki(390, 390);
    Kroki(390, 390);  // again: recreated empty
    for (const char* t : {"DOK_PFA", "DOK_PFA_ZAWART"})
        EXPECT_EQ(Kolumna(std::string("select count(*) from ") + t),
                  (std::vector<std::string>{"0"}));
    EXPECT_TRUE(Czyta_Sie("select DDOUT_ID, DDOUT_NUMER, konh_id, Rodz_Dok from DOK_PFA"));
    EXPECT_TRUE(Czyta_Sie("select nag_pfa from Sposob_numeracji"));
}

TEST_F(Kroki390, ContractorsTakeTheBankPartyOfTheirOldBank) {
    Otworz(3.90);
    Sql("create table UZYTKOWNICY (id long, nazwisko_uzytkownika text(50))");
    Sql("insert into UZYTKOWNICY values (1, 'ADMINISTRATOR')");
    Sql("create table KONTRAHENCI (konh_id long, KONH_NAZ_SKROT text(16), RKONH_NAZWA_ID "
        "text(50), rodz text(1), id_kasy long)");
    Sql("create table KASYBANKI (id_kasy long, nazwa text(50))");
    Sql("insert into KASYBANKI values (1, 'Bank Spółdzielczy w Limanowej')");
    Sql("insert into KASYBANKI values (2, 'Kasa główna')");
    Sql("insert into KASYBANKI values (3, 'Bank Pekao')");
    // The parties that step 3.88 made of the entries (the third renamed to stay unique).
    Sql("insert into KONTRAHENCI values (50, 'Bank Spółdzielcz', 'Bank', 'B', 0)");
    Sql("insert into KONTRAHENCI values (51, 'Kasa główna', 'Kasa', 'K', 0)");
    Sql("insert into KONTRAHENCI values (52, 'Bank Pekao1', 'Bank', 'B', 0)");
    Sql("insert into KONTRAHENCI values (53, 'Bank Pekao', 'Bank', 'B', 1)");
    // Two bank parties of one short name, the later entered stored first.
    Sql("insert into KASYBANKI values (4, 'Bank Rolny')");
    Sql("insert into KONTRAHENCI values (47, 'Bank Rolny', 'Bank', 'B', 0)");
    Sql("insert into KONTRAHENCI values (46, 'Bank Rolny', 'Bank', 'B', 0)");
    // Contractors: with each old entry, with none, with a Null one.
    Sql("insert into KONTRAHENCI values (10, 'Sklep A', 'Odbiorca', Null, 1)");
    Sql("insert into KONTRAHENCI values (11, 'Sklep B', 'Odbiorca', Null, 2)");
    Sql("insert into KONTRAHENCI values (12, 'Sklep C', 'Odbiorca', Null, 3)");
    Sql("insert into KONTRAHENCI values (13, 'Sklep D', 'Odbiorca', Null, 0)");
    Sql("insert into KONTRAHENCI values (14, 'Sklep E', 'Odbiorca', Null, Null)");
    Sql("insert into KONTRAHENCI values (15, 'Sklep F', 'Odbiorca', Null, 7)");  // no entry 7
    Sql("insert into KONTRAHENCI values (16, 'Sklep G', 'Odbiorca', Null, 4)");
    Kroki(391, 391);
    EXPECT_EQ(Wiersze_Z("select konh_id, id_kasy from KONTRAHENCI where konh_id<46 or "
                        "konh_id=53 order by konh_id"),
              (Wiersze{{"10", "50"},
                       {"11", "0"},  // a cash desk: no bank party
                       {"12", "53"},
                       {"13", "0"},
                       {"14", "Null"},
                       {"15", "0"},
                       {"16", "46"},    // the first entered of the two
                       {"53", "1"}}));  // itself a bank party
    EXPECT_EQ(Linie_Logu("id_kasy bez banku").size(), 3u);
    EXPECT_EQ(Wiersze_Z("select PrawaK, PrawaP, PrawaF from UZYTKOWNICY"), (Wiersze{{"", "", ""}}));
}

TEST_F(Kroki390, CashReportsAndBalancesAreSummedAgainWithNullAmountsAsZero) {
    Otworz(3.92);
    Sql("create table DOK_PFA (DDOUT_ID counter, DDOUT_NUMER text(50), Rodz_Dok text(50))");
    Sql("create table DOK_PFA_ZAWART (DDOUT_ID long, PROD_ID long)");
    Sql("create table Sposob_numeracji (sm_id long, nag_pfa text(50))");
    Sql("create table KONTRAHENCI (konh_id long, RKONH_NAZWA_ID text(50), Saldo money)");
    Sql("create table DOK_FIN (kp_id long, konh_id long, raport_id long, kwota money, kwota_kw "
        "money)");
    Sql("create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long)");
    Sql("create table DOK_FRA (raport_id long, id_kasy long, kwota_kp money, kwota_kw money, "
        "Bilans money, Saldo money)");
    Sql("insert into KONTRAHENCI values (1, 'Kasa', 9)");
    Sql("insert into KONTRAHENCI values (2, 'Bank', 9)");
    Sql("insert into KONTRAHENCI values (3, 'Odbiorca', 9)");
    Sql("insert into KONTRAHENCI values (4, 'Kasa', 9)");
    Sql("insert into DOK_FRA values (1, 1, 5, 5, 5, 5)");
    Sql("insert into DOK_FRA values (2, 1, 5, 5, 5, 5)");
    Sql("insert into DOK_FRA values (3, 4, 5, 5, 5, 5)");
    Sql("insert into DOK_FRA values (0, 4, 5, 5, 5, 5)");  // takes no document of no report
    Sql("insert into DOK_FIN values (1, 3, 1, 100, 0)");
    Sql("insert into DOK_FIN values (2, 3, 1, 0, 30)");
    Sql("insert into DOK_FIN values (3, 3, 2, 0, 20)");
    Sql("insert into DOK_FIN values (4, 3, 3, Null, 15)");
    Sql("insert into DOK_FIN values (5, 3, 3, 40, Null)");
    Sql("insert into DOK_FIN values (6, 3, 0, 70, 0)");
    Kroki(393, 393);
    EXPECT_EQ(Wiersze_Z("select raport_id, kwota_kp, kwota_kw, Bilans, Saldo from DOK_FRA order "
                        "by raport_id"),
              (Wiersze{{"0", "0", "0", "0", "0"},
                       {"1", "100", "30", "70", "0"},
                       {"2", "0", "20", "-20", "0"},
                       {"3", "40", "15", "25", "0"}}));
    EXPECT_EQ(Wiersze_Z("select konh_id, Saldo from KONTRAHENCI order by konh_id"),
              (Wiersze{{"1", "50"}, {"2", "0"}, {"3", "9"}, {"4", "25"}}));
    EXPECT_TRUE(Czyta_Sie("select DDOUT_ID, Rodz_Dok from DOK_ZPF"));
}

TEST_F(Kroki390, SmallStepsAreRepeatable) {
    Otworz(3.93);
    Sql("create table DOK_FIN (kp_id long, nr_kp text(30))");
    Sql("create table KONTRAHENCI (konh_id long, konh_kodpocztowy text(10))");
    Sql("insert into DOK_FIN values (1, Null)");
    Sql("insert into KONTRAHENCI values (1, Null)");
    Sql("create table Produkty (prod_id long)");
    Sql("create table DOK_PFA (DDOUT_ID long, Rodz_Dok text(50))");
    Sql("create table DOK_ZPF (DDOUT_ID long, Rodz_Dok text(50))");
    Sql("create table DOK_ZPF_zawart (DDOUT_ID long)");
    Sql("create table Sposob_numeracji (sm_id long)");
    Sql("create table uzytkownicy (nazwisko_uzytkownika text(50), Haslo text(20))");
    Sql("insert into uzytkownicy values ('Administrator', 'x')");
    Sql("insert into uzytkownicy values ('ADMINISTRATOR', Null)");
    Sql("insert into uzytkownicy values ('Kasjer', 'k')");
    Kroki(394, 398);
    Kroki(394, 398);
    EXPECT_EQ(Wiersze_Z("select nr_kp from DOK_FIN"), (Wiersze{{""}}));
    EXPECT_EQ(Wiersze_Z("select konh_kodpocztowy from KONTRAHENCI"), (Wiersze{{""}}));
    EXPECT_FALSE(Czyta_Sie("select Rodz_Dok from DOK_PFA"));
    EXPECT_TRUE(Czyta_Sie("select RodzDok, Opis_Zdarzenia from DOK_ZPF"));
    EXPECT_EQ(Kolumna("select Haslo from uzytkownicy order by Haslo"),
              (std::vector<std::string>{"k", "mokrwĘ", "mokrwĘ"}));
}

// Dates are month first in the statements: #01-07-2002# is 7 January.
TEST_F(Kroki390, TaxSettingsGoIntoTheDatedOptionRows) {
    Otworz(3.98);
    Sql("create table Deklaracje (id long)");
    Sql("create table KADRY_PODATEK (Dataod date, KOSZT text(1), ULGA text(1), prog text(1), "
        "ID_prac long)");
    Sql("create table KADRY_OPCJE (Dataod date, ZAS_WYCH money, IL_ZAS_PIEL long, PROCENT_K "
        "single, KWOTA_K money, PODST_URL money, PODST_ZAS money, ID_GRUPY long, ID_KAL long, "
        "ID_prac long)");
    // Employee 1: options of January and July, tax rows of March and of July.
    Sql("insert into KADRY_OPCJE values (#01-01-2002#, 10, 1, 0.5, 20, 30, 40, 7, 8, 1)");
    Sql("insert into KADRY_OPCJE values (#07-01-2002#, 11, 2, 0.6, 21, 31, 41, 9, 9, 1)");
    Sql("insert into KADRY_PODATEK values (#03-01-2002#, 'P', 'T', '1', 1)");
    Sql("insert into KADRY_PODATEK values (#07-01-2002#, 'D', 'N', '2', 1)");
    // Employee 2: a tax row before his only option row; employee 3: no option rows;
    // a tax row without a date, two without an employee.
    Sql("insert into KADRY_OPCJE values (#05-01-2002#, 12, 3, 0.7, 22, 32, 42, 5, 6, 2)");
    Sql("insert into KADRY_PODATEK values (#02-01-2002#, 'P', 'N', '1', 2)");
    Sql("insert into KADRY_PODATEK values (#02-01-2002#, 'D', 'T', '3', 3)");
    Sql("insert into KADRY_PODATEK values (Null, 'X', 'X', 'X', 2)");
    Sql("insert into KADRY_PODATEK values (#02-01-2002#, 'X', 'X', 'X', Null)");
    Sql("insert into KADRY_PODATEK values (#02-01-2002#, 'X', 'X', 'X', 0)");
    Sql("insert into KADRY_PODATEK values (#02-01-2002#, 'X', 'X', 'X', 9)");  // no such party
    // Employee 4: two option rows of one day, the later entered with other settings.
    Sql("insert into KADRY_OPCJE values (#01-01-2000#, 100, 1, 0.1, 100, 0, 0, 1, 1, 4)");
    Sql("insert into KADRY_OPCJE values (#01-01-2000#, 200, 1, 0.2, 200, 0, 0, 2, 1, 4)");
    Sql("insert into KADRY_PODATEK values (#06-01-2000#, 'P', 'T', '1', 4)");
    Sql("create table KONTRAHENCI (konh_id long)");
    for (int id = 1; id <= 4; ++id)
        Sql("insert into KONTRAHENCI values (" + std::to_string(id) + ")");
    Sql("insert into KADRY_OPCJE values (#07-01-2002#, 14, 2, 0.6, 21, 31, 41, 9, 9, 1)");
    Sql("alter table KADRY_OPCJE add column countt counter");
    // Of employee 1's two July rows, the last by its counter takes the tax row of July.
    Sql("update KADRY_OPCJE set countt=countt+10 where ZAS_WYCH=11");
    Kroki(399, 399);
    EXPECT_EQ(Wiersze_Z("select ID_prac, Dataod, KOSZT, ULGA, prog, ZAS_WYCH, ID_GRUPY, ID_KAL "
                        "from KADRY_OPCJE order by ID_prac, Dataod, ZAS_WYCH"),
              (Wiersze{{"1", "2002-01-01", "P", "T", "1", "10", "7", "8"},
                       {"1", "2002-03-01", "P", "T", "1", "10", "7", "8"},
                       {"1", "2002-07-01", "D", "N", "2", "11", "9", "9"},
                       {"1", "2002-07-01", "Null", "Null", "Null", "14", "9", "9"},
                       {"2", "2002-02-01", "P", "N", "1", "12", "5", "6"},
                       {"2", "2002-05-01", "P", "N", "1", "12", "5", "6"},
                       {"3", "2002-02-01", "D", "T", "3", "Null", "Null", "Null"},
                       {"4", "2000-01-01", "Null", "Null", "Null", "100", "1", "1"},
                       {"4", "2000-01-01", "P", "T", "1", "200", "2", "1"},
                       {"4", "2000-06-01", "P", "T", "1", "200", "2", "1"}}));
    EXPECT_TRUE(
        Czyta_Sie("select id_prac, Rok, LimitUrlopu, ZostaloUrlopu, Countt from "
                  "Kadry_Opcje_roczne"));
}

}  // namespace
}  // namespace kroki_test
