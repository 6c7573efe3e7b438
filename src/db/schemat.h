// Schema helpers: each drops what it is about to create, so that a step can run again
// over a partly converted database, and sends its statements through DbWykonaj with
// failures only logged. A set stop flag turns a remaining failure into the end of the
// process (critical box, then Wylogowanie). The caller brackets the names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Drops the table and creates it empty ("create table " & nazwa & " ( " & kolumny & ")",
// failures asked about), with its primary key on pola_klucza when that is not "".
void Utworz_Tabele(std::string_view nazwa, std::string_view kolumny, std::string_view pola_klucza);

// Drops the index; with stop set a failure ends the process.
void Usun_Index(std::string_view indeks, std::string_view tabela, int16_t stop = 0);

// Creates the primary key index "Podstawowy" on pola (dropped first); "" or the result
// text of the CREATE.
std::string Utworz_Klucz_Podstawowy(std::string_view tabela, std::string_view pola,
                                    int16_t stop = 0);

// The primary keys of a document table (pola_klucza) and of its line table, tabela &
// "_ZAWART" (pola_klucza & "," & pola_zawartosci).
void Utworz_Klucze_Z_Zawart(std::string_view tabela, std::string_view pola_klucza,
                            std::string_view pola_zawartosci);

// Creates a unique index (dropped first); "" or the result text of the CREATE.
std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, int16_t stop = 0);

// Creates a plain index (dropped first) on pola; "" pola means the column named like the
// index, and is written back to the caller's variable. "" or the result text of the
// CREATE.
std::string Utworz_Index(std::string_view indeks, std::string_view tabela, std::string& pola,
                         int16_t stop = 0);
std::string Utworz_Index(std::string_view indeks, std::string_view tabela,
                         std::string_view pola = {}, int16_t stop = 0);

// Drops the column with its indexes named "ind" & kolumna and kolumna.
void Usun_Pole(std::string_view tabela, std::string_view kolumna);
