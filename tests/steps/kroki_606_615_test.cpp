// Steps 6.06 to 6.15 on databases of the version before each: period closing flags and
// header columns, key column renames through DAO, stocktaking line merge, settlement
// line kinds and signs.
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/setup.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki606 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(6.05); }
    static int Liczba_Pol(const std::string& tabela) {
        ado::Recordset rs;
        rs.Open("SELECT * FROM " + tabela, polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
        return rs.FieldCount();
    }
};

TEST_F(Kroki606, ClosingFlagsAndHeaderColumns) {
    Sql("create table kpir_okresy (id long, Koniec bit)");
    Sql("insert into kpir_okresy values (1, true)");
    Sql("insert into kpir_okresy values (2, false)");
    // Every header gets every column that any header loses, and one that all keep.
    const char* kolumny[] = {"fakout_kwota_zapl",
                             "ZBIORCZY",
                             "ID_KASY",
                             "NR_MAG",
                             "RozlNieZalDok",
                             "ID_CENNIKA",
                             "Platnik_id",
                             "GRUPA_PLATNOSCI",
                             "NUMER_DOKUMENTU",
                             "blok",
                             "REMANENT",
                             "ID_POSZLO_DO_ZUZYCIA",
                             "ID_POSZLO_NA_RW",
                             "ID_GRUPAZWROTOW",
                             "Zwroty_na_MZ",
                             "opis",
                             "NRRODDOK",
                             "KONTOFK",
                             "DDOUT_DO_ROZLICZENIA",
                             "ID_KORFAK",
                             "KORFAK",
                             "ID_PODZIAL",
                             "NUMER_PODZIALU",
                             "del_fakout_id",
                             "NIE_KSIEGUJ",
                             "WTYMST",
                             "ID_POJ_DOMYSLNY",
                             "RODZAJ_DOK"};
    std::string definicja = "(zostaje long";
    for (const char* k : kolumny) definicja += std::string(", ") + k + " long";
    definicja += ")";
    // Header, columns removed, column added.
    const std::vector<std::pair<std::string, int>> naglowki = {
        {"DOK_FAK", 19},    {"DOK_FWE", 18},     {"DOK_KFA", 13}, {"DOK_KZA", 10 - 1},
        {"DOK_DD", 17},     {"DOK_DZ", 15},      {"DOK_DAR", 17}, {"DOK_MMA", 17},
        {"DOK_MMZ", 17},    {"DOK_MP", 18},      {"DOK_MPP", 19}, {"DOK_MW", 19},
        {"DOK_PAR", 17},    {"DOK_PFA", 17},     {"DOK_PRO", 15}, {"DOK_PRS", 15},
        {"DOK_PRZ", 15},    {"DOK_PW", 16},      {"DOK_PZS", 16}, {"DOK_PZ", 15 - 1},
        {"DOK_WZ", 15 - 1}, {"DOK_ZPF", 15 - 1}, {"DOK_RW", 16},  {"DOK_ZAK", 13 - 1}};
    for (const auto& [t, n] : naglowki) Sql("create table " + t + " " + definicja);
    Sql("create index indopis on DOK_FAK (opis)");
    Sql("create index inny on DOK_ZAK (NRRODDOK)");  // holds the column in place
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_606), "");
    EXPECT_EQ(
        Wiersze_Z("select id, KoniecSp, KoniecZa, KoniecFi, KoniecMa, KoniecPr, KoniecKa, "
                  "KoniecPL, KoniecKs from kpir_okresy order by id"),
        (Wiersze{{"1", "True", "True", "True", "True", "True", "True", "True", "True"},
                 {"2", "False", "False", "False", "False", "False", "False", "False", "False"}}));
    int usuniete = 0;
    for (const auto& [t, n] : naglowki) {
        usuniete += 29 - Liczba_Pol(t);
        EXPECT_EQ(Liczba_Pol(t), 29 - n) << t;
    }
    EXPECT_EQ(usuniete, 384 - 1 - 4);  // one held by its index; KONTOFK500 added to four
    EXPECT_FALSE(Czyta_Sie("select opis from DOK_FAK"));
    EXPECT_TRUE(Czyta_Sie("select NRRODDOK, zostaje from DOK_ZAK"));
    EXPECT_TRUE(Czyta_Sie("select KONTOFK500 from DOK_KZA"));
}

