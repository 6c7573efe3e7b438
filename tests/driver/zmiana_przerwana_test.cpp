// The road's changes of two or more columns of one table, and the widening's, as a run
// of the suite's earlier tool left them: stopped after any statement of any change, each
// statement committed on its own. The rerun of the step ends as an uninterrupted run
// does wherever the table's schema tells whose the temporary column is, whatever the
// columns' values (equal, different, all Null); where it cannot, the run stops with the
// database as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "db/naprawy.h"
#include "driver/konwersje_env.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "steps/przerwana_zmiana.h"

namespace {

using kroki_test::Polecenia_Poszerzenia;
using kroki_test::Polecenia_Zmiany;
using kroki_test::Wykonaj_Polecenia;
using kroki_test::Zawartosc_Tabeli;

const std::string kTmp = "ccxxdfredvvcxds__ddfr";

// A change of a step: Zmien_Typ_Pola (column, type, table, new name), or with no type a
// column added (Dodaj_Pole with the column as the definition).
struct Zmiana {
    std::string kolumna, typ, nowa = "";
    // A stop after its temporary column was added, its column still there, cannot be told
    // from another's copy: a copy of the widening's type, or a change that finds its
    // column as it leaves it.
    bool nierozstrzygalna = false;
};

struct Krok {
    const char* krok;
    std::string tabela;
    std::string kolumny;                 // as before the step; the first column orders the rows
    std::vector<std::string> zmienione;  // the columns that get values
    std::vector<Zmiana> zmiany;
    const char* indeks = "";  // an index of the table, as its statement
};

void PrintTo(const Krok& k, std::ostream* os) {
    *os << k.krok << " " << k.tabela;
}

const char* const kWartosci[] = {"equal", "different", "Null"};

class ZmianaPrzerwana : public KonwersjeEnv {
  protected:
    void SetUp() override {
        KonwersjeEnv::SetUp();
        otworz_baze();
    }

    // The table afresh with three rows: in each the changed columns hold one value, a
    // value each, or Null.
    void Utworz(const Krok& k, const std::string& wartosci) {
        try {
            polaczenie().Execute("drop table " + k.tabela);
        } catch (const jet::Error&) {
        }
        polaczenie().Execute("create table " + k.tabela + " (" + k.kolumny + ")");
        const std::string klucz =
            polaczenie().database().catalog().table(k.tabela)->columns[0].name;
        for (int r = 1; r <= 3; ++r) {
            std::string kolumny = klucz, wiersz = std::to_string(r);
            for (size_t i = 0; i < k.zmienione.size(); ++i) {
                kolumny += ", [" + k.zmienione[i] + "]";
                wiersz += ", " + (wartosci == "Null"    ? std::string("Null")
                                  : wartosci == "equal" ? std::to_string(r + 2)
                                                        : std::to_string(10 * (i + 1) + r));
            }
            polaczenie().Execute("insert into " + k.tabela + " (" + kolumny + ") values (" +
                                 wiersz + ")");
        }
        if (*k.indeks) polaczenie().Execute(k.indeks);
    }

    // The changes od..do_ as the step makes them; the loop's settling of temporary columns
    // after the first step with po_kroku.
    void Zmien(const Krok& krok, size_t od, size_t do_, bool po_kroku = false) {
        for (size_t i = od; i < do_; ++i) {
            const Zmiana& z = krok.zmiany[i];
            if (z.typ.empty()) {
                k.Dodaj_Pole(krok.tabela, z.kolumna);
                continue;
            }
            std::string nowa = z.nowa;
            k.Zmien_Typ_Pola(z.kolumna, z.typ, krok.tabela, nowa);
        }
        if (po_kroku) k.Sprawdz_Kolumny_Tymczasowe();
    }

