// Step 4.07 on a database of version 4.06 built with the tables it reads: single-field
// indexes dropped, production groups, and production documents cut by shift, renumbered
// and turned into the consumption kinds PRS and PZS.
#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "steps/baza_kroku.h"
#include "steps/zapis_zawodzi.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

constexpr const char* kNaglowki[] = {"DOK_DD",  "DOK_RW",  "DOK_FAK", "DOK_PAR", "DOK_DZ",
                                     "DOK_PW",  "DOK_PZ",  "DOK_WZ",  "DOK_KFA", "DOK_KZA",
                                     "DOK_ZAK", "DOK_PFA", "DOK_ZPF"};

class Krok407 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.06);
        Sql("create table Nieruszac (NumerWersji double)");
        Sql("create index indNumerWersji on Nieruszac (NumerWersji)");
        Sql("create table _Robocza (x long)");
        Sql("create index indx on _Robocza (x)");
        Sql("create table Setup (Nazwa text(50), Wartosc text(255))");
        Sql("create table kontrahenci (konh_id long, sm_id long, sm_dd_id long, kier_id long, "
            "konh_naz_skrot text(16), KONH_nazwa text(50))");
        Sql("create table sposob_numeracji (sm_id long, tryb long, rob_kier logical, zmiany "
            "logical)");
        Sql("create table Numery_OST_DOK_NAG (dokument text(50), nazwa text(50))");
        Sql("create table PRODUKTY (PROD_ID long, Grupa_w_Zam text(50))");
        Sql("create index indPROD_ID on PRODUKTY (PROD_ID)");
        Sql("create index Numer on PRODUKTY (PROD_ID)");
        for (const char* t : kNaglowki) {
            Sql(std::string("create table ") + t +
                " (DDOUT_ID counter, DDOUT_NUMER text(50), rodzdok text(1), Remanent logical, "
                "zakup logical)");
            Sql(std::string("create table ") + t + "_ZAWART (DDOUT_ID long, PROD_ID long)");
        }
        for (const char* t : {"DOK_PW_ZAWART", "DOK_RW_ZAWART"})
            Sql(std::string("alter table ") + t +
                " add column WSPRZ_CENA_B money, WSPRZ_ILOSC single, WSPRZ_CENA_VAT text(4)");
        Sql("insert into DOK_PW_ZAWART values (1, 5, 2.5, 4, '22')");
        Sql("create table DOK_PRO (DDOUT_ID counter, DDOUT_NUMER text(50), DDOUT_DATA_WYST date, "
            "DDOUT_WART_N money, num_ndok long, smz_id long, Remanent logical)");
        Sql("create unique index UnicNumer on DOK_PRO (DDOUT_NUMER)");
        Sql("create table DOK_PRO_ZAWART (DDOUT_ID long, PROD_ID long, ilosc_zam single, "
            "ilosc_zam2 single, ilosc_zam3 single, ilosc_prod single, ilosc_prod2 single, "
            "ilosc_prod3 single, WSPRZ_CENA_B money)");
        Sql("create unique index Podstawowy on DOK_PRO_ZAWART (DDOUT_ID, PROD_ID) with primary");
        Sql("create table DOK_PRO_ZAWART_SUROWCE (ddout_id long, Prod_id long, sur_id long, Ilosc "
            "single, Wartosc money)");
        Sql("create table DOK_PRO_SUROWCE (ddout_id long, sur_id long, Ilosc single, Wartosc "
            "money)");
    }
    // The numbering state that the step leaves in the process.
    void TearDown() override {
        Numeracja_Miesieczna = false;
        Data_Dzisiaj = 0;
        BazaKroku::TearDown();
    }
    void Dokument(int id, const std::string& dzien) {
        Sql("insert into DOK_PRO (DDOUT_ID, DDOUT_NUMER, DDOUT_DATA_WYST, num_ndok, smz_id) values "
            "(" +
            std::to_string(id) + ", '" + std::to_string(id) + "/S', #" + dzien + "#, 0, 0)");
    }
    // A production line: the quantities of the three shifts and the line's value.
    void Linia(int id, int prod, int z1, int z2, int z3, int wartosc) {
        Sql("insert into DOK_PRO_ZAWART (DDOUT_ID, PROD_ID, ilosc_prod, ilosc_prod2, ilosc_prod3, "
            "WSPRZ_CENA_B) values (" +
            std::to_string(id) + ", " + std::to_string(prod) + ", " + std::to_string(z1) + ", " +
            std::to_string(z2) + ", " + std::to_string(z3) + ", " + std::to_string(wartosc) + ")");
    }
    void Surowiec(int id, int prod, int sur, int ilosc, int wartosc) {
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (" + std::to_string(id) + ", " +
            std::to_string(prod) + ", " + std::to_string(sur) + ", " + std::to_string(ilosc) +
            ", " + std::to_string(wartosc) + ")");
    }
    static Lista Indeksy(const std::string& nazwa) {
        const jet::TableInfo* t = polaczenie().database().catalog().table(nazwa);
        Lista w;
        for (const auto& i : t->indexes) w.push_back(i.name);
        return w;
    }
};

