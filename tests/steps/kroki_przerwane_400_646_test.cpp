// Steps of 4.00 to 6.46 run again over what a stopped run of the suite's earlier tool left:
// that tool committed each statement on its own and recorded the version only after the
// step, so such a database holds part of a step. The demonstration database is brought
// along the road to the step's entry and given the case's rows (where it leaves the
// step's tables empty); the step is stopped before the chosen write, the writes before it
// kept; then the step runs again as the version loop runs it, and ends as a run that was
// never stopped, or stops naming the step with the database as the stopped run left it.
#include <filesystem>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/write_hook.h"
#include "kroki_fixture.h"
#include "steps/przerwana_zmiana.h"

namespace kroki_test {
namespace {

// The stop before the chosen write (0: none, the writes only counted).
struct Zatrzymany {};
int zapis_stopu = 0, zapisy = 0;
void Przed_Zapisem() {
    if (++zapisy == zapis_stopu) throw Zatrzymany{};
}

struct Stan {
    int krok;
    int zapis;  // the stop comes before this write; 0 or less counts from the step's last
                // write (0: after it, the version not yet recorded)
    std::vector<std::string> wiersze;  // statements run at the step's entry
    const char* stop = nullptr;        // a text of the stop's message; none: the road's end
    const char* bez = nullptr;         // a table left out of the comparison
};

// Three equal stocktaking lines.
const std::vector<std::string> kRemanent(
    3,
    "insert into DOK_REI_ZAWART (ID_RI, ID, Ilosc_namagazynie, Ilosc_stanfaktyczny, Cena) "
    "values (1, 1, 5, 4, 2)");

// A stocktaking document with a line of each kind.
const std::vector<std::string> kInwentaryzacja = {
    "insert into DOK_REI (ID_RI, Data) values (9001, #2004-05-06#)",
    "insert into DOK_REI_ZAWART (ID_RI, RI, ID, cena) values (9001, 'R', 1, 2)",
    "insert into DOK_REI_ZAWART (ID_RI, RI, ID, cena) values (9001, 'B', 2, 2)"};

const Stan kStany[] = {
    {419, 0, {}},                // ID_DOK dropped after its carry
    {428, 60, {}},               // payroll component 172 inserted
    {430, 40, kInwentaryzacja},  // the kind of a stocktaking line dropped after its pass
    {450, 5, {}, "schemat KB"},  // the scheme KB added, not its line
    {463, 28, {}},               // Kartoteka dropped after its carry
    {463,
     -98,  // the entries' sums raised, the turnovers not recomputed
     {"insert into kh_ksiega (kpir_id, suma_wn, suma_ma) values (9001, 10, 0)",
      "insert into KH_DEKRETY (kpir_id, KWOTA_WN, KWOTA_MA) values (9001, 5, 0)"},
     "sum zapisów"},
    {473, 4, {}},   // an empty copy of place_dane
    {473, 41, {}},  // place_dane dropped once copied
    {473, 66, {}},  // the settings tables emptied, the users' key not made on the copy
    // A setting of a user: the settings tables made, the setting not yet moved (no setting
    // moves before the users' table has its key).
    {473,
     -40,
     {"insert into SETUP (Nazwa, Wartosc) values ('ADMIN_KOLOR', 'zielony')"}},
    {474, 9, {}},   // the account columns dropped after the split
    {479, 20, {}},  // id_us dropped after its carry
    {479,
     0,  // a payer text naming its own contractor emptied, beside a contractor without a name
     {"insert into KONTRAHENCI (KONH_ID, KONH_NAZ_SKROT) values (9001, '')",
      "insert into KONTRAHENCI (KONH_ID, KONH_NAZ_SKROT, KONH_PLATNIK_KTO) values (9002, 'P', "
      "'P')"}},
    {480, 30, {}},  // the kind text renamed after the numbering
    {496, 0, {}},   // both renames made
    {507, 5, {}},   // a movement kind inserted
    {537, 26, {}},  // the line table dropped, no header table made yet
    {537, 27, {}},  // the lines copied, the line table dropped
    {537, 40, {}},  // the header table made from the calculations
    {541,
     3,  // the unposted plan rows' amounts returned, the rows not deleted
     {"insert into SRODKI_TRWALE_ZAWART (ID, KWOTA_DO_AMORT, wprowadz) values (9001, 100, '0')",
      "insert into SRODKI_TRWALE_AMORTYZACJA (ID, MIESIAC, ROK, KWOTA, id_kpir) values "
      "(9001, 1, 2004, 10, 0)"},
     "odpisów"},
    {547, -1, {}},                      // ID changed, the lines' key not yet added
    {558, 49, {}},                      // KONH_NAZ_SKROT dropped in its change
    {588, 134, {}, nullptr, "S_Inne"},  // a driver column dropped
    {595, 3, {}, "numery kont"},        // a bank's account number rewritten
    {600, 34, {}},                      // the report ID added after the position change
    {610, 15, kRemanent, "remanentu"},  // a line's quantities added, the line not deleted
    {612,
     13,  // a book entry's line negated, its amount not yet signed
     {"insert into KPIR_KSIEGA (kpir_id, wart_fin) values (9001, -50)",
      "insert into DOK_FIN (kp_id, PW) values (9001, 'P')",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota, Brutto_dokumentu) values "
      "(9001, 9001, 'KPIR -', 50, 50)"}},
    {615,
     -3,  // a payment of an outgoing other document negated
     {"insert into DOK_INN (DOK_ID, wart_fin, WART_finWYD) values (9001, 0, 30)",
      "insert into DOK_FIN (kp_id, PW) values (9001, 'W')",
      "insert into DOK_FIN_ZAWART (kp_id, dok_id, rodzaj_dok, kwota, Brutto_dokumentu, RODZAJ) "
      "values (9001, 9001, 'IN-', 30, 30, 97)"}},
};

// The whole database without the rows of one table.
std::vector<std::string> Baza_Bez(const char* tabela) {
    std::vector<std::string> w;
    bool pomin = false;
    for (std::string& l : Zawartosc_Bazy()) {
        if (l.starts_with("[")) pomin = tabela && l.starts_with(std::string("[") + tabela + "]");
        if (!pomin) w.push_back(std::move(l));
    }
    return w;
}

TEST_F(KrokiTest, KrokPrzerwanyKonczySieJakBezPrzerwyAlboStajeNazywajacStan) {
    int droga = 164;
    const std::string kopia = (dir / "kopia.mdb").string();
    const auto otworz = [&](const std::string& plik, int krok) {
        k.BazaDAO.reset();  // a rename's DAO handle holds the file open
        DbZamknij();
        if (plik != path) {
            for (const char* s : {"-wal", "-shm"}) std::filesystem::remove(kopia + s);
            std::filesystem::copy_file(plik, kopia,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        Sciezka_Bazy = plik == path ? path : kopia;
        DbOtwórz();
        Wersja_Bazy = (krok - 1) / 100.0;
    };
    const auto krok = [&](int v) -> std::string {
        try {
            Krok_Konwersji = v;
            (k.*Zbudowane_Kroki().at(v))();
            return "";
        } catch (const jet::Error& e) {
            return e.description();
        } catch (const platform::ProcessEnd& e) {
            return "process end " + std::to_string(e.status);
        }
    };
    for (const Stan& s : kStany) {
        SCOPED_TRACE(std::to_string(s.krok) + " " + std::to_string(s.zapis));
        const std::string wzor = (dir / ("przed-" + std::to_string(s.krok) + ".mdb")).string();
        if (droga < s.krok - 1) {  // the road to the step's entry
            otworz(path, droga + 1);
            for (const auto& [v, metoda] : Zbudowane_Kroki())
                if (v > droga && v < s.krok) {
                    ASSERT_EQ(krok(v), "") << v;
                    Wersja_Bazy = v / 100.0;
                }
            droga = s.krok - 1;
            DbZamknij();
            std::filesystem::copy_file(path, wzor);
        }
        // The uninterrupted step, its writes counted.
        otworz(wzor, s.krok);
        for (const std::string& w : s.wiersze) sql(w);
        zapis_stopu = zapisy = 0;
        jet::set_write_hook(Przed_Zapisem);
        ASSERT_EQ(krok(s.krok), "");
        jet::set_write_hook(nullptr);
        const std::vector<std::string> prosto = Baza_Bez(s.bez);
        // The step stopped before its write, what it wrote before kept.
        otworz(wzor, s.krok);
        for (const std::string& w : s.wiersze) sql(w);
        zapis_stopu = s.zapis > 0 ? s.zapis : zapisy + 1 + s.zapis;
        zapisy = 0;
        jet::set_write_hook(Przed_Zapisem);
        bool zatrzymany = false;
        try {
            Krok_Konwersji = s.krok;
            (k.*Zbudowane_Kroki().at(s.krok))();
        } catch (const Zatrzymany&) {
            zatrzymany = true;
        }
        jet::set_write_hook(nullptr);
        ASSERT_EQ(zatrzymany, s.zapis != 0);
        DbZamknij();
        DbOtwórz();
        const std::vector<std::string> polowa = Zawartosc_Bazy();
        // The step again, as the version loop runs it.
        std::string wynik;
        {
            jet::WorkUnit jednostka(polaczenie().database());
            wynik = krok(s.krok);
            if (wynik.empty()) polaczenie().Checkpoint();
        }
        if (!Baza_Otwarta) DbOtwórz();  // a critical stop closed it
        if (s.stop == nullptr) {
            EXPECT_EQ(wynik, "");
            EXPECT_EQ(Baza_Bez(s.bez), prosto);
        } else {
            const std::string wersja = std::to_string(s.krok / 100) + "." +
                                       std::to_string(s.krok % 100) + " została przerwana";
            EXPECT_NE(wynik.find(wersja), std::string::npos) << wynik;
            EXPECT_NE(wynik.find(s.stop), std::string::npos) << wynik;
            EXPECT_EQ(Zawartosc_Bazy(), polowa);
        }
    }
}

}  // namespace
}  // namespace kroki_test
