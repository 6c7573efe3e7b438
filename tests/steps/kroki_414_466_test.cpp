// Steps 4.14 to 4.66 on a database of version 4.13 holding the tables that they read:
// the general ledger, settlement of cash documents, working prices, price lists,
// printers, the 12% VAT rate, account parents and types, turnovers and payroll groups.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "db/polaczenie.h"
#include "jet/dates.h"
#include "jet/value.h"
#include "platform/clock.h"
#include "steps/400_499/wspolne_400.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Teksty = std::vector<std::string>;

// The tables of version 4.13 that the steps read, with the columns they use.
constexpr const char* kSchemat413[] = {
    "create table KONTRAHENCI (konh_id long, KONH_NAZ_SKROT text(50), ID_GR_KONH long, "
    "LCEN_NAZWA_ID text(50), kier_id1 long, kier_id2 long, kier_id3 long, kier_id4 long, "
    "kier_id5 long, kier_id6 long, kier_id7 long, kier_id8 long, kier_id9 long)",
    "create table DOK_ZAK (numer_id long, konh_id long, WART_N money, VAT money, wart_kp money, "
    "data_zakupu datetime, data_zaksiegowania datetime, Opis_Zdarzenia text(50))",
    "create table DOK_ZAK_ZAWART (Countt counter, numer_id long, sur_ID long, CENA_N money, VAT "
    "text(3))",
    "create table DOK_KZA (FKOROUT_ID long, konh_id long, FkorOUT_WART_N money, FkorOUT_wart_VAT "
    "money, wart_kp money, FKOROUT_DATA_WYST datetime)",
    "create table DOK_KFA (FKOROUT_ID long, konh_id long, FkorOUT_WART_N money, FkorOUT_wart_VAT "
    "money, wart_kp money)",
    "create table DOK_KZA_ZAWART (FKOROUT_ID long, PROD_ID long)",
    "create table DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long)",
    "create table DOK_FAK (FAKOUT_ID long, konh_id long, FakOUT_WART_N money, FakOUT_wart_VAT "
    "money, wart_kp money, b_rabat_n money, b_rabat_v money, FAKOUT_NUMER text(30), smz_id long, "
    "FAKOUT_DATA_WYST datetime, num_ndok long, zam_id long, id_kpir long, kier_id long)",
    "create table DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_CENA_N money, "
    "ZFAKOUT_ILOSC single, ZFAKOUT_VAT text(3))",
    "create table DOK_FIN (kp_id long, pw text(1), kwota money, kwota_kw money, Wart_Rozl money, "
    "Zmiana_kwoty_na_dekretacji money)",
    "create table DOK_FIN_ZAWART (COUNTT counter, kp_id long, dok_id long, rodzaj_dok text(20), "
    "kwota money)",
    "create table DOK_FRA (raport_nr long)",
    "create table KPIR_KSIEGA (kpir_id long, data datetime, rodzaj long, opis text(50), konh_id "
    "long, kwota_p money, kwota_pp money, kwota_w money, kwota_z money, kwota_z2 money, kwota_rir "
    "money, kwota_wp money, id_dok long, rodzajdok text(5))",
    "create table KADRY_PIT (ID_prac long)",
    "create table DOK_ZAM (zam_id long, konh_id long, data datetime, tryb long, kier_id1 long, "
    "kier_id2 long, kier_id3 long, kier_id4 long, kier_id5 long, kier_id6 long, kier_id7 long, "
    "kier_id8 long, kier_id9 long, kier_id101 long, kier_id102 long, kier_id103 long, kier_id104 "
    "long, kier_id105 long, kier_id106 long, kier_id107 long, kier_id108 long, kier_id109 long, "
    "kier_id201 long, kier_id202 long, kier_id203 long, kier_id204 long, kier_id205 long, "
    "kier_id206 long, kier_id207 long, kier_id208 long, kier_id209 long)",
    "create table DOK_ZAM_ZAWART (ZAM_ID long, prod_id long)",
    "create table DOK_REI (ID_RI long, Data datetime, RI text(1), Rodz text(1), wartosc money)",
    "create table DOK_REI_ZAWART (COUNTT counter, ID_RI long, ID long, cena money, RI text(1), "
    "Rodz text(1), Ilosc_stanfaktyczny single, Ilosc_namagazynie single, mag_prod single, "
    "zak_il single, sprz_il single, zuzyte single, przych_il single, rozch_il single, wartosc "
    "money)",
    "create table STANY_MAGAZYNOWE (COUNTT counter, prod_id long, ilosc single)",
    "create table STANY_MAGAZYNOWE_ZAWART (IDProd long, DataDok datetime, Lp long, konh_id long)",
    "create table DOK_PRO (ddout_id long, konh_id long, ddout_data_sprz datetime, DDOUT_WART_N "
    "money, DDOUT_wart_VAT money, wart_kp money)",
    "create table DOK_PRO_ZAWART (Countt counter, ddout_id long, prod_id long, ZDDOUT_CENA_N "
    "money, ZDDOUT_ILOSC single)",
    "create table DOK_PRS (ddout_id long, ID_Poszlo_do_zuzycia long, DDOUT_WART_N money, "
    "DDOUT_wart_VAT money, wart_kp money)",
    "create table DOK_PRS_ZAWART (ddout_id long, prod_id long)",
    "create table DOK_PRS_ZAWART_ROZBICIE (ddout_id long, sur_id long)",
    "create table PRODUKTY (prod_id long, PROD_NAZWA_id text(50), CenaRob money)",
    "create table SPOSOB_NUMERACJI (sm_id long)",
    "create table S_GRUPY_PRODUKCYJNE (id_GRProd long)",
    "create table S_GRUPY_KONTRAHENTOW (id_GRKonh long)",
    "create table S_JEDNOSTKI (jedn text(10))",
    "create table S_GRUPYP (grupa long)",
    "create table PLACE_OPISY (POLE long, OPIS text(50), SKR text(30))",
    "create table PLACE_LISTY (idlisty long, datak datetime)",
    "create table PLACE_DANE (idlisty long, idp long, wartosc2 money, wartosc46 money, wartosc94 "
    "money, wartosc96 money, wartosc138 money, wartosc140 money, wartosc142 money, wartosc143 "
    "money, wartosc151 money)",
    "create table KADRY_OPCJE (ID_prac long, DATAOD datetime, ID_GRUPY long, countt counter)",
    "create table KADRY_SWIADECTWA (ID_PRAC long)",
    "create table KADRY_WARUNKI (ID_PRAC long)",
    "create table KADRY_NADGODZINY (ID_PRAC long)",
    "create table DOK_PAR (ddout_id long, konh_id long, DDOUT_WART_N money, DDOUT_wart_VAT money, "
    "wart_kp money)",
    "create table DOK_PAR_ZAWART (ddout_id long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC single, "
    "ZDDOUT_VAT text(3))",
    "create table DOK_PZ (ddout_id long, konh_id long, DDOUT_WART_N money, DDOUT_wart_VAT money, "
    "wart_kp money)",
    "create table DOK_PZ_ZAWART (ddout_id long, prod_id long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC "
    "single)",
    "create table DOK_WZ (ddout_id long, konh_id long, DDOUT_WART_N money, DDOUT_wart_VAT money, "
    "wart_kp money)",
    "create table DOK_WZ_ZAWART (ddout_id long, prod_id long, ZDDOUT_CENA_N money, ZDDOUT_ILOSC "
    "single)",
    "create table CENNIKI (ID long, LCEN_NAZWA_ID text(50), LCEN_DATA datetime)",
    "create table CENNIKI_ZAWART (LCEN_NAZWA_ID text(50), PROD_ID long, CEN_NETTO money)",
    "create table S_VAT_STAWKI (STVAT_ID text(3), STVAT_NAZWA text(10), w_kasie text(5), stawka "
    "single)",
    "create table SETUP (COUNTT counter, Nazwa text(50), Wartosc text(255))",
    "create table DRUKARKI (Port text(10))",
    "create table NIERUSZAC (NumerWersji double)",
};

