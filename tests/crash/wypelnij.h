// Rows for tables that the demonstration road leaves empty (see wypelnij_tabele.cpp): the
// filler that the sweep's tool and the roads' program share.
#pragma once

#include <algorithm>
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
#include "platform/clock.h"

namespace wypelnij {

inline constexpr int kWiersze = 3;

// The values of the column of that name in the first other table that has any.
inline std::vector<jet::Value> Wartosci_Z_Bazy(jet::Database& db, const jet::TableInfo& tabela,
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
inline jet::Value Wartosc(const jet::ColumnInfo& c, int i) {
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

// The table that a name of the list names, without the "+" in front that Wypelnij reads.
inline std::string Nazwa_Tabeli(const std::string& nazwa) {
    return nazwa.starts_with('+') ? nazwa.substr(1) : nazwa;
}

// A table named with a "+" in front gets its rows even when it holds some: the rows of a
// kind that the step works on and that the database lacks (a collective invoice of notes
// with a discount).
inline void Wypelnij(jet::Database& db, const std::string& nazwa, const Podane& podane) {
    const bool dopisz = nazwa.starts_with('+');
    const jet::TableInfo* t = db.catalog().table(Nazwa_Tabeli(nazwa));
    if (t == nullptr || (!dopisz && db.query("SELECT TOP 1 * FROM [" + t->name + "]")->next()))
        return;
    std::vector<std::pair<std::string, std::vector<jet::Value>>> kolumny;
    for (const jet::ColumnInfo& c : t->columns)
        if (const auto p = podane.find(jet::text::upper(c.name)); p != podane.end()) {
            kolumny.emplace_back(c.name, p->second);
            // "@TABLE.COLUMN": the column's highest value there, as the rows put in before
            // left it (the id of a document put in for the lines that follow).
            for (jet::Value& v : kolumny.back().second) {
                const std::string w = v.is_null() ? "" : v.to_text();
                const size_t kropka = w.find('.');
                if (w == "@ROK") v = jet::Value::long_(platform::today().year);
                if (!w.starts_with('@') || kropka == std::string::npos) continue;
                auto r = db.query("SELECT Max([" + w.substr(kropka + 1) + "]) FROM [" +
                                  w.substr(1, kropka - 1) + "]");
                if (r->next()) v = r->value(0);
            }
        } else if (!c.counter)
            kolumny.emplace_back(c.name, Wartosci_Z_Bazy(db, *t, c));
    // kWiersze rows, or as many as the longest list of values given.
    size_t wierszy = kWiersze;
    for (const auto& p : podane) wierszy = std::max(wierszy, p.second.size());
    for (size_t i = 0; i < wierszy; ++i) {
        jet::ColumnValues wiersz;
        for (size_t k = 0; k < kolumny.size(); ++k) {
            const auto& [kolumna, z_bazy] = kolumny[k];
            wiersz.emplace_back(kolumna, z_bazy.empty()
                                             ? Wartosc(*t->column(kolumna), static_cast<int>(i))
                                             : z_bazy[i % z_bazy.size()]);
        }
        try {
            jet::atomically(db, [&] { jet::insert_row(db, t->name, wiersz); });
        } catch (const jet::Error& e) {
            std::fprintf(stderr, "wypelnij_tabele: row %zu of %s left out: %s\n", i + 1,
                         t->name.c_str(), e.description().c_str());
        }
    }
}

// The tables of the arguments [+]TABLE or [+]TABLE.COLUMN=VALUE,VALUE... (the values of a
// column of the table named before; \N for Null, \s for a blank, \, for the decimal comma
// of a figure, A..B for the whole numbers A to B, @TABLE.COLUMN for that column's highest
// value when the rows go in, @ROK for this year, the year whose books the ledger steps
// recompute), with the values given for their columns. A table named alone starts a set
// of rows of its own.
inline std::vector<std::pair<std::string, Podane>> Tabele(
    const std::vector<std::string>& argumenty) {
    std::vector<std::pair<std::string, Podane>> tabele;
    for (const std::string& arg : argumenty) {
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
        // The values, split at each "," but "\,", the decimal comma of a figure.
        std::vector<std::string> lista(1);
        for (size_t i = rowna + 1; i < arg.size(); ++i)
            if (arg[i] == '\\' && i + 1 < arg.size() && arg[i + 1] == ',')
                lista.back() += arg[++i];
            else if (arg[i] == ',')
                lista.emplace_back();
            else
                lista.back() += arg[i];
        for (std::string v : lista) {
            const size_t kropki = v.find("..");
            if (v == "\\N") {
                w.push_back(jet::Value::null());
            } else if (kropki != std::string::npos && kropki > 0) {
                for (int i = std::stoi(v.substr(0, kropki)), j = std::stoi(v.substr(kropki + 2));
                     i <= j; ++i)
                    w.push_back(jet::Value::text(std::to_string(i)));
            } else {
                for (size_t b; (b = v.find("\\s")) != std::string::npos;) v.replace(b, 2, " ");
                w.push_back(jet::Value::text(v));
            }
        }
    }
    return tabele;
}

}  // namespace wypelnij
