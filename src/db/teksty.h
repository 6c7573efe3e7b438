// Text cleaners for statements and the log.
#pragma once

#include <string>
#include <string_view>

// Every apostrophe replaced by a double quote (so that a text can sit between
// apostrophes in a statement or in a log field).
std::string Apostrof_Na_Cudzyslow(std::string_view s);

// The first "," replaced by "." (a decimal comma made fit for SQL); later commas stay.
std::string Przecinek_Na_Kropke(std::string_view s);

// Every CR, LF, TAB and NUL replaced by a blank; the length stays the same.
std::string Usun_Znaki_Sterujace(std::string_view s);

// The text after the first "/", leading blanks removed; "" when there is no "/".
std::string Tekst_Po_Ukosniku(std::string_view s);