// The remaining document kinds with the shape of a delivery note.
constexpr const char* kNotowe[] = {"DOK_DAR", "DOK_DD",  "DOK_DZ",  "DOK_RW",
                                   "DOK_PW",  "DOK_PFA", "DOK_ZPF", "DOK_PZS"};

class Kroki414 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.13);
        for (const char* s : kSchemat413) Sql(s);
        for (const char* t : kNotowe) {
            const std::string n = t;
            Sql("create table " + n +
                " (ddout_id long, konh_id long, ddout_data_sprz datetime, DDOUT_WART_N money, "
                "DDOUT_wart_VAT money, wart_kp money)");
            Sql("create table " + n +
                "_ZAWART (Countt counter, ddout_id long, prod_id long, ZDDOUT_CENA_N money, "
                "ZDDOUT_ILOSC single)");
        }
        Data_Przeliczenia = jet::dates::to_serial(2004, 6, 30).value();
    }
    void TearDown() override {
        Data_Przeliczenia = 0;
        platform::set_today(std::nullopt);
        BazaKroku::TearDown();
    }
    // Runs the built steps od to do_ in order; "" when each returned.
    std::string Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) {
            if (!Zbudowane_Kroki().contains(v)) continue;
            const std::string w = Krok(Zbudowane_Kroki().at(v));
            if (!w.empty()) return std::to_string(v) + ": " + w;
            Wersja_Bazy = v / 100.0;
        }
        return "";
    }
};

TEST_F(Kroki414, TheWholeRangeRunsTwiceOver) {
    for (int przebieg = 0; przebieg < 2; ++przebieg) ASSERT_EQ(Kroki(414, 466), "") << przebieg;
    // The new document kinds: empty copies of their models, headers with the returns group.
    for (const char* t :
         {"DOK_PRZ", "DOK_PRZ_ZAWART", "DOK_PRZ_ZAWART_PRO", "DOK_MMZ", "DOK_MMZ_ZAWART", "DOK_MMA",
          "DOK_MMA_ZAWART", "DOK_MMA_ZAWART_PRO", "dok_Fwe", "dok_Fwe_zawart"})
        EXPECT_EQ(Kolumna(std::string("select count(*) from ") + t), (Teksty{"0"})) << t;
    for (const char* t : {"DOK_PRZ", "DOK_MMZ", "DOK_MMA"})
        EXPECT_TRUE(Czyta_Sie(std::string("select ddout_wart_n, Id_GrupaZwrotow, Zwroty_na_MZ, "
                                          "n12, vat12 from ") +
                              t))
            << t;
    EXPECT_FALSE(Czyta_Sie("select Id_GrupaZwrotow from DOK_PRZ_ZAWART"));
    EXPECT_TRUE(Czyta_Sie("select Ilosc_Na_Magazyn from DOK_MMA_ZAWART_PRO"));
    EXPECT_TRUE(Czyta_Sie("select FAKOUT_NUMER, n12 from dok_Fwe"));
}

