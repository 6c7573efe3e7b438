// Step 2.14 on a database of version 2.13: the confirmation texts, the quantity
// tables and the purchase part of the VAT register.
#include "db/sumy_vat.h"
#include "jet/text.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok214 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.13);
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA_id text(50))");
        for (int p = 1; p <= 3; ++p)
            Sql("insert into PRODUKTY values (" + std::to_string(p) + ", 'P" + std::to_string(p) +
                "')");
        Sql("create table zakupy_ilosc (sur_id long, ilosc single)");
        Sql("create table zuzycie_calkowite (sur_id long, ilosc single)");
        Sql("create table magazyn_produktow (prod_id long, ilosc single)");
        Sql("create table SPRZEDAZ_ILOSC (prod_id long, ilosc single)");
        Sql("create table zakupy (numer_id long, numer_zaksiegowania text(30), "
            "data_zaksiegowania date, KONH_ID long, wart_n money, VAT money)");
        Sql("create table zakupy_zawart (numer_id long, sur_ID long, wart_n money, VAT text(5))");
        Sql("create table tabela_vat (id long, r_dok text(20), vat7 money, vat22 money, n7 money, "
            "n22 money, n0 money, nzw money, vat3 money, n3 money)");
    }

    void Dokument(int id, const std::string& numer) {
        Sql("insert into zakupy values (" + std::to_string(id) + ", " + numer +
            ", #03/15/2001#, 7, 100, 22)");
    }
    void Linia(int dok, int prod, const std::string& kwota, const std::string& stawka) {
        Sql("insert into zakupy_zawart values (" + std::to_string(dok) + ", " +
            std::to_string(prod) + ", " + kwota + ", '" + stawka + "')");
    }
    static constexpr const char* kRejestr =
        "select id, r_dok, n22, vat22, n7, vat7, n3, vat3, n0, nzw from tabela_vat order by r_dok, "
        "id";
};

TEST_F(Krok214, ConfirmationTextsAreStoredUnderUpperCaseKeys) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_214), "");
    const Wiersze setup = Wiersze_Z("select Nazwa, Wartosc from Setup order by Nazwa");
    ASSERT_EQ(setup.size(), 2u);
    EXPECT_EQ(setup[0][0], "SALDO_POTWIERDZENIE_1");
    EXPECT_EQ(jet::text::length(setup[0][1]), 260u);
    EXPECT_EQ(setup[1][0], "SALDO_POTWIERDZENIE_2");
    EXPECT_EQ(setup[1][1],
              "Jednocześnie wzywamy Was do przekazania powyższych kwot na nasze konto");
}

TEST_F(Krok214, QuantityTablesGetZeroRowsAndOneStockRowPerProduct) {
    Sql("insert into zakupy_ilosc values (1, 8)");
    Sql("insert into magazyn_produktow values (1, 2)");
    Sql("insert into magazyn_produktow values (1, 3)");
    Sql("insert into magazyn_produktow values (2, 4)");
    Sql("insert into SPRZEDAZ_ILOSC values (3, 1)");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_214), "");
        EXPECT_EQ(Wiersze_Z("select sur_id, ilosc from zakupy_ilosc order by sur_id"),
                  (Wiersze{{"1", "8"}, {"2", "0"}, {"3", "0"}}));
        EXPECT_EQ(Wiersze_Z("select sur_id, ilosc from zuzycie_calkowite order by sur_id"),
                  (Wiersze{{"1", "0"}, {"2", "0"}, {"3", "0"}}));
        EXPECT_EQ(Wiersze_Z("select prod_id, ilosc from magazyn_produktow order by prod_id"),
                  (Wiersze{{"1", "5"}, {"2", "4"}, {"3", "0"}}));
        EXPECT_EQ(Wiersze_Z("select prod_id, ilosc from SPRZEDAZ_ILOSC order by prod_id"),
                  (Wiersze{{"1", "0"}, {"2", "0"}, {"3", "1"}}));
    }
    EXPECT_FALSE(Jest_Tabela("_magazyn_produktow_POM"));
    EXPECT_FALSE(Jest_Tabela("_rejestr_pom"));
}

