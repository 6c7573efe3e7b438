// Single-row inserts into a table of 100,000 rows, with a counter the engine numbers
// and without one:
//   InsertValues_*  INSERT ... VALUES of one row (the row-by-row statements of the steps)
//   InsertRow_*     one row through the recordsets' row writes (AddNew and Update)
// Counter: a counter without an index; CounterKey: a counter that is the primary key;
// Plain: no counter.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/rowaccess.h"
#include "jet/session.h"

namespace {

constexpr int64_t kRows = 100000;

struct Fixture {
    std::filesystem::path dir;
    std::shared_ptr<jet::Database> db;

    Fixture() {
        std::string tpl = (std::filesystem::temp_directory_path() / "jetcounter-XXXXXX").string();
        dir = mkdtemp(tpl.data());
        const std::string path = (dir / "bench.mdb").string();
        jet::Database::create(path);
        db = jet::Database::open(path);
        db->execute("CREATE TABLE Counter (Id counter, N long, S text(20))");
        db->execute("CREATE TABLE CounterKey (Id counter, N long, S text(20))");
        db->execute("CREATE UNIQUE INDEX Pk ON CounterKey (Id) WITH PRIMARY");
        db->execute("CREATE TABLE Plain (N long, S text(20))");
        const std::string seq =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(kRows) + ") ";
        for (const char* name : {"Counter", "CounterKey"})
            db->session().exec(seq + "INSERT INTO " + t(name) + " (" + c(name, "Id") + ", " +
                               c(name, "N") + ", " + c(name, "S") +
                               ") SELECT i, i % 100, 'nazwa ' || i FROM n");
        db->session().exec(seq + "INSERT INTO " + t("Plain") + " (" + c("Plain", "N") + ", " +
                           c("Plain", "S") + ") SELECT i % 100, 'nazwa ' || i FROM n");
        db->checkpoint();
    }
    ~Fixture() {
        db.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string t(const char* table) const { return db->catalog().table(table)->sql_name; }
    std::string c(const char* table, const char* column) const {
        return db->catalog().table(table)->column(column)->sql_name;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void insert_values(benchmark::State& state, const char* table) {
    Fixture& f = fixture();
    const std::string sql = std::string("INSERT INTO ") + table + " (N, S) VALUES (7, 'nowy')";
    for (auto _ : state) benchmark::DoNotOptimize(f.db->execute(sql));
    f.db->checkpoint();
}

void insert_row(benchmark::State& state, const char* table) {
    Fixture& f = fixture();
    const jet::ColumnValues values = {{"N", jet::Value::long_(7)}, {"S", jet::Value::text("nowy")}};
    for (auto _ : state) benchmark::DoNotOptimize(jet::insert_row(*f.db, table, values));
    f.db->checkpoint();
}

void InsertValues_Counter(benchmark::State& state) {
    insert_values(state, "Counter");
}
void InsertValues_CounterKey(benchmark::State& state) {
    insert_values(state, "CounterKey");
}
void InsertValues_Plain(benchmark::State& state) {
    insert_values(state, "Plain");
}
void InsertRow_Counter(benchmark::State& state) {
    insert_row(state, "Counter");
}
void InsertRow_CounterKey(benchmark::State& state) {
    insert_row(state, "CounterKey");
}
void InsertRow_Plain(benchmark::State& state) {
    insert_row(state, "Plain");
}

}  // namespace

BENCHMARK(InsertValues_Counter);
BENCHMARK(InsertValues_CounterKey);
BENCHMARK(InsertValues_Plain);
BENCHMARK(InsertRow_Counter);
BENCHMARK(InsertRow_CounterKey);
BENCHMARK(InsertRow_Plain);
