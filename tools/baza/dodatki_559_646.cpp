// Rows for steps 5.59 to 6.46.
#include "baza.h"

namespace baza {

void dodatki_559_646(Budowa&) {}

}  // namespace baza
