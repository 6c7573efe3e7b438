// The shell's schema listings: `.tables` and `.schema [TABLE]`, read through DAO so that
// they show what the program sees.
#pragma once

#include <ostream>
#include <string_view>

namespace dao {
class Database;
}  // namespace dao

namespace jetsql {

// `.tables`: every table in DAO's order, one a line; the catalog's own tables are
// marked, e.g. "MSysRelations (system)".
void print_tables(const dao::Database& db, std::ostream& out);

// `.schema TABLE`: the table's columns (Jet type, DAO size, default, counter,
// zero-length permission), its indexes (flags and fields in order) and the
// relations it takes part in. An unknown table raises jet::Error (item not found)
// and prints nothing.
void print_schema(const dao::Database& db, std::string_view table, std::ostream& out);

// `.schema` alone: print_schema of every table but the catalog's own, in DAO's order,
// an empty line between two.
void print_every_schema(const dao::Database& db, std::ostream& out);

}  // namespace jetsql
