// Steps 2.76 and 2.77: the purchase-side documents (purchase corrections, delivery notes
// and returns of purchase) and the warehouse receipts moved, headers and lines, into
// tables of their own; then the document-kind names of the numbering tables and of the
// VAT register renamed to the new vocabulary and lower-cased.
#include <map>
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

// A kind-name map: lower-cased old name to new name. A name without an entry becomes
// its lower-cased self.
using Mapa_Nazw = std::map<std::string, std::string>;

const Mapa_Nazw& Nazwy_Numeracji() {
    static const Mapa_Nazw m = {
        {"dd", "sprzedaż_ddost"},
        {"detal", "sprzedaż_detal"},
        {"dz", "sprzedaż_zwroty"},
        {"faktura", "sprzedaż_f_vat"},
        {"faktura_korekta", "sprzedaż_f_vat_korekta"},
        {"fakturazak_korekta", "zakupy_korekta"},
        {"pp", "produkcja_p"},
        {"pr", "produkcja_r"},
        {"pw", "magazyn_pw"},
        {"zakupra", "zakupyra"},
    };
    return m;
}

const Mapa_Nazw& Nazwy_Rejestru_VAT() {
    static const Mapa_Nazw m = {
        {"sprzedaż_korekta", "sprzedaż_f_vat_korekta"},
        {"fakturazak_korekta", "zakupy_korekta"},
        {"pp", "produkcja_p"},
        {"pr", "produkcja_r"},
        {"zakupra", "zakupyra"},
    };
    return m;
}

// Renames the kind names of one column: opens "Select " & tekst (the column first) and
// writes into every record the mapped or lower-cased name, showing each old name on
// status line 3. From the first save on, failures are ignored for the rest of the step
// (pomijaj): a record that cannot be saved keeps its old name. A Null name stays Null.
void Zmien_Nazwy_Rodzajow(ClsKonwersje& k, const std::string& tekst, const Mapa_Nazw& mapa,
                          bool& pomijaj) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, tekst) > 0) {
        kroki::Zapisz_Wiersze_Pomijajac(*rs, pomijaj, [&mapa](ado::Recordset& r) {
            const jet::Value stara = r.Fields(0).value();
            Pokaz_Postep("", "", NzStr(stara));
            if (stara.is_null()) return;
            const std::string mala = jet::text::lower(NzStr(stara));
            const auto it = mapa.find(mala);
            r.Fields(0) = jet::Value::text(it != mapa.end() ? it->second : mala);
        });
    }
    ZamknijRS(rs);
}

}  // namespace

void ClsKonwersje::Konwersja_276() {
    DbWykonajKonwersje("Drop Table [FORMY_PLATNOSCI]");

    DbWykonajKonwersje("Select * into [DOK_KZA] from [DOK_KFA] WHERE [DOK_KFA].ZAKUP=-1");
    DbWykonajKonwersje(
        "Select [DOK_KFA_ZAWART].* into [DOK_KZA_ZAWART] FROM [DOK_KFA_ZAWART] INNER JOIN "
        "[DOK_KFA] ON [DOK_KFA_ZAWART].[FKOROUT_ID]=[DOK_KFA].[FKOROUT_ID] WHERE "
        "[DOK_KFA].ZAKUP=-1");
    DbWykonajKonwersje(
        "DELETE [DOK_KFA_ZAWART].* FROM [DOK_KFA_ZAWART] INNER JOIN [DOK_KFA] ON "
        "[DOK_KFA_ZAWART].[FKOROUT_ID]=[DOK_KFA].[FKOROUT_ID] WHERE [DOK_KFA].ZAKUP=-1");
    DbWykonajKonwersje("DELETE FROM [DOK_KFA] WHERE [DOK_KFA].ZAKUP=-1");

    DbWykonajKonwersje("Select * into [DOK_PZ] from [DOK_DZ] WHERE [DOK_DZ].ZAKUP=-1");
    DbWykonajKonwersje(
        "Select [DOK_DZ_ZAWART].* INTO [DOK_PZ_ZAWART] FROM [DOK_DZ_ZAWART] INNER JOIN [DOK_DZ] "
        "ON [DOK_DZ_ZAWART].[DDOUT_ID]=[DOK_DZ].[DDOUT_ID] WHERE [DOK_DZ].ZAKUP=-1");
    DbWykonajKonwersje(
        "DELETE [DOK_DZ_ZAWART].* FROM [DOK_DZ_ZAWART] INNER JOIN [DOK_DZ] ON "
        "[DOK_DZ_ZAWART].[DDOUT_ID]=[DOK_DZ].[DDOUT_ID] WHERE [DOK_DZ].ZAKUP=-1");
    DbWykonajKonwersje("DELETE FROM [DOK_DZ] WHERE [DOK_DZ].ZAKUP=-1");

    DbWykonajKonwersje("Select * into [DOK_WZ] from [DOK_DD] WHERE [DOK_DD].ZAKUP=-1");
    DbWykonajKonwersje(
        "Select [DOK_DD_ZAWART].* INTO [DOK_WZ_ZAWART] FROM [DOK_DD_ZAWART] INNER JOIN [DOK_DD] "
        "ON [DOK_DD_ZAWART].[DDOUT_ID]=[DOK_DD].[DDOUT_ID] WHERE [DOK_DD].ZAKUP=-1");
    DbWykonajKonwersje(
        "DELETE [DOK_DD_ZAWART].* FROM [DOK_DD_ZAWART] INNER JOIN [DOK_DD] ON "
        "[DOK_DD_ZAWART].[DDOUT_ID]=[DOK_DD].[DDOUT_ID] WHERE [DOK_DD].ZAKUP=-1");
    DbWykonajKonwersje("DELETE FROM [DOK_DD] WHERE [DOK_DD].ZAKUP=-1");
}

