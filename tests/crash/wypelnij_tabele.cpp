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
#include <sstream>
#include <string>
#include <vector>

#include "db/haslo_bazy.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/text.h"
#include "wypelnij.h"

using namespace wypelnij;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wypelnij_tabele DATABASE TABLE...\n");
        return 2;
    }
    try {
        const auto tabele = Tabele(std::vector<std::string>(argv + 2, argv + argc));
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
