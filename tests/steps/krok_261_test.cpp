// Step 2.61 on a database of version 2.60: every amount of the purchase VAT register
// rounded to two decimals in countt order.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok261 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.60);
        Sql("create table tabela_vat (countt counter, id long, r_dok text(20), n22 money, "
            "vat22 money, n7 money, vat7 money, vat3 money, n3 money, nzw money, n0 money)");
    }
    // A register row: every amount the same (a Jet literal or null).
    static void Wiersz(int id, const std::string& kwota) {
        Sql("insert into tabela_vat (id, r_dok, n22, vat22, n7, vat7, vat3, n3, nzw, n0) values (" +
            std::to_string(id) + ", 'zakupy', " + kwota + ", " + kwota + ", " + kwota + ", " +
            kwota + ", " + kwota + ", " + kwota + ", " + kwota + ", " + kwota + ")");
    }
    static Wiersze Kwoty() {
        return Wiersze_Z(
            "select n22, vat22, n7, vat7, vat3, n3, nzw, n0 from tabela_vat order by countt");
    }
    static std::vector<std::string> Osiem(const std::string& v) {
        return std::vector<std::string>(8, v);
    }
};

TEST_F(Krok261, EveryAmountIsRoundedAwayFromZeroAtTheHalf) {
    Wiersz(1, "1.005");
    Wiersz(2, "-1.005");
    Wiersz(3, "null");
    Wiersz(4, "12.3449");
    Wiersz(5, "0.0049");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_261), "");
    EXPECT_EQ(Kwoty(),
              (Wiersze{Osiem("1,01"), Osiem("-1,01"), Osiem("0"), Osiem("12,34"), Osiem("0")}));
    // A second run finds every amount rounded already.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_261), "");
    EXPECT_EQ(Kwoty()[0], Osiem("1,01"));
}

TEST_F(Krok261, AnEmptyRegisterEndsTheWalkAtOnce) {
    std::string wynik = "x";
    ASSERT_EQ(Uruchom([&] { wynik = k.Zaokraglij_Rejestr_VAT(""); }), "");
    EXPECT_EQ(wynik, "");
}

TEST_F(Krok261, AResumedWalkStartsAtItsRecord) {
    for (int id = 1; id <= 4; ++id) Wiersz(id, "2.345");
    std::string wynik = "x";
    ASSERT_EQ(Uruchom([&] { wynik = k.Zaokraglij_Rejestr_VAT(" where countt>=3"); }), "");
    EXPECT_EQ(wynik, "");
    EXPECT_EQ(Kolumna("select n22 from tabela_vat order by countt"),
              (std::vector<std::string>{"2,345", "2,345", "2,35", "2,35"}));
}

// A failure other than the multiple-step one ends the walk and the step quietly: the
// records before it are rounded, the failing one and those after it keep their amounts.
TEST_F(Krok261, AnotherFailureEndsTheStepQuietly) {
    Sql("create unique index n22 on tabela_vat (n22)");
    Sql("insert into tabela_vat (id, n22) values (1, 1.01)");
    Sql("insert into tabela_vat (id, n22) values (2, 1.005)");
    Sql("insert into tabela_vat (id, n22) values (3, 2.345)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_261), "");
    EXPECT_EQ(Kolumna("select n22 from tabela_vat order by countt"),
              (std::vector<std::string>{"1,01", "1,005", "2,345"}));
}

// A register that cannot be read: the opener's question is answered Ignore, and the
// step ends without changing anything.
TEST_F(Krok261, AnIgnoredOpenEndsTheStep) {
    Sql("alter table tabela_vat drop column vat3");
    Sql("insert into tabela_vat (id, n22) values (1, 1.005)");
    Odpowiedzi({5});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_261), "");
    EXPECT_EQ(Kolumna("select n22 from tabela_vat"), (std::vector<std::string>{"1,005"}));
    EXPECT_NE(komunikaty.str().find("uwaga wystąpił następujący błąd"), std::string::npos);
}

}  // namespace
}  // namespace kroki_test
