// The program run as the suite runs it: a registry file with the request and the path,
// a database in a temporary folder, no terminal (safe answers to every box), fast waits.
#include <grp.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dao/dao.h"
#include "db/db_env.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "jet/files.h"
#include "jet/storage_util.h"

namespace {

namespace fs = std::filesystem;

// Read and write for everyone (0666).
constexpr fs::perms kZapisDlaWszystkich = fs::perms::owner_read | fs::perms::owner_write |
                                          fs::perms::group_read | fs::perms::group_write |
                                          fs::perms::others_read | fs::perms::others_write;

struct Wynik {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string wyjscie, bledy;
};

// A database of the suite with [Nieruszac] at a version, the Setup and users tables,
// and the table Kroki into which the test steps write their numbers.
std::vector<std::string> baza_wersji(const std::string& wersja) {
    return {"CREATE TABLE Nieruszac (NumerWersji DOUBLE)",
            "INSERT INTO Nieruszac (NumerWersji) VALUES (" + wersja + ")",
            "CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))",
            "CREATE TABLE UZYTKOWNICY (nazwa TEXT(20), prawa TEXT(50), prawaK TEXT(50), "
            "prawaP TEXT(50), prawaF TEXT(50), prawaZ TEXT(50), prawaS TEXT(50), "
            "prawaM TEXT(50), prawaR TEXT(50), prawaC TEXT(50))",
            "INSERT INTO UZYTKOWNICY (nazwa, prawa, prawaC) VALUES ('ADAM', 'rw', 'x')",
            "CREATE TABLE Kroki (v long)"};
}

class E2E : public DbEnv {
  protected:
    // Runs a program with the test's registry, fast waits, no terminal and no answers.
    Wynik uruchom(const char* program = KONWERSJA, const std::string& kroki = "") {
        DbPolaczenie.reset();
        Baza_Otwarta = 0;
        return przechwyc("cd '" + dir.string() + "' && env -u ORVIK_ANSWERS ORVIK_REGISTRY='" +
                         reg.string() + "' ORVIK_FAST_WAIT=1 KONW_KROKI='" + kroki + "' '" +
                         dla_uruchamiajacego(program) + "' </dev/null");
    }
    Wynik z_krokami(const std::string& kroki) { return uruchom(KONWERSJA_KROKI, kroki); }
    // Runs wersja-bazy on a path, given as one argument whatever it holds.
    Wynik wersja_bazy(const std::string& sciezka) {
        return przechwyc(std::string("'") + WERSJA_BAZY + "' " + w_powloce(sciezka));
    }
    // Runs a shell command, its output and errors caught.
    Wynik przechwyc(const std::string& polecenie) {
        const fs::path out = dir / "out.txt", err = dir / "err.txt";
        const int s = wykonaj(polecenie + " >'" + out.string() + "' 2>'" + err.string() + "'");
        Wynik w;
        w.status = WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
        w.wyjscie = slurp(out);
        w.bledy = slurp(err);
        ostatni = w;
        return w;
    }
    // A text as one word of the shell: in single quotes, each of its own written '\''.
    static std::string w_powloce(const std::string& tekst) {
        std::string w = "'";
        for (char c : tekst) w += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return w + "'";
    }

