// The rules as relations between runs of one step from one entry (KONW_DROGA=relacje), for
// konwersja_drogi (drogi.cpp).
#include "relacje.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "driver/start.h"
#include "droga.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/session.h"
#include "jet/text.h"
#include "jet/trace.h"

// At the entry of each step of KONW_RELACJE_KROKI ("165-299,541"; every step when unset)
// the road commits and copies the database (KONW_RELACJE_KATALOG/wejscie.mdb); runs of
// the step alone are then made by children (this program again, KONW_RELACJA naming the
// change), each on a copy of its own, changed before the step; each child dumps the
// database after the step and ends without committing. The runs:
//   B, B2  nothing changed (twice: a column that two such runs end differently, a time
//          stamp, is left out of every comparison); B also dumps the entry and names the
//          tables and columns that the step's statements name;
//   Z      one cell of a numeric column that the step names set to 0 (B when it holds 0):
//          in a row that the step changes, else in one put in for it at the entry, else
//          in the table's first row and, in a run of its own, its last;
//   N      the same cell set to Null (B when it is Null);
//   D      an id cell (a whole-number column named ...ID, ID... or ..._ID_...) set to
//          999999, an id that no row has;
//   R      a table that the step names, with two rows or more, stored in reverse order.
// and the relations checked:
//   null-none      N equals Z, Null and 0 taken as equal in numeric cells, but where Z
//                  holds 0 and N what the cell held at the entry;
//   null-replaces  no cell of N is Null where Z holds a value and the entry held one;
//   names-nothing  D equals Z but where Z holds 0 and D 999999 (the cell and its copies);
//                  where the step re-points the column (other rows' ids change), the
//                  cell and its copies end 0;
//   order          R holds the rows that B holds, by content (counters left out).
// KONW_RELACJE_WYNIK receives one line a finding (STEP RELATION CHANGE DIFFERENCE), one
// a run that stopped or whose change the file refused (STEP "stops"|"refused" CHANGE -)
// and one a step (STEP "tried" RELATION COUNT), KONW_RELACJE_WYJATKI is the table of what a
// step means otherwise (tests/crash/relacje_wyjatki.txt): a finding that a line of it
// matches is written "stated". KONW_RELACJE_ZADANIA: children at once (2);
// KONW_RELACJE_ZOSTAW set keeps each step's folder of runs (to read a finding's dumps).
namespace relacje {

using namespace droga;

namespace {

constexpr const char* kBrak = "\\N";
constexpr const char* kNikt = "999999";

// One run's change: its kind (B, B2, Z, N, D, R), the table, column and row it changes.
struct Zmiana {
    std::string rodzaj, tabela, kolumna;
    int64_t wiersz = 0;
    std::string nazwa() const {
        return rodzaj +
               (tabela.empty() ? "" : " " + tabela + (kolumna.empty() ? "" : "." + kolumna)) +
               (wiersz ? "#" + std::to_string(wiersz) : "");
    }
};

bool id_kolumna(const std::string& nazwa) {
    const std::string n = jet::text::upper(nazwa);
    return n.starts_with("ID") || n.ends_with("ID") || n.find("_ID") != std::string::npos;
}

// The database's tables as text, one block a table: "#\tNAME\tSQL_NAME" with the
// columns' names and kinds (n numeric, l counter, t other), then "rowid\tvalue..." by
// rowid; Null as \N, text escaped.
void Zrzuc(jet::Database& db, const std::string& plik) {
    sqlite3* h = db.session().handle();
    std::string out;
    for (const jet::TableInfo* t : db.catalog().tables()) {
        std::string sql = "SELECT rowid", naglowek = "#\t" + t->name + "\t" + t->sql_name, kinds;
        for (const auto& c : t->columns) {
            sql += ", " + cudzyslow(c.sql_name);
            naglowek += "\t" + c.name;
            kinds += c.counter ? 'l' : liczbowa(c.type) ? 'n' : 't';
        }
        out += naglowek + "\n" + kinds + "\n";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(
                h, (sql + " FROM " + cudzyslow(t->sql_name) + " ORDER BY rowid").c_str(), -1, &st,
                nullptr) != SQLITE_OK)
            continue;
        char b[64];
        while (sqlite3_step(st) == SQLITE_ROW) {
            out += std::to_string(sqlite3_column_int64(st, 0));
            for (int i = 1; i < sqlite3_column_count(st); ++i) {
                out += '\t';
                switch (sqlite3_column_type(st, i)) {
                    case SQLITE_NULL:
                        out += kBrak;
                        break;
                    case SQLITE_INTEGER:
                        out += std::to_string(sqlite3_column_int64(st, i));
                        break;
                    case SQLITE_FLOAT: {
                        const double d = sqlite3_column_double(st, i);
                        std::snprintf(b, sizeof b, "%.15g", d == 0 ? 0.0 : d);
                        out += b;
                        break;
                    }
                    default:
                        for (const unsigned char* p = sqlite3_column_text(st, i); p && *p; ++p)
                            out += *p == '\t'   ? std::string("\\t")
                                   : *p == '\n' ? std::string("\\n")
                                   : *p == '\\' ? std::string("\\\\")
                                                : std::string(1, static_cast<char>(*p));
                }
            }
            out += '\n';
        }
        sqlite3_finalize(st);
    }
    std::ofstream(plik) << out;
}

// The SQLite names (tables' t..., columns' c...) that the step's statements on data name
// (not the catalog's nor the planner's statistics, not a table's making or dropping, not inside a
// quoted text); "*" after a table's name when a statement naming it selects every column.
int Slad(unsigned, void* zbior, void*, void* tekst) {
    auto& z = *static_cast<std::set<std::string>*>(zbior);
    const std::string s = static_cast<const char*>(tekst);
    const std::string poczatek = jet::text::upper(s.substr(0, s.find_first_of(" (")));
    if (s.find("MSys") != std::string::npos || s.find("sqlite_stat") != std::string::npos ||
        s.starts_with("SELECT count(*) FROM (SELECT 1 FROM") || poczatek == "CREATE" ||
        poczatek == "DROP" || poczatek == "ALTER" || poczatek == "PRAGMA")
        return 0;
    const bool gwiazdka = s.find('*') != std::string::npos;
    auto slowo = [&](size_t i) {
        return std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_';
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\'') {
            i = s.find('\'', i + 1);
            if (i == std::string::npos) break;
            continue;
        }
        if ((s[i] != 't' && s[i] != 'c') || (i > 0 && slowo(i - 1))) continue;
        size_t j = i + 1;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        if (j == i + 1 || (j < s.size() && slowo(j))) continue;
        z.insert(s.substr(i, j - i));
        if (gwiazdka && s[i] == 't') z.insert(s.substr(i, j - i) + "*");
        i = j - 1;
    }
    return 0;
}

