// The classification of fixed assets that step 5.54 writes into S_KRST: groups,
// subgroups, kinds and sub-kinds in ascending text order of the symbol, each with its
// name and two annual depreciation rates in per cent, written as the statements carry
// them (a whole number or a decimal comma: "2,5").
#pragma once

#include <array>
#include <cstddef>

namespace kroki {

struct Pozycja_KRST {
    const char* symbol;
    const char* nazwa;
    const char* proc1;
    const char* proc2;
};

inline constexpr std::size_t kPozycjeKRST = 600;
extern const std::array<Pozycja_KRST, kPozycjeKRST> kKlasyfikacjaKRST;

}  // namespace kroki
