// Steps 3.21 and 3.22 on a database of version 3.20: breakdowns of tabela_vat repaired to
// their documents' totals, then moved into the bucket columns of the document tables.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

constexpr const char* kKubelki = "n7, n22, n0, nzw, n3, vat7, vat22, vat3";

class Kroki321 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.20);
        Sql("create table tabela_vat (Countt counter, r_dok text(50), id long, n22 money, n7 "
            "money, n3 money, n0 money, nZW money, vat22 money, vat7 money, vat3 money)");
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_DATA_WYST date, FAKOUT_WART_N money, "
            "FAKOUT_WART_VAT money)");
        Sql("create table DOK_PAR (DDOUT_ID long, DDOUT_DATA_WYST date, DDOUT_WART_N money, "
            "DDOUT_wart_VAT money)");
        Sql("create table DOK_KFA (FKOROUT_ID long, FKOROUT_DATA_WYST date, fkorout_wart_n "
            "money, fkorout_wart_vat money)");
    }
    // A document of the table with its totals and its breakdown (values in the order
    // n7, n22, n0, nzw, n3, vat7, vat22, vat3).
    static void Dokument(const std::string& tabela, const std::string& rodzaj, int id,
                         const std::string& netto, const std::string& vat,
                         const std::string& kubelki) {
        Sql("insert into " + tabela + " values (" + std::to_string(id) + ", #3/1/2002#, " + netto +
            ", " + vat + ")");
        Sql(std::string("insert into tabela_vat (r_dok, id, ") + kKubelki + ") values ('" + rodzaj +
            "', " + std::to_string(id) + ", " + kubelki + ")");
    }
    static Wiersze Kubelki(const std::string& rodzaj) {
        return Wiersze_Z(std::string("select ") + kKubelki + " from tabela_vat where r_dok='" +
                         rodzaj + "' order by id");
    }
};

TEST_F(Kroki321, InvoicesAndReceiptsTakeTheDifferenceInTheLargestBucket) {
    for (const auto& [t, r] :
         {std::pair{"DOK_FAK", "sprzedaż_f_vat"}, std::pair{"DOK_PAR", "paragon"}}) {
        Dokument(t, r, 1, "100", "13.2", "39.99, 60, 0, 0, 0, 2.8, 10.4, 0");
        // A tie goes to n7, the first bucket.
        Dokument(t, r, 2, "100.02", "14.5", "50, 50, 0, 0, 0, 3.5, 11, 0");
        // The net agrees, the tax does not: only the tax is repaired.
        Dokument(t, r, 3, "100", "14.5", "0, 100, 0, 0, 0, 0, 22, 0");
        // Less than half a grosz: selected, rounded to 0.00, nothing changes.
        Dokument(t, r, 4, "10.005", "0", "10.0001, 0, 0, 0, 0, 0, 0, 0");
        // Buckets not given count as 0: the first of the tie takes the difference.
        Dokument(t, r, 5, "10", "1", "null, null, 0, 0, 0, 0, 0.5, 0");
        // Agrees: not touched.
        Dokument(t, r, 6, "7", "0.49", "7, 0, 0, 0, 0, 0.49, 0, 0");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_321), "");
    const Wiersze oczekiwane = {{"39,99", "60,01", "0", "0", "0", "2,8", "10,4", "0"},
                                {"50,02", "50", "0", "0", "0", "3,5", "11", "0"},
                                {"0", "100", "0", "0", "0", "0", "14,5", "0"},
                                {"10,0001", "0", "0", "0", "0", "0", "0", "0"},
                                {"10", "Null", "0", "0", "0", "0", "1", "0"},
                                {"7", "0", "0", "0", "0", "0,49", "0", "0"}};
    EXPECT_EQ(Kubelki("paragon"), oczekiwane);
    EXPECT_EQ(Kubelki("sprzedaż_f_vat"), oczekiwane);
}

TEST_F(Kroki321, CorrectionsBelowZeroTakeTheSmallestBucket) {
    const char* r = "sprzedaż_f_vat_korekta";
    Dokument("DOK_KFA", r, 1, "-50", "-6.5", "-29.99, -20, 0, 0, 0, -2.1, -4.4, 0");
    Dokument("DOK_KFA", r, 2, "50", "6.5", "29.99, 20, 0, 0, 0, 2.1, 4.4, 0");
    // Net 0: the smallest bucket also for the tax.
    Dokument("DOK_KFA", r, 3, "0", "-1", "0, 0, 0, 0, 0, 0, 0, 0");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_321), "");
    EXPECT_EQ(Kubelki(r), (Wiersze{{"-30", "-20", "0", "0", "0", "-2,1", "-4,4", "0"},
                                   {"30", "20", "0", "0", "0", "2,1", "4,4", "0"},
                                   {"0", "0", "0", "0", "0", "-1", "0", "0"}}));
    // Again: nothing differs any more.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_321), "");
    EXPECT_EQ(Kubelki(r).at(0).at(0), "-30");
}