// The child: the entry copied, the change made, the step run, the database dumped; ends
// without committing. Exit status 0 with po.txt written, else the step stopped.
}  // namespace

[[noreturn]] void Dziecko(MetodaKroku metoda, int v) {
    const std::string kat = srodowisko("KONW_RELACJA_KATALOG");
    std::istringstream opis(srodowisko("KONW_RELACJA"));
    Zmiana z;
    std::string wiersz;
    std::getline(opis, z.rodzaj, '\t');
    std::getline(opis, z.tabela, '\t');
    std::getline(opis, z.kolumna, '\t');
    std::getline(opis, wiersz, '\t');
    z.wiersz = wiersz.empty() ? 0 : std::stoll(wiersz);
    std::filesystem::copy_file(srodowisko("KONW_RELACJE_KATALOG") + "/wejscie.mdb",
                               kat + "/baza.mdb");
    Sciezka_Bazy = kat + "/baza.mdb";
    Ustaw_Stale_SQL();
    DbOtwórzCicho();
    if (Baza_Otwarta == 0) std::_Exit(3);
    jet::Database& db = polaczenie().database();
    sqlite3* h = db.session().handle();
    if (const jet::TableInfo* t = db.catalog().table(z.tabela)) {
        // Straight into the file, as the customer's data stands, past the engine's rules.
        std::string sql;
        const std::string tab = cudzyslow(t->sql_name);
        if (z.rodzaj == "R")
            sql = "CREATE TEMP TABLE odwrotnie AS SELECT * FROM " + tab +
                  " ORDER BY rowid DESC; DELETE FROM " + tab + "; INSERT INTO " + tab +
                  " SELECT * FROM odwrotnie; DROP TABLE odwrotnie;";
        else if (const jet::ColumnInfo* c = t->column(z.kolumna))
            sql = "UPDATE " + tab + " SET " + cudzyslow(c->sql_name) + " = " +
                  (z.rodzaj == "Z"   ? "0"
                   : z.rodzaj == "N" ? "NULL"
                                     : kNikt) +
                  " WHERE rowid = " + std::to_string(z.wiersz);
        // A change that the file refuses (a unique index, a required column) is not tried.
        if (sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::ofstream(kat + "/odmowa") << sqlite3_errmsg(h) << "\n";
            std::_Exit(5);
        }
    }
    std::set<std::string> czyta;
    if (z.rodzaj == "B") {
        Zrzuc(db, kat + "/wejscie.txt");
        sqlite3_trace_v2(h, SQLITE_TRACE_STMT, Slad, &czyta);
    }
    Wersja_Bazy = (v - 1) / 100.0;
    Krok_Konwersji = v;
    {
        ClsKonwersje k;
        k.Sciezka = polaczenie().Properties(7);
        k.Wersja_Startowa = static_cast<int16_t>(v - 1);
        k.step_unit_ = std::make_unique<jet::WorkUnit>(db);
        try {
            (k.*metoda)();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "relacje: the step stopped: %s\n", e.what());
            std::_Exit(4);
        }
        sqlite3_trace_v2(h, 0, nullptr, nullptr);
        Zrzuc(db, kat + "/po.tmp");
        {
            std::ofstream c(kat + "/czyta.txt");
            for (const auto& n : czyta) c << n << "\n";
        }
        std::filesystem::rename(kat + "/po.tmp", kat + "/po.txt");
        std::fflush(nullptr);
        std::_Exit(0);
    }
}

