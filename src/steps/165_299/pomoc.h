// Small pieces that the steps share: the recordset of an opener, a text put between
// apostrophes.
#pragma once

#include <memory>
#include <string>

#include "ado/ado.h"
#include "jet/error.h"

namespace kroki {

// The open recordset in rs. An opener whose failure was ignored leaves rs empty; using
// it then fails as a use of an object that is not set, an error that reaches the
// version loop (or the step's own trap) like any other.
inline ado::Recordset& Rekordy(std::unique_ptr<ado::Recordset>& rs) {
    if (!rs)
        throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
    return *rs;
}

// A text fit to stand between apostrophes in a statement: each apostrophe doubled, so
// that a name holding one is looked up as it stands.
inline std::string W_Apostrofach(const std::string& tekst) {
    std::string wynik;
    for (char c : tekst) {
        wynik += c;
        if (c == '\'') wynik += '\'';
    }
    return wynik;
}

}  // namespace kroki
