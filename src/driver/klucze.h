// The rules by which a step keeps the rows that a primary key or unique index it makes
// cannot take as they stand (rows that repeat the key's columns, or leave one of them
// Null), one line a key in klucze.inc: the step, the table, the key's columns, the rule and
// why. A key that no line names, or whose rule is Stop, stops the step.
//
// Every rule but Stop first gives a Null in a key that takes none (a primary key) a value,
// by the kind of its column: a reference (odwolania) names none (0), as does one that
// names no row of its table (where the line names the table), in a row that breaks the
// key; a quantity or value (ilosci,
// wartosci, or a column of a money or fractional type) counts as none (0); a text is ""
// (a text of none); the row's own id (wlasne_id) gets a new number above the others, or
// where it is a name, "N" and the lowest number that no row holds (the suffix rule); a
// whole number whose Null the line counts as none (zera: a year) is 0; a column of
// domyslne takes the value that the line states. A Null of another
// kind (a date, a whole number that is none of these) stops the step.
// Then rows that repeat the key and hold the same in every other column but their
// quantities, values and texts (and the columns pierwszy), a Null counting as the value of
// none (0, ""), become one: the first by the
// table's counter (by the order stored where it has none) keeps its row, its values of the
// columns pierwszy, and takes the sums of the quantities and values (a Null adds nothing;
// Null where all are Null; a value kept to the grosz) and its texts joined ("; " between
// them, each text once; a text that the joined would not fit in a column it meets on the
// way to 6.46 is left out, named whole in the Log); the others are deleted. Rows of two
// own ids (wlasne_id), which other rows may name, become one only where the line says so
// (przepnij): the rows that the suite's references (driver/odwolania.h) say name the one
// deleted are pointed at the one kept. What repeats the key after that is left to the
// line's rule. Each row changed or deleted is named in the Log, with its key values and
// what became of its figures and of the rows that named it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/wykonawca.h"

enum class Sposob_Klucza : uint8_t {
    Stop,        // no rule keeps every figure: the step stops, naming the rows and their mend
    Scal,        // rows alike become one; rows that still repeat the key stop the step
    Dalej,       // as Scal; rows that still repeat the key are left to a later step's key
                 // (krok_dalej, pola_dalej), which they fit: the key is not made now; where
                 // that is this very key, the later step merges the rows before it, and
                 // they are all left to it, none merged now
    Przyrostek,  // as Scal; a row that still repeats the key, but the first, gets "N" and a
                 // number after the value of the key's text column przyrostek, or, where
                 // that column holds whole numbers, the number after the highest it holds
    Srednia,     // as Scal, and lines that differ in their prices (ceny) too become one: the
                 // sums of the quantities and values at the price that keeps the value to
                 // the grosz (the value over the quantity); where no price of four decimals
                 // keeps it, or the quantities sum to 0, the step stops naming the rows
    Nowy_Numer,  // as Scal; a row that still repeats the key, but the first, gets a new
                 // number above every row's in the key's column wlasne_id: the row's own
                 // id, by which no other row names it
};

struct Regula_Klucza {
    int krok;                 // the step, version times 100
    std::string_view tabela;  // the table as the step names it
    std::string_view pola;    // the key's columns, separated by commas
    Sposob_Klucza sposob;
    std::string_view powod;  // why the rows are kept so, or why they cannot be
    // Key columns that name a row of another table, separated by commas: what each names
    // at the step is the table of the suite's references' (driver/odwolania.h); where that
    // names none (the row's kind decides the table, or no table holds what it names) a
    // Null becomes 0 and what it names is not looked up.
    std::string_view odwolania = {};
    // The row's own id: Null in the key, a new number (a new name, of a text); rows of two
    // ids never become one.
    std::string_view wlasne_id = {};
    std::string_view zera = {};        // whole-number key columns whose Null counts as none
    std::string_view ilosci = {};      // quantities summed when rows become one
    std::string_view wartosci = {};    // values summed when rows become one, to the grosz
    std::string_view teksty = {};      // texts joined when rows become one
    std::string_view przyrostek = {};  // Przyrostek: the text column that takes the suffix
    std::string_view ceny = {};        // Srednia: the prices of the quantity (first of ilosci)
    std::string_view pierwszy = {};    // columns in which the first row's value stands
    int krok_dalej = 0;                // Dalej: the later step whose key takes the rows
    std::string_view pola_dalej = {};  // Dalej: that key's columns
    // Key columns whose Null takes the value that the road gives every row of the table,
    // "COLUMN=VALUE" separated by commas (the value as text, taken as the column's type).
    std::string_view domyslne = {};
    // Rows alike but for their own ids (wlasne_id) become one too: the rows of other tables
    // that the suite's references say name the one merged away name the one kept.
    bool przepnij = false;
};

// Every line of the table, in step order.
std::span<const Regula_Klucza> Reguly_Kluczy();

// The line of step krok's key over the columns pola of the table tabela; nullptr when there
// is none. Names compare without regard to case or brackets, columns also without their
// order marks ("asc", "desc") and blanks.
const Regula_Klucza* Regula_Klucza_Dla(int krok, std::string_view tabela, std::string_view pola);

// The rule of the keys (Regula_Kluczy, db/wykonawca.h) that the conversion installs: the
// line of the key that the statement indeks makes at the step being run (Krok_Konwersji)
// fits the rows as above and says what became of the key (Dopasowany, Odlozony), or says
// why no rule keeps them (Bez_Reguly; nothing written). Raises what the reads and writes
// raise.
Decyzja_Klucza Zastosuj_Regule_Klucza(const jet::sql::CreateIndex& indeks, jet::Fault blad);

// The tables of the open file that the INSERT or UPDATE polecenie writes, each with the
// columns that it sets there (an UPDATE's, by its table's name or alias, or unqualified; an
// INSERT: none, it writes whole rows); none for another statement or one not read.
std::vector<std::pair<std::string, std::vector<std::string>>> Tabele_Zapisywane(
    std::string_view polecenie);

// The rule of the repeated keys (Regula_Powtorzen, db/wykonawca.h) that the conversion
// installs: the INSERT or UPDATE polecenie, whose rows would repeat a key of a table it
// writes, is run through ponow with that table's unique indexes and primary key off; each
// key that the rows then break is fitted by the line of the latest step up to the one being
// run that makes it, as above (the Log naming the step being run), and made again; a key
// whose line leaves the rows to a later key not yet made stays off until then. Where no
// line keeps the rows, why not, with the key in klucz. Raises what the reads and writes
// raise.
Decyzja_Klucza Zastosuj_Regule_Powtorzen(std::string_view polecenie, const Ponowienie& ponow);
