// Steps 4.90 to 4.99 on databases of the version before each: interest rates keyed by
// kind and day, ledger database periods, cash-report balance chains, the fixed-asset
// tables moved one name along, and ledger descriptions from purchase documents.
#include <algorithm>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "platform/clock.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki490 : public BazaKroku {
  protected:
    void TearDown() override {
        platform::set_today(std::nullopt);
        BazaKroku::TearDown();
    }
};

TEST_F(Kroki490, InterestRatesKeyedByKindAndDay) {
    Otworz(4.89);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_490), "");
    Sql("insert into S_Odsetki (Rodzaj, Od_Dnia, Procent) values (1, #1/1/2005#, '13,5')");
    Sql("insert into S_Odsetki (Rodzaj, Od_Dnia, Procent) values (1, #2/1/2005#, 12)");
    EXPECT_ANY_THROW(
        Sql("insert into S_Odsetki (Rodzaj, Od_Dnia, Procent) values (1, #1/1/2005#, 9)"));
    EXPECT_EQ(Wiersze_Z("select Countt, Procent from S_Odsetki order by Countt"),
              (Wiersze{{"1", "13,5"}, {"2", "12"}}));
}

TEST_F(Kroki490, LedgerDatabasePeriods) {
    Otworz(4.91);
    Sql("create table Place_Opisy (pole long, opis text(50), skr text(20))");
    Sql("insert into Place_Opisy values (84, 'x', 'x')");
    Sql("create table Nieruszac (Wersja text(10))");
    Sql("create table KADRY_PODATEK (ID_prac long)");
    Sql("create table KH_BAZY (MIESIAC long, ROK long)");
    for (const char* w :
         {"2, 2004", "12, 2005", "0, 2005", "13, 2005", "5, 0", "Null, 2005", "3, Null"})
        Sql(std::string("insert into KH_BAZY values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_492), "");
    EXPECT_EQ(Wiersze_Z("select year(DataOD)*10000+month(DataOD)*100+day(DataOD), "
                        "year(DataDo)*10000+month(DataDo)*100+day(DataDo), Wersja from KH_BAZY"),
              (Wiersze{{"20040201", "20040229", "0"},
                       {"20051201", "20051231", "0"},
                       {"20041201", "20041231", "0"},
                       {"20060101", "20060131", "0"},
                       {"Null", "Null", "0"},
                       {"Null", "Null", "0"},
                       {"Null", "Null", "0"}}));
    EXPECT_EQ(Wiersze_Z("select opis, skr from Place_Opisy"),
              (Wiersze{{"Dodatek inny 3", "Dod.inny3"}}));
    EXPECT_TRUE(Czyta_Sie("select DataOD, DataDo from Nieruszac"));
    EXPECT_FALSE(Jest_Tabela("KADRY_PODATEK"));
}

TEST_F(Kroki490, CashReportBalanceChains) {
    Otworz(4.92);
    platform::set_today(platform::LocalDate{2005, 6, 15});
    Sql("create table Kontrahenci (konh_id long, RKONH_NAZWA_ID text(50))");
    for (const char* w : {"1, 'Kasa'", "2, 'Bank'", "3, 'Kasa'", "4, 'Dostawca'"})
        Sql(std::string("insert into Kontrahenci values (") + w + ")");
    Sql("create table DOK_FIN (KP_ID long, nr_kp text(20))");
    Sql("insert into DOK_FIN values (1, '12/KP/2005')");
    Sql("create table DOK_FRA (ID long, ID_Kasy long, rok long, raport_nr text(20), bilans "
        "money, Saldo money, OPEN_BY text(20))");
    const std::vector<std::string> raporty = {
        "1, 1, 2005, '10/2005', 50, 0, ''", "2, 1, 2005, '2/2005', -30, 0, Null",
        "3, 1, 2005, '1/2005', 100, 0, ''", "4, 2, 2005, '1', 10, 0, ''",
        "5, 2, 2005, '2', 20, 0, 'Jan'",    "6, 2, 2005, '3', 30, 5, ''",
        "7, 3, 2004, '1', 5, 0, 'Ewa'",     "8, 3, 2005, '1', 7, 0, ''",
        "9, 4, 2005, '1', 1, 999, 'Ola'",   "10, 3, 2005, '2', Null, 0, ''",
    };
    for (const std::string& r : raporty) Sql("insert into DOK_FRA values (" + r + ")");
    Sql("alter table DOK_FRA add column raport_id long");  // the report's key since 2.72
    Sql("update DOK_FRA set raport_id=ID");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_493), "");
    EXPECT_EQ(Wiersze_Z("select num_ndok, Saldo, OPEN_BY from DOK_FRA order by ID"),
              (Wiersze{{"10", "120", ""},
                       {"2", "70", "Null"},
                       {"1", "100", ""},
                       {"1", "10", ""},
                       {"2", "0", "Jan"},
                       {"3", "0", ""},
                       {"1", "5", ""},
                       {"1", "12", ""},
                       {"1", "999", "Ola"},
                       {"2", "12", ""}}));
    EXPECT_EQ(Kolumna("select num_ndok from DOK_FIN"), (std::vector<std::string>{"12"}));
}

