// Statement executors: one Jet SQL statement over the connection, every failure turned
// into a result text ("" on success, else "number(description)").
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dao {
class Database;
}
namespace jet {
class Error;
}

// The result text of a failure: the signed number, "(", the description, ")".
std::string result_text(const jet::Error& e);

// The failure that a result text carries, read back as result_text wrote it: its number
// and description; nullopt for any other text ("", "1", a lost-connection text).
std::optional<jet::Error> failure_of_result_text(std::string_view text);

// The result text of a lost or locked connection (0x80004005): the number, "(", "Zostało
// utracone połączenie z bazą lub jest ona zablokowana !", ") " and the description.
std::string lost_connection_text(const jet::Error& e);

// Runs the statement (reconnecting first when the connection is down) and returns ""
// or the result text. Absorbed as "": DROP TABLE / DROP COLUMN of a missing table or
// column, DROP failing as a syntax or multiple-step error (never the failure of a statement
// that moves, carries or deletes rows, whose values may hold those words). Data too long is
// repaired by widening the table's short text columns and running once more. A lost or locked
// connection (0x80004005) gives "1" when quiet, else the lost-connection text (duplicate values
// and a Null in a primary key their own text, naming the table and key); a failure
// of the environment (the file locked by another process, a full disk, a read-only
// database, an I/O error) gives the lost-connection text even when quiet. rekordy receives the
// records affected, -1 after a failure.
std::string DbWykonajSQL(std::string_view polecenie, int32_t& rekordy, bool cicho);

// Widens the short text columns of the statement's table and runs the statement once
// more; "" or the result text of the repeated run.
std::string Poszerz_Pola_Z_SQL(std::string_view polecenie, int32_t& rekordy);

// Runs any statement. With bez_bledu set a failure is only logged and its text
// returned, except a failure of the environment (a locked file, a full disk, a read-only
// database, an I/O error), which is then handled as without bez_bledu. Otherwise the statement goes
// to the clipboard; the expected failures of schema statements return their text silently; any
// other failure is logged and asks Abort (ends the process), Retry (runs again) or Ignore (returns
// the text). A failure of a statement that moves, carries or deletes rows is never passed over
// without the question: with bez_bledu it ends the run (Rozstrzygnij_Pominiecie, with
// oczekiwany), and the schema statements' keywords never make it an expected one; nor is a
// key or unique index that the rows cannot take.
struct Oczekiwany_Blad;
std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu, int32_t& rekordy);
std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu, int32_t& rekordy,
                      const Oczekiwany_Blad& oczekiwany);
std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu = 0);

// Runs an UPDATE: "UPDATE " & polecenie, or, when polecenie is "", "UPDATE " & tabela &
// " set " & wartosci [& " Where " & warunek]. A lost or locked connection is run again
// up to 150 times (quiet: -1 at once); a column the table lacks shows a critical box and
// ends the process; other failures are logged and ask Abort, Retry or Ignore. Returns
// the records affected, -1 after an ignored failure. dodatkowy is not used.
int32_t DbWykonajUPD(std::string_view polecenie, std::string_view tabela, std::string_view wartosci,
                     std::string_view warunek, std::string_view dodatkowy = {}, bool cicho = false);

// Runs "DELETE " & co & " FROM " & tabela_i_warunek; failures are logged and ask Abort,
// Retry or Ignore. Returns the records affected, -1 after an ignored failure.
int32_t DbWykonajDEL(std::string_view tabela_i_warunek, std::string_view co = {});

// Runs the statement on a DAO database; "" or the failure's description alone. A failure
// of the environment (a locked file, a full disk, an I/O error, a damaged file) is raised,
// not returned: the callers pass over the description.
std::string DbWykonajDAO(std::string_view polecenie, const std::shared_ptr<dao::Database>& baza);
