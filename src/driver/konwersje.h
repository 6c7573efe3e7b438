// The conversion class: the version loop, its class-level executors, schema helpers,
// Setup access, the document-numbering set-up, the Access 97 upgrade, and the step
// methods of every version (defined in src/steps/).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ado/ado.h"
#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/wykonawca.h"
#include "jet/error.h"

namespace jet {
class WorkUnit;
}

class ClsKonwersje;

// A step method of the conversion class: no arguments, no result.
using MetodaKroku = void (ClsKonwersje::*)();

// What the version loop does for one step number.
enum class RodzajKroku : uint8_t {
    Metoda,  // the step method Konwersja_<v>
    Pusty,   // the empty step Konwersja_Pusta
    Sygnal,  // only the system beep
    Poza,    // outside 165..646: "NIEROZPOZNANA WERSJA PROGRAMU !!! "
};

// A step put in place of a step method by a test (see Podstaw_Kroki).
using KrokZastepczy = std::function<void(ClsKonwersje&)>;

struct PozycjaKroku {
    RodzajKroku rodzaj = RodzajKroku::Poza;
    MetodaKroku metoda = nullptr;              // Metoda: the built step, nullptr while not built
    const KrokZastepczy* zastepczy = nullptr;  // Metoda: a test's step, taking precedence
};

// The dispatch table: step number (version times 100) to action.
PozycjaKroku Akcja_Kroku(int v);
// The step methods built so far, by step number (src/steps/lista_krokow.inc).
const std::map<int, MetodaKroku>& Zbudowane_Kroki();
// Tests only: steps that take the place of the step methods of the given numbers
// (numbers that the dispatch table gives to an empty step, a beep or nothing keep
// their action); a number given an empty function stands for a step this build does
// not have. An empty map restores the built steps. A program never calls it.
void Podstaw_Kroki(std::map<int, KrokZastepczy> kroki);

// What the Log beside the database says of the step after the database's version: a
// run of the suite's earlier tool began it and did not end it (Rozpoczety), or ended it
// and did not write its version (Zakonczony), or neither (Brak: no Log, no such line, or
// the lines are this program's own). wiersz names the Log's line that tells it.
enum class Stan_Z_Logu : uint8_t { Brak, Rozpoczety, Zakonczony };
struct Krok_Z_Logu {
    Stan_Z_Logu stan = Stan_Z_Logu::Brak;
    int krok = 0;
    std::string wiersz;
};
// Reads the Log log for the step krok of the database sciezka (the lines whose path names
// its file, by its name alone, compared as Windows compares names, in UTF-8 or the Windows
// code page); a Log that is missing or cannot be read tells nothing (blad, when given, says
// why one could not be read: it is no regular file, say), and a line that is not the
// loop's is passed over. Only the Log's last megabytes are read.
Krok_Z_Logu Czytaj_Log_Kroku(const std::string& log, const std::string& sciezka, int krok,
                             std::string* blad = nullptr);
// What proves that a step may go on over the earlier tool's half-done work: it writes
// nothing, or the sweep over its killed states ended each as the straight run.
enum class Dowod_Kroku : uint8_t { Bez_Zapisow, Przebieg };
struct Krok_Po_Przerwaniu {
    int krok;
    Dowod_Kroku dowod;
};
// The table of the steps that go on when the earlier tool began them and did not end them,
// and take only their version when it ended them without it (driver/kroki_po_przerwaniu.inc),
// in step order; Krok_Idzie_Dalej_Po_Przerwaniu: krok is one of them. Every other step
// stops there before its first write.
std::span<const Krok_Po_Przerwaniu> Kroki_Po_Przerwaniu();
// The groups of tabela's rows that share a value of the key klucz (a column, or columns
// separated by commas), rows with a Null in the key apart, among those that warunek
// (" and ..." or "") chooses: the text after a select list, " from ... having count(*)>1".
std::string Powtorzony_Klucz(const std::string& tabela, const std::string& klucz,
                             const std::string& warunek = "");
bool Krok_Idzie_Dalej_Po_Przerwaniu(int krok);

class ClsKonwersje {
  public:
    ClsKonwersje();
    ~ClsKonwersje();

