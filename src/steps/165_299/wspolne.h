// Recordset passes that several of the oldest steps share: a reference row added when
// its query finds none, and the renumbering of a column over an ordered query.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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

// A pass over the schema through a second connection: opens the file of the open
// connection through DAO as the conversion object's DAO database (the ADO connection
// stays open), calls tabela for every table in the order of the table collection except
// those whose name begins with "MSys" (letter case compared), then closes the file,
// clears the member and waits 5 seconds. A failure inside the pass reaches the caller
// with the member still set, for the version loop to close.
void Przebieg_DAO(ClsKonwersje& k, const std::function<void(dao::TableDef&)>& tabela);

// A table rename: the old name upper-cased, as a table's name is compared; the new
// name as it is written.
using Nowa_Nazwa = std::pair<const char*, const char*>;

// A DAO pass that renames every table whose upper-cased name equals an old name of
// nazwy (the first equal one, top to bottom). Other tables keep their names; a rename
// that the engine refuses (a table of the new name exists) raises its failure.
void Zmien_Nazwy_Tabel(ClsKonwersje& k, const std::vector<Nowa_Nazwa>& nazwy);

// A pass of a step that ignores its failures once pomijaj is set: for each record until
// EOF, zmien changes the record (it may set pomijaj itself), then pomijaj is set and the
// record is saved and left. While pomijaj is clear a failure reaches the caller; once it
// is set, a record that fails to change or to save gets back its stored values and the
// pass goes on with the next one, and a move that fails ends the pass.
void Zapisz_Wiersze_Pomijajac(ado::Recordset& rs, bool& pomijaj,
                              const std::function<void(ado::Recordset&)>& zmien);

}  // namespace kroki
