// The suite's references derived on the road, and the table of references checked against
// them (odwolania.h).
#include "odwolania.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/stan.h"
#include "driver/odwolania.h"
#include "droga.h"
#include "jet/catalog.h"
#include "jet/sql/ast.h"
#include "jet/text.h"
#include "jet/trace.h"
#include "pokrycie.h"

namespace odwolania {

namespace {

using jet::sql::Expr;
using jet::sql::ExprKind;

std::string duze(std::string_view s) {
    return jet::text::upper(s);
}

// Whether a unique index or the primary key holds the column alone.
bool klucz_sam(const jet::TableInfo& t, const jet::ColumnInfo& c) {
    for (const auto& ix : t.indexes)
        if ((ix.unique || ix.primary) && ix.columns.size() == 1 && ix.columns[0].column_id == c.id)
            return true;
    return false;
}

// The tables a statement reads, under their aliases (in capitals).
struct Zrodla {
    std::vector<std::pair<std::string, const jet::TableInfo*>> z;
    std::vector<const Expr*> warunki;  // the joins' ON, the WHERE, the HAVING

    void dodaj(const jet::sql::TableRef& r, const jet::Catalog& c) {
        if (r.kind == jet::sql::TableRef::Kind::Join) {
            dodaj(*r.left, c);
            dodaj(*r.right, c);
            if (r.on) warunki.push_back(r.on.get());
            return;
        }
        const jet::TableInfo* t = r.database.empty() ? c.table(r.name) : nullptr;
        if (t != nullptr) z.emplace_back(duze(r.alias.empty() ? r.name : r.alias), t);
    }

    // The source and column that a column names: nullopt when no source, or more than one
    // unqualified, has it.
    std::optional<std::pair<size_t, const jet::ColumnInfo*>> kolumna(const Expr& e) const {
        if (e.kind != ExprKind::Column) return std::nullopt;
        const std::string q = duze(e.qualifier);
        std::optional<std::pair<size_t, const jet::ColumnInfo*>> out;
        for (size_t i = 0; i < z.size(); ++i) {
            if (!q.empty() && q != z[i].first && q != duze(z[i].second->name)) continue;
            if (const jet::ColumnInfo* c = z[i].second->column(e.text)) {
                if (out) return std::nullopt;
                out.emplace(i, c);
            }
        }
        return out;
    }
};

// A reference found: "TABLE.COLUMN -> TABLE.KEY" in the catalog's spelling.
struct Znalezione {
    std::string tabela, kolumna, cel, id;
    std::string nazwa() const { return tabela + "." + kolumna + " -> " + cel + "." + id; }
};

class Obserwator : public jet::ShapeObserver {
  public:
    Obserwator(std::string plik, const std::string& pominiete) : plik_(std::move(plik)) {
        std::ifstream in(pominiete);
        for (std::string l; std::getline(in, l);) {
            const size_t h = l.find(" #");
            if (l.empty() || l[0] == '#' || h == std::string::npos) continue;
            std::string k = l.substr(0, h);
            while (!k.empty() && k.back() == ' ') k.pop_back();
            pominiete_.insert(duze(k));
        }
    }

