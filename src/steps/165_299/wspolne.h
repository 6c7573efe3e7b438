// Recordset passes that several of the oldest steps share: a reference row added when
// its query finds none, and the renumbering of a column over an ordered query.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// A payroll component's row of the catalogue place_opisy, sent as "[place_opisy]
// (POLE,OPIS,SKR) values (pole,'opis','skr')" through DbWykonajIINKonwersje only when the
// catalogue has no row of that component yet: a run that stopped after it inserted the
// row leaves it there, and a second copy would break the catalogue's key on pole.
void Opis_Skladnika(ClsKonwersje& k, int pole, const std::string& opis, const std::string& skr);

// Runs an update that re-points references from the ids of an old register to new rows
// ("UPDATE <join> set ... where ...", the join finding each reference's new row), once,
// over a database in which a run of the suite's earlier tool may have run it already:
// wczesniej says that the new rows were there before this run. The references that it
// re-points now are those that its own join finds; those that an earlier run re-pointed
// are those that nowe counts (the text after "Select ", a count of the references that
// find a new row by its key). Where its join finds none the update changes nothing, and
// where nowe counts none no earlier run re-pointed any: either way it runs. Where both
// find references, the database cannot tell which of the two ids a reference holds, and
// the step stops (Konwersja_Przerwana of krok, with stan).
void Przepnij_Raz(ClsKonwersje& k, bool wczesniej, const std::string& polecenie,
                  const std::string& nowe, int krok, const std::string& stan);

// An old register whose rows became parties of KONTRAHENCI: the table, its id, the
// column by which a party is found (the party's column pole_strony equals it) and the
// parties' kind.
struct Stary_Rejestr {
    const char* tabela;
    const char* id;
    const char* pole;
    const char* pole_strony;
    const char* rodzaj;
};

// The order that puts first the latest of an employee's option rows (KADRY_OPCJE): the
// latest date and, of two rows of one date, the one entered last (the highest counter).
// Every step that picks the latest option row, or the one of a day, picks by it.
inline constexpr const char* kOpcjeOdNajnowszej = "Dataod desc,countt desc";

// The employees' old register (their parties are found by the employee's number).
inline constexpr Stary_Rejestr kStarzyPracownicy{"KADRY_PRACOWNICY", "id", "Numer", "numer_prac",
                                                 "Pracownik"};
inline constexpr const char* kStronaStaregoId = "[_Strona_Starego_Id]";

// The work table kStronaStaregoId, "(stary long primary key, nowy long)", made anew for
// one old register: each old id, Null apart, with the konh_id of the party it becomes.
// Parties of the kind that share the found value (a name or a number that two old rows
// gave) are one party for it: the first made (the lowest konh_id). A row without the value
// (Null) finds the party made of it, which has none either: a value not given is one
// value, as 0 is. An id that the old
// register holds twice with one value is that value's party; with two values the step
// stops naming the table and the id, as Jeden_Wiersz_Na_Klucz does, since nothing tells
// which of the two the references meant. A re-pointing joins its table to the work table
// by the primary key, so each reference takes one party, the pairs judged before the
// update: a new id that equals another old id is not taken again.
void Strony_Starych_Id(ClsKonwersje& k, int krok, const Stary_Rejestr& r);

// The references of tabela's column that name no old id of kStronaStaregoId (an id that
// the old register r does not hold, or whose row became no party) would name whichever
// party has that id: they name nothing (0), and the Log counts them. 0, Null and the
// negative marks (no party's id) stay. To run before the references move, not after.
void Bez_Starej_Strony(ClsKonwersje& k, int krok, const Stary_Rejestr& r, const std::string& tabela,
                       const std::string& kolumna);

// The rows that Bez_Starej_Strony clears, as the FROM part of a select: "<tabela> as a LEFT
// JOIN kStronaStaregoId as S ON a.<kolumna> = S.stary where S.stary is null and a.<kolumna>>0".
std::string Wiersze_Bez_Starej_Strony(const std::string& tabela, const std::string& kolumna);

// "UPDATE <tabela> as <alias> INNER JOIN kStronaStaregoId as S ON <alias>.<kolumna> =
// S.stary set <alias>.<kolumna>=S.nowy": the references of tabela's column moved onto
// the parties of the old ids that they name; a reference naming no old id stays.
std::string Na_Strony(const std::string& tabela, const std::string& alias,
                      const std::string& kolumna);

