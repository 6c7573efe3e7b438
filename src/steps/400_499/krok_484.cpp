// Step 4.84: three payroll components filled from older ones where empty, and the main
// book's entries numbered 1, 2, 3 ... by operation date and book number (and entry id).
#include <memory>
#include <string>

#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::Rekordy;

void ClsKonwersje::Konwersja_484() {
    // An older component not given fills the empty one with none (0).
    DbWykonajKonwersje(
        "update [PLACE_LISTY_ZAWART] set [wartosc151]=Nz([wartosc19],0) where [wartosc151]=0 or "
        "[wartosc151] is null");
    DbWykonajKonwersje(
        "update [PLACE_LISTY_ZAWART] set [wartosc156]=Nz([wartosc87],0) where [wartosc156]=0 or "
        "[wartosc156] is null");
    DbWykonajKonwersje(
        "update [PLACE_LISTY_ZAWART] set [wartosc154]=Nz([wartosc88],0) where [wartosc154]=0 or "
        "[wartosc154] is null");

    DbWykonajKonwersje("alter table KH_KSIEGA ADD COLUMN NP int DEFAULT 0");
    DbWykonajKonwersje("update KH_KSIEGA set np=0 where np is null");
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs,
                         "NP FROM [KH_KSIEGA] where [KH_KSIEGA].Glowna=-1 order by "
                         "Data_operacji,val([KH_KSIEGA].[numer_w_kh]),kpir_id");
    int32_t i = 0;
    while (!Rekordy(rs).Eof()) {
        ++i;
        Pokaz_Postep("", "", " " + std::to_string(i));
        rs->Fields(0) = Value::long_(i);
        rs->UpdateBatch(ado::adAffectCurrent);
        rs->MoveNext();
    }
    ZamknijRS(rs);
    Utworz_Index("NP", "KH_KSIEGA", "NP");
}
