// Rows for steps 4.67 to 4.99.
#include "baza.h"

namespace baza {

void dodatki_467_499(Budowa&) {}

}  // namespace baza
