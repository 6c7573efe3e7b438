// The one connection to the suite's database, its opening and closing, the ends of the
// process, and the connection's transactions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/ado.h"
#include "db/haslo_bazy.h"

// The one connection; empty when released. Baza_Otwarta, not this object, tells
// whether it is open.
inline std::unique_ptr<ado::Connection> DbPolaczenie;

// The date whose year the ledger's turnover recomputations work on; nothing in the tool
// writes it, so during a run it is the zero date (30 December 1899).
inline double Data_Przeliczenia = 0;

// The connection string for the database file at path (the Jet 4.0 provider, the
// regional properties and the database password). The path is written so that the
// connection opens exactly the file it names, whatever characters or blanks it holds.
std::string connection_string(std::string_view path);

// The open connection; raises jet::Error (operation not allowed) when it was released,
// as a call on a released connection object does.
ado::Connection& polaczenie();

// Opens the database at Sciezka_Bazy afresh (closing an open one first) and logs it.
// With no path nothing is opened. A failure is reported through Wyjątek_Pokaż and
// leaves Baza_Otwarta 0: a lost or locked file or a wrong password as a notice, any
// other failure as a critical report that ends the process.
void DbOtwórz();

// The same open without a log line, a report or a path test; Baza_Otwarta 0 on failure.
void DbOtwórzCicho();

// Reopens the connection that was found closed: repeats DbOtwórzCicho while the user
// answers Yes to "Powtórzyć ?" (No ends the process through Wylogowanie), then logs.
void DbPolacz_Ponownie();

// Makes the open connection's next close one after which the run may end: the database
// file is left holding the whole result on its own (the write-ahead log copied in,
// readers of other processes waited for up to 3 s; what could not be copied is logged by
// DbZamknij). The ends of the process (DbZamknij_Unload with koncowe, Wylogowanie) make
// their close so themselves; any other close waits for nobody. Nothing when no
// connection is open.
void leave_file_whole_at_close();

// Closes and releases the connection and logs. The close commits what is open; a
// commit that fails is shown as a critical exception report, which ends the process
// through Wylogowanie (marker "0000") with the database as of its last commit. A close
// that was to leave the file whole (leave_file_whole_at_close) and could not copy the
// whole write-ahead log into it (readers of other processes held it back, or the file
// could not be written) logs a line saying so and goes on: every commit is safe in the
// log. Every other failure is ignored.
void DbZamknij();

// Commits what is open and closes (as DbZamknij: a failed commit ends the process
// with "0000"), ignoring every other failure. With koncowe set it also logs, writes the
// marker "0001" and ends the process.
void DbZamknij_Unload(int16_t koncowe);

// The common end of every fatal path: commits what is open, closes, logs, writes the
// marker "0000" and ends the process. The argument is not read.
[[noreturn]] void Wylogowanie(int16_t flaga = 0);

// Transactions on the connection; each reports its own failure (log line and message)
// and returns.
void Begin_T();     // begins one; forgotten ones are committed first
void Commit_T();    // commits the innermost
void Rollback_T();  // rolls back the innermost
// Commits every transaction still open (before the connection is closed).
void Begin_Commit_T();
