// The suite's references derived on the road (drogi.cpp, KONW_DROGA=odwolania): every
// statement the road runs, seen through the engine's shape observer (jet/trace.h) with the
// catalog as it stands, names a reference wherever it compares a column with another
// table's key (a column that a primary key or unique index holds alone at that statement)
// in a join's ON, a WHERE or a HAVING ("A.X = B.KEY"), or gives a column another table's
// key (an UPDATE's "SET A.X = B.KEY", an INSERT ... SELECT of B.KEY into A.X); so does a
// relation of the catalog of one column, and a look-up by a value that the program read:
// a statement whose condition compares another table's key with a literal that a field of
// a recordset gave the program since the statement before, when the value (not 0) came
// from one column alone ("A.X" read, then "... where B.KEY=value"). It holds from that step on where it still stands
// at the step's last statement: both tables there (not the step's own work table), the key
// still a key, and the column not alone its own table's key (which names its own row).
//
// At the process's end it checks the table of references (driver/odwolania.inc) against
// what was derived, and writes one line a reference to plik:
//   derived <tab> TABLE.COLUMN -> TABLE.KEY <tab> VERDICT <tab> STEPS <tab> SHAPE
//   table   <tab> TABLE.COLUMN -> TABLE.KEY <tab> VERDICT <tab> FROM-TO
// derived: the steps whose statements named it (its first step the one it holds from) and
// one such statement; VERDICT "in the table" where a line of the table holds it at each of
// those steps, else "stated" or "FINDING". table: each line of the table, VERDICT "derived"
// where a statement of a step at which it holds named it, else "stated" or "FINDING". The
// cases stated are in pominiete, one line a reference: "TABLE.COLUMN -> TABLE.KEY  # reason".
// A column whose row's kind decides the table it names (ODWOLANIE_RODZAJ) holds each
// reference of that column; its line reads "TABLE.COLUMN -> *".
#pragma once

#include <string>

namespace odwolania {

void Start(const std::string& plik, const std::string& pominiete);

}  // namespace odwolania