TEST_F(Krok407, SingleFieldIndexesGoOutsideTheSystemAndWorkTables) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    EXPECT_EQ(Indeksy("PRODUKTY"), Lista{"Numer"});
    EXPECT_EQ(Indeksy("Nieruszac"), Lista{"indNumerWersji"});
    EXPECT_EQ(Indeksy("_Robocza"), Lista{"indx"});
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID, ZDDOUT_CENA_N, ZDDOUT_ILOSC, ZDDOUT_VAT from "
                        "DOK_PW_ZAWART"),
              (Wiersze{{"1", "5", "2,5", "4", "22"}}));
    EXPECT_FALSE(Czyta_Sie("select WSPRZ_CENA_B from DOK_PW_ZAWART"));
    EXPECT_TRUE(Czyta_Sie("select Opis, KontoFK, id_kpir, nr_zM_PROD, id_GRProd from DOK_DD"));
    EXPECT_FALSE(Czyta_Sie("select KontoFK from DOK_PZ"));
    EXPECT_TRUE(Czyta_Sie("select n22, KontoFK, kier_id, ID_Poszlo_na_RW from DOK_PRO"));
    EXPECT_EQ(Kolumna("select count(*) from DOK_DAR"), Lista{"0"});
    // Again over the converted database: nothing to convert twice, nothing lost.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    EXPECT_EQ(Wiersze_Z("select ZDDOUT_CENA_N, ZDDOUT_ILOSC from DOK_PW_ZAWART"),
              (Wiersze{{"2,5", "4"}}));
}

TEST_F(Krok407, ProductsShareTheGroupOfTheirName) {
    Sql("insert into PRODUKTY values (1, 'Pieczywo')");
    Sql("insert into PRODUKTY values (2, 'Ciasta')");
    Sql("insert into PRODUKTY values (3, 'pieczywo')");
    Sql("insert into PRODUKTY values (4, 'Bułki Ani''s')");
    Sql("insert into PRODUKTY values (5, '')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    EXPECT_EQ(Wiersze_Z("select p.PROD_ID, g.Grupa_w_Zam from PRODUKTY p left join "
                        "S_Grupy_Produkcyjne g on g.id_GRProd=p.id_GRProd order by p.PROD_ID"),
              (Wiersze{{"1", "Pieczywo"},
                       {"2", "Ciasta"},
                       {"3", "Pieczywo"},
                       {"4", "Bułki Ani's"},
                       {"5", "Null"}}));
    EXPECT_EQ(Kolumna("select count(*) from S_Grupy_Produkcyjne"), Lista{"4"});
}

// Day 1: document 1 has shifts 1 to 3, document 2 shift 2 only; day 2: document 5 has
// shift 3 only; document 6 has no lines. Values are whole-line values before the step.
TEST_F(Krok407, ProductionIsCutByShiftAndTheShiftsAddUpToTheDocument) {
    Dokument(1, "03-01-2004");
    Dokument(2, "03-01-2004");
    Dokument(5, "03-02-2004");
    Dokument(6, "03-02-2004");
    Linia(1, 11, 6, 4, 0, 100);
    Linia(1, 12, 0, 5, 5, 50);
    Linia(1, 13, 0, 0, 0, 70);
    Linia(2, 11, 0, 3, 0, 30);
    Linia(5, 12, 0, 0, 2, 10);
    Surowiec(1, 11, 100, 20, 40);
    Surowiec(1, 12, 100, 10, 20);
    Surowiec(1, 11, 101, 0, 5);
    Sql("insert into DOK_PRO_SUROWCE values (1, 100, 30, 60)");
    Sql("insert into DOK_PRO_SUROWCE values (1, 101, 0, 5)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");

    // Documents 7 and 8 are the copies made for shifts 2 and 3 of day 1.
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, nr_zM_PROD, DDOUT_NUMER, num_ndok, DDOUT_WART_N, "
                        "ID_Poszlo_do_zuzycia, konh_id from DOK_PRO order by DDOUT_ID"),
              (Wiersze{{"1", "1", "1/2004", "1", "60", "1", "0"},
                       {"2", "2", "2/2004", "2", "30", "2", "0"},
                       {"5", "3", "5/2004", "5", "10", "5", "0"},
                       {"7", "2", "3/2004", "3", "65", "7", "0"},
                       {"8", "3", "4/2004", "4", "25", "8", "0"}}));
    EXPECT_EQ(Kolumna("select sum(DDOUT_WART_N) from DOK_PRO where DDOUT_ID in (1, 7, 8)"),
              Lista{"150"});
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N from "
                        "DOK_PRO_ZAWART order by DDOUT_ID, PROD_ID"),
              (Wiersze{{"1", "11", "6", "10"},
                       {"2", "11", "3", "10"},
                       {"5", "12", "2", "5"},
                       {"7", "11", "4", "10"},
                       {"7", "12", "5", "5"},
                       {"8", "12", "5", "5"}}));
    EXPECT_EQ(Wiersze_Z("select ddout_id, Prod_id, sur_id, Ilosc, Wartosc from "
                        "DOK_PRS_ZAWART_ROZBICIE order by ddout_id, Prod_id"),
              (Wiersze{{"1", "11", "100", "12", "2"},
                       {"7", "11", "100", "8", "2"},
                       {"7", "12", "100", "5", "2"},
                       {"8", "12", "100", "5", "2"}}));
    EXPECT_EQ(Wiersze_Z("select ddout_id, sur_id, Wartosc from DOK_PRO_SUROWCE"),
              (Wiersze{{"1", "100", "2"}}));
    // Raw-material use at its unit price: the shift-1 document has a PRS header.
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N from "
                        "DOK_PRS_ZAWART order by DDOUT_ID"),
              (Wiersze{{"1", "100", "12", "2"}, {"7", "100", "13", "2"}, {"8", "100", "5", "2"}}));
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, DDOUT_NUMER, DDOUT_WART_N from DOK_PRS"),
              (Wiersze{{"1", "1/2004", "24"}}));
    EXPECT_EQ(Kolumna("select count(*) from DOK_PZS"), Lista{"0"});
    EXPECT_FALSE(Czyta_Sie("select ilosc_prod from DOK_PZS_ZAWART"));
}

