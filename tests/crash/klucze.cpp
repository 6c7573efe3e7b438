// The sweep of the keys that the steps make (KONW_DROGA=klucze), for konwersja_drogi
// (drogi.cpp).
//
// The road (the demonstration database with the fill of KONW_DROGA_WIERSZE) learns, under
// the engine's statement observer, the keys that each step makes: a unique index, an
// index WITH PRIMARY, a PRIMARY KEY or UNIQUE in CREATE TABLE or ALTER TABLE; and from the
// catalog that the step leaves, each primary key or unique index over columns of a table
// that no key of the step's entry had (however the step made it). At the entry
// of each step of KONW_KLUCZE_KROKI ("165-299,541"; every step when unset, none after
// KONW_KLUCZE_DO) the road commits and copies its database; for each key that the step
// made over a table of KONW_KLUCZE_TABELE (every table when unset), runs of this program
// from that copy (KONW_KLUCZ names the change; KONW_KLUCZE_ZADANIA at once, 2 when unset)
// make one change at the entry and convert to 6.46 through the real loop, the later steps
// filled as on the road. The changes, each a row added to the key's table (a copy of its
// first row whose key is given, else of its first row, which two prices and one price first
// add with the key's Null columns given values that no row holds; an empty table first gets
// the rows of the fill):
//   two prices   the key's columns repeated, every other numeric or text column that is
//                no counter given another value: another row's, or one above every row's
//                in a column where each row has its own (an id), else the value plus 1;
//   one price    the row repeated but its counter;
//   Null COLUMN  the row with the key's column COLUMN Null (where a unique index of the
//                entry refuses it, with the key's other columns given values that no row
//                holds);
//   fill only    (a table empty at the entry) the rows of the fill alone, against whose
//                run the other changes are weighed instead of the road's;
//   written      (a key of the entry's table that a step's own INSERT, or UPDATE of one of
//                its columns, writes, learnt "written") a row that the statement writes,
//                as it writes it from the entry (run on a copy with the table's keys off),
//                so that the statement repeats the key.
// A change's run is judged against the road:
//   completed  marker 3210 in its registry and version 6.46 in its database;
//   kept       per document and figure (see Sumuj), the change of the figure's sum from
//              the entry to the end of the key's step equals the road's plus what the
//              change added; where the run leaves the key off after its step, to the end
//              of the later step that makes a key over its columns and more. The added
//              figures may move among the documents that the change added to and those
//              that only the changed run holds (a number given a suffix). Of rows
//              repeated whole (one price) and merged, a figure may end as on the road
//              (the price that the lines share) where another was summed, and every
//              figure where the row added nothing to what the key's line sums (a line of
//              quantity 0; a header, a register's row, whose line sums nothing: the copy
//              is one row). A figure added may be gone whole where the key's step's own
//              DELETE statements took more rows of the table than without the change (the
//              step deletes the row as it deletes such rows on the road). A written row,
//              which the step's other statements treat as the row it copies, may end with
//              its figure's sign turned, and merged, without a figure that its line does
//              not sum;
//   key        the table's unique indexes after 6.46 are the road's;
//   stop       the step, key (from the statement on its clipboard) and message of a run
//              that ended before 6.46; "stated" where the key's line in the table of keys
//              (driver/klucze.h) has the kind Stop, or where the change's own key stops by
//              its line's rule: the Null of a column that no rule gives a value, or (two
//              prices) a column that the line keeps one value of, or (one price, or a Null
//              that a rule makes the source row's value) a row of another own id that the
//              line keeps apart (see Stop_Reguly);
//   mend       of a stated stop: the statements that its message offers for jetsql --suite,
//              a fresh value in the place of WARTOŚĆ (Swieza_Wartosc), run on the database
//              where the run stopped by jetsql (KONW_JETSQL), then the conversion run again
//              from there: the mend converts where that run ends at 3210 and 6.46 with
//              each figure on its item, as kept says of a change (a mend that deletes the
//              copy that the user names takes the added figures with it).
// KONW_KLUCZE_WYNIK receives one line a key and change (tab-separated):
//   STEP TABLE COLUMNS CHANGE TRIED COMPLETED KEPT KEY STOP VERDICT SOURCE MEND DETAIL
// TRIED "tried", "refused" (the file refused the row: a unique index or a required
// column at the entry) or "absent" (the table or a column of the key is not there at the
// entry; the table's source where the step fills it from one); COMPLETED, KEPT and KEY
// "yes", "no" or "-"; STOP "-" or "STEP TABLE (COLUMNS)"; VERDICT "ok", "stated",
// "finding" or "-"; SOURCE where the key was learnt: "statement", "catalog", "both" or
// "written"; MEND "-" (no stated stop), "converts", "moves" (it converts, a figure off its
// item), "stops" (the run after it stopped), "fails" (no value to give, or jetsql failed) or
// "none" (the message offers none). A written key's stop is stated where the step's
// statement that writes its table stopped at its step and the key has a line.
// KONW_KLUCZE_KATALOG is the folder of the runs (none: no step is checked),
// KONW_KLUCZE_ZOSTAW set keeps them.
#include "klucze.h"

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "db/stan.h"
#include "db/wykonawca.h"
#include "driver/klucze.h"
#include "driver/konwersje.h"
#include "droga.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/sql/parser.h"
#include "jet/text.h"
#include "jet/trace.h"
#include "platform/registry.h"
#include "wypelnij.h"

namespace klucze {

using namespace droga;
namespace fs = std::filesystem;

namespace {

// A key that a statement makes: its table and columns as the statement names them.
struct Klucz {
    std::string tabela;
    std::vector<std::string> kolumny;

    std::string pola() const {
        std::string s;
        for (const auto& k : kolumny) s += (s.empty() ? "" : ",") + k;
        return s;
    }
    std::string id() const { return jet::text::upper(tabela + "(" + pola() + ")"); }
};

// The keys that the statement makes, none when it makes none or is no statement.
std::vector<Klucz> Klucze_Polecenia(std::string_view sql) {
    const std::string duze = jet::text::upper(sql);
    if (duze.find("PRIMARY") == std::string::npos && duze.find("UNIQUE") == std::string::npos)
        return {};
    namespace s = jet::sql;
    std::vector<Klucz> out;
    try {
        const s::Statement st = s::parse(sql);
        if (const auto* i = std::get_if<s::CreateIndex>(&st);
            i && i->database.empty() && (i->unique || i->option == s::IndexOption::Primary)) {
            out.push_back({i->table, {}});
            for (const auto& c : i->columns) out.back().kolumny.push_back(c.name);
        }
        auto stale = [&](const std::string& tabela, const s::ConstraintDef& c) {
            if (c.kind != s::ConstraintDef::Kind::ForeignKey) out.push_back({tabela, c.columns});
        };
        auto kolumny = [&](const std::string& tabela, const std::vector<s::ColumnDef>& k) {
            for (const auto& c : k)
                if (c.primary_key || c.unique) out.push_back({tabela, {c.name}});
        };
        if (const auto* t = std::get_if<s::CreateTable>(&st)) {
            kolumny(t->table, t->columns);
            for (const auto& c : t->constraints) stale(t->table, c);
        }
        if (const auto* a = std::get_if<s::AlterTable>(&st); a && a->database.empty()) {
            kolumny(a->table, a->columns);
            if (a->action == s::AlterTable::Action::AddConstraint) stale(a->table, a->constraint);
        }
    } catch (const jet::Error&) {
    }
    return out;
}

// The table whose rows the statement puts into tabela (INSERT ... SELECT, SELECT ...
// INTO); "" for another statement.
std::string Zrodlo(std::string_view sql, const std::string& tabela) {
    namespace s = jet::sql;
    try {
        const s::Statement st = s::parse(sql);
        const s::Select* z = nullptr;
        if (const auto* i = std::get_if<s::Insert>(&st);
            i && jet::text::upper(i->table) == jet::text::upper(tabela))
            z = i->select.get();
        if (const auto* w = std::get_if<s::Select>(&st);
            w && jet::text::upper(w->into) == jet::text::upper(tabela))
            z = w;
        if (z == nullptr || z->from.empty()) return "";
        const s::TableRef* t = z->from.front().get();
        while (t->kind == s::TableRef::Kind::Join) t = t->left.get();
        return t->name;
    } catch (const jet::Error&) {
        return "";
    }
}

bool W_Kluczu(const Klucz& k, const std::string& kolumna) {
    for (const auto& c : k.kolumny)
        if (jet::text::upper(c) == jet::text::upper(kolumna)) return true;
    return false;
}

// The sums of a key's table: its figures, and per document the sum of each.
struct Sumy {
    std::set<std::string> figury;
    std::map<std::string, std::map<std::string, double>> dokumenty;

