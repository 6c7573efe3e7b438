// konwersja on the roads of tests/crash/drogi_nulls_dups.sh: every built step runs as the
// program runs it, after its entry has been changed as a customer's data would be, and
// each step's numeric columns are compared before and after it.
//
// KONW_DROGA names the road:
//   nulls  at each step's entry, every numeric column of every table (but a counter, a
//          required column and a column of the primary key) gets Null in the table's
//          first two rows, once for each column on the road (a column that a step adds
//          gets its Nulls at the next step's entry);
//   dups   at each step's entry, a table without a unique index gets a second copy of
//          its first row, and in a table's first row every whole-number column whose
//          name ends with "ID" and that no unique index holds names the id 999999,
//          which exists nowhere; once for each table and column on the road;
//   klucze the sweep of the keys that the steps make (klucze.cpp);
//   ksztalt the plain road, each statement judged by its shape (ksztalt.cpp), the
//          verdicts into KONW_KSZTALT_WYNIK, the cases stated in KONW_KSZTALT_WYJATKI;
//   odwolania the plain road, the references derived from its statements (odwolania.h)
//          and the table of references checked against them into KONW_ODWOLANIA_WYNIK,
//          the cases stated in KONW_ODWOLANIA_POMINIETE;
//   ""     neither (the plain road, for comparison).
// KONW_DROGA_KRAWEDZIE names the record of the tables that each step read on an earlier
// pass (krawedzie.h): at each step's entry those tables get rows with each column's edge
// values (but at the steps of KONW_DROGA_POMIN).
// KONW_DROGA_WIERSZE (tests/crash/wiersze.txt) gives the tables that get rows at a step's
// entry when empty, as stops_in_steps.sh --rows. KONW_DROGA_STAN is the file of what was
// changed so far (one "KIND TABLE[.COLUMN]" a line, appended once a step's method has
// returned), so that a run resumed after a stop changes nothing twice. KONW_DROGA_POMIN
// lists steps ("301,407") whose entry is left unchanged: the steps a road stopped at.
// KONW_DROGA_DO ends the run before the step after it (as at a step this build lacks).
// KONW_DROGA_TAK ("STEP TITLE") answers Yes to the boxes of that title that the step STEP
// (version times 100) shows, as a user who agrees; every other box takes its safe answer.
// KONW_DROGA_WYNIK receives a line for each figure lost:
//   STEP <tab> lost <tab> TABLE.COLUMN <tab> N
// N values of the column became Null in the step (more than the rows the table lost, and
// more than the values of the rows that the step deleted: a row that a step deletes as it
// means to, while it puts in others, loses no figure).
// The engine's reports go where KONW_RAPORTY_SILNIKA says (jet/reports.h).
// The row deletes' old values (sqlite3_preupdate_*), which the system's SQLite library has.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
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
#include "klucze.h"
#include "krawedzie.h"
#include "ksztalt.h"
#include "odwolania.h"
#include "platform/message_box.h"
#include "relacje.h"
#include "wypelnij.h"

namespace {

using namespace droga;

// The numeric columns counted before a step, by SQLite table and column position
// ("TABLE.COLUMN" in Jet's names; "" for a column not counted), and the values that the
// step's deletes took from each.
std::map<std::string, std::vector<std::string>> liczone_kolumny;
std::map<std::string, long> usuniete_wartosci;

void Przed_Usunieciem(void*, sqlite3* h, int op, const char* baza, const char* tabela,
                      sqlite3_int64, sqlite3_int64) {
    if (op != SQLITE_DELETE || std::string_view(baza) != "main") return;
    const auto k = liczone_kolumny.find(jet::text::upper(tabela));
    if (k == liczone_kolumny.end()) return;
    for (int i = 0, n = sqlite3_preupdate_count(h); i < n; ++i) {
        sqlite3_value* v = nullptr;
        if (static_cast<size_t>(i) < k->second.size() && !k->second[i].empty() &&
            sqlite3_preupdate_old(h, i, &v) == SQLITE_OK && sqlite3_value_type(v) != SQLITE_NULL)
            ++usuniete_wartosci[k->second[i]];
    }
}

class Droga {
  public:
    Droga() : rodzaj_(srodowisko("KONW_DROGA")), stan_(srodowisko("KONW_DROGA_STAN")) {
        std::ifstream in(stan_);
        for (std::string l; std::getline(in, l);) zrobione_.insert(l);
        std::istringstream pomin(srodowisko("KONW_DROGA_POMIN"));
        for (std::string k; std::getline(pomin, k, ',');)
            if (!k.empty()) pomin_.insert(std::stoi(k));
        std::ifstream wiersze(srodowisko("KONW_DROGA_WIERSZE"));
        for (std::string l; std::getline(wiersze, l);) {
            l = l.substr(0, l.find('#'));
            std::istringstream s(l);
            int krok = 0;
            if (!(s >> krok)) continue;
            for (std::string t; s >> t;) wiersze_[krok].push_back(t);
        }
        krawedzie_ = krawedzie::Czytane(srodowisko("KONW_DROGA_KRAWEDZIE"));
    }

