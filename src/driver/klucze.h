// The rules by which a step keeps the rows that a primary key or unique index it makes
// cannot take as they stand (rows that repeat the key's columns, or leave one of them
// Null), one line a key in klucze.inc: the step, the table, the key's columns, the rule and
// why. A key that no line names, or whose rule is Stop, stops the step.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class Sposob_Klucza : uint8_t {
    Stop,  // no rule keeps every figure: the step stops, naming the rows and their mend
};

struct Regula_Klucza {
    int krok;                 // the step, version times 100
    std::string_view tabela;  // the table as the step names it
    std::string_view pola;    // the key's columns, separated by commas
    Sposob_Klucza sposob;
    std::string_view powod;  // why the rows are kept so, or why they cannot be
};

// Every line of the table, in step order.
std::span<const Regula_Klucza> Reguly_Kluczy();

// The line of step krok's key over the columns pola of the table tabela; nullptr when there
// is none. Names compare without regard to case or brackets, columns also without their
// order marks ("asc", "desc") and blanks.
const Regula_Klucza* Regula_Klucza_Dla(int krok, std::string_view tabela, std::string_view pola);