// Two documents of one day with quantities in shift 1 and in shift k: the first makes the
// day's shift-k document, the second's lines and breakdown go to it. Product 1 is in both
// documents when the case shares it (product 4 in the second otherwise); product 3 is in
// the second only. Each document's split on its own, added together: per product the
// shift quantity and its value, per raw material its quantity and value.
struct DzienDwochDokumentow {
    int zmiana;
    bool wspolny;
};

class Krok407Dzien : public Krok407, public ::testing::WithParamInterface<DzienDwochDokumentow> {};

TEST_P(Krok407Dzien, ASecondDocumentOfTheDayAddsItsShiftToTheDaysDocument) {
    const int zmiana = GetParam().zmiana;
    const bool wspolny = GetParam().wspolny;
    const auto ilosci = [&](int z1, int zk) {
        return std::vector<int>{z1, zmiana == 2 ? zk : 0, zmiana == 3 ? zk : 0};
    };
    const auto linia = [&](int id, int prod, int z1, int zk, int wartosc) {
        const std::vector<int> q = ilosci(z1, zk);
        Linia(id, prod, q[0], q[1], q[2], wartosc);
    };
    const int drugi = wspolny ? 1 : 4;
    Dokument(1, "03-20-2000");
    Dokument(2, "03-20-2000");
    linia(1, 1, 6, 4, 100);           // unit price 10
    linia(2, drugi, 10, 5, 300);      // 20
    linia(2, 3, 20, 7, 270);          // 10
    Surowiec(1, 1, 100, 20, 40);      // unit value 2
    Surowiec(2, drugi, 100, 30, 90);  // 3
    Surowiec(2, drugi, 101, 15, 15);  // 1
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");

    const std::string z = std::to_string(zmiana);
    EXPECT_EQ(Kolumna("select count(*) from DOK_PRO where nr_zM_PROD=" + z), Lista{"1"});
    Wiersze linie{{"1", "4", "10"}, {"3", "7", "10"}};
    Wiersze rozbicie{{"1", "100", "8", "2"}, {"3", "100", "0", ""}};
    if (wspolny) {
        linie = {{"1", "9", "15,5556"}, {"3", "7", "10"}};                  // (4*10+5*20)/9
        rozbicie = {{"1", "100", "18", "2,5556"}, {"1", "101", "5", "1"}};  // (8*2+10*3)/18
    } else {
        linie.push_back({"4", "5", "20"});
        rozbicie = {{"1", "100", "8", "2"}, {"4", "100", "10", "3"}, {"4", "101", "5", "1"}};
    }
    std::sort(linie.begin(), linie.end());
    EXPECT_EQ(Wiersze_Z("select z.PROD_ID, z.ZDDOUT_ILOSC, z.ZDDOUT_CENA_N from DOK_PRO_ZAWART z "
                        "inner join DOK_PRO d on d.DDOUT_ID=z.DDOUT_ID where d.nr_zM_PROD=" +
                        z + " order by z.PROD_ID"),
              linie);
    rozbicie.erase(std::remove_if(rozbicie.begin(), rozbicie.end(),
                                  [](const auto& w) { return w[3].empty(); }),
                   rozbicie.end());
    EXPECT_EQ(Wiersze_Z("select r.Prod_id, r.sur_id, r.Ilosc, r.Wartosc from "
                        "DOK_PRS_ZAWART_ROZBICIE r inner join DOK_PRO d on d.DDOUT_ID=r.ddout_id "
                        "where d.nr_zM_PROD=" +
                        z + " order by r.Prod_id, r.sur_id"),
              rozbicie);
    // Nothing of the day is lost: its quantities and raw materials add up to the two
    // documents' (the value up to the rounding of the merged unit price).
    EXPECT_EQ(Kolumna("select sum(ZDDOUT_ILOSC) from DOK_PRO_ZAWART"), Lista{"52"});
    EXPECT_EQ(Wiersze_Z("select sur_id, sum(Ilosc) from DOK_PRS_ZAWART_ROZBICIE group by sur_id"),
              (Wiersze{{"100", "50"}, {"101", "15"}}));
    EXPECT_EQ(Kolumna("select round(sum(DDOUT_WART_N), 2) from DOK_PRO"), Lista{"670"});
}

INSTANTIATE_TEST_SUITE_P(Zmiany, Krok407Dzien,
                         ::testing::Values(DzienDwochDokumentow{2, true},
                                           DzienDwochDokumentow{3, true},
                                           DzienDwochDokumentow{2, false},
                                           DzienDwochDokumentow{3, false}),
                         [](const auto& i) {
                             return "zmiana" + std::to_string(i.param.zmiana) +
                                    (i.param.wspolny ? "_wspolny" : "_bez_wspolnego");
                         });

// A Null in a shift quantity, a price or a breakdown quantity or value counts as 0: alone
// in its document and merged into the day's shift-2 document. The merge cases: document
// 1 holds product 1 in shift 2 only (4 at a value of 40, raw material 100: 8 at 16) and
// becomes the day's shift-2 document; document 2 holds product 1 too and product 2 (1 in
// shift 1 and 2 in shift 2 at 30). Lines and breakdown rows are given as their values
// ("ddout_id, prod, shift 1, shift 2, shift 3, value" and "ddout_id, prod, raw material,
// quantity, value"); the results as headers (id, shift, net value), lines (id, product,
// quantity, unit price) and breakdown rows (id, product, raw material, quantity, unit
// value).
struct PustePole {
    const char* nazwa;
    Lista linie;
    Lista rozbicie;
    Wiersze naglowki;
    Wiersze zawartosc;
    Wiersze rozbicie_po;
    Lista przed = {};                 // statements run before the step
    const char* zapytanie = nullptr;  // a query after it, and its rows
    Wiersze wynik = {};
};

