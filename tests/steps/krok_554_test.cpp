// Step 5.54: the fixed-asset classification table, its rows and the assets' symbol.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

// The rows of S_KRST after the step, in iddd order: iddd, symbol, name and both rates,
// read back in the decimal-comma form of the regional settings.
const Wiersze kWierszeKRST = {
    {"1", "0", "GRUNTY I MELIORACJE SZCZEGÓŁOWE", "0", "0"},
    {"2", "00", "Grunty", "0", "0"},
    {"3", "004", "Grunty pod urządzeniami komunikacji", "1", "2"},
    {"4", "1", "BUDYNKI", "2,5", "2,5"},
    {"5", "16", "Budynki mieszkalne", "1,5", "1,5"},
    {"6", "2", "BUDOWLE", "4", "4"},
    {"7", "250-5", "Doki stałe", "4", "4"},
    {"8", "3", "KOTŁY I MASZYNY ENERGETYCZNE", "5", "6"},
    {"9", "4", "MASZYNY,URZĄDZENIA I APARATY OGÓLNEGO ZASTOSOWANIA", "8,5", "10"},
    {"10", "434-01", "Zamykarki do słoi", "20", "20"},
    {"11", "491", "Zespoły komputerowe", "30", "30"},
    {"12", "5", "MASZYNY I URZĄDZENIA SPECJALNE - BRANŻOWE", "0", "0"},
    {"13", "581-2", "Wibratory i wibromłoty", "50", "50"},
    {"14", "6", "URZĄDZENIA TECHNICZNE", "8,5", "10"},
    {"15", "629", "Telefony komórkowe", "15", "20"},
    {"16", "669", "Kasy fiskalne i rejestrujące", "15", "20"},
    {"17", "7", "ŚRODKI TRANSPORTOWE", "6", "7"},
    {"18", "8", "NARZĘDZIA, PRZYRZĄDY, RUCHOMOŚCI, WYPOSAŻENIE", "17", "20"},
    {"19", "999", "Pozostałe środki trwałe oraz wartości niematerialne i prawne", "0", "0"},
};

class Krok554 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.53); }
    void Sprawdz_Tabele() {
        EXPECT_EQ(
            Wiersze_Z("select iddd, SYMBOL_KRST, NAZWA, proc1, proc2 from S_KRST order by iddd"),
            kWierszeKRST);
        // The rates are stored as numbers, not as the texts the statements carried.
        EXPECT_EQ(Wiersze_Z("select SYMBOL_KRST from S_KRST where proc1 in (1.5, 2.5, 8.5) "
                            "and proc2 in (1.5, 2.5, 10) order by iddd"),
                  (Wiersze{{"1"}, {"16"}, {"4"}, {"6"}}));
        const std::vector<dao::Index> klucze =
            dao::DBEngine::OpenDatabase(polaczenie().Properties(7))->TableDefs("S_KRST").Indexes();
        ASSERT_EQ(klucze.size(), 1u);
        EXPECT_EQ(klucze[0].Name, "Podstawowy");
        EXPECT_TRUE(klucze[0].Primary);
        EXPECT_EQ(klucze[0].Fields, std::vector<std::string>{"SYMBOL_KRST"});
        EXPECT_EQ(Kolumna("select SYMBOL_KRST from SRODKI_TRWALE order by id"),
                  (std::vector<std::string>{"", ""}));
    }
};

// A second run over a finished table adds nothing and makes the key again.
TEST_F(Krok554, TableAssetsAndRerun) {
    struct Przypadek {
        const char* nazwa;
        int przebiegi;
    };
    for (const Przypadek& c : {Przypadek{"once", 1}, Przypadek{"twice", 2}}) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        Sql("create table SRODKI_TRWALE (id long, nazwa text(40))");
        Sql("insert into SRODKI_TRWALE values (1, 'Piec')");
        Sql("insert into SRODKI_TRWALE values (2, 'Dzielarka')");
        for (int i = 0; i < c.przebiegi; ++i) ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_554), "");
        Sprawdz_Tabele();
        EXPECT_EQ(komunikaty.str(), "");
    }
}

// A run stopped after any of its inserts leaves the rows before it; the rerun adds the
// rest in order and the key holds.
TEST_F(Krok554, RunStoppedInsideTheStepIsCompletedWithoutDuplicates) {
    for (size_t wstawione : {size_t{0}, size_t{1}, size_t{10}, kWierszeKRST.size() - 1}) {
        SCOPED_TRACE(wstawione);
        TearDown();
        SetUp();
        Sql("create table SRODKI_TRWALE (id long)");
        for (int id : {1, 2}) Sql("insert into SRODKI_TRWALE values (" + std::to_string(id) + ")");
        Sql("Create table [S_KRST] (iddd int identity,SYMBOL_KRST Text (12),NAZWA Text "
            "(120),proc1 Single DEFAULT 0,proc2 Single DEFAULT 0 )");
        for (size_t i = 0; i < wstawione; ++i) {
            const std::vector<std::string>& w = kWierszeKRST[i];
            Sql("insert into S_KRST (SYMBOL_KRST,NAZWA,proc1,proc2) values ('" + w[1] + "','" +
                w[2] + "','" + w[3] + "','" + w[4] + "')");
        }
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_554), "");
        Sprawdz_Tabele();
    }
}

TEST_F(Krok554, AssetTableWithoutRowsStillGetsTheColumn) {
    Sql("create table SRODKI_TRWALE (id long)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_554), "");
    EXPECT_TRUE(Czyta_Sie("select SYMBOL_KRST from SRODKI_TRWALE"));
    EXPECT_EQ(Wiersze_Z("select count(*) from S_KRST"), (Wiersze{{"19"}}));
}

}  // namespace
}  // namespace kroki_test
