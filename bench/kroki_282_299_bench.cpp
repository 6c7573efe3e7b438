// Steps 2.82 to 2.99 over a database at version 2.81 of a given number of days: the
// sales-invoice line key (2.83, 2.85), the collective-correction amounts (2.93), the
// zero-quantity line delete (2.95) and the unique number indexes (2.96) are the steps
// whose cost grows with the documents. Reported: the time of each step, per iteration,
// for one year and for two years of documents (the cost should grow linearly).
//
//   bench/kroki_282_299_bench --benchmark_counters_tabular=true
#include <map>
#include <random>
#include <string>

#include "jet/rowaccess.h"
#include "kroki_bench.h"

namespace {

using jet::Value;
using kroki_bench::Folder;

Value Kwota(double d) {
    return Value::currency(jet::Currency::from_double(d));
}

constexpr int kFakturyDziennie = 50;  // sales invoices a day, 10 lines each
constexpr int kLinieFaktury = 10;
constexpr int kKorektyDziennie = 5;  // corrections a day (every third collective), 4 lines
constexpr int kKontrahenci = 1000;
constexpr int kPracownicy = 30;  // payroll rows per monthly list

// The database at version 2.81 with `dni` days of documents, built once per size.
const std::string& baza(int dni) {
    static std::map<int, std::string> made;
    auto it = made.find(dni);
    if (it != made.end()) return it->second;
    const std::string path =
        (Folder("kroki282_bench") / ("wzor_" + std::to_string(dni) + ".mdb")).string();
    auto db = kroki_bench::Nowa_Baza(path);
    std::mt19937 los(281);
    auto losuj = [&](int od, int do_) { return std::uniform_int_distribution<int>(od, do_)(los); };
    auto sql = [&](const std::string& s) { db->execute(s); };
    auto numer = [](int d, int k) { return std::to_string(d * 100 + k + 1) + "/2002"; };

    sql("CREATE TABLE place_opisy (POLE long, OPIS text(50), SKR text(30))");
    for (int p = 0; p <= 144; ++p)
        jet::insert_row(*db, "place_opisy",
                        {{"POLE", Value::long_(p)},
                         {"OPIS", Value::text("Składnik " + std::to_string(p))},
                         {"SKR", Value::text("Skł." + std::to_string(p))}});
    sql("CREATE TABLE place_Listy (IDListy counter, data date)");
    sql("CREATE TABLE Place_Dane (IDP long, IDListy long, wartosc47 money, wartosc48 money, "
        "wartosc84 money, wartosc85 money)");
    for (int m = 0; m < dni / 30; ++m) {
        const int64_t l =
            jet::insert_row(*db, "place_Listy", {{"data", Value::date(37287 + m * 30)}});
        for (int p = 1; p <= kPracownicy; ++p)
            jet::insert_row(*db, "Place_Dane",
                            {{"IDP", Value::long_(p)},
                             {"IDListy", Value::long_(static_cast<int32_t>(l))},
                             {"wartosc47", Kwota(0)},
                             {"wartosc48", Kwota(0)},
                             {"wartosc84", Kwota(p % 4 ? 0 : 350)},
                             {"wartosc85", Kwota(p % 5 ? 0 : 120)}});
    }
    sql("CREATE TABLE kontrahenci (KONH_ID counter, KONH_NAZWA text(50), KONH_NAZWA2 "
        "text(50))");
    for (int i = 1; i <= kKontrahenci; ++i)
        jet::insert_row(*db, "kontrahenci",
                        {{"KONH_NAZWA", Value::text("Sklep spożywczy nr " + std::to_string(i))},
                         {"KONH_NAZWA2", Value::text(i % 3 ? "" : "Oddział Zakopane")}});
    sql("CREATE TABLE uzytkownicy (id counter, nazwa text(50), prawa text(255))");
    jet::insert_row(*db, "uzytkownicy",
                    {{"nazwa", Value::text("ADMIN")}, {"prawa", Value::text("1111111111")}});
    for (const char* t : {"TAB_NOWA_DOK", "TAB_NOWA_FZB", "Numery_OST_DOK"})
        sql(std::string("CREATE TABLE ") + t + " (id long)");

    sql("CREATE TABLE DOK_FAK (FAKOUT_ID counter, FAKOUT_NUMER text(200), KONH_ID long)");
    sql("CREATE TABLE DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_ILOSC single, "
        "ZFAKOUT_CENA_N money)");
    sql("CREATE TABLE DOK_KFA (FKOROUT_ID counter, fkorout_numer text(200), wart_kp money, "
        "b_rabat_n money, b_rabat_v money, fkorout_wart_n money, fkorout_rabat money)");
    sql("CREATE TABLE DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N money, "
        "CENA_ORG money)");
    sql("CREATE UNIQUE INDEX Podstawowy ON DOK_KFA_ZAWART (FKOROUT_ID, PROD_ID, "
        "ZFKOROUT_CENA_N) WITH PRIMARY");
    sql("CREATE TABLE DOK_KZA (FKOROUT_ID counter, fkorout_numer text(200), wart_kp money)");
    sql("CREATE TABLE DOK_ZAK (numer_id counter, numer_zaksiegowania text(50))");
    for (const char* t : {"DOK_DD", "DOK_DZ", "DOK_PAR", "DOK_PW", "DOK_RW", "DOK_WZ", "DOK_PZ"})
        sql(std::string("CREATE TABLE ") + t +
            " (DDOUT_ID counter, DDOUT_NUMER text(200), wart_kp money)");
    sql("CREATE TABLE DOK_FIN_ZAWART (dok_id long, rodzaj_dok text(30), kwota money)");

    for (int d = 0; d < dni; ++d) {
        for (int k = 0; k < kFakturyDziennie; ++k) {
            const int64_t f = jet::insert_row(*db, "DOK_FAK",
                                              {{"FAKOUT_NUMER", Value::text(numer(d, k))},
                                               {"KONH_ID", Value::long_(losuj(1, kKontrahenci))}});
            for (int l = 0; l < kLinieFaktury; ++l)
                jet::insert_row(*db, "DOK_FAK_ZAWART",
                                {{"FAKOUT_ID", Value::long_(static_cast<int32_t>(f))},
                                 {"PROD_ID", Value::long_(l * 20 + losuj(1, 20))},
                                 {"ZFAKOUT_ILOSC", Value::single(k % 17 ? losuj(1, 30) : 0)},
                                 {"ZFAKOUT_CENA_N", Kwota(2.5)}});
            if (k < 10) {
                for (const char* t : {"DOK_DD", "DOK_PAR", "DOK_WZ"})
                    jet::insert_row(*db, t, {{"DDOUT_NUMER", Value::text(numer(d, k))}});
            }
        }
        for (int k = 0; k < kKorektyDziennie; ++k) {
            const int64_t kf = jet::insert_row(*db, "DOK_KFA",
                                               {{"fkorout_numer", Value::text(numer(d, k))},
                                                {"wart_kp", Kwota(0)},
                                                {"b_rabat_n", Kwota(0)},
                                                {"b_rabat_v", Kwota(0)},
                                                {"fkorout_wart_n", Kwota(losuj(10, 500))},
                                                {"fkorout_rabat", Kwota(k % 4 ? 0 : 5)}});
            for (int l = 0; l < 4; ++l)
                jet::insert_row(*db, "DOK_KFA_ZAWART",
                                {{"FKOROUT_ID", Value::long_(static_cast<int32_t>(kf))},
                                 {"PROD_ID", Value::long_(l + 1)},
                                 {"ZFKOROUT_CENA_N", Kwota(2.5)},
                                 {"CENA_ORG", Kwota(2.7)}});
            jet::insert_row(*db, "DOK_FIN_ZAWART",
                            {{"dok_id", Value::long_(static_cast<int32_t>(kf))},
                             {"rodzaj_dok", Value::text(k % 2 ? "Korekta" : "Faktura")},
                             {"kwota", Kwota(losuj(10, 200))}});
            jet::insert_row(*db, "DOK_KZA", {{"fkorout_numer", Value::text(numer(d, k))}});
            for (const char* t : {"DOK_DZ", "DOK_PW", "DOK_RW", "DOK_PZ"})
                jet::insert_row(
                    *db, t,
                    {{"DDOUT_NUMER", Value::text(numer(d, k))}, {"wart_kp", Kwota(losuj(5, 50))}});
            jet::insert_row(*db, "DOK_ZAK", {{"numer_zaksiegowania", Value::text(numer(d, k))}});
        }
    }
    db->close();
    return made.emplace(dni, path).first->second;
}

void BM_Kroki282_299(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, baza(static_cast<int>(state.range(0))), 282, 299, [](int v) {
        if (v != 290) return;
        // Every third correction collective, with returns linked to it.
        polaczenie().Execute("update DOK_KFA set Zbiorcza=-1 where FKOROUT_ID mod 3=0");
        polaczenie().Execute(
            "update DOK_DZ set Id_KorFak=DDOUT_ID, KorFak=-1 where DDOUT_ID mod 3=0");
    });
}
BENCHMARK(BM_Kroki282_299)->Arg(365)->Arg(730)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
