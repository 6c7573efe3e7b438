// Steps 3.25 to 3.28 on a database of version 3.24: cash-report and cash-box totals
// rebuilt from the cash documents, receipt totals rebuilt from their buckets, the cash-box
// field and the tax-settings table.
#include <string>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki325 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.24);
        Sql("create table DOK_FRA (raport_id long, id_kasy long, kwota_kp money, kwota_kw money, "
            "Bilans money, Saldo money, Closed logical)");
        Sql("create index Closed on DOK_FRA (Closed)");
        Sql("create table DOK_FIN (kp_id long, raport_id long, kwota money, kwota_kw money)");
        Sql("create table KASYBANKI (id_kasy long, nazwa text(30))");
        Sql("create table DOK_PAR (DDOUT_ID long, DDOUT_WART_N money, DDOUT_wart_VAT money, n22 "
            "money, vat22 money, n7 money, vat7 money, n3 money, vat3 money, n0 money, nZW money)");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
};

TEST_F(Kroki325, ReportsAndBoxesSumTheirDocuments) {
    // Report 1: 100 in, 30 out; report 2: 20 out; report 3: no documents, stale totals;
    // report 4: a document with a Null amount; report 0 takes no document of no report.
    Sql("insert into DOK_FRA values (0, 1, 5, 5, 5, 5, -1)");
    Sql("insert into DOK_FRA values (1, 1, 5, 5, 5, 5, -1)");
    Sql("insert into DOK_FRA values (2, 1, 0, 0, 0, 0, -1)");
    Sql("insert into DOK_FRA values (3, 2, 9, 9, 9, 9, -1)");
    Sql("insert into DOK_FRA values (4, 3, 0, 0, 0, 0, -1)");
    Sql("insert into DOK_FIN values (1, 1, 60, 0)");
    Sql("insert into DOK_FIN values (2, 1, 40, 30)");
    Sql("insert into DOK_FIN values (3, 2, 0, 20)");
    Sql("insert into DOK_FIN values (4, 4, Null, 10)");
    Sql("insert into DOK_FIN values (5, 0, 70, 0)");
    Sql("insert into KASYBANKI (id_kasy) values (1)");
    Sql("insert into KASYBANKI (id_kasy) values (2)");
    Sql("insert into KASYBANKI (id_kasy) values (5)");
    Kroki(325, 325);
    EXPECT_FALSE(Czyta_Sie("select Closed from DOK_FRA"));
    EXPECT_EQ(Typ_Pola("KASYBANKI", "Saldo"), dao::dbCurrency);
    EXPECT_EQ(Wiersze_Z("select raport_id, kwota_kp, kwota_kw, Bilans, Saldo from DOK_FRA "
                        "order by raport_id"),
              (Wiersze{{"0", "0", "0", "0", "0"},
                       {"1", "100", "30", "70", "0"},
                       {"2", "0", "20", "-20", "0"},
                       {"3", "0", "0", "0", "0"},
                       {"4", "0", "10", "-10", "0"}}));  // a missing amount counts as none
    EXPECT_EQ(Wiersze_Z("select id_kasy, Saldo from KASYBANKI order by id_kasy"),
              (Wiersze{{"1", "50"}, {"2", "0"}, {"5", "0"}}));
    // Again: the same totals, not doubled.
    Kroki(325, 325);
    EXPECT_EQ(Kolumna("select Saldo from KASYBANKI where id_kasy=1"),
              (std::vector<std::string>{"50"}));
}

TEST_F(Kroki325, ReceiptsWithThreePercentTakeTheirBucketTotals) {
    Sql("insert into DOK_PAR values (1, 1, 1, 10, 2.2, 20, 1.4, 30, 0.9, 5, 7)");
    Sql("insert into DOK_PAR values (2, 1, 1, 10, 2.2, 0, 0, 0, 0, 0, 0)");
    Sql("insert into DOK_PAR values (3, 1, 1, 10, 2.2, 0, 0, 0, 0.9, Null, 0)");
    Kroki(325, 326);
    EXPECT_EQ(Wiersze_Z("select DDOUT_WART_N, DDOUT_wart_VAT from DOK_PAR order by DDOUT_ID"),
              (Wiersze{{"72", "4,5"}, {"1", "1"}, {"10", "3,1"}}));  // a missing bucket adds none
}

TEST_F(Kroki325, CashBoxFieldAndTaxSettingsTable) {
    Kroki(325, 328);
    EXPECT_EQ(Typ_Pola("KASYBANKI", "NrWFK"), dao::dbText);
    Sql("insert into KADRY_PODATEK (ID_prac, Dataod, KOSZT, ULGA, prog) values (7, #1/1/2002#, "
        "'1', '2', '3')");
    Kroki(327, 328);  // again: the table and its row stay
    EXPECT_EQ(Wiersze_Z("select ID_prac, KOSZT, ULGA, prog, Countt from KADRY_PODATEK"),
              (Wiersze{{"7", "1", "2", "3", "1"}}));
}

}  // namespace
}  // namespace kroki_test
