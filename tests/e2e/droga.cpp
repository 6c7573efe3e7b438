#include "droga.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "baza.h"  // tools/baza
#include "db/polaczenie.h"
#include "driver/konwersje.h"
#include "jet/database.h"

namespace droga {

namespace {

void zapisz(const fs::path& plik, const std::string& tresc) {
    std::ofstream out(plik, std::ios::binary | std::ios::trunc);
    out << tresc;
    if (!out.flush()) throw std::runtime_error("cannot write " + plik.string());
}

// The road's folder in the build tree.
fs::path katalog() {
    return DROGA_KATALOG;
}

// What the kept road was computed by: the two programs, this test program (which builds
// the release 1.65 database) and the working date, which the steps read.
std::string stempel() {
    std::ostringstream s;
    for (const char* p : {KONWERSJA, KONWERSJA_KROKI, "/proc/self/exe"}) {
        struct stat st {};
        if (::stat(p, &st) != 0) throw std::runtime_error(std::string("cannot stat ") + p);
        s << p << ' ' << st.st_size << ' ' << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec
          << '\n';
    }
    const std::time_t t = std::time(nullptr);
    std::tm dzis{};
    ::localtime_r(&t, &dzis);
    s << dzis.tm_year + 1900 << '-' << dzis.tm_mon + 1 << '-' << dzis.tm_mday << '\n';
    return s.str();
}

// The steps at which the chain stops: after each release and before and after each
// killed step or step left half done, where the step is built (the first unbuilt step
// stops every run).
std::set<int> kroki_postojow(int pierwszy_brak) {
    std::set<int> s;
    auto dodaj = [&](int x) {
        if (x > 165 && x < pierwszy_brak) s.insert(x);
    };
    for (int v : kWydania) dodaj(nastepna_metoda(v));
    for (int k : kZabijane) {
        dodaj(k);
        dodaj(nastepna_metoda(k));
    }
    for (int k : kPrzerwane) {
        dodaj(k);
        dodaj(nastepna_metoda(k));
    }
    dodaj(kPodzialProdukcji);
    dodaj(nastepna_metoda(kPodzialProdukcji));
    return s;
}

Droga opis() {
    Droga d;
    const fs::path k = katalog();
    d.koniec = pierwszy_niezbudowany(165) - 1;
    d.wzor.folder = k / "wzor";
    d.prosty.folder = k / "prosty";
    d.lancuch.folder = k / "lancuch";
    for (int x : kroki_postojow(d.koniec + 1))
        d.postoje[x].folder = k / ("postoj_" + std::to_string(x));
    return d;
}

// Keeps what a run left in folder z in the run p: its status, its database as text (read
// where the run left it), the database copied and the rest moved.
void zachowaj(const fs::path& z, const Przebieg& p, int status) {
    const std::string tresc = zawartosc(z);
    if (z != p.folder) {
        kopiuj_baze(z, p.folder);
        for (const char* plik : {"Log", "registry.reg", "out.txt", "err.txt"})
            if (fs::exists(z / plik)) fs::rename(z / plik, p.folder / plik);
    }
    zapisz(p.folder / "status", std::to_string(status) + "\n");
    zapisz(p.folder / "zawartosc.txt", tresc);
}

void oblicz(const Droga& d) {
    fs::create_directories(d.wzor.folder);
    baza::zbuduj_baze_165((d.wzor.folder / "baza.mdb").string());
    zachowaj(d.wzor.folder, d.wzor, 0);

    // The straight run, in a process of its own while the chain runs here.
    kopiuj_baze(d.wzor.folder, d.prosty.folder);
    zadanie(d.prosty.folder);
    const pid_t prosty = wystartuj(d.prosty.folder, KONWERSJA);

    const fs::path roboczy = katalog() / "roboczy";
    kopiuj_baze(d.wzor.folder, roboczy);
    std::map<int, int> czasy;
    for (const auto& [x, postoj] : d.postoje) {
        zadanie(roboczy);
        const auto start = std::chrono::steady_clock::now();
        const int status = uruchom(roboczy, KONWERSJA_KROKI, std::to_string(x) + "=brak");
        czasy[x] = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
        zachowaj(roboczy, postoj, status);
    }
    std::ostringstream czas;
    for (const auto& [x, ms] : czasy) czas << x << ' ' << ms << '\n';
    zapisz(katalog() / "czas_ms", czas.str());
    zadanie(roboczy);
    const int status = uruchom(roboczy, KONWERSJA);
    zachowaj(roboczy, d.lancuch, status);
    fs::remove_all(roboczy);

    const int status_prostego = koniec(prosty);
    zachowaj(d.prosty.folder, d.prosty, status_prostego);
}

// Holds the road's lock for its life.
class Blokada {
  public:
    Blokada() {
        fs::create_directories(katalog().parent_path());
        fd_ = ::open((katalog().string() + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
        if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0)
            throw std::runtime_error("cannot lock " + katalog().string());
    }
    ~Blokada() { ::close(fd_); }
    Blokada(const Blokada&) = delete;
    Blokada& operator=(const Blokada&) = delete;

  private:
    int fd_ = -1;
};

// The road, computed unless the kept one is of this build.
Droga zapewnij() {
    Blokada blokada;
    Droga d = opis();
    const std::string s = stempel();
    if (tekst(katalog() / "stempel") != s) {
        fs::remove_all(katalog());
        fs::create_directories(katalog());
        oblicz(d);
        zapisz(katalog() / "stempel", s);
    }
    std::istringstream czas(tekst(katalog() / "czas_ms"));
    for (int x, ms; czas >> x >> ms;) d.czas_ms[x] = ms;
    return d;
}

}  // namespace

int pierwszy_niezbudowany(int od) {
    for (int v = od + 1; v <= 646; ++v) {
        const PozycjaKroku a = Akcja_Kroku(v);
        if (a.rodzaj == RodzajKroku::Metoda && a.metoda == nullptr) return v;
    }
    return 647;
}

int nastepna_metoda(int v) {
    for (int x = v + 1; x <= 646; ++x)
        if (Akcja_Kroku(x).rodzaj == RodzajKroku::Metoda) return x;
    return 647;
}

std::string tekst_wersji(int v) {
    std::string s =
        std::to_string(v / 100) + "," + (v % 100 < 10 ? "0" : "") + std::to_string(v % 100);
    while (s.back() == '0') s.pop_back();
    if (s.back() == ',') s.pop_back();
    return s;
}

void zadanie(const fs::path& folder) {
    zapisz(folder / "registry.reg",
           "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\ORVIK]\n"
           "\"dodralvex\"=\"0123\"\n\"dodralvexS\"=\"" +
               (folder / "baza.mdb").string() + "\"\n");
}

pid_t wystartuj(const fs::path& folder, const char* program, const std::string& kroki) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("ORVIK_REGISTRY", (folder / "registry.reg").c_str(), 1);
        ::setenv("ORVIK_FAST_WAIT", "1", 1);
        ::setenv("KONW_KROKI", kroki.c_str(), 1);
        ::unsetenv("ORVIK_ANSWERS");
        if (!std::freopen((folder / "out.txt").c_str(), "a", stdout)) ::_exit(120);
        if (!std::freopen((folder / "err.txt").c_str(), "a", stderr)) ::_exit(121);
        if (!std::freopen("/dev/null", "r", stdin)) ::_exit(122);
        if (::chdir(folder.c_str()) != 0) ::_exit(123);
        ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) throw std::runtime_error("fork failed");
    return pid;
}

