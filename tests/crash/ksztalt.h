// The check by the statement's shape (drogi.cpp, KONW_DROGA=ksztalt): every statement the
// road runs, seen through the engine's shape observer (jet/trace.h) with the catalog as it
// stands, is judged by its shape alone, with no row needed to meet the condition:
//   pick   a statement whose first row decides a value (TOP n, First/Last, a recordset
//          that its reader leaves on a row: its first, or the first that met a condition)
//          reads in an order that is total: ORDER BY with WHERE's equalities covers a
//          unique index or the primary key of every table it reads, or every value it
//          reads (ties give one value);
//   write  an UPDATE or DELETE that names one row (by a counter, or by the columns of a key
//          the table has anywhere on the road) names it by a unique index at that step;
//   sum    a sum or carried figure (Sum, +, -) over a numeric column that may be Null
//          counts a Null as none (Nz, IIf(IsNull));
//   join   a statement that sums or carries figures keeps each line whose partner row is
//          missing: it joins no table by INNER JOIN that it takes nothing from, and takes
//          values from an inner-joined partner only where a relation guarantees it.
//   latest a pick of the latest or highest by another table's id (ORDER BY ... DESC on a
//          column named ...ID that is not its own table's counter or key) ties the id by a
//          join or an equality to a key of a table read, so that an id naming nothing never
//          wins.
// What a step means otherwise is stated in tests/crash/ksztalt_wyjatki.txt, one line a
// case: "STEP KIND SHAPE  # reason", SHAPE the statement with its literals as "?" in which
// "*" stands for any text.
#pragma once

#include <string>

namespace ksztalt {

// Sets the shape observer; at the process's end writes one line a statement to plik:
//   STEP <tab> KIND <tab> VERDICT <tab> DETAIL <tab> SHAPE
// VERDICT "total"/"unique"/"guarded"/"kept" as it stands, "stated", or "FINDING".
void Start(const std::string& plik, const std::string& wyjatki);

// While it lives, the harness's own statements (the rows it adds at a step's entry) are
// not judged.
struct Wstrzymaj {
    Wstrzymaj();
    ~Wstrzymaj();
    Wstrzymaj(const Wstrzymaj&) = delete;
    Wstrzymaj& operator=(const Wstrzymaj&) = delete;
};

}  // namespace ksztalt
