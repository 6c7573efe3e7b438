// Schema helpers: each drops what it is about to create, so that a step can run again
// over a partly converted database, and sends its statements through DbWykonaj with
// failures only logged. A set stop flag turns a remaining failure into the end of the
// process (critical box, then Wylogowanie). The caller brackets the names.
#pragma once

#include <cstdint>
#include <functional>
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

// The temporary column through which a column's type or size is changed (the class's
// retype, the widening of short text columns): the column is copied into it, dropped,
// added anew after it and filled back from it, and the temporary column is dropped.
inline constexpr char kKolumnaTymczasowa[] = "ccxxdfredvvcxds__ddfr";

// Runs one statement of a change through the temporary column with the caller's executor
// and its rules for failures.
using Wykonawca_Zmiany = std::function<void(const std::string& polecenie)>;

// Whether the temporary column of tabela holds values that column kolumna lacks: a row in
// which it has a value and kolumna has none or another one, or a value that cannot be
// compared with kolumna's (another type); with kolumna missing, any value. The temporary
// column is then the only copy of those values. False when tabela or its temporary column
// is missing. Any other failure is raised.
bool Kopia_Jedyna(std::string_view tabela, std::string_view kolumna);

// The copy back of a change: kolumna is filled from the temporary column when that holds
// values kolumna lacks ("UPDATE " & tabela & " SET " & kolumna & "=" & the temporary
// column), and the temporary column is dropped only when it no longer does.
void Oddaj_Kopie(std::string_view tabela, std::string_view kolumna,
                 const Wykonawca_Zmiany& wykonaj);

// Finishes a change through the temporary column of tabela that a run left after adding
// its column anew, before another change uses the temporary column. Such a column is the
// one right after the temporary column (a change adds the temporary column at the end,
// then drops its column and adds it anew after it); it gets its copy back (Oddaj_Kopie).
// Returns that column's name, "" when the temporary column is missing or the table's last.
std::string Dokoncz_Przerwana_Zmiane(std::string_view tabela, const Wykonawca_Zmiany& wykonaj);