TEST_F(Kroki490, FixedAssetTablesMoveOneNameAlong) {
    struct Przypadek {
        const char* opis;
        bool rejestr;
        std::vector<bool> jest;  // ZAWART, AMORTYZACJA, SRODKI_TRWALE
    };
    for (const Przypadek& p : {Przypadek{"both tables", true, {true, true, false}},
                               Przypadek{"no asset register", false, {false, true, false}}}) {
        SCOPED_TRACE(p.opis);
        if (!folder.empty()) TearDown();
        Otworz(4.95);
        if (p.rejestr) {
            Sql("create table SRODKI_TRWALE (ID long, nazwa text(50))");
            Sql("insert into SRODKI_TRWALE values (1, 'Piec')");
        }
        Sql("create table SRODKI_TRWALE_ZAWART (ID long, MIESIAC long, KWOTA money)");
        Sql("insert into SRODKI_TRWALE_ZAWART values (1, 3, 120)");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_496), "");
        EXPECT_EQ(Jest_Tabela("SRODKI_TRWALE_ZAWART"), p.jest[0]);
        EXPECT_EQ(Jest_Tabela("SRODKI_TRWALE_AMORTYZACJA"), p.jest[1]);
        EXPECT_EQ(Jest_Tabela("SRODKI_TRWALE"), p.jest[2]);
        EXPECT_EQ(Wiersze_Z("select ID, MIESIAC, KWOTA from SRODKI_TRWALE_AMORTYZACJA"),
                  (Wiersze{{"1", "3", "120"}}));
    }
    // Both renames made: a repeated step finds the plan under its new name and leaves both.
    TearDown();
    Otworz(4.95);
    Sql("create table SRODKI_TRWALE (ID long, nazwa text(50))");
    Sql("insert into SRODKI_TRWALE values (1, 'Piec')");
    Sql("create table SRODKI_TRWALE_ZAWART (ID long, MIESIAC long)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_496), "");
    EXPECT_EQ(Kolumna("select nazwa from SRODKI_TRWALE_ZAWART"),
              (std::vector<std::string>{"Piec"}));
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_496), "");
    EXPECT_EQ(Kolumna("select nazwa from SRODKI_TRWALE_ZAWART"),
              (std::vector<std::string>{"Piec"}));
}

TEST_F(Kroki490, LedgerDescriptionsFromPurchaseDocuments) {
    Otworz(4.97);
    Sql("create table kh_ksiega (kpir_id long, id_dok long, rodzaj long, opis text(100))");
    Sql("create table kh_dekrety (countt counter, kpir_id long, opis text(30))");
    Sql("create table dok_zak (numer_id long, numer_dokumentu text(20), numer_zaksiegowania "
        "long, Opis_Zdarzenia text(50))");
    Sql("create table dok_kza (FKOROUT_ID long, tekst_kor text(50))");
    Sql("create table dok_kfa (FKOROUT_ID long, tekst_kor memo)");
    for (const char* w : {"1, 'FV/1', 5, 'Mąka pszenna typ 650 z młyna'", "2, 'FV/2', 6, ''",
                          "3, 'K/3', 7, 'Olej'", "4, 'K/4', 8, ''"})
        Sql(std::string("insert into dok_zak values (") + w + ")");
    Sql("insert into dok_kza values (3, '')");
    Sql("insert into dok_kza values (4, 'zwrot')");
    // A correction's text longer than the description's column is cut to it.
    const std::string rabat = "rabat " + std::string(100, 'x');
    Sql("insert into dok_kfa values (5, '" + rabat + "')");
    for (const char* w : {"1, 1, 10, 'stary'", "2, 2, 11, 'stary'", "3, 3, 13, 'stary'",
                          "4, 4, 13, 'stary'", "5, 5, 23, 'stary'"})
        Sql(std::string("insert into kh_ksiega values (") + w + ")");
    const std::vector<std::pair<std::string, std::string>> linie = {
        // The event description makes the line longer than its column: cut there.
        {"1, 'Faktura Vat FV/1,5 zapłata'", "Mąka pszenna typ 650 z młyna z"},
        // 30 characters in 32 bytes: the column holds them whole.
        {"1, 'Faktura Vat FV/1,5 z'", "Mąka pszenna typ 650 z młyna z"},
        {"1, 'Faktura Vat FV/1,5'", "Mąka pszenna typ 650 z młyna"},
        {"1, 'faktura vat FV/1,5 x'", "faktura vat FV/1,5 x"},
        {"1, 'RA FV/2,6 x'", "RA FV/2,6 x"},
        {"1, 'RR FV/1,5-'", "Mąka pszenna typ 650 z młyna-"},
        {"1, Null", "Null"},
        {"2, 'ZV FV/2,6'", "ZV FV/2,6"},
    };
    for (const auto& [w, _] : linie)
        Sql("insert into kh_dekrety (kpir_id, opis) values (" + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_498), "");
    EXPECT_EQ(Kolumna("select opis from kh_ksiega order by kpir_id"),
              (std::vector<std::string>{"Mąka pszenna typ 650 z młyna", "stary", "Olej ", " zwrot",
                                        rabat.substr(0, 100)}));
    std::vector<std::string> oczekiwane;
    for (const auto& [_, o] : linie) oczekiwane.push_back(o);
    EXPECT_EQ(Kolumna("select opis from kh_dekrety order by countt"), oczekiwane);
    // Only the cut line is logged, with its key and its whole text (the log writes an
    // apostrophe as a double quote).
    const std::vector<std::string> log = Linie_Logu("skrócono do");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("kh_ksiega.opis \"" + rabat + "\" skrócono do 100"), std::string::npos)
        << log[0];
    EXPECT_NE(log[1].find("kh_dekrety.opis 1: \"Mąka pszenna typ 650 z młyna zapłata\" skrócono "
                          "do 30 znaków"),
              std::string::npos)
        << log[1];
}

}  // namespace
}  // namespace kroki_test

