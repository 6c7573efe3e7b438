// Step 3.60, the schema-wide index rebuild, on the large test database (about a million
// document lines) brought through the steps built before it; a fresh copy for each
// iteration, the step run once over it, timed. Tables of releases whose steps are not
// there are missing, so their keys are skipped as the step skips any index it cannot
// build; the two passes over every column of every table and the indexes on the large
// document tables are the cost measured.
//
//   bench/krok_360_bench --benchmark_counters_tabular=true   (a few minutes of set-up)
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "baza.h"
#include "kroki_bench.h"

namespace {

using kroki_bench::Folder;

// The large database of release 1.65 brought through every built step before 3.57 (a
// few minutes), with the contract terms table that step 3.57 makes.
const std::string& Wzor() {
    static const std::string path = [] {
        const std::string p = (Folder("krok360_bench") / "wzor.mdb").string();
        baza::zbuduj_baze_165(p, baza::Opcje{.large = true});
        setenv("ORVIK_REGISTRY", (Folder("krok360_bench") / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        platform::set_scripted_answers(std::vector<int>{});
        Ustaw_Stale_SQL();
        Sciezka_Bazy = p;
        DbOtwórz();
        Wersja_Bazy = 1.65;
        ClsKonwersje k;
        const auto t0 = std::chrono::steady_clock::now();
        for (const auto& [v, krok] : Zbudowane_Kroki())
            if (v > 165 && v < 357) (k.*krok)();
        polaczenie().Execute("create table KADRY_WARUNKI (ID_prac long, ID_Umowy long)");
        polaczenie().Checkpoint();
        DbZamknij();
        std::fprintf(stderr, "steps before 3.60 in %.1f s\n",
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        return p;
    }();
    return path;
}

void BM_Krok360_Large(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, Wzor(), 360, 360);
}
BENCHMARK(BM_Krok360_Large)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
