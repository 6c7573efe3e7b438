// Steps 3.23 and 3.24: termination of employment contracts, the civil-contract table,
// customers that pay for themselves, and the removal of every per-column index "ind"
// & column.
#include <string>

#include "dao/dao.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_323() {
    DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_UMOWY] ") + "ADD COLUMN" +
                       " [DataRozw] Date");
    DbWykonajKonwersje(std::string("ALTER TABLE [KADRY_UMOWY] ") + "ADD COLUMN" +
                       " [SposobRozw] Text(40)");
    // Not dropped first: a table that exists keeps its rows.
    DbWykonajKonwersje(
        "create table [KADRY_UMOWYC] ([ID_prac] long,[RodzajUm] text(1), [Dataod] date,[Datado] "
        "date, [numer] text(10),[tresc] text(255), [Countt] counter)");
    // A customer whose payer is itself becomes a payer.
    DbWykonajUPDKonwersje(
        "KONTRAHENCI set KONTRAHENCI.KONH_PLATNIK =-1 where KONTRAHENCI.KONH_PLATNIK =0 And "
        "KONTRAHENCI.KONH_naz_skrot = KONTRAHENCI.KONH_PLATNIK_KTO",
        "", "", "");
}

void ClsKonwersje::Konwersja_324() {
    // One drop per column of every table; an index that is not there simply fails.
    // Primary keys, UnicNumer and indexes named like their column stay.
    kroki::Przebieg_DAO(
        *this,
        [this](dao::TableDef& td) {
            const std::string tabela = td.Name();
            const int pol = td.FieldCount();
            for (int i = 0; i < pol; ++i) {
                const std::string pole = td.Fields(i).Name();
                DbWykonajDAOKonwersje("drop index ind" + pole + " on " + tabela);
                Pokaz_Postep("", "", pole + " on " + tabela);
            }
        },
        0);
}
