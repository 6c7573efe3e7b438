// Rows made from the catalog (drogi.cpp, KONW_DROGA_KRAWEDZIE): at a step's entry, every
// table that a statement or query of the step read on the road's first pass (one
// "STEP<tab>TABLE" a line, written by the check by shape, ksztalt.h) gets rows with each
// column's edge values, so that the lines of the step that only such values reach run
// under the checks. From the table's first row (or, in an empty table, the values that
// the filler of wypelnij.h takes), one row each:
//   null      every column that may hold Null (not required, no counter, outside the
//             primary key) Null;
//   zero      numbers 0, texts "" (where the column takes an empty text), Yes/No No;
//   negative  numbers below zero (a Byte, which has none, 0);
//   long      texts of the column's whole size, a memo of 300 characters;
//   nothing   every whole-number column that the suite's references say names a row, or
//             named ...ID outside the table's unique indexes, names the id 999999, which
//             no row has (a line whose document is gone, a party that names no office);
//   twins     two rows alike but for their figures (the first row's and twice them), and
//             two more stored in the other order, each pair naming other rows.
// Columns of a unique index or the primary key get values of their own (the highest
// plus one, a text with a mark), so that every row is taken; a table without a unique
// index gets a copy of its first row whole (a repeated key). A table gets its rows once
// for the columns it has (a column that a step adds brings them again at the next step
// that reads the table): the changes made are marked in the road's state as "E TABLE.COLUMN".
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "jet/database.h"

namespace krawedzie {

// The tables read per step (version times 100), in capitals, from the record of the first
// pass; empty when the file is missing.
std::map<int, std::set<std::string>> Czytane(const std::string& plik);

// Puts the edge rows into the table at step krok, unless raz (called with "E TABLE.COLUMN")
// says that every column of it had them. Rows that the file refuses are left out.
void Wypelnij(jet::Database& db, const jet::TableInfo& t, int krok,
              const std::function<bool(const std::string&)>& raz);

}  // namespace krawedzie
