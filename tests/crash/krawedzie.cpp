// Rows made from the catalog (krawedzie.h).
#include "krawedzie.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "driver/odwolania.h"
#include "droga.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/text.h"
#include "wypelnij.h"

namespace krawedzie {

namespace {

using jet::DataType;
using jet::Value;

constexpr int32_t kNikt = 999999;  // an id that no row has

bool w_unikalnym(const jet::TableInfo& t, const jet::ColumnInfo& c) {
    return droga::w_indeksie(t, c, false) || droga::w_indeksie(t, c, true);
}

// A whole-number column that names a row of another table: by the suite's references at
// the step, or by its name (...ID) outside the table's unique indexes.
bool odwolanie(const jet::TableInfo& t, const jet::ColumnInfo& c, int krok) {
    if (c.counter || (c.type != DataType::Long && c.type != DataType::Integer)) return false;
    if (Odwolanie_Kolumny(krok, t.name, c.name) != nullptr) return true;
    const std::string n = jet::text::upper(c.name);
    return n.size() > 2 && n.ends_with("ID") && !w_unikalnym(t, c);
}

bool figura(const jet::TableInfo& t, const jet::ColumnInfo& c, int krok) {
    return droga::liczbowa(c.type) && !c.counter && !w_unikalnym(t, c) && !odwolanie(t, c, krok);
}

// The number v of the column's type (clamped to a Byte's range).
Value liczba(DataType t, double v) {
    switch (t) {
        case DataType::Byte:
            return Value::byte(static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)));
        case DataType::Integer:
            return Value::integer(static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0)));
        case DataType::Long:
            return Value::long_(static_cast<int32_t>(v));
        case DataType::Currency:
            return Value::currency(jet::Currency::from_double(v));
        case DataType::Single:
            return Value::single(static_cast<float>(v));
        default:
            return Value::dbl(v);
    }
}

double jako_liczba(const Value& v) {
    if (v.is_null()) return 0;
    try {
        return v.to_double();
    } catch (const jet::Error&) {
        return 0;
    }
}

// A text of n characters beginning with poczatek.
std::string tekst_dlugi(const std::string& poczatek, int n) {
    static const std::string wzor = "Długi tekst ąęśćźżół ";
    std::string s = poczatek;
    while (jet::text::length(s) < static_cast<size_t>(n)) s += wzor;
    return s.substr(0, jet::text::offset_of_char(s, static_cast<size_t>(n)));
}

// The table's first row by its storage order, or the filler's values in an empty table;
// with each row's values of the column in drugi (the second row's, for the twins).
std::vector<Value> pierwszy_wiersz(jet::Database& db, const jet::TableInfo& t,
                                   std::vector<Value>& drugi) {
    std::vector<Value> w;
    auto r = db.query("SELECT TOP 2 * FROM [" + t.name + "]");
    if (r->next()) {
        for (size_t i = 0; i < t.columns.size(); ++i) w.push_back(r->value(static_cast<int>(i)));
        if (r->next())
            for (size_t i = 0; i < t.columns.size(); ++i)
                drugi.push_back(r->value(static_cast<int>(i)));
        return w;
    }
    for (const jet::ColumnInfo& c : t.columns) {
        const std::vector<Value> z = wypelnij::Wartosci_Z_Bazy(db, t, c);
        w.push_back(z.empty() ? wypelnij::Wartosc(c, 0) : z.front());
    }
    return w;
}

}  // namespace

std::map<int, std::set<std::string>> Czytane(const std::string& plik) {
    std::map<int, std::set<std::string>> out;
    std::ifstream in(plik);
    for (std::string l; std::getline(in, l);) {
        const size_t tab = l.find('\t');
        if (tab == std::string::npos) continue;
        out[std::stoi(l.substr(0, tab))].insert(l.substr(tab + 1));
    }
    return out;
}

