// The start-up window's handlers and the version check.
#pragma once

#include <cstdint>

// Exit status of a run that left the suite's marker unchanged without converting: the
// conversion did not complete before its loop, or the database is newer than this program.
inline constexpr int kStatusNieukonczona = 3;

// The whole run: the hand-shake, the open, the version check and the conversion, the
// result marker and the end of the process. Never returns.
[[noreturn]] void Form_Load();
// Closes in order with the marker "0001" and ends the process.
[[noreturn]] void Form_Unload();

// Reads [Nieruszac].[NumerWersji] into Wersja_Bazy when a non-Null row exists.
void Czytaj_NumerWersji();
// Refuses an unknown, too old or newer database, runs the conversion and records 6.46:
// 1 converted, 3 started but not completed, 10 already at 6.46, 11 newer than 6.46.
uint8_t Sprawdz_Wersje_Bazy();
