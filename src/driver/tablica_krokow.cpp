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
constexpr bool tylko_sygnal(int v) {
    return v == 166 || v == 167 || v == 168 || (v >= 172 && v <= 181) || v == 195 ||
           (v >= 332 && v <= 350) || v == 614 || (v >= 631 && v <= 635);
}

// The numbers of the built steps, as listed.
constexpr int kZbudowane[] = {
#define KROK(v) v,
#include "steps/lista_krokow.inc"
#undef KROK
};

// The list of built steps is in step order, inside 165..646, and names no number that
// the table gives to the empty step or to the beep alone.
constexpr bool lista_poprawna() {
    int poprzedni = 164;
    for (int v : kZbudowane) {
        if (v <= poprzedni || v > 646 || tylko_sygnal(v)) return false;
        if (std::find(kPuste.begin(), kPuste.end(), v) != kPuste.end()) return false;
        poprzedni = v;
    }
    return true;
}
static_assert(lista_poprawna(), "steps/lista_krokow.inc: out of order, out of range or an empty step");

// The steps of a test, in place of the step methods of their numbers.
std::map<int, KrokZastepczy>& kroki_zastepcze() {
    static std::map<int, KrokZastepczy> kroki;
    return kroki;
}

}  // namespace

const std::map<int, MetodaKroku>& Zbudowane_Kroki() {
    static const std::map<int, MetodaKroku> kroki = {
#define KROK(v) {v, &ClsKonwersje::Konwersja_##v},
#include "steps/lista_krokow.inc"
#undef KROK
    };
    return kroki;
}

void Podstaw_Kroki(std::map<int, KrokZastepczy> kroki) {
    kroki_zastepcze() = std::move(kroki);
}

PozycjaKroku Akcja_Kroku(int v) {
    if (std::find(kPuste.begin(), kPuste.end(), v) != kPuste.end())
        return {RodzajKroku::Pusty, nullptr};
    if (tylko_sygnal(v)) return {RodzajKroku::Sygnal, nullptr};
    if (v >= 165 && v <= 646) {
        if (auto z = kroki_zastepcze().find(v); z != kroki_zastepcze().end())
            return {RodzajKroku::Metoda, nullptr, z->second ? &z->second : nullptr};
        const auto& kroki = Zbudowane_Kroki();
        auto it = kroki.find(v);
        return {RodzajKroku::Metoda, it == kroki.end() ? nullptr : it->second, nullptr};
    }
    return {RodzajKroku::Poza, nullptr};
}