    // The step's entry changed, the step run, its figures compared.
    void krok(int v, ClsKonwersje& k, MetodaKroku metoda) {
        jet::Database& db = polaczenie().database();
        // Each filled table's first rowid after the rows it held: its rows put in here.
        std::map<std::string, int64_t> dodane;
        std::optional<ksztalt::Wstrzymaj> wstrzymany;
        if (rodzaj_ == "ksztalt") wstrzymany.emplace();
        if (auto w = wiersze_.find(v); w != wiersze_.end() && klucze::Wypelnia(v))
            for (const auto& [tabela, podane] : wypelnij::Tabele(w->second)) {
                const jet::TableInfo* t = db.catalog().table(wypelnij::Nazwa_Tabeli(tabela));
                if (t == nullptr) continue;
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(db.session().handle(),
                                   ("SELECT max(rowid) FROM " + cudzyslow(t->sql_name)).c_str(), -1,
                                   &st, nullptr);
                if (st && sqlite3_step(st) == SQLITE_ROW)
                    dodane.emplace(t->name, sqlite3_column_int64(st, 0) + 1);
                sqlite3_finalize(st);
                wypelnij::Wypelnij(db, tabela, podane);
            }
        if (const auto k = krawedzie_.find(v); k != krawedzie_.end() && !pomin_.count(v))
            for (const std::string& nazwa : k->second)
                if (const jet::TableInfo* t = db.catalog().table(nazwa))
                    krawedzie::Wypelnij(db, *t, v, [this](const std::string& co) { return raz(co); });
        if (rodzaj_ == "relacje" && relacje::Sprawdza(v)) relacje::Krok(v, dodane);
        if (rodzaj_ == "klucze") klucze::Wejscie(v);
        if (!pomin_.count(v))
            for (const jet::TableInfo* t : db.catalog().tables()) {
                if (jet::text::upper(t->name) == "NIERUSZAC") continue;
                if (rodzaj_ == "nulls") nulle(db, *t);
                if (rodzaj_ == "dups") duble(db, *t);
            }
        if (rodzaj_ == "klucze") {  // the sweep weighs its own figures
            (k.*metoda)();
            klucze::Po_Kroku(v);
            return;
        }
        // The checks by shape need no figures.
        if (rodzaj_ == "ksztalt" || rodzaj_ == "odwolania") {
            wstrzymany.reset();
            (k.*metoda)();
            zapisz_stan();
            return;
        }
        const auto przed = liczby(db, true);
        // The relations watch the writes with a hook of their own.
        const bool usuwane = rodzaj_ != "relacje";
        usuniete_wartosci.clear();
        if (usuwane) sqlite3_preupdate_hook(db.session().handle(), Przed_Usunieciem, nullptr);
        (k.*metoda)();
        if (usuwane) sqlite3_preupdate_hook(db.session().handle(), nullptr, nullptr);
        const auto po = liczby(db, false);
        std::ofstream wynik(srodowisko("KONW_DROGA_WYNIK"), std::ios::app);
        for (const auto& [kolumna, p] : przed) {
            const auto a = po.find(kolumna);
            if (a == po.end()) continue;
            const long ubylo_wierszy = std::max(0L, p.first - a->second.first);
            const long utracone = p.second - a->second.second -
                                  std::max(ubylo_wierszy, usuniete_wartosci[kolumna]);
            if (utracone > 0)
                wynik << wersja(v) << "\tlost\t" << kolumna << "\t" << utracone << "\n";
        }
        zapisz_stan();
    }

  private:
    // The changes made at the step's entry, marked once its method has returned.
    void zapisz_stan() {
        if (stan_.empty()) return;
        std::ofstream stan(stan_, std::ios::app);
        for (const auto& z : nowe_) stan << z << "\n";
        nowe_.clear();
    }

