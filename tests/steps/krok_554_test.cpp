// Step 5.54: the fixed-asset classification table, its data and the assets' symbol.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "jet/text.h"
#include "steps/500_646/klasyfikacja_krst.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using kroki::kKlasyfikacjaKRST;
using kroki::Pozycja_KRST;

// 0 group, 1 subgroup, 2 kind, 3 sub-kind.
int Poziom(const std::string& s) {
    return s.find('-') != std::string::npos ? 3 : int(s.size()) - 1;
}

double Stawka(const std::string& s) {
    std::string t = s;
    std::replace(t.begin(), t.end(), ',', '.');
    return std::stod(t);
}

const Pozycja_KRST* Znajdz(const std::string& symbol) {
    for (const Pozycja_KRST& p : kKlasyfikacjaKRST)
        if (symbol == p.symbol) return &p;
    return nullptr;
}

TEST(KlasyfikacjaKRST, CountsPerGroupAndLevel) {
    std::map<char, std::vector<int>> liczby;
    for (const Pozycja_KRST& p : kKlasyfikacjaKRST) {
        auto& v = liczby[p.symbol[0]];
        v.resize(4);
        ++v[Poziom(p.symbol)];
    }
    const std::map<char, std::vector<int>> oczekiwane = {
        {'0', {1, 2, 9, 0}},    {'1', {1, 10, 92, 0}},  {'2', {1, 10, 67, 3}}, {'3', {1, 5, 37, 0}},
        {'4', {1, 10, 73, 14}}, {'5', {1, 10, 89, 24}}, {'6', {1, 8, 53, 5}},  {'7', {1, 9, 49, 0}},
        {'8', {1, 1, 8, 2}},    {'9', {0, 0, 1, 0}}};
    EXPECT_EQ(liczby, oczekiwane);
}

TEST(KlasyfikacjaKRST, OrderParentsSubgroupsSubKindsAndNames) {
    std::set<std::string> symbole, podgrupy;
    std::vector<std::string> podrodzaje;
    std::map<std::string, int> nazwy;
    std::string poprzedni;
    size_t najdluzsza = 0;
    std::string symbol_najdluzszej;
    for (const Pozycja_KRST& p : kKlasyfikacjaKRST) {
        const std::string s = p.symbol;
        EXPECT_LT(poprzedni, s) << s;
        poprzedni = s;
        symbole.insert(s);
        if (Poziom(s) == 1) podgrupy.insert(s);
        if (Poziom(s) == 3) podrodzaje.push_back(s);
        ++nazwy[p.nazwa];
        const size_t dl = jet::text::length(p.nazwa);
        if (dl > najdluzsza) najdluzsza = dl, symbol_najdluzszej = s;
        EXPECT_EQ(std::string(p.nazwa).find('\''), std::string::npos) << s;
        EXPECT_LE(s.size(), 6u) << s;
    }
    for (const std::string& s : symbole) {
        if (s == "999") continue;
        EXPECT_TRUE(symbole.count(s.substr(0, 1))) << s;
        if (Poziom(s) >= 2) {
            EXPECT_TRUE(symbole.count(s.substr(0, 2))) << s;
        }
        if (Poziom(s) == 3) {
            EXPECT_TRUE(symbole.count(s.substr(0, 3))) << s;
        }
    }
    // 00, 01, 10 to 19, 20 to 29, 30 to 34, 40 to 49, 50 to 59, 60 to 66, 68, 70 to 78, 80.
    std::set<std::string> oczekiwane_podgrupy = {"00", "01", "68", "80"};
    for (const auto& [od, do_] : std::vector<std::pair<int, int>>{
             {10, 19}, {20, 29}, {30, 34}, {40, 49}, {50, 59}, {60, 66}, {70, 78}})
        for (int n = od; n <= do_; ++n) oczekiwane_podgrupy.insert(std::to_string(n));
    EXPECT_EQ(podgrupy, oczekiwane_podgrupy);
    EXPECT_EQ(podrodzaje,
              (std::vector<std::string>{
                  "250-5",  "251-3",  "255-5",  "431-0",  "431-4", "434-01", "434-02", "449-90",
                  "450-50", "451-0",  "454-2",  "469-0",  "479-0", "484-0",  "484-1",  "484-3",
                  "484-6",  "501-1",  "501-2",  "502-3",  "505-1", "506-1",  "507-2",  "507-4",
                  "518-01", "518-02", "518-03", "518-1",  "524-4", "525-31", "529-8",  "535-0",
                  "535-1",  "535-7",  "548-0",  "561-6",  "568-4", "571-30", "571-8",  "581-2",
                  "582-3",  "623-7",  "641-7",  "644-04", "662-1", "662-5",  "801-0",  "802-0"}));
    for (const auto& [nazwa, ile] : nazwy)
        EXPECT_EQ(ile, nazwa == "Zbiorniki naziemne" ? 2 : 1) << nazwa;
    EXPECT_EQ(najdluzsza, 96u);
    EXPECT_EQ(symbol_najdluzszej, "536");
}

