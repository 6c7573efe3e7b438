// Step 2.72 on a database of version 2.71: the employee columns dropped, the payroll
// values pivoted into one line per employee and list, every user table rebuilt under
// its upper-cased name without indexes, and the primary keys.
#include <algorithm>
#include <map>

#include "dao/dao.h"
#include "jet/catalog.h"
#include "jet/text.h"
#include "steps/baza_kroku.h"
#include "steps/kroki_fixture.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Krok272 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.71);
        Sql("create table Nieruszac (NumerWersji double)");
        Sql("insert into Nieruszac values (2.71)");
        Sql("create table KADRY_PRACOWNICY (Numer long, DataOD date, Nazwisko text(50), "
            "Nazwisko_r text(50), pesel text(11), ETAT single, ZAZYWANE_LEKI text(100), "
            "id counter)");
        Sql("create index indDataOD on KADRY_PRACOWNICY (DataOD)");
        Sql("insert into KADRY_PRACOWNICY (Numer, DataOD, Nazwisko, pesel, ETAT) values "
            "(1, #01-02-1999#, 'Kowalska', '72030512345', 1)");
        for (const char* t : {"KADRY_DANE_BO", "KADRY_DANE_MIES", "KADRY_DANE_ROK", "KADRY_DK_S"})
            Sql(std::string("create table ") + t + " (ID_prac long)");

        Sql("create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
            "0,iddd counter, pole long, IDListy long)");
        Sql("create table [place_opisy] (pole long,OPIS text(255),SKR text(255),iddd counter)");
        for (int n = 0; n <= 116; ++n)
            Sql("insert into place_opisy (pole, OPIS, SKR) values (" + std::to_string(n) +
                ", 'o', 's')");
        Sql("create table [place_Listy] (IDListy counter,Numer text(50),OPIS text(255),DataK "
            "date,DataP date,KosztPr money,ID_Kpir long)");
        Sql("insert into place_Listy (Numer, KosztPr, ID_Kpir) values ('1/3/2001', 300, 0)");
        Sql("insert into place_Listy (Numer, KosztPr, ID_Kpir) values ('2/3/2001', 0, 0)");
        Sql("create table KPIR_KSIEGA (kpir_id counter, opis text(60), kwota_w money)");
        Sql("insert into KPIR_KSIEGA (opis, kwota_w) values ('Sprzedaż', 120)");
        Sql("insert into KPIR_KSIEGA (opis, kwota_w) values ('Płace 03/2001', 300)");
        Sql("insert into KPIR_KSIEGA (opis, kwota_w) values ('Bez kwoty', 0)");  // no list's
        Sql("insert into KPIR_KSIEGA (opis, kwota_w) values ('Płace raz jeszcze', 300)");

        Sql("create table PRODUKTY (PROD_ID long, PROD_NAZWA text(50))");
        Sql("insert into PRODUKTY values (1, 'Chleb')");
        Sql("insert into PRODUKTY values (2, 'Mąka')");
        Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long)");
        Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long)");
        Sql("create table DOK_DZ (DDOUT_ID long)");
        Sql("create table DOK_PRO (DDOUT_ID long, data date)");
        Sql("insert into DOK_PRO values (1, #03-05-2001#)");
        Sql("create table DOK_PRO_ZAWART (DDOUT_ID long, PROD_ID long, ilosc_prod single)");
        Sql("create table DOK_PRO_ZAWART_SUROWCE (DDOUT_ID long, PROD_ID long, SUR_ID long)");
        Sql("create table SETUP (Nazwa text(255), Wartosc memo, USERS text(80), STAN text(80))");
        Sql("insert into SETUP values ('ROCZNA', '1', Null, Null)");
        Sql("insert into SETUP values (Null, 'x', '', '')");
        Sql("create table TABELA_VAT (id long, r_dok text(30), n22 money)");
        for (const char* r : {"Zak_prod", "Zak_sur", "Zak_koszty", "nie_koszty", "Sprzedaż_F_VAT"})
            Sql(std::string("insert into TABELA_VAT values (1, '") + r + "', 10)");
    }

    void Wartosc(int idp, int lista, int pole, double wartosc) {
        Sql("insert into Place_Dane (IDP, dataK, pole, wartosc, IDListy) values (" +
            std::to_string(idp) + ", #03-05-2001#, " + std::to_string(pole) + ", " +
            std::to_string(wartosc) + ", " + std::to_string(lista) + ")");
    }

    static const jet::TableInfo* Tabela(const std::string& nazwa) {
        return polaczenie().database().catalog().table(nazwa);
    }
    // The table's name as the catalog keeps it and its indexes, "name:columns" with a
    // "*" for the primary key.
    static Lista Indeksy(const std::string& nazwa) {
        const jet::TableInfo* t = Tabela(nazwa);
        if (!t) return {"<brak tabeli>"};
        Lista w;
        for (const auto& i : t->indexes) {
            std::string opis = i.name + (i.primary ? "*" : "") + ":";
            for (const auto& c : i.columns) opis += t->column_by_id(c.column_id)->name + ",";
            w.push_back(opis);
        }
        return w;
    }
    static Lista Kolumny(const std::string& nazwa) {
        Lista w;
        for (const auto& c : Tabela(nazwa)->columns) w.push_back(c.name);
        return w;
    }
    std::string Log() {
        std::ifstream log(folder / "Log");
        std::stringstream tekst;
        tekst << log.rdbuf();
        return tekst.str();
    }
};