    // Marks the change as made; false when it was made before.
    bool raz(const std::string& co) {
        if (zrobione_.count(co)) return false;
        zrobione_.insert(co);
        nowe_.push_back(co);
        return true;
    }

    // The row ids of the table's first n rows (with the column not Null, when given).
    static std::vector<int64_t> pierwsze(jet::Database& db, const jet::TableInfo& t, int n,
                                         const std::string& kolumna = "") {
        std::vector<int64_t> out;
        auto r = db.query("SELECT TOP " + std::to_string(n) + " * FROM [" + t.name + "]" +
                              (kolumna.empty() ? "" : " WHERE [" + kolumna + "] IS NOT NULL"),
                          jet::QueryOptions{true});
        const int id = static_cast<int>(r->columns().size()) - 1;
        while (r->next()) out.push_back(r->value(id).raw_int());
        return out;
    }

    static void zapisz(jet::Database& db, const jet::TableInfo& t, int64_t wiersz,
                       const std::string& kolumna, const jet::Value& v) {
        try {
            jet::atomically(db, [&] { jet::update_row(db, t.name, wiersz, {{kolumna, v}}); });
        } catch (const jet::Error&) {
        }
    }

    void nulle(jet::Database& db, const jet::TableInfo& t) {
        std::vector<int64_t> wiersze;
        for (const auto& c : t.columns) {
            if (!liczbowa(c.type) || c.counter || c.required || w_indeksie(t, c, true)) continue;
            if (zrobione_.count("N " + t.name + "." + c.name)) continue;
            if (wiersze.empty()) wiersze = pierwsze(db, t, 2);
            if (wiersze.empty()) return;  // the table's Nulls come with its rows
            raz("N " + t.name + "." + c.name);
            for (int64_t w : wiersze) zapisz(db, t, w, c.name, jet::Value::null());
        }
    }

    void duble(jet::Database& db, const jet::TableInfo& t) {
        bool unikalny = false;
        for (const auto& ix : t.indexes) unikalny = unikalny || ix.unique || ix.primary;
        if (!unikalny && !zrobione_.count("D " + t.name)) {
            auto r = db.query("SELECT TOP 1 * FROM [" + t.name + "]");
            if (r->next()) {
                raz("D " + t.name);
                jet::ColumnValues wiersz;
                for (size_t i = 0; i < t.columns.size(); ++i)
                    if (!t.columns[i].counter)
                        wiersz.emplace_back(t.columns[i].name, r->value(static_cast<int>(i)));
                r.reset();
                try {
                    jet::atomically(db, [&] { jet::insert_row(db, t.name, wiersz); });
                } catch (const jet::Error&) {
                }
            }
        }
        for (const auto& c : t.columns) {
            const std::string nazwa = jet::text::upper(c.name);
            if ((c.type != jet::DataType::Long && c.type != jet::DataType::Integer) || c.counter ||
                !nazwa.ends_with("ID") || w_indeksie(t, c, false))
                continue;
            if (zrobione_.count("I " + t.name + "." + c.name)) continue;
            const auto w = pierwsze(db, t, 1, c.name);
            if (w.empty()) continue;
            raz("I " + t.name + "." + c.name);
            zapisz(db, t, w[0], c.name, jet::Value::long_(999999));
        }
    }

    // Per numeric column ("TABLE.COLUMN"): the table's rows and the column's values.
    // Per counted column (TABLE.COLUMN): the table's rows and the column's values; with
    // pozycje (before the step), the columns by SQLite position into liczone_kolumny.
    static std::map<std::string, std::pair<long, long>> liczby(jet::Database& db, bool pozycje) {
        std::map<std::string, std::pair<long, long>> out;
        if (pozycje) liczone_kolumny.clear();
        for (const jet::TableInfo* t : db.catalog().tables()) {
            std::string sql = "SELECT count(*)";
            std::vector<std::string> nazwy;
            std::map<std::string, std::string> po_nazwie;  // SQLite column name: TABLE.COLUMN
            for (const auto& c : t->columns)
                if (liczbowa(c.type) && !c.counter) {
                    sql += ", count([" + c.name + "])";
                    nazwy.push_back(t->name + "." + c.name);
                    po_nazwie[jet::text::upper(c.sql_name)] = nazwy.back();
                }
            if (nazwy.empty()) continue;
            if (pozycje) {
                std::vector<std::string>& p = liczone_kolumny[jet::text::upper(t->sql_name)];
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(db.session().handle(),
                                   ("PRAGMA table_info(" + cudzyslow(t->sql_name) + ")").c_str(),
                                   -1, &st, nullptr);
                while (st && sqlite3_step(st) == SQLITE_ROW) {
                    const auto* n = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
                    const auto k = po_nazwie.find(jet::text::upper(n ? n : ""));
                    p.push_back(k == po_nazwie.end() ? "" : k->second);
                }
                sqlite3_finalize(st);
            }
            auto r = db.query(sql + " FROM [" + t->name + "]");
            if (!r->next()) continue;
            const long wierszy = static_cast<long>(r->value(0).raw_int());
            for (size_t i = 0; i < nazwy.size(); ++i)
                out[nazwy[i]] = {wierszy,
                                 static_cast<long>(r->value(static_cast<int>(i + 1)).raw_int())};
        }
        return out;
    }