void PrintTo(const PustePole& p, std::ostream* os) {
    *os << p.nazwa;
}

class Krok407Puste : public Krok407, public ::testing::WithParamInterface<PustePole> {};

TEST_P(Krok407Puste, ANullCountsAsNothing) {
    const PustePole& p = GetParam();
    Dokument(1, "03-20-2000");
    Dokument(2, "03-20-2000");
    for (const std::string& t : p.przed) Sql(t);
    for (const std::string& l : p.linie)
        Sql("insert into DOK_PRO_ZAWART (DDOUT_ID, PROD_ID, ilosc_prod, ilosc_prod2, ilosc_prod3, "
            "WSPRZ_CENA_B) values (" +
            l + ")");
    for (const std::string& r : p.rozbicie)
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (" + r + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    if (p.zapytanie != nullptr) {
        EXPECT_EQ(Wiersze_Z(p.zapytanie), p.wynik);
    }
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, nr_zM_PROD, DDOUT_WART_N from DOK_PRO order by DDOUT_ID"),
              p.naglowki);
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID, ZDDOUT_ILOSC, ZDDOUT_CENA_N from "
                        "DOK_PRO_ZAWART order by DDOUT_ID, PROD_ID, ZDDOUT_ILOSC"),
              p.zawartosc);
    EXPECT_EQ(Wiersze_Z("select ddout_id, Prod_id, sur_id, Ilosc, Wartosc from "
                        "DOK_PRS_ZAWART_ROZBICIE order by ddout_id, Prod_id, sur_id, Ilosc"),
              p.rozbicie_po);
}

const std::string kDzien1 = "1, 1, 0, 4, 0, 40", kDzien2 = "2, 2, 1, 2, 0, 30",
                  kRozbicie1 = "1, 1, 100, 8, 16";
const Wiersze kRozbicie1Po = {{"1", "1", "100", "8", "2"}};

// The lines after a merge: product 1 in documents 1 and 2 (quantity and unit price; none
// in document 2 when w2 is empty), product 2 at 10 in both.
Wiersze Scalone(const Lista& w1, const Lista& w2) {
    Wiersze w{{"1", "1", w1[0], w1[1]}, {"1", "2", "2", "10"}};
    if (!w2.empty()) w.push_back({"2", "1", w2[0], w2[1]});
    w.push_back({"2", "2", "1", "10"});
    return w;
}

