// Helpers of the steps of versions 4.14 to 4.66 that their tests reach directly, and those
// that the steps of 4.00 to 6.46 share to run again over what an earlier run of theirs left.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver/konwersje.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

namespace kroki {

// Spreads an excess over the amounts of the lines that settle one cash document (largest
// first, as the line query orders them), cent by cent: going down the list, a line that
// stands above the next one comes down to its level; where two neighbours stand level
// the upper one gives a cent and the walk starts again from the top; a line above its
// predecessor gives a cent. A single line gives the whole excess, below zero if need be.
// With two or more lines the allocation ends when a whole pass takes nothing (every line
// at 0 while excess remains), so it always ends.
void Rozdziel_Nadwyzke(std::vector<jet::Currency>& kwoty, jet::Currency nadwyzka);

// An amount as a number of a statement's text: the decimal point, no trailing zeros.
std::string Kwota_SQL(jet::Currency c);

// The sum of two amount or quantity columns as an expression: one not given counts as 0,
// and the sum of two not given is not given either.
std::string Suma_SQL(const std::string& a, const std::string& b);

// A document's gross amount from its parts (net and VAT, or one amount), rounded to 2
// places, as an expression: the sum starts from 0, a part not given adding nothing.
std::string Brutto_SQL(std::initializer_list<std::string> czesci);

// The join that leaves, of the corrected purchase's lines (DOK_ZAK_ZAWART) of one
// product and net price, all but the first (the lowest Countt) among those that warunek
// (" AND ..." over ZN, or "") admits: appended to a join with DOK_ZAK_ZAWART, with
// "ZN.Countt Is Null" in the WHERE, a correction line meets one purchase line.
std::string Pierwsza_Linia_Zakupu(const std::string& warunek = "");

// The value of a correction invoice's line in a query's select list: the corrected
// quantity at the corrected price less the original quantity at the original price, a
// price or quantity not given counting as 0.
inline constexpr const char* kWartosc_Linii_Korekty =
    "(Nz(zfkorout_ilosckor,0)*Nz(ZFKOROUT_CENA_N,0))-(Nz(ZFKOROUT_ILOSC,0)*Nz(CENA_ORG,0))";

// The correction invoices (DOK_KFA) whose per-rate VAT breakdown does not add up to their
// net or VAT total, as a condition: a field or a total not given counts as 0.
std::string Korekta_Bez_Zgodnego_VAT();

// The rule of a posting mark (a posting id, an amount booked elsewhere, a Yes/No flag), as
// conditions of a statement: posted where the mark is not 0 (Yes), whatever book entry it
// names; a mark not given (Null) is none, as 0. kolumna as the statement names it.
struct Znacznik_Ksiegowania {
    std::string kolumna;
    bool tak_nie = false;  // a Yes/No flag, tested as it stands
};
std::string Zaksiegowany(const Znacznik_Ksiegowania& z);  // "X<>0", or "X" for a flag
std::string Niezaksiegowany(const std::string& kolumna);  // "Nz(X,0)=0"

// A document posted when its lines are: the condition under which a header with no posting
// of its own (Niezaksiegowany of its posting id naglowek) is marked as posted by its lines
// (-1), since one of its lines is posted by one of the marks pozycji (Zaksiegowany, joined
// by " or " and put in brackets when there are several).
std::string Zaksiegowany_Przez_Pozycje(const std::string& naglowek,
                                       std::initializer_list<Znacznik_Ksiegowania> pozycji);

// The four account-type statements of the chart of accounts, in order: 'B' for level-1
// accounts without a card file, 'S' for level-1 accounts with sub-accounts, 'P' for
// level-2 and level-3 accounts with sub-accounts (sub-accounts of any year).
void Typy_Kont(ClsKonwersje& k);

// Every posting takes the COUNTT and the parents of the account of its year and segments;
// the statement goes through the update executor when przez_upd is set, else through the
// main executor.
void Powiaz_Dekrety_Z_Kontami(ClsKonwersje& k, bool przez_upd);

// The year of today's date.
int32_t Rok_Dzisiaj();

// The year whose turnovers and counter-accounts the ledger steps recompute: the year of
// Data_Przeliczenia when something set it, otherwise the year of today's date (the year
// the books are kept in when the database is converted).
int32_t Rok_Przeliczenia();

// A run of the suite's earlier tool committed each statement of a step on its own, so a
// step runs again over what such a run left of it. These helpers keep a statement that is
// not safe to run twice from running again, by a fact of the database.

// Inserts a row through the insert executor ("INSERT INTO " & tekst) unless the row that
// wiersz finds by its key ("[table] where key=...") is there: an earlier run inserted it,
// and the table's key would refuse it again. A table that cannot be read gets the insert.
void Wstaw_Jesli_Brak(ClsKonwersje& k, const std::string& wiersz, const std::string& tekst);

// A payroll component inserted into the catalogue (tabela as the step names it) unless the
// catalogue holds its number: "<tabela> (POLE,OPIS,SKR) values (pole,'opis','skr')".
void Dodaj_Skladnik_Plac(ClsKonwersje& k, const std::string& tabela, const Skladnik_Plac& s);

// True when every column of kolumny reads in the table: a statement that reads them has
// not been overtaken by the drop that follows it in the step.
bool Sa_Kolumny(ClsKonwersje& k, const std::string& tabela,
                std::initializer_list<const char*> kolumny);

}  // namespace kroki