TEST_F(Krok272, PayrollLineTakesEveryComponentOfItsEmployeeAndList) {
    Wartosc(1, 1, 0, 1500);
    Wartosc(1, 1, 12, 300);
    Wartosc(1, 1, 14, 200);
    Wartosc(1, 1, 7001, 1);
    Wartosc(1, 1, 8001, 1);
    Wartosc(1, 1, 9001, 1);
    Wartosc(1, 2, 0, 1000);  // the same employee on another list
    Wartosc(2, 1, 0, 900);
    Wartosc(2, 1, 7002, 2);
    // An amount not given leaves the column's 0.
    Sql("insert into Place_Dane (IDP, pole, wartosc, IDListy) values (2, 12, null, 1)");
    Wartosc(3, 1, 12, 450);  // no component 0: no line
    // Neither list nor component: those of 0.
    Sql("insert into Place_Dane (IDP, pole, wartosc, IDListy) values (4, null, 700, null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");

    EXPECT_EQ(Wiersze_Z("select IDP, IDListy, wartosc0, wartosc12, wartosc14, wartosc134 from "
                        "PLACE_DANE order by IDP, IDListy"),
              (Wiersze{{"1", "1", "1500", "300", "200", "0"},
                       {"1", "2", "1000", "0", "0", "0"},
                       {"2", "1", "900", "0", "0", "0"},
                       {"4", "0", "700", "0", "0", "0"}}));
    for (int n = 1; n <= 134; ++n) {
        if (n == 12 || n == 14) continue;
        EXPECT_EQ(
            Kolumna("select count(*) from PLACE_DANE where wartosc" + std::to_string(n) + "<>0"),
            Lista{"0"})
            << n;
    }
    EXPECT_EQ(Typ_Pola("PLACE_DANE", "wartosc7"), dao::dbCurrency);
    // Options: the tax-relief and cost options of 1 land in the columns of 0.
    EXPECT_EQ(Wiersze_Z("select Owartosc7000, Owartosc7001, Owartosc7002, Owartosc7003, "
                        "Owartosc8000, Owartosc8001, Owartosc9000, Owartosc9001 from PLACE_DANE "
                        "order by IDP, IDListy"),
              (Wiersze{{"0", "1", "0", "0", "1", "0", "1", "0"},
                       {"0", "0", "0", "0", "0", "0", "0", "0"},
                       {"0", "0", "2", "0", "0", "0", "0", "0"},
                       {"0", "0", "0", "0", "0", "0", "0", "0"}}));
    EXPECT_EQ(Typ_Pola("PLACE_DANE", "Owartosc9001"), dao::dbByte);
    EXPECT_FALSE(Czyta_Sie("select pole from PLACE_DANE"));
    EXPECT_FALSE(Czyta_Sie("select DP from PLACE_DANE"));
    EXPECT_FALSE(Czyta_Sie("select wartosc from PLACE_DANE"));
    EXPECT_FALSE(Jest_Tabela("_Place_Dane"));
    EXPECT_EQ(Indeksy("PLACE_DANE"), Lista{"Podstawowy*:IDP,IDListy,"});

    // The lists: totals columns, and the book entry of the same amount.
    EXPECT_EQ(Wiersze_Z("select Numer, ID_Kpir, ZUSSKł, PRKASA from PLACE_LISTY order by IDListy"),
              (Wiersze{{"1/3/2001", "2", "Null", "Null"}, {"2/3/2001", "0", "Null", "Null"}}));
}

