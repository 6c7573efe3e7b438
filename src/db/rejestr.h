// Registry access: the text values through which the tool and the starting program talk,
// and the list of recently used databases.
#pragma once

#include <cstdint>
#include <string>

// The text value nazwa of the key with code kod (0 is the program's key); "" when the
// key or value is missing, the value is not a text, or the registry file cannot be read
// (then standard error and the Log say that the value is unknown, naming the file and
// the reason).
std::string Czytaj_Rejestr(const std::string& nazwa, int32_t kod);

// Writes the text value nazwa of the key with code kod; false when it could not be
// written (unreadable registry file, folder not writable): that is reported on standard
// error and the file stays as it was.
bool Zapisz_Rejestr(const std::string& nazwa, const std::string& wartosc, int32_t kod);

// Whether the registry file can be written (registry_check_writable); when it cannot,
// the cause is reported on standard error.
bool registry_can_be_written();

// Records Sciezka_Bazy in the recent-database list " 0manu_baza" .. " 9manu_baza": a
// path already listed changes nothing; a new path takes the first empty slot from 1 to
// 9 or, when none is empty, the entries move down by one (slot 0 is lost) and it takes
// slot 9.
void Zapisz_Ostatnia_Baze();
