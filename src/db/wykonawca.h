// The executors' common core. The module's executors (db/wykonaj.h) and the conversion
// class's (driver/konwersje.h) differ only in their rules: which failures one run of a
// statement absorbs, which failures the executor's loop tolerates or ends the process
// on, how often a lost connection is run again at once, and whether a quiet failure is
// asked about. Those rules are data here, matched on the failure's number and
// description; one run and one loop serve every executor, and one decision
// (Rozstrzygnij_Pominiecie) every failure that an executor passes over.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"
#include "jet/reports.h"
#include "jet/value.h"

namespace jet::sql {
struct CreateIndex;
}

// A failure that a rule picks out: the failure's number (0: any number), a keyword that
// the upper-cased statement contains ("": any statement) and a fragment that the
// failure's description contains, case-sensitive ("": any description).
struct Regula_Bledu {
    uint32_t numer = 0;
    std::string_view slowo = {};
    std::string_view opis = {};
};

// The outcome of running a statement.
struct Wynik_Polecenia {
    // The result text: "" on success or an absorbed failure, "1" for a lost connection
    // of a quiet run, else the failure's text (result_text or lost_connection_text).
    std::string tekst;
    uint32_t numer = 0;                // the failure's number; 0 when tekst is ""
    std::string opis;                  // the failure's description
    std::optional<jet::Fault> blad{};  // the engine's condition, when it names one
};

// A failure that a step expects of a statement that moves, carries or deletes rows, and
// the state of the database it stands for (see Rozstrzygnij_Pominiecie).
struct Oczekiwany_Blad {
    std::vector<jet::Fault> bledy = {};  // the failures expected, by the engine's condition
    std::string stan = {};               // the state they stand for, as a stop names it
    std::function<bool()> sprawdz = {};  // true while the database is in that state
};

// A step's statement that means what the engine reports (jet/reports.h: a row changed
// through several joined pairs, a figure that a Null operand made Null, a source row
// written more than once through a join): declared right before the statement, e.g.
// `Zamierzony_Raport z{jet::reports::Kind::MultiPair};`, it marks such reports of the
// statements run in its scope "stated", so that the sweeps' roads count only the reports
// that no step states. The reports name the step being run (Krok_Konwersji).
using Zamierzony_Raport = jet::reports::Stated;

// The failure as a result: its result text, number and description.
Wynik_Polecenia Wynik_Bledu(const jet::Error& e);

// True for a failure that the executors treat as a lost or locked connection: the
// provider's 0x80004005, except the duplicate values of a unique index or key
// (jet::Fault::Duplicate) and a Null in a primary key (jet::Fault::NullInKey), which no
// rerun mends and whose text names the table and key.
bool Utrata_Polaczenia(const Wynik_Polecenia& w);

// True for a key that the rows cannot take: w is the failure of duplicate values of a
// unique index or key (jet::Fault::Duplicate) or of a Null in a primary key
// (jet::Fault::NullInKey) of a statement that makes a key or unique index, not of one that
// moves, carries or deletes rows. No rule and no quiet flag passes it over:
// Rozstrzygnij_Pominiecie decides it.
bool Klucz_Nie_Utworzony(const Wynik_Polecenia& w, std::string_view polecenie);

// True for duplicate values of a unique index or key (jet::Fault::Duplicate) of an INSERT
// or an UPDATE: the rows it writes would repeat a key that the table has. No rule and no
// quiet flag passes it over: Rozstrzygnij_Pominiecie decides it by the rule of the
// repeated keys.
bool Klucz_Powtorzony(const Wynik_Polecenia& w, std::string_view polecenie);

// True for a failure of the environment, not of the statement (jet::environment_failure):
// the file locked by another process, the disk full, the database read-only, an I/O
// error. No rule and no quiet flag absorbs it: the executor stops as on any failure it
// does not expect.
bool Awaria_Srodowiska(const Wynik_Polecenia& w);
// The same for a result text, "number(description)" (failure_of_result_text).
bool Awaria_Srodowiska(std::string_view tekst_wyniku);

// True for a failure of a file that another process holds locked (jet::Fault::FileLocked),
// also when it is built from the number and the description alone.
bool Zablokowany_Plik(const Wynik_Polecenia& w);

// True for a statement that moves, carries or deletes rows: an INSERT, an UPDATE, a
// DELETE or a SELECT ... INTO, as the engine's parser reads it (a statement it cannot
// read, by its first word).
bool Polecenie_Danych(std::string_view polecenie);

// The failure as "number(description)", whatever result text its executor gave it.
std::string Opis_Bledu(const Wynik_Polecenia& w);

// A value as a Jet SQL literal that jetsql reads: a text in apostrophes (doubled inside),
// a date between "#" (month first), a number with the decimal point.
std::string Literal_SQL(const jet::Value& v);

