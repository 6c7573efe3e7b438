// Steps 2.70 to 2.72 over the large release 1.65 database (two years of daily
// documents, about a million document lines) with the tables that the steps between
// 1.65 and 2.69 give it for these three steps: step 2.72 rebuilds every user table
// (copied out, dropped, copied back, copy dropped) and keys 60 tables, so its cost
// follows the size of the whole database. A second case adds the payroll of 40
// employees over 24 monthly lists (about 40 values each) as a database used at 2.70
// holds it: 2.71 opens a list query per value and 2.72 pivots the values into 135
// columns. Fast waits (the 4 waits of 5 seconds of 2.72 are not counted).
//
//   bench/kroki_270_272_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "baza/baza.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "platform/message_box.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPracownicy = 40;
constexpr int kListy = 24;
constexpr int kSkladniki = 40;

// The folder of the databases, removed when the program ends.
fs::path folder() {
    struct Folder {
        fs::path p = fs::temp_directory_path() / ("kroki270_bench_" + std::to_string(getpid()));
        Folder() { fs::create_directories(p); }
        ~Folder() {
            std::error_code ec;
            fs::remove_all(p, ec);
        }
    };
    static const Folder d;
    return d.p;
}

// The large release 1.65 database, built once.
const std::string& wzor() {
    static const std::string path = [] {
        const std::string p = (folder() / "wzor.mdb").string();
        baza::Opcje o;
        o.large = true;
        baza::zbuduj_baze_165(p, o);
        return p;
    }();
    return path;
}

void sql(const std::string& tekst) {
    polaczenie().Execute(tekst);
}

// A fresh copy of the large database, open through the program's connection, with the
// tables that earlier steps create for 2.70 to 2.72 (as those steps create them).
void Otworz_Kopie() {
    const fs::path kopia = folder() / "baza.mdb";
    std::error_code ec;
    for (const char* p : {"baza.mdb", "baza.mdb-wal", "baza.mdb-shm", "Log"})
        fs::remove(folder() / p, ec);
    fs::copy_file(wzor(), kopia);
    Sciezka_Bazy = kopia.string();
    DbOtwórz();
    Wersja_Bazy = 2.69;
    sql("create table [Deklaracje] ([Nazwa] TEXT (50), [Rok] long, [Miesiac] text(20),[data_wyst] "
        "date,[imie] text(30),[nazwisko] text(40),[korekta] logical,[wniosek] logical,[id] "
        "counter)");
    sql("create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
        "0,iddd counter)");
    sql("create table [KADRY_PRACOWNICY] (Numer long, DataOD date, Nazwisko text(50), "
        "Nazwisko_r text(50), pesel text(11), ETAT single, id counter)");
    for (const char* t : {"KADRY_DANE_BO", "KADRY_DANE_MIES", "KADRY_DANE_ROK"})
        sql(std::string("create table [") + t +
            "] (ID_prac long, id_DK long,DataOD date, Wartosc Single DEFAULT 0,WartoscTXT "
            "Text(30))");
    sql("create table [KADRY_DK_S] (ID_DK LONG,NAZWA TEXT (30))");
    sql("create table [KPIR_KSIEGA] (kpir_id COUNTER ,numer TEXT(50), kwota_w money)");
    for (const char* t : {"dok_zak_zawart", "dok_kfa_zawart", "dok_dz"})
        sql(std::string("create table [") + t + "] (id long)");
    sql("create table [DOK_PRO] (DDOUT_ID counter, DDOUT_DATA_WYST date)");
    sql("create table [DOK_PRO_ZAWART] (DDOUT_ID long, PROD_ID long, ilosc single)");
    sql("create table [DOK_PRO_ZAWART_SUROWCE] (DDOUT_ID long, PROD_ID long, SUR_ID long)");
    sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo, USERS text(80), STAN "
        "text(80))");
    for (int i = 1; i <= kPracownicy; ++i)
        sql("insert into KADRY_PRACOWNICY (Numer, Nazwisko, pesel) values (" + std::to_string(i) +
            ", 'Pracownik', '7001010000" + std::to_string(i % 10) + "')");
}

// The payroll values of monthly lists, written after 2.70 has numbered the table: every
// employee has every component on every list.
void Place() {
    sql("create table _Prac (p long)");
    sql("create table _Skl (s long)");
    sql("create table _Dni (d date)");
    for (int p = 1; p <= kPracownicy; ++p)
        sql("insert into _Prac values (" + std::to_string(p) + ")");
    for (int s = 0; s < kSkladniki; ++s)
        sql("insert into _Skl values (" + std::to_string(s * 3) + ")");
    for (int l = 0; l < kListy; ++l)
        sql("insert into _Dni values (#" + std::to_string(l % 12 + 1) + "-28-" +
            std::to_string(2003 + l / 12) + "#)");
    sql("insert into Place_Dane (IDP, dataK, pole, wartosc) select p, d, s, 100+s from _Prac, "
        "_Skl, _Dni");
    for (const char* t : {"_Prac", "_Skl", "_Dni"}) sql(std::string("drop table ") + t);
}

// The rows of every user table.
double Wiersze() {
    jet::Database& db = polaczenie().database();
    double n = 0;
    for (const jet::TableInfo* t : db.catalog().tables()) {
        auto c = db.query("select count(*) from [" + t->name + "]");
        if (c->next()) n += c->value(0).to_double();
    }
    return n;
}

void Zamknij() {
    DbZamknij();
    std::error_code ec;
    fs::remove(folder() / "baza.mdb", ec);
}

// Runs one step and reports its time in seconds.
double Czas(ClsKonwersje& k, MetodaKroku krok) {
    const auto start = std::chrono::steady_clock::now();
    (k.*krok)();
    polaczenie().Checkpoint();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Uruchom(benchmark::State& state, bool place) {
    platform::set_fast_wait(true);
    platform::set_scripted_answers(std::vector<int>{});
    ::setenv("ORVIK_REGISTRY", (folder() / "registry.reg").c_str(), 1);
    Ustaw_Stale_SQL();
    wzor();
    double s270 = 0, s271 = 0, s272 = 0, przed = 0, wiersze = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Otworz_Kopie();
        ClsKonwersje k;
        przed = Wiersze();
        state.ResumeTiming();
        s270 += Czas(k, &ClsKonwersje::Konwersja_270);
        if (place) {
            state.PauseTiming();
            Place();
            state.ResumeTiming();
        }
        s271 += Czas(k, &ClsKonwersje::Konwersja_271);
        s272 += Czas(k, &ClsKonwersje::Konwersja_272);
        state.PauseTiming();
        wiersze = Wiersze();
        Zamknij();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["2.70_s"] = s270 / n;
    state.counters["2.71_s"] = s271 / n;
    state.counters["2.72_s"] = s272 / n;
    state.counters["rows_before"] = przed;
    state.counters["rows"] = wiersze;
}

void BM_Kroki270_272_Duza(benchmark::State& state) {
    Uruchom(state, false);
}
void BM_Kroki270_272_Duza_Z_Placami(benchmark::State& state) {
    Uruchom(state, true);
}

BENCHMARK(BM_Kroki270_272_Duza)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Kroki270_272_Duza_Z_Placami)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
