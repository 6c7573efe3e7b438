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
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "driver/odwolania.h"
#include "driver/start.h"
#include "droga.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/session.h"
#include "jet/text.h"
#include "jet/value.h"
#include "pokrycie.h"

// At the entry of each step of KONW_RELACJE_KROKI ("165-299,541"; every step when unset)
// the road commits and copies the database (KONW_RELACJE_KATALOG/wejscie.mdb); runs of
// the step alone are then made by children (this program again, KONW_RELACJA naming the
// change), each on a copy of its own, changed before the step; each child dumps the
// database after the step and the shapes of the data statements it ran (pokrycie.h) with
// the rows whose values they changed, and ends without committing. The runs:
//   B, B2  nothing changed (twice: a column that two such runs end differently, a time
//          stamp, is left out of every comparison); B also dumps the entry and names the
//          tables and columns that the step's statements name;
//   Z      one cell of a numeric column that the step names set to 0 (B when it holds 0):
//          in a row that the step changes and, in a run of its own, in one put in for it
//          at the entry, else in the table's first and, apart, last row (the step may read
//          only the latest documents); of such rows, one whose cell holds a value and whose
//          other numeric cells that the step names hold values (a Null amid values);
//   N      the same cell set to Null (B when it is Null);
//   D      an id cell (a whole-number column named ...ID, ID... or ..._ID_...) set to
//          999999, an id that no row has;
//   R      a table that the step names, with two rows or more, stored in reverse order;
//   K, KR  a copy of a row of such a table (one that the step changes, else one put in,
//          else the first) put in after its rows, its figures (Currency, Single, Double)
//          one more and its counter the engine's: a row that ties with it on all else;
//          in KR the table then stored in reverse order.
// and the relations checked, rows paired by the table's primary key or a unique index
// whose cells hold no Null (a Null or 999999 changed in read as the 0 of Z), else by rowid:
//   null-none      N equals Z, Null and 0 taken as equal in numeric cells, but where Z
//                  holds 0 and N what the cell held at the entry; a cell that the step
//                  writes (B holds another value than the entry, or its column or table
//                  is new) where Z holds a value, 0 included, holds one in N too, but a
//                  column of the changed one's name in a table that the step copies into
//                  row by row (no statement of the step sums or groups into it);
//   null-replaces  no cell of N is Null where Z holds a value and the entry held one;
//   names-nothing  D equals Z but where Z holds 0 and D 999999 (the cell and its copies);
//                  where the step re-points the column (other rows' ids change), the
//                  cell and its copies end 0;
//   order          R holds the rows that B holds, and KR those that K holds, by content
//                  (counters left out).
// KONW_RELACJE_WYNIK receives one line a finding (STEP RELATION CHANGE DIFFERENCE: the
// table.column that differs, table.(rows) for rows of one run only or whose values combine
// otherwise, table.(table) or table.(columns) for a table or its columns of one run), one
// a run that stopped or whose change the file refused (STEP "stops"|"refused" CHANGE -;
// B's stop with the step's message), and per step the changes tried and those that met a
// row that a statement changed (STEP "tried"|"met" RELATION COUNT: a changed row that the
// step changes, or a run that ends otherwise than B beyond the change), the coverage
// (STEP "coverage" STATEMENTS REACHED-IN-B REACHED STATED-UNREACHABLE; a statement is
// reached where a run changed some cell's value by it) and each data statement that no run
// reached and KONW_RELACJE_NIEOSIAGALNE does not state (STEP "unreached" SHAPE where no
// run wrote a row with it, STEP "unchanged" SHAPE where runs wrote rows with the values
// they held), or that a run reached and the table states (STEP "stated-reached" SHAPE).
// KONW_RELACJE_WYJATKI is the table of what a step means otherwise
// (tests/crash/relacje_wyjatki.txt): a finding that a line of it matches is written
// "stated". KONW_RELACJE_ZADANIA: children at once (2); KONW_RELACJE_ZOSTAW set keeps
// each step's folder of runs (to read a finding's dumps).
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

// A figure: an amount, a quantity or a price, not a number that names or counts.
bool figura(jet::DataType t) {
    return t == jet::DataType::Currency || t == jet::DataType::Single || t == jet::DataType::Double;
}

