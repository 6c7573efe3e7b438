// Steps 4.00 to 6.46 that carry an amount or a quantity from another: a Null adds nothing
// and never replaces an amount that stood, and a row without a figure keeps its Null.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

struct Przypadek {
    const char* nazwa;
    double wersja;  // the version before the step
    MetodaKroku krok;
    std::vector<std::string> tabele_i_wiersze;
    std::vector<std::string> zapytania;  // their rows, one after another
    Wiersze oczekiwane;
};

const char* const kSrodki =
    "create table SRODKI_TRWALE_ZAWART (id long, KWOTA_DO_AMORT money, KWOTA_ZAMORT money, "
    "stawka_amort single, wartosc money, umorzenie money, sp_amort text(50), wspolczynnik "
    "single, symbol text(20), data_wpr_e datetime, wprowadz text(1))";
const char* const kPlan =
    "create table SRODKI_TRWALE_AMORTYZACJA (id long, MIESIAC long, ROK long, ID_KPIR long, "
    "KWOTA money)";
const char* const kReszta541[] = {"create table STANY_MAGAZYNOWE (id long, Stan2 single)",
                                  "create table Produkty (prod_id long)",
                                  "create table S_GRUPY_ZWROTOW (id long)"};

std::vector<std::string> Z_Reszta541(std::vector<std::string> w) {
    w.insert(w.begin(), {kSrodki, kPlan});
    for (const char* t : kReszta541) w.push_back(t);
    return w;
}

const char* const kFin =
    "create table DOK_FIN (kp_id long, pw text(1), kwota money, kwota_kw money, Wart_Rozl money, "
    "wart_fin money)";
const char* const kFinZawart =
    "create table DOK_FIN_ZAWART (COUNTT counter, kp_id long, dok_id long, rodzaj_dok text(20), "
    "kwota money)";

// The headers of step 4.52, each with its contractor, and the price lists of a name that
// two of them share.
std::vector<std::string> Z_Naglowkami452(std::vector<std::string> w) {
    for (const char* t :
         {"DOK_DAR", "DOK_DD", "DOK_DZ", "DOK_FAK", "DOK_KFA", "DOK_KZA", "DOK_PAR", "DOK_PFA",
          "DOK_PW", "DOK_PZ", "DOK_RW", "DOK_WZ", "DOK_ZAK", "DOK_ZPF", "DOK_FWE"})
        w.insert(w.begin(), std::string("create table ") + t + " (konh_id long)");
    return w;
}

