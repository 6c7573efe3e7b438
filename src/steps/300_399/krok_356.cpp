// Step 3.56: documents numbered twice in one table since the numbers became unique are
// logged and renumbered again, and the unique number indexes that could not be created
// then are created now.
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_356() {
    kroki::Popraw_Podwojne_Numery(*this);
}
