// Recordset openers: a new server-side recordset on the one connection, its record
// count, and the questions and repairs when an open fails.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/ado.h"

// Open modes: 0 static cursor, optimistic locking; 3 keyset cursor, optimistic locking;
// any other value static read-only.
inline constexpr int32_t kOtworzEdycja = 0;
inline constexpr int32_t kOtworzOdczyt = 1;
inline constexpr int32_t kOtworzKeyset = 3;

// The statement of an opener's text: "Select " & tekst, or tekst itself when it already
// begins with the word Select (in any letter case), so that a whole statement handed to an
// opener is not given a second Select.
std::string Polecenie_Select(std::string_view tekst);

// Opens Polecenie_Select(tekst) in a new recordset put in rs and returns its record count.
// On a failure: silent gives -1 at once (not for a failure of the environment: a locked
// file, a full disk, an I/O error); otherwise the statement goes to the clipboard,
// the failure is logged and the user is asked Abort (ends the process), Retry (opens
// again) or Ignore (-1, rs left empty). dodatkowy is not used.
int32_t DbOtwórzSEL(std::unique_ptr<ado::Recordset>& rs, std::string_view tekst, int32_t tryb,
                    std::string_view dodatkowy = {}, int16_t cichy = 0);

// Opens the statement in rs (a new, closed recordset; one is made when rs is empty) with
// the cursor of the mode; "" or the result text. A value that cannot be converted tidies
// the database (Porzadkuj_Baze, whose failure of the environment is raised) and opens
// once more; a lost or locked file opens once more, repeated a bounded number of times
// while the row read was deleted meanwhile.
std::string DbOtwórzRS(std::unique_ptr<ado::Recordset>& rs, std::string_view polecenie,
                       int32_t tryb);

// The repeated open with the given cursor and lock types (cache of one row); "" or the
// result text.
std::string DbOtwórzRS_Ponownie(std::unique_ptr<ado::Recordset>& rs, std::string_view polecenie,
                                int typ_kursora, int typ_blokady);

// Counts the rows of an open recordset: "" or the result text of the failure. A recordset
// whose rows wait to be read meets a page it cannot read (a damaged file, an I/O error)
// only here, and the openers treat that as the open's failure.
std::string Policz_Rekordy(const std::unique_ptr<ado::Recordset>& rs);

// Closes the recordset, ignoring a failure, and leaves rs empty.
void ZamknijRS(std::unique_ptr<ado::Recordset>& rs);
