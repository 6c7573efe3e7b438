// One conversion step on the large test database (about a million document lines):
// the database is built at release 1.65 and brought to 2.13 outside the timing, then
// step 2.14 (the purchase register, which opens tabela_vat once per booked document
// to add its row) runs once, timed. Run: bench/step_bench (a few minutes of set-up).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "baza.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "platform/message_box.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder with the large database at 2.13, opened through the program's
// connection.
struct Baza213 {
    fs::path dir;
    Baza213() {
        std::string tmpl = (fs::temp_directory_path() / "krok-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        ::setenv("ORVIK_REGISTRY", (dir / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        platform::set_scripted_answers(std::vector<int>{});
        Ustaw_Stale_SQL();
        Sciezka_Bazy = (dir / "baza.mdb").string();
        auto t0 = std::chrono::steady_clock::now();
        baza::zbuduj_baze_165(Sciezka_Bazy, baza::Opcje{.large = true});
        auto t1 = std::chrono::steady_clock::now();
        DbOtwórz();
        Wersja_Bazy = 1.65;
        ClsKonwersje k;
        for (const auto& [v, metoda] : Zbudowane_Kroki())
            if (v > 165 && v <= 213) (k.*metoda)();
        Wersja_Bazy = 2.13;
        polaczenie().Checkpoint();
        auto t2 = std::chrono::steady_clock::now();
        std::fprintf(stderr, "built in %.1f s, steps 1.66-2.13 in %.1f s\n",
                     std::chrono::duration<double>(t1 - t0).count(),
                     std::chrono::duration<double>(t2 - t1).count());
    }
    ~Baza213() {
        DbZamknij();
        fs::remove_all(dir);
    }
};

void BM_Krok214_Large(benchmark::State& state) {
    Baza213 baza;
    int64_t documents = 0;
    {
        auto c = polaczenie().database().query(
            "select count(*) from zakupy where numer_zaksiegowania<>''");
        if (c->next()) documents = c->value(0).to_long();
    }
    for (auto _ : state) {
        ClsKonwersje k;
        (k.*Zbudowane_Kroki().at(214))();
    }
    state.counters["documents"] = static_cast<double>(documents);
}
BENCHMARK(BM_Krok214_Large)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