namespace kroki_test {
namespace {

// The indexes of a table as DAO lists them: name, then "P" for the primary key and the
// fields joined by ",".
std::vector<std::string> Indeksy(const std::string& tabela) {
    auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    std::vector<std::string> wynik;
    for (const dao::Index& i : baza->TableDefs(tabela).Indexes()) {
        std::string pola;
        for (const std::string& p : i.Fields) pola += (pola.empty() ? "" : ",") + p;
        wynik.push_back(i.Name + (i.Primary ? " P " : " ") + pola);
    }
    std::sort(wynik.begin(), wynik.end());
    return wynik;
}

TEST_F(Kroki490, WorkstationSettingsKeyVoucherComponentsAndCancelledFlag) {
    Otworz(4.93);
    Sql("create table place_opisy (POLE long, OPIS text(50), SKR text(30))");
    Sql("create table Place_Listy_zawart (IDP long, wartosc181 money)");
    Sql("insert into Place_Listy_zawart values (1, 5)");
    Sql("create table dok_fin (nr_kp text(20), num_ndok long)");
    Sql("insert into dok_fin values ('7/KP', 0)");
    Sql("create table SETUP_STANOWISKO (Nazwa text(255), Wartosc memo, STAN long)");
    Sql("insert into SETUP_STANOWISKO values ('DRUKARKA', 'LPT1', 1)");
    Sql("insert into SETUP_STANOWISKO values ('DRUKARKA', 'LPT2', 2)");
    const char* dokumenty[] = {"Dok_dd", "Dok_dz", "Dok_dar", "Dok_fwe", "Dok_par", "Dok_pfa",
                               "Dok_rw", "Dok_pw", "Dok_WZ",  "Dok_PZ",  "Dok_ZAK"};
    for (const char* t : dokumenty) Sql(std::string("create table ") + t + " (id long)");
    for (int v : {494, 495, 497, 499}) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    EXPECT_EQ(
        Kolumna("select SKR from place_opisy order by POLE"),
        (std::vector<std::string>{"Bon ZFŚS.", "Bony-suma", "Przychód ZFŚS", "Podatek ZFŚS"}));
    EXPECT_EQ(Wiersze_Z("select wartosc181, wartosc184 from Place_Listy_zawart"),
              (Wiersze{{"5", "Null"}}));
    EXPECT_EQ(Kolumna("select num_ndok from dok_fin"), (std::vector<std::string>{"7"}));
    EXPECT_EQ(Indeksy("SETUP_STANOWISKO"), (std::vector<std::string>{"Podstawowy P Nazwa,STAN"}));
    for (const char* t : dokumenty)
        EXPECT_TRUE(Czyta_Sie(std::string("select F_Anulowana from ") + t));
    EXPECT_EQ(Indeksy("Dok_dz"), (std::vector<std::string>{"F_Anulowana F_Anulowana"}));
    // The columns exist: a second run adds nothing and goes on.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_499), "");
    EXPECT_EQ(Indeksy("Dok_dd"), (std::vector<std::string>{"F_Anulowana F_Anulowana"}));
}

}  // namespace
}  // namespace kroki_test
