// Steps 6.16 to 6.46 on databases of the version before each: line groups, contract
// codes, the second VAT repair of corrections, the balance letter, conversion units,
// pre-correction VAT codes, discount drivers; and a run that ends at the last step.
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/rejestr.h"
#include "db/setup.h"
#include "driver/start.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki616 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(6.15); }
};

// A mileage entry of the book names the vehicle of its first mileage record.
TEST_F(Kroki616, MileageEntriesNameTheVehicleOfTheirFirstRecord) {
    Sql("create table KPIR_KSIEGA (kpir_id long, rodzaj long, id_dok long)");
    for (const char* w : {"1, 50, 0", "2, 20, 0", "3, 50, 0"})
        Sql(std::string("insert into KPIR_KSIEGA values (") + w + ")");
    Sql("create table S_POJAZDY_PRZEJ (id_p counter, id_kpir long, id_poj long)");
    for (const char* w : {"3, 8", "1, 7", "2, 7", "3, 9"})
        Sql(std::string("insert into S_POJAZDY_PRZEJ (id_kpir, id_poj) values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_627), "");
    EXPECT_EQ(Kolumna("select id_dok from KPIR_KSIEGA order by kpir_id"),
              (std::vector<std::string>{"7", "0", "8"}));
}

TEST_F(Kroki616, LineGroupsAndTerminationCodes) {
    for (const char* t : {"DOK_ZAK", "DOK_PZ", "DOK_WZ"}) {
        const std::string klucz = std::string(t) == "DOK_ZAK" ? "numer_id" : "ddout_id";
        Sql(std::string("create table ") + t + " (" + klucz +
            " long, id_GRProd long, id_GrProdPod long)");
        Sql(std::string("create table ") + t + "_ZAWART (" + klucz + " long)");
        Sql(std::string("insert into ") + t + " values (1, 4, 5)");
        Sql(std::string("insert into ") + t + "_ZAWART values (1)");
        Sql(std::string("insert into ") + t + "_ZAWART values (2)");  // no header
    }
    Sql("create table KADRY_UMOWY (SPOSOBROZW text(5))");
    for (const char* kod : {"1", "7", "8", "10", "1 ", ""})
        Sql(std::string("insert into KADRY_UMOWY values ('") + kod + "')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_616), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_617), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_621), "");
    for (const char* t : {"DOK_ZAK_ZAWART", "DOK_PZ_ZAWART", "DOK_WZ_ZAWART"})
        EXPECT_EQ(Wiersze_Z(std::string("select zid_GRProd, zid_GrProdPod, id_sklepu from ") + t),
                  (Wiersze{{"4", "5", "0"}, {"0", "Null", "0"}}))
            << t;
    EXPECT_EQ(Kolumna("select '[' & SPOSOBROZW & ']' from KADRY_UMOWY"),
              (std::vector<std::string>{"[1 ]", "[7 ]", "[8]", "[10]", "[1 ]", "[]"}));
    EXPECT_TRUE(Czyta_Sie("select ID, nazwa, rodzaj from S_KONF_ZEST"));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_621), "") << "a second run meets its tables";
}

class Krok625 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(6.24);
        Sql("create table DOK_KFA (FKOROUT_ID long, fkorout_wart_n money, fkorout_wart_vat money, "
            "n22 money, vat22 money, n7 money, vat7 money, n3 money, vat3 money, n0 money, nzw "
            "money, n12 money, vat12 money, fkorout_rabat money, ZBIORCZA bit, FKOROUT_DATA_WYST "
            "datetime)");
        Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, ZFKOROUT_ILOSC double, CENA_ORG money, "
            "zfkorout_ilosckor double, ZFKOROUT_CENA_N money, ZFKOROUT_VAT text(4))");
        Sql("create table DOK_DZ (ID_KORFAK long, n22 money, vat22 money, n7 money, vat7 money, "
            "n3 money, vat3 money, n0 money, nzw money, n12 money, vat12 money)");
    }
    // A correction: id, totals, breakdown n22, vat22, n7, vat7 (others 0), discount, collective.
    static void Korekta(const std::string& wartosci) {
        Sql("insert into DOK_KFA (FKOROUT_ID, fkorout_wart_n, fkorout_wart_vat, n22, vat22, n7, "
            "vat7, n3, vat3, n0, nzw, n12, vat12, fkorout_rabat, ZBIORCZA) values (" +
            wartosci + ")");
    }
    static void Linia(int id, const std::string& zmiana, const std::string& vat) {
        Sql("insert into DOK_KFA_ZAWART values (" + std::to_string(id) + ", 0, 0, 1, " + zmiana +
            ", " + vat + ")");
    }
};

