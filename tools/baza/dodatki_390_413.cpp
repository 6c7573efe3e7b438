// Rows for steps 3.90 to 4.13.
#include "baza.h"

namespace baza {

void dodatki_390_413(Budowa&) {}

}  // namespace baza