    // Runs a shell command; with obcy set, as the user nobody when this process is root
    // (root writes any file, so only another user is stopped by a read-only one).
    int wykonaj(const std::string& polecenie) const {
        if (!obcy || ::geteuid() != 0) return std::system(polecenie.c_str());
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(126);
            ::execl("/bin/sh", "sh", "-c", polecenie.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int s = 0;
        ::waitpid(pid, &s, 0);
        return s;
    }
    // The program as the user who runs it can start it: for nobody a copy in the test's
    // folder, since the build tree may lie in a folder that only its owner may enter.
    std::string dla_uruchamiajacego(const char* program) const {
        if (!obcy || ::geteuid() != 0) return program;
        const fs::path kopia = dir / fs::path(program).filename();
        fs::copy_file(program, kopia, fs::copy_options::overwrite_existing);
        fs::permissions(kopia, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        return kopia.string();
    }
    // Lets the user nobody reach and write the test's folders, registry and database.
    void dla_obcego() {
        obcy = true;
        for (const fs::path& f : {dir, folder, reg.parent_path()})
            fs::permissions(f, fs::perms::all);
        fs::permissions(reg, kZapisDlaWszystkich);
        fs::permissions(baza, kZapisDlaWszystkich);
    }
    bool obcy = false;

    void zadanie(const std::string& marker = "0123") {
        Zapisz_Rejestr("dodralvex", marker, 0);
        Zapisz_Rejestr("dodralvexS", baza, 0);
    }
    void utworz_baze_raz() {
        if (!fs::exists(baza)) utworz_baze(baza_wersji("1.65"));
    }
    void baza_w_wersji(const std::string& wersja) {
        utworz_baze(baza_wersji(wersja));
        zadanie();
    }

    // Rows of a query on the database as it is on disk, values joined by "|".
    std::vector<std::string> z_bazy(const std::string& sql) {
        auto db = jet::Database::open(baza, std::string(kDatabasePassword));
        auto c = db->query(sql);
        std::vector<std::string> w;
        while (c->next()) {
            std::string r;
            for (size_t i = 0; i < c->columns().size(); ++i) {
                const jet::Value v = c->value(static_cast<int>(i));
                r += (i ? "|" : "") + (v.is_null() ? std::string("Null") : v.to_text());
            }
            w.push_back(r);
        }
        db->close();
        return w;
    }
    std::string wersja() {
        auto w = z_bazy("SELECT NumerWersji FROM Nieruszac");
        return w.empty() ? "<brak>" : w[0];
    }
    double wersja_liczba() {
        std::string w = wersja();
        for (auto& c : w)
            if (c == ',') c = '.';
        return std::stod(w);
    }
    std::string numer_bazy() { return Czytaj_Rejestr("dodralvexNumerBazy", 0); }

    // The step numbers of the log's "Begin" or "End" lines, in order.
    std::vector<int> kroki_w_logu(const std::string& co) {
        std::vector<int> v;
        for (const auto& l : log()) {
            std::vector<std::string> pola;
            std::stringstream s(l);
            for (std::string p; std::getline(s, p, ',');) pola.push_back(p);
            for (size_t i = 1; i + 1 < pola.size(); ++i)
                if (pola[i] == "Konwersja" && pola[i + 1] == co && !pola[i - 1].empty())
                    v.push_back(std::stoi(pola[i - 1]));
        }
        return v;
    }
    bool w_logu(const std::string& fragment) {
        for (const auto& l : log())
            if (l.find(fragment) != std::string::npos) return true;
        return false;
    }

    void TearDown() override {
        if (HasFailure())
            std::cerr << "status " << ostatni.status << "\nstdout:\n"
                      << ostatni.wyjscie << "\nstderr:\n"
                      << ostatni.bledy << '\n';
        DbEnv::TearDown();
    }

    Wynik ostatni;
};

TEST_F(E2E, NoRequestEndsWithBrakPrarametrow) {
    for (const char* marker : {"", "0123 ", "123"}) {
        SCOPED_TRACE(std::string("marker '") + marker + "'");
        utworz_baze_raz();
        zadanie(marker);
        const Wynik w = uruchom();
        EXPECT_EQ(w.status, 2);
        EXPECT_EQ(znacznik(), "0001");
        EXPECT_NE(w.bledy.find("Brak Prarametrów."), std::string::npos);
        EXPECT_NE(w.wyjscie.find("[3] Proszę czekać"), std::string::npos);
        EXPECT_FALSE(fs::exists(folder / "Log")) << "no path known: the log goes elsewhere";
        EXPECT_TRUE(fs::exists(dir / "Rejestr.txt"));
        EXPECT_EQ(wersja(), "1,65");
    }
}

TEST_F(E2E, EmptyPathEndsWithBrakPrarametrow) {
    Zapisz_Rejestr("dodralvex", "0123", 0);
    const Wynik w = uruchom();
    EXPECT_EQ(w.status, 2);
    EXPECT_EQ(znacznik(), "0001");
    EXPECT_NE(w.bledy.find("Brak Prarametrów."), std::string::npos);
}

// A database that does not open ends the run fatally, with a message that names the
// cause, and is left as it was.
TEST_F(E2E, DatabaseThatDoesNotOpenEndsFatally) {
    const std::string dluga =
        (folder / std::string(200, 'k') / std::string(200, 'k') / std::string(120, 'b')).string();
    pid_t trzyma = -1;  // another run holding the database
    struct {
        const char* nazwa;
        std::function<void()> przygotuj;
        const char* komunikat;
    } przypadki[] = {
        {"missing", [] {}, "Could not find file"},
        {"garbage", [&] { spit(baza, "to nie jest baza danych\n"); },
         "Unrecognized database format"},
        {"path too long",
         [&] {
             utworz_baze(baza_wersji("1.65"));
             fs::create_directories(fs::path(dluga).parent_path());
             fs::rename(baza, dluga);
             Zapisz_Rejestr("dodralvexS", dluga, 0);
         },
         "is too long"},
        {"held by another run",
         [&] {
             utworz_baze(baza_wersji("1.65"));
             int p[2];
             ASSERT_EQ(pipe(p), 0);
             trzyma = fork();
             if (trzyma == 0) {
                 jet::hold_until_exit(baza);
                 char c = 1;
                 if (write(p[1], &c, 1) != 1) _exit(2);
                 pause();
                 _exit(0);
             }
             char c = 0;
             ASSERT_EQ(read(p[0], &c, 1), 1);
         },
         "Could not lock file."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        fs::remove_all(folder);
        fs::create_directories(folder);
        zadanie();
        p.przygotuj();
        const std::string przed = slurp(baza);
        const auto start = std::chrono::steady_clock::now();
        const Wynik w = uruchom();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "at once";
        if (trzyma > 0) {
            kill(trzyma, SIGKILL);
            waitpid(trzyma, nullptr, 0);
            trzyma = -1;
        }
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_NE(w.bledy.find(p.komunikat), std::string::npos);
        if (fs::exists(baza) || std::string(p.nazwa) == "missing") {  // the log beside it
            EXPECT_TRUE(w_logu("Wylogowanie."));
            EXPECT_FALSE(w_logu("Konwersja,Begin"));
        }
        EXPECT_EQ(slurp(baza), przed) << "the file is left as it was";
    }
}

// A database in a folder whose name holds the connection string's own characters, blanks
// at its ends or Polish letters: the version reader reads it and the run converts it, its
// log beside it.
TEST_F(E2E, PathsAsWrittenOpenInBothPrograms) {
    for (const char* nazwa :
         {"dane;2024", "a \"b\"", "it's", "x=y;z=", " d ; e ", "zażółć gęślą jaźń"}) {
        SCOPED_TRACE(nazwa);
        folder = dir / nazwa;
        baza = (folder / "baza.mdb").string();
        fs::create_directories(folder);
        baza_w_wersji("6.45");
        Wynik w = wersja_bazy(baza);
        EXPECT_EQ(w.status, 0);
        EXPECT_EQ(w.wyjscie, "6.45\n");
        w = z_krokami("*=ok");
        EXPECT_EQ(w.status, 0);
        EXPECT_EQ(znacznik(), "3210");
        EXPECT_EQ(wersja(), "6,46");
        EXPECT_TRUE(w_logu("Baza Otwarta"));
        EXPECT_EQ(wersja_bazy(baza).wyjscie, "6.46\n");
    }
}

// Both programs read a path exactly as written: a path that ends with a blank names the
// file whose name ends with it, not the one without it.
TEST_F(E2E, TrailingBlankNamesItsOwnFile) {
    baza_w_wersji("6.45");
    const std::string bez = baza, z_odstepem = baza + " ";
    const Wynik czytnik = wersja_bazy(z_odstepem);
    Zapisz_Rejestr("dodralvexS", z_odstepem, 0);
    const Wynik przebieg = uruchom();
    for (const Wynik* w : {&czytnik, &przebieg}) {
        EXPECT_EQ(w->status, 1);
        EXPECT_NE(w->bledy.find("Could not find file '" + z_odstepem + "'."), std::string::npos);
    }
    EXPECT_EQ(wersja(), "6,45");

    baza = z_odstepem;
    utworz_baze(baza_wersji("6.44"));
    EXPECT_EQ(wersja_bazy(z_odstepem).wyjscie, "6.44\n");
    zadanie();
    EXPECT_EQ(z_krokami("*=ok").status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(wersja(), "6,46");
    EXPECT_EQ(wersja_bazy(z_odstepem).wyjscie, "6.46\n");
    EXPECT_EQ(wersja_bazy(bez).wyjscie, "6.45\n") << "the file without the blank is left alone";
}

// A folder given as the database, with or without a trailing "/": both programs say that
// it is a folder, and the run's log goes beside the folder, not inside it.
TEST_F(E2E, FolderGivenAsTheDatabaseIsSaidToBeAFolder) {
    for (const std::string& sciezka : {folder.string(), folder.string() + "/"}) {
        SCOPED_TRACE(sciezka);
        fs::remove(dir / "Log");
        const std::string komunikat =
            "Cannot open '" + sciezka + "': it is a folder, not a database file.";
        Zapisz_Rejestr("dodralvex", "0123", 0);
        Zapisz_Rejestr("dodralvexS", sciezka, 0);
        Wynik w = uruchom();
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_NE(w.bledy.find(komunikat), std::string::npos);
        EXPECT_TRUE(fs::exists(dir / "Log"));
        EXPECT_TRUE(fs::is_empty(folder)) << "nothing is written inside the folder";
        w = wersja_bazy(sciezka);
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(w.bledy, "wersja-bazy: " + komunikat + "\n");
    }
}

TEST_F(E2E, UnusableVersionsEndWithTheirCodes) {
    struct {
        std::vector<std::string> baza;
        const char* komunikat;
        int status;
        const char* znacznik;
    } przypadki[] = {
        {{"CREATE TABLE Inna (a long)"}, "Wyjątek w procedurze ---", 2, "0001"},
        {{}, "cannot find the input table or query 'Nieruszac'", 2, "0001"},
        {{"CREATE TABLE Nieruszac (NumerWersji DOUBLE)"}, "kodu <65430>.", 1, "0000"},
        {{"CREATE TABLE Nieruszac (NumerWersji DOUBLE)",
          "INSERT INTO Nieruszac (NumerWersji) VALUES (Null)"},
         "kodu <65431>.",
         1,
         "0000"},
        {baza_wersji("1.6449"), "kodu <65432>.", 1, "0000"},
        {baza_wersji("-1"), "kodu <65432>.", 1, "0000"},
        {baza_wersji("6.46"), "Baza do obróbki przez kolejną wersję programu", 0, "0123"},
        {baza_wersji("6.4550"), "Baza do obróbki przez kolejną wersję programu", 0, "0123"},
        {baza_wersji("6.47"), "kodu <65433>", 3, "0123"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.komunikat);
        fs::remove_all(folder);
        fs::create_directories(folder);
        utworz_baze(p.baza);
        zadanie();
        const Wynik w = uruchom();
        EXPECT_EQ(w.status, p.status);
        EXPECT_EQ(znacznik(), p.znacznik);
        EXPECT_NE(w.bledy.find(p.komunikat), std::string::npos);
        EXPECT_TRUE(kroki_w_logu("Begin").empty());
        EXPECT_EQ(numer_bazy(), "");
    }
    EXPECT_EQ(wersja(), "6,47") << "a refused database is left as it was";
}

// A run stops at the first step method that this build does not have: <65434>, "0000",
// the version of the last step that returned, and that step named in the registry. The
// step methods are replaced by steps that only record that they ran, and one of them is
// marked as not built.
TEST_F(E2E, RunStopsAtTheFirstUnbuiltStep) {
    struct {
        const char* wersja;
        int start;  // the step number of the stored version
        int stop;   // the step marked as not built
    } przypadki[] = {
        {"6.45", 645, 646}, {"1.645", 165, 169}, {"3.30", 330, 331}, {"5.19", 519, 526}};
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersja);
        // The steps that complete before it: empty steps, beeps and test steps.
        std::vector<int> przed;
        for (int v = p.start + 1; v < p.stop; ++v) przed.push_back(v);
        fs::remove_all(folder);
        fs::create_directories(folder);
        baza_w_wersji(p.wersja);
        const Wynik w = z_krokami("*=ok," + std::to_string(p.stop) + "=brak");
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_NE(w.bledy.find("<65434>"), std::string::npos);
        EXPECT_NE(w.bledy.find("(Konwersja_" + std::to_string(p.stop) + ")"), std::string::npos);
        std::vector<int> poczatki = przed, konce = przed;
        poczatki.push_back(p.stop);
        EXPECT_EQ(kroki_w_logu("Begin"), poczatki);
        EXPECT_EQ(kroki_w_logu("End"), konce);
        EXPECT_FALSE(w_logu("End-All"));
        char tekst[16];
        std::snprintf(tekst, sizeof tekst, " %d.%02d", p.stop / 100, p.stop % 100);
        std::string oczekiwany = tekst;
        while (oczekiwany.back() == '0') oczekiwany.pop_back();
        if (oczekiwany.back() == '.') oczekiwany.pop_back();  // a whole version: " 5"
        EXPECT_EQ(numer_bazy(), oczekiwany);
        EXPECT_DOUBLE_EQ(wersja_liczba(), (p.stop - 1) / 100.0) << "the last step that returned";
        EXPECT_NE(w.wyjscie.find("[2]  Konwresja:"), std::string::npos);
    }
}

TEST_F(E2E, CompleteRunRecordsEveryStepAndTheFinalVersion) {
    baza_w_wersji("1.65");
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(numer_bazy(), " 6.46");
    EXPECT_EQ(wersja(), "6,46");
    std::vector<int> wszystkie;
    for (int v = 166; v <= 646; ++v) wszystkie.push_back(v);
    EXPECT_EQ(kroki_w_logu("Begin"), wszystkie);
    EXPECT_EQ(kroki_w_logu("End"), wszystkie);
    EXPECT_EQ(z_bazy("SELECT Count(*) FROM Kroki"), (std::vector<std::string>{"417"}))
        << "every step method after 1.65 ran once";
    EXPECT_EQ(z_bazy("SELECT Wartosc FROM [Setup] WHERE Nazwa='[NUMERWERSJI]'"),
              (std::vector<std::string>{"6,46"}));
    EXPECT_EQ(z_bazy("SELECT nazwa, prawa, prawaC FROM UZYTKOWNICY"),
              (std::vector<std::string>{"ADAM|Null|Null"}));
    const auto l = log();
    ASSERT_GE(l.size(), 3u);
    EXPECT_NE(l[l.size() - 3].find(",Konwersja,End-All,"), std::string::npos);
    EXPECT_NE(l[l.size() - 2].find(" 646,Konwersja,End,"), std::string::npos) << "once committed";
    EXPECT_NE(l.back().find("Baza Zamknięta."), std::string::npos) << "the close ends the log";
    for (const char* linia : {"[1]  ", "[2]  Wersja bazy:1,65", "[2]  Konwresja:6,46",
                              "[2]  Program:6,46", "[3] Skończyłem"})
        EXPECT_NE(w.wyjscie.find(linia), std::string::npos) << linia;
    EXPECT_TRUE(w.bledy.empty()) << "no box on a clean run";
}

TEST_F(E2E, FailureInsideAStepResumesThereNextTime) {
    baza_w_wersji("5.19");
    for (const char* awaria : {"530=blad", "530=sql"}) {
        SCOPED_TRACE(awaria);
        const Wynik w = z_krokami(std::string("*=ok,") + awaria);
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_EQ(wersja(), "5,29");
        EXPECT_EQ(numer_bazy(), " 5.3");
        EXPECT_EQ(kroki_w_logu("Begin").back(), 530);
        EXPECT_EQ(kroki_w_logu("End").back(), 529);
        EXPECT_FALSE(fs::exists(baza + "-wal") || fs::exists(baza + "-shm")) << "left beside it";
        Zapisz_Rejestr("dodralvex", "0123", 0);
    }
    EXPECT_TRUE(w_logu("ERR.BBP:UPDATE Kroki SET v=1 WHERE v=\"abc\",DbWykonajKonwersje,"));
    EXPECT_TRUE(w_logu("<65434>"));

    fs::remove(folder / "Log");
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(kroki_w_logu("Begin").front(), 530) << "the failed step runs again first";
    EXPECT_EQ(wersja(), "6,46");
}

// A process killed inside a step leaves the database as the previous step left it: the
// version and the step's work are committed together after each step.
TEST_F(E2E, KilledRunLeavesTheDatabaseAsThePreviousStepLeftIt) {
    baza_w_wersji("5.25");
    const Wynik w = z_krokami("*=ok,528=zabij");
    EXPECT_EQ(w.status, 128 + SIGKILL);
    EXPECT_EQ(znacznik(), "0123") << "no end ran";
    EXPECT_EQ(numer_bazy(), " 5.28");
    EXPECT_EQ(wersja(), "5,27");
    EXPECT_EQ(z_bazy("SELECT v FROM Kroki ORDER BY v"), (std::vector<std::string>{"526", "527"}))
        << "the killed step's insert is gone";

    const Wynik dalej = z_krokami("*=ok");
    EXPECT_EQ(dalej.status, 0);
    EXPECT_EQ(z_bazy("SELECT Count(*) FROM Kroki WHERE v=528"), (std::vector<std::string>{"1"}));
}

// A reader writes nothing: after wersja-bazy and a jetsql SELECT, the database's bytes,
// its log's and the folder's files are as they were, for a database that a completed run
// closed and for one whose log a killed run left (its last steps committed there, not
// in the file yet); also when the file or its folder may not be written (a backup, its
// log copied without SQLite's index beside it), where a write fails as read-only.
TEST_F(E2E, ReadersWriteNothing) {
    struct Stan {
        std::string plik, log;
        std::vector<std::string> pliki;
        bool operator==(const Stan&) const = default;
    };
    auto stan = [&] {
        return Stan{storage_test::read_bytes(baza), storage_test::read_bytes(baza + "-wal"),
                    storage_test::files_in(folder)};
    };
    const fs::perms odczyt = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms wejscie =
        odczyt | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    for (const bool zabity : {false, true}) {
        SCOPED_TRACE(zabity ? "a log left by a killed run" : "a completed run's database");
        obcy = false;
        fs::permissions(folder, fs::perms::all);
        fs::remove_all(folder);
        fs::create_directories(folder);
        jet::Database::create(baza);  // no password: jetsql opens it too
        auto db = jet::Database::open(baza);
        for (const auto& p : baza_wersji("5.25")) db->execute(p);
        db->close();
        zadanie();
        z_krokami(zabity ? "*=ok,528=zabij" : "*=ok");
        ASSERT_EQ(fs::exists(baza + "-wal"), zabity);
        for (const char* jak : {"writable", "a read-only file", "a read-only folder"}) {
            SCOPED_TRACE(jak);
            const bool zapis = std::string(jak) == "writable";
            if (!zapis) {
                dla_obcego();
                fs::remove(baza + "-shm");
                for (const std::string& f : {baza, baza + "-wal"})
                    if (fs::exists(f)) fs::permissions(f, odczyt);
                if (std::string(jak) == "a read-only folder") fs::permissions(folder, wejscie);
            }
            const Stan przed = stan();

            const fs::path out = dir / "czytelnik.txt";
            fs::remove(out);  // written as root in the writable case
            int s = wykonaj("'" + dla_uruchamiajacego(WERSJA_BAZY) + "' '" + baza + "' >'" +
                            out.string() + "' 2>&1");
            EXPECT_EQ(WEXITSTATUS(s), 0) << slurp(out);
            EXPECT_EQ(slurp(out), zabity ? "5.27\n" : "6.46\n");
            EXPECT_TRUE(stan() == przed) << "wersja-bazy wrote to the database";

            const fs::path zapytanie = dir / "zapytanie.sql";
            spit(zapytanie,
                 "SELECT u.nazwa, n.NumerWersji FROM UZYTKOWNICY AS u, Nieruszac AS n WHERE "
                 "u.nazwa = 'ADAM'\n" +
                     std::string(zapis ? "" : "UPDATE Kroki SET v = 1\n"));
            fs::remove(out);
            s = wykonaj("'" + dla_uruchamiajacego(JETSQL) + "' '" + baza + "' <'" +
                        zapytanie.string() + "' >'" + out.string() + "' 2>&1");
            EXPECT_EQ(WEXITSTATUS(s), zapis ? 0 : 1) << slurp(out);
            EXPECT_NE(slurp(out).find("ADAM\t"), std::string::npos) << slurp(out);
            if (!zapis) {
                EXPECT_NE(slurp(out).find(std::string(jak) == "a read-only file"
                                              ? "Database or object is read-only."
                                              : "its folder or file system is read-only."),
                          std::string::npos)
                    << slurp(out);
            }
            EXPECT_TRUE(stan() == przed) << "a jetsql SELECT wrote to the database";
        }
    }
    fs::permissions(folder, fs::perms::all);
}

// A database file that may not be written, or one in a folder that may not be written, is
// refused before anything is created beside it (no Log, no -wal, no -shm), for root too,
// whom the system would let write: once the user makes it writable, the next run converts it.
TEST_F(E2E, ReadOnlyDatabaseIsRefusedAndTheNextRunConvertsItOnceWritable) {
    const fs::perms r = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms rx = r | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const struct {
        bool obcy;  // run as the user nobody, else as the tests' own user (root in CI)
        fs::perms plik, folderu;
    } przypadki[] = {
        {true, r, rx},  {true, kZapisDlaWszystkich, rx},         {true, r, fs::perms::all},
        {false, r, rx}, {false, r | fs::perms::owner_write, rx}, {false, r, fs::perms::all},
    };
    baza_w_wersji("1.65");
    dla_obcego();
    const std::string przed = slurp(baza);
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.obcy ? "nobody" : "own user") + ", file " +
                     std::to_string(static_cast<int>(p.plik)) + ", folder " +
                     std::to_string(static_cast<int>(p.folderu)));
        obcy = p.obcy;
        fs::permissions(baza, p.plik);
        fs::permissions(folder, p.folderu);
        zadanie();
        const Wynik w = z_krokami("*=ok");
        fs::permissions(folder, fs::perms::all);
        EXPECT_EQ(w.status, 1);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_NE(w.bledy.find("read-only"), std::string::npos);
        EXPECT_EQ(slurp(baza), przed);
        std::set<std::string> obok;
        for (const auto& e : fs::directory_iterator(folder))
            obok.insert(e.path().filename().string());
        EXPECT_EQ(obok, std::set<std::string>{"baza.mdb"}) << "nothing beside the file";
    }

