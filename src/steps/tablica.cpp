// The step methods built so far, by step number. The version loop runs the method of
// each step number from this table; a number that the dispatch table gives to a
// step method not listed here stops the run there (see Akcja_Kroku).
#include "driver/konwersje.h"

const std::map<int, MetodaKroku>& Zbudowane_Kroki() {
    static const std::map<int, MetodaKroku> kroki = {
        {217, &ClsKonwersje::Konwersja_217},
        {218, &ClsKonwersje::Konwersja_218},
        {219, &ClsKonwersje::Konwersja_219},
        {220, &ClsKonwersje::Konwersja_220},
    };
    return kroki;
}
