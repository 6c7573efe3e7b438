// Each write of a step failing in turn with "duplicate values", the failure that a user's
// unique index raises and that the executors pass over: a statement that moves, carries
// or deletes rows stops the step with the database as it was; only a schema statement (a
// column or index already there) may pass over it and let the step end.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/session.h"
#include "jet/write_hook.h"
#include "platform/clipboard.h"

namespace kroki_test {

namespace detail {

// The write that fails (-1: none), the writes counted so far, and, in the straight run,
// the write from which on each write is recorded.
inline int zawodzi = -1, zapisy = 0, nagrywaj_od = -1;

// The sweep's own record of what a write did, read from SQLite beneath the code under
// test: every table of the catalog by its name, with its rows' count and, by column, a sum
// of the hashes of its values (the rows' order does not count, nor a number's width).
struct Tabela {
    size_t wiersze = 0;
    std::map<std::string, uint64_t> kolumny;
};
using Migawka = std::map<std::string, Tabela>;

inline uint64_t Skrot(sqlite3_stmt* st, int i) {
    const int typ = sqlite3_column_type(st, i);
    if (typ == SQLITE_NULL) return 0x9e3779b97f4a7c15ULL;
    if (typ == SQLITE_INTEGER || typ == SQLITE_FLOAT)
        return std::hash<double>{}(sqlite3_column_double(st, i) + 0.0);
    const auto* tekst = static_cast<const char*>(sqlite3_column_blob(st, i));
    const auto dlugosc = static_cast<size_t>(sqlite3_column_bytes(st, i));
    return std::hash<std::string_view>{}({tekst ? tekst : "", dlugosc}) * 3 + 1;
}

inline Migawka Migawka_Bazy() {
    Migawka m;
    for (const jet::TableInfo* t : polaczenie().database().catalog().tables()) {
        Tabela& tabela = m[t->name];
        std::string sql;
        std::vector<uint64_t*> sumy;
        for (const jet::ColumnInfo& c : t->columns) {
            sumy.push_back(&tabela.kolumny[c.name]);
            sql += (sql.empty() ? "SELECT " : ", ") + c.sql_name;
        }
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(polaczenie().database().session().handle(),
                           (sql + " FROM " + t->sql_name).c_str(), -1, &st, nullptr);
        for (; st && sqlite3_step(st) == SQLITE_ROW; ++tabela.wiersze)
            for (size_t i = 0; i < sumy.size(); ++i) *sumy[i] += Skrot(st, static_cast<int>(i));
        sqlite3_finalize(st);
    }
    return m;
}

// True when the write that took the database from przed to po changed the rows of a table
// that stood before it (their count, or the values of a column it had before and after)
// or made one with rows.
inline bool Zmienia_Wiersze(const Migawka& przed, const Migawka& po) {
    for (const auto& [nazwa, t] : po) {
        const auto it = przed.find(nazwa);
        if (it == przed.end()) {
            if (t.wiersze > 0) return true;
            continue;
        }
        if (it->second.wiersze != t.wiersze) return true;
        for (const auto& [kolumna, suma] : t.kolumny) {
            const auto k = it->second.kolumny.find(kolumna);
            if (k != it->second.kolumny.end() && k->second != suma) return true;
        }
    }
    return false;
}

// The straight run's record: the database before the last write recorded, and, for each
// write from nagrywaj_od on, whether it changed rows.
inline std::optional<Migawka> przed_zapisem;
inline std::vector<bool> zmienia;

inline void Nagraj() {
    Migawka m = Migawka_Bazy();
    if (przed_zapisem) zmienia.push_back(Zmienia_Wiersze(*przed_zapisem, m));
    przed_zapisem = std::move(m);
}

inline void Zapis() {
    const int n = zapisy++;
    if (nagrywaj_od >= 0 && n >= nagrywaj_od) Nagraj();
    if (n == zawodzi) throw jet::make_error(jet::Fault::Duplicate);
}

inline std::string Schowek() {
    std::ifstream plik(platform::clipboard_file());
    return std::string((std::istreambuf_iterator<char>(plik)), {});
}

}  // namespace detail

// For each write of the step from the od-th on (counted from 0): przygotuj opens the
// database as before the step, krok runs the step as the version loop does ("" when it
// returned, else what stopped it: "process end 1..." or "error ..." that reaches the
// loop) with that write failing, stan reads the whole database, and zamknij closes it.
// Stops at the first write number the step no longer reaches. Which write changes rows is
// the sweep's own knowledge, taken from a straight run first.
inline void Kazdy_Zapis_Zawodzi(const std::function<void()>& przygotuj,
                                const std::function<std::string()>& krok,
                                const std::function<std::vector<std::vector<std::string>>()>& stan,
                                const std::function<void()>& zamknij, int od = 0) {
    std::vector<std::vector<std::string>> prosto;  // the database after the straight run
    przygotuj();
    detail::zawodzi = -1;
    detail::zapisy = 0;
    detail::nagrywaj_od = od;
    detail::przed_zapisem.reset();
    detail::zmienia.clear();
    {
        jet::WorkUnit jednostka(polaczenie().database());
        jet::set_write_hook(detail::Zapis);
        EXPECT_EQ(krok(), "") << "the straight run";
        jet::set_write_hook(nullptr);
        if (detail::przed_zapisem) detail::Nagraj();
        prosto = stan();
    }
    detail::nagrywaj_od = -1;
    zamknij();
    for (int n = od;; ++n) {
        SCOPED_TRACE("write " + std::to_string(n + 1));
        przygotuj();
        polaczenie().database().checkpoint();
        const auto przed = stan();
        platform::clear_clipboard();
        detail::zawodzi = n;
        detail::zapisy = 0;
        std::string r;
        std::vector<std::vector<std::string>> po;
        {
            jet::WorkUnit jednostka(polaczenie().database());
            jet::set_write_hook(detail::Zapis);
            r = krok();
            jet::set_write_hook(nullptr);
            const size_t i = static_cast<size_t>(n - od);
            if (r.empty() && i < detail::zmienia.size() && detail::zmienia[i]) po = stan();
        }
        if (detail::zapisy <= n) {
            zamknij();
            return;
        }
        if (r.empty()) {
            // The step went on: the failed write changed no rows where the step runs
            // straight, or it was run again and the step ended as it does straight.
            const size_t i = static_cast<size_t>(n - od);
            EXPECT_TRUE(i >= detail::zmienia.size() || !detail::zmienia[i] || po == prosto)
                << "a write that changes rows failed and the step went on (the clipboard: "
                << detail::Schowek() << ")";
        } else {
            EXPECT_TRUE(r.starts_with("process end 1\n") || r.starts_with("error ")) << r;
            if (!Baza_Otwarta) DbOtwórz();
            EXPECT_EQ(stan(), przed);
        }
        zamknij();
    }
}

// The writes that krok makes over the database that przygotuj opens (zamknij closes it).
inline int Zapisy_Kroku(const std::function<void()>& przygotuj,
                        const std::function<std::string()>& krok,
                        const std::function<void()>& zamknij) {
    przygotuj();
    detail::zawodzi = -1;
    detail::zapisy = 0;
    jet::set_write_hook(detail::Zapis);
    krok();
    jet::set_write_hook(nullptr);
    zamknij();
    return detail::zapisy;
}

}  // namespace kroki_test
