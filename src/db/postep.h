// The three status lines of the conversion window and the process-wide SQL keyword.
#pragma once

#include <string>
#include <string_view>

// The keyword that some statements put after SELECT: "" until Ustaw_Stale_SQL runs.
inline std::string Stala_DISTINCTROW;

// Sets status line i (1 to 3) to text i for every text that is not "" and shows it at
// once; "" leaves its line unchanged, a single blank clears it.
void Pokaz_Postep(std::string_view tekst1, std::string_view tekst2, std::string_view tekst3);

// Shows the database path on status line 1.
void BArS_Update();

// Sets the process-wide SQL keywords: Stala_DISTINCTROW := "DISTINCTROW".
void Ustaw_Stale_SQL();

// The text that status line i (1 to 3) shows now; "" for any other number.
const std::string& status_line(int i);

// Puts text on status line i (1 to 3) as it stands, "" included (a wait puts back the
// line it borrowed).
void set_status_line(int i, std::string_view text);