void Wypelnij(jet::Database& db, const jet::TableInfo& t, int krok,
              const std::function<bool(const std::string&)>& raz) {
    bool nowe = false;
    for (const jet::ColumnInfo& c : t.columns) nowe = raz("E " + t.name + "." + c.name) || nowe;
    if (!nowe) return;
    std::vector<Value> drugi;
    const std::vector<Value> baza = pierwszy_wiersz(db, t, drugi);
    bool unikalny = false;
    for (const auto& ix : t.indexes) unikalny = unikalny || ix.unique || ix.primary;
    // The highest value of each whole-number column of a unique index: the rows' own values
    // come above it.
    std::map<int64_t, double> najwyzsze;
    for (const jet::ColumnInfo& c : t.columns)
        if (w_unikalnym(t, c) && droga::liczbowa(c.type) && !c.counter) {
            auto r = db.query("SELECT Max([" + c.name + "]) FROM [" + t.name + "]");
            najwyzsze[c.id] = r->next() ? jako_liczba(r->value(0)) : 0;
        }
    int numer = 0;
    // One row from the first row, changed column by column by zmien (column, its index, the
    // first row's value) -> the value, or the first row's value when it returns nullopt.
    auto wiersz = [&](const std::function<std::optional<Value>(const jet::ColumnInfo&, size_t)>& zmien) {
        ++numer;
        jet::ColumnValues w;
        for (size_t i = 0; i < t.columns.size(); ++i) {
            const jet::ColumnInfo& c = t.columns[i];
            if (c.counter) continue;
            Value v = baza[i];
            if (const auto z = zmien(c, i)) v = *z;
            if (w_unikalnym(t, c) && !(c.required && v.is_null())) {
                // A value of the row's own in a unique index.
                if (droga::liczbowa(c.type))
                    v = liczba(c.type, najwyzsze[c.id] + 1000 + numer);
                else if (c.type == DataType::Date)
                    v = Value::date(jako_liczba(baza[i]) + 5000 + numer);
                else if (c.type == DataType::Text || c.type == DataType::Memo) {
                    const std::string znak = "~" + std::to_string(krok) + "." + std::to_string(numer);
                    std::string s = v.is_null() ? "" : v.to_text();
                    const size_t zmiesci = c.type == DataType::Memo ? 300 : static_cast<size_t>(c.size);
                    while (jet::text::length(s) + znak.size() > zmiesci && !s.empty())
                        s.resize(jet::text::offset_of_char(s, jet::text::length(s) - 1));
                    v = Value::text(s + znak);
                }
            }
            w.emplace_back(c.name, v);
        }
        try {
            jet::atomically(db, [&] { jet::insert_row(db, t.name, w); });
        } catch (const jet::Error&) {
            // A row that the file refuses (a rule of a column's) is left out.
        }
    };
    using Zmiana = std::optional<Value>;
    // null
    wiersz([&](const jet::ColumnInfo& c, size_t) -> Zmiana {
        if (c.required || droga::w_indeksie(t, c, true) || c.type == DataType::Boolean)
            return std::nullopt;
        return Value::null();
    });
    // zero
    wiersz([&](const jet::ColumnInfo& c, size_t) -> Zmiana {
        if (droga::liczbowa(c.type)) return liczba(c.type, 0);
        if (c.type == DataType::Boolean) return Value::boolean(false);
        if ((c.type == DataType::Text || c.type == DataType::Memo) && c.allow_zero_length)
            return Value::text("");
        return std::nullopt;
    });
    // negative
    wiersz([&](const jet::ColumnInfo& c, size_t i) -> Zmiana {
        if (c.type == DataType::Boolean) return Value::boolean(true);
        if (!figura(t, c, krok)) return std::nullopt;
        const double b = std::fabs(jako_liczba(baza[i]));
        return liczba(c.type, -(b == 0 ? 1 : b));
    });
    // long
    wiersz([&](const jet::ColumnInfo& c, size_t i) -> Zmiana {
        if (c.type != DataType::Text && c.type != DataType::Memo) return std::nullopt;
        return Value::text(tekst_dlugi(baza[i].is_null() ? "" : baza[i].to_text(),
                                       c.type == DataType::Memo ? 300 : c.size));
    });
    // nothing
    wiersz([&](const jet::ColumnInfo& c, size_t) -> Zmiana {
        if (!odwolanie(t, c, krok)) return std::nullopt;
        return liczba(c.type, kNikt);
    });
    // twins: alike but for their figures, in one order; then two naming the second row's
    // references, in the other.
    for (int para = 0; para < 2; ++para)
        for (int k = 0; k < 2; ++k) {
            const double razy = (para == 0) == (k == 0) ? 1 : 2;
            wiersz([&](const jet::ColumnInfo& c, size_t i) -> Zmiana {
                if (para == 1 && odwolanie(t, c, krok) && i < drugi.size()) return drugi[i];
                if (!figura(t, c, krok)) return std::nullopt;
                return liczba(c.type, jako_liczba(baza[i]) * razy);
            });
        }
    // A repeated key: the first row whole, where no unique index refuses it.
    if (!unikalny) wiersz([](const jet::ColumnInfo&, size_t) -> Zmiana { return std::nullopt; });
}

}  // namespace krawedzie
