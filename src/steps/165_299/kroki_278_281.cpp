// Steps 2.78 to 2.81: primary keys of the purchase-side and warehouse document tables,
// the "ind" & column indexes dropped schema-wide, export columns of cash documents, the
// key of the numbering periods, the year of each cash report, and the workstation
// prefix removed from setup names.
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "db/teksty.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_278() {
    Utworz_Klucze_Z_Zawart("DOK_PZ", "DDOUT_ID asc", "PROD_ID asc");
    Utworz_Klucze_Z_Zawart("DOK_WZ", "DDOUT_ID asc", "PROD_ID asc");
    Utworz_Klucze_Z_Zawart("DOK_PW", "DDOUT_ID asc", "PROD_ID asc");
    Utworz_Klucze_Z_Zawart("DOK_KZA", "FKOROUT_ID asc", "PROD_ID asc");

    // Every index named "ind" & one of its table's columns goes; a table without one
    // only gets an error text back, which the pass does not look at.
    kroki::Przebieg_DAO(*this, [this](dao::TableDef& td) {
        const int pola = td.FieldCount();
        for (int i = 0; i < pola; ++i)
            DbWykonajDAOKonwersje("DROP index ind" + td.Fields(i).Name() + " on " + td.Name());
    });

    DbWykonajKonwersje("alter table dok_fin ADD COLUMN eksportowano logical");
    DbWykonajKonwersje("alter table dok_fin ADD COLUMN zawrtosc_exp memo");
    DbWykonajKonwersje("alter table dok_fin ADD COLUMN nazwa_pliku text(20)");
}

void ClsKonwersje::Konwersja_279() {
    DbWykonajKonwersje("drop index Podstawowy on SPOSOB_NUMERACJI_ZAWART");
    Utworz_Klucz_Podstawowy("SPOSOB_NUMERACJI_ZAWART",
                            "sm_id asc,rok asc,miesiac asc,kierowca_id asc");
}

void ClsKonwersje::Konwersja_280() {
    DbWykonajKonwersje("alter table dok_fra ADD COLUMN ROK LONG");

    // The year of a report is the text after the "/" of its number, stored as the
    // whole-number column takes it; a report whose text the column refuses (a number
    // without a year) keeps no year, named in the Log.
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs, "[raport_nr],rok from [dok_fra]") > 0) {
        while (!rs->Eof()) {
            const std::string numer = NzStr(rs->Fields(0).value());
            try {
                rs->Fields(1) = jet::Value::text(Tekst_Po_Ukosniku(numer));
                rs->UpdateBatch();
            } catch (const jet::Error& e) {
                if (e.fault() != jet::Fault::TypeMismatch && e.fault() != jet::Fault::Overflow)
                    throw;
                rs->CancelUpdate();
                Zapisz_Log_Kroku("Konwersja 2.80: dok_fra raport_nr = '" + numer +
                                     "': bez roku (numer nie podaje roku)",
                                 "Konwersja", "2.80");
            }
            rs->MoveNext();
        }
    }
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_281() {
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "[Nazwa] from [Setup]");

    // Each prefix "ST" & digit & "\" is tested in digit order on the name as it stands,
    // so a name can lose a second prefix of a higher digit. From the first removal or
    // the first save on, failures are ignored: a name that cannot be saved stays.
    bool pomijaj = false;
    kroki::Zapisz_Wiersze_Pomijajac(
        kroki::Rekordy(rs), pomijaj,
        [&pomijaj](ado::Recordset& r) {
            const jet::Value v = r.Fields(0).value();
            if (v.is_null()) return;
            std::string nazwa = v.to_text();
            if (nazwa.compare(0, 2, "ST") != 0) return;
            for (char n = '0'; n <= '9'; ++n) {
                if (nazwa.compare(0, 4, std::string("ST") + n + "\\") != 0) continue;
                pomijaj = true;
                nazwa.erase(0, 4);
                r.Fields(0) = jet::Value::text(nazwa);
            }
        },
        "Setup.Nazwa");
    // The closing save finds nothing pending (a record that failed gave its change back);
    // once failures are ignored, its own failure would be ignored as well.
    try {
        rs->UpdateBatch();
    } catch (const jet::Error& e) {
        if (!pomijaj || jet::environment_failure(e)) throw;
    }
    ZamknijRSKonwersje(rs);
}
