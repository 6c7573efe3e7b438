// Steps 2.82 to 2.88 on a database of version 2.81: payroll components 145 to 160 and
// their amount columns, the amounts moved from components 84 and 85, the new labels,
// the calendar table, the sales-invoice line key, the contractor names and the
// removal of every relation.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki282 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.81);
        Sql("create table place_opisy (POLE long, OPIS text(50), SKR text(30))");
        for (int p : {3, 11, 19, 46, 47, 48, 94, 96, 99, 101})
            Sql("insert into place_opisy values (" + std::to_string(p) + ", 'opis " +
                std::to_string(p) + "', 'skr')");
        for (int p = 119; p <= 144; ++p)
            Sql("insert into place_opisy values (" + std::to_string(p) + ", 'składnik', 'sk')");
        Sql("insert into place_opisy values (150, 'stary wpis', 'stary')");
        Sql("create table Place_Dane (IDP long, wartosc47 money, wartosc48 money, wartosc84 "
            "money, wartosc85 money)");
        Sql("insert into Place_Dane values (1, 10, 5, 100, 0)");
        Sql("insert into Place_Dane values (2, 10, 5, 0, -3)");
        Sql("insert into Place_Dane values (3, 7, null, -2, 40)");
        Sql("insert into Place_Dane values (4, null, null, null, null)");
        Sql("create table DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_CENA_N money, "
            "ZFAKOUT_ILOSC single)");
        Sql("insert into DOK_FAK_ZAWART values (1, 1, 2.5, 10)");
        Sql("insert into DOK_FAK_ZAWART values (1, 2, 2.5, 4)");
        Sql("insert into DOK_FAK_ZAWART values (2, 1, 2.4, 1)");
    }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static std::vector<dao::Index> Indeksy(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        return baza->TableDefs(tabela).Indexes();
    }
    static bool Ma_Klucz(const std::string& tabela) {
        for (const dao::Index& i : Indeksy(tabela))
            if (i.Primary && i.Name == "Podstawowy") return true;
        return false;
    }
};

TEST_F(Kroki282, CatalogueReachesComponent160OnceEach) {
    Kroki(282, 286);
    std::vector<std::string> oczekiwane;
    for (int p = 119; p <= 160; ++p) oczekiwane.push_back(std::to_string(p));
    const std::string nowe = "select POLE from place_opisy where POLE>=119 order by POLE";
    EXPECT_EQ(Kolumna(nowe), oczekiwane);
    EXPECT_EQ(Wiersze_Z("select OPIS, SKR from place_opisy where POLE in (145, 148, 151, 159, "
                        "160) order by POLE"),
              (Wiersze{{"Za pranie", "Za pranie"},
                       {"Świadczenie urlopowe", "Św.urlop."},
                       {"Razem przychód", "RAZEM PRZYCHÓD"},
                       {"Ilość dni wyn.ch100%", "Dni wyn.ch.100%"},
                       {"Wynagrodzenie chorobowe 100%", "Wyn.chor.100%"}}));
    // Labels: the short one alone, or with the description.
    EXPECT_EQ(Wiersze_Z("select POLE, OPIS, SKR from place_opisy where POLE in (3, 19, 134) "
                        "order by POLE"),
              (Wiersze{{"3", "opis 3", "SKŁADKI RAZEM"},
                       {"19", "Płaca godzinowa", "Płaca godz."},
                       {"134", "Dni przepracowane", "Dni przepr."}}));
    for (int n = 145; n <= 160; ++n)
        EXPECT_EQ(Typ_Pola("Place_Dane", "wartosc" + std::to_string(n)), dao::dbCurrency) << n;
    EXPECT_EQ(Typ_Pola("Place_Dane", "Owartosc6004"), dao::dbByte);
    // A second run neither doubles nor loses a component.
    Kroki(282, 286);
    EXPECT_EQ(Kolumna(nowe), oczekiwane);
    EXPECT_EQ(Kolumna("select count(*) from place_opisy"), (std::vector<std::string>{"52"}));
}

