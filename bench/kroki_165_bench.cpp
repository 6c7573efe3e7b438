// The conversion of the release 1.65 test database through every built step, step by
// step, with the fast wait clock: the time of the whole run and of each step, and the
// peak memory of the process. Sizes: the large database (two years of documents, about
// a million lines) and the same with half the days, to see how the cost grows.
//
//   bench/kroki_165_bench --benchmark_counters_tabular=true
// The five slowest steps of each size are printed on standard error.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "baza.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "platform/message_box.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

void BM_Konwersja165(benchmark::State& state) {
    const int dni = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("kroki165_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    platform::set_fast_wait(true);
    platform::set_answer_source([](auto, auto, auto) { return std::nullopt; });
    ::setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);

    for (auto _ : state) {
        state.PauseTiming();
        const fs::path baza = folder / ("baza_" + std::to_string(dni) + ".mdb");
        fs::remove(baza);
        baza::zbuduj_baze_165(baza.string(), baza::Opcje{true, 165, dni});
        Sciezka_Bazy = baza.string();
        DbOtwórz();
        Wersja_Bazy = 1.65;
        Ustaw_Stale_SQL();
        state.ResumeTiming();

        std::vector<std::pair<double, int>> czasy;
        ClsKonwersje k;
        k.Sciezka = Sciezka_Bazy;
        k.Wersja_Startowa = 165;
        for (int v = 166; v <= 646; ++v) {
            const PozycjaKroku a = Akcja_Kroku(v);
            if (a.rodzaj == RodzajKroku::Metoda && a.metoda == nullptr) break;
            const auto t0 = std::chrono::steady_clock::now();
            if (a.rodzaj == RodzajKroku::Metoda) (k.*a.metoda)();
            polaczenie().Checkpoint();
            Wersja_Bazy = v / 100.0;
            czasy.emplace_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), v);
        }

        state.PauseTiming();
        DbZamknij_Unload(0);
        std::sort(czasy.rbegin(), czasy.rend());
        std::fprintf(stderr, "%d days, slowest steps:", dni);
        for (size_t i = 0; i < std::min<size_t>(5, czasy.size()); ++i)
            std::fprintf(stderr, "  %d.%02d %.2f s", czasy[i].second / 100, czasy[i].second % 100,
                         czasy[i].first);
        std::fprintf(stderr, "\n");
        state.counters["last_step"] = czasy.empty() ? 165 : 0;
        if (!czasy.empty())
            state.counters["last_step"] =
                std::max_element(czasy.begin(), czasy.end(),
                                 [](auto& a, auto& b) { return a.second < b.second; })
                    ->second;
        state.ResumeTiming();
    }
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    state.counters["peak_MB"] = static_cast<double>(u.ru_maxrss) / 1024.0;
    std::error_code ec;
    fs::remove_all(folder, ec);
}

BENCHMARK(BM_Konwersja165)->Arg(365)->Arg(730)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