// The eleven document tables with their kinds and id columns.
const std::vector<std::vector<std::string>> kDokumenty = {
    {"DOK_DD", "sprzedaż_ddost", "ddout_id"},
    {"DOK_DZ", "sprzedaż_zwroty", "ddout_id"},
    {"DOK_FAK", "sprzedaż_f_vat", "FAKOUT_ID"},
    {"DOK_KFA", "sprzedaż_f_vat_korekta", "FKOROUT_ID"},
    {"DOK_KZA", "zakupy_korekta", "FKOROUT_ID"},
    {"DOK_PAR", "paragon", "ddout_id"},
    {"DOK_PW", "magazyn_pw", "ddout_id"},
    {"DOK_PZ", "zakup_zwroty", "ddout_id"},
    {"DOK_RW", "sprzedaż_detal", "ddout_id"},
    {"DOK_WZ", "zakup_ddost", "ddout_id"},
    {"DOK_ZAK", "zakupy", "numer_id"}};

class Kroki322 : public Kroki321 {
  protected:
    void SetUp() override {
        Otworz(3.21);
        Sql("create table tabela_vat (Countt counter, r_dok text(50), id long, n22 money, n7 "
            "money, n3 money, n0 money, nZW money, vat22 money, vat7 money, vat3 money)");
        int n = 0;
        for (const auto& d : kDokumenty) {
            Sql("create table " + d[0] + " (" + d[2] + " long)");
            Sql("insert into " + d[0] + " values (1)");
            Sql("insert into " + d[0] + " values (2)");
            ++n;
            // Document 1 has a breakdown of its kind; document 2 one of another kind.
            Sql("insert into tabela_vat (r_dok, id, n22, vat22, n7, vat7, n3, vat3, n0, nZW) "
                "values ('" +
                d[1] + "', 1, " + std::to_string(n) + ", 2.2, 3, 0.21, 4, 0.12, 5, 6)");
            Sql("insert into tabela_vat (r_dok, id, n22) values ('obcy', 2, 1)");
        }
        Sql("create table S_JEDNOSTKI (JED_NAZWA_ID text(25), JED_WAGAwKG single)");
        for (const char* w : {"'szt', 0.25", "'kg', 0", "'opak', -1", "'tona', null"})
            Sql(std::string("insert into S_JEDNOSTKI values (") + w + ")");
        Sql("create table Produkty (prod_id long, prod_jed text(25))");
        Sql("insert into Produkty values (10, 'kg')");
        Sql("create table PRODUKTY_RECEPTURY (prod_id long, Sur_id long)");
        Sql("insert into PRODUKTY_RECEPTURY values (1, 10)");
        Sql("insert into PRODUKTY_RECEPTURY values (1, 11)");
        Sql("create table SRODKI_TRWALE (ST_ID long)");  // gets Wyposazenie
    }
};

TEST_F(Kroki322, BreakdownMovesIntoEveryDocumentTable) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_322), "");
    EXPECT_FALSE(Jest_Tabela("tabela_vat"));
    int n = 0;
    for (const auto& d : kDokumenty) {
        ++n;
        EXPECT_EQ(Wiersze_Z("select n22, vat22, n7, vat7, n3, vat3, n0, nZW from " + d[0] +
                            " order by " + d[2]),
                  (Wiersze{{std::to_string(n), "2,2", "3", "0,21", "4", "0,12", "5", "6"},
                           {"Null", "Null", "Null", "Null", "Null", "Null", "Null", "Null"}}))
            << d[0];
    }
    EXPECT_EQ(Wiersze_Z("select Do_Jednostki, JED_WAGAwKG from S_JEDNOSTKI order by "
                        "JED_NAZWA_ID"),
              (Wiersze{{"kg", "1"}, {"opak", "1"}, {"szt", "0,25"}, {"tona", "1"}}));
    EXPECT_EQ(Kolumna("select Jednostka_Receptury from PRODUKTY_RECEPTURY order by Sur_id"),
              (Lista{"kg", "Null"}));
}

TEST_F(Kroki322, TwoRegisterRowsOfOneDocumentStopTheStepNamingThem) {
    Sql("insert into tabela_vat (r_dok, id, n22) values ('zakupy', 1, 7)");
    const std::string wynik = Krok(&ClsKonwersje::Konwersja_322);
    EXPECT_NE(wynik.find("Tabela tabela_vat ma powtórzony klucz id = 1"), std::string::npos)
        << wynik;
    EXPECT_TRUE(Jest_Tabela("tabela_vat"));
}

TEST_F(Kroki322, RunsAgainAfterStoppingBeforeTheDrop) {
    // A first run that stopped after the columns of DOK_DD: the second one completes.
    Sql("alter table DOK_DD add column n22 currency");
    Sql("alter table DOK_DD add column vat22 currency");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_322), "");
    EXPECT_EQ(Kolumna("select n22 from DOK_DD order by ddout_id"), (Lista{"1", "Null"}));
}

}  // namespace
}  // namespace kroki_test