// The allocation of an excess over the lines that settle one cash document.
TEST(Rozdziel_Nadwyzke, LinesComeDownLargestFirstAndTheWalkAlwaysEnds) {
    struct Przypadek {
        std::vector<double> linie;
        double nadwyzka;
        std::vector<double> wynik;
    };
    const Przypadek przypadki[] = {
        {{50, 30, 30, 10}, 25, {29.99, 29.99, 25.02, 10}},
        {{10, 10, 10}, 1, {9.5, 9.5, 10}},
        {{10, 10, 10}, 0.04, {9.98, 9.98, 10}},
        {{40, 40}, 10, {35, 35}},
        {{20}, 30, {-10}},     // a single line gives everything, below zero
        {{5, 3}, 20, {0, 0}},  // more excess than the lines hold: the walk stops at 0
        {{0, 0}, 1, {0, 0}},
        {{7, 4}, 0, {7, 4}},
    };
    for (const Przypadek& p : przypadki) {
        std::vector<jet::Currency> a;
        for (double d : p.linie) a.push_back(jet::Currency::from_double(d));
        kroki::Rozdziel_Nadwyzke(a, jet::Currency::from_double(p.nadwyzka));
        std::vector<double> w;
        for (const jet::Currency& c : a) w.push_back(c.to_double());
        EXPECT_EQ(w, p.wynik) << p.nadwyzka;
    }
}

class Kroki414Dane : public Kroki414 {
  protected:
    // The columns of a table's primary key, none when it has none.
    static Teksty Klucz(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        Teksty pola;
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
            if (i.Primary) pola = i.Fields;
        baza->Close();
        return pola;
    }
    // Runs the steps and fails the test when one did not return.
    void Do(int od, int do_) { ASSERT_EQ(Kroki(od, do_), ""); }
};

TEST_F(Kroki414Dane, SettledAmountsOfCorrectionsAndCashDocuments) {
    Do(414, 426);
    // Corrections: 7 a sales one, 8 a purchase one, both negative; 9 positive sales, its VAT
    // not given.
    Sql("insert into DOK_KFA (FKOROUT_ID, FkorOUT_WART_N, FkorOUT_wart_VAT, wart_kp) values "
        "(7, -200, -20, 0)");
    Sql("insert into DOK_KFA (FKOROUT_ID, FkorOUT_WART_N, FkorOUT_wart_VAT, wart_kp) values "
        "(9, 100, Null, 5)");
    Sql("insert into DOK_KZA (FKOROUT_ID, FkorOUT_WART_N, FkorOUT_wart_VAT, wart_kp) values "
        "(8, -50, 0, -40)");
    Sql("insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (1, 'P', 500, 0)");
    Sql("insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (2, 'W', 300, 0)");
    Sql("insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (3, 'P', 80, 0)");
    // Cash document 1 settles correction 7 twice, 8 under the wrong kind, and 3.
    // The last line names no document: it keeps its kind and still settles its own.
    for (const char* l : {"1, 7, 'Korekta', 100", "1, 7, 'Korekta', 50", "1, 8, 'Korekta', -10",
                          "2, 9, 'Korekta Zak -', 30", "2, 3, 'KP', 60", "1, Null, 'Korekta', 5"})
        Sql(std::string("insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota) values (") +
            l + ")");
    Do(427, 427);
    EXPECT_EQ(Kolumna("select rodzaj_dok from DOK_FIN_ZAWART order by COUNTT"),
              (Teksty{"Korekta", "Korekta", "Korekta RR", "Korekta", "KP", "Korekta"}));
    EXPECT_EQ(Kolumna("select wart_kp from DOK_KFA order by FKOROUT_ID"), (Teksty{"-150", "30"}));
    EXPECT_EQ(Kolumna("select wart_kp from DOK_KZA"), (Teksty{"0"}));
    EXPECT_EQ(Wiersze_Z("select wart_fin, Wart_Rozl from DOK_FIN order by kp_id"),
              (Wiersze{{"0", "165"}, {"0", "90"}, {"60", "0"}}));
}

TEST_F(Kroki414Dane, CashDocumentsSettledBeyondTheirValue) {
    Do(414, 431);
    // 1 is worth 300 and settled by a line of 500 of document 2. 3 is worth 10 but its own
    // line settles 50 elsewhere, and lines of 5 and 5 of documents 4 and 5 settle it: its
    // excess (50) is more than those lines hold.
    for (const char* d : {"1, 'P', 300, 0", "2, 'W', 600, 0", "3, 'P', 10, 0", "4, 'P', 5, 0",
                          "5, 'P', 5.004, 0", "6, 'P', 100, 0"})
        Sql(std::string("insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (") + d + ")");
    for (const char* l : {"2, 1, 'KP', 500", "3, 6, 'KP', 50", "4, 3, 'KP', 5", "5, 3, 'KW', 5"})
        Sql(std::string("insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota) values (") +
            l + ")");
    // Lines of other documents that hold the counters of a capped and a lowered line (a
    // restore, before the counter is unique) keep their amounts.
    for (const char* l : {"1, 7, 99, 'FV', 80", "3, 8, 98, 'FV', 70"})
        Sql(std::string("insert into DOK_FIN_ZAWART values (") + l + ")");
    Do(432, 432);
    EXPECT_EQ(Kolumna("select kwota from DOK_FIN_ZAWART order by COUNTT, kp_id"),
              (Teksty{"300", "80", "50", "0", "70", "0"}));
    EXPECT_EQ(Wiersze_Z("select kp_id, kwota, wart_fin, Wart_Rozl from DOK_FIN order by kp_id"),
              (Wiersze{{"1", "300", "300", "0"},
                       {"2", "600", "0", "300"},
                       {"3", "10", "0", "50"},
                       {"4", "5", "0", "0"},
                       {"5", "5", "0", "0"},
                       {"6", "100", "50", "0"}}));
}

