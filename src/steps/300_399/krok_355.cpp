// Step 3.55: the VAT buckets of sales invoices of a net total of 0 cleared, and the
// per-rate buckets of every collective correction whose net buckets do not add up to
// its net total rebuilt, negative, from the lines of the returns linked to it.
#include <array>
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/postep.h"
#include "db/sumy_vat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using jet::Currency;
using jet::Value;
using kroki::Rekordy;

namespace {

// Correction columns.
enum Korekta { vat22, vat7, vat3, n22, n7, n0, nzw, n3, kId, kNumer };

// The rate codes summed, compared exactly, and the VAT-sum slot of each.
struct Stawka {
    const char* kod;
    int slot;
};
constexpr std::array<Stawka, 5> kStawki = {{{"22", 1}, {"7", 2}, {"0", 3}, {"zw", 4}, {"3", 5}}};

}  // namespace

void ClsKonwersje::Konwersja_355() {
    // A run that began among the versions without steps skips the step.
    if (Wersja_Startowa >= 332 && Wersja_Startowa <= 350) return;
    DbWykonajUPDKonwersje(
        "DOK_FAK SET vat7=0,vat22=0,n7=0,n22=0,n0=0,nzw=0,VAT3=0,N3=0 WHERE DOK_FAK.FAKOUT_WART_N "
        "= 0",
        "", "", "");
    std::unique_ptr<ado::Recordset> korekty;
    std::unique_ptr<ado::Recordset> zwroty;
    std::unique_ptr<ado::Recordset> linie;
    // A bucket not given counts as 0, so that the correction is still compared; one whose
    // net total is not given is not.
    DbOtwórzSELKonwersje(
        korekty,
        "vat22,vat7,  vat3, n22,n7, n0, nzw,  n3,DOK_KFA.FKOROUT_ID, DOK_KFA.fkorout_numer from "
        "DOK_KFA Where (((DOK_KFA.fkorout_wart_n) <> " +
            kroki::Suma_Nz({"[DOK_KFA].[n22]", "[DOK_KFA].[n7]", "[DOK_KFA].[n3]", "[DOK_KFA].[n0]",
                            "[DOK_KFA].[nzw]"}) +
            ") And ((DOK_KFA.Zbiorcza)=-1))");
    while (!Rekordy(korekty).Eof()) {
        ado::Recordset& k = *korekty;
        // A document without a number is shown blank: it must not stop every run here.
        Pokaz_Postep("", "", NzStr(k.Fields(kNumer).value()));
        std::array<Currency, kStawki.size()> sumy{};
        DbOtwórzSELKonwersje(zwroty, "ddout_id From DOK_DZ WHERE korfak=-1 and id_korfak=" +
                                         NzStr(k.Fields(kId).value()));
        while (!Rekordy(zwroty).Eof()) {
            DbOtwórzSELKonwersje(linie,
                                 "Nz(ZDDOUT_CENA_N,0)*Nz(ZDDOUT_ILOSC,0),ZDDOUT_VAT FROM "
                                 "DOK_DZ_ZAWART WHERE "
                                 "DDOUT_ID=" +
                                     NzStr(zwroty->Fields(0).value()) + " ");
            while (!Rekordy(linie).Eof()) {
                const Value kod = linie->Fields(1).value();
                if (!kod.is_null()) {
                    const std::string tekst = kod.to_text();
                    for (size_t i = 0; i < kStawki.size(); ++i)
                        if (tekst == kStawki[i].kod)
                            sumy[i] = NzCur(
                                jet::subtract(Value::currency(sumy[i]), linie->Fields(0).value()));
                }
                linie->MoveNext();
            }
            zwroty->MoveNext();
        }
        Zeruj_Sumy_VAT();
        for (size_t i = 0; i < kStawki.size(); ++i) Dodaj_Do_Sum_VAT(sumy[i], kStawki[i].kod);
        const auto kwota = [](Currency c) { return Value::currency(c); };
        k.Fields(vat22) = kwota(Sumy_VAT[1]);
        k.Fields(vat7) = kwota(Sumy_VAT[2]);
        k.Fields(vat3) = kwota(Sumy_VAT[5]);
        k.Fields(n22) = kwota(Sumy_Netto_VAT[1]);
        k.Fields(n7) = kwota(Sumy_Netto_VAT[2]);
        k.Fields(n0) = kwota(Sumy_Netto_VAT[3]);
        k.Fields(nzw) = kwota(Sumy_Netto_VAT[4]);
        k.Fields(n3) = kwota(Sumy_Netto_VAT[5]);
        k.UpdateBatch();
        k.MoveNext();
    }
    ZamknijRSKonwersje(korekty);
    ZamknijRSKonwersje(zwroty);
    ZamknijRSKonwersje(linie);
}