    void statement(std::string_view sql, const jet::sql::Statement& st, const jet::Catalog& c,
                   bool query) override {
        // The values the program read since the statement before count for this one only.
        const auto odczytane = std::exchange(odczytane_, {});
        if (Krok_Konwersji != krok_) {
            zamknij_krok();
            krok_ = Krok_Konwersji;
            droga_.push_back(krok_);
        }
        // A table that no longer stands: the step's work table.
        for (auto& [k, z] : kroku_) z.second = stoi(z.first, c);
        // The catalog's relations of one column to a key.
        for (const jet::RelationInfo& r : c.relations()) {
            const jet::TableInfo* t = c.table(r.foreign_table);
            const jet::TableInfo* cel = c.table(r.table);
            if (r.columns.size() != 1 || r.foreign_columns.size() != 1 || !t || !cel) continue;
            const jet::ColumnInfo* x = t->column(r.foreign_columns[0]);
            const jet::ColumnInfo* k = cel->column(r.columns[0]);
            if (x && k) dodaj(*t, *x, *cel, *k, "relation " + r.name);
        }
        Zrodla zr;
        auto zrodla = [&](const std::vector<jet::sql::TableRefPtr>& from) {
            for (const auto& r : from) zr.dodaj(*r, c);
        };
        if (const auto* s = std::get_if<jet::sql::Select>(&st)) {
            zrodla(s->from);
            zr.warunki.push_back(s->where.get());
            zr.warunki.push_back(s->having.get());
            if (query) pola(sql, *s, zr);
        } else if (const auto* i = std::get_if<jet::sql::Insert>(&st); i && i->select) {
            zrodla(i->select->from);
            zr.warunki.push_back(i->select->where.get());
            zr.warunki.push_back(i->select->having.get());
            // A column given another table's key names its row.
            const jet::TableInfo* t = i->database.empty() ? c.table(i->table) : nullptr;
            for (size_t n = 0; t && n < i->columns.size() && n < i->select->items.size(); ++n)
                if (const auto k = zr.kolumna(*i->select->items[n].expr))
                    if (const jet::ColumnInfo* x = t->column(i->columns[n]))
                        dodaj(*t, *x, *zr.z[k->first].second, *k->second, sql);
        } else if (const auto* u = std::get_if<jet::sql::Update>(&st)) {
            zr.dodaj(*u->target, c);
            zr.warunki.push_back(u->where.get());
            for (const auto& a : u->assignments) {
                Expr e(ExprKind::Column);
                e.qualifier = a.qualifier;
                e.text = a.column;
                const auto x = zr.kolumna(e), k = zr.kolumna(*a.value);
                if (x && k && x->first != k->first)
                    dodaj(*zr.z[x->first].second, *x->second, *zr.z[k->first].second, *k->second,
                          sql);
            }
        } else if (const auto* d = std::get_if<jet::sql::Delete>(&st)) {
            zrodla(d->from);
            zr.warunki.push_back(d->where.get());
        } else {
            return;
        }
        for (const Expr* w : zr.warunki) wyszukania(w, zr, c, odczytane, sql);
        if (zr.z.size() < 2) return;
        for (const Expr* w : zr.warunki) rownosci(w, zr, sql);
    }

    void closed(std::string_view, bool, bool) override {}

    void field_read(std::string_view sql, int pole, const jet::Value& v) override {
        const auto q = pola_.find(sql);
        if (q == pola_.end() || pole < 0 || static_cast<size_t>(pole) >= q->second.size() ||
            q->second[static_cast<size_t>(pole)].first.empty())
            return;
        if (const std::string w = wartosc(v); !w.empty())
            odczytane_[w].insert(q->second[static_cast<size_t>(pole)]);
    }

    void koniec() {
        zamknij_krok();
        std::ofstream out(plik_);
        for (const auto& [k, d] : wyprowadzone_) {
            std::set<int> brak;
            for (const int s : d.kroki)
                if (!w_tabeli(d.o, s)) brak.insert(s);
            const std::string kroki = zakresy(d.kroki);
            const std::string werdykt = brak.empty() ? "in the table"
                                        : stwierdzone(d.o)
                                            ? "stated"
                                            : "FINDING not in the table at " + zakresy(brak);
            out << "derived\t" << d.o.nazwa() << '\t' << werdykt << '\t' << kroki << '\t'
                << d.ksztalt << '\n';
        }
        for (const Odwolanie_Pakietu& o : Odwolania_Pakietu()) {
            const Znalezione z{std::string(o.tabela), std::string(o.kolumna), std::string(o.cel),
                               std::string(o.id)};
            bool jest = false;
            if (auto it = wyprowadzone_.find(duze(z.nazwa())); it != wyprowadzone_.end())
                for (const int s : it->second.kroki)
                    jest = jest || (o.od_kroku <= s && (o.do_kroku == 0 || s < o.do_kroku));
            const std::string werdykt = jest             ? "derived"
                                        : stwierdzone(z) ? "stated"
                                                         : "FINDING not derived";
            out << "table\t" << z.nazwa() << '\t' << werdykt << '\t'
                << (o.od_kroku ? droga::wersja(o.od_kroku) : "") << "-"
                << (o.do_kroku ? droga::wersja(o.do_kroku) : "") << '\n';
        }
        for (const Odwolanie_Wedlug_Rodzaju& o : Odwolania_Wedlug_Rodzaju()) {
            bool jest = false;
            for (const auto& [k, d] : wyprowadzone_)
                if (jet::text::same_name(o.tabela, d.o.tabela) &&
                    jet::text::same_name(o.kolumna, d.o.kolumna))
                    for (const int s : d.kroki)
                        jest = jest || (o.od_kroku <= s && (o.do_kroku == 0 || s < o.do_kroku));
            out << "table\t" << o.tabela << "." << o.kolumna << " -> *\t"
                << (jest ? "derived" : "FINDING not derived") << '\t'
                << (o.od_kroku ? droga::wersja(o.od_kroku) : "") << "-"
                << (o.do_kroku ? droga::wersja(o.do_kroku) : "") << '\n';
        }
    }

