// The sweep of the keys that the steps make (klucze.cpp), for konwersja_drogi (drogi.cpp).
#pragma once

namespace klucze {

// Sets the statement observer of the road (KONW_DROGA=klucze); in a change's run
// (KONW_KLUCZ) first makes the change at its entry and points the registry at its copy, or
// ends the process when the file refuses the change.
void Start();
// Whether the road fills step v's tables at its entry: not the first step of a change's
// run, whose entry was filled on the road it was copied from.
bool Wypelnia(int v);
// At step v's entry, after its fill.
void Wejscie(int v);
// After step v.
void Po_Kroku(int v);

}  // namespace klucze
