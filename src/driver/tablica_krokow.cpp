// The dispatch table of the version loop.
#include <algorithm>
#include <array>

#include "driver/konwersje.h"

namespace {

// Versions whose step is the empty step.
constexpr std::array<int, 25> kPuste = {225, 226, 259, 260, 300, 329, 358, 359, 392,
                                         444, 489, 504, 505, 520, 521, 522, 523, 524,
                                         525, 540, 574, 601, 602, 620, 638};

// Versions that only sound the beep: 166, 167, 168, 172-181, 195, 332-350, 614, 631-635.
bool tylko_sygnal(int v) {
    return v == 166 || v == 167 || v == 168 || (v >= 172 && v <= 181) || v == 195 ||
           (v >= 332 && v <= 350) || v == 614 || (v >= 631 && v <= 635);
}

}  // namespace

PozycjaKroku Akcja_Kroku(int v) {
    if (std::find(kPuste.begin(), kPuste.end(), v) != kPuste.end())
        return {RodzajKroku::Pusty, nullptr};
    if (tylko_sygnal(v)) return {RodzajKroku::Sygnal, nullptr};
    if (v >= 165 && v <= 646) {
        const auto& kroki = Zbudowane_Kroki();
        auto it = kroki.find(v);
        return {RodzajKroku::Metoda, it == kroki.end() ? nullptr : it->second};
    }
    return {RodzajKroku::Poza, nullptr};
}
