// The version loop's own cost per step: everything but the step itself (the status
// lines, the "Begin" and "End" log lines, the registry write of "dodralvexNumerBazy",
// the version write into [Nieruszac] and the commit after it). Measured as a whole loop
// from 1.65 to 6.46 over steps that do nothing (reported per step), and each part alone.
// The registry file, the database and its log live in a temporary folder; the status
// lines go to /dev/null, as they go to a pipe or a file in an unattended run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/rejestr.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder with the registry file and a database at version 1.65, opened
// through the program's connection.
struct Srodowisko {
    fs::path dir;
    Srodowisko() {
        std::string tmpl = (fs::temp_directory_path() / "konw-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        ::setenv("ORVIK_REGISTRY", (dir / "registry.reg").c_str(), 1);
        platform::set_fast_wait(true);
        Sciezka_Bazy = (dir / "baza.mdb").string();
        jet::CreateOptions o;
        o.password = std::string(kDatabasePassword);
        jet::Database::create(Sciezka_Bazy, o);
        auto db = jet::Database::open(Sciezka_Bazy, o.password);
        db->execute("CREATE TABLE Nieruszac (NumerWersji DOUBLE)");
        db->execute("INSERT INTO Nieruszac (NumerWersji) VALUES (1.65)");
        db->execute(
            "CREATE TABLE UZYTKOWNICY (prawa TEXT(50), prawaK TEXT(50), prawaP TEXT(50), "
            "prawaF TEXT(50), prawaZ TEXT(50), prawaS TEXT(50), prawaM TEXT(50), "
            "prawaR TEXT(50), prawaC TEXT(50))");
        db->close();
        DbOtwórz();
    }
    ~Srodowisko() {
        DbZamknij_Unload(0);
        fs::remove_all(dir);
    }
    void wersja(double v) {
        polaczenie().Execute("UPDATE Nieruszac SET NumerWersji=" + std::to_string(v));
        Wersja_Bazy = v;
    }
};

// Standard output sent to /dev/null while it lives.
struct BezWyjscia {
    int zapas;
    BezWyjscia() {
        std::cout.flush();
        std::fflush(stdout);
        zapas = ::dup(1);
        const int nul = ::open("/dev/null", O_WRONLY);
        ::dup2(nul, 1);
        ::close(nul);
    }
    ~BezWyjscia() {
        std::cout.flush();
        std::fflush(stdout);
        ::dup2(zapas, 1);
        ::close(zapas);
    }
};

// The whole loop from 1.65 to 6.46 (481 steps) over steps that do nothing; the time is
// reported per step. It includes the wait of three seconds before the loop, made fast.
void BM_PetlaPustychKrokow(benchmark::State& state) {
    Srodowisko s;
    std::map<int, KrokZastepczy> kroki;
    for (int v = 165; v <= 646; ++v)
        if (Akcja_Kroku(v).rodzaj == RodzajKroku::Metoda) kroki[v] = [](ClsKonwersje&) {};
    Podstaw_Kroki(std::move(kroki));
    BezWyjscia cisza;
    for (auto _ : state) {
        state.PauseTiming();
        s.wersja(1.65);
        state.ResumeTiming();
        ClsKonwersje k;
        if (!k.RUN_Konwersje()) state.SkipWithError("the loop did not complete");
    }
    Podstaw_Kroki({});
    state.SetItemsProcessed(state.iterations() * 481);
    state.counters["per_step_us"] = benchmark::Counter(
        state.iterations() * 481, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}
BENCHMARK(BM_PetlaPustychKrokow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of one step, each alone.
void BM_StatusLines(benchmark::State& state) {
    BezWyjscia cisza;
    int v = 0;
    for (auto _ : state) {
        Pokaz_Postep("", " Konwresja:" + std::to_string(++v), "");
        Pokaz_Postep("", "", "Konwersja");
    }
}
BENCHMARK(BM_StatusLines)->UseRealTime();

void BM_LogLines(benchmark::State& state) {
    Srodowisko s;
    for (auto _ : state) {
        Zapisz_Log(" 166", "Konwersja", "Begin");
        Zapisz_Log(" 166", "Konwersja", "End");
    }
}
BENCHMARK(BM_LogLines)->UseRealTime();

void BM_RegistryWrite(benchmark::State& state) {
    Srodowisko s;
    for (auto _ : state) Zapisz_Rejestr("dodralvexNumerBazy", " 1.66", 0);
}
BENCHMARK(BM_RegistryWrite)->UseRealTime();

// The loop's version write: [Nieruszac] opened, its field set, the batch written.
void zapisz_wersje() {
    std::unique_ptr<ado::Recordset> rs = std::make_unique<ado::Recordset>();
    DbOtwórzRS(rs, "SELECT [NumerWersji] FROM Nieruszac", 0);
    rs->Fields(0).set(jet::Value::dbl(1.66));
    rs->UpdateBatch(ado::adAffectAllChapters);
    ZamknijRS(rs);
}

void BM_VersionWrite(benchmark::State& state) {
    Srodowisko s;
    for (auto _ : state) zapisz_wersje();
}
BENCHMARK(BM_VersionWrite)->UseRealTime();

void BM_VersionWriteAndCheckpoint(benchmark::State& state) {
    Srodowisko s;
    for (auto _ : state) {
        zapisz_wersje();
        polaczenie().Checkpoint();
    }
}
BENCHMARK(BM_VersionWriteAndCheckpoint)->UseRealTime();

}  // namespace
