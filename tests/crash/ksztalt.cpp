// The check by the statement's shape: picks, writes for one row, sums and joins (ksztalt.h).
#include "ksztalt.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/schemat.h"
#include "db/stan.h"
#include "driver/odwolania.h"
#include "droga.h"
#include "jet/catalog.h"
#include "jet/sql/ast.h"
#include "jet/text.h"
#include "jet/trace.h"
#include "pokrycie.h"

namespace ksztalt {

namespace {

using jet::sql::Expr;
using jet::sql::ExprKind;
using jet::sql::Op;

std::string duze(std::string_view s) {
    return jet::text::upper(s);
}

void koniunkcje(const Expr* e, std::vector<const Expr*>& out) {
    if (e == nullptr) return;
    if (e->kind == ExprKind::Binary && e->op == Op::And) {
        koniunkcje(e->args[0].get(), out);
        koniunkcje(e->args[1].get(), out);
    } else {
        out.push_back(e);
    }
}

bool funkcja(const Expr& e, std::initializer_list<const char*> nazwy);

// A table the statement reads, under its alias; optional: the outer side of a join (its
// columns are Null where the partner is missing).
struct Zrodlo {
    std::string alias;  // in capitals
    const jet::TableInfo* t = nullptr;
    bool opcjonalna = false;
};

// A column of a source: (source, column id).
using Kolumna = std::pair<int, int64_t>;

class Zrodla {
  public:
    std::vector<Zrodlo> z;
    std::vector<const Expr*> on;  // the conditions of the joins
    bool obca = false;            // a table of another file, or one the catalog lacks
    const jet::Catalog* cat = nullptr;
    // The columns ("TABLE.COLUMN" in capitals) that the step gave a value that is never
    // Null in the rows it wrote: a sum carried in them starts from that value.
    const std::set<std::string>* zaczete = nullptr;
    // Those that an UPDATE of the same tables and the same WHERE gave such a value: the
    // rows this one writes.
    const std::set<std::string>* zaczete_tu = nullptr;
    // The columns that the WHERE compares (outside an Or) or requires given: not Null in
    // the rows it reads.
    std::set<Kolumna> porownane;

    void warunek(const Expr* where) {
        std::vector<const Expr*> war;
        koniunkcje(where, war);
        for (const Expr* w : war) {
            const bool por =
                (w->kind == ExprKind::Binary &&
                 (w->op == Op::Eq || w->op == Op::Ne || w->op == Op::Lt || w->op == Op::Le ||
                  w->op == Op::Gt || w->op == Op::Ge || w->op == Op::Like)) ||
                (w->kind == ExprKind::IsNull && w->negated) ||
                (!w->negated && (w->kind == ExprKind::Between || w->kind == ExprKind::InList));
            if (!por) continue;
            // Nz(x, v) <> v: x is given.
            if (w->op == Op::Ne && w->args.size() == 2)
                for (size_t i = 0; i < 2; ++i) {
                    const Expr& nz = *w->args[i];
                    const Expr& v = *w->args[1 - i];
                    if (funkcja(nz, {"NZ"}) && nz.args.size() == 2 && v.kind == ExprKind::Integer &&
                        nz.args[1]->kind == ExprKind::Integer && nz.args[1]->integer == v.integer)
                        if (auto k = kolumna(*nz.args[0])) porownane.insert(*k);
                }
            for (const auto& a : w->args)
                if (auto k = kolumna(*a)) {
                    porownane.insert(*k);
                    // The partner's row must be there: the join is an inner one.
                    z[static_cast<size_t>(k->first)].opcjonalna = false;
                }
        }
    }

    void dodaj(const jet::sql::TableRef& r, const jet::Catalog& c, bool opcjonalna) {
        using K = jet::sql::TableRef::Kind;
        cat = &c;
        if (r.kind == K::Table) {
            const jet::TableInfo* t = r.database.empty() ? c.table(r.name) : nullptr;
            if (t == nullptr) obca = true;
            z.push_back({duze(r.alias.empty() ? r.name : r.alias), t, opcjonalna});
            return;
        }
        dodaj(*r.left, c, opcjonalna || r.join == jet::sql::JoinType::Right);
        dodaj(*r.right, c, opcjonalna || r.join == jet::sql::JoinType::Left);
        if (r.on) on.push_back(r.on.get());
    }

    // The source and column an expression's column names; nullopt when none of them.
    std::optional<Kolumna> kolumna(const Expr& e) const {
        if (e.kind != ExprKind::Column) return std::nullopt;
        const std::string q = duze(e.qualifier);
        for (size_t i = 0; i < z.size(); ++i) {
            if (z[i].t == nullptr || (!q.empty() && q != z[i].alias && q != duze(z[i].t->name)))
                continue;
            if (const jet::ColumnInfo* c = z[i].t->column(e.text))
                return Kolumna{static_cast<int>(i), c->id};
        }
        return std::nullopt;
    }

    const jet::ColumnInfo* info(const Kolumna& k) const {
        return z[static_cast<size_t>(k.first)].t->column_by_id(k.second);
    }
    std::string nazwa(const Kolumna& k) const {
        const auto& s = z[static_cast<size_t>(k.first)];
        return s.t->name + "." + info(k)->name;
    }

    // A column that may hold Null in the rows read: not required, not in the primary key,
    // or of the outer side of a join.
    bool moze_null(const Kolumna& k) const {
        const auto& s = z[static_cast<size_t>(k.first)];
        const jet::ColumnInfo* c = info(k);
        if (porownane.count(k)) return false;
        if (s.opcjonalna) return true;
        if (c->required || c->counter) return false;
        const std::string nazwa = duze(s.t->name + "." + c->name);
        if (zaczete && zaczete->count(nazwa)) return false;
        if (zaczete_tu && zaczete_tu->count(nazwa)) return false;
        return !droga::w_indeksie(*s.t, *c, true);
    }
};

void kolumny(const Expr* e, std::vector<const Expr*>& out) {
    if (e == nullptr) return;
    if (e->kind == ExprKind::Column) out.push_back(e);
    for (const auto& a : e->args) kolumny(a.get(), out);
}

bool bez_kolumn(const Expr& e) {
    std::vector<const Expr*> k;
    kolumny(&e, k);
    return k.empty() && e.kind != ExprKind::Star;
}

bool funkcja(const Expr& e, std::initializer_list<const char*> nazwy) {
    if (e.kind != ExprKind::Function) return false;
    const std::string n = duze(e.text);
    for (const char* x : nazwy)
        if (n == x) return true;
    return false;
}

bool agregat(const Expr& e) {
    if (funkcja(e, {"SUM", "COUNT", "AVG", "MIN", "MAX", "FIRST", "LAST", "STDEV", "STDEVP", "VAR",
                    "VARP"}))
        return true;
    for (const auto& a : e.args)
        if (agregat(*a)) return true;
    return false;
}

void pierwsze_ostatnie(const Expr& e, std::vector<const Expr*>& out) {
    if (funkcja(e, {"FIRST", "LAST"})) out.push_back(&e);
    for (const auto& a : e.args) pierwsze_ostatnie(*a, out);
}

// The columns known in the rows that tie: those equal to a constant, those that order,
// those equal to a known one, and every column of a table one of whose unique indexes
// they cover (with licznik, also of a table whose counter is known: the counter breaks the
// ties, as the steps' rule has it, where no index makes it unique yet).
struct Znane {
    std::set<Kolumna> k;
    std::vector<bool> okreslona;