TEST_F(Krok214, PurchaseRegisterIsRebuiltFromTheLinesOfBookedDocuments) {
    Dokument(1, "'KS/1'");
    Linia(1, 1, "4", "22");
    Linia(1, 2, "6", "22");
    Linia(1, 2, "null", "22");  // a line without a net adds none
    Linia(1, 1, "2.5", "ZW");
    Linia(1, 3, "0.5", "7");
    Linia(1, 3, "1", "12");  // a code the register has no column for
    Dokument(2, "'KS/2'");
    Linia(2, 1, "0.125", "3");
    Linia(2, 2, "3", "0");
    Dokument(3, "'KS/3'");
    // Lines of a product that is gone or not given count: the buckets add up to the total.
    Linia(3, 99, "80", "22");
    Sql("insert into zakupy_zawart values (3, Null, 20, '7')");
    Dokument(4, "''");
    Linia(4, 1, "9", "22");
    Dokument(5, "null");
    Sql("insert into tabela_vat (id, r_dok, n22) values (77, 'zakupy', 1)");
    Sql("insert into tabela_vat (id, r_dok, n22) values (1, 'sprzedaz', 5)");
    const Wiersze oczekiwane = {
        {"1", "sprzedaz", "5", "Null", "Null", "Null", "Null", "Null", "Null", "Null"},
        {"1", "zakupy", "10", "2,2", "0,5", "0,04", "0", "0", "0", "2,5"},
        {"2", "zakupy", "0", "0", "0", "0", "0,13", "0", "3", "0"},
        {"3", "zakupy", "80", "17,6", "20", "1,4", "0", "0", "0", "0"}};
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_214), "");
        EXPECT_EQ(Wiersze_Z(kRejestr), oczekiwane) << "run " << run;
    }
}

TEST_F(Krok214, NoBookedDocumentLeavesNoPurchaseRows) {
    Dokument(1, "''");
    Linia(1, 1, "4", "22");
    Sql("insert into tabela_vat (id, r_dok, n22) values (77, 'zakupy', 1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_214), "");
    EXPECT_TRUE(Wiersze_Z(kRejestr).empty());
}

TEST_F(Krok214, RegisterThatCannotBeOpenedStopsTheStep) {
    // A register without the 3% columns: Ignore leaves no recordset to add the row to,
    // and the failure reaches the version loop; Abort ends the process.
    Sql("drop table tabela_vat");
    Sql("create table tabela_vat (id long, r_dok text(20), vat7 money, vat22 money, n7 money, "
        "n22 money, n0 money, nzw money)");
    Dokument(1, "'KS/1'");
    Odpowiedzi({platform::mb::ignore});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_214).rfind("error ", 0), 0u);
    Odpowiedzi({platform::mb::abort});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_214).rfind("process end 1", 0), 0u);
}

TEST_F(Krok214, AddedAmountIsRoundedInPlaceAndTaxKeptToFourDecimals) {
    struct Przypadek {
        double kwota;
        const char* stawka;
        int slot;               // net slot that receives the amount; -1: none
        double netto, podatek;  // the slot's net and tax after the addition
        double zaokraglona;     // the caller's amount afterwards
    };
    const Przypadek przypadki[] = {
        {0.50, "7", 2, 0.50, 0.035, 0.50},   {1.005, "22", 1, 1.01, 0.2222, 1.01},
        {0.125, "3", 5, 0.13, 0.0039, 0.13}, {-0.345, "22", 1, -0.35, -0.077, -0.35},
        {2.5, "zw", 4, 2.5, 0, 2.5},         {2.5, "0", 3, 2.5, 0, 2.5},
        {2.5, "12", -1, 0, 0, 2.5},
    };
    const int podatki[] = {0, 1, 2, 0, 0, 5, 6};
    for (const auto& p : przypadki) {
        Zeruj_Sumy_VAT();
        jet::Currency kwota = jet::Currency::from_double(p.kwota);
        k.Dodaj_Kwote_VAT(kwota, p.stawka);
        EXPECT_EQ(kwota, jet::Currency::from_double(p.zaokraglona)) << p.stawka;
        for (int s = 0; s < 7; ++s) {
            const bool ten = s == p.slot;
            EXPECT_EQ(Sumy_Netto_VAT[s], jet::Currency::from_double(ten ? p.netto : 0))
                << p.stawka << " slot " << s;
            EXPECT_EQ(Sumy_VAT[s], jet::Currency::from_double(ten && podatki[s] ? p.podatek : 0))
                << p.stawka << " slot " << s;
        }
    }
}

}  // namespace
}  // namespace kroki_test