TEST_F(Kroki414Dane, OrderRoutesFromTheContractor) {
    Sql("insert into KONTRAHENCI (konh_id, kier_id1, kier_id2, kier_id3, kier_id4, kier_id5, "
        "kier_id6, kier_id7, kier_id8, kier_id9) values (1, 5, 0, 7, 0, 0, 0, 0, 0, Null)");
    Sql("insert into KONTRAHENCI (konh_id, kier_id1) values (2, 0)");
    for (const char* z : {"1, 1, 0", "2, 2, 0", "3, 9, 0", "4, 1, Null", "5, 1, 3"})
        Sql(std::string("insert into DOK_ZAM (zam_id, konh_id, kier_id1) values (") + z + ")");
    Do(414, 416);
    const std::string sloty =
        "kier_id1 & kier_id2 & kier_id3 & kier_id4 & kier_id5 & kier_id6 & kier_id7 & kier_id8 & "
        "kier_id9";
    const std::string sql = "select " + sloty + ", " + [&] {
        std::string s;
        for (int r : {10, 20}) {
            s += s.empty() ? "" : " & '|' & ";
            for (int i = 1; i <= 9; ++i)
                s += (i > 1 ? " & " : "") + std::string("kier_id") + std::to_string(r) +
                     std::to_string(i);
        }
        return s;
    }() + " from DOK_ZAM order by zam_id";
    EXPECT_EQ(Wiersze_Z(sql), (Wiersze{{"557555555", "557555555|557555555"},
                                       {"000000000", "000000000|000000000"},
                                       {"0", "|"},
                                       {"Null", "|"},
                                       {"3", "|"}}));
}

TEST_F(Kroki414Dane, WorkingPriceOfEachProduct) {
    for (int p : {1, 2, 3})
        Sql("insert into PRODUKTY (prod_id) values (" + std::to_string(p) + ")");
    Sql("insert into DOK_REI (ID_RI, Data, RI) values (1, #5/5/2003#, 'R')");
    Sql("insert into DOK_REI_ZAWART (ID_RI, ID, cena, RI, Ilosc_namagazynie, Ilosc_stanfaktyczny) "
        "values (1, 1, 3, 'R', 7, 6)");
    Sql("insert into DOK_REI_ZAWART (ID_RI, ID, cena, RI) values (1, 2, 3, 'B')");
    Sql("insert into DOK_ZAK (numer_id, data_zakupu) values (1, #5/5/2003 10:00#)");
    Sql("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, VAT) values (1, 1, 4, '22')");
    Sql("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, VAT) values (1, 2, 4, '22')");
    Sql("insert into DOK_PW (ddout_id, ddout_data_sprz) values (1, #5/6/2003#)");
    Sql("insert into DOK_PW_ZAWART (ddout_id, prod_id, ZDDOUT_CENA_N) values (1, 2, 5)");
    Sql("insert into DOK_PW (ddout_id, ddout_data_sprz) values (2, #5/6/1989#)");
    Sql("insert into DOK_PW_ZAWART (ddout_id, prod_id, ZDDOUT_CENA_N) values (2, 3, 9)");
    // Product 4 bought on one day at 8 and 7 by purchase 3 and at 6 by purchase 2, the
    // last-entered line of the latest purchase stored last.
    Sql("insert into PRODUKTY (prod_id) values (4)");
    for (const char* z : {"3", "2"})
        Sql(std::string("insert into DOK_ZAK (numer_id, data_zakupu) values (") + z +
            ", #5/7/2003#)");
    for (const char* z : {"3, 4, 8", "2, 4, 6", "3, 4, 7"})
        Sql(std::string("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, VAT) values (") + z +
            ", '22')");
    Do(414, 430);
    // 1: stocktaking and purchase on one day, the purchase wins; 2: the later PW; 3: only a
    // line before 1990; 4: of one day's lines, the latest purchase's latest line.
    EXPECT_EQ(Wiersze_Z("select prod_id, DataRob, CenaRob from PRODUKTY order by prod_id"),
              (Wiersze{{"1", "2003-05-05 10:00:00", "4"},
                       {"2", "2003-05-06", "5"},
                       {"3", "1990-01-01", "0"},
                       {"4", "2003-05-07", "7"}}));
    EXPECT_EQ(Wiersze_Z("select ID, Ilosc_stanfaktyczny from DOK_REI_ZAWART"),
              (Wiersze{{"1", "7"}}));
    EXPECT_EQ(Kolumna("select JestWartosc from DOK_REI"), (Teksty{"True"}));
}