TEST_F(Krok272, EmployeeTableKeepsOnlyThePersonnelColumnsStillUsed) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    EXPECT_EQ(Kolumny("KADRY_PRACOWNICY"), (Lista{"Numer", "Nazwisko", "id", "pesel"}));
    EXPECT_EQ(Wiersze_Z("select Numer, Nazwisko, pesel from KADRY_PRACOWNICY"),
              (Wiersze{{"1", "Kowalska", "72030512345"}}));
    EXPECT_EQ(Tabela("KADRY_PRACOWNICY")->column("pesel")->size, 13);
    EXPECT_EQ(Indeksy("KADRY_PRACOWNICY"), Lista{"Podstawowy*:id,"});
    for (const char* t : {"KADRY_DANE_BO", "KADRY_DANE_MIES", "KADRY_DANE_ROK", "KADRY_DK_S"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
    for (const char* t : {"DOK_ZAK_ZAWART", "DOK_KFA_ZAWART", "DOK_DZ"})
        EXPECT_TRUE(Czyta_Sie(std::string("select Opis, KontoFK from ") + t)) << t;
    EXPECT_EQ(Tabela("PRODUKTY")->column("Dom_Konto")->size, 40);
}

TEST_F(Krok272, EveryTableComesBackUpperCasedWithItsRowsAndWithoutIndexes) {
    Sql("create table Uwagi (nr counter, tekst text(20), kwota money, dzien date)");
    Sql("create index indTekst on Uwagi (tekst)");
    Sql("insert into Uwagi (tekst, kwota, dzien) values ('pierwsza', 12.3456, #03-05-2001#)");
    Sql("insert into Uwagi (tekst, kwota, dzien) values ('druga', Null, Null)");
    Sql("delete from Uwagi where tekst='pierwsza'");
    Sql("create table X_Stara (a long)");  // a work copy left behind comes back as STARA
    Sql("insert into X_Stara values (7)");
    Sql("create table msysPomoc (a long)");  // not a system table: the prefix is exact
    Sql("create table [Błędy wklejania] (opis text(50))");
    jet::Database& baza = polaczenie().database();
    const auto systemowe = baza.catalog().system_table_names();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");

    Lista nazwy;
    for (const jet::TableInfo* t : baza.catalog().tables()) nazwy.push_back(t->name);
    EXPECT_EQ(nazwy,
              (Lista{"BŁĘDY WKLEJANIA", "DOK_DZ", "DOK_KFA_ZAWART", "DOK_PRO", "DOK_PRO_ZAWART",
                     "DOK_PRO_ZAWART_SUROWCE", "DOK_ZAK_ZAWART", "KADRY_PRACOWNICY", "KPIR_KSIEGA",
                     "MSYSPOMOC", "NIERUSZAC", "PLACE_DANE", "PLACE_LISTY", "PLACE_OPISY",
                     "PRODUKTY", "SETUP", "STARA", "TABELA_VAT", "UWAGI"}));
    EXPECT_EQ(baza.catalog().system_table_names(), systemowe);

    EXPECT_EQ(Indeksy("UWAGI"), Lista{});
    EXPECT_EQ(Indeksy("NIERUSZAC"), Lista{});
    EXPECT_EQ(Wiersze_Z("select nr, tekst, kwota, dzien from UWAGI"),
              (Wiersze{{"2", "druga", "Null", "Null"}}));
    EXPECT_EQ(Typ_Pola("UWAGI", "kwota"), dao::dbCurrency);
    EXPECT_EQ(Tabela("UWAGI")->column("tekst")->size, 20);
    // The counter goes on after the highest number the table keeps.
    Sql("insert into UWAGI (tekst) values ('trzecia')");
    EXPECT_EQ(Kolumna("select nr from UWAGI where tekst='trzecia'"), Lista{"3"});
    EXPECT_EQ(Kolumna("select a from STARA"), Lista{"7"});
    EXPECT_EQ(Kolumna("select NumerWersji from NIERUSZAC"), Lista{"2,71"});
}

TEST_F(Krok272, KeysAfterTheProductionAndSetupClearance) {
    Sql("insert into DOK_PRO_ZAWART values (1, 1, 10)");
    Sql("insert into DOK_PRO_ZAWART values (1, 9, 5)");  // a product that is gone
    Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 1, 2)");
    Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 9, 2)");
    Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 1, 8)");
    Sql("insert into SETUP values ('AKT_ROK', '2001', Null, Null)");
    // A raw material listed twice in a recipe (lines 1 and 3), a right that names none.
    Sql("create table PRODUKTY_RECEPTURY (Countt counter, PROD_ID long, sur_id long, ilosc_sur "
        "single, ilosc_polprod single)");
    for (const char* w : {"1, 2, 25, 0", "1, 3, 1, Null", "1, 2, 0.5, Null", "2, 2, 3, 1"})
        Sql(std::string("insert into PRODUKTY_RECEPTURY (PROD_ID, sur_id, ilosc_sur, "
                        "ilosc_polprod) values (") +
            w + ")");
    Sql("create table UZYTKOWNICY_PRAWA (p_id long, p_login text(20), Countt counter, Prawo "
        "text(255))");
    Sql("insert into UZYTKOWNICY_PRAWA (p_id, p_login) values (1, 'ADMIN')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    EXPECT_EQ(Wiersze_Z("select Countt, PROD_ID, sur_id, ilosc_sur, ilosc_polprod from "
                        "PRODUKTY_RECEPTURY order by Countt"),
              (Wiersze{{"1", "1", "2", "25,5", "0"},
                       {"2", "1", "3", "1", "Null"},
                       {"4", "2", "2", "3", "1"}}));
    EXPECT_EQ(Indeksy("PRODUKTY_RECEPTURY"), Lista{"Podstawowy*:PROD_ID,sur_id,"});
    EXPECT_EQ(Wiersze_Z("select Prawo from UZYTKOWNICY_PRAWA"), Wiersze{{""}});
    EXPECT_EQ(Indeksy("UZYTKOWNICY_PRAWA"), Lista{"Podstawowy*:p_id,p_login,Prawo,"});

    EXPECT_EQ(Wiersze_Z("select DDOUT_ID, PROD_ID from DOK_PRO_ZAWART"), (Wiersze{{"1", "1"}}));
    EXPECT_EQ(Wiersze_Z("select PROD_ID, SUR_ID from DOK_PRO_ZAWART_SUROWCE"),
              (Wiersze{{"1", "2"}}));
    EXPECT_EQ(Indeksy("DOK_PRO"), Lista{"Podstawowy*:DDOUT_ID,"});
    EXPECT_EQ(Indeksy("DOK_PRO_ZAWART"), Lista{"Podstawowy*:DDOUT_ID,PROD_ID,"});
    EXPECT_EQ(Indeksy("DOK_PRO_ZAWART_SUROWCE"), Lista{"Podstawowy*:DDOUT_ID,PROD_ID,SUR_ID,"});

    EXPECT_EQ(Wiersze_Z("select Nazwa, USERS, STAN from SETUP order by Nazwa, Wartosc"),
              (Wiersze{{"AKT_ROK", "", ""}, {"ROCZNA", "", ""}}));
    EXPECT_EQ(Indeksy("SETUP"), Lista{"Podstawowy*:Nazwa,USERS,STAN,"});

    EXPECT_EQ(Kolumna("select r_dok from TABELA_VAT"), Lista{"Sprzedaż_F_VAT"});
    EXPECT_EQ(Indeksy("TABELA_VAT"), Lista{"Podstawowy*:id,r_dok,"});
    EXPECT_EQ(Wiersze_Z("select count(*), min(pole), max(pole) from PLACE_OPISY"),
              (Wiersze{{"135", "0", "134"}}));
    EXPECT_EQ(Wiersze_Z("select OPIS, SKR from PLACE_OPISY where pole in (117,118,134) order by "
                        "pole"),
              (Wiersze{{"Konto", "Konto"}, {"Procent Konto", "Procent Konto"}, {"", ""}}));
    EXPECT_EQ(Indeksy("PLACE_OPISY"), Lista{"Podstawowy*:pole,"});
    // Tables of the key list that the database lacks are only logged.
    EXPECT_EQ(Indeksy("KONTRAHENCI"), Lista{"<brak tabeli>"});
    // The lines deleted are named in the Log, with their quantities.
    EXPECT_EQ(Linie_Logu("pozycje produkcji bez produktu (usunięte): DDOUT_ID = 1, PROD_ID = 9, "
                         "ilosc_prod = 5")
                  .size(),
              1u);
    EXPECT_EQ(Linie_Logu("surowce produkcji bez surowca (usunięte): DDOUT_ID = 1, PROD_ID = 1, "
                         "SUR_ID = 8")
                  .size(),
              1u);
    // A setting of no user named twice, once with Null, once with "": the first stored
    // stands, the other keeps its value under its name with a suffix.
    Sql("drop index Podstawowy on SETUP");
    Sql("insert into SETUP (Nazwa, Wartosc, Users) values ('AKT_ROK', '2002', Null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    EXPECT_EQ(Wiersze_Z("select Nazwa, Wartosc from SETUP where Nazwa like 'AKT*' order by Nazwa"),
              (Wiersze{{"AKT_ROK", "2001"}, {"AKT_ROKN1", "2002"}}));
}

