// Rows for steps 5.00 to 5.58.
#include "baza.h"

namespace baza {

void dodatki_500_558(Budowa&) {}

}  // namespace baza
