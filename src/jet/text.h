// Jet's text rules: names and text values compare without regard to case (Polish
// letters included); accents and trailing blanks are significant; text orders in
// Polish alphabetical order.
#pragma once

#include <string>
#include <string_view>

namespace jet::text {

// The case-folded form of a name or text (UTF-8): two texts are equal under Jet's
// comparison exactly when their folded forms are equal. Used for catalog lookups
// (FPŁAT_ID is fpłat_id) and as a hashing key.
std::string fold(std::string_view s);

// True when two texts are equal ignoring the case of ASCII letters only (for
// keywords and other ASCII words; not Jet's text comparison).
bool ascii_iequal(std::string_view a, std::string_view b);

// True when two names are the same name for Jet.
bool same_name(std::string_view a, std::string_view b);

// Jet's text comparison: <0, 0, >0. Case-insensitive, accents and trailing blanks
// significant, Polish alphabetical order. Zero exactly when fold(a) == fold(b).
int compare(std::string_view a, std::string_view b);

// Upper case with the Polish rules (UCase).
std::string upper(std::string_view s);
// Lower case with the Polish rules (LCase).
std::string lower(std::string_view s);

// Number of characters (code points) of a UTF-8 text: Jet's text length.
size_t length(std::string_view s);

// The byte offset of character `chars` (0-based) in s, or s.size() when past the end.
size_t offset_of_char(std::string_view s, size_t chars);

// s followed by suffix, s giving up its end where both would pass max_chars characters
// (the suffix whole, even when it alone passes them).
std::string with_suffix(std::string_view s, std::string_view suffix, size_t max_chars);

}  // namespace jet::text
