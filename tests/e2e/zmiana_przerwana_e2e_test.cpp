// README.md's repair by hand of a temporary column that a run cannot settle, run as the
// README gives it: its commands are taken from the paragraph on a column change that the
// suite's earlier tool left half done, their placeholders replaced, and run by the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "droga.h"
#include "jet/database.h"
#include "jet/error.h"
#include "steps/przerwana_zmiana.h"

namespace {

namespace fs = std::filesystem;
using namespace droga;

// The commands of README.md's paragraph on a half-done column change: its indented
// blocks, each without its indentation.
std::vector<std::string> Polecenia_README() {
    std::ifstream in(README);
    std::vector<std::string> bloki;
    bool w_akapicie = false, w_bloku = false;
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("**A column change that the suite's earlier tool left half done.**", 0) == 0)
            w_akapicie = true;
        else if (w_akapicie && (l.rfind("**", 0) == 0 || l.rfind("#", 0) == 0))
            break;
        const bool kod = w_akapicie && l.rfind("    ", 0) == 0;
        if (kod && !w_bloku) bloki.emplace_back();
        if (kod) bloki.back() += l.substr(4) + "\n";
        w_bloku = kod;
    }
    return bloki;
}

// The README's first block that holds fragment, with the program's and the database's paths
// and the placeholders in capitals (TABLE, COLUMN, TYPE) replaced.
std::string Polecenie(const std::string& fragment, const fs::path& folder,
                      const std::map<std::string, std::string>& za) {
    static const std::vector<std::string> bloki = Polecenia_README();
    std::string p;
    for (auto b = bloki.rbegin(); b != bloki.rend(); ++b)
        if (b->find(fragment) != std::string::npos) p = *b;
    if (p.empty()) throw std::runtime_error("README.md has no command with " + fragment);
    const auto zastap = [&](const std::string& co, const std::string& czym) {
        const size_t k = p.find(co);
        if (k == std::string::npos) throw std::runtime_error("README.md's command lacks " + co);
        p.replace(k, co.size(), czym);
    };
    zastap("build/tools/jetsql/jetsql", JETSQL);
    zastap("/srv/dane/Moje dane/baza.mdb", (folder / "baza.mdb").string());
    for (const auto& [nazwa, wartosc] : za) {
        std::string bez_dolara;  // regex_replace reads "$" in its format
        for (char c : wartosc) bez_dolara += c == '$' ? std::string("$$") : std::string(1, c);
        p = std::regex_replace(p, std::regex("\\b" + nazwa + "\\b"), bez_dolara);
    }
    return p;
}

// Runs a shell command: its exit status and its output's last line.
std::pair<int, std::string> Uruchom_Powloka(const std::string& polecenie) {
    FILE* f = ::popen((polecenie + " 2>&1").c_str(), "r");
    std::string wyjscie;
    char b[4096];
    for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) wyjscie.append(b, n);
    const int s = ::pclose(f);
    while (!wyjscie.empty() && wyjscie.back() == '\n') wyjscie.pop_back();
    const size_t k = wyjscie.rfind('\n');
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1,
            k == std::string::npos ? wyjscie : wyjscie.substr(k + 1)};
}

int Konwersja(const fs::path& folder) {
    fs::remove(folder / "err.txt");
    zadanie(folder);
    return uruchom(folder, KONWERSJA);
}

// Accounts of the chart whose code parts a step before 5.58 left as text(10) and 5.58
// widens to text(25) through the temporary column: each part different in every row.
const std::vector<std::string> kKonta = {
    "insert into kh_konta (ROK, NR_K_1, NR_K_2, NR_K_3, Nazwa_konta) values (2024, '100', '01', "
    "'1', 'Kasa')",
    "insert into kh_konta (ROK, NR_K_1, NR_K_2, NR_K_3, Nazwa_konta) values (2024, '200', '02', "
    "'', 'Bank')",
    "insert into kh_konta (ROK, NR_K_1, NR_K_2, NR_K_3, Nazwa_konta) values (2024, '201', "
    "'0123456789', '7', 'Rozrachunki')"};

