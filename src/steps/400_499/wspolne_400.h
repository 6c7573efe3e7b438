// Helpers of the steps of versions 4.14 to 4.66 that their tests reach directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/konwersje.h"
#include "jet/value.h"

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

}  // namespace kroki
