// The dispatch table of the version loop.
#include <algorithm>
#include <array>
#include <map>

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

// The steps of a test, in place of the step methods of their numbers.
std::map<int, KrokZastepczy>& kroki_zastepcze() {
    static std::map<int, KrokZastepczy> kroki;
    return kroki;
}

}  // namespace

void Podstaw_Kroki(std::map<int, KrokZastepczy> kroki) {
    kroki_zastepcze() = std::move(kroki);
}

PozycjaKroku Akcja_Kroku(int v) {
    if (std::find(kPuste.begin(), kPuste.end(), v) != kPuste.end())
        return {RodzajKroku::Pusty, nullptr};
    if (tylko_sygnal(v)) return {RodzajKroku::Sygnal, nullptr};
    if (v >= 165 && v <= 646) {
        if (auto z = kroki_zastepcze().find(v); z != kroki_zastepcze().end())
            return {RodzajKroku::Metoda, nullptr, &z->second};
        const auto& kroki = Zbudowane_Kroki();
        auto it = kroki.find(v);
        return {RodzajKroku::Metoda, it == kroki.end() ? nullptr : it->second, nullptr};
    }
    return {RodzajKroku::Poza, nullptr};
}