// A column that names a row: a reference of the suite's at the step (driver/odwolania.h),
// or, where they say nothing (the step's own work tables), one named as an id (...ID,
// ID... or ..._ID_...).
bool id_kolumna(const std::string& tabela, const std::string& nazwa, int krok) {
    if (Odwolanie_Kolumny(krok, tabela, nazwa) != nullptr) return true;
    const std::string n = jet::text::upper(nazwa);
    return n.starts_with("ID") || n.ends_with("ID") || n.find("_ID") != std::string::npos;
}

// The database's tables as text, one block a table: "#\tNAME\tSQL_NAME" with the
// columns' names, their kinds (n numeric, l counter, t other), "k" with the columns of the
// primary key and of each unique index ("\t0,2"), then "rowid\tvalue..." by rowid; Null
// as \N, text escaped.
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
        std::string klucze = "k";
        for (int primary = 1; primary >= 0; --primary)
            for (const auto& ix : t->indexes) {
                if (!ix.unique || ix.primary != static_cast<bool>(primary)) continue;
                std::string k;
                for (const auto& ic : ix.columns)
                    for (size_t i = 0; i < t->columns.size(); ++i)
                        if (t->columns[i].id == ic.column_id)
                            k += (k.empty() ? "" : ",") + std::to_string(i);
                klucze += "\t" + k;
            }
        out += naglowek + "\n" + kinds + "\n" + klucze + "\n";
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
    auto odmowa = [&](const std::string& powod) {
        std::ofstream(kat + "/odmowa") << powod << "\n";
        std::_Exit(5);
    };
    if (const jet::TableInfo* t = db.catalog().table(z.tabela)) {
        if (z.rodzaj == "K" || z.rodzaj == "KR") {
            // The copy goes in as the engine puts a row in (its counter numbered, its keys
            // kept); a copy that a unique index refuses is not tried.
            std::vector<std::string> nazwy;
            for (const auto& c : t->columns)
                if (!c.counter) nazwy.push_back(c.name);
            const auto w = jet::read_row(db, t->name, z.wiersz, nazwy);
            if (!w) odmowa("no row " + std::to_string(z.wiersz));
            jet::ColumnValues kopia;
            for (size_t i = 0; i < nazwy.size(); ++i) {
                const jet::ColumnInfo& c = *t->column(nazwy[i]);
                jet::Value x = (*w)[i];
                if (figura(c.type) && !x.is_null()) x = jet::add(x, jet::Value::long_(1));
                // A number that a unique index of its own holds (the document's id where
                // the engine does not number it) is the next one: the copy is another
                // document that ties with the row.
                for (const auto& ix : t->indexes)
                    if (ix.unique && ix.columns.size() == 1 && ix.columns[0].column_id == c.id &&
                        liczbowa(c.type)) {
                        auto r = db.query("SELECT Max([" + c.name + "]) FROM [" + t->name + "]");
                        if (r->next()) x = jet::add(r->value(0), jet::Value::long_(1));
                    }
                kopia.emplace_back(nazwy[i], x);
            }
            try {
                jet::atomically(db, [&] { jet::insert_row(db, t->name, kopia); });
            } catch (const jet::Error& e) {
                odmowa(e.description());
            }
        }
        // Straight into the file, as the customer's data stands, past the engine's rules.
        std::string sql;
        const std::string tab = cudzyslow(t->sql_name);
        if (z.rodzaj == "R" || z.rodzaj == "KR")
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
        if (!sql.empty() && sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            odmowa(sqlite3_errmsg(h));
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
        pokrycie::Sledz(h);
        try {
            (k.*metoda)();
        } catch (const std::exception& e) {
            pokrycie::Zapisz(kat + "/slad.txt");
            std::fprintf(stderr, "relacje: the step stopped: %s\n", e.what());
            std::_Exit(4);
        }
        pokrycie::Zapisz(kat + "/slad.txt");
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

using Wiersz = std::vector<std::string>;

// A dump by table: the block's text, parsed when asked.
struct Tabela {
    std::string sql_name;
    std::vector<std::string> kolumny;
    std::string rodzaje;
    std::vector<std::vector<size_t>> klucze;  // the primary key's columns, then each unique index's
    std::map<int64_t, Wiersz> wiersze;

    std::optional<size_t> kolumna(const std::string& nazwa) const {
        const auto k = std::find(kolumny.begin(), kolumny.end(), nazwa);
        if (k == kolumny.end()) return std::nullopt;
        return static_cast<size_t>(k - kolumny.begin());
    }
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
        std::getline(in, l);
        pola = podziel(l);
        for (size_t i = 1; i < pola.size(); ++i) {
            std::vector<size_t> k;
            std::istringstream s(pola[i]);
            for (std::string n; std::getline(s, n, ',');) k.push_back(std::stoul(n));
            if (!k.empty()) t.klucze.push_back(k);
        }
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
        const auto k = t->kolumna(kolumna);
        if (w == t->wiersze.end() || !k) return nullptr;
        return &w->second[*k];
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

// The rows of t by their cells over the columns k (a cell holding jak_zero, where it is
// not empty, read as 0); none when a cell is Null or two rows hold the same cells.
std::optional<std::map<std::string, int64_t>> po_kluczu(const Tabela& t,
                                                        const std::vector<size_t>& k,
                                                        const std::string& jak_zero) {
    std::map<std::string, int64_t> m;
    for (const auto& [id, w] : t.wiersze) {
        std::string s;
        for (const size_t i : k) {
            if (i >= w.size()) return std::nullopt;
            const std::string& x = !jak_zero.empty() && w[i] == jak_zero ? std::string("0") : w[i];
            if (x == kBrak) return std::nullopt;
            s += x + '\t';
        }
        if (!m.emplace(s, id).second) return std::nullopt;
    }
    return m;
}

// The rows of two runs' tables of the same columns paired: by the first of a's keys that
// holds no Null and tells the rows apart in both (b's cells holding jak_zero read as 0);
// in a table without such a key, by the first column, else pair of columns (counters left
// out), that does so as they stand (so not by the changed cell) and pairs every row; else
// (or when kluczem is false) by rowid. The rows of one run only are counted.
struct Pary {
    std::vector<std::pair<int64_t, int64_t>> pary;  // the row in a, in b
    long jednego = 0;
    std::vector<std::string> klucz;  // the key's columns; none: by rowid
};
Pary paruj(const Tabela& a, const Tabela& b, const std::string& jak_zero, bool kluczem = true) {
    Pary p;
    auto sprobuj = [&](const std::vector<size_t>& k, bool kazdy) {
        const auto ma = po_kluczu(a, k, ""), mb = po_kluczu(b, k, kazdy ? "" : jak_zero);
        if (!ma || !mb) return false;
        Pary q;
        for (const auto& [s, id] : *ma)
            if (const auto x = mb->find(s); x != mb->end())
                q.pary.emplace_back(id, x->second);
            else
                ++q.jednego;
        for (const auto& w : *mb) q.jednego += !ma->count(w.first);
        if (kazdy && q.jednego != 0) return false;
        for (const size_t i : k) q.klucz.push_back(a.kolumny[i]);
        p = std::move(q);
        return true;
    };
    if (kluczem) {
        for (const auto& k : a.klucze)
            if (sprobuj(k, false)) return p;
        std::vector<size_t> kolumny;
        for (size_t i = 0; i < a.kolumny.size(); ++i)
            if (a.rodzaje[i] != 'l') kolumny.push_back(i);
        for (const size_t i : kolumny)
            if (sprobuj({i}, true)) return p;
        for (size_t i = 0; i < kolumny.size() && i < 12; ++i)
            for (size_t j = i + 1; j < kolumny.size() && j < 12; ++j)
                if (sprobuj({kolumny[i], kolumny[j]}, true)) return p;
    }
    for (const auto& w : a.wiersze)
        if (b.wiersze.count(w.first))
            p.pary.emplace_back(w.first, w.first);
        else
            ++p.jednego;
    for (const auto& w : b.wiersze) p.jednego += !a.wiersze.count(w.first);
    return p;
}

// Where a row of table a stands in the dump of another run (or the entry): by the key's
// columns, where t has them all and they tell its rows apart (else nowhere), or by rowid
// when the key is none.
class Wskaz {
  public:
    Wskaz(const Tabela* t, const Tabela& a, const std::vector<std::string>& klucz) : t_(t) {
        if (!t || klucz.empty()) return;
        std::vector<size_t> kt;
        for (const auto& n : klucz) {
            const auto i = t->kolumna(n), j = a.kolumna(n);
            if (!i || !j) {
                t_ = nullptr;
                return;
            }
            kt.push_back(*i);
            ka_.push_back(*j);
        }
        if (auto m = po_kluczu(*t, kt, ""))
            m_ = std::move(*m);
        else
            t_ = nullptr;
    }
    // The row (rowid, cells) that stands for row id of a, holding cells w; none when absent.
    const std::pair<const int64_t, Wiersz>* wiersz(int64_t id, const Wiersz& w) const {
        if (!t_) return nullptr;
        auto r = t_->wiersze.end();
        if (ka_.empty()) {
            r = t_->wiersze.find(id);
        } else {
            std::string s;
            for (const size_t i : ka_) s += w[i] + '\t';
            if (const auto x = m_.find(s); x != m_.end()) r = t_->wiersze.find(x->second);
        }
        return r == t_->wiersze.end() ? nullptr : &*r;
    }

  private:
    const Tabela* t_;
    std::vector<size_t> ka_;
    std::map<std::string, int64_t> m_;
};

// The first key of t (its primary key, then its unique indexes) that holds no Null and
// tells its rows apart, by its columns' names; none when no key does.
std::vector<std::string> klucz_tabeli(const Tabela& t) {
    for (const auto& k : t.klucze)
        if (po_kluczu(t, k, "")) {
            std::vector<std::string> n;
            for (const size_t i : k) n.push_back(t.kolumny[i]);
            return n;
        }
    return {};
}

class Relacje {
  public:
    Relacje()
        : wynik_(srodowisko("KONW_RELACJE_WYNIK"), std::ios::app),
          kroki_(srodowisko("KONW_RELACJE_KROKI")),
          nieosiagalne_(srodowisko("KONW_RELACJE_NIEOSIAGALNE")) {
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
        const std::vector<Zmiana> podstawa{{"B", "", "", 0}, {"B2", "", "", 0}};
        uruchom(podstawa);
        const Zrzut wejscie(kat + "/B/wejscie.txt"), b(kat + "/B/po.txt"), b2(kat + "/B2/po.txt");
        if (!b.jest || !b2.jest) {
            // The step stops on the road's own rows: its message, a finding of its own.
            std::ifstream e(kat + (b.jest ? "/B2" : "/B") + "/err.txt");
            // The step's own message: its exception's, else the last that it showed.
            std::string powod, l;
            bool wyjatek = false;
            while (std::getline(e, l))
                if (l.starts_with("relacje: ")) {
                    powod = l.substr(9);
                    wyjatek = true;
                } else if (!wyjatek && !l.empty() && l[0] != '[' && l[0] != '=') {
                    powod = l.substr(0, 300);
                }
            for (char& c : powod)
                if (c == '\t') c = ' ';
            wynik_ << wersja(v) << "\tstops\tB\t" << (powod.empty() ? "-" : powod) << std::endl;
            pokryj(podstawa);
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
        zmieniane_.clear();
        for (const auto& [nazwa, blok] : wejscie.bloki) {
            const Tabela* t = wejscie.tabela(nazwa);
            if (!czyta.count(t->sql_name) || t->wiersze.empty()) continue;
            const jet::TableInfo* ti = polaczenie().database().catalog().table(nazwa);
            std::set<int64_t>& zmieniane = zmieniane_[nazwa];
            zmieniane = zmienione(*t, b.tabela(nazwa));
            // The rows to change: those that the step changes or deletes, and those put in
            // for it (rows of a kind that meets a statement the step's own rows do not);
            // else all.
            const std::vector<int64_t> zmieniane_(zmieniane.begin(), zmieniane.end());
            std::vector<int64_t> wlozone;
            if (const auto d = dodane.find(nazwa); d != dodane.end())
                for (auto w = t->wiersze.lower_bound(d->second); w != t->wiersze.end(); ++w)
                    wlozone.push_back(w->first);
            std::vector<int64_t> wiersze = zmieniane_;
            wiersze.insert(wiersze.end(), wlozone.begin(), wlozone.end());
            const bool wszystkie = wiersze.empty();
            if (wszystkie)
                for (const auto& w : t->wiersze) wiersze.push_back(w.first);
            if (t->wiersze.size() > 1) zmiany.push_back({"R", nazwa, "", 0});
            if (jet::text::upper(nazwa) != "NIERUSZAC") {  // the version's one row
                zmiany.push_back({"K", nazwa, "", wiersze[0]});
                zmiany.push_back({"KR", nazwa, "", wiersze[0]});
            }
            // The numeric columns that the step names.
            std::vector<size_t> liczbowe;
            for (size_t i = 0; i < t->kolumny.size(); ++i) {
                const jet::ColumnInfo* c = ti ? ti->column(t->kolumny[i]) : nullptr;
                if (t->rodzaje[i] == 'n' && c &&
                    (czyta.count(c->sql_name) || czyta.count(t->sql_name + "*")))
                    liczbowe.push_back(i);
            }
            for (const size_t i : liczbowe) {
                // The cell: one holding a value (not 0 where one may) in a row whose other
                // numeric cells that the step names hold values, the first such.
                auto ocena = [&](int64_t r) {
                    const Wiersz& w = t->wiersze.at(r);
                    int o = w[i] == kBrak ? 0 : 1000 + (w[i] != "0");
                    for (const size_t j : liczbowe) o += 2 * (j != i && w[j] != kBrak);
                    return o;
                };
                auto najlepszy = [&](auto poczatek, auto koniec) {
                    auto n = poczatek;
                    for (auto r = poczatek; r != koniec; ++r)
                        if (ocena(*r) > ocena(*n)) n = r;
                    return *n;
                };
                // Of the rows that the step changes, and apart of those put in for it; of
                // all rows, the first such and the last.
                std::vector<int64_t> ids;
                if (!zmieniane_.empty())
                    ids.push_back(najlepszy(zmieniane_.begin(), zmieniane_.end()));
                if (!wlozone.empty()) ids.push_back(najlepszy(wlozone.begin(), wlozone.end()));
                if (wszystkie) {
                    ids.push_back(najlepszy(wiersze.begin(), wiersze.end()));
                    ids.push_back(najlepszy(wiersze.rbegin(), wiersze.rend()));
                }
                ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
                for (const int64_t id : ids) {
                    const std::string wartosc = t->wiersze.at(id)[i];
                    komorki[nazwa + "." + t->kolumny[i] +
                            (id == ids[0] ? "" : "#" + std::to_string(id))] = {
                        {"", nazwa, t->kolumny[i], id}, wartosc};
                    if (wartosc != "0") zmiany.push_back({"Z", nazwa, t->kolumny[i], id});
                    if (wartosc != kBrak) zmiany.push_back({"N", nazwa, t->kolumny[i], id});
                    if (id_kolumna(nazwa, t->kolumny[i], v))
                        zmiany.push_back({"D", nazwa, t->kolumny[i], id});
                }
            }
        }
        uruchom(zmiany);
        proby_.clear();
        trafione_.clear();
        // The tables that a data statement of the step sums into (its shape names the table
        // and sums or groups): a figure there is no copy of one line's, whatever the rows.
        sumowane_.clear();
        {
            std::map<std::string, pokrycie::Zasieg> ksztalty;
            pokrycie::Wczytaj(kat + "/B/slad.txt", ksztalty);
            for (const auto& [k, w] : ksztalty) {
                const std::string d = jet::text::upper(k);
                if (d.find("SUM(") == std::string::npos && d.find("GROUP BY") == std::string::npos)
                    continue;
                for (const auto& [nazwa, blok] : b.bloki)
                    if (pokrycie::Ma_Slowo(d, jet::text::upper(nazwa)))
                        sumowane_.insert(jet::text::upper(nazwa));
            }
        }
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
            const bool trafia =
                zmieniane_[c.tabela].count(c.wiersz) || siega(b, z, c) || siega(b, n, c);
            proba("null-none", trafia);
            proba("null-replaces", trafia);
            porownaj(wejscie, b, z, n, c, wartosc, "null-none");
            if (id_kolumna(c.tabela, c.kolumna, v)) {
                const Zrzut d(po("D", c));
                if (!d.jest) {
                    wynik_ << wersja(v) << nie(po("D", c)) << kolumna << " " << kNikt << "\t-\n";
                    continue;
                }
                proba("names-nothing", zmieniane_[c.tabela].count(c.wiersz) || siega(b, d, c));
                porownaj(wejscie, b, z, d, c, wartosc, "names-nothing");
                przepiete(wejscie, b, z, d, c);
            }
        }
        for (const Zmiana& r : zmiany) {
            if (r.rodzaj != "R" && r.rodzaj != "KR") continue;
            // R against B; KR against K, the copy in both.
            const Zmiana prosto{"K", r.tabela, "", r.wiersz};
            const std::string pp = r.rodzaj == "R" ? kat + "/B/po.txt" : po("K", prosto);
            const std::string po_o = kat + "/" + katalog(r) + "/po.txt";
            const Zrzut p(pp), o(po_o);
            if (!p.jest || !o.jest) {
                wynik_ << wersja(v) << nie(p.jest ? po_o : pp) << (p.jest ? r : prosto).nazwa()
                       << "\t-\n";
                continue;
            }
            proba("order", !zmieniane_[r.tabela].empty() || siega(b, p, prosto));
            kolejnosc(p, o, r);
        }
        for (const auto& [relacja, n] : proby_)
            wynik_ << wersja(v) << "\ttried\t" << relacja << "\t" << n << "\n"
                   << wersja(v) << "\tmet\t" << relacja << "\t" << trafione_[relacja] << "\n";
        std::vector<Zmiana> wszystkie = podstawa;
        wszystkie.insert(wszystkie.end(), zmiany.begin(), zmiany.end());
        pokryj(wszystkie);
        wynik_.flush();
        zmienne_.clear();
        if (srodowisko("KONW_RELACJE_ZOSTAW").empty()) std::filesystem::remove_all(kat);
    }

  private:
    void proba(const std::string& relacja, bool trafia) {
        proby_[relacja]++;
        trafione_[relacja] += trafia;
    }

    // The step's data statements over the runs: those that changed values in B, in any run,
    // and those stated unreachable; of the others, those that wrote rows but changed no
    // value ("unchanged") apart from those that wrote none ("unreached").
    void pokryj(const std::vector<Zmiana>& przebiegi) {
        std::map<std::string, pokrycie::Zasieg> w_b, wszystkie;
        pokrycie::Wczytaj(kat_ + "/B/slad.txt", w_b);
        for (const Zmiana& z : przebiegi)
            pokrycie::Wczytaj(kat_ + "/" + katalog(z) + "/slad.txt", wszystkie);
        long z_b = 0, osiagniete = 0, stwierdzone = 0;
        for (const auto& [k, w] : w_b) z_b += w.zmienione > 0;
        for (const auto& [k, w] : wszystkie) {
            const bool stwierdza = nieosiagalne_.stwierdza(wersja(v_), k);
            const bool siega = w.zmienione > 0;
            osiagniete += siega;
            stwierdzone += !siega && stwierdza;
            if (!siega && !stwierdza)
                wynik_ << wersja(v_) << (w.zapisane > 0 ? "\tunchanged\t" : "\tunreached\t") << k
                       << "\n";
            if (siega && stwierdza) wynik_ << wersja(v_) << "\tstated-reached\t" << k << "\n";
        }
        wynik_ << wersja(v_) << "\tcoverage\t" << wszystkie.size() << "\t" << z_b << "\t"
               << osiagniete << "\t" << stwierdzone << "\n";
    }

    // The rows of the entry's table e that the step changes: a cell of a column that B
    // still has holds another value, a column that B adds a value other than Null, 0 and
    // an empty text, or the row is gone. Rows paired by B's key where the entry holds its
    // columns, else by rowid. None when B has no such table.
    static std::set<int64_t> zmienione(const Tabela& e, const Tabela* b) {
        std::set<int64_t> out;
        if (!b) return out;
        const Wskaz w(&e, *b, klucz_tabeli(*b));
        std::vector<std::optional<size_t>> w_e;  // B's columns in the entry
        for (const auto& k : b->kolumny) w_e.push_back(e.kolumna(k));
        std::set<int64_t> sa;
        for (const auto& [id, wb] : b->wiersze) {
            const auto* r = w.wiersz(id, wb);
            if (!r) continue;
            sa.insert(r->first);
            for (size_t i = 0; i < wb.size(); ++i)
                if (w_e[i] ? r->second[*w_e[i]] != wb[i]
                           : wb[i] != kBrak && wb[i] != "0" && !wb[i].empty())
                    out.insert(r->first);
        }
        for (const auto& r : e.wiersze)
            if (!sa.count(r.first)) out.insert(r.first);
        return out;
    }

    // Whether run o ends otherwise than B beyond its change: another table, or another
    // row or cell of the changed table (the rows by rowid; a copy put in left out, the
    // reversed table left out), columns that two unchanged runs end differently apart.
    bool siega(const Zrzut& b, const Zrzut& o, const Zmiana& c) const {
        for (const auto& [nazwa, blok] : o.bloki) {
            const auto bb = b.bloki.find(nazwa);
            if (bb == b.bloki.end()) return true;
            if (bb->second == blok || zmienne_.count(nazwa + ".*")) continue;
            const Tabela* tb = b.tabela(nazwa);
            const Tabela* to = o.tabela(nazwa);
            if (tb->kolumny != to->kolumny) return true;
            if (nazwa == c.tabela && c.rodzaj == "R") continue;
            const Pary p = paruj(*tb, *to, "", nazwa != c.tabela);
            if (p.jednego > (nazwa == c.tabela && c.rodzaj == "K" ? 1 : 0)) return true;
            for (const auto& [ib, io] : p.pary) {
                const Wiersz &x = tb->wiersze.at(ib), &y = to->wiersze.at(io);
                for (size_t i = 0; i < x.size(); ++i)
                    if (x[i] != y[i] && !zmienne_.count(nazwa + "." + tb->kolumny[i]) &&
                        !(nazwa == c.tabela && ib == c.wiersz && tb->kolumny[i] == c.kolumna))
                        return true;
            }
        }
        return false;
    }

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

    // Run a against run b of the change c (of a cell that held wartosc): "null-none" (b
    // the Null run) or "names-nothing" (b the run of an id that names nothing); and in the
    // Null run, a Null put over a value. b0 is B, the unchanged run: a cell that differs
    // there from the entry, or whose column or table the entry lacks, is one that the step
    // writes.
    void porownaj(const Zrzut& wejscie, const Zrzut& b0, const Zrzut& a, const Zrzut& b,
                  const Zmiana& c, const std::string& wartosc, const std::string& relacja) {
        const bool nulle = relacja == "null-none";
        const std::string zmiana = c.tabela + "." + c.kolumna;
        for (const auto& [nazwa, blok] : a.bloki) {
            const auto bb = b.bloki.find(nazwa);
            if (bb != b.bloki.end() && bb->second == blok) continue;
            if (zmienne_.count(nazwa + ".*")) continue;
            if (bb == b.bloki.end()) {
                zglos(relacja, zmiana, nazwa, "(table)", "table missing");
                continue;
            }
            const Tabela* ta = a.tabela(nazwa);
            const Tabela* tb = b.tabela(nazwa);
            if (ta->kolumny != tb->kolumny) {
                zglos(relacja, zmiana, nazwa, "(columns)", "columns differ");
                continue;
            }
            const Pary p = paruj(*ta, *tb, nulle ? kBrak : kNikt);
            // A copy row by row: no statement of the step sums into this table (a sum of one
            // line is no copy).
            const bool po_wierszu = !sumowane_.count(jet::text::upper(nazwa));
            const Tabela* te = wejscie.tabela(nazwa);
            const Tabela* t0 = b0.tabela(nazwa);
            const Wskaz do_wejscia(te, *ta, p.klucz), do_b0(t0, *ta, p.klucz);
            const Wskaz z_b0_do_wejscia(te, t0 ? *t0 : *ta, p.klucz);
            std::map<std::string, std::pair<long, std::string>> rozne, nad;
            for (const auto& [ia, ib] : p.pary) {
                const Wiersz &wa = ta->wiersze.at(ia), &wb = tb->wiersze.at(ib);
                const auto* re = do_wejscia.wiersz(ia, wa);
                for (size_t i = 0; i < wa.size(); ++i) {
                    const std::string &x = wa[i], &y = wb[i];
                    const std::string& kol = ta->kolumny[i];
                    if (x == y || zmienne_.count(nazwa + "." + kol)) continue;
                    const bool liczba = ta->rodzaje[i] == 'n';
                    std::optional<size_t> ie;
                    if (te) ie = te->kolumna(kol);
                    const std::string* e = re && ie ? &re->second[*ie] : nullptr;
                    // The changed cell: the entry's row, or, where the key holds the cell
                    // (and so finds no row of the entry), the row holding the change.
                    const bool zmieniona = nazwa == c.tabela && kol == c.kolumna &&
                                           ((re ? re->first : ia) == c.wiersz ||
                                            (x == "0" && y == (nulle ? kBrak : kNikt) &&
                                             std::count(p.klucz.begin(), p.klucz.end(), kol)));
                    const std::string opis = "#" + std::to_string(ia) + " " + x + " / " + y;
                    if (nulle && liczba && y == kBrak && x != kBrak && e && *e != kBrak &&
                        !zmieniona) {
                        auto& r = nad[kol];
                        if (r.first++ == 0)
                            r.second = "#" + std::to_string(ia) + " " + x + " -> Null";
                        continue;
                    }
                    // B holds there the value the changed cell held: the cell carries it.
                    const auto* r0 = nulle ? do_b0.wiersz(ia, wa) : nullptr;
                    const auto i0 = t0 ? t0->kolumna(kol) : std::nullopt;
                    const bool niesie = zmieniona || (r0 && i0 && r0->second[*i0] == wartosc);
                    // A cell that the step writes holds a value in N where it does in Z, but a
                    // copy of the figure not given: a column of its name that carries it, the
                    // rows copied row by row.
                    if (liczba && nulle && x == "0" && y == kBrak &&
                        !(niesie &&
                          (zmieniona ||
                           (po_wierszu && jet::text::upper(kol) == jet::text::upper(c.kolumna)))) &&
                        (!ie || !re || zapisana(do_b0, z_b0_do_wejscia, ia, wa, i0, *ie))) {
                        auto& r = rozne[kol];
                        if (r.first++ == 0) r.second = opis + " (written)";
                        continue;
                    }
                    if (liczba && nulle && ((x == "0" && y == kBrak) || (x == kBrak && y == "0")))
                        continue;
                    // The figure carried, that keeps in N what the cell held.
                    if (x == "0" && (nulle ? e && y == *e && niesie : y == kNikt)) continue;
                    auto& r = rozne[kol];
                    if (r.first++ == 0) r.second = opis;
                }
            }
            for (const auto& [kol, r] : rozne)
                zglos(relacja, zmiana, nazwa, kol, std::to_string(r.first) + " cells, " + r.second);
            for (const auto& [kol, r] : nad)
                zglos("null-replaces", zmiana, nazwa, kol,
                      std::to_string(r.first) + " cells, " + r.second);
            if (p.jednego != 0)
                zglos(relacja, zmiana, nazwa, "(rows)",
                      std::to_string(p.jednego) + " rows of one run only (" +
                          std::to_string(ta->wiersze.size()) + " / " +
                          std::to_string(tb->wiersze.size()) + ")");
        }
    }

    // Whether the step writes a cell of row ia of a run (cells wa), the i0-th in B and the
    // ie-th in the entry: B's row that stands for it holds another value there than the
    // entry's row that stands for B's, or the entry has no such row.
    static bool zapisana(const Wskaz& do_b0, const Wskaz& z_b0_do_wejscia, int64_t ia,
                         const Wiersz& wa, std::optional<size_t> i0, size_t ie) {
        const auto* r0 = do_b0.wiersz(ia, wa);
        if (!r0 || !i0) return false;
        const auto* re = z_b0_do_wejscia.wiersz(r0->first, r0->second);
        return !re || re->second[ie] != r0->second[*i0];
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
                zglos("order", r.tabela, nazwa, "(table)", "table missing");
                continue;
            }
            const Tabela* tb = b.tabela(nazwa);
            const Tabela* to = o.tabela(nazwa);
            if (tb->kolumny != to->kolumny) {
                zglos("order", r.tabela, nazwa, "(columns)", "columns differ");
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
            if (kolumny.empty()) kolumny.push_back("(rows)");
            for (const auto& k : kolumny)
                zglos(
                    "order", r.tabela, nazwa, k,
                    std::to_string(roznych) + " of " + std::to_string(mb.size()) + " rows differ");
        }
    }

    std::ofstream wynik_;
    Kroki kroki_;
    pokrycie::Nieosiagalne nieosiagalne_;
    std::set<std::string> sumowane_;  // tables that the step sums into, in capitals
    std::string katalog_, kat_;
    int zadania_ = 2, v_ = 0;
    std::vector<std::array<std::string, 4>> wyjatki_;
    std::set<std::string> zmienne_;
    std::map<std::string, std::set<int64_t>>
        zmieniane_;                                // per table: the entry's rows that B changes
    std::map<std::string, int> proby_, trafione_;  // per relation: tried, met
};

Relacje& relacje() {
    static Relacje r;
    return r;
}

}  // namespace

void Droga_Do(int v) {
    std::ofstream(srodowisko("KONW_RELACJE_WYNIK"), std::ios::app)
        << wersja(v) << "\troad\tplanned\n";
}

bool Sprawdza(int v) {
    return relacje().sprawdza(v);
}

void Krok(int v, const std::map<std::string, int64_t>& dodane) {
    relacje().krok(v, dodane);
}

}  // namespace relacje
