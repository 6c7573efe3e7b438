// A static read-only recordset over a table of five columns, opened and walked
// reading every field, against a plain sqlite3_step loop over the same rows.
// Reported: time per open-and-walk and the resident memory the open recordset adds.
// Also: a keyset recordset renumbering every record, and a recordset opened only to
// add one row.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "ado/ado.h"
#include "jet/database.h"

namespace {

std::string connection_string(const std::string& path) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data source=" + path;
}

struct Fixture {
    std::string path;
    std::string sqlite_query;  // the same query on the engine's own tables
};

// A database with table big(a long, b text(20), c double, d money, e date) of n rows,
// filled directly through SQLite for speed.
std::map<int64_t, Fixture>& fixtures() {
    static std::map<int64_t, Fixture> made;
    return made;
}

const Fixture& fixture(int64_t n) {
    auto& made = fixtures();
    auto it = made.find(n);
    if (it != made.end()) return it->second;
    Fixture f;
    f.path = (std::filesystem::temp_directory_path() /
              ("recordset_bench_" + std::to_string(getpid()) + "_" + std::to_string(n) + ".mdb"))
                 .string();
    jet::Database::create(f.path);
    std::string table, cols[5];
    {
        auto db = jet::Database::open(f.path);
        db->execute("CREATE TABLE big (a long, b TEXT(20), c double, d money, e date)");
        const auto* t = db->catalog().table("big");
        table = t->sql_name;
        for (int i = 0; i < 5; ++i) cols[i] = t->columns[static_cast<size_t>(i)].sql_name;
        db->close();
    }
    sqlite3* raw = nullptr;
    sqlite3_open(f.path.c_str(), &raw);
    const std::string insert =
        "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < " +
        std::to_string(n) + ") INSERT INTO " + table + " (" + cols[0] + "," + cols[1] + "," +
        cols[2] + "," + cols[3] + "," + cols[4] +
        ") SELECT i, 'name ' || i, i * 1.5, round(i * 0.01, 2), 36526 + i % 3000 FROM s";
    sqlite3_exec(raw, insert.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(raw, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    f.sqlite_query = "SELECT " + cols[0] + "," + cols[1] + "," + cols[2] + "," + cols[3] + "," +
                     cols[4] + " FROM " + table;
    return made.emplace(n, f).first->second;
}

long rss_kb() {
    std::ifstream f("/proc/self/status");
    std::string key;
    long v = 0;
    while (f >> key) {
        if (key == "VmRSS:") {
            f >> v;
            return v;
        }
        f.ignore(1 << 20, '\n');
    }
    return 0;
}

void BM_RecordsetStaticOpenAndWalk(benchmark::State& state) {
    const auto& f = fixture(state.range(0));
    ado::Connection conn;
    conn.Open(connection_string(f.path));
    static double rss_mb = 0;
    for (auto _ : state) {
        const long before = rss_kb();
        ado::Recordset rs;
        rs.Open("SELECT a, b, c, d, e FROM big", conn, ado::adOpenStatic, ado::adLockReadOnly);
        // The first open in the process shows the memory the rows take; later ones
        // reuse what the previous recordset freed.
        rss_mb = std::max(rss_mb, static_cast<double>(rss_kb() - before) / 1024.0);
        int64_t sum = 0;
        for (; !rs.Eof(); rs.MoveNext())
            for (int i = 0; i < 5; ++i) sum += rs.Fields(i).value().is_null() ? 0 : 1;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rss_MB"] = rss_mb;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RecordsetStaticOpenOnly(benchmark::State& state) {
    const auto& f = fixture(state.range(0));
    ado::Connection conn;
    conn.Open(connection_string(f.path));
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open("SELECT a, b, c, d, e FROM big", conn, ado::adOpenStatic, ado::adLockReadOnly);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Renumbering as the conversion steps do it: every record of a keyset recordset
// written and saved with UpdateBatch.
void BM_RecordsetUpdateEachRecord(benchmark::State& state) {
    const auto& f = fixture(state.range(0));
    ado::Connection conn;
    conn.Open(connection_string(f.path));
    int32_t n = 0;
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open("SELECT a FROM big ORDER BY a", conn, ado::adOpenKeyset, ado::adLockOptimistic);
        for (; !rs.Eof(); rs.MoveNext()) {
            rs.Fields(0) = jet::Value::long_(++n);
            rs.UpdateBatch(ado::adAffectAllChapters);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A recordset opened, counted (as the program's opener does) and used only to add one
// row, as a step does once per document: the rows of the table are never read.
void BM_RecordsetOpenToAddOneRow(benchmark::State& state) {
    const auto& f = fixture(state.range(0));
    ado::Connection conn;
    conn.Open(connection_string(f.path));
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open("SELECT a, b, c, d, e FROM big", conn, ado::adOpenStatic, ado::adLockOptimistic);
        benchmark::DoNotOptimize(rs.RecordCount());
        rs.AddNew();
        rs.Fields(0) = jet::Value::long_(-1);
        rs.Fields(1) = jet::Value::text("added");
        rs.UpdateBatch(ado::adAffectAll);
        rs.Close();
    }
    conn.Execute("DELETE FROM big WHERE a = -1");
}

void BM_PlainSqliteStepLoop(benchmark::State& state) {
    const auto& f = fixture(state.range(0));
    sqlite3* db = nullptr;
    sqlite3_open_v2(f.path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, f.sqlite_query.c_str(), -1, &st, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            sum += sqlite3_column_int64(st, 0);
            sum += sqlite3_column_bytes(st, 1);
            const unsigned char* t = sqlite3_column_text(st, 1);
            benchmark::DoNotOptimize(t);
            sum += static_cast<int64_t>(sqlite3_column_double(st, 2));
            sum += static_cast<int64_t>(sqlite3_column_double(st, 3));
            sum += static_cast<int64_t>(sqlite3_column_double(st, 4));
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_RecordsetStaticOpenAndWalk)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetStaticOpenOnly)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetUpdateEachRecord)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetOpenToAddOneRow)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainSqliteStepLoop)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [n, f] : fixtures())
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(f.path + suffix);
    return 0;
}