INSTANTIATE_TEST_SUITE_P(
    Zmiany, Krok407Puste,
    ::testing::Values(PustePole{"zmiana1",
                                {"1, 11, Null, 4, 0, 40"},
                                {"1, 11, 100, 8, 16"},
                                {{"1", "2", "40"}},
                                {{"1", "11", "4", "10"}},
                                {{"1", "11", "100", "8", "2"}}},
                      PustePole{"zmiana2",
                                {"1, 11, 5, Null, 0, 50", "1, 12, 1, 0, 0, 7"},
                                {"1, 11, 100, 10, 20"},
                                {{"1", "1", "57"}},
                                {{"1", "11", "5", "10"}, {"1", "12", "1", "7"}},
                                {{"1", "11", "100", "10", "2"}}},
                      PustePole{"zmiana3",
                                {"1, 11, 5, 3, Null, 80"},
                                {"1, 11, 100, 16, 32"},
                                {{"1", "1", "50"}, {"3", "2", "30"}},
                                {{"1", "11", "5", "10"}, {"3", "11", "3", "10"}},
                                {{"1", "11", "100", "10", "2"}, {"3", "11", "100", "6", "2"}}},
                      // No shift with a quantity above 0: the document keeps no shift and its line
                      // the sum of its shifts.
                      PustePole{"bez_zmiany",
                                {"1, 11, -2, Null, 0, -20"},
                                {},
                                {{"1", "0", "-20"}},
                                {{"1", "11", "-2", "10"}},
                                {}},
                      PustePole{"cena",
                                {"1, 11, 5, 0, 0, Null", "1, 12, 1, 0, 0, 7"},
                                {},
                                {{"1", "1", "7"}},
                                {{"1", "11", "5", "0"}, {"1", "12", "1", "7"}},
                                {}},
                      PustePole{"wartosc_rozbicia",
                                {"1, 11, 2, 2, 0, 40"},
                                {"1, 11, 100, 4, Null", "1, 11, 101, 4, 8"},
                                {{"1", "1", "20"}, {"3", "2", "20"}},
                                {{"1", "11", "2", "10"}, {"3", "11", "2", "10"}},
                                {{"1", "11", "100", "2", "0"},
                                 {"1", "11", "101", "2", "2"},
                                 {"3", "11", "100", "2", "0"},
                                 {"3", "11", "101", "2", "2"}}},
                      PustePole{"scalenie_zmiana1_dnia",
                                {"1, 1, Null, 4, 0, 40", "2, 1, 3, 2, 0, 50", kDzien2},
                                {kRozbicie1},
                                {{"1", "2", "80"}, {"2", "1", "40"}},
                                Scalone({"6", "10"}, {"3", "10"}),
                                kRozbicie1Po},
                      // The second document's product 1 has no quantities: the line goes, and the
                      // day's document keeps its own.
                      PustePole{"scalenie_bez_ilosci",
                                {kDzien1, "2, 1, Null, Null, Null, 30", kDzien2},
                                {kRozbicie1},
                                {{"1", "2", "60"}, {"2", "1", "10"}},
                                Scalone({"4", "10"}, {}),
                                kRozbicie1Po},
                      PustePole{"scalenie_zmiana2",
                                {kDzien1, "2, 1, 3, Null, 0, 30", kDzien2},
                                {kRozbicie1},
                                {{"1", "2", "60"}, {"2", "1", "40"}},
                                Scalone({"4", "10"}, {"3", "10"}),
                                kRozbicie1Po},
                      PustePole{"scalenie_zmiana3",
                                {kDzien1, "2, 1, 3, 2, Null, 50", kDzien2},
                                {kRozbicie1},
                                {{"1", "2", "80"}, {"2", "1", "40"}},
                                Scalone({"6", "10"}, {"3", "10"}),
                                kRozbicie1Po},
                      PustePole{"scalenie_cena",
                                {kDzien1, "2, 1, 2, 4, 0, Null", kDzien2},
                                {kRozbicie1},
                                {{"1", "2", "60"}, {"2", "1", "10"}},
                                Scalone({"8", "5"}, {"2", "0"}),
                                kRozbicie1Po},
                      PustePole{"scalenie_wartosc_rozbicia",
                                {kDzien1, "2, 1, 2, 4, 0, 60", kDzien2},
                                {kRozbicie1, "2, 1, 100, 12, Null"},
                                {{"1", "2", "100"}, {"2", "1", "30"}},
                                Scalone({"8", "10"}, {"2", "10"}),
                                {{"1", "1", "100", "16", "1"}, {"2", "1", "100", "4", "0"}}},
                      PustePole{"scalenie_ilosc_rozbicia",
                                {kDzien1, "2, 1, 2, 4, 0, 60", kDzien2},
                                {kRozbicie1, "2, 1, 100, Null, 10"},
                                {{"1", "2", "100"}, {"2", "1", "30"}},
                                Scalone({"8", "10"}, {"2", "10"}),
                                kRozbicie1Po},
                      // A line that nobody produced goes with its breakdown.
                      PustePole{"linia_bez_ilosci",
                                {"1, 11, 5, 3, 0, 80", "1, 13, Null, Null, Null, 30"},
                                {"1, 11, 41, 8, 16", "1, 13, 40, 30, 60"},
                                {{"1", "1", "50"}, {"3", "2", "30"}},
                                {{"1", "11", "5", "10"}, {"3", "11", "3", "10"}},
                                {{"1", "11", "41", "5", "2"}, {"3", "11", "41", "3", "2"}}},
                      // Two breakdown rows of one key (a table that step 3.60 could not
                      // key) are one row of their sums, which takes the shares.
                      PustePole{"rozbicie_powtorzone",
                                {"1, 11, 5, 3, 0, 80"},
                                {"1, 11, 41, 8, 16", "1, 11, 41, 16, 32"},
                                {{"1", "1", "50"}, {"3", "2", "30"}},
                                {{"1", "11", "5", "10"}, {"3", "11", "3", "10"}},
                                {{"1", "11", "41", "15", "2"}, {"3", "11", "41", "9", "2"}}},
                      // Two lines of one key (a database that step 3.60 could not key) each
                      // keep their own unit price.
                      PustePole{"linie_powtorzone",
                                {"1, 11, 5, 3, 0, 80", "1, 11, 1, 1, 0, 40"},
                                {},
                                {{"1", "1", "70"}, {"3", "2", "50"}},
                                {{"1", "11", "1", "20"},
                                 {"1", "11", "5", "10"},
                                 {"3", "11", "1", "20"},
                                 {"3", "11", "3", "10"}},
                                {},
                                {"drop index Podstawowy on DOK_PRO_ZAWART"}},
                      // Their breakdown row is met once: 8 kg stay 8 kg in one row.
                      PustePole{"linie_powtorzone_rozbicie",
                                {"1, 11, 5, 0, 0, 100", "1, 11, 7, 0, 0, 70"},
                                {"1, 11, 41, 8, 16"},
                                {{"1", "1", "170"}},
                                {{"1", "11", "5", "20"}, {"1", "11", "7", "10"}},
                                {{"1", "11", "41", "8", "2"}},
                                {"drop index Podstawowy on DOK_PRO_ZAWART"}},
                      // Merged into the day's shift-2 document, which holds 4 worth 40 of
                      // the product: 12 worth 170 arrive whole, in one line.
                      PustePole{"scalenie_linii_powtorzonych",
                                {"1, 1, 0, 4, 0, 40", "2, 2, 1, 0, 0, 10", "2, 1, 0, 5, 0, 100",
                                 "2, 1, 0, 7, 0, 70"},
                                {"2, 1, 100, 8, 16"},
                                {{"1", "2", "210"}, {"2", "1", "10"}},
                                {{"1", "1", "16", "13,125"}, {"2", "2", "1", "10"}},
                                {{"1", "1", "100", "8", "2"}},
                                {"drop index Podstawowy on DOK_PRO_ZAWART"}},
                      // A raw material without a quantity goes; without a value it is 0; two
                      // rows of one raw material each take their own unit value.
                      PustePole{
                          "surowce",
                          {"1, 11, 2, 0, 0, 20"},
                          {},
                          {{"1", "1", "20"}},
                          {{"1", "11", "2", "10"}},
                          {},
                          {"insert into DOK_PRO_SUROWCE values (1, 100, Null, 50)",
                           "insert into DOK_PRO_SUROWCE values (1, 101, 4, Null)",
                           "insert into DOK_PRO_SUROWCE values (1, 102, 4, 8)",
                           "insert into DOK_PRO_SUROWCE values (1, 102, 2, 8)"},
                          "select sur_id, Ilosc, Wartosc from DOK_PRO_SUROWCE order by sur_id, Ilosc",
                          {{"101", "4", "0"}, {"102", "2", "4"}, {"102", "4", "2"}}},
                      // The shift documents made by the split have no payment date.
                      PustePole{"termin_zaplaty",
                                {"1, 11, 5, 3, 0, 80"},
                                {},
                                {{"1", "1", "50"}, {"3", "2", "30"}},
                                {{"1", "11", "5", "10"}, {"3", "11", "3", "10"}},
                                {},
                                {},
                                "select DDOUT_ID, ddout_Termin_zaplaty from DOK_PRO",
                                {{"1", "2000-03-20"}, {"3", "Null"}}},
                      // Documents without an issue date share the shift documents of no date.
                      PustePole{"bez_daty",
                                {"1, 11, 5, 3, 0, 80", "2, 12, 2, 4, 0, 60"},
                                {},
                                {{"1", "1", "50"}, {"2", "1", "20"}, {"3", "2", "70"}},
                                {{"1", "11", "5", "10"},
                                 {"2", "12", "2", "10"},
                                 {"3", "11", "3", "10"},
                                 {"3", "12", "4", "10"}},
                                {},
                                {"update DOK_PRO set DDOUT_DATA_WYST=Null"},
                                "select DDOUT_ID, DDOUT_DATA_WYST from DOK_PRO",
                                {{"1", "Null"}, {"2", "Null"}, {"3", "Null"}}}),
    [](const auto& i) { return std::string(i.param.nazwa); });