TEST_F(Kroki414Dane, TheLedgerFromOpeningBalancesToTurnovers) {
    Sql("insert into KONTRAHENCI (konh_id, KONH_NAZ_SKROT) values (1, 'Młyn')");
    Do(414, 417);
    const auto konto = [](const std::string& wartosci) {
        Sql("insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Typ, Kartoteka) values (" +
            wartosci + ")");
    };
    konto("2004, '201', '', '', '', 'X', 0");      // 1
    konto("2004, '201', '02', '', '', 'X', 0");    // 2
    konto("2004, '201', '02', '01', '', 'X', 0");  // 3
    konto("2004, '300', '', '', '', 'X', -1");     // 4
    konto("2003, '201', '', '', '', 'X', 0");      // 5
    konto("2004, '100', '', '', '', 'X', 0");      // 6
    konto("2004, '100', '', '5', '', 'X', 0");     // 7, closed up to 100-5
    konto("2004, '2''1', 'A', '', '', 'X', 0");    // 8, an apostrophe in a segment
    konto("2004, '2''1', '', '', '', 'X', 0");     // 9
    Sql("insert into KH_DEKRETY (ID_DOK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, KWOTA_WN, KWOTA_MA, ROK, "
        "MIESIAC) values (4, '201', '', '', '', 15, 2, 2004, 0)");
    Sql("insert into KH_DEKRETY (ID_DOK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, KWOTA_WN, KWOTA_MA, ROK, "
        "MIESIAC) values (4, '201', '', '', '', 5, 1, 2004, Null)");  // no month: month 0
    Do(418, 420);
    EXPECT_EQ(Wiersze_Z("select WN_00, MA_00 from KH_KONTA where COUNTT in (1, 2)"),
              (Wiersze{{"20", "3"}, {"0", "0"}}));
    EXPECT_EQ(Kolumna("select kpir_id from KH_DEKRETY"), (Teksty{"4", "4"}));
    EXPECT_FALSE(Czyta_Sie("select ID_DOK from KH_DEKRETY"));
    Sql("delete from KH_DEKRETY");
    Do(421, 457);

    // Entries: 1 a receipt sale (unposted), 2 of kind 51 (posted), 3 cancelled, 4 of kind 99.
    for (const char* k : {"1, 20, 'Paragon', #3/3/2004#, 0, 0", "2, 51, 'X', #5/5/2004#, -1, 0",
                          "3, 30, 'Z', #5/7/2004#, -1, -1", "4, 99, 'Q', #5/8/2004#, 0, 0"})
        Sql(std::string("insert into KH_KSIEGA (kpir_id, rodzaj, opis, data, Glowna, Anulowana) "
                        "values (") +
            k + ")");
    const auto dekret = [](const std::string& wartosci) {
        Sql("insert into KH_DEKRETY (kpir_id, NR_K_1, NR_K_2, NR_K_3, NR_K_4, KWOTA_WN, KWOTA_MA, "
            "ROK, MIESIAC, Opis, Konh_id) values (" +
            wartosci + ")");
    };
    dekret("1, '201', '02', '01', '', 100, 0, 2004, 3, 'A', 0");
    dekret("1, '300', '', '', '', 0, 100, 2004, 3, 'B', 0");
    dekret("2, '201', '02', '01', '', 0, 50, 2004, 5, 'X', 0");
    dekret("2, '999', '', '', '', 0, 0, 2004, 5, 'X', 1");
    dekret("2, '300', '', '', '', 0, 0, 2004, 5, 'Y', 0");
    dekret("3, '201', '02', '01', '', 0, 70, 2004, 5, 'Z', 0");
    dekret("4, '300', '', '', '', 0, 0, 2004, 5, 'Q', 0");
    dekret("4, '201', '', '', '', 0, 0, 2004, 5, 'Q', 0");
    Do(458, 461);
    Sql("update KH_KSIEGA set Suma_wn=Null where kpir_id=3");  // a side not given counts as 0
    Do(462, 463);
    // The recomputation's transaction is closed: the next one begins at the first level.
    EXPECT_EQ(polaczenie().BeginTrans(), 1);
    polaczenie().CommitTrans();

    // Parents, closed-up segments, types, kinds and the new account of the missing number.
    EXPECT_EQ(Wiersze_Z("select COUNTT, NR_K_1 & '-' & NR_K_2 & '-' & NR_K_3, "
                        "Countt_Konta_Ojaca_1, Countt_Konta_Ojaca_2, Countt_Konta_Ojaca_3, Typ, "
                        "KONTO, Kontr, Nazwa_konta from KH_KONTA order by COUNTT"),
              (Wiersze{{"1", "201--", "0", "0", "0", "S", "201", "Null", "Null"},
                       {"2", "201-02-", "1", "0", "0", "P", "201-02", "Null", "Null"},
                       {"3", "201-02-01", "1", "2", "0", "X", "201-02-01", "Null", "Null"},
                       {"4", "300--", "0", "0", "0", "X", "300", "K", "Null"},
                       {"5", "201--", "0", "0", "0", "S", "201", "Null", "Null"},
                       {"6", "100--", "0", "0", "0", "S", "100", "Null", "Null"},
                       {"7", "100-5-", "6", "0", "0", "X", "100-5", "Null", "Null"},
                       {"8", "2'1-A-", "9", "0", "0", "X", "2'1-A", "Null", "Null"},
                       {"9", "2'1--", "0", "0", "0", "S", "2'1", "Null", "Null"},
                       {"10", "999--", "0", "0", "0", "B", "999", "Null", "Młyn"}}));
    EXPECT_EQ(Wiersze_Z("select kpir_id, rodzaj, Bledy, Suma_wn, Suma_ma, ROK, MIESIAC from "
                        "KH_KSIEGA order by kpir_id"),
              (Wiersze{{"1", "21", "False", "100", "100", "2004", "3"},
                       {"2", "51", "True", "0", "100", "2004", "5"},
                       {"3", "30", "True", "0", "140", "2004", "5"},
                       {"4", "99", "True", "0", "0", "2004", "5"}}));
    EXPECT_EQ(Kolumna("select Konta_Przeciwstawne from KH_DEKRETY order by COUNTT"),
              (Teksty{"300---;", "201-02-01-;", "999---;", "201-02-01-;", "", "", "", ""}));
    // Turnovers at four levels: unposted in March, posted in May; the cancelled posting
    // counts nowhere posted.
    EXPECT_EQ(Wiersze_Z("select COUNTT, DZ_WN_03, DZ_MA_03, WN_05, MA_05, DZ_MA_05 from KH_KONTA "
                        "where COUNTT<=5 order by COUNTT"),
              (Wiersze{{"1", "100", "0", "0", "50", "0"},
                       {"2", "100", "0", "0", "50", "0"},
                       {"3", "100", "0", "0", "50", "0"},
                       {"4", "0", "100", "0", "0", "0"},
                       {"5", "0", "0", "0", "0", "0"}}));
}

