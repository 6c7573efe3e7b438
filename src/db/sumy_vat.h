// Running net and tax sums of one document per VAT rate, read by the steps that rebuild
// a document's VAT figures from its lines.
#pragma once

#include <array>
#include <string_view>

#include "jet/value.h"

// Slots: 0 unused, 1 "22", 2 "7", 3 "0", 4 any other rate ("zw", ""), 5 "3", 6 "12". The
// tax of slots 0, 3 and 4 stays 0. Readers rely on this order.
inline std::array<jet::Currency, 7> Sumy_Netto_VAT{};
inline std::array<jet::Currency, 7> Sumy_VAT{};

// Sets every net and tax sum to 0.
void Zeruj_Sumy_VAT();

// Adds kwota (rounded by NzCur) to the net sum of the rate stawka (compared exactly,
// case and blanks included) and recomputes the tax of every taxed rate as NzCur of its
// net sum times the rate: always the rounded tax of the accumulated net, never a sum of
// per-line taxes. An amount that overflows the money range raises Overflow.
void Dodaj_Do_Sum_VAT(jet::Currency kwota, std::string_view stawka);
