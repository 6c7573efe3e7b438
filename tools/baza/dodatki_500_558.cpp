// Rows for steps 5.00 to 5.58. Of what these steps transform, release 1.65 carries the
// users (the issuer of documents: first name and surname, none for the administrator),
// the price-list lines, the recipes, the product codes and the contractors' short names
// (one of 26 characters); document headers with their numbers, fixed assets and ledger
// accounts come only from tables that later steps create, and duplicate contractor
// codes do not survive the register's repair of step 3.88.
#include <string>

#include "baza.h"

namespace baza {

void dodatki_500_558(Budowa& b) {
    // A recipe that lists one raw material twice: its lines keep both rows when the
    // recipes are split into headers and lines, and the line table goes without its key.
    auto c = b.db.query("select top 1 PROD_ID, sur_id from PRODUKTY_Receptury where sur_id>0");
    if (c->next())
        b.wstaw("PRODUKTY_Receptury", {{"PROD_ID", c->value(0)},
                                       {"sur_id", c->value(1)},
                                       {"ilosc_sur", jet::Value::single(0.5f)}});
}

}  // namespace baza
