// The test and demonstration database of the suite's release 1.65: every table that
// the oldest conversion steps read before one of them creates it, with the counters,
// indexes and relations of that release and the rows of a small bakery.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "jet/database.h"
#include "jet/rowaccess.h"

namespace baza {

struct Opcje {
    // The benchmark size: about 200 products, 1,000 contractors and two years of daily
    // documents (about a million document lines). Otherwise a few dozen of each over
    // three months.
    bool large = false;
    uint32_t ziarno = 165;  // the seed of the generated rows: one seed, one database
    // Days of documents; 0 takes the size's own (two years large, three months small).
    // The benchmark halves it to see how the conversion's cost grows with the data.
    int dni = 0;
};

// Creates the database file at path (it must not exist) with the suite's password,
// format "4.0", at version 1.65.
void zbuduj_baze_165(const std::string& path, const Opcje& o = {});

// What a table's builder works with: the open database, the options, a seeded random
// source and the sizes that the tables share.
class Budowa {
  public:
    Budowa(jet::Database& db, const Opcje& o);

    jet::Database& db;
    const Opcje& opcje;
    std::mt19937 los;

    // Sizes and ids that later tables refer to (filled by the tables built earlier).
    int produkty = 0;           // PRODUKTY rows, ids 1 ..
    int surowce = 0;            // SUROWCE rows, ids 1 ..
    int polprodukty = 0;        // POLPRODUKTY rows (their id counter comes at 1.86)
    int kontrahenci = 0;        // KONTRAHENCI rows, ids 1 ..
    int kierowcy = 4;           // drivers named by contractors and documents
    double pierwszy_dzien = 0;  // first document day (a Date serial)
    int dni = 0;                // document days from the first one

    // Runs one statement.
    void sql(std::string_view tekst);
    // Adds one row (omitted columns take their defaults, a counter its next number).
    void wstaw(std::string_view tabela, const jet::ColumnValues& wartosci);
    // A whole number from od to do_ inclusive, and a uniform choice.
    int losuj(int od, int do_);
    template <typename T>
    const T& wybierz(const std::vector<T>& z) {
        return z[static_cast<size_t>(losuj(0, static_cast<int>(z.size()) - 1))];
    }
};

// One table of the release: its name and the function that creates and fills it.
struct Tabela {
    std::string nazwa;
    std::function<void(Budowa&)> zbuduj;
};

// The tables in building order (dictionaries first, documents after what they name).
const std::vector<Tabela>& tabele_165();

// Rows of release 1.65 tables added after all tables are built, so that the later steps
// meet rows that they transform; one function per range of steps, each in its own file
// (dodatki_<first>_<last>.cpp), called in this order.
void dodatki_390_413(Budowa& b);
void dodatki_414_466(Budowa& b);
void dodatki_467_499(Budowa& b);
void dodatki_500_558(Budowa& b);
void dodatki_559_646(Budowa& b);

}  // namespace baza