void ClsKonwersje::Konwersja_277() {
    DbWykonajKonwersje("Select * into [DOK_PW] from [DOK_RW] WHERE [DOK_RW].[rodzdok]='P'");
    DbWykonajKonwersje(
        "Select [DOK_RW_ZAWART].* INTO [DOK_PW_ZAWART] FROM [DOK_RW_ZAWART] INNER JOIN [DOK_RW] "
        "ON [DOK_RW_ZAWART].[DDOUT_ID]=[DOK_RW].[DDOUT_ID] WHERE [DOK_RW].[rodzdok]='P'");
    DbWykonajKonwersje(
        "DELETE [DOK_RW_ZAWART].* FROM [DOK_RW_ZAWART] INNER JOIN [DOK_RW] ON "
        "[DOK_RW_ZAWART].[DDOUT_ID]=[DOK_RW].[DDOUT_ID] WHERE [DOK_RW].[rodzdok]='P'");
    DbWykonajKonwersje("DELETE FROM [DOK_RW] WHERE [DOK_RW].[rodzdok]='P'");

    DbWykonajKonwersje(
        "UPDATE [NUMERY_OST_DOK] SET [rodzaj_dok]='Sprzedaż_F_VAT_korekta' WHERE "
        "[rodzaj_dok]='faktura_korekta'");
    DbWykonajKonwersje(
        "UPDATE [NUMERY_OST_DOK] SET [rodzaj_dok]='Zakupy_korekta' WHERE "
        "[rodzaj_dok]='fakturaZak_korekta'");
    DbWykonajKonwersje(
        "UPDATE [NUMERY_OST_DOK_NAG] SET [DOKUMENT]='Sprzedaż_F_VAT_korekta' WHERE "
        "[DOKUMENT]='faktura_korekta'");
    DbWykonajKonwersje(
        "UPDATE [NUMERY_OST_DOK_NAG] SET [DOKUMENT]='Zakupy_korekta' WHERE "
        "[DOKUMENT]='fakturaZak_korekta'");
    for (const char* rodzaj : {"rachunek zbiorczy", "rachunek_korekta", "rachunek"})
        DbWykonajKonwersje(std::string("DELETE FROM [NUMERY_OST_DOK_NAG] WHERE [DOKUMENT]='") +
                           rodzaj + "'");

    bool pomijaj = false;  // set by the first saved name, for the rest of the step
    Zmien_Nazwy_Rodzajow(*this, "[rodzaj_dok] from [NUMERY_OST_DOK]", Nazwy_Numeracji(), pomijaj);
    Zmien_Nazwy_Rodzajow(*this, "[dokument] from [NUMERY_OST_DOK_NAG]", Nazwy_Numeracji(), pomijaj);
    DbWykonajKonwersje("DELETE FROM [NUMERY_OST_DOK_NAG] WHERE [DOKUMENT]='faktura zbiorcza'");
    Zmien_Nazwy_Rodzajow(*this, "[r_dok] from [tabela_vat]", Nazwy_Rejestru_VAT(), pomijaj);
}