namespace {

// A dump by table: the block's text, parsed when asked.
struct Tabela {
    std::string sql_name;
    std::vector<std::string> kolumny;
    std::string rodzaje;
    std::map<int64_t, std::vector<std::string>> wiersze;
};
struct Zrzut {
    std::map<std::string, std::string> bloki;
    mutable std::map<std::string, Tabela> tabele;
    bool jest = false;

    explicit Zrzut(const std::string& plik) {
        std::ifstream in(plik);
        if (!in) return;
        jest = true;
        std::string l, nazwa;
        while (std::getline(in, l)) {
            if (l.starts_with("#\t")) nazwa = l.substr(2, l.find('\t', 2) - 2);
            bloki[nazwa] += l + "\n";
        }
    }
    const Tabela* tabela(const std::string& nazwa) const {
        if (auto t = tabele.find(nazwa); t != tabele.end()) return &t->second;
        auto b = bloki.find(nazwa);
        if (b == bloki.end()) return nullptr;
        Tabela& t = tabele[nazwa];
        std::istringstream in(b->second);
        std::string l;
        std::getline(in, l);
        std::vector<std::string> pola = podziel(l);
        t.sql_name = pola.size() > 2 ? pola[2] : "";
        t.kolumny.assign(pola.begin() + std::min<size_t>(3, pola.size()), pola.end());
        std::getline(in, t.rodzaje);
        while (std::getline(in, l)) {
            pola = podziel(l);
            const int64_t id = std::stoll(pola[0]);
            t.wiersze[id].assign(pola.begin() + 1, pola.end());
        }
        return &t;
    }
    // The cell's value; nullptr when the table, the row or the column is not there.
    const std::string* komorka(const std::string& tabela_, int64_t wiersz,
                               const std::string& kolumna) const {
        const Tabela* t = tabela(tabela_);
        if (!t) return nullptr;
        auto w = t->wiersze.find(wiersz);
        const auto k = std::find(t->kolumny.begin(), t->kolumny.end(), kolumna);
        if (w == t->wiersze.end() || k == t->kolumny.end()) return nullptr;
        return &w->second[static_cast<size_t>(k - t->kolumny.begin())];
    }
    static std::vector<std::string> podziel(const std::string& l) {
        std::vector<std::string> out;
        size_t p = 0;
        for (size_t q; (q = l.find('\t', p)) != std::string::npos; p = q + 1)
            out.push_back(l.substr(p, q - p));
        out.push_back(l.substr(p));
        return out;
    }
};

class Relacje {
  public:
    Relacje()
        : wynik_(srodowisko("KONW_RELACJE_WYNIK"), std::ios::app),
          kroki_(srodowisko("KONW_RELACJE_KROKI")) {
        katalog_ = srodowisko("KONW_RELACJE_KATALOG");
        const std::string z = srodowisko("KONW_RELACJE_ZADANIA");
        zadania_ = z.empty() ? 2 : std::max(1, std::stoi(z));
        std::ifstream w(srodowisko("KONW_RELACJE_WYJATKI"));
        for (std::string l; std::getline(w, l);) {
            std::istringstream s(l.substr(0, l.find('#')));
            std::array<std::string, 4> p;
            if (s >> p[0] >> p[1] >> p[2] >> p[3]) wyjatki_.push_back(p);
        }
    }