TEST_F(Krok625, BreakdownsFromLinesOrReturnNotesWithSmallDifferencesAbsorbed) {
    // 1: lines, 0.02 VAT and 0.01 net left over, absorbed into the first non-zero fields.
    Korekta("1, 100.01, 22.02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false");
    Linia(1, "100", "'22'");
    // 2: a Null rate code counts as exempt and a Null discount as 0 %.
    Korekta("2, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, Null, false");
    Linia(2, "50", "Null");
    // 3: collective without discount, from its return notes (negated).
    Korekta("3, 10, 0.7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, true");
    Sql("insert into DOK_DZ values (3, 0, 0, -4, -0.28, 0, 0, 0, 0, 0, 0)");
    Sql("insert into DOK_DZ values (3, 0, 0, -6, -0.42, 0, 0, 0, 0, 0, 0)");
    // 4: collective without notes: all zero, nothing absorbed.
    Korekta("4, 0.01, 0.01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, true");
    // 5: a difference of 0.03 stays.
    Korekta("5, 100, 22.03, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false");
    Linia(5, "100", "'22'");
    // 6: breakdown adds up: not selected.
    Korekta("6, 10, 2.2, 10, 2.2, 0, 0, 0, 0, 0, 0, 0, 0, 0, false");
    // 7: collective with a discount: from its lines.
    Korekta("7, 90, 6.3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, true");
    Linia(7, "100", "'7'");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_625), "");
    EXPECT_EQ(Wiersze_Z("select FKOROUT_ID, n22, vat22, n7, vat7, nzw from DOK_KFA order by "
                        "FKOROUT_ID"),
              (Wiersze{{"1", "100,01", "22,02", "0", "0", "0"},
                       {"2", "0", "0", "0", "0", "50"},
                       {"3", "0", "0", "10", "0,7", "0"},
                       {"4", "0", "0", "0", "0", "0"},
                       {"5", "100", "22", "0", "0", "0"},
                       {"6", "10", "2,2", "0", "0", "0"},
                       {"7", "0", "0", "90", "6,3", "0"}}));
    EXPECT_EQ(Linie_Logu("Poprawiono Vat na 6 korektach.").size(), 1u);
}

// A breakdown field not given counts as 0 in the comparison with the totals and in the
// difference absorbed: the correction is repaired as one whose field is 0.
TEST_F(Krok625, ABreakdownFieldNotGivenCountsAsZero) {
    const struct {
        const char* korekta;  // as Korekta
        Wiersze po;           // n22, vat22, n7, vat7
    } przypadki[] = {
        {"1, 30, 5.1, Null, Null, 10, 1, 0, 0, 0, 0, 0, 0, 0, false", {{"20", "4,4", "10", "0,7"}}},
        {"2, 30, 5.1, 0, 0, 10, 1, 0, 0, 0, 0, 0, 0, 0, false", {{"20", "4,4", "10", "0,7"}}},
        // Collective, its return notes unreadable (the user ignores it): the difference only.
        {"3, 10.01, 0.7, Null, Null, 10, 0.7, 0, 0, 0, 0, 0, 0, 0, true",
         {{"Null", "Null", "10,01", "0,7"}}},
    };
    Sql("alter table DOK_DZ drop column vat12");
    Odpowiedzi({platform::mb::ignore});
    for (const int id : {1, 2}) {
        Linia(id, "20", "'22'");
        Linia(id, "10", "'7'");
    }
    Wiersze po;
    for (const auto& p : przypadki) {
        Korekta(p.korekta);
        po.insert(po.end(), p.po.begin(), p.po.end());
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_625), "");
    EXPECT_EQ(Wiersze_Z("select n22, vat22, n7, vat7 from DOK_KFA order by FKOROUT_ID"), po);
}