    Znane(const Zrodla& zr, const Expr* where, const std::vector<const Expr*>& porzadek,
          bool licznik = false) {
        std::vector<const Expr*> war;
        koniunkcje(where, war);
        for (const Expr* o : zr.on) koniunkcje(o, war);
        std::vector<std::pair<Kolumna, Kolumna>> rowne;
        for (const Expr* w : war) {
            if (w->kind == ExprKind::IsNull && !w->negated) {
                if (auto c = zr.kolumna(*w->args[0])) k.insert(*c);
            }
            if (w->kind != ExprKind::Binary || w->op != Op::Eq) continue;
            auto a = zr.kolumna(*w->args[0]), b = zr.kolumna(*w->args[1]);
            if (a && b)
                rowne.emplace_back(*a, *b);
            else if (a && bez_kolumn(*w->args[1]))
                k.insert(*a);
            else if (b && bez_kolumn(*w->args[0]))
                k.insert(*b);
        }
        for (const Expr* p : porzadek) {
            std::vector<const Expr*> c;
            kolumny(p, c);
            for (const Expr* x : c)
                if (auto kk = zr.kolumna(*x)) k.insert(*kk);
        }
        okreslona.assign(zr.z.size(), false);
        for (bool zmiana = true; zmiana;) {
            zmiana = false;
            for (const auto& [a, b] : rowne) {
                if (k.count(a) && k.insert(b).second) zmiana = true;
                if (k.count(b) && k.insert(a).second) zmiana = true;
            }
            for (size_t i = 0; i < zr.z.size(); ++i) {
                const jet::TableInfo* t = zr.z[i].t;
                if (okreslona[i] || t == nullptr) continue;
                for (const auto& c : t->columns)
                    if (licznik && c.counter && k.count({static_cast<int>(i), c.id})) {
                        okreslona[i] = zmiana = true;
                        for (const auto& cc : t->columns) k.insert({static_cast<int>(i), cc.id});
                        break;
                    }
                if (okreslona[i]) continue;
                for (const auto& ix : t->indexes) {
                    if (!ix.unique && !ix.primary) continue;
                    bool pokryty = !ix.columns.empty();
                    for (const auto& ic : ix.columns)
                        pokryty = pokryty && k.count({static_cast<int>(i), ic.column_id});
                    if (!pokryty) continue;
                    okreslona[i] = zmiana = true;
                    for (const auto& c : t->columns) k.insert({static_cast<int>(i), c.id});
                    break;
                }
            }
        }
    }

    bool wszystkie() const {
        return std::all_of(okreslona.begin(), okreslona.end(), [](bool b) { return b; });
    }
    // Every column of the expressions known (a Star: every table determined).
    bool zna(const Zrodla& zr, const std::vector<const Expr*>& wyr) const {
        for (const Expr* e : wyr) {
            if (e->kind == ExprKind::Star) {
                if (!wszystkie()) return false;
                continue;
            }
            std::vector<const Expr*> c;
            kolumny(e, c);
            for (const Expr* x : c) {
                auto kk = zr.kolumna(*x);
                if (!kk || !k.count(*kk)) return false;
            }
        }
        return true;
    }
};

// ------------------------------------------------------------------ what was seen

struct Wpis {
    std::string werdykt, szczegol;
};

struct Zapis {                         // a write that may name one row, judged at the end
    std::string tabela;                // in capitals
    std::vector<std::string> kolumny;  // its equalities to a constant, in capitals, sorted
    bool licznik = false;              // one of them is the table's counter
    bool unikalny = false;             // they cover a unique index at that step
    // The constants they are set equal to (column, text), one set a statement run.
    std::vector<std::map<std::string, std::string>> wartosci;
};

// The values of a row (column in capitals, value's text in capitals).
using Wiersz = std::map<std::string, std::string>;

// A literal's text, as a row holds it; nullopt for any other value.
std::optional<std::string> stala(const Expr& e) {
    if (e.kind == ExprKind::String) return duze(e.text);
    if (e.kind == ExprKind::Integer) return std::to_string(e.integer);
    return std::nullopt;
}

class Obserwator : public jet::ShapeObserver {
  public:
    Obserwator(std::string plik, const std::string& wyjatki)
        : plik_(std::move(plik)), wyjatki_(wyjatki) {}