// The number of rows that "Select count(*) from " & wiersze counts, rows that name
// nothing after step krok, goes to the Log when there are any: "Konwersja 2.34: " &
// opis & ": " & n.
void Loguj_Bez_Wskazania(ClsKonwersje& k, int krok, const std::string& opis,
                         const std::string& wiersze);

// Of the rows of a table that share a key, the first alone, for an update that joins
// the table: wczesniejszy is "<table> AS <X> ON (<X's key> = <the table's key> AND <X's
// order> < <the table's order>)" and pusty a column of X that no row leaves Null. Where
// the table (as tabela names it, with its alias) holds a key twice, zlaczenie is
// " left join " & wczesniejszy, to follow the update's join, and warunek
// "<pusty> is null", which its WHERE must hold; else both are "" and the update runs as
// it would without them: only such a table needs the second look at it, which would
// slow the update down.
struct Pierwszy_Wiersz {
    std::string zlaczenie, warunek;
    // "(" where the update's join is to be closed before zlaczenie, else "".
    std::string otworz() const { return zlaczenie.empty() ? "" : "("; }
    // ")" & zlaczenie where it is needed, else "".
    std::string zamknij() const { return zlaczenie.empty() ? "" : ")" + zlaczenie; }
    // warunek & " and ", to go before the WHERE's own condition, or "".
    std::string i() const { return warunek.empty() ? "" : warunek + " and "; }
};
Pierwszy_Wiersz Tylko_Pierwszy_Wiersz(ClsKonwersje& k, const std::string& tabela,
                                      const std::string& wczesniejszy, const std::string& pusty);

// Stops step krok, which is rolled back (the database keeps its last completed version),
// when two rows of tabela that warunek chooses (" and ..." or "") share a value of the
// key klucz (a column, or columns separated by commas), Null apart: the step's statements that take
// one row of tabela by that key would take either of them, or carry a figure twice. The message
// names the table, the column and the value.
void Jeden_Wiersz_Na_Klucz(ClsKonwersje& k, int krok, const std::string& tabela,
                           const std::string& klucz, const std::string& warunek = "");

// Names rows that step krok changed in the Log: a line with their count (Loguj_Bez_Wskazania's
// form) and a line for each, "Konwersja " & the version & ": " & opis & ": " & the row as
// wiersze gives it. Nothing when there are none.
void Loguj_Wiersze(int krok, const std::string& opis, const std::vector<std::string>& wiersze);

// Logs the rows that step krok is about to delete, those that wiersze (the FROM part of a
// select: tables, joins and where) gives: a line with their count (Loguj_Bez_Wskazania's
// form) and a line for each with the values of its columns kolumny ("column = value, ...",
// a column named without its table).
void Loguj_Usuwane(ClsKonwersje& k, int krok, const std::string& opis, const std::string& wiersze,
                   const std::vector<std::string>& kolumny);

// Deletes the production lines whose product names no product and the raw materials of
// production whose product or raw material names none, each named in the Log first with
// the quantities, prices and values that its table holds. usun is the statements' verb as
// the step writes it ("delete", "Delete").
void Usun_Produkcje_Bez_Produktu(ClsKonwersje& k, int krok, const char* usun);

// An empty table of wzor's columns: "Select top 1 * into [tabela] from [wzor]", then its
// rows deleted. A table that an earlier run made stays and is emptied.
void Pusta_Tabela_Jak(ClsKonwersje& k, const std::string& tabela, const std::string& wzor);

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

// The sum of the columns as an expression, a column not given counting as 0:
// "Nz(a,0)+Nz(b,0)".
std::string Suma_Nz(std::initializer_list<std::string> kolumny);

// The value b copied into the column a, a Null b keeping the value that a holds:
// "IIf(b Is Null,a,b)".
std::string Kopia_Bez_Nulla(const std::string& a, const std::string& b);

// The open recordset in rs. An opener whose failure was ignored leaves rs empty; using
// it then fails as a use of an object that is not set, an error that reaches the
// version loop (or the step's own trap) like any other.
ado::Recordset& Rekordy(std::unique_ptr<ado::Recordset>& rs);

// Work through a second, DAO connection: opens the database file again (the path is
// the data source of the program's connection, item 7) as k.BazaDAO, calls praca with
// it, then closes the file, clears k.BazaDAO and waits czekaj seconds (none when 0). A
// failure to open the file or one raised by praca passes to the caller with k.BazaDAO
// still set (the version loop closes it).
void Z_Baza_DAO(ClsKonwersje& k, const std::function<void(dao::Database&)>& praca, int czekaj = 5);

