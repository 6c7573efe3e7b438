// Steps 2.50 to 2.56 on a database of version 2.49: import ids, users' dates, printed
// flags, declaration tables, contractor columns and the clean-up of empty lines.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki250 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.49); }
};

TEST_F(Kroki250, NewColumnsOnEveryTableAndASecondRunAddsNothing) {
    for (const char* t :
         {"kontrahenci", "PRODUKTY", "zakupy", "zakupy_zawart", "tabela_vat", "K_faktur",
          "K_faktur_zawart", "s_grupy", "s_kierowcy", "uzytkownicy_prawa", "KP", "REMANENTINWENT"})
        Sql(std::string("create table ") + t + " (x long)");
    Sql("create table uzytkownicy (id long, Data date)");
    Sql("drop table kontrahenci");
    Sql("create table kontrahenci (konh_id long, konh_kod text(10))");
    Sql("create table faktury (id long, FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD text(50))");
    Sql("create table FAKTURY_zawart (id long, ZFAKOUT_ILOSC single)");
    Sql("drop table zakupy_zawart");
    Sql("create table zakupy_zawart (id long, ILOSC single)");
    for (int przebieg = 0; przebieg < 2; ++przebieg)
        for (int v = 250; v <= 256; ++v) {
            SCOPED_TRACE(v);
            Krok_Konwersji = v;
            ASSERT_EQ(Uruchom([&] { (k.*Zbudowane_Kroki().at(v))(); }), "");
        }
    const char* kolumny[] = {
        "select konh_id_import, konh_kod, Powiat, Region, Przedstawiciel from kontrahenci",
        "select prod_id_import from PRODUKTY",
        "select numer_id_import from zakupy",
        "select numer_id_import from zakupy_zawart",
        "select id_import from tabela_vat",
        "select FKOROUT_ID_import from K_faktur",
        "select FKOROUT_ID_import from K_faktur_zawart",
        "select Count_import from s_grupy",
        "select kier_id_import from s_kierowcy",
        "select Prawo from uzytkownicy_prawa",
        "select Drukowano from KP",
        "select Drukowano from REMANENTINWENT",
        ("select Nazwa, Rok, Miesiac, data_wyst, imie, nazwisko, korekta, wniosek, id from "
         "Deklaracje"),
        "select id, Typ, wartosc from Deklaracje_Zawart",
    };
    for (const char* s : kolumny) EXPECT_TRUE(Czyta_Sie(s)) << s;
    EXPECT_FALSE(Czyta_Sie("select ccxxdfredvvcxds__ddfr from kontrahenci"));
}

TEST_F(Kroki250, UsersWithoutADateGetTheOldDateOnce) {
    Sql("create table uzytkownicy (id long)");
    Sql("create table uzytkownicy_prawa (id long)");
    Sql("create table KP (id long)");
    Sql("create table REMANENTINWENT (id long)");
    Sql("insert into uzytkownicy values (1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_251), "");
    Sql("insert into uzytkownicy values (2, #12/31/2001#)");
    Sql("update uzytkownicy set Data=#01/02/2000# where id=1");
    Sql("insert into uzytkownicy (id) values (3)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_251), "");
    EXPECT_EQ(Wiersze_Z("select id, Data from uzytkownicy order by id"),
              (Wiersze{{"1", "2000-01-02"}, {"2", "2001-12-31"}, {"3", "1973-06-08"}}));
}

TEST_F(Kroki250, InvoicesListingNoDeliveryNotesAreNotCollective) {
    Sql("create table faktury (id long, FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD text(50))");
    for (const char* nr : {"null", "''", "' '", "'DD 1/2001, DD 2/2001'"})
        Sql(std::string("insert into faktury values (") + (nr[0] == 'n' ? "1" : "2") + ", -1, " +
            nr + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_252), "");
    EXPECT_EQ(Kolumna("select FAKOUT_ZBIORCZA from faktury order by FAKOUT_NR_DD"),
              (std::vector<std::string>{"False", "False", "True", "True"}));
}

TEST_F(Kroki250, LinesWithNoQuantityAreDeleted) {
    Sql("create table zakupy_zawart (id long, ILOSC single)");
    Sql("create table FAKTURY_zawart (id long, ZFAKOUT_ILOSC single)");
    for (const char* w : {"1, 0", "2, 0.5", "3, null", "4, -2"}) {
        Sql(std::string("insert into zakupy_zawart values (") + w + ")");
        Sql(std::string("insert into FAKTURY_zawart values (") + w + ")");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_253), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_254), "");
    EXPECT_EQ(Kolumna("select id from zakupy_zawart order by id"),
              (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(Kolumna("select id from FAKTURY_zawart order by id"),
              (std::vector<std::string>{"2", "3", "4"}));
}

TEST_F(Kroki250, ContractorCodeWidensWithItsValues) {
    Sql("create table Kontrahenci (konh_id long, konh_kod text(10))");
    Sql("create index konh_kod on Kontrahenci (konh_kod)");
    Sql("insert into Kontrahenci values (1, 'K1001')");
    Sql("insert into Kontrahenci values (2, null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_255), "");
    Sql("insert into Kontrahenci values (3, '123456789012345')");
    EXPECT_EQ(Kolumna("select konh_kod from Kontrahenci order by konh_id"),
              (std::vector<std::string>{"K1001", "Null", "123456789012345"}));
}

}  // namespace
}  // namespace kroki_test