TEST(KlasyfikacjaKRST, RatesAndTellingRows) {
    const std::set<double> dozwolone = {0,  1,    1.5, 2,  2.5, 4,  5,  6,  7, 8.5,
                                        10, 12.5, 14,  15, 17,  20, 25, 30, 50};
    std::set<double> wystepujace;
    std::set<std::string> zerowe;
    int rowne = 0;
    for (const Pozycja_KRST& p : kKlasyfikacjaKRST) {
        const double a = Stawka(p.proc1), b = Stawka(p.proc2);
        EXPECT_TRUE(dozwolone.count(a) && dozwolone.count(b)) << p.symbol;
        EXPECT_LE(a, b) << p.symbol;
        wystepujace.insert(a);
        wystepujace.insert(b);
        rowne += a == b;
        if (a == 0 && b == 0) zerowe.insert(p.symbol);
        EXPECT_EQ(a == 0, b == 0) << p.symbol;
    }
    EXPECT_EQ(wystepujace, dozwolone);
    EXPECT_EQ(rowne, 217);
    EXPECT_EQ(zerowe, (std::set<std::string>{"0", "5", "00", "001", "002", "003", "007", "999"}));

    const std::vector<std::vector<std::string>> wiersze = {
        {"0", "GRUNTY I MELIORACJE SZCZEGÓŁOWE", "0", "0"},
        {"1", "BUDYNKI", "2,5", "2,5"},
        {"2", "BUDOWLE", "4", "4"},
        {"3", "KOTŁY I MASZYNY ENERGETYCZNE", "5", "6"},
        {"4", "MASZYNY,URZĄDZENIA I APARATY OGÓLNEGO ZASTOSOWANIA", "8,5", "10"},
        {"5", "MASZYNY I URZĄDZENIA SPECJALNE - BRANŻOWE", "0", "0"},
        {"6", "URZĄDZENIA TECHNICZNE", "8,5", "10"},
        {"7", "ŚRODKI TRANSPORTOWE", "6", "7"},
        {"8", "NARZĘDZIA, PRZYRZĄDY, RUCHOMOŚCI, WYPOSAŻENIE", "17", "20"},
        {"00", "Grunty", "0", "0"},
        {"01", "Melioracje szczegółowe", "2,5", "2,5"},
        {"004", "Grunty pod urządzeniami komunikacji", "1", "2"},
        {"16", "Budynki mieszkalne", "1,5", "1,5"},
        {"60", "Zbiorniki naziemne", "8,5", "10"},
        {"250-5", "Doki stałe", "4", "4"},
        {"434-01", "Zamykarki do słoi", "20", "20"},
        {"491", "Zespoły komputerowe", "30", "30"},
        {"581-2", "Wibratory i wibromłoty", "50", "50"},
        {"629", "Telefony komórkowe", "15", "20"},
        {"669", "Kasy fiskalne i rejestrujące", "15", "20"},
        {"808", "Inne przyrządy, ruchomości i wypos. techniczne", "17", "20"},
        {"999", "Pozostałe środki trwałe oraz wartości niematerialne i prawne", "0", "0"}};
    for (const auto& w : wiersze) {
        const Pozycja_KRST* p = Znajdz(w[0]);
        ASSERT_NE(p, nullptr) << w[0];
        EXPECT_EQ((std::vector<std::string>{p->symbol, p->nazwa, p->proc1, p->proc2}), w);
    }
    EXPECT_EQ(std::string(Znajdz("205")->nazwa), "Zbiorniki naziemne");
}

class Krok554 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.53); }
    void Sprawdz_Tabele() {
        // Stored rates read back in the decimal-comma form the statements carried them.
        const Wiersze w =
            Wiersze_Z("select iddd, SYMBOL_KRST, NAZWA, proc1, proc2 from S_KRST order by iddd");
        ASSERT_EQ(w.size(), kKlasyfikacjaKRST.size());
        for (size_t i = 0; i < w.size(); ++i) {
            const Pozycja_KRST& p = kKlasyfikacjaKRST[i];
            EXPECT_EQ(w[i], (std::vector<std::string>{std::to_string(i + 1), p.symbol, p.nazwa,
                                                      p.proc1, p.proc2}));
        }
        EXPECT_EQ(Wiersze_Z("select count(*) from S_KRST where proc1=2.5 and proc2=2.5 and "
                            "SYMBOL_KRST in ('1','01')"),
                  (Wiersze{{"2"}}));
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

TEST_F(Krok554, RunStoppedInsideTheStepIsCompletedWithoutDuplicates) {
    Sql("create table SRODKI_TRWALE (id long)");
    for (int id : {1, 2}) Sql("insert into SRODKI_TRWALE values (" + std::to_string(id) + ")");
    Sql("Create table [S_KRST] (iddd int identity,SYMBOL_KRST Text (12),NAZWA Text (120),proc1 "
        "Single DEFAULT 0,proc2 Single DEFAULT 0 )");
    for (size_t i = 0; i < 10; ++i) {
        const Pozycja_KRST& p = kKlasyfikacjaKRST[i];
        Sql(std::string("insert into S_KRST (SYMBOL_KRST,NAZWA,proc1,proc2) values ('") + p.symbol +
            "','" + p.nazwa + "','" + p.proc1 + "','" + p.proc2 + "')");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_554), "");
    Sprawdz_Tabele();
}

TEST_F(Krok554, AssetTableWithoutRowsStillGetsTheColumn) {
    Sql("create table SRODKI_TRWALE (id long)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_554), "");
    EXPECT_TRUE(Czyta_Sie("select SYMBOL_KRST from SRODKI_TRWALE"));
    EXPECT_EQ(Wiersze_Z("select count(*) from S_KRST"), (Wiersze{{"600"}}));
}

}  // namespace
}  // namespace kroki_test