    bool sprawdza(int v) const { return kroki_.zawiera(v); }

    // The runs of step v from the committed entry, and their relations; dodane gives each
    // table filled at the entry the first rowid of the rows put in for the step.
    void krok(int v, const std::map<std::string, int64_t>& dodane) {
        const std::string kat = katalog_ + "/" + std::to_string(v);
        std::filesystem::remove_all(kat);
        std::filesystem::create_directories(kat);
        Kopiuj_Wejscie(kat + "/wejscie.mdb");
        v_ = v;
        kat_ = kat;
        uruchom({{"B", "", "", 0}, {"B2", "", "", 0}});
        const Zrzut wejscie(kat + "/B/wejscie.txt"), b(kat + "/B/po.txt"), b2(kat + "/B2/po.txt");
        if (!b.jest || !b2.jest) {
            wynik_ << wersja(v) << "\tstops\tB\t-" << std::endl;
            if (srodowisko("KONW_RELACJE_ZOSTAW").empty()) std::filesystem::remove_all(kat);
            return;
        }
        // What two runs of one entry end differently is the run's, not the data's.
        for (const auto& [nazwa, blok] : b.bloki) {
            const auto d = b2.bloki.find(nazwa);
            if (d == b2.bloki.end() || d->second == blok) continue;
            const Tabela* t1 = b.tabela(nazwa);
            const Tabela* t2 = b2.tabela(nazwa);
            if (t1->wiersze.size() != t2->wiersze.size()) zmienne_.insert(nazwa + ".*");
            for (const auto& [id, w] : t1->wiersze)
                if (auto w2 = t2->wiersze.find(id); w2 != t2->wiersze.end())
                    for (size_t i = 0; i < w.size() && i < w2->second.size(); ++i)
                        if (w[i] != w2->second[i]) zmienne_.insert(nazwa + "." + t1->kolumny[i]);
        }
        std::set<std::string> czyta;
        {
            std::ifstream c(kat + "/B/czyta.txt");
            for (std::string l; std::getline(c, l);) czyta.insert(l);
        }
        // The changes: each numeric column that the step names, in a table it names, once.
        std::vector<Zmiana> zmiany;
        std::map<std::string, std::pair<Zmiana, std::string>>
            komorki;  // column: its cell, entry value
        for (const auto& [nazwa, blok] : wejscie.bloki) {
            const Tabela* t = wejscie.tabela(nazwa);
            if (!czyta.count(t->sql_name) || t->wiersze.empty()) continue;
            if (t->wiersze.size() > 1) zmiany.push_back({"R", nazwa, "", 0});
            const jet::TableInfo* ti = polaczenie().database().catalog().table(nazwa);
            std::vector<int64_t> zmieniane;
            if (const Tabela* tb = b.tabela(nazwa); tb && tb->kolumny == t->kolumny)
                for (const auto& [r, w] : t->wiersze)
                    if (auto x = tb->wiersze.find(r); x == tb->wiersze.end() || x->second != w)
                        zmieniane.push_back(r);
            for (size_t i = 0; i < t->kolumny.size(); ++i) {
                const jet::ColumnInfo* c = ti ? ti->column(t->kolumny[i]) : nullptr;
                if (t->rodzaje[i] != 'n' || !c ||
                    (!czyta.count(c->sql_name) && !czyta.count(t->sql_name + "*")))
                    continue;
                // The cell: of the rows that the step changes or deletes (else of those put
                // in for it, else of all), one holding 0, else one holding a value, else the
                // first. Of all rows, the last such one too: the step may read only the
                // latest documents (those after a stocktaking, of a later year).
                std::vector<int64_t> wiersze = zmieniane;
                if (const auto d = dodane.find(nazwa); wiersze.empty() && d != dodane.end())
                    for (auto w = t->wiersze.lower_bound(d->second); w != t->wiersze.end(); ++w)
                        wiersze.push_back(w->first);
                const bool wszystkie = wiersze.empty();
                if (wszystkie)
                    for (const auto& w : t->wiersze) wiersze.push_back(w.first);
                auto komorka = [&](auto poczatek, auto koniec) {
                    auto pierwszy = [&](auto warunek) -> std::optional<int64_t> {
                        for (auto r = poczatek; r != koniec; ++r)
                            if (warunek(t->wiersze.at(*r)[i])) return *r;
                        return std::nullopt;
                    };
                    return pierwszy([](const std::string& x) { return x == "0"; })
                        .value_or(pierwszy([](const std::string& x) {
                                      return x != kBrak;
                                  }).value_or(*poczatek));
                };
                std::vector<int64_t> ids{komorka(wiersze.begin(), wiersze.end())};
                if (const int64_t ostatni = komorka(wiersze.rbegin(), wiersze.rend());
                    wszystkie && ostatni != ids[0])
                    ids.push_back(ostatni);
                for (const int64_t id : ids) {
                    const std::string wartosc = t->wiersze.at(id)[i];
                    komorki[nazwa + "." + t->kolumny[i] +
                            (id == ids[0] ? "" : "#" + std::to_string(id))] = {
                        {"", nazwa, t->kolumny[i], id}, wartosc};
                    if (wartosc != "0") zmiany.push_back({"Z", nazwa, t->kolumny[i], id});
                    if (wartosc != kBrak) zmiany.push_back({"N", nazwa, t->kolumny[i], id});
                    if (id_kolumna(t->kolumny[i]))
                        zmiany.push_back({"D", nazwa, t->kolumny[i], id});
                }
            }
        }
        uruchom(zmiany);
        std::map<std::string, int> proby;
        auto po = [&](std::string rodzaj, const Zmiana& z) -> std::string {
            Zmiana k = z;
            k.rodzaj = rodzaj;
            return kat + "/" + katalog(k) + "/po.txt";
        };
        for (const auto& [kolumna, kv] : komorki) {
            const Zmiana& c = kv.first;
            const std::string& wartosc = kv.second;
            const Zrzut z(wartosc == "0" ? kat + "/B/po.txt" : po("Z", c));
            const Zrzut n(wartosc == kBrak ? kat + "/B/po.txt" : po("N", c));
            if (!z.jest || !n.jest) {
                wynik_ << wersja(v) << (z.jest ? nie(po("N", c)) : nie(po("Z", c))) << kolumna
                       << (z.jest ? " Null" : " 0") << "\t-\n";
                continue;
            }
            proby["null-none"]++;
            proby["null-replaces"]++;
            porownaj(wejscie, z, n, c, "null-none");
            if (id_kolumna(c.kolumna)) {
                const Zrzut d(po("D", c));
                if (!d.jest) {
                    wynik_ << wersja(v) << nie(po("D", c)) << kolumna << " " << kNikt << "\t-\n";
                    continue;
                }
                proby["names-nothing"]++;
                porownaj(wejscie, z, d, c, "names-nothing");
                przepiete(wejscie, b, z, d, c);
            }
        }
        for (const Zmiana& r : zmiany) {
            if (r.rodzaj != "R") continue;
            const Zrzut o(kat + "/" + katalog(r) + "/po.txt");
            if (!o.jest) {
                wynik_ << wersja(v) << nie(kat + "/" + katalog(r) + "/po.txt") << r.nazwa()
                       << "\t-\n";
                continue;
            }
            proby["order"]++;
            kolejnosc(b, o, r);
        }
        for (const auto& [relacja, n] : proby)
            wynik_ << wersja(v) << "\ttried\t" << relacja << "\t" << n << "\n";
        wynik_.flush();
        zmienne_.clear();
        if (srodowisko("KONW_RELACJE_ZOSTAW").empty()) std::filesystem::remove_all(kat);
    }

