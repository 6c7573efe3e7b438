// The log beside the database, message boxes that are logged, and the reports of
// failures that end the process.
#pragma once

#include <cstdint>
#include <functional>
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

// The detail of the line that the version loop logs just before each step's "Begin", in
// the same write and equal to it but for the detail: the step runs as one transaction
// with its version, so its "Begin" without "End" is never a half-done step.
inline constexpr std::string_view kZnacznik_Kroku = "Krok w jednej transakcji";

// The lines that name what a step changed (the rows a key's rule merged, renumbered or
// deleted, the rows a step deleted or merged) are written with the step's commit, so that
// the Log never names what was rolled back and a rerun of a stopped step names each row
// once. While the version loop runs a step they are held in memory; before the step's
// unit commits they go, with the step's end line, into a file beside the Log (the Log's
// name and ".wstrzymane"), flushed to the disk; after the commit they reach the Log in one
// write and that file goes. A kill before the commit leaves the file of a step that the
// database does not have: the next run drops it. A kill after the commit leaves the file
// of a step that the database has: the next run appends the lines that the Log does not
// hold yet after the step's "Begin" (a write cut short holds a start of them), before
// anything else of its own.

// From now the lines of step krok are held (Zapisz_Log_Kroku), those held for a unit that
// did not commit first dropped when nowa_jednostka.
void Log_Kroku_Wstrzymaj(int krok, bool nowa_jednostka);
// No step holds lines any more; those held are dropped (the step was rolled back).
void Log_Kroku_Porzuc();
// One line naming what the step changed, as Zapisz_Log's: held while a step holds its
// lines; else appended at once, and a line that cannot be appended raises (jet::Error).
void Zapisz_Log_Kroku(std::string_view tekst, std::string_view procedura,
                      std::string_view szczegoly);
// Commits the step through zatwierdz (true when its unit committed) with its held lines
// and its end line (tekst, procedura, koniec): without held lines the end line is logged
// after the commit, as Zapisz_Log logs. With them, a file beside the Log that cannot be
// written raises before zatwierdz runs (the step is then rolled back); a Log that cannot
// take them after the commit raises, the file kept for the next run. A unit that did not
// commit keeps its lines held for its next commit.
void Zatwierdz_Z_Logiem_Kroku(std::string_view tekst, std::string_view procedura,
                              std::string_view koniec, const std::function<bool()>& zatwierdz);
// At a run's start, the database being at step krok_bazy: the lines that an earlier run
// left in the file beside the Log reach the Log where their step is committed, those not
// whole in the Log after that run's last "Begin" of the step (the block whole where the
// Log has no such "Begin"), and the file goes. Raises when the Log cannot take them (the file
// is then kept).
void Log_Kroku_Dokoncz(int krok_bazy);

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
