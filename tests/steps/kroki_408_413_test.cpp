// Steps 4.11 to 4.13 on databases built with the tables they read: contractor
// groups and positive cash amounts, old orders removed only on
// request, routes of orders taken from their contractors, and the new index set.
#include <string>
#include <vector>

#include "db/komunikaty.h"
#include "steps/baza_kroku.h"
#include "steps/przerwana_zmiana.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

constexpr const char* kNaglowki[] = {"DOK_DD",  "DOK_RW",  "DOK_FAK", "DOK_PAR", "DOK_DZ",
                                     "DOK_PW",  "DOK_PZ",  "DOK_WZ",  "DOK_KFA", "DOK_KZA",
                                     "DOK_ZAK", "DOK_PRO", "DOK_PRS", "DOK_PZS", "DOK_PFA",
                                     "DOK_ZPF", "DOK_DAR"};

class Kroki408 : public BazaKroku {
  protected:
    void Naglowki(const std::string& kolumny) {
        for (const char* t : kNaglowki)
            Sql(std::string("create table ") + t + " (" + kolumny + ")");
    }
};

TEST_F(Kroki408, CashAmountsBecomePositiveAndSettleAgain) {
    Otworz(4.10);
    Sql("create table Kontrahenci (konh_id long)");
    Sql("create table dok_fin (kp_id long, kwota money, kwota_KW money, Wart_Rozl money)");
    Sql("create table dok_fin_zawart (kp_id long, kwota money)");
    Sql("insert into dok_fin values (1, -50, -20, 9)");
    Sql("insert into dok_fin values (2, 10, 0, 9)");
    Sql("insert into dok_fin_zawart values (1, -30)");
    Sql("insert into dok_fin_zawart values (1, 20)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_411), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_411), "");
    EXPECT_EQ(Wiersze_Z("select kp_id, kwota, kwota_KW, Wart_Rozl from dok_fin order by kp_id"),
              (Wiersze{{"1", "50", "20", "50"}, {"2", "10", "0", "0"}}));
    EXPECT_EQ(Wiersze_Z("select id_GRKonh, Grupa_Konh from S_Grupy_Kontrahentow"),
              (Wiersze{{"0", "Podstawowa"}}));
}

class Krok412 : public Kroki408 {
  protected:
    void SetUp() override {
        Otworz(4.11);
        std::string kier;
        for (int n = 2; n <= 9; ++n) kier += ", kier_id" + std::to_string(n) + " long";
        Sql("create table KONTRAHENCI (konh_id long, kier_id long" + kier + ")");
        Sql("create table DOK_ZAM (zam_id long, konh_id long, data date)");
        Sql("create table DOK_ZAM_ZAWART (zam_id long, ilosc single)");
        Sql("create table ZAMOWIENIA_SZABLON (konh_id long, ilosc single)");
        Sql("create table DOK_FIN (kp_id long, NIEZALEZNE byte)");
        Sql("create table DOK_FIN_ZAWART (kp_id long)");
        Naglowki("DDOUT_ID long");
        for (const char* t : {"DOK_DD_ZAWART", "DOK_DZ_ZAWART", "DOK_FRA"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long)");
        Sql("insert into DOK_DD values (1)");
        Sql("insert into KONTRAHENCI (konh_id, kier_id, kier_id2, kier_id3) values (1, 11, 12, 0)");
        Sql("insert into KONTRAHENCI (konh_id, kier_id, kier_id2, kier_id3) values (2, 21, 0, "
            "Null)");
        // An old order, a recent one, an order of a contractor that is gone, and a line and
        // a comment of an order that is gone.
        Sql("insert into DOK_ZAM values (1, 1, #01-10-2000#)");
        Sql("insert into DOK_ZAM values (2, 2, Now())");
        Sql("insert into DOK_ZAM values (3, 3, Now())");
        for (int z : {1, 2, 3, 4})
            Sql("insert into DOK_ZAM_ZAWART values (" + std::to_string(z) + ", 5)");
        Komentarze();
        Sql("insert into DOK_FIN values (1, 2)");
        Sql("insert into DOK_FIN values (2, 2)");
        Sql("insert into DOK_FIN values (0, 2)");
        Sql("insert into DOK_FIN_ZAWART values (1)");
        Sql("insert into DOK_FIN_ZAWART values (0)");
    }

    // The orders' comments, one for each order.
    static void Komentarze() {
        Sql("create table ZAMOWIENIA_KOMENTARZE (iddd long, TEKST text(255), nr_zamowienia "
            "text(30))");
        for (int z : {1, 2, 3, 4})
            Sql("insert into ZAMOWIENIA_KOMENTARZE values (" + std::to_string(z) + ", 'x', 'n')");
    }
};

TEST_F(Krok412, OldOrdersGoOnlyWhenTheUserSaysYes) {
    struct Przypadek {
        int odpowiedz;
        Lista zamowienia, linie, komentarze;
    };
    const Przypadek przypadki[] = {
        {vbNo, {"1", "2", "3"}, {"1", "2", "3", "4"}, {"1", "2", "3", "4"}},
        {vbYes, {"2", "3"}, {"2", "3"}, {"2", "3"}},
    };
    for (const Przypadek& p : przypadki) {
        Odpowiedzi({p.odpowiedz});
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_412), "");
        EXPECT_EQ(Kolumna("select zam_id from DOK_ZAM order by zam_id"), p.zamowienia);
        EXPECT_EQ(Kolumna("select zam_id from DOK_ZAM_ZAWART order by zam_id"), p.linie);
        EXPECT_EQ(Kolumna("select iddd from ZAMOWIENIA_KOMENTARZE order by iddd"), p.komentarze);
    }
    EXPECT_NE(komunikaty.str().find("Czy chesz usunąć z bazy zamówienia do "), std::string::npos);
    // The second run found the moved columns moved and kept their values.
    EXPECT_EQ(Kolumna("select ilosc1 from DOK_ZAM_ZAWART where zam_id=2"), Lista{"5"});
    EXPECT_EQ(Kolumna("select kier_id1 from KONTRAHENCI where konh_id=1"), Lista{"11"});
    EXPECT_EQ(Kolumna("select TEKST1 from ZAMOWIENIA_KOMENTARZE where iddd=2"), Lista{"x"});
}