// Each write of the step fails in turn with "duplicate values" over a day of two
// documents that share a product, so that the second merges into the first's shift: the
// step stops with the database as it was wherever a statement that changes rows meets it.
TEST_F(Krok407, APassedOverFailureOfAStatementThatChangesRowsStopsTheStep) {
    TearDown();
    const auto przygotuj = [&] {
        SetUp();
        Dokument(1, "03-20-2000");
        Dokument(2, "03-20-2000");
        for (const char* l : {"1, 1, 0, 4, 0, 40", "2, 1, 3, 2, 0, 50", "2, 2, 1, 2, 0, 30"})
            Sql(std::string("insert into DOK_PRO_ZAWART (DDOUT_ID, PROD_ID, ilosc_prod, "
                            "ilosc_prod2, ilosc_prod3, WSPRZ_CENA_B) values (") +
                l + ")");
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 1, 100, 8, 16)");
    };
    const auto krok = [&] { return Krok(&ClsKonwersje::Konwersja_407); };
    const auto zamknij = [&] { TearDown(); };
    // The split of the production documents: the step's last 70 writes over this day.
    const int zapisy = Zapisy_Kroku(przygotuj, krok, zamknij);
    Kazdy_Zapis_Zawodzi(przygotuj, krok, Zawartosc, zamknij, zapisy - 75);
    SetUp();
}

// The suite's earlier tool committed each statement on its own, in the order in which
// this step runs its statements up to the split of the production documents. Stopped
// before one of those writes with the writes before it committed, the step run again
// ends as a run that was never stopped; from the last number prefix column on, where that
// tool may have divided the prices and the raw materials' values, it stops and keeps the
// database. Over rows in every table the step converts: products with groups, PW and RW
// lines, a donation-kind source, raw materials, and days of production with a copy to
// new shift documents, a merge into the day's document, a line without quantities and a
// document without an issue date. The split itself runs in one transaction with its
// version: a stop inside it leaves nothing.
struct Zabity {};
int zabij_przy = -1, zapis = 0;

