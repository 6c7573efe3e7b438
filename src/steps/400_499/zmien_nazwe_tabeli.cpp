// The rename of one table through a second, DAO handle on the database file: Jet SQL
// as the program sends it through its connection has no statement that renames a table.
#include <string>

#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Zmien_Nazwe_Tabeli(const std::string& stara, const std::string& nowa) {
    const std::string szukana = jet::text::upper(stara);
    // Every user table passes over status line 3; the walk goes to the end of the
    // collection, which keeps its positions while a table is renamed. The DAO handle
    // shares the connection's session, so the rename stays in the grouped write of the
    // step until the version loop commits.
    kroki::Przebieg_DAO(
        *this,
        [&](dao::TableDef& td) {
            const std::string nazwa = td.Name();
            Pokaz_Postep("", "", nazwa);
            if (jet::text::upper(nazwa) == szukana) td.SetName(nowa);
        },
        3);
}
