// Step 5.99 on a database of version 5.98: correction invoices whose per-rate breakdown
// does not add up to their totals take the breakdown of their lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

constexpr const char* kRozbicie = "n22, vat22, n12, vat12, n7, vat7, n3, vat3, n0, nzw";

class Krok599 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.98);
        Sql("create table DOK_KFA (FKOROUT_ID long, fkorout_wart_n money, fkorout_wart_vat money, "
            "n22 money, vat22 money, n7 money, vat7 money, n3 money, vat3 money, n0 money, nzw "
            "money, n12 money, vat12 money, fkorout_rabat money)");
        Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, ZFKOROUT_ILOSC single, CENA_ORG "
            "money, zfkorout_ilosckor single, ZFKOROUT_CENA_N money, ZFKOROUT_VAT text(5))");
        Sql("create table kontrahenci_rabaty (konh_id long, Id_GR_prod long, kier_id1 long)");
    }
    // A correction whose totals (net 1, tax 0) disagree with its empty breakdown.
    static void Korekta(int id, const std::string& rabat) {
        Sql("insert into DOK_KFA values (" + std::to_string(id) +
            ", 1, 0, 0, 0, 0, 0, 0, 0, 0, "
            "0, 0, 0, " +
            rabat + ")");
    }
    // A line whose net value changes by zmiana (after: quantity 1 at zmiana; before: 0).
    static void Linia(int id, const std::string& zmiana, const std::string& stawka) {
        Sql("insert into DOK_KFA_ZAWART values (" + std::to_string(id) + ", 0, 0, 1, " + zmiana +
            ", " + stawka + ")");
    }
    static std::vector<std::string> Rozbicie(int id) {
        return Wiersze_Z(std::string("select ") + kRozbicie +
                         " from DOK_KFA where FKOROUT_ID=" + std::to_string(id))
            .at(0);
    }
};

TEST_F(Krok599, BreakdownIsRebuiltFromTheLinesPerRate) {
    Korekta(1, "0");
    Linia(1, "-10.04", "'22'");
    Linia(1, "-10.04", "'22'");
    Korekta(2, "10");
    for (const char* s : {"'12'", "'7'", "'3'", "'0'", "'zw'", "'ZW'", "'22 '"}) Linia(2, "100", s);
    Korekta(3, "100");
    Linia(3, "50", "'22'");
    Korekta(4, "0");         // no lines
    Korekta(5, "Null");      // no discount: 0 %
    Linia(5, "10", "Null");  // no rate: exempt
    // Adds up to its totals: left alone and not counted.
    Sql("insert into DOK_KFA values (6, 5, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0)");
    Linia(6, "99", "'22'");
    Korekta(7, "0");  // the line's quantity before is not given: its price counts nothing
    Sql("insert into DOK_KFA_ZAWART values (7, Null, 5, 1, 10, 'zw')");
    // An empty bucket counts as 0, so that the breakdown is compared and rebuilt.
    Sql("insert into DOK_KFA values (8, 1, 0, Null, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)");
    Linia(8, "5", "'22'");
    // No id: no lines to take, and no stop.
    Sql("insert into DOK_KFA values (Null, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_599), "");
    using V = std::vector<std::string>;
    EXPECT_EQ(Rozbicie(1), (V{"-20,08", "-4,42", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(Rozbicie(2), (V{"0", "0", "90", "10,8", "90", "6,3", "90", "2,7", "90", "270"}));
    EXPECT_EQ(Rozbicie(3), (V{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(Rozbicie(4), (V{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(Rozbicie(5), (V{"0", "0", "0", "0", "0", "0", "0", "0", "0", "10"}));
    EXPECT_EQ(Rozbicie(6), (V{"5", "1", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(Rozbicie(7), (V{"0", "0", "0", "0", "0", "0", "0", "0", "0", "10"}));
    EXPECT_EQ(Rozbicie(8), (V{"5", "1,1", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(Linie_Logu("Poprawiono Vat na 7 korektach.").size(), 1u);
}

TEST_F(Krok599, DiscountRowsTakeTheDriverOfTheGeneralRow) {
    Sql("insert into kontrahenci_rabaty values (1, 0, 7)");
    Sql("insert into kontrahenci_rabaty values (1, 3, 2)");
    Sql("insert into kontrahenci_rabaty values (2, 3, 4)");  // no general row
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_599), "");
    EXPECT_EQ(Kolumna("select kier_id1 from kontrahenci_rabaty order by konh_id, Id_GR_prod"),
              (std::vector<std::string>{"7", "7", "4"}));
    EXPECT_EQ(Linie_Logu("Poprawiono Vat na 0 korektach.").size(), 1u);
}

}  // namespace
}  // namespace kroki_test
