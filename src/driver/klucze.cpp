#include "driver/klucze.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "ado/ado.h"
#include "db/komunikaty.h"
#include "db/naprawy.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "driver/odwolania.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/sql/ast.h"
#include "jet/sql/parser.h"
#include "jet/text.h"
#include "jet/value.h"

namespace {

constexpr Regula_Klucza kReguly[] = {
#define ZWEZENIE(...)
#define KLUCZ(krok_, tabela_, pola_, sposob_, powod_, ...) \
    {.krok = krok_,                                        \
     .tabela = tabela_,                                    \
     .pola = pola_,                                        \
     .sposob = Sposob_Klucza::sposob_,                     \
     .powod = powod_ __VA_OPT__(, ) __VA_ARGS__},
#include "driver/klucze.inc"
#undef KLUCZ
#undef ZWEZENIE
    {0, "", "", Sposob_Klucza::Stop, ""},
};

// A text column that step krok makes narrower, or moves into a column of rozmiar
// characters.
struct Zwezenie {
    int krok;
    std::string_view tabela, kolumna;
    int rozmiar;
};
constexpr Zwezenie kZwezenia[] = {
#define KLUCZ(...)
#define ZWEZENIE(krok_, tabela_, kolumna_, rozmiar_) {krok_, tabela_, kolumna_, rozmiar_},
#include "driver/klucze.inc"
#undef KLUCZ
#undef ZWEZENIE
};

// A name without its brackets, upper-cased.
std::string nazwa(std::string_view n) {
    while (!n.empty() && (n.front() == ' ' || n.front() == '[')) n.remove_prefix(1);
    while (!n.empty() && (n.back() == ' ' || n.back() == ']')) n.remove_suffix(1);
    return jet::text::upper(n);
}

// The key's columns, each without its order mark.
std::vector<std::string> kolumny(std::string_view pola) {
    std::vector<std::string> out;
    for (size_t p = 0; p <= pola.size();) {
        const size_t q = std::min(pola.find(',', p), pola.size());
        std::string k = nazwa(pola.substr(p, q - p));
        for (const std::string_view znak : {" ASC", " DESC"})
            if (k.size() > znak.size() && k.ends_with(znak))
                k = nazwa(k.substr(0, k.size() - znak.size()));
        if (!k.empty()) out.push_back(k);
        p = q + 1;
    }
    return out;
}

using jet::Value;

bool pusta(const Value& v) {
    return v.is_null() || v.is_empty();
}

// Jet's order of key values, a Null first: <0, 0, >0.
int porownaj(const Value& a, const Value& b) {
    if (pusta(a) || pusta(b)) return static_cast<int>(pusta(b)) - static_cast<int>(pusta(a));
    return jet::compare(a, b);
}

// Whether two values of one column are the same as stored: both Null, the same text (case
// too), or equal numbers or dates.
bool ta_sama(const Value& a, const Value& b) {
    if (pusta(a) || pusta(b)) return pusta(a) && pusta(b);
    if (a.is_text() || b.is_text())
        return a.is_text() && b.is_text() && a.raw_text() == b.raw_text();
    return jet::compare(a, b) == 0;
}

// A value as the Log names it: Null, a text in quotes, else its text.
std::string opis(const Value& v) {
    if (pusta(v)) return "Null";
    return v.is_text() ? "'" + v.raw_text() + "'" : v.to_text();
}

// The statement opened in a recordset of the mode (kOtworzEdycja or kOtworzOdczyt), by
// DbOtwórzRS with its repeats for a lost or locked file; where it still fails, once more
// with the failure raised, as a write's is: a rule never decides on rows it could not read.
std::unique_ptr<ado::Recordset> otworz(const std::string& polecenie, int32_t tryb) {
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzRS(rs, polecenie, tryb).empty()) return rs;
    ZamknijRS(rs);
    rs = std::make_unique<ado::Recordset>();
    rs->Open(polecenie, polaczenie(), ado::adOpenStatic,
             tryb == kOtworzEdycja ? ado::adLockOptimistic : ado::adLockReadOnly, -1);
    return rs;
}

// The groups of rows that a Log line lists; the others are counted.
constexpr size_t kWiecej = 5;

// The fitting of one key's rows by its line (see klucze.h).
class Dopasowanie {
  public:
    // krok: the step being run, which the line's (a later step's statement that makes the
    // rows repeat the key) or its own.
    Dopasowanie(const Regula_Klucza& r, const jet::sql::CreateIndex& indeks, int krok)
        : r_(r), indeks_(indeks), T_("[" + indeks.table + "]"), krok_(krok) {}

    Decyzja_Klucza wykonaj() {
        for (bool poszerzona = false;; poszerzona = true) {
            std::unique_ptr<ado::Recordset> rs = otworz("SELECT * FROM " + T_, kOtworzEdycja);
            Decyzja_Klucza d = czytaj(*rs);
            if (d.los != Los_Klucza::Bez_Reguly) d = planuj();
            if (d.los != Los_Klucza::Bez_Reguly && za_dlugi_ > 0) {
                ZamknijRS(rs);
                // The text columns that take the joined texts or suffixes are widened as
                // the executors widen them for a value too long, once.
                if (poszerzona || za_dlugi_ > kTekstMaks)
                    return {Los_Klucza::Bez_Reguly, "tekst po połączeniu lub z przyrostkiem ma " +
                                                        std::to_string(za_dlugi_) +
                                                        " znaków, więcej niż mieści kolumna"};
                const std::string baza = "[" + Sciezka_Bazy + "]";
                if (!Poszerz_Pola_Tekstowe(baza, T_, 0)) Poszerz_Pola_Tekstowe(baza, T_, -1);
                continue;
            }
            if (d.los != Los_Klucza::Bez_Reguly) zapisz(*rs);
            ZamknijRS(rs);
            if (d.los != Los_Klucza::Bez_Reguly) loguj(d.los);
            return d;
        }
    }

  private:
    static constexpr int kTekstMaks = 255;
    static constexpr const char* kRozne =
        "wiersze o tym samym kluczu różnią się w kolumnach, których reguła klucza nie sumuje "
        "ani nie łączy";

    struct Kolumna {
        std::string nazwa;
        jet::DataType typ = jet::DataType::Text;
        int rozmiar = 0;
        bool licznik = false;
    };
    struct Wiersz {
        std::vector<Value> stare, nowe;
        bool usun = false;
        std::vector<std::string> zmiany;  // what became of the row, for the Log
    };
    struct Odwolanie {
        size_t kolumna;
        std::string tabela, id;
    };

