// The release 1.65 database converted by the real program, as the suite runs it: every
// built step in order with its "Begin" and "End", the version reached recorded; and a
// run killed inside its work, started again, ends with the same database as a run that
// was never stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "baza.h"  // tools/baza
#include "dao/dao.h"
#include "db/polaczenie.h"
#include "driver/konwersje.h"
#include "jet/database.h"

namespace {

namespace fs = std::filesystem;

// The first step after from that this build does not have (647 when it has them all).
int pierwszy_niezbudowany(int od) {
    for (int v = od + 1; v <= 646; ++v) {
        const PozycjaKroku a = Akcja_Kroku(v);
        if (a.rodzaj == RodzajKroku::Metoda && a.metoda == nullptr) return v;
    }
    return 647;
}

class Baza165 : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("konw_e2e165_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A folder with the registry's request and a fresh release 1.65 database.
    fs::path przygotuj(const std::string& nazwa) {
        const fs::path folder = dir / nazwa;
        fs::create_directories(folder);
        baza::zbuduj_baze_165((folder / "baza.mdb").string());
        std::ofstream(folder / "registry.reg")
            << "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"
            << "\"dodralvex\"=\"0123\"\n\"dodralvexS\"=\"" << (folder / "baza.mdb").string()
            << "\"\n";
        return folder;
    }

    // Starts the program on a folder; its process id.
    static pid_t wystartuj(const fs::path& folder) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
            ::setenv("ORVIK_FAST_WAIT", "1", 1);
            ::unsetenv("ORVIK_ANSWERS");
            if (!std::freopen((folder / "out.txt").c_str(), "a", stdout)) ::_exit(120);
            if (!std::freopen((folder / "err.txt").c_str(), "a", stderr)) ::_exit(121);
            if (!std::freopen("/dev/null", "r", stdin)) ::_exit(122);
            ::execl(KONWERSJA, KONWERSJA, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    }

    // Waits for the program to end: the exit status, or 128 + the signal that ended it.
    static int koniec(pid_t pid) {
        int s = 0;
        ::waitpid(pid, &s, 0);
        return WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
    }

    // Starts the program on a folder; kill_after_ms > 0 kills it after that time.
    // Returns as koniec.
    static int uruchom(const fs::path& folder, int kill_after_ms = 0) {
        const pid_t pid = wystartuj(folder);
        if (kill_after_ms > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kill_after_ms));
            ::kill(pid, SIGKILL);
        }
        return koniec(pid);
    }

    // Starts the program on a folder and kills it opoznienie_ms after the log shows that
    // step krok began (or after two minutes when it never does). Returns as uruchom.
    static int uruchom_i_zabij_w_kroku(const fs::path& folder, int krok, int opoznienie_ms) {
        const pid_t pid = wystartuj(folder);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        for (;;) {
            const std::vector<int> poczatki = kroki(folder, "Begin");
            if (std::find(poczatki.begin(), poczatki.end(), krok) != poczatki.end()) break;
            if (std::chrono::steady_clock::now() > limit) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(opoznienie_ms));
        ::kill(pid, SIGKILL);
        return koniec(pid);
    }

    // Every user table with its rows, in the database's own order, as text.
    static std::string zawartosc(const fs::path& folder) {
        auto db = jet::Database::open((folder / "baza.mdb").string(),
                                      std::string(kDatabasePassword));
        std::ostringstream out;
        for (const jet::TableInfo* t : db->catalog().tables()) {
            out << "## " << t->name << "\n";
            auto c = db->query("SELECT * FROM [" + t->name + "]");
            while (c->next()) {
                for (size_t i = 0; i < c->columns().size(); ++i) {
                    const jet::Value v = c->value(static_cast<int>(i));
                    out << (i ? "|" : "") << (v.is_null() ? std::string("Null") : v.to_text());
                }
                out << "\n";
            }
        }
        db->close();
        return out.str();
    }

    static std::vector<std::string> linie(const fs::path& plik) {
        std::vector<std::string> w;
        std::ifstream in(plik);
        for (std::string l; std::getline(in, l);) w.push_back(l);
        return w;
    }

    // The step numbers of the log's lines with the given detail ("Begin" or "End").
    static std::vector<int> kroki(const fs::path& folder, const std::string& co) {
        std::vector<int> v;
        for (const auto& l : linie(folder / "Log")) {
            const std::string znacznik = ",Konwersja," + co + ",";
            const size_t k = l.find(znacznik);
            if (k == std::string::npos) continue;
            const size_t p = l.rfind(',', k - 1);
            v.push_back(std::stoi(l.substr(p + 1, k - p - 1)));
        }
        return v;
    }

    static std::string wersja(const fs::path& folder) {
        auto db = jet::Database::open((folder / "baza.mdb").string(),
                                      std::string(kDatabasePassword));
        auto c = db->query("SELECT NumerWersji FROM Nieruszac");
        std::string w = c->next() ? c->value(0).to_text() : "";
        db->close();
        return w;
    }

    fs::path dir;
};