  private:
    // Why a run has no dump (its po.txt): the change refused, or the step stopped.
    static std::string nie(const std::string& po) {
        return std::filesystem::exists(std::filesystem::path(po).parent_path() / "odmowa")
                   ? "\trefused\t"
                   : "\tstops\t";
    }

    static std::string katalog(const Zmiana& z) {
        std::string k = z.nazwa();
        for (char& c : k)
            if (c == ' ' || c == '/' || c == '#') c = '_';
        return k;
    }

    // The runs of the changes, zadania_ at a time.
    void uruchom(const std::vector<Zmiana>& zmiany) {
        std::map<pid_t, std::string> dzieci;
        auto czekaj = [&] {
            int s = 0;
            const pid_t p = ::wait(&s);
            dzieci.erase(p);
        };
        for (const Zmiana& z : zmiany) {
            while (static_cast<int>(dzieci.size()) >= zadania_) czekaj();
            const std::string kat = kat_ + "/" + katalog(z);
            std::filesystem::create_directories(kat);
            const std::string rejestr = srodowisko("ORVIK_REGISTRY");
            if (!rejestr.empty())
                std::filesystem::copy_file(rejestr, kat + "/registry.reg",
                                           std::filesystem::copy_options::overwrite_existing);
            const pid_t p = Uruchom_Dziecko(
                kat + "/err.txt", {"ORVIK_REGISTRY=", "KONW_RELACJ"},
                {"ORVIK_REGISTRY=" + kat + "/registry.reg",
                 "KONW_RELACJA=" + z.rodzaj + "\t" + z.tabela + "\t" + z.kolumna + "\t" +
                     std::to_string(z.wiersz),
                 "KONW_RELACJA_KATALOG=" + kat, "KONW_RELACJA_KROK=" + std::to_string(v_),
                 "KONW_RELACJE_KATALOG=" + kat_});
            if (p > 0) dzieci[p] = kat;
        }
        while (!dzieci.empty()) czekaj();
    }