    std::string rodzaj_, stan_;
    std::set<std::string> zrobione_;
    std::vector<std::string> nowe_;
    std::set<int> pomin_;
    std::map<int, std::vector<std::string>> wiersze_;
    std::map<int, std::set<std::string>> krawedzie_;
};

}  // namespace

// KONW_SLAD names a file that receives one line a statement run on the road (jet/trace.h):
//   STEP <tab> AFFECTED <tab> STATEMENT
// STEP the step being run (version times 100, 0 outside the steps), AFFECTED the rows it
// wrote (-1 when it failed), STATEMENT its text on one line.
namespace {
FILE* g_slad = nullptr;
void Slad_Polecenia(std::string_view sql, int64_t rekordy) {
    std::string l = std::to_string(Krok_Konwersji) + "\t" + std::to_string(rekordy) + "\t";
    for (char c : sql) l += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    l += '\n';
    std::fwrite(l.data(), 1, l.size(), g_slad);
}
}  // namespace

int main() {
    if (const std::string slad = srodowisko("KONW_SLAD"); !slad.empty()) {
        g_slad = std::fopen(slad.c_str(), "a");
        if (g_slad) jet::set_statement_trace(Slad_Polecenia);
    }
    if (srodowisko("KONW_DROGA") == "klucze") klucze::Start();
    if (srodowisko("KONW_DROGA") == "ksztalt")
        ksztalt::Start(srodowisko("KONW_KSZTALT_WYNIK"), srodowisko("KONW_KSZTALT_WYJATKI"));
    if (srodowisko("KONW_DROGA") == "odwolania")
        odwolania::Start(srodowisko("KONW_ODWOLANIA_WYNIK"),
                         srodowisko("KONW_ODWOLANIA_POMINIETE"));
    if (const std::string krok = srodowisko("KONW_RELACJA_KROK"); !krok.empty()) {
        const auto m = Zbudowane_Kroki().find(std::stoi(krok));
        if (m == Zbudowane_Kroki().end()) return 2;
        relacje::Dziecko(m->second, m->first);
    }
    if (const std::string tak = srodowisko("KONW_DROGA_TAK"); !tak.empty()) {
        const size_t spacja = tak.find(' ');
        const int krok = std::stoi(tak.substr(0, spacja));
        const std::string tytul = spacja == std::string::npos ? "" : tak.substr(spacja + 1);
        platform::set_answer_source(
            [krok, tytul](std::string_view, int, std::string_view t) -> std::optional<int> {
                if (Krok_Konwersji == krok && t == tytul) return platform::mb::yes;
                return std::nullopt;
            });
    }
    static Droga droga;
    const std::string do_ = srodowisko("KONW_DROGA_DO");
    const int ostatni = do_.empty() ? 9999 : std::stoi(do_);
    std::map<int, KrokZastepczy> kroki;
    for (const auto& krok : Zbudowane_Kroki()) {
        const int v = krok.first;
        const MetodaKroku m = krok.second;
        if (v > ostatni) {
            kroki[v] = nullptr;
            continue;
        }
        kroki[v] = [v, m](ClsKonwersje& k) { droga.krok(v, k, m); };
    }
    if (srodowisko("KONW_DROGA") == "relacje") {
        int do_kroku = 0;
        for (const auto& [v, m] : kroki) do_kroku = m ? v : do_kroku;
        relacje::Droga_Do(do_kroku);
    }
    Podstaw_Kroki(std::move(kroki));
    Form_Load();
}