  private:
    // A value as a look-up compares it: a whole number but 0 (an id of none), or a text
    // that is not empty, each marked by its kind; "" for any other.
    static std::string wartosc(const jet::Value& v) {
        using K = jet::Value::Kind;
        switch (v.kind()) {
            case K::Byte:
            case K::Integer:
            case K::Long:
                return v.raw_int() == 0 ? "" : "n" + std::to_string(v.raw_int());
            case K::Text:
                return v.raw_text().empty() ? "" : "t" + duze(v.raw_text());
            default:
                return "";
        }
    }
    static std::string wartosc(const Expr& e) {
        if (e.kind == ExprKind::Integer) return e.integer == 0 ? "" : "n" + std::to_string(e.integer);
        if (e.kind == ExprKind::String) return e.text.empty() ? "" : "t" + duze(e.text);
        return "";
    }

    // The table and column of each field of a query opened for its rows (none for a field
    // that is not a column of one of its tables); a list with "*" in it is not known.
    void pola(std::string_view sql, const jet::sql::Select& s, const Zrodla& zr) {
        std::vector<std::pair<std::string, std::string>> p;
        for (const auto& item : s.items) {
            if (item.expr->kind == ExprKind::Star) return;
            const auto k = zr.kolumna(*item.expr);
            p.emplace_back(k ? zr.z[k->first].second->name : "", k ? k->second->name : "");
        }
        pola_[std::string(sql)] = std::move(p);
    }

    // The equalities of a condition, at any depth, of a table's key and a value that one
    // column of another table gave the program since the statement before: a look-up.
    void wyszukania(const Expr* e, const Zrodla& zr, const jet::Catalog& c,
                    const std::map<std::string, std::set<std::pair<std::string, std::string>>>& odczytane,
                    std::string_view sql) {
        if (e == nullptr || odczytane.empty()) return;
        for (const auto& a : e->args) wyszukania(a.get(), zr, c, odczytane, sql);
        if (e->kind != ExprKind::Binary || e->op != jet::sql::Op::Eq) return;
        for (const auto& [kol, lit] : {std::pair{0, 1}, std::pair{1, 0}}) {
            const auto k = zr.kolumna(*e->args[static_cast<size_t>(kol)]);
            const auto o = odczytane.find(wartosc(*e->args[static_cast<size_t>(lit)]));
            if (!k || o == odczytane.end() || o->second.size() != 1) continue;
            const auto& [tabela, kolumna] = *o->second.begin();
            const jet::TableInfo* t = c.table(tabela);
            const jet::ColumnInfo* x = t ? t->column(kolumna) : nullptr;
            if (x && !jet::text::same_name(t->name, zr.z[k->first].second->name))
                dodaj(*t, *x, *zr.z[k->first].second, *k->second, sql);
        }
    }

    // The equalities of a condition, at any depth, of a column and another source's key.
    void rownosci(const Expr* e, const Zrodla& zr, std::string_view sql) {
        if (e == nullptr) return;
        for (const auto& a : e->args) rownosci(a.get(), zr, sql);
        if (e->kind != ExprKind::Binary || e->op != jet::sql::Op::Eq) return;
        const auto a = zr.kolumna(*e->args[0]), b = zr.kolumna(*e->args[1]);
        if (!a || !b || a->first == b->first) return;
        for (const auto& [x, k] : {std::pair{*a, *b}, std::pair{*b, *a}})
            dodaj(*zr.z[x.first].second, *x.second, *zr.z[k.first].second, *k.second, sql);
    }

