// Rows for tables that the demonstration road leaves empty, for the sweep of stops inside
// steps (stops_in_steps.sh --rows): a statement that runs twice over rows shows what it
// does twice, over none it hides it.
//
// usage: wypelnij_tabele DATABASE TABLE[.COLUMN=VALUE,VALUE...]...
// Each named table that exists and holds no rows gets three. A column given values takes
// them in turn (texts, converted to the column's type as an INSERT converts them: where
// the step needs a kind, a month, a number that the other rules would not give); another
// column takes the values
// that a column of the same name holds in another table (the first that has any, its
// first three distinct ones, in turn, a text cut to the column's size), so that the rows name
// products, contractors, kinds and dates that the database has; a column that no other table has
// takes 1, 2, 3 (a number), the column's name and the row's number (a text), sums of 12,50 a row
// (an amount), days from 1 January 2000 (a date), Yes, No, Yes. A row that the table
// refuses (a key already there, a relation's missing row) is left out and named on
// standard error. Exit status 0, or 1 when the database cannot be written.
#include <cstdio>
#include <exception>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "db/haslo_bazy.h"
#include "db/nz.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/text.h"

namespace {

constexpr int kWiersze = 3;

// The values of the column of that name in the first other table that has any.
std::vector<jet::Value> Wartosci_Z_Bazy(jet::Database& db, const jet::TableInfo& tabela,
                                        const jet::ColumnInfo& kolumna) {
    std::vector<jet::Value> w;
    for (const jet::TableInfo* t : db.catalog().tables()) {
        if (t == &tabela) continue;
        const jet::ColumnInfo* c = nullptr;
        for (const jet::ColumnInfo& k : t->columns)
            if (jet::text::upper(k.name) == jet::text::upper(kolumna.name) &&
                k.type == kolumna.type)
                c = &k;
        if (c == nullptr) continue;
        auto r = db.query("SELECT DISTINCT [" + c->name + "] FROM [" + t->name + "] WHERE [" +
                          c->name + "] IS NOT NULL");
        while (w.size() < kWiersze && r->next()) {
            jet::Value v = r->value(0);
            // A text cut to the column's size.
            if (kolumna.type == jet::DataType::Text)
                v = jet::Value::text(NzStr_Dl(v, static_cast<int16_t>(kolumna.size)));
            w.push_back(v);
        }
        if (!w.empty()) return w;
    }
    return w;
}

// The value of row i (0-based) of a column that no other table has.
jet::Value Wartosc(const jet::ColumnInfo& c, int i) {
    using T = jet::DataType;
    switch (c.type) {
        case T::Boolean:
            return jet::Value::boolean(i % 2 == 0);
        case T::Byte:
            return jet::Value::byte(static_cast<uint8_t>(i + 1));
        case T::Integer:
            return jet::Value::integer(static_cast<int16_t>(i + 1));
        case T::Long:
            return jet::Value::long_(i + 1);
        case T::Currency:
            return jet::Value::currency(jet::Currency::from_double(12.5 * (i + 1)));
        case T::Single:
            return jet::Value::single(12.5f * static_cast<float>(i + 1));
        case T::Double:
            return jet::Value::dbl(12.5 * (i + 1));
        case T::Date:
            return jet::Value::date(36526 + i);
        default: {
            std::string s = c.name + " " + std::to_string(i + 1);
            if (c.type == T::Text && static_cast<int>(s.size()) > c.size)
                s = std::to_string(i + 1).substr(0, static_cast<size_t>(c.size));
            return jet::Value::text(s);
        }
    }
}

// The values given for a table's columns, by the column's name in capitals.
using Podane = std::map<std::string, std::vector<jet::Value>>;

void Wypelnij(jet::Database& db, const std::string& nazwa, const Podane& podane) {
    const jet::TableInfo* t = db.catalog().table(nazwa);
    if (t == nullptr || db.query("SELECT TOP 1 * FROM [" + t->name + "]")->next()) return;
    std::vector<std::pair<std::string, std::vector<jet::Value>>> kolumny;
    for (const jet::ColumnInfo& c : t->columns)
        if (const auto p = podane.find(jet::text::upper(c.name)); p != podane.end())
            kolumny.emplace_back(c.name, p->second);
        else if (!c.counter)
            kolumny.emplace_back(c.name, Wartosci_Z_Bazy(db, *t, c));
    for (int i = 0; i < kWiersze; ++i) {
        jet::ColumnValues wiersz;
        for (size_t k = 0; k < kolumny.size(); ++k) {
            const auto& [kolumna, z_bazy] = kolumny[k];
            wiersz.emplace_back(kolumna, z_bazy.empty()
                                             ? Wartosc(*t->column(kolumna), i)
                                             : z_bazy[static_cast<size_t>(i) % z_bazy.size()]);
        }
        try {
            jet::atomically(db, [&] { jet::insert_row(db, t->name, wiersz); });
        } catch (const jet::Error& e) {
            std::fprintf(stderr, "wypelnij_tabele: row %d of %s left out: %s\n", i + 1,
                         t->name.c_str(), e.description().c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wypelnij_tabele DATABASE TABLE...\n");
        return 2;
    }
    try {
        // TABLE, then the values of its columns: TABLE.COLUMN=VALUE,VALUE...
        std::vector<std::pair<std::string, Podane>> tabele;
        for (int a = 2; a < argc; ++a) {
            const std::string arg = argv[a];
            const size_t kropka = arg.find('.'), rowna = arg.find('=');
            if (kropka == std::string::npos || rowna == std::string::npos || rowna < kropka) {
                tabele.emplace_back(arg, Podane{});
                continue;
            }
            if (tabele.empty() ||
                jet::text::upper(tabele.back().first) != jet::text::upper(arg.substr(0, kropka)))
                tabele.emplace_back(arg.substr(0, kropka), Podane{});
            std::vector<jet::Value>& w =
                tabele.back().second[jet::text::upper(arg.substr(kropka + 1, rowna - kropka - 1))];
            std::istringstream lista(arg.substr(rowna + 1));
            for (std::string v; std::getline(lista, v, ',');) w.push_back(jet::Value::text(v));
        }
        auto db = jet::Database::open(argv[1], std::string(kDatabasePassword));
        for (const auto& [tabela, podane] : tabele) Wypelnij(*db, tabela, podane);
        db->checkpoint(true);
        db->close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wypelnij_tabele: %s\n", e.what());
        return 1;
    }
    return 0;
}
