// The demonstration database's road in pieces: databases made at earlier releases (runs
// of builds that stop there) convert on to the same database as one uninterrupted run,
// and runs killed inside steps spread over the road resume to the same database.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "droga.h"
#include "jet/database.h"

namespace {

namespace fs = std::filesystem;
using namespace droga;

// The step of a version as [Nieruszac] shows it ("4,06" -> 406).
int krok(const std::string& wersja) {
    std::string w = wersja;
    std::replace(w.begin(), w.end(), ',', '.');
    return static_cast<int>(std::lround(std::stod(w) * 100));
}

std::vector<int> od_do(int od, int do_) {
    std::vector<int> v;
    for (int x = od; x <= do_; ++x) v.push_back(x);
    return v;
}

// Each run of the chain begins at the step where the one before it stopped and ends at
// its own stop honestly (<65434>, "0000", the version before the stop); the last ends
// the road as the straight run does, with the same database.
TEST(Droga, DatabasesMadeAtEarlierReleasesConvertToTheStraightRunsDatabase) {
    const Droga& d = ta_droga();
    int od = 166;
    for (const auto& [x, p] : d.postoje) {
        SCOPED_TRACE("build stopping at step " + std::to_string(x));
        EXPECT_EQ(p.status(), 1);
        EXPECT_EQ(rejestr(p.folder, "dodralvex"), "0000");
        std::string numer = " " + tekst_wersji(x);
        std::replace(numer.begin(), numer.end(), ',', '.');
        EXPECT_EQ(rejestr(p.folder, "dodralvexNumerBazy"), numer) << "the step attempted";
        EXPECT_NE(tekst(p.folder / "err.txt").find("(Konwersja_" + std::to_string(x) + ")"),
                  std::string::npos);
        EXPECT_EQ(wersja(p.folder), tekst_wersji(x - 1));
        std::vector<int> poczatki = od_do(od, x);
        EXPECT_EQ(kroki(p.folder, "Begin"), poczatki);
        poczatki.pop_back();
        EXPECT_EQ(kroki(p.folder, "End"), poczatki);
        od = x;
    }
    // Every release before the end of the road was among the stops.
    for (int v : kWydania) {
        if (nastepna_metoda(v) <= d.koniec) {
            EXPECT_TRUE(d.postoje.count(nastepna_metoda(v))) << v;
        }
    }

    EXPECT_EQ(kroki(d.lancuch.folder, "Begin").front(), od);
    EXPECT_EQ(kroki(d.lancuch.folder, "End").back(), d.koniec);
    EXPECT_EQ(d.lancuch.status(), d.prosty.status());
    EXPECT_EQ(rejestr(d.lancuch.folder, "dodralvex"), rejestr(d.prosty.folder, "dodralvex"));
    EXPECT_EQ(rejestr(d.lancuch.folder, "dodralvex"), d.koniec == 646 ? "3210" : "0000");
    EXPECT_EQ(wersja(d.lancuch.folder), tekst_wersji(d.koniec));
    const std::string prosty = d.prosty.zawartosc();
    EXPECT_GT(prosty.size(), d.wzor.zawartosc().size() / 2) << "the straight run's database";
    EXPECT_EQ(d.lancuch.zawartosc(), prosty);
}

// A receipt line at the exempt rate 'zw' whose gross price the suite left at 0 (lines
// written after the gross prices were introduced start at 0): the gross-price
// recomputation of 4.77 divides the rate by 100, which cannot be done for 'zw', so that
// line's gross price becomes Null and the conversion goes on to its end.
TEST(Droga, ExemptReceiptLineWithoutGrossPriceDoesNotStopTheConversion) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "every step is built";
    const auto przed = d.postoje.find(nastepna_metoda(466));
    ASSERT_NE(przed, d.postoje.end()) << "the chain stops at 4.66";
    const fs::path f = fs::temp_directory_path() / ("konw_e2e_zw_" + std::to_string(::getpid()));
    fs::remove_all(f);
    kopiuj_baze(przed->second.folder, f);
    const auto sql = [&](const std::string& polecenie) {
        auto db = jet::Database::open((f / "baza.mdb").string(), std::string(kDatabasePassword));
        std::string wynik;
        if (polecenie.rfind("select", 0) == 0) {
            auto c = db->query(polecenie);
            while (c->next()) wynik += c->value(0).to_text() + ";";
        } else {
            wynik = std::to_string(db->execute(polecenie));
        }
        db->close();
        return wynik;
    };
    EXPECT_EQ(sql("update DOK_PAR_ZAWART set WSPRZ_CENA_BRUTTO=0, WSPRZ_WARTOSC_BRUTTO=0 where "
                  "ZDDOUT_VAT='zw'"),
              "1");
    zadanie(f);
    EXPECT_EQ(uruchom(f, KONWERSJA), 0) << tekst(f / "err.txt");
    EXPECT_EQ(rejestr(f, "dodralvex"), "3210");
    EXPECT_EQ(wersja(f), tekst_wersji(646));
    EXPECT_EQ(sql("select IIf(WSPRZ_CENA_BRUTTO Is Null, 'Null', 'set') from DOK_PAR_ZAWART "
                  "where ZDDOUT_VAT='zw'"),
              "Null;");
    fs::remove_all(f);
}