TEST_F(Krok407, AStepStoppedBeforeAnyOfItsWritesEndsAsAnUninterruptedOneWhenRunAgain) {
    TearDown();
    const auto przygotuj = [&] {
        SetUp();
        Sql("insert into PRODUKTY values (1, 'Pieczywo')");
        Sql("insert into PRODUKTY values (2, 'Ciasta')");
        Sql("insert into DOK_RW_ZAWART values (1, 5, 3.5, 2, '7')");
        Sql("insert into DOK_DZ (DDOUT_NUMER) values ('1/DZ')");
        Sql("insert into DOK_PRO_SUROWCE values (1, 100, 4, 8)");
        Sql("insert into DOK_PRO_SUROWCE values (2, 100, Null, 8)");
        Dokument(1, "03-20-2000");
        Dokument(2, "03-20-2000");
        Dokument(3, "03-21-2000");
        Dokument(4, "03-22-2000");
        Sql("update DOK_PRO set DDOUT_DATA_WYST=Null where DDOUT_ID=4");
        for (const char* l :
             {"1, 1, 0, 4, 0, 40", "2, 1, 3, 2, 0, 50", "2, 2, 1, 2, 0, 30", "3, 1, 5, 3, 2, 100",
              "3, 2, Null, Null, Null, 9", "4, 1, 1, 1, 0, 20"})
            Sql(std::string("insert into DOK_PRO_ZAWART (DDOUT_ID, PROD_ID, ilosc_prod, "
                            "ilosc_prod2, ilosc_prod3, WSPRZ_CENA_B) values (") +
                l + ")");
        for (const char* r : {"1, 1, 100, 8, 16", "2, 1, 100, 10, 30", "2, 1, 101, 5, 5",
                              "3, 1, 100, 10, 20", "3, 2, 101, 4, 4"})
            Sql(std::string("insert into DOK_PRO_ZAWART_SUROWCE values (") + r + ")");
    };
    const auto krok = [&] { return Krok(&ClsKonwersje::Konwersja_407); };
    const auto zamknij = [&] { TearDown(); };
    przygotuj();
    ASSERT_EQ(krok(), "");
    const Wiersze prosto = Zawartosc();
    zamknij();
    // Every ninth write of the index pass and the schema, every write of the last
    // twenty before the split, until the split has begun.
    for (int n = 0, zatrzymania = 0;; n += n < 400 ? 9 : 1) {
        SCOPED_TRACE("stopped before write " + std::to_string(n + 1));
        przygotuj();
        zabij_przy = n;
        zapis = 0;
        jet::set_write_hook([] {
            if (zapis++ == zabij_przy) throw Zabity{};
        });
        try {
            krok();
        } catch (const Zabity&) {
        }
        jet::set_write_hook(nullptr);
        Numeracja_Miesieczna = false;
        DbZamknij();
        DbOtwórz();
        if (Jest_Tabela("_Klucze_Podzialu")) {
            EXPECT_GT(zatrzymania, 0);
            zamknij();
            break;
        }
        if (Czyta_Sie("select nag_pzs from sposob_numeracji")) {
            const Wiersze przed = Zawartosc();
            polaczenie().database().checkpoint();
            std::string r;
            {
                jet::WorkUnit jednostka(polaczenie().database());
                r = krok();
            }
            if (!Baza_Otwarta) DbOtwórz();
            EXPECT_NE(r.find("została przerwana"), std::string::npos) << r;
            EXPECT_EQ(Zawartosc(), przed);
            ++zatrzymania;
        } else {
            ASSERT_EQ(krok(), "");
            EXPECT_EQ(Zawartosc(), prosto);
        }
        zamknij();
    }
    SetUp();
}

// A copy to the day's shift document that the database refuses (a unique index of the
// user's): the step stops with its writes undone rather than drop the shift's quantities.
TEST_F(Krok407, AShiftCopyThatTheDatabaseRefusesStopsTheStep) {
    Sql("create unique index Uzytkownika on DOK_PRO_ZAWART (PROD_ID, ilosc_prod)");
    Dokument(1, "03-20-2000");
    Linia(1, 1, 6, 4, 0, 100);
    polaczenie().database().checkpoint();
    std::string r;
    {
        jet::WorkUnit jednostka(polaczenie().database());
        r = Krok(&ClsKonwersje::Konwersja_407);
    }
    EXPECT_EQ(r.rfind("process end 1\n", 0), 0u) << r;
    EXPECT_NE(komunikaty.str().find("[dok_pro_zawart]"), std::string::npos) << r;
    if (!Baza_Otwarta) DbOtwórz();
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID, ilosc_prod, ilosc_prod2 from DOK_PRO_ZAWART"),
              (Wiersze{{"1", "1", "6", "4"}}));
}

// The suite's earlier tool copied a line's value as its price and dropped the old column,
// and divides it by the line's quantities only after the last number prefix column: run
// again before that column, the price is divided; after it, nothing tells whether it was,
// and the step stops keeping the database.
TEST_F(Krok407, APriceThatTheEarlierToolCopiedIsDividedOnceOrTheStepStops) {
    for (const bool prefiks : {false, true}) {
        SCOPED_TRACE(prefiks);
        Dokument(1, "03-20-2000");
        Sql("drop index Podstawowy on DOK_PRO_ZAWART");
        Linia(1, 11, 6, 4, 0, 100);
        Linia(1, 11, 1, 0, 0, 20);
        Sql("alter table DOK_PRO_ZAWART add column ZDDOUT_CENA_N money, ZDDOUT_ILOSC single, "
            "ZDDOUT_VAT text(4)");
        Sql("update DOK_PRO_ZAWART set ZDDOUT_CENA_N=WSPRZ_CENA_B, ZDDOUT_ILOSC=10");
        Sql("alter table DOK_PRO_ZAWART drop column WSPRZ_CENA_B");
        if (prefiks) Sql("alter table sposob_numeracji add column nag_pzs text(50)");
        polaczenie().database().checkpoint();
        std::string r;
        if (prefiks) {
            jet::WorkUnit jednostka(polaczenie().database());
            r = Krok(&ClsKonwersje::Konwersja_407);
        } else {
            r = Krok(&ClsKonwersje::Konwersja_407);
        }
        if (!Baza_Otwarta) DbOtwórz();
        EXPECT_EQ(r.find("została przerwana") != std::string::npos, prefiks) << r;
        EXPECT_EQ(Kolumna("select ZDDOUT_CENA_N from DOK_PRO_ZAWART order by ZDDOUT_CENA_N"),
                  (prefiks ? Lista{"20", "100"} : Lista{"10", "10", "20"}));
        TearDown();
        SetUp();
    }
}