TEST_F(Krok272, CatalogueThatHadTheNewComponentsKeepsThemOnceWithItsKey) {
    Sql("insert into place_opisy (pole, OPIS, SKR) values (117, 'Konto', 'Konto')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    EXPECT_EQ(Kolumna("select count(*) from PLACE_OPISY where pole=117"), Lista{"1"});
    EXPECT_EQ(Indeksy("PLACE_OPISY"), Lista{"Podstawowy*:pole,"});
}

// A run that stopped after the pivot (its work is kept) is repeated from the first
// statement: the payroll lines keep their amounts and the step completes.
TEST_F(Krok272, RepeatedStepKeepsThePivotedPayroll) {
    Wartosc(1, 1, 0, 1500);
    Wartosc(1, 1, 12, 300);
    Wartosc(1, 1, 8001, 1);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    // The catalogue rows 117 to 134 now meet their key: each is shown and ignored.
    Odpowiedzi(std::vector<int>(18, platform::mb::ignore));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_272), "");
    EXPECT_EQ(Kolumna("select count(*) from PLACE_OPISY"), Lista{"135"});
    EXPECT_EQ(Wiersze_Z("select IDP, IDListy, wartosc0, wartosc12, Owartosc8000 from PLACE_DANE"),
              (Wiersze{{"1", "1", "1500", "300", "1"}}));
    EXPECT_EQ(Indeksy("PLACE_DANE"), Lista{"Podstawowy*:IDP,IDListy,"});
    EXPECT_FALSE(Jest_Tabela("_PLACE_DANE"));
}