// A pass over the schema through Z_Baza_DAO: calls dla_tabeli for every table of the
// collection, in collection order, whose name does not begin with "MSys" (compared
// case-sensitively); the wait after the pass as for Z_Baza_DAO.
void Przebieg_DAO(ClsKonwersje& k, const std::function<void(dao::TableDef&)>& dla_tabeli,
                  int czekaj = 5);

// An old table name (upper case, as the pass compares it) and its new name.
using Zmiana_Nazwy = std::pair<std::string_view, std::string_view>;

// A rename pass of Przebieg_DAO: a table whose upper-cased name equals one of the old
// names (the first equal one, in order) gets its new name; any other table stays. A
// rename that the engine refuses (a table of the new name exists) passes to the caller.
void Zmien_Nazwy_Tabel(ClsKonwersje& k, const std::vector<Zmiana_Nazwy>& zmiany);

// A pass of a step that ignores its failures once pomijaj is set: for each record until
// EOF, zmien changes the record (it may set pomijaj itself), then pomijaj is set and the
// record is saved and left. While pomijaj is clear a failure reaches the caller; once it
// is set, a record that fails to change or to save gets back its stored values, is logged
// by its first field's value (opis names that field, as "Setup.Nazwa") with the failure,
// and the pass goes on with the next one; a move that fails ends the pass. A locked file
// or a full disk (jet::environment_failure) always reaches the caller.
void Zapisz_Wiersze_Pomijajac(ado::Recordset& rs, bool& pomijaj,
                              const std::function<void(ado::Recordset&)>& zmien,
                              const std::string& opis = "");

// Deletes every relation of baza by name. Deleting during a walk may hide the next
// relation, so a walk that deleted any is followed by another; the first walk that
// meets none ends it.
void Usun_Relacje(dao::Database& baza);

// A payroll component of the catalogue place_opisy: its number, description and short
// label.
struct Skladnik_Plac {
    int pole;
    const char* opis;
    const char* skr;
};

// Deletes the catalogue rows that warunek selects ("[place_opisy] where ...") and inserts
// the components in their order, one statement each. The executors report their own
// failures; their results are not looked at.
void Dodaj_Skladniki_Plac(ClsKonwersje& k, const std::string& warunek,
                          std::span<const Skladnik_Plac> skladniki);

// One item of a collective invoice's note list (FAKOUT_NR_DD): a delivery note of DOK_DD
// ("«+»" before its number) or a return of DOK_DZ ("«-»").
struct Pozycja_Listy {
    bool zwrot;         // true for a return
    std::string numer;  // the note's number, blanks kept
};

// The items of a note list in their order. The list (Null as empty) loses its leading
// and trailing blanks; every "«+»" and "«-»" in it begins an item whose number runs up to
// the next "«" or to the end of the list. A list without a marker (an empty one too) has
// no items.
std::vector<Pozycja_Listy> Pozycje_Listy(const jet::Value& lista);

// The duplicate-number repair of the document tables: for each table in turn, every
// document whose number equals that of another document is logged ("Podwójne numery w
// ..."), and the later one (the greater id) gets "N" appended to its number; then the
// unique number index "UnicNumer" of each of the eleven tables is created, a failure
// only logged. Statement errors of the updates stop the tool as their executor does.
void Popraw_Podwojne_Numery(ClsKonwersje& k);

// The unique number index "UnicNumer" of each of the eleven document tables, in the order
// in which the steps send them, each through the main executor or, bez_bledu, the no-error
// one. A table whose numbers repeat is refused its index (ClsKonwersje::Powtorzona_Wartosc).
void Utworz_Indeksy_UnicNumer(ClsKonwersje& k, bool bez_bledu);

}  // namespace kroki

namespace kroki {

// The tables of tax declarations and their values, as the suite first created them
// (an existing table is absorbed by the main executor).
void Utworz_Tabele_Deklaracji(ClsKonwersje& k);

}  // namespace kroki

namespace kroki {

// Today's date (midnight) from the system clock.
double Dzisiaj();

// A date as "dd-MM-yyyy".
std::string Dzien_Tekst(double d);

// Offers to shorten the conversion by deleting the orders dated up to the end of day d;
// on Yes deletes them, then the order lines and comments left without an order. On No
// deletes nothing.
void Usun_Zamowienia_Do(ClsKonwersje& k, double d);

}  // namespace kroki
