// Text cleaners for statements and the log, and VB's blank trimming.
#pragma once

#include <string>
#include <string_view>

namespace vb {
// VB's Trim and LTrim: blanks (spaces only, not tabs) removed at both ends / the start.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
}  // namespace vb

// Every apostrophe replaced by a double quote (so that a text can sit between
// apostrophes in a statement or in a log field).
std::string Apostrof_Na_Cudzyslow(std::string_view s);

// The first "," replaced by "." (a decimal comma made fit for SQL); later commas stay.
std::string Przecinek_Na_Kropke(std::string_view s);

// Every CR, LF, TAB and NUL replaced by a blank; the length stays the same.
std::string Usun_Znaki_Sterujace(std::string_view s);

// The text after the first "/", leading blanks removed; "" when there is no "/".
std::string Tekst_Po_Ukosniku(std::string_view s);