    // The version loop: true when it ran to 646 and the final statements were sent.
    bool RUN_Konwersje();
    void Konwersja_Pusta() {}

    // Class-level executors. A failure that one of them passes over without the question
    // (a quiet one, a tolerated one) of a statement that moves, carries or deletes rows
    // ends the run, unless it is the one that oczekiwany states and its state holds
    // (Rozstrzygnij_Pominiecie).
    int32_t DbWykonajUPDKonwersje(const std::string& statement, const std::string& table,
                                  const std::string& values, const std::string& condition,
                                  const std::string& extra = "", bool quiet = false,
                                  const Oczekiwany_Blad& oczekiwany = {});
    bool DbWykonajIINKonwersje(const std::string& text, const std::string& replacement, bool& quiet,
                               int32_t& records_affected, const Oczekiwany_Blad& oczekiwany = {});
    bool DbWykonajIINKonwersje(const std::string& text);
    int32_t DbWykonajDELKonwersje(const std::string& table_and_condition,
                                  const std::string& what = "");

    // Runs the statement; returns when it ran or its failure was passed over (a statement
    // changes nothing when it fails), and ends the run on any other. A statement that moves,
    // carries or deletes rows (Polecenie_Danych) whose failure would be passed over ends
    // the run instead (critical, "0000", the step rolled back), quiet or not: its rows
    // would be lost or left behind unseen. Only the failure that the step states as
    // expected there (oczekiwany) is passed over, and only while the state it stands for
    // holds.
    using Oczekiwany_Blad = ::Oczekiwany_Blad;
    void DbWykonajKonwersje(const std::string& statement, bool quiet = false);
    void DbWykonajKonwersje(const std::string& statement, const Oczekiwany_Blad& oczekiwany,
                            bool quiet = false);
    // Logs a failure and goes on, but as DbWykonajKonwersje for a statement that changes
    // rows (oczekiwany: the failure the step expects there, or none).
    void DbWykonajKonwersjeNoErr(const std::string& statement,
                                 const Oczekiwany_Blad& oczekiwany = {});
    std::string DbWykonajSQLKonwersje(const std::string& statement, int32_t& records_affected,
                                      bool quiet = false);
    int32_t DbOtwórzSELKonwersje(std::unique_ptr<ado::Recordset>& rs, const std::string& text,
                                 bool quiet = false);
    void ZamknijRSKonwersje(std::unique_ptr<ado::Recordset>& rs);
    std::string DbWykonajDAOKonwersje(const std::string& statement);

