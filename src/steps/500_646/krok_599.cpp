// Step 5.99: the per-rate VAT breakdown of correction invoices that does not add up to
// their totals, recomputed from their lines; and the shared writer of a breakdown.
#include <array>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/sumy_vat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

void ClsKonwersje::Zapisz_Wartosc_vat(ado::Recordset& rs, jet::Currency rabat) {
    struct Pole {
        const char* nazwa;
        const std::array<jet::Currency, 7>& sumy;
        int pozycja;
    };
    const Pole pola[] = {
        {"n22", Sumy_Netto_VAT, 1}, {"vat22", Sumy_VAT, 1},    {"n12", Sumy_Netto_VAT, 6},
        {"vat12", Sumy_VAT, 6},     {"n7", Sumy_Netto_VAT, 2}, {"vat7", Sumy_VAT, 2},
        {"n3", Sumy_Netto_VAT, 5},  {"vat3", Sumy_VAT, 5},     {"n0", Sumy_Netto_VAT, 3},
        {"nzw", Sumy_Netto_VAT, 4},
    };
    const double czesc = 1 - rabat.to_double() / 100;
    for (const Pole& p : pola)
        rs.Fields(p.nazwa) = jet::Value::currency(
            NzCur(jet::Value::dbl(p.sumy[static_cast<size_t>(p.pozycja)].to_double() * czesc)));
}

void ClsKonwersje::Konwersja_599() {
    std::unique_ptr<ado::Recordset> kor;
    std::unique_ptr<ado::Recordset> linie;
    DbOtwórzSEL(kor,
                "FKOROUT_ID,fkorout_wart_n,fkorout_wart_vat,n22,vat22,n7,vat7,n3,vat3,n0,nzw,n12,"
                "vat12,fkorout_rabat from DOK_KFA where " +
                    kroki::Korekta_Bez_Zgodnego_VAT(),
                kOtworzEdycja);
    int32_t poprawione = 0;
    for (ado::Recordset& k = kroki::Rekordy(kor); !k.Eof(); k.MoveNext()) {
        // A correction without an id has no lines to take a breakdown from.
        if (k.Fields(0).value().is_null()) continue;
        ++poprawione;
        Zeruj_Sumy_VAT();
        DbOtwórzSEL(
            linie,
            std::string(kroki::kWartosc_Linii_Korekty) +
                ",ZFKOROUT_VAT from DOK_KFA_ZAWART where FKOROUT_ID=" + NzStr(k.Fields(0).value()),
            kOtworzEdycja);
        // A line without a rate code counts as exempt and a correction without a
        // discount as 0 %: otherwise one such row would stop every run here. A price or
        // quantity not given counts as 0, so that the line's other part still counts.
        for (ado::Recordset& l = kroki::Rekordy(linie); !l.Eof(); l.MoveNext())
            Dodaj_Do_Sum_VAT(NzCur(l.Fields(0).value()), NzStr(l.Fields(1).value()));
        const jet::Value rabat = k.Fields(13).value();
        Zapisz_Wartosc_vat(k, rabat.is_null() ? jet::Currency{} : rabat.to_currency());
        k.UpdateBatch(ado::adAffectCurrent);
    }
    Zapisz_Log_Kroku("Poprawiono Vat na " + std::to_string(poprawione) + " korektach.", "", "");
    ZamknijRS(kor);
    ZamknijRS(linie);
    Kierowcy_Rabatow_Z_Grupy_0();
}

void ClsKonwersje::Kierowcy_Rabatow_Z_Grupy_0() {
    // The key (Konh_id, Id_GR_prod) gives each contractor one row of group 0; one without a
    // driver leaves the contractor's other rows as they stand.
    DbWykonajKonwersje(
        "update kontrahenci_rabaty as k inner join kontrahenci_rabaty as kr on "
        "k.konh_id=kr.konh_id set k.kier_id1=kr.kier_id1 where kr.Id_GR_prod=0 and kr.kier_id1 "
        "is not null");
}
