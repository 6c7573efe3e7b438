// What the programs of the roads share (drogi.cpp, relacje.cpp): the environment, the
// kinds of columns, the step's version as text.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "jet/catalog.h"
#include "jet/types.h"

namespace droga {

inline std::string srodowisko(const char* nazwa) {
    const char* w = std::getenv(nazwa);
    return w ? w : "";
}

inline bool liczbowa(jet::DataType t) {
    using T = jet::DataType;
    return t == T::Byte || t == T::Integer || t == T::Long || t == T::Currency || t == T::Single ||
           t == T::Double;
}

// True when an index of the kind holds the column (primary: the primary key or a required
// index; otherwise any unique one).
inline bool w_indeksie(const jet::TableInfo& t, const jet::ColumnInfo& c, bool primary) {
    for (const auto& ix : t.indexes) {
        if (primary ? !(ix.primary || ix.required) : !ix.unique) continue;
        for (const auto& ic : ix.columns)
            if (ic.column_id == c.id) return true;
    }
    return false;
}

inline std::string wersja(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%d.%02d", v / 100, v % 100);
    return b;
}

// A name of SQLite's, quoted.
inline std::string cudzyslow(const std::string& sql_name) {
    return "\"" + sql_name + "\"";
}

}  // namespace droga
