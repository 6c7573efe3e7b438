// Steps 2.21 to 2.29: stocktaking value, users' rights, depreciation amounts, the
// purchase document kind, the default payment form and the new columns.
#include "baza_kroku.h"

namespace kroki_test {
namespace {

constexpr int kDaoBoolean = 1;
constexpr int kDaoLong = 4;
constexpr int kDaoCurrency = 5;
constexpr int kDaoText = 10;

class Kroki221Test : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.20); }
};

TEST_F(Kroki221Test, ColumnsAddedAndRightsCleared) {
    Sql("create table REMANENTINWENT_ZAWARTOSC (id long)");
    Sql("create table uzytkownicy (nazwa text(50), prawa text(255))");
    Sql("insert into uzytkownicy values ('ADMIN', '1111')");
    Sql("create table KPIR_KSIEGA (id long)");
    Sql("create table PRODUKTY (prod_id long)");
    for (int run = 0; run < 2; ++run) {  // a resumed run finds every column in place
        SCOPED_TRACE(run);
        for (MetodaKroku m : {&ClsKonwersje::Konwersja_221, &ClsKonwersje::Konwersja_222,
                              &ClsKonwersje::Konwersja_228, &ClsKonwersje::Konwersja_229})
            EXPECT_EQ(Krok(m), "");
    }
    EXPECT_EQ(Typ_Pola("REMANENTINWENT_ZAWARTOSC", "wartosc"), kDaoCurrency);
    EXPECT_EQ(Wiersze_Z("select nazwa, prawa from uzytkownicy"), (Wiersze{{"ADMIN", "Null"}}));
    for (const char* k : {"kwota_pp", "kwota_rir", "kwota_wp", "kwota_in"})
        EXPECT_EQ(Typ_Pola("KPIR_KSIEGA", k), kDaoCurrency) << k;
    EXPECT_EQ(Typ_Pola("PRODUKTY", "koszt_uz"), kDaoBoolean);
    EXPECT_EQ(Typ_Pola("PRODUKTY", "koszt_sz"), kDaoBoolean);
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Kroki221Test, DepreciationAmountsOfFixedAssets) {
    Sql("create table SRODKI_TRWALE (nazwa text(50), wartosc money, umorzenie money, sp_amort "
        "text(50))");
    Sql("insert into SRODKI_TRWALE values ('Piec', 10000, 2500, 'Liniowa')");
    Sql("insert into SRODKI_TRWALE values ('Grunt', 50000, 0, 'Bez amortyzacji')");
    Sql("insert into SRODKI_TRWALE values ('Garaż', 8000, Null, 'Bez amortyzacji')");
    Sql("insert into SRODKI_TRWALE values ('Auto', Null, 100, 'Liniowa')");
    Sql("insert into SRODKI_TRWALE values ('Waga', 900, Null, 'Jednorazowa')");
    // Depreciation lines kept from an earlier, interrupted run.
    Sql("create table SRODKI_TRWALE_ZAWART (ID long, MIESIAC long, ROK long, KPiR_ID long, "
        "KWOTA money)");
    Sql("insert into SRODKI_TRWALE_ZAWART values (1, 1, 2001, 7, 41.67)");

    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_223), "");
    // A missing value or depreciation counts as none.
    const Wiersze oczekiwane = {{"Auto", "-100", "0", "0"},
                                {"Garaż", "0", "0", "0"},
                                {"Grunt", "0", "0", "0"},
                                {"Piec", "7500", "0", "0"},
                                {"Waga", "900", "0", "0"}};
    const char* zapytanie =
        "select nazwa, KWOTA_DO_AMORT, KWOTA_ZAMORT, ILOSC_AMORT from SRODKI_TRWALE order by "
        "nazwa";
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
    EXPECT_EQ(Typ_Pola("SRODKI_TRWALE", "ILOSC_AMORT"), kDaoLong);
    EXPECT_EQ(Wiersze_Z("select * from SRODKI_TRWALE_ZAWART"),
              (Wiersze{{"1", "1", "2001", "7", "41,67"}}));

    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_223), "");  // resumed
    EXPECT_EQ(Wiersze_Z(zapytanie), oczekiwane);
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Kroki221Test, PurchaseKindReplacesTheRRFlag) {
    struct Przypadek {
        const char* nazwa;
        bool z_rr;  // Zakupy has the RR column before the step
        Wiersze oczekiwane;
    };
    const std::vector<Przypadek> przypadki = {
        {"with RR", true, {{"1", "0"}, {"2", "0"}, {"3", "1"}}},
        {"without RR", false, {{"1", "0"}, {"2", "0"}, {"3", "0"}}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Sql("create table Zakupy (numer_id long" + std::string(p.z_rr ? ", RR Logical)" : ")"));
        Sql("create table zakupy_ilosc (sur_id long, ilosc single)");
        if (p.z_rr) {
            Sql("create index indRR on Zakupy (RR)");
            Sql("insert into Zakupy values (1, Null)");
            Sql("insert into Zakupy values (2, 0)");
            Sql("insert into Zakupy values (3, -1)");
        } else {
            for (int i = 1; i <= 3; ++i)
                Sql("insert into Zakupy values (" + std::to_string(i) + ")");
        }
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_224), "");
        EXPECT_EQ(Wiersze_Z("select numer_id, RodzDok from Zakupy order by numer_id"),
                  p.oczekiwane);
        EXPECT_EQ(Typ_Pola("Zakupy", "RodzDok"), kDaoLong);
        EXPECT_FALSE(Czyta_Sie("select RR from Zakupy"));
        EXPECT_FALSE(Jest_Tabela("zakupy_ilosc"));
        Sql("drop table Zakupy");
    }
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Kroki221Test, MissingPaymentFormBecomesCash) {
    Sql("create table ZAKUPY (numer_id long, f_platnosci text(50))");
    Sql("insert into ZAKUPY values (1, Null)");
    Sql("insert into ZAKUPY values (2, 'Przelew')");
    Sql("insert into ZAKUPY values (3, '')");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_227), "");
    EXPECT_EQ(Wiersze_Z("select numer_id, f_platnosci, Opis_Zdarzenia from ZAKUPY order by "
                        "numer_id"),
              (Wiersze{{"1", "Gotówka", "Null"}, {"2", "Przelew", "Null"}, {"3", "", "Null"}}));
    EXPECT_EQ(Typ_Pola("ZAKUPY", "Opis_Zdarzenia"), kDaoText);
    Sql("insert into ZAKUPY (numer_id, Opis_Zdarzenia) values (4, '" + std::string(50, 'x') + "')");
    EXPECT_THROW(Sql("insert into ZAKUPY (numer_id, Opis_Zdarzenia) values (5, '" +
                     std::string(51, 'x') + "')"),
                 jet::Error);
}

}  // namespace
}  // namespace kroki_test
