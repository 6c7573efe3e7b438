// Steps 2.63 to 2.68 on a database of version 2.62: contractor, cash-report and product
// columns, the per-line copies of the products' accounting flags, and the declarations'
// date built from their year and month.
#include <algorithm>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

constexpr const char* kFlagi =
    "kosztpojazdu_Z, OdliczVAT_Z, Id_Poj, Koszt_RiR_Z, koszt_uz_Z, koszt_sz_Z, "
    "Vat_Termin_Platnosci_Z";

class Kroki263 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.62);
        Sql("create table kontrahenci (KONH_ID long, Podpis text(26))");
        Sql("insert into kontrahenci values (1, 'J. Kowalski')");
        Sql("create table RAPORT_KASOWY (raport_id counter, numer text(30))");
        Sql("create table PRODUKTY (prod_id long, grupa text(50), prod_wl integer, r_licz "
            "integer, nawazka single, sur_id long, kosztpojazdu logical, OdliczVAT logical, "
            "Id_Poj_Domyslny long, Koszt_RiR logical, koszt_sz logical, koszt_uz logical, "
            "Vat_Termin_Platnosci logical)");
        // Product 1 sets every flag, product 2 none; the cost kinds differ so that a
        // swapped pair shows.
        Sql("insert into PRODUKTY values (1, 'Pieczywo', 1, 0, 1, 22, -1, -1, 7, -1, -1, 0, -1)");
        Sql("insert into PRODUKTY values (2, 'Paliwo', 0, 0, 1, null, 0, 0, 0, 0, 0, -1, 0)");
        Sql("create table zakupy_zawart (numer_id long, sur_id long, ID_poj long, auto logical)");
        Sql("insert into zakupy_zawart (numer_id, sur_id) values (1, 1)");
        Sql("insert into zakupy_zawart (numer_id, sur_id) values (1, 2)");
        Sql("insert into zakupy_zawart (numer_id, sur_id) values (2, 99)");  // no such product
        for (const char* t : {"k_faktur_zawart", "dowody_zwrotu_zawart"}) {
            Sql(std::string("create table ") + t + " (ddout_id long, PROD_ID long)");
            Sql(std::string("insert into ") + t + " values (1, 2)");
        }
        Sql("create table DEKLARACJE (id counter, Rok integer, Miesiac integer, KOREKTA logical)");
    }
    // Steps 2.63 to ostatni.
    void Kroki(int ostatni) {
        for (int v = 263; v <= ostatni; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
    static std::vector<std::string> Kolumny(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        dao::TableDef td = baza->TableDefs(tabela);
        std::vector<std::string> k;
        for (int i = 0; i < td.FieldCount(); ++i) k.push_back(td.Fields(i).Name());
        return k;
    }
};

TEST_F(Kroki263, ContractorCashReportAndProductColumns) {
    Kroki(266);
    EXPECT_TRUE(Czyta_Sie("select nr_konta_kasowego from kontrahenci"));
    EXPECT_EQ(Wiersze_Z("select Podpis from kontrahenci"), (Wiersze{{"J. Kowalski"}}));
    {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        EXPECT_EQ(baza->TableDefs("kontrahenci").Fields("Podpis").Size(), 50);
    }
    EXPECT_EQ(Typ_Pola("RAPORT_KASOWY", "SALDO"), dao::dbCurrency);
    EXPECT_TRUE(Czyta_Sie("select OPEN_BY from RAPORT_KASOWY"));
    EXPECT_EQ(Kolumny("PRODUKTY"),
              (std::vector<std::string>{"prod_id", "grupa", "sur_id", "kosztpojazdu", "OdliczVAT",
                                        "Id_Poj_Domyslny", "Koszt_RiR", "koszt_sz", "koszt_uz",
                                        "Vat_Termin_Platnosci", "Grupa_w_zestawieniu",
                                        "Nie_pokazuj_w_zestawieniu"}));
    EXPECT_EQ(Kolumna("select Grupa_w_zestawieniu from PRODUKTY order by prod_id"),
              (std::vector<std::string>{"Pieczywo", "Paliwo"}));
    const auto linie = Kolumny("zakupy_zawart");
    EXPECT_EQ(std::find(linie.begin(), linie.end(), "auto"), linie.end());
    EXPECT_EQ(linie.size(), 9u);  // numer_id, sur_id, ID_poj and six new flags
}

TEST_F(Kroki263, PurchaseLinesCopyTheirProductsFlags) {
    Kroki(265);
    const Wiersze po_265 = {{"True", "True", "7", "True", "False", "True", "True"},
                            {"False", "False", "0", "False", "True", "False", "False"},
                            {"Null", "Null", "Null", "Null", "Null", "Null", "Null"}};
    const std::string linie =
        std::string("select ") + kFlagi + " from zakupy_zawart order by numer_id, sur_id";
    EXPECT_EQ(Wiersze_Z(linie), po_265);
    // A second run gives the same lines.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_265), "");
    EXPECT_EQ(Wiersze_Z(linie), po_265);

    // 2.68 copies the flags as they stand then, and gives them to the correction and
    // return-note lines too.
    Sql("update PRODUKTY set kosztpojazdu=0, Id_Poj_Domyslny=3 where prod_id=1");
    Sql("update PRODUKTY set koszt_sz=-1 where prod_id=2");
    Kroki(268);
    EXPECT_EQ(Wiersze_Z(linie),
              (Wiersze{{"False", "True", "3", "True", "False", "True", "True"},
                       {"False", "False", "0", "False", "True", "True", "False"},
                       {"Null", "Null", "Null", "Null", "Null", "Null", "Null"}}));
    for (const char* t : {"k_faktur_zawart", "dowody_zwrotu_zawart"})
        EXPECT_EQ(Wiersze_Z(std::string("select ") + kFlagi + " from " + t),
                  (Wiersze{{"False", "False", "0", "False", "True", "True", "False"}}))
            << t;
}

TEST_F(Kroki263, DeclarationsGetTheFirstDayOfTheirMonth) {
    Sql("insert into DEKLARACJE (Rok, Miesiac, KOREKTA) values (2001, 3, 0)");
    Sql("insert into DEKLARACJE (Rok, Miesiac, KOREKTA) values (2001, 12, -1)");
    Sql("insert into DEKLARACJE (Rok, Miesiac, KOREKTA) values (2002, 1, 0)");
    Kroki(267);
    EXPECT_EQ(Kolumna("select Data from DEKLARACJE order by id"),
              (std::vector<std::string>{"2001-03-01", "2001-12-01", "2002-01-01"}));
    EXPECT_EQ(Typ_Pola("DEKLARACJE", "Data"), dao::dbDate);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_268), "");
    EXPECT_EQ(Kolumny("DEKLARACJE"), (std::vector<std::string>{"id", "Data"}));
}

TEST_F(Kroki263, NoDeclarationsOnlyAddTheDate) {
    Kroki(267);
    EXPECT_TRUE(Czyta_Sie("select Data from DEKLARACJE"));
    EXPECT_TRUE(Wiersze_Z("select * from DEKLARACJE").empty());
}

// A declaration without its year or month, or with a month outside 1 to 12, keeps no
// date and the step goes on.
TEST_F(Kroki263, ADeclarationWithoutAValidMonthKeepsNoDate) {
    for (const char* wiersz :
         {"(2001, 13)", "(2001, 0)", "(2001, -1)", "(null, 3)", "(2001, null)"}) {
        Sql("delete from DEKLARACJE");
        Sql(std::string("insert into DEKLARACJE (Rok, Miesiac) values ") + wiersz);
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_267), "") << wiersz;
        EXPECT_EQ(Kolumna("select Data from DEKLARACJE"), (std::vector<std::string>{"Null"}));
    }
}

}  // namespace
}  // namespace kroki_test