// The year whose counter-accounts and posted turnovers are rebuilt: the year of
// Data_Przeliczenia when it is set, else today's year.
TEST_F(Kroki414Dane, TheYearOfTheRecomputationWithAndWithoutItsDate) {
    struct Przypadek {
        const char* nazwa;
        double data;
        platform::LocalDate dzisiaj;
        Wiersze obroty;  // ROK, NR_K_1, WN_05, MA_05 of the accounts
        Teksty przeciwstawne;
    };
    const double w_2004 = jet::dates::to_serial(2004, 6, 30).value();
    // The year 2004 recomputed: its May postings turned over, its counter-accounts named.
    const Wiersze obroty_2004 = {{"2003", "201", "0", "0"},
                                 {"2003", "300", "0", "0"},
                                 {"2004", "201", "10", "0"},
                                 {"2004", "300", "0", "10"}};
    const Teksty przeciwstawne_2004 = {"300---;", "201---;", "Null", "Null"};
    const Przypadek przypadki[] = {
        {"set date", w_2004, {2003, 12, 31}, obroty_2004, przeciwstawne_2004},
        {"unset, today in 2004", 0, {2004, 1, 1}, obroty_2004, przeciwstawne_2004},
        {"unset, today in 2003",
         0,
         {2003, 12, 31},
         {{"2003", "201", "7", "0"},
          {"2003", "300", "0", "7"},
          {"2004", "201", "0", "0"},
          {"2004", "300", "0", "0"}},
         {"Null", "Null", "300---;", "201---;"}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        TearDown();
        SetUp();
        Data_Przeliczenia = p.data;
        platform::set_today(p.dzisiaj);
        Do(414, 457);
        for (const char* k : {"2003, '201'", "2003, '300'", "2004, '201'", "2004, '300'"})
            Sql(std::string("insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Typ, "
                            "Kartoteka) values (") +
                k + ", '', '', '', 'X', 0)");
        for (const char* k : {"1, 51, 'X', #5/5/2004#, -1, 0", "2, 51, 'X', #5/5/2003#, -1, 0"})
            Sql(std::string("insert into KH_KSIEGA (kpir_id, rodzaj, opis, data, Glowna, "
                            "Anulowana) values (") +
                k + ")");
        for (const char* d : {"1, '201', 10, 0, 2004", "1, '300', 0, 10, 2004",
                              "2, '201', 7, 0, 2003", "2, '300', 0, 7, 2003"})
            Sql(std::string("insert into KH_DEKRETY (kpir_id, NR_K_1, KWOTA_WN, KWOTA_MA, ROK, "
                            "NR_K_2, NR_K_3, NR_K_4, MIESIAC, Konh_id, Opis) values (") +
                d + ", '', '', '', 5, 0, 'A')");
        Do(458, 463);
        EXPECT_EQ(Wiersze_Z("select ROK, NR_K_1, WN_05, MA_05 from KH_KONTA order by ROK, NR_K_1"),
                  p.obroty);
        EXPECT_EQ(Kolumna("select Konta_Przeciwstawne from KH_DEKRETY order by COUNTT"),
                  p.przeciwstawne);
    }
}

// An entry of 30 postings: each lists the accounts of the 29 others, 13 characters each,
// as far as the column's 255 characters take them whole; the Log counts the postings cut.
TEST_F(Kroki414Dane, ACounterAccountListKeepsTheAccountsThatFitItsColumn) {
    Do(414, 457);
    Sql("insert into KH_KSIEGA (kpir_id, rodzaj, data) values (1, 20, #5/5/2004#)");
    for (int i = 100; i < 130; ++i)
        Sql("insert into KH_DEKRETY (kpir_id, NR_K_1, NR_K_2, NR_K_3, NR_K_4, KWOTA_WN, ROK, "
            "MIESIAC, Opis, Konh_id) values (1, '" +
            std::to_string(i) + "', '01', '02', '03', 1, 2004, 5, 'A', 0)");
    Do(458, 462);
    EXPECT_EQ(Kolumna("select Len(Konta_Przeciwstawne) & ' ' & Right(Konta_Przeciwstawne, 13) "
                      "from KH_DEKRETY where NR_K_1='100'"),
              (Teksty{"247 119-01-02-03;"}));
    EXPECT_EQ(Linie_Logu("nie mieści się w 255 znakach (konta, które się nie zmieściły, "
                         "pominięto): 30")
                  .size(),
              1u);
}

TEST_F(Kroki414Dane, FillsOfDocumentsPriceListsAndPayroll) {
    for (const char* w : {
             "insert into KONTRAHENCI (konh_id, LCEN_NAZWA_ID, kier_id1, kier_id3) values (1, "
             "'A', 4, 12)",
             "insert into DOK_FAK (FAKOUT_ID, konh_id, FakOUT_WART_N, FakOUT_wart_VAT, wart_kp, "
             "b_rabat_n, b_rabat_v) values (1, 1, 100, 0.004, 100, 5, 1)",
             "insert into DOK_FAK (FAKOUT_ID, konh_id, FakOUT_WART_N, FakOUT_wart_VAT, wart_kp, "
             "b_rabat_n, b_rabat_v) values (2, 2, 100, 0, Null, 5, 1)",
             "insert into DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID) values (1, 1)",
             "insert into DOK_PAR_ZAWART values (1, 10, 3, '22')",
             "insert into DOK_PAR_ZAWART values (2, 10, 3, 'zw')",
             "insert into DOK_PAR_ZAWART values (3, 10, 3, '5')",
             "insert into PRODUKTY (prod_id, PROD_NAZWA_id) values (1, 'Chleb')",
             "insert into DOK_PZ_ZAWART values (1, 1, 2, 12)",
             "insert into DOK_PZ_ZAWART values (1, 7, 2, 5)",
             "insert into CENNIKI values (1, 'A', #1/1/2003#)",
             "insert into CENNIKI values (2, 'B', #1/1/2004#)",
             "insert into CENNIKI_ZAWART values ('B', 1, 3)",
             "insert into CENNIKI_ZAWART values ('C', 1, 4)",
             "insert into DOK_ZAK (numer_id, data_zaksiegowania) values (1, #2/3/2004#)",
             "insert into DOK_ZAK (numer_id) values (2)",
             "insert into S_VAT_STAWKI values ('12', 'stara', 'x', 12)",
             "insert into DOK_PRO (ddout_id) values (1)",
             "insert into DOK_PRS (ddout_id, ID_Poszlo_do_zuzycia) values (1, 1)",
             "insert into DOK_PRS (ddout_id, ID_Poszlo_do_zuzycia) values (2, 5)",
             "insert into DOK_PRS (ddout_id, ID_Poszlo_do_zuzycia) values (3, 0)",
             "insert into DOK_PRS_ZAWART values (2, 1)",
             "insert into DOK_PRS_ZAWART values (3, 1)",
             "insert into DOK_PRS_ZAWART_ROZBICIE values (2, 1)",
             "insert into PLACE_DANE (idp, wartosc2, wartosc46, wartosc94, wartosc96, wartosc138, "
             "wartosc140, wartosc142, wartosc143, wartosc151) values (1, 5, 1000, 10, 20, 30, 40, "
             "50, 60, 7)",
             "insert into PLACE_DANE (idp, wartosc46) values (2, 500)",
             "insert into DOK_PW (ddout_id, DDOUT_WART_N, DDOUT_wart_VAT, wart_kp) values (3, "
             "Null, 0, 0)",
         })
        Sql(w);
    Do(414, 457);
    struct Sprawdzenie {
        const char* zapytanie;
        Wiersze wynik;
    };
    const Sprawdzenie sprawdzenia[] = {
        // Settled in full when issued: 100 + 0.004 reads 100.00; a Null payment never.
        {"select RozlNieZalDok, F_Anulowana, b_rabat_n, b_rabat_v, ID_Cennika from DOK_FAK order "
         "by FAKOUT_ID",
         {{"True", "Null", "5", "1", "1"}, {"Null", "True", "0", "0", "Null"}}},
        {"select RozlNieZalDok from DOK_PW where ddout_id=3", {{"True"}}},
        {"select WSPRZ_CENA_BRUTTO, WSPRZ_WARTOSC_BRUTTO from DOK_PAR_ZAWART order by ddout_id",
         {{"12,2", "36,6"}, {"10", "30"}, {"Null", "Null"}}},
        {"select Kier_id103, Kier_id203, Kier_id101, Kier_id109 from KONTRAHENCI",
         {{"12", "12", "4", "Null"}}},
        {"select Ilosc_Mag, Wsp_Przel, Sp_Przel, Nazwa_Asort from DOK_PZ_ZAWART order by prod_id",
         {{"12", "1", "Brak", "Chleb"}, {"5", "1", "Brak", "Null"}}},
        {"select ID_CENNIKA, LCEN_DATA, ACTIVE from CENNIKI order by ID_CENNIKA",
         {{"1", "1990-01-01", "True"}, {"2", "1990-01-01", "True"}}},
        {"select LCEN_NAZWA_ID, ID_CENNIKA, ACTIVE from CENNIKI_ZAWART order by LCEN_NAZWA_ID",
         {{"B", "2", "True"}, {"C", "0", "True"}}},
        {"select Data_Vat, Data_Rozl from DOK_ZAK order by numer_id",
         {{"2004-02-03", "2004-02-03"}, {"Null", "Null"}}},
        // The rate that the database held keeps its figure.
        {"select STVAT_ID, STVAT_NAZWA, w_kasie, stawka from S_VAT_STAWKI",
         {{"12", "12%", "", "12"}}},
        // Consumption documents of a missing production document go with their lines.
        {"select ddout_id from DOK_PRS order by ddout_id", {{"1"}, {"3"}}},
        {"select ddout_id from DOK_PRS_ZAWART", {{"3"}}},
        {"select count(*) from DOK_PRS_ZAWART_ROZBICIE", {{"0"}}},
        {"select wartosc175, wartosc176, wartosc177, wartosc178, wartosc179, wartosc180 from "
         "PLACE_DANE order by idp",
         {{"1000", "10", "20", "30", "810", "12"}, {"500", "Null", "Null", "Null", "500", "0"}}},
        {"select POLE, SKR from PLACE_OPISY where POLE in (172, 180) order by POLE",
         {{"172", "Nadpł.pod."}, {"180", "OGÓŁEM PRZYCHÓD"}}},
    };
    for (const Sprawdzenie& s : sprawdzenia)
        EXPECT_EQ(Wiersze_Z(s.zapytanie), s.wynik) << s.zapytanie;
}

TEST_F(Kroki414Dane, PrinterCodePagesAndPriceListKeys) {
    Sql("insert into CENNIKI values (1, 'A', #1/1/2003#)");
    Sql("insert into CENNIKI_ZAWART values ('A', 1, 3)");
    Sql("insert into CENNIKI_ZAWART values ('C', 1, 4)");  // its price list is gone
    Sql("insert into CENNIKI_ZAWART values ('E', 2, 6)");  // two lines of one product
    Sql("insert into CENNIKI_ZAWART values ('D', 2, 5)");  // without a price list
    Do(414, 454);
    EXPECT_EQ(Wiersze_Z("select count(*), min(jj) from Drukarki_Litery"),
              (Wiersze{{"23", "True"}}));
    EXPECT_EQ(Wiersze_Z("select count(*), min(II) from Drukarki_Kody"), (Wiersze{{"11", "True"}}));
    EXPECT_EQ(Kolumna("select chars from Drukarki_Litery where StronaKodowa in ('Cp1250 Windows', "
                      "'Bez polskich znaków') order by Countt"),
              (Teksty{"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ", "acelnoszzACELNOSZZ"}));
    EXPECT_EQ(Kolumna("select chars from Drukarki_Litery where StronaKodowa='DHN?'"),
              (Teksty{"‰Š‹ŚŤŽŹ‘\u0090€\u0081‚\u0083„…†\u0088‡"}));
    EXPECT_EQ(Wiersze_Z("select Emulacja, PRN_COMPRESSED_PREFIX, PRN_WIDE_PREFIX from "
                        "Drukarki_Kody where Emulacja in ('EMULACJA EPSON OKI', 'HP 520 DESKJET') "
                        "order by Countt"),
              (Wiersze{{"EMULACJA EPSON OKI", "\x11",
                        "\x1b"
                        "W1"},
                       {"HP 520 DESKJET", "\x1b(s12H", ""}}));
    // The line of the missing price list gets 0, and the line key holds; a product keeps
    // one line without a price list, its first by name.
    EXPECT_EQ(Wiersze_Z("select LCEN_NAZWA_ID, ID_CENNIKA from CENNIKI_ZAWART order by "
                        "LCEN_NAZWA_ID"),
              (Wiersze{{"A", "1"}, {"C", "0"}, {"D", "0"}}));
    EXPECT_EQ(Klucz("CENNIKI_ZAWART"), (Teksty{"LCEN_NAZWA_ID", "PROD_ID", "ID_CENNIKA"}));
    EXPECT_EQ(Klucz("CENNIKI"), (Teksty{"LCEN_NAZWA_ID", "LCEN_DATA"}));
}

TEST_F(Kroki414Dane, PayrollRowsTakeTheGroupOfTheEndOfTheMonth) {
    // Two rows of one date: the one of the higher counter holds, the other stored first.
    for (const char* o : {"1, #3/1/2005#, 2, 10", "1, #7/1/2005#, 4, 11", "1, #7/1/2005#, 5, 12"})
        Sql(std::string("insert into KADRY_OPCJE values (") + o + ")");
    int lista = 0;
    for (const char* d : {"#6/15/2005#", "#7/1/2005#", "#7/31/2005#", "#2/15/2005#", "Null"}) {
        const std::string n = std::to_string(++lista);
        Sql("insert into PLACE_LISTY values (" + n + ", " + d + ")");
        Sql("insert into PLACE_DANE (idlisty, idp) values (" + n + ", 1)");
    }
    Sql("insert into PLACE_DANE (idlisty, idp) values (1, 2)");     // no options
    Sql("insert into PLACE_DANE (idlisty, idp) values (1, Null)");  // no employee
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        Do(414, 466);
        EXPECT_EQ(Kolumna("select ID_GRUPY from PLACE_DANE order by idlisty, idp"),
                  (Teksty{"Null", "2", "Null", "5", "5", "Null", "Null"}));
        EXPECT_EQ(Wiersze_Z("select ID_BAZY, SIEZKA, ACTIVE from KH_BAZY"),
                  (Wiersze{{"0", "Główna", "True"}}));
        Wersja_Bazy = 4.13;
    }
    EXPECT_TRUE(Czyta_Sie("select ROK, MIESIAC, ID_BAZY from Nieruszac"));
}

