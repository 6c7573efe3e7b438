// The step methods built so far, by step number. The version loop runs the method of
// each step number from this table; a number that the dispatch table gives to a
// step method not listed here stops the run there (see Akcja_Kroku).
#include "driver/konwersje.h"

const std::map<int, MetodaKroku>& Zbudowane_Kroki() {
    static const std::map<int, MetodaKroku> kroki = {
    };
    return kroki;
}