    obcy = true;
    fs::permissions(baza, kZapisDlaWszystkich);
    zadanie();
    const Wynik dalej = z_krokami("*=ok");
    EXPECT_EQ(dalej.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(wersja(), "6,46");
}

// A registry whose folder cannot take a file, while the registry file itself may be
// written: the run's result could not be reported, so nothing is converted, and the run
// says so and ends with status 4.
TEST_F(E2E, RegistryThatCannotBeWrittenIsRefusedBeforeTheDatabaseIsOpened) {
    reg = dir / "konfiguracja" / "registry.reg";
    ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
    baza_w_wersji("1.65");
    dla_obcego();
    fs::permissions(reg.parent_path(), fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    const std::string przed = slurp(reg);
    const Wynik w = z_krokami("*=ok");
    fs::permissions(reg.parent_path(), fs::perms::all);
    EXPECT_EQ(w.status, 4);
    EXPECT_EQ(slurp(reg), przed) << "the suite's request stays";
    std::set<std::string> obok;
    for (const auto& e : fs::directory_iterator(reg.parent_path()))
        obok.insert(e.path().filename().string());
    EXPECT_EQ(obok, (std::set<std::string>{"registry.reg", ".registry.reg.lock"}))
        << "nothing is left beside it but the lock file of the suite's own writes";
    EXPECT_NE(w.bledy.find("the registry cannot be written"), std::string::npos);
    EXPECT_EQ(w.bledy.rfind("konwersja: ", 0), 0u) << "the fault under the program's own name";
    EXPECT_EQ(w.bledy.find("rejestr:"), std::string::npos);
    EXPECT_EQ(wersja(), "1,65");
    EXPECT_FALSE(fs::exists(folder / "Log")) << "the database is not opened";
}

// A conversion that completes but cannot write its result marker does not end as a
// success; the next run finds the database at 6.46 and has nothing to do.
TEST_F(E2E, CompletedConversionWhoseMarkerCannotBeWrittenEndsWithStatus4) {
    baza_w_wersji("6.44");
    const Wynik w = z_krokami("*=ok,646=bez_rejestru");
    EXPECT_EQ(w.status, 4);
    EXPECT_NE(w.bledy.find("the conversion completed, but its result \"3210\" could not be "
                           "written to the registry"),
              std::string::npos);
    EXPECT_NE(w.bledy.find("konwersja: \"dodralvex\" not written: "), std::string::npos);
    EXPECT_EQ(w.bledy.find("rejestr:"), std::string::npos);
    EXPECT_EQ(wersja(), "6,46");

    fs::remove(reg);
    zadanie();
    const Wynik dalej = z_krokami("*=ok");
    EXPECT_EQ(dalej.status, 0);
    EXPECT_EQ(znacznik(), "0123");
}

// The inode of the write-ahead log of the database at the canonical path kanon that the
// process pid has open; 0 when it has none, or only a deleted one.
ino_t log_procesu(pid_t pid, const std::string& kanon) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        std::error_code ec2;
        const std::string cel = fs::read_symlink(e.path(), ec2).string();
        if (cel.rfind(kanon + "-wal", 0) != 0) continue;
        struct stat st {};
        if (cel == kanon + "-wal" && ::stat(e.path().c_str(), &st) == 0) return st.st_ino;
    }
    return 0;
}

