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

// Renames the kind names of the column kolumna of tabela: opens its names and writes
// into every record the mapped or lower-cased name, showing each old name on status line
// 3. From the first save on, failures are ignored for the rest of the step (pomijaj): a
// record that cannot be saved keeps its old name, which the Log names. A Null name stays
// Null.
void Zmien_Nazwy_Rodzajow(ClsKonwersje& k, const std::string& kolumna, const std::string& tabela,
                          const Mapa_Nazw& mapa, bool& pomijaj) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, "[" + kolumna + "] from [" + tabela + "]") > 0) {
        kroki::Zapisz_Wiersze_Pomijajac(
            *rs, pomijaj,
            [&mapa](ado::Recordset& r) {
                const jet::Value stara = r.Fields(0).value();
                Pokaz_Postep("", "", NzStr(stara));
                if (stara.is_null()) return;
                const std::string mala = jet::text::lower(NzStr(stara));
                const auto it = mapa.find(mala);
                r.Fields(0) = jet::Value::text(it != mapa.end() ? it->second : mala);
            },
            tabela + "." + kolumna);
    }
    ZamknijRS(rs);
}

// One kind of documents moved into tables of their own: the headers of naglowki that
// warunek selects (a condition on a header column) go to kopia, their lines, found in
// naglowki_ZAWART through the id column, to kopia_ZAWART; then the lines and the headers
// leave the old tables, each only when its copy holds it. A copy found while its rows
// are still in the old table is what a stopped run left and gives way to a fresh one;
// once they have left, the copy is their only record and stays.
struct Przeniesienie {
    const char* naglowki;
    const char* kopia;
    const char* id;
    const char* warunek;
    const char* into;  // the keyword of the lines' make-table, as the step writes it
};

void Przenies_Dokumenty(ClsKonwersje& k, const Przeniesienie& p) {
    const std::string n = std::string("[") + p.naglowki + "]";
    const std::string z = std::string("[") + p.naglowki + "_ZAWART]";
    const std::string kopia_z = std::string(p.kopia) + "_ZAWART";
    const std::string naglowki = n + " WHERE " + n + "." + p.warunek;
    const std::string linie = z + " INNER JOIN " + n + " ON " + z + ".[" + p.id + "]=" + n + ".[" +
                              p.id + "] WHERE " + n + "." + p.warunek;
    k.Usun_Pozostala_Kopie(p.naglowki, p.kopia, naglowki);
    k.Usun_Pozostala_Kopie(std::string(p.naglowki) + "_ZAWART", kopia_z, linie);
    k.DbWykonajKonwersje("Select * into [" + std::string(p.kopia) + "] from " + naglowki,
                         k.Tabela_Z_Wczesniejszego_Przebiegu(p.kopia, "* from " + naglowki, p.id));
    k.DbWykonajKonwersje(
        "Select " + z + ".* " + p.into + " [" + kopia_z + "] FROM " + linie,
        k.Tabela_Z_Wczesniejszego_Przebiegu(kopia_z, z + ".* FROM " + linie, p.id));
    k.Sprawdz_Kopie(std::string(p.naglowki) + "_ZAWART", kopia_z, linie);
    k.DbWykonajKonwersje("DELETE " + z + ".* FROM " + linie);
    k.Sprawdz_Kopie(p.naglowki, p.kopia, naglowki);
    k.DbWykonajKonwersje("DELETE FROM " + naglowki);
}

}  // namespace

void ClsKonwersje::Konwersja_276() {
    DbWykonajKonwersje("Drop Table [FORMY_PLATNOSCI]");
    Przenies_Dokumenty(*this, {"DOK_KFA", "DOK_KZA", "FKOROUT_ID", "ZAKUP=-1", "into"});
    Przenies_Dokumenty(*this, {"DOK_DZ", "DOK_PZ", "DDOUT_ID", "ZAKUP=-1", "INTO"});
    Przenies_Dokumenty(*this, {"DOK_DD", "DOK_WZ", "DDOUT_ID", "ZAKUP=-1", "INTO"});
}

void ClsKonwersje::Konwersja_277() {
    Przenies_Dokumenty(*this, {"DOK_RW", "DOK_PW", "DDOUT_ID", "[rodzdok]='P'", "INTO"});

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
    Zmien_Nazwy_Rodzajow(*this, "rodzaj_dok", "NUMERY_OST_DOK", Nazwy_Numeracji(), pomijaj);
    Zmien_Nazwy_Rodzajow(*this, "dokument", "NUMERY_OST_DOK_NAG", Nazwy_Numeracji(), pomijaj);
    DbWykonajKonwersje("DELETE FROM [NUMERY_OST_DOK_NAG] WHERE [DOKUMENT]='faktura zbiorcza'");
    Zmien_Nazwy_Rodzajow(*this, "r_dok", "tabela_vat", Nazwy_Rejestru_VAT(), pomijaj);
}