TEST_F(Krok272, MissingPayrollTableStopsTheStep) {
    Sql("drop table Place_Dane");
    const std::string wynik = Krok(&ClsKonwersje::Konwersja_272);
    EXPECT_EQ(wynik.rfind("process end", 0), 0u) << wynik;
    EXPECT_NE(wynik.find("Select * into [_Place_dane] from [Place_Dane]"), std::string::npos);
}

// The release 1.65 database with the tables that the steps up to 2.71 give 2.72: the
// rebuild carries every table it does not otherwise change with the same columns and
// rows under the upper-cased name.
class Krok272_Baza165 : public KrokiTest {
  protected:
    // Per table (upper-cased name): its columns (name, type, size, counter) and its
    // rows, sorted, every value as text.
    std::map<std::string, Wiersze> Zawartosc() {
        std::map<std::string, Wiersze> z;
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
            Wiersze& w = z[jet::text::upper(t->name)];
            for (const jet::ColumnInfo& c : t->columns)
                w.push_back({c.name, std::to_string(static_cast<int>(c.type)),
                             std::to_string(c.size), c.counter ? "counter" : ""});
            Wiersze wiersze_tabeli = wiersze("select * from [" + t->name + "]");
            std::sort(wiersze_tabeli.begin(), wiersze_tabeli.end());
            w.insert(w.end(), wiersze_tabeli.begin(), wiersze_tabeli.end());
        }
        return z;
    }
};

