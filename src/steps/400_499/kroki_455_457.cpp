// Steps 4.55 to 4.57: the VAT date of purchases and purchase corrections, the 12% VAT
// rate (its per-rate buckets on every document header and its dictionary row), and the
// ordered and rejected quantities of production lines.
#include <memory>
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The headers that get the buckets of the 12% rate, in order.
constexpr const char* kNaglowki456[] = {
    "DOK_DAR", "DOK_DD",  "DOK_DZ",  "DOK_FAK", "DOK_KFA", "DOK_KZA", "DOK_PAR",
    "DOK_PFA", "DOK_PRO", "DOK_PRS", "DOK_PRZ", "DOK_PW",  "DOK_PZ",  "DOK_PZS",
    "DOK_RW",  "DOK_WZ",  "DOK_ZAK", "DOK_ZPF", "DOK_MMZ", "DOK_MMA", "DOK_FWE"};

}  // namespace

void ClsKonwersje::Konwersja_455() {
    DbWykonajKonwersje(" alter table dok_zak ADD COLUMN Data_Vat SmallDateTime DEFAULT null");
    DbWykonajKonwersje(" alter table dok_kza ADD COLUMN Data_Vat SmallDateTime DEFAULT null");
    DbWykonajKonwersje("update dok_zak set Data_Vat=data_zaksiegowania where data_vat is null");
    DbWykonajKonwersje("update dok_kza set Data_Vat=FKOROUT_DATA_WYST  where data_vat is null");
}

void ClsKonwersje::Konwersja_456() {
    for (const char* t : kNaglowki456) {
        const std::string n = t;
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [n12] money DEFAULT 0");
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [vat12] money DEFAULT 0");
    }
    DbWykonajDELKonwersje(" S_VAT_STAWKI where STVAT_ID='12'");
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "top 1 STVAT_ID,STVAT_NAZWA,w_kasie from S_VAT_STAWKI ", true);
    ado::Recordset& stawki = kroki::Rekordy(rs);
    stawki.AddNew();
    stawki.Fields("STVAT_ID") = jet::Value::text("12");
    stawki.Fields("STVAT_NAZWA") = jet::Value::text("12%");
    stawki.Fields("w_kasie") = jet::Value::text("");
    stawki.UpdateBatch();
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_457() {
    DbWykonajKonwersje(" alter table dok_pro_zawart ADD COLUMN Ile_Zlecono Single DEFAULT 0");
    DbWykonajKonwersje(" alter table dok_pro_zawart ADD COLUMN Ile_Wybraki Single DEFAULT 0");
}
