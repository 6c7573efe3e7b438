// Steps 2.42 and 2.43: the book link moved from invoice lines to invoice headers, net
// prices of bought goods in the price lists, the free text of cash documents without a
// contractor split into a contractor and a description, and a wider issuer column.
#include <string>

#include "db/nz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// The marker that the suite put between the contractor's name and the description of
// a cash document typed without a contractor.
constexpr std::string_view kZnacznik = "«+»";

// Every apostrophe replaced by a double-quote character.
std::string Bez_Apostrofow(std::string tekst) {
    for (char& c : tekst)
        if (c == '\'') c = '"';
    return tekst;
}

}  // namespace

void ClsKonwersje::Konwersja_242() {
    // The price-list lines of a raw material or goods take the net price of its latest
    // purchase line that has one (the highest Countt), marked up by the line's markup (none
    // where it has none): each line takes one price, and a line without a price never
    // replaces one.
    DbWykonajUPDKonwersje(
        "(CENNIKI_ZAWART INNER JOIN (PRODUKTY INNER JOIN zakupy_zawart ON "
        "PRODUKTY.PROD_ID=[zakupy_zawart].[sur_ID]) ON "
        "CENNIKI_ZAWART.PROD_ID=[PRODUKTY].[PROD_ID]) LEFT JOIN zakupy_zawart AS Z2 ON "
        "(Z2.sur_ID=zakupy_zawart.sur_ID AND Z2.CENA_N Is Not Null AND "
        "Z2.Countt>zakupy_zawart.Countt) SET CENNIKI_ZAWART.CEN_Narzut = "
        "zakupy_zawart.CENA_N, CENNIKI_ZAWART.CEN_NETTO = "
        "zakupy_zawart.CENA_N*(1+Nz(CENNIKI_ZAWART.Narzut,0)/100) where ([PRODUKTY].[rodzaj]='S' "
        "or [PRODUKTY].[rodzaj]='T') and zakupy_zawart.CENA_N Is Not Null and Z2.sur_ID Is Null",
        "", "", "");
    Usun_Pole("Zakupy_zawart", "WtymRiR");
    Usun_Pole("k_faktur_zawart", "WtymRiR");
    DbWykonajKonwersje("alter table [DOWODY_DOSTAW_Zawart] ADD COLUMN [id_kpir] long");
    DbWykonajKonwersje("alter table [DOWODY_Zwrotu_Zawart] ADD COLUMN [id_kpir] long");
    const Przeniesione_Wartosci faktury{.zrodlo = "faktury_ZAWART",
                                        .cel = "faktury",
                                        .zlaczenie =
                                            "[faktury] inner join [faktury_ZAWART] on "
                                            "[faktury].[fakout_id]=[faktury_ZAWART].[fakout_id]",
                                        .warunek = "Nz([faktury_ZAWART].[KPIR_id],0)<>0",
                                        .alias = "Z2",
                                        .powiazanie = "Z2.[fakout_id]=[faktury].[fakout_id]",
                                        .klucz = "[fakout_id]",
                                        .pola = {{"[faktury].[id_kpir]", "KPIR_id"}}};
    const Przeniesione_Wartosci korekty{
        .zrodlo = "k_faktur_ZAWART",
        .cel = "k_faktur",
        .zlaczenie =
            "[k_faktur] inner join [k_faktur_ZAWART] on "
            "[k_faktur].[fkorout_id]=[k_faktur_ZAWART].[fkorout_id]",
        .warunek = "Nz([k_faktur_ZAWART].[KPIR_id],0)<>0",
        .alias = "Z2",
        .powiazanie = "Z2.[fkorout_id]=[k_faktur].[fkorout_id]",
        .klucz = "[fkorout_id]",
        .pola = {{"[k_faktur].[id_kpir]", "KPIR_id"}}};
    // The invoice lines' book link goes once the invoices hold it; the correction lines'
    // link becomes their id_kpir below, through the temporary column, once the
    // corrections hold it. Each invoice takes the book entry of one of its lines: the
    // lowest entry that its lines name (of lines naming one entry, the first, the lowest
    // Countt); a line without an entry (Null or 0) takes no part, and an invoice none of
    // whose lines names one keeps its id_kpir.
    const auto jedna_linia = [this](const Przeniesione_Wartosci& p, const std::string& naglowek,
                                    const std::string& linie, const std::string& klucz) {
        const std::string l = "[" + linie + "].";
        DbWykonajKonwersje(
            "update (" + p.zlaczenie + ") left join [" + linie + "] AS [L2] on ([L2].[" + klucz +
                "]=" + l + "[" + klucz + "] and Nz([L2].[KPIR_id],0)<>0 and ([L2].[KPIR_id]<" + l +
                "[KPIR_id] or ([L2].[KPIR_id]=" + l + "[KPIR_id] and [L2].[Countt]<" + l +
                "[Countt]))) set [" + naglowek + "].[id_kpir]=" + l + "[KPIR_id] where " +
                p.warunek + " and [L2].[" + klucz + "] is null",
            Wartosci_Z_Wczesniejszego_Przebiegu(p));
    };
    jedna_linia(faktury, "faktury", "faktury_ZAWART", "fakout_id");
    jedna_linia(korekty, "k_faktur", "k_faktur_ZAWART", "fkorout_id");
    Usun_Pole("Paragon_ZAWART", "kpir_id");
    Usun_Pole("Paragon_ZAWART", "Nie_Ksieguj");
    Usun_Pole("faktury_ZAWART", "kpir_id");
    Usun_Pole("faktury_ZAWART", "Nie_Ksieguj");
    std::string nazwa = "id_kpir";
    Zmien_Typ_Pola("kpir_id", "long", "K_FAKTUR_ZAWART", nazwa);
    nazwa = "id_kpir";
    Zmien_Typ_Pola("kpir_id", "long", "SRODKI_TRWALE_ZAWART", nazwa);
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [Vat_Termin_Platnosci] logical");
    DbWykonajKonwersje("alter table [KP] ADD COLUMN [Dla] text(200)");
    DbWykonajKonwersje("alter table [KP] ADD COLUMN [Zmiana_kwoty_na_dekretacji] logical");

    // Cash documents without a contractor whose description reads "name«+»text": the
    // name becomes the contractor when one is called exactly so ("nazwa  nazwa2"; of two
    // so called, the first made, the lowest konh_id), otherwise it goes into [dla]; the description
    // keeps the text behind the marker. A document without a description has no name in it to move
    // and stays as it is.
    std::unique_ptr<ado::Recordset> kp;
    std::unique_ptr<ado::Recordset> kontrahent;
    const int32_t n = DbOtwórzSELKonwersje(kp, "[konh_id], [opis],[dla] FROM kp where konh_id=0");
    for (int32_t i = 1; i <= n; ++i) {
        const std::string t = Bez_Apostrofow(NzStr(Rekordy(kp).Fields(1).value()));
        const size_t p = t.find(kZnacznik);
        if (p != std::string::npos) {
            const std::string nazwa_kontrahenta = t.substr(0, p);
            const std::string opis = t.substr(p + kZnacznik.size());
            if (DbOtwórzSELKonwersje(kontrahent,
                                     "[konh_id] FROM [KONTRAHENCI] where "
                                     "[konh_nazwa]+'  '+[konh_nazwa2]='" +
                                         nazwa_kontrahenta + "' order by [konh_id]") > 0) {
                kp->Fields(0) = kontrahent->Fields(0).value();
                kp->Fields(1) = jet::Value::text(opis);
                kp->Fields(2) = jet::Value::text("Niezależne");
            } else {
                kp->Fields(0) = jet::Value::long_(0);
                kp->Fields(1) = jet::Value::text(opis);
                kp->Fields(2) = jet::Value::text(nazwa_kontrahenta);
            }
            kp->UpdateBatch();
            ZamknijRSKonwersje(kontrahent);
        }
        kp->MoveNext();
    }
    ZamknijRSKonwersje(kp);
    DbWykonajKonwersje("update [kp] set [dla]='' where [dla] is null");
}

void ClsKonwersje::Konwersja_243() {
    for (const char* tabela : {"DOK_WEWNENTRZNE", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Paragon"})
        Zmien_Typ_Pola("FAKOUT_WYST", "text(81)", tabela);
}
