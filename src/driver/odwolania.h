// The suite's references, one table as data (odwolania.inc): which column of which table
// names which table's row, from which step on. The rules of the keys look up what a
// key's reference names and re-point the rows that name a copy merged away; the checks of
// the relations take the dangling ids from it.
#pragma once

#include <span>
#include <string_view>
#include <vector>

struct Odwolanie_Pakietu {
    int od_kroku;                      // the first step at which it holds (0: from the start)
    int do_kroku;                      // the step from which it holds no more (0: to 6.46)
    std::string_view tabela, kolumna;  // the column that names a row
    std::string_view cel, id;          // the table named and the column whose value it holds
};

// Every line of the table.
std::span<const Odwolanie_Pakietu> Odwolania_Pakietu();

// What the column kolumna of the table tabela names at step krok; nullptr when it names
// no table's row there (or the row's kind decides which). Names compare without regard
// to case or brackets.
const Odwolanie_Pakietu* Odwolanie_Kolumny(int krok, std::string_view tabela,
                                           std::string_view kolumna);

// A column that names a row of the table that its row's kind decides (a settlement line's
// document, a book entry's posted document), from which step on (as Odwolanie_Pakietu).
struct Odwolanie_Wedlug_Rodzaju {
    int od_kroku;
    int do_kroku;
    std::string_view tabela, kolumna;
};

// Every line of the table of such columns (odwolania.inc, ODWOLANIE_RODZAJ).
std::span<const Odwolanie_Wedlug_Rodzaju> Odwolania_Wedlug_Rodzaju();

// Whether the column kolumna of the table tabela names a row at step krok: a reference, or
// a column whose row's kind decides the table.
bool Kolumna_Wskazuje(int krok, std::string_view tabela, std::string_view kolumna);

// Every reference that names a row of the table cel by its column id at step krok.
std::vector<const Odwolanie_Pakietu*> Odwolania_Do(int krok, std::string_view cel,
                                                   std::string_view id);