    void statement(std::string_view sql, const jet::sql::Statement& st, const jet::Catalog& c,
                   bool query) override {
        const auto* zmiana = std::get_if<jet::sql::AlterTable>(&st);
        if (Krok_Konwersji != krok_) {
            krok_ = Krok_Konwersji;
            otwarte_.clear();
            zaczete_.clear();
            puste_.clear();
            zakresy_.clear();
            dodane_.clear();
            przyciete_.clear();
            for (const jet::TableInfo* t : c.tables())
                if (zmiana == nullptr || !jet::text::same_name(t->name, zmiana->table))
                    rozmiary(*t);
        }
        zapamietaj_czytane(st, c);
        if (const auto* t = std::get_if<jet::sql::CreateTable>(&st)) {
            puste_.insert(duze(t->table));
            if (const jet::TableInfo* ti = c.table(t->table)) rozmiary(*ti);
            return;
        }
        if (zmiana != nullptr) {
            if (zmiana->database.empty()) zmien(*zmiana, c, pokrycie::Bez_Literalow(sql));
            return;
        }
        const std::string ksztalt = pokrycie::Bez_Literalow(sql);
        if (const auto* s = std::get_if<jet::sql::Select>(&st)) {
            Zrodla zr = zrodla(s->from, c);
            if (zr.obca) return;
            zr.zaczete = &zaczete_;
            const auto [fl, porzadek] = wybor(*s, zr);
            if (!fl.empty()) zapisz("pick", ksztalt, fl);
            const std::string n = najnowszy(*s, zr);
            // A read whose reader may stop on a row: judged when it closes.
            if (query && otwarte_.size() < 10000) {
                Odczyt o{porzadek, n, !s->order_by.empty() || s->top > 0, {}, {}};
                const Znane z(zr, s->where.get(), {});
                for (size_t i = 0; i < zr.z.size(); ++i) {
                    Zapis w = rowne_stalym(zr, s->where.get(), i);
                    w.unikalny = z.okreslona[i];
                    o.naglowki[w.tabela] = w;
                }
                otwarte_[std::string(sql)] = std::move(o);
            } else if (s->top > 0) {
                zapisz("pick", ksztalt, porzadek);
                if (!n.empty()) zapisz("latest", ksztalt, n);
            }
            if (!s->into.empty()) {
                zr.warunek(s->where.get());
                liczby(ksztalt, zr, wartosci(*s), nullptr, *s);
                puste_.insert(duze(s->into));
                for (const auto& i : s->items) {
                    const std::string n = !i.alias.empty()                   ? i.alias
                                          : i.expr->kind == ExprKind::Column ? i.expr->text
                                                                             : "";
                    zacznij(s->into, n, niepusty(*i.expr, zr), true);
                }
            }
        } else if (const auto* i = std::get_if<jet::sql::Insert>(&st)) {
            if (!i->database.empty()) return;
            if (!i->select && !i->columns.empty())
                for (const auto& w : i->values) {
                    Wiersz r;
                    for (size_t k = 0; k < i->columns.size() && k < w.size(); ++k)
                        if (auto t = stala(*w[k])) r[duze(i->columns[k])] = *t;
                    dodaj_wiersz(duze(i->table), std::move(r));
                }
            if (!i->select) {
                std::vector<bool> n;
                for (size_t k = 0; k < i->columns.size(); ++k) {
                    bool nn = !i->values.empty();
                    for (const auto& w : i->values)
                        nn = nn && k < w.size() && niepusty(*w[k], Zrodla{});
                    n.push_back(nn);
                }
                wstaw(c, i->table, i->columns, n);
                if (!i->values.empty()) {
                    std::vector<const Expr*> w;
                    for (const auto& e : i->values[0]) w.push_back(e.get());
                    szerokosci_wstawienia(pokrycie::Bez_Literalow(sql), c, *i, w, Zrodla{});
                }
                return;
            }
            Zrodla zr = zrodla(i->select->from, c);
            if (zr.obca) return;
            zr.zaczete = &zaczete_;
            zr.warunek(i->select->where.get());
            std::vector<bool> n;
            for (size_t k = 0; k < i->columns.size(); ++k)
                n.push_back(k < i->select->items.size() && niepusty(*i->select->items[k].expr, zr));
            wstaw(c, i->table, i->columns, n);
            szerokosci_wstawienia(ksztalt, c, *i, wartosci(*i->select), zr);
            const auto [fl, porzadek] = wybor(*i->select, zr);
            if (!fl.empty()) zapisz("pick", ksztalt, fl);
            if (i->select->top > 0) {
                zapisz("pick", ksztalt, porzadek);
                if (const std::string n = najnowszy(*i->select, zr); !n.empty())
                    zapisz("latest", ksztalt, n);
            }
            liczby(ksztalt, zr, wartosci(*i->select), nullptr, *i->select);
        } else if (const auto* u = std::get_if<jet::sql::Update>(&st)) {
            Zrodla zr;
            zr.dodaj(*u->target, c, false);
            if (zr.obca) return;
            zr.zaczete = &zaczete_;
            // The tables and the WHERE, as written: an UPDATE of the same ones writes the
            // same rows.
            const std::string tekst = duze(sql);
            const size_t set = tekst.find(" SET "), gdzie = tekst.rfind(" WHERE ");
            const std::string zakres =
                set == std::string::npos
                    ? ""
                    : tekst.substr(0, set) + "|" +
                          (gdzie == std::string::npos || gdzie < set ? "" : tekst.substr(gdzie));
            std::set<std::string>& tu = zakresy_[zakres];
            zr.zaczete_tu = &tu;
            zr.warunek(u->where.get());
            klucze(zr);
            std::vector<const Expr*> w;
            for (const auto& a : u->assignments) w.push_back(a.value.get());
            liczby(ksztalt, zr, w, u, std::nullopt);
            kopie(ksztalt, zr, *u);
            szerokosci_zmiany(ksztalt, zr, *u);
            for (const auto& a : u->assignments) {
                Expr e(ExprKind::Column);
                e.qualifier = a.qualifier;
                e.text = a.column;
                if (auto k = zr.kolumna(e)) {
                    const std::string t = zr.z[static_cast<size_t>(k->first)].t->name;
                    const bool n = niepusty(*a.value, zr);
                    zacznij(t, zr.info(*k)->name, n, u->where == nullptr && zr.z.size() == 1);
                    if (n && !zakres.empty())
                        tu.insert(duze(t + "." + zr.info(*k)->name));
                    else
                        tu.erase(duze(t + "." + zr.info(*k)->name));
                }
            }
            if (zr.z.size() == 1) jeden_wiersz(ksztalt, zr, u->where.get());
        } else if (const auto* d = std::get_if<jet::sql::Delete>(&st)) {
            if (d->from.size() != 1) return;
            Zrodla zr = zrodla(d->from, c);
            if (zr.obca || zr.z.size() != 1) return;
            if (d->where == nullptr) puste_.insert(duze(zr.z[0].t->name));
            klucze(zr);
            jeden_wiersz(ksztalt, zr, d->where.get());
        }
    }

    void row_written(std::string_view sql, std::string_view tabela, char rodzaj,
                     const std::vector<std::pair<std::string, jet::Value>>& wartosci) override {
        if (rodzaj == 'I') {
            Wiersz w;
            for (const auto& [k, v] : wartosci)
                if (!v.is_null()) w[duze(k)] = duze(v.to_text());
            dodaj_wiersz(duze(tabela), std::move(w));
        }
        auto it = otwarte_.find(std::string(sql));
        if (it != otwarte_.end()) it->second.zapisane[duze(tabela)].insert(rodzaj);
    }

    void closed(std::string_view sql, bool read, bool on_row) override {
        auto it = otwarte_.find(std::string(sql));
        if (it == otwarte_.end()) return;
        // The rows written through it: a row added is new; one changed or deleted is the
        // row the reader is on, which the query's WHERE names. A reader that walks every
        // row writes each; one that stops on a row after writing wrote the row it named,
        // which only a unique index at this step makes one.
        for (const auto& [tabela, rodzaje] : it->second.zapisane)
            for (const char r : rodzaje) {
                const std::string ksztalt = pokrycie::Bez_Literalow(sql) +
                                            (r == 'I'   ? " (recordset AddNew "
                                             : r == 'U' ? " (recordset Update "
                                                        : " (recordset Delete ") +
                                            tabela + ")";
                const Zapis& z = it->second.naglowki[tabela];
                std::string kol;
                for (const auto& x : z.kolumny) kol += (kol.empty() ? "" : ",") + x;
                zapisz("write", ksztalt,
                       r == 'I'                         ? "new\ta row added"
                       : z.unikalny                     ? "unique\t" + kol
                       : r == 'U' && rodzaje.count('I') ? "new\tthe row it added"
                       : !on_row                        ? "rows\teach row read"
                       : !it->second.porzadek.starts_with("FINDING")
                           ? "picked\tthe row its order picks"
                           : "FINDING\twrites the row it stops on, named by " +
                                 (kol.empty() ? std::string("nothing") : kol) +
                                 ", not unique at this step");
            }
        // Read for its first row or until a match, or read in an order or for the first
        // rows it asks for: the order decides what the reader takes.
        if (read && (on_row || it->second.kolejnosc)) {
            zapisz("pick", pokrycie::Bez_Literalow(sql), it->second.porzadek);
            if (!it->second.najnowszy.empty())
                zapisz("latest", pokrycie::Bez_Literalow(sql), it->second.najnowszy);
        }
        otwarte_.erase(it);
    }

    void koniec() {
        for (const auto& [k, z] : zapisy_) {
            // One row named: by the counter, by the columns of a key the table has anywhere
            // on the road, or by the values of a row that the step adds to the table (the
            // row written makes room for it); else every row of those values.
            bool jeden = z.licznik || dodaje(k.first, z);
            for (const auto& klucz : klucze_[z.tabela])
                jeden = jeden || std::includes(z.kolumny.begin(), z.kolumny.end(), klucz.begin(),
                                               klucz.end());
            std::string kol;
            for (const auto& x : z.kolumny) kol += (kol.empty() ? "" : ",") + x;
            dopisz(k.first, "write", k.second,
                   z.unikalny ? Wpis{"unique", kol}
                   : jeden
                       ? Wpis{"FINDING", "names one row by " + kol + ", not unique at this step"}
                       : Wpis{"rows", "every row of " + kol});
        }
        if (const std::string plik = droga::srodowisko("KONW_KSZTALT_CZYTANE"); !plik.empty()) {
            std::ofstream czytane(plik, std::ios::app);
            for (const auto& [krok, tabele] : czytane_)
                for (const auto& t : tabele) czytane << krok << '\t' << t << '\n';
        }
        std::ofstream out(plik_);
        for (const auto& [k, w] : wpisy_) {
            const auto& [krok, rodzaj, ksztalt] = k;
            std::string werdykt = w.werdykt;
            if (werdykt == "FINDING" &&
                wyjatki_.stwierdza(droga::wersja(krok), rodzaj + " " + ksztalt))
                werdykt = "stated";
            out << droga::wersja(krok) << '\t' << rodzaj << '\t' << werdykt << '\t' << w.szczegol
                << '\t' << ksztalt << '\n';
        }
    }