TEST_F(Kroki414Dane, PostingSchemesAndDiscountRows) {
    Sql("insert into KONTRAHENCI (konh_id, kier_id3) values (1, 12)");
    Do(414, 436);
    Sql("insert into Kontrahenci_Rabaty (Konh_id, Id_GR_prod) values (1, 1)");
    Sql("insert into Kontrahenci_Rabaty (Konh_id, Id_GR_prod) values (99, 1)");
    Sql("insert into KH_SCHEMATY (SYMBOL_SCH, ROK) values ('FS', 0)");
    Sql("insert into KH_SCHEMATY (SYMBOL_SCH, ROK) values ('FN', Null)");
    Sql("insert into KH_SCHEMATY_ZAWART (SYMBOL_SCH, KONTO) values ('FS', '200')");
    Sql("insert into KH_SCHEMATY_ZAWART (SYMBOL_SCH, KONTO) values ('FS', '100')");
    Do(437, 450);
    Do(450, 450);  // the cash-and-bank scheme is added once
    // Schemes and lines without a year, the lines' year column new, take this one.
    const std::string rok = std::to_string(kroki::Rok_Dzisiaj());
    EXPECT_EQ(Wiersze_Z("select Konh_id, Kier_id3, Kier_id103, Kier_id203, Kier_id1 from "
                        "Kontrahenci_Rabaty order by Konh_id"),
              (Wiersze{{"1", "12", "12", "12", "Null"}, {"99", "Null", "Null", "Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select SYMBOL_SCH, NAZWA_SCH, ROK from KH_SCHEMATY order by COUNTT"),
              (Wiersze{{"FS", "Null", rok}, {"FN", "Null", rok}, {"KB", "Kasy i Banki", rok}}));
    EXPECT_EQ(Wiersze_Z("select SYMBOL_SCH, POLE, KONTO, STRONA, Rodz_Aso, Kartoteka, ROK from "
                        "KH_SCHEMATY_ZAWART order by COUNTT"),
              (Wiersze{{"FS", "Null", "200", "Null", "PTOSUKŚ", "K", rok},
                       {"FS", "Null", "100", "Null", "PTOSUKŚ", "", rok},
                       {"KB", "BRUTTO", "200", "WN", "PTOSUKŚ", "K", rok}}));
}

}  // namespace
}  // namespace kroki_test
