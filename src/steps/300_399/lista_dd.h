// The note list of a collective invoice (FAKOUT_NR_DD): items written one after the
// other, each a marker "«+»" (a delivery note of DOK_DD) or "«-»" (a return of DOK_DZ)
// followed at once by the note's number.
#pragma once

#include <string>
#include <vector>

#include "jet/value.h"

namespace kroki {

struct Pozycja_Listy_DD {
    bool zwrot = false;  // true: a return ("«-»"), false: a delivery note ("«+»")
    std::string numer;   // the note's number, blanks included
};

// The items of a note list in their order. Blanks at the very beginning and end of the
// list are dropped; an item's number runs from its marker up to, not including, the next
// "«" or the end of the list, so blanks between items belong to the number before them.
// A "«" that begins no marker ends the number before it and begins no item. Null, an
// empty list and a list too short to hold a marker give no items.
std::vector<Pozycja_Listy_DD> Pozycje_Listy_DD(const jet::Value& lista);

}  // namespace kroki