    // The columns and rows of the open recordset; a reason when the line names a column
    // that the table lacks.
    Decyzja_Klucza czytaj(ado::Recordset& rs) {
        kolumny_.clear();
        wiersze_.clear();
        przepiecia_.clear();
        za_dlugi_ = 0;
        cena_niemozliwa_.clear();
        naprawa_ceny_.clear();
        const jet::TableInfo* t = polaczenie().database().catalog().table(indeks_.table);
        for (int i = 0; i < rs.FieldCount(); ++i) {
            Kolumna k{rs.Fields(i).Name()};
            if (const jet::ColumnInfo* c = t ? t->column(k.nazwa) : nullptr)
                k = {c->name, c->type, c->size, c->counter};
            kolumny_.push_back(std::move(k));
        }
        for (; !rs.Eof(); rs.MoveNext()) {
            Wiersz w;
            for (int i = 0; i < rs.FieldCount(); ++i) w.stare.push_back(rs.Fields(i).value());
            w.nowe = w.stare;
            wiersze_.push_back(std::move(w));
        }
        licznik_.reset();
        for (size_t i = 0; i < kolumny_.size(); ++i)
            if (kolumny_[i].licznik) licznik_ = i;
        // A column of the key, of the later key or for the suffix that the table lacks is
        // a fault of the line; one to sum, join or take as a reference is left out (its
        // values must then be the same in rows that become one, or its Null stops).
        std::string brak;
        const auto lista = [&](std::string_view pola, bool wymagane) {
            std::vector<size_t> out;
            for (const std::string& n : ::kolumny(pola)) {
                if (const std::optional<size_t> i = kolumna(n))
                    out.push_back(*i);
                else if (wymagane && brak.empty())
                    brak = n;
            }
            return out;
        };
        std::string pola;
        for (const jet::sql::IndexColumn& c : indeks_.columns) pola += c.name + ",";
        klucz_ = lista(pola, true);
        ilosci_ = lista(r_.ilosci, false);
        wartosci_ = lista(r_.wartosci, false);
        teksty_ = lista(r_.teksty, false);
        wlasne_id_ = lista(r_.wlasne_id, false);
        pierwszy_ = lista(r_.pierwszy, true);
        zera_ = lista(r_.zera, false);
        przyrostek_ = lista(r_.przyrostek, true);
        ceny_ = lista(r_.ceny, true);
        dalej_ = lista(r_.pola_dalej, true);
        odwolania_.clear();
        for (const std::string& o : ::kolumny(r_.odwolania)) {
            const std::optional<size_t> i = kolumna(o);
            if (!i) continue;
            const Odwolanie_Pakietu* p = Odwolanie_Kolumny(krok_, indeks_.table, o);
            odwolania_.push_back({*i, p ? std::string(p->cel) : "", p ? std::string(p->id) : ""});
        }
        if (!brak.empty())
            return {Los_Klucza::Bez_Reguly,
                    "reguła klucza wymienia kolumnę " + brak + ", której tabela " + T_ + " nie ma"};
        return {Los_Klucza::Dopasowany, ""};
    }

    std::optional<size_t> kolumna(std::string_view n) const {
        for (size_t i = 0; i < kolumny_.size(); ++i)
            if (jet::text::same_name(kolumny_[i].nazwa, n)) return i;
        return std::nullopt;
    }
    static bool w(const std::vector<size_t>& lista, size_t i) {
        return std::find(lista.begin(), lista.end(), i) != lista.end();
    }

    // The plan: every row's new values and whether it goes, decided in memory.
    Decyzja_Klucza planuj() {
        const bool bez_pustych = indeks_.option == jet::sql::IndexOption::Primary ||
                                 indeks_.option == jet::sql::IndexOption::DisallowNull;
        std::vector<bool> lamie(wiersze_.size(), false);
        if (bez_pustych) {
            for (size_t i = 0; i < wiersze_.size(); ++i)
                for (const size_t k : klucz_) {
                    if (!pusta(wiersze_[i].nowe[k])) continue;
                    lamie[i] = true;
                    if (std::string powod = nadaj_wartosc(i, k); !powod.empty())
                        return {Los_Klucza::Bez_Reguly, powod};
                }
        }
        for (const std::vector<size_t>& g : powtorzenia())
            for (const size_t i : g) lamie[i] = true;
        for (const Odwolanie& o : odwolania_) zeruj_nieistniejace(o, lamie);
        // A later step that makes this very key merges its rows itself before it: they
        // are all left to it.
        const bool ten_sam_dalej =
            r_.sposob == Sposob_Klucza::Dalej &&
            std::is_permutation(dalej_.begin(), dalej_.end(), klucz_.begin(), klucz_.end());
        if (!ten_sam_dalej)
            for (const std::vector<size_t>& g : powtorzenia()) scal(g);
        if (!cena_niemozliwa_.empty())
            return powtorzenie({Los_Klucza::Bez_Reguly, cena_niemozliwa_, naprawa_ceny_});
        const std::vector<std::vector<size_t>> zostaly = powtorzenia();
        if (zostaly.empty()) return {Los_Klucza::Dopasowany, ""};
        switch (r_.sposob) {
            case Sposob_Klucza::Dalej:
                // Rows that repeat the later key too, or any, where that key is already
                // made (a later step's statement made them repeat), stay apart by what the
                // user mends: the columns in which the lines differ.
                if (ten_sam_dalej && r_.krok_dalej > krok_) {
                    odlozone_ = zostaly;
                    return {Los_Klucza::Odlozony, ""};
                }
                for (const std::vector<size_t>& g : zostaly)
                    for (size_t a = 0; a < g.size(); ++a) {
                        std::vector<size_t> te{g[a]};
                        for (size_t b = a + 1; b < g.size(); ++b)
                            if (rowne(g[a], g[b], dalej_)) te.push_back(g[b]);
                        if (te.size() > 1 || r_.krok_dalej <= krok_)
                            return powtorzenie(
                                {Los_Klucza::Bez_Reguly,
                                 r_.krok_dalej > krok_
                                     ? "wiersze powtarzają też klucz (" +
                                           std::string(r_.pola_dalej) + ") kroku " +
                                           Wersja_Kroku(r_.krok_dalej)
                                     : kRozne,
                                 naprawa_linii(r_.krok_dalej > krok_ ? te : g, std::nullopt)});
                    }
                odlozone_ = zostaly;
                return {Los_Klucza::Odlozony, ""};
            case Sposob_Klucza::Przyrostek:
                return nadaj_przyrostki(zostaly);
            case Sposob_Klucza::Nowy_Numer:
                if (wlasne_id_.size() != 1 || !w(klucz_, wlasne_id_[0]))
                    return {Los_Klucza::Bez_Reguly,
                            "nowy numer wymaga kolumny własnego numeru w kluczu"};
                return nadaj_numery(zostaly, wlasne_id_[0]);
            default:
                return powtorzenie(
                    {Los_Klucza::Bez_Reguly, kRozne, naprawa_linii(zostaly.front(), std::nullopt)},
                    zostaly.front());
        }
    }