    bool liczbowa_kolumna(const Zrzut& z, const std::string& tabela,
                          const std::string& kolumna) const {
        const Tabela* t = z.tabela(tabela);
        const auto k = std::find(t->kolumny.begin(), t->kolumny.end(), kolumna);
        return k != t->kolumny.end() &&
               t->rodzaje[static_cast<size_t>(k - t->kolumny.begin())] == 'n';
    }

    void zglos(const std::string& relacja, const std::string& zmiana, const std::string& tabela,
               const std::string& kolumna, const std::string& opis) {
        bool stated = false;
        for (const auto& w : wyjatki_) {
            auto pasuje = [](const std::string& wzor, const std::string& s) {
                return wzor == "*" || wzor == s ||
                       (wzor.ends_with(".*") && s.starts_with(wzor.substr(0, wzor.size() - 1))) ||
                       (wzor.starts_with("*.") && s.ends_with(wzor.substr(1)));
            };
            stated = stated || ((w[0] == "*" || w[0] == wersja(v_)) && w[1] == relacja &&
                                pasuje(w[2], zmiana) && pasuje(w[3], tabela + "." + kolumna));
        }
        wynik_ << wersja(v_) << "\t" << relacja << "\t" << zmiana << "\t" << tabela << "."
               << kolumna << "\t" << opis << (stated ? "\tstated" : "") << "\n";
    }

