// Steps 2.01 to 2.13 on a database of version 2.00.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki201 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.00); }

    void Cenniki(const std::vector<std::string>& listy, const std::vector<std::string>& ceny) {
        Sql("create table CENNIK_LISTA (LCEN_NAZWA_ID text(50))");
        Sql("create table CENNIK (LCEN_NAZWA_ID text(50), PROD_ID long, cena money)");
        for (const auto& l : listy)
            Sql("insert into CENNIK_LISTA values (" + (l == "Null" ? l : "'" + l + "'") + ")");
        for (const auto& c : ceny) Sql("insert into CENNIK values ('" + c + "', 1, 2)");
        Sql("create table faktury_wych_korekta_zawart (DDOUT_ID long)");
        Sql("create table ZAKUPY (numer_id long, numer_dokumentu text(30), "
            "numer_zaksiegowania text(30), rr logical)");
    }

    void Formy() {
        Sql("create table FORMY_PLATNOSCI (FPLAT_NAZWA_ID text(50), FPLAT_DNI_ZWLOKI long)");
        Sql("insert into FORMY_PLATNOSCI values ('Gotówka', 0)");
        Sql("insert into FORMY_PLATNOSCI values ('gotówka przy odbiorze', 0)");
        Sql("insert into FORMY_PLATNOSCI values ('Przelew 14 dni', 14)");
        Sql("insert into FORMY_PLATNOSCI values (null, 7)");
    }
};

TEST_F(Kroki201, UnusedPriceListsAreDeletedOneAtATime) {
    // 'Beta' and "O'Brien" have price rows; 'Alfa', 'Gamma' and the list without a name
    // have none.
    Cenniki({"Alfa", "Beta", "Gamma", "Null", "O''Brien"}, {"Beta", "O''Brien"});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_205), "");
    EXPECT_EQ(Kolumna("select LCEN_NAZWA_ID from CENNIK_LISTA order by id"),
              (std::vector<std::string>{"Beta", "O'Brien"}));
    EXPECT_EQ(komunikaty.str(), "");
    // The counters added to both tables number the existing rows.
    EXPECT_EQ(Kolumna("select id from CENNIK order by id"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Kroki201, ListWithoutNameIsKeptWhenPriceRowsHaveAnEmptyListName) {
    Cenniki({"Null", "Alfa"}, {""});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_205), "");
    EXPECT_EQ(Kolumna("select LCEN_NAZWA_ID from CENNIK_LISTA"), std::vector<std::string>{"Null"});
}

TEST_F(Kroki201, BookedRrPurchasesTakeTheirBookingNumber) {
    Cenniki({}, {});
    Sql("insert into ZAKUPY values (1, 'FV/1', 'KS/1', -1)");
    Sql("insert into ZAKUPY values (2, 'FV/2', '', -1)");
    Sql("insert into ZAKUPY values (3, 'FV/3', 'KS/3', 0)");
    Sql("insert into ZAKUPY values (4, 'FV/4', null, -1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_205), "");
    EXPECT_EQ(Kolumna("select numer_dokumentu from ZAKUPY order by numer_id"),
              (std::vector<std::string>{"KS/1", "FV/2", "FV/3", "FV/4"}));
}

TEST_F(Kroki201, PaymentFormsWithoutKindAreClassifiedOnce) {
    Formy();
    Sql("alter table FORMY_PLATNOSCI add column FPLAT_RODZAJ text(1)");
    Sql("insert into FORMY_PLATNOSCI values ('Gotówka kartą', 0, 'P')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_208), "");
    const Wiersze po = Wiersze_Z("select FPLAT_NAZWA_ID, FPLAT_RODZAJ from FORMY_PLATNOSCI");
    EXPECT_EQ(po, (Wiersze{{"Gotówka", "G"},
                           {"gotówka przy odbiorze", "G"},
                           {"Przelew 14 dni", "P"},
                           {"Null", "P"},
                           {"Gotówka kartą", "P"}}));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_208), "");
    EXPECT_EQ(Wiersze_Z("select FPLAT_NAZWA_ID, FPLAT_RODZAJ from FORMY_PLATNOSCI"), po);
}

TEST_F(Kroki201, PaymentFormPassEndsQuietlyOnAFailure) {
    // Without the days column the open fails; Ignore leaves no recordset, and the
    // step's own trap ends it without a message of its own and without ending the run.
    Sql("create table FORMY_PLATNOSCI (FPLAT_NAZWA_ID text(50))");
    Sql("insert into FORMY_PLATNOSCI values ('Gotówka')");
    Odpowiedzi({platform::mb::ignore});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_208), "");
    EXPECT_NE(komunikaty.str().find("uwaga wystąpił następujący błąd"), std::string::npos);
    EXPECT_EQ(Wiersze_Z("select FPLAT_NAZWA_ID, FPLAT_RODZAJ from FORMY_PLATNOSCI"),
              (Wiersze{{"Gotówka", "Null"}}));
}