    // d, a stop on rows that repeat the key; where the rows of g repeat it as stored, the
    // mend names them.
    Decyzja_Klucza powtorzenie(Decyzja_Klucza d, const std::vector<size_t>& g = {}) const {
        d.powtorzenie = true;
        for (const size_t k : klucz_) {
            const Value& v = g.empty() ? Value::null() : wiersze_[g.front()].stare[k];
            if (pusta(v) || !std::all_of(g.begin(), g.end(), [&](size_t i) {
                    return ta_sama(wiersze_[i].stare[k], v);
                })) {
                d.grupa.clear();
                return d;
            }
            d.grupa +=
                (d.grupa.empty() ? "[" : " AND [") + kolumny_[k].nazwa + "] = " + Literal_SQL(v);
        }
        return d;
    }

    // Gives the Null key column k of row i a value by the column's kind; "" or why not.
    std::string nadaj_wartosc(size_t i, size_t k) {
        const Kolumna& c = kolumny_[k];
        Wiersz& wiersz = wiersze_[i];
        std::string dopisek;
        if (const std::optional<std::string> d = domyslna(c.nazwa)) {
            wiersz.nowe[k] = Value::text(*d).coerce_to(c.typ, c.rozmiar);
        } else if (std::any_of(odwolania_.begin(), odwolania_.end(),
                               [&](const Odwolanie& o) { return o.kolumna == k; })) {
            wiersz.nowe[k] = Value::long_(0);
            dopisek = " (nie wskazuje żadnego wiersza)";
        } else if (w(wlasne_id_, k) && c.typ == jet::DataType::Text) {
            // A name by which other rows name the row: one that no row holds, by the
            // suffix rule, which nothing names, as nothing named the row without one.
            std::unordered_set<std::string> z = zajete(k);
            wiersz.nowe[k] = Value::text(wolna_nazwa(k, "", z));
            dopisek = " (nowa nazwa)";
        } else if (w(wlasne_id_, k)) {
            wiersz.nowe[k] = Value::long_(najwyzszy(k) + 1);
            dopisek = " (nowy numer)";
        } else if (w(zera_, k) || w(ilosci_, k) || w(wartosci_, k) ||
                   c.typ == jet::DataType::Currency || c.typ == jet::DataType::Single ||
                   c.typ == jet::DataType::Double) {
            wiersz.nowe[k] = Value::long_(0);
        } else if (c.typ == jet::DataType::Text || c.typ == jet::DataType::Memo) {
            wiersz.nowe[k] = Value::text("");
        } else {
            return "kolumna " + c.nazwa + " bez wartości, a żadna reguła nie daje jej wartości";
        }
        wiersz.zmiany.push_back(c.nazwa + " Null -> " + opis(wiersz.nowe[k]) + dopisek);
        return "";
    }

    // The value that the line gives a Null of the column n (domyslne), if any.
    std::optional<std::string> domyslna(std::string_view n) const {
        std::string_view d = r_.domyslne;
        while (!d.empty()) {
            const size_t q = std::min(d.find(','), d.size()), rowne = d.find('=');
            if (rowne < q && nazwa(d.substr(0, rowne)) == nazwa(n))
                return std::string(d.substr(rowne + 1, q - rowne - 1));
            d.remove_prefix(std::min(q + 1, d.size()));
        }
        return std::nullopt;
    }

    // A reference of a row that breaks the key and names no row of its table names none
    // (0). A table that the database does not have at the step, or that the line does not
    // name, leaves the references as they are; one that cannot be read stops the step.
    void zeruj_nieistniejace(const Odwolanie& o, const std::vector<bool>& lamie) {
        if (o.tabela.empty() || !polaczenie().database().catalog().table(o.tabela)) return;
        std::unique_ptr<ado::Recordset> rs =
            otworz("SELECT DISTINCT [" + o.id + "] FROM [" + o.tabela + "]", kOtworzOdczyt);
        std::vector<Value> id;
        for (; !rs->Eof(); rs->MoveNext())
            if (!pusta(rs->Fields(0).value())) id.push_back(rs->Fields(0).value());
        ZamknijRS(rs);
        const auto mniej = [](const Value& a, const Value& b) { return porownaj(a, b) < 0; };
        std::sort(id.begin(), id.end(), mniej);
        for (size_t i = 0; i < wiersze_.size(); ++i) {
            Value& v = wiersze_[i].nowe[o.kolumna];
            if (!lamie[i] || pusta(v) || ta_sama(v, Value::long_(0)) ||
                std::binary_search(id.begin(), id.end(), v, mniej))
                continue;
            wiersze_[i].zmiany.push_back(kolumny_[o.kolumna].nazwa + " " + opis(v) +
                                         " nie wskazuje wiersza " + o.tabela + " -> 0");
            v = Value::long_(0);
        }
    }

    // Whether rows a and b hold the same in the columns kol.
    bool rowne(size_t a, size_t b, const std::vector<size_t>& kol) const {
        return std::all_of(kol.begin(), kol.end(), [&](size_t k) {
            return porownaj(wiersze_[a].nowe[k], wiersze_[b].nowe[k]) == 0;
        });
    }

    // The rows kept that repeat the key, Nulls apart: groups of two rows or more, each in
    // the order of the counter (the order stored where the table has none).
    std::vector<std::vector<size_t>> powtorzenia() const {
        std::vector<size_t> kolejne;
        for (size_t i = 0; i < wiersze_.size(); ++i)
            if (!wiersze_[i].usun && std::none_of(klucz_.begin(), klucz_.end(), [&](size_t k) {
                    return pusta(wiersze_[i].nowe[k]);
                }))
                kolejne.push_back(i);
        std::stable_sort(kolejne.begin(), kolejne.end(), [&](size_t a, size_t b) {
            for (const size_t k : klucz_)
                if (const int c = porownaj(wiersze_[a].nowe[k], wiersze_[b].nowe[k])) return c < 0;
            return licznik_ &&
                   porownaj(wiersze_[a].nowe[*licznik_], wiersze_[b].nowe[*licznik_]) < 0;
        });
        std::vector<std::vector<size_t>> grupy;
        for (size_t p = 0; p < kolejne.size();) {
            size_t q = p + 1;
            while (q < kolejne.size() && rowne(kolejne[p], kolejne[q], klucz_)) ++q;
            if (q - p > 1) grupy.emplace_back(kolejne.begin() + p, kolejne.begin() + q);
            p = q;
        }
        return grupy;
    }