TEST_F(Krok412, OrdersTakeTheRoutesOfTheirContractor) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_412), "");
    EXPECT_EQ(Wiersze_Z("select zam_id, kier_id1, kier_id101, kier_id2, kier_id202, kier_id3, "
                        "kier_id103, kier_id9 from DOK_ZAM order by zam_id"),
              (Wiersze{{"1", "11", "11", "12", "12", "11", "11", "Null"},
                       {"2", "21", "21", "21", "21", "Null", "Null", "Null"},
                       {"3", "Null", "Null", "Null", "Null", "Null", "Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select ilosc1, ilosc101, ilosc209 from DOK_ZAM_ZAWART where zam_id=1"),
              (Wiersze{{"5", "0", "0"}}));
    EXPECT_EQ(Wiersze_Z("select iddd, TEKST1, nr_zamowienia1 from ZAMOWIENIA_KOMENTARZE where "
                        "iddd=1"),
              (Wiersze{{"1", "x", "n"}}));
    EXPECT_FALSE(Czyta_Sie("select kier_id from KONTRAHENCI"));
    EXPECT_EQ(Wiersze_Z("select kp_id, NIEZALEZNE from DOK_FIN order by kp_id"),
              (Wiersze{{"0", "1"}, {"1", "0"}, {"2", "1"}}));
    EXPECT_EQ(Wiersze_Z("select Nr_Wyjazdu from DOK_DD"), (Wiersze{{"1"}}));
}

// A run of the suite's earlier tool stopped inside either move of the comments' columns,
// after its statement 2 or 3 (the column copied), 6 (dropped), 7 (added anew under its
// new name) or 8 (filled back): the step run again ends with the table as one
// uninterrupted run leaves it.
TEST_F(Krok412, ARerunAfterAStopInsideAMoveOfTheCommentsEndsAsAStraightRun) {
    const std::string T = "ZAMOWIENIA_KOMENTARZE";
    const std::vector<std::string> ruchy[] = {
        Polecenia_Zmiany(T, "TEKST", "Text DEFAULT ''", "TEKST1"),
        Polecenia_Zmiany(T, "nr_zamowienia", "Text  (50)", "nr_zamowienia1")};
    Odpowiedzi({vbNo});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_412), "");
    const std::vector<std::string> prosty = Zawartosc_Tabeli(T);
    for (size_t j = 0; j < 2; ++j) {
        for (const size_t n : {2, 3, 6, 7, 8}) {
            SCOPED_TRACE("move " + std::to_string(j) + " stopped after statement " +
                         std::to_string(n));
            Sql("drop table " + T);
            Komentarze();
            if (j == 1) Wykonaj_Polecenia(ruchy[0], ruchy[0].size());
            Wykonaj_Polecenia(ruchy[j], n);
            Odpowiedzi({vbNo});
            ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_412), "");
            EXPECT_EQ(Zawartosc_Tabeli(T), prosty);
        }
    }
}

TEST_F(Kroki408, TheIndexSetIsCreatedOnceAndMissingColumnsAreOnlyLogged) {
    Otworz(4.12);
    Sql("create table KONTRAHENCI (konh_id long, KONH_NAZ_SKROT text(16), RKONH_NAZWA_ID "
        "text(50), id_kasy long, Rodz text(1))");
    Sql("create index indKONH_NAZ_SKROT on KONTRAHENCI (KONH_NAZ_SKROT)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_413), "");
    Lista indeksy;
    for (const auto& i : polaczenie().database().catalog().table("KONTRAHENCI")->indexes)
        indeksy.push_back(i.name);
    EXPECT_EQ(indeksy, (Lista{"indKONH_NAZ_SKROT", "indRKONH_NAZWA_ID", "Kasa"}));
    EXPECT_FALSE(Linie_Logu("create index indkonh_activ ON KONTRAHENCI").empty());
}

}  // namespace
}  // namespace kroki_test
