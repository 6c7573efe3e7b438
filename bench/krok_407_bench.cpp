// Step 4.07 over a database at version 4.06 of the large size: two years of daily
// production documents of 30 lines spread over three shifts, each line with the raw
// materials of its recipe, and the document headers the step gives one column set.
// Reported: the time of the step per iteration.
//
//   bench/krok_407_bench --benchmark_counters_tabular=true
#include <random>
#include <string>

#include "jet/dates.h"
#include "jet/rowaccess.h"
#include "kroki_bench.h"

namespace {

using jet::Value;
using kroki_bench::Folder;

constexpr int kDni = 730;
constexpr int kLinie = 30;
constexpr int kSurowce = 3;

const std::string& baza() {
    static const std::string path = [] {
        const std::string p = (Folder("krok407_bench") / "wzor.mdb").string();
        auto db = kroki_bench::Nowa_Baza(p);
        std::mt19937 los(407);
        auto losuj = [&](int od, int do_) {
            return std::uniform_int_distribution<int>(od, do_)(los);
        };
        auto sql = [&](const std::string& s) { db->execute(s); };
        auto l = [](int v) { return Value::long_(v); };
        auto s = [](int v) { return Value::single(static_cast<float>(v)); };

        sql("create table Setup (Nazwa text(50), Wartosc text(255))");
        sql("create table kontrahenci (konh_id long, sm_id long, sm_dd_id long, kier_id long, "
            "konh_naz_skrot text(16), KONH_nazwa text(50))");
        sql("create table sposob_numeracji (sm_id long, tryb long, rob_kier logical, zmiany "
            "logical)");
        sql("create table Numery_OST_DOK_NAG (dokument text(50), nazwa text(50))");
        sql("create table PRODUKTY (PROD_ID long, Grupa_w_Zam text(50))");
        for (int i = 1; i <= 200; ++i)
            jet::insert_row(*db, "PRODUKTY",
                            {{"PROD_ID", l(i)},
                             {"Grupa_w_Zam", Value::text("Grupa " + std::to_string(i % 7))}});
        for (const char* t :
             {"DOK_DD", "DOK_RW", "DOK_FAK", "DOK_PAR", "DOK_DZ", "DOK_PW", "DOK_PZ", "DOK_WZ",
              "DOK_KFA", "DOK_KZA", "DOK_ZAK", "DOK_PFA", "DOK_ZPF"}) {
            sql(std::string("create table ") + t +
                " (DDOUT_ID counter, DDOUT_NUMER text(50), rodzdok text(1), Remanent logical, "
                "zakup logical)");
            sql(std::string("create table ") + t + "_ZAWART (DDOUT_ID long, PROD_ID long)");
        }
        sql("create table DOK_PRO (DDOUT_ID counter, DDOUT_NUMER text(50), DDOUT_DATA_WYST "
            "date, DDOUT_WART_N money, num_ndok long, smz_id long, Remanent logical)");
        sql("create unique index UnicNumer on DOK_PRO (DDOUT_NUMER)");
        sql("create table DOK_PRO_ZAWART (DDOUT_ID long, PROD_ID long, ilosc_zam single, "
            "ilosc_zam2 single, ilosc_zam3 single, ilosc_prod single, ilosc_prod2 single, "
            "ilosc_prod3 single, WSPRZ_CENA_B money)");
        sql("create unique index Podstawowy on DOK_PRO_ZAWART (DDOUT_ID, PROD_ID) with primary");
        sql("create table DOK_PRO_ZAWART_SUROWCE (ddout_id long, Prod_id long, sur_id long, "
            "Ilosc single, Wartosc money)");
        sql("create table DOK_PRO_SUROWCE (ddout_id long, sur_id long, Ilosc single, Wartosc "
            "money)");
        const double dzien0 = *jet::dates::to_serial(2002, 1, 1);
        for (int d = 1; d <= kDni; ++d) {
            jet::insert_row(*db, "DOK_PRO",
                            {{"DDOUT_ID", l(d)},
                             {"DDOUT_NUMER", Value::text(std::to_string(d) + "/P")},
                             {"DDOUT_DATA_WYST", Value::date(dzien0 + d)},
                             {"num_ndok", l(d)},
                             {"smz_id", l(0)}});
            for (int i = 1; i <= kLinie; ++i) {
                // Most lines run in the first shift; some in the second or third too.
                const int z1 = d % 5 == 0 ? 0 : losuj(10, 100);
                const int z2 = i % 3 == 0 ? losuj(5, 50) : 0;
                const int z3 = i % 4 == 0 ? losuj(5, 30) : 0;
                jet::insert_row(
                    *db, "DOK_PRO_ZAWART",
                    {{"DDOUT_ID", l(d)},
                     {"PROD_ID", l(i + d % 170)},
                     {"ilosc_prod", s(z1)},
                     {"ilosc_prod2", s(z2)},
                     {"ilosc_prod3", s(z3)},
                     {"WSPRZ_CENA_B",
                      Value::currency(jet::Currency::from_double((z1 + z2 + z3) * 0.85))}});
                for (int r = 1; r <= kSurowce; ++r)
                    jet::insert_row(
                        *db, "DOK_PRO_ZAWART_SUROWCE",
                        {{"ddout_id", l(d)},
                         {"Prod_id", l(i + d % 170)},
                         {"sur_id", l(1000 + r)},
                         {"Ilosc", s(z1 + z2 + z3)},
                         {"Wartosc",
                          Value::currency(jet::Currency::from_double((z1 + z2 + z3) * 0.2 * r))}});
            }
            for (int r = 1; r <= kSurowce; ++r)
                jet::insert_row(*db, "DOK_PRO_SUROWCE",
                                {{"ddout_id", l(d)},
                                 {"sur_id", l(1000 + r)},
                                 {"Ilosc", s(100 * r)},
                                 {"Wartosc", Value::currency(jet::Currency::from_double(20 * r))}});
        }
        db->close();
        return p;
    }();
    return path;
}

void BM_Krok407(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, baza(), 407, 407);
}
BENCHMARK(BM_Krok407)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