  private:
    // ------------------------------------------------------------ widths

    // Notes the text columns' sizes of a table as they stand.
    void rozmiary(const jet::TableInfo& t) {
        for (const auto& c : t.columns)
            rozmiary_[duze(t.name + "." + c.name)] = szerokosc_kolumny(c);
    }

    static int szerokosc_kolumny(const jet::ColumnInfo& c) {
        return c.type == jet::DataType::Text ? c.size : c.type == jet::DataType::Memo ? kMemo : 0;
    }
    static constexpr int kMemo = 65535;

    // The most characters a text value may hold: a text column's size, a literal's length,
    // the sum of a concatenation's parts, a Left's, Right's or Mid's count; 0 where not
    // known (a number, a function of no known width). With ciete, a column that the step
    // cut holds no more than it was cut to.
    int szerokosc(const Expr& e, const Zrodla& zr, bool ciete = true) const {
        auto arg = [&](size_t i) {
            return i < e.args.size() ? szerokosc(*e.args[i], zr, ciete) : 0;
        };
        auto liczba = [&](size_t i) -> int {
            return i < e.args.size() && e.args[i]->kind == ExprKind::Integer
                       ? static_cast<int>(e.args[i]->integer)
                       : -1;
        };
        switch (e.kind) {
            case ExprKind::String:
                return static_cast<int>(jet::text::length(e.text));
            case ExprKind::Column: {
                const auto k = zr.kolumna(e);
                if (!k) return 0;
                const auto p = przyciete_.find(duze(zr.nazwa(*k)));
                return ciete && p != przyciete_.end() ? p->second : szerokosc_kolumny(*zr.info(*k));
            }
            case ExprKind::Binary: {
                const int a = arg(0), b = arg(1);
                if (e.op == Op::Concat || (e.op == Op::Add && a > 0 && b > 0))
                    return std::min(kMemo, a + b);
                return 0;
            }
            case ExprKind::Function: {
                if (funkcja(e, {"LEFT", "RIGHT"})) {
                    const int n = liczba(1);
                    return n < 0 ? arg(0) : arg(0) == 0 ? n : std::min(n, arg(0));
                }
                if (funkcja(e, {"MID"})) {
                    const int n = liczba(2);
                    return n < 0 ? arg(0) : arg(0) == 0 ? n : std::min(n, arg(0));
                }
                if (funkcja(e, {"TRIM", "LTRIM", "RTRIM", "UCASE", "LCASE"})) return arg(0);
                if (funkcja(e, {"NZ"})) return std::max(arg(0), arg(1));
                if (funkcja(e, {"IIF"}) && e.args.size() == 3) {
                    // IIf(Len(x) > n, a, b): b holds no more than n characters.
                    int a = arg(1), b = arg(2);
                    const Expr& w = *e.args[0];
                    if (w.kind == ExprKind::Binary && w.args.size() == 2 &&
                        funkcja(*w.args[0], {"LEN"}) && w.args[1]->kind == ExprKind::Integer) {
                        const int n = static_cast<int>(w.args[1]->integer);
                        if (w.op == Op::Gt) b = std::min(b, n);
                        if (w.op == Op::Ge) b = std::min(b, n - 1);
                        if (w.op == Op::Le) a = std::min(a, n);
                        if (w.op == Op::Lt) a = std::min(a, n - 1);
                    }
                    return std::max(a, b);
                }
                return 0;
            }
            default:
                return 0;
        }
    }

    // A value put into the column c of t: a finding when it may be longer, "cut" when the
    // step cut it to fit. A column filled from another of its table for a change of type
    // (the temporary column) narrows that one.
    void szerokosc_celu(const std::string& ksztalt, const jet::TableInfo& t,
                        const jet::ColumnInfo& c, const Expr& e, const Zrodla& zr) {
        const int cel = szerokosc_kolumny(c), ciete = szerokosc(e, zr);
        int zrodlo = szerokosc(e, zr, false);
        // A value cut by the statement itself (Left(v, n)): v's width, cut.
        if (funkcja(e, {"LEFT"}) && !e.args.empty())
            zrodlo = std::max(zrodlo, szerokosc(*e.args[0], zr, false));
        if (cel == 0 || zrodlo <= cel) return;
        std::string kolumna = c.name;
        if (jet::text::same_name(c.name, kKolumnaTymczasowa) && e.kind == ExprKind::Column)
            kolumna = e.text;
        zapisz("width", ksztalt,
               (ciete <= cel ? "cut\t" : "FINDING\t") + t.name + "." + kolumna + ": " +
                   std::to_string(zrodlo) + " -> " + std::to_string(cel));
    }

    // The values an INSERT puts into the table's columns.
    void szerokosci_wstawienia(const std::string& ksztalt, const jet::Catalog& c,
                               const jet::sql::Insert& i, const std::vector<const Expr*>& w,
                               const Zrodla& zr) {
        const jet::TableInfo* t = c.table(i.table);
        if (t == nullptr) return;
        for (size_t k = 0; k < w.size(); ++k) {
            const jet::ColumnInfo* col = i.columns.empty()
                                             ? (k < t->columns.size() ? &t->columns[k] : nullptr)
                                         : k < i.columns.size() ? t->column(i.columns[k])
                                                                : nullptr;
            if (col != nullptr) szerokosc_celu(ksztalt, *t, *col, *w[k], zr);
        }
    }

    // The values an UPDATE sets; a value cut to a width (a Left of the column itself) cuts
    // the column for the step's later change of its size.
    void szerokosci_zmiany(const std::string& ksztalt, const Zrodla& zr,
                           const jet::sql::Update& u) {
        // A WHERE that takes only rows where a column equals one of some texts (x = 'a' Or
        // x = 'b' ...): the column holds no more than the longest of them there.
        const std::map<std::string, int> byly = przyciete_;
        std::string jedna;
        int najdluzszy = 0;
        std::function<bool(const Expr&)> rowne = [&](const Expr& w) {
            if (w.kind == ExprKind::Binary && w.op == Op::Or)
                return rowne(*w.args[0]) && rowne(*w.args[1]);
            if (w.kind != ExprKind::Binary || w.op != Op::Eq || w.args[1]->kind != ExprKind::String)
                return false;
            const auto k = zr.kolumna(*w.args[0]);
            if (!k || (!jedna.empty() && jedna != duze(zr.nazwa(*k)))) return false;
            jedna = duze(zr.nazwa(*k));
            najdluzszy = std::max(najdluzszy, static_cast<int>(jet::text::length(w.args[1]->text)));
            return true;
        };
        if (u.where && rowne(*u.where)) przyciete_[jedna] = najdluzszy;
        for (const auto& a : u.assignments) {
            Expr e(ExprKind::Column);
            e.qualifier = a.qualifier;
            e.text = a.column;
            const auto k = zr.kolumna(e);
            if (!k) continue;
            const int w = szerokosc(*a.value, zr);
            szerokosc_celu(ksztalt, *zr.z[static_cast<size_t>(k->first)].t, *zr.info(*k), *a.value,
                           zr);
            if (w > 0 && w < szerokosc_kolumny(*zr.info(*k))) przyciete_[duze(zr.nazwa(*k))] = w;
            // A text set in every row holds that text's length.
            if (u.where == nullptr && a.value->kind == ExprKind::String)
                przyciete_[duze(zr.nazwa(*k))] = w;
        }
        if (!jedna.empty() && byly.count(jedna))
            przyciete_[jedna] = byly.at(jedna);
        else if (!jedna.empty() && przyciete_[jedna] == najdluzszy)
            przyciete_.erase(jedna);
    }

