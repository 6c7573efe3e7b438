// Schema helpers: each drops what it is about to create, so that a step can run again
// over a partly converted database, and sends its statements through DbWykonaj with
// failures only logged. A set stop flag turns such a failure (a table or column that the
// database lacks) into the end of the process (critical box, then Wylogowanie). A key or
// unique index that the rows cannot take is none of these, flag or not: its rule keeps the
// rows or stops the step (Rozstrzygnij_Pominiecie in db/wykonawca.h; the rules of the keys
// in driver/klucze.inc). The caller brackets the names.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Drops the table and creates it empty ("create table " & nazwa & " ( " & kolumny & ")",
// failures asked about), with its primary key on pola_klucza when that is not "".
void Utworz_Tabele(std::string_view nazwa, std::string_view kolumny, std::string_view pola_klucza);

// Drops the index; with stop set a failure ends the process.
void Usun_Index(std::string_view indeks, std::string_view tabela, int16_t stop = 0);

// Creates the primary key index "Podstawowy" on pola (dropped first); "" or the result
// text of the CREATE. Rows that the key cannot take go to the rule of the key, which keeps
// them or stops the step; stop only decides whether any other failure ends the process.
std::string Utworz_Klucz_Podstawowy(std::string_view tabela, std::string_view pola,
                                    int16_t stop = 0);

// The primary keys of a document table (pola_klucza) and of its line table, tabela &
// "_ZAWART" (pola_klucza & "," & pola_zawartosci).
void Utworz_Klucze_Z_Zawart(std::string_view tabela, std::string_view pola_klucza,
                            std::string_view pola_zawartosci);

// Creates a unique index (dropped first); "" or the result text of the CREATE. Rows that
// the index cannot take go to the rule of the key, unless oczekiwany states their failure;
// stop only decides whether any other failure ends the process.
struct Oczekiwany_Blad;
std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, int16_t stop = 0);
std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, const Oczekiwany_Blad& oczekiwany);

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
// and its rules for failures; false when the statement failed and the executor let the
// run go on.
using Wykonawca_Zmiany = std::function<bool(const std::string& polecenie)>;

// A column as the engine keeps it: name, type (DAO numbering), size (characters for
// text), whether the engine numbers it, and its default as Jet text ("" for none).
struct Pole_Tabeli {
    std::string nazwa;
    int typ = 0;
    int rozmiar = 0;
    bool licznik = false;
    std::string domyslna;
};

// The columns of a table in their order; nullopt when the table is missing.
std::optional<std::vector<Pole_Tabeli>> Pola_Tabeli(std::string_view tabela);

// A table's or column's name as the catalog knows it: without the brackets a statement
// puts round it.
std::string_view Bez_Nawiasow(std::string_view tabela);

// Whether the table holds the temporary column; the tables that hold it, by name.
bool Jest_Kolumna_Tymczasowa(std::string_view tabela);
std::vector<std::string> Tabele_Z_Kolumna_Tymczasowa();

// A change of one column through the temporary column: the column, the name under which
// it is added anew, the type text it is added anew with (as the caller writes it, a
// DEFAULT clause included) and the temporary column's type text. A change with no column
// asks only whose the temporary column is.
struct Zmiana_Pola {
    std::string kolumna;
    std::string nowa_nazwa;
    std::string typ;
    std::string typ_kopii;
};

// Whose the temporary column of a table is, for a change through it. A run of the
// suite's earlier tool committed each statement of a change on its own, so a run it left
// can hold the temporary column at any point of a change; the next run repeats the
// step's changes from its first.
enum class Stan_Kopii {
    Brak,               // no temporary column
    Przed_Usunieciem,   // the change's own, its column still there: the change runs whole
    Po_Usunieciu,       // the change's own, its column dropped: added anew and filled back
    Po_Dodaniu,         // the change's own, its column added anew right after it: filled back
    Zmiana_Zakonczona,  // the column stands as the change leaves it: the change is done,
                        // a temporary column is a later change's and is left alone
    Cudza_Po_Dodaniu,   // another change's, whose column was added anew right after it
    Nierozstrzygniety,  // the schema cannot tell whose it is
};

