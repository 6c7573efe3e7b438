// Steps 2.32 to 2.41 over the release 1.65 database brought to 2.31: the cash merge
// (2.34) copies every payment and its lines; step 2.41 retypes some fifty columns of
// the document tables, each retype copying its column twice. Reported: the time of
// each step. The database is the one that `baza-demo OUTPUT --large` writes, named by
// the environment variable KROKI_BAZA_165; the steps before 2.32 run once, untimed.
//
//   baza-demo /tmp/duza.mdb --large
//   KROKI_BAZA_165=/tmp/duza.mdb bench/kroki_232_241_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "platform/message_box.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

fs::path folder() {
    static const fs::path d = [] {
        fs::path p = fs::temp_directory_path() / ("kroki232_bench_" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return d;
}

// Runs the built steps after od up to do_, each with the version before it recorded,
// as the version loop runs them.
void kroki(ClsKonwersje& k, int od, int do_, std::map<int, double>* czasy = nullptr) {
    for (const auto& [v, metoda] : Zbudowane_Kroki()) {
        if (v <= od || v > do_) continue;
        Wersja_Bazy = (v - 1) / 100.0;
        const auto t0 = std::chrono::steady_clock::now();
        (k.*metoda)();
        polaczenie().Checkpoint();
        if (czasy)
            (*czasy)[v] +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
}

void otworz(const std::string& path) {
    Sciezka_Bazy = path;
    DbOtwórz();
}

// The database at version 2.31, made once from the release 1.65 file.
const std::string& baza_231() {
    static const std::string path = [] {
        const char* zrodlo = getenv("KROKI_BAZA_165");
        const std::string p = (folder() / "wzor_231.mdb").string();
        fs::copy_file(zrodlo, p);
        otworz(p);
        ClsKonwersje k;
        kroki(k, 165, 231);
        DbZamknij();
        return p;
    }();
    return path;
}

void BM_Kroki232_241(benchmark::State& state) {
    if (!getenv("KROKI_BAZA_165")) {
        state.SkipWithError("KROKI_BAZA_165 names no database");
        return;
    }
    setenv("ORVIK_REGISTRY", (folder() / "registry.reg").c_str(), 1);
    platform::set_fast_wait(true);
    platform::set_scripted_answers(std::vector<int>{});
    Ustaw_Stale_SQL();
    const std::string& wzor = baza_231();
    std::map<int, double> czasy;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = (folder() / "praca.mdb").string();
        for (const char* s : {"", "-wal", "-shm"}) fs::remove(path + s);
        fs::copy_file(wzor, path);
        otworz(path);
        ClsKonwersje k;
        state.ResumeTiming();
        kroki(k, 231, 241, &czasy);
        state.PauseTiming();
        DbZamknij();
        state.ResumeTiming();
    }
    for (auto [v, s] : czasy)
        state.counters["s_" + std::to_string(v)] = s / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Kroki232_241)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