// Other programs on the database while a run converts it, the run stopped inside a step
// (after a DAO pass, after a reconnect, with the step's work not yet committed): the
// version reader reads the last completed version, a second run is refused, a plain
// SQLite open and close goes by, and the run's log stays the same file. Killed then,
// the run leaves the database at the last completed step, and the rerun ends as an
// uninterrupted run does.
TEST_F(E2E, OtherProgramsLeaveARunningConversionsLogAlone) {
    baza_w_wersji("5.25");
    const std::string kanon = fs::canonical(baza).string();
    const std::string kroki = "*=ok,526=dao+czekaj,527=ponownie+czekaj,528=czekaj";
    const pid_t przebieg = ::fork();
    ASSERT_GE(przebieg, 0);
    if (przebieg == 0) {
        ::setenv("ORVIK_REGISTRY", reg.c_str(), 1);
        ::setenv("ORVIK_FAST_WAIT", "1", 1);
        ::setenv("KONW_KROKI", kroki.c_str(), 1);
        ::unsetenv("ORVIK_ANSWERS");
        const std::string wyjscie = (dir / "przebieg.txt").string();
        if (!std::freopen("/dev/null", "r", stdin) || !std::freopen(wyjscie.c_str(), "w", stdout) ||
            !std::freopen(wyjscie.c_str(), "a", stderr) || ::chdir(dir.c_str()) != 0)
            ::_exit(126);
        ::execl(KONWERSJA_KROKI, KONWERSJA_KROKI, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    struct Punkt {
        int krok;
        const char* wersja;  // as wersja-bazy prints the last completed step
    };
    for (const Punkt p : {Punkt{526, "5.25"}, Punkt{527, "5.26"}, Punkt{528, "5.27"}}) {
        SCOPED_TRACE(p.krok);
        const fs::path czekam = folder / ("czekam-" + std::to_string(p.krok));
        for (int i = 0; i < 3000 && !fs::exists(czekam); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(fs::exists(czekam)) << "the run reached the step";
        const ino_t log = log_procesu(przebieg, kanon);
        ASSERT_NE(log, 0u);

        const fs::path out = dir / "wersja.txt";
        const int s = wykonaj(std::string("'") + WERSJA_BAZY + "' '" + baza + "' >'" +
                              out.string() + "' 2>&1");
        EXPECT_EQ(WEXITSTATUS(s), 0);
        EXPECT_EQ(slurp(out), std::string(p.wersja) + "\n") << "a reader reads the file";

        const Wynik druga = uruchom();
        EXPECT_EQ(druga.status, 1);
        EXPECT_EQ(znacznik(), "0000") << "a second run is refused";
        zadanie();

        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(baza.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);

        EXPECT_EQ(log_procesu(przebieg, kanon), log) << "the run's log is the same file";
        struct stat st {};
        EXPECT_EQ(::stat((baza + "-wal").c_str(), &st), 0);
        EXPECT_EQ(st.st_ino, log);
        if (p.krok != 528) {
            std::ofstream(folder / ("dalej-" + std::to_string(p.krok))).put('\n');
            fs::remove(czekam);
        }
    }
    ::kill(przebieg, SIGKILL);
    int s = 0;
    ::waitpid(przebieg, &s, 0);
    EXPECT_TRUE(WIFSIGNALED(s));
    EXPECT_EQ(wersja(), "5,27") << "the last completed step";
    EXPECT_EQ(z_bazy("SELECT v FROM Kroki ORDER BY v"), (std::vector<std::string>{"526", "527"}));

    const Wynik dalej = z_krokami("*=ok");
    EXPECT_EQ(dalej.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(wersja(), "6,46");
    std::vector<std::string> kazdy_raz;
    for (int v = 526; v <= 646; ++v)
        if (Akcja_Kroku(v).rodzaj == RodzajKroku::Metoda) kazdy_raz.push_back(std::to_string(v));
    EXPECT_EQ(z_bazy("SELECT v FROM Kroki ORDER BY v"), kazdy_raz) << "each step once";
}

// An Access 97 file: tidied, backed up, COUNT and USER renamed, copied into a new file
// of the current format under its own name.
class A97 : public E2E {
  protected:
    void baza_97() {
        std::vector<std::string> polecenia = baza_wersji("6.45");
        for (const char* p : {
                 "CREATE TABLE klienci (id long, [count] long, [User] TEXT(20), nazwa TEXT(40), "
                 "nr_wyjazdu long, kwota money, aktywny bit, data datetime)",
                 "CREATE UNIQUE INDEX Podstawowy ON klienci (id) WITH PRIMARY",
                 "CREATE INDEX indnazwa ON klienci (nazwa)",
                 "INSERT INTO klienci (id, [count], [User], nazwa) VALUES (1, 5, 'adam', "
                 "'Piekarnia')",
                 "INSERT INTO klienci (id) VALUES (2)",
                 "CREATE TABLE _robocza (a long)",
                 "CREATE TABLE [Błędy wklejania] (a long)",
             })
            polecenia.push_back(p);
        utworz_baze(polecenia, "3.0");
        zadanie();
    }
    int otwarcia() {
        int n = 0;
        for (const auto& l : log()) n += l.find("Baza Otwarta          .") != std::string::npos;
        return n;
    }
    fs::path kopia() const { return folder / "A97_baza.mdbbak"; }
    fs::path tymczasowa() const { return folder / "A2000_baza.mdb"; }

    std::vector<std::string> tabele() {
        auto db = dao::DBEngine::OpenDatabase(baza);
        std::vector<std::string> t;
        for (int i = 0; i < db->TableDefCount(); ++i)
            if (!db->TableDefs(i).IsSystem()) t.push_back(db->TableDefs(i).Name());
        db->Close();
        return t;
    }
    std::string format(const fs::path& plik) {
        auto db = dao::DBEngine::OpenDatabase(plik.string());
        const std::string f = db->Properties(6);
        db->Close();
        return f;
    }
};

TEST_F(A97, UpgradeBacksUpRenamesAndCopiesIntoTheNewFormat) {
    dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    baza_97();
    spit(tymczasowa(), "pozostałość poprzedniej próby");
    const fs::path scratch = tymczasowa().string() + ".new.compact-a1B2c3";
    spit(scratch, "kopia robocza przerwanego zgęszczania");
    spit(tymczasowa().string() + ".new.compact-obca", "nie nasza");
    fs::permissions(baza, fs::perms(0604));
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(fs::status(baza).permissions(), fs::perms(0604)) << "the file's mode is kept";
    EXPECT_FALSE(fs::exists(tymczasowa().string() + ".new"));
    EXPECT_FALSE(fs::exists(scratch)) << "a stopped compaction's scratch copy is removed";
    EXPECT_TRUE(fs::exists(tymczasowa().string() + ".new.compact-obca"));
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(otwarcia(), 5) << "the start, and four reopens around the backup, the renames "
                                "and the compaction";

    ASSERT_TRUE(fs::exists(kopia()));
    EXPECT_EQ(format(kopia()), "3.0");
    EXPECT_FALSE(fs::exists(tymczasowa()));
    EXPECT_EQ(format(baza), "4.0");
    EXPECT_EQ(tabele(),
              (std::vector<std::string>{"KLIENCI", "KROKI", "Nieruszac", "SETUP", "UZYTKOWNICY"}));
    EXPECT_EQ(z_bazy("SELECT id, COUNTT, USERS, nazwa, nr_wyjazdu, kwota, aktywny, data FROM "
                     "KLIENCI ORDER BY id"),
              (std::vector<std::string>{"1|5|adam|Piekarnia|1|0|Null|Null",
                                        "2|0||"
                                        "|1|0|Null|Null"}));
    auto db = dao::DBEngine::OpenDatabase(baza);
    EXPECT_TRUE(db->TableDefs("KLIENCI").Indexes().empty()) << "indexes and keys are not copied";
    db->Close();
    EXPECT_EQ(wersja(), "6,46");
}

TEST_F(A97, ExistingBackupIsKept) {
    dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    baza_97();
    spit(kopia(), "kopia z wcześniejszej próby");
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(slurp(kopia()), "kopia z wcześniejszej próby");
    EXPECT_EQ(format(baza), "4.0");
    EXPECT_EQ(tabele().front(), "KLIENCI");
    EXPECT_EQ(otwarcia(), 4) << "no reopen around a backup copy";
}

// The upgrade's second connection, on the new file beside the database, opens in a
// folder whose name holds the connection string's own characters and blanks at its ends.
TEST_F(A97, UpgradeInAFolderWhoseNameHoldsSemicolonsAndQuotes) {
    dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    folder = dir / " dane;2024 \"b\" it's ";
    baza = (folder / "baza.mdb").string();
    fs::create_directories(folder);
    baza_97();
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(znacznik(), "3210");
    EXPECT_EQ(format(baza), "4.0");
    EXPECT_EQ(format(kopia()), "3.0");
    EXPECT_FALSE(fs::exists(tymczasowa()));
    EXPECT_EQ(tabele().front(), "KLIENCI");
    EXPECT_EQ(wersja(), "6,46");
}

// A backup that cannot be written asks "Powtórz"; No (the unattended answer) ends the
// run fatally with the database still in the old format and no new file left.
TEST_F(A97, BackupThatCannotBeWrittenEndsOnNo) {
    dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    baza_97();
    fs::create_directories(kopia());  // a folder where the copy should go
    const Wynik w = z_krokami("*=ok");
    EXPECT_EQ(w.status, 1);
    EXPECT_EQ(znacznik(), "0000");
    EXPECT_NE(w.bledy.find("Błąd dostępu do bazy - proszę zamknąć program na pozostałych "
                           "stanowiskach !"),
              std::string::npos);
    EXPECT_NE(w.bledy.find("Powtórz"), std::string::npos);
    EXPECT_EQ(format(baza), "3.0");
    EXPECT_FALSE(fs::exists(tymczasowa()));
    EXPECT_TRUE(kroki_w_logu("Begin").empty());
    EXPECT_EQ(wersja(), "6,45");
}

}  // namespace
