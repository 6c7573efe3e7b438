// The rules as relations between runs of one step from one entry (relacje.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "driver/konwersje.h"

namespace relacje {

// Writes the road's last step (v) as planned: "V<tab>road<tab>planned", so that a road
// that ends before it is told.
void Droga_Do(int v);
// A child's run of step v (KONW_RELACJA names its change): never returns.
[[noreturn]] void Dziecko(MetodaKroku metoda, int v);
// Whether the relations check step v (KONW_RELACJE_KROKI).
bool Sprawdza(int v);
// The runs of step v from the committed entry, and their relations; dodane gives each
// table filled at the entry the first rowid of the rows put in for the step.
void Krok(int v, const std::map<std::string, int64_t>& dodane);

}  // namespace relacje