    // A column's type changed to a narrower text: a finding unless the step cut it first.
    void zmien(const jet::sql::AlterTable& a, const jet::Catalog& c, const std::string& ksztalt) {
        const jet::TableInfo* t = c.table(a.table);
        if (t == nullptr) return;
        if (a.action == jet::sql::AlterTable::Action::AlterColumn && !a.columns.empty())
            if (const jet::ColumnInfo* col = t->column(a.columns[0].name)) {
                const std::string n = duze(t->name + "." + col->name);
                const int byla = rozmiary_.count(n) ? rozmiary_[n] : 0,
                          jest = szerokosc_kolumny(*col);
                if (jest > 0 && byla > jest) {
                    const std::string d = t->name + "." + col->name + ": " + std::to_string(byla) +
                                          " -> " + std::to_string(jest);
                    const auto p = przyciete_.find(n);
                    zapisz(
                        "width", ksztalt,
                        p != przyciete_.end() && p->second <= jest ? "cut\t" + d : "FINDING\t" + d);
                }
            }
        if (a.action == jet::sql::AlterTable::Action::AddColumns)
            for (const auto& d : a.columns) dodane_.insert(duze(t->name + "." + d.name));
        rozmiary(*t);
    }

    // ------------------------------------------------------------ copies

    // The column whose value a copy takes: the column itself, or through a function that
    // keeps a Null, or the value of an IIf that tests for a Null; nullptr for any other.
    static const Expr* kopiowana(const Expr& e) {
        if (e.kind == ExprKind::Column) return &e;
        if (funkcja(e, {"IIF"}) && e.args.size() == 3 && sprawdza_null(*e.args[0]))
            return kopiowana(*e.args[2]);
        if (!e.args.empty() &&
            funkcja(e, {"CCUR",   "CDBL", "CSNG",  "CLNG",  "CINT",  "CSTR",  "CDATE",
                        "CVDATE", "TRIM", "LTRIM", "RTRIM", "UCASE", "LCASE", "LEFT",
                        "RIGHT",  "MID",  "ROUND", "INT",   "FIX",   "ABS"}))
            return kopiowana(*e.args[0]);
        return nullptr;
    }

    // An UPDATE's copies (SET a = b): a b that may be Null in the rows written empties an a
    // that stood, unless the WHERE takes only rows where a is Null or blank, or the step added a or
    // made or emptied its table.
    void kopie(const std::string& ksztalt, const Zrodla& zr, const jet::sql::Update& u) {
        std::vector<const Expr*> war;
        koniunkcje(u.where.get(), war);
        // The columns that the WHERE takes Null or blank ("" or blanks alone): a text there
        // holds none.
        std::set<Kolumna> bez_wartosci;
        std::function<std::optional<Kolumna>(const Expr&)> pusta =
            [&](const Expr& w) -> std::optional<Kolumna> {
            if (w.kind == ExprKind::IsNull && !w.negated) return zr.kolumna(*w.args[0]);
            if (w.kind == ExprKind::Binary && w.op == Op::Or) {
                const auto a = pusta(*w.args[0]), b = pusta(*w.args[1]);
                return a && b && *a == *b ? a : std::nullopt;
            }
            if (w.kind != ExprKind::Binary || w.op != Op::Eq ||
                w.args[1]->kind != ExprKind::String || !w.args[1]->text.empty())
                return std::nullopt;
            const Expr* k = w.args[0].get();
            if (funkcja(*k, {"TRIM"}) && k->args.size() == 1) k = k->args[0].get();
            return zr.kolumna(*k);
        };
        for (const Expr* w : war)
            if (auto k = pusta(*w)) bez_wartosci.insert(*k);
        bool jest = false;
        std::string kol;
        for (const auto& a : u.assignments) {
            Expr e(ExprKind::Column);
            e.qualifier = a.qualifier;
            e.text = a.column;
            const auto cel = zr.kolumna(e);
            const Expr* z = kopiowana(*a.value);
            const auto zrodlo = z != nullptr ? zr.kolumna(*z) : std::nullopt;
            if (!cel || !zrodlo || *cel == *zrodlo) continue;
            jest = true;
            const std::string n = duze(zr.nazwa(*cel));
            if (bez_wartosci.count(*cel) || dodane_.count(n) ||
                puste_.count(duze(zr.z[static_cast<size_t>(cel->first)].t->name)) ||
                niepusty(*a.value, zr))
                continue;
            kol += (kol.empty() ? "" : ", ") + zr.nazwa(*zrodlo) + " over " + zr.nazwa(*cel);
        }
        if (jest)
            zapisz("copy", ksztalt,
                   kol.empty() ? "guarded\tno Null over a value that stood"
                               : "FINDING\ta Null of " + kol);
    }

    // ------------------------------------------------------------ what a step reads

    // The tables of this database that a statement or query of the step reads (its sources,
    // an UPDATE's or DELETE's tables): the tables that get rows made from the catalog at the
    // step's entry (krawedzie.h).
    void zapamietaj_czytane(const jet::sql::Statement& st, const jet::Catalog& c) {
        std::set<std::string>& tu = czytane_[krok_];
        std::function<void(const jet::sql::TableRef&)> dodaj = [&](const jet::sql::TableRef& r) {
            if (r.kind == jet::sql::TableRef::Kind::Join) {
                dodaj(*r.left);
                dodaj(*r.right);
            } else if (const jet::TableInfo* t = r.database.empty() ? c.table(r.name) : nullptr) {
                tu.insert(t->name);
            }
        };
        auto zrodla = [&](const std::vector<jet::sql::TableRefPtr>& from) {
            for (const auto& r : from) dodaj(*r);
        };
        if (const auto* s = std::get_if<jet::sql::Select>(&st))
            zrodla(s->from);
        else if (const auto* i = std::get_if<jet::sql::Insert>(&st); i && i->select)
            zrodla(i->select->from);
        else if (const auto* u = std::get_if<jet::sql::Update>(&st))
            dodaj(*u->target);
        else if (const auto* d = std::get_if<jet::sql::Delete>(&st))
            zrodla(d->from);
    }

    // A column the step wrote: with a value never Null in every row of the table (a sum
    // carried in it starts from it), never Null in some rows (as it was), or one that may be
    // Null.
    void zacznij(const std::string& tabela, const std::string& kolumna, bool niepusta,
                 bool wszystkie) {
        if (kolumna.empty()) return;
        const std::string k = duze(tabela + "." + kolumna);
        if (!niepusta)
            zaczete_.erase(k);
        else if (wszystkie)
            zaczete_.insert(k);
    }

    // The rows a step inserts into a table it made or emptied are all its rows: the columns
    // they give a value never Null start from it, the others hold their default.
    void wstaw(const jet::Catalog& c, const std::string& tabela,
               const std::vector<std::string>& kolumny, const std::vector<bool>& niepuste) {
        const bool wszystkie = puste_.count(duze(tabela)) > 0;
        for (size_t k = 0; k < kolumny.size(); ++k)
            zacznij(tabela, kolumny[k], niepuste[k], wszystkie);
        const jet::TableInfo* t = c.table(tabela);
        if (t == nullptr) return;
        for (const auto& col : t->columns) {
            bool dana = false;
            for (const auto& k : kolumny) dana = dana || duze(k) == duze(col.name);
            if (!dana)
                zacznij(tabela, col.name, !col.default_text.empty() || col.counter, wszystkie);
        }
    }

