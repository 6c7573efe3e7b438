// What the step benchmarks share: a folder of databases removed when the program
// ends, a new database file, and the timed run of a range of built steps over a fresh
// copy of a model database.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "platform/message_box.h"
#include "platform/wait.h"

namespace kroki_bench {

namespace fs = std::filesystem;

// The program's folder of databases, named nazwa and the process id on first use.
inline const fs::path& Folder(const std::string& nazwa) {
    struct Katalog {
        fs::path p;
        explicit Katalog(const std::string& n)
            : p(fs::temp_directory_path() / (n + "_" + std::to_string(getpid()))) {
            fs::create_directories(p);
        }
        ~Katalog() {
            std::error_code ec;
            fs::remove_all(p, ec);
        }
    };
    static const Katalog d(nazwa);
    return d.p;
}

// A new, empty database file with the program's password, opened on the engine.
inline std::shared_ptr<jet::Database> Nowa_Baza(const std::string& path) {
    jet::CreateOptions o;
    o.password = std::string(kDatabasePassword);
    jet::Database::create(path, o);
    return jet::Database::open(path, std::string(kDatabasePassword));
}

// Runs the built steps od..do_ over a fresh copy of wzor in each iteration (fast waits,
// no message boxes) and reports the seconds of each step per iteration as s_<step>.
// po_kroku, when set, runs untimed after each step.
inline void Mierz_Kroki(benchmark::State& state, const std::string& wzor, int od, int do_,
                        const std::function<void(int)>& po_kroku = {}) {
    const fs::path folder = fs::path(wzor).parent_path();
    setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
    platform::set_fast_wait(true);
    platform::set_scripted_answers(std::vector<int>{});
    Ustaw_Stale_SQL();
    std::map<int, double> czasy;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = (folder / "praca.mdb").string();
        for (const char* s : {"", "-wal", "-shm"}) fs::remove(path + s);
        fs::copy_file(wzor, path);
        Sciezka_Bazy = path;
        DbOtwórz();
        ClsKonwersje k;
        state.ResumeTiming();
        for (const auto& [v, krok] : Zbudowane_Kroki()) {
            if (v < od || v > do_) continue;
            const auto t0 = std::chrono::steady_clock::now();
            (k.*krok)();
            polaczenie().Checkpoint();
            czasy[v] +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            if (po_kroku) {
                state.PauseTiming();
                po_kroku(v);
                state.ResumeTiming();
            }
        }
        state.PauseTiming();
        DbZamknij();
        state.ResumeTiming();
    }
    for (auto [v, s] : czasy)
        state.counters["s_" + std::to_string(v)] = s / static_cast<double>(state.iterations());
}

}  // namespace kroki_bench