// True when a rule picks out the failure w of the statement; never for a failure of the
// environment nor for a key that the rows cannot take (Klucz_Nie_Utworzony). A rule with a keyword
// never picks out the failure of a statement that moves, carries or deletes rows
// (Polecenie_Danych): the keyword may stand in its values.
bool Pasuje(std::span<const Regula_Bledu> reguly, const Wynik_Polecenia& w,
            std::string_view polecenie);

// The expected failures of schema statements: the statement was already applied by an
// earlier, interrupted run (a table, column or index already there or already gone).
// DbWykonaj returns them without asking; DbWykonajKonwersje absorbs them.
inline constexpr std::array<Regula_Bledu, 8> kBledy_Schematu{{
    {jet::hr::NoSuchTable, "DROP TABLE", ""},
    {jet::hr::NoSuchTable, "DROP COLUMN", ""},
    {jet::hr::Syntax, "DROP", ""},
    {jet::hr::MultipleStep, "DROP", ""},
    {jet::hr::MultipleStep, "ADD", ""},
    {jet::hr::Unspecified, "CREATE UNIQUE", ""},
    {jet::hr::Syntax, "CREATE TABLE", ""},
    {jet::hr::Syntax, "ADD", ""},
}};

// Failures of DROP statements that every run absorbs: what is to be dropped is gone.
inline constexpr std::array<Regula_Bledu, 4> kBledy_Usuwania{{
    {jet::hr::NoSuchTable, "DROP TABLE ", ""},
    {jet::hr::NoSuchTable, "DROP COLUMN ", ""},
    {jet::hr::Syntax, "DROP ", ""},
    {jet::hr::MultipleStep, "DROP ", ""},
}};

// What the rule of a key did with the rows that kept the key from being made.
enum class Los_Klucza : uint8_t {
    Bez_Reguly,  // no rule keeps them (no rule for the key, or none fits its rows): a stop
    Dopasowany,  // the rows take the key now: the statement runs again
    Odlozony,    // a later step's wider key takes the rows: the key is not made now
};
struct Decyzja_Klucza {
    Los_Klucza los = Los_Klucza::Bez_Reguly;
    std::string powod = {};  // Bez_Reguly: why no rule keeps the rows ("" when none is known)
    // Bez_Reguly: the statement with which a user mends the cause in jetsql, where the rule
    // knows it ("": the key's own mend, its last column of the second row set anew).
    std::string naprawa = {};
    // Bez_Reguly of a statement that writes rows: the statement that makes the key whose
    // rows no rule keeps, by which the stop names them ("": the statement's own).
    std::string klucz = {};
    // Bez_Reguly: the key's own mend deletes the copy that the user chooses instead of
    // setting its last column anew (a column that names another table's row: a new value
    // would move the row's figures onto another item or onto none).
    bool usun = false;
    // Bez_Reguly: the rows that no rule keeps repeat the key, whatever the engine's failure
    // (a Null in the key that the rule gave a value): the stop names them and their mend.
    bool powtorzenie = false;
    // powtorzenie: the rows' key value on which the rule stopped, as a jetsql condition,
    // whose rows the mend names ("": the first value that rows repeat).
    std::string grupa = {};
};

// The rule of the keys: for the key or unique index of the statement indeks that the rows
// cannot take (blad: Duplicate or NullInKey), fits the rows by the rule that the step being
// run (Krok_Konwersji) gives that key, each row changed or deleted named in the Log, or
// leaves them as they are and says why not. The conversion installs it (driver/klucze.h);
// without it every such key stops the step.
using Regula_Kluczy =
    std::function<Decyzja_Klucza(const jet::sql::CreateIndex& indeks, jet::Fault blad)>;
void Ustaw_Regule_Kluczy(Regula_Kluczy regula);

// Runs a statement again after the rule of its key fitted the rows: its outcome.
using Ponowienie = std::function<Wynik_Polecenia()>;
// The rerun that calls wykonaj: success, or the failure it raises as a result.
Ponowienie Ponowienie_Przez(std::function<void()> wykonaj);

// The rule of the repeated keys: for an INSERT or UPDATE whose rows would repeat a key of
// the table it writes (Klucz_Powtorzony), runs it through ponow with that table's keys off,
// fits the rows of each key that they then break by the key's rule, as the rule of the
// keys fits a key that a step makes, and makes the keys again (Dopasowany: the statement
// is done; Odlozony: a key is left to a later step's wider key); or says why no rule keeps
// them (Bez_Reguly, the key in klucz; the database then as the statement left it, for the
// stop to name the rows, and rolled back with the step). The conversion installs it;
// without it every such statement stops the step.
using Regula_Powtorzen =
    std::function<Decyzja_Klucza(std::string_view polecenie, const Ponowienie& ponow)>;
void Ustaw_Regule_Powtorzen(Regula_Powtorzen regula);

