// Recordset passes that several of the oldest steps share: a reference row added when
// its query finds none, and the renumbering of a column over an ordered query.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
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

// A text put between apostrophes in a statement: each apostrophe doubled, so that a
// name such as Pani's stays one literal.
std::string W_Apostrofach(const std::string& tekst);

// The open recordset in rs. An opener whose failure was ignored leaves rs empty; using
// it then fails as a use of an object that is not set, an error that reaches the
// version loop (or the step's own trap) like any other.
ado::Recordset& Rekordy(std::unique_ptr<ado::Recordset>& rs);

// One pass over the schema through a second, DAO handle on the database file: opens
// the data source of the open connection through DBEngine.OpenDatabase (path only),
// keeps it in k.BazaDAO, calls tabela for every table that the file lists as the pass
// opens it, in DAO's order, skipping names that begin with "MSys" (case-sensitive);
// then closes the handle, clears k.BazaDAO and waits 5 seconds. A failure to open or
// list raises; the handle is then left to the version loop's clean-up.
void Przebieg_DAO(ClsKonwersje& k, const std::function<void(dao::TableDef&)>& tabela);

}  // namespace kroki
