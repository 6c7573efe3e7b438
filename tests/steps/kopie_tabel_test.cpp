// A step drops or empties a table only when the table's copy holds its rows: a copy that
// failed ends the run with the database as it was before the step, and a copy that a
// stopped run left while its table stands gives way to a fresh one.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db/rejestr.h"
#include "jet/catalog.h"
#include "jet/session.h"
#include "steps/baza_kroku.h"

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
// critical end that names the copy kopia, with the database as before the step, or,
// when kopia is null, the rows that zapytanie reads.
struct Przypadek {
    const char* nazwa;
    MetodaKroku krok;
    std::vector<std::string> baza;
    const char* zdublowana;
    const char* kopia;
    const char* zapytanie;
    Wiersze wynik;
};

class KopieTabel : public BazaKroku {
  protected:
    // Every table with its columns and rows.
    static Wiersze Zawartosc() {
        Wiersze w;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
            w.push_back({t->name});
            for (const jet::ColumnInfo& c : t->columns) w.back().push_back(c.name);
            for (auto& r : Wiersze_Z("select * from [" + t->name + "]")) w.push_back(r);
        }
        return w;
    }
    // The engine's model of the table gets its second column named as the first, so that
    // a copy of the table fails with "already exists", which the executor passes over
    // (the file itself stays whole: an open refuses a catalog that breaks its rules).
    static void Zdubluj_Kolumne(const std::string& tabela) {
        auto* t = const_cast<jet::TableInfo*>(polaczenie().database().catalog().table(tabela));
        t->columns.at(1).name = t->columns.at(0).name;
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
        {"2.72: a table whose copy the engine refuses",
         &ClsKonwersje::Konwersja_272,
         kBaza272,
         "Kontrahenci",
         "X_KONTRAHENCI",
         nullptr,
         {}},
        {"2.72: a work copy holding more rows than its table",
         &ClsKonwersje::Konwersja_272,
         Z(kBaza272, {"select * into X_KONTRAHENCI from Kontrahenci",
                      "insert into X_KONTRAHENCI values (3, 0)"}),
         nullptr,
         "X_KONTRAHENCI",
         nullptr,
         {}},
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
          "create table kh_konta (konto text(255), nr_k_1 text(4), nr_k_2 text(20), nr_k_3 "
          "text(20), nr_k_4 text(20), rok long)",
          "create table kh_dekrety (konto text(255), rok long, nr_k_1 text(4), nr_k_2 text(20), "
          "nr_k_3 text(20), nr_k_4 text(20))"},
         nullptr,
         nullptr,
         "select IDP, IDListy from Place_Listy_Zawart",
         {{"1", "1"}, {"2", "1"}}},
        {"5.37: a copy of the recipe lines left short",
         &ClsKonwersje::Konwersja_537,
         {"create table PRODUKTY_RECEPTURY (PROD_ID long, SUR_ID long)",
          "insert into PRODUKTY_RECEPTURY values (1, 5)",
          "insert into PRODUKTY_RECEPTURY values (1, 6)",
          "create table PRODUKTY_kalkulacja (PROD_ID long, kalkulacja long)",
          "create table DOK_FIN_zawart (Id long)",
          "select * into PRODUKTY_RECEPTURY_ZAWART from PRODUKTY_RECEPTURY where SUR_ID=5"},
         nullptr,
         nullptr,
         "select SUR_ID from PRODUKTY_RECEPTURY_ZAWART",
         {{"5"}, {"6"}}},
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
         {}},
        {"5.48: a copy of the price-list lines left short",
         &ClsKonwersje::Konwersja_548,
         {"create table CENNIKI_ZAWART (id long)", "insert into CENNIKI_ZAWART values (1)",
          "insert into CENNIKI_ZAWART values (2)", "create table CENNIKI_ZAWART_1 (id long)"},
         nullptr,
         nullptr,
         "select id from CENNIKI_ZAWART",
         {{"1"}, {"2"}}},
    };
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
            r = Krok(p.krok);
            if (r.empty() && !p.kopia) wynik = Wiersze_Z(p.zapytanie);
        }
        if (!p.kopia) {
            EXPECT_EQ(r, "");
            EXPECT_EQ(wynik, p.wynik);
        } else {
            EXPECT_EQ(r.rfind("process end 1\n", 0), 0u) << r;
            EXPECT_NE(komunikaty.str().find(p.kopia), std::string::npos) << r;
            EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "0000");
            if (!Baza_Otwarta) DbOtwórz();
            EXPECT_EQ(Zawartosc(), przed);
        }
        TearDown();
        komunikaty.str("");
    }
}

}  // namespace
}  // namespace kroki_test
