// Steps 3.17 to 3.20 on a database of version 3.16: the contract table anew and widened,
// closed cash reports, the default category and the cash account of cash documents.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki317 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.16); }
};

TEST_F(Kroki317, ContractsAnewReportsClosedCategoryDefault) {
    Sql("create table KADRY_PRACOWNICY (ID_prac long, Kategoria text(1))");
    for (const char* w : {"1, null", "2, ''", "3, 'Z'"})
        Sql(std::string("insert into KADRY_PRACOWNICY values (") + w + ")");
    Sql("create table KADRY_UMOWY (ID_prac long, numer text(10))");
    Sql("insert into KADRY_UMOWY values (1, 'U/1')");
    Sql("create table dok_fra (FRA_ID long, Closed long, Open_by text(20))");
    Sql("insert into dok_fra values (1, 0, 'ANNA')");
    Sql("insert into dok_fra values (2, null, null)");
    for (const char* t : {"DEKLARACJE", "PLACE_DANE", "s_us"}) {
        Sql(std::string("create table ") + t + " (ID long)");
        Sql(std::string("insert into ") + t + " values (1)");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_317), "");
    EXPECT_EQ(Kolumna("select count(*) from KADRY_UMOWY"), (Lista{"0"}));
    EXPECT_EQ(Wiersze_Z("select UBE, UBZ from KADRY_PRACOWNICY where ID_prac=1"),
              (Wiersze{{"0", "0"}}));
    EXPECT_EQ(Wiersze_Z("select Closed, Open_by from dok_fra order by FRA_ID"),
              (Wiersze{{"-1", ""}, {"-1", ""}}));
    EXPECT_EQ(Wiersze_Z("select D.Wart_KP, P.Wart_KP, U.ADRESBANKU from DEKLARACJE as D, "
                        "PLACE_DANE as P, s_us as U"),
              (Wiersze{{"0", "0", "Null"}}));
    // Posts of 3 characters until 3.18 widens them, keeping what was written.
    EXPECT_NE(Uruchom([] { Sql("insert into KADRY_UMOWY (Stanowisko) values ('Piekarz')"); }), "");
    Sql("insert into KADRY_UMOWY (ID_prac, Stanowisko, [Dział]) values (1, 'PIE', 'PRO')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_318), "");
    Sql("insert into KADRY_UMOWY (ID_prac, Stanowisko, [Dział]) values (2, 'Piekarz mistrz', "
        "'Produkcja pieczywa')");
    EXPECT_EQ(Wiersze_Z("select Stanowisko, [Dział], Countt from KADRY_UMOWY order by ID_prac"),
              (Wiersze{{"PIE", "PRO", "1"}, {"Piekarz mistrz", "Produkcja pieczywa", "2"}}));
    EXPECT_EQ(Kolumna("select Kategoria from KADRY_PRACOWNICY order by ID_prac"),
              (Lista{"P", "P", "Z"}));
}

TEST_F(Kroki317, CashAccountOfTheParty) {
    Sql("create table Kontrahenci (konh_id long, nr_konta_kasowego text(50))");
    Sql("insert into Kontrahenci values (1, '100-1')");
    Sql("insert into Kontrahenci values (2, null)");
    Sql("create table dok_fin (kp_id long, konh_id long)");
    for (const char* w : {"1, 1", "2, 2", "3, 9", "4, null"})
        Sql(std::string("insert into dok_fin values (") + w + ")");
    Sql("create table DOK_rei_ZAWART (rei_id long, prod_id long)");
    Sql("create unique index Podstawowy on DOK_rei_ZAWART (rei_id, prod_id) with primary");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_319), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_320), "");
    EXPECT_EQ(Kolumna("select NR_KONTA_Fk from dok_fin order by kp_id"),
              (Lista{"100-1", "Null", "Null", "Null"}));
    // The key of the stocktaking lines is gone: a line may repeat.
    Sql("insert into DOK_rei_ZAWART values (1, 1)");
    Sql("insert into DOK_rei_ZAWART values (1, 1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_320), "");
}

}  // namespace
}  // namespace kroki_test
