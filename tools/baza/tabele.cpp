// The tables of release 1.65, one function each, in building order. A table that a
// later step reads is added by writing its function and naming it in tabele_165().
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "baza.h"
#include "jet/dates.h"
#include "jet/text.h"

namespace baza {

namespace {

using jet::Value;

Value T(std::string s) {
    return Value::text(std::move(s));
}
Value L(int32_t n) {
    return Value::long_(n);
}
Value I(int16_t n) {
    return Value::integer(n);
}
Value S(double x) {
    return Value::single(static_cast<float>(x));
}
Value C(double x) {
    return Value::currency(jet::Currency::from_double(x));
}
Value D(double serial) {
    return Value::date(serial);
}
Value B(bool b) {
    return Value::boolean(b);
}

// A money amount rounded to grosze.
double grosze(double x) {
    return std::round(x * 100.0) / 100.0;
}

// ---- dictionaries -------------------------------------------------------------

void nieruszac(Budowa& b) {
    b.sql("create table Nieruszac (NumerWersji Double)");
    b.wstaw("Nieruszac", {{"NumerWersji", Value::dbl(1.65)}});
}

void uzytkownicy(Budowa& b) {
    b.sql(
        "create table UZYTKOWNICY (id counter, nazwisko_uzytkownika text(50), haslo text(50), "
        "Imie text(30), Nazwisko text(50), prawa text(255), "
        "prawaK text(255), prawaP text(255), prawaF text(255), prawaZ text(255), prawaS "
        "text(255), prawaM text(255), prawaR text(255), prawaC text(255))");
    // The administrator's account names no person.
    for (auto [n, imie, nazwisko] :
         std::array<std::tuple<const char*, const char*, const char*>, 3>{
             {{"ADMIN", nullptr, nullptr},
              {"Kasia", "Katarzyna", "Wójcik"},
              {"Marek", "Marek", "Gąsienica"}}}) {
        const std::string prawa = std::string(n) == "ADMIN" ? "1111111111" : "1101100000";
        jet::ColumnValues w = {{"nazwisko_uzytkownika", T(n)}, {"haslo", T("")}};
        if (imie) w.push_back({"Imie", T(imie)});
        if (nazwisko) w.push_back({"Nazwisko", T(nazwisko)});
        for (const char* k : {"prawa", "prawaK", "prawaP", "prawaF", "prawaZ", "prawaS", "prawaM",
                              "prawaR", "prawaC"})
            w.push_back({k, T(prawa)});
        b.wstaw("UZYTKOWNICY", w);
    }
    b.sql("create unique index nazwisko_uzytkownika on UZYTKOWNICY (nazwisko_uzytkownika)");
}

void vat_stawki(Budowa& b) {
    b.sql("create table VAT_STAWKI (stvat_id text(4), STVAT_NAZWA text(20), stawka Single)");
    for (auto [id, nazwa, st] : std::array<std::tuple<const char*, const char*, double>, 4>{
             {{"22", "22%", 22}, {"7", "7%", 7}, {"0", "0%", 0}, {"zw", "zw.", 0}}})
        b.wstaw("VAT_STAWKI", {{"stvat_id", T(id)}, {"STVAT_NAZWA", T(nazwa)}, {"stawka", S(st)}});
}

void jednostki(Budowa& b) {
    b.sql("create table jednostki (JED_NAZWA_ID text(10), opis text(50), JED_WAGAwKG Single)");
    // Weight in kg of one unit: kept only where someone filled it in.
    for (auto [j, o, waga] :
         std::array<std::tuple<const char*, const char*, double>, 5>{{{"szt", "sztuka", -1},
                                                                      {"kg", "kilogram", 1},
                                                                      {"l", "litr", 1},
                                                                      {"opak", "opakowanie", 0},
                                                                      {"tuz", "tuzin", -1}}})
        b.wstaw("jednostki", {{"JED_NAZWA_ID", T(j)},
                              {"opis", T(o)},
                              {"JED_WAGAwKG", waga < 0 ? Value::null() : S(waga)}});
}

void rodzaj_wyst_dokum(Budowa& b) {
    b.sql("create table RODZAJ_WYST_DOKUM (RDOK_NAZWA_ID text(50), rdok_nowy text(50))");
    for (const char* n : {"Faktura VAT", "Faktura VAT korekta", "Dowód dostawy", "Dowód zwrotu",
                          "Paragon", "Rachunek uproszczony", "Rachunek uproszczony zbiorczy"})
        b.wstaw("RODZAJ_WYST_DOKUM", {{"RDOK_NAZWA_ID", T(n)}, {"rdok_nowy", T(n)}});
}

void parametry_naglowek(Budowa& b) {
    b.sql("create table PARAMETRY_NAGLOWEK (dokument text(50), nazwa text(100))");
    for (auto [d, n] :
         std::array<std::pair<const char*, const char*>, 4>{{{"FA", "Faktura VAT"},
                                                             {"DD", "Dowód dostawy"},
                                                             {"PA", "Paragon"},
                                                             {"Miejsce wystawienia", "Nowy Targ"}}})
        b.wstaw("PARAMETRY_NAGLOWEK", {{"dokument", T(d)}, {"nazwa", T(n)}});
}

void formy_platnosci(Budowa& b) {
    b.sql("create table FORMY_PLATNOSCI (FPLAT_NAZWA_ID text(50), FPLAT_DNI_ZWLOKI Long)");
    for (auto [n, d] : std::array<std::pair<const char*, int>, 5>{{{"Gotówka", 0},
                                                                   {"gotówka przy odbiorze", 0},
                                                                   {"Przelew 7 dni", 7},
                                                                   {"Przelew 14 dni", 14},
                                                                   {"Kompensata", 30}}})
        b.wstaw("FORMY_PLATNOSCI", {{"FPLAT_NAZWA_ID", T(n)}, {"FPLAT_DNI_ZWLOKI", L(d)}});
}

void wlasciciel(Budowa& b) {
    b.sql(
        "create table wlasciciel (naz1 text(100), naz2 text(100), naz_skrot text(50), ulica "
        "text(60), miasto text(40), kod text(10), tel text(30), fax text(30), nip text(20), regon "
        "text(20), konto text(60), bank text(100))");
    b.wstaw("wlasciciel", {{"naz1", T("Piekarnia \"Złoty Kłos\"")},
                           {"naz2", T("Zofia i Tadeusz Gąsienica")},
                           {"naz_skrot", T("Złoty Kłos")},
                           {"ulica", T("ul. Krakowska 17")},
                           {"miasto", T("Nowy Targ")},
                           {"kod", T("34-400")},
                           {"tel", T("(018) 266 12 34")},
                           {"nip", T("735-100-23-45")},
                           {"regon", T("491234567")},
                           {"konto", T("12 1240 1431 1111 0000 1234 5678")},
                           {"bank", T("Bank Spółdzielczy w Nowym Targu")}});
}

void ustawienia(Budowa& b) {
    b.sql(
        "create table ustawienia (akt_rok Integer, roczna Logical, kopia text(100), pytaj "
        "Logical, Dr_Text text(255), Text2 text(255), Text1 text(255), text3 text(255), "
        "sum_zamowienia Logical, licz_odsetki Logical, wys_odsetek Single, drukuj_odsetki "
        "Logical, pokaz_netto Logical, sp_drukowanie Integer)");
    b.wstaw("ustawienia", {{"akt_rok", I(2000)},
                           {"roczna", B(true)},
                           {"kopia", T("A:\\")},
                           {"pytaj", B(false)},
                           {"Dr_Text", T("Dziękujemy za zakupy")},
                           {"Text1", T("Towar odebrałem")},
                           {"sum_zamowienia", B(true)},
                           {"licz_odsetki", B(false)},
                           {"wys_odsetek", S(21)},
                           {"pokaz_netto", B(true)},
                           {"sp_drukowanie", I(1)}});
}

void numeracja(Budowa& b) {
    b.sql(
        "create table SPOSOB_NUMERACJI (sm_id Long, nazwa text(50), tryb Integer, rob_kier "
        "Logical, nag_fa text(50), nag_fk text(50), nag_dd text(50), nag_dz text(50), nag_par "
        "text(50), nag_sp text(50))");
    b.wstaw("SPOSOB_NUMERACJI", {{"sm_id", L(1)},
                                 {"nazwa", T("Roczna")},
                                 {"tryb", I(0)},
                                 {"rob_kier", B(false)},
                                 {"nag_fa", T("FA")},
                                 {"nag_fk", T("FK")},
                                 {"nag_dd", T("DD")},
                                 {"nag_dz", T("DZ")},
                                 {"nag_par", T("PA")},
                                 {"nag_sp", T("SP")}});
    b.sql(
        "create table sposob_numeracji_zawart (id counter, sm_id Long, kierowca_id Long, rok "
        "text(4), miesiac text(2), nr_fa Long, nr_fk Long, nr_dd Long, nr_dz Long, nr_par Long, "
        "nr_sp Long)");
    b.wstaw("sposob_numeracji_zawart", {{"sm_id", L(1)},
                                        {"kierowca_id", L(0)},
                                        {"rok", T("2000")},
                                        {"miesiac", T("0")},
                                        {"nr_fa", L(0)},
                                        {"nr_fk", L(0)},
                                        {"nr_dd", L(0)},
                                        {"nr_dz", L(0)},
                                        {"nr_par", L(0)},
                                        {"nr_sp", L(0)}});
}

// Tables that the release no longer uses; the conversion drops them.
void stare_tabele(Budowa& b) {
    for (const char* t : {"DOKUMENTY_NIEROZLICZONE",
                          "KOSZTY",
                          "magazyn_do",
                          "MAGAZYN_DO_ZAWART",
                          "MAGAZYN_LISTA",
                          "MAGAZYN_PRZES",
                          "magazyn_z",
                          "magazyn_Z_ZAWART",
                          "MARZA",
                          "RACH_UPR_WYCH",
                          "pom_tab",
                          "RS",
                          "SPRZEDAZ",
                          "PRAWA",
                          "WYPOSAZENIE",
                          "BILANS_SUR",
                          "BILANS_PROD",
                          "MAGAZYN_ZAWARTOSC_ILOSC",
                          "remanent_zawart_pro",
                          "remanent_zawart_POM",
                          "SPRZEDAZ_PUNKTY",
                          "zlec_prod",
                          "zlec_prod_zawart",
                          "ZAKUPY_KOREKTA_ZAWART"}) {
        b.sql(std::string("create table [") + t + "] (id counter, opis text(50), kwota money)");
        b.wstaw(t, {{"opis", T("archiwum")}, {"kwota", C(0)}});
    }
    b.sql(
        "create table ZAKUPY_KOREKTA (numer_id counter, numer text(50), data Date, KONH_ID Long)");
}

// ---- stock items ----------------------------------------------------------------

struct Surowiec {
    const char* nazwa;
    const char* jed;
    double cena;
    int kod;  // sur_kod: 1 bought only
    int wl;   // prod_wl: 1 own raw material, 0 kept as goods
};

const std::vector<Surowiec>& surowce_lista() {
    static const std::vector<Surowiec> s = {
        {"Mąka pszenna typ 650", "kg", 0.98, 0, 1},
        {"Mąka pszenna typ 750", "kg", 0.92, 0, 1},
        {"Mąka żytnia typ 720", "kg", 0.85, 0, 1},
        {"Mąka żytnia razowa", "kg", 0.95, 0, 1},
        {"Drożdże piekarskie", "kg", 4.20, 0, 1},
        {"Sól warzona", "kg", 0.55, 0, 1},
        {"Cukier biały", "kg", 2.35, 0, 1},
        {"Masło 82%", "kg", 9.80, 0, 1},
        {"Margaryna piekarska", "kg", 4.10, 0, 1},
        {"Jaja kurze", "szt", 0.28, 0, 1},
        {"Mleko 2%", "l", 1.30, 0, 1},
        {"Mak niebieski", "kg", 7.50, 0, 1},
        {"Ser twarogowy", "kg", 6.20, 0, 1},
        {"Olej rzepakowy", "l", 3.40, 0, 1},
        {"Kminek", "kg", 12.00, 0, 1},
        {"Słonecznik łuskany", "kg", 4.80, 0, 1},
        {"Rodzynki", "kg", 8.90, 0, 1},
        {"Marmolada różana", "kg", 7.20, 0, 1},
        {"Torebki papierowe", "szt", 0.04, 1, 1},
        {"Folia spożywcza", "opak", 12.50, 1, 1},
        {"Skrzynki plastikowe", "szt", 18.00, 1, 1},
        {"Cukier puder", "kg", 3.10, 0, 0},
        {"Miód pszczeli", "kg", 16.00, 0, 0},
    };
    return s;
}

void surowce(Budowa& b) {
    b.sql(
        "create table SUROWCE (sur_id counter, SUR_NAZWA_id text(50), sur_numer Long, STVAT_ID "
        "text(4), JED_NAZWA_ID text(10), sur_kod Integer, SUR_SWW text(20), sur_activ Logical, "
        "sur_cena_n_ost money, prod_wl Integer)");
    int numer = 0;
    for (const Surowiec& s : surowce_lista()) {
        b.wstaw("SUROWCE", {{"SUR_NAZWA_id", T(s.nazwa)},
                            {"sur_numer", L(++numer * 3)},
                            {"STVAT_ID", T(s.kod == 1 ? "22" : "7")},
                            {"JED_NAZWA_ID", T(s.jed)},
                            {"sur_kod", I(static_cast<int16_t>(s.kod))},
                            {"SUR_SWW", T("15.81")},
                            {"sur_activ", B(true)},
                            {"sur_cena_n_ost", C(s.cena)},
                            {"prod_wl", I(static_cast<int16_t>(s.wl))}});
    }
    b.surowce = numer;
    b.sql("create index sur_numer on SUROWCE (sur_numer)");
    b.sql("create index stvat_id on SUROWCE (STVAT_ID)");
    b.sql("create index jed_id on SUROWCE (JED_NAZWA_ID)");
    b.sql("create index sur_kod on SUROWCE (sur_kod)");
    b.sql("create index sur_nazwa_id on SUROWCE (SUR_NAZWA_id)");
}

void polprodukty(Budowa& b) {
    b.sql(
        "create table POLPRODUKTY (pprod_nazwa_id text(50), JED_NAZWA_ID text(10), "
        "PPROD_WYDAJNOSCzREC Single)");
    b.sql(
        "create table PolPRODUKTY_Receptury (pprod_nazwa_id text(50), SUR_ID Long, ilosc_sur "
        "Single)");
    struct P {
        const char* nazwa;
        double wydajnosc;
        std::vector<std::pair<int, double>> sklad;  // SUROWCE id, quantity
    };
    const std::vector<P> p = {
        {"Ciasto drożdżowe", 10, {{1, 5.0}, {5, 0.25}, {7, 0.6}, {8, 0.5}, {10, 6}, {11, 2.0}}},
        {"Zaczyn żytni", 8, {{3, 4.0}, {5, 0.05}}},
        {"Masa serowa", 5, {{13, 3.0}, {7, 0.8}, {10, 4}}},
        {"Masa makowa", 5, {{12, 2.0}, {7, 0.7}, {17, 0.3}}},
    };
    for (const P& x : p) {
        b.wstaw("POLPRODUKTY", {{"pprod_nazwa_id", T(x.nazwa)},
                                {"JED_NAZWA_ID", T("kg")},
                                {"PPROD_WYDAJNOSCzREC", S(x.wydajnosc)}});
        for (auto [sur, il] : x.sklad)
            b.wstaw("PolPRODUKTY_Receptury",
                    {{"pprod_nazwa_id", T(x.nazwa)}, {"SUR_ID", L(sur)}, {"ilosc_sur", S(il)}});
    }
    b.polprodukty = static_cast<int>(p.size());
}

struct Produkt {
    std::string nazwa;
    double cena;
    int wl;  // 1 own product, 0 goods
    const char* jed;
};

std::vector<Produkt> produkty_lista(bool large) {
    std::vector<Produkt> p = {
        {"Chleb baltonowski 0,5 kg", 1.45, 1, "szt"},
        {"Chleb wiejski 1 kg", 2.60, 1, "szt"},
        {"Chleb żytni razowy", 2.20, 1, "szt"},
        {"Chleb z kminkiem", 2.10, 1, "szt"},
        {"Chleb słonecznikowy", 2.40, 1, "szt"},
        {"Bułka kajzerka", 0.22, 1, "szt"},
        {"Bułka grahamka", 0.30, 1, "szt"},
        {"Bułka maślana", 0.35, 1, "szt"},
        {"Rogal maślany", 0.45, 1, "szt"},
        {"Chałka z makiem", 1.60, 1, "szt"},
        {"Bagietka francuska", 1.10, 1, "szt"},
        {"Pączek z różą", 0.60, 1, "szt"},
        {"Drożdżówka z serem", 0.70, 1, "szt"},
        {"Drożdżówka z makiem", 0.70, 1, "szt"},
        {"Makowiec", 6.50, 1, "kg"},
        {"Sernik krakowski", 7.80, 1, "kg"},
        {"Babka piaskowa", 4.20, 1, "szt"},
        {"Strucla z rodzynkami", 3.90, 1, "szt"},
        {"Masło extra 200 g", 2.15, 0, "szt"},
        {"Mleko 2% 1 l", 1.55, 0, "szt"},
        {"Jogurt naturalny", 0.95, 0, "szt"},
        {"Sok jabłkowy 1 l", 2.30, 0, "szt"},
        {"Woda mineralna 1,5 l", 1.20, 0, "szt"},
        {"Cukier puder 0,5 kg", 1.90, 0, "szt"},
        {"Miód wielokwiatowy", 9.50, 0, "szt"},
    };
    if (large) {
        // The benchmark's assortment: sizes and variants of the same breads and buns.
        const std::vector<Produkt> baza = p;
        for (int wariant = 2; p.size() < 200; ++wariant)
            for (const Produkt& x : baza) {
                if (p.size() >= 200) break;
                p.push_back({x.nazwa.substr(0, 40) + " wz." + std::to_string(wariant),
                             grosze(x.cena * (1.0 + wariant * 0.03)), x.wl, x.jed});
            }
    }
    return p;
}

void produkty(Budowa& b) {
    b.sql(
        "create table PRODUKTY (prod_id counter, PROD_NAZWA_id text(50), prod_kod text(13), "
        "cen_id Long, prod_sww text(20), prod_jed text(10), STVAT_ID text(4), PROD_NUMER_ID Long, "
        "prod_on Logical, PROD_CENA_SUGERO money, prod_wl Integer, r_licz Integer, nawazka "
        "Single, prod_waga Single, PROD_WYDAJNOSCzREC Single, sur_id Long)");
    const auto lista = produkty_lista(b.opcje.large);
    int id = 0;
    for (const Produkt& p : lista) {
        ++id;
        jet::ColumnValues w = {{"PROD_NAZWA_id", T(p.nazwa)},
                               {"prod_kod", T("590" + std::to_string(1000000 + id * 37))},
                               {"cen_id", L(id)},
                               {"prod_sww", T(p.wl == 1 ? "15.81.11" : "15.51")},
                               {"prod_jed", T(p.jed)},
                               {"STVAT_ID", T(p.wl == 1 ? "7" : "22")},
                               {"PROD_NUMER_ID", L(id * 2)},
                               {"prod_on", B(true)},
                               {"PROD_CENA_SUGERO", C(p.cena)},
                               {"prod_wl", I(static_cast<int16_t>(p.wl))},
                               {"r_licz", I(0)},
                               {"nawazka", S(1)},
                               {"prod_waga", S(p.wl == 1 ? 0.5 : 1)},
                               {"PROD_WYDAJNOSCzREC", S(p.wl == 1 ? 50 : 0)}};
        // Two goods are the raw materials kept as goods (sugar powder, honey).
        if (p.nazwa.rfind("Cukier puder", 0) == 0) w.push_back({"sur_id", L(22)});
        if (p.nazwa.rfind("Miód", 0) == 0) w.push_back({"sur_id", L(23)});
        b.wstaw("PRODUKTY", w);
    }
    b.produkty = id;
    b.sql("create index prod_nazwa on PRODUKTY (PROD_NAZWA_id)");
    b.sql("create index cen_id on PRODUKTY (cen_id)");
    b.sql("create index prod_kod on PRODUKTY (prod_kod)");
    b.sql("create unique index [prod_id] on PRODUKTY (prod_id)");
}

void receptury(Budowa& b) {
    b.sql(
        "create table PRODUKTY_Receptury (PROD_ID Long, sur_id Long, ilosc_sur Single, "
        "ilosc_polprod Single, PPROD_nazwa_ID text(50))");
    // Own products use raw materials directly (ilosc_polprod 0) and the dough semi-products
    // (sur_id the semi-product's future id, ilosc_polprod its quantity).
    const auto lista = produkty_lista(b.opcje.large);
    for (int id = 1; id <= static_cast<int>(lista.size()); ++id) {
        if (lista[static_cast<size_t>(id - 1)].wl != 1) continue;
        const std::string nazwa = lista[static_cast<size_t>(id - 1)].nazwa;
        const bool zytni = nazwa.find("żytni") != std::string::npos;
        b.wstaw("PRODUKTY_Receptury", {{"PROD_ID", L(id)},
                                       {"sur_id", L(zytni ? 3 : 1)},
                                       {"ilosc_sur", S(zytni ? 18 : 25)},
                                       {"ilosc_polprod", S(0)}});
        b.wstaw(
            "PRODUKTY_Receptury",
            {{"PROD_ID", L(id)}, {"sur_id", L(6)}, {"ilosc_sur", S(0.4)}, {"ilosc_polprod", S(0)}});
        const int pp =
            zytni ? 2
            : nazwa.find("serem") != std::string::npos || nazwa.find("Sernik") != std::string::npos
                ? 3
            : nazwa.find("mak") != std::string::npos || nazwa.find("Mak") != std::string::npos ? 4
                                                                                               : 1;
        static const std::array<const char*, 4> kNazwy = {"Ciasto drożdżowe", "Zaczyn żytni",
                                                          "Masa serowa", "Masa makowa"};
        b.wstaw("PRODUKTY_Receptury", {{"PROD_ID", L(id)},
                                       {"sur_id", L(pp)},
                                       {"ilosc_sur", S(0)},
                                       {"ilosc_polprod", S(2.5)},
                                       {"PPROD_nazwa_ID", T(kNazwy[static_cast<size_t>(pp - 1)])}});
    }
}

void cenniki(Budowa& b) {
    b.sql(
        "create table CENNIK_LISTA (LCEN_NAZWA_ID text(20), LCEN_NETTO_usunąć money, opis "
        "text(50), LCEN_DATA Date)");
    b.sql(
        "create table cennik (cen_id Long, LCEN_NAZWA_ID text(20), PROD_ID Long, CEN_NETTO money, "
        "CEN_BRUTTO money)");
    const auto lista = produkty_lista(b.opcje.large);
    int cen_id = 0;
    for (auto [nazwa, narzut] : std::array<std::pair<const char*, double>, 3>{
             {{"Detal", 1.0}, {"Hurt", 0.9}, {"Sklepy firmowe", 0.95}}}) {
        b.wstaw("CENNIK_LISTA", {{"LCEN_NAZWA_ID", T(nazwa)},
                                 {"LCEN_NETTO_usunąć", C(0)},
                                 {"opis", T(nazwa)},
                                 {"LCEN_DATA", D(b.pierwszy_dzien + 0.375)}});  // set up at 9:00
        for (size_t i = 0; i < lista.size(); ++i) {
            const double netto = grosze(lista[i].cena * narzut);
            const double vat = lista[i].wl == 1 ? 0.07 : 0.22;
            b.wstaw("cennik", {{"cen_id", L(++cen_id)},
                               {"LCEN_NAZWA_ID", T(nazwa)},
                               {"PROD_ID", L(static_cast<int32_t>(i + 1))},
                               {"CEN_NETTO", C(netto)},
                               {"CEN_BRUTTO", C(grosze(netto * (1 + vat)))}});
        }
    }
    b.wstaw("CENNIK_LISTA", {{"LCEN_NAZWA_ID", T("Promocja 1999")}, {"opis", T("nieużywany")}});
    b.sql("create index cen_id on cennik (cen_id)");
}

void ilosci(Budowa& b) {
    b.sql("create table SPRZEDAZ_ILOSC (prod_id Long, ilosc Single)");
    b.sql("create table magazyn_produktow (prod_id Long, ilosc Single)");
    for (int id = 1; id <= b.produkty; ++id) {
        b.wstaw("SPRZEDAZ_ILOSC", {{"prod_id", L(id)}, {"ilosc", S(b.losuj(0, 400))}});
        b.wstaw("magazyn_produktow", {{"prod_id", L(id)}, {"ilosc", S(b.losuj(0, 120))}});
    }
    b.sql("create table zakupy_ilosc (sur_id Long, ilosc Single)");
    b.sql("create table zuzycie_calkowite (sur_id Long, ilosc Single)");
    for (int id = 1; id <= b.surowce - 2; ++id) {
        b.wstaw("zakupy_ilosc", {{"sur_id", L(id)}, {"ilosc", S(b.losuj(50, 900))}});
        b.wstaw("zuzycie_calkowite", {{"sur_id", L(id)}, {"ilosc", S(b.losuj(40, 800))}});
    }
}

// Old stocktaking of the release (the conversion replaces it by RemanentInwent).
void remanent(Budowa& b) {
    b.sql("create table remanent (rem_id counter, data Date, opis text(100))");
    b.sql("create table remanent_zawart (rem_id Long, prod_id Long, ilosc Single, cena money)");
    for (int r = 1; r <= 2; ++r) {
        b.wstaw("remanent", {{"data", D(b.pierwszy_dzien - 3 + (r - 1) * 30)},
                             {"opis", T(r == 1 ? "Remanent roczny" : "Remanent kontrolny")}});
        for (int id = 1; id <= b.produkty; ++id)
            b.wstaw("remanent_zawart", {{"rem_id", L(r)},
                                        {"prod_id", L(id)},
                                        {"ilosc", S(b.losuj(0, 60))},
                                        {"cena", C(1)}});
    }
}

// ---- contractors ------------------------------------------------------------------

void kontrahenci(Budowa& b) {
    b.sql(
        "create table KONTRAHENCI (KONH_ID counter, KONH_NAZ_SKROT text(50), KONH_NAZWA "
        "text(180), KONH_KOD text(10), KONH_ULICA text(60), KONH_MIEJSCOWOSC text(40), "
        "KONH_KODPOCZTOWY text(6), KONH_NIP text(20), KONH_TEL text(30), KONH_NAZ_BANK text(50), "
        "KONH_NR_KONTA text(50), KONH_NUMER Long, KONH_ACTIV Logical, WYDOK_ID Long, "
        "RKONH_NAZWA_ID text(20), RKONH_ID "
        "Long, LCEN_NAZWA_ID text(20), FPLAT_NAZWA_ID text(50), kier_id Long, konh_ilosc_kopi_f "
        "Integer, konh_ilosc_kopi_dd Integer, konh_platnik Logical, KONH_NAZWA2 text(180), sm_id "
        "Long, KONH_PLATNIK_KTO text(50), konh_okres text(30))");
    static const std::vector<std::string> rodzaje = {
        "Sklep spożywczy", "Delikatesy", "PHU",  "Sklep ogólnospożywczy", "Bar",
        "Pensjonat",       "Stołówka",   "Kiosk"};
    static const std::vector<std::string> nazwiska = {
        "Nowak",     "Kowalski",    "Wiśniewski", "Wójcik",    "Kowalczyk",
        "Kamiński",  "Lewandowski", "Zieliński",  "Szymański", "Woźniak",
        "Dąbrowski", "Kozłowski",   "Mazur",      "Krawczyk",  "Gąsienica",
        "Bachleda",  "Chowaniec",   "Zając",      "Kuchta",    "Łukaszczyk"};
    static const std::vector<std::string> miasta = {
        "Nowy Targ",           "Zakopane", "Szaflary", "Ludźmierz", "Czarny Dunajec", "Poronin",
        "Bukowina Tatrzańska", "Rabka"};
    static const std::vector<std::string> formy = {
        "Gotówka", "Gotówka", "Przelew 7 dni", "Przelew 14 dni", "", "gotówka przy odbiorze"};
    const int n = b.opcje.large ? 1000 : 40;
    // The payer of a customer by its short name: a payer names itself, and so do some
    // customers not marked as payers; every third one is paid for by the latest payer.
    std::string platnik;
    for (int id = 1; id <= n; ++id) {
        const std::string rodzaj = b.wybierz(rodzaje);
        const std::string nazwisko = b.wybierz(nazwiska);
        const std::string miasto = b.wybierz(miasta);
        const std::string skrot = rodzaj.substr(0, 12) + " " + nazwisko + " " + std::to_string(id);
        if (id % 7 == 0) platnik = skrot;
        const Value platnik_kto = id % 7 == 0 || id % 11 == 0       ? T(skrot)
                                  : id % 3 == 0 && !platnik.empty() ? T(platnik)
                                                                    : Value::null();
        b.wstaw("KONTRAHENCI",
                {{"KONH_NAZ_SKROT", T(skrot)},
                 {"KONH_NAZWA", T(rodzaj + " \"" + nazwisko + "\" s.c., " + miasto)},
                 {"KONH_KOD", T("K" + std::to_string(1000 + id))},
                 {"KONH_ULICA",
                  T("ul. " + b.wybierz(nazwiska) + "a " + std::to_string(b.losuj(1, 120)))},
                 {"KONH_MIEJSCOWOSC", T(miasto)},
                 {"KONH_KODPOCZTOWY", T("34-4" + std::to_string(b.losuj(10, 99)))},
                 {"KONH_NIP",
                  T("735-" + std::to_string(b.losuj(100, 999)) + "-" +
                    std::to_string(b.losuj(10, 99)) + "-" + std::to_string(b.losuj(10, 99)))},
                 {"KONH_TEL",
                  T("(018) 2" + std::to_string(b.losuj(10, 99)) + " " +
                    std::to_string(b.losuj(10, 99)) + " " + std::to_string(b.losuj(10, 99)))},
                 {"WYDOK_ID", L(b.losuj(1, 3))},
                 {"RKONH_ID", L(1)},
                 {"RKONH_NAZWA_ID", T("Odbiorca")},
                 {"KONH_NUMER", L(id)},
                 {"KONH_ACTIV", B(id % 40 != 0)},
                 {"LCEN_NAZWA_ID", T(id % 5 == 0 ? "Hurt" : "Detal")},
                 {"FPLAT_NAZWA_ID", T(b.wybierz(formy))},
                 {"kier_id", L(b.losuj(1, b.kierowcy))},
                 {"konh_ilosc_kopi_f", I(static_cast<int16_t>(b.losuj(0, 2)))},
                 {"konh_ilosc_kopi_dd", I(1)},
                 {"konh_platnik", B(id % 7 == 0)},
                 // The second name line, mostly empty; the numbering scheme of the
                 // contractor's documents (0: none).
                 {"KONH_NAZWA2", T(id % 4 == 0 ? "Oddział " + miasto : "")},
                 {"sm_id", L(id % 9 == 0 ? 0 : 1)},
                 {"KONH_PLATNIK_KTO", platnik_kto},
                 // The settlement period: mostly none, some with the placeholders of "none".
                 {"konh_okres", T(id % 10 == 0 ? "Brak okresu" : id % 10 == 5 ? "Brak" : "")}});
    }
    b.kontrahenci = n;
    b.sql("create unique index PrimaryKey on KONTRAHENCI (KONH_ID) with primary");
    b.sql("create index wydok_id on KONTRAHENCI (WYDOK_ID)");
    b.sql("create index rkonh_id on KONTRAHENCI (RKONH_ID)");
    b.sql("create index lcen_id on KONTRAHENCI (LCEN_NAZWA_ID)");
    b.sql("create index [fpłat_id] on KONTRAHENCI (FPLAT_NAZWA_ID)");
    b.sql("create index konh_naz_skrot on KONTRAHENCI (KONH_NAZ_SKROT)");
    b.sql("create index konh_kod on KONTRAHENCI (KONH_KOD)");
}

// ---- documents ------------------------------------------------------------------

// Column names of a document kind: the sales documents, delivery notes, returns and
// receipts share the DDOUT_ layout; invoices and correction invoices have their own.
struct Uklad {
    const char* id;         // header key (a counter)
    const char* numer;      // document number
    const char* data_wyst;  // issue date
    const char* data_sprz;  // sale date
    const char* del;        // number of a deleted document
    const char* wart_n;     // net value
    const char* wart_vat;   // VAT
    const char* zaplacona;  // paid
    const char* rabat;      // discount
    const char* termin;     // payment due
    const char* l_id;       // line: the header key
    const char* l_ilosc;    // line: quantity
    const char* l_cena;     // line: price
    const char* l_vat;      // line: VAT rate code
};

constexpr Uklad kDdout = {
    "DDOUT_ID",     "DDOUT_NUMER",    "DDOUT_DATA_WYST", "ddout_data_sprz", "DDOUT_DEL",
    "DDOUT_WART_N", "DDOUT_wart_VAT", "ddout_zaplacona", "rabat",           "ddout_Termin_zaplaty",
    "DDOUT_ID",     "ZDDOUT_ILOSC",   "ZDDOUT_CENA_N",   "ZDDOUT_VAT"};
// The internal sales documents keep the older line layout.
constexpr Uklad kSprzedaz = {
    "DDOUT_ID",     "DDOUT_NUMER",    "DDOUT_DATA_WYST", "ddout_data_sprz", "DDOUT_DEL",
    "DDOUT_WART_N", "DDOUT_wart_VAT", "ddout_zaplacona", "rabat",           "ddout_Termin_zaplaty",
    "SPRZ_ID",      "WSPRZ_ILOSC",    "WSPRZ_CENA_B",    "WSPRZ_CENA_VAT"};
constexpr Uklad kFaktura = {"FAKOUT_ID",        "FAKOUT_NUMER",
                            "FAKOUT_DATA_WYST", "FAKOUT_DATA_SPRZED",
                            "FAKOUT_DEL",       "FAKOUT_WART_N",
                            "FAKOUT_WART_VAT",  "FAKOUT_ZAPLACONA",
                            "FAKOUT_RABAT",     "FAKOUT_TERMIN_ZAPLATY",
                            "FAKOUT_ID",        "ZFAKOUT_ILOSC",
                            "ZFAKOUT_CENA_N",   "ZFAKOUT_VAT"};
constexpr Uklad kKorekta = {"FKOROUT_ID",        "FKOROUT_NUMER",     "FKOROUT_DATA_WYST",
                            "FKOROUT_DATA_SPRZ", "FKOROUT_DEL",       "fkorout_wart_n",
                            "fkorout_wart_vat",  "Fkorout_zaplacona", "fkorout_rabat",
                            "FKOROUT_TERM_PLAT", "FKOROUT_ID",        "ZFKOROUT_ILOSC",
                            "ZFKOROUT_CENA_N",   "ZFKOROUT_VAT"};

// The header table of a document kind; most kinds already carry the cash-receipt
// amount wart_kp (Null on old rows). smz_id, the numbering period a document was numbered
// in, is 0 on every old document.
std::string naglowek(const std::string& tabela, const Uklad& u, bool wart_kp = true) {
    return "create table " + tabela + " (" + u.id + " counter, " + u.numer +
           " text(50), KONH_ID Long, " + u.data_wyst + " Date, " + u.data_sprz +
           " Date, DDOUT_DO_ROZLICZENIA Logical, " + u.del + " text(50), " + u.wart_n +
           " Single DEFAULT 0, " + u.wart_vat + " Single DEFAULT 0, " + u.zaplacona +
           " Logical, zapis Logical, " + u.rabat +
           " Single DEFAULT 0, b_rabat_n Single DEFAULT 0, b_rabat_v Single DEFAULT 0, "
           "fplat_nazwa_id text(50), zbiorczy Logical, " +
           u.termin + " Date, kier_id Long, smz_id Long DEFAULT 0" +
           (wart_kp ? ", wart_kp money)" : ")");
}

std::string zawartosc(const std::string& tabela, const Uklad& u) {
    return "create table " + tabela + " (" + u.l_id + " Long, PROD_ID Long, " + u.l_ilosc +
           " Single DEFAULT 0, " + u.l_cena + " money, " + u.l_vat + " text(4))";
}

// Headers of one document kind, written set-wise over two work tables: the document
// days (nr from 0, the date) and the slots of a day (k from 0). Each day that warunek_dnia
// admits (a condition on d.nr) gets na_dzien documents numbered "<prefiks><n>/<year>"
// in day order; the contractor, the net value and the payment form follow from n; every
// fifth document is left out of the settlement.
void dokumenty(Budowa& b, const std::string& tabela, const Uklad& u, const std::string& prefiks,
               const std::string& warunek_dnia, int na_dzien, bool kier, double znak = 1) {
    b.sql("create table [_dni] (nr Long, dzien Date)");
    b.sql("create table [_sloty] (k Long)");
    for (int d = 0; d < b.dni; ++d)
        b.wstaw("_dni", {{"nr", L(d)}, {"dzien", D(b.pierwszy_dzien + d)}});
    for (int k = 0; k < na_dzien; ++k) b.wstaw("_sloty", {{"k", L(k)}});
    const std::string n = "(d.nr * " + std::to_string(na_dzien) + " + s.k + 1)";
    const std::string konh =
        "(1 + ((d.nr * 13 + s.k * 7) mod " + std::to_string(b.kontrahenci) + "))";
    const std::string netto =
        "(" + std::to_string(znak) + " * (40 + ((d.nr * 31 + s.k * 17) mod 860)))";
    b.sql("insert into " + tabela + " (" + u.numer + ", KONH_ID, " + u.data_wyst + ", " +
          u.data_sprz + ", DDOUT_DO_ROZLICZENIA, " + u.wart_n + ", " + u.wart_vat + ", " +
          u.zaplacona + ", zapis, fplat_nazwa_id, zbiorczy, " + u.termin + ", kier_id) select '" +
          prefiks + "' & " + n + " & '/' & Year(d.dzien), " + konh + ", d.dzien, d.dzien, (" + n +
          " mod 5) <> 0, " + netto + ", Round(" + netto + " * 0.07, 2), (" + n +
          " mod 4) <> 0, True, IIf((" + n +
          " mod 3) = 0, 'Przelew 7 dni', 'Gotówka'), False, d.dzien + IIf((" + n +
          " mod 3) = 0, 7, 0), " +
          (kier ? "1 + (" + konh + " mod " + std::to_string(b.kierowcy) + ")" : std::string("0")) +
          " from [_dni] as d, [_sloty] as s where " + warunek_dnia + " order by d.nr, s.k");
    b.sql("drop table [_dni]");
    b.sql("drop table [_sloty]");
}

// Lines for every header of naglowki, written set-wise: the headers fall into patterns
// by their key, and each pattern is a fixed choice of products with quantities; the
// price is the product's suggested price. Two work tables carry the patterns.
void linie(Budowa& b, const std::string& naglowki, const std::string& linie, const Uklad& u,
           int na_dokument) {
    constexpr int kWzory = 37;
    b.sql("create table [_wzor_linii] (wzor Long, prod_id Long, ilosc Single)");
    b.sql("create table [_wzor_dokumentu] (id Long, wzor Long)");
    for (int w = 0; w < kWzory; ++w)
        for (int i = 0; i < na_dokument; ++i)
            b.wstaw("_wzor_linii", {{"wzor", L(w)},
                                    {"prod_id", L(1 + (w * 11 + i * 7) % b.produkty)},
                                    {"ilosc", S(b.losuj(1, 40))}});
    b.sql(std::string("insert into [_wzor_dokumentu] (id, wzor) select ") + u.id + ", " + u.id +
          " mod " + std::to_string(kWzory) + " from " + naglowki);
    b.sql("insert into " + linie + " (" + u.l_id + ", PROD_ID, " + u.l_ilosc + ", " + u.l_cena +
          ", " + u.l_vat +
          ") select d.id, w.prod_id, w.ilosc, p.PROD_CENA_SUGERO, p.STVAT_ID from "
          "([_wzor_dokumentu] as d inner join [_wzor_linii] as w on d.wzor = w.wzor) inner join "
          "PRODUKTY as p on p.prod_id = w.prod_id");
    b.sql("drop table [_wzor_linii]");
    b.sql("drop table [_wzor_dokumentu]");
}

void sprzedaz(Budowa& b) {
    b.sql(naglowek("SPRZEDAZ_NEW", kSprzedaz));
    b.sql(zawartosc("SPRZEDAZ_ZAWARTOSC", kSprzedaz));
    // Every day but Sunday each route's shops get a delivery document: about 20 lines
    // a document in the large build, 6 in the small one.
    dokumenty(b, "SPRZEDAZ_NEW", kSprzedaz, "SP ", "(d.nr mod 7) <> 6", b.opcje.large ? 70 : 8,
              true);
    linie(b, "SPRZEDAZ_NEW", "SPRZEDAZ_ZAWARTOSC", kSprzedaz, b.opcje.large ? 20 : 6);
}

void faktury(Budowa& b) {
    b.sql(naglowek("FAKTURY_WYCH", kFaktura));
    b.sql(zawartosc("FAKTURY_WYCH_ZAWART", kFaktura));
    // The invoice's issuer, the amount paid so far and the warehouse mark.
    b.sql("alter table FAKTURY_WYCH add column FAKOUT_WYST text(50)");
    b.sql("alter table FAKTURY_WYCH add column fakout_kwota_zapl Single");
    b.sql("alter table FAKTURY_WYCH add column FAKOUT_mag Logical");
    // A collective invoice and the delivery notes it lists.
    b.sql("alter table FAKTURY_WYCH add column FAKOUT_ZBIORCZA Logical");
    b.sql("alter table FAKTURY_WYCH add column FAKOUT_NR_DD text(255)");
    b.sql(naglowek("FAKTURY_WYCH_KOREKTA", kKorekta));
    b.sql("alter table FAKTURY_WYCH_KOREKTA add column del_fakout_id Integer");
    b.sql("alter table FAKTURY_WYCH_KOREKTA add column FAKOUT_ID Long");  // the corrected invoice
    b.sql(zawartosc("FAKTURY_WYCH_KOREKTA_ZAWART", kKorekta));
    b.sql("alter table FAKTURY_WYCH_KOREKTA_ZAWART add column zfkorout_ilosckor Single");
    // The line's mode: 'n' corrects the quantity, 'p' the price.
    b.sql("alter table FAKTURY_WYCH_KOREKTA_ZAWART add column zfkorout_tryb text(1)");
    // Weekly invoices to the shops that pay by transfer; a correction now and then.
    dokumenty(b, "FAKTURY_WYCH", kFaktura, "FA ", "(d.nr mod 7) = 4", b.kontrahenci / 5, true);
    linie(b, "FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", kFaktura, 8);
    b.sql(
        "update FAKTURY_WYCH set FAKOUT_WYST = 'Zofia Gąsienica', fakout_kwota_zapl = "
        "IIf(FAKOUT_ZAPLACONA, FAKOUT_WART_N + FAKOUT_WART_VAT, 0), FAKOUT_mag = True");
    // Every third invoice is marked collective; half of those list their delivery notes,
    // the others were marked by mistake and list none.
    b.sql(
        "update FAKTURY_WYCH set FAKOUT_ZBIORCZA = ((FAKOUT_ID mod 3) = 0), FAKOUT_NR_DD = "
        "IIf((FAKOUT_ID mod 6) = 3, 'DD ' & FAKOUT_ID & '/1, DD ' & FAKOUT_ID & '/2', '')");
    dokumenty(b, "FAKTURY_WYCH_KOREKTA", kKorekta, "FK ", "(d.nr mod 23) = 10", 1, false, -0.1);
    linie(b, "FAKTURY_WYCH_KOREKTA", "FAKTURY_WYCH_KOREKTA_ZAWART", kKorekta, 2);
    // A correction takes back one piece of each line (a line of one piece corrects its
    // price); it corrects the invoice of its week's contractor when there is one.
    b.sql(
        "update FAKTURY_WYCH_KOREKTA_ZAWART set zfkorout_ilosckor = IIf(ZFKOROUT_ILOSC > 1, "
        "ZFKOROUT_ILOSC - 1, 0), zfkorout_tryb = IIf(ZFKOROUT_ILOSC > 1, 'n', 'p')");
    b.sql(
        "update FAKTURY_WYCH_KOREKTA as k inner join FAKTURY_WYCH as f on k.KONH_ID = f.KONH_ID "
        "set k.FAKOUT_ID = f.FAKOUT_ID where f.FAKOUT_DATA_WYST < k.FKOROUT_DATA_WYST");
}

void dowody(Budowa& b) {
    b.sql(naglowek("DOWODY_DOSTAW", kDdout, false));
    b.sql(naglowek("DOWODY_ZWROTU", kDdout, false));
    b.sql(naglowek("Paragon", kDdout));
    b.sql(zawartosc("DOWODY_DOSTAW_ZAWART", kDdout));
    b.sql(zawartosc("DOWODY_ZWROTU_ZAWART", kDdout));
    b.sql(zawartosc("Paragon_ZAWART", kDdout));
    dokumenty(b, "DOWODY_DOSTAW", kDdout, "DD ", "(d.nr mod 7) <> 6", 2, true);
    dokumenty(b, "DOWODY_ZWROTU", kDdout, "DZ ", "(d.nr mod 10) = 3", 1, true, 0.1);
    dokumenty(b, "Paragon", kDdout, "PA ", "True", 1, false, 0.3);
    linie(b, "DOWODY_DOSTAW", "DOWODY_DOSTAW_ZAWART", kDdout, 4);
    linie(b, "DOWODY_ZWROTU", "DOWODY_ZWROTU_ZAWART", kDdout, 1);
    linie(b, "Paragon", "Paragon_ZAWART", kDdout, 3);
}

// The note lists of the collective invoices that list notes: the delivery notes and
// returns of the invoice's contractor from the two weeks up to its day, each number
// behind its marker, as long as the list stays within its 255 characters. An invoice
// that finds no note keeps its mark with an empty list.
void faktury_zbiorcze(Budowa& b) {
    std::map<int32_t, std::string> listy;
    for (auto [tabela, znacznik] : std::array<std::pair<const char*, const char*>, 2>{
             {{"DOWODY_DOSTAW", "«+»"}, {"DOWODY_ZWROTU", "«-»"}}}) {
        auto c = b.db.query(std::string("select f.FAKOUT_ID, d.DDOUT_NUMER from FAKTURY_WYCH as "
                                        "f inner join ") +
                            tabela +
                            " as d on d.KONH_ID = f.KONH_ID where (f.FAKOUT_ID mod 6) = 3 and "
                            "d.DDOUT_DATA_WYST > f.FAKOUT_DATA_WYST - 14 and d.DDOUT_DATA_WYST <= "
                            "f.FAKOUT_DATA_WYST order by f.FAKOUT_ID, d.DDOUT_ID");
        while (c->next()) {
            std::string& lista = listy[c->value(0).to_long()];
            const std::string pozycja = znacznik + c->value(1).to_text();
            if (jet::text::length(lista + pozycja) <= 255) lista += pozycja;
        }
    }
    b.sql("update FAKTURY_WYCH set FAKOUT_NR_DD = '' where (FAKOUT_ID mod 6) = 3");
    for (const auto& [id, lista] : listy)
        b.sql("update FAKTURY_WYCH set FAKOUT_NR_DD = '" + lista +
              "' where FAKOUT_ID = " + std::to_string(id));
}

void zakupy(Budowa& b) {
    b.sql(
        "create table zakupy (numer_id counter, numer_zaksiegowania text(50), numer_dokumentu "
        "text(50), data_zaksiegowania Date, data_wystawienia Date, KONH_ID Long, wart_n Single, "
        "VAT Single, del Logical, f_platnosci text(50), zapisz Logical, zakup_rodzaj text(20), "
        "rodzajdok text(20), rozliczona Logical, data_zakupu Date, data_zaplaty Date)");
    b.sql(
        "create table zakupy_zawart (numer_id Long, sur_id Long, ILOSC Single, CENA_N Single, "
        "WART_N Single, VAT text(4), auto Logical)");
    const auto& lista = surowce_lista();
    int n = 0;
    for (int d = 1; d < b.dni; d += 3) {  // a delivery of raw materials twice a week
        ++n;
        const double dzien = b.pierwszy_dzien + d;
        const int rok = jet::dates::from_serial(dzien).year;
        double netto = 0, vat = 0;
        const int pozycje = b.losuj(2, 5);
        for (int p = 0; p < pozycje; ++p) {
            const int sur = 1 + (n * 3 + p * 5) % static_cast<int>(lista.size());
            const Surowiec& s = lista[static_cast<size_t>(sur - 1)];
            const double il = b.losuj(5, 200);
            const double wart = grosze(il * s.cena);
            const char* stawka = s.kod == 1 ? "22" : (sur % 6 == 0 ? "0" : "7");
            netto += wart;
            vat += grosze(wart * (s.kod == 1 ? 0.22 : (sur % 6 == 0 ? 0 : 0.07)));
            b.wstaw("zakupy_zawart", {{"numer_id", L(n)},
                                      {"sur_id", L(sur)},
                                      {"ILOSC", S(il)},
                                      {"CENA_N", S(s.cena)},
                                      {"WART_N", S(wart)},
                                      {"VAT", T(stawka)},
                                      {"auto", B(false)}});
        }
        const bool usuniety = n % 17 == 0;
        b.wstaw("zakupy", {{"numer_zaksiegowania",
                            T(n % 11 == 0 ? " " : std::to_string(n) + "/" + std::to_string(rok))},
                           {"numer_dokumentu",
                            T("FV " + std::to_string(100 + n) + "/" + std::to_string(rok % 100))},
                           {"data_zaksiegowania", D(dzien)},
                           {"data_wystawienia", D(dzien - 1)},
                           {"data_zakupu", D(dzien - 1)},
                           // Paid by transfer a week later, at the hour the bank booked it;
                           // every fourth still unpaid.
                           {"data_zaplaty", n % 4 == 0 ? Value::null() : D(dzien + 7 + 0.5)},
                           {"KONH_ID", L(1 + (n * 11) % b.kontrahenci)},
                           {"wart_n", S(netto)},
                           {"VAT", S(vat)},
                           {"del", B(usuniety)},
                           // older purchases were entered without a payment form
                           {"f_platnosci", n % 5 == 0   ? Value::null()
                                           : n % 3 == 0 ? T("Gotówka")
                                                        : T("Przelew")}});
    }
    b.sql("create index numer_zaksiegowania on zakupy (numer_zaksiegowania)");
}

void kasa(Budowa& b) {
    for (const char* t : {"KP", "KW"})
        b.sql(std::string("create table ") + t +
              " (kp_id counter, nr_kp text(30), data Date, konh_id Long, kwota money, opis "
              "text(100), raport_id Long, pozycja Long)");
    b.sql(
        "create table Raport_kasowy (id counter, raport_nr text(30), data_od Date, data_do Date, "
        "saldo_pocz money, saldo_konc money)");
    // The report's own number that the cash documents point to, and its totals: received,
    // paid out and their balance.
    b.sql(
        "alter table Raport_kasowy add column raport_id Long, kwota_kp money, kwota_kw money, "
        "Bilans money");
    double saldo = 1500;
    for (int tydzien = 0; tydzien * 7 < b.dni; ++tydzien) {
        const double od = b.pierwszy_dzien + tydzien * 7;
        const int rok = jet::dates::from_serial(od).year;
        const double kp = b.losuj(800, 4000), kw = b.losuj(300, 2500);
        // The week's receipt and payment are the first two positions of its cash report.
        b.wstaw("KP",
                {{"nr_kp", T("KP " + std::to_string(tydzien + 1) + "/" + std::to_string(rok))},
                 {"data", D(od + 2)},
                 {"konh_id", L(1 + tydzien % b.kontrahenci)},
                 {"kwota", C(kp)},
                 {"opis", T("Zapłata za pieczywo")},
                 {"raport_id", L(tydzien + 1)},
                 {"pozycja", L(1)}});
        b.wstaw("KW",
                {{"nr_kp", T("KW " + std::to_string(tydzien + 1) + "/" + std::to_string(rok))},
                 {"data", D(od + 3)},
                 {"konh_id", L(1 + (tydzien * 3) % b.kontrahenci)},
                 {"kwota", C(kw)},
                 {"opis", T("Zakup mąki")},
                 {"raport_id", L(tydzien + 1)},
                 {"pozycja", L(2)}});
        b.wstaw("Raport_kasowy",
                {{"raport_nr", T(std::to_string(tydzien + 1) + "/" + std::to_string(rok))},
                 {"data_od", D(od)},
                 {"data_do", D(od + 6)},
                 {"saldo_pocz", C(saldo)},
                 {"saldo_konc", C(saldo + kp - kw)}});
        saldo += kp - kw;
    }
    b.sql("update Raport_kasowy set raport_id = id");
    b.sql(
        "update Raport_kasowy inner join KP on KP.raport_id = Raport_kasowy.raport_id set "
        "Raport_kasowy.kwota_kp = KP.kwota");
    b.sql(
        "update Raport_kasowy inner join KW on KW.raport_id = Raport_kasowy.raport_id set "
        "Raport_kasowy.kwota_kw = KW.kwota");
    b.sql("update Raport_kasowy set Bilans = kwota_kp - kwota_kw");
    // Each cash document settles one document in full.
    for (const char* t : {"KP", "KW"}) {
        b.sql(std::string("create table ") + t +
              "_ZAWART (kp_id Long, rodzaj_dok text(20), dok_id Long, kwota money)");
        b.sql(std::string("insert into ") + t +
              "_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) select kp_id, " +
              (t[1] == 'P' ? "'Faktura VAT'" : "'Zakup'") + ", kp_id, kwota from " + t);
    }
}

void tabela_vat(Budowa& b) {
    b.sql(
        "create table TABELA_VAT (id Long, r_dok text(50), data Date, n22 money, vat22 money, n7 "
        "money, vat7 money, n0 money, nzw money)");
    b.sql(
        "insert into TABELA_VAT (id, r_dok, data, n22, vat22, n7, vat7, n0, nzw) select "
        "numer_id, 'zakupy', data_zaksiegowania, 0, 0, wart_n, VAT, 0, 0 from zakupy where "
        "numer_zaksiegowania <> ' '");
    b.sql(
        "insert into TABELA_VAT (id, r_dok, data, n22, vat22, n7, vat7, n0, nzw) select "
        "FAKOUT_ID, 'faktury', FAKOUT_DATA_WYST, 0, 0, FAKOUT_WART_N, FAKOUT_WART_VAT, 0, 0 from "
        "FAKTURY_WYCH");
}

void zamowienia(Budowa& b) {
    b.sql(
        "create table Zamowienia_raport (data Date, prod_id Long, ilosc_zam Single DEFAULT 0, "
        "ilosc_prod Single DEFAULT 0, ilosc_prod2 Single DEFAULT 0, ilosc_prod3 Single DEFAULT "
        "0, ilosc_zam2 Single DEFAULT 0, ilosc_zam3 Single DEFAULT 0)");
    b.sql(
        "create table Zamowienia (zam_id counter, data Date, KONH_ID Long, prod_id Long, ilosc "
        "Single)");
    const auto lista = produkty_lista(b.opcje.large);
    const int dni = b.opcje.large ? b.dni : 14;  // the report keeps the last two weeks
    for (int d = 0; d < dni; ++d) {
        const double dzien = b.pierwszy_dzien + b.dni - dni + d;
        for (size_t i = 0; i < lista.size(); ++i) {
            if (lista[i].wl != 1 || (d + static_cast<int>(i)) % 3 == 0) continue;
            const double zam = b.losuj(20, 300);
            b.wstaw("Zamowienia_raport", {{"data", D(dzien)},
                                          {"prod_id", L(static_cast<int32_t>(i + 1))},
                                          {"ilosc_zam", S(zam)},
                                          {"ilosc_prod", S(zam + b.losuj(0, 10))}});
        }
        b.wstaw("Zamowienia", {{"data", D(dzien)},
                               {"KONH_ID", L(1 + d % b.kontrahenci)},
                               {"prod_id", L(1)},
                               {"ilosc", S(b.losuj(10, 100))}});
    }
}

// Customers' standing orders: a header per order with the moment it was taken, and its
// lines, one per product. The order's mode (tryb) is read with the routes at 4.16 and
// indexed at the end; no row of the demonstration gives one.
void zamowienia_main(Budowa& b) {
    b.sql(
        "create table ZAMOWIENIA_MAIN (zam_id counter, data Date, KONH_ID Long, uwagi "
        "text(100), tryb text(50))");
    b.sql(
        "create table ZAMOWIENIA_MAIN_ZAWART (zam_id Long, prod_ID Long, ilosc Single DEFAULT 0)");
    const int produkty = static_cast<int>(produkty_lista(b.opcje.large).size());
    int zam = 0;
    for (int d = 0; d < b.dni; d += 7) {
        for (int k = 0; k < 3; ++k) {
            ++zam;
            b.wstaw("ZAMOWIENIA_MAIN", {{"data", D(b.pierwszy_dzien + d + k + 0.25 + 0.1 * k)},
                                        {"KONH_ID", L(1 + (zam * 7) % b.kontrahenci)},
                                        {"uwagi", k == 2 ? Value::null() : T("dostawa do 6:00")}});
            for (int p = 0; p < 3; ++p)
                b.wstaw("ZAMOWIENIA_MAIN_ZAWART", {{"zam_id", L(zam)},
                                                   {"prod_ID", L(1 + (zam + p * 5) % produkty)},
                                                   {"ilosc", S(b.losuj(10, 80))}});
        }
    }
}

void zamowienia_stale(Budowa& b) {
    // The standing weekly orders of the first shops: a day of the week, a product, a
    // quantity.
    b.sql(
        "create table ZAMOWIENIA_SZABLON (konh_id Long, prod_id Long, dzien Integer, ilosc "
        "Single DEFAULT 0)");
    for (int konh = 1; konh <= 5; ++konh)
        for (int dzien = 1; dzien <= 6; ++dzien)
            b.wstaw("ZAMOWIENIA_SZABLON", {{"konh_id", L(konh)},
                                           {"prod_id", L(1 + (konh + dzien) % b.produkty)},
                                           {"dzien", I(static_cast<int16_t>(dzien))},
                                           {"ilosc", S(b.losuj(5, 60))}});
}

void kontrahent_rodzaj(Budowa& b) {
    b.sql("create table KONTRAHENT_RODZAJ (RKONH_ID Long, RKONH_NAZWA text(50))");
    b.wstaw("KONTRAHENT_RODZAJ", {{"RKONH_ID", L(1)}, {"RKONH_NAZWA", T("Odbiorca")}});
    b.wstaw("KONTRAHENT_RODZAJ", {{"RKONH_ID", L(2)}, {"RKONH_NAZWA", T("Dostawca")}});
}

// The last number given to each document kind, per year (month 13: a yearly series; the
// month column has its Polish name, "Miesiąc", until the conversion renames it).
void parametry(Budowa& b) {
    b.sql(
        "create table PARAMETRY (numer_faktury Long, rodzaj_dok text(50), rok Integer, "
        "[Miesiąc] Integer)");
    const int rok = jet::dates::from_serial(b.pierwszy_dzien + b.dni - 1).year;
    for (const char* r : {"Faktura VAT", "Korekta", "Paragon", "Dowód dostawy", "Dowód zwrotu"})
        b.wstaw("PARAMETRY", {{"numer_faktury", L(b.losuj(10, 400))},
                              {"rodzaj_dok", T(r)},
                              {"rok", I(static_cast<int16_t>(rok))},
                              {"Miesiąc", I(13)}});
}

void okresy_rozliczen(Budowa& b) {
    b.sql("create table OKRESY_ROZLICZEN (Nazwa text(50), tydzien Long, dzien1 Long)");
    b.wstaw("OKRESY_ROZLICZEN", {{"Nazwa", T("Tydzień")}, {"tydzien", L(1)}, {"dzien1", L(1)}});
    b.wstaw("OKRESY_ROZLICZEN", {{"Nazwa", T("Dekada")}, {"tydzien", L(0)}, {"dzien1", L(1)}});
    b.wstaw("OKRESY_ROZLICZEN", {{"Nazwa", T("Miesiąc")}, {"tydzien", L(0)}, {"dzien1", L(1)}});
}

void uzytkownicy_prawa(Budowa& b) {
    b.sql("create table UZYTKOWNICY_PRAWA (p_id Long, p_login text(50))");
    b.sql(
        "insert into UZYTKOWNICY_PRAWA (p_id, p_login) select id, nazwisko_uzytkownika from "
        "UZYTKOWNICY");
}

// Work tables of the purchase and sales reports, left behind with a last report's rows,
// and the program's event log.
void raporty(Budowa& b) {
    for (const char* t : {"raport_zakupow", "raport_zakupow_POMOC"}) {
        b.sql(std::string("create table ") + t + " (sur_id Long, ilosc Single, wartosc money)");
        b.sql(std::string("insert into ") + t +
              " (sur_id, ilosc, wartosc) select sur_id, ILOSC, WART_N from zakupy_zawart where "
              "numer_id = 1");
    }
    b.sql("create table RAPORT_SPRZEDAZY (prod_id Long, ilosc Single, wartosc money)");
    b.sql(
        "insert into RAPORT_SPRZEDAZY (prod_id, ilosc, wartosc) select PROD_ID, ZFAKOUT_ILOSC, "
        "ZFAKOUT_CENA_N from FAKTURY_WYCH_ZAWART where FAKOUT_ID = 1");
    b.sql("create table Logi (data Date, uzytkownik text(50), opis text(255))");
    b.wstaw("Logi", {{"data", D(b.pierwszy_dzien)},
                     {"uzytkownik", T("ADMIN")},
                     {"opis", T("Zamknięcie roku")}});
}

// Relations of the release; the first step of the conversion deletes them all.
void relacje(Budowa& b) {
    b.sql(
        "alter table FAKTURY_WYCH add constraint KONTRAHENCIFAKTURY_WYCH foreign key (KONH_ID) "
        "references KONTRAHENCI (KONH_ID)");
    b.sql(
        "alter table zakupy add constraint KONTRAHENCIzakupy foreign key (KONH_ID) references "
        "KONTRAHENCI (KONH_ID)");
    b.sql(
        "alter table KP add constraint KONTRAHENCIKP foreign key (KONH_ID) references "
        "KONTRAHENCI (KONH_ID)");
}

// The indexes of the sales-document tables that the conversion drops.
void indeksy_dokumentow(Budowa& b) {
    for (const char* t :
         {"dowody_dostaw", "dowody_zwrotu", "Paragon", "faktury_wych_korekta", "faktury_wych"}) {
        b.sql(std::string("create index konh_id on ") + t + " (KONH_ID)");
        b.sql(std::string("create index fplat_nazwa_id on ") + t + " (fplat_nazwa_id)");
    }
    for (const char* t : {"dowody_dostaw", "dowody_zwrotu", "Paragon"})
        b.sql(std::string("create index fakout_numer on ") + t + " (DDOUT_NUMER)");
    b.sql("create index fakout_numer on faktury_wych (FAKOUT_NUMER)");
}

}  // namespace

const std::vector<Tabela>& tabele_165() {
    static const std::vector<Tabela> t = {
        {"Nieruszac", nieruszac},
        {"UZYTKOWNICY", uzytkownicy},
        {"VAT_STAWKI", vat_stawki},
        {"jednostki", jednostki},
        {"RODZAJ_WYST_DOKUM", rodzaj_wyst_dokum},
        {"PARAMETRY_NAGLOWEK", parametry_naglowek},
        {"FORMY_PLATNOSCI", formy_platnosci},
        {"wlasciciel", wlasciciel},
        {"ustawienia", ustawienia},
        {"SPOSOB_NUMERACJI", numeracja},
        {"stare tabele", stare_tabele},
        {"SUROWCE", surowce},
        {"POLPRODUKTY", polprodukty},
        {"PRODUKTY", produkty},
        {"PRODUKTY_Receptury", receptury},
        {"CENNIK", cenniki},
        {"SPRZEDAZ_ILOSC", ilosci},
        {"remanent", remanent},
        {"KONTRAHENCI", kontrahenci},
        {"SPRZEDAZ_NEW", sprzedaz},
        {"FAKTURY_WYCH", faktury},
        {"DOWODY_DOSTAW", dowody},
        {"FAKTURY_WYCH zbiorcze", faktury_zbiorcze},
        {"zakupy", zakupy},
        {"KP", kasa},
        {"TABELA_VAT", tabela_vat},
        {"Zamowienia_raport", zamowienia},
        {"ZAMOWIENIA_MAIN", zamowienia_main},
        {"ZAMOWIENIA_SZABLON", zamowienia_stale},
        {"KONTRAHENT_RODZAJ", kontrahent_rodzaj},
        {"PARAMETRY", parametry},
        {"OKRESY_ROZLICZEN", okresy_rozliczen},
        {"UZYTKOWNICY_PRAWA", uzytkownicy_prawa},
        {"raporty", raporty},
        {"relacje", relacje},
        {"indeksy", indeksy_dokumentow},
    };
    return t;
}

}  // namespace baza
