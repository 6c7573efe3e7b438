// Steps 4.55 to 4.57: the VAT date of purchases and purchase corrections, the 12% VAT
// rate (its per-rate buckets on every document header and its dictionary row), and the
// ordered and rejected quantities of production lines.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The headers that get the buckets of the 12% rate, in order.
constexpr const char* kNaglowki456[] = {
    "DOK_DAR", "DOK_DD",  "DOK_DZ",  "DOK_FAK", "DOK_KFA", "DOK_KZA", "DOK_PAR",
    "DOK_PFA", "DOK_PRO", "DOK_PRS", "DOK_PRZ", "DOK_PW",  "DOK_PZ",  "DOK_PZS",
    "DOK_RW",  "DOK_WZ",  "DOK_ZAK", "DOK_ZPF", "DOK_MMZ", "DOK_MMA", "DOK_FWE"};

// The dictionary row of the 12% rate, every column.
constexpr const char* kStawka12 = "* from S_VAT_STAWKI where STVAT_ID='12'";

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
    // A rate '12' that the database already holds keeps its own values (its rate figure
    // among them) in the columns that the new row leaves without one: they are read
    // before the row is deleted and given back to the new row.
    std::unique_ptr<ado::Recordset> rs;
    std::vector<std::pair<std::string, jet::Value>> wlasne;
    DbOtwórzSELKonwersje(rs, kStawka12, true);
    if (ado::Recordset& stara = kroki::Rekordy(rs); !stara.Eof())
        for (int i = 0; i < stara.FieldCount(); ++i)
            if (const jet::Value v = stara.Fields(i).value(); !v.is_null())
                wlasne.emplace_back(stara.Fields(i).Name(), v);
    ZamknijRSKonwersje(rs);
    DbWykonajDELKonwersje(" S_VAT_STAWKI where STVAT_ID='12'");
    DbOtwórzSELKonwersje(rs, "top 1 STVAT_ID,STVAT_NAZWA,w_kasie from S_VAT_STAWKI ", true);
    ado::Recordset& stawki = kroki::Rekordy(rs);
    stawki.AddNew();
    stawki.Fields("STVAT_ID") = jet::Value::text("12");
    stawki.Fields("STVAT_NAZWA") = jet::Value::text("12%");
    stawki.Fields("w_kasie") = jet::Value::text("");
    stawki.UpdateBatch();
    ZamknijRSKonwersje(rs);
    if (wlasne.empty()) return;
    DbOtwórzSELKonwersje(rs, kStawka12, true);
    ado::Recordset& nowa = kroki::Rekordy(rs);
    bool oddane = false;
    for (const auto& [kolumna, v] : wlasne)
        if (!nowa.Eof() && nowa.Fields(kolumna).value().is_null()) {
            nowa.Fields(kolumna) = v;
            oddane = true;
        }
    if (oddane) nowa.UpdateBatch();
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_457() {
    DbWykonajKonwersje(" alter table dok_pro_zawart ADD COLUMN Ile_Zlecono Single DEFAULT 0");
    DbWykonajKonwersje(" alter table dok_pro_zawart ADD COLUMN Ile_Wybraki Single DEFAULT 0");
}