// From the road's database at 5.57 with accounts, a widening of the chart's code parts
// left by a stopped run before step 5.58's change of NR_K_2 (the step's index drops
// done): the run stops with the database as it was, naming the column the table lacks
// where the temporary column holds its only copy; the README's comparison tells a copy
// from the rest, its repair run literally puts the table right, and the next run ends as
// an uninterrupted run from the same database, the file keeping its password.
TEST(Droga, TheReadmesRepairOfATemporaryColumnEndsTheConversion) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "every step is built";
    const fs::path dir = fs::temp_directory_path() / ("konw_e2e_tmp_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const fs::path baza = dir / "baza", wzor = dir / "wzor", f = dir / "naprawa";
    kopiuj_baze(std::prev(d.postoje.upper_bound(558))->second.folder, baza);
    zadanie(baza);
    ASSERT_EQ(uruchom(baza, KONWERSJA_KROKI, "558=brak"), 1);
    ASSERT_EQ(wersja(baza), "5,57");
    ASSERT_EQ(wykonaj(baza, kKonta), 0);
    kopiuj_baze(baza, wzor);
    ASSERT_EQ(Konwersja(wzor), 0) << tekst(wzor / "err.txt");
    const std::string prosty = zawartosc(wzor);

    const std::string T = "kh_konta", tmp = "ccxxdfredvvcxds__ddfr";
    const std::vector<std::string> indeksy = {"drop index Podstawowy on kh_konta",
                                              "drop index NR_K_2 on kh_konta"};
    const struct {
        const char* opis;
        std::string poszerzona;  // the column widened
        size_t n;                // the widening's statements that the stopped run made
        std::string brak;        // the column and type that the message names, "" none
        std::map<std::string, std::string> rozne;  // rows differing from a column
    } przypadki[] = {
        {"a copy of a column the table has", "NR_K_3", 3, "", {{"NR_K_3", "0"}, {"NR_K_2", "3"}}},
        {"the only copy of a column the table lacks",
         "NR_K_2",
         5,
         "NR_K_2 Text (25) default ''",
         {{"NR_K_3", "3"}}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.opis);
        kopiuj_baze(baza, f);
        std::vector<std::string> stan = indeksy;
        const std::vector<std::string> poszerzenie =
            kroki_test::Polecenia_Poszerzenia(T, p.poszerzona);
        stan.insert(stan.end(), poszerzenie.begin(),
                    poszerzenie.begin() + static_cast<std::ptrdiff_t>(p.n));
        wykonaj(f, stan);
        const std::string pozostawiona = zawartosc(f);

        EXPECT_EQ(Konwersja(f), 1);
        EXPECT_EQ(rejestr(f, "dodralvex"), "0000");
        EXPECT_EQ(zawartosc(f), pozostawiona) << "the run changed nothing";
        const std::string blad = tekst(f / "err.txt");
        const std::string naglowek = "(nazwa i typ): ", koniec = " ->>>" + T + "." + tmp;
        const size_t k = blad.find(koniec);
        ASSERT_NE(k, std::string::npos) << blad;
        const size_t n = blad.rfind(naglowek, k);
        const std::string brak =
            n == std::string::npos ? "" : blad.substr(n + naglowek.size(), k - n - naglowek.size());
        EXPECT_EQ(brak, p.brak) << blad;

        for (const auto& [kolumna, ile] : p.rozne) {
            SCOPED_TRACE("compared with " + kolumna);
            const auto [status, ostatni] = Uruchom_Powloka(
                Polecenie("SELECT Count(*)", f, {{"TABLE", T}, {"COLUMN", kolumna}}));
            EXPECT_EQ(status, 0);
            EXPECT_EQ(ostatni, ile);
        }
        const size_t spacja = brak.find(' ');
        const auto [status, ostatni] =
            brak.empty() ? Uruchom_Powloka(Polecenie("drop column", f, {{"TABLE", T}}))
                         : Uruchom_Powloka(Polecenie("add COLUMN TYPE", f,
                                                     {{"TABLE", T},
                                                      {"COLUMN", brak.substr(0, spacja)},
                                                      {"TYPE", brak.substr(spacja + 1)}}));
        EXPECT_EQ(status, 0) << ostatni;

        EXPECT_EQ(Konwersja(f), 0) << tekst(f / "err.txt");
        EXPECT_EQ(rejestr(f, "dodralvex"), "3210");
        EXPECT_EQ(zawartosc(f), prosty) << "the values kept, as an uninterrupted run leaves them";
        try {
            jet::Database::open((f / "baza.mdb").string());
            ADD_FAILURE() << "the file opened without its password";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::hr::WrongPassword);
        }
    }
    fs::remove_all(dir);
}

}  // namespace
