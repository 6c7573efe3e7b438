// Steps 4.80 and 4.84 on a database of version 4.79: ledger-book entries numbered within
// their kind across years, the old kind text turned into the internal number, and the
// main book's sequence numbers; payroll components back-filled.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki480 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.79);
        Sql("create table Kontrahenci (konh_id long, Act_Nal bit, Act_Zob bit, Act_Kas bit, "
            "Act_Ban bit)");
        Sql("create table DOK_PAR (ddout_id long, KasaFis bit, Sklepowy bit)");
        Sql("create table KH_KSIEGA (kpir_id counter, Data_K datetime, rodzaj long, rodzajdok "
            "text(20), numer text(20), Glowna bit)");
        Sql("create table PLACE_LISTY_ZAWART (IDP long, wartosc19 money, wartosc151 money, "
            "wartosc87 money, wartosc156 money, wartosc88 money, wartosc154 money)");
    }
};

TEST_F(Kroki480, BookNumbersByKindThenMainBookSequence) {
    const std::vector<std::string> wpisy = {
        "#3/1/2005#, 20, 'A', '5', -1",     "#12/31/2004#, 20, 'A', '10', -1",
        "#12/31/2004#, 20, 'A', '9', 0",    "Null, 20, 'A', '1', -1",
        "#1/10/2005#, 0, '', '7', -1",      "#1/10/2005#, 100, 'X', '', 0",
        "#12/31/2004#, 20, 'A', '9', Null", "#1/10/2005#, -1, 'Y', '3', 0",
    };
    for (const std::string& w : wpisy)
        Sql("insert into KH_KSIEGA (Data_K, rodzaj, rodzajdok, numer, Glowna) values (" + w + ")");
    Sql("insert into PLACE_LISTY_ZAWART values (1, 5, 0, 6, 2, 7, Null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_480), "");
    // Kind 20 runs across the years, the undated entry first, equal entries by id.
    EXPECT_EQ(Wiersze_Z("select Numer_W_KH, Numer_Wew, numer from KH_KSIEGA order by kpir_id"),
              (Wiersze{{"5/SV/2005", "A", "5"},
                       {"4/SV/2004", "A", "10"},
                       {"2/SV/2004", "A", "9"},
                       {"1/SV/", "A", "1"},
                       {"1/WW/2005", "7", "7"},
                       {"", "X", "X"},
                       {"3/SV/2004", "A", "9"},
                       {"", "Y", "3"}}));
    EXPECT_EQ(Typ_Pola("KH_KSIEGA", "Numer_Wew"), dao::dbText);
    EXPECT_FALSE(Czyta_Sie("select rodzajdok from KH_KSIEGA"));

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_484), "");
    EXPECT_EQ(Kolumna("select NP from KH_KSIEGA order by kpir_id"),
              (std::vector<std::string>{"4", "2", "0", "1", "3", "0", "0", "0"}));
    EXPECT_EQ(Wiersze_Z("select wartosc151, wartosc156, wartosc154 from PLACE_LISTY_ZAWART"),
              (Wiersze{{"5", "2", "7"}}));
    // A second run renumbers the same way.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_484), "");
    EXPECT_EQ(Kolumna("select NP from KH_KSIEGA order by kpir_id"),
              (std::vector<std::string>{"4", "2", "0", "1", "3", "0", "0", "0"}));
}

}  // namespace
}  // namespace kroki_test
