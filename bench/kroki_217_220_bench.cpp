// Steps 2.17 to 2.20 over a bakery database at version 2.16 of a given number of days:
// the sales-stock recount (2.18) reads every sales line once; the production costing
// (2.20) makes one document per report day and costs each of its lines (eighteen
// statements and two recordsets per line). Reported: the time of each step, per
// iteration, for one year and for two years of documents (the cost should grow
// linearly with the days).
//
//   bench/kroki_217_220_bench --benchmark_counters_tabular=true
#include <map>
#include <random>
#include <string>

#include "jet/rowaccess.h"
#include "kroki_bench.h"

namespace {

using jet::Value;

constexpr int kWlasne = 100;      // own products 1..100, made by recipe (yield 50)
constexpr int kPolprodukty = 10;  // semi-products 101..110 (yield 10)
constexpr int kSurowce = 40;      // raw materials 111..150 (yield Null)
constexpr int kTowary = 50;       // goods 151..200
constexpr int kProdukty = kWlasne + kPolprodukty + kSurowce + kTowary;
constexpr int kDokumentyDziennie = 50;  // sales documents a day, 20 lines each
constexpr int kLinieDokumentu = 20;
constexpr double kPierwszyDzien = 37622;  // 1 January 2003

// The database at version 2.16 with `dni` days of documents, built once per size.
const std::string& baza(int dni) {
    static std::map<int, std::string> made;
    auto it = made.find(dni);
    if (it != made.end()) return it->second;
    const std::string path =
        (kroki_bench::Folder("kroki217_bench") / ("wzor_" + std::to_string(dni) + ".mdb")).string();
    auto db = kroki_bench::Nowa_Baza(path);
    std::mt19937 los(216);
    auto losuj = [&](int od, int do_) { return std::uniform_int_distribution<int>(od, do_)(los); };
    auto sql = [&](const char* s) { db->execute(s); };

    sql("CREATE TABLE wlasciciel (naz1 text(100))");
    sql("CREATE TABLE ustawienia (akt_rok integer)");
    sql("CREATE TABLE KADRY_Pracownicy (id counter, nazwisko text(50))");
    sql("CREATE TABLE ZAKUPY_KOREKTA (numer_id counter, numer text(50))");
    sql("CREATE TABLE ZAKUPY_KOREKTA_ZAWART (numer_id long, sur_id long)");
    sql("CREATE TABLE REMANENTINWENT (ID_RI counter, Data date)");
    sql("CREATE TABLE PRODUKTY (prod_id counter, PROD_NAZWA_id text(50), PROD_WYDAJNOSCzREC "
        "single, PROD_WAGA single, act_recipe logical, act_to_rec logical)");
    sql("CREATE UNIQUE INDEX prod_id ON PRODUKTY (prod_id)");
    sql("CREATE TABLE PRODUKTY_Receptury (PROD_ID long, sur_id long, ilosc_sur single)");
    sql("CREATE TABLE SPRZEDAZ_ILOSC (prod_id long, ILOSC single, rozch_il single)");
    sql("CREATE TABLE SPRZEDAZ_NEW (DDOUT_ID counter, DDOUT_NUMER text(50), DDOUT_DATA_WYST "
        "date, rodzdok text(1))");
    sql("CREATE UNIQUE INDEX Podstawowy ON SPRZEDAZ_NEW (DDOUT_ID) WITH PRIMARY");
    sql("CREATE TABLE SPRZEDAZ_ZAWARTOSC (SPRZ_ID long, PROD_ID long, WSPRZ_ILOSC single)");
    sql("CREATE INDEX SPRZ_ID ON SPRZEDAZ_ZAWARTOSC (SPRZ_ID)");
    sql("CREATE TABLE zakupy (numer_id counter, numer_zaksiegowania text(50), "
        "data_zaksiegowania date, WART_N single, VAT single)");
    sql("CREATE TABLE ZAKUPY_ZAWART (numer_id long, sur_id long, ILOSC single, CENA_N single, "
        "WART_N single)");
    sql("CREATE TABLE ZAMOWIENIA_RAPORT (data date, prod_id long, ilosc_zam single, ilosc_prod "
        "single, ilosc_prod2 single, ilosc_prod3 single, ilosc_zam2 single, ilosc_zam3 single, "
        "blok long)");

    jet::insert_row(*db, "wlasciciel", {{"naz1", Value::text("Piekarnia")}});
    jet::insert_row(*db, "ustawienia", {{"akt_rok", Value::integer(2003)}});
    for (int p = 1; p <= kProdukty; ++p) {
        const bool wlasny = p <= kWlasne, pol = p > kWlasne && p <= kWlasne + kPolprodukty;
        const bool surowiec = p > kWlasne + kPolprodukty && p <= kWlasne + kPolprodukty + kSurowce;
        jet::insert_row(*db, "PRODUKTY",
                        {{"PROD_NAZWA_id", Value::text("Produkt " + std::to_string(p))},
                         {"PROD_WYDAJNOSCzREC", surowiec ? Value::null()
                                                         : Value::single(wlasny ? 50
                                                                         : pol  ? 10
                                                                                : 1)},
                         {"PROD_WAGA", Value::single(1)},
                         {"act_recipe", Value::boolean(wlasny || pol)},
                         {"act_to_rec", Value::boolean(pol || surowiec)}});
        jet::insert_row(*db, "SPRZEDAZ_ILOSC",
                        {{"prod_id", Value::long_(p)},
                         {"ILOSC", Value::single(losuj(0, 400))},
                         {"rozch_il", Value::single(0)}});
        if (wlasny || pol) {
            for (int s = 0; s < 4; ++s)
                jet::insert_row(*db, "PRODUKTY_Receptury",
                                {{"PROD_ID", Value::long_(p)},
                                 {"sur_id", Value::long_(kWlasne + kPolprodukty + 1 +
                                                         (p * 7 + s * 3) % kSurowce)},
                                 {"ilosc_sur", Value::single(losuj(1, 20) / 4.0f)}});
            if (wlasny)
                jet::insert_row(*db, "PRODUKTY_Receptury",
                                {{"PROD_ID", Value::long_(p)},
                                 {"sur_id", Value::long_(kWlasne + 1 + p % kPolprodukty)},
                                 {"ilosc_sur", Value::single(2)}});
        }
    }
    jet::insert_row(*db, "REMANENTINWENT", {{"Data", Value::date(kPierwszyDzien + dni / 2)}});
    for (int d = 0; d < dni; ++d) {
        const double dzien = kPierwszyDzien + d;
        // One purchase a day, ten raw materials, booked the same day (every eleventh not).
        const int64_t z = jet::insert_row(
            *db, "zakupy",
            {{"numer_zaksiegowania", Value::text(d % 11 ? std::to_string(d + 1) + "/03" : "")},
             {"data_zaksiegowania", Value::date(dzien + 0.4)},
             {"WART_N", Value::single(0)},
             {"VAT", Value::single(0)}});
        for (int l = 0; l < 10; ++l) {
            const int ilosc = losuj(5, 100);
            jet::insert_row(
                *db, "ZAKUPY_ZAWART",
                {{"numer_id", Value::long_(static_cast<int32_t>(z))},
                 {"sur_id", Value::long_(kWlasne + 1 + (d + l * 5) % (kPolprodukty + kSurowce))},
                 {"ILOSC", Value::single(ilosc)},
                 {"CENA_N", Value::single(2.5f)},
                 {"WART_N", Value::single(ilosc * 2.5f)}});
        }
        for (int k = 0; k < kDokumentyDziennie; ++k) {
            const int64_t id = jet::insert_row(
                *db, "SPRZEDAZ_NEW",
                {{"DDOUT_NUMER", Value::text(k % 9 ? std::to_string(d * 100 + k) : "")},
                 {"DDOUT_DATA_WYST", Value::date(dzien + k / 100.0)},
                 {"rodzdok", Value::text(k % 5 ? "R" : "F")}});
            for (int l = 0; l < kLinieDokumentu; ++l)
                jet::insert_row(*db, "SPRZEDAZ_ZAWARTOSC",
                                {{"SPRZ_ID", Value::long_(static_cast<int32_t>(id))},
                                 {"PROD_ID", Value::long_(losuj(1, kProdukty))},
                                 {"WSPRZ_ILOSC", Value::single(losuj(1, 30))}});
        }
        for (int p = 1; p <= kWlasne; ++p) {
            if ((d + p) % 3 == 0) continue;
            const int zam = losuj(20, 300);
            jet::insert_row(*db, "ZAMOWIENIA_RAPORT",
                            {{"data", Value::date(dzien)},
                             {"prod_id", Value::long_(p)},
                             {"ilosc_zam", Value::single(zam)},
                             {"ilosc_prod", Value::single(zam + losuj(0, 10))},
                             {"ilosc_prod2", Value::single(0)},
                             {"ilosc_prod3", Value::single(0)},
                             {"ilosc_zam2", Value::single(0)},
                             {"ilosc_zam3", Value::single(0)},
                             {"blok", Value::long_(0)}});
        }
    }
    db->close();
    return made.emplace(dni, path).first->second;
}

void BM_Kroki217_220(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, baza(static_cast<int>(state.range(0))), 217, 220);
}
BENCHMARK(BM_Kroki217_220)->Arg(365)->Arg(730)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