TEST_F(Kroki282, OnlyPositiveAmountsMoveFrom84And85) {
    Kroki(282, 282);
    const Wiersze po = {{"100", "0", "5", "0"},
                        {"10", "0", "5", "-3"},
                        {"7", "-2", "40", "0"},
                        {"Null", "Null", "Null", "Null"}};
    const std::string zapytanie =
        "select wartosc47, wartosc84, wartosc48, wartosc85 from Place_Dane order by IDP";
    EXPECT_EQ(Wiersze_Z(zapytanie), po);
    Kroki(282, 282);
    EXPECT_EQ(Wiersze_Z(zapytanie), po);
}

TEST_F(Kroki282, InvoiceLineKeyOrAStopNamingTheLine) {
    Kroki(283, 283);
    EXPECT_TRUE(Ma_Klucz("DOK_FAK_ZAWART"));
    for (const dao::Index& i : Indeksy("DOK_FAK_ZAWART"))
        if (i.Name == "Podstawowy") {
            EXPECT_EQ(i.Fields,
                      (std::vector<std::string>{"FAKOUT_ID", "PROD_ID", "ZFAKOUT_CENA_N"}));
        }

    // Two lines of one invoice with the same product and price: 2.85 makes them one line of
    // both quantities.
    Sql("drop index Podstawowy on DOK_FAK_ZAWART");
    Sql("insert into DOK_FAK_ZAWART values (2, 1, 2.4, 3)");
    Kroki(284, 285);
    EXPECT_TRUE(Ma_Klucz("DOK_FAK_ZAWART"));
    EXPECT_EQ(Wiersze_Z("select ZFAKOUT_ILOSC from DOK_FAK_ZAWART where FAKOUT_ID=2"),
              Wiersze{{"4"}});
}

TEST_F(Kroki282, ContractorNamesWidenedKeepingTheirValues) {
    Sql("create table kontrahenci (KONH_ID long, KONH_NAZWA text(50), konh_nazwa2 text(40))");
    Sql("insert into kontrahenci values (1, 'Piekarnia \"Pod Gubałówką\"', 'Oddział Zakopane')");
    Sql("insert into kontrahenci values (2, 'Bar Mleczny', null)");
    Kroki(287, 287);
    auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    dao::TableDef td = baza->TableDefs("kontrahenci");
    std::vector<std::string> kolumny;
    for (int i = 0; i < td.FieldCount(); ++i) {
        kolumny.push_back(td.Fields(i).Name());
        if (i > 0) {
            EXPECT_EQ(td.Fields(i).Size(), 80) << td.Fields(i).Name();
        }
    }
    EXPECT_EQ(kolumny, (std::vector<std::string>{"KONH_ID", "KONH_NAZWA", "KONH_NAZWA2"}));
    EXPECT_EQ(
        Wiersze_Z("select KONH_NAZWA, KONH_NAZWA2 from kontrahenci order by KONH_ID"),
        (Wiersze{{"Piekarnia \"Pod Gubałówką\"", "Oddział Zakopane"}, {"Bar Mleczny", "Null"}}));
    const std::string dluga(80, 'x');
    Sql("insert into kontrahenci values (3, '" + dluga + "', '" + dluga + "')");
}

TEST_F(Kroki282, EveryRelationDeleted) {
    Sql("create table kontrahenci (KONH_ID long primary key, KONH_NAZWA text(50))");
    Sql("create table DOK_FAK (FAKOUT_ID long primary key, KONH_ID long)");
    Sql("alter table DOK_FAK add constraint KONTRAHENCIDOK_FAK foreign key (KONH_ID) "
        "references kontrahenci (KONH_ID)");
    Sql("alter table DOK_FAK_ZAWART add constraint DOK_FAKDOK_FAK_ZAWART foreign key "
        "(FAKOUT_ID) references DOK_FAK (FAKOUT_ID)");
    ASSERT_EQ(polaczenie().database().catalog().relations().size(), 2u);
    Kroki(288, 288);
    EXPECT_TRUE(polaczenie().database().catalog().relations().empty());
    EXPECT_EQ(k.BazaDAO, nullptr);
    // A line of an invoice that does not exist is accepted now.
    Sql("insert into DOK_FAK_ZAWART values (99, 1, 1, 1)");
    // Without relations: one walk, and the connection is still usable.
    Kroki(288, 288);
    EXPECT_EQ(Kolumna("select count(*) from DOK_FAK_ZAWART"), (std::vector<std::string>{"4"}));
}

}  // namespace
}  // namespace kroki_test
