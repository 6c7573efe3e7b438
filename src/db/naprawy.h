// Repairs of the database that the executors and openers start on their own, through a
// second (DAO) access to the same file, and the module's wait.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Widens every text column shorter than 255 characters of the table (its text in
// brackets, as "[DOK_FA]") to 255 characters, keeping the values; the statements name
// the table as prefiks & "." & tabela. With otworz set the database at Sciezka_Bazy is
// opened through DAO first; otherwise the module's DAO database must be open already.
// A temporary column that a stopped run left is settled first (Rozstrzygnij_Kopie, as a
// widening of the table's first short text column finds it): another change's column
// added anew right after it is filled back; one the schema cannot tell ends the process
// before anything is widened. A copy back that fails keeps the temporary column and ends
// the widening. Returns -1 when a table of that name was found, 0 otherwise (also after a
// DAO failure, which ends the routine quietly).
int16_t Poszerz_Pola_Tekstowe(std::string_view prefiks, std::string_view tabela, int16_t otworz);

// Tidies the database at sciezka: table names upper-cased; in every numeric column Null
// becomes 0 (1 in NR_WYJAZDU) and the default value 0 (1); in every text and memo column
// Null becomes "", "" is allowed and the default is the empty text. System tables and
// NIERUSZAC are left alone; the paste-error table is dropped when usun_bledy_wklejania
// is set. With ignoruj_bledy every failure of a statement is skipped; otherwise a failure
// goes to the caller. A failure of the environment (a locked file, a full disk, an I/O
// error, a damaged file) always goes to the caller, the DAO database closed first.
// tylko_tabela limits the work to one table ("" for all). Waits 15 seconds afterwards.
void Porzadkuj_Baze(std::string_view sciezka, int16_t usun_bledy_wklejania, int16_t ignoruj_bledy,
                    std::string_view tylko_tabela);

// The default that Porzadkuj_Baze gives a column of type typ (DAO numbering) named
// kolumna: "1" for NR_WYJAZDU and "0" for the other numeric columns, the empty text's
// expression for text and memo, "" (none set) for the other types.
std::string Domyslna_Porzadkow(int typ, std::string_view kolumna);

// Waits sekundy seconds, showing the seconds left on status line 3, then puts back the
// line's earlier text.
void Czekaj(int32_t sekundy);
