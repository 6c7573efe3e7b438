// README.md's repair by hand of a temporary column that a run cannot settle, run as the
// README gives it: the stop's message names the README's chapter, whose commands are taken
// from it, their placeholders replaced, and run by the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "droga.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/text.h"
#include "steps/przerwana_zmiana.h"

namespace {

namespace fs = std::filesystem;
using namespace droga;

// The commands of README.md's chapter of that title: its indented blocks, each without its
// indentation.
std::vector<std::string> Polecenia_README(const std::string& tytul) {
    std::ifstream in(README);
    std::vector<std::string> bloki;
    bool w_rozdziale = false, w_bloku = false;
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("#", 0) == 0) {
            if (w_rozdziale) break;
            w_rozdziale = l == "## " + tytul;
        }
        const bool kod = w_rozdziale && l.rfind("    ", 0) == 0;
        if (kod && !w_bloku) bloki.emplace_back();
        if (kod) bloki.back() += l.substr(4) + "\n";
        w_bloku = kod;
    }
    return bloki;
}

void Zastap_Wszystkie(std::string& w, const std::string& co, const std::string& czym) {
    for (size_t k = w.find(co); k != std::string::npos; k = w.find(co, k + czym.size()))
        w.replace(k, co.size(), czym);
}

// The first block of the chapter that holds fragment, with the program's path, the
// database's folder and the backup's folder (kopie) replaced, and the placeholders in
// capitals (TABLE, COLUMN, TYPE).
std::string Polecenie(const std::string& tytul, const std::string& fragment, const fs::path& folder,
                      const std::map<std::string, std::string>& za, const fs::path& kopie = {}) {
    const std::vector<std::string> bloki = Polecenia_README(tytul);
    const auto b = std::find_if(bloki.begin(), bloki.end(), [&](const std::string& x) {
        return x.find(fragment) != std::string::npos;
    });
    if (b == bloki.end())
        throw std::runtime_error("README.md's chapter \"" + tytul + "\" has no command with " +
                                 fragment);
    std::string p = *b;
    Zastap_Wszystkie(p, "build/tools/jetsql/jetsql", JETSQL);
    Zastap_Wszystkie(p, "/srv/dane/Moje dane/", folder.string() + "/");
    Zastap_Wszystkie(p, "/srv/kopie/", kopie.string() + "/");
    for (const auto& [nazwa, wartosc] : za) {
        std::string bez_dolara;  // regex_replace reads "$" in its format
        for (char c : wartosc) bez_dolara += c == '$' ? std::string("$$") : std::string(1, c);
        p = std::regex_replace(p, std::regex("\\b" + nazwa + "\\b"), bez_dolara);
    }
    return p;
}

// Runs a shell command: its exit status and its output (standard error with it).
std::pair<int, std::string> Uruchom_Powloka(const std::string& polecenie) {
    FILE* f = ::popen(("{\n" + polecenie + "} 2>&1").c_str(), "r");
    std::string wyjscie;
    char b[4096];
    for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) wyjscie.append(b, n);
    const int s = ::pclose(f);
    while (!wyjscie.empty() && wyjscie.back() == '\n') wyjscie.pop_back();
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, wyjscie};
}

std::string Ostatni_Wiersz(const std::string& w) {
    const size_t k = w.rfind('\n');
    return k == std::string::npos ? w : w.substr(k + 1);
}

// The columns of each table that the output of ".schema" commands lists, in order.
std::vector<std::vector<std::string>> Kolumny_Schematow(const std::string& wyjscie) {
    std::vector<std::vector<std::string>> tabele;
    bool w_kolumnach = false;
    std::istringstream in(wyjscie);
    for (std::string l; std::getline(in, l);) {
        if (l == "Columns:") tabele.emplace_back();
        if (l.rfind("  ", 0) != 0) {
            w_kolumnach = l == "Columns:";
            continue;
        }
        if (w_kolumnach) tabele.back().push_back(l.substr(2, l.find(' ', 2) - 2));
    }
    return tabele;
}

int Konwersja(const fs::path& folder) {
    fs::remove(folder / "err.txt");
    zadanie(folder);
    return uruchom(folder, KONWERSJA);
}

