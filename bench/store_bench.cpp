// The per-row cost of the engine's range checks, on a table of 100,000 and 1,000,000
// rows (Id long, N long, D datetime, Db double, S text, B Yes/No):
//   StoreDate        a date computed and stored into its Date column (D = D + 1)
//   StoreDateCall    a date computed by a function and stored (D = CDate(D) + 1)
//   StoreDouble      a Double computed and stored into its Double column
//   StoreDoubleText  a Double computed and stored into a text column
//   StoreDoubleBool  a Double computed and stored into a Yes/No column
//   IIfDateOverText  IIf of a date and a text stored into a text column
//   IIfNumbers       IIf of a Long and a Double (types differ row by row) stored into a
//                    text column and into a Double column
//   CriteriaDouble   a DELETE whose criteria computes a Double for every row (and
//                    deletes none)
//   CriteriaLong     the same criteria on whole numbers, for the record
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/session.h"

namespace {

struct Fixture {
    std::filesystem::path dir;
    std::shared_ptr<jet::Database> db;

    ~Fixture() {
        db.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

std::map<int64_t, std::unique_ptr<Fixture>>& fixtures() {
    static std::map<int64_t, std::unique_ptr<Fixture>> all;
    return all;
}

Fixture& fixture(int64_t rows) {
    auto& f = fixtures()[rows];
    if (f) return *f;
    f = std::make_unique<Fixture>();
    std::string tpl = (std::filesystem::temp_directory_path() / "storebench-XXXXXX").string();
    f->dir = mkdtemp(tpl.data());
    const std::string path = (f->dir / "bench.mdb").string();
    jet::Database::create(path);
    f->db = jet::Database::open(path);
    // The databases are closed at exit before the engine's own statics, which the first
    // open made, are destroyed.
    static const bool closed_at_exit = std::atexit([] { fixtures().clear(); }) == 0;
    (void)closed_at_exit;
    f->db->execute("CREATE TABLE R (Id long, N long, D datetime, Db double, S text(40), B bit)");
    const jet::TableInfo* t = f->db->catalog().table("R");
    auto c = [&](const char* name) { return t->column(name)->sql_name; };
    f->db->session().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                          std::to_string(rows) + ") INSERT INTO " + t->sql_name + " (" + c("Id") + ", " +
                          c("N") + ", " + c("D") + ", " + c("Db") + ", " + c("S") + ", " + c("B") +
                          ") SELECT i, i % 100, 40000.0 + i % 1000, (i % 1000) / 7.0, 'x', 0 FROM n");
    f->db->checkpoint();
    return *f;
}

// Runs a statement over the whole table; undo (untimed) puts the rows back.
void Statement(benchmark::State& state, const char* sql, const char* undo = nullptr) {
    Fixture& f = fixture(state.range(0));
    int64_t affected = 0;
    for (auto _ : state) {
        affected = f.db->execute(sql);
        state.PauseTiming();
        if (undo) f.db->execute(undo);
        f.db->checkpoint();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["affected"] = static_cast<double>(affected);
}

void StoreDate(benchmark::State& s) { Statement(s, "UPDATE R SET D = D + 1", "UPDATE R SET D = D - 1"); }
void StoreDateCall(benchmark::State& s) {
    Statement(s, "UPDATE R SET D = CDate(D) + 1", "UPDATE R SET D = D - 1");
}
void StoreDouble(benchmark::State& s) { Statement(s, "UPDATE R SET Db = Db * 2", "UPDATE R SET Db = Db / 2"); }
void StoreDoubleText(benchmark::State& s) { Statement(s, "UPDATE R SET S = Db * 2"); }
void StoreDoubleBool(benchmark::State& s) { Statement(s, "UPDATE R SET B = Db * 2"); }
void IIfDateOverText(benchmark::State& s) { Statement(s, "UPDATE R SET S = IIf(N > 50, D, 'x')"); }
void IIfNumbers(benchmark::State& s) {
    Statement(s, "UPDATE R SET S = IIf(N > 50, N, Db), Db = IIf(N > 50, N, Db)");
}
void CriteriaDouble(benchmark::State& s) { Statement(s, "DELETE FROM R WHERE Db * 2 + 1 < -1"); }
void CriteriaLong(benchmark::State& s) { Statement(s, "DELETE FROM R WHERE N * 2 + 1 < -1"); }

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);
}

}  // namespace

BENCHMARK(StoreDate)->Apply(Sizes);
BENCHMARK(StoreDateCall)->Apply(Sizes);
BENCHMARK(StoreDouble)->Apply(Sizes);
BENCHMARK(StoreDoubleText)->Apply(Sizes);
BENCHMARK(StoreDoubleBool)->Apply(Sizes);
BENCHMARK(IIfDateOverText)->Apply(Sizes);
BENCHMARK(IIfNumbers)->Apply(Sizes);
BENCHMARK(CriteriaDouble)->Apply(Sizes);
BENCHMARK(CriteriaLong)->Apply(Sizes);
