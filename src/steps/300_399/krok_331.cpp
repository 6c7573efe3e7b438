// Step 3.31: collective invoices from June 2001 on, without an invoice discount, compared
// with the delivery notes and returns they list. An invoice whose notes carry a discount
// and whose amount differs from the notes' by more than five hundredths takes its VAT
// buckets, amounts before discount and totals from the notes. An invoice whose discount is
// not given has none.
#include <array>
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"

using jet::Currency;
using jet::Value;
using kroki::Rekordy;

namespace {

// The eight buckets, in the order of the invoice's and the notes' first columns.
constexpr int kKoszyki = 8;
enum Koszyk { vat7, vat22, n7, n22, nzw, n0, vat3, n3 };

// Invoice columns after the buckets.
enum Faktura {
    kNrDD = 8,
    kNumer,
    kBRabatN,
    kBRabatV,
    kWartN,
    kWartVAT,
};

const Currency kTolerancja = Currency::from_scaled(500);  // 0.05

Value Kwota(Currency c) {
    return Value::currency(c);
}

// The sum of two amounts, an amount not given counting as none.
Value Suma(const Value& a, const Value& b) {
    return jet::add(Kwota(NzCur(a)), Kwota(NzCur(b)));
}

}  // namespace

void ClsKonwersje::Konwersja_331() {
    Zapisz_Log_Kroku("Opcja 'Sprawdz Kwoty Fzb z DD i DZ':", "", "");
    int licznik = 0;
    std::unique_ptr<ado::Recordset> faktury;
    std::unique_ptr<ado::Recordset> noty;
    DbOtwórzSELKonwersje(
        faktury,
        "vat7, vat22, n7, n22, nzw, n0, vat3, n3,FAKOUT_NR_DD,FAKOUT_NUMER,b_rabat_n,b_rabat_v,"
        "FAKOUT_WART_N,FAKOUT_WART_VAT,FAKOUT_RABAT  from DOK_FAK where FAKOUT_ZBIORCZA=-1 and "
        "FAKOUT_DATA_WYST>=" +
            DataSQL_Od(*jet::dates::to_serial(2001, 6, 1)) +
            " and (FAKOUT_RABAT=0 or FAKOUT_RABAT is null) order by FAKOUT_ID desc");
    while (!Rekordy(faktury).Eof()) {
        ado::Recordset& f = *faktury;
        // A document without a number is shown blank: it must not stop every run here.
        Pokaz_Postep("", "", NzStr(f.Fields(kNumer).value()));
        std::array<Currency, kKoszyki> sumy{};
        bool rabat = false;
        for (const auto& [zwrot, numer] : kroki::Pozycje_Listy(f.Fields(kNrDD).value())) {
            const std::string tekst =
                "vat7, vat22, n7, n22, nzw, n0, vat3, n3,[DDOUT_WART_N],[DDOUT_wart_VAT],[rabat] "
                "From " +
                std::string(zwrot ? "DOK_DZ" : "DOK_DD") + " WHERE DDOUT_numer='" +
                kroki::W_Apostrofach(numer) + "'";
            if (DbOtwórzSELKonwersje(noty, tekst) <= 0) continue;
            // Each partial sum is rounded; a bucket not given adds nothing.
            for (int i = 0; i < kKoszyki; ++i) {
                const Value nota = noty->Fields(i).value();
                if (nota.is_null()) continue;
                sumy[i] = NzCur(zwrot ? jet::subtract(Kwota(sumy[i]), nota)
                                      : jet::add(Kwota(sumy[i]), nota));
            }
            const Value r = noty->Fields(10).value();
            if (!r.is_null() && !kroki::Rowne(r, 0)) rabat = true;
        }
        const Value netto = jet::add(
            jet::add(jet::add(jet::add(Kwota(sumy[n3]), Kwota(sumy[n0])), Kwota(sumy[nzw])),
                     Kwota(sumy[n22])),
            Kwota(sumy[n7]));
        const Value vat =
            jet::add(jet::add(Kwota(sumy[vat3]), Kwota(sumy[vat22])), Kwota(sumy[vat7]));
        // The invoice side is the VAT before discount plus the net total, an amount not
        // given counting as none.
        const Currency d = Currency::from_scaled(
            NzCur(Suma(f.Fields(kBRabatV).value(), f.Fields(kWartN).value())).scaled -
            NzCur(jet::add(netto, vat)).scaled);
        if ((d < Currency::from_scaled(-kTolerancja.scaled) || d > kTolerancja) && rabat) {
            ++licznik;
            const Value faktura = Suma(f.Fields(kWartN).value(), f.Fields(kWartVAT).value());
            Zapisz_Log_Kroku("Konwersja 3,31  znalazła Fzb NR " + NzStr(f.Fields(kNumer).value()) +
                           " Fzb=" + NzStr(faktura) + " DD+DZ=" + NzStr(jet::add(netto, vat)),
                       Biezaca_Operacja, "");
            for (int i = 0; i < kKoszyki; ++i) f.Fields(i) = Kwota(sumy[i]);
            f.Fields(kBRabatN) = netto;
            f.Fields(kBRabatV) = vat;
            f.Fields(kWartN) = netto;
            f.Fields(kWartVAT) = vat;
            f.UpdateBatch();
        }
        f.MoveNext();
    }
    Zapisz_Log_Kroku("Konwersja 3,31 znalazła " + std::to_string(licznik) + " Fzb ", Biezaca_Operacja,
               "");
    ZamknijRSKonwersje(faktury);
    ZamknijRSKonwersje(noty);
}
