// Rows for steps 4.14 to 4.66.
#include "baza.h"

namespace baza {

void dodatki_414_466(Budowa&) {}

}  // namespace baza