class Kroki607 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(6.06); }
    // Runs the steps 6.07 to 6.11 in order.
    std::string Kroki_607_611() {
        for (MetodaKroku m : {&ClsKonwersje::Konwersja_607, &ClsKonwersje::Konwersja_608,
                              &ClsKonwersje::Konwersja_609, &ClsKonwersje::Konwersja_610,
                              &ClsKonwersje::Konwersja_611})
            if (std::string w = Krok(m); !w.empty()) return w;
        return "";
    }
};

TEST_F(Kroki607, KeyRenamesMergedStocktakingLinesAndWorkConditionDates) {
    Sql("create table PRODUKTY (prod_id long)");
    Sql("insert into PRODUKTY values (1)");
    Sql("create table DOK_FIN_ZAWART (countt counter, Brutto_dokumentu money)");
    Sql("insert into DOK_FIN_ZAWART (Brutto_dokumentu) values (-12.5)");
    Sql("create table DOK_REI_ZAWART (countt counter, ID_RI long, ID long, CENA money, "
        "ILOSC_NAMAGAZYNIE double, ILOSC_STANFAKTYCZNY double)");
    for (const char* l :
         {"1, 7, 2, 1, 10", "1, 7, 2, 2, 20", "1, 7, 3, 4, 40", "2, 7, 2, 8, 80",
          "1, 7, 2, 16, 160", "1, 7, 2, Null, 5", "3, 7, 1.25, 1, 1", "3, 7, 1.25, 2, 2"})
        Sql(std::string("insert into DOK_REI_ZAWART (ID_RI, ID, CENA, ILOSC_NAMAGAZYNIE, "
                        "ILOSC_STANFAKTYCZNY) values (") +
            l + ")");
    Sql("create table KH_KONTA (Countt long, Countt_Konta_Ojaca_1 long, COUNTT_KONTA_OJACA_2 "
        "long, Countt_Konta_Ojaca_3 long)");
    Sql("create unique index Podstawowy on KH_KONTA (Countt) with primary");
    Sql("insert into KH_KONTA values (5, 1, 2, 3)");
    for (const char* t : {"KH_DEKRETY", "KH_SCHEMATY_ZAWART"})
        Sql(std::string("create table ") + t + " (Countt_Konta long)");
    Sql("create table USUNIETO (Countt long)");
    for (const char* t : {"Stany_magazynowe_zawart", "DOWODY_DOSTAW_ROZLICZANIE", "KONTA_BANKOWE",
                          "PRAC_KIER", "REJESTR_VAT", "ZAMOWIENIA_PRZEKIEROWANIA", "Nieruszac"})
        Sql(std::string("create table ") + t + " (x long)");
    Sql("create table kontrahenci_rabaty (countt long, konh_id long)");
    for (int i = 0; i < 2; ++i) Sql("insert into kontrahenci_rabaty values (7, 1)");
    Sql("create table PRODUKTY_RECEPTURY_ZAWART (countt long)");
    Sql("insert into PRODUKTY_RECEPTURY_ZAWART values (42)");
    for (const char* t : {"DOK_ZAK", "DOK_KZA", "DOK_KFA"})
        Sql(std::string("create table ") + t + " (id long, zakup long)");
    Sql("create table KONTRAHENCI (konh_id long)");
    // The 6.10 renames; the calendar's key already bears the name.
    for (const char* t :
         {"ZAMOWIENIA_KOMENTARZE (IDDD long)", "S_NUMERY_DOK (ID long)", "KALENDARZ (Countt long)",
          "PRODUKTY_WSP_PRZEL (ID long)", "CENNIKI_ZAWART (ID long)", "PLACE_OPISY (IDDD long)",
          "PLACE_PARAMETRY (IDC long)"})
        Sql(std::string("create table ") + t);
    Sql("create table KADRY_SWIADECTWA (countt long, ID_PRAC long, ID_UMOWY long, data datetime, "
        "sposobRozw text(10))");
    for (const char* s : {"1, 1, 1, #01-05-2005#, 'a'", "2, 1, 1, #01-05-2005#, 'b'",
                          "3, 1, 2, #01-05-2005#, 'c'", "4, 2, 1, #01-05-2005#, '  '"})
        Sql(std::string("insert into KADRY_SWIADECTWA values (") + s + ")");
    Sql("create table KADRY_WARUNKI (id long, Dataod datetime)");
    Sql("insert into KADRY_WARUNKI values (1, #03-07-2005#)");  // 7 March
    Sql("insert into KADRY_WARUNKI values (2, #12-25-2005#)");
    Sql("insert into KADRY_WARUNKI values (3, Null)");

    ASSERT_EQ(Kroki_607_611(), "");
    EXPECT_EQ(Wiersze_Z("select prod_kod_ean2, prod_kod_ean4, prod_kod_ean5, prod_kod5 from "
                        "PRODUKTY"),
              (Wiersze{{"", "", "", ""}}));
    EXPECT_EQ(Kolumna("select Brutto_dokumentu from DOK_FIN_ZAWART"),
              (std::vector<std::string>{"12,5"}));
    // Four equal lines folded into the lowest key, a quantity not given adding nothing;
    // other prices and documents apart; a pair of a price with cents merged too.
    EXPECT_EQ(Wiersze_Z("select countt, ILOSC_NAMAGAZYNIE, ILOSC_STANFAKTYCZNY from "
                        "DOK_REI_ZAWART order by countt"),
              (Wiersze{{"1", "19", "195"}, {"3", "4", "40"}, {"4", "8", "80"}, {"7", "3", "3"}}));
    EXPECT_EQ(Wiersze_Z("select Kontaid, id_Konta_Ojaca_1, id_Konta_Ojaca_2, id_Konta_Ojaca_3 "
                        "from KH_KONTA"),
              (Wiersze{{"5", "1", "2", "3"}}));
    for (const char* s :
         {"select Konta_id from KH_DEKRETY", "select Konta_id from KH_SCHEMATY_ZAWART",
          "select ID from USUNIETO", "select DoSTrw from PRODUKTY", "select DoSTrw_Z from DOK_KZA",
          "select kod_prod5 from KONTRAHENCI",
          "select Pracodawca1, Pracodawca2 from KADRY_SWIADECTWA"})
        EXPECT_TRUE(Czyta_Sie(s)) << s;
    for (const char* t : {"ZAMOWIENIA_KOMENTARZE", "S_NUMERY_DOK", "KALENDARZ",
                          "PRODUKTY_WSP_PRZEL", "CENNIKI_ZAWART", "PLACE_OPISY", "PLACE_PARAMETRY"})
        EXPECT_TRUE(Czyta_Sie(std::string("select Countt from ") + t)) << t;
    for (const char* t : {"Stany_magazynowe_zawart", "DOWODY_DOSTAW_ROZLICZANIE", "KONTA_BANKOWE",
                          "PRAC_KIER", "REJESTR_VAT"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
    EXPECT_FALSE(Czyta_Sie("select zakup from DOK_KZA"));
    EXPECT_TRUE(Czyta_Sie("select zakup from DOK_ZAK"));
    // The discount rows are numbered anew; an existing counter column stays.
    EXPECT_EQ(Kolumna("select count(*) from kontrahenci_rabaty where countt=7"),
              (std::vector<std::string>{"0"}));
    EXPECT_EQ(Kolumna("select countt from PRODUKTY_RECEPTURY_ZAWART"),
              (std::vector<std::string>{"42"}));
    EXPECT_EQ(Kolumna("select countt from KADRY_SWIADECTWA order by countt"),
              (std::vector<std::string>{"2", "3"}));
    // The start dates written as dd-MM-yyyy texts read back as the same days.
    EXPECT_EQ(
        Wiersze_Z("select id, day(Dataod), month(Dataod), year(Dataod) from KADRY_WARUNKI "
                  "order by id"),
        (Wiersze{
            {"1", "7", "3", "2005"}, {"2", "25", "12", "2005"}, {"3", "Null", "Null", "Null"}}));
}

TEST_F(Kroki607, FieldRenameFindsOnlyOrdinaryTablesAndColumns) {
    Sql("create table [Błędy wklejania] (Pole long)");
    Sql("create table [_Robocza] (Pole long)");
    Sql("create table Zwykla (Pole long, Inne long)");
    struct Przypadek {
        std::string stara, nowa, tabela, wynik;  // wynik: what the table then reads
    };
    const Przypadek przypadki[] = {
        {"POLE", "Pole", "BŁĘDY WKLEJANIA", "select Pole from [Błędy wklejania]"},
        {"pole", "Nowe", "_robocza", "select Pole from [_Robocza]"},
        {"brak", "Nowe", "ZWYKLA", "select Pole, Inne from Zwykla"},
        {"Pole", "Nowe", "Brak_Tabeli", "select Pole, Inne from Zwykla"},
        {"pOLE", "pole", "zwykla", "select pole, Inne from Zwykla"},
        {"POLE", "Nowe", "zwykla", "select Nowe, Inne from Zwykla"},
        {"POLE", "Inne2", "zwykla", "select Nowe, Inne from Zwykla"},  // already renamed
    };
    for (const Przypadek& p : przypadki) {
        std::string s = polaczenie().Properties(7), a = p.stara, b = p.nowa, t = p.tabela;
        EXPECT_EQ(Uruchom([&] { k.Zmiena_Nazwe_Pola_w_Tabeli2(s, a, b, t); }), "") << p.stara;
        EXPECT_TRUE(Czyta_Sie(p.wynik)) << p.stara << " " << p.tabela;
    }
    EXPECT_EQ(Kolumna("select 1 from Zwykla where 1=0").size(), 0u);
    // A clash with another column fails with the engine's error and changes nothing.
    std::string s = polaczenie().Properties(7), a = "Nowe", b = "INNE", t = "Zwykla";
    EXPECT_NE(Uruchom([&] { k.Zmiena_Nazwe_Pola_w_Tabeli2(s, a, b, t); }).find("already exists"),
              std::string::npos);
    k.BazaDAO.reset();
    EXPECT_TRUE(Czyta_Sie("select Nowe, Inne from Zwykla"));
}

class Kroki612 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(6.11);
        Sql("create table DOK_FIN (kp_id long, PW text(1))");
        Sql("insert into DOK_FIN values (1, 'P')");
        Sql("insert into DOK_FIN values (2, 'W')");
        Sql("create table DOK_FIN_ZAWART (countt counter, kp_id long, dok_id long, rodzaj_dok "
            "text(10), RODZAJ long, KWOTA money, Brutto_dokumentu money)");
        for (const char* t : {"DOK_KZA", "DOK_KFA"})
            Sql(std::string("create table ") + t +
                " (FKOROUT_ID long, fkorout_wart_n money, fkorout_wart_vat money)");
        Sql("create table DEKLARACJE (ID long, kwota money)");
        for (const char* t : {"KPIR_KSIEGA", "KH_KSIEGA"})
            Sql(std::string("create table ") + t + " (kpir_id long, wart_fin money)");
        Sql("create table DOK_INN (DOK_ID long, wart_fin money, wart_finWyd money)");
        Sql("create table DOK_BO (IDD long, wart_fin money, wart_finWyd money)");
        Sql("create table kontrahenci (KONH_NAZWA text(100), KONH_NAZ_SKROT text(20), konh_id "
            "long)");
        Sql("create table Setup (Nazwa text(50), Wartosc text(255))");
    }
    void Linia(int kp, int dok, const std::string& rodzaj, const std::string& kwota) {
        Sql("insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, RODZAJ, KWOTA, "
            "Brutto_dokumentu) values (" +
            std::to_string(kp) + ", " + std::to_string(dok) + ", '" + rodzaj + "', 0, " + kwota +
            ", 0)");
    }
};

