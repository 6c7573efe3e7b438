// Steps 3.17 to 3.20 on a database of version 3.16: benefit flags, the contract table
// and its widened columns, closed cash reports, settled amounts, tax-office bank data,
// the packaging flag and the cash account of cash documents.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki317 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.16);
        Sql("create table KADRY_PRACOWNICY (ID_prac long, Kategoria text(1))");
        Sql("insert into KADRY_PRACOWNICY values (1, null)");
        Sql("insert into KADRY_PRACOWNICY values (2, '')");
        Sql("insert into KADRY_PRACOWNICY values (3, 'Z')");
        Sql("create table KADRY_UMOWY (ID_prac long, numer text(10))");
        Sql("insert into KADRY_UMOWY values (1, 'U/1')");
        Sql("create table dok_fra (FRA_ID long, Closed long, Open_by text(20))");
        Sql("insert into dok_fra values (1, 0, 'ANNA')");
        Sql("insert into dok_fra values (2, null, null)");
        Sql("create table DEKLARACJE (ID long)");
        Sql("insert into DEKLARACJE values (1)");
        Sql("create table PLACE_DANE (ID long)");
        Sql("insert into PLACE_DANE values (1)");
        Sql("create table s_us (US_ID long, nazwa text(50))");
        Sql("create table Kontrahenci (konh_id long, nr_konta_kasowego text(50))");
        Sql("insert into Kontrahenci values (1, '100-1')");
        Sql("insert into Kontrahenci values (2, null)");
        Sql("create table dok_fin (kp_id long, konh_id long)");
        for (const char* w : {"1, 1", "2, 2", "3, 9", "4, null"})
            Sql(std::string("insert into dok_fin values (") + w + ")");
        Sql("create table DOK_rei_ZAWART (rei_id long, prod_id long)");
        Sql("create unique index Podstawowy on DOK_rei_ZAWART (rei_id, prod_id) with primary");
    }
    void Kroki(int od, int do_) {
        for (const auto& [v, m] : Zbudowane_Kroki()) {
            if (v >= od && v <= do_) {
                ASSERT_EQ(Krok(m), "") << v;
            }
        }
    }
};

TEST_F(Kroki317, ContractsAnewReportsClosedAmountsZero) {
    Kroki(317, 317);
    EXPECT_EQ(Kolumna("select count(*) from KADRY_UMOWY"), (Lista{"0"}));
    EXPECT_EQ(Wiersze_Z("select UBE, UBR, UBC, UBW, UBZ from KADRY_PRACOWNICY where ID_prac=1"),
              (Wiersze{{"0", "0", "0", "0", "0"}}));
    EXPECT_EQ(Typ_Pola("KADRY_PRACOWNICY", "UBZ"), dao::dbByte);
    EXPECT_EQ(Wiersze_Z("select Closed, Open_by from dok_fra order by FRA_ID"),
              (Wiersze{{"-1", ""}, {"-1", ""}}));
    EXPECT_EQ(Kolumna("select Wart_KP from DEKLARACJE"), (Lista{"0"}));
    EXPECT_EQ(Kolumna("select Wart_KP from PLACE_DANE"), (Lista{"0"}));
    for (const char* k :
         {"NAZWABANKU", "NR_BANKU", "NR_KONTA", "ZUS51", "ZUS52", "ZUS53", "NR_KONTA_KON_VAT",
          "NR_KONTA_KON_DOCH4", "NR_KONTA_KON_DOCH5", "ADRESBANKU"})
        EXPECT_EQ(Typ_Pola("s_us", k), dao::dbText) << k;
    // The contract table takes 3-character posts until 3.18 widens them.
    EXPECT_NE(Uruchom([] { Sql("insert into KADRY_UMOWY (Stanowisko) values ('Piekarz')"); }), "");
    Sql("insert into KADRY_UMOWY (ID_prac, Stanowisko, [Dział], StawkaG) values (1, 'PIE', "
        "'PRO', 2500)");
    Kroki(318, 318);
    Sql("insert into KADRY_UMOWY (ID_prac, Stanowisko, [Dział]) values (2, 'Piekarz mistrz', "
        "'Produkcja pieczywa')");
    EXPECT_EQ(Wiersze_Z("select ID_prac, Stanowisko, [Dział], StawkaG, Countt from KADRY_UMOWY "
                        "order by ID_prac"),
              (Wiersze{{"1", "PIE", "PRO", "2500", "1"},
                       {"2", "Piekarz mistrz", "Produkcja pieczywa", "Null", "2"}}));
    EXPECT_EQ(Kolumna("select Kategoria from KADRY_PRACOWNICY order by ID_prac"),
              (Lista{"P", "P", "Z"}));
}

TEST_F(Kroki317, PackagingFlagAndCashAccount) {
    Kroki(319, 320);
    EXPECT_EQ(Typ_Pola("Kontrahenci", "Czy_Drukowac_Opakowania"), dao::dbBoolean);
    EXPECT_EQ(Kolumna("select NR_KONTA_Fk from dok_fin order by kp_id"),
              (Lista{"100-1", "Null", "Null", "Null"}));
    // The primary key of the stocktaking lines is gone: repeated lines are allowed.
    Sql("insert into DOK_rei_ZAWART values (1, 1)");
    Sql("insert into DOK_rei_ZAWART values (1, 1)");
    Kroki(320, 320);  // again: the missing index and the existing column are absorbed
}

}  // namespace
}  // namespace kroki_test