class Kroki636 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(6.35);
        Sql("create table Setup (Nazwa text(50), Wartosc memo)");
    }
};

TEST_F(Kroki636, BalanceLetterWording) {
    const std::string srodek =
        " o rachunkowości z dnia 29 września 1994 r. (Dz.U. Nr 121 z 1994 r., poz. 591) wzywamy "
        "Was do potwierdzenia w terminie 10 dni na kopii niniejszego potwierdzenia, zgodności "
        "następujących sald figurujących w naszych księgach";
    const std::string stary = "Na podstawie umowy" + srodek + " na dzień 31-10-2000";
    const std::string nowy = "Na podstawie ustawy" + srodek + ".";
    struct Przypadek {
        std::string przed, po;
    };
    const Przypadek przypadki[] = {
        {stary + " ", nowy},
        {"Na podstawie ustawy" + srodek + " na dzień ..........", nowy},
        {"Na podstawie umowy o rachunkowości, własne słowa",
         "Na podstawie ustawy o rachunkowości, "
         "własne słowa"},
        {" " + stary, nowy},  // recognised once trimmed
        {" Na podstawie umowy o rachunkowości", " Na podstawie umowy o rachunkowości"},
        {"", ""},
    };
    for (const Przypadek& p : przypadki) {
        Sql("delete from Setup");
        if (!p.przed.empty()) Zapisz_Setup("Saldo_Potwierdzenie_1", p.przed);
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_636), "");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_637), "");
        EXPECT_EQ(Czytaj_Setup("Saldo_Potwierdzenie_1"), p.po) << p.przed;
    }
}

class Kroki639 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(6.38); }
};