// Where inside a step the process is killed.
enum class Moment {
    Poczatek,  // as soon as the log shows that the step began
    Srodek,    // about half the time the step takes after it began
    PoPracy,   // after the step's work, before its version is recorded
};

void PrintTo(Moment m, std::ostream* os) {
    *os << static_cast<int>(m);
}

class Zabity : public ::testing::TestWithParam<Moment> {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("konw_e2e_zabity_" + std::to_string(::getpid()) + "_" +
                                           std::to_string(static_cast<int>(GetParam())));
        fs::remove_all(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

// From the road's database at the step before, a run killed inside the step leaves the
// database as that step found it (at the latest as the next stop has it), and the next
// run resumes there and reaches the road's next stop with the road's database. Steps
// beyond the end of the road are left out.
TEST_P(Zabity, RunKilledInsideAStepResumesToTheSameDatabase) {
    const Droga& d = ta_droga();
    std::vector<int> zabite;
    for (int k : kZabijane) {
        if (k > d.koniec) continue;
        SCOPED_TRACE("killed inside step " + std::to_string(k));
        zabite.push_back(k);
        const Przebieg& przed = d.postoje.at(k);
        const Cel c = cel_od(k);
        const fs::path f = dir / std::to_string(k);
        kopiuj_baze(przed.folder, f);
        zadanie(f);
        int status = 0;
        if (GetParam() == Moment::PoPracy) {
            status = uruchom(f, KONWERSJA_KROKI, std::to_string(k) + "=zabij_po");
            EXPECT_EQ(status, 128 + SIGKILL);
            EXPECT_EQ(zawartosc(f), przed.zawartosc()) << "the step's work is not kept";
        } else {
            const auto czas = d.czas_ms.find(c.wersja + 1);
            const int ms = GetParam() == Moment::Poczatek ? 0
                           : czas == d.czas_ms.end()      ? 100
                                                          : czas->second / 2;
            status = uruchom_i_zabij_w_kroku(f, c.program, c.kroki, k, ms);
        }
        const int zabity = krok(wersja(f));
        EXPECT_GE(zabity, k - 1);
        EXPECT_LE(zabity, c.wersja);
        const bool w_kroku = zabity == k - 1;
        fs::remove(f / "Log");
        zadanie(f);
        uruchom(f, c.program, c.kroki);
        if (w_kroku) {
            EXPECT_EQ(kroki(f, "Begin").front(), k) << "resumes at the killed step";
        }
        EXPECT_EQ(wersja(f), tekst_wersji(c.wersja));
        EXPECT_EQ(zawartosc(f), c.wzorzec->zawartosc()) << "status of the killed run " << status;
    }
    EXPECT_FALSE(zabite.empty());
}

INSTANTIATE_TEST_SUITE_P(Droga, Zabity,
                         ::testing::Values(Moment::Poczatek, Moment::Srodek, Moment::PoPracy),
                         [](const ::testing::TestParamInfo<Moment>& i) {
                             switch (i.param) {
                                 case Moment::Poczatek:
                                     return std::string("AtItsBegin");
                                 case Moment::Srodek:
                                     return std::string("InItsMiddle");
                                 case Moment::PoPracy:
                                     return std::string("AfterItsWork");
                             }
                             return std::string();
                         });

// A step that a run of the suite's earlier tool left half done: the writes of the step
// before its n-th committed, the version the one before (KONW_AWARIA "<step>:<n>:zabij"),
// from the road's database before the step, on which sql ran first (rows that the
// demonstration database lacks). The next run ends the step with the database that an
// uninterrupted run makes from the same database, or, where stop names the state, stops
// with the killed state kept and a message naming the step and that state.
struct Przerwany {
    int krok;
    int zapis;
    std::vector<std::string> sql = {};
    const char* stop = nullptr;
};

void PrintTo(const Przerwany& p, std::ostream* os) {
    *os << p.krok << ":" << p.zapis;
}

class Przerwane : public ::testing::TestWithParam<Przerwany> {};

TEST_P(Przerwane, StepLeftHalfDoneEndsAsAnUninterruptedRunOrStopsNamingIt) {
    const Przerwany& p = GetParam();
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "every step is built";
    const Cel c = cel_od(p.krok);
    const fs::path dir =
        fs::temp_directory_path() / ("konw_e2e_przerwany_" + std::to_string(::getpid()));
    const auto z_wejscia = [&](const char* nazwa) {
        const fs::path f = dir / nazwa;
        kopiuj_baze(d.postoje.at(p.krok).folder, f);
        EXPECT_EQ(wykonaj(f, p.sql), 0);
        zadanie(f);
        return f;
    };
    std::string wzorzec = c.wzorzec->zawartosc();
    if (!p.sql.empty()) {
        const fs::path prosty = z_wejscia("prosty");
        uruchom(prosty, c.program, c.kroki);
        wzorzec = zawartosc(prosty);
    }
    const fs::path f = z_wejscia("przerwany");
    ::setenv("KONW_AWARIA",
             (std::to_string(p.krok) + ":" + std::to_string(p.zapis) + ":zabij").c_str(), 1);
    EXPECT_EQ(uruchom(f, c.program, c.kroki), 128 + SIGKILL);
    ::unsetenv("KONW_AWARIA");
    const std::string polowa = zawartosc(f);
    zadanie(f);
    const int status = uruchom(f, c.program, c.kroki);
    if (p.stop == nullptr) {
        EXPECT_EQ(wersja(f), tekst_wersji(c.wersja)) << tekst(f / "err.txt");
        EXPECT_EQ(zawartosc(f), wzorzec);
    } else {
        EXPECT_EQ(status, 1);
        EXPECT_EQ(zawartosc(f), polowa);
        const std::string log = tekst(f / "Log");
        std::string numer = tekst_wersji(p.krok);
        std::replace(numer.begin(), numer.end(), ',', '.');
        EXPECT_NE(log.find("Poprzednia konwersja do wersji " + numer), std::string::npos) << log;
        EXPECT_NE(log.find(p.stop), std::string::npos) << log;
    }
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Droga, Przerwane,
    ::testing::Values(Przerwany{212, 6}, Przerwany{234, 8}, Przerwany{234, 9}, Przerwany{234, 11},
                      Przerwany{234, 16}, Przerwany{242, 31}, Przerwany{242, 46},
                      Przerwany{244, 71}, Przerwany{244, 108}, Przerwany{270, 131},
                      Przerwany{270, 247}, Przerwany{272, 339}, Przerwany{272, 811},
                      Przerwany{272, 1040}, Przerwany{272, 1078}, Przerwany{304, 11},
                      Przerwany{308, 10}, Przerwany{322, 102}, Przerwany{322, 107},
                      Przerwany{378, 3}, Przerwany{378, 12}, Przerwany{388, 300},
                      // An unnumbered invoice logged, not yet deleted.
                      Przerwany{244, 43, {"update faktury set FAKOUT_NUMER='' where FAKOUT_ID=1"}},
                      // A payroll list saved without its number.
                      Przerwany{271,
                                5,
                                {"insert into Place_Dane (IDP, dataK, wartosc, pole) values (1, "
                                 "#01-05-2000#, 100, 0)"}},
                      // A PIT-5 partner's party added, the declarations not yet moved.
                      Przerwany{388,
                                137,
                                {"insert into Platnik (nazwisko, imie) values ('Nowak','Jan')"},
                                "po dopisaniu wspólników PIT-5"}),
    [](const ::testing::TestParamInfo<Przerwany>& i) {
        return "Step" + std::to_string(i.param.krok) + "Write" + std::to_string(i.param.zapis);
    });

}  // namespace
