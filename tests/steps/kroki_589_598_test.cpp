// Steps 5.89 to 5.98 on a database of version 5.88: the second-warehouse flag, the first
// driver reference, bank contractors' account numbers and inventory quantities as Single.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki589 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.88);
        Sql("create table KADRY_OPCJE (ID_PRAC long)");
        Sql("create table S_RODZAJ_MWP (id_mwp long, Magazyn2 logical)");
        for (const char* t : {"DOK_MPP", "DOK_MP", "DOK_MW"})
            Sql(std::string("create table ") + t + " (id long, KONH_ID long" +
                (std::string(t) == "DOK_MPP" ? "" : ", Magazyn2 logical") + ")");
        Sql("create table kontrahenci (konh_id long, RKONH_NAZWA_ID text(50), konh_naz_bank "
            "text(50), konh_nr_konta text(50), KONH_NAZWA text(80), kier_id1 long)");
        Sql("create table kontrahenci_rabaty (Konh_id long, Id_GR_prod long, kier_id1 long)");
        Sql("create table S_Inne (ID_slownka long, countt counter, Nazwa text(255))");
        Sql("create table KH_KONTA (id long)");
        Sql("create table KH_SCHEMATY_ZAWART (id long)");
        Sql("create table KADRY_PIT (id long)");
        Sql("create table DOK_MI (countt counter, Ilosc long, IloscRi long, Prod_id long)");
        Sql("create unique index Podstawowy on DOK_MI (Prod_id) with primary");
    }
    void Kroki() {
        for (int v = 589; v <= 598; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
};

TEST_F(Kroki589, MovementDocumentsTakeTheirKindsSecondWarehouseFlag) {
    for (int r = 0; r <= 3; ++r)
        Sql("insert into S_RODZAJ_MWP values (" + std::to_string(r) + ", " + (r == 1 ? "-1" : "0") +
            ")");
    Sql("insert into DOK_MPP (id, KONH_ID) values (1, 1)");
    Sql("insert into DOK_MP values (1, 2, -1)");
    Sql("insert into DOK_MW values (1, 1, 0)");
    Sql("insert into DOK_MW values (2, 9, -1)");  // no such kind: keeps its flag
    Kroki();
    EXPECT_EQ(Kolumna("select Magazyn2 from DOK_MPP"), (std::vector<std::string>{"True"}));
    EXPECT_EQ(Kolumna("select Magazyn2 from DOK_MP"), (std::vector<std::string>{"False"}));
    EXPECT_EQ(Kolumna("select Magazyn2 from DOK_MW order by id"),
              (std::vector<std::string>{"True", "True"}));
}

TEST_F(Kroki589, FirstDriverComesFromTheGeneralDiscountRow) {
    Sql("insert into kontrahenci (konh_id, kier_id1) values (1, 5)");
    Sql("insert into kontrahenci (konh_id, kier_id1) values (2, 6)");  // no general row
    Sql("insert into kontrahenci_rabaty values (1, 3, 8)");
    Sql("insert into kontrahenci_rabaty values (1, 0, 7)");
    Sql("insert into kontrahenci_rabaty values (2, 4, 9)");
    Kroki();
    EXPECT_EQ(Kolumna("select kier_id1 from kontrahenci order by konh_id"),
              (std::vector<std::string>{"7", "6"}));
}

TEST_F(Kroki589, BankContractorsCarryTheirSortCodeInTheAccount) {
    struct Przypadek {
        const char* bank;
        const char* konto;
        const char* rodzaj;
        std::vector<std::string> po;  // bank name, account
    };
    const std::vector<Przypadek> przypadki = {
        {"'12345678'", "'111'", "'Bank'", {"N1", "12345678-111"}},
        {"'1234567'", "'222'", "'Bank'", {"N2", "1234567222"}},
        {"'123456789'", "'333'", "'Bank'", {"N3", "123456789333"}},
        {"Null", "'444'", "'Bank'", {"N4", "444"}},
        {"'87654321'", "Null", "'Bank'", {"N5", "87654321-"}},
        {"'12345678'", "'666'", "'Kasa'", {"12345678", "666"}},  // not a bank
    };
    for (size_t i = 0; i < przypadki.size(); ++i) {
        const auto& p = przypadki[i];
        Sql("insert into kontrahenci (konh_id, RKONH_NAZWA_ID, konh_naz_bank, konh_nr_konta, "
            "KONH_NAZWA) values (" +
            std::to_string(i + 1) + ", " + p.rodzaj + ", " + p.bank + ", " + p.konto + ", 'N" +
            std::to_string(i + 1) + "')");
    }
    Sql("insert into S_Inne (ID_slownka, Nazwa) values (4, 'stara')");
    Kroki();
    const Wiersze w =
        Wiersze_Z("select konh_naz_bank, konh_nr_konta from kontrahenci order by konh_id");
    for (size_t i = 0; i < przypadki.size(); ++i) EXPECT_EQ(w.at(i), przypadki[i].po) << i;
    EXPECT_EQ(Kolumna("select Nazwa from S_Inne where ID_slownka=4 order by Nazwa"),
              (std::vector<std::string>{"12345678", "N1", "N2", "N3", "N4", "N5"}));
    EXPECT_TRUE(Jest_Tabela("Kontrahenci_kontakty"));
    EXPECT_TRUE(Wiersze_Z("select * from Kontrahenci_kontakty").empty());
}

TEST_F(Kroki589, InventoryQuantitiesBecomeSingleWithoutAKey) {
    Sql("insert into DOK_MI (Ilosc, IloscRi, Prod_id) values (5, 7, 1)");
    Kroki();
    Kroki();  // again over the converted table: nothing changes
    Sql("insert into DOK_MI (Ilosc, IloscRi, Prod_id) values (2.5, 0.25, 1)");  // no key now
    EXPECT_EQ(Wiersze_Z("select Ilosc, IloscRi from DOK_MI order by countt"),
              (Wiersze{{"5", "7"}, {"2,5", "0,25"}}));
}

}  // namespace
}  // namespace kroki_test