    // A value that is never Null: a literal but Null, a Nz, an IIf that tests for Null, a
    // column that holds no Null, and arithmetic and sums of those.
    static bool niepusty(const Expr& e, const Zrodla& zr) {
        switch (e.kind) {
            case ExprKind::Boolean:
            case ExprKind::Integer:
            case ExprKind::Number:
            case ExprKind::String:
            case ExprKind::Date:
                return true;
            case ExprKind::Column: {
                auto k = zr.kolumna(e);
                return k && !zr.moze_null(*k);
            }
            case ExprKind::Unary:
                return niepusty(*e.args[0], zr);
            case ExprKind::Binary:
                if (e.op == Op::Concat) return true;
                return niepusty(*e.args[0], zr) && niepusty(*e.args[1], zr);
            case ExprKind::Function:
                if (funkcja(e, {"NZ"})) return e.args.size() == 2 && niepusty(*e.args[1], zr);
                if (funkcja(e, {"IIF"}) && e.args.size() == 3 && sprawdza_null(*e.args[0]))
                    return true;
                if (funkcja(e, {"COUNT"})) return true;
                // Min and Max of a column never Null: a group holds a row at least.
                if (funkcja(e, {"SUM", "MIN", "MAX", "CCUR", "CDBL", "CLNG", "CINT", "ROUND", "INT",
                                "FIX", "ABS", "LEFT", "RIGHT", "MID", "TRIM", "LTRIM", "RTRIM",
                                "CSTR"}))
                    return !e.args.empty() && niepusty(*e.args[0], zr);
                return false;
            default:
                return false;
        }
    }

    static Zrodla zrodla(const std::vector<jet::sql::TableRefPtr>& from, const jet::Catalog& c) {
        Zrodla zr;
        for (const auto& r : from) zr.dodaj(*r, c, false);
        return zr;
    }

    static std::vector<const Expr*> wartosci(const jet::sql::Select& s) {
        std::vector<const Expr*> w;
        for (const auto& i : s.items) w.push_back(i.expr.get());
        return w;
    }

    // The unique keys of the tables read, kept for the whole road (by column names).
    void klucze(const Zrodla& zr) {
        for (const auto& s : zr.z)
            for (const auto& ix : s.t->indexes) {
                if (!ix.unique && !ix.primary) continue;
                std::vector<std::string> k;
                for (const auto& ic : ix.columns)
                    if (const auto* col = s.t->column_by_id(ic.column_id))
                        k.push_back(duze(col->name));
                std::sort(k.begin(), k.end());
                klucze_[duze(s.t->name)].insert(k);
            }
    }

    // Whether the column is its table's counter, or a unique index of its own.
    static bool klucz_sam(const jet::TableInfo& t, const jet::ColumnInfo& c) {
        if (c.counter) return true;
        for (const auto& ix : t.indexes)
            if ((ix.unique || ix.primary) && ix.columns.size() == 1 &&
                ix.columns[0].column_id == c.id)
                return true;
        return false;
    }

    // The table whose row the column names at this step, by the suite's references
    // (driver/odwolania.h): "" where its row's kind decides which; nullopt when it names none.
    static std::optional<std::string> id_wiersza(const jet::TableInfo& t,
                                                 const jet::ColumnInfo& c) {
        if (const Odwolanie_Pakietu* o = Odwolanie_Kolumny(Krok_Konwersji, t.name, c.name))
            return std::string(o->cel);
        if (Kolumna_Wskazuje(Krok_Konwersji, t.name, c.name)) return "";
        return std::nullopt;
    }

    // A pick of the latest or highest by an id of another table's row (an ORDER BY ... DESC
    // on a column that the references make an id of a row): "" when it has none; total when
    // a join or an equality ties the id to a unique key of the table it names (of a table
    // read, where the row's kind decides), else a finding (an id that names nothing may win).
    static std::string najnowszy(const jet::sql::Select& s, const Zrodla& zr) {
        std::vector<const Expr*> war;
        koniunkcje(s.where.get(), war);
        for (const Expr* o : zr.on) koniunkcje(o, war);
        std::string wynik;
        for (const auto& o : s.order_by) {
            if (!o.descending) continue;
            const auto k = zr.kolumna(*o.expr);
            if (!k) continue;
            const auto& src = zr.z[static_cast<size_t>(k->first)];
            const jet::ColumnInfo* c = zr.info(*k);
            const std::optional<std::string> id = id_wiersza(*src.t, *c);
            if (!id) continue;
            bool wskazuje = false;
            for (const Expr* w : war) {
                if (w->kind != ExprKind::Binary || w->op != Op::Eq) continue;
                for (int j = 0; j < 2; ++j) {
                    const auto a = zr.kolumna(*w->args[static_cast<size_t>(j)]);
                    const auto b = zr.kolumna(*w->args[static_cast<size_t>(1 - j)]);
                    if (!a || !b || *a != *k || b->first == k->first) continue;
                    const auto& inna = zr.z[static_cast<size_t>(b->first)];
                    if (!inna.opcjonalna && klucz_sam(*inna.t, *zr.info(*b)) &&
                        (id->empty() || jet::text::same_name(inna.t->name, *id)))
                        wskazuje = true;
                }
            }
            if (!wskazuje) return "FINDING\tan id that names nothing may win: " + zr.nazwa(*k);
            wynik = "total\t" + zr.nazwa(*k) + " names a row of a table read";
        }
        return wynik;
    }

    // A pick's verdicts, "VERDICT<tab>DETAIL": of its First/Last ("" when it has none) and
    // of the order of its rows.
    static std::pair<std::string, std::string> wybor(const jet::sql::Select& s, const Zrodla& zr) {
        std::vector<const Expr*> porzadek, pozycje;
        for (const auto& o : s.order_by) porzadek.push_back(o.expr.get());
        for (const auto& i : s.items) pozycje.push_back(i.expr.get());
        // An ORDER BY may name an item by its alias.
        for (auto& p : porzadek)
            if (p->kind == ExprKind::Column && p->qualifier.empty() && !zr.kolumna(*p))
                for (const auto& i : s.items)
                    if (!i.alias.empty() && duze(i.alias) == duze(p->text)) p = i.expr.get();
        bool grupy = !s.group_by.empty();
        for (const Expr* p : pozycje) grupy = grupy || agregat(*p);
        std::string wynik;
        std::vector<const Expr*> fl;
        for (const Expr* p : pozycje) pierwsze_ostatnie(*p, fl);
        if (!fl.empty()) {
            std::vector<const Expr*> g;
            for (const auto& x : s.group_by) g.push_back(x.get());
            const Znane z(zr, s.where.get(), g);
            std::vector<const Expr*> args;
            for (const Expr* f : fl) args.push_back(f->args[0].get());
            if (!z.wszystkie() && !z.zna(zr, args)) wynik = "FINDING\tFirst/Last of tied rows";
        }
        // The rows' order: of the groups, or of the rows.
        std::vector<const Expr*> g;
        for (const auto& x : s.group_by) g.push_back(x.get());
        auto calkowity = [&](const Znane& z) {
            return grupy ? z.zna(zr, g) || z.zna(zr, pozycje) : z.wszystkie() || z.zna(zr, pozycje);
        };
        const Znane z(zr, s.where.get(), porzadek);
        if (!calkowity(z) && calkowity(Znane(zr, s.where.get(), porzadek, true)))
            return {wynik, "counter\tties broken by the counter"};
        std::string porz = calkowity(z) ? "total\t" : "FINDING\torder not total: ";
        if (!calkowity(z)) {
            std::string brak;
            for (size_t i = 0; i < zr.z.size(); ++i)
                if (!z.okreslona[i]) brak += (brak.empty() ? "" : ",") + zr.z[i].t->name;
            porz += brak + " not determined";
        } else {
            porz += grupy && s.group_by.empty() ? "one row"
                    : z.wszystkie()             ? "unique key"
                                                : "ties give one value";
        }
        if (!fl.empty() && wynik.empty()) wynik = "total\tFirst/Last in a determined group";
        return {wynik, porz};
    }

