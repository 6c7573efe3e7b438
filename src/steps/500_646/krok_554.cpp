// Step 5.54: the classification of fixed assets as the reference table S_KRST, and the
// classification symbol of every fixed asset.
#include <memory>
#include <set>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/500_646/klasyfikacja_krst.h"

namespace {

// The symbols that S_KRST holds already. A fresh table holds none; a run stopped inside
// the step leaves the rows it had inserted, and the key is only created at the end, so
// inserting them again would make duplicates and the key would then fail. A table that
// cannot be read counts as empty.
std::set<std::string> Symbole_W_Tabeli(ClsKonwersje& k) {
    std::set<std::string> symbole;
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, "SYMBOL_KRST from S_KRST", true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) symbole.insert(NzStr(rs->Fields(0).value()));
    k.ZamknijRSKonwersje(rs);
    return symbole;
}

}  // namespace

void ClsKonwersje::Konwersja_554() {
    DbWykonajKonwersje(
        "Create table [S_KRST] (iddd int identity,SYMBOL_KRST Text (12),NAZWA Text (120),proc1 "
        "Single DEFAULT 0,proc2 Single DEFAULT 0 )");
    const std::set<std::string> istniejace = Symbole_W_Tabeli(*this);
    for (const kroki::Pozycja_KRST& p : kroki::kKlasyfikacjaKRST) {
        if (istniejace.count(p.symbol)) continue;
        DbWykonajIINKonwersje(std::string("S_KRST (SYMBOL_KRST,NAZWA,proc1,proc2) values ('") +
                              p.symbol + "','" + p.nazwa + "','" + p.proc1 + "','" + p.proc2 +
                              "')");
    }
    DbWykonajKonwersje("alter table SRODKI_TRWALE ADD COLUMN [SYMBOL_KRST] Text (12)");
    DbWykonajKonwersje("update SRODKI_TRWALE set SYMBOL_KRST=''");
    Utworz_Klucz_Podstawowy("S_KRST", "SYMBOL_KRST");
}