TEST_F(Kroki612, KindsCodesAndSignsOfSettlementLines) {
    Sql("insert into DOK_KZA values (1, -100, -22)");
    Sql("insert into DOK_KFA values (2, 50, 11)");
    Sql("insert into DOK_KZA values (10, -50, Null)");  // negative without its VAT part
    Sql("insert into KH_KSIEGA values (3, -40)");
    Sql("insert into KH_KSIEGA values (4, 40)");
    Sql("insert into KH_KSIEGA values (5, 0)");
    Sql("insert into KPIR_KSIEGA values (6, 0)");
    Sql("insert into DOK_INN values (7, 30, -20)");
    Sql("insert into DOK_INN values (8, 0, 20)");
    Linia(1, 1, "KZ+", "10");   // receipt, negative correction
    Linia(2, 2, "KS-", "-5");   // payment, sale correction
    Linia(1, 3, "KH +", "-7");  // negative ledger entry
    Linia(1, 4, "KH -", "7");
    Linia(1, 5, "KH +", "1");
    Linia(1, 6, "KPIR -", "1");
    Linia(1, 7, "IN +", "3");
    Linia(1, 8, "IN -", "3");
    Linia(1, 9, "XX", "-9");   // a kind that no statement lists
    Linia(3, 1, "KZ+", "-2");  // no cash document: only the joined updates reach it
    Linia(1, 10, "KZ+", "4");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_612), "");
    const char* wynik =
        "select rodzaj_dok, RODZAJ, Brutto_dokumentu, KWOTA from DOK_FIN_ZAWART order by countt";
    EXPECT_EQ(Wiersze_Z(wynik), (Wiersze{{"KZ-", "96", "122", "10"},
                                         {"KS-", "0", "-61", "-5"},
                                         {"KH+", "94", "40", "7"},
                                         {"KH-", "93", "-40", "-7"},
                                         {"KH-", "93", "0", "1"},
                                         {"KPIR+", "92", "0", "1"},
                                         {"IN+", "98", "30", "3"},
                                         {"IN-", "97", "20", "3"},
                                         {"XX", "0", "0", "9"},
                                         {"KZ-", "96", "-122", "-2"},
                                         {"KZ-", "96", "50", "4"}}));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_615), "");
    EXPECT_EQ(Wiersze_Z(wynik), (Wiersze{{"KZ-", "96", "122", "10"},
                                         {"KS-", "0", "-61", "-5"},
                                         {"KH-", "94", "-40", "-7"},
                                         {"KH+", "93", "40", "7"},
                                         {"KH-", "94", "0", "1"},
                                         {"KPIR+", "92", "0", "1"},
                                         {"IN-", "97", "-20", "-3"},
                                         {"IN-", "97", "20", "3"},
                                         {"XX", "0", "0", "9"},
                                         {"KZ-", "96", "-122", "-2"},
                                         {"KZ-", "96", "50", "4"}}));
}

TEST_F(Kroki612, TaxOfficeSettingsTakeTheShortName) {
    // Of two contractors of the name the first, the lowest id, is the one named.
    Sql("insert into kontrahenci values ('Urząd ''Skarbowy''', 'US2', 2)");
    Sql("insert into kontrahenci values ('Urząd ''Skarbowy''', 'US1', 1)");
    Sql("insert into kontrahenci values ('Bez skrótu', Null, 3)");
    Sql("insert into Setup values ('US_VAT', 'Urząd ''Skarbowy''')");
    Sql("insert into Setup values ('US_PIT', 'Bez skrótu')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_612), "");
    EXPECT_EQ(Wiersze_Z("select Nazwa, Wartosc from Setup order by Nazwa"),
              (Wiersze{{"US_PIT", "Bez skrótu"}, {"US_VAT", "US1"}}));
    EXPECT_TRUE(komunikaty.str().empty()) << komunikaty.str();
}

}  // namespace
}  // namespace kroki_test
