// Steps 3.90 to 4.99 over the large test database (two years of documents, about a
// million lines) and over the same with half the days, with the fast wait clock. The
// database is built at release 1.65 and brought to 3.89 outside the timing (a few
// minutes); then each step runs once, timed on its own. Reported per size: the time of
// 3.90-4.66 and of 4.67-4.99, and on standard error every step's seconds and the five
// slowest.
//
//   bench/kroki_390_499_bench --benchmark_counters_tabular=true
//
// KROKI_389_DIR=<folder> keeps the databases at 3.89 there (wzor_389_<days>.mdb) and
// starts later runs from them; KROKI_499_DIR=<folder> keeps each result at 4.99
// (wynik_499_<days>.mdb), for comparing the databases of two builds. The peak memory of
// one size: /usr/bin/time -v bench/kroki_390_499_bench --benchmark_filter=/730
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
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
using Zegar = std::chrono::steady_clock;

double Sekundy(Zegar::time_point od) {
    return std::chrono::duration<double>(Zegar::now() - od).count();
}

// Runs the built steps od..do_ on the open database (the program's connection), each
// followed by the version loop's commit; returns each step's seconds with its number.
std::vector<std::pair<double, int>> Kroki(int od, int do_) {
    std::vector<std::pair<double, int>> czasy;
    ClsKonwersje k;
    k.Sciezka = Sciezka_Bazy;
    k.Wersja_Startowa = od - 1;
    for (int v = od; v <= do_; ++v) {
        const PozycjaKroku a = Akcja_Kroku(v);
        if (a.rodzaj == RodzajKroku::Metoda && a.metoda == nullptr) break;
        const auto t0 = Zegar::now();
        if (a.rodzaj == RodzajKroku::Metoda) (k.*a.metoda)();
        polaczenie().Checkpoint();
        Wersja_Bazy = v / 100.0;
        czasy.emplace_back(Sekundy(t0), v);
    }
    return czasy;
}

// The large database of dni days at version 3.89, at path (kept in KROKI_389_DIR when
// set, so that it is built once).
void Baza_389(const fs::path& path, int dni) {
    if (fs::exists(path)) return;
    const fs::path tmp = path.string() + ".tmp";
    fs::remove(tmp);
    const auto t0 = Zegar::now();
    baza::zbuduj_baze_165(tmp.string(), baza::Opcje{true, 165, dni});
    const double budowa = Sekundy(t0);
    Sciezka_Bazy = tmp.string();
    DbOtwórz();
    Wersja_Bazy = 1.65;
    const auto t1 = Zegar::now();
    Kroki(166, 389);
    DbZamknij_Unload(0);
    std::fprintf(stderr, "%d days: built in %.1f s, brought to 3.89 in %.1f s\n", dni, budowa,
                 Sekundy(t1));
    fs::rename(tmp, path);
}

void BM_Kroki390_499(benchmark::State& state) {
    const int dni = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("kroki390_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    platform::set_fast_wait(true);
    platform::set_answer_source([](auto, auto, auto) { return std::nullopt; });
    ::setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
    Ustaw_Stale_SQL();

    const char* trzymaj = std::getenv("KROKI_389_DIR");
    const fs::path wzor =
        (trzymaj ? fs::path(trzymaj) : folder) / ("wzor_389_" + std::to_string(dni) + ".mdb");
    if (trzymaj) fs::create_directories(trzymaj);
    Baza_389(wzor, dni);

    for (auto _ : state) {
        state.PauseTiming();
        const fs::path baza = folder / "baza.mdb";
        for (const char* s : {"", "-wal", "-shm"}) fs::remove(baza.string() + s);
        fs::copy_file(wzor, baza);
        Sciezka_Bazy = baza.string();
        DbOtwórz();
        Wersja_Bazy = 3.89;
        state.ResumeTiming();

        const std::vector<std::pair<double, int>> czasy = Kroki(390, 499);

        state.PauseTiming();
        DbZamknij_Unload(0);
        double do466 = 0, od467 = 0;
        std::fprintf(stderr, "%d days, each step (s):", dni);
        for (const auto& [s, v] : czasy) {
            (v <= 466 ? do466 : od467) += s;
            std::fprintf(stderr, "%s%d.%02d %.3f", (v % 10 == 0 ? "\n  " : "  "), v / 100, v % 100,
                         s);
        }
        std::vector<std::pair<double, int>> wg_czasu = czasy;
        std::sort(wg_czasu.rbegin(), wg_czasu.rend());
        std::fprintf(stderr, "\n%d days, slowest steps:", dni);
        for (size_t i = 0; i < std::min<size_t>(5, wg_czasu.size()); ++i)
            std::fprintf(stderr, "  %d.%02d %.2f s", wg_czasu[i].second / 100,
                         wg_czasu[i].second % 100, wg_czasu[i].first);
        std::fprintf(stderr, "\n");
        state.counters["s_390_466"] = do466;
        state.counters["s_467_499"] = od467;
        state.counters["last_step"] = czasy.empty() ? 389 : czasy.back().second;
        if (const char* wynik = std::getenv("KROKI_499_DIR")) {
            fs::create_directories(wynik);
            const fs::path cel = fs::path(wynik) / ("wynik_499_" + std::to_string(dni) + ".mdb");
            fs::copy_file(baza, cel, fs::copy_options::overwrite_existing);
        }
        state.ResumeTiming();
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
}

BENCHMARK(BM_Kroki390_499)->Arg(365)->Arg(730)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
