// Steps 3.88 and 3.89 over a database at version 3.87 of the large size: 1,000
// contractors with their driver slots, two years of document headers carrying a driver,
// cash documents with payees and settlement lines, employees with their personnel rows.
// Reported: the time of each step per iteration.
//
//   bench/kroki_388_389_bench --benchmark_counters_tabular=true
#include <random>
#include <string>

#include "jet/rowaccess.h"
#include "kroki_bench.h"

namespace {

using jet::Value;
using kroki_bench::Folder;

constexpr int kDni = 730;
constexpr int kKontrahenci = 1000;
constexpr int kKierowcy = 12;
constexpr int kPracownicy = 40;

const std::string& baza() {
    static const std::string path = [] {
        const std::string p = (Folder("kroki388_bench") / "wzor.mdb").string();
        auto db = kroki_bench::Nowa_Baza(p);
        std::mt19937 los(388);
        auto losuj = [&](int od, int do_) {
            return std::uniform_int_distribution<int>(od, do_)(los);
        };
        auto sql = [&](const std::string& s) { db->execute(s); };
        auto t = [](const std::string& s) { return Value::text(s); };
        auto l = [](int v) { return Value::long_(v); };

        std::string kier;
        for (int i = 2; i <= 9; ++i) kier += ", Kier_id" + std::to_string(i) + " long";
        sql("create table KONTRAHENCI (konh_id counter, konh_numer long, konh_activ logical, "
            "KONH_NAZ_SKROT text(16), konh_kod text(15), KONH_NAZWA text(80), KONH_NAZWA2 "
            "text(80), RKONH_NAZWA_ID text(50), KONH_ulica text(50), konh_kodpocztowy text(10), "
            "KONH_miejscowosc text(50), KONH_TEL text(30), KONH_NAZ_BANK text(50), KONH_NR_KONTA "
            "text(50), opis text(100), Powiat text(50), nr_konta_kasowego text(30), Kier_id long" +
            kier + ")");
        sql("create unique index Podstawowy on KONTRAHENCI (konh_id) with primary");
        for (int i = 1; i <= kKontrahenci; ++i)
            jet::insert_row(*db, "KONTRAHENCI",
                            {{"konh_numer", l(i)},
                             {"konh_activ", Value::boolean(true)},
                             // Every 50th short name and code repeats an earlier one.
                             {"KONH_NAZ_SKROT", t("Sklep " + std::to_string(i % 50 ? i : i - 1))},
                             {"konh_kod", t("K" + std::to_string(i % 40 ? i : i - 1))},
                             {"KONH_NAZWA", t("Sklep spożywczy nr " + std::to_string(i))},
                             {"RKONH_NAZWA_ID", t("Odbiorca")},
                             {"Kier_id", l(losuj(1, kKierowcy))},
                             {"Kier_id2", l(i % 3 ? 0 : losuj(1, kKierowcy))}});
        sql("create table S_US (id long, nazwa text(80), ulica text(50), Kod text(10), miasto "
            "text(50))");
        for (int i = 1; i <= 3; ++i)
            jet::insert_row(*db, "S_US",
                            {{"id", l(i)}, {"nazwa", t("Urząd Skarbowy " + std::to_string(i))}});
        sql("create table S_Kierowcy (Kier_id long, kier_symbol text(16), kier_nazwa text(50), "
            "Kier_opis text(100))");
        for (int i = 1; i <= kKierowcy; ++i)
            jet::insert_row(*db, "S_Kierowcy",
                            {{"Kier_id", l(i)},
                             {"kier_symbol", t("K" + std::to_string(i))},
                             {"kier_nazwa", t("Kierowca " + std::to_string(i))}});
        sql("create table KADRY_PRACOWNICY (id long, Numer long, Nazwisko text(50), Imie1 "
            "text(50), imie_oj text(50), imie_m text(50), miejsce_ur text(50), Plec text(1), "
            "imie2 text(50), kategoria text(1), ube byte, ubr byte, ubc byte, ubw byte, ubz byte, "
            "nazwisko_p text(50), kodzus text(6), Dowod text(20), Paszport text(20), KartaStP "
            "byte, KartaCzP byte, Etat text(20), US long, Data_UR date, BANK text(50), KONTO "
            "text(50))");
        for (int i = 1; i <= kPracownicy; ++i)
            jet::insert_row(*db, "KADRY_PRACOWNICY",
                            {{"id", l(i)},
                             {"Numer", l(100 + i)},
                             {"Nazwisko", t("Nazwisko" + std::to_string(i))},
                             {"Imie1", t("Jan")},
                             {"US", l(losuj(1, 3))}});
        sql("create table Platnik (idp long, Nazwisko text(50), imie text(50))");
        sql("create table Platnik_dane (idp long, Nazwa text(50), Wartosc text(100))");
        sql("create table Deklaracje (id counter, Nazwa text(50), IDP long)");
        for (int i = 1; i <= 2; ++i) {
            jet::insert_row(*db, "Platnik", {{"idp", l(i)}, {"Nazwisko", t("Wspólnik")}});
            jet::insert_row(*db, "Platnik_dane",
                            {{"idp", l(i)},
                             {"Nazwa", t("W:NAZWA 1_PIT5_")},
                             {"Wartosc", t("Wspólnik " + std::to_string(i))}});
            for (int m = 0; m < 24; ++m)
                jet::insert_row(*db, "Deklaracje", {{"Nazwa", t("PIT-5")}, {"IDP", l(i)}});
        }
        // Document headers with a driver: invoices 50 a day, notes 10 a day, others 5.
        const std::pair<const char*, int> dokumenty[] = {
            {"DOK_FAK", 50}, {"DOK_DD", 10}, {"DOK_DZ", 5}, {"DOK_KFA", 5}, {"DOK_KZA", 5},
            {"DOK_PAR", 10}, {"DOK_PW", 5},  {"DOK_PZ", 5}, {"DOK_RW", 5},  {"DOK_WZ", 10}};
        for (const auto& [tab, dziennie] : dokumenty) {
            sql(std::string("create table ") + tab + " (id counter, konh_id long, Kier_id long)");
            for (int i = 0; i < kDni * dziennie; ++i)
                jet::insert_row(
                    *db, tab,
                    {{"konh_id", l(losuj(1, kKontrahenci))}, {"Kier_id", l(losuj(1, kKierowcy))}});
        }
        sql("create table DOK_ZAK (numer_id counter, numer_dokumentu text(50), konh_id long)");
        for (int i = 0; i < kDni * 5; ++i)
            jet::insert_row(*db, "DOK_ZAK",
                            {{"numer_dokumentu", t("F " + std::to_string(i))},
                             {"konh_id", l(losuj(1, kKontrahenci))}});
        sql("create table DOK_FIN (kp_id counter, konh_id long, Dla text(80), Kierowca_id long, "
            "ID_KASY long)");
        sql("create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long, kwota "
            "money)");
        for (int i = 1; i <= kDni * 4; ++i) {
            // Every fourth has no party: a payee text, or none (those 3.89 looks up).
            const bool bez = i % 4 == 0;
            jet::insert_row(
                *db, "DOK_FIN",
                {{"konh_id", l(bez ? 0 : losuj(1, kKontrahenci))},
                 {"Dla", bez && i % 8 == 0
                             ? Value::null()
                             : t(bez ? "Odbiorca " + std::to_string(losuj(1, 40)) : "Niezależne")},
                 {"Kierowca_id", l(losuj(0, kKierowcy))},
                 {"ID_KASY", l(losuj(1, 3))}});
            jet::insert_row(*db, "DOK_FIN_ZAWART",
                            {{"kp_id", l(i)},
                             {"rodzaj_dok", t(i % 3 ? "Faktura" : "Zakup")},
                             {"dok_id", l(losuj(1, kDni * 5))}});
        }
        sql("create table DOK_FRA (id counter, ID_KASY long)");
        for (int i = 0; i < kDni; ++i)
            jet::insert_row(*db, "DOK_FRA", {{"ID_KASY", l(losuj(1, 3))}});
        sql("create table KASYBANKI (id_kasy long, nazwa text(50), Opis text(100), rodz text(1), "
            "Nr_Banku text(50), NR_Konta text(50), KodPocztowy text(10), Ulica text(50), Telefon "
            "text(30), MIEJSCOWOSC text(50), Saldo money, NRWFK text(30))");
        jet::insert_row(*db, "KASYBANKI",
                        {{"id_kasy", l(1)}, {"nazwa", t("Kasa główna")}, {"rodz", t("K")}});
        jet::insert_row(*db, "KASYBANKI",
                        {{"id_kasy", l(2)}, {"nazwa", t("Kasa sklepu")}, {"rodz", t("K")}});
        jet::insert_row(*db, "KASYBANKI",
                        {{"id_kasy", l(3)}, {"nazwa", t("PKO BP")}, {"rodz", t("B")}});
        for (const char* tab : {"KADRY_ADRESY", "KADRY_NADGODZINY", "KADRY_OPCJE", "KADRY_PIT",
                                "KADRY_PODATEK", "KADRY_RODZINA", "KADRY_UMOWY", "KADRY_UMOWYC",
                                "KADRY_WARUNKI", "KADRY_NIEOBECNOSCI", "KADRY_SWIADECTWA"}) {
            sql(std::string("create table ") + tab + " (ID_prac long)");
            for (int i = 1; i <= kPracownicy * 3; ++i)
                jet::insert_row(*db, tab, {{"ID_prac", l(1 + i % kPracownicy)}});
        }
        sql("create table PLACE_DANE (IDP long, IDListy long)");
        for (int m = 1; m <= 24; ++m)
            for (int i = 1; i <= kPracownicy; ++i)
                jet::insert_row(*db, "PLACE_DANE", {{"IDP", l(i)}, {"IDListy", l(m)}});
        sql("create table KADRY_NIEOBECNOSCI_S (id long)");
        db->close();
        return p;
    }();
    return path;
}

void BM_Kroki388_389(benchmark::State& state) {
    kroki_bench::Mierz_Kroki(state, baza(), 388, 389);
}
BENCHMARK(BM_Kroki388_389)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