    // Reruns the step from the state left, as the version loop does: one unit of work,
    // committed when the step ends, rolled back when the run stops inside it. Either the
    // step ends with the table as wzor, or (stop) the run ends with "0000" and a critical
    // message naming the table and the temporary column, the table as it was left.
    void Powtorz(const std::function<void()>& krok, const std::string& tabela,
                 const std::vector<std::string>& wzor, bool stop) {
        polaczenie().Checkpoint();
        const std::vector<std::string> pozostawiona = Zawartosc_Tabeli(tabela);
        okna.clear();
        bool skonczyl;
        {
            jet::WorkUnit jednostka(polaczenie().database());
            skonczyl = konczy(krok);
            if (!skonczyl) polaczenie().Checkpoint();
        }
        ASSERT_EQ(skonczyl, stop) << (okna.empty() ? "" : okna.back().tekst);
        if (stop) {
            EXPECT_EQ(status, platform::exit_status::fatal);
            EXPECT_EQ(znacznik(), "0000");
            ASSERT_FALSE(okna.empty());
            EXPECT_EQ(okna.back().styl, vbCritical);
            EXPECT_NE(okna.back().tekst.find(tabela + "." + kTmp), std::string::npos)
                << okna.back().tekst;
            otworz_ponownie();
            EXPECT_EQ(Zawartosc_Tabeli(tabela), pozostawiona);
        } else {
            EXPECT_TRUE(okna.empty()) << okna.front().tekst;
            EXPECT_EQ(Zawartosc_Tabeli(tabela), wzor);
        }
    }
};

const Krok kKroki[] = {
    {"1.90",
     "REMANENTINWENT_ZAWARTOSC",
     "ID_RI long, RI text(1), Ilosc_namagazynie long, Ilosc_stanfaktyczny long, Cena single "
     "DEFAULT 0",
     {"Ilosc_namagazynie", "Ilosc_stanfaktyczny"},
     {{"Ilosc_namagazynie", "Single DEFAULT 0"}, {"Ilosc_stanfaktyczny", "Single DEFAULT 0"}}},
    {"2.07",
     "kpir_ksiega",
     "kpir_id long, opis text(60), kwota_p single DEFAULT 0, kwota_z single DEFAULT 0, kwota_z2 "
     "single DEFAULT 0, kwota_w single DEFAULT 0, rodzajdok text(30)",
     {"kwota_p", "kwota_z", "kwota_z2", "kwota_w"},
     {{"kwota_p", "money"}, {"kwota_z", "money"}, {"kwota_z2", "money"}, {"kwota_w", "money"}}},
    {"2.17",
     "ZAKUPY_ZAWART",
     "numer_id long, ILOSC single, CENA_N single, WART_N single, VAT text(4)",
     {"CENA_N", "WART_N"},
     {{"CENA_N", "money"}, {"WART_N", "money"}}},
    {"2.17",
     "zakupy",
     "numer_id long, wart_n single, VAT single, del bit",
     {"wart_n", "VAT"},
     {{"WART_N", "money"}, {"VAT", "money"}}},
    {"2.41",
     "faktury",
     "FAKOUT_ID long, FAKOUT_NUMER text(50), FAKOUT_DEL text(50), FAKOUT_RABAT single DEFAULT 0, "
     "b_rabat_n single DEFAULT 0, b_rabat_v single DEFAULT 0, fplat_nazwa_id text(50), "
     "FAKOUT_WYST text(50), fakout_kwota_zapl single, FAKOUT_mag bit",
     {"FAKOUT_NUMER", "FAKOUT_DEL", "FAKOUT_RABAT", "b_rabat_n", "b_rabat_v", "fplat_nazwa_id",
      "FAKOUT_WYST", "fakout_kwota_zapl"},
     {{"FAKOUT_NUMER", "text (200)"},
      {"FAKOUT_DEL", "text (200)"},
      {"FPLAT_NAZWA_ID", "TEXT(50)", "", true},
      {"FAKOUT_RABAT", "CURRENCY"},
      {"FAKOUT_WYST", "TEXT(81)"},
      {"b_rabat_n", "CURRENCY"},
      {"b_rabat_v", "CURRENCY"},
      {"fakout_kwota_zapl", "CURRENCY"}}},
    {"2.41",
     "K_faktur",
     "FKOROUT_ID long, FKOROUT_NUMER text(50), FKOROUT_DEL text(50), fkorout_rabat single DEFAULT "
     "0, b_rabat_n single DEFAULT 0, b_rabat_v single DEFAULT 0, del_fakout_id long, FAKOUT_ID "
     "long",
     {"FKOROUT_NUMER", "FKOROUT_DEL", "fkorout_rabat", "b_rabat_n", "b_rabat_v", "del_fakout_id"},
     {{"fkorout_numer", "text (200)"},
      {"fkorout_del", "text (200)"},
      {"fkorout_rabat", "CURRENCY"},
      {"b_rabat_n", "CURRENCY"},
      {"b_rabat_v", "CURRENCY"},
      {"del_fakout_id", "LONG", "", true},
      {"fkorout_rabat", "CURRENCY", "", true},
      {"b_rabat_n", "CURRENCY", "", true},
      {"b_rabat_v", "CURRENCY", "", true}}},
    {"2.87",
     "kontrahenci",
     "KONH_ID long, KONH_NAZWA text(180), KONH_ULICA text(60), KONH_NAZWA2 text(180), sm_id long",
     {"KONH_NAZWA", "KONH_NAZWA2"},
     {{"KONH_NAZWA", "text(80)", "KONH_NAZWA"}, {"Konh_nazwa2", "text(80)", "KONH_NAZWA2"}}},
    {"3.18",
     "KADRY_UMOWY",
     "ID_prac long, numer text(10), Stanowisko text(3), Dział text(3), etat text(6)",
     {"Stanowisko", "Dział"},
     {{"Stanowisko", "text(40)"}, {"Dział", "text(40)"}}},
    {"3.52",
     "Deklaracje_Zawart",
     "id long, Typ text(20), wartosc money, wartosc2 long, Countt counter",
     {"wartosc", "wartosc2"},
     {{"wartosc", "text(50)"}, {"wartosc2", "text(50)"}}},
    {"3.78",
     "KPIR_KSIEGA",
     "kpir_id long, numer text(50), konh_nazwa text(60), konh_adres text(60), opis text(60), "
     "rodzaj long",
     {"konh_nazwa", "konh_adres", "opis"},
     {{"konh_nazwa", "text (255)", "", true},
      {"konh_adres", "text (255)", "", true},
      {"opis", "text (255)", "", true}},
     "create index indkonh_nazwa on KPIR_KSIEGA (konh_nazwa)"},
    {"4.02",
     "KONTRAHENCI",
     "KONH_ID long, Powiat text(10), Region text(10), Przedstawiciel text(30)",
     {"Powiat", "Region"},
     {{"Powiat", "text (30)"}, {"Region", "text (30)"}}},
    {"5.31",
     "kh_konta",
     "COUNTT counter, ROK long DEFAULT 0, NR_K_1 text(3), NR_K_2 text(6), NR_K_3 text(6), NR_K_4 "
     "text(6), Nazwa_konta text(50)",
     {"NR_K_2", "NR_K_3", "NR_K_4"},
     {{"NR_K_2", "Text (10) default ''"},
      {"NR_K_3", "Text (10) default ''"},
      {"NR_K_4", "Text (10) default ''"}}},
    {"5.58",
     "kh_konta",
     "COUNTT counter, ROK long DEFAULT 0, NR_K_1 text(3), KONTO text(100), NR_K_2 Text(10) "
     "DEFAULT '', NR_K_3 Text(10) DEFAULT '', NR_K_4 Text(10) DEFAULT ''",
     {"NR_K_2", "NR_K_3", "NR_K_4"},
     {{"NR_K_2", "Text (25) default ''"},
      {"NR_K_3", "Text (25) default ''"},
      {"NR_K_4", "Text (25) default ''"}}},
    {"5.58",
     "kontrahenci",
     "KONH_ID long, KONH_NAZ_SKROT text(50), KONH_ULICA text(60), Konh_kod text(16), Saldo money "
     "DEFAULT 0",
     {"KONH_NAZ_SKROT", "Konh_kod"},
     {{"KONH_NAZ_SKROT", "Text (25) default ''"}, {"Konh_kod", "Text (25) default ''"}}},
    {"5.85",
     "DEKLARACJE_ZAWART",
     "id long, Typ text(20), Countt counter, wartosc text(50), wartosc2 text(50)",
     {"wartosc", "wartosc2"},
     {{"wartosc", "Text (90)"}, {"wartosc2", "Text (90)"}}},
    {"5.98",
     "DOK_MI",
     "countt counter, Ilosc long DEFAULT 0, IloscRi long DEFAULT 0, Prod_id long DEFAULT 0, Data "
     "datetime",
     {"Ilosc", "IloscRi"},
     {{"Ilosc", "Single DEFAULT 0"}, {"IloscRi", "Single DEFAULT 0"}}},
    {"6.13",
     "KADRY_WARUNKI",
     "ID_prac long, numer text(10), Stanowisko text(40), Inne_war text(80), StawkaD money, "
     "INNE_SKŁ text(80)",
     {"Inne_war", "INNE_SKŁ"},
     {{"Inne_skł", "Text (255)", "", true}, {"Inne_war", "Text (255)", "", true}}},
};

// A stop after the change's statements 2 (its temporary column added), 3 (its column
// copied), 6 (its column dropped), 7 (added anew) or 8 (filled back).
constexpr size_t kPunkty[] = {2, 3, 6, 7, 8};

class KrokPrzerwany : public ZmianaPrzerwana, public ::testing::WithParamInterface<Krok> {};

TEST_P(KrokPrzerwany, ARerunEndsAsAStraightRunOrStopsUnchanged) {
    const Krok& k = GetParam();
    for (const char* wartosci : kWartosci) {
        Utworz(k, wartosci);
        Zmien(k, 0, k.zmiany.size());
        const std::vector<std::string> prosty = Zawartosc_Tabeli(k.tabela);
        for (size_t j = 0; j < k.zmiany.size(); ++j) {
            const Zmiana& z = k.zmiany[j];
            const std::vector<std::string> polecenia =
                Polecenia_Zmiany(k.tabela, z.kolumna, z.typ, z.nowa);
            for (const size_t n : kPunkty) {
                SCOPED_TRACE(std::string("values ") + wartosci + ", stopped after statement " +
                             std::to_string(n) + " of change " + std::to_string(j + 1) + " (" +
                             z.kolumna + ")");
                Utworz(k, wartosci);
                Zmien(k, 0, j);
                Wykonaj_Polecenia(polecenia, n);
                Powtorz([&] { Zmien(k, 0, k.zmiany.size(), true); }, k.tabela, prosty,
                        n <= 3 && z.nierozstrzygalna);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Droga, KrokPrzerwany, ::testing::ValuesIn(kKroki),
                         [](const ::testing::TestParamInfo<Krok>& i) {
                             std::string nazwa =
                                 std::string("v") + i.param.krok + "_" + i.param.tabela;
                             for (char& c : nazwa)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return nazwa;
                         });

// A column that the step changed, then given the default of the database's tidy-up (as
// a recordset opened between two changes starts it), is still seen done: the copy left
// by the next change after its column was dropped is that change's, never dropped.
TEST_F(ZmianaPrzerwana, AChangedColumnTidiedSinceIsSeenDone) {
    const Krok& k = *std::find_if(std::begin(kKroki), std::end(kKroki), [](const Krok& x) {
        return x.krok == std::string("5.58") && x.tabela == "kontrahenci";
    });
    const auto przed = [&](size_t n) {
        Utworz(k, "equal");
        Zmien(k, 0, 1);
        Porzadkuj_Baze(baza, 0, -1, "");
        const Zmiana& z = k.zmiany[1];
        Wykonaj_Polecenia(Polecenia_Zmiany(k.tabela, z.kolumna, z.typ), n);
    };
    przed(9);
    const std::vector<std::string> prosty = Zawartosc_Tabeli(k.tabela);
    przed(6);
    Powtorz([&] { Zmien(k, 0, k.zmiany.size(), true); }, k.tabela, prosty, false);
}

// Where the schema cannot tell whose the temporary column is, the stop points at the
// README's chapter on the repair by hand and names the change's column: gone under both
// its names, as the change adds it anew, so that it can be added back by hand; there, as
// the table holds it, with the type the change gives it. The loop's check knows no change
// and names none.
TEST_F(ZmianaPrzerwana, TheStopNamesTheChangesColumnAndTheRepair) {
    const Krok konta{"5.58",
                     "kh_konta",
                     "COUNTT counter, ROK long DEFAULT 0, NR_K_2 text(10) DEFAULT '', NR_K_3 "
                     "text(10) DEFAULT ''",
                     {"NR_K_2", "NR_K_3"},
                     {{"NR_K_2", "Text (25) default ''"}, {"NR_K_3", "Text (25) default ''"}}};
    Krok petla = konta;
    petla.zmiany.clear();
    const Krok nowa_nazwa{
        "", "T", "id long, a text(10), b long", {"a", "b"}, {{"a", "money", "a1"}}};
    const std::string brak = ". Brak w tabeli kolumny, którą zmienia krok (nazwa i typ): ",
                      jest = ". Kolumna, którą zmienia krok (nazwa w tabeli i typ po zmianie): ";
    const struct {
        const char* opis;
        Krok krok;
        std::string poszerzona;  // the widening's column
        size_t n;                // its statements that the stopped run made
        std::string kolumna;     // what the message says of the column, "" nothing
    } przypadki[] = {
        {"the widening dropped the change's column", konta, "NR_K_2", 5,
         brak + "NR_K_2 Text (25) default ''"},
        {"the change moves it to a new name", nowa_nazwa, "a", 5, brak + "a1 money"},
        {"the change's column is there", konta, "NR_K_3", 3, jest + "NR_K_2 Text (25) default ''"},
        {"the change's column is there under its old name", nowa_nazwa, "a", 3, jest + "a money"},
        {"the loop's check", petla, "NR_K_2", 5, ""},
    };
    Krok_Konwersji = 558;  // the step that the message names first
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.opis);
        Utworz(p.krok, "different");
        Wykonaj_Polecenia(Polecenia_Poszerzenia(p.krok.tabela, p.poszerzona), p.n);
        Powtorz([&] { Zmien(p.krok, 0, p.krok.zmiany.size(), true); }, p.krok.tabela, {}, true);
        ASSERT_FALSE(okna.empty());
        const std::string& tekst = okna.back().tekst;
        EXPECT_NE(tekst.find(". Naprawa ręczna - patrz README, rozdział \"Temporary column " +
                             kTmp + ": repair by hand\"" + p.kolumna + " ->>>"),
                  std::string::npos)
            << tekst;
        EXPECT_EQ(tekst.find("którą zmienia krok") == std::string::npos, p.kolumna.empty())
            << tekst;
        EXPECT_EQ(tekst.rfind("Konwersja do wersji 5.58: Ze schematu tabeli ", 0), 0u) << tekst;
    }
    Krok_Konwersji = 0;
}

// A widening of one column left by a run stopped after its statements 2, 3 (its column
// copied), 5 (dropped), 6 (added anew) or 7 (filled back), then the later steps that add
// or change columns of the table, the first pierwszy changes being the first step's. Once
// the widened column is added anew the run ends as one after a whole widening; before
// that, the temporary column standing last may be the only copy of the dropped column.
TEST_F(ZmianaPrzerwana, AWideningStoppedInsideAColumnIsFinishedOrStopsTheNextStep) {
    struct Poszerzona {
        Krok krok;
        std::string kolumna;
        size_t pierwszy;
    };
    const Poszerzona przypadki[] = {
        {{"4.31",
          "dok_zak",
          "numer_id long, Opis_Zdarzenia text(50), numer_dokumentu text(200), f_platnosci "
          "text(50), FAKOUT_WYST text(81), Wart_Rozl money DEFAULT 0",
          {"Opis_Zdarzenia", "f_platnosci"},
          {{"Opis_Zdarzenia", "text(255)"}}},
         "f_platnosci",
         1},
        {{"4.31, 6.13",
          "KADRY_WARUNKI",
          "ID_prac long, numer text(10), Stanowisko text(40), Inne_war text(80), StawkaD money",
          {"Stanowisko", "Inne_war"},
          {{"[INNE_SKŁ] Text (80)", ""}, {"Inne_skł", "Text (255)"}, {"Inne_war", "Text (255)"}}},
         "Stanowisko",
         1},
    };
    for (const Poszerzona& p : przypadki) {
        const Krok& k = p.krok;
        const std::vector<std::string> polecenia = Polecenia_Poszerzenia(k.tabela, p.kolumna);
        const auto dalej = [&] {
            Zmien(k, 0, p.pierwszy, true);
            Zmien(k, p.pierwszy, k.zmiany.size(), true);
        };
        for (const char* wartosci : kWartosci) {
            Utworz(k, wartosci);
            Wykonaj_Polecenia(polecenia, polecenia.size());
            dalej();
            const std::vector<std::string> prosty = Zawartosc_Tabeli(k.tabela);
            for (const size_t n : {2, 3, 5, 6, 7}) {
                SCOPED_TRACE(k.tabela + ", values " + wartosci + ", stopped after statement " +
                             std::to_string(n));
                Utworz(k, wartosci);
                Wykonaj_Polecenia(polecenia, n);
                Powtorz(dalej, k.tabela, prosty, n <= 5);
            }
        }
    }
}

}  // namespace