// A failure w of the statement that an executor passes over (a quiet run's, a tolerated
// one, one only logged). For a statement that moves, carries or deletes rows
// (Polecenie_Danych) its rows would be lost or left behind unseen: the run ends
// (Blad_Krytyczny under etykieta, marker "0000", the step rolled back), unless the failure
// is one that oczekiwany states and the state it stands for holds; then a Log line names
// the failure and that state. A key or unique index that the rows cannot take
// (Klucz_Nie_Utworzony) and that oczekiwany does not state goes to the rule of the keys
// (Ustaw_Regule_Kluczy): where it fits the rows, the statement runs again through ponow
// (by default once more on the program's connection, as Wykonaj_Raz runs it) and true is
// returned when it succeeds; where the rule carries the key to a later step, true as well.
// An INSERT or UPDATE whose rows would repeat a key (Klucz_Powtorzony) and that oczekiwany
// does not state goes to the rule of the repeated keys (Ustaw_Regule_Powtorzen), which runs
// it through ponow (by default as above): true where it keeps the rows. Otherwise, and when the
// statement fails again, the run ends: the message gives the engine's text, which names the table
// and the key, the rows that break it (five, then how many more), why no rule keeps them where the
// rule says, and the statement with which a user mends them in jetsql, and the statement goes to
// the clipboard. Any other statement: nothing. False whenever the failure stands.
bool Rozstrzygnij_Pominiecie(std::string_view etykieta, std::string_view polecenie,
                             const Wynik_Polecenia& w, const Oczekiwany_Blad& oczekiwany = {},
                             const Ponowienie& ponow = {});

// Runs the statement once as command text on the program's connection (reconnecting
// first when it is down), rekordy receiving the records affected (-1 after a failure).
// A failure for data too long is repaired by Poszerz_I_Powtorz; a failure of
// kBledy_Usuwania or of the executor's own pochlaniane gives ""; any other 0x80004005
// gives "1" when quiet, else the lost-connection text (duplicate values or a Null in a
// primary key: their own result text, naming the table and key; Utrata_Polaczenia), and a failure
// of the environment the lost-connection text even when quiet; any other failure its result text.
Wynik_Polecenia Wykonaj_Raz(std::string_view polecenie, int32_t& rekordy, bool cicho,
                            std::span<const Regula_Bledu> pochlaniane);

// Widens the short text columns of the statement's table and runs the statement once
// more: success, or the repeated run's failure (never absorbed, never repaired again).
Wynik_Polecenia Poszerz_I_Powtorz(std::string_view polecenie, int32_t& rekordy);

// The rules of an executor that asks Abort, Retry or Ignore about a failure.
struct Zasady_Wykonawcy {
    std::string_view etykieta = {};                  // the label of its log line
    std::span<const Regula_Bledu> pochlaniane = {};  // absorbed by each run, as Wykonaj_Raz
    int ponowienia_utraty = 0;                       // at-once reruns after a lost connection
    std::span<const Regula_Bledu> tolerowane = {};   // returned at once, neither logged nor asked
    std::span<const Regula_Bledu> konczace = {};     // a critical box, then the process ends
    bool cicho_bez_pytania = false;                  // when quiet, logged and returned, not asked
};

// Changes a failed statement so that it may succeed; true to run the changed statement.
using Naprawa_Polecenia = std::function<bool(std::string& polecenie, const Wynik_Polecenia& w)>;

// Runs the statement under the executor's rules until it succeeds or its failure is
// returned: a quiet lost connection ("1") is logged and returns at once; a lost connection
// or a file locked by another process is logged and run again up to ponowienia_utraty
// times (not quiet), the first success returning (any other failure of the environment is
// not run again at once);
// then the statement goes to the clipboard; the repair, when given, may change it and run
// it again; a tolerated failure returns; a failure of konczace shows a critical box and
// ends the process; any other is logged and, unless quiet with cicho_bez_pytania (and not
// a failure of the environment), asked about: Abort ends the process, Retry runs the
// statement again, Ignore returns the failure. A failure returned without the question
// (quiet, tolerated, a key that the rows cannot take, which no rerun mends) is passed
// over: Rozstrzygnij_Pominiecie decides it with oczekiwany.
Wynik_Polecenia Wykonaj_W_Petli(std::string& polecenie, int32_t& rekordy, bool cicho,
                                const Zasady_Wykonawcy& z, const Naprawa_Polecenia& naprawa = {},
                                const Oczekiwany_Blad& oczekiwany = {});

// Wykonaj_W_Petli for a statement whose first run already gave w.
Wynik_Polecenia Wykonaj_W_Petli_Po(Wynik_Polecenia w, std::string& polecenie, int32_t& rekordy,
                                   bool cicho, const Zasady_Wykonawcy& z,
                                   const Naprawa_Polecenia& naprawa = {},
                                   const Oczekiwany_Blad& oczekiwany = {});