const Przypadek kPrzypadki[] = {
    {"4.51: the lines of a price list name that two price lists share take the first of them",
     4.50,
     &ClsKonwersje::Konwersja_451,
     {"create table CENNIKI (ID long, LCEN_NAZWA_ID text(50), LCEN_DATA datetime)",
      "create table CENNIKI_ZAWART (LCEN_NAZWA_ID text(50), PROD_ID long)",
      "insert into CENNIKI (LCEN_NAZWA_ID) values ('A')",
      "insert into CENNIKI (LCEN_NAZWA_ID) values ('B')",
      "insert into CENNIKI (LCEN_NAZWA_ID) values ('A')",
      "insert into CENNIKI_ZAWART values ('A', 10)", "insert into CENNIKI_ZAWART values ('B', 10)"},
     {"select LCEN_NAZWA_ID, ID_CENNIKA from CENNIKI_ZAWART order by LCEN_NAZWA_ID"},
     {{"A", "1"}, {"B", "2"}}},
    {"4.52: a document of a contractor whose price list name two price lists share takes the "
     "first of them",
     4.51,
     &ClsKonwersje::Konwersja_452,
     Z_Naglowkami452({"create table kontrahenci (konh_id long, lcen_nazwa_id text(50))",
                      "create table cenniki (id_cennika long, lcen_nazwa_id text(50))",
                      "insert into cenniki values (2, 'A')", "insert into cenniki values (5, 'A')",
                      "insert into cenniki values (7, 'B')",
                      "insert into kontrahenci values (1, 'A')",
                      "insert into kontrahenci values (2, 'B')", "insert into DOK_FAK values (1)",
                      "insert into DOK_FAK values (2)"}),
     {"select konh_id, ID_Cennika from DOK_FAK order by konh_id"},
     {{"1", "2"}, {"2", "7"}}},
    {"4.00: a settling line without an amount settles nothing",
     3.99,
     &ClsKonwersje::Konwersja_400,
     {"create table DOK_FIN (kp_id long, kwota money)", kFinZawart,
      "create table DOK_ZAK (numer_id long)", "insert into DOK_FIN values (1, 500)",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, kwota) values (1, 7, 100)",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, kwota) values (1, 8, Null)"},
     {"select Wart_Rozl from DOK_FIN"},
     {{"100"}}},
    {"4.18: an account's opening balance totals its month-0 postings, one without amounts "
     "adds nothing",
     4.17,
     &ClsKonwersje::Konwersja_418,
     {"create table KH_KONTA (ROK long, NR_K_1 text(10), NR_K_2 text(10), NR_K_3 text(10), "
      "NR_K_4 text(10), WN_00 money, MA_00 money)",
      "create table KH_DEKRETY (NR_K_1 text(10), NR_K_2 text(10), NR_K_3 text(10), NR_K_4 "
      "text(10), KWOTA_WN money, KWOTA_MA money, ROK long, MIESIAC long)",
      "insert into KH_KONTA values (2004, '201', '', '', '', 7, 7)",
      "insert into KH_DEKRETY values ('201', '', '', '', 15, 2, 2004, 0)",
      "insert into KH_DEKRETY values ('201', '', '', '', 5, Null, 2004, 0)",
      "insert into KH_DEKRETY values ('201', '', '', '', Null, Null, 2004, 0)",
      "insert into KH_DEKRETY values ('201', '', '', '', 100, 100, 2004, 1)"},
     {"select WN_00, MA_00 from KH_KONTA"},
     {{"20", "2"}}},
    {"4.31: an empty component counts as 0 in the sums, and a row with all of them empty "
     "gets the sum 0",
     4.30,
     &ClsKonwersje::Konwersja_431,
     {"create table dok_zak (numer_id long, Opis_Zdarzenia text(50))",
      "create table PLACE_OPISY (POLE long, OPIS text(50), SKR text(30))",
      "create table KADRY_WARUNKI (ID_PRAC long)",
      "create table PLACE_DANE (idp long, wartosc2 money, wartosc46 money, wartosc94 money, "
      "wartosc96 money, wartosc138 money, wartosc140 money, wartosc142 money, wartosc143 money, "
      "wartosc151 money)",
      "insert into PLACE_DANE values (1, Null, 1000, 100, 0, Null, 50, Null, 0, 30)",
      "insert into PLACE_DANE (idp) values (2)"},
     {"select wartosc179, wartosc180 from PLACE_DANE order by idp"},
     {{"850", "30"}, {"0", "0"}}},
    {"4.62: a missing account is made once, with its postings' lowest contractor, and its "
     "turnovers leave out an empty amount; postings take the first account of a number that "
     "the chart holds twice, and a posting without its year makes no account; a parent that "
     "the account lacks is 0",
     4.61,
     &ClsKonwersje::Konwersja_462,
     {"create table KH_KONTA (COUNTT counter, ROK long, NR_K_1 text(10), NR_K_2 text(10), NR_K_3 "
      "text(10), NR_K_4 text(10), Nazwa_konta text(50), Typ text(1), Rodzaj long, Kartoteka long, "
      "Konh_id long, Countt_Konta_Ojaca_1 long, Countt_Konta_Ojaca_2 long, Countt_Konta_Ojaca_3 "
      "long)",
      "create table KH_DEKRETY (COUNTT counter, kpir_id long, ROK long, MIESIAC long, NR_K_1 "
      "text(10), NR_K_2 text(10), NR_K_3 text(10), NR_K_4 text(10), Konh_id long, KWOTA_WN "
      "money, KWOTA_ma money, Glowna bit, Countt_Konta long, Countt_Konta_Ojaca_1 long, "
      "Countt_Konta_Ojaca_2 long, Countt_Konta_Ojaca_3 long, OPIS text(50), "
      "Konta_Przeciwstawne text(255))",
      "create table KH_KSIEGA (kpir_id long, rodzaj long, rok long, Suma_wn money, Suma_ma money)",
      "create table kontrahenci (konh_id long, KONH_NAZ_SKROT text(50))",
      "create table dok_fin (kp_id long)", "insert into kontrahenci values (3, 'Młyn')",
      "insert into kontrahenci values (5, 'Bar')",
      "insert into KH_DEKRETY (kpir_id, ROK, MIESIAC, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Konh_id, "
      "KWOTA_WN, KWOTA_ma, Glowna) values (1, 2004, 3, '201', '', '', '', 5, 100, Null, 0)",
      "insert into KH_DEKRETY (kpir_id, ROK, MIESIAC, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Konh_id, "
      "KWOTA_WN, KWOTA_ma, Glowna) values (1, 2004, 3, '201', '', '', '', 3, Null, 40, 0)",
      "insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Nazwa_konta) values (2004, "
      "'202', '', '', '', 'a')",
      "insert into KH_KONTA (ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4, Nazwa_konta) values (2004, "
      "'202', '', '', '', 'b')",
      "insert into KH_DEKRETY (ROK, MIESIAC, NR_K_1, NR_K_2, NR_K_3, NR_K_4, KWOTA_WN, KWOTA_ma, "
      "Glowna) values (2004, 3, '202', '', '', '', 9, 0, 0)",
      "insert into KH_DEKRETY (ROK, NR_K_1) values (Null, '203')"},
     {"select Konh_id, Nazwa_konta, DZ_WN_03, DZ_MA_03 from KH_KONTA order by COUNTT",
      "select Countt_Konta_Ojaca_1 from KH_DEKRETY where NR_K_1='202'"},
     {{"Null", "a", "9", "0"}, {"Null", "b", "0", "0"}, {"3", "Młyn", "100", "40"}, {"0"}}},
    {"4.32: a document without its KW part is worth its KP part, a line without an amount "
     "settles nothing, and only the line that exceeds is capped",
     4.31,
     &ClsKonwersje::Konwersja_432,
     {kFin, kFinZawart,
      "insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (1, 'P', 300, Null)",
      "insert into DOK_FIN (kp_id, pw, kwota, kwota_kw) values (2, 'W', 900, 0)",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota) values (2, 1, 'KP', 500)",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota) values (2, 1, 'KP', 100)",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota) values (2, 1, 'KP', Null)"},
     {"select COUNTT, kwota from DOK_FIN_ZAWART order by COUNTT",
      "select kp_id, wart_fin, Wart_Rozl from DOK_FIN order by kp_id"},
     {{"1", "200"}, {"2", "100"}, {"3", "Null"}, {"1", "300", "0"}, {"2", "0", "300"}}},

    {"5.49: an asset of a purchase line without a stock quantity counts none of it",
     5.48,
     &ClsKonwersje::Konwersja_549,
     {"create table DOK_INN (dok_id long)",
      "create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, ilosc_mag single, WtymST single)",
      "create table SRODKI_TRWALE_ZAWART (id long, id_dok long, id_prod long)",
      "create table SRODKI_TRWALE (id long, CalyAsortyment bit, Wyposazenie bit)",
      "insert into DOK_ZAK_ZAWART values (1, 7, 5, 0)",
      "insert into DOK_ZAK_ZAWART values (2, 7, Null, 0)",
      "insert into SRODKI_TRWALE_ZAWART values (1, 1, 7)",
      "insert into SRODKI_TRWALE_ZAWART values (2, 2, 7)",
      "insert into SRODKI_TRWALE_ZAWART values (3, 2, 7)",
      "insert into SRODKI_TRWALE values (1, -1, 0)", "insert into SRODKI_TRWALE values (2, -1, 0)",
      "insert into SRODKI_TRWALE values (3, 0, 0)"},
     {"select WtymST from DOK_ZAK_ZAWART order by numer_id"},
     {{"5"}, {"1"}}},
    {"5.50: a correction line's value counts a price or quantity not given as 0, and one "
     "given none stays empty",
     5.49,
     &ClsKonwersje::Konwersja_550,
     {"create table DOK_KZA (FKOROUT_ID long, FAKOUT_ID long)",
      "create table DOK_KZA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N money, "
      "zfkorout_ilosckor single, CENA_ORG money, ZFKOROUT_ILOSC single, ZFKOROUT_VAT text(3), "
      "OdliczVAT_Z bit)",
      "create table DOK_ZAK (numer_id long)",
      "create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, CENA_N money, WART_N money, VAT "
      "text(3), OdliczVAT_Z bit, Countt counter)",
      "insert into DOK_KZA values (1, 1)", "insert into DOK_ZAK values (1)",
      "insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, WART_N, VAT, OdliczVAT_Z) values (1, "
      "7, 2, Null, '22', 0)",
      "insert into DOK_KZA_ZAWART values (1, 7, 3, 4, 2, Null, '22', 0)",
      "insert into DOK_KZA_ZAWART values (1, 8, Null, Null, Null, Null, '22', 0)"},
     {"select WART_N, WART_N_ORG from DOK_KZA_ZAWART order by PROD_ID"},
     {{"12", "0"}, {"Null", "Null"}}},
    {"5.41: unposted rows of 100 and Null go back to 1000, to Null, and Null to Null",
     5.40,
     &ClsKonwersje::Konwersja_541,
     Z_Reszta541({"insert into SRODKI_TRWALE_ZAWART (id, KWOTA_DO_AMORT, sp_amort, wprowadz, "
                  "data_wpr_e) values (1, 1000, 'Bez amortyzacji', '1', #3/15/2003#)",
                  "insert into SRODKI_TRWALE_ZAWART (id, KWOTA_DO_AMORT, sp_amort, wprowadz, "
                  "data_wpr_e) values (2, Null, 'Bez amortyzacji', '1', #3/15/2003#)",
                  "insert into SRODKI_TRWALE_ZAWART (id, KWOTA_DO_AMORT, wprowadz) values (3, "
                  "Null, '0')",
                  // no id: no plan to walk, and no stop
                  "insert into SRODKI_TRWALE_ZAWART values (Null, 5, 0, 10, 1200, 0, 'Zwykły', "
                  "1, 'S', #3/15/2003#, '1')",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (1, 4, 2003, 0, 100)",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (1, 5, 2003, 0, Null)",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (2, 4, 2003, 0, 100)",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (3, 4, 2003, 0, Null)"}),
     {"select id, KWOTA_DO_AMORT from SRODKI_TRWALE_ZAWART order by id"},
     {{"Null", "5"}, {"1", "1100"}, {"2", "100"}, {"3", "Null"}}},
    {"5.41: an unposted row without a posting id goes back and is deleted as one of 0",
     5.40,
     &ClsKonwersje::Konwersja_541,
     Z_Reszta541({"insert into SRODKI_TRWALE_ZAWART (id, KWOTA_DO_AMORT, sp_amort, wprowadz, "
                  "data_wpr_e) values (1, 1000, 'Bez amortyzacji', '1', #3/15/2003#)",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (1, 4, 2003, Null, 100)"}),
     {"select KWOTA_DO_AMORT from SRODKI_TRWALE_ZAWART",
      "select count(*) from SRODKI_TRWALE_AMORTYZACJA"},
     {{"1100"}, {"0"}}},
    {"5.41: a posted month without an amount leaves what remains",
     5.40,
     &ClsKonwersje::Konwersja_541,
     Z_Reszta541({"insert into SRODKI_TRWALE_ZAWART values (1, 500, 0, 10, 12000, 0, "
                  "'Nieznana', 1, 'S1', #3/15/2003#, '1')",
                  "insert into SRODKI_TRWALE_AMORTYZACJA values (1, 4, 2003, 77, Null)"}),
     {"select KWOTA_DO_AMORT from SRODKI_TRWALE_ZAWART"},
     {{"12000"}}},
    {"5.92: a discount row without a driver leaves the customer's driver",
     5.91,
     &ClsKonwersje::Konwersja_592,
     {"create table kontrahenci (konh_id long, kier_id1 long)",
      "create table kontrahenci_rabaty (konh_id long, Id_GR_prod long, kier_id1 long)",
      "insert into kontrahenci values (1, 4)", "insert into kontrahenci values (2, 4)",
      "insert into kontrahenci_rabaty values (1, 0, Null)",
      "insert into kontrahenci_rabaty values (2, 0, 6)"},
     {"select kier_id1 from kontrahenci order by konh_id"},
     {{"4"}, {"6"}}},
    {"6.13: a header without a posting id, of a posted line, is marked as posted by its lines",
     6.12,
     &ClsKonwersje::Konwersja_613,
     {"create table DOK_ZAK (numer_id long, id_kpir long)",
      "create table DOK_ZAK_ZAWART (numer_id long, id_kpir long, WTYMST money, KOSZTPOJAZDU_Z bit)",
      "create table DOK_KZA (FKOROUT_ID long, id_kpir long)",
      "create table DOK_KZA_ZAWART (FKOROUT_ID long, id_kpir long, WTYMST money, KOSZTPOJAZDU_Z "
      "bit)",
      "create table DOK_WZ (DDOUT_ID long, id_kpir long)",
      "create table DOK_WZ_ZAWART (DDOUT_ID long, id_kpir long, WTYMST money, KOSZTPOJAZDU_Z bit)",
      "create table DOK_PZ (DDOUT_ID long, id_kpir long)",
      "create table DOK_PZ_ZAWART (DDOUT_ID long, id_kpir long, WTYMST money, KOSZTPOJAZDU_Z bit)",
      "create table PLACE_LISTY (id long)", "create table KADRY_UMOWY (id long)",
      "create table KADRY_WARUNKI ([Inne_skł] text(50), Inne_war text(50))",
      "insert into DOK_ZAK values (1, Null)", "insert into DOK_ZAK values (2, 0)",
      "insert into DOK_ZAK_ZAWART values (1, 5, 0, 0)",
      "insert into DOK_ZAK_ZAWART values (2, 5, 0, 0)"},
     {"select id_kpir from DOK_ZAK order by numer_id"},
     {{"-1"}, {"-1"}}},
};

class Kwoty : public BazaKroku, public ::testing::WithParamInterface<Przypadek> {};

TEST_P(Kwoty, NullAddsNothingAndKeepsTheFigureThatStood) {
    const Przypadek& p = GetParam();
    SCOPED_TRACE(p.nazwa);
    Otworz(p.wersja);
    for (const std::string& s : p.tabele_i_wiersze) Sql(s);
    ASSERT_EQ(Krok(p.krok), "");
    Wiersze w;
    for (const std::string& z : p.zapytania)
        for (auto& r : Wiersze_Z(z)) w.push_back(std::move(r));
    EXPECT_EQ(w, p.oczekiwane);
}

INSTANTIATE_TEST_SUITE_P(Kroki400_646, Kwoty, ::testing::ValuesIn(kPrzypadki),
                         [](const auto& i) { return "przypadek" + std::to_string(i.index); });

}  // namespace
}  // namespace kroki_test