TEST_F(Kroki639, ConversionUnitsRebuiltFromTheLines) {
    Sql("create table PRODUKTY_WSP_PRZEL (prod_id long, Sp_Przel text(20), Wsp_Przel money, "
        "id counter)");
    Sql("create unique index Podstawowy on PRODUKTY_WSP_PRZEL (prod_id, Sp_Przel) with primary");
    Sql("insert into PRODUKTY_WSP_PRZEL (prod_id, Sp_Przel, Wsp_Przel) values (1, 'stara', 3)");
    Sql("create table DOK_ZAK_ZAWART (Countt long, SUR_ID long, SP_PRZEL text(20), WSP_PRZEL "
        "money)");
    for (const char* t : {"DOK_PZ_ZAWART", "DOK_WZ_ZAWART"})
        Sql(std::string("create table ") + t +
            " (Countt long, PROD_ID long, SP_PRZEL text(20), WSP_PRZEL money)");
    // Line 9, stored first, names product 8's factor 10 otherwise than the earlier line 5;
    // line 10 names no product.
    for (const char* l : {"9, 8, 'op', 10", "1, 7, 'kg', 2", "2, 7, 'kg', 2.5", "3, 7, 'kg', 1",
                          "4, 7, 'kg', Null", "5, 8, 'szt', 10", "6, 9, '12345678901234567890', 2",
                          "7, 9, '12345678901234567890', 3", "8, 7, 'kg', 0", "10, Null, 'kg', 2"})
        Sql(std::string("insert into DOK_ZAK_ZAWART values (") + l + ")");
    Sql("insert into DOK_PZ_ZAWART values (1, 8, 'op', 10)");
    Sql("insert into DOK_WZ_ZAWART values (1, 8, 'szt', 4)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_641), "");
    // The second name of product 9 would need 21 characters: its end gives way to the factor.
    EXPECT_EQ(Wiersze_Z("select prod_id, Sp_Przel, Wsp_Przel from PRODUKTY_WSP_PRZEL order by "
                        "prod_id, Wsp_Przel"),
              (Wiersze{{"0", "kg", "2"},
                       {"7", "kg", "2"},
                       {"7", "kg2,5", "2,5"},
                       {"8", "szt4", "4"},  // the name taken by the factor 10
                       {"8", "szt", "10"},
                       {"9", "12345678901234567890", "2"},
                       {"9", "12345678901234567893", "3"}}));
    EXPECT_EQ(Kolumna("select SP_PRZEL from DOK_ZAK_ZAWART order by Countt"),
              (std::vector<std::string>{"kg", "kg2,5", "Brak", "kg", "szt", "12345678901234567890",
                                        "12345678901234567893", "kg", "szt", "kg"}));
    EXPECT_EQ(Linie_Logu(") zapisana jako ").size(), 3u);
    EXPECT_EQ(Kolumna("select SP_PRZEL from DOK_PZ_ZAWART"), (std::vector<std::string>{"szt"}));
}

TEST_F(Kroki639, PreCorrectionCodesAlongChainsOfCorrections) {
    Sql("create table PRODUKTY (prod_id long, STVAT_ID text(4))");
    Sql("insert into PRODUKTY values (1, '7')");
    Sql("create table DOK_FAK (fakout_id long, FAKOUT_NUMER text(20))");
    Sql("insert into DOK_FAK values (100, 'F/1')");
    Sql("create table DOK_FAK_ZAWART (FAKOUT_ID long, prod_id long, ZFAKOUT_CENA_N money, "
        "ZFAKOUT_VAT text(4))");
    Sql("insert into DOK_FAK_ZAWART values (100, 1, 5, '22')");
    Sql("create table DOK_KFA (FKOROUT_ID long)");
    for (int id = 1; id <= 7; ++id) Sql("insert into DOK_KFA values (" + std::to_string(id) + ")");
    Sql("create table DOK_KFA_ZAWART (Countt counter, FKOROUT_ID long, FAKOUT_ID_Z long, prod_id "
        "long, CENA_ORG money, ZFKOROUT_VAT text(4))");
    // Three corrections of one invoice line; a line of another price; an unknown product;
    // two corrections that name no invoice (0), which correct no common line; a line of no
    // correction, which is no earlier correction of the line.
    for (const char* l :
         {"1, 100, 1, 5, '22'", "2, 100, 1, 5, '7'", "3, 100, 1, 5, '7'", "4, 100, 1, 6, '22'",
          "5, 100, 2, 5, '22'", "6, 0, 1, 5, '22'", "7, 0, 1, 5, '7'", "0, 100, 1, 5, '3'"})
        Sql(std::string("insert into DOK_KFA_ZAWART (FKOROUT_ID, FAKOUT_ID_Z, prod_id, CENA_ORG, "
                        "ZFKOROUT_VAT) values (") +
            l + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_643), "");
    EXPECT_EQ(Wiersze_Z("select VAT_ORG, Numer_faktury from DOK_KFA_ZAWART order by Countt"),
              (Wiersze{{"22", "F/1"},
                       {"22", "F/1"},
                       {"7", "F/1"},
                       {"7", "Null"},
                       {"Null", "Null"},
                       {"7", "Null"},
                       {"7", "Null"},
                       {"22", "F/1"}}));
}