    double ile(const std::string& d, const std::string& k) const {
        const auto x = dokumenty.find(d);
        if (x == dokumenty.end()) return 0;
        const auto y = x->second.find(k);
        return y == x->second.end() ? 0 : y->second;
    }
};

// Per document and figure of the key's table: the figure's sum, Null counting as none. The
// figures are the columns of quantities, prices and values (Currency, Single, Double)
// outside the key; whole numbers are ids, numbers and kinds, which steps re-point and
// number anew. A document is a value of the first column of a key of several (Null taken
// as 0); a key of one column keys whole rows, whose figures are summed over the table
// ("*"). nullopt when the table or the key's first column is not there.
std::optional<Sumy> Sumuj(jet::Database& db, const Klucz& k) {
    const jet::TableInfo* t = db.catalog().table(k.tabela);
    if (t == nullptr || t->column(k.kolumny.front()) == nullptr) return std::nullopt;
    const bool dokumenty = k.kolumny.size() > 1;
    const std::string dok = "[" + t->column(k.kolumny.front())->name + "]";
    std::string sql = "SELECT " + std::string(dokumenty ? dok : "'*'");
    std::vector<std::string> kolumny;
    Sumy out;
    using T = jet::DataType;
    for (const auto& c : t->columns)
        if ((c.type == T::Currency || c.type == T::Single || c.type == T::Double) &&
            !W_Kluczu(k, c.name)) {
            sql += ", Sum([" + c.name + "])";
            kolumny.push_back(c.name);
            out.figury.insert(c.name);
        }
    auto r = db.query(sql + " FROM [" + t->name + "]" + (dokumenty ? " GROUP BY " + dok : ""));
    while (r->next()) {
        const jet::Value d = r->value(0);
        auto& w = out.dokumenty[d.is_null() ? "0" : d.to_text()];
        for (size_t i = 0; i < kolumny.size(); ++i) {
            const jet::Value s = r->value(static_cast<int>(i + 1));
            w[kolumny[i]] += s.is_null() ? 0.0 : s.to_double();
        }
    }
    return out;
}

// The file of sums: a line "=" with the figures, then per document a line "#", the
// document, and a line a figure: its name and sum; tab-separated.
void Zapisz_Sumy(const std::string& plik, const Sumy& s) {
    std::ofstream o(plik);
    o << "=";
    for (const auto& f : s.figury) o << "\t" << f;
    o << "\n";
    char b[64];
    for (const auto& [dok, figury] : s.dokumenty) {
        std::string d = dok;
        for (char& c : d)
            if (c == '\t' || c == '\n' || c == '\r') c = ' ';
        o << "#\t" << d << "\n";
        for (const auto& [k, v] : figury) {
            std::snprintf(b, sizeof b, "%.17g", v);
            o << k << "\t" << b << "\n";
        }
    }
}

std::optional<Sumy> Czytaj_Sumy(const std::string& plik) {
    std::ifstream in(plik);
    if (!in) return std::nullopt;
    Sumy s;
    std::map<std::string, double>* dok = nullptr;
    for (std::string l; std::getline(in, l);) {
        const size_t t = l.find('\t');
        if (l.starts_with("=")) {
            std::istringstream f(l.substr(1));
            for (std::string k; std::getline(f, k, '\t');)
                if (!k.empty()) s.figury.insert(k);
        } else if (l.starts_with("#\t")) {
            dok = &s.dokumenty[l.substr(2)];
        } else if (dok && t != std::string::npos) {
            (*dok)[l.substr(0, t)] = std::stod(l.substr(t + 1));
        }
    }
    return s;
}

// The table's unique indexes, one a line: name, flags, columns; "" when the table is not
// there.
std::string Indeksy(const jet::TableInfo* t) {
    if (t == nullptr) return "";
    std::vector<std::string> l;
    for (const auto& ix : t->indexes) {
        if (!ix.unique && !ix.primary) continue;
        std::string s = ix.name + (ix.primary ? " primary" : "") +
                        (ix.required ? " required" : "") +
                        (ix.ignore_nulls ? " ignore-nulls" : "") + " (";
        for (size_t i = 0; i < ix.columns.size(); ++i) {
            const jet::ColumnInfo* c = t->column_by_id(ix.columns[i].column_id);
            s += (i ? "," : "") + (c ? c->name : "?") + (ix.columns[i].descending ? " desc" : "");
        }
        l.push_back(s + ")");
    }
    std::sort(l.begin(), l.end());
    std::string out;
    for (const auto& s : l) out += (out.empty() ? "" : "; ") + s;
    return out.empty() ? "none" : out;
}

// Whether a unique index of the table holds exactly the key's columns.
bool Ma_Klucz(const jet::TableInfo* t, const Klucz& k) {
    if (t == nullptr) return false;
    for (const auto& ix : t->indexes) {
        if ((!ix.unique && !ix.primary) || ix.columns.size() != k.kolumny.size()) continue;
        bool wszystkie = true;
        for (const auto& ic : ix.columns) {
            const jet::ColumnInfo* c = t->column_by_id(ic.column_id);
            wszystkie = wszystkie && c && W_Kluczu(k, c->name);
        }
        if (wszystkie) return true;
    }
    return false;
}

std::string Czytaj_Plik(const std::string& plik) {
    std::ifstream in(plik);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Ostatni_Krok() {
    return Zbudowane_Kroki().empty() ? 0 : Zbudowane_Kroki().rbegin()->first;
}

// The statements of the step being run that make keys, fill tables from others, update or
// delete.
struct Polecenie {
    std::string sql;
    int64_t wynik;
};
std::vector<Polecenie> g_polecenia;

void Slad(std::string_view sql, int64_t wynik) {
    if (Krok_Konwersji == 0 || sql.ends_with("(recordset)")) return;
    const std::string duze = jet::text::upper(sql.substr(0, 4096));
    if (duze.find("PRIMARY") != std::string::npos || duze.find("UNIQUE") != std::string::npos ||
        duze.find("INTO") != std::string::npos || duze.starts_with("DELETE") ||
        duze.starts_with("UPDATE"))
        g_polecenia.push_back({std::string(sql), wynik});
}

// The rows that the DELETE statements of the step being run took from tabela.
int64_t Usuniete_Przez_Krok(const std::string& tabela) {
    int64_t n = 0;
    for (const auto& p : g_polecenia) {
        if (p.wynik <= 0) continue;
        try {
            const jet::sql::Statement st = jet::sql::parse(p.sql);
            const auto* d = std::get_if<jet::sql::Delete>(&st);
            if (d == nullptr || d->from.empty()) continue;
            const jet::sql::TableRef* t = d->from.front().get();
            while (t->kind == jet::sql::TableRef::Kind::Join) t = t->left.get();
            const std::string& cel = d->star_qualifier.empty() ? t->name : d->star_qualifier;
            if (jet::text::same_name(cel, tabela)) n += p.wynik;
        } catch (const jet::Error&) {
        }
    }
    return n;
}

// The primary keys and unique indexes of a table, or of the catalog, as keys over the
// columns' names.
std::vector<Klucz> Klucze_Katalogu_Tabeli(const jet::TableInfo& t) {
    std::vector<Klucz> out;
    for (const auto& ix : t.indexes) {
        if (!ix.unique && !ix.primary) continue;
        Klucz k{t.name, {}};
        for (const auto& ic : ix.columns)
            if (const jet::ColumnInfo* c = t.column_by_id(ic.column_id))
                k.kolumny.push_back(c->name);
        if (k.kolumny.size() == ix.columns.size()) out.push_back(std::move(k));
    }
    return out;
}
std::vector<Klucz> Klucze_Katalogu(const jet::Catalog& katalog) {
    std::vector<Klucz> out;
    for (const jet::TableInfo* t : katalog.tables())
        for (Klucz& k : Klucze_Katalogu_Tabeli(*t)) out.push_back(std::move(k));
    return out;
}

// The keys of the catalog at the entry of the step being run.
std::set<std::string> g_klucze_wejscia;

void Zapamietaj_Klucze_Wejscia(const jet::Catalog& katalog) {
    g_klucze_wejscia.clear();
    for (const Klucz& k : Klucze_Katalogu(katalog)) g_klucze_wejscia.insert(k.id());
}

// A key that a step made, learnt from its statements, from the catalog that the step left
// (a key over columns that no key of the entry had), or from both.
struct Klucz_Kroku {
    Klucz klucz;
    bool z_polecenia = false, z_katalogu = false;

    std::string zrodlo() const {
        return z_polecenia && z_katalogu ? "both" : z_polecenia ? "statement" : "catalog";
    }
};

// The keys that the step made (each once): those of its statements in their order (with
// udane, only those whose statement succeeded), then those that only the catalog it left
// holds.
std::vector<Klucz_Kroku> Klucze_Kroku(const jet::Catalog& katalog, bool udane = false) {
    std::vector<Klucz_Kroku> out;
    std::map<std::string, size_t> byly;
    for (const auto& p : g_polecenia) {
        if (udane && p.wynik < 0) continue;
        for (auto& k : Klucze_Polecenia(p.sql))
            if (byly.emplace(k.id(), out.size()).second) out.push_back({std::move(k), true});
    }
    for (Klucz& k : Klucze_Katalogu(katalog)) {
        if (g_klucze_wejscia.count(k.id())) continue;
        if (const auto b = byly.find(k.id()); b != byly.end()) {
            out[b->second].z_katalogu = true;
        } else {
            byly.emplace(k.id(), out.size());
            out.push_back({std::move(k), false, true});
        }
    }
    return out;
}

// The keys of the entry's tables that a statement of the step that succeeded may make its
// rows repeat: every key of an INSERT's table, the keys of an UPDATE's table over a column
// that it sets; each once, with the first statement that writes it.
std::vector<std::pair<Klucz, std::string>> Klucze_Zapisane(
    const std::map<std::string, jet::TableInfo>& wejscie) {
    std::vector<std::pair<Klucz, std::string>> out;
    std::set<std::string> byly;
    for (const auto& p : g_polecenia) {
        if (p.wynik < 0) continue;
        for (const auto& [tabela, ustawia] : Tabele_Zapisywane(p.sql)) {
            const auto t = wejscie.find(jet::text::upper(tabela));
            if (t == wejscie.end()) continue;
            for (const Klucz& k : Klucze_Katalogu_Tabeli(t->second)) {
                bool pisze = ustawia.empty();
                for (const auto& c : ustawia) pisze = pisze || W_Kluczu(k, c);
                if (pisze && byly.insert(k.id()).second) out.emplace_back(k, p.sql);
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------- a change's run

// The change of this run (KONW_KLUCZ: STEP, TABLE, COLUMNS, CHANGE), its folder
// (KONW_KLUCZ_KATALOG).
struct Zmiana {
    int krok = 0;
    Klucz klucz;
    std::string rodzaj;
    std::string kat;
    bool czeka = false;    // the key left off after its step: its figures wait for a wider key
    bool naprawa = false;  // the run after a stop's mend: its figures are the mend's
};
std::optional<Zmiana> g_zmiana;

// What a stop's message says before the mend that it offers, and the word in the place of
// the value that the mend leaves to the user.
constexpr std::string_view kNaprawa = "jetsql --suite: ";
// What a message puts between its text and the statement that failed.
constexpr std::string_view kPolecenie = " ->>>";
constexpr std::string_view kWartosc = "WARTOŚĆ";

using Kolumny = std::vector<std::pair<const jet::TableInfo*, const jet::ColumnInfo*>>;

// A value that no row holds in any of the columns cele, of the first one's kind: a number
// above them all, a date the day after the latest, a text "N1", "N2", ... (one letter or
// digit in a column of one character), a Yes/No not held (else No); nullopt for another
// kind, no column, or no text that fits.
std::optional<jet::Value> Wolna_Wartosc(jet::Database& db, const Kolumny& cele) {
    if (cele.empty()) return std::nullopt;
    auto najwieksza = [&](double od) {
        for (const auto& [t, c] : cele) {
            auto r = db.query("SELECT Max([" + c->name + "]) FROM [" + t->name + "]");
            if (r->next() && !r->value(0).is_null()) od = std::max(od, r->value(0).to_double());
        }
        return std::floor(od) + 1;
    };
    auto wolna = [&](const std::string& literal) {
        for (const auto& [t, c] : cele)
            if (db.query("SELECT TOP 1 * FROM [" + t->name + "] WHERE [" + c->name +
                         "] = " + literal)
                    ->next())
                return false;
        return true;
    };
    const jet::ColumnInfo& k = *cele.front().second;
    if (liczbowa(k.type)) return jet::Value::dbl(najwieksza(0));
    if (k.type == jet::DataType::Date) return jet::Value::date(najwieksza(36525));
    if (k.type == jet::DataType::Boolean)
        return jet::Value::boolean(!wolna("False") && wolna("True"));
    if (k.type != jet::DataType::Text && k.type != jet::DataType::Memo) return std::nullopt;
    constexpr std::string_view kZnaki = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (size_t n = 0; k.type == jet::DataType::Memo || k.size > 1 || n < kZnaki.size(); ++n) {
        const std::string w = k.type == jet::DataType::Memo || k.size > 1
                                  ? "N" + std::to_string(n + 1)
                                  : std::string(1, kZnaki[n]);
        if (k.type == jet::DataType::Text && static_cast<int>(w.size()) > k.size) break;
        if (wolna("'" + w + "'")) return jet::Value::text(w);
    }
    return std::nullopt;
}

// The value that the sweep gives a mend in the place of kWartosc: one that no row holds in
// any column that it is given to (the column "[COLUMN] = " before it, in the table of the
// UPDATE before it; see Wolna_Wartosc), as a Jet SQL literal; "" where a column is not there
// or is of another kind.
std::string Swieza_Wartosc(jet::Database& db, const std::string& sql) {
    static const std::regex aktualizacja(R"(UPDATE\s+(\[[^\]]+\]|[^\s\[]+))", std::regex::icase);
    static const std::regex pole(R"((\[[^\]]+\]|[^\s\[]+)\s*=\s*)" + std::string(kWartosc));
    auto nazwa = [](std::string n) { return n.front() == '[' ? n.substr(1, n.size() - 2) : n; };
    Kolumny cele;
    for (auto m = std::sregex_iterator(sql.begin(), sql.end(), pole); m != std::sregex_iterator();
         ++m) {
        std::string tabela;
        const std::string przed = sql.substr(0, static_cast<size_t>(m->position()));
        for (auto u = std::sregex_iterator(przed.begin(), przed.end(), aktualizacja);
             u != std::sregex_iterator(); ++u)
            tabela = nazwa((*u)[1]);
        const jet::TableInfo* t = db.catalog().table(tabela);
        const jet::ColumnInfo* c = t ? t->column(nazwa((*m)[1])) : nullptr;
        if (c == nullptr) return "";
        cele.emplace_back(t, c);
    }
    const std::optional<jet::Value> w = Wolna_Wartosc(db, cele);
    return w ? Literal_SQL(*w) : "";
}

// Adds the row of the change; raises the engine's failure where the file refuses it. True
// where the change's Null stands for none (0, ""), which the rules give a Null of a number or
// a text: the row is then its source repeated but the counter, as with one price.
bool Dodaj_Wiersz(jet::Database& db, const jet::TableInfo& t, const Zmiana& z) {
    bool kopia = false;
    // The first row whose key is given whole, else the first row.
    std::string warunek;
    for (const auto& k : z.klucz.kolumny)
        warunek += (warunek.empty() ? " WHERE [" : " AND [") + k + "] IS NOT NULL";
    auto r = db.query("SELECT TOP 1 * FROM [" + t.name + "]" + warunek);
    const bool caly = r->next();
    if (!caly) {
        r = db.query("SELECT TOP 1 * FROM [" + t.name + "]");
        if (!r->next()) throw jet::Error(jet::hr::Unspecified, "no row, the fill gave none");
    }
    std::vector<jet::Value> zrodlo;
    for (size_t i = 0; i < t.columns.size(); ++i) zrodlo.push_back(r->value(static_cast<int>(i)));
    r.reset();
    // No row gives the key whole (a unique index takes rows of a Null in it as they are):
    // the row repeated first gets the source row with its key's Null columns given values
    // that no row holds, so that the change repeats a key given whole.
    if (!caly && (z.rodzaj == "two prices" || z.rodzaj == "one price")) {
        jet::ColumnValues pierwszy;
        for (size_t i = 0; i < t.columns.size(); ++i) {
            const jet::ColumnInfo& c = t.columns[i];
            if (W_Kluczu(z.klucz, c.name) && zrodlo[i].is_null() && !c.counter)
                if (const auto w = Wolna_Wartosc(db, {{&t, &c}}))
                    zrodlo[i] = w->coerce_to(c.type, 0);
            if (!c.counter) pierwszy.emplace_back(c.name, zrodlo[i]);
        }
        jet::atomically(db, [&] { jet::insert_row(db, t.name, pierwszy); });
    }
    jet::ColumnValues wiersz;
    for (size_t i = 0; i < t.columns.size(); ++i) {
        const jet::ColumnInfo& c = t.columns[i];
        jet::Value v = zrodlo[i];
        const bool klucz = W_Kluczu(z.klucz, c.name);
        if (z.rodzaj.starts_with("Null ") && jet::text::same_name(z.rodzaj.substr(5), c.name)) {
            if (c.counter) throw jet::Error(jet::hr::Unspecified, "a counter, never Null");
            kopia = !v.is_null() && (liczbowa(c.type) ? v.to_double() == 0 : v.to_text().empty());
            v = jet::Value::null();
        } else if (c.counter && !(klucz && z.rodzaj == "two prices")) {
            continue;
        } else if (z.rodzaj == "two prices" && !klucz &&
                   (liczbowa(c.type) || c.type == jet::DataType::Text ||
                    c.type == jet::DataType::Memo)) {
            // Another row's value; in a column where every row has its own (an id of the
            // row), one above them all, so that the row is another document.
            std::optional<jet::Value> inna;
            auto w = db.query("SELECT [" + c.name + "], Count(*) FROM [" + t.name + "] WHERE [" +
                              c.name + "] IS NOT NULL GROUP BY [" + c.name + "]");
            bool wlasne = true;
            int n = 0;
            double najwieksza = 0;
            while (w->next()) {
                const jet::Value x = w->value(0);
                wlasne = wlasne && w->value(1).to_double() == 1;
                if (liczbowa(c.type))
                    najwieksza = n == 0 ? x.to_double() : std::max(najwieksza, x.to_double());
                ++n;
                if (!inna && (v.is_null() || x.to_text() != v.to_text())) inna = x;
            }
            if (liczbowa(c.type) && wlasne && n >= 2)
                inna = jet::Value::dbl(najwieksza + 1);
            else if (!inna && liczbowa(c.type))
                inna = jet::Value::dbl((v.is_null() ? 0.0 : v.to_double()) + 1);
            try {
                if (inna) v = liczbowa(c.type) ? inna->coerce_to(c.type, 0) : *inna;
            } catch (const jet::Error&) {  // beyond its type: below the value
                v = jet::Value::dbl(v.to_double() - 1).coerce_to(c.type, 0);
            }
        }
        wiersz.emplace_back(c.name, v);
    }
    try {
        jet::atomically(db, [&] { jet::insert_row(db, t.name, wiersz); });
    } catch (const jet::Error&) {
        // A Null in a key of several columns whose others a unique index of the entry holds
        // (the key before the step's): those others get values that no row holds, so that
        // the row is one of its own that leaves the key's column Null.
        if (!z.rodzaj.starts_with("Null ") || z.klucz.kolumny.size() < 2) throw;
        for (auto& [nazwa, v] : wiersz)
            if (const jet::ColumnInfo* c = t.column(nazwa);
                c && W_Kluczu(z.klucz, nazwa) && !jet::text::same_name(nazwa, z.rodzaj.substr(5)))
                if (const auto w = Wolna_Wartosc(db, {{&t, c}})) v = w->coerce_to(c->type, 0);
        jet::atomically(db, [&] { jet::insert_row(db, t.name, wiersz); });
        kopia = false;
    }
    return kopia;
}

// The rows that the step's statement sql (written) writes into the table from the database
// baza as they stand after it: the statement run on a copy of it with the table's unique
// indexes off, the rows after it that no row before it is (those changed, those added),
// each without its counter. Raises the statement's failure.
std::vector<jet::ColumnValues> Wiersze_Polecenia(const std::string& baza, const std::string& tabela,
                                                 const std::string& sql) {
    const std::string kopia = baza + ".proba";
    fs::copy_file(baza, kopia, fs::copy_options::overwrite_existing);
    auto db = jet::Database::open(kopia, std::string(kDatabasePassword));
    const jet::TableInfo* t = db->catalog().table(tabela);
    std::vector<std::string> klucze;
    for (const auto& ix : t->indexes)
        if (ix.unique || ix.primary) klucze.push_back(ix.name);
    for (const std::string& ix : klucze) db->execute("DROP INDEX [" + ix + "] ON [" + tabela + "]");
    const auto wiersze = [&] {
        std::vector<std::pair<std::string, jet::ColumnValues>> out;
        auto r = db->query("SELECT * FROM [" + t->name + "]");
        while (r->next()) {
            out.emplace_back();
            for (size_t i = 0; i < t->columns.size(); ++i) {
                if (t->columns[i].counter) continue;
                const jet::Value v = r->value(static_cast<int>(i));
                out.back().first += (v.is_null() ? "\x01" : v.to_text()) + "\t";
                out.back().second.emplace_back(t->columns[i].name, v);
            }
        }
        return out;
    };
    std::multiset<std::string> przed;
    for (const auto& w : wiersze()) przed.insert(w.first);
    std::vector<jet::ColumnValues> out;
    db->execute(sql);
    for (auto& w : wiersze())
        if (const auto b = przed.find(w.first); b != przed.end())
            przed.erase(b);
        else
            out.push_back(std::move(w.second));
    db->close();
    fs::remove(kopia);
    return out;
}

// The change's run at its entry: the road's sums, the change, the sums after it, the
// registry pointed at the copy. The change "written" adds a row that the step's statement
// (polecenie.sql) writes, as it writes it, so that the statement repeats its key: the first
// such row that the file takes.
void Zmien_Wejscie(Zmiana& z) {
    const std::string baza = z.kat + "/d/baza.mdb";
    {
        auto db = jet::Database::open(baza, std::string(kDatabasePassword));
        const jet::TableInfo* t = db->catalog().table(z.klucz.tabela);
        if (t == nullptr) std::_Exit(3);
        Zapisz_Sumy(z.kat + "/wejscie-droga.txt", Sumuj(*db, z.klucz).value_or(Sumy{}));
        try {
            if (!db->query("SELECT TOP 1 * FROM [" + t->name + "]")->next())
                wypelnij::Wypelnij(*db, t->name, {});
            if (z.rodzaj == "written") {
                const std::vector<jet::ColumnValues> w =
                    Wiersze_Polecenia(baza, z.klucz.tabela, Czytaj_Plik(z.kat + "/polecenie.sql"));
                bool wziety = false;
                for (size_t i = 0; i < w.size() && i < 20 && !wziety; ++i) try {
                        jet::atomically(*db, [&] { jet::insert_row(*db, z.klucz.tabela, w[i]); });
                        wziety = true;
                    } catch (const jet::Error&) {
                    }
                if (!wziety)
                    throw jet::Error(jet::hr::Unspecified,
                                     w.empty() ? "the statement writes no row at the entry"
                                               : "the file takes none of the rows it writes");
            } else if (z.rodzaj != "fill only" &&
                       Dodaj_Wiersz(*db, *db->catalog().table(z.klucz.tabela), z)) {
                std::ofstream(z.kat + "/kopia");
            } else if (!db->query("SELECT TOP 1 * FROM [" + t->name + "]")->next())
                throw jet::Error(jet::hr::Unspecified, "no row, the fill gave none");
        } catch (const jet::Error& e) {
            std::ofstream(z.kat + "/odmowa") << e.description() << "\n";
            db->close();
            std::_Exit(5);
        }
        Zapisz_Sumy(z.kat + "/wejscie.txt", Sumuj(*db, z.klucz).value_or(Sumy{}));
        db->close();
    }
    platform::registry_write(0, "dodralvexS", baza);
    platform::registry_write(0, "dodralvex", "0123");
}

// After step v of a change's run: the figures after the key's step (or after the later
// step that makes a wider key over its rows), the unique indexes after the last step.
void Po_Kroku_Zmiany(int v) {
    Zmiana& z = *g_zmiana;
    jet::Database& db = polaczenie().database();
    bool sumy = v == z.krok;
    if (v == z.krok) {
        z.czeka = !Ma_Klucz(db.catalog().table(z.klucz.tabela), z.klucz);
        std::ofstream(z.kat + "/usuniete.txt") << Usuniete_Przez_Krok(z.klucz.tabela) << "\n";
    }
    if (v > z.krok && z.czeka)
        for (const Klucz_Kroku& kk : Klucze_Kroku(db.catalog(), true)) {
            const Klucz& k = kk.klucz;
            bool szerszy = jet::text::upper(k.tabela) == jet::text::upper(z.klucz.tabela);
            for (const auto& c : z.klucz.kolumny) szerszy = szerszy && W_Kluczu(k, c);
            if (szerszy) sumy = true;
        }
    if (sumy) {
        z.czeka = z.czeka && v == z.krok;
        if (auto s = Sumuj(db, z.klucz))
            Zapisz_Sumy(z.kat + "/po-" + std::to_string(v) + ".txt", *s);
    }
    if (v == Ostatni_Krok())
        std::ofstream(z.kat + "/indeksy.txt") << Indeksy(db.catalog().table(z.klucz.tabela));
}

// ---------------------------------------------------------------- a stop's mend

// The mend's run (KONW_KLUCZ_NAPRAWA, the statements that the stop offered): the statements
// with the value given (naprawa.sql) run by jetsql --suite (KONW_JETSQL) on the database where
// the change's run stopped, its output in naprawa.txt, and the suite's request in the registry
// again for the conversion that follows; ends the process with status 6 where no value can
// be given or jetsql fails.
void Napraw(const Zmiana& z, std::string sql) {
    const std::string baza = z.kat + "/d/baza.mdb";
    auto nieudana = [&](const std::string& dlaczego) {
        std::ofstream(z.kat + "/naprawa.txt", std::ios::app) << dlaczego << "\n";
        std::_Exit(6);
    };
    while (!sql.empty() && (sql.back() == ' ' || sql.back() == '.')) sql.pop_back();
    if (sql.find(kWartosc) != std::string::npos) {
        std::string wartosc;
        try {
            auto db =
                jet::Database::open(baza, std::string(kDatabasePassword), jet::Unwritable::Read);
            wartosc = Swieza_Wartosc(*db, sql);
            db->close();
        } catch (const jet::Error& e) {
            nieudana("the database does not open: " + e.description());
        }
        if (wartosc.empty()) nieudana("no value to give: a column of the mend is not there");
        for (size_t i; (i = sql.find(kWartosc)) != std::string::npos;)
            sql.replace(i, kWartosc.size(), wartosc);
    }
    std::ofstream(z.kat + "/naprawa.sql") << sql << ";\n";
    const std::string jetsql = srodowisko("KONW_JETSQL");
    if (jetsql.empty()) nieudana("KONW_JETSQL names no jetsql");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int we = ::open((z.kat + "/naprawa.sql").c_str(), O_RDONLY);
        const int wy = ::open((z.kat + "/naprawa.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (we < 0 || wy < 0) std::_Exit(127);
        ::dup2(we, 0);
        ::dup2(wy, 1);
        ::dup2(wy, 2);
        ::execl(jetsql.c_str(), jetsql.c_str(), "--suite", baza.c_str(),
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int s = 0;
    if (pid < 0 || ::waitpid(pid, &s, 0) != pid || !WIFEXITED(s) || WEXITSTATUS(s) != 0)
        nieudana("jetsql ended with status " + std::to_string(WIFEXITED(s) ? WEXITSTATUS(s) : -1));
    platform::registry_write(0, "dodralvex", "0123");
}

// ---------------------------------------------------------------- the road

// One change at a step's entry and what its run left.
struct Proba {
    int krok = 0;
    Klucz klucz;
    std::string rodzaj;
    std::string zrodlo;     // where the key was learnt: statement, catalog, both or written
    std::string polecenie;  // written: the step's statement that writes the key's table
    std::string kat;
    int podstawa = -1;  // the run of the fill alone that it is weighed against, else the road
    std::string proba = "tried", opis;  // tried, refused or absent; why
    int status = 0;
    std::string marker, wersja, krok_stopu, komunikat, schowek;
    jet::TableInfo wejscie;  // the key's table at the step's entry
    bool kopia = false;      // the row added is its source repeated but the counter
    // The mend that the message of a stated stop offers, and as run (its value given); its
    // run to 6.46 started and not ended; what came of it: "-" (no stated stop), "converts",
    // "stops at STEP: MESSAGE", "fails: WHY" (the mend failed or has no value to give),
    // "none offered".
    std::string naprawa, naprawa_sql;
    bool naprawa_biegnie = false;
    std::string naprawa_wynik = "-";
};

// What came of a mend, in a word: "-", converts, stops, fails, none.
std::string Naprawa_Krotko(const std::string& wynik) {
    return wynik.substr(0, wynik.find_first_of(" :"));
}

// Whether the list of a line of the table of keys ("A,B=T.ID,...") names the column.
bool Na_Liscie(std::string_view lista, const std::string& kolumna) {
    std::istringstream s{std::string(lista)};
    for (std::string k; std::getline(s, k, ',');) {
        k = k.substr(0, k.find('='));
        std::erase_if(k, [](char c) { return c == ' ' || c == '[' || c == ']'; });
        if (jet::text::same_name(k, kolumna)) return true;
    }
    return false;
}

// The line of the key that step krok has: of the latest step up to it that makes it.
const Regula_Klucza* Regula_Do(int krok, const Klucz& k) {
    const Regula_Klucza* r = nullptr;
    for (const Regula_Klucza& x : Reguly_Kluczy())
        if (x.krok <= krok && Regula_Klucza_Dla(x.krok, k.tabela, k.pola()) == &x) r = &x;
    return r;
}

bool Figura(jet::DataType t) {
    using T = jet::DataType;
    return t == T::Currency || t == T::Single || t == T::Double;
}

// Whether the key's line keeps one row of a key and sums nothing (a header, a register's
// row, a rate): two rows of the key that differ in any column stop by it.
bool Jeden_Wiersz(const Regula_Klucza* r) {
    return r && r->sposob == Sposob_Klucza::Scal && r->ilosci.empty() && r->wartosci.empty();
}

// Whether the rule of the key's line, as driver/klucze.h states it, stops on the row of the
// change: a Null of a kind that no rule gives a value (a date, a whole number that the line
// takes for no reference or id), or two rows of the key that differ in a column that the
// change gave another value and that a line that merges them keeps one value of (no figure
// that it sums, averages or joins: a VAT rate, an id; any column of a line that sums nothing),
// or a row repeated whole but its counter (one price, or a Null that a rule makes the value
// of its source) where the line takes the counter for the row's own id, which other rows may
// name: rows of two such ids never become one.
bool Stop_Reguly(const Regula_Klucza& r, const Proba& p) {
    if (r.sposob == Sposob_Klucza::Stop) return false;
    if ((p.rodzaj == "one price" || p.kopia) && !r.przepnij &&
        (r.sposob == Sposob_Klucza::Scal || r.sposob == Sposob_Klucza::Srednia))
        for (const jet::ColumnInfo& c : p.wejscie.columns)
            if (c.counter && Na_Liscie(r.wlasne_id, c.name)) return true;
    if (p.rodzaj.starts_with("Null ")) {
        const std::string k = p.rodzaj.substr(5);
        const jet::ColumnInfo* c = p.wejscie.column(k);
        return c && !Na_Liscie(r.odwolania, k) && !Na_Liscie(r.wlasne_id, k) &&
               !Na_Liscie(r.domyslne, k) && !Na_Liscie(r.ilosci, k) && !Na_Liscie(r.wartosci, k) &&
               !Figura(c->type) && c->type != jet::DataType::Text && c->type != jet::DataType::Memo;
    }
    if (p.rodzaj != "two prices" ||
        (r.sposob != Sposob_Klucza::Scal && r.sposob != Sposob_Klucza::Srednia))
        return false;
    for (const jet::ColumnInfo& c : p.wejscie.columns) {
        if (c.counter || W_Kluczu(p.klucz, c.name) ||
            !(liczbowa(c.type) || c.type == jet::DataType::Text || c.type == jet::DataType::Memo) ||
            Na_Liscie(r.ilosci, c.name) || Na_Liscie(r.wartosci, c.name) ||
            Na_Liscie(r.teksty, c.name) ||
            (r.sposob == Sposob_Klucza::Srednia && Na_Liscie(r.ceny, c.name)))
            continue;
        if (!Figura(c.type) || Jeden_Wiersz(&r)) return true;
    }
    return false;
}

class Przeglad {
  public:
    Przeglad()
        : wynik_(srodowisko("KONW_KLUCZE_WYNIK"), std::ios::app),
          kroki_(srodowisko("KONW_KLUCZE_KROKI")) {
        kat_ = srodowisko("KONW_KLUCZE_KATALOG");
        const std::string z = srodowisko("KONW_KLUCZE_ZADANIA");
        zadania_ = z.empty() ? 2 : std::max(1, std::stoi(z));
        const std::string d = srodowisko("KONW_KLUCZE_DO");
        do_ = kat_.empty() ? 0 : d.empty() ? 9999 : std::stoi(d);  // no folder, no runs
        std::istringstream tabele(srodowisko("KONW_KLUCZE_TABELE"));
        for (std::string t; std::getline(tabele, t, ',');)
            if (!t.empty()) tabele_.insert(jet::text::upper(t));
    }

    bool sprawdza(int v) const { return v <= do_ && kroki_.zawiera(v); }

    void wejscie(int v) {
        dogladaj(false);
        wejscie_.clear();
        if (!sprawdza(v)) return;
        fs::create_directories(kat_ + "/" + std::to_string(v));
        Kopiuj_Wejscie(kat_ + "/" + std::to_string(v) + "/wejscie.mdb");
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
            wejscie_[jet::text::upper(t->name)] = *t;
    }

    void po_kroku(int v) {
        jet::Database& db = polaczenie().database();
        const std::vector<Klucz_Kroku> klucze = Klucze_Kroku(db.catalog());
        // The road's figures after each key's step, and after a later step that makes a key
        // over an earlier key's columns and more.
        for (const Klucz_Kroku& kk : klucze) {
            const Klucz& k = kk.klucz;
            if (!tabele_.empty() && !tabele_.count(jet::text::upper(k.tabela))) continue;
            if (sprawdza(v)) klucze_.emplace_back(v, k);
            if (sprawdza(v))
                droga_usuniete_[std::to_string(v) + "\t" + jet::text::upper(k.tabela)] =
                    Usuniete_Przez_Krok(k.tabela);
            for (const auto& [w, wczesniejszy] : klucze_) {
                bool szerszy = jet::text::upper(k.tabela) == jet::text::upper(wczesniejszy.tabela);
                for (const auto& c : wczesniejszy.kolumny) szerszy = szerszy && W_Kluczu(k, c);
                if (szerszy && w <= v)
                    if (auto s = Sumuj(db, wczesniejszy))
                        droga_[std::to_string(v) + "\t" + wczesniejszy.id()] = std::move(*s);
            }
        }
        if (sprawdza(v)) {
            const std::string wej = kat_ + "/" + std::to_string(v) + "/wejscie.mdb";
            std::shared_ptr<jet::Database> przed;  // the entry, to see which tables are empty
            size_t n = 0;
            for (const Klucz_Kroku& kk : klucze) {
                const Klucz& k = kk.klucz;
                if (!tabele_.empty() && !tabele_.count(jet::text::upper(k.tabela))) continue;
                const auto t = wejscie_.find(jet::text::upper(k.tabela));
                // A table empty at the entry gets the rows of the fill: its changes are
                // weighed against the run of the fill alone.
                std::vector<std::string> rodzaje;
                if (t != wejscie_.end()) {
                    if (!przed)
                        przed = jet::Database::open(wej, std::string(kDatabasePassword),
                                                    jet::Unwritable::Read);
                    if (!przed->query("SELECT TOP 1 * FROM [" + t->second.name + "]")->next())
                        rodzaje.push_back("fill only");
                }
                const int podstawa = rodzaje.empty() ? -1 : static_cast<int>(proby_.size());
                rodzaje.insert(rodzaje.end(), {"two prices", "one price"});
                for (const auto& c : k.kolumny) rodzaje.push_back("Null " + c);
                std::string brak;
                if (t == wejscie_.end()) {
                    brak = "not at the entry";
                    for (const auto& p : g_polecenia)
                        if (const std::string z = Zrodlo(p.sql, k.tabela); !z.empty()) {
                            brak += "; rows from " + z;
                            break;
                        }
                } else {
                    for (const auto& c : k.kolumny)
                        if (t->second.column(c) == nullptr)
                            brak += (brak.empty() ? "columns not at the entry: " : ", ") + c;
                }
                for (const auto& r : rodzaje) {
                    Proba p;
                    p.krok = v;
                    p.klucz = k;
                    p.rodzaj = r;
                    p.zrodlo = kk.zrodlo();
                    p.podstawa = r == "fill only" ? -1 : podstawa;
                    if (t != wejscie_.end()) p.wejscie = t->second;
                    p.kat = kat_ + "/" + std::to_string(v) + "/" + std::to_string(n++);
                    if (!brak.empty()) {
                        p.proba = "absent";
                        p.opis = brak;
                    } else {
                        kolejka_.push_back(proby_.size());
                    }
                    proby_.push_back(std::move(p));
                }
            }
            // The keys that the step's own INSERT and UPDATE statements write, but those it
            // makes (tried above): a row that the statement writes, added at the entry.
            std::set<std::string> zrobione;
            for (const Klucz_Kroku& kk : klucze) zrobione.insert(kk.klucz.id());
            for (const auto& [k, sql] : Klucze_Zapisane(wejscie_)) {
                if (zrobione.count(k.id()) ||
                    (!tabele_.empty() && !tabele_.count(jet::text::upper(k.tabela))))
                    continue;
                if (auto suma = Sumuj(db, k)) droga_[std::to_string(v) + "\t" + k.id()] = *suma;
                Proba p;
                p.krok = v;
                p.klucz = k;
                p.rodzaj = p.zrodlo = "written";
                p.polecenie = sql;
                p.wejscie = wejscie_.at(jet::text::upper(k.tabela));
                p.kat = kat_ + "/" + std::to_string(v) + "/" + std::to_string(n++);
                kolejka_.push_back(proby_.size());
                proby_.push_back(std::move(p));
            }
            if (przed) przed->close();
            wejscia_[v] = wej;
            if (kolejka_.empty() || proby_[kolejka_.back()].krok != v) usun_wejscie(v);
        }
        if (v == Ostatni_Krok()) {
            for (const Proba& p : proby_)
                droga_indeksy_[jet::text::upper(p.klucz.tabela)] =
                    Indeksy(db.catalog().table(p.klucz.tabela));
            dogladaj(true);
            osadz();
        } else {
            dogladaj(false);
        }
    }

  private:
    void usun_wejscie(int v) {
        if (auto w = wejscia_.find(v); w != wejscia_.end()) {
            std::error_code e;
            fs::remove(w->second, e);
            fs::remove(fs::path(w->second).parent_path(), e);  // when empty
            wejscia_.erase(w);
        }
    }

    // Takes in the runs that ended, starts the next ones up to zadania_ at once; with
    // wszystkie, until every run has ended.
    void dogladaj(bool wszystkie) {
        auto odbierz_ = [&](pid_t p, int s) {
            if (auto b = biegnace_.find(p); b != biegnace_.end()) {
                odbierz(b->second, s);
                biegnace_.erase(b);
            }
        };
        for (;;) {
            int s = 0;
            for (pid_t p; (p = ::waitpid(-1, &s, WNOHANG)) > 0;) odbierz_(p, s);
            while (static_cast<int>(biegnace_.size()) < zadania_ && !kolejka_.empty()) {
                const size_t i = kolejka_.front();
                kolejka_.pop_front();
                uruchom(i);
                // The entry goes with the last change of its step started (mends come first
                // in the queue, the changes after them in the order of their steps).
                const auto dalej = std::find_if(kolejka_.begin(), kolejka_.end(), [&](size_t j) {
                    return !proby_[j].naprawa_biegnie;
                });
                if (dalej == kolejka_.end() || proby_[*dalej].krok != proby_[i].krok)
                    usun_wejscie(proby_[i].krok);
            }
            if (!wszystkie || biegnace_.empty()) return;
            if (const pid_t p = ::waitpid(-1, &s, 0); p > 0) odbierz_(p, s);
        }
    }

    // The change's run from the step's entry, or the run of its mend on the database where
    // it stopped.
    void uruchom(size_t i) {
        Proba& p = proby_[i];
        std::vector<std::string> zmienne = {
            "ORVIK_REGISTRY=" + p.kat + "/registry.reg", "KONW_KLUCZ_KATALOG=" + p.kat,
            "KONW_KLUCZ=" + std::to_string(p.krok) + "\t" + p.klucz.tabela + "\t" + p.klucz.pola() +
                "\t" + p.rodzaj};
        if (p.naprawa_biegnie) {
            zmienne.push_back("KONW_KLUCZ_NAPRAWA=" + p.naprawa);
        } else {
            fs::create_directories(p.kat + "/d");
            if (!p.polecenie.empty()) std::ofstream(p.kat + "/polecenie.sql") << p.polecenie;
            fs::copy_file(wejscia_.at(p.krok), p.kat + "/d/baza.mdb",
                          fs::copy_options::overwrite_existing);
        }
        const pid_t pid = Uruchom_Dziecko(
            p.kat + (p.naprawa_biegnie ? "/err-naprawa.txt" : "/err.txt"),
            {"ORVIK_REGISTRY=", "KONW_KLUCZ", "KONW_SLAD=", "KONW_DROGA_DO="}, std::move(zmienne));
        if (pid > 0) {
            biegnace_[pid] = i;
        } else if (p.naprawa_biegnie) {
            p.naprawa_biegnie = false;
            p.naprawa_wynik = "fails: its run did not start";
            usun(p);
        } else {
            p.status = -1;
        }
    }

    // What an ended run left: the refusal of its change, else its marker, its version, and
    // where it stopped, why and on which statement. A stop that the table of keys states and
    // whose message offers a mend is mended and the conversion run again (uruchom); after
    // that run, or else at once, the run's database goes.
    void odbierz(size_t i, int s) {
        Proba& p = proby_[i];
        const int status = WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
        if (p.naprawa_biegnie) {
            p.naprawa_biegnie = false;
            const Koniec k = koniec(p.kat, p.kat + "/err-naprawa.txt");
            p.naprawa_sql = Czytaj_Plik(p.kat + "/naprawa.sql");
            if (status == 6)
                p.naprawa_wynik = "fails: " + Czytaj_Plik(p.kat + "/naprawa.txt");
            else if (k.marker == "3210" && k.wersja == "6.46")
                p.naprawa_wynik = "converts";
            else
                p.naprawa_wynik = "stops at " + Krok_Stopu(k.krok_stopu) + ": " + k.komunikat;
            usun(p);
            return;
        }
        p.status = status;
        if (p.status == 5 && fs::exists(p.kat + "/odmowa")) {
            p.proba = "refused";
            p.opis = Czytaj_Plik(p.kat + "/odmowa");
            while (!p.opis.empty() && p.opis.back() == '\n') p.opis.pop_back();
            usun(p);
            return;
        }
        const Koniec k = koniec(p.kat, p.kat + "/err.txt");
        p.marker = k.marker;
        p.krok_stopu = k.krok_stopu;
        p.wersja = k.wersja;
        p.komunikat = k.komunikat;
        p.schowek = Czytaj_Plik(p.kat + "/clipboard.txt");
        p.kopia = fs::exists(p.kat + "/kopia");
        if (!(p.marker == "3210" && p.wersja == "6.46") && stop(p).second) {
            const size_t n = p.komunikat.find(kNaprawa);
            if (n != std::string::npos) {
                p.naprawa = p.komunikat.substr(n + kNaprawa.size());
                p.naprawa = p.naprawa.substr(0, p.naprawa.find(kPolecenie));
                p.naprawa_biegnie = true;
                kolejka_.push_front(i);
                return;
            }
            p.naprawa_wynik = "none offered";
        }
        usun(p);
    }

    // What a run left in its folder kat: its marker, the version where it stopped and its
    // database's, and the last message box (title and text) of its output err_txt.
    struct Koniec {
        std::string marker, krok_stopu, wersja, komunikat;
    };
    static Koniec koniec(const std::string& kat, const std::string& err_txt) {
        Koniec p;
        try {
            const auto r = platform::RegistryDocument::parse(Czytaj_Plik(kat + "/registry.reg"),
                                                             kat + "/registry.reg");
            const std::string klucz(*platform::registry_key_path(0));
            p.marker = r.get(klucz, "dodralvex");
            p.krok_stopu = r.get(klucz, "dodralvexNumerBazy");
        } catch (const platform::RegistryError&) {
        }
        try {
            auto db = jet::Database::open(kat + "/d/baza.mdb", std::string(kDatabasePassword),
                                          jet::Unwritable::Read);
            auto r = db->query("SELECT [NumerWersji] FROM Nieruszac");
            if (r->next() && !r->value(0).is_null()) {
                char b[16];
                std::snprintf(b, sizeof b, "%.2f", r->value(0).to_double());
                p.wersja = b;
            }
            r.reset();
            db->close();
        } catch (const jet::Error&) {
        }
        // The last message box: its title and text.
        std::istringstream err(Czytaj_Plik(err_txt));
        std::string tekst;
        bool w_oknie = false;
        for (std::string l; std::getline(err, l);) {
            if (l.starts_with("=== ")) {
                tekst = l;
                w_oknie = true;
            } else if (l.starts_with("[")) {
                w_oknie = false;
            } else if (w_oknie) {
                tekst += " " + l;
            }
        }
        p.komunikat = tekst;
        return p;
    }

    // Where a run stopped, as its registry gives it ("3,60"), as a version ("3.60"); "?".
    static std::string Krok_Stopu(std::string s) {
        std::replace(s.begin(), s.end(), ',', '.');
        const int k = static_cast<int>(std::lround(std::strtod(s.c_str(), nullptr) * 100));
        return k ? wersja(k) : "?";
    }

    // Where a run that ended before 6.46 stopped: the step, and the key of the statement on
    // its clipboard; whether the stop is stated: the key's line in the table of keys
    // (driver/klucze.h) has the kind Stop, or the change's own key stops by its line's rule
    // on the change's row (see Stop_Reguly).
    std::pair<std::string, bool> stop(const Proba& p) const {
        std::string s = Krok_Stopu(p.krok_stopu);
        const int k = s == "?" ? 0 : static_cast<int>(std::lround(std::stod(s) * 100));
        // A written key stops by its rule where the step's statement that writes its table
        // stopped at the change's step and the key has a line of a step up to it.
        if (p.rodzaj == "written") {
            bool pisze = false;
            for (const auto& [t, kolumny] : Tabele_Zapisywane(p.schowek))
                pisze = pisze || jet::text::same_name(t, p.klucz.tabela);
            if (!pisze) return {s, false};
            s += " " + p.klucz.tabela + " (" + p.klucz.pola() + ")";
            return {s, k == p.krok && Regula_Do(k, p.klucz) != nullptr};
        }
        const std::vector<Klucz> klucze = Klucze_Polecenia(p.schowek);
        if (klucze.empty()) return {s, false};
        const Klucz& kl = klucze.front();
        s += " " + kl.tabela + " (" + kl.pola() + ")";
        const Regula_Klucza* r = Regula_Klucza_Dla(k, kl.tabela, kl.pola());
        return {s, r && (r->sposob == Sposob_Klucza::Stop ||
                         (k == p.krok && kl.id() == p.klucz.id() && Stop_Reguly(*r, p)))};
    }

    // A run's folder, but the figures and indexes it wrote, unless it is kept.
    void usun(const Proba& p) {
        if (!srodowisko("KONW_KLUCZE_ZOSTAW").empty()) return;
        std::error_code e;
        for (const auto& f : fs::directory_iterator(p.kat, e)) {
            const std::string n = f.path().filename().string();
            if (!n.starts_with("po-") && !n.starts_with("wejscie") && n != "indeksy.txt" &&
                n != "usuniete.txt")
                fs::remove_all(f.path(), e);
        }
    }

    // Whether the run kept the figures of the key's table; what differs when not.
    std::pair<std::string, std::string> figury(const Proba& p, bool ukonczony) const {
        int w = 0;
        for (const auto& f : fs::directory_iterator(p.kat))
            if (const std::string n = f.path().filename().string(); n.starts_with("po-"))
                w = std::max(w, std::stoi(n.substr(3)));
        const std::string po = w ? " after " + wersja(w) : "";
        const auto ec = Czytaj_Sumy(p.kat + "/wejscie.txt");
        const auto ac = w ? Czytaj_Sumy(p.kat + "/po-" + std::to_string(w) + ".txt") : std::nullopt;
        // What the change is weighed against: the road, or the run of the fill alone.
        auto po_kroku = [&](int krok) -> std::optional<Sumy> {
            if (p.podstawa >= 0)
                return Czytaj_Sumy(proby_[static_cast<size_t>(p.podstawa)].kat + "/po-" +
                                   std::to_string(krok) + ".txt");
            const auto a = droga_.find(std::to_string(krok) + "\t" + p.klucz.id());
            return a == droga_.end() ? std::nullopt : std::optional<Sumy>(a->second);
        };
        const auto eu = Czytaj_Sumy(p.podstawa >= 0 ? proby_[static_cast<size_t>(p.podstawa)].kat +
                                                          "/wejscie.txt"
                                                    : p.kat + "/wejscie-droga.txt");
        if (!ec || !eu) return {"-", ""};
        if (!ac && w == 0 && (!ukonczony || !po_kroku(p.krok))) return {"-", ""};
        const auto au = po_kroku(w);
        if (!ac || !au)
            return {"no", "the table's figures" + po + " in one run only" +
                              (p.podstawa >= 0 ? " of this and the fill alone" : "")};
        std::set<std::string> dokumenty;
        for (const Sumy* s : std::initializer_list<const Sumy*>{&*ec, &*eu, &*ac, &*au})
            for (const auto& d : s->dokumenty) dokumenty.insert(d.first);
        // The figures there at the entry and after the step.
        std::set<std::string> kolumny;
        for (const auto& k : ec->figury)
            if (ac->figury.count(k)) kolumny.insert(k);
        // The documents that the change added to (and those it made, a Null key taken as
        // 0), with those that only the changed run holds after the step (a number given a
        // suffix) are one group: the added figures may move among them.
        auto dodane = [&](const std::string& d, const std::string& k) {
            return ec->ile(d, k) - eu->ile(d, k);
        };
        std::vector<std::vector<std::string>> grupy(1);
        for (const auto& d : dokumenty) {
            bool zmienione =
                !eu->dokumenty.count(d) && (ec->dokumenty.count(d) || !au->dokumenty.count(d));
            for (const auto& k : kolumny) zmienione = zmienione || std::fabs(dodane(d, k)) > 0.005;
            if (zmienione)
                grupy.front().push_back(d);
            else
                grupy.push_back({d});
        }
        // Rows that the key's step took by its own DELETE statements beyond those it takes
        // where the change is not made: the added row, which the step deletes as it deletes
        // such rows there (naming them in the Log), its figures gone with it.
        const auto usuniete = [](const std::string& kat) {
            int64_t n = 0;
            std::ifstream(kat + "/usuniete.txt") >> n;
            return n;
        };
        int64_t bez_zmiany = 0;
        if (p.podstawa >= 0) {
            bez_zmiany = usuniete(proby_[static_cast<size_t>(p.podstawa)].kat);
        } else if (const auto d = droga_usuniete_.find(std::to_string(p.krok) + "\t" +
                                                       jet::text::upper(p.klucz.tabela));
                   d != droga_usuniete_.end()) {
            bez_zmiany = d->second;
        }
        // A mend that deletes the copy that the user names takes the added figures with it.
        const bool usunal_dodany =
            usuniete(p.kat) > bez_zmiany || jet::text::upper(p.naprawa_sql).starts_with("DELETE");
        std::string roznice;
        // The key's line: what it sums (a row that adds nothing to those has nothing to sum).
        const Regula_Klucza* r = Regula_Klucza_Dla(p.krok, p.klucz.tabela, p.klucz.pola());
        const Regula_Klucza* w_r = Regula_Do(p.krok, p.klucz);  // a written key's line
        for (const auto& g : grupy) {
            bool wspolne = false, zsumowane = false, do_sumy = false;
            std::string tu, nazwa;
            for (const auto& d : g) nazwa += (nazwa.empty() ? "" : "+") + d;
            for (const auto& k : kolumny) {
                double dod = 0, zmiana = 0, droga = 0, koniec = 0;
                for (const auto& d : g) {
                    dod += dodane(d, k);
                    zmiana += ac->ile(d, k) - ec->ile(d, k);
                    droga += au->ile(d, k) - eu->ile(d, k);
                    koniec += ac->ile(d, k) - au->ile(d, k);
                }
                do_sumy = do_sumy || (r && (Na_Liscie(r->ilosci, k) || Na_Liscie(r->wartosci, k)) &&
                                      std::fabs(dod) > 0.005);
                if (std::fabs(zmiana - droga) <= 0.005) {
                    zsumowane = zsumowane || std::fabs(dod) > 0.005;
                    continue;
                }
                if (usunal_dodany && std::fabs(zmiana - droga + dod) <= 0.005) continue;
                // After a mend, lines that the line merges at the price that keeps their
                // value (Srednia) hold that price, not the sum of theirs.
                if (!p.naprawa_sql.empty() && r && r->sposob == Sposob_Klucza::Srednia &&
                    Na_Liscie(r->ceny, k))
                    continue;
                // A written row: the step's other statements treat it as the row it copies
                // (the sign of a line's kind turned), and merged, a column that the line does
                // not sum keeps the first row's value.
                if (p.rodzaj == "written" &&
                    (std::fabs(zmiana - droga + 2 * dod) <= 0.005 ||
                     (std::fabs(zmiana - droga + dod) <= 0.005 &&
                      !(w_r && (Na_Liscie(w_r->ilosci, k) || Na_Liscie(w_r->wartosci, k))))))
                    continue;
                // Lines repeated whole and merged: a column may end as on the road (the
                // price that the lines share).
                if (p.rodzaj == "one price" && std::fabs(koniec) <= 0.005) {
                    wspolne = true;
                    continue;
                }
                char b[200];
                std::snprintf(b, sizeof b, "%s %s: %+.4f, road %+.4f, added %+.4f; ", nazwa.c_str(),
                              k.c_str(), zmiana, droga, dod);
                tu += b;
            }
            if (wspolne && !zsumowane && (!r || do_sumy))
                tu += nazwa + ": nothing summed, the lines merged or gone; ";
            roznice += tu;
        }
        if (roznice.empty()) return {"yes", "figures" + po + " kept"};
        return {"no", "figures" + po + ": " + roznice.substr(0, 600)};
    }

    // The lines of every change, judged.
    void osadz() {
        for (Proba& p : proby_) {
            std::string ukonczona = "-", zachowane = "-", klucz = "-", stop_ = "-", werdykt = "-";
            std::string opis = p.opis;
            if (p.proba == "tried") {
                const bool ukonczony = p.marker == "3210" && p.wersja == "6.46";
                ukonczona = ukonczony ? "yes" : "no";
                const auto [z, o] = figury(p, ukonczony);
                zachowane = z;
                bool dobrze = ukonczony && z != "no";
                opis = o;
                if (ukonczony) {
                    const std::string ix = Czytaj_Plik(p.kat + "/indeksy.txt");
                    const std::string& droga = droga_indeksy_[jet::text::upper(p.klucz.tabela)];
                    klucz = ix == droga ? "yes" : "no";
                    if (ix != droga) {
                        dobrze = false;
                        opis += "; unique indexes at 6.46: " + ix + ", road: " + droga;
                    }
                } else {
                    dobrze = false;
                    const auto [s, stated] = stop(p);
                    stop_ = s;
                    werdykt = stated ? "stated" : "finding";
                    opis = "status " + std::to_string(p.status) + ", marker " + p.marker +
                           ", version " + p.wersja + ": " + p.komunikat + "; " + opis;
                    if (!p.naprawa.empty()) opis += "; mend: " + p.naprawa_sql;
                    // A mend converts where each figure then stands on its item, as a
                    // change that completes keeps them.
                    if (p.naprawa_wynik == "converts" && z == "no")
                        p.naprawa_wynik = "moves figures: " + o;
                    if (p.naprawa_wynik != "-") opis += "; mend " + p.naprawa_wynik;
                }
                if (werdykt == "-") werdykt = dobrze ? "ok" : "finding";
            }
            for (char& c : opis)
                if (c == '\t' || c == '\n' || c == '\r') c = ' ';
            wynik_ << wersja(p.krok) << "\t" << p.klucz.tabela << "\t" << p.klucz.pola() << "\t"
                   << p.rodzaj << "\t" << p.proba << "\t" << ukonczona << "\t" << zachowane << "\t"
                   << klucz << "\t" << stop_ << "\t" << werdykt << "\t" << p.zrodlo << "\t"
                   << Naprawa_Krotko(p.naprawa_wynik) << "\t" << opis << "\n";
        }
        wynik_.flush();
        if (srodowisko("KONW_KLUCZE_ZOSTAW").empty()) {
            std::error_code e;
            for (const auto& [v, w] : wejscia_) fs::remove(w, e);
            for (const Proba& p : proby_) fs::remove_all(fs::path(p.kat).parent_path(), e);
        }
    }

    std::ofstream wynik_;
    Kroki kroki_;
    std::string kat_;
    int zadania_ = 2, do_ = 9999;
    std::set<std::string> tabele_;
    std::map<std::string, jet::TableInfo> wejscie_;     // the catalog at the step's entry
    std::vector<std::pair<int, Klucz>> klucze_;         // the keys checked so far, by step
    std::map<std::string, Sumy> droga_;                 // "STEP\tKEY": the road's figures after
    std::map<std::string, std::string> droga_indeksy_;  // TABLE: the road's unique indexes
    std::map<std::string, int64_t> droga_usuniete_;     // "STEP\tTABLE": rows its DELETEs took
    std::map<int, std::string> wejscia_;                // step: its entry's copy
    std::vector<Proba> proby_;
    std::deque<size_t> kolejka_;
    std::map<pid_t, size_t> biegnace_;
};

Przeglad& przeglad() {
    static Przeglad p;
    return p;
}

}  // namespace

void Start() {
    jet::set_statement_trace(Slad);
    const std::string opis = srodowisko("KONW_KLUCZ");
    if (opis.empty()) return;
    std::istringstream s(opis);
    Zmiana z;
    std::string krok, pola;
    std::getline(s, krok, '\t');
    std::getline(s, z.klucz.tabela, '\t');
    std::getline(s, pola, '\t');
    std::getline(s, z.rodzaj, '\t');
    z.krok = std::stoi(krok);
    std::istringstream p(pola);
    for (std::string k; std::getline(p, k, ',');) z.klucz.kolumny.push_back(k);
    z.kat = srodowisko("KONW_KLUCZ_KATALOG");
    if (const std::string naprawa = srodowisko("KONW_KLUCZ_NAPRAWA"); !naprawa.empty()) {
        Napraw(z, naprawa);
        z.naprawa = true;
    } else {
        Zmien_Wejscie(z);
    }
    g_zmiana = std::move(z);
}

bool Wypelnia(int v) {
    return !g_zmiana || v != g_zmiana->krok;
}

void Wejscie(int v) {
    g_polecenia.clear();
    Zapamietaj_Klucze_Wejscia(polaczenie().database().catalog());
    if (!g_zmiana) przeglad().wejscie(v);
}

void Po_Kroku(int v) {
    if (g_zmiana)
        Po_Kroku_Zmiany(v);
    else
        przeglad().po_kroku(v);
}

}  // namespace klucze
