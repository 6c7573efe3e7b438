// Step 3.68: stock ledger line table, stocktaking keys, settlement-line kinds and
// payment-form names.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok368 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.67);
        Sql("create table DOK_rei (ID_RI long, opis text(20))");
        Sql("create table DOK_rei_ZAWART (ID_RI long, ID long, cena money, COUNTT counter)");
        Sql("create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(30))");
        Sql("create table kontrahenci (konh_id long, FPLAT_NAZWA_ID text(50))");
        for (const char* t : {"dok_dd", "dok_dz", "dok_fak", "dok_kfa", "dok_kza", "dok_par",
                              "dok_pw", "dok_pz", "dok_rw", "dok_wz"})
            Sql(std::string("create table ") + t + " (id long, FPLAT_NAZWA_ID text(50))");
        Sql("create table dok_zak (id long, f_platnosci text(50))");
    }
    std::string Uruchom368() { return Krok(&ClsKonwersje::Konwersja_368); }
};

TEST_F(Krok368, PaymentFormsOfContractorsAndDocuments) {
    Sql("insert into kontrahenci values (1, 'P')");
    Sql("insert into kontrahenci values (2, 'G')");
    Sql("insert into kontrahenci values (3, 'Karta')");
    Sql("insert into kontrahenci values (4, '')");
    Sql("insert into kontrahenci values (5, null)");
    for (const char* t : {"dok_dd", "dok_fak", "dok_wz"}) {
        Sql(std::string("insert into ") + t + " values (1, 'P')");
        Sql(std::string("insert into ") + t + " values (2, 'G')");
        Sql(std::string("insert into ") + t + " values (3, 'Karta')");
        Sql(std::string("insert into ") + t + " values (4, null)");
    }
    Sql("insert into dok_zak values (1, 'P')");
    Sql("insert into dok_zak values (2, 'G')");
    Sql("insert into dok_zak values (3, 'x')");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Sp. pozost.zwr.')");
    Sql("insert into DOK_FIN_ZAWART values (2, 'Sp. pozost.')");
    Sql("insert into DOK_FIN_ZAWART values (3, 'faktura')");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Uruchom368(), "") << run;
        EXPECT_EQ(Kolumna("select FPLAT_NAZWA_ID from kontrahenci order by konh_id"),
                  (std::vector<std::string>{"Przelew", "Gotówka", "Gotówka", "Gotówka", "Null"}));
        for (const char* t : {"dok_dd", "dok_fak", "dok_wz"})
            EXPECT_EQ(Kolumna(std::string("select FPLAT_NAZWA_ID from ") + t + " order by id"),
                      (std::vector<std::string>{"Przelew", "Gotówka", "Karta", "Null"}))
                << t;
        EXPECT_EQ(Kolumna("select f_platnosci from dok_zak order by id"),
                  (std::vector<std::string>{"Przelew", "Gotówka", "x"}));
        EXPECT_EQ(Kolumna("select rodzaj_dok from DOK_FIN_ZAWART order by kp_id"),
                  (std::vector<std::string>{"PW", "RW", "faktura"}));
    }
}

TEST_F(Krok368, LedgerTableAndStocktakingKeys) {
    ASSERT_EQ(Uruchom368(), "");
    Sql("insert into Stany_magazynowe_zawart (IDProd, DataDok, konh_id) values (1, #01-02-2006#, "
        "3)");
    Sql("insert into DOK_rei values (1, 'a')");
    EXPECT_THROW(Sql("insert into DOK_rei values (1, 'b')"), jet::Error);
    // A second run keeps the ledger table and its rows.
    ASSERT_EQ(Uruchom368(), "");
    EXPECT_EQ(Wiersze_Z("select Ilosc, Zostalo, Lp from Stany_magazynowe_zawart"),
              (Wiersze{{"0", "0", "1"}}));
}

}  // namespace
}  // namespace kroki_test