    // Run a against run b of the change c: "null-none" (b the Null run) or
    // "names-nothing" (b the run of an id that names nothing); and in the Null run, a
    // Null put over a value.
    void porownaj(const Zrzut& wejscie, const Zrzut& a, const Zrzut& b, const Zmiana& c,
                  const std::string& relacja) {
        const bool nulle = relacja == "null-none";
        const std::string zmiana = c.tabela + "." + c.kolumna;
        for (const auto& [nazwa, blok] : a.bloki) {
            const auto bb = b.bloki.find(nazwa);
            if (bb != b.bloki.end() && bb->second == blok) continue;
            if (zmienne_.count(nazwa + ".*")) continue;
            if (bb == b.bloki.end()) {
                zglos(relacja, zmiana, nazwa, "*", "table missing");
                continue;
            }
            const Tabela* ta = a.tabela(nazwa);
            const Tabela* tb = b.tabela(nazwa);
            if (ta->kolumny != tb->kolumny) {
                zglos(relacja, zmiana, nazwa, "*", "columns differ");
                continue;
            }
            long jednego = 0;  // rows of one run only
            for (const auto& w : tb->wiersze) jednego += !ta->wiersze.count(w.first);
            std::map<std::string, std::pair<long, std::string>> rozne, nad;
            for (const auto& [id, wa] : ta->wiersze) {
                auto wb = tb->wiersze.find(id);
                if (wb == tb->wiersze.end()) {
                    ++jednego;
                    continue;
                }
                for (size_t i = 0; i < wa.size(); ++i) {
                    const std::string &x = wa[i], &y = wb->second[i];
                    const std::string& kol = ta->kolumny[i];
                    if (x == y || zmienne_.count(nazwa + "." + kol)) continue;
                    const bool liczba = ta->rodzaje[i] == 'n';
                    const std::string* e = wejscie.komorka(nazwa, id, kol);
                    if (nulle && liczba && y == kBrak && x != kBrak && e && *e != kBrak &&
                        !(nazwa == c.tabela && kol == c.kolumna && id == c.wiersz)) {
                        auto& r = nad[kol];
                        if (r.first++ == 0)
                            r.second = "#" + std::to_string(id) + " " + x + " -> Null";
                    }
                    if (liczba && nulle && ((x == "0" && y == kBrak) || (x == kBrak && y == "0")))
                        continue;
                    if (x == "0" && (nulle ? (e && y == *e) : y == kNikt))
                        continue;  // the figure, or its copy
                    auto& r = rozne[kol];
                    if (r.first++ == 0) r.second = "#" + std::to_string(id) + " " + x + " / " + y;
                }
            }
            for (const auto& [kol, r] : rozne)
                zglos(relacja, zmiana, nazwa, kol, std::to_string(r.first) + " cells, " + r.second);
            for (const auto& [kol, r] : nad)
                zglos("null-replaces", zmiana, nazwa, kol,
                      std::to_string(r.first) + " cells, " + r.second);
            if (jednego != 0)
                zglos(relacja, zmiana, nazwa, "*",
                      std::to_string(jednego) + " rows of one run only (" +
                          std::to_string(ta->wiersze.size()) + " / " +
                          std::to_string(tb->wiersze.size()) + ")");
        }
    }

    // Where the step re-points the changed column (another row's id changes from the
    // entry to B), the cell that named nothing ends 0; and so do its copies.
    void przepiete(const Zrzut& wejscie, const Zrzut& b, const Zrzut& z, const Zrzut& d,
                   const Zmiana& c) {
        const Tabela* te = wejscie.tabela(c.tabela);
        if (!te) return;
        const auto ke = std::find(te->kolumny.begin(), te->kolumny.end(), c.kolumna);
        if (ke == te->kolumny.end()) return;
        const size_t ie = static_cast<size_t>(ke - te->kolumny.begin());
        // Re-pointed: another row's id (a positive number; 0, -1 and Null are marks) became
        // another id.
        auto id_ = [](const std::string& x) {
            return x != kBrak && !x.starts_with('-') && x != "0";
        };
        const Tabela* tb = b.tabela(c.tabela);
        const auto kb =
            tb ? std::find(tb->kolumny.begin(), tb->kolumny.end(), c.kolumna) : te->kolumny.end();
        if (tb && kb != tb->kolumny.end()) {
            const size_t ib = static_cast<size_t>(kb - tb->kolumny.begin());
            bool przepina = false;
            for (const auto& [id, w] : te->wiersze)
                if (auto x = tb->wiersze.find(id); id != c.wiersz && x != tb->wiersze.end() &&
                                                   id_(w[ie]) && id_(x->second[ib]) &&
                                                   x->second[ib] != w[ie])
                    przepina = true;
            const std::string* po = d.komorka(c.tabela, c.wiersz, c.kolumna);
            if (przepina && po && *po != "0" && *po != kBrak)
                zglos("names-nothing", c.tabela + "." + c.kolumna, c.tabela, c.kolumna,
                      "re-pointed column: #" + std::to_string(c.wiersz) + " ends " + *po);
        }
        // A copy of the cell in another table (Z holds 0 there, D the id that names
        // nothing) ends 0 where the step re-points the copies: where B's copy of the cell,
        // in the same row, holds another id than the cell held at the entry.
        const auto we = te->wiersze.find(c.wiersz);
        if (we == te->wiersze.end() || !id_(we->second[ie])) return;
        for (const auto& [nazwa, blok] : d.bloki) {
            const auto zb = z.bloki.find(nazwa);
            if (nazwa == c.tabela || zb == z.bloki.end() || zb->second == blok) continue;
            const Tabela* td = d.tabela(nazwa);
            const Tabela* tz = z.tabela(nazwa);
            if (td->kolumny != tz->kolumny) continue;
            for (size_t i = 0; i < td->kolumny.size(); ++i)
                for (const auto& [id, w] : td->wiersze) {
                    const auto x = tz->wiersze.find(id);
                    if (w[i] != kNikt || x == tz->wiersze.end() || x->second[i] != "0") continue;
                    const std::string* wb = b.komorka(nazwa, id, td->kolumny[i]);
                    const bool przepisane = wb && id_(*wb) && *wb != we->second[ie];
                    if (przepisane)
                        zglos("names-nothing", c.tabela + "." + c.kolumna, nazwa, td->kolumny[i],
                              "re-pointed copy: #" + std::to_string(id) + " ends " + kNikt);
                }
        }
    }