// Decides whose the temporary column is from the table's columns alone, never from
// values: which of the change's names the table holds, the columns' order (a column
// added anew stands last, the temporary column right after the column it was added
// behind), and the type, size and default that the change gives (a column the change
// left may have the default the database's tidy-up gives since). The widening's
// temporary column, text(255), is taken for a change's own only where its column is
// gone: while the column is there it may be the only copy of a column that a stopped
// widening dropped. Raises the parser's error when a type text is none.
Stan_Kopii Stan_Kolumny_Tymczasowej(const std::vector<Pole_Tabeli>& pola,
                                    const Zmiana_Pola& zmiana);

// The copy back of a change: kolumna is filled from the temporary column ("UPDATE " &
// tabela & " SET " & kolumna & "=" & the temporary column) and the temporary column is
// dropped, unless the copy failed. Returns whether the copy was made.
bool Oddaj_Kopie(std::string_view tabela, std::string_view kolumna,
                 const Wykonawca_Zmiany& wykonaj);

// Whether a column stands as a change to the type text typ leaves it (type, size of a
// text, autonumber and default), or with the default the database's tidy-up gives it
// since. Raises the parser's error when the type text is none.
bool Jak_Po_Zmianie_Typu(const Pole_Tabeli& pole, const std::string& typ);

// A step's changes of one table's columns, one after another, each under its column's own
// name, nothing else changing the table's columns between them. Each moves its column to
// the end of the table, so the columns' order tells which an earlier run may have made,
// where a change that finds its column as it leaves it cannot tell its own copy from a
// later change's. True when the temporary column, standing last, is the copy of a change
// under way, taken before its column's drop: every change's column stands, the columns
// before the copy end with those that the changes before it leave there, in their order
// and each as its change leaves it, and the copy is of the type that change copies into
// it. A change's column gone, or the copy of the widening's type, the copy may be a
// column's only record: never then, so that dropping the copy loses no value. The caller
// drops it and runs the changes from the first, each whole, which leaves the columns in
// the order of an uninterrupted run.
bool Kopia_Zmiany_W_Toku(std::string_view tabela, const std::vector<Zmiana_Pola>& zmiany);

// An index of a table as the engine keeps it: its name, flags and columns in order
// (true for a descending one).
struct Indeks_Tabeli {
    std::string nazwa;
    bool podstawowy = false;
    bool unikalny = false;
    bool wymagany = false;     // WITH DISALLOW NULL
    bool bez_pustych = false;  // WITH IGNORE NULL
    std::vector<std::pair<std::string, bool>> pola;
};

// A change of a column through the temporary column drops the column and adds it anew;
// the engine refuses to drop a column that an index holds, and the column would stay as
// it was. Zdejmij_Indeksy_Pola drops every index of the table named tabela (cel names it
// in statements) that still holds the column, once the change has dropped those it
// drops by name, and returns them; Odtworz_Indeksy_Pola makes each again, with its flags,
// over the column added anew under the name nowa. An index that cannot be made again (a
// unique one that the new values break) ends the process with a critical message naming
// it (marker "0000").
std::vector<Indeks_Tabeli> Zdejmij_Indeksy_Pola(std::string_view tabela, std::string_view cel,
                                                std::string_view kolumna,
                                                const Wykonawca_Zmiany& wykonaj);
void Odtworz_Indeksy_Pola(std::string_view tabela, std::string_view cel,
                          const std::vector<Indeks_Tabeli>& indeksy, std::string_view kolumna,
                          std::string_view nowa, const Wykonawca_Zmiany& wykonaj);

// The end of a change: the column stands under its new name with the type, size of a
// text and counter that the change's type text gives, and a column renamed is gone under
// its old name; otherwise the process ends with a critical message naming the column,
// the type asked for, the type it has and the relations that hold it (marker "0000").
void Sprawdz_Zmiane_Pola(std::string_view tabela, const Zmiana_Pola& zmiana);

// Settles the temporary column of the table named tabela (cel names it in statements)
// before a change through it: another change's whose column was added anew right after
// it is finished (Oddaj_Kopie into that column) and asked again. Where the schema cannot
// tell whose it is, the process ends with a critical message naming the table and the
// temporary column (marker "0000") before anything is written; where the change's column
// is gone under both its names, the message also names it as the change adds it anew
// (its new name and type text), since the temporary column may be its only copy.
// Returns the state the change goes on from: Brak (also for a missing table),
// Przed_Usunieciem, Po_Usunieciu, Po_Dodaniu or Zmiana_Zakonczona.
Stan_Kopii Rozstrzygnij_Kopie(std::string_view tabela, std::string_view cel,
                              const Zmiana_Pola& zmiana, const Wykonawca_Zmiany& wykonaj);
