// Steps 4.00 to 4.03 on databases built with the tables they read: settled amounts,
// declaration amounts and offices, PIT form amounts as field rows.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki400 : public BazaKroku {};

TEST_F(Kroki400, CashDocumentsSettleTheSumOfTheirLines) {
    Otworz(3.99);
    Sql("create table DOK_FIN (kp_id long)");
    Sql("create table DOK_FIN_ZAWART (kp_id long, kwota money)");
    Sql("create table DOK_ZAK (numer_id long)");
    Sql("insert into DOK_FIN values (1)");
    Sql("insert into DOK_FIN values (2)");
    Sql("insert into DOK_FIN_ZAWART values (1, 100)");
    Sql("insert into DOK_FIN_ZAWART values (1, -30)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_400), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_400), "");
    EXPECT_EQ(Wiersze_Z("select kp_id, Wart_Rozl from DOK_FIN order by kp_id"),
              (Wiersze{{"1", "70"}, {"2", "0"}}));
    EXPECT_TRUE(Czyta_Sie("select Wart_Rozl from DOK_ZAK"));
}

TEST_F(Kroki400, DeclarationsTakeTheirAmountFieldAndTheOfficeOfTheSettings) {
    Otworz(4.00);
    Sql("create table Setup (Nazwa text(50), Wartosc text(255))");
    Sql("insert into Setup values ('US_VAT', ' Urząd Skarbowy Limanowa ')");
    Sql("create table kontrahenci (konh_id long, KONH_NAZWA text(80), Konh_US_id long)");
    Sql("insert into kontrahenci values (1, 'Piekarz', 7)");
    Sql("insert into kontrahenci values (12, 'Urząd Skarbowy Limanowa', 0)");  // entered later
    Sql("insert into kontrahenci values (9, 'Urząd Skarbowy Limanowa', 0)");
    Sql("insert into kontrahenci values (2, 'Piekarz bez urzędu', Null)");
    Sql("create table Deklaracje (id long, Nazwa text(50), kwota money, IDP long, id_us long)");
    Sql("create table deklaracje_zawart (id long, Typ text(20), wartosc text(50))");
    struct Deklaracja {
        int id;
        std::string nazwa;
        std::string pole57, pole61, pole69;
    };
    const Deklaracja d[] = {{1, "Vat7 01/2004", "0", "150", ""},
                            {2, "Vat7 02/2004", "80", "0,00", ""},
                            {3, "Vat7 03/2004", "80", "20", ""},
                            {4, "Pit4 2004", "", "", "1234,5"},
                            {5, "Pit4 2005", "", "", ""}};
    for (const Deklaracja& x : d) {
        const std::string id = std::to_string(x.id);
        Sql("insert into Deklaracje values (" + id + ", '" + x.nazwa + "', 5, " +
            (x.id == 4 ? "1" : "0") + ", 3)");
        for (const auto& [typ, w] : {std::pair{"pole57", x.pole57}, std::pair{"pole61", x.pole61},
                                     std::pair{"pole69", x.pole69}})
            if (!w.empty())
                Sql("insert into deklaracje_zawart values (" + id + ", '" + typ + "', '" + w +
                    "')");
    }
    // A declaration whose declarant names no tax office keeps its own.
    Sql("insert into Deklaracje values (6, 'Pit4 2006', 5, 2, 3)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_401), "");
    EXPECT_EQ(Wiersze_Z("select id, kwota, id_us from Deklaracje order by id"),
              (Wiersze{{"1", "-150", "9"},
                       {"2", "80", "9"},
                       {"3", "-20", "9"},
                       {"4", "1234,5", "7"},
                       {"5", "0", "3"},
                       {"6", "0", "3"}}));
}

// Employee 4, held twice, takes the first of its two parties (7); old id 7 takes 9, once;
// old id 5 names no employee and so no party.
TEST_F(Kroki400, BenefitBreaksTakeOneEmployeePartyOnce) {
    Otworz(4.03);
    Sql("create table KONTRAHENCI (konh_id counter, RKONH_NAZWA_ID text(50), numer_prac long)");
    Sql("create table KADRY_PRACOWNICY (id long, Numer long)");
    Sql("create table PLACE_SWIADCZ_PRZERWY (ID_prac long)");
    for (const char* w : {"(7, 'Pracownik', 12)", "(8, 'Pracownik', 12)", "(9, 'Pracownik', 13)",
                          "(10, 'Odbiorca', 13)"})
        Sql(std::string("insert into KONTRAHENCI values ") + w);
    for (const char* w : {"(4, 12)", "(4, 12)", "(7, 13)"})
        Sql(std::string("insert into KADRY_PRACOWNICY values ") + w);
    for (int id : {4, 7, 5})
        Sql("insert into PLACE_SWIADCZ_PRZERWY values (" + std::to_string(id) + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_404), "");
    EXPECT_EQ(Kolumna("select ID_prac from PLACE_SWIADCZ_PRZERWY"),
              (std::vector<std::string>{"7", "9", "0"}));
}

TEST_F(Kroki400, PitAmountsBecomeFieldRowsOnceEvenWhenRunAgain) {
    Otworz(4.02);
    const std::string kolumny =
        "umcyw_przychod, umcyw_ku, umcyw_dochod, umcyw_zaliczka, umaut_przychod, umaut_ku, "
        "umaut_dochod, umaut_zaliczka, razem_przychod, razem_ku, razem_dochod, razem_zaliczka, "
        "ub_spol, zdr_pobr, zdr_odl, wyn1_przychod, wyn1_ku, wyn_dochod, wyn_zaliczka, "
        "wyn2_przychod, wyn2_ku";
    std::string definicje;
    for (size_t p = 0, k; p < kolumny.size(); p = k + 2) {
        k = kolumny.find(", ", p);
        if (k == std::string::npos) k = kolumny.size();
        definicje += ", " + kolumny.substr(p, k - p) + " money";
    }
    Sql("create table KADRY_PIT (COUNTT long, rodzaj text(10)" + definicje + ")");
    Sql("insert into KADRY_PIT (COUNTT, rodzaj, umcyw_przychod, wyn1_przychod, zdr_odl) values "
        "(1, 'PIT11', 10, 20, 30)");
    Sql("insert into KADRY_PIT (COUNTT, rodzaj, umcyw_przychod) values (2, 'PIT8B', 12.5)");
    Sql("insert into KADRY_PIT (COUNTT, rodzaj, umcyw_przychod) values (3, 'PIT40', 7)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_403), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_403), "");
    EXPECT_EQ(Wiersze_Z("select id, count(*) from KADRY_PIT_ZAWART group by id"),
              (Wiersze{{"1", "21"}, {"2", "15"}}));
    EXPECT_EQ(Wiersze_Z("select id, Typ, wartosc, wartosc2 from KADRY_PIT_ZAWART where wartosc "
                        "is not null order by id, Typ"),
              (Wiersze{{"1", "pole36", "20", "20"},
                       {"1", "pole60", "10", "10"},
                       {"1", "pole78", "30", "30"},
                       {"2", "pole46", "12,5", "12,5"}}));
    EXPECT_FALSE(Czyta_Sie("select umcyw_przychod from KADRY_PIT"));
}

}  // namespace
}  // namespace kroki_test
