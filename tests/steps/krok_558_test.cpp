// Step 5.58: unique short names, codes and product codes of 25 characters, and the
// contractors numbered 1 to N.
#include <set>
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok558 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.57);
        Sql("create table KH_KONTA (ROK long, NR_K_1 text(10), NR_K_2 text(10), NR_K_3 "
            "text(10), NR_K_4 text(10))");
        Sql("insert into KH_KONTA values (2005, '201', '1', '', '')");
        Sql("create table kontrahenci (konh_id long, KONH_NAZ_SKROT text(30), Konh_kod "
            "text(16), konh_numer long, LCEN_NAZWA_ID text(20))");
        Sql("create table produkty (prod_id long, prod_kod text(20))");
    }
    void Kontrahent(int id, const std::string& skrot, const std::string& kod, int numer) {
        Sql("insert into kontrahenci values (" + std::to_string(id) + ", " + skrot + ", " + kod +
            ", " + std::to_string(numer) + ", 'Detal')");
    }
};

TEST_F(Krok558, CodesBecomeUniqueAndNumbersRunFromOne) {
    Kontrahent(1, "'abc'", "'K1'", 9);
    Kontrahent(2, "'ABC'", "'K1'", 5);
    Kontrahent(3, "'Piekarnia Pod Gubałówką sp'", "'k1'", 12);  // 26 characters
    Kontrahent(4, "'Piekarnia Pod Gubałówką s'", "'K2'", 9);
    Sql("insert into produkty values (1, 'X')");
    Sql("insert into produkty values (2, 'X')");
    Sql("insert into produkty values (3, 'Y')");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_558), "");

    const auto skroty = Kolumna("select KONH_NAZ_SKROT from kontrahenci order by konh_id");
    ASSERT_EQ(skroty.size(), 4u);
    EXPECT_EQ(skroty[0].substr(0, 3), "ABC");
    EXPECT_EQ(skroty[1].substr(0, 3), "ABC");
    EXPECT_NE(skroty[0], skroty[1]);
    // The 26th character is cut (and logged); the cut name then equals another one and
    // is made unique like any duplicate, within 25 characters.
    EXPECT_EQ(Linie_Logu("skrócono do 25 znaków").size(), 1u);
    EXPECT_NE(skroty[2], skroty[3]);
    EXPECT_EQ(Kolumna("select max(len(KONH_NAZ_SKROT)) from kontrahenci"),
              (std::vector<std::string>{"25"}));
    const auto kody = Kolumna("select Konh_kod from kontrahenci order by konh_id");
    EXPECT_EQ(std::set<std::string>(kody.begin(), kody.end()).size(), 4u);
    EXPECT_EQ(kody[3], "K2");
    EXPECT_EQ(Kolumna("select konh_numer from kontrahenci order by konh_numer"),
              (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Kolumna("select konh_id from kontrahenci where konh_numer=1"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(Kolumna("select prod_kod from produkty order by prod_id"),
              (std::vector<std::string>{"X", "X1", "Y"}));
    // The unique indexes stand (columns named: the retyped ones now stand last).
    for (const char* s :
         {"insert into produkty (prod_id, prod_kod) values (4, 'Y')",
          "insert into kontrahenci (konh_id, KONH_NAZ_SKROT, Konh_kod, konh_numer) values (5, "
          "'N', 'K2', 99)",
          "insert into kontrahenci (konh_id, KONH_NAZ_SKROT, Konh_kod, konh_numer) values (6, "
          "'N2', 'K9', 1)"})
        EXPECT_NE(Uruchom([&] { Sql(s); }), "") << s;
    EXPECT_EQ(Typ_Pola("KH_KONTA", "NR_K_2"), Typ_Pola("kontrahenci", "Konh_kod"));
}

}  // namespace
}  // namespace kroki_test