    // Whether the counter, as read, tells row i from every other row: the table has one,
    // and no other row holds its value.
    bool licznik_wskazuje(size_t i) const {
        if (!licznik_) return false;
        const Value& v = wiersze_[i].stare[*licznik_];
        if (pusta(v)) return false;
        for (size_t j = 0; j < wiersze_.size(); ++j)
            if (j != i && ta_sama(wiersze_[j].stare[*licznik_], v)) return false;
        return true;
    }
    // The row as the Log names it: its key values as they were read, and what tells it
    // from the others: its counter, or where none tells it (no counter, or one that
    // another row holds too) its place in the order stored.
    std::string etykieta(size_t i) const {
        std::string e;
        for (const size_t k : klucz_)
            e += (e.empty() ? "" : ", ") + kolumny_[k].nazwa + " = " + opis(wiersze_[i].stare[k]);
        if (!licznik_wskazuje(i)) return e + ", wiersz " + ktory(i);
        if (!w(klucz_, *licznik_)) e += ", " + ktory(i);
        return e;
    }
    // The row as another row's Log line names it.
    std::string ktory(size_t i) const {
        return licznik_wskazuje(i)
                   ? kolumny_[*licznik_].nazwa + " = " + opis(wiersze_[i].stare[*licznik_])
                   : std::to_string(i + 1) + ". w kolejności zapisu";
    }

    // Which row keeps the value of column k that another row gives up, for its Log line.
    std::string zachowuje(size_t pierwszy, size_t k) const {
        return "; " + opis(wiersze_[pierwszy].nowe[k]) + " zachowuje wiersz " + ktory(pierwszy);
    }

    // Rows of a group that hold the same in every column but the key's, the quantities,
    // values and texts, the columns of the first row's value (and the counter, unless it
    // is the row's own id), a Null counting as the value of none, become the first of them.
    void scal(const std::vector<size_t>& grupa) {
        const std::vector<size_t> inne = jednej_wartosci();
        std::vector<bool> wziety(grupa.size(), false);
        for (size_t a = 0; a < grupa.size(); ++a) {
            if (wziety[a]) continue;
            std::vector<size_t> klasa{grupa[a]};
            for (size_t b = a + 1; b < grupa.size(); ++b)
                if (!wziety[b] && std::all_of(inne.begin(), inne.end(), [&](size_t k) {
                        return jak_jedna(k, wiersze_[grupa[a]].nowe[k], wiersze_[grupa[b]].nowe[k]);
                    })) {
                    wziety[b] = true;
                    klasa.push_back(grupa[b]);
                }
            if (klasa.size() > 1) polacz(klasa);
        }
    }

    // Whether a and b of column k are one value for rows that become one: the same as
    // stored, or a Null beside the value of none of the column's kind (0 of a number, ""
    // of a text), which a Null counts as.
    bool jak_jedna(size_t k, const Value& a, const Value& b) const {
        if (ta_sama(a, b)) return true;
        if (!pusta(a) && !pusta(b)) return false;
        const Value& v = pusta(a) ? b : a;
        switch (kolumny_[k].typ) {
            case jet::DataType::Text:
            case jet::DataType::Memo:
                return v.is_text() && v.raw_text().empty();
            case jet::DataType::Byte:
            case jet::DataType::Integer:
            case jet::DataType::Long:
            case jet::DataType::Currency:
            case jet::DataType::Single:
            case jet::DataType::Double:
                return !v.is_text() && jet::compare(v, Value::long_(0)) == 0;
            default:
                return false;
        }
    }

    // The columns that rows must hold the same in to become one.
    std::vector<size_t> jednej_wartosci() const {
        std::vector<size_t> inne;
        for (size_t k = 0; k < kolumny_.size(); ++k)
            if (!w(klucz_, k) && !w(ilosci_, k) && !w(wartosci_, k) && !w(teksty_, k) &&
                !w(pierwszy_, k) && !(r_.sposob == Sposob_Klucza::Srednia && w(ceny_, k)) &&
                (licznik_ != k || w(wlasne_id_, k)) && !przepinane(k))
                inne.push_back(k);
        return inne;
    }

    // The mend of the lines of one product in group g that the key cannot take because
    // they differ in columns of one value (kolumna alone, or every such column: a VAT
    // rate, a price that no price joins): each such column given one value in every line
    // of the key, in jetsql: the first line's, or where it has none the first that a line
    // has (a Null never replaces a value). The lines stay on their document and product,
    // whose quantities the rule then sums; the user may give other values. "" where the
    // lines are not lines of a product at a price (a rule that averages the prices, or a
    // key that ends in the price): the key's own mend serves then.
    std::string naprawa_linii(const std::vector<size_t>& g, std::optional<size_t> kolumna) const {
        const jet::DataType ostatnia = kolumny_[klucz_.back()].typ;
        const bool dalej = r_.sposob == Sposob_Klucza::Dalej && !dalej_.empty();
        const bool linie = r_.sposob == Sposob_Klucza::Srednia || (dalej && !ilosci_.empty()) ||
                           (!ilosci_.empty() && (ostatnia == jet::DataType::Currency ||
                                                 ostatnia == jet::DataType::Double ||
                                                 ostatnia == jet::DataType::Single));
        if (!linie || g.size() < 2) return "";
        const std::vector<size_t> kolumny =
            kolumna ? std::vector<size_t>{*kolumna} : jednej_wartosci();
        std::string ustaw;
        for (const size_t k : kolumny) {
            if (std::all_of(g.begin(), g.end(), [&](size_t i) {
                    return ta_sama(wiersze_[i].stare[k], wiersze_[g[0]].stare[k]);
                }))
                continue;
            const auto z_wartoscia = std::find_if(
                g.begin(), g.end(), [&](size_t i) { return !pusta(wiersze_[i].stare[k]); });
            ustaw += (ustaw.empty() ? "" : ", ") + ("[" + kolumny_[k].nazwa + "] = ") +
                     Literal_SQL(wiersze_[*z_wartoscia].stare[k]);
        }
        if (ustaw.empty()) return "";
        std::string ktore;
        for (const size_t c : dalej ? dalej_ : klucz_) {
            const Value& v = wiersze_[g[0]].stare[c];
            ktore += (ktore.empty() ? "" : " AND ") + ("[" + kolumny_[c].nazwa + "]") +
                     (pusta(v) ? " IS NULL" : " = " + Literal_SQL(v));
        }
        return "UPDATE " + T_ + " SET " + ustaw + " WHERE " + ktore;
    }

    // Whether column k is the row's own id (or the table's counter) that the suite's
    // references name at the step: rows of two such ids may become one, the rows that
    // name the one merged away re-pointed to the one kept.
    bool przepinane(size_t k) const {
        return r_.przepnij && (w(wlasne_id_, k) || licznik_ == k) &&
               !Odwolania_Do(krok_, indeks_.table, kolumny_[k].nazwa).empty();
    }

