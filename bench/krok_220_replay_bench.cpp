// Step 2.20 against a hand-tuned replay of its own statements: the reference for how
// well the engine's plans do. The demonstration database (large, of the given number
// of days) is brought to version 2.19 once. Then the step runs through the engine
// (timed), and again with every SQLite statement it runs recorded with its values.
// The replay runs those statements on a plain SQLite connection over the same
// database, with the join order and indexes chosen by hand: real indexes on the
// columns the step's joins and lookups need, and each work table told to SQLite as
// one of a row. The engine's own savepoints and planner statements are left out of
// the replay. Reported: both times and the engine's over the replay's.
//
//   bench/krok_220_replay_bench --benchmark_counters_tabular=true
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

#include "baza/baza.h"
#include "jet/session.h"
#include "jet/sqlfuncs.h"
#include "kroki_bench.h"

namespace {

namespace fs = std::filesystem;

// The demonstration database of `dni` days at version 2.19, made once per size.
const std::string& przed_220(int dni) {
    static std::map<int, std::string> made;
    if (auto it = made.find(dni); it != made.end()) return it->second;
    const fs::path folder = kroki_bench::Folder("krok220_replay");
    const std::string path = (folder / ("przed_" + std::to_string(dni) + ".mdb")).string();
    baza::Opcje o;
    o.large = true;
    o.dni = dni;
    baza::zbuduj_baze_165(path, o);
    setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
    platform::set_fast_wait(true);
    platform::set_scripted_answers(std::vector<int>{});
    Ustaw_Stale_SQL();
    Sciezka_Bazy = path;
    DbOtwórz();
    {
        ClsKonwersje k;
        for (const auto& [v, krok] : Zbudowane_Kroki()) {
            if (v >= 220) break;
            (k.*krok)();
            polaczenie().Checkpoint();
        }
    }
    DbZamknij();
    return made[dni] = path;
}

// A fresh copy of the database at 2.19, opened by the program.
std::string otworz_kopie(const std::string& wzor, const char* nazwa) {
    const std::string path = (fs::path(wzor).parent_path() / nazwa).string();
    for (const char* s : {"", "-wal", "-shm"}) fs::remove(path + s);
    fs::copy_file(wzor, path);
    return path;
}

double krok_220(const std::string& path, std::vector<std::string>* zapis) {
    Sciezka_Bazy = path;
    DbOtwórz();
    sqlite3* db = polaczenie().shared_database()->session().handle();
    if (zapis)
        sqlite3_trace_v2(
            db, SQLITE_TRACE_STMT,
            [](unsigned, void* out, void* p, void*) {
                if (char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(p))) {
                    static_cast<std::vector<std::string>*>(out)->push_back(sql);
                    sqlite3_free(sql);
                }
                return 0;
            },
            zapis);
    ClsKonwersje k;
    const auto t0 = std::chrono::steady_clock::now();
    (k.*Zbudowane_Kroki().at(220))();
    polaczenie().Checkpoint();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    DbZamknij();
    return s;
}

void wykonaj(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db) + std::string(": ") + sql);
}

// The SQLite name of a Jet table and of its column, from the catalog tables.
std::string nazwa(sqlite3* db, const std::string& tabela, const std::string& kolumna = "") {
    std::string sql = "SELECT t.sql_name FROM MSysJetTables AS t WHERE t.name = ?1 COLLATE NOCASE";
    if (!kolumna.empty())
        sql = "SELECT c.sql_name FROM MSysJetTables AS t JOIN MSysJetColumns AS c ON c.table_id = t.id "
              "WHERE t.name = ?1 COLLATE NOCASE AND c.name = ?2 COLLATE NOCASE";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    sqlite3_bind_text(st, 1, tabela.c_str(), -1, SQLITE_TRANSIENT);
    if (!kolumna.empty()) sqlite3_bind_text(st, 2, kolumna.c_str(), -1, SQLITE_TRANSIENT);
    std::string out;
    if (sqlite3_step(st) == SQLITE_ROW) out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    if (out.empty()) throw std::runtime_error("no " + tabela + "." + kolumna);
    return out;
}

bool silnika(const std::string& sql) {
    for (const char* p : {"SAVEPOINT", "RELEASE", "ROLLBACK", "ANALYZE", "EXPLAIN"})
        if (sql.rfind(p, 0) == 0) return true;
    return sql.find("sqlite_stat1") != std::string::npos || sql.find("jeth_") != std::string::npos ||
           sql.find("PRAGMA data_version") != std::string::npos;
}

double powtorka(const std::string& path, const std::vector<std::string>& zapis) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    jet::register_functions(db, nullptr);
    wykonaj(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA temp_store=MEMORY");
    wykonaj(db, "BEGIN IMMEDIATE");
    // Only the estimates chosen here.
    wykonaj(db, "ANALYZE sqlite_master");
    wykonaj(db, "DELETE FROM sqlite_stat1");
    // By hand: the indexes of the step's lookups that the tables lack.
    const std::pair<const char*, const char*> indeksy[] = {
        {"ZAKUPY", "numer_id"},       {"ZAKUPY_ZAWART", "sur_id"},      {"PRODUKTY_Receptury", "PROD_ID"},
        {"PRODUKCJA_ZAWARTOSC", "SPRZ_ID"}, {"PRODUKCJA", "DDOUT_DATA_WYST"},
    };
    for (const auto& [t, c] : indeksy)
        wykonaj(db, "CREATE INDEX IF NOT EXISTS reka_" + nazwa(db, t) + "_" + nazwa(db, t, c) + " ON " +
                        nazwa(db, t) + "(" + nazwa(db, t, c) + ")");
    wykonaj(db, "ANALYZE sqlite_master");
    std::unordered_map<std::string, sqlite3_stmt*> gotowe;
    const auto t0 = std::chrono::steady_clock::now();
    for (const std::string& sql : zapis) {
        if (silnika(sql)) continue;
        if (sql.rfind("CREATE TABLE ", 0) == 0) {
            // A work table of the step: one row, as the hand-tuner knows.
            wykonaj(db, sql);
            const std::string t = sql.substr(13, sql.find('(') - 13);
            wykonaj(db, "INSERT INTO sqlite_stat1(tbl, idx, stat) VALUES ('" + t + "', NULL, '1')");
            wykonaj(db, "ANALYZE sqlite_master");
            for (auto& [text, st] : gotowe) sqlite3_finalize(st);
            gotowe.clear();
            continue;
        }
        sqlite3_stmt*& st = gotowe[sql];
        if (!st && sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            // DDL and the like: once.
            gotowe.erase(sql);
            sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
            for (auto& [text, s] : gotowe) sqlite3_finalize(s);
            gotowe.clear();
            continue;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
        }
        sqlite3_reset(st);
    }
    wykonaj(db, "COMMIT");
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    for (auto& [text, st] : gotowe) sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return s;
}

void BM_Krok220_Powtorka(benchmark::State& state) {
    const std::string& wzor = przed_220(static_cast<int>(state.range(0)));
    double silnik = 0, reka = 0;
    for (auto _ : state) {
        silnik += krok_220(otworz_kopie(wzor, "silnik.mdb"), nullptr);
        std::vector<std::string> zapis;
        krok_220(otworz_kopie(wzor, "zapis.mdb"), &zapis);
        reka += powtorka(otworz_kopie(wzor, "reka.mdb"), zapis);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["s_engine"] = silnik / n;
    state.counters["s_replay"] = reka / n;
    state.counters["ratio"] = silnik / reka;
}
BENCHMARK(BM_Krok220_Powtorka)->Arg(182)->Arg(365)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
