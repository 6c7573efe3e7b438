// The step methods built so far, by step number. The version loop runs the method of
// each step number from this table; a number that the dispatch table gives to a
// step method not listed here stops the run there (see Akcja_Kroku).
#include "driver/konwersje.h"

const std::map<int, MetodaKroku>& Zbudowane_Kroki() {
    static const std::map<int, MetodaKroku> kroki = {
        {165, &ClsKonwersje::Konwersja_165},
        {169, &ClsKonwersje::Konwersja_169},
        {170, &ClsKonwersje::Konwersja_170},
        {171, &ClsKonwersje::Konwersja_171},
        {182, &ClsKonwersje::Konwersja_182},
        {183, &ClsKonwersje::Konwersja_183},
        {184, &ClsKonwersje::Konwersja_184},
        {185, &ClsKonwersje::Konwersja_185},
        {186, &ClsKonwersje::Konwersja_186},
        {187, &ClsKonwersje::Konwersja_187},
        {188, &ClsKonwersje::Konwersja_188},
        {189, &ClsKonwersje::Konwersja_189},
        {190, &ClsKonwersje::Konwersja_190},
        {191, &ClsKonwersje::Konwersja_191},
        {192, &ClsKonwersje::Konwersja_192},
        {193, &ClsKonwersje::Konwersja_193},
        {194, &ClsKonwersje::Konwersja_194},
        {196, &ClsKonwersje::Konwersja_196},
        {197, &ClsKonwersje::Konwersja_197},
        {198, &ClsKonwersje::Konwersja_198},
        {199, &ClsKonwersje::Konwersja_199},
        {200, &ClsKonwersje::Konwersja_200},
        {201, &ClsKonwersje::Konwersja_201},
        {202, &ClsKonwersje::Konwersja_202},
        {203, &ClsKonwersje::Konwersja_203},
        {204, &ClsKonwersje::Konwersja_204},
        {205, &ClsKonwersje::Konwersja_205},
        {206, &ClsKonwersje::Konwersja_206},
        {207, &ClsKonwersje::Konwersja_207},
        {208, &ClsKonwersje::Konwersja_208},
        {209, &ClsKonwersje::Konwersja_209},
        {210, &ClsKonwersje::Konwersja_210},
        {211, &ClsKonwersje::Konwersja_211},
        {212, &ClsKonwersje::Konwersja_212},
        {213, &ClsKonwersje::Konwersja_213},
        {214, &ClsKonwersje::Konwersja_214},
        {215, &ClsKonwersje::Konwersja_215},
        {216, &ClsKonwersje::Konwersja_216},
        {270, &ClsKonwersje::Konwersja_270},
        {271, &ClsKonwersje::Konwersja_271},
        {272, &ClsKonwersje::Konwersja_272},
    };
    return kroki;
}