    // Class-level schema helpers and the wait.
    void Dodaj_Pole(const std::string& table, const std::string& definition);
    void Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                        const std::string& table, std::string& new_name);
    void Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                        const std::string& table);
    // Cuts to size characters the longer texts of table.column before the step puts them
    // into a text column of that size (the write would fail and stop the step on every
    // run): each row cut is named in the Log by its key and its whole text. Nothing for a
    // table or column that is not there, or a column no wider.
    void Przytnij_Tekst(const std::string& table, const std::string& column, int size);
    // The value that a statement puts into table.column (the table under alias in from, its
    // rows those of where) cut to size characters, the column's size where size is 0: each
    // row whose value is longer is named in the Log by the table's key and the whole text,
    // as Przytnij_Tekst names the rows it cuts. Returns the value cut ("left(value,size)"),
    // or value itself for a column that holds no text of a size.
    std::string Przytnij_Wartosc(const std::string& table, const std::string& alias,
                                 const std::string& column, const std::string& from,
                                 const std::string& value, const std::string& where, int size = 0);
    // Settles a temporary column of a change left in any table: another change's column
    // added anew right after it is filled back; any other ends the run (critical, "0000").
    void Sprawdz_Kolumny_Tymczasowe();
    std::string Poszerz_Pola_Z_SQLKonwersje(const std::string& statement,
                                            int32_t& records_affected);
    void CzekajKonwersje(int32_t seconds);

    // Copies that a step makes of a table's rows before it drops the table or deletes
    // those rows; rows is the text after "from" that selects the rows that move (a table
    // or a join, with its where), "" for the whole table source. Jest_Tabela: true when
    // the table, and its column when one is given, reads (an empty read, quiet).
    // Usun_Pozostala_Kopie: a step calls it before its copy, while the source stands as
    // it was, so that a copy found there is what a stopped run left. When the source holds
    // no rows to move (or is gone), the copy may be their only record and stays; when the
    // copy holds no more rows than the source, the source is the truth and the copy is
    // dropped; when it holds more, it may hold rows that the source lost, and the run ends
    // as a critical failure. Sprawdz_Kopie is the check before the rows leave the source:
    // the copy exists and holds at least as many rows as rows finds; otherwise the run ends
    // as a critical failure. A source that is gone has nothing left to lose: no check.
    // Each critical end names both tables (marker "0000"), and the step's writes are
    // rolled back with it.
    bool Jest_Tabela(const std::string& table, const std::string& column = "");
    // A step that finds its work half done by a stopped run of the suite's earlier tool
    // (which committed each statement on its own), and cannot end it as an uninterrupted
    // run would because what it needs is gone, stops: the failure reaches the version
    // check (critical, "0000"), the step's writes are rolled back, and the database stays
    // as that run left it. stan says what is half done, after "została przerwana "
    // ("po przeniesieniu surowców do tabeli PRODUKTY"); the message names the step and
    // points at the README's chapter on such databases.
    [[noreturn]] static void Konwersja_Przerwana(int krok, const std::string& stan);
    // The first field of the first record of "Select " & text (a count, say), a Null
    // read as 0; -1 when the query cannot be opened (a quiet open).
    int64_t Liczba_Z_Zapytania(const std::string& text);
    void Usun_Pozostala_Kopie(const std::string& source, const std::string& copy,
                              const std::string& rows = "");
    void Sprawdz_Kopie(const std::string& source, const std::string& copy,
                       const std::string& rows = "");
    // Rows that a step moved into a table that already exists, checked before their
    // source is dropped or emptied: target_rows (the text after "from" that selects the
    // rows that arrived) must count at least as many rows as source_rows (the rows that
    // were to move); otherwise the run ends as a critical failure that names both tables,
    // with the step's writes rolled back. A source that is gone: no check.
    void Sprawdz_Przeniesienie(const std::string& source, const std::string& target,
                               const std::string& source_rows, const std::string& target_rows);
    // Values that a step carried with an UPDATE over a join from a source table into rows
    // of a table that already exists, when a carrying statement failed and its executor
    // passed over the failure, checked before the source or its carried columns go. A
    // statement that ran carried every value (a statement is whole or nothing), so only a
    // failed one needs the check; its failure may still be one of a column the suite's
    // earlier tool dropped after it had carried the values. Each row the update joins must
    // then hold in its target row the values of one of the source rows tied to that target
    // row, over the source columns still there; otherwise the run ends as for
    // Sprawdz_Przeniesienie. Values compare as stored, Null equal to Null only; where the carry
    // keeps the target's own value for a source value not given (zostawia_cel: the update sets
    // Nz(source,target)), such a source value matches any target value. No source table, or
    // none of its carried columns: nothing left to lose.
    struct Przeniesione_Wartosci {
        std::string zrodlo;        // the source table
        std::string cel;           // the target table
        std::string zlaczenie;     // the update's join, e.g. "T AS D INNER JOIN S ON ..."
        std::string warunek = {};  // the update's where, "" for none
        std::string alias;         // the source read once more, to find the tied rows
        std::string powiazanie;    // ties alias to the joined row's target row
        std::string klucz;         // a column of alias that powiazanie compares
        // Each target column (with its alias) and the source column it was set from.
        std::vector<std::pair<std::string, std::string>> pola = {};
        bool zostawia_cel = false;  // a source value not given leaves the target's value
    };
    void Sprawdz_Przeniesione_Wartosci(const Przeniesione_Wartosci& p);

    // The failures that steps state as expected of a statement that moves, carries or
    // deletes rows, run again over a database that an earlier run (the suite's earlier
    // tool committed each statement on its own) took part of the way:
    // a make-table whose table that run made: each row that "Select " & selection (the
    // statement without its INTO: "* FROM [T]") reads is a row of the table, found by its
    // key column with the values of every column that both have (Null equal to Null, every
    // row once; rows read without the key, which a change of its type left in the
    // temporary column, by the other values); rows that cannot be read prove nothing;
    Oczekiwany_Blad Tabela_Z_Wczesniejszego_Przebiegu(const std::string& table,
                                                      const std::string& selection,
                                                      const std::string& key);
    // a make-table of an empty table of pattern's columns (its rows deleted next) that that
    // run made: the table has the column that heads the pattern's (the id; the steps add,
    // drop and move the others of either);
    Oczekiwany_Blad Pusta_Tabela_Z_Wczesniejszego_Przebiegu(const std::string& table,
                                                            const std::string& pattern);
    // an insert of a reference row that that run added: rows (the text after "from")
    // finds it;
    Oczekiwany_Blad Wiersz_Z_Wczesniejszego_Przebiegu(const std::string& rows);
    // a carry over a join whose source column that run dropped once it had carried it:
    // the values are in their target rows (Sprawdz_Przeniesione_Wartosci, which ends the
    // run when they are not).
    Oczekiwany_Blad Wartosci_Z_Wczesniejszego_Przebiegu(const Przeniesione_Wartosci& p);
    // A unique index or key on one column that the step knows the table may be refused (a
    // document number that a later step makes unique, a setting that two workstations
    // hold): the table holds a value of the column (or of the columns, listed with commas)
    // twice, Nulls apart.
    Oczekiwany_Blad Powtorzona_Wartosc(const std::string& table, const std::string& column);
    // A seed of reference rows (an insert ... select) into a table that has no unique index
    // to refuse a second copy: sent through DbWykonajKonwersje only while rows (the text
    // after "from" that finds the seed's rows by their key) finds none, since a statement
    // is whole or nothing and an earlier run that sent it left all of its rows; a duplicate
    // is expected only of rows that are there (Wiersz_Z_Wczesniejszego_Przebiegu).
    void Dodaj_Wiersze_Gdy_Brak(const std::string& statement, const std::string& rows,
                                bool quiet = false);

    // Class-level Setup access (from version 2.13 on).
    std::string Czytaj_SetupKonwersje(const std::string& name);
    void Zapisz_SetupKonwersje(const std::string& name, const std::string& value);

    // Document-numbering set-up. Scheme and driver ids are whole numbers of the width of
    // their columns (Long), so that a scheme or driver of any id gets its period rows.
    void Dodaj_Numeracje_Zawart(int32_t sm_id, int32_t kierowca_id, int16_t rok, int16_t miesiac);
    void Dodaj_Numer_OST_DOK(const std::string& rodzaj);
    void Inicjuj_Numeracje_Dokumentow(const std::string& rodzaj, double& data);

    // Access 97 to 2000 upgrade.
    void Porzadkuj_BazeKonwersje(const std::string& path, bool drop);
    void Konwertuj_A97_A2000();

    // What the Log says of the run's first step (Czytaj_Log_Przebiegu, at the run's
    // start).
    Krok_Z_Logu Log_Kroku;
    void Czytaj_Log_Przebiegu();

    // State of the run.
    std::string Sciezka;                     // the data source of the open connection
    int16_t Wersja_Startowa = 0;             // the database's version times 100 when the run began
    std::string Zapisany_Etap;               // status line 3 saved before a step
    std::shared_ptr<dao::Database> BazaDAO;  // the file opened through DAO for a pass
    // The open step's unit of work: begun before each step, committed with the step's
    // version by the loop's checkpoint (the last step's with the closing writes by the
    // version check's), rolled back when the run leaves the step any other way.
    std::unique_ptr<jet::WorkUnit> step_unit_;

    // ---- step methods (src/steps/) ----
#define KROK(v) void Konwersja_##v();
#include "steps/lista_krokow.inc"
#undef KROK
#include "steps/kroki.inc"

  private:
    void Wykonaj_Krok(int v);
    void Dokoncz_Zmiane_Typu(const std::string& table, const std::string& new_name,
                             const std::string& new_type);
};

// Process-wide values of the numbering set-up.
inline double Data_Dzisiaj = 0;  // the working date (a Date serial)
inline bool Numeracja_Miesieczna = false;
