// Step 6.25: the per-rate VAT breakdown of correction invoices that does not add up to
// their totals, recomputed again: a collective correction without a discount from the
// return notes that it collects, any other from its lines; a remaining difference of at
// most 0.02 absorbed into the first non-zero field.
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/sumy_vat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

const char* const kPola[] = {"n22",  "vat22", "n7",  "vat7", "n3",
                             "vat3", "n0",    "nzw", "n12",  "vat12"};

// d = total less the fields (a field or the total not given counts as 0); when
// -0.02 <= d <= 0.02, the first non-zero field of the list takes d.
void Wyrownaj(ado::Recordset& rs, const char* suma, std::initializer_list<const char*> pola) {
    jet::Value d = jet::Value::currency(NzCur(rs.Fields(suma).value()));
    for (const char* p : pola)
        d = jet::subtract(d, jet::Value::currency(NzCur(rs.Fields(p).value())));
    const jet::Currency roznica = NzCur(d);
    const jet::Currency granica = jet::Currency::from_scaled(200);
    if (roznica.scaled < -granica.scaled || roznica > granica) return;
    for (const char* p : pola) {
        const jet::Value w = rs.Fields(p).value();
        if (w.is_null() || w.to_currency().scaled == 0) continue;
        rs.Fields(p) = jet::add(w, jet::Value::currency(roznica));
        return;
    }
}

}  // namespace

void ClsKonwersje::Konwersja_625() {
    std::unique_ptr<ado::Recordset> kor;
    std::unique_ptr<ado::Recordset> linie;
    DbOtwórzSEL(kor,
                "FKOROUT_ID,fkorout_wart_n,fkorout_wart_vat,n22,vat22,n7,vat7,n3,vat3,n0,nzw,n12,"
                "vat12,fkorout_rabat,ZBIORCZA,FKOROUT_DATA_WYST from DOK_KFA where (" +
                    kroki::Korekta_Bez_Zgodnego_VAT() + ")",
                kOtworzEdycja);
    int32_t poprawione = 0;
    for (ado::Recordset& k = kroki::Rekordy(kor); !k.Eof(); k.MoveNext()) {
        // A correction without an id has no lines or notes to take a breakdown from.
        if (k.Fields(0).value().is_null()) continue;
        ++poprawione;
        Zeruj_Sumy_VAT();
        const std::string id = NzStr(k.Fields(0).value());
        // A discount not given is none (0 %), here as in the breakdown from the lines.
        const jet::Currency rabat = NzCur(k.Fields("fkorout_rabat").value());
        if (kroki::Rowne(k.Fields("ZBIORCZA").value(), -1) && rabat.scaled == 0) {
            if (DbOtwórzSEL(linie,
                            "sum(round(n22,2)),sum(round(vat22,2)),sum(round(n7,2)),sum(round(vat7,"
                            "2)),sum(round(n3,2)),sum(round(vat3,2)),sum(round(n0,2)),sum(round("
                            "nzw,2)),sum(round(n12,2)),sum(round(vat12,2)) from DOK_DZ where "
                            "ID_KORFAK=" +
                                id,
                            kOtworzEdycja) > 0) {
                for (int i = 0; i < 10; ++i)
                    k.Fields(kPola[i]) = jet::Value::currency(
                        jet::Currency::from_scaled(-NzCur(linie->Fields(i).value()).scaled));
            }
        } else {
            DbOtwórzSEL(linie,
                        std::string(kroki::kWartosc_Linii_Korekty) +
                            ",ZFKOROUT_VAT from DOK_KFA_ZAWART where FKOROUT_ID=" + id,
                        kOtworzEdycja);
            // A line without a rate code counts as exempt and a correction without a
            // discount as 0 %: otherwise one such row would stop every run here. A price or
            // quantity not given counts as 0, so that the line's other part still counts.
            for (ado::Recordset& l = kroki::Rekordy(linie); !l.Eof(); l.MoveNext())
                Dodaj_Do_Sum_VAT(NzCur(l.Fields(0).value()), NzStr(l.Fields(1).value()));
            Zapisz_Wartosc_vat(k, rabat);
        }
        Wyrownaj(k, "fkorout_wart_vat", {"vat22", "vat7", "vat3", "vat12"});
        Wyrownaj(k, "fkorout_wart_n", {"n22", "n7", "n3", "n12", "n0", "nzw"});
        k.UpdateBatch(ado::adAffectCurrent);
    }
    Zapisz_Log_Kroku("Poprawiono Vat na " + std::to_string(poprawione) + " korektach.", "", "");
    ZamknijRS(kor);
    ZamknijRS(linie);
}