// 30 days of production where a line table and a breakdown that step 3.60 could not key
// repeat lines of one product and breakdown rows of one key, from seeded random data:
// per day, shift and product the lines keep their quantity and value, and per raw
// material of a product the breakdown its shift's share of the rows' quantity and value;
// the breakdown table takes its key.
TEST_F(Krok407, RepeatedKeysKeepTheirFiguresOverRandomDays) {
    Sql("drop index Podstawowy on DOK_PRO_ZAWART");
    std::mt19937 los(47);
    const auto r = [&](int od, int do_) {
        return std::uniform_int_distribution<int>(od, do_)(los);
    };
    std::map<std::string, std::pair<double, double>> linie, rozbicie;
    for (int dzien = 1, id = 1; dzien <= 30; ++dzien) {
        const std::string data =
            "2001-01-" + std::string(dzien < 10 ? "0" : "") + std::to_string(dzien);
        for (int dok = r(1, 3); dok > 0; --dok, ++id) {
            Dokument(id, data.substr(5, 2) + "-" + data.substr(8) + "-2001");
            std::map<int, std::array<double, 4>> produkty;  // shift quantities and total
            std::vector<std::array<int, 5>> l;
            for (int n = r(1, 4); n > 0; --n) {
                std::array<int, 5> w{r(1, 3), r(0, 4), r(0, 4), r(0, 4), r(0, 200)};
                if (w[1] + w[2] + w[3] == 0) w[r(1, 3)] = r(1, 4);
                Linia(id, w[0], w[1], w[2], w[3], w[4]);
                l.push_back(w);
                for (int z = 1; z <= 3; ++z) produkty[w[0]][z] += w[z], produkty[w[0]][0] += w[z];
            }
            const auto klucz = [&](int z, int prod) {
                return data + "|" + std::to_string(z) + "|" + std::to_string(prod);
            };
            for (const auto& w : l)
                for (int z = 1; z <= 3; ++z) {
                    const double t = w[1] + w[2] + w[3];
                    if (w[z] > 0)
                        linie[klucz(z, w[0])].first += w[z],
                            linie[klucz(z, w[0])].second += w[z] * w[4] / t;
                }
            for (int n = r(0, 4); n > 0; --n) {
                const int prod = l[r(0, static_cast<int>(l.size()) - 1)][0], sur = r(100, 101),
                          ilosc = r(1, 9), wartosc = r(0, 50);
                Surowiec(id, prod, sur, ilosc, wartosc);
                const auto& q = produkty[prod];
                for (int z = 1; z <= 3; ++z)
                    if (q[z] > 0) {
                        auto& e = rozbicie[klucz(z, prod) + "|" + std::to_string(sur)];
                        e.first += ilosc * q[z] / q[0], e.second += wartosc * q[z] / q[0];
                    }
            }
        }
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    for (const char* t : {"DOK_PRS_ZAWART_ROZBICIE", "DOK_PRS_ZAWART", "DOK_PZS_ZAWART"})
        EXPECT_EQ(Indeksy(t), Lista{"Podstawowy"}) << t;
    const auto porownaj = [](const std::map<std::string, std::pair<double, double>>& oczekiwane,
                             const Wiersze& wynik, size_t pola) {
        std::map<std::string, std::pair<double, double>> jest;
        const auto liczba = [](std::string t) {
            std::replace(t.begin(), t.end(), ',', '.');
            return std::stod(t);
        };
        for (const auto& w : wynik) {
            std::string k = w[0];
            for (size_t i = 1; i < pola; ++i) k += "|" + w[i];
            jest[k] = {liczba(w[pola]), liczba(w[pola + 1])};
        }
        ASSERT_EQ(jest.size(), oczekiwane.size());
        for (const auto& [k, v] : oczekiwane) {
            SCOPED_TRACE(k);
            EXPECT_NEAR(jest[k].first, v.first, 0.001);
            EXPECT_NEAR(jest[k].second, v.second, 0.01);
        }
    };
    const std::string z = " from DOK_PRO d inner join ";
    porownaj(linie,
             Wiersze_Z("select d.DDOUT_DATA_WYST, d.nr_zM_PROD, z.PROD_ID, sum(z.ZDDOUT_ILOSC), "
                       "sum(z.ZDDOUT_ILOSC*z.ZDDOUT_CENA_N)" +
                       z +
                       "DOK_PRO_ZAWART z on z.DDOUT_ID=d.DDOUT_ID group by d.DDOUT_DATA_WYST, "
                       "d.nr_zM_PROD, z.PROD_ID"),
             3);
    porownaj(rozbicie,
             Wiersze_Z("select d.DDOUT_DATA_WYST, d.nr_zM_PROD, r.Prod_id, r.sur_id, sum(r.Ilosc), "
                       "sum(r.Ilosc*r.Wartosc)" +
                       z +
                       "DOK_PRS_ZAWART_ROZBICIE r on r.ddout_id=d.DDOUT_ID group by "
                       "d.DDOUT_DATA_WYST, d.nr_zM_PROD, r.Prod_id, r.sur_id"),
             4);
}

TEST_F(Krok407, MonthlyNumberingFollowsTheDatabaseSetting) {
    Sql("insert into Setup values ('ROCZNA', '0')");
    Sql("insert into Numery_OST_DOK_NAG values ('produkcja', 'PRO')");
    // The scheme of the general numbering, its shifts not given.
    Sql("insert into sposob_numeracji (sm_id, tryb, rob_kier) values (0, 0, 0)");
    Dokument(1, "05-04-2004");
    Dokument(2, "06-01-2004");
    Linia(1, 11, 1, 0, 0, 10);
    Linia(2, 11, 1, 0, 0, 10);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_407), "");
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from DOK_PRO order by DDOUT_ID"),
              (Lista{"1/5/2004/PRO", "1/6/2004/PRO"}));
}

}  // namespace
}  // namespace kroki_test