int koniec(pid_t pid) {
    int s = 0;
    ::waitpid(pid, &s, 0);
    return WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
}

int uruchom(const fs::path& folder, const char* program, const std::string& kroki) {
    return koniec(wystartuj(folder, program, kroki));
}

int uruchom_i_zabij_w_kroku(const fs::path& folder, const char* program, const std::string& kroki,
                            int krok, int opoznienie_ms) {
    const pid_t pid = wystartuj(folder, program, kroki);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int s = 0;
    for (;;) {
        const std::vector<int> poczatki = droga::kroki(folder, "Begin");
        if (std::find(poczatki.begin(), poczatki.end(), krok) != poczatki.end()) break;
        if (::waitpid(pid, &s, WNOHANG) == pid)
            return WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
        if (std::chrono::steady_clock::now() > limit) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(opoznienie_ms));
    ::kill(pid, SIGKILL);
    return koniec(pid);
}

std::string wersja(const fs::path& folder) {
    return jedna(folder, "SELECT NumerWersji FROM Nieruszac");
}

std::string jedna(const fs::path& folder, const std::string& sql) {
    auto db = jet::Database::open((folder / "baza.mdb").string(), std::string(kDatabasePassword));
    auto c = db->query(sql);
    std::string w = c->next() ? c->value(0).to_text() : "";
    db->close();
    return w;
}

int wykonaj(const fs::path& folder, const std::vector<std::string>& polecenia) {
    auto db = jet::Database::open((folder / "baza.mdb").string(), std::string(kDatabasePassword));
    int bledy = 0;
    for (const std::string& p : polecenia) {
        try {
            db->execute(p);
        } catch (const jet::Error&) {
            ++bledy;
        }
    }
    db->close();
    return bledy;
}

std::vector<int> kroki(const fs::path& folder, const std::string& co) {
    std::vector<int> v;
    std::ifstream in(folder / "Log");
    const std::string znacznik = ",Konwersja," + co + ",";
    for (std::string l; std::getline(in, l);) {
        const size_t k = l.find(znacznik);
        if (k == std::string::npos || k == 0) continue;
        const size_t p = l.rfind(',', k - 1);
        if (p == std::string::npos) continue;
        v.push_back(std::atoi(l.c_str() + p + 1));
    }
    return v;
}

std::string rejestr(const fs::path& folder, const std::string& nazwa) {
    std::ifstream in(folder / "registry.reg");
    const std::string poczatek = "\"" + nazwa + "\"=\"";
    for (std::string l; std::getline(in, l);)
        if (l.rfind(poczatek, 0) == 0 && l.size() > poczatek.size() && l.back() == '"')
            return l.substr(poczatek.size(), l.size() - poczatek.size() - 1);
    return "";
}

std::string tekst(const fs::path& plik) {
    std::ifstream in(plik, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void kopiuj_baze(const fs::path& z, const fs::path& do_) {
    fs::create_directories(do_);
    for (const char* plik : {"baza.mdb", "baza.mdb-wal"}) {
        fs::remove(do_ / plik);
        if (fs::exists(z / plik)) fs::copy_file(z / plik, do_ / plik);
    }
    fs::remove(do_ / "baza.mdb-shm");
}

int Przebieg::status() const {
    return std::atoi(tekst(folder / "status").c_str());
}
std::string Przebieg::zawartosc() const {
    return tekst(folder / "zawartosc.txt");
}

const Droga& ta_droga() {
    static const Droga d = zapewnij();
    return d;
}

int przygotuj() {
    ta_droga();
    return 0;
}

Cel cel_od(int krok) {
    const Droga& d = ta_droga();
    for (const auto& [x, p] : d.postoje)
        if (x - 1 >= krok) return {KONWERSJA_KROKI, std::to_string(x) + "=brak", &p, x - 1};
    return {KONWERSJA, "", &d.prosty, d.koniec};
}

}  // namespace droga