std::string tekst_wersji(int v) {
    std::string s = std::to_string(v / 100) + "," + (v % 100 < 10 ? "0" : "") +
                    std::to_string(v % 100);
    while (s.back() == '0') s.pop_back();
    if (s.back() == ',') s.pop_back();
    return s;
}

TEST_F(Baza165, ConvertsThroughEveryBuiltStepWithItsLogLines) {
    const int ostatni = pierwszy_niezbudowany(165) - 1;
    ASSERT_GE(ostatni, 220);
    const fs::path f = przygotuj("caly");
    uruchom(f);
    EXPECT_EQ(wersja(f), tekst_wersji(ostatni));
    std::vector<int> oczekiwane;
    for (int v = 166; v <= ostatni; ++v) oczekiwane.push_back(v);
    EXPECT_EQ(kroki(f, "End"), oczekiwane);
    if (ostatni < 646) oczekiwane.push_back(ostatni + 1);  // begun, never ended
    EXPECT_EQ(kroki(f, "Begin"), oczekiwane);
}

TEST_F(Baza165, RunKilledInsideItsWorkResumesToTheSameDatabase) {
    const fs::path caly = przygotuj("caly");
    uruchom(caly);
    const std::string oczekiwana = zawartosc(caly);
    const std::string oczekiwana_wersja = wersja(caly);

    // Killed at several moments of its work; each time the next run resumes at the step
    // that did not finish and ends where the uninterrupted run ended, with its content.
    for (int ms : {300, 1200}) {
        const fs::path f = przygotuj("przerwany" + std::to_string(ms));
        uruchom(f, ms);
        uruchom(f);
        EXPECT_EQ(wersja(f), oczekiwana_wersja) << "killed at " << ms << " ms";
        EXPECT_EQ(zawartosc(f), oczekiwana) << "killed at " << ms << " ms";
    }
}

// Killed inside the step that cuts production by shift and renumbers it: the database
// stays as the previous step left it, and the next run ends as an uninterrupted one.
TEST_F(Baza165, RunKilledInsideTheProductionSplitResumesToTheSameDatabase) {
    if (pierwszy_niezbudowany(406) <= 407) GTEST_FAIL() << "step 4.07 is not built";
    const fs::path caly = przygotuj("caly");
    uruchom(caly);
    const std::string oczekiwana = zawartosc(caly);
    const std::string oczekiwana_wersja = wersja(caly);

    int w_kroku = 0;
    for (int ms : {0, 30, 150}) {
        const fs::path f = przygotuj("przerwany" + std::to_string(ms));
        EXPECT_EQ(uruchom_i_zabij_w_kroku(f, 407, ms), 128 + SIGKILL) << ms << " ms";
        if (wersja(f) == "4,06") ++w_kroku;
        uruchom(f);
        EXPECT_EQ(wersja(f), oczekiwana_wersja) << "killed " << ms << " ms into 4.07";
        EXPECT_EQ(zawartosc(f), oczekiwana) << "killed " << ms << " ms into 4.07";
    }
    EXPECT_GE(w_kroku, 1) << "no run was killed inside step 4.07";
}

}  // namespace