TEST_F(Krok272_Baza165, RebuildKeepsColumnsAndRowsOfEveryTable) {
    for (const char* t :
         {"create table [Deklaracje] ([Nazwa] TEXT (50), [id] counter)",
          "create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
          "0,iddd counter, pole long, IDListy long)",
          "create table [place_opisy] (pole long,OPIS text(255),SKR text(255),iddd counter)",
          "create table [place_Listy] (IDListy counter,Numer text(50),KosztPr money,ID_Kpir long)",
          "create table [KADRY_PRACOWNICY] (Numer long, DataOD date, pesel text(11), id counter)",
          "create table [KPIR_KSIEGA] (kpir_id COUNTER, kwota_w money)",
          "create table [dok_zak_zawart] (numer_id long)",
          "create table [dok_kfa_zawart] (id long)", "create table [dok_dz] (DDOUT_ID long)",
          "create table [DOK_PRO_ZAWART] (PROD_ID long)",
          "create table [DOK_PRO_ZAWART_SUROWCE] (PROD_ID long, SUR_ID long)",
          "create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo, USERS text(80), STAN "
          "text(80))",
          "alter table PRODUKTY_RECEPTURY add column Countt counter"})
        sql(t);
    auto przed = Zawartosc();
    ASSERT_GT(przed.size(), 40u);
    Krok_Konwersji = 272;
    k.Konwersja_272();
    auto po = Zawartosc();

    // What the step changes on purpose: the payroll and personnel tables, the columns
    // added to products, the purchase rows of the VAT register, a recipe's repeated lines.
    for (const char* t :
         {"PLACE_DANE", "PLACE_OPISY", "PLACE_LISTY", "KADRY_PRACOWNICY", "DOK_ZAK_ZAWART",
          "DOK_KFA_ZAWART", "DOK_DZ", "PRODUKTY", "TABELA_VAT", "PRODUKTY_RECEPTURY"}) {
        przed.erase(t);
        po.erase(t);
    }
    for (const auto& [nazwa, zawartosc] : przed) EXPECT_EQ(po[nazwa], zawartosc) << nazwa;
    EXPECT_EQ(po.size(), przed.size());
    Lista nazwy;
    for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
        if (t->name != jet::text::upper(t->name)) nazwy.push_back(t->name);
    EXPECT_EQ(nazwy, Lista{});
}

}  // namespace
}  // namespace kroki_test