// The stop's message as standard error shows it: the line with "->>>".
std::string Komunikat(const fs::path& folder) {
    std::istringstream in(tekst(folder / "err.txt"));
    for (std::string l; std::getline(in, l);)
        if (l.find("->>>") != std::string::npos) return l;
    return "";
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

// From the road's database at 5.57, with accounts or with none, a widening of the chart's
// columns left by a stopped run before step 5.58's change of NR_K_2 (the step's index
// drops done): the run stops with the database as it was, pointing at the README's chapter
// and naming the change's column. The chapter's recipe is followed as a user follows it: a
// copy of the file; the table's columns against a backup from before (the database before
// the widening), which finds a column that the widening dropped and that no value shows in
// an empty table; the comparison of values; the column that the table lacks added back
// from the temporary column, else the temporary column dropped. A typo in the copy of the
// values stops the block with nothing committed, and the next run stops the same way. The
// run after the repair ends as an uninterrupted run from the database whose widening
// completed, the file keeping its password.
TEST(Droga, TheReadmesRepairOfATemporaryColumnEndsTheConversion) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "every step is built";
    const fs::path dir = fs::temp_directory_path() / ("konw_e2e_tmp_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const fs::path pusta = dir / "pusta", konta = dir / "konta", wzor = dir / "wzor",
                   f = dir / "naprawa";
    kopiuj_baze(std::prev(d.postoje.upper_bound(558))->second.folder, pusta);
    zadanie(pusta);
    ASSERT_EQ(uruchom(pusta, KONWERSJA_KROKI, "558=brak"), 1);
    ASSERT_EQ(wersja(pusta), "5,57");
    ASSERT_EQ(jedna(pusta, "select count(*) from kh_konta"), "0");
    kopiuj_baze(pusta, konta);
    ASSERT_EQ(wykonaj(konta, kKonta), 0);

    const std::string T = "kh_konta", tmp = "ccxxdfredvvcxds__ddfr";
    const std::vector<std::string> indeksy = {"drop index Podstawowy on kh_konta",
                                              "drop index NR_K_2 on kh_konta"};
    // In folder cel, the database before the widening (kopia, the backup), the step's index
    // drops and the widening's first n statements made.
    const auto stan = [&](const fs::path& cel, const fs::path& kopia, const std::string& kolumna,
                          size_t n) {
        kopiuj_baze(kopia, cel);
        std::vector<std::string> polecenia = indeksy;
        const std::vector<std::string> poszerzenie = kroki_test::Polecenia_Poszerzenia(T, kolumna);
        polecenia.insert(polecenia.end(), poszerzenie.begin(),
                         poszerzenie.begin() + static_cast<std::ptrdiff_t>(n));
        wykonaj(cel, polecenia);
    };
    const struct {
        const char* opis;
        fs::path kopia;          // the database before the widening
        std::string poszerzona;  // the column widened
        size_t n;                // the widening's statements that the stopped run made
        std::string kolumna;     // the change's column as the message names it
        std::map<std::string, std::string> rozne;  // rows differing from a column
        std::string dodana;  // the column and type that the repair adds back, "" none
    } przypadki[] = {
        {"a copy of a column the table has",
         konta,
         "NR_K_3",
         3,
         "(nazwa w tabeli i typ po zmianie): NR_K_2 Text (25) default ''",
         {{"NR_K_3", "0"}, {"NR_K_2", "3"}},
         ""},
        {"the only copy of a column the table lacks",
         konta,
         "NR_K_2",
         5,
         "(nazwa i typ): NR_K_2 Text (25) default ''",
         {{"NR_K_3", "3"}},
         "NR_K_2 Text (25) default ''"},
        {"the only trace of a column in an empty table, which the message cannot name",
         pusta,
         "Nazwa_konta",
         5,
         "(nazwa w tabeli i typ po zmianie): NR_K_2 Text (25) default ''",
         {{"NR_K_2", "0"}},
         "Nazwa_konta text(255)"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.opis);
        stan(wzor, p.kopia, p.poszerzona, 8);
        ASSERT_EQ(Konwersja(wzor), 0) << tekst(wzor / "err.txt");
        const std::string prosty = zawartosc(wzor);
        stan(f, p.kopia, p.poszerzona, p.n);
        const std::string pozostawiona = zawartosc(f);

        EXPECT_EQ(Konwersja(f), 1);
        EXPECT_EQ(rejestr(f, "dodralvex"), "0000");
        EXPECT_EQ(zawartosc(f), pozostawiona) << "the run changed nothing";
        const std::string komunikat = Komunikat(f);
        EXPECT_NE(komunikat.find(p.kolumna + " ->>>" + T + "." + tmp), std::string::npos)
            << komunikat;
        const std::smatch m = [&] {
            std::smatch w;
            std::regex_search(komunikat, w, std::regex("rozdział \"([^\"]*)\""));
            return w;
        }();
        ASSERT_FALSE(m.empty()) << komunikat;
        const std::string tytul = m[1];
        const auto powloka = [&](const std::string& fragment,
                                 const std::map<std::string, std::string>& za) {
            return Uruchom_Powloka(Polecenie(tytul, fragment, f, za, p.kopia));
        };

        // 1: the copy.
        EXPECT_EQ(powloka("cp -p", {}).first, 0);
        // 2: the table's columns against the backup's.
        const auto [status, schematy] = powloka(".schema TABLE", {{"TABLE", T}});
        EXPECT_EQ(status, 0) << schematy;
        const auto kolumny = Kolumny_Schematow(schematy);
        ASSERT_EQ(kolumny.size(), 2u) << schematy;
        std::string brak;
        for (const std::string& k : kolumny[1])
            if (std::none_of(kolumny[0].begin(), kolumny[0].end(),
                             [&](const std::string& x) { return jet::text::same_name(x, k); }))
                brak = k;
        // 3: the comparison of values.
        for (const auto& [kolumna, ile] : p.rozne) {
            SCOPED_TRACE("compared with " + kolumna);
            const auto [s, wyjscie] =
                powloka("SELECT Count(*)", {{"TABLE", T}, {"COLUMN", kolumna}});
            EXPECT_EQ(s, 0);
            EXPECT_EQ(Ostatni_Wiersz(wyjscie), ile);
        }
        // 4: the column that the table lacks added back, with the type that the message
        // names, else the widening's; else the temporary column dropped.
        const std::string naglowek = "Brak w tabeli kolumny, którą zmienia krok (nazwa i typ): ";
        const size_t n = komunikat.find(naglowek), k = komunikat.find(" ->>>");
        const std::string dodana =
            n != std::string::npos ? komunikat.substr(n + naglowek.size(), k - n - naglowek.size())
            : brak.empty()         ? ""
                                   : brak + " text(255)";
        EXPECT_EQ(dodana, p.dodana);
        if (dodana.empty()) {
            const auto [s, wyjscie] =
                powloka("<<'EOF'\nalter table TABLE drop column", {{"TABLE", T}});
            EXPECT_EQ(s, 0) << wyjscie;
        } else {
            const size_t spacja = dodana.find(' ');
            const std::map<std::string, std::string> za = {{"TABLE", T},
                                                           {"COLUMN", dodana.substr(0, spacja)},
                                                           {"TYPE", dodana.substr(spacja + 1)}};
            std::string z_literowka = Polecenie(tytul, "add COLUMN TYPE", f, za);
            const size_t u = z_literowka.find("=" + tmp);
            ASSERT_NE(u, std::string::npos) << z_literowka;
            z_literowka.replace(u, tmp.size() + 1, "=ccxxdfredvvcxds_ddfr");
            const auto [zly, bledy] = Uruchom_Powloka(z_literowka);
            EXPECT_EQ(zly, 1) << bledy;
            EXPECT_EQ(zawartosc(f), pozostawiona) << "nothing of the failed block committed";
            EXPECT_EQ(Konwersja(f), 1);
            EXPECT_EQ(Komunikat(f), komunikat);
            const auto [s, wyjscie] = powloka("add COLUMN TYPE", za);
            EXPECT_EQ(s, 0) << wyjscie;
        }

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
