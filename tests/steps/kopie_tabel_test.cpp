// A step drops or empties a table only when the table's copy, or the table its rows or
// values moved into, holds them: a copy or a move that failed ends the run with the
// database as it was before the step, and a copy that a stopped run left while its table
// stands gives way to a fresh one.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db/rejestr.h"
#include "jet/catalog.h"
#include "jet/session.h"
#include "steps/baza_kroku.h"
#include "steps/zapis_zawodzi.h"

namespace kroki_test {
namespace {

// What step 2.72 changes before its rebuild, with the payroll values of one employee
// and list.
const std::vector<std::string> kBaza272 = {
    "create table KADRY_PRACOWNICY (id long, DataOD date, pesel text(11))",
    "create index indDataOD on KADRY_PRACOWNICY (DataOD)",
    "create table Place_Dane (IDP long, DP text(50), wartosc single, pole long, IDListy long)",
    "insert into Place_Dane values (1, '', 100, 0, 1)",
    "insert into Place_Dane values (1, '', 30, 12, 1)",
    "create table place_opisy (pole long, OPIS text(255), SKR text(255))",
    "create table Place_Listy (IDListy long, KosztPr money, ID_Kpir long)",
    "create table KPIR_KSIEGA (kpir_id long, kwota_w money)",
    "create table DOK_ZAK_ZAWART (numer_id long)",
    "create table DOK_KFA_ZAWART (FKOROUT_ID long)",
    "create table DOK_DZ (DDOUT_ID long)",
    "create table PRODUKTY (PROD_ID long)",
    "create table DOK_PRO_ZAWART (DDOUT_ID long, PROD_ID long)",
    "create table DOK_PRO_ZAWART_SUROWCE (DDOUT_ID long, PROD_ID long, SUR_ID long)",
    "create table SETUP (Nazwa text(255), USERS text(80), STAN text(80))",
    "create table TABELA_VAT (id long, r_dok text(30))",
    "create table Kontrahenci (KONH_ID long, b long)",
    "insert into Kontrahenci values (1, 0)",
    "insert into Kontrahenci values (2, 0)"};

std::vector<std::string> Z(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One state before a step: its tables (and, when zdublowana is set, that table's second
// column given the first one's name in the engine's model); after the step, either a
// critical end of procedura (the check, or the executor that stopped at the refused
// statement) whose message holds kopia (the copy, or the table moved into), with the
// database as before the step, or, when kopia is null, the rows that zapytanie reads.
struct Przypadek {
    const char* nazwa;
    MetodaKroku krok;
    std::vector<std::string> baza;
    const char* zdublowana;
    const char* kopia;
    const char* zapytanie;
    Wiersze wynik;
    const char* procedura = nullptr;
    // A table that a statement still reads while the step runs, as another user's would:
    // its drop fails as a locked table's, which the executor passes over.
    const char* czytana = nullptr;
};

// The cash documents of step 2.34: a receipt and a payment, each with a line, and the
// cash desks, so that the step ends when nothing stops it.
const std::vector<std::string> kBaza234 = [] {
    std::vector<std::string> b;
    for (const char* t : {"KP", "KW"}) {
        b.push_back(std::string("create table ") + t +
                    " (kp_id counter, nr_kp text(30), data date, konh_id long, kwota money, opis "
                    "text(100), raport_id long, pozycja long, KB text(1), Prz logical, ID_Kasy "
                    "long)");
        b.push_back(std::string("create table ") + t +
                    "_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long, kwota money)");
        b.push_back(std::string("insert into ") + t + " (nr_kp, KB) values ('" + t +
                    " 1/2001', 'K')");
    }
    b.insert(b.end(),
             {"insert into KP_ZAWART values (1, 'Faktura', 11, 100)",
              "insert into KW_ZAWART values (1, 'Zakup', 21, 60)",
              "create table Raport_kasowy (raport_id counter, KB text(1), ID_Kasy long)",
              "create table KASYBANKI (ID_Kasy counter, nazwa text(50), rodz text(1), Opis memo, "
              "Nr_Banku text(20), NR_Konta text(50), KodPocztowy text(6), [Miejscowość] text(30), "
              "Ulica text(40), Telefon text(50))",
              "insert into KASYBANKI (nazwa, rodz) values ('Kasa', 'K')",
              "insert into KASYBANKI (nazwa, rodz) values ('Bank', 'B')"});
    return b;
}();

// The document tables of step 2.44, the invoices without their issuer column.
const std::vector<std::string> kBaza244 = [] {
    std::vector<std::string> b = {
        "create table NUMERY_OST_DOK (rodzaj_dok text(50), [Miesiąc] integer)",
        "create table KASYBANKI (ID_Kasy counter, [Miejscowość] Text(30))",
        "create table DOK_WEWNENTRZNE_zawart (SPRZ_ID long)",
        "create table produkcja_zawart (sprz_id long)",
        "create table PRODUKCJA_ZAWART_SUROWCE (sprz_id long)"};
    for (const char* t : {"faktury", "k_faktur", "Paragon", "DOK_WEWNENTRZNE", "DOWODY_DOSTAW",
                          "DOWODY_zwrotu", "ZAKUPY", "PRODUKCJA"}) {
        const std::string n = t;
        const bool fk = n == "faktury" || n == "k_faktur", zak = n == "ZAKUPY";
        const std::string p = fk ? (n == "faktury" ? "FAKOUT" : "FKOROUT") : "DDOUT";
        const std::string id = zak ? "NUMER_ID" : p + "_ID";
        b.push_back("create table " + n + " (" + id + " long, " +
                    (zak ? "NUMER_ZAKSIEGOWANIA" : p + "_NUMER") + " text(200), " +
                    (zak ? "NUMER" : p) + "_DEL text(200), " +
                    (zak ? "DATA_ZAKSIEGOWANIA" : p + "_DATA_WYST") + " date, konh_id long" +
                    (fk || zak ? "" : ", FAKOUT_WYST text(81), rodzdok text(1), ZAKUP logical") +
                    ")");
        if (n != "DOK_WEWNENTRZNE" && n != "PRODUKCJA")
            b.push_back("create table " + n + "_zawart (" + id + " long)");
    }
    return b;
}();

// The stock and purchase tables of step 2.14: two products, the first with two stock rows.
const std::vector<std::string> kBaza214 = {
    "create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)",
    "create table PRODUKTY (PROD_ID long)",
    "insert into PRODUKTY values (1)",
    "insert into PRODUKTY values (2)",
    "create table zakupy_ilosc (sur_id long, ilosc single)",
    "create table zuzycie_calkowite (sur_id long, ilosc single)",
    "create table SPRZEDAZ_ILOSC (prod_id long, ilosc single)",
    "create table magazyn_produktow (prod_id long, ilosc single)",
    "insert into magazyn_produktow values (1, 2)",
    "insert into magazyn_produktow values (1, 3)",
    "insert into magazyn_produktow values (2, 5)",
    "create table zakupy (numer_id long, numer_zaksiegowania text(30), data_zaksiegowania "
    "date, KONH_ID long, wart_n money, VAT money)",
    "create table zakupy_zawart (numer_id long, sur_ID long, wart_n money, VAT text(5))",
    "create table tabela_vat (id long, r_dok text(20), vat7 money, vat22 money, n7 money, "
    "n22 money, n0 money, nzw money, vat3 money, n3 money)"};

// The VAT register of step 3.22 and its document tables; two invoices of the same net
// amount at 22%.
const std::vector<std::string> kBaza322 = [] {
    std::vector<std::string> b = {
        "create table tabela_vat (r_dok text(50), id long, n22 money, n7 money, n3 money, n0 "
        "money, nZW money, vat22 money, vat7 money, vat3 money)",
        "create table DOK_FAK (FAKOUT_ID long, n22 currency)",
        "create unique index u on DOK_FAK (n22)",
        "create table S_JEDNOSTKI (JED_NAZWA_ID text(25), JED_WAGAwKG single)",
        "create table Produkty (prod_id long, prod_jed text(25))",
        "create table PRODUKTY_RECEPTURY (prod_id long, Sur_id long)",
        "create table SRODKI_TRWALE (ST_ID long)"};
    for (int id : {1, 2}) {
        b.push_back("insert into DOK_FAK (FAKOUT_ID) values (" + std::to_string(id) + ")");
        b.push_back("insert into tabela_vat (r_dok, id, n22) values ('sprzedaż_f_vat', " +
                    std::to_string(id) + ", 5)");
    }
    for (const char* t : {"DOK_DD", "DOK_DZ", "DOK_PAR", "DOK_PW", "DOK_PZ", "DOK_RW", "DOK_WZ"})
        b.push_back(std::string("create table ") + t + " (ddout_id long)");
    for (const char* t : {"DOK_KFA", "DOK_KZA"})
        b.push_back(std::string("create table ") + t + " (FKOROUT_ID long)");
    b.push_back("create table DOK_ZAK (numer_id long)");
    return b;
}();

// The tables of step 5.88 with two contractors, 1 and 2, both with the same social
// security code and second driver.
const std::vector<std::string> kBaza588 = [] {
    std::string kierowcy;
    for (int g : {0, 100, 200})
        for (int i = 1; i <= 9; ++i) kierowcy += ", kier_id" + std::to_string(g + i) + " long";
    return std::vector<std::string>{
        "create table kontrahenci (konh_id long, Rabat money, UBE byte, UBR byte, UBC byte, UBW "
        "byte, UBZ byte, KartaStP byte, KartaCzP byte, kodzus text(6), Etat text(20), Powiat "
        "text(50), Region text(50), KONH_miejscowosc text(50), konh_naz_bank text(50), "
        "Przedstawiciel text(50), Podpis text(50)" +
            kierowcy + ")",
        "create table kontrahenci_rabaty (Konh_id long, Id_GR_prod long, PrRabat money" + kierowcy +
            ")",
        "insert into kontrahenci (konh_id, kodzus, kier_id2) values (1, '0110', 7)",
        "insert into kontrahenci (konh_id, kodzus, kier_id2) values (2, '0110', 7)"};
}();

class KopieTabel : public BazaKroku {
  protected:
    // The engine's model of the table gets its second column named as the first, so that
    // a copy of the table fails with "already exists", which the executor passes over
    // (the file itself stays whole: an open refuses a catalog that breaks its rules).
    static void Zdubluj_Kolumne(const std::string& tabela) {
        auto* t = const_cast<jet::TableInfo*>(polaczenie().database().catalog().table(tabela));
        t->columns.at(1).name = t->columns.at(0).name;
    }
    // Each case on a fresh database, the step run as the version loop runs it.
    void Sprawdz(const std::vector<Przypadek>& przypadki) {
        for (const Przypadek& p : przypadki) {
            SCOPED_TRACE(p.nazwa);
            Otworz(5.0);
            for (const std::string& s : p.baza) Sql(s);
            polaczenie().database().checkpoint();
            const Wiersze przed = Zawartosc();
            if (p.zdublowana) Zdubluj_Kolumne(p.zdublowana);
            std::string r;
            Wiersze wynik;
            {
                // One step's unit of work, as the version loop runs it; a process that ends
                // inside the step loses the unit's writes.
                jet::WorkUnit jednostka(polaczenie().database());
                std::unique_ptr<jet::Cursor> czyta;
                if (p.czytana) {
                    czyta =
                        polaczenie().database().query(std::string("select * from ") + p.czytana);
                    czyta->next();
                }
                r = Krok(p.krok);
                if (r.empty() && !p.kopia) wynik = Wiersze_Z(p.zapytanie);
            }
            if (!p.kopia) {
                EXPECT_EQ(r, "");
                EXPECT_EQ(wynik, p.wynik);
            } else {
                EXPECT_EQ(r.rfind("process end 1\n", 0), 0u) << r;
                EXPECT_NE(komunikaty.str().find(p.kopia), std::string::npos) << r;
                // The check names itself in the box's title and in the log line.
                for (const std::string& nazwa : {std::string(" ") + p.procedura + " ===\n",
                                                 std::string(",") + p.procedura + ","})
                    EXPECT_NE(r.find(nazwa), std::string::npos) << r;
                EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "0000");
                if (!Baza_Otwarta) DbOtwórz();
                EXPECT_EQ(Zawartosc(), przed);
            }
            TearDown();
            komunikaty.str("");
        }
    }
};

TEST_F(KopieTabel, ATableLeavesOnlyForACopyThatHoldsItsRows) {
    const std::vector<Przypadek> przypadki = {
        {"2.72: work copies left short while their tables stand, one whose table is gone",
         &ClsKonwersje::Konwersja_272,
         Z(kBaza272, {"select KONH_ID into X_KONTRAHENCI from Kontrahenci where KONH_ID=2",
                      "select * into _Place_Dane from Place_Dane where pole=0",
                      "create table x_dostawcy (a long)", "insert into x_dostawcy values (7)"}),
         nullptr,
         nullptr,
         "select K.KONH_ID, D.a, P.wartosc12 from KONTRAHENCI K, DOSTAWCY D, "
         "PLACE_DANE P",
         {{"1", "7", "30"}, {"2", "7", "30"}}},
        {"2.72: the whole copy, its payroll table since given its component columns and "
         "short of the other components' rows",
         &ClsKonwersje::Konwersja_272,
         Z(kBaza272, {"select * into _Place_Dane from Place_Dane",
                      "alter table Place_Dane add column wartosc0 money",
                      "delete from Place_Dane where pole<>0"}),
         nullptr,
         nullptr,
         "select wartosc0, wartosc12 from PLACE_DANE",
         {{"100", "30"}}},
        {"2.72: a table whose copy the engine refuses",
         &ClsKonwersje::Konwersja_272,
         kBaza272,
         "Kontrahenci",
         "X_KONTRAHENCI",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.72: a work copy holding more rows than its table",
         &ClsKonwersje::Konwersja_272,
         Z(kBaza272, {"select * into X_KONTRAHENCI from Kontrahenci",
                      "insert into X_KONTRAHENCI values (3, 0)"}),
         nullptr,
         "X_KONTRAHENCI",
         nullptr,
         {},
         "Usun_Pozostala_Kopie"},
        {"2.76: a copy of the purchase corrections left short",
         &ClsKonwersje::Konwersja_276,
         {"create table DOK_KFA (FKOROUT_ID long, ZAKUP logical)",
          "create table DOK_KFA_ZAWART (FKOROUT_ID long)",
          "create table DOK_DZ (DDOUT_ID long, ZAKUP logical)",
          "create table DOK_DZ_ZAWART (DDOUT_ID long)",
          "create table DOK_DD (DDOUT_ID long, ZAKUP logical)",
          "create table DOK_DD_ZAWART (DDOUT_ID long)", "insert into DOK_KFA values (1, -1)",
          "insert into DOK_KFA values (2, -1)", "insert into DOK_KFA values (3, 0)",
          "select * into DOK_KZA from DOK_KFA where FKOROUT_ID=1"},
         nullptr,
         nullptr,
         "select FKOROUT_ID from DOK_KZA",
         {{"1"}, {"2"}}},
        {"4.73: a copy of the payroll lines left short",
         &ClsKonwersje::Konwersja_473,
         {"create table place_dane (IDP long, IDListy long)",
          "insert into place_dane values (1, 1)", "insert into place_dane values (2, 1)",
          "create table Place_Listy_Zawart (IDP long)",
          "create table PLACE_SWIADCZ_PRZERWY (IDListy long)",
          "create table Setup (Nazwa text(255), Wartosc memo, USERS text(80), STAN text(80))",
          "create table UZYTKOWNICY (nazwisko_uzytkownika text(50))",
          "create table Kontrahenci (konh_id long, NumerWFK text(20))",
          "create table kh_konta (countt long, konto text(255), nr_k_1 text(4), nr_k_2 "
          "text(20), nr_k_3 text(20), nr_k_4 text(20), rok long)",
          "create table kh_dekrety (countt_konta long, konto text(255), rok long, nr_k_1 "
          "text(4), nr_k_2 text(20), nr_k_3 text(20), nr_k_4 text(20))"},
         nullptr,
         nullptr,
         "select IDP, IDListy from Place_Listy_Zawart",
         {{"1", "1"}, {"2", "1"}}},
        {"5.37: a copy of the recipe lines left short",
         &ClsKonwersje::Konwersja_537,
         {"create table PRODUKTY_RECEPTURY (PROD_ID long, SUR_ID long)",
          "insert into PRODUKTY_RECEPTURY values (1, 5)",
          "insert into PRODUKTY_RECEPTURY values (1, 6)",
          "create table PRODUKTY (PROD_ID long)", "insert into PRODUKTY values (1)",
          "create table PRODUKTY_kalkulacja (PROD_ID long, kalkulacja long)",
          "create table DOK_FIN_zawart (Id long)",
          "select * into PRODUKTY_RECEPTURY_ZAWART from PRODUKTY_RECEPTURY where SUR_ID=5"},
         nullptr,
         nullptr,
         "select SUR_ID from PRODUKTY_RECEPTURY_ZAWART",
         {{"5"}, {"6"}}},
        {"5.37: the recipe lines held open, so that the recipe headers cannot take their name",
         &ClsKonwersje::Konwersja_537,
         {"create table PRODUKTY_RECEPTURY (PROD_ID long, SUR_ID long, ID_RECEPTURY long, "
          "active logical, DATAod date)",
          "insert into PRODUKTY_RECEPTURY (PROD_ID, SUR_ID) values (1, 5)",
          "create table PRODUKTY_kalkulacja (PROD_ID long, kalkulacja long)",
          "insert into PRODUKTY_kalkulacja values (1, 7)",
          "insert into PRODUKTY_kalkulacja values (2, 8)",
          "insert into PRODUKTY_kalkulacja values (3, 9)", "create table DOK_FIN_zawart (Id long)"},
         nullptr,
         "into PRODUKTY_RECEPTURY from PRODUKTY_kalkulacja",
         nullptr,
         {},
         "DbWykonajKonwersje",
         "PRODUKTY_RECEPTURY"},
        {"5.47: a header table left short while the assets keep their symbols",
         &ClsKonwersje::Konwersja_547,
         {"create table SRODKI_TRWALE_ZAWART (ID long, SYMBOL text(20), numer long)",
          "insert into SRODKI_TRWALE_ZAWART values (1, 'S1', 0)",
          "insert into SRODKI_TRWALE_ZAWART values (2, 'S2', 0)",
          "select * into SRODKI_TRWALE from SRODKI_TRWALE_ZAWART where ID=1"},
         nullptr,
         nullptr,
         "select ID, SYMBOL from SRODKI_TRWALE",
         {{"1", "S1"}, {"2", "S2"}}},
        {"5.48: price-list lines without an id column",
         &ClsKonwersje::Konwersja_548,
         {"create table CENNIKI_ZAWART (PROD_ID long)", "insert into CENNIKI_ZAWART values (1)"},
         nullptr,
         "CENNIKI_ZAWART_1",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"5.48: a copy of the price-list lines left short",
         &ClsKonwersje::Konwersja_548,
         {"create table CENNIKI_ZAWART (id long)", "insert into CENNIKI_ZAWART values (1)",
          "insert into CENNIKI_ZAWART values (2)", "create table CENNIKI_ZAWART_1 (id long)"},
         nullptr,
         nullptr,
         "select id from CENNIKI_ZAWART",
         {{"1"}, {"2"}}},
        // A table that stands where a step makes its copy proves the copy only by holding
        // each row that the copy takes, with its values; an empty copy by its columns.
        {"3.57: an empty table of terms made before the step",
         &ClsKonwersje::Konwersja_357,
         {"create table KADRY_UMOWY (ID_prac long, Stanowisko text(40), Countt counter)",
          "insert into KADRY_UMOWY (ID_prac, Stanowisko) values (1, 'piekarz')",
          "create table KADRY_WARUNKI (ID_prac long, Stanowisko text(40), Countt long)"},
         nullptr,
         "KADRY_WARUNKI",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"5.47: a header table of other assets while the assets have lost their symbols",
         &ClsKonwersje::Konwersja_547,
         {"create table SRODKI_TRWALE_ZAWART (ID long, data_n date, umorzenie money, numer long)",
          "insert into SRODKI_TRWALE_ZAWART values (1, #01/02/2001#, 100, 0)",
          "insert into SRODKI_TRWALE_ZAWART values (2, #01/03/2001#, 200, 0)",
          "create table SRODKI_TRWALE (ID long, data_n date, umorzenie money)",
          "insert into SRODKI_TRWALE values (3, Null, 0)",
          "insert into SRODKI_TRWALE values (4, Null, 0)"},
         nullptr,
         "SRODKI_TRWALE",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"5.78: a work table made before the step with a wrong total",
         &ClsKonwersje::Konwersja_578,
         {"create table DOK_FAK_ZAWART (COUNTT counter, FAKOUT_ID long, PROD_ID long, "
          "ZFAKOUT_CENA_N money, ZFAKOUT_ILOSC single, Ilosc_Na_Magazyn single, RABAT_CEN money, "
          "CENA_B_RABATU money)",
          "insert into DOK_FAK_ZAWART values (1, 1, 7, 10, 20, 20, 0, 10)",
          "insert into DOK_FAK_ZAWART values (2, 1, 7, 10, 25, 25, 0, 10)",
          "create table DOK_FAK_ZAWART_SUMY (COUNTT long, FAKOUT_ID long, PROD_ID long, "
          "ZFAKOUT_CENA_N money, RABAT_CEN money, ZFAKOUT_ILOSC double, Ilosc_Na_Magazyn double)",
          "insert into DOK_FAK_ZAWART_SUMY values (2, 1, 7, 10, 0, 1, 45)"},
         nullptr,
         "DOK_FAK_ZAWART_SUMY",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"4.15: a ledger book of other columns made before the step",
         &ClsKonwersje::Konwersja_415,
         {"create table KPIR_KSIEGA (kpir_id long, numer long)",
          "create table KH_KSIEGA (konto text(20), kwota money)",
          "insert into KH_KSIEGA values ('201', 5)"},
         nullptr,
         "KH_KSIEGA",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"4.38: purchase invoices of other columns made before the step",
         &ClsKonwersje::Konwersja_438,
         {"create table dok_fak (FAKOUT_ID long, FAKOUT_NUMER text(30))",
          "create table dok_fak_zawart (FAKOUT_ID long)",
          "create table sposob_numeracji (nag_fak text(50))",
          "create table dok_Fwe (konto text(20), kwota money)",
          "insert into dok_Fwe values ('201', 5)"},
         nullptr,
         "dok_Fwe",
         nullptr,
         {},
         "DbWykonajKonwersje"},
    };
    Sprawdz(przypadki);
}

TEST_F(KopieTabel, RowsLeaveOnlyWhenTheTableTheyMovedIntoHoldsThem) {
    // Each move fails as its executor passes over it: a unique index that a user added to
    // the target refuses a row or a value, or a column that the move reads is missing.
    const std::vector<Przypadek> przypadki = {
        {"2.34: a payment numbered like a receipt",
         &ClsKonwersje::Konwersja_234,
         Z(kBaza234, {"create unique index u on KP (nr_kp)",
                      "insert into KW (nr_kp, KB) values ('KP 1/2001', 'K')"}),
         nullptr,
         "[KP]",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.34: a payment's line settling the receipt's document",
         &ClsKonwersje::Konwersja_234,
         Z(kBaza234, {"create unique index u on KP_ZAWART (dok_id)",
                      "insert into KW_ZAWART values (1, 'Zakup', 11, 20)"}),
         nullptr,
         "[KP_ZAWART]",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.14: the stock of two products refused back into its table",
         &ClsKonwersje::Konwersja_214,
         Z(kBaza214, {"create unique index u on magazyn_produktow (ilosc)"}),
         nullptr,
         "[magazyn_produktow]",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.18: a recount that makes two quantities equal",
         &ClsKonwersje::Konwersja_218,
         {"create table REMANENTINWENT (ID_RI counter, Data date)",
          "create table PRODUKTY (prod_id long)", "insert into PRODUKTY values (1)",
          "insert into PRODUKTY values (2)",
          "create table SPRZEDAZ_ILOSC (prod_id long, ILOSC single, rozch_il single)",
          "insert into SPRZEDAZ_ILOSC values (1, 10, 5)",
          "insert into SPRZEDAZ_ILOSC values (2, 15, 0)",
          "create unique index u on SPRZEDAZ_ILOSC (ILOSC)",
          "create table SPRZEDAZ_NEW (DDOUT_ID counter, DDOUT_NUMER text(50), DDOUT_DATA_WYST "
          "date, rodzdok text(1))",
          "create table SPRZEDAZ_ZAWARTOSC (SPRZ_ID long, PROD_ID long, WSPRZ_ILOSC single)"},
         nullptr,
         "SPRZEDAZ_ILOSC",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"5.44: two recipes given the same yield",
         &ClsKonwersje::Konwersja_544,
         {"create table dok_kfa (fkorout_id long, wart_dd money)",
          "create table dok_dz (Id_KorFak long, wart_kp money)",
          "create table PRODUKTY (PROD_ID long, Szt_w_opak single, PROD_WAGA single, "
          "PROD_WYDAJNOSCzREC single)",
          "insert into PRODUKTY values (1, 1, 1, 50)", "insert into PRODUKTY values (2, 1, 1, 50)",
          "create table PRODUKTY_RECEPTURY (PROD_ID long, WYDAJNOSC single)",
          "insert into PRODUKTY_RECEPTURY values (1, 1)",
          "insert into PRODUKTY_RECEPTURY values (2, 2)",
          "create unique index u on PRODUKTY_RECEPTURY (WYDAJNOSC)"},
         nullptr,
         "PRODUKTY_RECEPTURY",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"5.88: two employees' options given the same social security code",
         &ClsKonwersje::Konwersja_588,
         Z(kBaza588, {"create table KADRY_OPCJE (ID_PRAC long, kodzus text(6))",
                      "create unique index u on KADRY_OPCJE (kodzus)",
                      "insert into KADRY_OPCJE (ID_PRAC) values (1)",
                      "insert into KADRY_OPCJE (ID_PRAC) values (2)"}),
         nullptr,
         "KADRY_OPCJE AS KO",
         nullptr,
         {},
         "DbWykonajUPD"},
        {"5.88: two discount rows given the same driver",
         &ClsKonwersje::Konwersja_588,
         Z(kBaza588, {"create table KADRY_OPCJE (ID_PRAC long)",
                      "insert into kontrahenci_rabaty (Konh_id, Id_GR_prod, kier_id2) values (1, "
                      "0, 1)",
                      "insert into kontrahenci_rabaty (Konh_id, Id_GR_prod, kier_id2) values (2, "
                      "0, 2)",
                      "create unique index u on kontrahenci_rabaty (kier_id2)"}),
         nullptr,
         "Kontrahenci_Rabaty",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.42: two invoices booked in one entry",
         &ClsKonwersje::Konwersja_242,
         {"create table PRODUKTY (PROD_ID long, rodzaj text(1))",
          "create table CENNIKI_ZAWART (PROD_ID long, CEN_Narzut money, CEN_NETTO money, Narzut "
          "single)",
          "create table zakupy_zawart (sur_ID long, CENA_N money, Countt counter)",
          "create table faktury (fakout_id long, id_kpir long)",
          "create unique index u on faktury (id_kpir)", "insert into faktury values (1, Null)",
          "insert into faktury values (2, Null)",
          "create table faktury_ZAWART (fakout_id long, KPIR_id long, Countt counter)",
          "insert into faktury_ZAWART (fakout_id, KPIR_id) values (1, 71)",
          "insert into faktury_ZAWART (fakout_id, KPIR_id) values (2, 71)",
          "create table k_faktur (fkorout_id long, id_kpir long)",
          "create table k_faktur_ZAWART (fkorout_id long, KPIR_id long, Countt counter)",
          "create table KP (id counter, konh_id long, opis text(100))",
          "create table DOWODY_DOSTAW_Zawart (DDOUT_ID long)",
          "create table DOWODY_Zwrotu_Zawart (DDOUT_ID long)",
          "create table SRODKI_TRWALE_ZAWART (id long, kpir_id long)"},
         nullptr,
         "[faktury]",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"2.44: an unnumbered invoice of a table without the issuer column",
         &ClsKonwersje::Konwersja_244,
         Z(kBaza244, {"insert into faktury (FAKOUT_ID) values (1)"}),
         nullptr,
         "[Usunieto]",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"3.22: two invoices of the same net amount",
         &ClsKonwersje::Konwersja_322,
         kBaza322,
         nullptr,
         "DOK_FAK",
         nullptr,
         {},
         "DbWykonajKonwersje"},
        {"3.22: register amounts of another type than the documents' carried whole",
         &ClsKonwersje::Konwersja_322,
         [] {
             std::vector<std::string> b = kBaza322;
             std::erase(b, std::string("create unique index u on DOK_FAK (n22)"));
             b.push_back("alter table tabela_vat drop column n3");
             b.push_back("alter table tabela_vat add column n3 single");
             b.push_back("update tabela_vat set n3=12.34");
             return b;
         }(),
         nullptr,
         nullptr,
         "select FAKOUT_ID, n3 from DOK_FAK order by FAKOUT_ID",
         {{"1", "12,34"}, {"2", "12,34"}}},
        {"5.88: options carried by the suite's earlier tool, which then dropped UBE",
         &ClsKonwersje::Konwersja_588,
         Z(kBaza588, {"alter table kontrahenci drop column UBE",
                      "create table KADRY_OPCJE (ID_PRAC long, kodzus text(6))",
                      "insert into KADRY_OPCJE values (1, '0110')",
                      "insert into KADRY_OPCJE values (2, '0110')"}),
         nullptr,
         nullptr,
         "select ID_PRAC, kodzus from KADRY_OPCJE order by ID_PRAC",
         {{"1", "0110"}, {"2", "0110"}}},
        {"5.88: three lists of the dictionary added by the suite's earlier tool",
         &ClsKonwersje::Konwersja_588,
         Z(kBaza588, {"create table KADRY_OPCJE (ID_PRAC long)",
                      "create table S_Inne (ID_slownka long, countt counter, Nazwa text(255))",
                      "insert into S_Inne (ID_slownka) values (1)",
                      "insert into S_Inne (ID_slownka) values (2)",
                      "insert into S_Inne (ID_slownka) values (3)"}),
         nullptr,
         nullptr,
         "select ID_slownka, count(*) from S_Inne group by ID_slownka",
         {{"1", "1"}, {"2", "1"}, {"3", "1"}, {"4", "1"}, {"5", "1"}, {"6", "1"}}},
    };
    Sprawdz(przypadki);
}

// Each write of the step fails in turn with "duplicate values": the step stops with the
// database as it was wherever a statement that changes rows meets it.
TEST_F(KopieTabel, APassedOverFailureOfAStatementThatChangesRowsStopsTheStep) {
    const struct {
        const char* nazwa;
        MetodaKroku krok;
        std::vector<std::string> baza;
    } przypadki[] = {
        {"2.34: payments merged into the receipts", &ClsKonwersje::Konwersja_234, kBaza234},
        {"2.34: receipts already holding a payment's id", &ClsKonwersje::Konwersja_234,
         Z(kBaza234, {"alter table KP add column KW_id long",
                      "insert into KP (nr_kp, KB, KW_id) values ('KW 9/2001', 'K', 1)"})},
        {"2.14: stock collapsed through its work table", &ClsKonwersje::Konwersja_214, kBaza214},
        {"4.11: the basic contractor group and the signs of cash amounts",
         &ClsKonwersje::Konwersja_411,
         {"create table Kontrahenci (KONH_ID long)",
          "create table dok_fin (kp_id long, kwota money, kwota_Kw money, Wart_Rozl money)",
          "insert into dok_fin values (1, -3, -2, 0)",
          "create table dok_fin_zawart (kp_id long, kwota money)",
          "insert into dok_fin_zawart values (1, -5)"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Kazdy_Zapis_Zawodzi(
            [&] {
                Otworz(5.0);
                for (const std::string& s : p.baza) Sql(s);
            },
            [&] { return Krok(p.krok); }, Zawartosc, [&] { TearDown(); });
    }
}

}  // namespace
}  // namespace kroki_test