TEST_F(Kroki639, DriversOfDiscountRowsAndBalancePositions) {
    std::string kolumny = "KONH_ID long, ID_GR_PROD long";
    for (int i = 1; i <= 9; ++i)
        for (int s : {0, 100, 200}) kolumny += ", KIER_ID" + std::to_string(s + i) + " long";
    Sql("create table KONTRAHENCI_RABATY (" + kolumny + ")");
    Sql("insert into KONTRAHENCI_RABATY (KONH_ID, ID_GR_PROD, KIER_ID1, KIER_ID109, KIER_ID205) "
        "values (1, 0, 11, 12, 13)");
    Sql("insert into KONTRAHENCI_RABATY (KONH_ID, ID_GR_PROD, KIER_ID1) values (1, 4, 99)");
    Sql("insert into KONTRAHENCI_RABATY (KONH_ID, ID_GR_PROD, KIER_ID1) values (2, 4, 98)");
    // A group-0 row without a driver leaves the other row's.
    Sql("insert into KONTRAHENCI_RABATY (KONH_ID, ID_GR_PROD, KIER_ID109) values (3, 0, 14)");
    Sql("insert into KONTRAHENCI_RABATY (KONH_ID, ID_GR_PROD, KIER_ID1) values (3, 4, 97)");
    Sql("create table KH_BILANS (ID_POZ long)");
    for (int p : {1, 124, 125, 300})
        Sql("insert into KH_BILANS values (" + std::to_string(p) + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_640), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_645), "");
    EXPECT_EQ(Wiersze_Z("select KONH_ID, ID_GR_PROD, KIER_ID1, KIER_ID109, KIER_ID205 from "
                        "KONTRAHENCI_RABATY order by KONH_ID, ID_GR_PROD"),
              (Wiersze{{"1", "0", "11", "12", "13"},
                       {"1", "4", "11", "12", "13"},
                       {"2", "4", "98", "Null", "Null"},
                       {"3", "0", "Null", "14", "Null"},
                       {"3", "4", "97", "14", "Null"}}));
    EXPECT_EQ(Kolumna("select ID_POZ from KH_BILANS order by ID_POZ"),
              (std::vector<std::string>{"1", "1", "124", "176"}));
}

// A payroll line takes its person's category; a person without one leaves the line's own.
TEST_F(Kroki639, PayrollLinesTakeTheCategoryOfTheirPerson) {
    Sql("create table KONTRAHENCI (KONH_id long, kategoria text(1))");
    Sql("insert into KONTRAHENCI values (1, 'P')");
    Sql("insert into KONTRAHENCI values (2, Null)");
    Sql("create table PLACE_LISTY_ZAWART (idp long, kategoria text(1))");
    for (const char* idp : {"1", "2", "3"})
        Sql(std::string("insert into PLACE_LISTY_ZAWART values (") + idp + ", 'Z')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_642), "");
    EXPECT_EQ(Kolumna("select kategoria from PLACE_LISTY_ZAWART order by idp"),
              (std::vector<std::string>{"P", "Z", "Z"}));
}

// The last step, then the end of the run: the marker of a completed conversion.
TEST_F(Kroki639, RunFromTheVersionBeforeTheLastEndsCompleted) {
    Sql("create table Nieruszac (NumerWersji double)");
    Sql("insert into Nieruszac values (6.45)");
    Sql("create table UZYTKOWNICY (nazwa text(10), prawa text(9), prawaK text(9), prawaP "
        "text(9), prawaF text(9), prawaZ text(9), prawaS text(9), prawaM text(9), prawaR "
        "text(9), prawaC text(9))");
    Sql("create table Setup (Nazwa text(50), Wartosc memo)");
    Sql("create table PLACE_OPISY (Countt counter, POLE long, OPIS text(50), SKR text(20))");
    Sql("create table PLACE_LISTY_ZAWART (idp long)");
    Sql("insert into PLACE_LISTY_ZAWART values (1)");
    const std::string sciezka = polaczenie().Properties(7);
    DbZamknij();
    Zapisz_Rejestr("dodralvex", "0123", 0);
    Zapisz_Rejestr("dodralvexS", sciezka, 0);
    const std::string wynik = Uruchom([] { Form_Load(); });
    EXPECT_EQ(wynik.rfind("process end 0\n", 0), 0u) << wynik;
    EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "3210");
    EXPECT_EQ(Linie_Logu(",Konwersja,End-All,").size(), 1u);
    DbOtwórz();
    EXPECT_EQ(Kolumna("select NumerWersji from Nieruszac"), (std::vector<std::string>{"6,46"}));
    EXPECT_EQ(Wiersze_Z("select POLE, OPIS, SKR from PLACE_OPISY"),
              (Wiersze{{"203", "Dodatki inne", "Dodatki inne"}}));
    EXPECT_EQ(Kolumna("select wartosc203 from PLACE_LISTY_ZAWART"),
              (std::vector<std::string>{"Null"}));
}

}  // namespace
}  // namespace kroki_test