    // The rows of other tables that name row j, merged into row i, by an id of its own
    // in which they differ: re-pointed to row i, each table's in one statement (written
    // with the plan), named in row j's Log line. A table or column not on the road at the
    // step has none.
    void przepnij(size_t i, size_t j) {
        const jet::Catalog& katalog = polaczenie().database().catalog();
        for (size_t k = 0; k < kolumny_.size(); ++k) {
            const Value& stary = wiersze_[j].stare[k];
            const Value& nowy = wiersze_[i].nowe[k];
            if (!przepinane(k) || pusta(stary) || ta_sama(stary, nowy)) continue;
            for (const Odwolanie_Pakietu* o :
                 Odwolania_Do(krok_, indeks_.table, kolumny_[k].nazwa)) {
                const jet::TableInfo* t = katalog.table(o->tabela);
                if (t == nullptr || t->column(o->kolumna) == nullptr) continue;
                const std::string T = "[" + std::string(o->tabela) + "]",
                                  K = "[" + std::string(o->kolumna) + "]";
                ado::Recordset rs;
                rs.Open("SELECT Count(*) FROM " + T + " WHERE " + K + " = " + Literal_SQL(stary),
                        polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
                const int32_t n = rs.Eof() ? 0 : rs.Fields(0).value().to_long();
                if (n == 0) continue;
                przepiecia_.push_back("UPDATE " + T + " SET " + K + " = " + Literal_SQL(nowy) +
                                      " WHERE " + K + " = " + Literal_SQL(stary));
                wiersze_[j].zmiany.push_back(std::string(o->tabela) + "." +
                                             std::string(o->kolumna) + " " + opis(stary) + " -> " +
                                             opis(nowy) + " (wiersze, które go " +
                                             "wskazywały: " + std::to_string(n) + ")");
            }
        }
    }

    // The first row of klasa takes the others' quantities, values and texts; they go.
    void polacz(const std::vector<size_t>& klasa) {
        Wiersz& pierwszy = wiersze_[klasa.front()];
        std::string przejete;
        for (size_t j = 1; j < klasa.size(); ++j) {
            Wiersz& inny = wiersze_[klasa[j]];
            inny.usun = true;
            przepnij(klasa.front(), klasa[j]);
            std::string figury;
            for (const std::vector<size_t>* lista : {&ilosci_, &wartosci_, &ceny_, &pierwszy_})
                for (const size_t k : *lista)
                    if (!pusta(inny.nowe[k]) &&
                        (lista != &pierwszy_ || !ta_sama(inny.nowe[k], pierwszy.nowe[k])))
                        figury += (figury.empty() ? "; " : ", ") + kolumny_[k].nazwa + " " +
                                  opis(inny.nowe[k]);
            inny.zmiany.push_back("usunięty, scalony z wierszem " + ktory(klasa.front()) + figury);
            przejete += (przejete.empty() ? "" : ", ") + ktory(klasa[j]);
        }
        // The first by the counter, and where rows hold one counter, by the order stored.
        const bool licznikiem = licznik_ && std::all_of(klasa.begin(), klasa.end(), [&](size_t i) {
                                    return licznik_wskazuje(i);
                                });
        std::string zmiany = std::string("pierwszy ") +
                             (!licznik_ ? std::string("w kolejności zapisu")
                                        : "według " + kolumny_[*licznik_].nazwa +
                                              (licznikiem ? "" : ", potem w kolejności zapisu")) +
                             ", przejmuje wiersze " + przejete;
        zmiany += srednie_ceny(klasa);
        for (const std::vector<size_t>* lista : {&ilosci_, &wartosci_})
            for (const size_t k : *lista) {
                Value suma = Value::null();
                for (const size_t i : klasa)
                    if (!pusta(wiersze_[i].nowe[k]))
                        suma =
                            pusta(suma) ? wiersze_[i].nowe[k] : jet::add(suma, wiersze_[i].nowe[k]);
                if (lista == &wartosci_ && !pusta(suma) && suma.kind() != Value::Kind::Currency)
                    suma = Value::dbl(std::round(suma.to_double() * 100) / 100);
                if (ta_sama(suma, pierwszy.nowe[k])) continue;
                zmiany +=
                    "; " + kolumny_[k].nazwa + " " + opis(pierwszy.nowe[k]) + " -> " + opis(suma);
                pierwszy.nowe[k] = suma;
            }
        for (const size_t k : teksty_) {
            std::vector<std::string> czesci;
            for (const size_t i : klasa) {
                const Value& v = wiersze_[i].nowe[k];
                if (!pusta(v) && !v.to_text().empty() &&
                    std::find(czesci.begin(), czesci.end(), v.to_text()) == czesci.end())
                    czesci.push_back(v.to_text());
            }
            // A text that the joined would not fit on the road is left out of it whole and
            // kept in the Log line.
            const auto [g, krok_g] = granica(k);
            std::string tekst, poza;
            for (const std::string& c : czesci) {
                const std::string z = tekst.empty() ? c : tekst + "; " + c;
                if (!tekst.empty() && static_cast<int>(jet::text::length(z)) > g)
                    poza += (poza.empty() ? "" : ", ") + ("'" + c + "'");
                else
                    tekst = z;
            }
            if (!poza.empty())
                zmiany += "; " + kolumny_[k].nazwa + ": " + poza + " nie mieści się w " +
                          std::to_string(g) + " znakach kolumny" +
                          (krok_g != krok_ ? " kroku " + Wersja_Kroku(krok_g) : "") +
                          ", zostaje tylko w tym wpisie Logu";
            if (czesci.empty() || ta_sama(Value::text(tekst), pierwszy.nowe[k])) continue;
            miesci_sie(k, tekst);
            zmiany +=
                "; " + kolumny_[k].nazwa + " " + opis(pierwszy.nowe[k]) + " -> '" + tekst + "'";
            pierwszy.nowe[k] = Value::text(tekst);
        }
        // A Null of the first row beside another's value of none takes that value: a Null
        // never replaces a value.
        for (const size_t k : jednej_wartosci())
            for (const size_t i : klasa)
                if (pusta(pierwszy.nowe[k]) && !pusta(wiersze_[i].nowe[k])) {
                    zmiany += "; " + kolumny_[k].nazwa + " Null -> " + opis(wiersze_[i].nowe[k]);
                    pierwszy.nowe[k] = wiersze_[i].nowe[k];
                }
        pierwszy.zmiany.push_back(zmiany);
    }

    // The prices of the lines of klasa, which differ, as one: the value of each price
    // (the first quantity times the price, a Null counting as none) summed over the lines
    // and divided by their summed quantity, to four decimals; that price times the summed
    // quantity must give the summed value to the grosz. The first row takes it; the Log
    // text of the change, or a reason in cena_niemozliwa_.
    std::string srednie_ceny(const std::vector<size_t>& klasa) {
        if (r_.sposob != Sposob_Klucza::Srednia || ilosci_.empty()) return "";
        const auto liczba = [](const Value& v) { return pusta(v) ? 0.0 : v.to_double(); };
        const auto grosze = [](double x) { return std::llround(x * 100); };
        const size_t q = ilosci_.front();
        double ilosc = 0;
        for (const size_t i : klasa) ilosc += liczba(wiersze_[i].nowe[q]);
        std::string zmiany;
        Wiersz& pierwszy = wiersze_[klasa.front()];
        for (const size_t k : ceny_) {
            if (std::all_of(klasa.begin(), klasa.end(), [&](size_t i) {
                    return ta_sama(wiersze_[i].nowe[k], pierwszy.nowe[k]);
                }))
                continue;
            double wartosc = 0;
            for (const size_t i : klasa)
                wartosc += liczba(wiersze_[i].nowe[q]) * liczba(wiersze_[i].nowe[k]);
            const double cena = ilosc == 0 ? 0 : std::round(wartosc / ilosc * 10000) / 10000;
            if (ilosc == 0 || grosze(cena * ilosc) != grosze(wartosc)) {
                std::string wiersze;
                for (const size_t i : klasa) wiersze += (wiersze.empty() ? "" : "; ") + etykieta(i);
                naprawa_ceny_ = naprawa_linii(klasa, k);
                cena_niemozliwa_ = "pozycje (" + wiersze + ") w różnych cenach " +
                                   kolumny_[k].nazwa +
                                   (ilosc == 0 ? " mają razem ilość 0"
                                               : ": żadna cena nie daje ich wartości co do grosza");
                return "";
            }
            const Value nowa = kolumny_[k].typ == jet::DataType::Currency
                                   ? Value::currency(jet::Currency::from_double(cena))
                                   : Value::dbl(cena);
            zmiany += "; " + kolumny_[k].nazwa + " " + opis(pierwszy.nowe[k]) + " -> " +
                      opis(nowa) + " (wartość " + opis(Value::dbl(wartosc)) + ")";
            pierwszy.nowe[k] = nowa;
        }
        return zmiany;
    }

    // The most characters that a text joined or suffixed in column k may hold: what every
    // column it meets on the way to 6.46 takes (a text column widened to 255 at most, a
    // later step's narrower column), with the step of the narrowest; INT_MAX for none.
    std::pair<int, int> granica(size_t k) const {
        std::pair<int, int> g{kolumny_[k].typ == jet::DataType::Text ? kTekstMaks : INT_MAX, krok_};
        for (const Zwezenie& z : kZwezenia)
            if (z.krok > krok_ && z.rozmiar < g.first && nazwa(z.tabela) == nazwa(indeks_.table) &&
                jet::text::same_name(z.kolumna, kolumny_[k].nazwa))
                g = {z.rozmiar, z.krok};
        return g;
    }

    // Notes a text longer than its column takes.
    void miesci_sie(size_t k, const std::string& tekst) {
        const int dlugosc = static_cast<int>(jet::text::length(tekst));
        if (kolumny_[k].typ == jet::DataType::Text && dlugosc > kolumny_[k].rozmiar)
            za_dlugi_ = std::max(za_dlugi_, dlugosc);
    }

    // Each row of a group but the first gets "N" and the lowest number from 1 up that
    // gives a value no row holds after the key's text column, or, in a column of whole
    // numbers, the number after the highest that any row holds.
    Decyzja_Klucza nadaj_przyrostki(const std::vector<std::vector<size_t>>& grupy) {
        const jet::DataType typ =
            przyrostek_.size() == 1 ? kolumny_[przyrostek_[0]].typ : jet::DataType::Memo;
        if (typ == jet::DataType::Long || typ == jet::DataType::Integer ||
            typ == jet::DataType::Byte)
            return nadaj_numery(grupy, przyrostek_[0]);
        if (typ != jet::DataType::Text)
            return {Los_Klucza::Bez_Reguly, "przyrostek wymaga kolumny tekstowej klucza"};
        const size_t k = przyrostek_[0];
        std::unordered_set<std::string> z = zajete(k);
        for (const std::vector<size_t>& g : grupy)
            for (size_t j = 1; j < g.size(); ++j) {
                Wiersz& x = wiersze_[g[j]];
                const std::string nowa =
                    wolna_nazwa(k, pusta(x.nowe[k]) ? "" : x.nowe[k].to_text(), z);
                x.zmiany.push_back(kolumny_[k].nazwa + " " + opis(x.nowe[k]) + " -> '" + nowa +
                                   "'" + zachowuje(g.front(), k));
                x.nowe[k] = Value::text(nowa);
            }
        return {Los_Klucza::Dopasowany, ""};
    }

    // The texts that the rows kept hold in column k, folded as the key compares them.
    std::unordered_set<std::string> zajete(size_t k) const {
        std::unordered_set<std::string> out;
        for (const Wiersz& x : wiersze_)
            if (!x.usun && !pusta(x.nowe[k])) out.insert(jet::text::fold(x.nowe[k].to_text()));
        return out;
    }

    // baza followed by "N" and the lowest number from 1 up that gives a text not in uzyte,
    // which then holds it too. A text that the suffix would make longer than the road
    // takes in column k loses its end to it; the Log line names it whole.
    std::string wolna_nazwa(size_t k, const std::string& baza,
                            std::unordered_set<std::string>& uzyte) {
        const size_t najwiecej = static_cast<size_t>(std::max(0, granica(k).first));
        std::string nowa;
        for (int n = 1; nowa.empty() || !uzyte.insert(jet::text::fold(nowa)).second; ++n)
            nowa = jet::text::with_suffix(baza, "N" + std::to_string(n), najwiecej);
        miesci_sie(k, nowa);
        return nowa;
    }

    // The highest number of the column k, 0 for none.
    int32_t najwyzszy(size_t k) const {
        int32_t maks = 0;
        for (const Wiersz& x : wiersze_)
            if (!pusta(x.nowe[k])) maks = std::max(maks, x.nowe[k].to_long());
        return maks;
    }

    // Each row of a group but the first gets the lowest number above every row's in the
    // whole-number column k (the key's own id, or the number that the line gives anew).
    Decyzja_Klucza nadaj_numery(const std::vector<std::vector<size_t>>& grupy, size_t k) {
        int32_t maks = najwyzszy(k);
        for (const std::vector<size_t>& g : grupy)
            for (size_t j = 1; j < g.size(); ++j) {
                Wiersz& x = wiersze_[g[j]];
                const Value nowy = Value::long_(++maks);
                x.zmiany.push_back(kolumny_[k].nazwa + " " + opis(x.nowe[k]) + " -> " + opis(nowy) +
                                   " (nowy numer)" + zachowuje(g.front(), k));
                x.nowe[k] = nowy;
            }
        return {Los_Klucza::Dopasowany, ""};
    }

    // Writes the plan through the recordset it was read from.
    void zapisz(ado::Recordset& rs) {
        if (wiersze_.empty()) return;
        for (const std::string& p : przepiecia_) polaczenie().Execute(p);
        rs.MoveFirst();
        for (size_t i = 0; i < wiersze_.size() && !rs.Eof(); ++i, rs.MoveNext()) {
            const Wiersz& x = wiersze_[i];
            if (x.usun) {
                rs.Delete();
                continue;
            }
            bool zmieniony = false;
            for (size_t k = 0; k < kolumny_.size(); ++k)
                if (!(x.stare[k] == x.nowe[k])) {
                    rs.Fields(static_cast<int>(k)) = x.nowe[k];
                    zmieniony = true;
                }
            if (zmieniony) rs.UpdateBatch(ado::adAffectCurrent);
        }
    }

    // The Log: a line for each row changed or deleted, and one for a key left to a later
    // step.
    void loguj(Los_Klucza los) const {
        const std::string wersja = Wersja_Kroku(krok_);
        std::string klucz;
        for (const size_t k : klucz_) klucz += (klucz.empty() ? "" : ", ") + kolumny_[k].nazwa;
        const std::string poczatek = "Konwersja " + wersja + ": " + indeks_.table + " (";
        for (size_t i = 0; i < wiersze_.size(); ++i)
            for (const std::string& z : wiersze_[i].zmiany)
                Zapisz_Log_Kroku(poczatek + etykieta(i) + "): " + z, "Konwersja", wersja);
        if (los != Los_Klucza::Odlozony) return;
        std::string grupy;
        for (size_t g = 0; g < odlozone_.size() && g < kWiecej; ++g) {
            std::string wartosc;
            for (const size_t k : klucz_)
                wartosc += (wartosc.empty() ? "" : ", ") + kolumny_[k].nazwa + " = " +
                           opis(wiersze_[odlozone_[g].front()].nowe[k]);
            grupy += (grupy.empty() ? "" : "; ") + wartosc + " (" +
                     std::to_string(odlozone_[g].size()) + ")";
        }
        if (odlozone_.size() > kWiecej)
            grupy += " i jeszcze " + std::to_string(odlozone_.size() - kWiecej);
        Zapisz_Log_Kroku(poczatek + klucz +
                             "): klucza nie utworzono; wiersze, które go powtarzają, " +
                             "przyjmie klucz (" + std::string(r_.pola_dalej) + ") kroku " +
                             Wersja_Kroku(r_.krok_dalej) + ": " + grupy,
                         "Konwersja", wersja);
    }

    const Regula_Klucza& r_;
    const jet::sql::CreateIndex& indeks_;
    const std::string T_;
    const int krok_;
    std::vector<Kolumna> kolumny_;
    std::vector<Wiersz> wiersze_;
    std::optional<size_t> licznik_;
    std::vector<size_t> klucz_, ilosci_, wartosci_, teksty_, wlasne_id_, zera_, przyrostek_, dalej_,
        ceny_, pierwszy_;
    std::vector<Odwolanie> odwolania_;
    std::vector<std::string> przepiecia_;  // the statements that re-point the rows naming
                                           // a row merged away
    std::vector<std::vector<size_t>> odlozone_;
    int za_dlugi_ = 0;             // the longest text planned beyond its column, 0 for none
    std::string cena_niemozliwa_;  // why lines at two prices cannot become one
    std::string naprawa_ceny_;     // and the mend of their prices
};

// The rows of other tables that name the first value that rows repeat in the one-column
// key of indeks, as the suite's references give them: "; " and what becomes of them when
// the user gives one of the rows another value; "" when none names it.
std::string wskazujace(const jet::sql::CreateIndex& indeks) {
    if (indeks.columns.size() != 1) return "";
    const std::string K = "[" + indeks.columns[0].name + "]";
    const std::vector<const Odwolanie_Pakietu*> odwolania =
        Odwolania_Do(Krok_Konwersji, indeks.table, indeks.columns[0].name);
    if (odwolania.empty()) return "";
    ado::Recordset rs;
    rs.Open("SELECT " + K + " FROM [" + indeks.table + "] WHERE " + K + " IS NOT NULL GROUP BY " +
                K + " HAVING Count(*) > 1",
            polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
    if (rs.Eof()) return "";
    const Value v = rs.Fields(0).value();
    const jet::Catalog& katalog = polaczenie().database().catalog();
    std::string lista;
    for (const Odwolanie_Pakietu* o : odwolania) {
        const jet::TableInfo* t = katalog.table(o->tabela);
        if (t == nullptr || t->column(o->kolumna) == nullptr) continue;
        ado::Recordset n;
        n.Open("SELECT Count(*) FROM [" + std::string(o->tabela) + "] WHERE [" +
                   std::string(o->kolumna) + "] = " + Literal_SQL(v),
               polaczenie(), ado::adOpenStatic, ado::adLockReadOnly);
        const int32_t ile = n.Eof() ? 0 : n.Fields(0).value().to_long();
        if (ile > 0)
            lista += (lista.empty() ? "" : ", ") + std::string(o->tabela) + "." +
                     std::string(o->kolumna) + " = " + opis(v) + " (" + std::to_string(ile) + ")";
    }
    if (lista.empty()) return "";
    return "; wskazują go wiersze " + lista + ": po naprawie wskazują wiersz, który zachowa " +
           opis(v) + ", a te, które dotyczą drugiego, użytkownik przepina na jego nową wartość";
}

// Whether the key's last column names another table's row: setting it anew would move the
// row's figures onto another item, so the key's own mend deletes the copy that the user
// chooses instead.
bool ostatnia_odwolaniem(const Regula_Klucza& r, const jet::sql::CreateIndex& indeks, int krok) {
    if (indeks.columns.empty()) return false;
    const std::string& k = indeks.columns.back().name;
    const std::vector<std::string> odw = kolumny(r.odwolania);
    return std::find(odw.begin(), odw.end(), nazwa(k)) != odw.end() ||
           Odwolanie_Kolumny(krok, indeks.table, k) != nullptr;
}

// The line's decision at step krok on the rows that the key of indeks cannot take.
Decyzja_Klucza decyzja(const Regula_Klucza& r, const jet::sql::CreateIndex& indeks, int krok) {
    Decyzja_Klucza d =
        r.sposob == Sposob_Klucza::Stop
            ? Decyzja_Klucza{Los_Klucza::Bez_Reguly, std::string(r.powod) + wskazujace(indeks)}
            : Dopasowanie(r, indeks, krok).wykonaj();
    d.usun = d.los == Los_Klucza::Bez_Reguly && d.naprawa.empty() &&
             ostatnia_odwolaniem(r, indeks, krok);
    return d;
}

// The line of the key over the columns pola of the table that step krok has: the line of
// the latest step up to krok that makes it; nullptr for none.
const Regula_Klucza* regula_do(int krok, std::string_view tabela, std::string_view pola) {
    const Regula_Klucza* r = nullptr;
    for (const Regula_Klucza& x : Reguly_Kluczy())
        if (x.krok <= krok && nazwa(x.tabela) == nazwa(tabela) && kolumny(x.pola) == kolumny(pola))
            r = &x;
    return r;
}

// A key of the table, and the statement that makes it.
struct Klucz_Tabeli {
    jet::sql::CreateIndex indeks;
    std::string tworz;
};

// The tables of the open database that an INSERT or UPDATE writes: the INSERT's, or those
// of the UPDATE's tables that hold a column it sets.
std::vector<std::string> tabele_zapisywane(std::string_view polecenie) {
    std::vector<std::string> out;
    const jet::Catalog& katalog = polaczenie().database().catalog();
    for (const auto& [tabela, ustawia] : Tabele_Zapisywane(polecenie)) {
        const jet::TableInfo* t = katalog.table(tabela);
        if (t &&
            (ustawia.empty() || std::any_of(ustawia.begin(), ustawia.end(),
                                            [&](const auto& k) { return t->column(k); })) &&
            std::find(out.begin(), out.end(), t->name) == out.end())
            out.push_back(t->name);
    }
    return out;
}

// The unique indexes and primary key of the table, as the statements that make them.
std::vector<Klucz_Tabeli> klucze_tabeli(const jet::TableInfo& t) {
    std::vector<Klucz_Tabeli> out;
    for (const jet::IndexInfo& ix : t.indexes) {
        if (!ix.unique && !ix.primary) continue;
        Klucz_Tabeli k;
        k.indeks.unique = true;
        k.indeks.name = ix.name;
        k.indeks.table = t.name;
        k.indeks.option = ix.primary        ? jet::sql::IndexOption::Primary
                          : ix.required     ? jet::sql::IndexOption::DisallowNull
                          : ix.ignore_nulls ? jet::sql::IndexOption::IgnoreNull
                                            : jet::sql::IndexOption::None;
        std::string kol;
        for (const jet::IndexColumnInfo& c : ix.columns) {
            const jet::ColumnInfo* col = t.column_by_id(c.column_id);
            if (col == nullptr) continue;
            k.indeks.columns.push_back({col->name, c.descending});
            kol += (kol.empty() ? "[" : ", [") + col->name + "]" + (c.descending ? " DESC" : "");
        }
        static constexpr const char* kOpcje[] = {"", " WITH PRIMARY", " WITH DISALLOW NULL",
                                                 " WITH IGNORE NULL"};
        k.tworz = "CREATE UNIQUE INDEX [" + ix.name + "] ON [" + t.name + "] (" + kol + ")" +
                  kOpcje[static_cast<int>(k.indeks.option)];
        out.push_back(std::move(k));
    }
    return out;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<std::string>>> Tabele_Zapisywane(
    std::string_view polecenie) {
    namespace s = jet::sql;
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    try {
        const s::Statement st = s::parse(polecenie);
        if (const auto* i = std::get_if<s::Insert>(&st); i && i->database.empty())
            out.push_back({i->table, {}});
        const auto* u = std::get_if<s::Update>(&st);
        for (std::vector<const s::TableRef*> stos{u ? u->target.get() : nullptr}; !stos.empty();) {
            const s::TableRef* t = stos.back();
            stos.pop_back();
            if (t && t->kind == s::TableRef::Kind::Join) {
                stos.insert(stos.end(), {t->left.get(), t->right.get()});
            } else if (t && t->database.empty()) {
                out.push_back({t->name, {}});
                for (const s::Assignment& a : u->assignments)
                    if (a.qualifier.empty() || jet::text::same_name(a.qualifier, t->alias) ||
                        jet::text::same_name(a.qualifier, t->name))
                        out.back().second.push_back(a.column);
                if (out.back().second.empty()) out.pop_back();
            }
        }
    } catch (const jet::Error&) {
    }
    return out;
}

Decyzja_Klucza Zastosuj_Regule_Powtorzen(std::string_view polecenie, const Ponowienie& ponow) {
    const int krok = Krok_Konwersji;
    std::vector<Klucz_Tabeli> klucze;
    for (const std::string& tabela : tabele_zapisywane(polecenie))
        if (const jet::TableInfo* t = polaczenie().database().catalog().table(tabela))
            for (Klucz_Tabeli& k : klucze_tabeli(*t)) klucze.push_back(std::move(k));
    if (klucze.empty()) return {};
    for (const Klucz_Tabeli& k : klucze)
        polaczenie().Execute("DROP INDEX [" + k.indeks.name + "] ON [" + k.indeks.table + "]");
    const Wynik_Polecenia po = ponow();
    if (po.numer != 0 || !po.tekst.empty())
        return {Los_Klucza::Bez_Reguly, "polecenie bez kluczy tabeli: " + Opis_Bledu(po)};
    Decyzja_Klucza wynik{Los_Klucza::Dopasowany};
    for (const Klucz_Tabeli& k : klucze) {
        try {
            polaczenie().Execute(k.tworz);
            continue;
        } catch (const jet::Error& e) {
            if (e.fault() != jet::Fault::Duplicate && e.fault() != jet::Fault::NullInKey) throw;
        }
        std::string pola;
        for (const jet::sql::IndexColumn& c : k.indeks.columns) pola += c.name + ",";
        const Regula_Klucza* r = regula_do(krok, k.indeks.table, pola);
        Decyzja_Klucza d = r ? decyzja(*r, k.indeks, krok) : Decyzja_Klucza{};
        d.klucz = k.tworz;
        if (d.los == Los_Klucza::Bez_Reguly) return d;
        if (d.los == Los_Klucza::Odlozony) {
            wynik.los = Los_Klucza::Odlozony;
            continue;
        }
        polaczenie().Execute(k.tworz);
    }
    return wynik;
}

std::span<const Regula_Klucza> Reguly_Kluczy() {
    return std::span(kReguly).first(std::size(kReguly) - 1);
}

const Regula_Klucza* Regula_Klucza_Dla(int krok, std::string_view tabela, std::string_view pola) {
    const std::string t = nazwa(tabela);
    const std::vector<std::string> k = kolumny(pola);
    for (const Regula_Klucza& r : Reguly_Kluczy())
        if (r.krok == krok && nazwa(r.tabela) == t && kolumny(r.pola) == k) return &r;
    return nullptr;
}

Decyzja_Klucza Zastosuj_Regule_Klucza(const jet::sql::CreateIndex& indeks, jet::Fault) {
    std::string pola;
    for (const jet::sql::IndexColumn& c : indeks.columns) pola += c.name + ",";
    const Regula_Klucza* r = Regula_Klucza_Dla(Krok_Konwersji, indeks.table, pola);
    if (r == nullptr || !indeks.database.empty()) return {};
    return decyzja(*r, indeks, r->krok);
}
