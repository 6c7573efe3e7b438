// Step 3.60: the schema-wide index rebuild.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "baza_kroku.h"
#include "jet/catalog.h"

namespace kroki_test {
namespace {

// The indexes of a table, sorted by name, each as its name, "P" primary, "U" unique or
// "-" plain, and its columns.
std::vector<std::string> Indeksy(const std::string& t) {
    const jet::TableInfo* info = polaczenie().database().catalog().table(t);
    std::vector<std::string> w;
    if (!info) return w;
    for (const jet::IndexInfo& i : info->indexes) {
        std::string s = i.name + (i.primary ? " P" : i.unique ? " U" : " -");
        for (const auto& c : i.columns) s += " " + info->column_by_id(c.column_id)->name;
        w.push_back(s);
    }
    std::sort(w.begin(), w.end());
    return w;
}

class Krok360Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.57);
        Sql("create table KADRY_WARUNKI (ID_prac long, ID_Umowy long)");
        Sql("insert into KADRY_WARUNKI values (1, 1)");
        Sql("create table KONTRAHENCI (KONH_ID long, KONH_NAZ_skrot text(20), LCEN_NAZWA_ID "
            "text(20), prod_nazwa_id text(80))");
        Sql("create index indKONH_NAZ_skrot on KONTRAHENCI (KONH_NAZ_skrot)");
        Sql("create index indKONH_ID on KONTRAHENCI (KONH_ID)");
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30), FAKOUT_ZBIORCZA "
            "logical, FAKOUT_NR_DD memo, FAKOUT_DATA_WYST date, konh_id long, zam_id long, "
            "smz_id long, num_ndok long, FAKOUT_WART_N currency)");
        Sql("create table DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_CENA_N currency)");
        Sql("create table STANY_MAGAZYNOWE (prod_id long, NR_MAG long, ilosc single, stan "
            "single)");
        Sql("create table SETUP (Nazwa text(50), Users text(50), Stan text(50), Wartosc "
            "text(50))");
        Sql("create table [_Pomoc] (id long, opis text(20))");
        for (const char* w : {"1, 'A', 'C1', 'Chleb'", "2, 'B', 'C1', Null"})
            Sql(std::string("insert into KONTRAHENCI values (") + w + ")");
        Sql("insert into DOK_FAK (FAKOUT_ID, FAKOUT_NUMER, konh_id, zam_id) values (1, '1/F', 1, "
            "0)");
        Sql("insert into DOK_FAK (FAKOUT_ID, FAKOUT_NUMER, konh_id, zam_id) values (2, '2/F', 1, "
            "0)");
        for (const char* w :
             {"0, 1, 0, 0", "0, 2, 0, 0", "Null, 3, 0, 0", "1, 1, 5, 5", "2, 1, 6, 6"})
            Sql(std::string("insert into STANY_MAGAZYNOWE values (") + w + ")");
        Sql("insert into SETUP values ('A', 'x', '1', 'v')");
    }
};

TEST_F(Krok360Test, RebuildsKeysAndColumnIndexes) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_360), "");

    EXPECT_EQ(Kolumna("select Inne_war from KADRY_WARUNKI"), (std::vector<std::string>{""}));
    // Columns named as ids, numbers, names, dates or codes, and Yes/No columns, get a
    // plain index; the old one on the short name is gone.
    EXPECT_EQ(Indeksy("KONTRAHENCI"),
              (std::vector<std::string>{"Cennik U KONH_NAZ_skrot LCEN_NAZWA_ID KONH_ID",
                                        "Podstawowy P KONH_ID", "indKONH_ID - KONH_ID",
                                        "indLCEN_NAZWA_ID - LCEN_NAZWA_ID",
                                        "indprod_nazwa_id - prod_nazwa_id"}));
    EXPECT_EQ(Indeksy("DOK_FAK"),
              (std::vector<std::string>{
                  "CzyZbiorcza U FAKOUT_ZBIORCZA konh_id FAKOUT_ID",
                  "DONumeru U smz_id FAKOUT_DATA_WYST num_ndok FAKOUT_ID",
                  "DoZamowien U konh_id zam_id FAKOUT_ID",
                  "DoZamowien2 U FAKOUT_DATA_WYST konh_id FAKOUT_ID", "Podstawowy P FAKOUT_ID",
                  "UnicNumer U FAKOUT_NUMER", "indFAKOUT_DATA_WYST - FAKOUT_DATA_WYST",
                  "indFAKOUT_ID - FAKOUT_ID", "indFAKOUT_NR_DD - FAKOUT_NR_DD",
                  "indFAKOUT_NUMER - FAKOUT_NUMER", "indFAKOUT_ZBIORCZA - FAKOUT_ZBIORCZA",
                  "indkonh_id - konh_id", "indsmz_id - smz_id", "indzam_id - zam_id"}));
    EXPECT_EQ(Indeksy("DOK_FAK_ZAWART"),
              (std::vector<std::string>{"Podstawowy P FAKOUT_ID PROD_ID ZFAKOUT_CENA_N",
                                        "indFAKOUT_ID - FAKOUT_ID", "indPROD_ID - PROD_ID"}));
    // Tables beginning with "_" are passed over like any other.
    EXPECT_EQ(Indeksy("_Pomoc"), (std::vector<std::string>{"indid - id"}));
    // The stock rows of product 0 or none go; the key is a unique index on the product alone.
    EXPECT_EQ(Kolumna("select prod_id from STANY_MAGAZYNOWE order by prod_id"),
              (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Indeksy("STANY_MAGAZYNOWE"),
              (std::vector<std::string>{"Nr_mag U NR_MAG prod_id", "Podstawowy U prod_id",
                                        "ilosc U ilosc prod_id", "indNR_MAG - NR_MAG",
                                        "indprod_id - prod_id", "stan U stan prod_id"}));
    EXPECT_EQ(Indeksy("SETUP"),
              (std::vector<std::string>{"Podstawowy P Nazwa Users Stan", "indNazwa - Nazwa"}));

    // Run again from its start, the same indexes result.
    const auto przed = Indeksy("DOK_FAK");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_360), "");
    EXPECT_EQ(Indeksy("DOK_FAK"), przed);
}

// Rows that a key cannot take stop the step, naming the table, the key and a row.
TEST_F(Krok360Test, DuplicateKeysStopTheStepNamingARow) {
    Sql("update KONTRAHENCI set KONH_ID=1");
    const std::string r = Krok(&ClsKonwersje::Konwersja_360);
    EXPECT_NE(r.find("Table and key: KONTRAHENCI (KONH_ID).). Wiersze: KONH_ID = 1 (2 wiersze). "
                     "Klucza"),
              std::string::npos)
        << r;
}

// Correction lines of one product and price at two VAT rates stay two lines, for the key
// with the rate.
TEST_F(Krok360Test, CorrectionLinesAtTwoVatRatesStayApart) {
    Sql("create table DOK_KZA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N currency, "
        "CENA_ORG currency, ZFKOROUT_VAT text(4), ZFKOROUT_ILOSC single)");
    for (const char* w : {"1, 5, 2, Null, '22', 1", "1, 5, 2, 0, '7', 3"})
        Sql(std::string("insert into DOK_KZA_ZAWART values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_360), "");
    EXPECT_EQ(Kolumna("select ZFKOROUT_VAT from DOK_KZA_ZAWART order by ZFKOROUT_VAT"),
              (std::vector<std::string>{"22", "7"}));
}

}  // namespace
}  // namespace kroki_test
