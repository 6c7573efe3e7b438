// Steps 3.06 to 3.09: packaging and segment data of products, a retail-chain mode of
// customers, document amounts rounded to whole grosze, documents pointing at their
// numbering series instead of its lines, and production lines of missing products
// removed.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// Step 3.07 for one query "[amount] from ... where [amount]<>0": every amount rounded by
// NzCur, each shown on status line 3 after etykieta.
void Zaokraglij_Kwoty(ClsKonwersje& k, const std::string& tekst, const std::string& etykieta) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, tekst);
    while (!kroki::Rekordy(rs).Eof()) {
        const jet::Value kwota = jet::Value::currency(NzCur(rs->Fields(0).value()));
        rs->Fields(0) = kwota;
        Pokaz_Postep("", "", etykieta + kwota.to_text());
        rs->MoveNext();
    }
    kroki::Rekordy(rs).UpdateBatch();
    k.ZamknijRSKonwersje(rs);
}

}  // namespace

void ClsKonwersje::Konwersja_306() {
    const std::string produkty = std::string("alter table PRODUKTY ") + "ADD COLUMN";
    DbWykonajKonwersje(produkty + " [Segment] text (80)");
    DbWykonajKonwersje(produkty + " [Nazwa_Opakowania] text (80)");
    DbWykonajKonwersje(produkty + " [Szt_w_opak] " + "Single DEFAULT 0");
    DbWykonajKonwersje("UPDATE [PRODUKTY] set [Szt_w_opak]=1");
    const std::string kontrahenci = std::string("alter table Kontrahenci ") + "ADD COLUMN";
    DbWykonajKonwersje(kontrahenci + " [Tryb_SIEC_A] logical");
    DbWykonajKonwersje(kontrahenci + " [Nazwa_dla_SIEC_A] text(50)");
    DbWykonajKonwersje(std::string("alter table [ZAMOWIENIA_KOMENTARZE] ") + "ADD COLUMN" +
                       " nr_zamowienia text(50)");
}

void ClsKonwersje::Konwersja_307() {
    for (const char* t : {"DOK_FAK", "DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_KFA",
                          "DOK_KZA", "DOK_ZAK"}) {
        const std::string T = t;
        Zaokraglij_Kwoty(*this, "[wart_kp] from " + T + " where [wart_kp]<>0", T);
    }
    Zaokraglij_Kwoty(*this, "[wart_dd] from dok_fak where [wart_dd]<>0", "dd-");
}

void ClsKonwersje::Konwersja_308() {
    // The numbering lines go once every document points at its numbering: a run that
    // stopped after their drop had pointed them all.
    if (!Jest_Tabela("SPOSOB_NUMERACJI_ZAWART")) return;
    for (const char* t :
         {"DOK_FAK", "DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_KFA", "DOK_KZA"}) {
        const std::string T = t;
        // A document whose line is not there, or names no series, names no numbering
        // (0): its line id kept would read as the id of another series, and the line's
        // empty series would empty the document's id. The Log counts such documents.
        const std::string zlaczenie = T + " left join [SPOSOB_NUMERACJI_ZAWART] on " + T +
                                      ".[smz_id]=[SPOSOB_NUMERACJI_ZAWART].[id]";
        const std::string bez_serii =
            " where " + T + ".[smz_id]<>0 and [SPOSOB_NUMERACJI_ZAWART].[sm_id] is null";
        kroki::Loguj_Bez_Wskazania(
            *this, 308, "dokumenty " + T + " bez istniejącej numeracji (nie wskazują żadnej)",
            zlaczenie + bez_serii);
        DbWykonajKonwersje("Update " + zlaczenie + " set " + T + ".[smz_id]=0" + bez_serii);
        DbWykonajKonwersje("Update " + T + " inner join [SPOSOB_NUMERACJI_ZAWART] on " + T +
                           ".[smz_id]=[SPOSOB_NUMERACJI_ZAWART].[id] set " + T +
                           ".[smz_id]=[SPOSOB_NUMERACJI_ZAWART].[sm_id] where " + T +
                           ".[smz_id]<>0");
        Pokaz_Postep("", "", T);
    }
    DbWykonajKonwersje("Drop table [SPOSOB_NUMERACJI_ZAWART]");
}

void ClsKonwersje::Konwersja_309() {
    DbWykonajKonwersje(std::string("Alter table [STANY_MAGAZYNOWE] ") + "ADD COLUMN" +
                       " [SrodekTrawly] " + "Single DEFAULT 0");
    kroki::Usun_Produkcje_Bez_Produktu(*this, 309, "Delete");
}