    // The columns of source n that the WHERE sets equal to constants, in capitals, sorted.
    static Zapis rowne_stalym(const Zrodla& zr, const Expr* where, size_t n) {
        std::vector<const Expr*> war;
        koniunkcje(where, war);
        Zapis z;
        z.tabela = duze(zr.z[n].t->name);
        for (const Expr* w : war) {
            if (w->kind != ExprKind::Binary || w->op != Op::Eq) continue;
            std::optional<Kolumna> a = zr.kolumna(*w->args[0]);
            if (!a || !bez_kolumn(*w->args[1]))
                a = bez_kolumn(*w->args[0]) ? zr.kolumna(*w->args[1]) : std::nullopt;
            if (!a || a->first != static_cast<int>(n)) continue;
            const jet::ColumnInfo* c = zr.info(*a);
            z.kolumny.push_back(duze(c->name));
            z.licznik = z.licznik || c->counter;
            const Expr& v = *w->args[bez_kolumn(*w->args[1]) ? 1 : 0];
            if (auto t = stala(v)) {
                if (z.wartosci.empty()) z.wartosci.emplace_back();
                z.wartosci[0][duze(c->name)] = *t;
            }
        }
        std::sort(z.kolumny.begin(), z.kolumny.end());
        return z;
    }

    // The write that may name one row: its equalities to constants on the table.
    void jeden_wiersz(const std::string& ksztalt, const Zrodla& zr, const Expr* where) {
        Zapis z = rowne_stalym(zr, where, 0);
        if (z.kolumny.empty()) return;
        z.unikalny = Znane(zr, where, {}).wszystkie();
        auto [it, nowy] = zapisy_.emplace(std::make_pair(krok_, ksztalt), z);
        if (nowy) return;
        it->second.unikalny = it->second.unikalny && z.unikalny;
        if (it->second.wartosci.size() < 1000)
            it->second.wartosci.insert(it->second.wartosci.end(), z.wartosci.begin(),
                                       z.wartosci.end());
    }

    // The figures of the values a statement writes: sums and carried figures over columns
    // that may be Null; and its inner joins.
    void liczby(const std::string& ksztalt, const Zrodla& zr, const std::vector<const Expr*>& wart,
                const jet::sql::Update* u,
                std::optional<std::reference_wrapper<const jet::sql::Select>> s) {
        std::set<std::string> nulle;
        bool figura = false;
        std::set<int> z_figur;
        for (const Expr* w : wart) przejdz(*w, zr, false, figura, nulle, z_figur);
        if (!figura) return;
        std::string kol;
        for (const auto& n : nulle) kol += (kol.empty() ? "" : ",") + n;
        zapisz("sum", ksztalt,
               nulle.empty() ? "guarded\tNull counts as none"
                             : "FINDING\ta Null of " + kol + " is not none");
        // The joins of a statement that sums (Sum) or carries (a column plus its lines) its
        // figures: each inner-joined table that holds no figure. A value computed row by
        // row from a partner leaves a row without one as it was.
        if (zr.z.size() < 2) return;
        bool sumuje = false;
        for (const Expr* w : wart) sumuje = sumuje || ma_sume(*w);
        if (u)
            for (const auto& a : u->assignments) {
                std::vector<const Expr*> c;
                kolumny(a.value.get(), c);
                for (const Expr* x : c)
                    sumuje = sumuje || (duze(x->text) == duze(a.column) &&
                                        (x->qualifier.empty() || a.qualifier.empty() ||
                                         duze(x->qualifier) == duze(a.qualifier)));
            }
        if (!sumuje) return;
        std::set<int> zapisane;  // an UPDATE's targets
        if (u)
            for (const auto& a : u->assignments) {
                Expr e(ExprKind::Column);
                e.qualifier = a.qualifier;
                e.text = a.column;
                if (auto k = zr.kolumna(e)) zapisane.insert(k->first);
            }
        std::map<int, std::pair<int, int>> uzycia;  // per source: in values, in conditions
        auto licz = [&](const Expr* e, bool wartosc) {
            std::vector<const Expr*> c;
            kolumny(e, c);
            for (const Expr* x : c)
                if (auto k = zr.kolumna(*x))
                    (wartosc ? uzycia[k->first].first : uzycia[k->first].second)++;
        };
        // A condition that the partner's row is there (IS NOT NULL on its column) takes
        // nothing from it: it is the inner join itself.
        auto warunki = [&](const Expr* where) {
            std::vector<const Expr*> war;
            koniunkcje(where, war);
            for (const Expr* w : war)
                if (w->kind != ExprKind::IsNull || !w->negated) licz(w, false);
        };
        for (const Expr* w : wart) licz(w, true);
        if (u) warunki(u->where.get());
        if (s) {
            warunki(s->get().where.get());
            for (const auto& g : s->get().group_by) licz(g.get(), true);
            licz(s->get().having.get(), false);
        }
        std::string werdykt, uwagi;
        for (size_t i = 0; i < zr.z.size(); ++i) {
            const int n = static_cast<int>(i);
            const auto& src = zr.z[i];
            if (src.opcjonalna || zapisane.count(n) || z_figur.count(n)) continue;
            const auto [w, c] = uzycia[n];
            std::string o;
            if (w == 0 && c == 0 && pomost(zr, n)) {
                o = src.t->name + " links two tables";
            } else if (w == 0 && c == 0) {
                o = "takes nothing from " + src.t->name;
                werdykt = "FINDING";
            } else if (w == 0) {
                o = src.t->name + " filters";
            } else if (!relacja(zr, n, z_figur)) {
                o = "takes values from " + src.t->name + " with no relation";
                werdykt = "FINDING";
            } else {
                o = src.t->name + " by a relation";
            }
            uwagi += (uwagi.empty() ? "" : "; ") + o;
        }
        if (uwagi.empty()) return;
        zapisz("join", ksztalt, (werdykt.empty() ? "kept\t" : "FINDING\t") + uwagi);
    }

    // Whether the joins' conditions tie the source to two other tables or more: a table
    // between them (old ids to new ones) whose missing row means no partner to take from.
    static bool pomost(const Zrodla& zr, int n) {
        std::set<int> inne;
        for (const Expr* on : zr.on) {
            std::vector<const Expr*> war, c;
            koniunkcje(on, war);
            for (const Expr* w : war) {
                c.clear();
                kolumny(w, c);
                std::set<int> tu;
                for (const Expr* x : c)
                    if (auto k = zr.kolumna(*x)) tu.insert(k->first);
                if (!tu.count(n)) continue;
                for (int t : tu)
                    if (t != n) inne.insert(t);
            }
        }
        return inne.size() >= 2;
    }

