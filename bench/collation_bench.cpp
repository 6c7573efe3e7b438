// The engine's per-row hot spots: Jet's text comparison (the JET collation, run for
// every text comparison and sort step) and the SQL functions run per stored or
// computed value (jet_store, jet_cur, jet_cmp, jet_concat).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <memory>
#include <string>
#include <vector>

#include "jet/sqlfuncs.h"
#include "jet/text.h"

namespace {

struct Pair {
    std::string a, b;
};

const std::vector<Pair>& ascii_pairs() {
    static const std::vector<Pair> p = {
        {"KOWALSKI JAN", "kowalski jan"},
        {"PIEKARNIA NR 12", "PIEKARNIA NR 13"},
        {"FV/2021/00123", "FV/2021/00124"},
        {"Bulka kajzerka 50g", "Bulka grahamka 60g"},
        {"abc", "abd"},
        {"Zaklad Piekarniczy", "Zaklad Piekarniczy "},
    };
    return p;
}

const std::vector<Pair>& polish_pairs() {
    static const std::vector<Pair> p = {
        {"ZAKŁAD PIEKARNICZY ŁÓDŹ", "zakład piekarniczy łódź"},
        {"Bułka kajzerka", "Bulka kajzerka"},
        {"Chleb żytni", "Chleb źródlany"},
        {"Pączek z różą", "Pączek z marmoladą"},
        {"Ciasto drożdżowe", "Ciasto drożdżowe "},
        {"Środa", "sroda"},
    };
    return p;
}

void compare_pairs(benchmark::State& state, const std::vector<Pair>& pairs) {
    size_t k = 0;
    for (auto _ : state) {
        const Pair& p = pairs[k++ % pairs.size()];
        benchmark::DoNotOptimize(jet::text::compare(p.a, p.b));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_CompareAscii(benchmark::State& state) { compare_pairs(state, ascii_pairs()); }
BENCHMARK(BM_CompareAscii);

void BM_ComparePolish(benchmark::State& state) { compare_pairs(state, polish_pairs()); }
BENCHMARK(BM_ComparePolish);

void BM_CompareIdentical(benchmark::State& state) {
    const std::string a = "Zakład Piekarniczy Łódź", b = a;
    for (auto _ : state) benchmark::DoNotOptimize(jet::text::compare(a, b));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CompareIdentical);

// The plain collator on the same texts, for scale.
void icu_pairs(benchmark::State& state, const std::vector<Pair>& pairs) {
    UErrorCode st = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("pl", "PL"), st));
    c->setStrength(icu::Collator::SECONDARY);
    c->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, st);
    size_t k = 0;
    for (auto _ : state) {
        const Pair& p = pairs[k++ % pairs.size()];
        benchmark::DoNotOptimize(c->compareUTF8(p.a, p.b, st));
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_IcuAscii(benchmark::State& state) { icu_pairs(state, ascii_pairs()); }
BENCHMARK(BM_IcuAscii);
void BM_IcuPolish(benchmark::State& state) { icu_pairs(state, polish_pairs()); }
BENCHMARK(BM_IcuPolish);

// ---------------------------------------------------------------------------
// SQL functions per row: a query over a table of kRows rows, with and without the
// function; the difference per row is the function's cost.

constexpr int kRows = 100000;

sqlite3* bench_db() {
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        jet::register_functions(d, nullptr);
        sqlite3_exec(d,
                     "CREATE TABLE t(txt TEXT COLLATE JET, txt2 TEXT COLLATE JET, num REAL, n INTEGER);"
                     "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 100000)"
                     " INSERT INTO t SELECT 'Piekarnia nr ' || i, 'PIEKARNIA NR ' || (i % 7),"
                     " i * 0.0137, i FROM s;",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

void per_row(benchmark::State& state, const char* sql) {
    sqlite3* db = bench_db();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        return;
    }
    for (auto _ : state) {
        while (sqlite3_step(st) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_RowsBaseline(benchmark::State& s) { per_row(s, "SELECT count(txt), count(num) FROM t"); }
BENCHMARK(BM_RowsBaseline)->Unit(benchmark::kMillisecond);

void BM_JetStoreText(benchmark::State& s) {
    per_row(s, "SELECT count(jet_store(txt, 10, 50, 0, 't.c')) FROM t");
}
BENCHMARK(BM_JetStoreText)->Unit(benchmark::kMillisecond);

void BM_JetStoreLong(benchmark::State& s) {
    per_row(s, "SELECT count(jet_store(n, 4, 4, 1, 't.c')) FROM t");
}
BENCHMARK(BM_JetStoreLong)->Unit(benchmark::kMillisecond);

void BM_JetStoreCurrency(benchmark::State& s) {
    per_row(s, "SELECT count(jet_store(num, 5, 8, 0, 't.c')) FROM t");
}
BENCHMARK(BM_JetStoreCurrency)->Unit(benchmark::kMillisecond);

void BM_JetCur(benchmark::State& s) { per_row(s, "SELECT count(jet_cur(num * 1.22)) FROM t"); }
BENCHMARK(BM_JetCur)->Unit(benchmark::kMillisecond);

void BM_JetCmpText(benchmark::State& s) {
    per_row(s, "SELECT count(jet_cmp(txt, 10, txt2, 10)) FROM t");
}
BENCHMARK(BM_JetCmpText)->Unit(benchmark::kMillisecond);

void BM_JetConcat(benchmark::State& s) {
    per_row(s, "SELECT count(jet_concat(txt, txt2)) FROM t");
}
BENCHMARK(BM_JetConcat)->Unit(benchmark::kMillisecond);

void BM_JetSumMoney(benchmark::State& s) { per_row(s, "SELECT jet_sum(num, 5) FROM t"); }
BENCHMARK(BM_JetSumMoney)->Unit(benchmark::kMillisecond);

void BM_OrderByJet(benchmark::State& s) {
    per_row(s, "SELECT count(*) FROM (SELECT txt FROM t ORDER BY txt2, txt)");
}
BENCHMARK(BM_OrderByJet)->Unit(benchmark::kMillisecond);

}  // namespace