    // The reversed run's rows against B's, by content, counters left out.
    void kolejnosc(const Zrzut& b, const Zrzut& o, const Zmiana& r) {
        for (const auto& para : b.bloki) {
            const std::string& nazwa = para.first;
            const std::string& blok = para.second;
            const auto ob = o.bloki.find(nazwa);
            if (ob != o.bloki.end() && ob->second == blok) continue;
            if (zmienne_.count(nazwa + ".*")) continue;
            if (ob == o.bloki.end()) {
                zglos("order", r.tabela, nazwa, "*", "table missing");
                continue;
            }
            const Tabela* tb = b.tabela(nazwa);
            const Tabela* to = o.tabela(nazwa);
            if (tb->kolumny != to->kolumny) {
                zglos("order", r.tabela, nazwa, "*", "columns differ");
                continue;
            }
            auto tresc = [&](const Tabela* t) {
                std::multiset<std::string> m;
                for (const auto& [id, w] : t->wiersze) {
                    std::string s;
                    for (size_t i = 0; i < w.size(); ++i)
                        if (t->rodzaje[i] != 'l' && !zmienne_.count(nazwa + "." + t->kolumny[i]))
                            s += w[i] + "\t";
                    m.insert(s);
                }
                return m;
            };
            const auto mb = tresc(tb), mo = tresc(to);
            if (mb == mo) continue;
            long roznych = 0;
            for (const auto& s : mb) roznych += !mo.count(s);
            // The columns whose values differ, else the rows' combinations of them.
            std::vector<std::string> kolumny;
            for (size_t i = 0; i < tb->kolumny.size(); ++i) {
                if (tb->rodzaje[i] == 'l' || zmienne_.count(nazwa + "." + tb->kolumny[i])) continue;
                std::multiset<std::string> x, y;
                for (const auto& w : tb->wiersze) x.insert(w.second[i]);
                for (const auto& w : to->wiersze) y.insert(w.second[i]);
                if (x != y) kolumny.push_back(tb->kolumny[i]);
            }
            if (kolumny.empty()) kolumny.push_back("*");
            for (const auto& k : kolumny)
                zglos(
                    "order", r.tabela, nazwa, k,
                    std::to_string(roznych) + " of " + std::to_string(mb.size()) + " rows differ");
        }
    }

    std::ofstream wynik_;
    Kroki kroki_;
    std::string katalog_, kat_;
    int zadania_ = 2, v_ = 0;
    std::vector<std::array<std::string, 4>> wyjatki_;
    std::set<std::string> zmienne_;
};

Relacje& relacje() {
    static Relacje r;
    return r;
}

}  // namespace

bool Sprawdza(int v) {
    return relacje().sprawdza(v);
}

void Krok(int v, const std::map<std::string, int64_t>& dodane) {
    relacje().krok(v, dodane);
}

}  // namespace relacje
