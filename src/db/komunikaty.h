// The log beside the database, message boxes that are logged, and the reports of
// failures that end the process.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Message-box styles and answers.
inline constexpr int32_t vbOKOnly = 0;
inline constexpr int32_t vbAbortRetryIgnore = 2;
inline constexpr int32_t vbYesNo = 4;
inline constexpr int32_t vbCritical = 16;
inline constexpr int32_t vbOK = 1;
inline constexpr int32_t vbAbort = 3;
inline constexpr int32_t vbRetry = 4;
inline constexpr int32_t vbIgnore = 5;
inline constexpr int32_t vbYes = 6;
inline constexpr int32_t vbNo = 7;

// Appends one line to the log file ("Log" in the database's folder, "Rejestr.txt" in
// the configuration folder when no database path is known): the date and time, an
// empty field, the Windows user, the workstation, the current operation, text, tag,
// detail and the database path, with every apostrophe of fields 2 to 9 turned into a
// double quote, the whole in double quotes. The file is opened and closed for the one
// line. Never fails towards the caller: a line that cannot be written is lost.
// A step's version as messages name it: "4.07" for step 407.
std::string Wersja_Kroku(int krok);

void Zapisz_Log(std::string_view tekst, std::string_view procedura, std::string_view szczegoly);

// Appends one log line per detail, all with the same time and fields, in one write: they
// reach the log together, or only a start of them when the disk fills, never another
// writer's text between them. Returns "" when all reached it, else why not (the log is
// no regular file, cannot be opened, the write failed or was cut short).
std::string Zapisz_Log_Wiersze(std::string_view tekst, std::string_view procedura,
                               std::initializer_list<std::string_view> szczegoly);

// Shows a message box (title "Uwaga" when tytul is ""), waits for the answer, logs
// "MSG:" & text & answer under "FMsg_box" with the title as passed, and returns the
// answer code.
int32_t FMsg_box(std::string_view tekst, int32_t styl = vbOKOnly, std::string_view tytul = {});

// Logs a statement that failed beyond repair, shows it in a critical box and ends the
// process through Wylogowanie (marker "0000"). Does not return.
[[noreturn]] void Blad_Krytyczny(std::string_view etykieta, std::string_view polecenie,
                                 std::string_view blad);

// Reports a failure caught by a routine's handler: logs "ERR.MSG:" & the title and shows
// number (description). kind. When critical it ends the process through Wylogowanie;
// otherwise it returns after the box is answered. A critical report's log line, and with
// przyczyna set any report's, carries the failure after the kind ("Krytyczny: -2147467259
// (Could not lock file.)"), so that the log says why where nobody reads the box (the
// suite's runs).
void Wyjątek_Pokaż(int32_t numer, std::string_view opis, std::string_view miejsce,
                   int16_t krytyczny, bool przyczyna = false);
