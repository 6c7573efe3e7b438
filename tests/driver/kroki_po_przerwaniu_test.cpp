// The table of the steps that go on over the earlier tool's half-done work, against its
// proofs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "driver/konwersje.h"

namespace {

// The table names exactly the steps that write nothing and those whose every killed state
// the sweep's report (beside the table) shows ended as the straight run on both roads.
TEST(Kroki_Po_Przerwaniu, AreTheStepsTheirProofsName) {
    std::set<int> bez_zapisow, przebieg, tabela[2];
    for (int v = 166; v <= 646; ++v)
        if (Akcja_Kroku(v).rodzaj == RodzajKroku::Pusty ||
            Akcja_Kroku(v).rodzaj == RodzajKroku::Sygnal)
            bez_zapisow.insert(v);
    std::ifstream raport(KONW_SOURCE_DIR "/src/driver/kroki_po_przerwaniu_dowody.txt");
    ASSERT_TRUE(raport);
    std::map<int, std::set<std::string>> drogi;  // the roads on which every state ended same
    for (std::string l; std::getline(raport, l);) {
        std::istringstream w(l);
        double wersja = 0;
        std::string droga;
        int stany = 0, same = 0;
        if (l.empty() || l[0] == '#' || !(w >> wersja >> droga >> stany >> same)) continue;
        if (stany > 0 && same == stany)
            drogi[static_cast<int>(std::lround(wersja * 100))].insert(droga);
    }
    for (const auto& [krok, d] : drogi)
        if (d == std::set<std::string>{"demo", "rows"}) przebieg.insert(krok);
    for (const Krok_Po_Przerwaniu& k : Kroki_Po_Przerwaniu())
        tabela[k.dowod == Dowod_Kroku::Przebieg].insert(k.krok);
    EXPECT_EQ(tabela[0], bez_zapisow);
    EXPECT_EQ(tabela[1], przebieg);
}

}  // namespace
