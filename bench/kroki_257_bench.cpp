// Step 2.57 (documents linked to numbering periods) over a database of a given number of
// document days: the set-up pass once per kind and date, then three small lookups per
// document. Invoices and delivery notes every day, a yearly scheme for all contractors.
// Run with the days as the argument; the cost should grow linearly with them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "platform/wait.h"

namespace {

namespace fs = std::filesystem;

constexpr int kNaDzien = 20;  // documents a day in each of the two tables
constexpr int kKontrahenci = 40;

// A temporary database at version 2.56 with the tables of step 2.57, opened through the
// program's connection; status lines sent to /dev/null.
struct Baza257 {
    fs::path dir;
    int zapas = -1;
    explicit Baza257(int dni) {
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
        for (const char* s : {
                 "create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)",
                 "create table SPOSOB_NUMERACJI (sm_id long, tryb integer, rob_kier logical)",
                 "insert into SPOSOB_NUMERACJI values (1, 0, 0)",
                 "create table sposob_numeracji_zawart (id counter, sm_id long, kierowca_id "
                 "long, rok text(4), miesiac text(2), nr_fa long, nr_fk long, nr_dd long, nr_dz "
                 "long, nr_par long, nr_sp long, nr_pw long)",
                 "create table Numery_OST_DOK (numer_faktury long, rodzaj_dok text(50), rok "
                 "long, MIESIAC long)",
                 "create table S_KIEROWCY (kier_id long)",
                 "create table kontrahenci (konh_id long, sm_id long, kier_id long)",
             })
            db->execute(s);
        for (int k = 1; k <= kKontrahenci; ++k)
            db->execute("insert into kontrahenci values (" + std::to_string(k) + ", " +
                        (k % 9 == 0 ? "0" : "1") + ", 1)");
        const auto tabela = [&](const std::string& t, const std::string& data,
                                const std::string& reszta) {
            db->execute("create table " + t + " (id counter, " + data +
                        " date, kier_id long, smz_id long, KONH_ID long" + reszta + ")");
        };
        tabela("K_FAKTUR", "fkorout_data_wyst", ", zakup logical");
        tabela("FAKTURY", "fakout_data_wyst", "");
        for (const char* t : {"Paragon", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Produkcja"})
            tabela(t, "ddout_data_wyst", "");
        tabela("Dok_Wewnentrzne", "ddout_data_wyst", ", rodzdok text(1)");
        for (int d = 0; d < dni; ++d)
            for (int n = 0; n < kNaDzien; ++n) {
                const std::string wartosci = " (" + std::to_string(36892 + d) + ", " +
                                             std::to_string(1 + n % 4) + ", 0, " +
                                             std::to_string(1 + (d * 7 + n) % kKontrahenci) + ")";
                db->execute(
                    "insert into FAKTURY (fakout_data_wyst, kier_id, smz_id, KONH_ID) values" +
                    wartosci);
                db->execute(
                    "insert into DOWODY_DOSTAW (ddout_data_wyst, kier_id, smz_id, KONH_ID) values" +
                    wartosci);
            }
        db->close();
        DbOtwórz();
        Wersja_Bazy = 2.56;
        zapas = ::dup(1);
        const int nul = ::open("/dev/null", O_WRONLY);
        ::dup2(nul, 1);
        ::close(nul);
    }
    ~Baza257() {
        DbZamknij();
        ::dup2(zapas, 1);
        ::close(zapas);
        fs::remove_all(dir);
    }
};

void BM_Krok257(benchmark::State& state) {
    const int dni = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto baza = std::make_unique<Baza257>(dni);
        ClsKonwersje k;
        state.ResumeTiming();
        k.Konwersja_257();
        state.PauseTiming();
        ado::Recordset rs;
        rs.Open("select count(*) from FAKTURY where smz_id<>0", polaczenie());
        state.counters["linked invoices"] = rs.Fields(0).value().to_double();
        rs.Close();
        baza.reset();
        state.ResumeTiming();
    }
    state.counters["documents"] = 2.0 * kNaDzien * dni;
}
BENCHMARK(BM_Krok257)->Arg(30)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
