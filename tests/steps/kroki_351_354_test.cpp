// Steps 3.51 to 3.54 on a database of version 3.50: the users' date, the payer tables and
// declaration values as text, the family and options tables, and the gross prices of
// internal issue lines by VAT rate.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki351 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.50);
        Sql("create table UZYTKOWNICY (nazwa text(20), data date)");
        Sql("create table Deklaracje (ID long, nazwa text(20))");
        Sql("create table Deklaracje_Zawart (ID long, wartosc money, wartosc2 long)");
        Sql("create table DOK_RW_ZAWART (ZDDOUT_ID long, WSPRZ_CENA_B money, WSPRZ_ILOSC double, "
            "WSPRZ_CENA_VAT text(3))");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
};

TEST_F(Kroki351, UsersWithoutDateGetEighthOfJune1973) {
    Sql("insert into UZYTKOWNICY values ('ADAM', Null)");
    Sql("insert into UZYTKOWNICY values ('EWA', #3/15/2001#)");
    Kroki(351, 351);
    EXPECT_EQ(Wiersze_Z("select nazwa, year(data), month(data), day(data) from UZYTKOWNICY "
                        "order by nazwa"),
              (Wiersze{{"ADAM", "1973", "6", "8"}, {"EWA", "2001", "3", "15"}}));
}

TEST_F(Kroki351, PayerTablesAndDeclarationValuesAsText) {
    Sql("insert into Deklaracje_Zawart values (1, 12.5, 7)");
    Sql("insert into Deklaracje_Zawart values (2, Null, Null)");
    Kroki(352, 352);
    EXPECT_EQ(Typ_Pola("Platnik", "nazwisko"), dao::dbText);
    EXPECT_EQ(Typ_Pola("Platnik_Dane", "Wartosc"), dao::dbMemo);
    EXPECT_EQ(Typ_Pola("Deklaracje", "kwota"), dao::dbCurrency);
    EXPECT_EQ(Typ_Pola("Deklaracje", "IDP"), dao::dbLong);
    EXPECT_EQ(Typ_Pola("Deklaracje_Zawart", "wartosc"), dao::dbText);
    EXPECT_EQ(Typ_Pola("Deklaracje_Zawart", "wartosc2"), dao::dbText);
    EXPECT_EQ(Wiersze_Z("select ID, wartosc, wartosc2 from Deklaracje_Zawart order by ID"),
              (Wiersze{{"1", "12,5", "7"}, {"2", "Null", "Null"}}));
    // Again: the tables and the text values stay.
    Sql("insert into Platnik (nazwisko) values ('Nowak')");
    Kroki(352, 352);
    EXPECT_EQ(Kolumna("select nazwisko from Platnik"), (std::vector<std::string>{"Nowak"}));
    EXPECT_EQ(Kolumna("select wartosc from Deklaracje_Zawart where ID=1"),
              (std::vector<std::string>{"12,5"}));
}

TEST_F(Kroki351, FamilyAndOptionsTablesHaveTheirColumns) {
    Kroki(353, 354);
    EXPECT_EQ(Typ_Pola("KADRY_RODZINA", "ZAS_RODZ"), dao::dbByte);
    EXPECT_EQ(Typ_Pola("KADRY_RODZINA", "PESEL"), dao::dbText);
    EXPECT_EQ(Typ_Pola("KADRY_RODZINA", "countt"), dao::dbLong);
    EXPECT_EQ(Typ_Pola("KADRY_OPCJE", "ZAS_WYCH"), dao::dbLong);  // "int" is a Long in Jet
    EXPECT_EQ(Typ_Pola("KADRY_OPCJE", "KWOTA_K"), dao::dbCurrency);
    Sql("insert into KADRY_RODZINA (ID_prac, NAZWISKO, FAX) values (3, 'Kowalska', '12345')");
    EXPECT_EQ(Wiersze_Z("select ID_prac, NAZWISKO, FAX, countt from KADRY_RODZINA"),
              (Wiersze{{"3", "Kowalska", "12345", "1"}}));
}

TEST_F(Kroki351, InternalIssueLinesGetGrossByRate) {
    const std::string linia = "insert into DOK_RW_ZAWART values ";
    Sql(linia + "(1, 10, 2, '3')");
    Sql(linia + "(2, 10, 2, '7')");
    Sql(linia + "(3, 10, 2, '22')");
    Sql(linia + "(4, 10, 2, '0')");
    Sql(linia + "(5, 10, 2, 'zw')");
    Sql(linia + "(6, 10, 2, '12')");
    Sql(linia + "(7, 10, 2, Null)");
    Sql(linia + "(8, Null, 2, '22')");
    Sql(linia + "(9, 10, Null, '7')");
    Kroki(354, 354);
    EXPECT_EQ(Typ_Pola("DOK_RW_ZAWART", "WSPRZ_CENA_BRUTTO"), dao::dbCurrency);
    const Wiersze oczekiwane = {
        {"1", "10,3", "20,6"}, {"2", "10,7", "21,4"}, {"3", "12,2", "24,4"},
        {"4", "10", "20"},     {"5", "10", "20"},     {"6", "Null", "Null"},
        {"7", "Null", "Null"}, {"8", "0", "0"},       {"9", "10,7", "0"},
    };
    const std::string zapytanie =
        "select ZDDOUT_ID, WSPRZ_CENA_BRUTTO, WSPRZ_WARTOSC_BRUTTO from DOK_RW_ZAWART order by "
        "ZDDOUT_ID";
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
    // A line whose gross price is set keeps it, even when its net price changes.
    Sql("update DOK_RW_ZAWART set WSPRZ_CENA_B=99 where ZDDOUT_ID=4");
    Kroki(354, 354);
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
}

}  // namespace
}  // namespace kroki_test