    // Whether a relation makes the source the partner every row of the figures' tables has.
    static bool relacja(const Zrodla& zr, int partner, const std::set<int>& figury) {
        const std::string p = duze(zr.z[static_cast<size_t>(partner)].t->name);
        for (int f : figury) {
            const std::string l = duze(zr.z[static_cast<size_t>(f)].t->name);
            bool jest = false;
            for (const auto& r : zr.cat->relations())
                jest = jest || (duze(r.table) == p && duze(r.foreign_table) == l);
            if (!jest) return false;
        }
        return true;
    }

    // Walks a value: marks figure when it sums or carries one (Sum, +, -) over a numeric
    // column; collects in nulle the columns that may be Null there unguarded, in z_figur the
    // sources whose figures it sums.
    static void przejdz(const Expr& e, const Zrodla& zr, bool strzezone, bool& figura,
                        std::set<std::string>& nulle, std::set<int>& z_figur) {
        if (funkcja(e, {"NZ"})) strzezone = true;
        if (funkcja(e, {"IIF"}) && !e.args.empty() && sprawdza_null(*e.args[0])) strzezone = true;
        const bool suma = funkcja(e, {"SUM"});
        const bool dodaje = e.kind == ExprKind::Binary && (e.op == Op::Add || e.op == Op::Sub);
        if (suma || dodaje) {
            std::vector<std::pair<Kolumna, bool>> k;
            for (const auto& a : e.args) plynie(*a, zr, strzezone, k);
            for (const auto& [x, strzezona] : k) {
                figura = true;
                z_figur.insert(x.first);
                if (!strzezona && zr.moze_null(x)) nulle.insert(zr.nazwa(x));
            }
        }
        for (const auto& a : e.args) przejdz(*a, zr, strzezone, figura, nulle, z_figur);
    }

    static bool ma_sume(const Expr& e) {
        if (funkcja(e, {"SUM"})) return true;
        for (const auto& a : e.args)
            if (ma_sume(*a)) return true;
        return false;
    }

    static bool sprawdza_null(const Expr& e) {
        if (e.kind == ExprKind::IsNull || funkcja(e, {"ISNULL"})) return true;
        for (const auto& a : e.args)
            if (sprawdza_null(*a)) return true;
        return false;
    }

    // The numeric columns whose Null makes the value Null (through arithmetic and the
    // conversions that keep a Null), each with whether a Nz or an IIf(IsNull) guards it.
    static void plynie(const Expr& e, const Zrodla& zr, bool strzezone,
                       std::vector<std::pair<Kolumna, bool>>& out) {
        if (e.kind == ExprKind::Column) {
            if (auto k = zr.kolumna(e); k && droga::liczbowa(zr.info(*k)->type))
                out.emplace_back(*k, strzezone);
            return;
        }
        if (funkcja(e, {"NZ"}) && !e.args.empty()) return plynie(*e.args[0], zr, true, out);
        if (funkcja(e, {"IIF"}) && e.args.size() == 3) {
            const bool s = strzezone || sprawdza_null(*e.args[0]);
            for (size_t i = 1; i < 3; ++i) plynie(*e.args[i], zr, s, out);
            return;
        }
        const bool arytm =
            (e.kind == ExprKind::Unary && e.op != Op::Not) ||
            (e.kind == ExprKind::Binary &&
             (e.op == Op::Add || e.op == Op::Sub || e.op == Op::Mul || e.op == Op::Div ||
              e.op == Op::IntDiv || e.op == Op::Mod || e.op == Op::Pow)) ||
            funkcja(e,
                    {"CCUR", "CDBL", "CSNG", "CLNG", "CINT", "ROUND", "INT", "FIX", "ABS", "SUM"});
        if (!arytm) return;
        for (const auto& a : e.args) plynie(*a, zr, strzezone, out);
    }

    void zapisz(const std::string& rodzaj, const std::string& ksztalt, const std::string& w) {
        const size_t t = w.find('\t');
        dopisz(krok_, rodzaj, ksztalt,
               {w.substr(0, t), t == std::string::npos ? "" : w.substr(t + 1)});
    }

    void dopisz(int krok, const std::string& rodzaj, const std::string& ksztalt, Wpis w) {
        auto [it, nowy] = wpisy_.emplace(std::make_tuple(krok, rodzaj, ksztalt), w);
        if (!nowy && w.werdykt == "FINDING") it->second = w;
    }

    std::string plik_;
    pokrycie::Nieosiagalne wyjatki_;
    int krok_ = -1;
    // The recordsets open: their order's verdict, that of the id they take the highest of,
    // and whether they ask for an order or for their first rows.
    struct Odczyt {
        std::string porzadek, najnowszy;
        bool kolejnosc = false;
        // Per table read: the columns its WHERE sets equal to constants and whether they
        // cover a unique index at this step; the kinds of the rows written through it.
        std::map<std::string, Zapis> naglowki;
        std::map<std::string, std::set<char>> zapisane;
    };
    std::unordered_map<std::string, Odczyt> otwarte_;
    std::set<std::string> zaczete_;
    std::set<std::string> puste_;
    std::map<std::string, std::set<std::string>>
        zakresy_;  // per UPDATE's tables and WHERE  // the tables the step made or emptied (in
                   // capitals)
    std::map<std::tuple<int, std::string, std::string>, Wpis> wpisy_;
    std::map<std::pair<int, std::string>, Zapis> zapisy_;
    std::map<std::string, std::set<std::vector<std::string>>> klucze_;
    std::map<int, std::set<std::string>> czytane_;
    // Per step and table: the rows it adds (their literal values).
    std::map<int, std::map<std::string, std::vector<Wiersz>>> dodane_wiersze_;

    void dodaj_wiersz(const std::string& tabela, Wiersz w) {
        auto& d = dodane_wiersze_[krok_][tabela];
        if (d.size() < 1000 && !w.empty()) d.push_back(std::move(w));
    }

    // Whether a write's constants are the values of the one row the step adds to its
    // table with them (rows of a kind rewritten are many).
    bool dodaje(int krok, const Zapis& z) {
        for (const Wiersz& w : z.wartosci) {
            int ile = 0;
            for (const Wiersz& d : dodane_wiersze_[krok][z.tabela]) {
                bool rowne = w.size() == z.kolumny.size();
                for (const auto& [k, v] : w) rowne = rowne && d.count(k) && d.at(k) == v;
                ile += rowne;
            }
            if (ile == 1) return true;
        }
        return false;
    }
    std::map<std::string, int> rozmiary_;   // "TABLE.COLUMN" (capitals): its text's width
    std::map<std::string, int> przyciete_;  // those the step cut to a width
    std::set<std::string> dodane_;          // those the step added
};

Obserwator* g_obserwator = nullptr;

void Koniec() {
    if (g_obserwator == nullptr) return;
    jet::set_shape_observer(nullptr);
    g_obserwator->koniec();
    g_obserwator = nullptr;
}

}  // namespace

Wstrzymaj::Wstrzymaj() {
    jet::set_shape_observer(nullptr);
}

Wstrzymaj::~Wstrzymaj() {
    jet::set_shape_observer(g_obserwator);
}

void Start(const std::string& plik, const std::string& wyjatki) {
    g_obserwator = new Obserwator(plik, wyjatki);
    jet::set_shape_observer(g_obserwator);
    std::at_quick_exit(Koniec);  // the program ends by quick_exit
    std::atexit(Koniec);
}

}  // namespace ksztalt
