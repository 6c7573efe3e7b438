// Recordset passes that several of the oldest steps share: a reference row added when
// its query finds none, and the renumbering of a column over an ordered query.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "driver/konwersje.h"
#include "jet/value.h"

namespace kroki {

// Opens "Select " & tekst; when the opener reports 0 records, adds one record with
// the fields 0, 1, ... set to wartosci and writes it. Any other count (a row exists,
// or -1 after an open that was ignored) adds nothing. Closes the recordset.
void Dodaj_Wiersz_Gdy_Brak(ClsKonwersje& k, const std::string& tekst,
                           const std::vector<jet::Value>& wartosci);

// Opens "Select " & tekst and, for every record in order, writes into field 0 the
// number that licznik returns for the record (nullopt leaves the record as it is),
// writing each changed record at once. Closes the recordset.
void Numeruj(ClsKonwersje& k, const std::string& tekst,
             const std::function<std::optional<int32_t>(ado::Recordset&)>& licznik);

// A field's value compared as VB compares it with a number: Null is never equal.
bool Rowne(const jet::Value& v, double liczba);

}  // namespace kroki
