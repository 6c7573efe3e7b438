// Steps 3.01 to 3.09, 3.12 and 3.30 over a database at version 3.00 of a given number of
// days from 1 January 2001: delivery notes and returns billed by collective invoices that
// list them, ordinary invoices, the other document kinds, production lines and the VAT
// register. The notes marked settled (3.05) and the collective amounts recomputed from
// the note lists (3.30) are the steps whose cost grows with the documents. Reported: the
// time of each step, per iteration, for half a year and for a year of documents.
//
//   bench/kroki_301_330_bench --benchmark_counters_tabular=true
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

constexpr int kNotyDziennie = 40;     // delivery notes a day
constexpr int kZwrotyDziennie = 4;    // returns a day
constexpr int kZbiorczeDziennie = 5;  // collective invoices a day, each listing 8 notes
constexpr int kFakturyDziennie = 20;  // ordinary invoices a day
constexpr int kInneDziennie = 5;      // documents a day of each other kind
constexpr int kProdukty = 200;
constexpr double k1Stycznia2001 = 36892;

// The database at version 3.00 with `dni` days of documents, built once per size.
const std::string& baza(int dni) {
    static std::map<int, std::string> made;
    auto it = made.find(dni);
    if (it != made.end()) return it->second;
    const std::string path =
        (Folder("kroki301_bench") / ("wzor_" + std::to_string(dni) + ".mdb")).string();
    auto db = kroki_bench::Nowa_Baza(path);
    std::mt19937 los(300);
    auto losuj = [&](int od, int do_) { return std::uniform_int_distribution<int>(od, do_)(los); };
    auto sql = [&](const std::string& s) { db->execute(s); };
    auto numer = [](const char* p, int d, int k) {
        return std::string(p) + std::to_string(d * 100 + k + 1) + "/2001";
    };

    sql("CREATE TABLE tabela_vat (Countt counter, id long, r_dok text(50), n22 money, vat22 "
        "money)");
    sql("CREATE TABLE DOK_FAK (FAKOUT_ID counter, FAKOUT_NUMER text(200), KONH_ID long, "
        "FAKOUT_DATA_WYST date, FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD memo, wart_dd money, "
        "wart_kp money, FAKOUT_WART_N money, FAKOUT_WART_VAT money, smz_id long)");
    for (const char* t : {"DOK_DD", "DOK_DZ"})
        sql(std::string("CREATE TABLE ") + t +
            " (DDOUT_ID counter, DDOUT_NUMER text(200), KONH_ID long, DDOUT_DATA_WYST date, "
            "DDOUT_DO_ROZLICZENIA logical, Zbiorczy_id long, KorFak logical, Id_KorFak long, "
            "wart_kp money, smz_id long)");
    for (const char* t : {"DOK_PAR", "DOK_WZ", "DOK_PZ", "DOK_PW", "DOK_RW"})
        sql(std::string("CREATE TABLE ") + t +
            " (DDOUT_ID counter, DDOUT_NUMER text(200), wart_kp money, smz_id long)");
    for (const char* t : {"DOK_KFA", "DOK_KZA"})
        sql(std::string("CREATE TABLE ") + t +
            " (FKOROUT_ID counter, fkorout_numer text(200), tekst_kor text(100), wart_kp money, "
            "smz_id long)");
    sql("CREATE TABLE DOK_ZAK (numer_id counter, numer_zaksiegowania text(50), wart_kp money)");
    sql("CREATE TABLE SPOSOB_NUMERACJI_ZAWART (id long, sm_id long)");
    for (int i = 1; i <= 24; ++i)
        jet::insert_row(*db, "SPOSOB_NUMERACJI_ZAWART",
                        {{"id", Value::long_(i)}, {"sm_id", Value::long_(1 + (i - 1) / 12)}});
    sql("CREATE TABLE UZYTKOWNICY (nazwisko_uzytkownika text(100), prawa text(255), Stanowisko "
        "long)");
    sql("CREATE TABLE Drukarki (ID counter, Port text(100), LoginName text(80))");
    sql("CREATE TABLE Setup (Nazwa text(100), Wartosc memo)");
    for (const char* u : {"ADMIN", "Kasia", "Marek"}) {
        jet::insert_row(*db, "UZYTKOWNICY",
                        {{"nazwisko_uzytkownika", Value::text(u)},
                         {"prawa", Value::text("1101100000")},
                         {"Stanowisko", Value::long_(1)}});
        jet::insert_row(*db, "Drukarki",
                        {{"Port", Value::text("LPT1")}, {"LoginName", Value::text(u)}});
    }
    sql("CREATE TABLE PRODUKTY (PROD_ID counter, PROD_NAZWA text(50))");
    for (int p = 1; p <= kProdukty; ++p)
        jet::insert_row(*db, "PRODUKTY",
                        {{"PROD_NAZWA", Value::text("Wyrób " + std::to_string(p))}});
    sql("CREATE TABLE Kontrahenci (KONH_ID counter, KONH_NAZWA text(80))");
    sql("CREATE TABLE ZAMOWIENIA_KOMENTARZE (Data date, konh_id long, TEKST memo, iddd counter)");
    sql("CREATE TABLE STANY_MAGAZYNOWE (PROD_ID long, ILOSC single)");
    sql("CREATE TABLE DOK_PRO_zawart (DDOUT_ID long, PROD_ID long, ILOSC single)");
    sql("CREATE TABLE DOK_PRO_zawart_SUROWCE (DDOUT_ID long, PROD_ID long, SUR_ID long, ILOSC "
        "single)");

    for (int d = 0; d < dni; ++d) {
        const Value dzien = Value::date(k1Stycznia2001 + d);
        std::vector<double> kwoty;
        std::vector<std::string> listy(kZbiorczeDziennie);
        for (int k = 0; k < kNotyDziennie; ++k) {
            const double kwota = losuj(2000, 90000) / 1000.0;
            kwoty.push_back(kwota);
            jet::insert_row(*db, "DOK_DD",
                            {{"DDOUT_NUMER", Value::text(numer("DD ", d, k))},
                             {"KONH_ID", Value::long_(1 + k)},
                             {"DDOUT_DATA_WYST", dzien},
                             {"DDOUT_DO_ROZLICZENIA", Value::boolean(k % 5 != 0)},
                             {"Zbiorczy_id", Value::long_(0)},
                             {"KorFak", Value::boolean(k == 7)},
                             {"Id_KorFak", Value::long_(0)},
                             {"wart_kp", Kwota(kwota)},
                             {"smz_id", Value::long_(1 + d % 24)}});
            listy[static_cast<size_t>(k % kZbiorczeDziennie)] += "«+»" + numer("DD ", d, k);
        }
        for (int k = 0; k < kZwrotyDziennie; ++k) {
            jet::insert_row(*db, "DOK_DZ",
                            {{"DDOUT_NUMER", Value::text(numer("DZ ", d, k))},
                             {"KONH_ID", Value::long_(1 + k)},
                             {"DDOUT_DATA_WYST", dzien},
                             {"DDOUT_DO_ROZLICZENIA", Value::boolean(true)},
                             {"Zbiorczy_id", Value::long_(0)},
                             {"KorFak", Value::boolean(false)},
                             {"Id_KorFak", Value::long_(0)},
                             {"wart_kp", Kwota(losuj(100, 900) / 100.0)},
                             {"smz_id", Value::long_(0)}});
            listy[static_cast<size_t>(k)] += "«-»" + numer("DZ ", d, k);
        }
        for (int k = 0; k < kZbiorczeDziennie + kFakturyDziennie; ++k) {
            const bool zbiorcza = k < kZbiorczeDziennie;
            const int64_t f = jet::insert_row(
                *db, "DOK_FAK",
                {{"FAKOUT_NUMER", Value::text(numer("FA ", d, k))},
                 {"KONH_ID", Value::long_(1 + k)},
                 {"FAKOUT_DATA_WYST", dzien},
                 {"FAKOUT_ZBIORCZA", Value::boolean(zbiorcza)},
                 {"FAKOUT_NR_DD",
                  zbiorcza ? Value::text(listy[static_cast<size_t>(k)]) : Value::null()},
                 {"wart_dd", Kwota(zbiorcza ? losuj(10000, 40000) / 100.0 : 0)},
                 {"wart_kp", Kwota(losuj(0, 50000) / 1000.0)},
                 {"FAKOUT_WART_N", Kwota(losuj(1000, 40000) / 100.0)},
                 {"FAKOUT_WART_VAT", Kwota(losuj(100, 4000) / 100.0)},
                 {"smz_id", Value::long_(1 + d % 24)}});
            const Value id = Value::long_(static_cast<int32_t>(f));
            jet::insert_row(*db, "tabela_vat",
                            {{"id", id},
                             {"r_dok", Value::text("sprzedaż_f_vat")},
                             {"n22", Kwota(100)},
                             {"vat22", Kwota(22)}});
            if (zbiorcza && k % 2 == 0)
                jet::insert_row(*db, "tabela_vat",
                                {{"id", id},
                                 {"r_dok", Value::text("sprzedaż_f_vat_zbiorcze")},
                                 {"n22", Kwota(100)},
                                 {"vat22", Kwota(22)}});
        }
        for (int k = 0; k < kInneDziennie; ++k) {
            for (const char* t : {"DOK_PAR", "DOK_WZ", "DOK_PZ", "DOK_PW", "DOK_RW"})
                jet::insert_row(*db, t,
                                {{"DDOUT_NUMER", Value::text(numer("", d, k))},
                                 {"wart_kp", Kwota(losuj(100, 90000) / 1000.0)},
                                 {"smz_id", Value::long_(1 + k)}});
            for (const char* t : {"DOK_KFA", "DOK_KZA"})
                jet::insert_row(*db, t,
                                {{"fkorout_numer", Value::text(numer("K ", d, k))},
                                 {"tekst_kor", Value::text("Zwrot czerstwego pieczywa")},
                                 {"wart_kp", Kwota(-losuj(100, 9000) / 1000.0)},
                                 {"smz_id", Value::long_(13 + k)}});
            jet::insert_row(*db, "DOK_ZAK",
                            {{"numer_zaksiegowania", Value::text(numer("Z ", d, k))},
                             {"wart_kp", Kwota(losuj(100, 90000) / 1000.0)}});
        }
        // Production lines, one in fifty of a product that is gone.
        for (int k = 0; k < 30; ++k) {
            const int prod = k % 50 == 49 ? kProdukty + 1 : losuj(1, kProdukty);
            jet::insert_row(*db, "DOK_PRO_zawart",
                            {{"DDOUT_ID", Value::long_(d + 1)},
                             {"PROD_ID", Value::long_(prod)},
                             {"ILOSC", Value::single(static_cast<float>(losuj(1, 200)))}});
            jet::insert_row(*db, "DOK_PRO_zawart_SUROWCE",
                            {{"DDOUT_ID", Value::long_(d + 1)},
                             {"PROD_ID", Value::long_(prod)},
                             {"SUR_ID", Value::long_(losuj(1, kProdukty + 2))},
                             {"ILOSC", Value::single(1)}});
        }
    }
    // The unique number indexes that step 2.96 created.
    for (const char* t :
         {"DOK_FAK (FAKOUT_NUMER)", "DOK_DD (DDOUT_NUMER)", "DOK_DZ (DDOUT_NUMER)",
          "DOK_KFA (fkorout_numer)", "DOK_KZA (fkorout_numer)", "DOK_ZAK (numer_zaksiegowania)"})
        sql(std::string("CREATE UNIQUE INDEX UnicNumer ON ") + t);
    db->close();
    return made.emplace(dni, path).first->second;
}

// Arguments: days, first and last step number.
void BM_Kroki301_330(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, baza(static_cast<int>(state.range(0))),
                             static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
}
BENCHMARK(BM_Kroki301_330)
    ->Args({182, 301, 309})
    ->Args({182, 312, 312})
    ->Args({182, 330, 330})
    ->Args({365, 301, 309})
    ->Args({365, 312, 312})
    ->Args({365, 330, 330})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