TEST_F(Kroki201, ContractorsGetPaymentCodesDaysAndCopies) {
    Formy();
    Sql("alter table FORMY_PLATNOSCI add column FPLAT_RODZAJ text(1)");
    Sql("update FORMY_PLATNOSCI set FPLAT_RODZAJ='G' where FPLAT_DNI_ZWLOKI=0");
    Sql("update FORMY_PLATNOSCI set FPLAT_RODZAJ='P' where FPLAT_DNI_ZWLOKI>0");
    Sql("create table Kontrahenci (KONH_ID long, FPLAT_NAZWA_ID text(50), "
        "konh_ilosc_kopi_f integer, konh_ilosc_kopi_dd integer, konh_platnik long)");
    Sql("insert into Kontrahenci values (1, 'Przelew 14 dni', 2, 0, 1)");
    Sql("insert into Kontrahenci values (2, '', null, 3, null)");
    Sql("insert into Kontrahenci values (3, 'Barter', 0, null, 0)");
    Sql("insert into Kontrahenci values (4, 'gotówka', 1, 1, 1)");
    Sql("insert into Kontrahenci values (5, null, 1, 1, 1)");
    // A name held by several forms of a kind gives the fewest days of those that have any.
    Sql("insert into FORMY_PLATNOSCI values ('Przelew 14 dni', 21, 'P')");
    Sql("insert into FORMY_PLATNOSCI values ('Gotówka', 0, 'G')");
    Sql("insert into FORMY_PLATNOSCI values ('Kompensata', null, 'P')");
    Sql("insert into FORMY_PLATNOSCI values ('Kompensata', 30, 'P')");
    Sql("insert into Kontrahenci values (6, 'Kompensata', 1, 1, 1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_212), "");
    EXPECT_FALSE(Jest_Tabela("FORMY_PLATNOSCI_G") || Jest_Tabela("FORMY_PLATNOSCI_P"));
    EXPECT_EQ(Wiersze_Z("select FPLAT_NAZWA_ID, FPLAT_DNI_ZWLOKI, konh_ilosc_kopi_f, "
                        "konh_ilosc_kopi_dd, konh_platnik from Kontrahenci order by KONH_ID"),
              (Wiersze{{"P", "14", "2", "1", "1"},
                       {"Gotówka", "0", "1", "3", "0"},
                       {"Barter", "0", "1", "1", "0"},
                       {"G", "0", "1", "1", "1"},
                       {"Gotówka", "0", "1", "1", "1"},
                       {"P", "30", "1", "1", "1"}}));
}

TEST_F(Kroki201, SmallStepsFillTheirNewColumns) {
    Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA_id text(50), GRUPA text(40))");
    Sql("insert into PRODUKTY values (1, 'Chleb', '')");
    Sql("insert into PRODUKTY values (2, 'Bułka', 'Pieczywo')");
    Sql("create table uzytkownicy (nazwa text(20))");
    Sql("insert into uzytkownicy values ('ADAM')");
    Sql("create table SPRZEDAZ_NEW (id long, rodzdok text(1))");
    Sql("insert into SPRZEDAZ_NEW values (1, 'P')");
    Sql("insert into SPRZEDAZ_NEW values (2, 'F')");
    Sql("insert into SPRZEDAZ_NEW values (3, null)");
    Sql("create table faktury_wych_zawart (DDOUT_ID long)");
    Sql("create table GRUPY (NAZWA text(40))");
    Sql("insert into GRUPY values ('')");
    Sql("insert into GRUPY values (null)");
    Sql("insert into GRUPY values ('Pieczywo')");
    Sql("create table faktury_wych_korekta_zawart (DDOUT_ID long)");
    Sql("insert into faktury_wych_korekta_zawart values (1)");
    Sql("create table SRODKI_TRWALE (id counter, numer text(20), ksiega_id long, id_prod long, "
        "id_dok long)");
    Sql("insert into SRODKI_TRWALE (numer, id_prod) values ('ST/1', 5)");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_201), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_202), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_203), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_204), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_206), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_209), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_210), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_211), "");

    EXPECT_EQ(Wiersze_Z("select Lancz_w, GRUPA from PRODUKTY order by PROD_ID"),
              (Wiersze{{"Chleb", "Podstawowa"}, {"Bułka", "Pieczywo"}}));
    EXPECT_EQ(Kolumna("select Stanowisko from uzytkownicy"), std::vector<std::string>{"1"});
    EXPECT_EQ(Kolumna("select rodzdok from SPRZEDAZ_NEW order by id"),
              (std::vector<std::string>{"P", "R", "Null"}));
    EXPECT_EQ(Kolumna("select NAZWA from GRUPY"), std::vector<std::string>{"Pieczywo"});
    EXPECT_EQ(Kolumna("select WtymST from faktury_wych_korekta_zawart"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(Wiersze_Z("select nazwa, Z_LISTY, Rodzaj, id_prod, id_dok, ksiega_id from "
                        "SRODKI_TRWALE"),
              (Wiersze{{" ", "Null", " ", "5", "0", "0"}}));
}

TEST_F(Kroki201, BookAmountsBecomeMoneyWithTheirValues) {
    Sql("create table kpir_ksiega (kpir_id counter, kwota_p single, kwota_z single, "
        "kwota_z2 single, kwota_w single)");
    Sql("insert into kpir_ksiega (kwota_p, kwota_z, kwota_z2, kwota_w) values (12.5, 1, null, "
        "3.25)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_207), "");
    for (const char* c : {"kwota_p", "kwota_z", "kwota_z2", "kwota_w"})
        EXPECT_EQ(Typ_Pola("kpir_ksiega", c), 5) << c;  // Currency
    EXPECT_EQ(Wiersze_Z("select kwota_p, kwota_z, kwota_z2, kwota_w from kpir_ksiega"),
              (Wiersze{{"12,5", "1", "Null", "3,25"}}));
    EXPECT_FALSE(Czyta_Sie("select ccxxdfredvvcxds__ddfr from kpir_ksiega"));
}

TEST_F(Kroki201, SetupTableReplacesThePaymentFormsAndARepeatIsAbsorbed) {
    Formy();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_213), "");
    Sql("insert into Setup values ('ROCZNA', '1')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_213), "");
    EXPECT_FALSE(Jest_Tabela("FORMY_PLATNOSCI"));
    EXPECT_EQ(Wiersze_Z("select Nazwa, Wartosc from Setup"), (Wiersze{{"ROCZNA", "1"}}));
}

}  // namespace
}  // namespace kroki_test