    // The column x of t names a row of cel by its key k: unless x is alone its own table's
    // key (it names its own row).
    void dodaj(const jet::TableInfo& t, const jet::ColumnInfo& x, const jet::TableInfo& cel,
               const jet::ColumnInfo& k, std::string_view skad) {
        if (!klucz_sam(cel, k) || klucz_sam(t, x)) return;
        const Znalezione z{t.name, x.name, cel.name, k.name};
        kroku_.emplace(duze(z.nazwa()), std::make_pair(z, true));
        auto& d = wyprowadzone_[duze(z.nazwa())];
        if (d.ksztalt.empty()) {
            d.o = z;
            d.ksztalt = pokrycie::Bez_Literalow(skad);
        }
    }

    // Steps as text, each run of steps that follow on the road as "FIRST-LAST".
    std::string zakresy(const std::set<int>& kroki) const {
        std::string out;
        for (auto i = kroki.begin(); i != kroki.end();) {
            auto j = i;
            for (auto n = std::next(j); n != kroki.end(); j = n, n = std::next(n)) {
                const auto r = std::find(droga_.begin(), droga_.end(), *j);
                if (r == droga_.end() || std::next(r) == droga_.end() || *std::next(r) != *n) break;
            }
            out += (out.empty() ? "" : ",") + droga::wersja(*i) +
                   (j == i ? "" : "-" + droga::wersja(*j));
            i = std::next(j);
        }
        return out;
    }

    // Whether the reference stands in the catalog: both tables, the key still a key and
    // the column not its own table's.
    static bool stoi(const Znalezione& z, const jet::Catalog& c) {
        const jet::TableInfo *t = c.table(z.tabela), *cel = c.table(z.cel);
        const jet::ColumnInfo* x = t ? t->column(z.kolumna) : nullptr;
        const jet::ColumnInfo* k = cel ? cel->column(z.id) : nullptr;
        return x && k && klucz_sam(*cel, *k) && !klucz_sam(*t, *x);
    }

    // The step's references whose tables stand at its end hold from it on.
    void zamknij_krok() {
        for (const auto& [k, z] : kroku_) {
            auto& d = wyprowadzone_[k];
            if (z.second) d.kroki.insert(krok_);
            if (d.kroki.empty()) wyprowadzone_.erase(k);
        }
        kroku_.clear();
    }

    bool stwierdzone(const Znalezione& z) const { return pominiete_.count(duze(z.nazwa())) > 0; }

    // Whether a line of the table holds the reference at step krok.
    static bool w_tabeli(const Znalezione& z, int krok) {
        for (const Odwolanie_Wedlug_Rodzaju& o : Odwolania_Wedlug_Rodzaju())
            if (o.od_kroku <= krok && (o.do_kroku == 0 || krok < o.do_kroku) &&
                jet::text::same_name(o.tabela, z.tabela) &&
                jet::text::same_name(o.kolumna, z.kolumna))
                return true;
        for (const Odwolanie_Pakietu& o : Odwolania_Pakietu())
            if (o.od_kroku <= krok && (o.do_kroku == 0 || krok < o.do_kroku) &&
                jet::text::same_name(o.tabela, z.tabela) &&
                jet::text::same_name(o.kolumna, z.kolumna) && jet::text::same_name(o.cel, z.cel) &&
                jet::text::same_name(o.id, z.id))
                return true;
        return false;
    }

    struct Wyprowadzone {
        Znalezione o;
        std::set<int> kroki;
        std::string ksztalt;  // the first statement that named it
    };
    std::string plik_;
    std::set<std::string> pominiete_;
    int krok_ = -1;
    std::vector<int> droga_;  // the steps in the order of the road
    std::map<std::string, std::pair<Znalezione, bool>>
        kroku_;  // the step's, and whether they stand
    std::map<std::string, Wyprowadzone> wyprowadzone_;
    // The fields of the queries opened for their rows, and the values the program read
    // since the statement before with the columns that gave them.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>, std::less<>> pola_;
    std::map<std::string, std::set<std::pair<std::string, std::string>>> odczytane_;
};

}  // namespace

void Start(const std::string& plik, const std::string& pominiete) {
    static Obserwator* o = nullptr;
    o = new Obserwator(plik, pominiete);
    jet::set_shape_observer(o);
    // At the program's end (it ends by quick_exit), once.
    const auto koniec = [] {
        if (o == nullptr) return;
        jet::set_shape_observer(nullptr);
        std::exchange(o, nullptr)->koniec();
    };
    std::at_quick_exit(koniec);
    std::atexit(koniec);
}

}  // namespace odwolania
